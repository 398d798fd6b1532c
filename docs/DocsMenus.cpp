#include "docs/DocsRules.h"
#include "docs/frmReader.h"
#include "docs/frmViewer.h"
#include "core/Library.h"
#include "core/SharedState.h"
#include "main/frmOrvane.h"
#include "platform/Platform.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QPushButton>

void frmOrvane::buildDocsMenus()
{
    for (int i = 0; i < static_cast<int>(ManualItems.size()); ++i) {
        mnuManual[i] = mnuManuals->addAction(QString::fromLatin1(ManualItems[i].caption));
        mnuManual[i]->setObjectName(QString("mnuManual%1").arg(i));
        connect(mnuManual[i], &QAction::triggered, this, [this, i] { mnuManual_Click(i); });
    }
    connect(mnuManuals, &QMenu::aboutToShow, this, &frmOrvane::mnuManuals_Click);

    for (int i = 0; i < static_cast<int>(HelpItems.size()); ++i) {
        mnuHelpItem[i] = mnuHelp->addAction(QString::fromLatin1(HelpItems[i].caption));
        mnuHelpItem[i]->setObjectName(QString("mnuHelpItem%1").arg(i));
        connect(mnuHelpItem[i], &QAction::triggered, this, [this, i] { mnuHelpItem_Click(i); });
    }
    mnuHelp->addSeparator();
    mnuHelp->addAction(mnuProgHelp);
    mnuHelp->addSeparator();
    mnuHelp->addAction(mnuAbout);
    connect(mnuHelp, &QMenu::aboutToShow, this, &frmOrvane::mnuHelp_Click);

    connect(cmdGuide, &QPushButton::clicked, this, &frmOrvane::cmdGuide_Click);
    connect(cmdManuals, &QPushButton::clicked, this, &frmOrvane::cmdManuals_Click);
}

void frmOrvane::mnuManuals_Click()
{
    for (int i = 0; i < static_cast<int>(ManualItems.size()); ++i) {
        const QString file = QString::fromLatin1(ManualItems[i].file);
        mnuManual[i]->setEnabled(file.isEmpty() ||
                                 CheckOpen(state(), platform(), state().ManualsDir, file, 0) == 0);
    }
}

void frmOrvane::mnuManual_Click(int index)
{
    if (index < 0 || index >= static_cast<int>(ManualItems.size()))
        return;
    SharedState& s = state();
    s.ManualFile = QString::fromLatin1(ManualItems[index].file);
    // The desktop is handed the name as it is on disk, whatever its case.
    QString onDisk = s.ManualFile;
    if (!onDisk.isEmpty())
        onDisk = QFileInfo(platform().files.resolve(s.ManualsDir, onDisk)).fileName();
    s.LastResult = platform().launcher.shellExecute(this, "open", onDisk, QString(), s.ManualsDir,
                                                    WindowStyle::NormalFocus);
}

void frmOrvane::cmdManuals_Click()
{
    mnuManual_Click(OwnManualItem);
}

void frmOrvane::cmdGuide_Click()
{
    state().ManualFile = QString::fromLatin1(ManualItems[OwnManualItem].file);
    if (!Reader)
        Reader = new frmReader(state(), platform(), this);
    Reader->showManual();
}

void frmOrvane::mnuHelp_Click()
{
    for (int i = 0; i < static_cast<int>(HelpItems.size()); ++i) {
        const QString tested = QString::fromLatin1(HelpItems[i].tested);
        mnuHelpItem[i]->setEnabled(CheckOpen(state(), platform(), state().ProgramDir, tested, 0) ==
                                   0);
    }
}

void frmOrvane::mnuHelpItem_Click(int index)
{
    if (index < 0 || index >= static_cast<int>(HelpItems.size()))
        return;
    SharedState& s = state();
    const QString shown = QString::fromLatin1(HelpItems[index].shown);
    s.OpenError = CheckOpen(s, platform(), s.ProgramDir, shown, 1);
    if (s.OpenError != 0)
        return;
    s.ViewerFile = platform().files.resolve(s.ProgramDir, shown);
    if (!Viewer)
        Viewer = new frmViewer(s, platform(), this);
    Viewer->showFile();
}
