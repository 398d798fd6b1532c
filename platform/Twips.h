#pragma once

// Window positions and sizes are kept in twips (1/1440 inch), as the suite's
// layouts are written; these convert them at the screen's logical resolution.

#include <QRect>

class QWidget;

int twipsToPixels(int twips);
int pixelsToTwips(int pixels);
QRect twipsToPixels(const QRect& twips);
// Places a child at left, top, width, height given in twips.
void placeTwips(QWidget* widget, int left, int top, int width, int height);
// Sets the size of a window's client area in twips.
void resizeTwips(QWidget* widget, int width, int height);

// The layouts in twips were drawn for an 8-point dialog font; a larger desktop font
// would cut their captions.
void setClassicFont();
