#pragma once

// The main window: start-up, the file panels, the buttons and the menu bar. Its
// handlers are defined in the folder of the subsystem they belong to
// (forcedata/ReadForces.cpp, tools/ProgramsMenu.cpp, docs/HelpMenu.cpp ...).

#include "forcedata/frmReading.h"
#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <array>

class QAction;
class QComboBox;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QPushButton;
class QTimer;
struct Platform;
struct SharedState;
class frmReading;

class frmOrvane : public QMainWindow
{
    Q_OBJECT
public:
    frmOrvane(SharedState& state, Platform& platform, QWidget* parent = nullptr);
    ~frmOrvane() override;

    // Runs the start-up sequence; shows the window (directly or through the splash).
    void Form_Load();
    // Starts up, then runs the event loop until the main window is closed; the answer
    // is the program's exit status. A close during start-up ends it too.
    int Run();
    bool unloaded() const { return m_unloading; }

    // The missing-tools check; switches off the commands of tools that are missing.
    void CheckTools();
    // The splash: the About box shown for `seconds` while the windows stay live.
    void ShowSplash(int16_t seconds);

    // --- shared with several subsystems -----------------------------------------------
    QString CurrentFile;
    QString CommandLine;
    QString ToolName;
    QString ToolPath;
    QString ToolSwitches;
    // Starts ToolPath with ToolSwitches for the current trial (tools/Launcher.cpp).
    bool RunTool();
    // Shows `text` in the status bar's notice panel for a while.
    void showStatus(const QString& text);

    SharedState& state() { return m_state; }
    Platform& platform() { return m_platform; }

    // --- force data (forcedata/ReadForces.cpp, forcedata/ViewForces.cpp) ------------
    void cmdReadForces_Click();
    void ReadRF();
    bool TestTrial();
    void cmdViewForces_Click();
    void cmdAnimate_Click();
    // Ctrl+G: the force graphs (animation/graphs/GraphsCommand.cpp).
    void cmdGraphs_Click();
    // The progress dialog of the last read, while it is open.
    frmReading* readingDialog() const;

    // --- file panels (main/FilePanels.cpp) ------------------------------------------
    // Enters `dir` as the data directory: drive list, directory list, file lists.
    // False when any step fails.
    bool enterDataDirectory(const QString& dir);
    void drvDrives_Change();
    void dirSelect_Change();
    void filDatafiles_Click();
    void filModels_Click();
    void filForces_Click();
    void filForces_DblClick();
    const QListWidgetItem* chosenForceFile();
    void filOutputs_Click();
    void cmdRefresh_Click();
    // Re-reads one file list from the shown directory, keeping its chosen entry.
    void refreshFileList(QListWidget* list);
    // Shows the first line of `ForceFile` after "Title:"; false when it cannot be read.
    bool showForceFileTitle();
    // `ForceFile` in upper case, or as on disk when the list holds names that differ
    // from it only in letter case.
    QString shownForceFileName() const;

    // --- C3D import (main/ImportC3D.cpp) ------------------------------------------
    void setupImportC3D();
    void mnuImportC3D_Click();
    // Opens the import window for a C3D file; nullptr when the file cannot be imported.
    class frmImportC3D* importC3D(const QString& path);

    // --- exits ------------------------------------------------------------------------
    void cmdExit_Click();
    void mnuExit_Click();

    // --- controls ---------------------------------------------------------------------
    QLabel* lblDatafiles = nullptr;
    QListWidget* filDatafiles = nullptr;
    QLabel* lblModels = nullptr;
    QListWidget* filModels = nullptr;
    QLabel* lblForces = nullptr;
    QListWidget* filForces = nullptr;
    QLabel* lblOutputs = nullptr;
    QListWidget* filOutputs = nullptr;
    QPushButton* cmdGuide = nullptr;
    QPushButton* cmdManuals = nullptr;
    QPushButton* cmdRefresh = nullptr;
    QComboBox* drvDrives = nullptr;
    QListWidget* dirSelect = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* lblTrial = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* lblPath = nullptr;
    QLabel* lblCommand0 = nullptr;
    QLabel* lblCommand = nullptr;
    QLabel* lblOutput = nullptr;
    QLabel* lblGraphics = nullptr;
    QPushButton* cmdReadForces = nullptr;
    QPushButton* cmdViewForces = nullptr;
    QPushButton* cmdAnimate = nullptr;
    QPushButton* cmdPictor = nullptr;
    QPushButton* cmdTessel = nullptr;
    QPushButton* cmdKinemora = nullptr;
    QPushButton* cmdEditor = nullptr;
    QPushButton* cmdExit = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* lblTitle = nullptr;
    std::array<QLabel*, 4> StatusBarPanels{};
    QString dlgOpenInitialDir;

