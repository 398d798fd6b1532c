#include "animation/PictureBox.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace
{

// A 160 x 120 pixel picture with the top view's coordinates: 2 pixels per unit.
struct Picture : testing::Test {
    Picture()
    {
        box.resize(160, 120);
        box.setScale({-40, -30}, {40, 30});
        box.cls();
    }
    PictureBox box;
};

using Kind = PictureBox::Primitive::Kind;

} // namespace

TEST_F(Picture, UserCoordinatesMapCornersToPixels)
{
    EXPECT_EQ(box.toPixels({-40, -30}), QPointF(0, 0));
    EXPECT_EQ(box.toPixels({40, 30}), QPointF(160, 120));
    EXPECT_EQ(box.toPixels({0, 0}), QPointF(80, 60));
    // Upwards-growing coordinates, as the side view sets them.
    box.setScale({-40, 30}, {40, -5});
    EXPECT_EQ(box.toPixels({0, 30}), QPointF(80, 0));
    EXPECT_EQ(box.toPixels({0, -5}), QPointF(80, 120));
}

TEST_F(Picture, DrawingStaysUntilClearedAndIsRecordedInUserCoordinates)
{
    box.line({-20, 0}, {20, 0}, QColor(255, 0, 0));
    box.setDrawWidth(2);
    box.line({0, -20}, {0, 20}, QColor(0, 255, 255));
    box.setDrawWidth(1);
    box.box({-30, -20}, {30, 20}, QColor(0, 0, 255));
    box.filledBox({-10, 25}, {10, 28}, QColor(0, 0, 255));

    const std::vector<PictureBox::Primitive> expected = {
        {Kind::Line, {-20, 0}, {20, 0}, QColor(255, 0, 0), 1},
        {Kind::Line, {0, -20}, {0, 20}, QColor(0, 255, 255), 2},
        {Kind::Box, {-30, -20}, {30, 20}, QColor(0, 0, 255), 1},
        {Kind::FilledBox, {-10, 25}, {10, 28}, QColor(0, 0, 255), 1},
    };
    EXPECT_EQ(box.primitives(), expected);
    EXPECT_EQ(box.colourAt({-10, 0}), QColor(255, 0, 0));
    EXPECT_EQ(box.colourAt({0, -10}), QColor(0, 255, 255));
    EXPECT_EQ(box.colourAt({0, 26.5}), QColor(0, 0, 255));
    EXPECT_EQ(box.colourAt({-30, 0}), QColor(0, 0, 255)) << "outline";
    EXPECT_EQ(box.colourAt({-25, 10}), QColor(0, 0, 0)) << "inside an outline";

    box.cls();
    EXPECT_TRUE(box.primitives().empty());
    EXPECT_EQ(box.colourAt({-10, 0}), QColor(0, 0, 0));
}

TEST_F(Picture, ABlackLineErasesExactlyWhatTheSameLineDrew)
{
    box.line({-33, -17}, {27, 21}, QColor(255, 0, 0));
    box.line({-33, -17}, {27, 21}, QColor(0, 0, 0));
    const QImage& image = box.image();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ASSERT_EQ(image.pixelColor(x, y), QColor(0, 0, 0)) << x << "," << y;
    // It also erases anything else under it, such as the plate outline.
    box.box({-30, -20}, {30, 20}, QColor(0, 0, 255));
    box.line({-30, -25}, {-30, 25}, QColor(0, 0, 0));
    EXPECT_EQ(box.colourAt({-30, 0}), QColor(0, 0, 0));
    EXPECT_EQ(box.colourAt({30, 0}), QColor(0, 0, 255));
}

TEST_F(Picture, CoordinatesFarOutsideOrNotFiniteAreSafe)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    box.line({0, 0}, {1e300, -1e300}, QColor(255, 0, 0));
    box.line({0, 0}, {inf, 0}, QColor(255, 0, 0));
    box.line({nan, 0}, {0, 0}, QColor(255, 0, 0));
    box.box({-1e12, -1e12}, {1e12, 1e12}, QColor(0, 0, 255));
    box.filledBox({-inf, 0}, {0, 1}, QColor(0, 0, 255));
    EXPECT_EQ(box.primitives().size(), 5u);
    // The first line still shows where it crosses the picture.
    EXPECT_EQ(box.colourAt({5, -5}), QColor(255, 0, 0));
}

TEST_F(Picture, ResizingRedrawsTheDrawingAtTheNewSize)
{
    box.line({-40, 0}, {40, 0}, QColor(255, 0, 0));
    box.resize(320, 240);
    EXPECT_EQ(box.image().size(), QSize(320, 240));
    EXPECT_EQ(box.colourAt({35, 0}), QColor(255, 0, 0));
    EXPECT_EQ(box.toPixels({40, 30}), QPointF(320, 240));
}

TEST_F(Picture, ASnapshotComesBackOnlyToTheSameDrawingAtTheSameSize)
{
    box.line({-20, 0}, {20, 0}, QColor(255, 0, 0));
    const PictureBox::Snapshot kept = box.snapshot();
    const QImage keptImage = box.image().copy();
    const auto keptPrimitives = box.primitives();

    // Drawn on and then back: the later drawing is gone from the image and the record.
    box.setScale({-10, -10}, {10, 10});
    box.setDrawWidth(3);
    box.line({0, -20}, {0, 20}, QColor(0, 255, 255));
    ASSERT_TRUE(box.restore(kept));
    EXPECT_TRUE(box.image() == keptImage);
    EXPECT_TRUE(box.primitives() == keptPrimitives);
    EXPECT_EQ(box.toPixels({40, 30}), QPointF(160, 120)) << "the scale as it was";
    EXPECT_EQ(box.drawWidth(), 1);
    box.line({0, -20}, {0, 20}, QColor(0, 255, 255));
    EXPECT_TRUE(box.restore(kept)) << "once more, the snapshot untouched by drawing";
    EXPECT_TRUE(box.image() == keptImage);

    struct Refusal {
        const char* name;
        std::function<void(PictureBox&)> change;
    } refusals[] = {
        {"cleared since", [](PictureBox& b) { b.cls(); }},
        {"cleared and drawn again alike",
         [](PictureBox& b) {
             b.cls();
             b.line({-20, 0}, {20, 0}, QColor(255, 0, 0));
             b.line({-20, 5}, {20, 5}, QColor(255, 0, 0));
         }},
        {"another size", [](PictureBox& b) { b.resize(200, 90); }},
    };
    for (const Refusal& r : refusals) {
        PictureBox other;
        other.resize(160, 120);
        other.setScale({-40, -30}, {40, 30});
        other.cls();
        other.line({-20, 0}, {20, 0}, QColor(255, 0, 0));
        const PictureBox::Snapshot s = other.snapshot();
        r.change(other);
        const QImage before = other.image().copy();
        const auto primitives = other.primitives();
        EXPECT_FALSE(other.restore(s)) << r.name;
        EXPECT_TRUE(other.image() == before) << r.name;
        EXPECT_TRUE(other.primitives() == primitives) << r.name;
    }
}
