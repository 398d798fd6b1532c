#pragma once

// The stand-ins of the Kinemora suite's console tools and sibling programs: one
// program placed in the program directory under every tool's name. It tells by the
// name it was started under which tool it is, notes each start in the suite log and
// leaves the output file that Orvane later offers by name.

#include <ctime>
#include <filesystem>
#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace suite
{

enum class ToolKind {
    ForceAnalysis,  // reads the force file and writes a true analysis
    ConsoleTool,    // checks its input files and writes <Name>.out
    ForceSignature, // writes PREVIEW.PLT, or MARQUO.ACD for the three-dimensional view
    Viewer,         // shows or prints a file the suite made: logs only
    SiblingProgram, // a windowed program of the suite: logs only
};

struct ToolInfo {
    std::string_view fileName; // as placed in the program directory
    std::string_view title;    // as the suite writes it, e.g. "Tabulo.exe"
    std::string_view role;     // what the real tool does
    ToolKind kind;
    std::string_view outputFile; // written in the working directory ("" for none)
    // Extensions looked for when an argument is a bare trial name (".dg .cfb").
    std::string_view trialInputs;
    bool readsForceFiles = false; // its file arguments are force files
};

std::span<const ToolInfo> suiteTools();

// The tool started as `startedName` (a file name, compared without case), or null.
const ToolInfo* findTool(std::string_view startedName);

// Set by the batch wrapper to its own name, so its start is logged too.
inline constexpr const char* WrapperVariable = "KINEMORA_SUITE_WRAPPER";

// ---------------------------------------------------------------------------
// The suite log

// Local time in ISO 8601 with the offset from UTC: 2024-05-01T14:03:09+02:00.
std::string isoLocalTime(std::time_t when);

// One line of the log: time, program, working directory and the arguments joined by
// single blanks, separated by tabs. Tabs and line ends inside a field become blanks,
// so every start stays one line of four fields.
std::string logLine(std::string_view time, std::string_view program, std::string_view workingDir,
                    const std::vector<std::string>& args);

// kinemora/suite.log under $XDG_STATE_HOME, or under ~/.local/state when that is unset,
// empty or not absolute. Empty when neither gives a directory.
std::filesystem::path suiteLogFile(const char* xdgStateHome, const char* home);

// Appends one line, creating the folders on the way. False with a reason on failure.
bool appendLogLine(const std::filesystem::path& logFile, const std::string& line,
                   std::string& error);

// ---------------------------------------------------------------------------
// Arguments, as the suite's tools take them: switches beginning with '/' (several may
// be joined: /A/C/Z) and file names.

// The letters or words of every switch, in upper case: "/a/c/z" gives A, C, Z.
std::vector<std::string> switchWords(const std::vector<std::string>& args);
// True for a "/?" or "/HELP" switch (also -h, --help).
bool wantsUsage(const std::vector<std::string>& args);
std::vector<std::string> fileArguments(const std::vector<std::string>& args);
// The signature tool's result: MARQUO.ACD for the three-dimensional view (/3), else
// the plot of the plane views, PREVIEW.PLT.
std::string_view signatureOutput(const std::vector<std::string>& args);

// A file named by a tool argument, relative to `dir` unless absolute: the exact name
// when it exists, else the single entry of its folder that matches without case, else
// the name as given.
std::filesystem::path resolveFile(const std::filesystem::path& dir, const std::string& name);

std::string usageText(const ToolInfo& tool);

// ---------------------------------------------------------------------------
// One start of the stand-in.

struct Invocation {
    std::string program; // argv[0]
    std::vector<std::string> args;
    std::filesystem::path workingDir;
    std::string wrapper; // the batch wrapper's name when it started us
    const char* xdgStateHome = nullptr;
    const char* home = nullptr;
    std::time_t now = 0;
};

// Exit statuses, shared with rfdump where they mean the same.
inline constexpr int ExitDone = 0;
inline constexpr int ExitFailure = 1; // bad arguments, a missing input, an unwritable output
inline constexpr int ExitCannotOpen = 2;
inline constexpr int ExitEmpty = 3;
inline constexpr int ExitNoData = 4;

int runStandIn(const Invocation& call, std::ostream& out, std::ostream& err);

// The first lines of every output file: which stand-in wrote it and how it was started.
std::string outputHeader(const ToolInfo& tool, const Invocation& call);

// Writes `text` to `name` in the working directory; false with a note on `err`.
bool writeOutputFile(const Invocation& call, std::string_view name, const std::string& text,
                     std::ostream& err);

// Tabulo: the force analysis of the force file named in the arguments.
int runForceAnalysis(const ToolInfo& tool, const Invocation& call, std::ostream& out,
                     std::ostream& err);

} // namespace suite
