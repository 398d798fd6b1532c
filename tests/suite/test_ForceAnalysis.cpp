// Tabulo's force analysis on trials whose peaks, impulses and contact times are known
// in closed form, and its report on files it cannot analyse.

#include "SuiteTestSupport.h"
#include "core/ForceTable.h"
#include "suite/Cards.h"
#include "suite/ForceAnalysis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

using namespace suitetest;

namespace
{

constexpr double Pi = std::numbers::pi;

// One foot contact: Fz a half sine of height `peak`; Fx one full sine of height 30;
// Fy sin^2 of height 100; the centre of pressure moving in a straight line from
// (-10, 4) to (10, 8) cm; Mz one full sine of height 2. Nothing outside contacts.
struct Contact {
    double start = 0.2, length = 0.5, peak = 1400;
};

std::vector<suite::Record> closedFormRecords(double rate, int count,
                                             const std::vector<Contact>& contacts)
{
    std::vector<suite::Record> records(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const double t = i / rate;
        for (const Contact& c : contacts) {
            const double u = (t - c.start) / c.length;
            if (u < 0 || u > 1)
                continue;
            suite::Record& r = records[static_cast<std::size_t>(i)];
            r.fz = c.peak * std::sin(Pi * u);
            r.fx = 30 * std::sin(2 * Pi * u);
            r.fy = 100 * std::pow(std::sin(Pi * u), 2);
            r.ax = -10 + 20 * u;
            r.ay = 4 + 4 * u;
            r.mz = 2 * std::sin(2 * Pi * u);
        }
    }
    return records;
}

std::unique_ptr<ForceTable> tableOf(const std::vector<suite::Record>& records, double rate,
                                    float bodyWeight)
{
    auto table = std::make_unique<ForceTable>();
    table->SamplingRate = rate > 0 ? std::to_string(static_cast<int>(rate)) : "";
    table->BodyWeight = bodyWeight;
    table->TrialTitle = "closed form";
    table->RecordCount = static_cast<int16_t>(records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        const suite::Record& r = records[i];
        table->Fx[i + 1] = r.fx;
        table->Fy[i + 1] = r.fy;
        table->Fz[i + 1] = r.fz;
        table->Ax[i + 1] = r.ax;
        table->Ay[i + 1] = r.ay;
        table->Mz[i + 1] = static_cast<float>(r.mz);
        table->RecordNo[i + 1] = static_cast<int16_t>(i + 1);
    }
    return table;
}

// Time from a contact's start until its half sine passes the threshold.
double riseTime(const Contact& c)
{
    return c.length / Pi * std::asin(suite::ContactThresholdN / c.peak);
}

TEST(ForceAnalysis, OneContactMatchesTheClosedForm)
{
    const double rate = 1000;
    const Contact c;
    const auto table = tableOf(closedFormRecords(rate, 1000, {c}), rate, 700);
    const suite::ForceSummary s = suite::summarizeForces(*table);

    EXPECT_EQ(s.records, 1000);
    EXPECT_DOUBLE_EQ(s.durationS, 1.0);
    const struct {
        const char* name;
        const suite::Extreme& actual;
        double value, time;
        int record;
    } extremes[] = {
        {"Fz peak", s.fz.peak, 1400, 0.45, 451}, {"Fz minimum", s.fz.minimum, 0, 0, 1},
        {"Fx peak", s.fx.peak, 30, 0.325, 326},  {"Fx minimum", s.fx.minimum, -30, 0.575, 576},
        {"Fy peak", s.fy.peak, 100, 0.45, 451},
    };
    for (const auto& e : extremes) {
        EXPECT_NEAR(e.actual.value, e.value, 1e-9) << e.name;
        EXPECT_NEAR(e.actual.time, e.time, 1e-12) << e.name;
        EXPECT_EQ(e.actual.record, e.record) << e.name;
    }
    // Trapezoids over 500 intervals of a smooth pulse: within a thousandth of a N s.
    EXPECT_NEAR(s.fz.impulse, 2 * c.peak * c.length / Pi, 2e-3);
    EXPECT_NEAR(s.fy.impulse, 100 * c.length / 2, 1e-3);
    EXPECT_NEAR(s.fx.impulse, 0, 1e-9);

    ASSERT_EQ(s.contacts.size(), 1u);
    EXPECT_NEAR(s.contacts[0].start, c.start + riseTime(c), 2e-6);
    EXPECT_NEAR(s.contacts[0].end, c.start + c.length - riseTime(c), 2e-6);
    EXPECT_NEAR(s.contactTime, c.length - 2 * riseTime(c), 4e-6);

    // The centre of pressure over the samples in contact: the first and last lie on the
    // sample grid just inside the crossings.
    const double samples = c.length * rate;
    const double uFirst = std::ceil(riseTime(c) * rate) / samples;
    const double uLast = 1 - uFirst;
    EXPECT_NEAR(s.axMin, -10 + 20 * uFirst, 1e-9);
    EXPECT_NEAR(s.axMax, -10 + 20 * uLast, 1e-9);
    EXPECT_NEAR(s.ayMin, 4 + 4 * uFirst, 1e-9);
    EXPECT_NEAR(s.copPath, std::hypot(20.0, 4.0) * (uLast - uFirst), 1e-9);
    EXPECT_NEAR(s.mzMin, -2, 1e-6);
    EXPECT_NEAR(s.mzMax, 2, 1e-6);
}

TEST(ForceAnalysis, ContactPhasesAndFlights)
{
    const double rate = 1000, dt = 1 / rate;
    const Contact first{0.1, 0.5, 1400}, second{1.1, 0.3, 2000};
    const struct {
        const char* name;
        std::vector<suite::Record> records;
        std::vector<suite::Interval> expected;
    } cases[] = {
        {"two contacts",
         closedFormRecords(rate, 1600, {first, second}),
         {{first.start + riseTime(first), first.start + first.length - riseTime(first)},
          {second.start + riseTime(second), second.start + second.length - riseTime(second)}}},
        {"no contact", closedFormRecords(rate, 100, {}), {}},
        // Loaded from the first record and to the last: the phase runs to the ends.
        {"standing throughout",
         std::vector<suite::Record>(50, suite::Record{0, 0, 500}),
         {{0, 49 * dt}}},
    };
    for (const auto& c : cases) {
        const auto table = tableOf(c.records, rate, 700);
        const auto s = suite::summarizeForces(*table);
        ASSERT_EQ(s.contacts.size(), c.expected.size()) << c.name;
        double total = 0;
        for (std::size_t i = 0; i < c.expected.size(); ++i) {
            EXPECT_NEAR(s.contacts[i].start, c.expected[i].start, 2e-6) << c.name << i;
            EXPECT_NEAR(s.contacts[i].end, c.expected[i].end, 2e-6) << c.name << i;
            total += c.expected[i].length();
        }
        EXPECT_NEAR(s.contactTime, total, 4e-6) << c.name;
    }

    // A step from 500 N to nothing ends where the straight line between the samples
    // crosses 20 N.
    std::vector<suite::Record> step(10, suite::Record{0, 0, 500});
    step.resize(20);
    const auto s = suite::summarizeForces(*tableOf(step, rate, 700));
    ASSERT_EQ(s.contacts.size(), 1u);
    EXPECT_NEAR(s.contacts[0].end, 9 * dt + dt * 480 / 500, 1e-12);
}

TEST(ForceAnalysis, CentreOfPressureOfAnUnloadedPlateIsLeftOut)
{
    auto records = closedFormRecords(1000, 800, {Contact{}});
    for (suite::Record& r : records)
        if (r.fz <= suite::ContactThresholdN)
            r.ax = r.ay = 50; // what an unloaded plate reports is noise
    const auto s = suite::summarizeForces(*tableOf(records, 1000, 700));
    EXPECT_LT(s.axMax, 10);
    EXPECT_GT(s.ayMin, 4);
    EXPECT_LT(s.copPath, 21);
}

TEST(ForceAnalysis, ReportWithoutRateOrBodyWeightSaysSo)
{
    const auto records = closedFormRecords(1000, 1000, {Contact{}});
    const struct {
        double rate;
        float bodyWeight;
        std::vector<std::string> expected;
    } cases[] = {
        {1000,
         700,
         {"Sampling rate:       1000 Hz", "Body weight:         700 N",
          "Duration:            1.0000 s",
          "Fz         1400.00   0.4500    2.00       0.00   0.0000    0.00       "
          "445.632",
          "  Contact time:      0.4955 s", "  Mz range:          -2.000 to 2.000"}},
        {0,
         700,
         {"Sampling rate:       none given", "record numbers (#)",
          "Fz         1400.00     #451    2.00       0.00       #1    0.00             -",
          "  Not computed without a sampling rate."}},
        {1000,
         0,
         {"Body weight:         none given",
          "Fz         1400.00   0.4500       -       0.00   0.0000       -       "
          "445.632"}},
    };
    for (const auto& c : cases) {
        const auto table = tableOf(records, c.rate, c.bodyWeight);
        const std::string report = suite::forceReport(*table, suite::summarizeForces(*table));
        for (const std::string& line : c.expected)
            EXPECT_NE(report.find(line), std::string::npos) << line << "\n" << report;
    }
}

// ---------------------------------------------------------------------------
// Tabulo as a process

std::string cardFile(const std::vector<suite::Record>& records, double rate, double bodyWeight)
{
    std::string text = suite::titleCard("Closed-form stance", rate) +
                       suite::subjectCard("Test subject", bodyWeight) +
                       suite::headerCard({"Fx", "Fy", "Fz", "Ax", "Ay", "Mz", "Az", "Record"}) +
                       std::string(suite::CardEnd);
    for (std::size_t i = 0; i < records.size(); ++i)
        text += suite::dataCard(records[i], static_cast<int>(i + 1));
    return text;
}

// The numbers after `label` on the report's line that starts with it (units and other
// words left out).
std::vector<double> numbersAfter(const std::string& report, const std::string& label)
{
    std::vector<double> numbers;
    for (const std::string& line : lines(report)) {
        if (line.rfind(label, 0) != 0)
            continue;
        std::istringstream in(line.substr(label.size()));
        for (std::string word; in >> word;) {
            char* end = nullptr;
            const double number = std::strtod(word.c_str(), &end);
            if (end != word.c_str() && *end == '\0')
                numbers.push_back(number);
        }
        break;
    }
    return numbers;
}

TEST(Tabulo, AnalysesTheNamedForceFile)
{
    SuiteFolder folder;
    const Contact c;
    writeText(folder.data() / "stance.rf", cardFile(closedFormRecords(1000, 1000, {c}), 1000, 700));
    // Orvane hands over the upper-case short name.
    const Outcome run = folder.run(ProgramDir / "tabulo.exe", {"/F/I", "STANCE.RF"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const std::string report = readText(folder.data() / "Tabulo.out");

    const auto fz = numbersAfter(report, "Fz ");
    ASSERT_EQ(fz.size(), 7u) << report;
    EXPECT_DOUBLE_EQ(fz[0], 1400);
    EXPECT_DOUBLE_EQ(fz[1], 0.45);
    EXPECT_DOUBLE_EQ(fz[2], 2.0);
    EXPECT_NEAR(fz[6], 2 * c.peak * c.length / Pi, 2e-3);
    const auto fy = numbersAfter(report, "Fy ");
    ASSERT_EQ(fy.size(), 7u);
    EXPECT_NEAR(fy[6], 25, 2e-3);
    const auto contact = numbersAfter(report, "  Contact time:");
    ASSERT_EQ(contact.size(), 1u);
    EXPECT_NEAR(contact[0], c.length - 2 * riseTime(c), 1e-4);
    EXPECT_NE(report.find("Title:               Closed-form stance\n"), std::string::npos);
    EXPECT_NE(report.find("Records:             1000\n"), std::string::npos);
}

TEST(Tabulo, FilesItCannotAnalyseGiveAnHonestReportAndAFailingStatus)
{
    std::string noise(20000, '\0');
    for (std::size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<char>((i * 2654435761u) >> 13);
    std::string tooMany = cardFile(closedFormRecords(1000, 5001, {Contact{}}), 1000, 700);

    const struct {
        const char* name;
        std::vector<std::string> args;
        std::string content; // written to the named file unless "-"
        int exitCode;
        std::string reportSays;
    } cases[] = {
        {"no file", {"/F/I"}, "-", 1, "no force file was named"},
        {"missing", {"/F/I", "NONE.RF"}, "-", 2, "File not found (53)"},
        {"folder", {"/F/I", "FOLDER.RF"}, "-", 2, "cannot be opened"},
        {"empty", {"/F/I", "EMPTY.RF"}, "", 3, "Error: Data file was empty."},
        {"header only",
         {"/F/I", "HEAD.RF"},
         "Title\r\nSubject\r\n\r\n",
         4,
         "Error: Data file contains no data or was in wrong format."},
        {"noise", {"/F/I", "NOISE.RF"}, noise, -2, "Written by the stand-in"},
        {"too many", {"/F/I", "MANY.RF"}, tooMany, 0, "Maximum number of force records exceeded."},
    };
    for (const auto& c : cases) {
        SuiteFolder folder;
        fs::create_directory(folder.data() / "FOLDER.RF");
        if (c.content != "-" && c.args.size() > 1)
            writeText(folder.data() / c.args[1], c.content);
        const Outcome run = folder.run(ProgramDir / "tabulo.exe", c.args);
        if (c.exitCode == -2) {
            EXPECT_TRUE(run.exitCode == 0 || run.exitCode == 3 || run.exitCode == 4) << c.name;
        } else {
            EXPECT_EQ(run.exitCode, c.exitCode) << c.name << run.err;
        }
        const std::string report = readText(folder.data() / "Tabulo.out");
        EXPECT_NE(report.find(c.reportSays), std::string::npos) << c.name << "\n" << report;
        if (c.exitCode > 0) {
            EXPECT_NE(report.find("No analysis was made."), std::string::npos) << c.name;
        }
    }
}

} // namespace
