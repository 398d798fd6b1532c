#include "core/Library.h"
#include "core/MainWindowLink.h"
#include "core/SharedState.h"
#include "platform/ArgumentText.h"
#include "tools/Commands.h"
#include "tools/Launch.h"
#include "tools/MenuItems.h"
#include "tools/ToolMenus.h"
#include "tools/frmVectorOp.h"

#include <QLabel>

void ToolMenus::buildProgramsMenus(QMenu* mnuPrograms, QMenu* mnuSettings, QAction* mnuProgHelp)
{
    QWidget* owner = m_window.parentWindow();
    mnuForce[0] = addMenuItem(mnuPrograms, "&Analyze", itemName("mnuForce", 0));
    mnuHistories = mnuPrograms->addMenu("&Histories");
    mnuHistories->setObjectName("mnuHistories");
    mnuForce[1] = mnuHistories->menuAction();
    mnuForce[1]->setObjectName(itemName("mnuForce", 1));
    mnuForce[2] = addMenuItem(mnuPrograms, "&Rotate", itemName("mnuForce", 2));
    mnuForce[3] = addMenuItem(mnuPrograms, "Force &Signature", itemName("mnuForce", 3));
    mnuForce[4] = addMenuItem(mnuPrograms, "Open in &Notepad", itemName("mnuForce", 4));
    for (int i : {0, 2, 3, 4})
        QObject::connect(mnuForce[i], &QAction::triggered, owner, [this, i] { mnuForce_Click(i); });
    // Opening the submenu is the item's own command.
    whenMenuOpens(
        mnuHistories, owner, [this] { return m_state.ForceFile.isEmpty(); },
        [this] { mnuForce_Click(1); });

    const char* histories[] = {"&Default axes", "Include &Torque", "Change &Axes"};
    for (int i = 0; i < 3; ++i) {
        mnuHistory[i] = addMenuItem(mnuHistories, histories[i], itemName("mnuHistory", i));
        QObject::connect(mnuHistory[i], &QAction::triggered, owner,
                         [this, i] { mnuHistory_Click(i); });
    }

    mnuHcp[0] = addMenuItem(mnuSettings, "&Hardcpd", itemName("mnuHcp", 0));
    mnuHcp[1] = addMenuItem(mnuSettings, "&Hardcpw", itemName("mnuHcp", 1));
    for (int i = 0; i < 2; ++i) {
        mnuHcp[i]->setCheckable(true);
        QObject::connect(mnuHcp[i], &QAction::triggered, owner, [this, i] { mnuHcp_Click(i); });
    }
    mnuHcp[0]->setChecked(true);

    QObject::connect(mnuProgHelp, &QAction::triggered, owner, [this] { mnuProgHelp_Click(); });

    toolCommands.append({"tabulo.exe", mnuForce[0]});
    toolCommands.append({"chronel.exe", mnuForce[1]});
    toolCommands.append({"swivra.exe", mnuForce[2]});
    toolCommands.append({"marquo.exe", mnuForce[3]});
    toolCommands.append({"tymlyn.bat", mnuForce[1]});
}

void ToolMenus::mnuForce_Click(int index)
{
    SharedState& s = m_state;
    if (s.ForceFile.isEmpty()) {
        m_platform.dialogs.message(NoForceFileText, {}, MessageIcon::Exclamation,
                                   MessageButtons::OK);
        return;
    }
    switch (index) {
    case 0:
    case 2: {
        ToolName = index == 0 ? AnalysisTool : RotationTool;
        ToolSwitches = index == 0 ? AnalysisSwitches : RotationSwitches;
        ToolPath = toolPathFor(m_window, ToolName);
        const ToolArguments arguments = analysisArguments(
            ToolSwitches, GetShortName(m_platform, fileOnDisk(m_window, s.ForceFile)));
        CommandLine = arguments.text;
        shellOpen(m_window, ToolPath, arguments.list);
        break;
    }
    case 3:
        if (!vectorOp)
            vectorOp = new frmVectorOp(s, m_platform, m_window, m_panels);
        vectorOp->show();
        vectorOp->raise();
        vectorOp->activateWindow();
        break;
    case 4:
        shellOpen(m_window, NotepadProgram, fileArguments(fileOnDisk(m_window, s.ForceFile)).list);
        break;
    default:
        break;
    }
}

void ToolMenus::mnuHistory_Click(int index)
{
    if (index < 0 || index >= static_cast<int>(HistorySwitches.size()))
        return;
    ToolName = HistoryTool;
    ToolSwitches = HistorySwitches[index];
    ToolPath = toolPathFor(m_window, ToolName);
    const QString forceFile = fileOnDisk(m_window, m_state.ForceFile);
    const ToolArguments arguments = historyArguments(
        index, forceFile.isEmpty() ? forceFile : GetShortName(m_platform, forceFile));
    CommandLine = arguments.text;
    showCommand(m_window, ToolPath + CommandLine);
    shellOpen(m_window, ToolPath, arguments.list);
}

void ToolMenus::mnuHcp_Click(int index)
{
    m_state.PlotPrinter = index == 0 ? 0 : -1;
    mnuHcp[0]->setChecked(index == 0);
    mnuHcp[1]->setChecked(index != 0);
}

void ToolMenus::mnuProgHelp_Click()
{
    SharedState& s = m_state;
    FileDialogRequest request;
    request.initialDir = s.ProgramDir;
    request.fileName = ProgramPattern;
    request.filter = ProgramPattern;
    request.title = "Select a program to view its help.";
    const std::optional<QString> chosen = m_platform.dialogs.openFile(request);
    CurrentFile = chosen && !chosen->isEmpty() ? *chosen : QString(ProgramPattern);
    showCommand(m_window, CurrentFile + HelpSwitches);
    if (CurrentFile != ProgramPattern) {
        ToolName = CurrentFile;
        ToolPath = ToolName;
        startProgram(m_window, ToolPath, splitArgumentText(HelpSwitches));
        CurrentFile.clear();
    }
    m_platform.files.setCurrentDir(s.DataDir);
    m_panels.openDialogDir() = s.DataDir;
}
