// rfstats as a whole process: the table a study's script reads.

#include "ConsoleToolTest.h"
#include "RfTestFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace rftest;

namespace
{

constexpr const char* Header =
    "file,title,rate_hz,body_weight_n,records,contact,start_s,end_s,contact_time_s,peak_fz_n,"
    "peak_fz_bw,time_to_peak_s,first_peak_fz_n,impulse_fz_ns,loading_rate_n_per_s,peak_fx_pos_n,"
    "peak_fx_neg_n,peak_fy_pos_n,peak_fy_neg_n,impulse_fx_pos_ns,impulse_fx_neg_ns,"
    "impulse_fy_pos_ns,impulse_fy_neg_ns\n";

// A force file of the given Fz (and Fx) from record 1.
std::string trial(const std::string& title, const std::string& rate, const std::string& weight,
                  const std::vector<std::string>& fz, const std::vector<std::string>& fx = {})
{
    std::vector<std::string> cards = {headerCard(title, rate), headerCard("Subject", weight),
                                      headerCard("Fx Fy Fz Ax Ay Mz", "Ay"), ""};
    for (std::size_t i = 0; i < fz.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        cards.push_back(dataCard({i < fx.size() ? fx[i] : "0", "0", fz[i], "0", "0", "0", "0", n}));
    }
    return joinCards(cards);
}

// At 100 Hz with a weight of 500 N, one contact over records 3..5: 0.02 s from 0.02 s,
// peak 200 N (0.4 BW) 0.01 s in, impulse 2 x 1.5 N s, loading rate 100 N / 0.01 s.
// Fx 10, -10, 0 crosses zero half way: +0.025 N s, then -0.025 - 0.05 N s.
const std::vector<std::string> StepFz = {"0", "0", "100", "200", "100", "0", "0"};
const std::vector<std::string> StepFx = {"0", "0", "10", "-10", "0", "0", "0"};
const std::string StepNumbers = "0.02,0.04,0.02,200,0.4,0.01,200,3,10000,10,-10,0,0,0.025,-0.075,0,0\n";

// The row of a file without numbers: its name, why, and the measures' empty fields.
std::string problem(const std::string& file, const std::string& why)
{
    return file + "," + why + std::string(21, ',') + "\n";
}

// One run and the rows written under the header; a usage error (status 1) writes nothing.
struct Rows {
    const char* what;
    std::vector<std::string> args;
    int exitCode;
    std::string rows;
};

class RfstatsTest : public ConsoleToolTest
{
protected:
    void expectRows(std::initializer_list<Rows> cases)
    {
        for (const Rows& c : cases) {
            SCOPED_TRACE(c.what);
            const ToolOutcome run = runTool("rfstats", c.args);
            EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
            EXPECT_EQ(run.out, c.exitCode == 1 ? std::string() : Header + c.rows);
        }
    }
};

} // namespace

TEST_F(RfstatsTest, RowsOfATable)
{
    file("STEP.RF", trial("STEP one, stance", "100", "500", StepFz, StepFx));
    file("NORATE.RF", trial("NORATE", "", "0", StepFz, StepFx));
    file("FLAT.RF", trial("FLAT", "100", "500", {"0", "5", "19", "5", "0"}));
    file("A,\"B\".RF", trial("QUOTED", "100", "500", StepFz, StepFx));
    file("EMPTY.RF", "");
    file("HEAD.RF", joinCards({headerCard("HEAD", "100")}));
    // Two contacts 0.05 s apart; the second is cut by the end of the trial.
    const std::vector<std::string> twoFz = {"0", "30", "40", "30", "0", "0", "0", "0", "0", "25", "25"};
    file("TWO.RF", trial("TWO", "100", "0", twoFz));

    expectRows({
        {"a stance, the title quoted", {"STEP.RF"}, 0,
         "STEP.RF,\"STEP one, stance\",100,500,7,1," + StepNumbers},
        {"no rate: no time, impulse or rate",
         {"NORATE.RF"}, 0, "NORATE.RF,NORATE,,,7,1,,,,200,,,200,,,10,-10,0,0,,,,\n"},
        {"no contact", {"FLAT.RF"}, 0, "FLAT.RF,FLAT,100,500,5,0" + std::string(17, ',') + "\n"},
        {"a lower threshold finds one", {"--threshold", "4", "FLAT.RF"}, 0,
         "FLAT.RF,FLAT,100,500,5,1,0.01,0.03,0.02,19,0.038,0.01,19,0.24,1400,0,0,0,0,0,0,0,0\n"},
        {"the name quoted as given", {"A,\"B\".RF"}, 0,
         "\"A,\"\"B\"\".RF\",QUOTED,100,500,7,1," + StepNumbers},
        {"unreadable files say why and the run goes on",
         {"MISSING.RF", "EMPTY.RF", "HEAD.RF", "STEP.RF"}, 2,
         problem("MISSING.RF", "File not found") + problem("EMPTY.RF", "Data file was empty.") +
             problem("HEAD.RF", "Data file contains no data or was in wrong format.") + "STEP.RF,\"STEP one, stance\",100,500,7,1," + StepNumbers},
        {"the first contact only", {"TWO.RF"}, 0,
         "TWO.RF,TWO,100,,11,1,0.01,0.03,0.02,40,,0.01,40,0.7,1000,0,0,0,0,0,0,0,0\n"},
        {"every contact; a cut one has no contact time or loading rate",
         {"--all-contacts", "TWO.RF"}, 0,
         "TWO.RF,TWO,100,,11,1,0.01,0.03,0.02,40,,0.01,40,0.7,1000,0,0,0,0,0,0,0,0\n"
         "TWO.RF,TWO,100,,11,2,0.09,0.1,,25,,0,25,0.25,,0,0,0,0,0,0,0,0\n"},
        {"options after a name, in the = form: 30 N leaves the second out",
         {"TWO.RF", "--all-contacts", "--threshold=30"}, 0,
         "TWO.RF,TWO,100,,11,1,0.01,0.03,0.02,40,,0.01,40,0.7,1000,0,0,0,0,0,0,0,0\n"},
        {"--all-contacts takes no number", {"--all-contacts=1", "TWO.RF"}, 1, ""},
    });
}

