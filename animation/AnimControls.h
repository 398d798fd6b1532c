#pragma once

// The controls of the animation window, made and placed in twips as its design gives
// them, and the virtual-key codes of the keys it answers.

#include "platform/Twips.h"

#include <QString>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace anim
{

template <typename W> W* placed(W* widget, int left, int top, int width, int height)
{
    placeTwips(widget, left, top, width, height);
    return widget;
}

QLabel* label(QWidget* parent, const QString& text, int left, int top, int width, int height);
QLineEdit* textBox(QWidget* parent, const QString& accessibleName, const QString& toolTip, int left,
                   int top, int width, int height);
QGroupBox* frame(QWidget* parent, const QString& caption, const QString& toolTip, int left, int top,
                 int width, int height);
QPushButton* button(QWidget* parent, const QString& caption, const QString& toolTip, int left,
                    int top, int width, int height);
// Moves a widget to a position in twips given as reals, keeping its size.
void moveTwips(QWidget* widget, double left, double top);
// Virtual-key codes of the keys the window answers.
int virtualKey(int qtKey);

template <typename B>
B* choice(QWidget* parent, const QString& caption, const QString& toolTip, int left, int top,
          int width, int height)
{
    auto* b = placed(new B(caption, parent), left, top, width, height);
    b->setToolTip(toolTip);
    return b;
}

} // namespace anim
