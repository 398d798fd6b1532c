#include "forcedata/c3d/C3dPlates.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

namespace c3d
{

namespace
{

Vec3 sub(const Vec3& a, const Vec3& b)
{
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

Vec3 cross(const Vec3& a, const Vec3& b)
{
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

double length(const Vec3& a)
{
    return std::sqrt(a[0] * a[0] + a[1] * a[1] + a[2] * a[2]);
}

Vec3 times(const Mat3& m, const Vec3& v)
{
    Vec3 r{};
    for (int i = 0; i < 3; ++i)
        r[i] = m[i][0] * v[0] + m[i][1] * v[1] + m[i][2] * v[2];
    return r;
}

Mat3 times(const Mat3& a, const Mat3& b)
{
    Mat3 r{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r[i][j] = a[i][0] * b[0][j] + a[i][1] * b[1][j] + a[i][2] * b[2][j];
    return r;
}

// The turn that brings the file's vertical axis to Z, keeping the frame
// right-handed: about X when Y is up (X stays the walking direction), about Y when
// X is up.
Mat3 turnToZUp(int vertical)
{
    switch (vertical) {
    case 1:
        return {{{1, 0, 0}, {0, 0, -1}, {0, 1, 0}}};
    case 0:
        return {{{0, 0, -1}, {0, 1, 0}, {1, 0, 0}}};
    default:
        return {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    }
}

std::string unitKey(std::string unit)
{
    std::string key;
    for (char c : unit)
        if (std::isalpha(static_cast<unsigned char>(c)))
            key += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return key;
}

// The factor from a unit to newtons, N·m or metres; 0 when the unit is unknown.
double unitFactor(const std::string& unit)
{
    const std::string key = unitKey(unit);
    if (key == "N" || key == "M" || key == "NM")
        return 1;
    if (key == "KN")
        return 1000;
    if (key == "MM" || key == "NMM")
        return 0.001;
    if (key == "CM" || key == "NCM")
        return 0.01;
    return 0;
}

int channelsOfType(int type)
{
    switch (type) {
    case 1:
    case 2:
    case 4:
        return 6;
    case 3:
        return 8;
    default:
        return 0;
    }
}

// What each channel of a type measures: 'F' force, 'M' moment, 'L' length.
char channelKind(int type, int index)
{
    if (type == 3 || index < 3)
        return 'F';
    if (type == 1 && index < 5)
        return 'L';
    return 'M';
}

// The largest vertical force a plate's baseline may hold; more is a subject on it.
constexpr double MaxZeroOffset = 50;

std::string shortNumber(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

double bodyWeightOf(const File& file)
{
    static const std::pair<const char*, const char*> places[] = {
        {"PROCESSING", "BODYMASS"}, {"SUBJECTS", "WEIGHT"}, {"SUBJECT", "WEIGHT"},
        {"SUBJECTS", "MASS"},       {"SUBJECT", "MASS"},    {"SUBJECT", "BODYMASS"},
    };
    for (const auto& [group, name] : places) {
        const Parameter* p = file.find(group, name);
        if (!p || p->numbers.empty())
            continue;
        const double mass = p->numbers[0];
        if (std::isfinite(mass) && mass > 0 && mass < 1000)
            return mass * 9.81;
    }
    return 0;
}

// The plate's unit of length, axes, size and channels' units, from its own corners
// alone: one plate's damaged corners must decide nothing for another plate. Sets
// `plate.problem` when the corners are no plausible plate.
void settlePlate(const File& file, Plate& plate, double lengthFactor, const std::string& lengthUnit)
{
    const std::string name = "plate " + std::to_string(plate.number);
    Vec3 x = sub(plate.corners[0], plate.corners[1]);
    Vec3 y = sub(plate.corners[0], plate.corners[3]);
    const double width = length(x);
    const double depth = length(y);
    const double size = std::max(width, depth);
    double factor = lengthFactor;
    if (factor == 0)
        factor = size > 5 ? 0.001 : 1;
    else if (size * factor > 5 && factor == 1)
        factor = 0.001;
    else if (size * factor < 0.02 && factor < 1)
        factor = 1;
    if (std::min(width, depth) * factor < 0.02 || size * factor > 5) {
        plate.problem = "the corners of " + name + " are " + shortNumber(width * factor) +
                        " m by " + shortNumber(depth * factor) +
                        " m apart; a plate's side is 2 cm to 5 m";
        return;
    }
    if (lengthFactor == 0)
        plate.notes.push_back(name +
                              ": the file gives no unit of length (POINT:UNITS); the corners are " +
                              shortNumber(size) + " apart, read as " + (factor == 1 ? "m" : "mm"));
    else if (factor != lengthFactor)
        plate.notes.push_back(name + ": POINT:UNITS says " + lengthUnit + ", but the corners are " +
                              shortNumber(size) + " apart; read as " + (factor == 1 ? "m" : "mm"));

    Vec3 z = cross(x, y);
    y = cross(z, x);
    // The plate's vertical is the file's axis its normal follows most closely.
    plate.verticalAxis = 0;
    for (int k = 1; k < 3; ++k)
        if (std::abs(z[k]) > std::abs(z[plate.verticalAxis]))
            plate.verticalAxis = k;
    const Mat3 turn = turnToZUp(plate.verticalAxis);
    Mat3 axes{};
    for (int k = 0; k < 3; ++k) {
        axes[k][0] = x[k] / length(x);
        axes[k][1] = y[k] / length(y);
        axes[k][2] = z[k] / length(z);
    }
    // The sensors sit below the surface: the origin vector, from the sensors to the
    // surface's centre, must point up. Files write it either way round.
    const double plateZUp = axes[plate.verticalAxis][2];
    if (plate.origin[2] * plateZUp < 0) {
        if (plate.type == 3)
            plate.origin[2] = -plate.origin[2];
        else
            plate.origin = {-plate.origin[0], -plate.origin[1], -plate.origin[2]};
    }
    for (double& v : plate.origin)
        v *= factor;
    plate.toLab = times(turn, axes);
    Vec3 centre{};
    for (Vec3& c : plate.corners) {
        for (double& v : c)
            v *= factor;
        c = times(turn, c);
        for (int k = 0; k < 3; ++k)
            centre[k] += c[k] / 4;
    }
    plate.centre = centre;
    plate.width = width * factor;
    plate.depth = depth * factor;
    // Channels without a known unit: forces in newtons, moments and lengths in
    // the corners' unit.
    for (std::size_t j = 0; j < plate.unitFactor.size(); ++j)
        if (plate.unitFactor[j] == 0)
            plate.unitFactor[j] = channelKind(plate.type, static_cast<int>(j)) == 'F' ? 1 : factor;
    plate.zero.assign(plate.channels.size(), 0.0);

    // Whole-number samples bound what a channel can say: a scale that lets a force
    // channel pass MaxForce is wrong, whatever the samples hold.
    if (!file.floatStorage)
        for (std::size_t j = 0; j < plate.channels.size(); ++j) {
            if (channelKind(plate.type, static_cast<int>(j)) != 'F' || plate.type == 4)
                continue;
            const auto c = static_cast<std::size_t>(plate.channels[j]);
            const double offset = file.analogOffset[c];
            const double low = file.analogUnsigned ? 0 : -32768;
            const double high = file.analogUnsigned ? 65535 : 32767;
            const double most = std::max(std::abs(low - offset), std::abs(high - offset)) *
                                std::abs(file.analogScale[c]) * plate.unitFactor[j];
            if (most > MaxForce) {
                plate.problem = "the scale of analog channel " + std::to_string(c + 1) +
                                " (ANALOG:SCALE, GEN_SCALE) lets " + name + "'s force reach " +
                                shortNumber(most) + " N, beyond 1e+07 N";
                return;
            }
        }
}

} // namespace

PlateSet findPlates(const File& file)
{
    PlateSet set;
    set.bodyWeight = bodyWeightOf(file);
    const Parameter* used = file.find("FORCE_PLATFORM", "USED");
    if (!used || used->numbers.empty() || !(used->numbers[0] >= 1))
        return set;
    const Parameter* types = file.find("FORCE_PLATFORM", "TYPE");
    const Parameter* channel = file.find("FORCE_PLATFORM", "CHANNEL");
    const Parameter* corners = file.find("FORCE_PLATFORM", "CORNERS");
    const Parameter* origins = file.find("FORCE_PLATFORM", "ORIGIN");
    const Parameter* calibration = file.find("FORCE_PLATFORM", "CAL_MATRIX");
    const Parameter* units = file.find("ANALOG", "UNITS");
    // USED may promise more plates than the other parameters describe.
    const int count = static_cast<int>(std::min(used->numbers[0], 255.0));
    const int channelRows = channel && !channel->dimensions.empty() ? channel->dimensions[0] : 0;

    // The file's units of length, checked against the plates' size: a plate is
    // between a few centimetres and a few metres wide.
    double lengthFactor = 0;
    std::string lengthUnit;
    if (const Parameter* p = file.find("POINT", "UNITS")) {
        lengthUnit = p->text(0);
        lengthFactor = unitFactor(lengthUnit);
    }

    for (int i = 0; i < count; ++i) {
        Plate plate;
        plate.number = i + 1;
        const std::string name = "plate " + std::to_string(plate.number);
        const auto at = static_cast<std::size_t>(i);
        const double type = types ? types->number(at, 0) : 0;
        plate.type = type >= 0 && type <= 99 ? static_cast<int>(type) : 0;
        const int n = channelsOfType(plate.type);
        if (n == 0) {
            plate.problem =
                name + " is of type " + std::to_string(plate.type) + ", which Orvane does not read";
            set.plates.push_back(plate);
            continue;
        }
        if (!channel || channelRows < n || channel->numbers.size() < at * channelRows + n)
            plate.problem = "FORCE_PLATFORM:CHANNEL gives too few channels for " + name;
        for (int j = 0; j < n && plate.problem.empty(); ++j) {
            const double c = channel->numbers[at * static_cast<std::size_t>(channelRows) + j];
            if (!(c >= 1 && c <= file.analogChannels)) {
                plate.problem = name + " names analog channel " + shortNumber(c) +
                                ", which the file does not have";
                break;
            }
            const int index = static_cast<int>(c) - 1;
            const double scale = file.analogScale[static_cast<std::size_t>(index)];
            const double offset = file.analogOffset[static_cast<std::size_t>(index)];
            if (!std::isfinite(scale) || scale == 0 || !std::isfinite(offset)) {
                plate.problem = "the scale of analog channel " + std::to_string(index + 1) +
                                " (ANALOG:SCALE, OFFSET, GEN_SCALE) is 0 or not a number";
                break;
            }
            plate.channels.push_back(index);
        }
        if (plate.problem.empty() && (!corners || corners->numbers.size() < (at + 1) * 12))
            plate.problem = "FORCE_PLATFORM:CORNERS does not give " + name + "'s corners";
        if (plate.problem.empty()) {
            for (int c = 0; c < 4; ++c)
                for (int k = 0; k < 3; ++k) {
                    const double v =
                        corners->numbers[at * 12 + static_cast<std::size_t>(c * 3 + k)];
                    if (!std::isfinite(v))
                        plate.problem = "the corners of " + name + " are not numbers";
                    plate.corners[c][k] = v;
                }
        }
        if (plate.problem.empty()) {
            const Vec3 x = sub(plate.corners[0], plate.corners[1]);
            const Vec3 y = sub(plate.corners[0], plate.corners[3]);
            const Vec3 z = cross(x, y);
            if (length(x) == 0 || length(z) < 1e-6 * length(x) * length(y))
                plate.problem = "the corners of " + name + " do not span a plate";
            else if (std::abs(x[0] * y[0] + x[1] * y[1] + x[2] * y[2]) >
                     0.1 * length(x) * length(y))
                plate.problem = "the sides of " + name + " are not at right angles";
        }
        if (plate.problem.empty() && plate.type == 4) {
            if (!calibration || calibration->dimensions.size() < 2 ||
                calibration->dimensions[0] != 6 || calibration->dimensions[1] != 6 ||
                calibration->numbers.size() < (at + 1) * 36)
                plate.problem = "FORCE_PLATFORM:CAL_MATRIX is not a 6 x 6 matrix for " + name;
            else
                for (int r = 0; r < 6; ++r)
                    for (int c = 0; c < 6; ++c) {
                        // The first index runs fastest: element (r, c) of each plate.
                        const double v =
                            calibration->numbers[at * 36 + static_cast<std::size_t>(c * 6 + r)];
                        if (!std::isfinite(v))
                            plate.problem =
                                "FORCE_PLATFORM:CAL_MATRIX of " + name + " is not a number";
                        plate.calibration[static_cast<std::size_t>(r * 6 + c)] = v;
                    }
        }
        if (plate.problem.empty()) {
            for (int k = 0; k < 3; ++k) {
                const double v =
                    origins ? origins->number(at * 3 + static_cast<std::size_t>(k), 0) : 0;
                plate.origin[k] = std::isfinite(v) ? v : 0;
            }
            for (int j = 0; j < n; ++j)
                plate.unitFactor.push_back(unitFactor(
                    units ? units->text(static_cast<std::size_t>(plate.channels[j])) : ""));
            settlePlate(file, plate, lengthFactor, lengthUnit);
        }
        set.plates.push_back(plate);
    }
    return set;
}

void measureZero(const Bytes& bytes, const File& file, Plate& plate)
{
    plate.zero.assign(plate.channels.size(), 0.0);
    const Parameter* zero = file.find("FORCE_PLATFORM", "ZERO");
    if (!zero || zero->numbers.size() < 2)
        return;
    const double first = zero->numbers[0];
    const double last = std::min<double>(zero->numbers[1], double(file.frameCount));
    if (!(first >= 1) || !(last >= first))
        return;
    const int64_t spf = file.samplesPerFrame;
    const int64_t from = (static_cast<int64_t>(first) - 1) * spf;
    const int64_t to = static_cast<int64_t>(last) * spf - 1;
    std::vector<double> sum(plate.channels.size(), 0.0);
    std::vector<int64_t> samples(plate.channels.size(), 0);
    readAnalog(bytes, file, plate.channels, from, to, [&](int64_t, const double* values) {
        for (std::size_t j = 0; j < sum.size(); ++j)
            if (std::isfinite(values[j])) {
                sum[j] += values[j];
                ++samples[j];
            }
    });
    std::vector<double> baseline(sum.size(), 0.0);
    for (std::size_t j = 0; j < sum.size(); ++j)
        if (samples[j] > 0)
            baseline[j] = sum[j] / static_cast<double>(samples[j]);
    // A subject standing on the plate in those frames is a load, not an offset:
    // subtracting it would take the body weight out of the whole trial.
    const double load = vertical(plate, plateLoads(plate, baseline.data()));
    if (std::abs(load) > MaxZeroOffset) {
        const std::string note = "plate " + std::to_string(plate.number) +
                                 ": the frames FORCE_PLATFORM:ZERO names carry " +
                                 shortNumber(std::abs(load)) + " N; no baseline is taken from them";
        if (std::find(plate.notes.begin(), plate.notes.end(), note) == plate.notes.end())
            plate.notes.push_back(note);
        return;
    }
    plate.zero = baseline;
}

Loads plateLoads(const Plate& plate, const double* values)
{
    std::array<double, 8> ch{};
    // A missing sample (a float file's NaN) reads as no load.
    for (std::size_t j = 0; j < plate.channels.size() && j < ch.size(); ++j)
        ch[j] = std::isfinite(values[j]) ? values[j] - plate.zero[j] : 0;
    if (plate.type == 4) {
        std::array<double, 6> in{};
        std::copy_n(ch.begin(), 6, in.begin());
        for (int r = 0; r < 6; ++r) {
            double v = 0;
            for (int c = 0; c < 6; ++c)
                v += plate.calibration[static_cast<std::size_t>(r * 6 + c)] *
                     in[static_cast<std::size_t>(c)];
            ch[static_cast<std::size_t>(r)] = v;
        }
    }
    for (std::size_t j = 0; j < plate.unitFactor.size() && j < ch.size(); ++j)
        ch[j] *= plate.unitFactor[j];

    Loads loads;
    switch (plate.type) {
    case 1: {
        // Force, the centre of pressure and the free moment measured directly.
        loads.force = {ch[0], ch[1], ch[2]};
        const Vec3 r = {ch[3], ch[4], 0};
        loads.moment = cross(r, loads.force);
        loads.moment[2] += ch[5];
        break;
    }
    case 3: {
        // Four three-component sensors at (±a, ±b) below the surface.
        const double a = plate.origin[0], b = plate.origin[1];
        loads.force = {ch[0] + ch[1], ch[2] + ch[3], ch[4] + ch[5] + ch[6] + ch[7]};
        loads.moment = {b * (ch[4] + ch[5] - ch[6] - ch[7]), a * (-ch[4] + ch[5] + ch[6] - ch[7]),
                        b * (ch[1] - ch[0]) + a * (ch[2] - ch[3])};
        const Vec3 shift = cross(loads.force, Vec3{0, 0, plate.origin[2]});
        for (int k = 0; k < 3; ++k)
            loads.moment[k] += shift[k];
        break;
    }
    default: {
        loads.force = {ch[0], ch[1], ch[2]};
        const Vec3 shift = cross(loads.force, plate.origin);
        loads.moment = {ch[3] + shift[0], ch[4] + shift[1], ch[5] + shift[2]};
        break;
    }
    }
    return loads;
}

double vertical(const Plate& plate, const Loads& loads)
{
    return times(plate.toLab, loads.force)[2];
}

int senseOf(double lowest, double highest)
{
    return highest > -lowest ? -1 : 1;
}

void decideSenses(const std::vector<Plate*>& plates, const std::vector<double>& lowest,
                  const std::vector<double>& highest)
{
    int down = 0, up = 0;
    std::string firstLoaded;
    for (std::size_t i = 0; i < plates.size(); ++i) {
        const double most = std::max(-lowest[i], highest[i]);
        if (!(most >= MinSenseLoad))
            continue;
        Plate& plate = *plates[i];
        plate.sense = senseOf(lowest[i], highest[i]);
        (plate.sense > 0 ? down : up) += 1;
        if (firstLoaded.empty())
            firstLoaded = "plate " + std::to_string(plate.number);
        plate.senseNote = "plate " + std::to_string(plate.number) + ": the channels give " +
                          (plate.sense > 0 ? "the load on the plate" : "the force on the subject") +
                          " (the largest vertical load, " + shortNumber(std::round(most)) +
                          " N over the whole recording, points " +
                          (plate.sense > 0 ? "down" : "up") + "); " +
                          (plate.sense > 0 ? "the signs are turned" : "the signs are kept");
    }
    for (std::size_t i = 0; i < plates.size(); ++i) {
        const double most = std::max(-lowest[i], highest[i]);
        if (most >= MinSenseLoad)
            continue;
        Plate& plate = *plates[i];
        const std::string head = "plate " + std::to_string(plate.number) +
                                 ": no load over the whole recording (at most " +
                                 shortNumber(std::round(most * 10) / 10 + 0.0) + " N); ";
        if (down + up > 0) {
            plate.sense = up > down ? -1 : 1;
            plate.senseNote = head + "the signs follow the file's loaded plates (" + firstLoaded +
                              (down + up > 1 ? " and others" : "") + ")";
        } else {
            plate.sense = 1;
            plate.senseNote =
                head + "the channels are taken as the load on the plate, as the format defines";
        }
    }
}

std::string typeInWords(int type)
{
    switch (type) {
    case 1:
        return "force, centre of pressure and free moment (6 channels)";
    case 2:
        return "force and moments (6 channels)";
    case 3:
        return "four three-component sensors (8 channels)";
    case 4:
        return "force and moments through a calibration matrix (6 channels)";
    default:
        return "a type Orvane does not read";
    }
}

ForceRecord forceRecord(const Plate& plate, const Loads& loads, double threshold)
{
    // The subject gets the opposite of the load on the plate.
    const Vec3 measured = times(plate.toLab, loads.force);
    const double s = -plate.sense;
    ForceRecord r;
    r.fx = s * measured[0];
    r.fy = s * measured[1];
    r.fz = s * measured[2];
    for (double* v : {&r.fx, &r.fy, &r.fz})
        if (!std::isfinite(*v))
            *v = 0;
    const double fz = loads.force[2];
    if (!(std::abs(r.fz) >= threshold) || std::abs(fz) < 1e-9)
        return r;
    const Vec3& m = loads.moment;
    const Vec3 cop = {-m[1] / fz, m[0] / fz, 0};
    const double free = m[2] - (cop[0] * loads.force[1] - cop[1] * loads.force[0]);
    const Vec3 copLab = times(plate.toLab, cop);
    r.ax = copLab[0] * 100;
    r.ay = copLab[1] * 100;
    r.az = copLab[2] * 100;
    r.mz = s * free * plate.toLab[2][2];
    // A centre of pressure kilometres off, or a moment no plate bears, comes from
    // damaged moment channels; the force file could not hold it, so none is given.
    for (double* v : {&r.ax, &r.ay, &r.az, &r.mz})
        if (!(std::abs(*v) <= 1e7))
            r.ax = r.ay = r.az = r.mz = 0;
    return r;
}

} // namespace c3d
