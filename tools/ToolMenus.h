#pragma once

// The menus that start the suite's tools: File, Data, Model, Animate, Programs and
// Settings, and the buttons of the sibling programs. The main window builds them into
// its menu bar and lends them its status line, command label, trial and file panels.

#include <QList>
#include <QPair>
#include <QString>
#include <array>

class FilePanelsLink;
class MainWindowLink;
class QAction;
class QMenu;
class QPushButton;
class frmVectorOp;
struct FilePanelWidgets;
struct Platform;
struct SharedState;

class ToolMenus
{
public:
    ToolMenus(SharedState& state, Platform& platform, MainWindowLink& window,
              FilePanelsLink& panels);
    virtual ~ToolMenus() = default;

    // The menus of the menu bar the tool menus fill, and the buttons they answer.
    struct MenuBar {
        QMenu* mnuFile = nullptr;
        QMenu* mnuData = nullptr;
        QMenu* mnuModel = nullptr;
        QMenu* mnuAnimate = nullptr;
        QMenu* mnuPrograms = nullptr;
        QMenu* mnuSettings = nullptr;
        QAction* mnuExit = nullptr;     // last item of the File menu
        QAction* mnuProgHelp = nullptr; // "Command line &help", placed in the Help menu
    };
    struct ToolButtons {
        QPushButton* cmdKinemora = nullptr;
        QPushButton* cmdTessel = nullptr;
        QPushButton* cmdEditor = nullptr;
        QPushButton* cmdPictor = nullptr;
    };
    void buildToolMenus(const MenuBar& bar);
    void connectToolButtons(const ToolButtons& buttons);

    QString CurrentFile;
    QString CommandLine;
    QString ToolName;
    QString ToolPath;
    QString ToolSwitches;
    // Starts ToolPath with ToolSwitches for the current trial.
    bool RunTool();
    // Starts `toolPath` with `argumentText` in the data directory after checking that
    // the tool is there; offers the tool's output when asked. True when it failed.
    bool RunTool(const QString& toolPath, const QString& argumentText, bool offerOutput);
    // Commands the missing-tools check switches off, by the tool looked up ("tabulo.exe" ...).
    QList<QPair<QString, QAction*>> toolCommands;

    // Programs, Settings and Help (tools/ProgramsMenu.cpp).
    void mnuForce_Click(int index);
    void mnuHistory_Click(int index);
    void mnuHcp_Click(int index);
    void mnuProgHelp_Click();
    std::array<QAction*, 5> mnuForce{};
    QMenu* mnuHistories = nullptr; // the submenu of mnuForce 1
    std::array<QAction*, 3> mnuHistory{};
    std::array<QAction*, 2> mnuHcp{};
    frmVectorOp* vectorOp = nullptr; // created on first use
    // File menu and tool buttons (tools/FileMenu.cpp).
    void mnuFile_Click();
    void mnuOpen_Click(int index);
    void mnuDOS_Click(int index);
    void mnuRun_Click();
    void mnuPrint_Click();
    void mnuPrintSetup_Click();
    void cmdKinemora_Click();
    void cmdTessel_Click();
    void cmdEditor_Click();
    void cmdPictor_Click();
    std::array<QAction*, 3> mnuOpen{};
    std::array<QAction*, 4> mnuDOS{};
    QAction* mnuRun = nullptr;
    QAction* mnuPrint = nullptr;
    QAction* mnuPrintSetup = nullptr;
    // Data, Convert and Animate menus (tools/DataMenu.cpp).
    void mnuDatafiles_Click();
    void mnuDatafile_Click(int index);
    void mnuConverts_Click();
    void mnuAriel_Click();
    void mnuArielType_Click(int index);
    void mnuConvert_Click(int index);
    void mnuImages_Click();
    void mnuPictor_Click(int index);
    std::array<QAction*, 5> mnuDatafile{};
    QMenu* mnuConverts = nullptr;
    QMenu* mnuAriel = nullptr;
    std::array<QAction*, 10> mnuArielType{};
    std::array<QAction*, 7> mnuConvert{};
    std::array<QAction*, 4> mnuPictor{};
    // Model menu (tools/ModelMenu.cpp).
    void mnuModels_Click();
    void mnuModel_Click(int index);
    std::array<QAction*, 5> mnuModelItem{};

private:
    void buildFileMenu(QMenu* mnuFile, QAction* mnuExit);
    void buildDataMenus(QMenu* mnuData, QMenu* mnuAnimate);
    void buildModelMenu(QMenu* mnuModel);
    void buildProgramsMenus(QMenu* mnuPrograms, QMenu* mnuSettings, QAction* mnuProgHelp);

    FilePanelWidgets panels();

    SharedState& m_state;
    Platform& m_platform;
    MainWindowLink& m_window;
    FilePanelsLink& m_panels;
};
