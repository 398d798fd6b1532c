// c3d2rf as a whole process: the files it writes, its messages and exit statuses.

#include "C3dTestFiles.h"
#include "ConsoleToolTest.h"
#include "forcedata/RfReader.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <spawn.h>
#include <sstream>
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
    const struct {
        std::vector<std::string> args;
        int exitCode;
        const char* err;
    } cases[] = {
        {{"good.c3d", "OUT.RF"}, 0, ""},
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
        {{"--help"}, 0, ""},
    };
    for (const auto& c : cases) {
        std::string line;
        for (const std::string& a : c.args)
            line += a + " ";
        SCOPED_TRACE(line);
        const Outcome o = run(c.args);
        EXPECT_EQ(o.exitCode, c.exitCode) << o.err;
        EXPECT_NE(o.err.find(c.err), std::string::npos) << o.err;
    }
    EXPECT_EQ(slurp(m_dir + "/EXISTS.RF"), "keep me");
    for (const char* unwritten : {"P3.RF", "N.RF", "R.RF", "CUT.RF", "X.RF"})
        EXPECT_FALSE(std::filesystem::exists(m_dir + "/" + unwritten)) << unwritten;
    EXPECT_NE(run({"--help"}).out.find("--threshold"), std::string::npos);
}
