#pragma once

// Boxes sized by their text alone can be narrower than their title, which the window
// manager then cuts short. These keep room for the title and the title bar's buttons.

class QMessageBox;
class QString;
class QWidget;

// The least width, in pixels, at which a window shows `title` whole in its title bar.
int widthForTitle(const QString& title);

void widenForTitle(QMessageBox& box);
void widenForTitle(QWidget& dialog);
