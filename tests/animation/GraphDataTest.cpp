// The rules under the force graphs, on tables built to give known answers.

#include "animation/graphs/GraphData.h"
#include "core/ForceTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using namespace graphs;

namespace
{

std::unique_ptr<ForceTable> tableOfFz(std::vector<double> fz, const char* rate = "100")
{
    auto t = std::make_unique<ForceTable>();
    t->RecordCount = int16_t(fz.size());
    t->SamplingRate = rate;
    t->BodyWeight = 700;
    for (std::size_t i = 0; i < fz.size(); ++i) {
        t->Fz[i + 1] = fz[i];
        t->RecordNo[i + 1] = int16_t(i + 1);
    }
    return t;
}

TEST(GraphTimeAxis, SecondsWhereTheRateIsANumberElseRecords)
{
    struct Case {
        const char* rate;
        bool seconds;
        double atRecord201;
        int16_t firstNumber = 0; // 0: a table without records
    } cases[] = {{"200", true, 1.0},  {"500.0", true, 0.4},      {"0", false, 201},
                 {"", false, 201},    {"fast", false, 201},      {"-5", false, 201},
                 // Numbered from 121: record 1 is at 0.6 s, as the animation says.
                 {"200", true, 1.6, 121}, {"200", true, 1.0, 1}, {"0", false, 201, 121}};
    for (const Case& c : cases) {
        ForceTable t;
        t.SamplingRate = c.rate;
        if (c.firstNumber) {
            t.RecordCount = 300;
            for (int i = 1; i <= 300; ++i)
                t.RecordNo[std::size_t(i)] = int16_t(c.firstNumber + i - 1);
        }
        const TimeAxis axis = timeAxis(t);
        EXPECT_EQ(axis.seconds, c.seconds) << c.rate;
        EXPECT_DOUBLE_EQ(axis.at(201), c.atRecord201) << c.rate;
        EXPECT_DOUBLE_EQ(axis.index(axis.at(37)), 37) << c.rate;
        EXPECT_EQ(axis.label.contains("Record"), !c.seconds) << c.rate;
    }
}

TEST(GraphReadout, ValuesAsTheRawListingWritesThemTrimmed)
{
    ForceTable t;
    t.RecordCount = 2;
    t.SamplingRate = "100";
    const auto set = [&t](std::size_t i, double fx, double fy, double fz, double ax, double ay,
                          float mz, int16_t no) {
        t.Fx[i] = fx, t.Fy[i] = fy, t.Fz[i] = fz, t.Ax[i] = ax, t.Ay[i] = ay, t.Mz[i] = mz,
        t.RecordNo[i] = no;
    };
    set(1, 0, 0, 0, 0, 0, 0, 16);
    set(2, 12.5, -3, 700.25, 0.1, 0.2, 1.5f, 17);
    // Record 17 at 100 Hz is at 0.16 s, as the animation shows it beside the number.
    EXPECT_EQ(readoutText(t, 2), "Record 17   0.1600 s   Fx 12.5000   Fy -3.0000   Fz 700.2500   "
                                 "Ax 0.1000   Ay 0.2000   Mz 1.5000");
    // Past either end the readout shows the end record; without a rate, no time.
    EXPECT_TRUE(readoutText(t, 99).startsWith("Record 17   0.1600 s"));
    EXPECT_TRUE(readoutText(t, -4).startsWith("Record 16   0.1500 s"));
    t.SamplingRate = "0";
    EXPECT_TRUE(readoutText(t, 2).startsWith("Record 17   Fx 12.5000"));
    t.Fz[2] = -1e30;
    EXPECT_FALSE(readoutText(t, 2).contains("  Fz  "));
    EXPECT_TRUE(readoutText(t, 2).contains("Fz -1"));
    for (int16_t count : {int16_t(0), int16_t(-1)}) {
        t.RecordCount = count;
        EXPECT_EQ(readoutText(t, 1), "No data");
    }
}

TEST(GraphContacts, ContactPeakImpulseAndLoadingRateOfKnownShapes)
{
    struct Case {
        const char* name;
        std::vector<double> fz;
        double threshold;
        int first, last, peak, firstPeak;
        double time, impulse, loadingRate;
    } cases[] = {
        // Impulses are areas of known shapes, NaN where the shape has none handy.
        // A triangle standing on the threshold: 0.08 s wide, 80 N over 20 N.
        {"triangle",
         {0, 20, 40, 60, 80, 100, 80, 60, 40, 20, 0},
         20, 2, 10, 6, 6, 0.08, 0.5 * 0.08 * 80 + 0.08 * 20, (100 - 20) / 0.04},
        // A rectangle: 100 N for 0.04 s; its first record is its peak, so no loading.
        {"rectangle", {0, 100, 100, 100, 100, 100, 0}, 20, 2, 6, 2, 2, 0.04, 4.0, NAN},
        // A single hump at 100 Hz: records 4..8 at or above 20 N, two ramps and a ridge.
        {"hump", {0, 0, 10, 30, 50, 70, 50, 30, 10, 0}, 20, 4, 8, 6, 6, 0.04, 2.0, 2000},
        // Two humps: the first maximum (90) is where loading ends, the peak is the second.
        {"double hump", {0, 30, 60, 90, 80, 70, 85, 100, 60, 20, 0}, 20, 2, 10, 8, 4, 0.08, NAN,
         (90 - 30) / 0.02},
        // A ripple on the rise that falls back less than a tenth of the peak is no peak.
        {"ripple", {0, 40, 80, 78, 120, 200, 100, 0}, 20, 2, 7, 6, 6, 0.05, NAN, (200 - 40) / 0.04},
        // On the plate from the first record: the contact starts there, cut, so it has
        // no contact time and no loading rate (NaN below: none); a straight ramp from 50
        // to 70 N over 0.02 s holds 60 N on average.
        {"already on", {50, 60, 70, 0}, 20, 1, 3, 3, 3, NAN, 0.02 * 60, NAN},
        // Still on the plate at the last record: cut at the end.
        {"still on", {0, 30, 60, 50}, 20, 2, 4, 3, 3, NAN, 0.01 * (45 + 55), NAN},
        // A plate loaded negative: the same hump as above, of -Fz.
        {"negative plate", {0, 0, -10, -30, -50, -70, -50, -30, -10, 0}, 20, 4, 8, 6, 6, 0.04, 2.0,
         2000},
    };
    for (const Case& c : cases) {
        const auto t = tableOfFz(c.fz);
        const std::vector<Contact> found = findContacts(*t, c.threshold);
        ASSERT_EQ(found.size(), 1u) << c.name;
        const Contact& k = found[0];
        EXPECT_EQ(k.contact.first, c.first) << c.name;
        EXPECT_EQ(k.contact.last, c.last) << c.name;
        EXPECT_EQ(k.peak, c.peak) << c.name;
        EXPECT_EQ(k.firstPeak, c.firstPeak) << c.name;
        EXPECT_DOUBLE_EQ(k.peakFz, std::abs(c.fz[std::size_t(c.peak - 1)])) << c.name;
        EXPECT_DOUBLE_EQ(*k.peakFzBw, k.peakFz / 700) << c.name;
        if (!std::isnan(c.impulse)) {
            EXPECT_NEAR(*k.impulseFz, c.impulse, 1e-9) << c.name;
        }
        EXPECT_EQ(k.contactTime.has_value(), !std::isnan(c.time)) << c.name;
        EXPECT_EQ(k.loadingRate.has_value(), !std::isnan(c.loadingRate)) << c.name;
        if (k.contactTime) {
            EXPECT_NEAR(*k.contactTime, c.time, 1e-12) << c.name;
        }
        if (k.loadingRate) {
            EXPECT_NEAR(*k.loadingRate, c.loadingRate, 1e-6) << c.name;
        }
    }
}

TEST(GraphContacts, SeveralNoneAndNoRate)
{
    const auto hop = tableOfFz({0, 25, 30, 25, 0, 0, 40, 60, 0});
    const auto contacts = findContacts(*hop, 20);
    ASSERT_EQ(contacts.size(), 2u);
    EXPECT_EQ(contacts[1].contact.first, 7);
    EXPECT_EQ(contacts[1].contact.last, 8);
    EXPECT_EQ(contacts[1].number, 2);
    // The threshold itself counts as contact; one record alone is noise, not a contact.
    EXPECT_EQ(findContacts(*hop, 40).size(), 1u);
    EXPECT_TRUE(findContacts(*hop, 40.001).empty());
    // A one-record dip under the threshold (10 ms at 100 Hz) ends a contact; the same
    // dip at 1000 Hz (1 ms) does not.
    EXPECT_EQ(findContacts(*tableOfFz({0, 30, 40, 10, 40, 30, 0}), 20).size(), 2u);
    EXPECT_EQ(findContacts(*tableOfFz({0, 30, 40, 10, 40, 30, 0}, "1000"), 20).size(), 0u)
        << "one contact of 4 ms: noise";
    EXPECT_EQ(findContacts(*tableOfFz({0, 30, 40, 10, 40, 30, 0}, "0"), 20).size(), 1u)
        << "no rate: a gap of one record joins";
    // A threshold of 0 or less finds nothing.
    for (const double refused : {0.0, -20.0})
        EXPECT_TRUE(findContacts(*hop, refused).empty()) << refused;

    // Without a rate: the records, but no seconds to give times, impulses or rates.
    const auto noRate = tableOfFz({0, 30, 50, 30, 0}, "0");
    const auto k = findContacts(*noRate, 20);
    ASSERT_EQ(k.size(), 1u);
    EXPECT_EQ(k[0].peak, 3);
    EXPECT_FALSE(k[0].contactTime || k[0].impulseFz || k[0].loadingRate);
    // A contact whose first record is its peak has no loading time.
    EXPECT_FALSE(findContacts(*tableOfFz({0, 60, 30, 0}), 20)[0].loadingRate);
    noRate->BodyWeight = 0;
    EXPECT_FALSE(findContacts(*noRate, 20)[0].peakFzBw);
}

TEST(GraphRange, ZoomPanAndBandStayInsideTheRecords)
{
    const int n = 1001;
    const Range all = fullRange(n);
    EXPECT_EQ(all, (Range{1, 1001}));
    // Zooming in by half around record 201 keeps 201 where it was on screen.
    const Range in = zoomed(all, 201, 0.5, n);
    EXPECT_DOUBLE_EQ(in.span(), 500);
    EXPECT_DOUBLE_EQ((201 - in.first) / in.span(), (201 - all.first) / all.span());
    // Out past everything gives everything; in past two records stops at two.
    EXPECT_EQ(zoomed(in, 500, 10, n), all);
    EXPECT_DOUBLE_EQ(zoomed(all, 500, 1e-9, n).span(), 2);
    EXPECT_EQ(zoomed(in, NAN, 0.5, n), in);
    // Panning stops at the ends without changing the width.
    EXPECT_EQ(panned(in, -5000, n), (Range{1, 501}));
    EXPECT_EQ(panned(in, 5000, n), (Range{501, 1001}));
    EXPECT_EQ(panned(in, INFINITY, n), in);
    // A band either way round, at least two records wide, inside the table.
    EXPECT_EQ(band(300, 100, n), (Range{100, 300}));
    EXPECT_DOUBLE_EQ(band(50, 50.5, n).span(), 2);
    EXPECT_EQ(band(-50, 2000, n), all);
    // One record or none still gives a range to draw in.
    EXPECT_GT(fullRange(1).span(), 0);
    EXPECT_GT(zoomed(fullRange(0), 1, 0.5, 0).span(), 0);
}

TEST(GraphCursorKeys, StepsPagesAndEnds)
{
    struct Case {
        int current;
        CursorKey key;
        int count;
        int expected;
    } cases[] = {{5, CursorKey::Left, 100, 4},        {1, CursorKey::Left, 100, 1},
                 {100, CursorKey::Right, 100, 100},   {5, CursorKey::PageDown, 100, 15},
                 {95, CursorKey::PageDown, 100, 100}, {5, CursorKey::PageUp, 100, 1},
                 {50, CursorKey::Home, 100, 1},       {50, CursorKey::End, 100, 100},
                 {3, CursorKey::PageDown, 7, 4},      {1, CursorKey::End, 0, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(movedCursor(c.current, c.key, c.count), c.expected)
            << c.current << " key " << int(c.key) << " of " << c.count;
}

TEST(GraphAxes, TicksAndLimitsFitTheVisibleValues)
{
    struct TickCase {
        double low, high;
        int wanted, atLeast;
        std::vector<double> expected;
    } tickCases[] = {
        {0, 10, 5, 0, {0, 2, 4, 6, 8, 10}},
        {-0.3, 0.3, 3, 0, {-0.2, 0, 0.2}},
        // A force axis that would get 0, 500 and 1000 gets a smaller round step.
        {-60, 1060, 3, 4, {0, 200, 400, 600, 800, 1000}},
        {-60, 1060, 3, 0, {0, 500, 1000}},
        {0.5, 2.5, 1, 4, {0.5, 1, 1.5, 2, 2.5}},
        {1, 1, 5, 4, {}},
        {-1e308, 1e308, 5, 4, {}}, // the span itself is no number
    };
    for (const TickCase& c : tickCases) {
        const std::vector<double> got = ticks(c.low, c.high, c.wanted, c.atLeast);
        ASSERT_EQ(got.size(), c.expected.size()) << c.low << ".." << c.high;
        for (std::size_t i = 0; i < got.size(); ++i)
            EXPECT_NEAR(got[i], c.expected[i], 1e-9 * (c.high - c.low)) << c.low << ".." << c.high;
    }
    const std::vector<double> hugeTicks = ticks(-1e30, 1e30, 4, 4);
    ASSERT_EQ(hugeTicks.size(), 5u);
    EXPECT_NEAR(hugeTicks[1], -5e29, 1e15);

    // Whatever the visible range cuts, the records it touches count.
    struct LimitCase {
        const char* name;
        std::vector<double> values;
        Range range;
        double below, above; // the limits reach past these
    } limitCases[] = {
        {"range from 1.5 keeps record 1", {100, 1, 2}, {1.5, 3}, 1, 100},
        {"range to 2.5 keeps record 3", {1, 2, -100}, {1, 2.5}, -100, 2},
        {"a fraction of one record", {5, 9}, {1.2, 1.8}, 5, 9},
    };
    for (const LimitCase& c : limitCases) {
        Chart chart;
        chart.curves.push_back({QFz, "Fz", Qt::black, c.values});
        const auto l = valueLimits(chart, c.range);
        ASSERT_TRUE(l) << c.name;
        EXPECT_LT(l->first, c.below) << c.name;
        EXPECT_GT(l->second, c.above) << c.name;
    }

    Chart c;
    c.curves.push_back({QFz, "Fz", Qt::black, {1, 2, 50, 3, NAN, INFINITY, 4}});
    // Only the visible records count, non-finite values never.
    const auto visible = valueLimits(c, {1, 2});
    ASSERT_TRUE(visible);
    EXPECT_LT(visible->first, 1);
    EXPECT_GT(visible->second, 2);
    EXPECT_LT(visible->second, 50);
    EXPECT_GT(valueLimits(c, {1, 7})->second, 50);
    EXPECT_FALSE(valueLimits(c, {5, 6}));
    // A flat curve gets a band around it; huge values keep finite limits.
    c.curves[0].values = {0, 0, 0};
    const auto flat = valueLimits(c, {1, 3});
    EXPECT_LT(flat->first, 0);
    EXPECT_GT(flat->second, 0);
    c.curves[0].values = {-1e30, 1e30};
    const auto huge = valueLimits(c, {1, 2});
    EXPECT_TRUE(std::isfinite(huge->first) && std::isfinite(huge->second));
    EXPECT_LE(huge->first, -1e30);
}

TEST(GraphCharts, SeventhColumnUnitsAndBodyWeight)
{
    auto t = tableOfFz({700, 350});
    t->Fx[1] = 70;
    ViewOptions o;
    o.bodyWeight = 700;
    o.horizForceSign = 1;
    auto charts = buildCharts(*t, o);
    EXPECT_EQ(charts[0].unit, "Force (N)");
    EXPECT_EQ(charts[2].curves.size(), 1u) << "an all-zero seventh column is left out";
    EXPECT_DOUBLE_EQ(charts[0].curves[2].values[0], 700);

    o.normalize = true;
    charts = buildCharts(*t, o);
    EXPECT_EQ(charts[0].unit, "Force (× BW)");
    EXPECT_DOUBLE_EQ(charts[0].curves[2].values[1], 0.5);
    EXPECT_DOUBLE_EQ(charts[0].curves[0].values[0], 0.1);
    o.bodyWeight = 0; // a weight that cannot divide leaves newtons
    EXPECT_EQ(buildCharts(*t, o)[0].unit, "Force (N)");

    t->Extra[2] = 1.5;
    t->LastHeaderCard = std::string(60, ' ') + "    Ay    ";
    charts = buildCharts(*t, o);
    ASSERT_EQ(charts[2].curves.size(), 2u);
    EXPECT_EQ(charts[2].curves[1].name, "Az (cm)");
    t->LastHeaderCard = std::string(60, ' ') + "Fz2       ";
    EXPECT_EQ(buildCharts(*t, o)[2].curves[1].name, "Fz2");
    for (const Chart& chart : buildCharts(ForceTable(), o))
        for (const Curve& curve : chart.curves)
            EXPECT_TRUE(curve.values.empty());
}

TEST(GraphCharts, AReversedCurveSaysSoInItsLegendAndAxis)
{
    auto t = tableOfFz({700, 350});
    t->Fx[1] = 70;
    t->Fy[1] = 30;
    t->Ay[1] = 4;
    t->Extra[1] = 2;
    t->LastHeaderCard = std::string(60, ' ') + "Az        ";
    const QString minus(QChar(0x2212));
    struct Case {
        const char* name;
        ViewOptions options;
        QStringList forces, centre;
        QString forceUnit, centreUnit, momentUnit;
        double fx, fy; // record 1 as drawn
    } cases[] = {
        {"side view, forces reversed (the default)",
         {},
         {"Fx", minus + "Fy", "Fz"},
         {"Ax", "Ay"},
         "Force (N), " + minus + "Fy",
         "Position (cm)",
         "Moment (N·m)",
         70,
         -30},
        {"side view, centre reversed",
         {.horizForceSign = 1, .horizCentreSign = -1},
         {"Fx", "Fy", "Fz"},
         {"Ax", minus + "Ay"},
         "Force (N)",
         "Position (cm), " + minus + "Ay",
         "Moment (N·m)",
         70,
         30},
        {"top view, vertical reversed",
         {.viewIndex = 0, .horizForceSign = 1, .vertForceSign = -1},
         {minus + "Fx", "Fy", "Fz"},
         {"Ax", "Ay"},
         "Force (N), " + minus + "Fx",
         "Position (cm)",
         "Moment (N·m)",
         -70,
         30},
        {"back view, height reversed, in body weights",
         {.viewIndex = 2, .azSign = -1, .useAz = true, .normalize = true, .bodyWeight = 700},
         {minus + "Fx", "Fy", "Fz"},
         {"Ax", "Ay"},
         "Force (× BW), " + minus + "Fx",
         "Position (cm)",
         "Moment (N·m), " + minus + "Az (cm)",
         -0.1,
         30.0 / 700},
    };
    for (const Case& c : cases) {
        const auto charts = buildCharts(*t, c.options);
        QStringList forces, centre;
        for (const Curve& curve : charts[0].curves)
            forces << curve.name;
        for (const Curve& curve : charts[1].curves)
            centre << curve.name;
        EXPECT_EQ(forces, c.forces) << c.name;
        EXPECT_EQ(centre, c.centre) << c.name;
        EXPECT_EQ(charts[0].unit, c.forceUnit) << c.name;
        EXPECT_EQ(charts[1].unit, c.centreUnit) << c.name;
        EXPECT_EQ(charts[2].unit, c.momentUnit) << c.name;
        EXPECT_DOUBLE_EQ(charts[0].curves[0].values[0], c.fx) << c.name;
        EXPECT_DOUBLE_EQ(charts[0].curves[1].values[0], c.fy) << c.name;
    }
}

TEST(GraphCharts, ColoursStayApart)
{
    // Every pair differs clearly in lightness or in the blue-yellow axis, which the
    // common deficiencies keep.
    for (int a = 0; a < QuantityCount; ++a)
        for (int b = a + 1; b < QuantityCount; ++b) {
            const QColor x = curveColour(Quantity(a)), y = curveColour(Quantity(b));
            const int lightness = std::abs(x.lightness() - y.lightness());
            const int blueYellow = std::abs((x.red() + x.green()) / 2 - x.blue() -
                                            ((y.red() + y.green()) / 2 - y.blue()));
            EXPECT_TRUE(lightness > 20 || blueYellow > 40) << a << " " << b;
        }
}

} // namespace
