#include "animation/AnimationText.h"
#include "core/NumberText.h"

#include <QComboBox>

namespace anim
{

ViewCaptions viewCaptions(int view)
{
    switch (view) {
    case 0:
        return {"+X", PlusYLabel, ReverseYCaption, true};
    case 1:
        return {PlusZLabel, PlusYLabel, ReverseYCaption, false};
    case 2:
        return {PlusZLabel, PlusXLabel, ReverseXCaption, false};
    default:
        // The custom views are rotated: no axis is named.
        return {" ", " ", QString(), false};
    }
}

void showListText(QComboBox* list, const QString& text)
{
    list->setCurrentIndex(list->findText(text));
    list->setEditText(text);
}

QString valueText(double value)
{
    return QString::fromStdString(formatNumber(value, " ###0.00"));
}

QString angleText(double value)
{
    return QString::fromStdString(formatNumber(value, " ###0.0"));
}

} // namespace anim
