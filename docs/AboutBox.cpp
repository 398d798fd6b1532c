#include "docs/AboutBox.h"

// Placeholder until the About box arrives: nothing to show yet.
void showAbout(SharedState&, Platform&, QWidget*) {}
void hideAbout() {}
