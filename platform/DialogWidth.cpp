#include "platform/DialogWidth.h"

#include <QApplication>
#include <QBoxLayout>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

int widthForTitle(const QString& title)
{
    // Title bars often use a bolder font than the window: a fifth more, plus the
    // window's icon, three buttons and the margins.
    constexpr int TitleBarExtras = 150;
    const QFontMetrics metrics(QApplication::font());
    return metrics.horizontalAdvance(title) * 6 / 5 + TitleBarExtras;
}

void widenForTitle(QMessageBox& box)
{
    // A message box fixes its own size from its layout's minimum, so the room is a
    // spacer across the foot of its grid.
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid)
        return;
    grid->addItem(new QSpacerItem(widthForTitle(box.windowTitle()), 0, QSizePolicy::Minimum,
                                  QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

void widenForTitle(QWidget& dialog)
{
    // Dialogs whose layout sets their size take the room as an item of it.
    const int width = widthForTitle(dialog.windowTitle());
    dialog.minimumSizeHint(); // an input dialog builds its layout on first asking
    if (auto* box = qobject_cast<QBoxLayout*>(dialog.layout()))
        box->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed));
    else
        dialog.setMinimumWidth(width);
}
