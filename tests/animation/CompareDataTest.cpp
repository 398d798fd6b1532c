// The compare window's arithmetic against numbers worked out by hand: the resampling to
// 0-100 %, the mean and sample SD, the group rows and the CSV texts, the filter of names
// and the remembered choice.

#include "animation/compare/CompareData.h"
#include "SampleTrial.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>

using namespace compare;

namespace
{
std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}
} // namespace

TEST(CompareData, NormalisationInterpolatesBetweenRecords)
{
    struct Row {
        std::vector<double> values;
        int points;
        std::vector<std::pair<int, double>> expected; // point -> value
    };
    const Row rows[] = {
        {{0, 10}, 101, {{0, 0}, {1, 0.1}, {37, 3.7}, {100, 10}}},
        {{0, 10, 40}, 101, {{25, 5}, {50, 10}, {75, 25}, {100, 40}}},
        {{1, 3, 2, 0}, 5, {{0, 1}, {1, 2.5}, {2, 2.5}, {3, 1.5}, {4, 0}}},
        {{7}, 101, {{0, 7}, {50, 7}, {100, 7}}},
    };
    for (const Row& r : rows) {
        const std::vector<double> out = normalised(r.values, r.points);
        ASSERT_EQ(out.size(), std::size_t(r.points));
        for (const auto& [point, value] : r.expected)
            EXPECT_NEAR(out[std::size_t(point)], value, 1e-12) << "point " << point;
    }
    EXPECT_TRUE(normalised(std::vector<double>{}).empty());
}

TEST(CompareData, MeanAndSampleSdOfCurvesAndNumbers)
{
    const std::vector<double> a{1, 2}, b{3, 6}, c{5, 10};
    const Spread three = spread({a, b, c});
    EXPECT_EQ(three.mean, (std::vector<double>{3, 6}));
    ASSERT_EQ(three.sd.size(), 2u);
    EXPECT_NEAR(three.sd[0], 2, 1e-12); // (4 + 0 + 4) / (3 - 1), not / 3
    EXPECT_NEAR(three.sd[1], 4, 1e-12);
    const Spread one = spread({a});
    EXPECT_EQ(one.mean, a);
    EXPECT_TRUE(one.sd.empty());

    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Row {
        std::vector<std::optional<double>> values;
        std::optional<double> mean, sd;
    };
    const Row rows[] = {
        {{2.0, std::nullopt, 4.0, nan}, 3.0, std::sqrt(2.0)},
        {{5.0}, 5.0, std::nullopt},
        {{std::nullopt}, std::nullopt, std::nullopt},
        {{1.0, 2.0, 3.0, 4.0}, 2.5, std::sqrt(5.0 / 3.0)},
    };
    for (const Row& r : rows) {
        const std::optional<double> mean = meanOf(r.values), sd = sdOf(r.values);
        EXPECT_EQ(mean.has_value(), r.mean.has_value());
        EXPECT_EQ(sd.has_value(), r.sd.has_value());
        EXPECT_NEAR(mean.value_or(0), r.mean.value_or(0), 1e-12);
        EXPECT_NEAR(sd.value_or(0), r.sd.value_or(0), 1e-12);
    }
}

TEST(CompareData, CurvesOfAContactInTheLoadedDirectionAndInBodyWeights)
{
    ForceTable t;
    fillStance(t, 20, 2);
    t.Fz[5] = -1400;
    t.Mz[6] = 2.5f;
    const std::vector<double> fz = channelValues(t, Channel::Fz, -1, 5, 6);
    EXPECT_EQ(fz, (std::vector<double>{1400, -t.Fz[6]}));
    EXPECT_EQ(channelValues(t, Channel::Mz, 1, 6, 6), (std::vector<double>{2.5}));
    EXPECT_EQ(channelValues(t, Channel::Fx, 1, -3, 0).size(), 0u);
    EXPECT_EQ(channelValues(t, Channel::Fx, 1, 19, 40).size(), 2u); // 19..20
    EXPECT_EQ(*inBodyWeights(std::vector<double>{1400, 350}, 700), (std::vector<double>{2, 0.5}));
    EXPECT_FALSE(inBodyWeights(std::vector<double>{1400}, 0));
    EXPECT_FALSE(inBodyWeights(std::vector<double>{1400}, -5));
}

