#pragma once

// How the main window's tool commands start programs: in the data directory, every
// start keeps its result in LastResult, and a start that fails says so in the status bar.

#include "platform/Platform.h"

#include <QString>
#include <QStringList>

class FilePanelsLink;
class MainWindowLink;
class QListWidget;

// A suite program in the program directory, found whatever the case of its name.
QString toolPathFor(MainWindowLink& window, const QString& name);

// The file `name` of the data directory as it lies on disk (an exact match first, else
// the single match without regard to case), or `name` itself when there is none.
QString fileOnDisk(MainWindowLink& window, const QString& name);

// A command line in a new window. True when it started.
bool startProgram(MainWindowLink& window, const QString& program, const QStringList& arguments,
                  WindowStyle style = WindowStyle::NormalFocus);
// The shell's "open" of a program, shown normally. True when it started.
bool shellOpen(MainWindowLink& window, const QString& file, const QStringList& arguments);

// The parameters RunTool hands a tool: its switches and words in capitals, as the
// tools have always read them, and each file of the data directory under its own name.
QStringList toolParameters(MainWindowLink& window, const QStringList& arguments);

// "Command line:" shows `text`.
void showCommand(MainWindowLink& window, const QString& text);

// Re-reads one of the main window's file lists.
void refreshList(FilePanelsLink& panels, QListWidget* list);
