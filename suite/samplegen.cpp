// Makes the sample data directory that ships with Orvane: three force trials a
// researcher would recognise (a walking stance phase, a countermovement jump and a
// quiet-standing balance trial) and the small companion files of the walking trial.
// Every number is computed here, so the directory can be made again byte for byte:
//
//     samplegen DIRECTORY

#include "suite/Cards.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <numbers>
#include <string>
#include <vector>

namespace
{

using suite::Record;

constexpr double Pi = std::numbers::pi;
constexpr double Gravity = 9.81; // m/s^2

constexpr std::string_view SampleNote =
    "SAMPLE CONTENT made by Orvane's sample generator - not measured data";

// A small generator of our own (splitmix64) so the files do not depend on the
// standard library's distributions, which differ between implementations.
class Noise
{
public:
    explicit Noise(std::uint64_t seed) : state(seed) {}

    double uniform()
    {
        state += 0x9E3779B97F4A7C15ull;
        std::uint64_t z = state;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        z ^= z >> 31;
        return static_cast<double>(z >> 11) * 0x1.0p-53;
    }

    // Close to a unit normal (sum of twelve uniforms), with plain arithmetic only.
    double gauss()
    {
        double sum = 0;
        for (int i = 0; i < 12; ++i)
            sum += uniform();
        return sum - 6.0;
    }

private:
    std::uint64_t state;
};

struct Trial {
    std::string fileName;
    std::string title;
    std::string subject;
    double samplingRateHz = 0;
    double bodyWeightN = 0;
    std::vector<std::string> headerCards;
    std::vector<Record> records;
};

std::string forceFileText(const Trial& trial)
{
    std::string text = suite::titleCard(trial.title, trial.samplingRateHz) +
                       suite::subjectCard(trial.subject, trial.bodyWeightN);
    for (const std::string& card : trial.headerCards)
        text += card;
    text += suite::CardEnd; // the blank card that ends the header
    for (std::size_t i = 0; i < trial.records.size(); ++i)
        text += suite::dataCard(trial.records[i], static_cast<int>(i + 1));
    return text;
}

const std::string UnitsCard = suite::headerCard({"N", "N", "N", "cm", "cm", "N m", "cm"});
const std::string NamesCard =
    suite::headerCard({"Fx", "Fy", "Fz", "Ax", "Ay", "Mz", "Az", "Record"});

// Right foot stance at 500 Hz: heel strike, loading peak, mid-stance valley, push-off
// peak and toe-off, with a few unloaded samples either side. y points forward.
Trial walkingTrial()
{
    Trial trial;
    trial.fileName = "WALK01.RF";
    trial.title = "WALK01 Walking, right foot stance";
    trial.subject = "Subject S07  72.6 kg  self-selected pace";
    trial.samplingRateHz = 500;
    trial.bodyWeightN = 712.0;
    trial.headerCards = {UnitsCard, NamesCard};

    const double bw = trial.bodyWeightN;
    const int before = 25, loaded = 320, after = 25;
    Noise noise(0x57414C4B3031ull);
    for (int i = 0; i < before + loaded + after; ++i) {
        const double s = (i - before) / double(loaded); // 0 at heel strike, 1 at toe-off
        Record r;
        if (s >= 0 && s <= 1) {
            const double hump =
                1.22 * std::sin(Pi * s) + 0.45 * std::sin(3 * Pi * s) + 0.03 * std::sin(2 * Pi * s);
            r.fz = bw * hump + 1.0 * noise.gauss();
            r.fy = bw * (-0.20 * std::sin(2 * Pi * s) - 0.03 * std::sin(4 * Pi * s)) +
                   0.8 * noise.gauss();
            r.fx =
                bw * (0.05 * std::sin(Pi * s) - 0.02 * std::sin(2 * Pi * s)) + 0.6 * noise.gauss();
            r.ax = 2.0 + 1.2 * std::sin(Pi * s) - 1.5 * s + 0.03 * noise.gauss();
            r.ay = -12.0 + 25.0 * s + 2.0 * std::sin(2 * Pi * s) + 0.03 * noise.gauss();
            r.mz = -3.5 * std::sin(2 * Pi * s) * std::sin(Pi * s) + 0.02 * noise.gauss();
        } else {
            r.fz = 0.8 * noise.gauss();
            r.fy = 0.5 * noise.gauss();
            r.fx = 0.5 * noise.gauss();
            r.mz = 0.01 * noise.gauss();
        }
        trial.records.push_back(r);
    }
    return trial;
}

// Countermovement jump at 1000 Hz: quiet standing, unweighting, braking and push-off,
// half a second of flight with the plate unloaded, landing and settling. The vertical
// force follows one body acceleration profile, so the take-off impulse matches the
// flight time.
Trial jumpTrial()
{
    Trial trial;
    trial.fileName = "JUMP01.RF";
    trial.title = "JUMP01 Countermovement jump";
    trial.subject = "Subject S02  80.0 kg  hands on hips";
    trial.samplingRateHz = 1000;
    trial.bodyWeightN = 785.0;
    trial.headerCards = {NamesCard};

    const double bw = trial.bodyWeightN;
    const double rate = trial.samplingRateHz;
    const double quietEnd = 0.80, unweightEnd = 1.10, takeOff = 1.55, touchDown = 2.05;
    const double flight = touchDown - takeOff;
    const double takeOffSpeed = Gravity * flight / 2;

    // Unweighting: acceleration -a1 sin(pi u); push-off: p sin(pi u) - g u^4, which
    // ends at -g, where the plate is unloaded. p gives the take-off speed.
    const double unweight = unweightEnd - quietEnd, push = takeOff - unweightEnd;
    const double a1 = 0.6 * Gravity;
    const double speedAfterUnweighting = -a1 * 2 * unweight / Pi;
    const double p = (takeOffSpeed - speedAfterUnweighting + Gravity * push / 5) * Pi / (2 * push);
    // Landing: a rise over tauRise and one peak at tauPeak whose impulse stops the fall.
    const double tauRise = 0.010, tauPeak = 0.045;
    const double k = (takeOffSpeed / Gravity + tauRise) / (tauPeak * std::numbers::e);

    Noise noise(0x4A554D503031ull);
    const int count = 3000;
    for (int i = 0; i < count; ++i) {
        const double t = i / rate;
        double load = 1.0; // vertical force in body weights
        double forward = 1.0;
        Record r;
        if (t < quietEnd) {
            load = 1.0 + 0.004 * std::sin(2 * Pi * 0.7 * t);
        } else if (t < unweightEnd) {
            const double u = (t - quietEnd) / unweight;
            load = 1.0 - a1 / Gravity * std::sin(Pi * u);
        } else if (t < takeOff) {
            const double u = (t - unweightEnd) / push;
            load = 1.0 + (p * std::sin(Pi * u) - Gravity * std::pow(u, 4)) / Gravity;
            forward = 1.0 + 5.0 * u * u;
            r.fy = 0.05 * bw * std::sin(Pi * u);
        } else if (t < touchDown) {
            trial.records.push_back(r); // in the air: nothing on the plate
            continue;
        } else {
            const double tau = t - touchDown;
            load = (1.0 - std::exp(-tau / tauRise)) +
                   k * (tau / tauPeak) * std::exp(1.0 - tau / tauPeak);
            forward = 1.0 + 5.0 * std::exp(-tau / 0.05);
            r.fy = -0.12 * bw * (tau / 0.03) * std::exp(1.0 - tau / 0.03);
        }
        r.fz = bw * load;
        // Noise scaled down near zero load, so the force never dips below zero.
        const double quiet = std::min(1.0, r.fz / 100.0);
        r.fz += 1.5 * quiet * noise.gauss();
        r.fx += 1.5 * quiet * noise.gauss();
        r.fy += 1.5 * quiet * noise.gauss();
        r.ax = 0.5 + 0.3 * std::sin(2 * Pi * 0.4 * t) + 0.005 * noise.gauss();
        r.ay = forward + 0.2 * std::sin(2 * Pi * 0.25 * t) + 0.005 * noise.gauss();
        r.mz = 0.3 * std::sin(2 * Pi * 0.5 * t) * quiet + 0.02 * noise.gauss();
        trial.records.push_back(r);
    }
    return trial;
}

// Quiet standing at 100 Hz for 20 s: the centre of pressure wanders slowly (a smoothed
// mean-reverting random walk, more front to back than side to side).
Trial standingTrial()
{
    Trial trial;
    trial.fileName = "STAND01.RF";
    trial.title = "STAND01 Quiet standing, eyes open";
    trial.subject = "Subject S03  66.5 kg  feet together";
    trial.samplingRateHz = 100;
    trial.bodyWeightN = 652.0;
    trial.headerCards = {NamesCard};

    const double dt = 1.0 / trial.samplingRateHz;
    const double revert = 0.5, smoothing = 0.15; // 1/s, s
    Noise noise(0x5354414E4430ull);
    double wanderX = 0, wanderY = 0, copX = 0, copY = 0, comX = 0, comY = 0;
    for (int i = 0; i < 2000; ++i) {
        const double t = i * dt;
        wanderX += -revert * wanderX * dt + 0.25 * std::sqrt(dt) * noise.gauss();
        wanderY += -revert * wanderY * dt + 0.45 * std::sqrt(dt) * noise.gauss();
        copX += (wanderX - copX) * dt / smoothing;
        copY += (wanderY - copY) * dt / smoothing;
        // The body's centre of mass follows the centre of pressure more slowly; the
        // horizontal force pulls it back towards it.
        comX += (copX - comX) * dt / 0.6;
        comY += (copY - comY) * dt / 0.6;
        Record r;
        r.ax = 1.0 + copX;
        r.ay = -2.0 + copY + 0.08 * std::sin(2 * Pi * 0.25 * t);
        r.fx = -9.0 * (copX - comX) + 0.3 * noise.gauss();
        r.fy = -9.0 * (copY - comY) + 0.3 * noise.gauss();
        r.fz = trial.bodyWeightN + 1.5 * std::sin(2 * Pi * 0.25 * t) + 1.2 * noise.gauss();
        r.mz = 0.15 * std::sin(2 * Pi * 0.1 * t) + 0.03 * noise.gauss();
        trial.records.push_back(r);
    }
    return trial;
}

// The walking trial's foot markers (heel, ankle, fifth metatarsal head, toe) in the
// sagittal plane at 50 Hz, cm: the foot rolls from heel strike to toe-off.
std::vector<std::vector<double>> footMarkers(int frames)
{
    std::vector<std::vector<double>> rows;
    for (int f = 0; f < frames; ++f) {
        const double s = f / double(frames - 1);
        const double heelLift = s < 0.55 ? 0.0 : 14.0 * std::pow((s - 0.55) / 0.45, 2);
        const double footAngle = s < 0.1 ? 12.0 * (1 - s / 0.1) : -40.0 * std::max(0.0, s - 0.55);
        const double rad = footAngle * Pi / 180.0;
        const double heelX = -12.0 + (s < 0.55 ? 0.0 : 22.0 * (s - 0.55) / 0.45);
        const double heelY = 2.0 + heelLift * 0.6 + (s < 0.1 ? 4.0 * (1 - s / 0.1) : 0.0);
        auto at = [&](double along, double up) {
            return std::vector<double>{heelX + along * std::cos(rad) - up * std::sin(rad),
                                       heelY + along * std::sin(rad) + up * std::cos(rad)};
        };
        std::vector<double> row{double(f + 1), heelX, heelY};
        for (auto point : {at(5.0, 8.0), at(19.0, 1.0), at(25.0, 0.5)})
            row.insert(row.end(), point.begin(), point.end());
        rows.push_back(row);
    }
    return rows;
}

std::string markerTable(const std::vector<std::vector<double>>& rows)
{
    std::string text = suite::leftField("frame", 6);
    for (std::string_view name : {"heel", "ankle", "mtp5", "toe"}) {
        text += suite::rightField(std::string(name) + " x", 9);
        text += suite::rightField(std::string(name) + " y", 9);
    }
    text += std::string(suite::CardEnd);
    for (const auto& row : rows) {
        text += suite::rightField(std::to_string(int(row[0])), 5) + " ";
        for (std::size_t i = 1; i < row.size(); ++i)
            text += suite::numberField(row[i], 2, 9);
        text += std::string(suite::CardEnd);
    }
    return text;
}

std::vector<std::vector<double>> smoothed(std::vector<std::vector<double>> rows)
{
    const auto raw = rows;
    for (std::size_t f = 1; f + 1 < rows.size(); ++f)
        for (std::size_t i = 1; i < rows[f].size(); ++i)
            rows[f][i] = (raw[f - 1][i] + 2 * raw[f][i] + raw[f + 1][i]) / 4;
    return rows;
}

std::string lines(std::initializer_list<std::string_view> list)
{
    std::string text;
    for (std::string_view line : list)
        text += std::string(line) + std::string(suite::CardEnd);
    return text;
}

struct SampleFile {
    std::string name;
    std::string content;
};

std::vector<SampleFile> sampleFiles()
{
    std::vector<SampleFile> files;
    for (const Trial& trial : {walkingTrial(), jumpTrial(), standingTrial()})
        files.push_back({trial.fileName, forceFileText(trial)});

    Noise jitter(0x4447ull);
    auto digitized = footMarkers(33);
    for (auto& row : digitized)
        for (std::size_t i = 1; i < row.size(); ++i)
            row[i] += 0.15 * jitter.gauss();
    const auto refined = smoothed(digitized);
    const auto filtered = smoothed(smoothed(refined));

    files.push_back(
        {"WALK01.DG", lines({SampleNote, "WALK01.DG  digitized foot markers of trial WALK01, "
                                         "right foot stance, 50 Hz, cm"}) +
                          markerTable(digitized)});
    files.push_back({"WALK01.CN", lines({SampleNote, "WALK01.CN  refined foot markers of "
                                                     "trial WALK01 (from WALK01.DG), cm"}) +
                                      markerTable(refined)});
    files.push_back({"WALK01.KM", lines({SampleNote, "WALK01.KM  filtered foot markers of "
                                                     "trial WALK01 (from WALK01.CN), cm"}) +
                                      markerTable(filtered)});
    files.push_back(
        {"WALK01.CFB",
         lines({SampleNote, "WALK01.CFB  body model (control file) of trial WALK01",
                "TRIAL      WALK01", "DATA       WALK01.DG", "FORCES     WALK01.RF",
                "UNITS      cm", "RATE       50", "SEGMENTS   2",
                "SEGMENT    1  shank  ankle  knee", "SEGMENT    2  foot   heel   ankle  mtp5  toe",
                "PLATE      Kistler 40 x 60 cm, origin at the plate centre"})});
    const auto apas = footMarkers(9);
    files.push_back({"WALK01.2T", lines({SampleNote, "WALK01.2T  APAS two-dimensional file of "
                                                     "trial WALK01, camera 2, 25 Hz"}) +
                                      markerTable(apas)});
    return files;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: samplegen DIRECTORY\n"
                     "Writes Orvane's sample trials into DIRECTORY.\n";
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    for (const SampleFile& file : sampleFiles()) {
        std::ofstream out(dir / file.name, std::ios::binary | std::ios::trunc);
        out << file.content;
        out.close();
        if (!out) {
            std::cerr << "samplegen: cannot write " << (dir / file.name).string() << '\n';
            return 1;
        }
    }
    return 0;
}
