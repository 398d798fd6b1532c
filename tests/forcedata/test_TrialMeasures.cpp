#include "forcedata/TrialMeasures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <numbers>

using namespace forcedata;

namespace
{

// A table with Fz (and optionally Fx, Fy) as given from record 1.
std::unique_ptr<ForceTable> table(const std::vector<double>& fz, std::string rate, float weight = 0,
                                  const std::vector<double>& fx = {}, const std::vector<double>& fy = {})
{
    auto t = std::make_unique<ForceTable>();
    t->SamplingRate = std::move(rate);
    t->BodyWeight = weight;
    t->RecordCount = int16_t(fz.size());
    for (std::size_t i = 0; i < fz.size(); ++i) {
        t->Fz[i + 1] = fz[i];
        t->Fx[i + 1] = i < fx.size() ? fx[i] : 0;
        t->Fy[i + 1] = i < fy.size() ? fy[i] : 0;
    }
    return t;
}

// Runs of equal values: {{5, 0}, {20, 100}} is five zeros then twenty hundreds.
std::vector<double> runs(std::initializer_list<std::pair<int, double>> parts)
{
    std::vector<double> v;
    for (const auto& [n, value] : parts)
        v.insert(v.end(), std::size_t(n), value);
    return v;
}

std::string commas(int n)
{
    return std::string(std::size_t(n), ',');
}

} // namespace

