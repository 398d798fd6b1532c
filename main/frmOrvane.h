#pragma once

// The main window: start-up, the file panels, the buttons and the menu bar. The tool
// and document menus are the subsystems' own (ToolMenus, DocsMenus); the window builds
// them into its menu bar and lends them its status line, command label, trial and
// file panels through the links of core/MainWindowLink.h.

#include "core/MainWindowLink.h"
#include "docs/DocsMenus.h"
#include "forcedata/frmReading.h"
#include "tools/ToolMenus.h"
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

class frmOrvane : public QMainWindow,
                  public MainWindowLink,
                  public FilePanelsLink,
                  public ToolMenus,
                  public DocsMenus
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

    // --- what the subsystems may ask of the main window ---------------------------------
    // Shows `text` in the status bar's notice panel for a while.
    void showStatus(const QString& text) override;
    void showCommand(const QString& text) override;
    void showTrial(const QString& caption) override;
    bool TestTrial() override;
    QWidget* parentWindow() override { return this; }
    SharedState& state() override { return m_state; }
    Platform& platform() override { return m_platform; }
    FilePanelWidgets filePanels() override;
    QString& openDialogDir() override { return dlgOpenInitialDir; }

    // --- force data (main/ReadForces.cpp, main/ViewForces.cpp) ----------------------
    void cmdReadForces_Click();
    void ReadRF();
    void cmdViewForces_Click();
    void cmdAnimate_Click();
    // Ctrl+G: the force graphs (main/GraphsCommand.cpp).
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
    void cmdRefresh_Click() override;
    // Re-reads one file list from the shown directory, keeping its chosen entry.
    void refreshFileList(QListWidget* list) override;
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

    // --- comparing trials (main/CompareCommand.cpp) --------------------------------
    // Ctrl+T and "&Compare Trials" at the end of the Programs menu.
    void setupCompareTrials();
    void mnuCompare_Click();
    QAction* mnuCompare = nullptr;

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

    // The menu bar, in order; the tool and document menus fill their own.
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

    void setupFilePanels(); // main/FilePanels.cpp: the panels' signals

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