TEST_F(RfstatsTest, UsageIsRefusedWithStatusOne)
{
    file("STEP.RF", trial("STEP", "100", "500", StepFz));
    struct Case {
        std::vector<std::string> args;
        std::string said;
    } cases[] = {
        {{}, "no force file given"},
        {{"--threshold", "0", "STEP.RF"}, "the threshold must be a number above 0 N"},
        {{"--threshold", "-20", "STEP.RF"}, "the threshold must be a number above 0 N"},
        {{"--threshold", "2O", "STEP.RF"}, "not a number"},
        {{"--threshold", "nan", "STEP.RF"}, "the threshold must be a number above 0 N"},
        {{"STEP.RF", "--threshold"}, "--threshold needs a number"},
        {{"--lowpass", "0", "STEP.RF"}, "the cut-off must be a number above 0 Hz"},
        {{"--lowpass", "-30", "STEP.RF"}, "the cut-off must be a number above 0 Hz"},
        {{"--lowpass", "30Hz", "STEP.RF"}, "not a number"},
        {{"--lowpass", "", "STEP.RF"}, "not a number"},
        {{"--lowpass", "inf", "STEP.RF"}, "the cut-off must be a number above 0 Hz"},
        {{"--low-pass", "30", "STEP.RF"}, "unknown option --low-pass"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.said);
        const ToolOutcome run = runTool("rfstats", c.args);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("rfstats: "), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("usage: rfstats"), std::string::npos) << run.err;
    }
}

TEST_F(RfstatsTest, HelpNamesTheFilter)
{
    const ToolOutcome run = runTool("rfstats", {"--help"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "");
    for (const char* said : {"usage: rfstats [--threshold N] [--all-contacts] [--lowpass HZ] FILE...",
                             "zero-lag, second-order Butterworth low-pass filter at HZ Hz",
                             "\"low-pass HZ Hz, zero lag, 2nd order Butterworth\"", "default 20",
                             "0 every file read; 1 usage or write error"})
        EXPECT_NE(run.out.find(said), std::string::npos) << said;
}

TEST_F(RfstatsTest, LowPassRowsAndRefusals)
{
    // 12 records at 100 Hz, flat at 300 N, where the filter cannot apply.
    const std::vector<std::string> flat(12, "300");
    file("NORATE.RF", trial("NORATE", "", "600", flat));
    file("SHORT.RF", trial("SHORT", "100", "600", std::vector<std::string>(9, "300")));
    file("SLOW.RF", trial("SLOW", "50", "600", flat));
    file("EMPTY.RF", "");
    // An arch of 12 records at 100 Hz; the numbers filtered at 30 Hz are those of
    // bench/rfstats_pandas.py, which filters with scipy.signal.filtfilt.
    file("ARCH.RF", trial("ARCH", "100", "600",
                          {"0", "0", "100", "250", "400", "500", "450", "300", "150", "50", "0", "0"},
                          {"0", "0", "10", "-20", "30", "-40", "50", "-60", "70", "-80", "0", "0"}));
    const std::string arch30 = "ARCH.RF,ARCH,100,600,12,1,0.02,0.09,0.07,492.449,0.820749,0.03,"
                               "492.449,21.2259,13208.5,4.49432,-24.2733,0,0,0.0465361,-0.136319,0,0\n";
    expectRows({
        {"raw", {"ARCH.RF"}, 0,
         "ARCH.RF,ARCH,100,600,12,1,0.02,0.09,0.07,500,0.833333,0.03,500,21.25,13333.3,70,-80,0,0,"
         "0.775273,-0.825273,0,0\n"},
        {"filtered at 30 Hz", {"--lowpass", "30", "ARCH.RF"}, 0, arch30},
        {"files the filter cannot apply to",
         {"--lowpass=30", "NORATE.RF", "SHORT.RF", "SLOW.RF", "EMPTY.RF", "ARCH.RF"}, 2,
         problem("NORATE.RF", "the file has no sampling rate") +
             problem("SHORT.RF", "the file has fewer than 10 records") +
             problem("SLOW.RF", "the cut-off must be below half the sampling rate (25 Hz)") +
             problem("EMPTY.RF", "Data file was empty.") + arch30},
        {"at half the rate", {"--lowpass", "50", "ARCH.RF"}, 2,
         problem("ARCH.RF", "the cut-off must be below half the sampling rate (50 Hz)")},
        {"without the filter the same files have numbers", {"NORATE.RF", "SHORT.RF"}, 0,
         "NORATE.RF,NORATE,,600,12,1,,,,300,0.5,,300,,,0,0,0,0,,,,\n"
         "SHORT.RF,SHORT,100,600,9,1,0,0.08,,300,0.5,0,300,24,,0,0,0,0,0,0,0,0\n"},
    });
}

TEST_F(RfstatsTest, AFailedWriteIsSaidAndEndsWithStatusOne)
{
    file("STEP.RF", trial("STEP", "100", "500", StepFz));
    const ToolOutcome full = runTool("rfstats", {"STEP.RF", "STEP.RF"}, "/dev/full");
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_NE(full.err.find("rfstats: cannot write the CSV: No space left on device"),
              std::string::npos)
        << full.err;
}
