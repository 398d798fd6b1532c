#pragma once

// The controls every window places by twips, named and described the same way so
// screen readers and tests find them.

#include <QString>

class QLabel;
class QPushButton;
class QWidget;

// A caption or value label, wrapped and aligned to its top left corner.
QLabel* makeLabel(QWidget* parent, const QString& name, const QString& caption, int left, int top,
                  int width, int height);
// A button whose tooltip also describes it to screen readers.
QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption,
                        const QString& tip, int left, int top, int width, int height);
