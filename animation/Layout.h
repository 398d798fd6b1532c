#pragma once

// The animation window's layout in twips: where resizing puts the picture, the axis
// labels, the row of option frames and the buttons, and the size of the small layout.

namespace anim
{

inline constexpr int MinimumWindowWidth = 10000;
inline constexpr int MinimumWindowHeight = 8100;
inline constexpr int PictureLeft = 120;
inline constexpr int PictureTop = 240;
inline constexpr int FrameRowHeight = 1695; // every option frame, "Animation" first
inline constexpr int TitleFrameHeight = 855;
inline constexpr int SmallMargin = 50;

struct ResizeLayout {
    // The outer window size the window must have (the minimum applied).
    int windowWidth = 0;
    int windowHeight = 0;
    double pictureWidth = 0;
    double pictureHeight = 0;
    double abscissaLeft = 0;
    double abscissaTop = 0;
    double ordinateLeft = 0;
    double ordinateTop = 0;
    int rowTop = 0; // top of the option frames
    int printTop = 0;
    int smallTop = 0;
    int okTop = 0;
    double titleTop = 0;
    double sizingLeft = 0;
};

// The layout for an outer window size; positions are in the client area.
ResizeLayout resizeLayout(int windowWidth, int windowHeight);

struct SmallLayout {
    int pictureLeft = SmallMargin;
    int pictureTop = SmallMargin;
    double windowWidth = 0; // outer
    double windowHeight = 0;
};

SmallLayout smallLayout(double pictureWidth, double pictureHeight);

} // namespace anim
