#pragma once

// A file of one force plate built with a known load, and the checks the C3D tests share.

#include "C3dTestFiles.h"
#include "forcedata/c3d/C3dConvert.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace c3dtest
{

struct Storage {
    Processor processor = Processor::Intel;
    bool floats = false;
    bool unsignedAnalog = false;
};

// A file with one plate of `type` carrying `load` in every sample.
inline FileShape plateFile(int type, const PlateSetup& setup, const Load& load,
                           Storage storage = {}, std::vector<double> origin = {})
{
    FileShape s;
    s.processor = storage.processor;
    s.floatStorage = storage.floats;
    s.unsignedAnalog = storage.unsignedAnalog;
    std::vector<double> values;
    switch (type) {
    case 1:
        values = type1Channels(setup, load);
        s.scale = {0.05, 0.05, 0.05, 0.01, 0.01, 4};
        break;
    case 3:
        values = type3Channels(setup, load, 210, 260, 41);
        s.scale.assign(8, 0.02);
        if (origin.empty())
            origin = {210, 260, -41};
        break;
    default:
        values = type2Channels(setup, load, 40);
        s.scale = {0.05, 0.05, 0.05, 4, 4, 4};
        if (origin.empty())
            origin = {0, 0, 40};
        break;
    }
    if (type == 4) {
        // The amplifier mixes channel 2 into channel 1: out0 = c0 + 0.5 c1.
        values[0] -= 0.5 * values[1];
        std::vector<double> cal(36, 0.0);
        for (int i = 0; i < 6; ++i)
            cal[static_cast<std::size_t>(i * 7)] = 1;
        cal[6] = 0.5; // row 0, column 1: the first index runs fastest
        s.params.push_back(number("FORCE_PLATFORM", "CAL_MATRIX", cal, {6, 6, 1}));
    }
    if (origin.empty())
        origin = {0, 0, 0};
    s.channels = static_cast<int>(values.size());
    if (storage.unsignedAnalog)
        s.offset.assign(values.size(), 32768);
    s.value = [values](int c, int) { return values[static_cast<std::size_t>(c)]; };
    std::vector<double> channel;
    for (int c = 1; c <= s.channels; ++c)
        channel.push_back(c);
    s.params.push_back(number("FORCE_PLATFORM", "USED", {1}, {}, 2));
    s.params.push_back(number("FORCE_PLATFORM", "TYPE", {double(type)}, {1}, 2));
    s.params.push_back(number("FORCE_PLATFORM", "CHANNEL", channel, {s.channels, 1}, 2));
    s.params.push_back(number("FORCE_PLATFORM", "CORNERS", corners(setup), {3, 4, 1}));
    s.params.push_back(number("FORCE_PLATFORM", "ORIGIN", origin, {3, 1}));
    s.params.push_back(text("POINT", "UNITS", {"mm"}, 2));
    return s;
}

inline c3d::Conversion convert(const std::string& bytes, c3d::ConvertOptions options = {})
{
    c3d::MemoryBytes source(bytes);
    c3d::Trial trial = c3d::openTrial(source);
    return c3d::convertPlate(source, trial, options);
}

inline void expectLoad(const c3d::ForceRecord& r, const Load& l, double tolerance,
                       const std::string& what)
{
    SCOPED_TRACE(what);
    EXPECT_NEAR(r.fx, l.grf[0], tolerance);
    EXPECT_NEAR(r.fy, l.grf[1], tolerance);
    EXPECT_NEAR(r.fz, l.grf[2], tolerance);
    EXPECT_NEAR(r.ax, l.ax, tolerance);
    EXPECT_NEAR(r.ay, l.ay, tolerance);
    EXPECT_NEAR(r.az, 0, tolerance);
    EXPECT_NEAR(r.mz, l.mz, tolerance);
}

} // namespace c3dtest
