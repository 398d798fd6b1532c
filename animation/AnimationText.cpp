#include "animation/AnimationText.h"
#include "main/NumberText.h"

namespace anim
{

QString valueText(double value)
{
    return QString::fromStdString(formatNumber(value, " ###0.00"));
}

QString angleText(double value)
{
    return QString::fromStdString(formatNumber(value, " ###0.0"));
}

} // namespace anim
