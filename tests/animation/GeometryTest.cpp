#include "animation/Geometry.h"
#include "animation/Layout.h"
#include "animation/PlaybackText.h"
#include "core/ForceTable.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

using namespace anim;

namespace
{

std::unique_ptr<ForceTable> tableWith(int index, double fx, double fy, double fz, double ax,
                                      double ay, double extra)
{
    auto t = std::make_unique<ForceTable>();
    const auto k = std::size_t(index);
    t->Fx[k] = fx;
    t->Fy[k] = fy;
    t->Fz[k] = fz;
    t->Ax[k] = ax;
    t->Ay[k] = ay;
    t->Extra[k] = extra;
    t->RecordCount = int16_t(index);
    return t;
}

void expectPoint(QPointF actual, QPointF expected, double tolerance = 1e-9)
{
    EXPECT_NEAR(actual.x(), expected.x(), tolerance);
    EXPECT_NEAR(actual.y(), expected.y(), tolerance);
}

} // namespace

TEST(Geometry, EachViewSetsItsCorners)
{
    struct Case {
        int16_t view;
        QPointF upperLeft, lowerRight;
    };
    for (const Case& c : {Case{0, {-40, -30}, {40, 30}}, Case{1, {-40, 30}, {40, -5}},
                          Case{2, {-30, 30}, {30, -5}}, Case{3, {-40, 30}, {40, -5}}}) {
        const auto s = viewScale(c.view);
        ASSERT_TRUE(s) << c.view;
        EXPECT_EQ(s->upperLeft, c.upperLeft) << c.view;
        EXPECT_EQ(s->lowerRight, c.lowerRight) << c.view;
    }
    EXPECT_FALSE(viewScale(4)) << "the new-custom view keeps the coordinates it finds";
}

TEST(Geometry, PlateOutlinesPerPlateViewAndMagnification)
{
    struct Case {
        int16_t plate, view;
        float magnification;
        bool drawn, filled;
        QPointF c1, c2;
    };
    const Case cases[] = {
        {1, 0, 1, true, false, {-30, -20}, {30, 20}},
        {1, 0, 2, true, false, {-60, -40}, {60, 40}}, // runs past all four edges
        {1, 1, 1, true, true, {-30, 0}, {30, -2}},
        {1, 1, 2, true, true, {-60, 0}, {60, -2}}, // still 2 units thick
        {1, 2, 1, true, true, {-15, 0}, {15, -2}}, // three quarters of the depth
        {2, 0, 1, true, false, {-25.4, -23.1775}, {25.4, 23.1775}},
        {2, 1, 1, true, true, {-25.4, 0}, {25.4, -2}},
        {2, 2, 1, true, true, {-17.383125, 0}, {17.383125, -2}},
        {3, 0, 1, true, false, {-30, -30}, {30, 30}},
        {3, 2, 1, true, true, {-22.5, 0}, {22.5, -2}},
        {3, 2, 2, true, true, {-45, 0}, {45, -2}},
        {0, 0, 1, false, false, {}, {}},
        {4, 1, 1, false, false, {}, {}},
        {1, 3, 1, false, false, {}, {}}, // the custom view draws no plate
        {1, 4, 1, false, false, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "plate " << c.plate << " view " << c.view << " x" << c.magnification);
        const auto shape = plateShape(c.plate, c.view, c.magnification);
        ASSERT_EQ(bool(shape), c.drawn);
        if (!shape)
            continue;
        EXPECT_EQ(shape->filled, c.filled);
        expectPoint(shape->corner1, c.c1);
        expectPoint(shape->corner2, c.c2);
    }
}

TEST(Geometry, RotationUsesTheStoredDivisorAndTheTransposedMatrix)
{
    struct Case {
        double pitch, roll, yaw; // degrees
        double fx, fy, fz;
        double rx, ry, rz;
    };
    const Case cases[] = {
        {0, 0, 0, 12, -34, 560, 12, -34, 560},
        // The divisor leaves a small remainder where 90 degrees would give none.
        {90, 0, 0, 0, 0, 100, 0, 100, -0.0013},
        {0, 0, 90, 100, 0, 0, -0.0013, -100, 0},
        {0, 90, 0, 100, 0, 0, -0.0013, 0, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.pitch << "/" << c.roll << "/" << c.yaw);
        const auto t = tableWith(7, c.fx, c.fy, c.fz, c.fx / 10, c.fy / 10, c.fz / 10);
        const RotatedRecord r =
            RotateRecord(*t, 7, angleRadians(c.pitch), angleRadians(c.roll), angleRadians(c.yaw));
        EXPECT_NEAR(r.RotatedForce[0], c.rx, 1e-4);
        EXPECT_NEAR(r.RotatedForce[1], c.ry, 1e-4);
        EXPECT_NEAR(r.RotatedForce[2], c.rz, 1e-4);
        EXPECT_NEAR(r.RotatedCentreX, c.rx / 10, 1e-5);
        EXPECT_NEAR(r.RotatedCentreY, c.ry / 10, 1e-5);
        EXPECT_NEAR(r.RotatedCentreZ, c.rz / 10, 1e-5);
    }
    const auto t = tableWith(1, 1, 2, 3, 4, 5, 6);
    const RotatedRecord outside = RotateRecord(*t, 5001, 0.1f, 0.2f, 0.3f);
    EXPECT_EQ(outside.RotatedForce, (std::array<double, 3>{0, 0, 0}));
}

