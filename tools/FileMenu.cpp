#include "core/Library.h"
#include "core/MainWindowLink.h"
#include "core/PrintWindow.h"
#include "core/ProgramLaunch.h"
#include "core/SharedState.h"
#include "platform/ArgumentText.h"
#include "platform/FileErrors.h"
#include "tools/Commands.h"
#include "tools/Launch.h"
#include "tools/MenuItems.h"
#include "tools/ToolMenus.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace
{
// A sibling program: the settings application it reads its data directory from, and
// its file in the program directory.
struct Sibling {
    const char* application;
    const char* program;
};
constexpr Sibling KinemoraProgram{"Kinemora", "kqwin98.exe"};
constexpr Sibling TesselProgram{"Tessel2", "tessel2.exe"};
constexpr Sibling EditorProgram{"Kinemora", "ctledit.exe"};
constexpr Sibling PictorProgram{"Kinemora", "pictor98.exe"};

void startSibling(MainWindowLink& window, const Sibling& sibling)
{
    // The sibling opens where the user is working now.
    window.platform().settings.save(sibling.application, "Startup", "Datadir",
                                    window.state().DataDir);
    startProgram(window, toolPathFor(window, sibling.program), splitArgumentText(SiblingArguments));
}
} // namespace

void ToolMenus::buildFileMenu(QMenu* mnuFile, QAction* mnuExit)
{
    QWidget* owner = m_window.parentWindow();
    const char* opens[] = {"&Open a directory", "E&xplore current directory",
                           "&Rename current file"};
    for (int i = 0; i < 3; ++i) {
        mnuOpen[i] = addMenuItem(mnuFile, opens[i], itemName("mnuOpen", i));
        QObject::connect(mnuOpen[i], &QAction::triggered, owner, [this, i] { mnuOpen_Click(i); });
    }
    mnuOpen[2]->setEnabled(false);
    mnuFile->addSeparator()->setObjectName("mnuBar");
    const char* accessories[] = {"&Calculator", "&DOS prompt", "&Explorer", "&Notepad"};
    for (int i = 0; i < 4; ++i) {
        mnuDOS[i] = addMenuItem(mnuFile, accessories[i], itemName("mnuDOS", i));
        QObject::connect(mnuDOS[i], &QAction::triggered, owner, [this, i] { mnuDOS_Click(i); });
    }
    mnuRun = addMenuItem(mnuFile, "&Run a program", "mnuRun");
    mnuFile->addSeparator()->setObjectName("mnuBar2");
    mnuPrint = addMenuItem(mnuFile, "&Print", "mnuPrint");
    mnuPrintSetup = addMenuItem(mnuFile, "Printer Set&up", "mnuPrintSetup");
    mnuFile->addSeparator()->setObjectName("mnuBar1");
    mnuFile->addAction(mnuExit);
    QObject::connect(mnuRun, &QAction::triggered, owner, [this] { mnuRun_Click(); });
    QObject::connect(mnuPrint, &QAction::triggered, owner, [this] { mnuPrint_Click(); });
    QObject::connect(mnuPrintSetup, &QAction::triggered, owner, [this] { mnuPrintSetup_Click(); });
    QObject::connect(mnuFile, &QMenu::aboutToShow, owner, [this] { mnuFile_Click(); });
}

void ToolMenus::connectToolButtons(const ToolButtons& buttons)
{
    QWidget* owner = m_window.parentWindow();
    QObject::connect(buttons.cmdKinemora, &QPushButton::clicked, owner,
                     [this] { cmdKinemora_Click(); });
    QObject::connect(buttons.cmdTessel, &QPushButton::clicked, owner,
                     [this] { cmdTessel_Click(); });
    QObject::connect(buttons.cmdEditor, &QPushButton::clicked, owner,
                     [this] { cmdEditor_Click(); });
    QObject::connect(buttons.cmdPictor, &QPushButton::clicked, owner,
                     [this] { cmdPictor_Click(); });
}

