#include "animation/Layout.h"

#include <algorithm>
#include <cmath>

namespace anim
{

namespace
{
// The title frame sits this far below the picture top plus its height.
constexpr double TitleGap = 250;
// The title frame may end this much below the top of the frame row: the frames'
// top edges are blank, and the window was designed with that overlap.
constexpr double TitleOverlap = 20;
} // namespace

ResizeLayout resizeLayout(int windowWidth, int windowHeight)
{
    ResizeLayout l;
    l.windowWidth = std::max(windowWidth, MinimumWindowWidth);
    l.windowHeight = std::max(windowHeight, MinimumWindowHeight);
    l.rowTop = int(std::lround(l.windowHeight - (FrameRowHeight + 650.0)));

    l.pictureHeight = l.windowHeight - 2700.0;
    l.pictureWidth = l.pictureHeight * 1.5;
    if (l.windowWidth - 3000.0 < l.pictureWidth) {
        l.pictureWidth = l.windowWidth - 3000.0;
        l.pictureHeight = l.pictureWidth / 1.5;
    }
    // A window much wider than tall would push the title frame with the frame and
    // record readouts over the option frames; the picture gives way instead.
    const double tallest = l.rowTop + TitleOverlap - TitleGap - TitleFrameHeight;
    if (l.pictureHeight > tallest) {
        l.pictureHeight = tallest;
        l.pictureWidth = tallest * 1.5;
    }

    l.abscissaTop = PictureTop - 250.0;
    l.abscissaLeft = PictureLeft + l.pictureWidth / 2;
    l.ordinateTop = PictureTop + l.pictureHeight / 2;
    l.ordinateLeft = PictureLeft + l.pictureWidth + 25;
    l.printTop = l.rowTop + 100;
    l.smallTop = l.rowTop + 600;
    l.okTop = l.rowTop + 1200;
    l.titleTop = l.pictureHeight + TitleGap;
    l.sizingLeft = l.pictureWidth + 300;
    return l;
}

SmallLayout smallLayout(double pictureWidth, double pictureHeight)
{
    SmallLayout s;
    s.windowWidth = pictureWidth + 200;
    s.windowHeight = pictureHeight + 200;
    return s;
}

} // namespace anim
