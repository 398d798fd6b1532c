#pragma once

// Short-lived messages shown where the user is looking: a status panel that returns to
// its notice, and a line over a window that has no status bar.

#include <QString>

class QLabel;
class QWidget;

// How long a message stays before the panel's own notice or the window comes back.
inline constexpr int NoticeMilliseconds = 6000;

// Shows `text` in `panel`, and `notice` again after a while unless another text has
// taken its place meanwhile. A text too long for the panel is elided in the middle;
// its tooltip and accessible name hold it whole.
void showPanelText(QLabel* panel, const QString& text, const QString& notice);

// The text last given to `showPanelText`, before any elision.
QString panelWholeText(const QLabel* panel);

// Shows `text` along the bottom of `window` for a while, without taking the focus;
// screen readers announce it as an alert.
void showWindowNotice(QWidget* window, const QString& text);

// The notice line `showWindowNotice` put over `window`, or null.
QLabel* windowNotice(QWidget* window);
