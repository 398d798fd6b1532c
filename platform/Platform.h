#pragma once

// The services the program takes from the desktop and the operating system. Every
// window receives them by reference, so a test hands in fakes and a port to another
// platform replaces only the implementations.

#include "platform/ArgumentText.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

// Answers of a message box, with the numbers the rest of the suite knows them by.
enum DialogAnswer : int {
    AnswerOK = 1,
    AnswerCancel = 2,
    AnswerAbort = 3,
    AnswerRetry = 4,
    AnswerIgnore = 5,
    AnswerYes = 6,
    AnswerNo = 7
};

enum class MessageIcon { None, Information, Exclamation, Question, Critical };
enum class MessageButtons { OK, OKCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };

// Window state of a started program.
enum class WindowStyle {
    Hidden = 0,
    NormalFocus = 1,
    MinimizedFocus = 2,
    Maximized = 3,
    NormalNoFocus = 4,
    MinimizedNoFocus = 6
};

class SettingsStore
{
public:
    virtual ~SettingsStore() = default;
    virtual QString get(const QString& app, const QString& section, const QString& key,
                        const QString& defaultValue) = 0;
    virtual void save(const QString& app, const QString& section, const QString& key,
                      const QString& value) = 0;
    // Told, with a line for the status bar, when a save could not be written.
    std::function<void(const QString& line)> saveFailed;
};

struct FileDialogRequest {
    QString title;
    QString initialDir;
    QString fileName;
    QString filter; // "Text (*.txt)|*.txt|All (*.*)|*.*" style pairs
    int filterIndex = 1;
    bool overwritePrompt = true;
};

class Dialogs
{
public:
    virtual ~Dialogs() = default;
    // A box without a title carries the program's title.
    virtual int message(const QString& text, const QString& title, MessageIcon icon,
                        MessageButtons buttons) = 0;
    // The typed text, or "" when the user cancels.
    virtual QString input(const QString& prompt, const QString& title,
                          const QString& defaultText) = 0;
    virtual std::optional<QString> openFile(const FileDialogRequest& request) = 0;
    virtual std::optional<QString> saveFile(const FileDialogRequest& request) = 0;
    virtual std::optional<QColor> colour(const QColor& initial) = 0;
    virtual bool printerSetup() = 0;
};

class Launcher
{
public:
    virtual ~Launcher() = default;
    // Starts the program (path taken whole) with exactly these arguments, never through
    // a shell. Returns the process id, 0 on failure.
    virtual qint64 start(const QString& program, const QStringList& arguments,
                         const QString& workingDir, WindowStyle style) = 0;
    // "open" of a program or document, or "explore" of a directory. Returns 33 on
    // success and 2 when nothing could be started.
    virtual int open(QWidget* owner, const QString& operation, const QString& file,
                     const QStringList& arguments, const QString& workingDir,
                     WindowStyle style) = 0;

    // The same with an argument text, split at blanks, double quotes grouping.
    virtual qint64 startCommandLine(const QString& program, const QString& argumentText,
                                    const QString& workingDir, WindowStyle style)
    {
        return start(program, splitArgumentText(argumentText), workingDir, style);
    }
    virtual int shellExecute(QWidget* owner, const QString& operation, const QString& file,
                             const QString& parameters, const QString& workingDir,
                             WindowStyle style)
    {
        return open(owner, operation, file, splitArgumentText(parameters), workingDir, style);
    }
};

class FileSystem
{
public:
    virtual ~FileSystem() = default;
    // Opens the file for reading and closes it again: 0, or the platform's error number.
    virtual int openError(const QString& path) = 0;
    // The path of the file named `name` in `dir`: an exact match first, else the single
    // match without regard to case, else dir + "/" + name.
    virtual QString resolve(const QString& dir, const QString& name) = 0;
    virtual QString shortName(const QString& path) = 0;
    virtual QStringList mountPoints() = 0;
    virtual QString currentDir() = 0;
    virtual bool setCurrentDir(const QString& dir) = 0;
    // 0 or the platform's error number; neither ever replaces an existing file.
    virtual int rename(const QString& from, const QString& to) = 0;
    virtual int copy(const QString& from, const QString& to, bool replace) = 0;
    // True when the file can be started as a program.
    virtual bool isProgram(const QString& path) { return openError(path) == 0; }
};

class EventPump
{
public:
    virtual ~EventPump() = default;
    // Lets pending window events run once.
    virtual void yield() = 0;
    // Lets window events run for about `ms` milliseconds without burning the processor.
    virtual void yieldFor(int ms) = 0;
    virtual void setBusy(bool busy) = 0; // the hourglass pointer
};

class Clock
{
public:
    virtual ~Clock() = default;
    virtual double elapsed() = 0; // monotonic seconds
    virtual double secondsSinceMidnight() = 0;
};

class Printer
{
public:
    virtual ~Printer() = default;
    // Prints on the printer chosen in printer set-up (the default printer until then),
    // or writes `fallbackPdf`, a file that does not exist yet, where no printer is
    // installed. Returns the line that tells the user how it went: "Printed on ...",
    // "Printed to <file>", "Could not write <file>: <reason>" or "Could not print on ...".
    virtual QString printImage(const QImage& image, const QString& fallbackPdf) = 0;
};

struct VersionNumber {
    int major = 0;
    int minor = 0;
    int revision = 0;
};

class Environment
{
public:
    virtual ~Environment() = default;
    virtual QString variable(const QString& name) = 0;
    virtual QString argumentText() = 0; // the command line after the program's name
    // The arguments whose bytes are not UTF-8 text, as argumentText() shows them (the
    // bytes that are not text as U+FFFD): no file can be opened under such a name.
    virtual QStringList argumentsNotText() { return {}; }
    virtual QString programDir() = 0;
    virtual VersionNumber version() = 0;
    virtual QRect screenTwips() = 0; // available desktop area in twips
};

struct Platform {
    SettingsStore& settings;
    Dialogs& dialogs;
    Launcher& launcher;
    FileSystem& files;
    EventPump& events;
    Clock& clock;
    Printer& printer;
    Environment& env;
};
