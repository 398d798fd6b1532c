#pragma once

// How the rest of the program opens and closes the animation window. The window is
// created at its first opening, keeps its state while hidden, and is built anew only
// after the user closed it with its close box.

struct Platform;
struct SharedState;
class frmAnimForces;

// Shows and activates the animation window, creating it first if needed; activation
// starts the playback of the trial in the force table.
void showAnimation(SharedState& state, Platform& platform);
// Hides the window if it is shown (a new trial was read); a playback goes on hidden.
void hideAnimation();
// Closes the window at the end of the program, saving its settings.
void closeAnimation();
// The window while it is loaded, else null.
frmAnimForces* animationWindow();
