#include "animation/graphs/frmGraphs.h"
#include "core/SharedState.h"
#include "forcedata/frmReading.h"
#include "main/frmOrvane.h"
#include "platform/Platform.h"

void frmOrvane::cmdGraphs_Click()
{
    // As Ctrl+A: nothing while a read runs, whose table is half filled.
    if (m_readingNow)
        return;
    if (m_state.LoadedForceFile.isEmpty()) {
        m_platform.dialogs.message("No force data has been read yet: choose a force file and "
                                   "load it first.",
                                   {}, MessageIcon::Exclamation, MessageButtons::OK);
        return;
    }
    if (m_reading)
        m_reading->close();
    showGraphs(m_state, m_platform);
}
