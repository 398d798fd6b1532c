// The sample data directory: made again by its generator byte for byte, and trials
// that look like what they claim to be when read by Orvane's reader.

#include "SuiteTestSupport.h"
#include "core/ForceTable.h"
#include "forcedata/RfReader.h"
#include "suite/ForceAnalysis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>

using namespace suitetest;

namespace
{

std::unique_ptr<ForceTable> readSample(const std::string& name)
{
    FileByteSource file;
    EXPECT_EQ(file.open((SampleSources / name).string()), 0) << name;
    auto table = std::make_unique<ForceTable>();
    EXPECT_EQ(readRf(file, *table), RfReadResult::Records) << name;
    return table;
}

std::set<std::string> fileNames(const fs::path& dir)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.path().filename().string().front() != '.')
            names.insert(entry.path().filename().string());
    return names;
}

TEST(Samples, GeneratorMakesTheKeptFilesByteForByte)
{
    SuiteFolder folder;
    QProcess generator;
    generator.start(SAMPLEGEN, {QString::fromStdString(folder.data().string())});
    ASSERT_TRUE(generator.waitForFinished(60000));
    ASSERT_EQ(generator.exitCode(), 0) << generator.readAllStandardError().toStdString();

    const auto made = fileNames(folder.data());
    EXPECT_EQ(made, fileNames(SampleSources));
    for (const std::string& name : made)
        EXPECT_TRUE(readText(folder.data() / name) == readText(SampleSources / name))
            << name << " differs from the kept sample: run the orvane_regenerate_samples target";
}

TEST(Samples, EveryLineEndsInCrLfAndCompanionFilesSaySampleContent)
{
    for (const std::string& name : fileNames(SampleSources)) {
        const std::string text = readText(SampleSources / name);
        ASSERT_FALSE(text.empty()) << name;
        EXPECT_EQ(text.substr(text.size() - 2), "\r\n") << name;
        for (std::size_t i = text.find('\n'); i != std::string::npos; i = text.find('\n', i + 1))
            ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << name << " at byte " << i;
        if (fs::path(name).extension() != ".RF") {
            EXPECT_EQ(text.rfind("SAMPLE CONTENT", 0), 0u) << name;
        }
    }
    for (const char* name : {"WALK01.DG", "WALK01.CN", "WALK01.KM", "WALK01.CFB", "WALK01.2T"})
        EXPECT_TRUE(fs::exists(SampleSources / name)) << name;
}

TEST(Samples, WalkingStanceHasTwoHumpsBrakingThenPropulsionAndHeelToToe)
{
    const auto t = readSample("WALK01.RF");
    EXPECT_GE(t->samplingRateHz(), 500);
    EXPECT_EQ(t->extraColumnName(), "Az");
    const auto s = suite::summarizeForces(*t);
    const double bw = t->BodyWeight;
    EXPECT_NEAR(s.fz.peak.value / bw, 1.2, 0.05);
    ASSERT_EQ(s.contacts.size(), 1u);

    // Two maxima near 1.2 body weights with a valley well below them in between.
    const int n = t->RecordCount;
    const auto fz = [&](int i) { return t->Fz[static_cast<std::size_t>(i)]; };
    const int mid = (s.contacts[0].start + s.contacts[0].end) / 2 * s.rateHz + 1;
    double first = 0, second = 0, valley = 1e9;
    for (int i = 1; i <= n; ++i)
        (i < mid ? first : second) = std::max(i < mid ? first : second, fz(i));
    for (int i = mid - n / 10; i <= mid + n / 10; ++i)
        valley = std::min(valley, fz(i));
    EXPECT_GT(first / bw, 1.1);
    EXPECT_GT(second / bw, 1.1);
    EXPECT_LT(valley / bw, 0.85);

    EXPECT_LT(s.fy.minimum.time, s.fy.peak.time) << "braking comes before propulsion";
    EXPECT_LT(s.fy.minimum.value / bw, -0.1);
    EXPECT_GT(s.fy.peak.value / bw, 0.1);
    EXPECT_GT(s.ayMax - s.ayMin, 15) << "the centre of pressure travels heel to toe";
    int firstLoaded = 1, lastLoaded = n;
    while (fz(firstLoaded) <= 100)
        ++firstLoaded;
    while (fz(lastLoaded) <= 100)
        --lastLoaded;
    EXPECT_LT(t->Ay[static_cast<std::size_t>(firstLoaded)] + 15,
              t->Ay[static_cast<std::size_t>(lastLoaded)]);
}

TEST(Samples, JumpHasAFlightWithNothingOnThePlate)
{
    const auto t = readSample("JUMP01.RF");
    EXPECT_EQ(t->samplingRateHz(), 1000);
    EXPECT_NEAR(t->RecordCount, 3000, 100);
    int longestZeroRun = 0;
    for (int i = 1, run = 0; i <= t->RecordCount; ++i) {
        run = t->Fz[static_cast<std::size_t>(i)] == 0 ? run + 1 : 0;
        longestZeroRun = std::max(longestZeroRun, run);
    }
    EXPECT_GT(longestZeroRun, 300);
    const auto s = suite::summarizeForces(*t);
    ASSERT_EQ(s.contacts.size(), 2u);
    const double flight = s.contacts[1].start - s.contacts[0].end;
    EXPECT_NEAR(flight, 0.5, 0.01);
    // The take-off impulse above body weight gives the speed that the flight time needs.
    const double mass = t->BodyWeight / 9.81;
    double impulse = 0;
    const int takeOff = static_cast<int>(s.contacts[0].end * s.rateHz) + 1;
    for (int i = 2; i <= takeOff; ++i)
        impulse += (t->Fz[static_cast<std::size_t>(i - 1)] + t->Fz[static_cast<std::size_t>(i)]) /
                       2 / s.rateHz -
                   t->BodyWeight / s.rateHz;
    EXPECT_NEAR(impulse / mass, 9.81 * flight / 2, 0.1);
}

TEST(Samples, QuietStandingSwaysAFewMillimetres)
{
    const auto t = readSample("STAND01.RF");
    EXPECT_EQ(t->samplingRateHz(), 100);
    const auto s = suite::summarizeForces(*t);
    EXPECT_EQ(s.copRecords, t->RecordCount);
    for (double range : {s.axMax - s.axMin, s.ayMax - s.ayMin}) {
        EXPECT_GT(range, 0.3);
        EXPECT_LT(range, 5.0);
    }
    EXPECT_NEAR(s.fz.peak.value / t->BodyWeight, 1.0, 0.05);
    EXPECT_NEAR(s.fz.minimum.value / t->BodyWeight, 1.0, 0.05);
}

} // namespace
