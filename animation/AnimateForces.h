#pragma once

struct Platform;
struct SharedState;

// The animation window keeps its state while hidden and is rebuilt only after its
// close box; these show it, hide it after a new read, and end it with the program.
void showAnimation(SharedState& state, Platform& platform);
void hideAnimation();
void closeAnimation();
