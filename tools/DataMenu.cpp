#include "core/Library.h"
#include "core/MainWindowLink.h"
#include "core/SharedState.h"
#include "platform/FileErrors.h"
#include "tools/Commands.h"
#include "tools/Launch.h"
#include "tools/MenuItems.h"
#include "tools/ToolMenus.h"

#include <QLabel>
#include <QListWidget>

namespace
{
// Whether the trial's file with `extension` can be opened in the data directory; the
// error number goes to OpenError. Without a trial there is no trial file.
bool trialFileOpens(SharedState& s, Platform& p, const QString& extension)
{
    if (s.TrialName.isEmpty()) {
        s.OpenError = FileError::FileNotFound;
        return false;
    }
    s.OpenError = CheckOpen(s, p, s.DataDir, s.TrialName + extension, 0);
    return s.OpenError == 0;
}

// Whether any of the trial's APAS files can be opened.
bool anyArielFile(SharedState& s, Platform& p)
{
    bool any = false;
    for (int n = 0; n <= 9; ++n)
        any = trialFileOpens(s, p, arielExtension(n)) || any;
    return any;
}

constexpr int PeakPerformance = 3;
constexpr int TextFile = 5;
} // namespace

void ToolMenus::buildDataMenus(QMenu* mnuData, QMenu* mnuAnimate)
{
    QWidget* owner = m_window.parentWindow();
    const char* datafiles[] = {"&Select digitized data", "&Scale/Refine data (Scalera)",
                               "&Graph/Animate data", "&View/Edit data with Notepad",
                               "Re&number data"};
    for (int i = 0; i < 5; ++i) {
        mnuDatafile[i] = addMenuItem(mnuData, datafiles[i], itemName("mnuDatafile", i));
        QObject::connect(mnuDatafile[i], &QAction::triggered, owner,
                         [this, i] { mnuDatafile_Click(i); });
    }
    mnuData->addSeparator();
    mnuConverts = mnuData->addMenu("&Convert data ...");
    mnuConverts->setObjectName("mnuConverts");
    mnuAriel = mnuConverts->addMenu("&Ariel Dynamics ...");
    mnuAriel->setObjectName("mnuAriel");
    for (int i = 0; i < 10; ++i) {
        const QString caption = i == 0 ? QStringLiteral("3&D") : "&" + QString::number(i) + "T";
        mnuArielType[i] = addMenuItem(mnuAriel, caption, itemName("mnuArielType", i));
        mnuArielType[i]->setVisible(i == 1);
        QObject::connect(mnuArielType[i], &QAction::triggered, owner,
                         [this, i] { mnuArielType_Click(i); });
    }
    const char* converts[] = {"&Elite",
                              "&Motion Analysis",
                              "&Northern Digital",
                              "&Peak Performance",
                              "&Qualisys",
                              "ASCII &text file",
                              "&Vicon"};
    for (int i = 0; i < 7; ++i) {
        mnuConvert[i] = addMenuItem(mnuConverts, converts[i], itemName("mnuConvert", i));
        mnuConvert[i]->setEnabled(i == TextFile);
        QObject::connect(mnuConvert[i], &QAction::triggered, owner,
                         [this, i] { mnuConvert_Click(i); });
    }
    QObject::connect(mnuData, &QMenu::aboutToShow, owner, [this] { mnuDatafiles_Click(); });
    QObject::connect(mnuConverts, &QMenu::aboutToShow, owner, [this] { mnuConverts_Click(); });
    whenMenuOpens(
        mnuAriel, owner, [this] { return !anyArielFile(m_state, m_platform); },
        [this] { mnuAriel_Click(); });

    const char* pictures[] = {"&Digitized data (.DG)", "&Refined data (.CN)",
                              "&Filtered data (.KM)", "&Simulated data (.SN)"};
    for (int i = 0; i < 4; ++i) {
        mnuPictor[i] = addMenuItem(mnuAnimate, pictures[i], itemName("mnuPictor", i));
        QObject::connect(mnuPictor[i], &QAction::triggered, owner,
                         [this, i] { mnuPictor_Click(i); });
    }
    whenMenuOpens(
        mnuAnimate, owner, [this] { return m_state.TrialName.isEmpty(); },
        [this] { mnuImages_Click(); });

    toolCommands.append({"scalera.exe", mnuDatafile[1]});
}

void ToolMenus::mnuDatafiles_Click()
{
    const bool haveData = trialFileOpens(m_state, m_platform, ".dg");
    for (int i = 1; i <= 4; ++i)
        mnuDatafile[i]->setEnabled(haveData);
    mnuDatafile[0]->setEnabled(true);
    // The .cda file is converted by the item it enables.
    mnuConvert[PeakPerformance]->setEnabled(trialFileOpens(m_state, m_platform, ".cda"));
}

