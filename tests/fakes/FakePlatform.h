#pragma once

// Test doubles of the platform services: scripted answers in, a log of what the user
// would have seen or what would have been started out.

#include "platform/Platform.h"
#include "platform/QtPlatform.h"

#include <QImage>
#include <QMap>
#include <deque>
#include <functional>
#include <map>
#include <vector>

class FakeSettings : public SettingsStore
{
public:
    QString get(const QString& app, const QString& section, const QString& key,
                const QString& defaultValue) override;
    void save(const QString& app, const QString& section, const QString& key,
              const QString& value) override;
    static QString name(const QString& app, const QString& section, const QString& key)
    {
        return app + "/" + section + "/" + key;
    }
    QMap<QString, QString> values; // "App/Section/Key" -> value
    QStringList saved;             // names in the order they were written
    QString failure;               // when set, every save fails with this line
};

struct ShownBox {
    enum Kind { Message, Input, OpenFile, SaveFile, Colour, PrinterSetup } kind = Message;
    QString text;
    QString title;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::OK;
    QString defaultText;
    FileDialogRequest request;
};

class FakeDialogs : public Dialogs
{
public:
    int message(const QString& text, const QString& title, MessageIcon icon,
                MessageButtons buttons) override;
    QString input(const QString& prompt, const QString& title, const QString& defaultText) override;
    std::optional<QString> openFile(const FileDialogRequest& request) override;
    std::optional<QString> saveFile(const FileDialogRequest& request) override;
    std::optional<QColor> colour(const QColor& initial) override;
    bool printerSetup() override;

    // Answers taken in order; when a queue is empty a message box answers its first
    // button (OK or Yes, Abort, Retry), an input box its default text, file dialogs cancel.
    std::deque<int> messageAnswers;
    std::deque<QString> inputAnswers;
    std::deque<std::optional<QString>> fileAnswers;
    std::deque<std::optional<QColor>> colourAnswers;
    bool printerSetupAnswer = false;
    // Runs while a box is "open", e.g. to check what the window shows behind it.
    std::function<void(const ShownBox&)> onShow;

    std::vector<ShownBox> shown;
    QStringList messageTexts() const;
};

struct StartedProgram {
    enum Kind { CommandLine, Shell } kind = CommandLine;
    QString program;          // or the file, for the shell
    QString arguments;        // the argument text, or the arguments joined back into one
    QStringList argumentList; // each argument as the program receives it
    QString workingDir;
    WindowStyle style = WindowStyle::NormalFocus;
    QString operation;
};

class FakeLauncher : public Launcher
{
public:
    qint64 start(const QString& program, const QStringList& arguments, const QString& workingDir,
                 WindowStyle style) override;
    int open(QWidget* owner, const QString& operation, const QString& file,
             const QStringList& arguments, const QString& workingDir, WindowStyle style) override;
    qint64 startCommandLine(const QString& program, const QString& argumentText,
                            const QString& workingDir, WindowStyle style) override;
    int shellExecute(QWidget* owner, const QString& operation, const QString& file,
                     const QString& parameters, const QString& workingDir,
                     WindowStyle style) override;
    qint64 nextProcessId = 4242; // 0 makes every start fail
    int shellResult = 33;
    std::vector<StartedProgram> started;
};

// The real file system (tests work in temporary folders), with the mount points
// scripted.
class FakeFileSystem : public QtFileSystem
{
public:
    QStringList mountPoints() override { return mounts; }
    QStringList mounts{"/"};
};

class FakeClock : public Clock
{
public:
    double elapsed() override { return now; }
    double secondsSinceMidnight() override { return midnightOffset + now; }
    double now = 0;
    double midnightOffset = 36000;
};

class FakeEventPump : public EventPump
{
public:
    explicit FakeEventPump(FakeClock& clock) : m_clock(clock) {}
    void yield() override;
    void yieldFor(int ms) override;
    void setBusy(bool busy) override { busyDepth += busy ? 1 : -1; }

    // Called at every yield with its number (1, 2, ...): "press Stop at the fifth".
    std::function<void(int)> onYield;
    double secondsPerYield = 0.001; // how far the clock moves at each yield
    int yields = 0;
    int busyDepth = 0;

private:
    FakeClock& m_clock;
};

class FakePrinter : public Printer
{
public:
    QString printImage(const QImage& image, const QString& fallbackPdf) override;
    std::vector<QImage> printed;
    QStringList fallbacks;
    QString answer;
};

class FakeEnvironment : public Environment
{
public:
    QString variable(const QString& name) override { return variables.value(name); }
    QString argumentText() override { return arguments; }
    QStringList argumentsNotText() override { return notText; }
    QString programDir() override { return ownDir; }
    VersionNumber version() override { return versionNumber; }
    QRect screenTwips() override { return screen; }

    QMap<QString, QString> variables;
    QString arguments;
    QStringList notText;
    QString ownDir = "/opt/orvane";
    VersionNumber versionNumber{1, 2, 3};
    QRect screen{0, 0, 15360, 11520}; // 1024 x 768 pixels at 96 dpi
};

class FakePlatform
{
public:
    FakePlatform();
    Platform& platform() { return m_platform; }
    operator Platform&() { return m_platform; }

    FakeSettings settings;
    FakeDialogs dialogs;
    FakeLauncher launcher;
    FakeFileSystem files;
    FakeClock clock;
    FakeEventPump events{clock};
    FakePrinter printer;
    FakeEnvironment env;

private:
    Platform m_platform;
};