void ToolMenus::mnuFile_Click()
{
    if (!m_state.ForceFile.isEmpty())
        mnuOpen[2]->setEnabled(true);
}

void ToolMenus::mnuOpen_Click(int index)
{
    SharedState& s = m_state;
    refreshList(m_panels, panels().filModels);
    for (QWidget* w : std::initializer_list<QWidget*>{panels().drvDrives, panels().dirSelect,
                                                      panels().filModels, panels().lblModels,
                                                      panels().filDatafiles, panels().lblDatafiles})
        w->setVisible(true);
    switch (index) {
    case 1:
        openFromWindow(m_window, "explore", QString(), QString(), s.DataDir,
                       WindowStyle::NormalFocus);
        break;
    case 2: {
        FileDialogRequest request;
        request.initialDir = m_panels.openDialogDir();
        request.fileName = s.ForceFile;
        request.title = "Rename file";
        // The rename itself refuses an existing name; asking to replace it would mislead.
        request.overwritePrompt = false;
        // Cancelling leaves the preset name, which then names a file that exists.
        CurrentFile = m_platform.dialogs.saveFile(request).value_or(request.fileName);
        if (CurrentFile.isEmpty())
            break;
        const int error = m_platform.files.rename(m_platform.files.resolve(s.DataDir, s.ForceFile),
                                                  QDir(s.DataDir).filePath(CurrentFile));
        if (error != FileError::None) {
            m_platform.dialogs.message(renameErrorText(s.ForceFile, error,
                                                       QString::fromStdString(fileErrorText(error)),
                                                       s.LF),
                                       {}, MessageIcon::Exclamation, MessageButtons::OK);
            return;
        }
        m_panels.cmdRefresh_Click();
        break;
    }
    default:
        break;
    }
}

void ToolMenus::mnuDOS_Click(int index)
{
    switch (index) {
    case 0:
        startProgram(m_window, "calc.exe", {});
        break;
    case 1:
        startProgram(m_window, "command.com", {}, WindowStyle::Maximized);
        break;
    case 2:
        startProgram(m_window, "explorer.exe", {});
        break;
    case 3:
        shellOpen(m_window, NotepadProgram, {});
        break;
    default:
        break;
    }
}

void ToolMenus::mnuRun_Click()
{
    SharedState& s = m_state;
    FileDialogRequest request;
    request.initialDir = s.ProgramDir;
    request.fileName = ProgramPattern;
    request.filter = ProgramPattern;
    request.title = "Select program to run";
    const std::optional<QString> chosen = m_platform.dialogs.openFile(request);
    if (!chosen)
        return;
    CurrentFile = *chosen;
    showCommand(m_window, CurrentFile);
    if (!CurrentFile.isEmpty()) {
        ToolName = CurrentFile;
        ToolPath = CurrentFile;
        if (CheckOpen(s, m_platform, QString(), ToolPath, 0) == FileError::FileNotFound)
            return;
        startProgram(m_window, ToolPath, {});
        CurrentFile.clear();
    }
    m_platform.files.setCurrentDir(s.DataDir);
    m_panels.openDialogDir() = s.DataDir;
}

void ToolMenus::mnuPrint_Click()
{
    if (!ConfirmPrint(m_state, m_platform))
        return;
    printWindow(m_window.parentWindow(), m_state, m_platform,
                [this](const QString& line) { m_window.showStatus(line); });
}

void ToolMenus::mnuPrintSetup_Click()
{
    m_platform.dialogs.printerSetup();
}

void ToolMenus::cmdKinemora_Click()
{
    startSibling(m_window, KinemoraProgram);
}

void ToolMenus::cmdTessel_Click()
{
    startSibling(m_window, TesselProgram);
}

void ToolMenus::cmdEditor_Click()
{
    startSibling(m_window, EditorProgram);
}

void ToolMenus::cmdPictor_Click()
{
    startSibling(m_window, PictorProgram);
}
