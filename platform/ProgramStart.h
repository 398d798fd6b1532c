#pragma once

// What a program start really runs on Linux: the Windows accessories the suite's
// command lines name (notepad.exe, calc.exe, command.com, explorer.exe) become the
// desktop's counterparts, found by the same rules every time. Pure: the environment
// and the search of PATH come in as functions, so tests decide what is installed.

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// One way of carrying out a start; a command line may have several, tried in order
// until one succeeds.
struct StartPlan {
    enum Kind { Process, OpenWithDesktop };
    Kind kind = Process;
    QString program;       // Process: the executable, taken whole
    QStringList arguments; // Process
    QString target;        // OpenWithDesktop: the file or directory to open
    QString workingDir;
};

struct ProgramLookup {
    std::function<QString(const QString&)> variable;   // an environment variable, "" if unset
    std::function<QString(const QString&)> findOnPath; // full path of a program on PATH, or ""
    // The command (the Exec line of its desktop entry) of the desktop's default
    // application for plain text, or "" when the desktop names none.
    std::function<QString()> textDefault;
};

// The graphical text editors looked for on PATH, in order, when neither the user's
// variables nor the desktop name one.
const QStringList& desktopTextEditors();

// The terminal emulators tried for the DOS prompt and $EDITOR, in order, and the
// option after which each runs a command given as separate arguments.
const QStringList& terminalEmulators();
QString terminalCommandOption(const QString& terminal);

// The Exec line of the [Desktop Entry] group of a desktop entry file, with the
// file's own escapes undone; "" when there is none.
QString desktopEntryExec(const QByteArray& contents);

// The program and arguments of a desktop entry's Exec line opening `files`: the line
// is split as the desktop does, and its field codes become the files (%f %u: the
// first, %F %U: all) or vanish. Files the line has no place for go at its end.
QStringList desktopCommand(const QString& exec, const QStringList& files);

// True for the accessory names, in any letter case and without a directory.
bool isAccessoryName(const QString& program);

// The starts to try for an accessory, best first; empty when nothing suitable is
// installed. `maximised` asks the terminal of command.com to fill the screen.
QList<StartPlan> accessoryPlans(const QString& program, const QStringList& arguments,
                                const QString& workingDir, bool maximised,
                                const ProgramLookup& lookup);

// True when the file starts like something the system can run (a "#!" line or an
// ELF header). A data file on a disk that marks every file executable is not one.
bool startsLikeProgram(const QByteArray& firstBytes);

// A regular, executable file whose first bytes say it is a program or a script.
bool looksLikeProgram(const QString& path);
