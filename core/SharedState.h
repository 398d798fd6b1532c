#pragma once

// The program-wide state every window reads: directories, the current trial, the
// force table. One instance lives from start to end of the program.

#include "core/ForceTable.h"

#include <QString>
#include <cstdint>

struct SharedState {
    QString LF = QStringLiteral("\n");
    QString VersionText;
    QString WebPageAddress;
    QString ProgramDir;
    QString DataDir;
    QString TargetName;
    QString ManualsDir;
    int16_t OpenError = 0;
    QString ListingTo;
    QString GraphicsTo;
    quintptr MainWindowHandle = 0;
    QString AboutText;
    int16_t TrialFromCommandLine = 0;
    QString TrialName;
    QString FileType;
    QString ForceFile;
    QString LoadedForceFile;
    QString ViewerFile;
    QString ManualFile;
    double LastResult = 0;
    int16_t PlotPrinter = 0;
    QString TrialPrefix;
    QString SigProgram;
    QString SigCommand;
    QString SigArguments;
    int Counter = 0;

    ForceTable forces;
};

// The program's own manual, in the manuals directory.
inline constexpr const char* OwnManualFile = "orvane.pdf";

// The wording shown in the status bar and at the foot of the About box.
inline constexpr const char* FixedNoticeText = "Ground reaction forces for Kinemora";
inline constexpr const char* WebPageAddressText = "https://orvane.example.org/";
