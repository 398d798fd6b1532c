// The force plates of a C3D file: each type and orientation, the threshold, the units, the
// baseline, the corners, on files built with known loads.

#include "C3dPlateFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <string>
#include <vector>

using namespace c3dtest;

TEST(C3dPlates, EachTypeAndOrientationGivesTheLoadPutIn)
{
    PlateSetup standard;                                                  // plate z down, Z up lab
    PlateSetup turned{{0, 1, 0}, {1, 0, 0}, {0, 0, -1}, 2, {}, 200, 300}; // turned 90 degrees
    PlateSetup upsideDown{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, 2, {}, 200, 300}; // plate z up
    PlateSetup yUp = standard; // the file's vertical is Y
    yUp.fileVertical = 1;
    PlateSetup xUp = turned;
    xUp.fileVertical = 0;
    const struct {
        const char* name;
        PlateSetup setup;
    } orientations[] = {{"standard", standard},
                        {"turned 90", turned},
                        {"upside down", upsideDown},
                        {"Y up", yUp},
                        {"X up", xUp}};
    for (int type = 1; type <= 4; ++type)
        for (const auto& o : orientations) {
            Load load;
            load.grf = {-40, 25, 650};
            load.ax = -12;
            load.ay = 9;
            load.mz = -3.5;
            const c3d::Conversion out = convert(build(plateFile(type, o.setup, load)));
            ASSERT_FALSE(out.records.empty());
            expectLoad(out.records[0], load, 0.05, "type " + std::to_string(type) + ", " + o.name);
        }
}

TEST(C3dPlates, OriginWrittenEitherWayRoundReadsTheSame)
{
    const Load load;
    for (int type : {2, 3}) {
        const std::vector<double> flipped =
            type == 2 ? std::vector<double>{0, 0, -40} : std::vector<double>{210, 260, 41};
        const c3d::Conversion out = convert(build(plateFile(type, {}, load, {}, flipped)));
        expectLoad(out.records[0], load, 0.05, "type " + std::to_string(type));
    }
}

TEST(C3dPlates, BelowTheThresholdTheCentreAndMomentAreZero)
{
    const struct {
        double fz, threshold;
        bool centre;
    } cases[] = {{8, 10, false}, {8, 5, true}, {12, 10, true}, {10, 10, true}, {0, 0, false}};
    for (const auto& c : cases) {
        Load load;
        load.grf = {1, 1, c.fz};
        load.mz = 0.5;
        c3d::ConvertOptions options;
        options.threshold = c.threshold;
        // A scale a float holds exactly, so that 10 N reads as 10 N and meets 10.
        FileShape s = plateFile(2, {}, load, {Processor::Intel, true});
        s.scale[2] = 0.0625;
        const c3d::Conversion out = convert(build(s), options);
        const c3d::ForceRecord& r = out.records[0];
        SCOPED_TRACE(c.fz);
        EXPECT_NEAR(r.fz, c.fz, 1e-3);
        if (c.centre) {
            EXPECT_NEAR(r.ax, load.ax, 1e-2);
            EXPECT_NEAR(r.mz, load.mz, 1e-2);
        } else {
            EXPECT_EQ(r.ax, 0);
            EXPECT_EQ(r.ay, 0);
            EXPECT_EQ(r.mz, 0);
        }
    }
}

TEST(C3dPlates, UnitsZeroAndBodyWeight)
{
    const Load load;
    // Moments in N m, corners in mm under a POINT:UNITS of m, a baseline on every
    // channel measured over the unloaded frames 1-2, and the subject's mass.
    FileShape s = plateFile(2, {}, load, {Processor::Intel, true});
    const std::vector<double> ch = type2Channels({}, load, 40);
    // Frames 1 and 2 differ, their mean being the offset: a window shifted by a
    // frame takes in the load and no baseline.
    s.value = [ch](int c, int i) {
        const double v =
            c >= 3 ? ch[static_cast<std::size_t>(c)] / 1000 : ch[static_cast<std::size_t>(c)];
        return i == 0 ? 4 * (c + 1) : i == 1 ? 6 * (c + 1) : v + 5 * (c + 1);
    };
    for (Param& p : s.params)
        if (p.name == "UNITS")
            p = text("POINT", "UNITS", {"m"}, 1);
    s.params.push_back(text("ANALOG", "UNITS", {"N", "N", "N", "N.m", "N.m", "N.m"}, 3));
    s.params.push_back(number("FORCE_PLATFORM", "ZERO", {1, 2}, {2}, 2));
    s.params.push_back(number("PROCESSING", "Bodymass", {70}));
    const c3d::Conversion out = convert(build(s));
    expectLoad(out.records[5], load, 0.05, "N.m, m, zero");
    EXPECT_NEAR(out.bodyWeight, 70 * 9.81, 1e-3);
    ASSERT_EQ(out.notes.size(), 1u);
}

TEST(C3dPlates, ZeroFramesUnderAStandingSubjectAreNoBaseline)
{
    FileShape s = plateFile(2, {}, Load{}, {Processor::Intel, true});
    s.params.push_back(number("FORCE_PLATFORM", "ZERO", {1, 3}, {2}, 2));
    const c3d::Conversion out = convert(build(s));
    expectLoad(out.records[5], Load{}, 0.05, "standing from the start");
    ASSERT_EQ(out.notes.size(), 1u);
    EXPECT_NE(out.notes[0].find("no baseline"), std::string::npos) << out.notes[0];
}

