// The suite's stand-ins: their names in the program directory, the log line of every
// start and the output file that Orvane offers afterwards.

#include "SuiteTestSupport.h"
#include "suite/StandIn.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <regex>

using namespace suitetest;

namespace
{

TEST(StandInNames, EveryToolLiesInTheProgramDirectoryUnderItsOwnName)
{
    for (const suite::ToolInfo& tool : suite::suiteTools()) {
        EXPECT_TRUE(fs::exists(ProgramDir / tool.fileName)) << tool.fileName;
        EXPECT_EQ(suite::findTool(tool.fileName), &tool);
    }
    const auto wrapper = fs::status(ProgramDir / "tymlyn.bat");
    EXPECT_TRUE(fs::is_regular_file(wrapper));
    EXPECT_NE(wrapper.permissions() & fs::perms::owner_exec, fs::perms::none);
}

TEST(StandInNames, StartedNamesAreComparedWithoutCase)
{
    const struct {
        const char* started;
        const char* expected; // nullptr: not a tool
    } cases[] = {
        {"tabulo.exe", "tabulo.exe"},
        {"TABULO.EXE", "tabulo.exe"},
        {"Scalera.exe", "scalera.exe"},
        {"MORPH2DG.EXE", "Morph2DG.exe"},
        {"pictor.exe", "Pictor.exe"},
        {"pictor98.exe", "pictor98.exe"},
        {"tabulo", nullptr},
        {"tymlyn.bat", nullptr},
        {"", nullptr},
    };
    for (const auto& c : cases) {
        const suite::ToolInfo* tool = suite::findTool(c.started);
        if (c.expected == nullptr)
            EXPECT_EQ(tool, nullptr) << c.started;
        else
            EXPECT_TRUE(tool != nullptr && tool->fileName == c.expected) << c.started;
    }
}

TEST(StandInArguments, SwitchesFilesUsageAndSignatureOutput)
{
    const struct {
        std::vector<std::string> args;
        std::vector<std::string> switches;
        std::vector<std::string> files;
        bool usage;
        std::string_view signature;
    } cases[] = {
        {{"/F/I", "WALK01.RF"}, {"F", "I"}, {"WALK01.RF"}, false, "PREVIEW.PLT"},
        {{"/k/2/z/c/a/d", "WALK01.RF"},
         {"K", "2", "Z", "C", "A", "D"},
         {"WALK01.RF"},
         false,
         "PREVIEW.PLT"},
        {{"/m/3/s", "x.rf"}, {"M", "3", "S"}, {"x.rf"}, false, "MARQUO.ACD"},
        {{"/?", "/Q", "/HELP"}, {"?", "Q", "HELP"}, {}, true, "PREVIEW.PLT"},
        {{"/q/?"}, {"Q", "?"}, {}, true, "PREVIEW.PLT"},
        {{"/help"}, {"HELP"}, {}, true, "PREVIEW.PLT"},
        {{"--help"}, {}, {"--help"}, true, "PREVIEW.PLT"},
        {{";"}, {}, {}, false, "PREVIEW.PLT"},
        {{"//A", "/", "a b.rf"}, {"A"}, {"a b.rf"}, false, "PREVIEW.PLT"},
        {{"/13", "f"}, {"13"}, {"f"}, false, "PREVIEW.PLT"},
    };
    for (const auto& c : cases) {
        const std::string shown = ::testing::PrintToString(c.args);
        EXPECT_EQ(suite::switchWords(c.args), c.switches) << shown;
        EXPECT_EQ(suite::fileArguments(c.args), c.files) << shown;
        EXPECT_EQ(suite::wantsUsage(c.args), c.usage) << shown;
        EXPECT_EQ(suite::signatureOutput(c.args), c.signature) << shown;
    }
}

TEST(StandInLog, LineHasFourTabSeparatedFieldsWhateverTheArguments)
{
    const struct {
        std::vector<std::string> args;
        std::string expected;
    } cases[] = {
        {{"/F/I", "WALK01.RF"}, "T\tTabulo.exe\t/data\t/F/I WALK01.RF\n"},
        {{}, "T\tTabulo.exe\t/data\t\n"},
        {{"a\tb", "c\nd"}, "T\tTabulo.exe\t/data\ta b c d\n"},
        {{"", "x"}, "T\tTabulo.exe\t/data\t x\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(suite::logLine("T", "Tabulo.exe", "/data", c.args), c.expected);
    EXPECT_EQ(suite::logLine("T", "a\tb", "/my\tdata", {}), "T\ta b\t/my data\t\n");
}

TEST(StandInLog, StateDirectoryFromXdgOrHome)
{
    const struct {
        const char* xdg;
        const char* home;
        const char* expected;
    } cases[] = {
        {"/s", "/h", "/s/kinemora/suite.log"},
        {nullptr, "/h", "/h/.local/state/kinemora/suite.log"},
        {"", "/h", "/h/.local/state/kinemora/suite.log"},
        {"relative/state", "/h", "/h/.local/state/kinemora/suite.log"},
        {nullptr, nullptr, ""},
        {nullptr, "", ""},
        {"/s", nullptr, "/s/kinemora/suite.log"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(suite::suiteLogFile(c.xdg, c.home).string(), c.expected)
            << (c.xdg ? c.xdg : "(unset)") << " " << (c.home ? c.home : "(unset)");
}

TEST(StandInLog, TimeIsIso8601WithTheOffsetOfTheLocalZone)
{
    const char* saved = std::getenv("TZ");
    const std::string restore = saved ? saved : "";
    const struct {
        const char* zone;
        const char* expected;
    } cases[] = {
        {"UTC0", "2024-03-01T12:00:00+00:00"},
        {"EST5", "2024-03-01T07:00:00-05:00"},
        {"IST-5:30", "2024-03-01T17:30:00+05:30"},
    };
    const std::time_t noonUtc = 1709294400; // 2024-03-01T12:00:00Z
    for (const auto& c : cases) {
        setenv("TZ", c.zone, 1);
        tzset();
        EXPECT_EQ(suite::isoLocalTime(noonUtc), c.expected) << c.zone;
    }
    if (saved)
        setenv("TZ", restore.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

TEST(StandInFiles, NamedFilesAreFoundExactFirstThenWithoutCase)
{
    SuiteFolder folder;
    const fs::path dir = folder.data();
    writeText(dir / "walk01.rf", "a");
    writeText(dir / "Twice.dg", "a");
    writeText(dir / "TWICE.DG", "a");
    writeText(dir / "twice.DG", "a");
    const struct {
        const char* name;
        const char* expected;
    } cases[] = {
        {"walk01.rf", "walk01.rf"}, {"WALK01.RF", "walk01.rf"}, {"Twice.dg", "Twice.dg"},
        {"twice.dg", "twice.dg"}, // two matches without case: kept as given
        {"none.rf", "none.rf"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(suite::resolveFile(dir, c.name), dir / c.expected) << c.name;
}

// ---------------------------------------------------------------------------
// Whole processes

class StandInRun : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* name : {"WALK01.RF", "WALK01.DG", "WALK01.CFB"})
            folder.copySample(name);
        writeText(folder.data() / "EMPTY.RF", "");
    }

    std::vector<std::string> logLines() const { return lines(readText(folder.log())); }

    std::vector<std::string> dataFiles() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder.data()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    SuiteFolder folder;
};

TEST_F(StandInRun, EachStartLogsOneLineAndLeavesTheFileOrvaneOffers)
{
    const struct {
        const char* program;
        std::vector<std::string> args;
        const char* output; // "" when the stand-in writes none
        int exitCode;
    } cases[] = {
        {"scalera.exe", {"WALK01.DG"}, "Scalera.out", 0},
        {"swivra.exe", {"WALK01.RF"}, "Swivra.out", 0},
        {"chronel.exe", {"/a/c/z", "WALK01.RF"}, "Chronel.out", 0},
        {"marquo.exe", {"/k/2/z/c/a/d", "WALK01.RF"}, "PREVIEW.PLT", 0},
        {"marquo.exe", {"/m/3/c", "WALK01.RF"}, "MARQUO.ACD", 0},
        {"Modeler.exe", {"/C/R/M/F/G", "WALK01"}, "Modeler.out", 0},
        {"Vesmor.exe", {"/F", "WALK01"}, "Vesmor.out", 0},
        {"Morph2DG.exe", {"walk01.txt"}, "Morph2DG.out", 1},
        {"Ordinex.exe", {"walk01.dg"}, "Ordinex.out", 0},
        {"chronel.exe", {"/a/c/z", "EMPTY.RF"}, "Chronel.out", 3},
        {"swivra.exe", {"NONE.RF"}, "Swivra.out", 2},
        {"chronel.exe", {"/a/c/z"}, "Chronel.out", 1},
        {"kqwin98.exe", {";"}, "", 0},
        {"tessel2.exe", {";"}, "", 0},
        {"hardcpw.exe", {"preview.plt"}, "", 0},
        {"acrospin.exe", {"MARQUO.ACD"}, "", 0},
        {"Pictor.exe", {"/q", "/1", "walk01.km"}, "", 0},
    };
    const std::regex isoTime(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[+-]\d\d:\d\d)");
    std::size_t logged = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.program) + " " + ::testing::PrintToString(c.args));
        const auto before = dataFiles();
        const Outcome run = folder.run(ProgramDir / c.program, c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;

        const auto log = logLines();
        ASSERT_EQ(log.size(), ++logged);
        const auto fields = tabFields(log.back());
        ASSERT_EQ(fields.size(), 4u) << log.back();
        EXPECT_TRUE(std::regex_match(fields[0], isoTime)) << fields[0];
        EXPECT_EQ(fields[1], c.program);
        EXPECT_EQ(fs::path(fields[2]), folder.data());
        std::string joined;
        for (const std::string& arg : c.args)
            joined += (joined.empty() ? "" : " ") + arg;
        EXPECT_EQ(fields[3], joined);

        auto after = dataFiles();
        if (*c.output == '\0') {
            EXPECT_EQ(after, before);
            continue;
        }
        const fs::path output = folder.data() / c.output;
        ASSERT_TRUE(fs::exists(output));
        const std::string text = readText(output);
        EXPECT_NE(text.find("stand-in"), std::string::npos) << text;
        EXPECT_NE(text.find("Arguments:         " + joined + "\n"), std::string::npos) << text;
        fs::remove(output);
        EXPECT_EQ(dataFiles(), before) << "only " << c.output << " is written";
    }
}

TEST_F(StandInRun, OutputTellsWhatTheInputsHold)
{
    folder.run(ProgramDir / "chronel.exe", {"/a/c/z", "walk01.rf"});
    const std::string chronel = readText(folder.data() / "Chronel.out");
    EXPECT_NE(chronel.find("walk01.rf: force file \"WALK01 Walking, right foot stance\", 370 "
                           "records at 500 Hz"),
              std::string::npos)
        << chronel;

    folder.run(ProgramDir / "swivra.exe", {"EMPTY.RF"});
    EXPECT_NE(readText(folder.data() / "Swivra.out").find("EMPTY.RF: Data file was empty."),
              std::string::npos);

    folder.run(ProgramDir / "Vesmor.exe", {"/F", "WALK01"});
    const std::string vesmor = readText(folder.data() / "Vesmor.out");
    const auto modelSize = fs::file_size(folder.data() / "WALK01.CFB");
    EXPECT_NE(vesmor.find("WALK01.cfb: found (" + std::to_string(modelSize) + " bytes)"),
              std::string::npos)
        << vesmor;
    EXPECT_NE(vesmor.find("WALK01.rf: force file"), std::string::npos) << vesmor;
}

TEST_F(StandInRun, BatchWrapperRunsTheForceHistoryToolAndBothAreLogged)
{
    const Outcome run = folder.run(ProgramDir / "tymlyn.bat", {"/A/C/T/Z", "WALK01.RF"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const auto log = logLines();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(tabFields(log[0])[1], "tymlyn.bat");
    EXPECT_EQ(tabFields(log[1])[1], "chronel.exe");
    EXPECT_EQ(tabFields(log[0])[3], "/A/C/T/Z WALK01.RF");
    EXPECT_EQ(tabFields(log[1])[3], "/A/C/T/Z WALK01.RF");
    EXPECT_TRUE(fs::exists(folder.data() / "Chronel.out"));
}

TEST_F(StandInRun, UsageAnswersHelpSwitchesAndWritesNothing)
{
    const auto before = dataFiles();
    for (const char* program : {"tabulo.exe", "marquo.exe", "Pictor.exe"}) {
        const Outcome run = folder.run(ProgramDir / program, {"/?", "/Q", "/HELP"});
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_NE(run.out.find("stand-in of the Kinemora suite"), std::string::npos) << run.out;
        EXPECT_NE(run.out.find(suite::findTool(program)->title), std::string::npos) << run.out;
    }
    EXPECT_EQ(dataFiles(), before);
    EXPECT_EQ(logLines().size(), 3u);
}

TEST_F(StandInRun, NamesAreRecognisedWithoutCaseAndUnknownNamesRefused)
{
    const fs::path upper = folder.root() / "SCALERA.EXE";
    const fs::path unknown = folder.root() / "unknown.exe";
    fs::create_symlink(ProgramDir / "kinemora-suite", upper);
    fs::create_symlink(ProgramDir / "kinemora-suite", unknown);

    EXPECT_EQ(folder.run(upper, {"WALK01.DG"}).exitCode, 0);
    EXPECT_TRUE(fs::exists(folder.data() / "Scalera.out"));

    const Outcome run = folder.run(unknown, {"x"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("tabulo.exe"), std::string::npos) << run.out;
    const auto log = logLines();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(tabFields(log[0])[1], "SCALERA.EXE");
    EXPECT_EQ(tabFields(log[1])[1], "unknown.exe");
}

TEST_F(StandInRun, UnwritableStateDirectoryDoesNotStopTheWork)
{
    writeText(folder.root() / "not-a-folder", "x");
    const std::string state = (folder.root() / "not-a-folder" / "state").string();
    const Outcome run = folder.run(ProgramDir / "scalera.exe", {"WALK01.DG"}, state);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.err.find("suite log"), std::string::npos) << run.err;
    EXPECT_TRUE(fs::exists(folder.data() / "Scalera.out"));
}

TEST_F(StandInRun, UnwritableOutputIsAFailure)
{
    fs::create_directory(folder.data() / "Scalera.out"); // a folder where the file should go
    const Outcome run = folder.run(ProgramDir / "scalera.exe", {"WALK01.DG"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("cannot write"), std::string::npos) << run.err;
}

} // namespace
