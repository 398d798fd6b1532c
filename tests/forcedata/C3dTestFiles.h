#pragma once

// Small C3D files built in memory for the tests: any processor, integer or float
// storage, signed or unsigned analog data, parameters in any order, and plates whose
// channels carry a chosen load.

#include "forcedata/c3d/C3dReader.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace c3dtest
{

using c3d::Processor;
using V3 = std::array<double, 3>;

struct Param {
    std::string group, name;
    int type = 4; // -1 character, 1 byte, 2 integer, 4 float
    std::vector<int> dims;
    std::vector<double> numbers;
    std::string chars;
};

struct FileShape {
    Processor processor = Processor::Intel;
    bool floatStorage = false;
    bool unsignedAnalog = false;
    int points = 1;
    int channels = 6;
    int samplesPerFrame = 1;
    int frames = 10;
    double pointRate = 1000;
    double genScale = 1;
    std::vector<double> scale;  // per channel, default 1
    std::vector<double> offset; // per channel, default 0
    // The physical value of a channel at a sample (0-based both).
    std::function<double(int channel, int sample)> value = [](int, int) { return 0.0; };
    std::vector<Param> params;
};

inline void put16(std::string& out, int v, Processor p)
{
    const auto u = static_cast<uint16_t>(v);
    if (p == Processor::Mips) {
        out += static_cast<char>(u >> 8);
        out += static_cast<char>(u & 0xff);
    } else {
        out += static_cast<char>(u & 0xff);
        out += static_cast<char>(u >> 8);
    }
}

inline void putFloat(std::string& out, double value, Processor p)
{
    float f = static_cast<float>(p == Processor::Dec ? value * 4 : value);
    uint32_t bits = 0;
    std::memcpy(&bits, &f, 4);
    if (p == Processor::Dec && value == 0)
        bits = 0;
    unsigned char b[4];
    switch (p) {
    case Processor::Intel:
        b[0] = bits & 0xff, b[1] = bits >> 8 & 0xff, b[2] = bits >> 16 & 0xff, b[3] = bits >> 24;
        break;
    case Processor::Mips:
        b[3] = bits & 0xff, b[2] = bits >> 8 & 0xff, b[1] = bits >> 16 & 0xff, b[0] = bits >> 24;
        break;
    case Processor::Dec:
        b[0] = bits >> 16 & 0xff, b[1] = bits >> 24, b[2] = bits & 0xff, b[3] = bits >> 8 & 0xff;
        break;
    }
    out.append(reinterpret_cast<char*>(b), 4);
}

inline Param number(std::string group, std::string name, std::vector<double> values,
                    std::vector<int> dims = {}, int type = 4)
{
    if (dims.empty() && values.size() != 1)
        dims = {static_cast<int>(values.size())};
    return {std::move(group), std::move(name), type, std::move(dims), std::move(values), {}};
}

inline Param text(std::string group, std::string name, std::vector<std::string> texts, int width)
{
    Param p{std::move(group), std::move(name), -1, {width}, {}, {}};
    if (texts.size() != 1 || width != static_cast<int>(texts[0].size()))
        p.dims.push_back(static_cast<int>(texts.size()));
    for (std::string t : texts) {
        t.resize(static_cast<std::size_t>(width), ' ');
        p.chars += t;
    }
    if (texts.size() == 1)
        p.dims = {width};
    return p;
}

// The parameter section: the parameters first and their groups after them, so a
// reader must resolve names whatever the order.
inline std::string parameterSection(const FileShape& s, const std::vector<Param>& params)
{
    std::map<std::string, int> ids;
    for (const Param& p : params)
        ids.emplace(p.group, 0);
    int next = 1;
    for (auto& [name, id] : ids)
        id = next++;
    std::string out;
    out += '\x01';
    out += '\x50';
    out += '\0'; // block count, set below
    out += static_cast<char>(static_cast<int>(s.processor));
    for (const Param& p : params) {
        std::string rec;
        rec += static_cast<char>(p.name.size());
        rec += static_cast<char>(ids[p.group]);
        rec += p.name;
        std::string body;
        body += static_cast<char>(p.type);
        body += static_cast<char>(p.dims.size());
        for (int d : p.dims)
            body += static_cast<char>(d);
        if (p.type == -1) {
            body += p.chars;
        } else {
            for (double v : p.numbers) {
                if (p.type == 4)
                    putFloat(body, v, s.processor);
                else if (p.type == 2)
                    put16(body, static_cast<int>(v), s.processor);
                else
                    body += static_cast<char>(static_cast<int>(v));
            }
        }
        body += '\0'; // no description
        put16(rec, static_cast<int>(body.size() + 2), s.processor);
        out += rec + body;
    }
    for (const auto& [name, id] : ids) {
        out += static_cast<char>(name.size());
        out += static_cast<char>(-id);
        out += name;
        put16(out, 3, s.processor);
        out += '\0';
    }
    out += std::string(4, '\0');
    const std::size_t blocks = (out.size() + 511) / 512;
    out.resize(blocks * 512, '\0');
    out[2] = static_cast<char>(blocks);
    return out;
}

inline std::string build(const FileShape& s)
{
    std::vector<double> scale = s.scale, offset = s.offset;
    scale.resize(static_cast<std::size_t>(s.channels), 1.0);
    offset.resize(static_cast<std::size_t>(s.channels), 0.0);
    const double pointScale = s.floatStorage ? -0.1 : 0.1;
    std::vector<Param> params = s.params;
    std::vector<double> storedOffset = offset;
    for (double& o : storedOffset)
        if (o > 32767)
            o -= 65536; // unsigned offsets go in signed words
    std::vector<Param> defaults = {
        number("POINT", "USED", {double(s.points)}, {}, 2),
        number("POINT", "SCALE", {pointScale}),
        number("POINT", "RATE", {s.pointRate}),
        number("ANALOG", "USED", {double(s.channels)}, {}, 2),
        number("ANALOG", "RATE", {s.pointRate * s.samplesPerFrame}),
        number("ANALOG", "GEN_SCALE", {s.genScale}),
        number("ANALOG", "SCALE", scale, {s.channels}),
        number("ANALOG", "OFFSET", storedOffset, {s.channels}, 2),
        text("ANALOG", "FORMAT", {s.unsignedAnalog ? "UNSIGNED" : "SIGNED"}, 8)};
    // A parameter the test gives replaces the default of the same name.
    for (const Param& d : defaults) {
        bool given = false;
        for (const Param& p : s.params)
            given = given || (p.group == d.group && p.name == d.name);
        if (!given)
            params.insert(params.begin(), d);
    }
    const std::string section = parameterSection(s, params);
    const int dataBlock = 2 + static_cast<int>(section.size() / 512);

    std::string header;
    header += '\x02';
    header += '\x50';
    put16(header, s.points, s.processor);
    put16(header, s.channels * s.samplesPerFrame, s.processor);
    put16(header, 1, s.processor);
    put16(header, s.frames, s.processor);
    put16(header, 0, s.processor);
    putFloat(header, pointScale, s.processor);
    put16(header, dataBlock, s.processor);
    put16(header, s.samplesPerFrame, s.processor);
    putFloat(header, s.pointRate, s.processor);
    header.resize(512, '\0');

    std::string data;
    for (int f = 0; f < s.frames; ++f) {
        for (int p = 0; p < s.points * 4; ++p)
            s.floatStorage ? putFloat(data, 1.5, s.processor) : put16(data, 15, s.processor);
        for (int k = 0; k < s.samplesPerFrame; ++k)
            for (int c = 0; c < s.channels; ++c) {
                const auto ci = static_cast<std::size_t>(c);
                const double raw =
                    s.value(c, f * s.samplesPerFrame + k) / (scale[ci] * s.genScale) + offset[ci];
                if (s.floatStorage)
                    putFloat(data, raw, s.processor);
                else
                    put16(data, static_cast<int>(std::lround(raw)), s.processor);
            }
    }
    data.resize((data.size() + 511) / 512 * 512, '\0');
    return header + section + data;
}

// ---------------------------------------------------------------------------
// A plate and the channel values that put a chosen load on it.

// A plate described in the output's axes (Z up): the directions of its own axes,
// and where the file's vertical axis is (2 Z, 1 Y, 0 X).
struct PlateSetup {
    V3 x{1, 0, 0}, y{0, -1, 0}, z{0, 0, -1};
    int fileVertical = 2;
    V3 centre{300, 200, 0};          // mm, output axes
    double halfX = 200, halfY = 300; // mm along the plate's x and y
};

// The load the subject gets: N, cm from the plate's centre, N·m.
struct Load {
    V3 grf{30, -20, 700};
    double ax = 5, ay = -8;
    double mz = 2.5;
};

inline double dot(const V3& a, const V3& b)
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

inline V3 cross(const V3& a, const V3& b)
{
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

// Output axes back to the file's: the inverse of turning the file's vertical to Z.
inline V3 toFile(const V3& v, int vertical)
{
    if (vertical == 1)
        return {v[0], v[2], -v[1]};
    if (vertical == 0)
        return {v[2], v[1], -v[0]};
    return v;
}

// FORCE_PLATFORM:CORNERS of the plate, in mm in the file's axes.
inline std::vector<double> corners(const PlateSetup& p)
{
    std::vector<double> out;
    const double sx[4] = {1, -1, -1, 1}, sy[4] = {1, 1, -1, -1};
    for (int c = 0; c < 4; ++c) {
        V3 corner;
        for (int k = 0; k < 3; ++k)
            corner[k] = p.centre[k] + sx[c] * p.halfX * p.x[k] + sy[c] * p.halfY * p.y[k];
        for (double v : toFile(corner, p.fileVertical))
            out.push_back(v);
    }
    return out;
}

// The load on the plate in its own axes (N, N·mm), moments about the surface centre.
struct PlateLoad {
    V3 f, m;
};

inline PlateLoad onPlate(const PlateSetup& p, const Load& l)
{
    const V3 push = {-l.grf[0], -l.grf[1], -l.grf[2]};
    const V3 r = {l.ax * 10, l.ay * 10, 0}; // mm, output axes
    PlateLoad out;
    out.f = {dot(push, p.x), dot(push, p.y), dot(push, p.z)};
    const V3 rp = {dot(r, p.x), dot(r, p.y), 0};
    const V3 free = {0, 0, -l.mz * 1000 * p.z[2]};
    out.m = cross(rp, out.f);
    for (int k = 0; k < 3; ++k)
        out.m[k] += free[k];
    return out;
}

// Type 2 channels: forces and the moments about a sensor origin `depth` mm below
// the surface (the surface's centre is at -depth along a plate z that points down).
inline std::vector<double> type2Channels(const PlateSetup& p, const Load& l, double depth)
{
    const PlateLoad pl = onPlate(p, l);
    const double down = p.z[2] < 0 ? 1 : -1;
    const V3 o = {0, 0, -depth * down};
    const V3 shift = cross(pl.f, o);
    return {pl.f[0], pl.f[1], pl.f[2], pl.m[0] - shift[0], pl.m[1] - shift[1], pl.m[2] - shift[2]};
}

// Type 1 channels: force, centre of pressure (mm, plate axes) and the free moment.
inline std::vector<double> type1Channels(const PlateSetup& p, const Load& l)
{
    const PlateLoad pl = onPlate(p, l);
    const V3 r = {l.ax * 10, l.ay * 10, 0};
    return {pl.f[0], pl.f[1], pl.f[2], dot(r, p.x), dot(r, p.y), -l.mz * 1000 * p.z[2]};
}

// Type 3 channels of four sensors at (±a, ±b), az0 mm below the surface.
inline std::vector<double> type3Channels(const PlateSetup& p, const Load& l, double a, double b,
                                         double az0)
{
    const PlateLoad pl = onPlate(p, l);
    const double down = p.z[2] < 0 ? 1 : -1;
    const V3 shift = cross(pl.f, V3{0, 0, -az0 * down});
    const V3 ms = {pl.m[0] - shift[0], pl.m[1] - shift[1], pl.m[2] - shift[2]};
    const double S = pl.f[2], P = ms[0] / b, Q = ms[1] / a;
    return {(pl.f[0] - ms[2] / b) / 2, (pl.f[0] + ms[2] / b) / 2, pl.f[1] / 2,     pl.f[1] / 2,
            (S + P - Q) / 4,           (S + P + Q) / 4,           (S - P + Q) / 4, (S - P - Q) / 4};
}

// Two type-2 plates, Z up; plate 2 carries twice plate 1's vertical load. A
// parameter in `replace` takes the place of the one of the same name.
inline std::string twoPlates(int frames, const std::vector<Param>& replace = {})
{
    FileShape s;
    s.channels = 12;
    s.frames = frames;
    for (int c = 0; c < 12; ++c)
        s.scale.push_back(c % 6 < 3 ? 0.05 : 4);
    const std::vector<double> one = type2Channels({}, Load{}, 40);
    s.value = [one](int c, int) {
        const double v = one[static_cast<std::size_t>(c % 6)] / 4;
        return c == 8 ? 2 * v : v;
    };
    std::vector<double> channel, cornerList;
    for (int c = 1; c <= 12; ++c)
        channel.push_back(c);
    for (int p = 0; p < 2; ++p) {
        PlateSetup setup;
        setup.centre = {300.0 + 500 * p, 200, 0};
        for (double v : corners(setup))
            cornerList.push_back(v);
    }
    s.params = {number("FORCE_PLATFORM", "USED", {2}, {}, 2),
                number("FORCE_PLATFORM", "TYPE", {2, 2}, {2}, 2),
                number("FORCE_PLATFORM", "CHANNEL", channel, {6, 2}, 2),
                number("FORCE_PLATFORM", "CORNERS", cornerList, {3, 4, 2}),
                number("FORCE_PLATFORM", "ORIGIN", {0, 0, 40, 0, 0, 40}, {3, 2}),
                number("SUBJECTS", "WEIGHT", {60})};
    for (const Param& r : replace)
        for (Param& p : s.params)
            if (p.group == r.group && p.name == r.name)
                p = r;
    return build(s);
}

} // namespace c3dtest
