#include "suite/ForceAnalysis.h"

#include "core/ForceTable.h"
#include "core/NumberText.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace suite
{

namespace
{

constexpr double Gravity = 9.81;      // m/s^2
constexpr std::size_t MaxListed = 20; // contact phases listed one by one

std::string fixed(double value, int decimals)
{
    if (!std::isfinite(value))
        return value > 0 ? "inf" : (value < 0 ? "-inf" : "nan");
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    std::string result = text;
    // No "-0.000" for a value that rounds to zero.
    if (result.front() == '-' && result.find_first_not_of("-0.") == std::string::npos)
        result.erase(0, 1);
    return result;
}

std::string padLeft(const std::string& text, std::size_t width)
{
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

std::string padRight(const std::string& text, std::size_t width)
{
    return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

std::string trimmedRight(const std::string& text)
{
    const std::size_t last = text.find_last_not_of(' ');
    return last == std::string::npos ? std::string() : text.substr(0, last + 1);
}

template <typename Values> ComponentSummary summarize(const Values& values, int count, double rate)
{
    ComponentSummary summary;
    const double dt = rate > 0 ? 1.0 / rate : 0.0;
    summary.peak = {values[1], 1, 0.0};
    summary.minimum = summary.peak;
    for (int i = 1; i <= count; ++i) {
        const double v = values[static_cast<std::size_t>(i)];
        const double t = (i - 1) * dt;
        if (v > summary.peak.value)
            summary.peak = {v, i, t};
        if (v < summary.minimum.value)
            summary.minimum = {v, i, t};
        if (i > 1)
            summary.impulse += (values[static_cast<std::size_t>(i - 1)] + v) / 2 * dt;
    }
    return summary;
}

} // namespace

ForceSummary summarizeForces(const ForceTable& table)
{
    ForceSummary s;
    s.records = std::clamp<int>(table.RecordCount, 0, ForceTable::RecordCapacity);
    if (s.records < 1)
        return s;
    s.rateHz = std::max(0.0, table.samplingRateHz());
    const double dt = s.rateHz > 0 ? 1.0 / s.rateHz : 0.0;
    s.durationS = s.records * dt;
    s.fx = summarize(table.Fx, s.records, s.rateHz);
    s.fy = summarize(table.Fy, s.records, s.rateHz);
    s.fz = summarize(table.Fz, s.records, s.rateHz);

    const auto at = [](int i) { return static_cast<std::size_t>(i); };
    const auto inContact = [&](int i) { return table.Fz[at(i)] > ContactThresholdN; };

    // Contact phases: open at a rising crossing, close at a falling one.
    bool open = inContact(1);
    double start = 0;
    for (int i = 1; i < s.records; ++i) {
        const double a = table.Fz[at(i)], b = table.Fz[at(i + 1)];
        const double t = (i - 1) * dt;
        const bool next = inContact(i + 1);
        if (!open && next) {
            start = t + dt * (ContactThresholdN - a) / (b - a);
            open = true;
        } else if (open && !next) {
            s.contacts.push_back({start, t + dt * (a - ContactThresholdN) / (a - b)});
            open = false;
        }
    }
    if (open)
        s.contacts.push_back({start, (s.records - 1) * dt});
    for (const Interval& contact : s.contacts)
        s.contactTime += contact.length();

    // The centre of pressure means nothing while the plate is unloaded.
    for (int i = 1; i <= s.records; ++i) {
        if (!inContact(i))
            continue;
        const double ax = table.Ax[at(i)], ay = table.Ay[at(i)];
        if (s.copRecords++ == 0) {
            s.axMin = s.axMax = ax;
            s.ayMin = s.ayMax = ay;
        }
        s.axMin = std::min(s.axMin, ax);
        s.axMax = std::max(s.axMax, ax);
        s.ayMin = std::min(s.ayMin, ay);
        s.ayMax = std::max(s.ayMax, ay);
        if (i > 1 && inContact(i - 1))
            s.copPath += std::hypot(ax - table.Ax[at(i - 1)], ay - table.Ay[at(i - 1)]);
    }

    s.mzMin = s.mzMax = table.Mz[1];
    for (int i = 1; i <= s.records; ++i) {
        s.mzMin = std::min<double>(s.mzMin, table.Mz[at(i)]);
        s.mzMax = std::max<double>(s.mzMax, table.Mz[at(i)]);
    }
    return s;
}

std::string forceReport(const ForceTable& table, const ForceSummary& s)
{
    const bool timed = s.rateHz > 0;
    const double bw = table.BodyWeight;
    const bool weighed = bw > 0 && std::isfinite(bw);
    const auto inWeights = [&](double value) { return weighed ? fixed(value / bw, 2) : "-"; };
    const auto when = [&](const Extreme& e) {
        return timed ? fixed(e.time, 4) : "#" + std::to_string(e.record);
    };
    const auto seconds = [](double value) { return fixed(value, 4) + " s"; };

    std::string text;
    const auto line = [&](const std::string& label, const std::string& value) {
        text += padRight(label, 21) + value + "\n";
    };
    line("Title:", trimmedRight(table.TrialTitle));
    line("Sampling rate:", timed ? table.SamplingRate + " Hz" : "none given");
    line("Body weight:", weighed ? shortestSingleText(table.BodyWeight) + " N" : "none given");
    line("Records:", std::to_string(s.records));
    if (timed)
        line("Duration:", seconds(s.durationS));
    if (!timed)
        text += "Without a sampling rate, times are given as record numbers (#) and no "
                "impulse or contact time is computed.\n";
    if (!weighed)
        text += "Without a body weight, no value is given in body weights (BW).\n";

    text += "\nForces (N)    Peak     at s      BW    Minimum     at s      BW   Impulse N s\n";
    const std::array<std::pair<const char*, const ComponentSummary*>, 3> rows{
        {{"Fx", &s.fx}, {"Fy", &s.fy}, {"Fz", &s.fz}}};
    for (const auto& [name, c] : rows) {
        text += padRight(name, 6) + padLeft(fixed(c->peak.value, 2), 12) +
                padLeft(when(c->peak), 9) + padLeft(inWeights(c->peak.value), 8) +
                padLeft(fixed(c->minimum.value, 2), 11) + padLeft(when(c->minimum), 9) +
                padLeft(inWeights(c->minimum.value), 8) +
                padLeft(timed ? fixed(c->impulse, 3) : "-", 14) + "\n";
    }

    text += "\nContact (Fz above " + fixed(ContactThresholdN, 0) + " N)\n";
    if (!timed) {
        text += "  Not computed without a sampling rate.\n";
    } else if (s.contacts.empty()) {
        text += "  None: Fz never rises above the threshold.\n";
    } else {
        line("  Contact time:", seconds(s.contactTime));
        for (std::size_t i = 0; i < s.contacts.size() && i < MaxListed; ++i) {
            const Interval& c = s.contacts[i];
            line("  Phase " + std::to_string(i + 1) + ":",
                 seconds(c.start) + " to " + seconds(c.end) + " (" + seconds(c.length()) + ")");
        }
        if (s.contacts.size() > MaxListed)
            text += "  ... " + std::to_string(s.contacts.size() - MaxListed) + " more phases\n";
        for (std::size_t i = 1; i < s.contacts.size() && i <= MaxListed; ++i) {
            const Interval flight{s.contacts[i - 1].end, s.contacts[i].start};
            const double height = Gravity * flight.length() * flight.length() / 8;
            line("  Flight " + std::to_string(i) + ":",
                 seconds(flight.start) + " to " + seconds(flight.end) + " (" +
                     seconds(flight.length()) + "; height from flight time " + fixed(height, 3) +
                     " m)");
        }
    }

    text += "\nCentre of pressure (records with Fz above " + fixed(ContactThresholdN, 0) + " N)\n";
    if (s.copRecords == 0) {
        text += "  None: Fz never rises above the threshold.\n";
    } else {
        line("  Ax range:", fixed(s.axMin, 2) + " to " + fixed(s.axMax, 2) + " cm (" +
                                fixed(s.axMax - s.axMin, 2) + " cm)");
        line("  Ay range:", fixed(s.ayMin, 2) + " to " + fixed(s.ayMax, 2) + " cm (" +
                                fixed(s.ayMax - s.ayMin, 2) + " cm)");
        line("  Path length:", fixed(s.copPath, 2) + " cm");
    }

    text += "\nFree moment\n";
    line("  Mz range:",
         fixed(s.mzMin, 3) + " to " + fixed(s.mzMax, 3) + " (" + fixed(s.mzMax - s.mzMin, 3) + ")");
    return text;
}

} // namespace suite
