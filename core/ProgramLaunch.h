#pragma once

// Starting programs from the main window: the result is kept in LastResult, and a
// program that could not be started is named in the status bar (the user would
// otherwise see nothing happen).

#include "platform/Platform.h"

#include <QString>

class MainWindowLink;

// The status-bar line for a program that could not be started.
QString couldNotStartText(const QString& program);

// Starts `program` (taken whole) with `argumentText` in `workingDir`. LastResult
// receives the task identifier, 0 when nothing started. True when started.
bool startFromWindow(MainWindowLink& window, const QString& program, const QString& argumentText,
                     const QString& workingDir, WindowStyle style);

// The shell's `operation` ("open", "explore") on `file` in `workingDir`, owned by the
// main window. LastResult receives the result code (33 started, 2 not). True when started.
bool openFromWindow(MainWindowLink& window, const QString& operation, const QString& file,
                    const QString& parameters, const QString& workingDir, WindowStyle style);

// The same with the arguments as a list, each reaching the program as it is.
bool startWithArguments(MainWindowLink& window, const QString& program,
                        const QStringList& arguments, const QString& workingDir, WindowStyle style);
bool openWithArguments(MainWindowLink& window, const QString& operation, const QString& file,
                       const QStringList& arguments, const QString& workingDir, WindowStyle style);

// A file name as one argument of an argument text: quoted when it holds blanks or
// double quotes, so that a tool receives it whole.
QString fileArgument(const QString& name);
