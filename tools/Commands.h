#pragma once

// The command texts of every program the main window and the signature options start.
// A command is a program path and the argument text after it; the argument text keeps
// every blank the suite's tools have always been given, so program + arguments is the
// whole command as the user sees it. Every file name reaches the tool as one argument,
// whatever it holds.

#include "forcedata/ReadForces.h"
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

// Messages and captions the tool commands share.
inline constexpr const char* NotImplementedText = "Not yet implemented!";
inline constexpr const char* NotImplementedTitle = "Pictor";

// A file name as one argument of an argument text: quoted when it holds a blank, a tab
// or a double quote, so that the text splits back into the very name.
QString argumentName(const QString& name);

// A tool's arguments twice over: the text the user reads, with the blanks the suite's
// tools have always been given and names quoted where they must be, and the list the
// program receives, which is exactly what that text splits into.
struct ToolArguments {
    QString text;
    QStringList list;
};
// The switch text (split at its blanks), then `name` as one argument; no name, no
// argument.
ToolArguments switchesAndName(const QString& switches, const QString& name);

// --- Programs menu ---------------------------------------------------------------------
inline constexpr const char* AnalysisTool = "Tabulo.exe";
inline constexpr const char* RotationTool = "Swivra.exe";
inline constexpr const char* HistoryTool = "Tymlyn.bat";
inline constexpr const char* AnalysisSwitches = "/F/I ";
inline constexpr const char* RotationSwitches = " ";
// The switches of the Histories items, by item.
inline constexpr std::array<const char*, 3> HistorySwitches = {" /A/C/Z ", " /A/C/T/Z ",
                                                               " /A/C/V/H/Z "};
// "&Analyze" and "&Rotate": the switches, a blank and the force file.
ToolArguments analysisArguments(const QString& switches, const QString& shortName);
// A Histories item: its switches run straight into the force file.
ToolArguments historyArguments(int item, const QString& shortName);
inline constexpr const char* HelpSwitches = " /? /Q /HELP";
// The file name and filter of the dialogs that pick a program.
inline constexpr const char* ProgramPattern = "*.exe";

// --- the launcher ----------------------------------------------------------------------
// What "Command line:" shows for RunTool: path, a blank, arguments, all in lower case.
QString runToolLabel(const QString& toolPath, const QString& arguments);
QString outputQuestion(const QString& toolName, const QString& lf);
inline constexpr const char* OutputQuestionTitle = "View output";
inline constexpr const char* OutputExtension = ".out";

// --- force signature -------------------------------------------------------------------
inline constexpr const char* SignatureTool = "Marquo.exe";
// The options of the signature dialog: the indices of its option arrays and the
// states of its check boxes (0 clear, 1 ticked, 2 greyed; anything but 0 is chosen).
struct SignatureChoice {
    int plate = 0; // 0 Kistler, 1 AMTI, 2 no outline
    int view = 1;  // 0 sagittal, 1 all plane views, 2 three-dimensional
    int foot = 0;
    int colour = 2;
    int graphics = 2;
    int axes = 2;
    int skip = 0;
    int dirCorr = 0;
};
QString signatureSwitches(const SignatureChoice& choice);
ToolArguments signatureArguments(const QString& switches, const QString& shortName);
// The footprint box after a change of view: greyed for the sagittal view (where it
// does not apply), ticked again for the others.
int footprintAfterView(int view, int foot);
// The plot printer that PlotPrinter selects, and what it is given.
QString plotPrinterTool(int16_t plotPrinter);
inline constexpr const char* PlotFile = "preview.plt";

// --- Model menu ------------------------------------------------------------------------
ToolArguments modelRewriteArguments(const QString& trialName);
ToolArguments addForcesArguments(const QString& trialName);
// A blank and the file: what a program given one file receives.
ToolArguments fileArguments(const QString& fileName);
inline constexpr const char* NotepadTool = "Notepad.exe";
// The same editor as the Programs menu and the output offer name it.
inline constexpr const char* NotepadProgram = "notepad.exe";

// --- Data, Convert and Animate menus ---------------------------------------------------
// The trial file each Ariel item converts: ".3d" for item 0, ".1t" to ".9t" after it.
QString arielExtension(int item);
ToolArguments arielArguments(const QString& shortName);
// The trial file each Animate item shows.
QString animateExtension(int item);
inline constexpr const char* AnimateSwitches = " /q /1";
ToolArguments animateArguments(const QString& targetName);
// The .cda conversion of the file `cdaFile`.
ToolArguments cdaArguments(const QString& cdaFile);

// --- File menu and tool buttons --------------------------------------------------------
// What a sibling program is given: a blank and a semicolon, nothing else.
inline constexpr const char* SiblingArguments = " ;";
QString renameErrorText(const QString& forceFile, int number, const QString& description,
                        const QString& lf);
QString copyErrorText(int number, const QString& description, const QString& lf);
inline constexpr const char* CopyOpenFileText =
    "Cannot copy an open file.  Close it and try again.";