    // The menu bar, in order; each menu is filled by the subsystem that owns it.
    QMenu* mnuFile = nullptr;
    QMenu* mnuData = nullptr;
    QMenu* mnuModel = nullptr;
    QMenu* mnuAnimate = nullptr;
    QMenu* mnuPrograms = nullptr;
    QMenu* mnuSettings = nullptr;
    QMenu* mnuManuals = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuExit = nullptr;     // last item of the File menu
    QAction* mnuProgHelp = nullptr; // "Command line &help", in the Help menu
    QAction* mnuAbout = nullptr;    // last item of the Help menu

    // The directory the file panels show (the directory list's path).
    QString dirSelectPath;
    // Commands CheckTools switches off, by the tool looked up ("tabulo.exe" ...).
    QList<QPair<QString, QAction*>> toolCommands;

    // --- menus filled by their subsystems ---------------------------------------------
    void buildFileMenu();      // tools/FileMenu.cpp
    void buildDataMenus();     // tools/DataMenu.cpp: Data and Animate
    void buildModelMenu();     // tools/ModelMenu.cpp
    void buildProgramsMenus(); // tools/ProgramsMenu.cpp: Programs, Settings, mnuProgHelp
    void buildDocsMenus();     // docs/DocsMenus.cpp: Manuals, Help, mnuAbout, cmdGuide, cmdManuals
    void connectToolButtons(); // tools/FileMenu.cpp: cmdPictor, cmdTessel, cmdKinemora, cmdEditor
    void setupFilePanels();    // main/FilePanels.cpp: the panels' signals

    // Members of the subsystems' menus: each subsystem declares its own in the block
    // below and defines them in its own source file.
    // --- tools/ ---
    // Starts `toolPath` with `argumentText` in the data directory after checking that
    // the tool is there; offers the tool's output when asked. True when it failed.
    bool RunTool(const QString& toolPath, const QString& argumentText, bool offerOutput);
    // Programs, Settings and Help (tools/ProgramsMenu.cpp).
    void mnuForce_Click(int index);
    void mnuHistory_Click(int index);
    void mnuHcp_Click(int index);
    void mnuProgHelp_Click();
    std::array<QAction*, 5> mnuForce{};
    QMenu* mnuHistories = nullptr; // the submenu of mnuForce 1
    std::array<QAction*, 3> mnuHistory{};
    std::array<QAction*, 2> mnuHcp{};
    class frmVectorOp* vectorOp = nullptr; // created on first use
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
    // Model menu (tools/ModelMenu.cpp); the menu itself is mnuModel.
    void mnuModels_Click();
    void mnuModel_Click(int index);
    std::array<QAction*, 5> mnuModelItem{};
    // --- docs/ ---
    std::array<QAction*, 9> mnuManual{};   // the Manuals menu's items
    std::array<QAction*, 3> mnuHelpItem{}; // the Help menu's help texts
    void mnuManuals_Click();               // the Manuals menu opens
    void mnuManual_Click(int index);
    void cmdManuals_Click();
    void cmdGuide_Click();
    void mnuHelp_Click(); // the Help menu opens
    void mnuHelpItem_Click(int index);
    QPointer<class frmViewer> Viewer; // the text viewer while it is loaded
    QPointer<class frmReader> Reader; // the PDF reader while it is open

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void createMenus();
    static QString commandLineDataDir(SharedState& s, Platform& p, const QString& startDir);
    void updateClock();
    void Form_Unload();

    SharedState& m_state;
    Platform& m_platform;
    QString StartDir;
    QPointer<frmReading> m_reading;
    QTimer* m_clockTimer = nullptr;
    bool m_unloading = false;
    bool m_readingNow = false;

    friend class frmReading;
};
