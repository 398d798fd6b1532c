#pragma once

// The Qt and Linux implementations of the platform services.

#include "platform/Platform.h"

#include <QElapsedTimer>
#include <QPointer>
#include <memory>

class QPrinter;

// The printer chosen in printer set-up, kept for the whole run: every later print,
// from any window, uses that choice. Made on first use, on the default printer.
class KeptPrinter
{
public:
    KeptPrinter();
    ~KeptPrinter();
    QPrinter& get();

private:
    std::unique_ptr<QPrinter> m_printer;
};

class QtSettingsStore : public SettingsStore
{
public:
    // Settings live in <configDir>/kinemora/<Application>.ini, shared with the
    // suite's sibling programs. An empty configDir means the user's configuration folder.
    explicit QtSettingsStore(QString configDir = {});
    QString get(const QString& app, const QString& section, const QString& key,
                const QString& defaultValue) override;
    void save(const QString& app, const QString& section, const QString& key,
              const QString& value) override;
    QString fileFor(const QString& app) const;

private:
    QString m_dir;
};

class QtDialogs : public Dialogs
{
public:
    // Printer set-up chooses on `printer`; without one it keeps a printer of its own.
    explicit QtDialogs(KeptPrinter* printer = nullptr);
    int message(const QString& text, const QString& title, MessageIcon icon,
                MessageButtons buttons) override;
    QString input(const QString& prompt, const QString& title, const QString& defaultText) override;
    std::optional<QString> openFile(const FileDialogRequest& request) override;
    std::optional<QString> saveFile(const FileDialogRequest& request) override;
    std::optional<QColor> colour(const QColor& initial) override;
    bool printerSetup() override;

    // The window a box or dialog is centred on: the active window, else the one the
    // last dialog was shown over, else the main window.
    QWidget* owner();

private:
    KeptPrinter& printer();
    KeptPrinter* m_printer = nullptr;
    std::unique_ptr<KeptPrinter> m_ownPrinter;
    QPointer<QWidget> m_lastOwner;
};

class QtLauncher : public Launcher
{
public:
    qint64 start(const QString& program, const QStringList& arguments, const QString& workingDir,
                 WindowStyle style) override;
    int open(QWidget* owner, const QString& operation, const QString& file,
             const QStringList& arguments, const QString& workingDir, WindowStyle style) override;
};

class QtFileSystem : public FileSystem
{
public:
    int openError(const QString& path) override;
    QString resolve(const QString& dir, const QString& name) override;
    QString shortName(const QString& path) override;
    QStringList mountPoints() override;
    QString currentDir() override;
    bool setCurrentDir(const QString& dir) override;
    int rename(const QString& from, const QString& to) override;
    int copy(const QString& from, const QString& to, bool replace) override;
    bool isProgram(const QString& path) override;
};

class QtEventPump : public EventPump
{
public:
    void yield() override;
    void yieldFor(int ms) override;
    void setBusy(bool busy) override;

private:
    int m_busyDepth = 0;
};

class QtClock : public Clock
{
public:
    QtClock();
    double elapsed() override;
    double secondsSinceMidnight() override;

private:
    QElapsedTimer m_timer;
};

class QtPrinter : public Printer
{
public:
    explicit QtPrinter(KeptPrinter* printer = nullptr);
    QString printImage(const QImage& image, const QString& fallbackPdf) override;

private:
    KeptPrinter* m_printer = nullptr;
    std::unique_ptr<KeptPrinter> m_ownPrinter;
};

class QtEnvironment : public Environment
{
public:
    QString variable(const QString& name) override;
    QString argumentText() override;
    QStringList argumentsNotText() override;
    QString programDir() override;
    VersionNumber version() override;
    QRect screenTwips() override;
};

// Owns one of each service and hands them out as a Platform.
class QtPlatform
{
public:
    QtPlatform();
    Platform& platform() { return m_platform; }

private:
    QtSettingsStore m_settings;
    KeptPrinter m_keptPrinter;
    QtDialogs m_dialogs{&m_keptPrinter};
    QtLauncher m_launcher;
    QtFileSystem m_files;
    QtEventPump m_events;
    QtClock m_clock;
    QtPrinter m_printer{&m_keptPrinter};
    QtEnvironment m_env;
    Platform m_platform;
};
