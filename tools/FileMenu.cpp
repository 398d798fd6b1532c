#include "core/Library.h"
#include "core/PrintWindow.h"
#include "main/ProgramLaunch.h"
#include "core/SharedState.h"
#include "main/frmOrvane.h"
#include "platform/ArgumentText.h"
#include "platform/FileErrors.h"
#include "tools/Commands.h"
#include "tools/Launch.h"
#include "tools/MenuItems.h"

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

void startSibling(frmOrvane& window, const Sibling& sibling)
{
    // The sibling opens where the user is working now.
    window.platform().settings.save(sibling.application, "Startup", "Datadir",
                                    window.state().DataDir);
    startProgram(window, toolPathFor(window, sibling.program), splitArgumentText(SiblingArguments));
}
} // namespace

void frmOrvane::buildFileMenu()
{
    const char* opens[] = {"&Open a directory", "E&xplore current directory",
                           "&Rename current file"};
    for (int i = 0; i < 3; ++i) {
        mnuOpen[i] = addMenuItem(mnuFile, opens[i], itemName("mnuOpen", i));
        connect(mnuOpen[i], &QAction::triggered, this, [this, i] { mnuOpen_Click(i); });
    }
    mnuOpen[2]->setEnabled(false);
    mnuFile->addSeparator()->setObjectName("mnuBar");
    const char* accessories[] = {"&Calculator", "&DOS prompt", "&Explorer", "&Notepad"};
    for (int i = 0; i < 4; ++i) {
        mnuDOS[i] = addMenuItem(mnuFile, accessories[i], itemName("mnuDOS", i));
        connect(mnuDOS[i], &QAction::triggered, this, [this, i] { mnuDOS_Click(i); });
    }
    mnuRun = addMenuItem(mnuFile, "&Run a program", "mnuRun");
    mnuFile->addSeparator()->setObjectName("mnuBar2");
    mnuPrint = addMenuItem(mnuFile, "&Print", "mnuPrint");
    mnuPrintSetup = addMenuItem(mnuFile, "Printer Set&up", "mnuPrintSetup");
    mnuFile->addSeparator()->setObjectName("mnuBar1");
    mnuFile->addAction(mnuExit);
    connect(mnuRun, &QAction::triggered, this, &frmOrvane::mnuRun_Click);
    connect(mnuPrint, &QAction::triggered, this, &frmOrvane::mnuPrint_Click);
    connect(mnuPrintSetup, &QAction::triggered, this, &frmOrvane::mnuPrintSetup_Click);
    connect(mnuFile, &QMenu::aboutToShow, this, &frmOrvane::mnuFile_Click);
}

void frmOrvane::connectToolButtons()
{
    connect(cmdKinemora, &QPushButton::clicked, this, &frmOrvane::cmdKinemora_Click);
    connect(cmdTessel, &QPushButton::clicked, this, &frmOrvane::cmdTessel_Click);
    connect(cmdEditor, &QPushButton::clicked, this, &frmOrvane::cmdEditor_Click);
    connect(cmdPictor, &QPushButton::clicked, this, &frmOrvane::cmdPictor_Click);
}

void frmOrvane::mnuFile_Click()
{
    if (!m_state.ForceFile.isEmpty())
        mnuOpen[2]->setEnabled(true);
}

void frmOrvane::mnuOpen_Click(int index)
{
    SharedState& s = m_state;
    refreshList(*this, filModels);
    for (QWidget* w : std::initializer_list<QWidget*>{drvDrives, dirSelect, filModels, lblModels,
                                                      filDatafiles, lblDatafiles})
        w->setVisible(true);
    switch (index) {
    case 1:
        openFromWindow(*this, "explore", QString(), QString(), s.DataDir, WindowStyle::NormalFocus);
        break;
    case 2: {
        FileDialogRequest request;
        request.initialDir = dlgOpenInitialDir;
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
        cmdRefresh_Click();
        break;
    }
    default:
        break;
    }
}

void frmOrvane::mnuDOS_Click(int index)
{
    switch (index) {
    case 0:
        startProgram(*this, "calc.exe", {});
        break;
    case 1:
        startProgram(*this, "command.com", {}, WindowStyle::Maximized);
        break;
    case 2:
        startProgram(*this, "explorer.exe", {});
        break;
    case 3:
        shellOpen(*this, NotepadProgram, {});
        break;
    default:
        break;
    }
}

void frmOrvane::mnuRun_Click()
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
    showCommand(*this, CurrentFile);
    if (!CurrentFile.isEmpty()) {
        ToolName = CurrentFile;
        ToolPath = CurrentFile;
        if (CheckOpen(s, m_platform, QString(), ToolPath, 0) == FileError::FileNotFound)
            return;
        startProgram(*this, ToolPath, {});
        CurrentFile.clear();
    }
    m_platform.files.setCurrentDir(s.DataDir);
    dlgOpenInitialDir = s.DataDir;
}

void frmOrvane::mnuPrint_Click()
{
    if (!ConfirmPrint(m_state, m_platform))
        return;
    printWindow(this, m_state, m_platform, [this](const QString& line) { showStatus(line); });
}

void frmOrvane::mnuPrintSetup_Click()
{
    m_platform.dialogs.printerSetup();
}

void frmOrvane::cmdKinemora_Click()
{
    startSibling(*this, KinemoraProgram);
}

void frmOrvane::cmdTessel_Click()
{
    startSibling(*this, TesselProgram);
}

void frmOrvane::cmdEditor_Click()
{
    startSibling(*this, EditorProgram);
}

void frmOrvane::cmdPictor_Click()
{
    startSibling(*this, PictorProgram);
}
