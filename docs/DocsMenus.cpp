#include "docs/DocsMenus.h"

#include "core/Library.h"
#include "core/MainWindowLink.h"
#include "core/SharedState.h"
#include "docs/DocsRules.h"
#include "docs/frmReader.h"
#include "docs/frmViewer.h"
#include "platform/Platform.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QPushButton>

DocsMenus::DocsMenus(MainWindowLink& window) : m_window(window) {}

void DocsMenus::buildDocsMenus(const MenuBar& bar)
{
    QWidget* owner = m_window.parentWindow();
    for (int i = 0; i < static_cast<int>(ManualItems.size()); ++i) {
        mnuManual[i] = bar.mnuManuals->addAction(QString::fromLatin1(ManualItems[i].caption));
        mnuManual[i]->setObjectName(QString("mnuManual%1").arg(i));
        QObject::connect(mnuManual[i], &QAction::triggered, owner,
                         [this, i] { mnuManual_Click(i); });
    }
    QObject::connect(bar.mnuManuals, &QMenu::aboutToShow, owner, [this] { mnuManuals_Click(); });

    for (int i = 0; i < static_cast<int>(HelpItems.size()); ++i) {
        mnuHelpItem[i] = bar.mnuHelp->addAction(QString::fromLatin1(HelpItems[i].caption));
        mnuHelpItem[i]->setObjectName(QString("mnuHelpItem%1").arg(i));
        QObject::connect(mnuHelpItem[i], &QAction::triggered, owner,
                         [this, i] { mnuHelpItem_Click(i); });
    }
    bar.mnuHelp->addSeparator();
    bar.mnuHelp->addAction(bar.mnuProgHelp);
    bar.mnuHelp->addSeparator();
    bar.mnuHelp->addAction(bar.mnuAbout);
    QObject::connect(bar.mnuHelp, &QMenu::aboutToShow, owner, [this] { mnuHelp_Click(); });

    QObject::connect(bar.cmdGuide, &QPushButton::clicked, owner, [this] { cmdGuide_Click(); });
    QObject::connect(bar.cmdManuals, &QPushButton::clicked, owner, [this] { cmdManuals_Click(); });
}

void DocsMenus::mnuManuals_Click()
{
    for (int i = 0; i < static_cast<int>(ManualItems.size()); ++i) {
        const QString file = QString::fromLatin1(ManualItems[i].file);
        mnuManual[i]->setEnabled(file.isEmpty() ||
                                 CheckOpen(m_window.state(), m_window.platform(),
                                           m_window.state().ManualsDir, file, 0) == 0);
    }
}

void DocsMenus::mnuManual_Click(int index)
{
    if (index < 0 || index >= static_cast<int>(ManualItems.size()))
        return;
    SharedState& s = m_window.state();
    s.ManualFile = QString::fromLatin1(ManualItems[index].file);
    // The desktop is handed the name as it is on disk, whatever its case.
    QString onDisk = s.ManualFile;
    if (!onDisk.isEmpty())
        onDisk = QFileInfo(m_window.platform().files.resolve(s.ManualsDir, onDisk)).fileName();
    s.LastResult = m_window.platform().launcher.shellExecute(
        m_window.parentWindow(), "open", onDisk, QString(), s.ManualsDir, WindowStyle::NormalFocus);
}

void DocsMenus::cmdManuals_Click()
{
    mnuManual_Click(OwnManualItem);
}

void DocsMenus::cmdGuide_Click()
{
    m_window.state().ManualFile = QString::fromLatin1(ManualItems[OwnManualItem].file);
    if (!Reader)
        Reader = new frmReader(m_window.state(), m_window.platform(), m_window.parentWindow());
    Reader->showManual();
}

void DocsMenus::mnuHelp_Click()
{
    for (int i = 0; i < static_cast<int>(HelpItems.size()); ++i) {
        const QString tested = QString::fromLatin1(HelpItems[i].tested);
        mnuHelpItem[i]->setEnabled(CheckOpen(m_window.state(), m_window.platform(),
                                             m_window.state().ProgramDir, tested, 0) == 0);
    }
}

void DocsMenus::mnuHelpItem_Click(int index)
{
    if (index < 0 || index >= static_cast<int>(HelpItems.size()))
        return;
    SharedState& s = m_window.state();
    const QString shown = QString::fromLatin1(HelpItems[index].shown);
    s.OpenError = CheckOpen(s, m_window.platform(), s.ProgramDir, shown, 1);
    if (s.OpenError != 0)
        return;
    s.ViewerFile = m_window.platform().files.resolve(s.ProgramDir, shown);
    if (!Viewer)
        Viewer = new frmViewer(s, m_window.platform(), m_window.parentWindow());
    Viewer->showFile();
}