TEST(Contacts, Rule)
{
    struct Case {
        const char* what;
        std::vector<double> fz;
        std::string rate;
        double threshold;
        int sign;
        std::vector<Contact> expected;
    } cases[] = {
        {"two contacts", {0, 0, 30, 40, 30, 0, 0, 0, 25, 25, 0}, "", 20, 1, {{3, 5}, {9, 10}}},
        {"a one-record dip joins", {0, 30, 40, 10, 40, 30, 0}, "", 20, 1, {{2, 6}}},
        {"a two-record gap splits", {0, 30, 40, 10, 10, 40, 30, 0}, "", 20, 1, {{2, 3}, {6, 7}}},
        {"a one-record spike is noise", {0, 0, 50, 0, 0}, "", 20, 1, {}},
        {"equal to the threshold counts", {0, 20, 20, 19.999, 0}, "", 20, 1, {{2, 3}}},
        {"negative plate", {0, -30, -40, -30, 0, 25, 25, 0}, "", 20, -1, {{2, 4}}},
        {"cut at both edges", {30, 40, 0, 0, 35, 30}, "", 20, 1, {{1, 2, true}, {5, 6, false, true}}},
        {"the whole trial", {30, 30, 30}, "", 20, 1, {{1, 3, true, true}}},
        {"100 Hz: one record is 10 ms", {0, 30, 40, 10, 40, 30, 0}, "100", 20, 1, {{2, 3}, {5, 6}}},
        {"1000 Hz: a 9 ms dip joins", runs({{5, 0}, {20, 100}, {9, 0}, {20, 100}, {5, 0}}), "1000", 20, 1,
         {{6, 54}}},
        {"1000 Hz: a 10 ms gap splits", runs({{5, 0}, {20, 100}, {10, 0}, {20, 100}, {5, 0}}), "1000", 20,
         1, {{6, 25}, {36, 55}}},
        {"1000 Hz: 10 ms of contact counts", runs({{5, 0}, {11, 100}, {5, 0}}), "1000", 20, 1, {{6, 16}}},
        {"1000 Hz: 9 ms of contact is noise", runs({{5, 0}, {10, 100}, {5, 0}}), "1000", 20, 1, {}},
        {"300 Hz: three records are 10 ms", runs({{2, 0}, {5, 100}, {3, 0}, {5, 100}, {2, 0}}), "300", 20,
         1, {{3, 7}, {11, 15}}},
        {"a short run near a contact joins it", runs({{5, 0}, {20, 100}, {4, 0}, {1, 50}, {20, 0}}), "1000",
         20, 1, {{6, 30}}},
        {"nothing reaches the threshold", {0, 10, 19, 10}, "1000", 20, 1, {}},
        {"no records", {}, "1000", 20, 1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Contacts found = findContacts(*table(c.fz, c.rate), c.threshold);
        EXPECT_EQ(found.sign, c.sign);
        EXPECT_EQ(found.list, c.expected);
    }
}

TEST(Contacts, RefusedThresholds)
{
    const auto t = table({0, 30, 40, 30, 0}, "100");
    for (const double threshold : {0.0, -0.0, -20.0, std::numeric_limits<double>::quiet_NaN(),
                                   std::numeric_limits<double>::infinity()}) {
        SCOPED_TRACE(threshold);
        EXPECT_EQ(thresholdProblem(threshold), "the threshold must be a number above 0 N");
        EXPECT_TRUE(findContacts(*t, threshold).list.empty());
    }
    EXPECT_FALSE(thresholdProblem(1e-9));
}

// A half-sine stance of time T and peak P sampled at N = T*rate intervals, with zeros
// around it. The first and last samples of the sine are 0, under the threshold, so the
// contact runs from sample 1 to N-1 of the sine: contact time T - 2 dt. The trapezium
// rule misses the two edge triangles (about pi^2/2 (dt/T)^2 of the area) and
// underestimates the arch by about pi^2/12 (dt/T)^2, so the impulse is 2PT/pi within a
// relative 6 (dt/T)^2.
TEST(TrialMeasures, HalfSineStance)
{
    struct Case {
        double rate, T, P, threshold;
    } cases[] = {{1000, 0.6, 1000, 1}, {500, 0.24, 2500, 20}, {200, 0.8, 700, 5}};
    const int pad = 10;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rate);
        const int n = int(std::lround(c.T * c.rate));
        const double dt = 1 / c.rate;
        std::vector<double> fz(pad, 0.0), fx(pad, 0.0), fy(pad, 0.0);
        for (int k = 0; k <= n; ++k) {
            fz.push_back(c.P * std::sin(std::numbers::pi * k / n));
            fx.push_back(100 * std::sin(2 * std::numbers::pi * k / n)); // forward then back
            fy.push_back(-0.2 * fz.back());
        }
        fz.resize(fz.size() + pad, 0.0);
        const auto t = table(fz, std::to_string(int(c.rate)), 700, fx, fy);
        const auto all = measureContacts(*t, c.threshold);
        ASSERT_EQ(all.size(), 1u);
        const ContactMeasures& m = all[0];
        EXPECT_EQ(m.contact, (Contact{pad + 2, pad + n}));
        EXPECT_NEAR(*m.contactTime, c.T - 2 * dt, 1e-12);
        EXPECT_NEAR(*m.start, (pad + 1) * dt, 1e-12);
        EXPECT_NEAR(*m.end, (pad + n - 1) * dt, 1e-12);
        EXPECT_NEAR(m.peakFz, c.P, 1e-9 * c.P);
        EXPECT_NEAR(*m.peakFzBw, c.P / 700, 1e-9);
        EXPECT_NEAR(*m.timeToPeak, (n / 2 - 1) * dt, 1e-12);
        const double rel = 6 * (dt / c.T) * (dt / c.T);
        const double impulse = 2 * c.P * c.T / std::numbers::pi;
        EXPECT_NEAR(*m.impulseFz, impulse, rel * impulse);
        EXPECT_EQ(m.firstPeak, m.peak);
        const double f1 = c.P * std::sin(std::numbers::pi / n);
        EXPECT_NEAR(*m.loadingRate, (c.P - f1) / ((n / 2 - 1) * dt), 1e-9 * c.P / dt);
        // A full sine of amplitude Q over T: each half has area QT/pi.
        const double half = 100 * c.T / std::numbers::pi;
        EXPECT_NEAR(*m.impulseFxPos, half, 4 * rel * half);
        EXPECT_NEAR(*m.impulseFxNeg, -half, 4 * rel * half);
        EXPECT_NEAR(m.peakFxPos, 100, 1e-9);
        EXPECT_NEAR(m.peakFxNeg, -100, 1e-9);
        EXPECT_EQ(*m.impulseFyPos, 0);
        EXPECT_NEAR(*m.impulseFyNeg, -0.2 * impulse, 0.2 * rel * impulse);
        EXPECT_EQ(m.peakFyPos, 0);
        EXPECT_NEAR(m.peakFyNeg, -0.2 * c.P, 1e-9);
    }
}

