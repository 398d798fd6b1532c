// c3d2rf as a whole process: the files it writes, its messages and exit statuses.

#include "C3dTestFiles.h"
#include "ConsoleToolTest.h"
#include "forcedata/RfReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <spawn.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>

using namespace c3dtest;

namespace
{

using Outcome = ToolOutcome;

class C3d2rfTest : public ConsoleToolTest
{
protected:
    Outcome run(std::vector<std::string> args) { return runTool("c3d2rf", std::move(args)); }
};

} // namespace

TEST_F(C3d2rfTest, ListsThePlates)
{
    file("trial.c3d", twoPlates(10));
    const Outcome o = run({"--list", "trial.c3d"});
    EXPECT_EQ(o.exitCode, 0) << o.err;
    EXPECT_EQ(o.out, "  1  type 2        10 samples      1000 Hz  peak Fz     175.0 N\n"
                     "  2  type 2        10 samples      1000 Hz  peak Fz     350.0 N\n");
}

TEST_F(C3d2rfTest, WritesAPlateTheReaderReadsBack)
{
    file("walk.c3d", twoPlates(6000));
    const Outcome o = run({"--plate", "2", "--from", "11", "walk.c3d"});
    EXPECT_EQ(o.exitCode, 0) << o.err;
    // 5990 samples: pairs averaged.
    EXPECT_NE(o.err.find("mean of 2"), std::string::npos) << o.err;
    const std::string text = slurp(m_dir + "/WALK_P2.RF");
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.substr(0, 40), "walk plate 2" + std::string(28, ' '));

    auto table = std::make_unique<ForceTable>();
    MemoryByteSource source(text);
    ASSERT_EQ(readRf(source, *table), RfReadResult::Records);
    EXPECT_EQ(table->RecordCount, 2995);
    EXPECT_DOUBLE_EQ(table->samplingRateHz(), 500);
    EXPECT_NEAR(table->BodyWeight, 588.6, 0.05);
    // Pairs from sample 11 on: record numbers count pairs from the file's start.
    EXPECT_EQ(table->RecordNo[1], 6);
    EXPECT_EQ(table->RecordNo[2], 7);
    EXPECT_NEAR(table->Fz[7], 350, 0.01);
    EXPECT_NEAR(table->Ax[7], Load{}.ax / 2, 0.01); // twice the vertical load, the same moments
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
}

TEST_F(C3d2rfTest, ExitStatuses)
{
    const std::string good = twoPlates(10);
    file("good.c3d", good);
    file("cut.c3d", good.substr(0, 700));
    file("EXISTS.RF", "keep me");
    file("exists.c3d", good);
    FileShape none;
    file("none.c3d", build(none));
    // No plate in use, behind a parameter that is empty for its zero dimension.
    FileShape unused;
    unused.params = {number("FORCE_PLATFORM", "USED", {0}, {}, 2),
                     Param{"ANALYSIS", "DESCRIPTIONS", -1, {255, 255, 0}, {}, ""}};
    file("unused.c3d", build(unused));
    ASSERT_EQ(::mkfifo((m_dir + "/pipe.c3d").c_str(), 0600), 0);
    std::filesystem::create_directory(m_dir + "/folder.c3d");
    const struct {
        std::vector<std::string> args;
        int exitCode;
        const char* err; // a part of standard error; nullptr when it must be empty
    } cases[] = {
        {{"good.c3d", "OUT.RF"}, 0, "the signs are turned"},
        {{"good.c3d", "OUT.RF"}, 5, "exists"},
        {{"exists.c3d"}, 5, "exists"},
        {{"missing.c3d"}, 2, "File not found"},
        {{"no/dir.c3d"}, 2, "Path not found"},
        {{"cut.c3d"}, 3, "damaged"},
        {{"EXISTS.RF", "X.RF"}, 3, "C3D header"},
        {{"--plate", "3", "good.c3d", "P3.RF"}, 4, "no plate 3"},
        {{"none.c3d", "N.RF"}, 4, "no force plates"},
        {{"--list", "none.c3d"}, 4, "no force plates"},
        {{"--from", "5", "--to", "4", "good.c3d", "R.RF"}, 1, "not within"},
        {{"--plate", "x", "good.c3d"}, 1, "whole number"},
        {{"--threshold", "-1", "good.c3d"}, 1, "threshold"},
        {{"--bogus", "good.c3d"}, 1, "unknown option"},
        {{}, 1, "no C3D file"},
        {{"--help"}, 0, nullptr},
        {{"--plate", "0", "good.c3d", "P0.RF"}, 4, "there is no plate 0"},
        {{"--plate", "-1", "good.c3d", "P0.RF"}, 4, "there is no plate -1"},
        {{"--plate", "256", "good.c3d", "P0.RF"}, 4, "there is no plate 256"},
        {{"unused.c3d", "U.RF"}, 4, "no force plates"},
        {{"good.c3d", "no/dir/OUT2.RF"}, 6, "could not write: Path not found"},
        {{"pipe.c3d", "F.RF"}, 2, "Path/File access error (75)"},
        {{"folder.c3d", "F.RF"}, 2, "Path/File access error (75)"},
        {{"--all", "--plate", "2", "good.c3d"}, 1, "--all"},
        {{"--all", "good.c3d", "A.RF"}, 1, "too many"},
    };
    for (const auto& c : cases) {
        std::string line;
        for (const std::string& a : c.args)
            line += a + " ";
        SCOPED_TRACE(line);
        const Outcome o = run(c.args);
        EXPECT_EQ(o.exitCode, c.exitCode) << o.err;
        if (c.err)
            EXPECT_NE(o.err.find(c.err), std::string::npos) << o.err;
        else
            EXPECT_EQ(o.err, "");
    }
    EXPECT_EQ(slurp(m_dir + "/EXISTS.RF"), "keep me");
    for (const char* unwritten :
         {"P3.RF", "N.RF", "R.RF", "CUT.RF", "X.RF", "P0.RF", "U.RF", "F.RF", "A.RF", "GOOD_P1.RF"})
        EXPECT_FALSE(std::filesystem::exists(m_dir + "/" + unwritten)) << unwritten;
    EXPECT_NE(run({"--help"}).out.find("--threshold"), std::string::npos);
}

