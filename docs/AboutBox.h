#pragma once

class QWidget;
class frmAbout;
struct Platform;
struct SharedState;

// The About box, shown without waiting: from the Help menu, a double click on the
// main window's background, and as the start-up splash.
void showAbout(SharedState& state, Platform& platform, QWidget* mainWindow);
void hideAbout();
// The About box while it is loaded, else null.
frmAbout* aboutWindow();
