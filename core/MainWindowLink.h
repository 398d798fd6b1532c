#pragma once

// What a subsystem may ask of the main window without knowing it. The main window
// implements these; the menus and windows of the subsystems hold them by reference,
// and a test may implement them with a bare widget.

#include <QString>

class QComboBox;
class QLabel;
class QListWidget;
class QWidget;
struct Platform;
struct SharedState;

// The status bar's notice panel: a short message that gives way to the notice again.
class StatusLine
{
public:
    virtual void showStatus(const QString& text) = 0;

protected:
    ~StatusLine() = default;
};

// "Command line:": the command a menu item has just run.
class CommandLabel
{
public:
    virtual void showCommand(const QString& text) = 0;

protected:
    ~CommandLabel() = default;
};

// The current trial as the main window shows it.
class CurrentTrial
{
public:
    // The trial label shows `caption`.
    virtual void showTrial(const QString& caption) = 0;
    // True, after the warning and with the file panels in view, when no trial is chosen.
    virtual bool TestTrial() = 0;

protected:
    ~CurrentTrial() = default;
};

// The window a box, a tool window or a shell operation belongs to.
class ParentWindow
{
public:
    virtual QWidget* parentWindow() = 0;

protected:
    ~ParentWindow() = default;
};

// The main window as one: the shared state, the platform and the four above.
class MainWindowLink : public StatusLine,
                       public CommandLabel,
                       public CurrentTrial,
                       public ParentWindow
{
public:
    virtual SharedState& state() = 0;
    virtual Platform& platform() = 0;

protected:
    ~MainWindowLink() = default;
};

// The main window's file panels, which the tool menus refresh and bring into view.
struct FilePanelWidgets {
    QListWidget* filDatafiles = nullptr;
    QLabel* lblDatafiles = nullptr;
    QListWidget* filModels = nullptr;
    QLabel* lblModels = nullptr;
    QListWidget* filForces = nullptr;
    QListWidget* filOutputs = nullptr;
    QComboBox* drvDrives = nullptr;
    QListWidget* dirSelect = nullptr;
};

class FilePanelsLink
{
public:
    virtual FilePanelWidgets filePanels() = 0;
    // Re-reads one file list from the shown directory, keeping its chosen entry.
    virtual void refreshFileList(QListWidget* list) = 0;
    // Shows and re-reads every panel, as the Refresh button does.
    virtual void cmdRefresh_Click() = 0;
    // Where the next file dialog opens.
    virtual QString& openDialogDir() = 0;

protected:
    ~FilePanelsLink() = default;
};
