#include "core/SharedState.h"
#include "forcedata/ExportFile.h"
#include "forcedata/frmRF.h"

#include <QListWidget>
#include <QMenu>

void frmRF::lstRFforces_ContextMenu(const QPoint& at)
{
    if (!mnuListing) {
        mnuListing = new QMenu(this);
        mnuListing->setObjectName("mnuListing");
        mnuListing->addAction(SaveCsvCommand, this, [this] {
            saveNumbersAsCsv(m_state, m_platform, 1, ForceTable::RecordCapacity);
        });
    }
    mnuListing->popup(lstRFforces->viewport()->mapToGlobal(at));
}
