#pragma once

// How the main window's tool commands start programs: in the data directory, every
// start keeps its result in LastResult, and a start that fails says so in the status bar.

#include "platform/Platform.h"

#include <QString>

class frmOrvane;
class QListWidget;

// A suite program in the program directory, found whatever the case of its name.
QString toolPathFor(frmOrvane& window, const QString& name);

// A command line in a new window. True when it started.
bool startProgram(frmOrvane& window, const QString& program, const QString& arguments,
                  WindowStyle style = WindowStyle::NormalFocus);
// The shell's "open" of a program, shown normally. True when it started.
bool shellOpen(frmOrvane& window, const QString& file, const QString& parameters);

// "Command line:" shows `text`.
void showCommand(frmOrvane& window, const QString& text);

// Re-reads one of the main window's file lists.
void refreshList(frmOrvane& window, QListWidget* list);
