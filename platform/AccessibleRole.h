#pragma once

// Screen readers take a plain top-level widget for a "filler" inside some other
// window. The program's own windows say what they are: a window (a frame) or a
// dialog box.

class QWidget;

enum class AccessibleRole { Frame, Dialog };

void setAccessibleRole(QWidget* window, AccessibleRole role);
