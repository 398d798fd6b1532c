#include "forcedata/LowPass.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <numbers>

using namespace forcedata;

// Values written out by scipy 1.10.1:
//   b, a = scipy.signal.butter(2, fc / (rate / 2)); y = scipy.signal.filtfilt(b, a, x)
TEST(LowPass, EqualsTheReferenceImplementation)
{
    struct Design {
        double fc, rate, b0, b1, a1, a2;
    } designs[] = {
        {30, 1000, 0.0078202080334971915, 0.015640416066994383, -1.734725768809275, 0.76600660094326378},
        {10, 100, 0.067455273889071923, 0.13491054777814385, -1.1429805025399011, 0.41280159809618877},
        {6, 50, 0.091314900435831958, 0.18262980087166392, -0.98240579310839515, 0.34766539485172315},
    };
    for (const Design& d : designs) {
        const Biquad q = butterworthLowPass(d.fc, d.rate);
        for (const auto& [got, want] : {std::pair{q.b0, d.b0}, {q.b1, d.b1}, {q.b2, d.b0}, {q.a1, d.a1},
                                        {q.a2, d.a2}})
            EXPECT_NEAR(got, want, 1e-12 * std::abs(want));
    }

    // x[k] = 100 sin(0.3 k) + 50 (k >= 15) + 0.5 k, k = 0..39, fc 30 Hz at 1000 Hz.
    std::vector<double> x;
    for (int k = 0; k < 40; ++k)
        x.push_back(100 * std::sin(0.3 * k) + (k >= 15 ? 50 : 0) + 0.5 * k);
    // x[k] = 3 (-1)^k + 0.01 k^2, k = 0..9 (the fewest records), fc 10 Hz at 100 Hz.
    std::vector<double> shortX;
    for (int k = 0; k < 10; ++k)
        shortX.push_back((k % 2 ? -3.0 : 3.0) + 0.01 * k * k);
    struct Case {
        const std::vector<double>& x;
        double fc, rate;
        std::vector<std::pair<int, double>> values;
    } cases[] = {
        {x, 30, 1000,
         {{0, -7.1385366412159721}, {1, -0.28980706135193179}, {5, 19.156873036368868}, {9, 22.124844209512865},
          {15, 24.801991022665771}, {20, 51.496977394084681}, {30, 68.771930411844238},
          {38, 17.516951003592304}, {39, 12.87203580640778}}},
        {shortX, 10, 100, {{0, 3.0124334235503012}, {4, 0.24757996820451658}, {9, -2.2120724093530955}}},
    };
    for (const Case& c : cases) {
        const std::vector<double> y = lowPass(c.x, c.fc, c.rate);
        ASSERT_EQ(y.size(), c.x.size());
        for (const auto& [k, want] : c.values)
            EXPECT_NEAR(y[std::size_t(k)], want, 1e-9 * std::abs(want)) << "sample " << k;
    }

    // In a force table: Fx, Fy, Fz and Mz filtered, the centre of pressure and the seventh
    // column as read.
    auto t = std::make_unique<ForceTable>();
    t->SamplingRate = "1000";
    t->RecordCount = 40;
    for (std::size_t i = 1; i <= 40; ++i) {
        t->Fz[i] = x[i - 1];
        t->Fx[i] = -x[i - 1];
        t->Fy[i] = 2 * x[i - 1];
        t->Mz[i] = float(x[i - 1]);
        t->Ax[i] = t->Ay[i] = t->Extra[i] = x[i - 1];
    }
    const auto filtered = std::make_unique<ForceTable>(lowPassed(*t, 30));
    EXPECT_NEAR(filtered->Fz[21], 51.496977394084681, 1e-9 * 51.5);
    EXPECT_NEAR(filtered->Fx[21], -51.496977394084681, 1e-9 * 51.5);
    EXPECT_NEAR(filtered->Fy[21], 2 * 51.496977394084681, 1e-9 * 103);
    EXPECT_NEAR(filtered->Mz[21], 51.496977394084681, 1e-4); // filtered, then kept in single precision
    EXPECT_EQ(filtered->Ax[21], x[20]);
    EXPECT_EQ(filtered->Ay[21], x[20]);
    EXPECT_EQ(filtered->Extra[21], x[20]);
    EXPECT_EQ(filtered->Fz[41], 0); // past the records: untouched
}

// The zero-lag filter's gain is 1 / (1 + (f/fc)^4): about 1 far below the cut-off, about
// 0 far above it, and a step comes out symmetric about the step.
TEST(LowPass, GainBelowAndAboveTheCutOff)
{
    const double rate = 1000, fc = 30;
    const int n = 2000;
    struct Case {
        const char* what;
        double frequency, gain, tolerance;
    } cases[] = {
        {"a tenth of the cut-off", 3, 1, 2e-3},
        {"ten times the cut-off", 300, 0, 1e-3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<double> x(n);
        for (int k = 0; k < n; ++k)
            x[std::size_t(k)] = std::sin(2 * std::numbers::pi * c.frequency * k / rate);
        const std::vector<double> y = lowPass(x, fc, rate);
        // Away from the edges, the output is the input scaled (no lag, no phase).
        for (int k = 500; k < 1500; ++k)
            EXPECT_NEAR(y[std::size_t(k)], c.gain * x[std::size_t(k)], c.tolerance) << k;
    }

    std::vector<double> step(n, 5.0);
    for (double v : lowPass(step, fc, rate))
        EXPECT_NEAR(v, 5.0, 1e-12);
    for (int k = n / 2; k < n; ++k)
        step[std::size_t(k)] = 15;
    const std::vector<double> y = lowPass(step, fc, rate);
    EXPECT_NEAR(y[n / 2 - 1] + y[n / 2], 20, 1e-9);
    EXPECT_NEAR(y[100], 5, 1e-9);
    EXPECT_NEAR(y[n - 100], 15, 1e-9);
}

TEST(LowPass, WhereItCannotApply)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double fc, rate;
        int records;
        const char* why;
    } cases[] = {
        {0, 1000, 100, "the cut-off must be a number above 0 Hz"},
        {-5, 1000, 100, "the cut-off must be a number above 0 Hz"},
        {nan, 1000, 100, "the cut-off must be a number above 0 Hz"},
        {30, 0, 100, "the file has no sampling rate"},
        {30, nan, 100, "the file has no sampling rate"},
        {30, 1000, 9, "the file has fewer than 10 records"},
        {500, 1000, 100, "the cut-off must be below half the sampling rate (500 Hz)"},
        {60, 100, 100, "the cut-off must be below half the sampling rate (50 Hz)"},
        {499.9, 1000, 10, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fc);
        const auto why = lowPassProblem(c.fc, c.rate, c.records);
        EXPECT_EQ(why.value_or("none"), c.why ? c.why : "none");
    }

    auto t = std::make_unique<ForceTable>();
    t->SamplingRate = "";
    t->RecordCount = 20;
    t->Fz[3] = 100;
    EXPECT_FALSE(lowPassForces(*t, 30));
    EXPECT_EQ(t->Fz[3], 100);
    EXPECT_EQ(lowPassProblem(*t, 30), "the file has no sampling rate");
    const std::vector<double> few{1, 2, 3};
    EXPECT_EQ(lowPass(few, 30, 1000), few);

    EXPECT_EQ(lowPassTitle(30), "low-pass 30 Hz, zero lag, 2nd order Butterworth");
    EXPECT_EQ(lowPassCsvComment(12.5), "# low-pass: 12.5 Hz, zero-lag 2nd-order Butterworth");
}
