#include "forcedata/RawListing.h"

#include "forcedata/frmRF.h"

#include <QPointer>

namespace
{
// The listing of the last view, while it is loaded (hidden windows stay loaded).
QPointer<frmRF> listing;
} // namespace

void showRawListing(SharedState& state, Platform& platform)
{
    // Loaded afresh every time, so it always shows the last read. The old one goes
    // at the next turn of the event loop, never under a handler of its own.
    if (listing)
        listing->close();
    listing = new frmRF(state, platform);
    listing->show();
    listing->raise();
    listing->activateWindow();
}

void hideRawListing()
{
    if (listing)
        listing->hide();
}
