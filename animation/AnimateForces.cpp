#include "animation/AnimateForces.h"

// Placeholder until the animation window arrives.
void showAnimation(SharedState&, Platform&) {}
void hideAnimation() {}
void closeAnimation() {}
