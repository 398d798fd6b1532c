#include "forcedata/RawListing.h"
#include "forcedata/frmReading.h"
#include "main/frmOrvane.h"

void frmOrvane::cmdViewForces_Click()
{
    // The listing waits for the read to end rather than list a half-read table.
    if (m_readingNow)
        return;
    if (frmReading* reading = readingDialog())
        reading->close();
    showRawListing(m_state, m_platform);
}