void ToolMenus::mnuDatafile_Click(int index)
{
    SharedState& s = m_state;
    switch (index) {
    case 0:
        refreshList(m_panels, panels().filDatafiles);
        panels().filDatafiles->setVisible(true);
        panels().lblDatafiles->setVisible(true);
        if (panels().filDatafiles->count() == 1) {
            s.TrialName = panels().filDatafiles->item(0)->text().section(u'.', 0, 0);
            m_window.showTrial(s.TrialName.toUpper());
        } else if (panels().filDatafiles->count() == 0) {
            m_platform.dialogs.message("No datafiles in this directory." + s.LF +
                                           "Open another directory.",
                                       {}, MessageIcon::Information, MessageButtons::OK);
            mnuOpen_Click(0);
        }
        break;
    case 1:
        ToolName = "Scalera";
        ToolPath = toolPathFor(m_window, ToolName + ".exe");
        CommandLine = argumentName(fileOnDisk(m_window, s.TrialName + ".dg"));
        s.LastResult = RunTool(ToolPath, CommandLine, true) ? -1 : 0;
        break;
    case 2:
        ToolName = "Pictor";
        ToolPath = toolPathFor(m_window, ToolName + ".exe");
        s.TargetName = fileOnDisk(m_window, s.TrialName + ".dg");
        s.OpenError = RunTool(ToolPath, argumentName(s.TargetName), false) ? -1 : 0;
        break;
    case 3:
        ToolName = "Notepad";
        ToolPath = NotepadTool;
        s.TargetName = fileOnDisk(m_window, s.TrialName + ".dg");
        startProgram(m_window, ToolPath, fileArguments(s.TargetName).list);
        break;
    case 4:
        s.OpenError = CheckOpen(s, m_platform, s.DataDir, s.TrialName + ".dg", 1);
        if (s.OpenError != 0)
            return;
        ToolName = "Ordinex";
        ToolPath = toolPathFor(m_window, ToolName + ".exe");
        s.TargetName = fileOnDisk(m_window, s.TrialName + ".dg");
        showCommand(m_window, ToolPath + fileArguments(s.TargetName).text);
        startProgram(m_window, ToolPath, fileArguments(s.TargetName).list);
        break;
    default:
        break;
    }
}

void ToolMenus::mnuConverts_Click()
{
    for (int n = 0; n <= 9; ++n) {
        const bool opens = trialFileOpens(m_state, m_platform, arielExtension(n));
        mnuArielType[n]->setEnabled(opens);
        // "&1T" always stays in view, so the submenu is never empty.
        if (n != 1)
            mnuArielType[n]->setVisible(opens);
    }
}

void ToolMenus::mnuAriel_Click()
{
    if (m_window.TestTrial())
        return;
    bool any = false;
    for (int n = 0; n <= 9; ++n) {
        const bool opens = trialFileOpens(m_state, m_platform, arielExtension(n));
        mnuArielType[n]->setEnabled(opens);
        any = any || opens;
    }
    if (any)
        return;
    m_platform.dialogs.message("Select an APAS file (.1T/.3D) from Data menu first.", {},
                               MessageIcon::Exclamation, MessageButtons::OK);
    panels().filDatafiles->setVisible(true);
    panels().lblDatafiles->setVisible(true);
}

void ToolMenus::mnuArielType_Click(int index)
{
    SharedState& s = m_state;
    ToolName = "Pictor";
    ToolPath = toolPathFor(m_window, ToolName + ".exe");
    const ToolArguments arguments = arielArguments(
        GetShortName(m_platform, fileOnDisk(m_window, s.TrialName + arielExtension(index))));
    CommandLine = arguments.text;
    showCommand(m_window, ToolPath + CommandLine);
    startProgram(m_window, ToolPath, arguments.list);
}

void ToolMenus::mnuConvert_Click(int index)
{
    SharedState& s = m_state;
    switch (index) {
    case PeakPerformance: {
        ToolName = "Pictor";
        ToolPath = toolPathFor(m_window, ToolName + ".exe");
        const ToolArguments arguments = cdaArguments(fileOnDisk(m_window, s.TrialName + ".cda"));
        CurrentFile = arguments.text;
        startProgram(m_window, ToolPath, arguments.list);
        break;
    }
    case TextFile:
        ToolName = "Morph2DG";
        ToolPath = toolPathFor(m_window, ToolName + ".exe");
        CurrentFile = fileOnDisk(m_window, s.TrialName + "." + s.FileType);
        startProgram(m_window, ToolPath, fileArguments(CurrentFile).list);
        break;
    case 6:
        break;
    default:
        m_platform.dialogs.message(NotImplementedText, NotImplementedTitle,
                                   MessageIcon::Exclamation, MessageButtons::OK);
        break;
    }
}

void ToolMenus::mnuImages_Click()
{
    if (m_window.TestTrial())
        return;
    for (int i = 0; i < 4; ++i)
        mnuPictor[i]->setEnabled(trialFileOpens(m_state, m_platform, animateExtension(i)));
}

void ToolMenus::mnuPictor_Click(int index)
{
    SharedState& s = m_state;
    ToolName = "Pictor";
    const QString program = toolPathFor(m_window, ToolName + ".exe");
    ToolPath = program + AnimateSwitches;
    s.TargetName = fileOnDisk(m_window, s.TrialName + animateExtension(index));
    const ToolArguments arguments = animateArguments(s.TargetName);
    showCommand(m_window, (program + arguments.text).toLower());
    startProgram(m_window, program, arguments.list);
}