TEST(C3dPlates, LoadsGivenAsTheReactionReadTheSame)
{
    // Some systems write the force on the subject rather than on the plate.
    Load reaction;
    reaction.grf = {-reaction.grf[0], -reaction.grf[1], -reaction.grf[2]};
    reaction.mz = -reaction.mz;
    FileShape s = plateFile(2, {}, reaction);
    const c3d::Conversion out = convert(build(s));
    expectLoad(out.records[0], Load{}, 0.05, "reaction");
}

TEST(C3dPlates, CornersThatAreNoPlateAreRefusedAndDecideNothingForAnother)
{
    // Plate 1 lies in a laboratory whose vertical is Y; plates 2 and 3 carry corners
    // whose normals point along X, outvoting plate 1 if they had a vote.
    PlateSetup yUp;
    yUp.fileVertical = 1;
    const Load load;
    const std::vector<double> one = type2Channels(yUp, load, 40);
    const double nan = std::nan("");
    const struct {
        const char* name;
        std::vector<double> junk; // four corners, x y z each, mm
        const char* reason;
    } cases[] = {
        {"sides 3.5e10 apart",
         {0, 0, 0, 0, -3.5e10, 0, 0, -3.5e10, -400, 0, 0, -400},
         "2 cm to 5 m"},
        {"a side of 1 cm", {0, 0, 0, 0, -10, 0, 0, -10, -400, 0, 0, -400}, "2 cm to 5 m"},
        {"a side of 6 m", {0, 0, 0, 0, -6000, 0, 0, -6000, -400, 0, 0, -400}, "2 cm to 5 m"},
        {"sides not square", {0, 0, 0, 0, -400, 0, 0, -700, -400, 0, 300, -400}, "right angles"},
        {"not a number", {0, 0, 0, 0, -400, nan, 0, -400, -400, 0, 0, -400}, "not numbers"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FileShape s;
        s.channels = 18;
        for (int ch = 0; ch < 18; ++ch)
            s.scale.push_back(ch % 6 < 3 ? 0.05 : 4);
        s.value = [one](int ch, int) { return one[static_cast<std::size_t>(ch % 6)]; };
        std::vector<double> channel, cornerList = corners(yUp);
        for (int ch = 1; ch <= 18; ++ch)
            channel.push_back(ch);
        for (int p = 0; p < 2; ++p)
            cornerList.insert(cornerList.end(), c.junk.begin(), c.junk.end());
        s.params = {number("FORCE_PLATFORM", "USED", {3}, {}, 2),
                    number("FORCE_PLATFORM", "TYPE", {2, 2, 2}, {3}, 2),
                    number("FORCE_PLATFORM", "CHANNEL", channel, {6, 3}, 2),
                    number("FORCE_PLATFORM", "CORNERS", cornerList, {3, 4, 3}),
                    number("FORCE_PLATFORM", "ORIGIN", {0, 0, 40, 0, 0, 40, 0, 0, 40}, {3, 3}),
                    text("POINT", "UNITS", {"mm"}, 2)};
        const std::string bytes = build(s);
        c3d::MemoryBytes source(bytes);
        c3d::Trial trial = c3d::openTrial(source);
        for (int p : {1, 2}) {
            const std::string& problem = trial.plates.plates[static_cast<std::size_t>(p)].problem;
            EXPECT_NE(problem.find(c.reason), std::string::npos) << problem;
        }
        const c3d::Conversion out = c3d::convertPlate(source, trial, {});
        expectLoad(out.records[0], load, 0.05, "plate 1");
        for (int p : {2, 3}) {
            c3d::ConvertOptions options;
            options.plate = p;
            EXPECT_THROW(c3d::convertPlate(source, trial, options), c3d::FormatError);
        }
    }
}

TEST(C3dPlates, TheCornersUnitIsTheFilesOrTheOneTheirSizeShows)
{
    // A type 1 plate gives its centre of pressure and free moment in the corners'
    // unit. The corners are written in `unit`; `note` when the unit is not believed.
    const struct {
        const char* unit;
        double perMm; // the corners' numbers per mm
        bool note;
    } cases[] = {{"mm", 1, false}, {"cm", 0.1, false}, {"m", 0.001, false},
                 {"m", 1, true},   {"", 1, true},      {"", 0.001, true}};
    Load load;
    load.ax = 7;
    load.ay = -4;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.unit) + " " + std::to_string(c.perMm));
        FileShape s = plateFile(1, {}, load, {Processor::Intel, true});
        const std::vector<double> ch = type1Channels({}, load);
        const double per = c.perMm;
        s.value = [ch, per](int k, int) {
            return ch[static_cast<std::size_t>(k)] * (k >= 3 ? per : 1);
        };
        std::vector<double> cornerList = corners({});
        for (double& v : cornerList)
            v *= c.perMm;
        for (Param& p : s.params) {
            if (p.name == "CORNERS")
                p = number("FORCE_PLATFORM", "CORNERS", cornerList, {3, 4, 1});
            if (p.name == "UNITS")
                p = text("POINT", "UNITS", {c.unit[0] ? c.unit : " "}, 2);
        }
        const std::string bytes = build(s);
        c3d::MemoryBytes source(bytes);
        c3d::Trial trial = c3d::openTrial(source);
        const c3d::Plate& plate = trial.plates.plates[0];
        ASSERT_EQ(plate.problem, "");
        EXPECT_NEAR(plate.centre[0], 0.3, 1e-6);
        EXPECT_NEAR(plate.centre[1], 0.2, 1e-6);
        EXPECT_NEAR(plate.width, 0.4, 1e-6);
        EXPECT_NEAR(plate.depth, 0.6, 1e-6);
        EXPECT_EQ(plate.notes.size(), c.note ? 1u : 0u);
        const c3d::Conversion out = c3d::convertPlate(source, trial, {});
        expectLoad(out.records[0], load, 0.05, c.unit);
    }
}
