#include "animation/AnimControls.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <cmath>

namespace anim
{

QLabel* label(QWidget* parent, const QString& text, int left, int top, int width, int height)
{
    return placed(new QLabel(text, parent), left, top, width, height);
}

QLineEdit* textBox(QWidget* parent, const QString& accessibleName, const QString& toolTip, int left,
                   int top, int width, int height)
{
    auto* box = placed(new QLineEdit(parent), left, top, width, height);
    box->setAccessibleName(accessibleName);
    box->setToolTip(toolTip);
    return box;
}

QGroupBox* frame(QWidget* parent, const QString& caption, const QString& toolTip, int left, int top,
                 int width, int height)
{
    auto* f = placed(new QGroupBox(caption, parent), left, top, width, height);
    f->setToolTip(toolTip);
    return f;
}

QPushButton* button(QWidget* parent, const QString& caption, const QString& toolTip, int left,
                    int top, int width, int height)
{
    auto* b = placed(new QPushButton(caption, parent), left, top, width, height);
    if (!toolTip.isEmpty())
        b->setToolTip(toolTip);
    return b;
}

// Moves a widget to a position in twips given as reals, keeping its size.
void moveTwips(QWidget* widget, double left, double top)
{
    widget->move(twipsToPixels(int(std::lround(left))), twipsToPixels(int(std::lround(top))));
}

// Virtual-key codes of the keys the window answers.
int virtualKey(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_F1:
        return 112;
    case Qt::Key_F2:
        return 113;
    case Qt::Key_F3:
        return 114;
    case Qt::Key_F4:
        return 115;
    case Qt::Key_Space:
        return 32;
    default:
        return 0;
    }
}

} // namespace anim
