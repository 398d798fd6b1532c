// Comparing trials: Ctrl+T and the last item of the Programs menu open the compare
// window on the data directory.

#include "animation/compare/frmCompare.h"
#include "core/SharedState.h"
#include "main/frmOrvane.h"

#include <QAction>
#include <QMenu>
#include <QShortcut>

void frmOrvane::setupCompareTrials()
{
    mnuPrograms->addSeparator();
    mnuCompare = mnuPrograms->addAction("&Compare Trials");
    mnuCompare->setObjectName("mnuCompare");
    // Shown beside the item; the window shortcut below is what fires, as for Ctrl+G.
    mnuCompare->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    mnuCompare->setShortcutContext(Qt::WidgetShortcut);
    connect(mnuCompare, &QAction::triggered, this, &frmOrvane::mnuCompare_Click);

    auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_T), this);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, &frmOrvane::mnuCompare_Click);
}

void frmOrvane::mnuCompare_Click()
{
    showCompare(m_state, m_platform);
}