// Exact answers from the shapes: the trapezium rule is exact on straight lines, and a
// zero crossing between samples splits the interval's triangle at the crossing.
TEST(TrialMeasures, PiecewiseLinearShapes)
{
    struct Case {
        const char* what;
        std::unique_ptr<ForceTable> t;
        double threshold;
        Contact contact;
        std::optional<double> contactTime, peakFz, timeToPeak, firstPeakFz, impulseFz, loadingRate;
        std::optional<double> impulseFxPos, impulseFxNeg;
    };
    std::vector<double> trapezoid(5, 0.0);
    for (int k = 0; k <= 50; ++k)
        trapezoid.push_back(20.0 * k); // 20 N steps: record 7 is exactly at 20 N
    trapezoid.resize(trapezoid.size() + 100, 1000);
    for (int k = 1; k <= 50; ++k)
        trapezoid.push_back(1000 - 20.0 * k);
    trapezoid.resize(trapezoid.size() + 5, 0);
    Case cases[] = {
        // 20 N -> 1000 N over 49 ms, 100 ms at 1000 N, back to 20 N over 49 ms.
        {"trapezoid", table(trapezoid, "1000"), 20, {7, 205}, 0.198, 1000, 0.049, 1000,
         (2 * 510 * 49 + 1000 * 100) * 0.001, 980 / 0.049, 0, 0},
        {"two peaks: the first ends the loading",
         table({0, 200, 400, 600, 800, 700, 600, 800, 1000, 500, 0}, "100"), 20, {2, 10}, 0.08, 1000, 0.07,
         800, 52.5, 600 / 0.03, 0, 0},
        {"a dip of a twentieth is no first peak", table({0, 200, 400, 600, 580, 700, 1000, 500, 0}, "100"),
         20, {2, 8}, 0.06, 1000, 0.05, 1000, 0.01 * (300 + 500 + 590 + 640 + 850 + 750), 800 / 0.05, 0, 0},
        {"Fx crossing zero between samples", table({0, 100, 100, 0}, "100", 0, {0, 3, -1, 0}), 20, {2, 3},
         0.01, 100, 0, 100, 1, std::nullopt, 0.5 * 3 * 0.75 * 0.01, -0.5 * 1 * 0.25 * 0.01},
        {"negative plate: Fz numbers in the loaded direction",
         table({0, -200, -400, -600, -800, -500, 0}, "100"), 20, {2, 6}, 0.04, 800, 0.03, 800, 21.5,
         600 / 0.03, 0, 0},
        {"no rate: no times, impulses or rates", table({0, 200, 400, 300, 0}, ""), 20, {2, 4}, std::nullopt,
         400, std::nullopt, 400, std::nullopt, std::nullopt, std::nullopt, std::nullopt},
        {"cut at the start: no contact time or loading rate", table({200, 400, 300, 0}, "100"), 20,
         {1, 3, true}, std::nullopt, 400, 0.01, 400, 6.5, std::nullopt, 0, 0},
        {"cut at the end", table({0, 200, 400, 300}, "100"), 20, {2, 4, false, true}, std::nullopt, 400, 0.01,
         400, 6.5, std::nullopt, 0, 0},
    };
    const auto near = [](std::optional<double> got, std::optional<double> want) {
        EXPECT_EQ(got.has_value(), want.has_value());
        const double w = want.value_or(0);
        EXPECT_NEAR(got.value_or(0), w, 1e-9 * std::max(1.0, std::abs(w)));
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto all = measureContacts(*c.t, c.threshold);
        ASSERT_EQ(all.size(), 1u);
        const ContactMeasures& m = all[0];
        EXPECT_EQ(m.contact, c.contact);
        near(m.contactTime, c.contactTime);
        near(m.peakFz, c.peakFz);
        near(m.timeToPeak, c.timeToPeak);
        near(m.firstPeakFz, c.firstPeakFz);
        near(m.impulseFz, c.impulseFz);
        near(m.loadingRate, c.loadingRate);
        near(m.impulseFxPos, c.impulseFxPos);
        near(m.impulseFxNeg, c.impulseFxNeg);
        EXPECT_FALSE(m.peakFzBw); // no body weight in these tables
    }
}

