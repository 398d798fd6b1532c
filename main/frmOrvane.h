#pragma once

// The main window: start-up, the file panels, the buttons and the menu bar. Its
// handlers are defined in the folder of the subsystem they belong to
// (forcedata/ReadForces.cpp, tools/ProgramsMenu.cpp, docs/HelpMenu.cpp ...).

#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include "forcedata/frmReading.h"
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

class frmOrvane : public QMainWindow {
    Q_OBJECT
public:
    frmOrvane(SharedState& state, Platform& platform, QWidget* parent = nullptr);
    ~frmOrvane() override;

    // Runs the start-up sequence; shows the window (directly or through the splash).
    void Form_Load();

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
    void filOutputs_Click();
    void cmdRefresh_Click();

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
    QAction* mnuExit = nullptr;    // last item of the File menu
    QAction* mnuProgHelp = nullptr; // "Command line &help", in the Help menu
    QAction* mnuAbout = nullptr;    // last item of the Help menu

    // The directory the file panels show (the directory list's path).
    QString dirSelectPath;
    // Commands CheckTools switches off, by the tool looked up ("tabulo.exe" ...).
    QList<QPair<QString, QAction*>> toolCommands;

    // --- menus filled by their subsystems ---------------------------------------------
    void buildFileMenu();     // tools/FileMenu.cpp
    void buildDataMenus();    // tools/DataMenu.cpp: Data and Animate
    void buildModelMenu();    // tools/ModelMenu.cpp
    void buildProgramsMenus(); // tools/ProgramsMenu.cpp: Programs, Settings, mnuProgHelp
    void buildDocsMenus();    // docs/DocsMenus.cpp: Manuals, Help, mnuAbout, cmdGuide, cmdManuals
    void connectToolButtons(); // tools/FileMenu.cpp: cmdPictor, cmdTessel, cmdKinemora, cmdEditor
    void setupFilePanels();   // main/FilePanels.cpp: the panels' signals

    // Members of the subsystems' menus: each subsystem declares its own in the block
    // below and defines them in its own source file.
    // --- tools/ ---
    // --- docs/ ---

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void createMenus();
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
