#pragma once

// Captions the animation window shows in more than one state, and its number formats.

#include <QString>

namespace anim
{

inline constexpr const char* ReverseYCaption = "Reverse Y";
inline constexpr const char* ReverseXCaption = "Reverse X";
inline constexpr const char* PlusXLabel = "+ X";
inline constexpr const char* PlusYLabel = "+ Y";
inline constexpr const char* PlusZLabel = "+Z";

// Scales, the sampling rate and the body weight: two decimals after a blank.
QString valueText(double value);
// The custom view's angles: one decimal after a blank.
QString angleText(double value);

} // namespace anim
