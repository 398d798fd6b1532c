#include "forcedata/RawListing.h"
#include "forcedata/frmReading.h"
#include "main/frmOrvane.h"

void frmOrvane::cmdViewForces_Click()
{
    if (frmReading* reading = readingDialog())
        reading->close();
    showRawListing(m_state, m_platform);
}
