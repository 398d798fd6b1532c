#pragma once

struct Platform;
struct SharedState;

// The raw listing of the force table, recreated for every view.
void showRawListing(SharedState& state, Platform& platform);
void hideRawListing();