TEST(CompareData, GroupRowsAreTheMeanAndSdOfEachMeasureColumn)
{
    // Each measure column holds its own number (1 to 17 from start_s on), plus d.
    const auto measures = [](double d) {
        forcedata::ContactMeasures m;
        m.start = 1 + d, m.end = 2 + d, m.contactTime = 3 + d, m.peakFz = 4 + d;
        m.peakFzBw = 5 + d, m.timeToPeak = 6 + d, m.firstPeakFz = 7 + d, m.impulseFz = 8 + d;
        m.loadingRate = 9 + d, m.peakFxPos = 10 + d, m.peakFxNeg = 11 + d, m.peakFyPos = 12 + d;
        m.peakFyNeg = 13 + d, m.impulseFxPos = 14 + d, m.impulseFxNeg = 15 + d;
        m.impulseFyPos = 16 + d, m.impulseFyNeg = 17 + d;
        return m;
    };
    const forcedata::ContactMeasures m1 = measures(0);
    forcedata::ContactMeasures m2 = measures(2);
    m2.peakFzBw = std::nullopt; // no body weight: the mean is the other trial's, no SD

    EXPECT_EQ(groupCsvRows(Group::B, {&m1, &m2}),
              "B mean,,,,,,2,3,4,5,5,7,8,9,10,11,12,13,14,15,16,17,18\n"
              "B SD,,,,,,1.41421,1.41421,1.41421,1.41421,,1.41421,1.41421,1.41421,1.41421,"
              "1.41421,1.41421,1.41421,1.41421,1.41421,1.41421,1.41421,1.41421\n");
    EXPECT_EQ(groupCsvRows(Group::A, {&m1}),
              "A mean,,,,,,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17\n"
              "A SD,,,,,,,,,,,,,,,,,,,,,,\n");
    // The columns line up with the header whatever the order of the measures.
    const std::vector<std::string> header = splitCsvLine(forcedata::csvHeader());
    EXPECT_EQ(header[FirstMeasureColumn], "start_s");
    EXPECT_EQ(header[FirstMeasureColumn + MeasureColumns - 1], "impulse_fy_neg_ns");
}

TEST(CompareData, CsvLinesSplitAsCsvQuotes)
{
    const std::pair<std::string, std::vector<std::string>> rows[] = {
        {"a,b,,c", {"a", "b", "", "c"}},
        {"\"x, y\",\"say \"\"hi\"\"\",3", {"x, y", "say \"hi\"", "3"}},
        {"", {""}},
        {"\"\"", {""}},
    };
    for (const auto& [line, fields] : rows)
        EXPECT_EQ(splitCsvLine(line), fields) << line;
}

TEST(CompareData, CurvesCsvHasTheCommentsHeaderAnd101Lines)
{
    std::vector<double> ramp(101), half(101, 0.5);
    for (int i = 0; i <= 100; ++i)
        ramp[std::size_t(i)] = i * 10.0;
    const std::string plain =
        curvesCsv("Fz (N)", std::nullopt, {{"WALK01.RF", ramp}, {"A, mean", half}});
    const std::vector<std::string> l = lines(plain);
    ASSERT_EQ(l.size(), 103u);
    EXPECT_EQ(l[0], "# Fz (N) over the first contact, 0-100 % of stance in 101 points");
    EXPECT_EQ(l[1], "percent,WALK01.RF,\"A, mean\"");
    EXPECT_EQ(l[2], "0,0,0.5");
    EXPECT_EQ(l[52], "50,500,0.5");
    EXPECT_EQ(l[102], "100,1000,0.5");
    const std::vector<std::string> filtered = lines(curvesCsv("Fz (N)", 30.0, {{"W", ramp}}));
    ASSERT_EQ(filtered.size(), 104u);
    EXPECT_EQ(filtered[1], "# low-pass: 30 Hz, zero-lag 2nd-order Butterworth");
    EXPECT_EQ(filtered[2], "percent,W");
    // A column shorter than the points leaves its fields empty rather than reading past it.
    EXPECT_EQ(lines(curvesCsv("Fz (N)", std::nullopt, {{"S", {1.5}}}))[3], "1,");
}

TEST(CompareData, NamesFilterLikeAFileListPattern)
{
    struct Row {
        const char* name;
        const char* filter;
        bool matches;
    };
    const Row rows[] = {
        {"WALK01.RF", "WALK*", true}, {"walk01.rf", "WALK*", true},   {"RUN01.RF", "WALK*", false},
        {"WALK01.RF", "", true},      {"WALK01.RF", "   ", true},     {"WALK01.RF", "*01.?F", true},
        {"WALK01.RF", "WALK", false}, {"WALK01.RF", " walk* ", true}, {"aXbXc", "a*b*c", true},
        {"ab", "a*b*c", false},       {"WALK01.RF", "*RUN*", false},  {"x", "?", true},
    };
    for (const Row& r : rows)
        EXPECT_EQ(nameMatches(r.name, r.filter), r.matches) << r.name << " / " << r.filter;
    const std::pair<const char*, bool> names[] = {
        {"WALK01.RF", true}, {"x.rf2", true},  {"x.RRF", true}, {"y.orf", true},
        {"x.txt", false},    {"x.c3d", false}, {"rf", false}};
    for (const auto& [name, force] : names)
        EXPECT_EQ(isForceFileName(name), force) << name;
}

TEST(CompareData, TheChoiceIsOneLineTheSettingsFileKeeps)
{
    const std::vector<Choice> choices{{"WALK 1;x.RF", true, Group::A},
                                      {"/other/b:c.rf", false, Group::None},
                                      {"\"q\".rf", true, Group::B}};
    const std::string text = choiceText(choices);
    EXPECT_EQ(text, "xA:WALK%201%3Bx.RF;-N:/other/b%3Ac.rf;xB:%22q%22.rf");
    EXPECT_EQ(choiceFromText(text), choices);
    // What cannot be read is left out, the rest kept.
    EXPECT_EQ(choiceFromText("zz;xQ:a;xA:%G1;xA:%4;-B:ok;;xN:"),
              (std::vector<Choice>{{"ok", false, Group::B}}));
    EXPECT_EQ(choiceKey("/a/B"), "dir.2f612f42");
}