TEST_F(C3d2rfTest, AllWritesEveryLoadedPlateOrNothing)
{
    // Plate 1 of three is unloaded; plates 2 and 3 carry 175 and 350 N.
    FileShape s;
    s.channels = 18;
    for (int c = 0; c < 18; ++c)
        s.scale.push_back(c % 6 < 3 ? 0.05 : 4);
    const std::vector<double> one = type2Channels({}, Load{}, 40);
    s.value = [one](int c, int) {
        const double v = one[static_cast<std::size_t>(c % 6)] / 4;
        return c < 6 ? 0.0 : c == 14 ? 2 * v : v;
    };
    std::vector<double> channel, cornerList;
    for (int c = 1; c <= 18; ++c)
        channel.push_back(c);
    for (int p = 0; p < 3; ++p) {
        PlateSetup setup;
        setup.centre = {300.0 + 500 * p, 200, 0};
        for (double v : corners(setup))
            cornerList.push_back(v);
    }
    s.params = {number("FORCE_PLATFORM", "USED", {3}, {}, 2),
                number("FORCE_PLATFORM", "TYPE", {2, 2, 2}, {3}, 2),
                number("FORCE_PLATFORM", "CHANNEL", channel, {6, 3}, 2),
                number("FORCE_PLATFORM", "CORNERS", cornerList, {3, 4, 3}),
                number("FORCE_PLATFORM", "ORIGIN", {0, 0, 40, 0, 0, 40, 0, 0, 40}, {3, 3})};
    file("walk.c3d", build(s));
    const struct {
        std::vector<std::string> present; // files there before
        int exitCode;
        std::vector<std::pair<std::string, double>> written; // name, Fz of record 1
    } cases[] = {
        {{}, 0, {{"WALK_P2.RF", 175}, {"WALK_P3.RF", 350}}},
        {{"WALK_P3.RF"}, 5, {}},
        {{"WALK_P2.RF", "WALK_P3.RF"}, 5, {}},
        {{"WALK_P1.RF"}, 0, {{"WALK_P2.RF", 175}, {"WALK_P3.RF", 350}}}, // an unloaded plate's name
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.present.size());
        for (const char* name : {"WALK_P1.RF", "WALK_P2.RF", "WALK_P3.RF"})
            std::filesystem::remove(m_dir + "/" + name);
        for (const std::string& name : c.present)
            file(name, "keep me");
        const Outcome o = run({"--all", "walk.c3d"});
        EXPECT_EQ(o.exitCode, c.exitCode) << o.err;
        for (const std::string& name : c.present)
            EXPECT_EQ(slurp(m_dir + "/" + name), "keep me") << name;
        for (const char* name : {"WALK_P1.RF", "WALK_P2.RF", "WALK_P3.RF"}) {
            const bool present =
                std::find(c.present.begin(), c.present.end(), name) != c.present.end();
            const auto written = std::find_if(c.written.begin(), c.written.end(),
                                              [&](const auto& w) { return w.first == name; });
            if (present)
                continue;
            ASSERT_EQ(std::filesystem::exists(m_dir + "/" + name), written != c.written.end())
                << name;
            if (written == c.written.end())
                continue;
            auto table = std::make_unique<ForceTable>();
            const std::string text = slurp(m_dir + "/" + name);
            MemoryByteSource source(text);
            ASSERT_EQ(readRf(source, *table), RfReadResult::Records);
            EXPECT_NEAR(table->Fz[1], written->second, 0.01) << name;
        }
    }
    // No plate with a load at all.
    file("still.c3d", twoPlates(10));
    EXPECT_EQ(run({"--all", "--threshold", "400", "still.c3d"}).exitCode, 4);
}
