#include "forcedata/RawListing.h"

// Placeholder until the listing window arrives.
void showRawListing(SharedState&, Platform&) {}
void hideRawListing() {}