TEST(Geometry, BaseAndTipPerViewWithSignsAndHeight)
{
    // Fx 100, Fy 200, Fz 1000, Ax 3, Ay -5, height 2.
    const auto t = tableWith(4, 100, 200, 1000, 3, -5, 2);
    struct Case {
        const char* what;
        Projection p;
        QPointF base, tip;
    };
    Projection top;
    top.ViewIndex = TopView;
    Projection topReversedX = top;
    topReversedX.VertForceSign = -1;
    topReversedX.VertCentreSign = -1;
    Projection side;
    side.ViewIndex = SideView;
    Projection sideAz = side;
    sideAz.UseAz = true;
    sideAz.AzSign = -1;
    Projection back;
    back.ViewIndex = BackView;
    back.HorizCentreSign = -1;
    back.UseAz = true;
    Projection custom;
    custom.ViewIndex = CustomView;
    Projection customPitch = custom;
    customPitch.HorizForceSign = 1;
    customPitch.Pitch = angleRadians(90);
    Projection doubled = side;
    doubled.CentreScale = 2;
    doubled.VectorScale = vectorScale(1.5f, 2.0f, 0.01);

    const Case cases[] = {
        {"top: Y across, X down", top, {-5, 3}, {-5 - 2, 3 + 1}},
        {"top with X reversed", topReversedX, {-5, -3}, {-7, -4}},
        {"side without Az stands on the plate", side, {-5, 0}, {-7, 10}},
        {"side with reversed Az", sideAz, {-5, -2}, {-7, 8}},
        {"back: X across, centres reversed", back, {-3, 2}, {-4, 12}},
        {"custom at rest is the side view with height", custom, {-5, 2}, {-7, 12}},
        {"custom pitched 90 lays the vertical force along Y", customPitch, {2, 5}, {12, 3}},
        {"scales", doubled, {-10, 0}, {-16, 30}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const VectorLine v = baseAndTip(*t, 4, c.p);
        expectPoint(v.base, c.base, 1e-3);
        expectPoint(v.tip, c.tip, 1e-3);
    }
}

TEST(Geometry, PathVectorsAndHistoryColours)
{
    // view, showPath, index, count -> path
    struct PathCase {
        int16_t view;
        bool show;
        int index, count;
        bool path;
    };
    for (const PathCase& c : {PathCase{0, true, 2, 10, true}, PathCase{3, true, 9, 10, true},
                              PathCase{4, true, 5, 10, true}, PathCase{0, true, 1, 10, false},
                              PathCase{0, true, 10, 10, false}, PathCase{0, false, 5, 10, false},
                              PathCase{1, true, 5, 10, false}, PathCase{2, true, 5, 10, false}})
        EXPECT_EQ(drawsPath(c.view, c.show, c.index, c.count), c.path)
            << c.view << " " << c.index << "/" << c.count;

    EXPECT_TRUE(drawsVectors(SideView, true)) << "side and back views ignore No vectors";
    EXPECT_TRUE(drawsVectors(BackView, true));
    EXPECT_FALSE(drawsVectors(TopView, true));
    EXPECT_FALSE(drawsVectors(CustomView, true));
    EXPECT_TRUE(drawsVectors(TopView, false));

    struct ColourCase {
        int16_t mode;
        int index;
        std::optional<QColor> previous;
    };
    for (const ColourCase& c : {ColourCase{0, 5, std::nullopt}, ColourCase{1, 5, EraseColour},
                                ColourCase{2, 5, PaletteColour8}, ColourCase{3, 5, PaletteColour8},
                                ColourCase{2, 1, std::nullopt}})
        EXPECT_EQ(previousVectorColour(c.mode, c.index), c.previous) << c.mode << " " << c.index;
    EXPECT_EQ(PaletteColour8, QColor(128, 128, 128));
    EXPECT_EQ(PaletteColour7, QColor(192, 192, 192));

    EXPECT_EQ(finishedVectorColour(2, false), PaletteColour7);
    EXPECT_EQ(finishedVectorColour(3, false), PaletteColour7);
    EXPECT_EQ(finishedVectorColour(1, false), std::nullopt);
    EXPECT_EQ(finishedVectorColour(2, true), std::nullopt);
}

TEST(Geometry, NormalisationToBodyWeight)
{
    const auto scale = normalisedForceScale(700);
    ASSERT_TRUE(scale);
    EXPECT_NEAR(*scale, 0.0142857, 1e-7);
    // A body-weight force is 10 units long at the default factors.
    EXPECT_NEAR(vectorScale(1, 1, *scale) * 700, 10, 1e-5);
    EXPECT_FALSE(normalisedForceScale(0));
    EXPECT_FALSE(normalisedForceScale(-70));
    EXPECT_FALSE(normalisedForceScale(std::numeric_limits<float>::infinity()));
}

TEST(Layout, ResizeKeepsTheMinimumAndTheThreeToTwoPicture)
{
    struct Case {
        int w, h;
        int outW, outH;
        double picW, picH;
        int rowTop;
    };
    const Case cases[] = {
        {5000, 5000, 10000, 8100, 7000, 4666.6667, 5755},
        {10000, 9000, 10000, 9000, 7000, 4666.6667, 6655},
        {13000, 8100, 13000, 8100, 7005, 4670, 5755}, // wide: the title frame limits
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
        const ResizeLayout l = resizeLayout(c.w, c.h);
        EXPECT_EQ(l.windowWidth, c.outW);
        EXPECT_EQ(l.windowHeight, c.outH);
        EXPECT_NEAR(l.pictureWidth, c.picW, 1e-3);
        EXPECT_NEAR(l.pictureHeight, c.picH, 1e-3);
        EXPECT_NEAR(l.pictureWidth / l.pictureHeight, 1.5, 1e-9);
        EXPECT_EQ(l.rowTop, c.rowTop);
        EXPECT_EQ(l.printTop, c.rowTop + 100);
        EXPECT_EQ(l.smallTop, c.rowTop + 600);
        EXPECT_EQ(l.okTop, c.rowTop + 1200);
        EXPECT_NEAR(l.titleTop, l.pictureHeight + 250, 1e-9);
        EXPECT_NEAR(l.sizingLeft, l.pictureWidth + 300, 1e-9);
        EXPECT_NEAR(l.abscissaTop, -10, 1e-9);
        EXPECT_NEAR(l.abscissaLeft, 120 + l.pictureWidth / 2, 1e-9);
        EXPECT_NEAR(l.ordinateTop, 240 + l.pictureHeight / 2, 1e-9);
        EXPECT_NEAR(l.ordinateLeft, 120 + l.pictureWidth + 25, 1e-9);
        // The frame and record readouts never sit over the option frames.
        EXPECT_LE(l.titleTop + TitleFrameHeight, l.rowTop + 20);
    }
    const SmallLayout s = smallLayout(7000, 4666.67);
    EXPECT_EQ(s.pictureLeft, 50);
    EXPECT_EQ(s.pictureTop, 50);
    EXPECT_NEAR(s.windowWidth, 7200, 1e-9);
    EXPECT_NEAR(s.windowHeight, 4866.67, 1e-9);
}

TEST(PlaybackText, TimesWithoutARateAreZero)
{
    EXPECT_DOUBLE_EQ(sampleTime(11, 200), 0.05);
    EXPECT_DOUBLE_EQ(sampleTime(11, 0), 0);
    EXPECT_DOUBLE_EQ(sampleTime(1, 0), 0);
}

TEST(PlaybackText, StepAndPauseTexts)
{
    auto t = tableWith(3, 1.5, -2.25, 700, 3, -4, 0.5);
    t->Mz[3] = 1.25f;
    t->RecordNo[3] = 13;
    const QString step = stepDialogText(*t, 3, 200, "\n");
    EXPECT_EQ(step.split('\n'),
              QStringList({"Frame is 3  Record is 13  Time is     0.0100 s",
                           "Fx =    1.5000  Fy =   -2.2500  Fz =  700.0000",
                           "Ax =    3.0000  Ay =   -4.0000  Az =    0.5000", "Mz =    1.2500",
                           "Press yes to continue, no to animate or cancel to exit."}));

    // Past the last record the values are the last record's, the time the running one's.
    const QStringList pause = pauseDialogText(*t, 5, 0, "\n").split('\n');
    ASSERT_EQ(pause.size(), 5);
    EXPECT_EQ(pause[0], "Frame is 3  Record is 13  Time is     0.0000 s");
    EXPECT_EQ(pause[4], "Press OK to continue or cancel to exit.");
    EXPECT_EQ(pauseDialogText(*t, 5, 100, "\n").split('\n')[0],
              "Frame is 3  Record is 13  Time is     0.0400 s");

    struct Clamp {
        int current, count, shown;
    };
    for (const Clamp& c :
         {Clamp{0, 10, 1}, Clamp{11, 10, 10}, Clamp{4, 10, 4}, Clamp{3, 0, 0}, Clamp{3, -1, 0}})
        EXPECT_EQ(pauseRecord(c.current, c.count), c.shown) << c.current << " of " << c.count;
}