TEST(TrialMeasures, CsvNumbers)
{
    struct Case {
        std::optional<double> value;
        const char* text;
    } cases[] = {
        {std::nullopt, ""}, {0.0, "0"},       {-0.0, "0"},           {0.1, "0.1"},
        {1e-5, "1e-05"},    {1000, "1000"},   {123456.7, "123457"},  {1234567, "1.23457e+06"},
        {-0.20625, "-0.20625"}, {1000.0 / 700, "1.42857"}, {600 / 0.03, "20000"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(csvNumber(c.value), c.text);
}

TEST(TrialMeasures, CsvRows)
{
    // Two peaks at 100 Hz, Fx crossing zero between records 5 and 6, a large Fy.
    const std::vector<double> fz{0, 200, 400, 600, 800, 700, 600, 800, 1000, 500, 0};
    const std::vector<double> fx{0, 0, 0, 0, 50, -30, 0, 0, 0, 0, 0};
    const std::vector<double> fy{0, 0, 0, 0, 0, 0, 0, 0, 0, -1234560, 0};
    auto t = table(fz, "100", 700, fx, fy);
    t->TrialTitle = "  Trial \"A\", left          ";
    struct Case {
        const char* what;
        std::string got, want;
    } cases[] = {
        {"header", std::string(csvHeader()),
         "file,title,rate_hz,body_weight_n,records,contact,start_s,end_s,contact_time_s,peak_fz_n,"
         "peak_fz_bw,time_to_peak_s,first_peak_fz_n,impulse_fz_ns,loading_rate_n_per_s,peak_fx_pos_n,"
         "peak_fx_neg_n,peak_fy_pos_n,peak_fy_neg_n,impulse_fx_pos_ns,impulse_fx_neg_ns,impulse_fy_pos_ns,"
         "impulse_fy_neg_ns"},
        {"a contact, file and title quoted", trialCsvRows("data/a,b.RF", *t, 20, false),
         "\"data/a,b.RF\",\"Trial \"\"A\"\", left\",100,700,11,1,0.01,0.09,0.08,1000,1.42857,0.07,800,52.5,"
         "20000,50,-30,0,-1.23456e+06,0.40625,-0.20625,0,-6172.8\n"},
        {"no contact", trialCsvRows("W.RF", *t, 5000, false),
         "W.RF,\"Trial \"\"A\"\", left\",100,700,11,0" + commas(17) + "\n"},
        {"an unreadable file", csvProblemRow("gone.RF", "the file could not be read"),
         "gone.RF,the file could not be read" + commas(21) + "\n"},
        {"a refused threshold", trialCsvRows("W.RF", *t, 0, false),
         "W.RF,the threshold must be a number above 0 N" + commas(21) + "\n"},
        {"no rate, no weight", trialCsvRows("n.RF", *table({0, 30, 40, 0}, ""), 20, false),
         "n.RF,no title,,,4,1,,,,40,,,40,,,0,0,0,0,,,,\n"},
        {"every contact", trialCsvRows("c.RF", *table({0, 30, 30, 0, 0, 50, 40, 0}, "100"), 20, true),
         "c.RF,no title,100,,8,1,0.01,0.02,0.01,30,,0,30,0.3,,0,0,0,0,0,0,0,0\n"
         "c.RF,no title,100,,8,2,0.05,0.06,0.01,50,,0,50,0.45,,0,0,0,0,0,0,0,0\n"},
        {"the first contact only", trialCsvRows("c.RF", *table({0, 30, 30, 0, 0, 50, 40, 0}, "100"), 20, false),
         "c.RF,no title,100,,8,1,0.01,0.02,0.01,30,,0,30,0.3,,0,0,0,0,0,0,0,0\n"},
        {"a cut contact", trialCsvRows("c.RF", *table({30, 40, 0}, "100"), 20, false),
         "c.RF,no title,100,,3,1,0,0.01,,40,,0.01,40,0.35,,0,0,0,0,0,0,0,0\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.got, c.want);
    }
}
