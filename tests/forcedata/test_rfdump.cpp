// rfdump as a whole process: what a researcher's script sees.

#include "ConsoleToolTest.h"
#include "RfTestFiles.h"
#include "core/NumberText.h"
#include "forcedata/RfReader.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <spawn.h>
#include <sstream>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace rftest;

namespace
{

using Outcome = ToolOutcome;

class RfdumpTest : public ConsoleToolTest
{
protected:
    // `output` is where standard output goes (a file in the test's folder by default).
    Outcome rfdump(const std::string& path, const std::string& output = {})
    {
        return runTool("rfdump", {path}, output);
    }
};

} // namespace

TEST_F(RfdumpTest, WritesTheTableAsCsv)
{
    const std::string path = file(
        "WALK01.RF", joinCards({headerCard("WALK01 stance", "500.0"),
                                headerCard("Subject A", "712.5"), headerCard("Fx Fy Fz", "Ay"), "",
                                dataCard({"12.5", "-3", "700.25", "0.1", "0.2", "1.5", "0", "17"}),
                                dataCard({"1E-5", "", "", "", "", "0.1", "-2.5", "18.5"})}));
    const Outcome run = rfdump(path);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, "# title: WALK01 stance\n"
                       "# sampling_rate: 500\n"
                       "# body_weight: 712.5\n"
                       "# records: 2\n"
                       "# extra: Az\n"
                       "record,Fx,Fy,Fz,Ax,Ay,Mz,Extra,RecordNo\n"
                       "1,12.5,-3,700.25,0.1,0.2,1.5,0,17\n"
                       "2,1e-05,0,0,0,0,0.1,-2.5,18\n");
}

TEST_F(RfdumpTest, ExitStatusAndWarnings)
{
    const std::string tooMany = [] {
        std::vector<std::string> cards = standardHeader();
        const std::vector<std::string> data = dataCards(5001);
        cards.insert(cards.end(), data.begin(), data.end());
        return joinCards(cards);
    }();
    struct Case {
        std::string name;
        std::string path;
        int exitCode;
        std::string err;
        std::string records;
    } cases[] = {
        // The header counts the rows written.
        {"empty", file("EMPTY.RF", ""), 3, "Data file was empty.\n", "# records: -1\n"},
        {"no data", file("HEAD.RF", joinCards({headerCard("T", "200")})), 4,
         "Data file contains no data or was in wrong format.\n", "# records: 0\n"},
        {"too many", file("LONG.RF", tooMany), 0,
         "Maximum number of force records exceeded.\nMaximum is 5000\n", "# records: 5000\n"},
        {"missing", m_dir + "/NONE.RF", 2, "File not found", ""},
        {"missing directory", m_dir + "/none/NONE.RF", 2, "Path not found", ""},
        {"a directory", m_dir, 2, "Path/File access error", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome run = rfdump(c.path);
        EXPECT_EQ(run.exitCode, c.exitCode);
        if (c.exitCode == 2) {
            EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
            EXPECT_EQ(run.out, "");
        } else {
            EXPECT_EQ(run.err, c.err);
            EXPECT_NE(run.out.find(c.records), std::string::npos);
            EXPECT_EQ(run.out.find("sampling rate"), std::string::npos); // never asked
        }
    }
}

TEST_F(RfdumpTest, EveryNumberReadsBackToTheStoredValue)
{
    std::vector<std::string> cards = {headerCard("T", "333.3333"), headerCard("S", "0.1"), ""};
    for (int i = 0; i < 50; ++i) {
        const std::string a = std::to_string(i) + ".3333333";
        const std::string b = "-0.0" + std::to_string(i) + "7";
        cards.push_back(dataCard({a, b, "1.1E+2", a, b, "0.3333", b, std::to_string(i)}));
    }
    const std::string bytes = joinCards(cards);
    auto table = std::make_unique<ForceTable>();
    MemoryByteSource source(bytes);
    ASSERT_EQ(readRf(source, *table), RfReadResult::Records);

    const Outcome run = rfdump(file("PREC.RF", bytes));
    ASSERT_EQ(run.exitCode, 0);
    std::istringstream lines(run.out);
    std::string line;
    int row = 0;
    while (std::getline(lines, line)) {
        if (line.empty() || line[0] == '#' || line[0] == 'r')
            continue;
        ++row;
        std::vector<std::string> cells;
        std::istringstream fields(line);
        for (std::string cell; std::getline(fields, cell, ',');)
            cells.push_back(cell);
        ASSERT_EQ(cells.size(), 9u) << line;
        const auto r = static_cast<std::size_t>(row);
        EXPECT_EQ(lenientNumber(cells[1]), table->Fx[r]);
        EXPECT_EQ(lenientNumber(cells[2]), table->Fy[r]);
        EXPECT_EQ(static_cast<float>(lenientNumber(cells[6])), table->Mz[r]);
        EXPECT_EQ(lenientNumber(cells[7]), table->Extra[r]);
    }
    EXPECT_EQ(row, 50);
    EXPECT_NE(run.out.find("# body_weight: 0.1\n"), std::string::npos);
    EXPECT_NE(run.out.find("# sampling_rate: 333.3333\n"), std::string::npos);
}

TEST_F(RfdumpTest, AFailedWriteIsSaidAndEndsWithStatusOne)
{
    std::vector<std::string> cards = standardHeader();
    const std::vector<std::string> data = dataCards(3000); // a CSV of some 150 kB
    cards.insert(cards.end(), data.begin(), data.end());
    const std::string path = file("LONG.RF", joinCards(cards));

    const Outcome full = rfdump(path, "/dev/full");
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_NE(full.err.find("No space left on device"), std::string::npos) << full.err;

    // A small file system that fills up for real, where the test may mount one.
    const std::string small = m_dir + "/small";
    std::filesystem::create_directory(small);
    if (::mount("tmpfs", small.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "no right to mount a small file system here";
    const Outcome cut = rfdump(path, small + "/walk.csv");
    ::umount2(small.c_str(), MNT_DETACH);
    EXPECT_EQ(cut.exitCode, 1);
    EXPECT_NE(cut.err.find("No space left on device"), std::string::npos) << cut.err;
}

TEST_F(RfdumpTest, APipeOrADeviceIsRefusedAtOnce)
{
    const std::string fifo = m_dir + "/PIPE.RF";
    const std::string fed = m_dir + "/FED.RF";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(fed.c_str(), 0600), 0);
    // A writer that streams without line ends and never closes.
    const int writer = ::open(fed.c_str(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(writer, 0);
    ASSERT_GT(::write(writer, "1234567890", 10), 0);
    for (const std::string& path :
         {fifo, fed, std::string("/dev/zero"), std::string("/dev/null")}) {
        SCOPED_TRACE(path);
        const Outcome run = rfdump(path);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_NE(run.err.find("Path/File access error (75)"), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
    ::close(writer);
}
