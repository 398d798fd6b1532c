#pragma once

// Captions the animation window shows in more than one state, and its number formats.

#include <QString>

class QComboBox;

namespace anim
{

inline constexpr const char* ReverseYCaption = "Reverse Y";
inline constexpr const char* ReverseXCaption = "Reverse X";
inline constexpr const char* PlusXLabel = "+ X";
inline constexpr const char* PlusYLabel = "+ Y";
inline constexpr const char* PlusZLabel = "+Z";

// What a view shows around the picture: the labels above and right of it, the
// caption of the first reversal frame (empty: unchanged) and whether the "Reverse X"
// frame stands in place of the plate frame.
struct ViewCaptions {
    QString abscissa;
    QString ordinate;
    QString reverseCaption;
    bool reverseXShown = false;
};
ViewCaptions viewCaptions(int view);

// Shows `text` in a drop-down list's box and highlights the entry that reads so;
// a value that is no entry (a stored delay of 7) highlights none.
void showListText(QComboBox* list, const QString& text);

// Scales, the sampling rate and the body weight: two decimals after a blank.
QString valueText(double value);
// The custom view's angles: one decimal after a blank.
QString angleText(double value);

} // namespace anim
