#include "suite/StandIn.h"

#include "core/ForceTable.h"
#include "core/NumberText.h"
#include "forcedata/RfReader.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>
#include <memory>
#include <ostream>
#include <system_error>

namespace suite
{

namespace fs = std::filesystem;

namespace
{

constexpr std::array<ToolInfo, 17> Tools{{
    {"tabulo.exe", "Tabulo.exe", "force analysis", ToolKind::ForceAnalysis, "Tabulo.out", "", true},
    {"chronel.exe", "Chronel.exe", "force histories", ToolKind::ConsoleTool, "Chronel.out", "",
     true},
    {"swivra.exe", "Swivra.exe", "rotation of the force axes", ToolKind::ConsoleTool, "Swivra.out",
     "", true},
    {"marquo.exe", "Marquo.exe", "force signature", ToolKind::ForceSignature, "", "", true},
    {"scalera.exe", "Scalera.exe", "scaling and refining of digitized data", ToolKind::ConsoleTool,
     "Scalera.out", "", false},
    {"hardcpd.exe", "Hardcpd.exe", "plot printing (DOS)", ToolKind::Viewer, "", "", false},
    {"hardcpw.exe", "Hardcpw.exe", "plot printing (Windows)", ToolKind::Viewer, "", "", false},
    {"acrospin.exe", "Acrospin.exe", "three-dimensional display", ToolKind::Viewer, "", "", false},
    {"Modeler.exe", "Modeler.exe", "model building from digitized data", ToolKind::ConsoleTool,
     "Modeler.out", ".dg .cfb", false},
    {"Vesmor.exe", "Vesmor.exe", "adding the force data to a model", ToolKind::ConsoleTool,
     "Vesmor.out", ".cfb .rf", false},
    {"Pictor.exe", "Pictor.exe", "graphing and animation", ToolKind::SiblingProgram, "", "", false},
    {"Ordinex.exe", "Ordinex.exe", "numbering digitized data afresh", ToolKind::ConsoleTool,
     "Ordinex.out", "", false},
    {"Morph2DG.exe", "Morph2DG.exe", "conversion of a text file to digitized data",
     ToolKind::ConsoleTool, "Morph2DG.out", "", false},
    {"kqwin98.exe", "Kqwin98.exe", "Kinemora for Windows", ToolKind::SiblingProgram, "", "", false},
    {"tessel2.exe", "Tessel2.exe", "data processing", ToolKind::SiblingProgram, "", "", false},
    {"ctledit.exe", "Ctledit.exe", "control file editor", ToolKind::SiblingProgram, "", "", false},
    {"pictor98.exe", "Pictor98.exe", "graphing and animation", ToolKind::SiblingProgram, "", "",
     false},
}};

constexpr std::string_view SignaturePlot = "PREVIEW.PLT";
constexpr std::string_view SignatureThreeD = "MARQUO.ACD";

std::string upper(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return result;
}

bool sameWithoutCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && upper(a) == upper(b);
}

std::string oneLine(std::string_view text)
{
    std::string result(text);
    std::replace_if(
        result.begin(), result.end(), [](char c) { return c == '\t' || c == '\n' || c == '\r'; },
        ' ');
    return result;
}

std::string joined(const std::vector<std::string>& args)
{
    std::string text;
    for (std::size_t i = 0; i < args.size(); ++i)
        text += (i == 0 ? "" : " ") + args[i];
    return text;
}

std::string trimmedRight(std::string_view text)
{
    const std::size_t last = text.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string() : std::string(text.substr(0, last + 1));
}

std::vector<std::string_view> words(std::string_view text)
{
    std::vector<std::string_view> list;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = text.find_first_not_of(' ', pos);
        if (start == std::string_view::npos)
            break;
        const std::size_t end = std::min(text.find(' ', start), text.size());
        list.push_back(text.substr(start, end - start));
        pos = end;
    }
    return list;
}

// What a stand-in found for one of its inputs, and the exit status it implies.
struct InputNote {
    std::string text;
    int status = ExitDone;
};

InputNote forceFileNote(const fs::path& path, const std::string& shownName)
{
    FileByteSource file;
    if (const int16_t error = file.open(path.string()); error != FileError::None)
        return {shownName + ": cannot be opened: " + fileErrorText(error) + " (" +
                    std::to_string(error) + ")",
                ExitCannotOpen};
    auto table = std::make_unique<ForceTable>();
    const RfReadResult result = readRf(file, *table);
    switch (result) {
    case RfReadResult::Empty:
        return {shownName + ": " + std::string(RfWarningEmpty), ExitEmpty};
    case RfReadResult::NoData:
        return {shownName + ": " + std::string(RfWarningNoData), ExitNoData};
    case RfReadResult::Records:
        break;
    }
    return {shownName + ": force file \"" + trimmedRight(table->TrialTitle) + "\", " +
                std::to_string(table->RecordCount) + " records at " + table->SamplingRate + " Hz",
            ExitDone};
}

InputNote plainFileNote(const fs::path& path, const std::string& shownName)
{
    std::error_code error;
    if (fs::is_regular_file(path, error)) {
        const auto size = fs::file_size(path, error);
        return {shownName + ": found (" + std::to_string(error ? 0 : size) + " bytes)", ExitDone};
    }
    if (fs::is_directory(path, error))
        return {shownName + ": is a folder, not a file", ExitFailure};
    return {shownName + ": not found", ExitFailure};
}

std::vector<InputNote> inputNotes(const ToolInfo& tool, const Invocation& call)
{
    std::vector<InputNote> notes;
    for (const std::string& arg : fileArguments(call.args)) {
        std::vector<std::string> names;
        if (!tool.trialInputs.empty() && fs::path(arg).extension().empty()) {
            for (std::string_view extension : words(tool.trialInputs))
                names.push_back(arg + std::string(extension));
        } else {
            names.push_back(arg);
        }
        for (const std::string& name : names) {
            const fs::path path = resolveFile(call.workingDir, name);
            const std::string ext = upper(fs::path(name).extension().string());
            const bool forceFile = tool.readsForceFiles || ext.rfind(".RF", 0) == 0;
            notes.push_back(forceFile ? forceFileNote(path, name) : plainFileNote(path, name));
        }
    }
    if (notes.empty())
        notes.push_back({"No file was named on the command line.", ExitFailure});
    return notes;
}

int consoleTool(const ToolInfo& tool, const Invocation& call, std::ostream& out, std::ostream& err)
{
    const std::string_view outputName =
        tool.kind == ToolKind::ForceSignature ? signatureOutput(call.args) : tool.outputFile;
    std::string text = outputHeader(tool, call);
    text += "\nInput files:\n";
    int status = ExitDone;
    for (const InputNote& note : inputNotes(tool, call)) {
        text += "  " + note.text + "\n";
        if (status == ExitDone)
            status = note.status;
    }
    text += "\nThis stand-in only checks its input and records how it was started; the "
            "suite's own " +
            std::string(tool.title) + " makes the " + std::string(tool.role) + ".\n";
    if (!writeOutputFile(call, outputName, text, err))
        return ExitFailure;
    out << tool.title << " (stand-in): wrote " << outputName << '\n';
    return status;
}

} // namespace

std::span<const ToolInfo> suiteTools()
{
    return Tools;
}

const ToolInfo* findTool(std::string_view startedName)
{
    for (const ToolInfo& tool : Tools)
        if (tool.fileName == startedName)
            return &tool;
    for (const ToolInfo& tool : Tools)
        if (sameWithoutCase(tool.fileName, startedName))
            return &tool;
    return nullptr;
}

std::string isoLocalTime(std::time_t when)
{
    std::tm local{};
    localtime_r(&when, &local);
    char text[40];
    if (std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S%z", &local) == 0)
        return "1970-01-01T00:00:00+00:00";
    std::string result = text;
    // strftime gives +0200; the extended form wants +02:00.
    if (result.size() >= 5)
        result.insert(result.size() - 2, ":");
    return result;
}

std::string logLine(std::string_view time, std::string_view program, std::string_view workingDir,
                    const std::vector<std::string>& args)
{
    return oneLine(time) + '\t' + oneLine(program) + '\t' + oneLine(workingDir) + '\t' +
           oneLine(joined(args)) + '\n';
}

fs::path suiteLogFile(const char* xdgStateHome, const char* home)
{
    fs::path base;
    if (xdgStateHome != nullptr && fs::path(xdgStateHome).is_absolute())
        base = xdgStateHome;
    else if (home != nullptr && *home != '\0')
        base = fs::path(home) / ".local" / "state";
    else
        return {};
    return base / "kinemora" / "suite.log";
}

bool appendLogLine(const fs::path& logFile, const std::string& line, std::string& error)
{
    std::error_code code;
    fs::create_directories(logFile.parent_path(), code);
    // The whole line goes out in one write, so starts that run at once do not mix.
    std::ofstream log(logFile, std::ios::binary | std::ios::app);
    if (log)
        log.write(line.data(), static_cast<std::streamsize>(line.size()));
    log.close();
    if (log)
        return true;
    error = "cannot write the suite log " + logFile.string();
    if (code)
        error += " (" + code.message() + ")";
    return false;
}

std::vector<std::string> switchWords(const std::vector<std::string>& args)
{
    std::vector<std::string> list;
    for (const std::string& arg : args) {
        if (arg.empty() || arg.front() != '/')
            continue;
        std::size_t pos = 0;
        while (pos < arg.size()) {
            const std::size_t start = pos + 1;
            const std::size_t end = std::min(arg.find('/', start), arg.size());
            if (end > start)
                list.push_back(upper(std::string_view(arg).substr(start, end - start)));
            pos = end;
        }
    }
    return list;
}

bool wantsUsage(const std::vector<std::string>& args)
{
    for (const std::string& arg : args)
        if (arg == "-h" || arg == "--help")
            return true;
    const auto list = switchWords(args);
    return std::any_of(list.begin(), list.end(),
                       [](const std::string& word) { return word == "?" || word == "HELP"; });
}

std::vector<std::string> fileArguments(const std::vector<std::string>& args)
{
    std::vector<std::string> files;
    for (const std::string& arg : args)
        if (!arg.empty() && arg.front() != '/' && arg != ";")
            files.push_back(arg);
    return files;
}

std::string_view signatureOutput(const std::vector<std::string>& args)
{
    const auto list = switchWords(args);
    const bool threeD = std::find(list.begin(), list.end(), "3") != list.end();
    return threeD ? SignatureThreeD : SignaturePlot;
}

fs::path resolveFile(const fs::path& dir, const std::string& name)
{
    const fs::path given = fs::path(name).is_absolute() ? fs::path(name) : dir / name;
    std::error_code error;
    if (fs::exists(given, error))
        return given;
    const std::string wanted = upper(given.filename().string());
    fs::path match;
    int matches = 0;
    for (fs::directory_iterator it(given.parent_path(), error), end; !error && it != end;
         it.increment(error)) {
        if (upper(it->path().filename().string()) == wanted) {
            match = it->path();
            ++matches;
        }
    }
    return matches == 1 ? match : given;
}

std::string usageText(const ToolInfo& tool)
{
    std::string text = std::string(tool.title) + " - " + std::string(tool.role) +
                       "\nA stand-in of the Kinemora suite, shipped with Orvane so that every "
                       "command of the program can be tried.\n";
    switch (tool.kind) {
    case ToolKind::ForceAnalysis:
        text += "Usage: " + std::string(tool.title) +
                " [/switches] FORCEFILE\n"
                "Reads the force file and writes a force analysis to " +
                std::string(tool.outputFile) + " in the working directory.\n";
        break;
    case ToolKind::ConsoleTool:
        text += "Usage: " + std::string(tool.title) +
                " [/switches] FILE ...\n"
                "Checks the named files and writes " +
                std::string(tool.outputFile) + " in the working directory.\n";
        break;
    case ToolKind::ForceSignature:
        text += "Usage: " + std::string(tool.title) +
                " [/k|/m] [/1/z|/2/z|/3] [/f/c/a/d/s] FORCEFILE\n"
                "Writes " +
                std::string(SignaturePlot) + " for the plane views, or " +
                std::string(SignatureThreeD) + " for the three-dimensional view (/3).\n";
        break;
    case ToolKind::Viewer:
    case ToolKind::SiblingProgram:
        text += "Usage: " + std::string(tool.title) +
                " [FILE]\n"
                "Notes its start in the suite log and ends.\n";
        break;
    }
    text += "Every start is noted in kinemora/suite.log under the user's state directory.\n";
    return text;
}

std::string outputHeader(const ToolInfo& tool, const Invocation& call)
{
    return std::string(tool.title) + " - " + std::string(tool.role) +
           "\nWritten by the stand-in of the Kinemora suite's " + std::string(tool.title) +
           " that ships with Orvane.\n"
           "Started as:        " +
           fs::path(call.program).filename().string() +
           "\n"
           "Arguments:         " +
           joined(call.args) +
           "\n"
           "Working directory: " +
           call.workingDir.string() + "\n";
}

bool writeOutputFile(const Invocation& call, std::string_view name, const std::string& text,
                     std::ostream& err)
{
    const fs::path path = call.workingDir / name;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    if (file)
        return true;
    err << fs::path(call.program).filename().string() << ": cannot write " << path.string() << '\n';
    return false;
}

int runStandIn(const Invocation& call, std::ostream& out, std::ostream& err)
{
    const std::string started = fs::path(call.program).filename().string();
    const fs::path logFile = suiteLogFile(call.xdgStateHome, call.home);
    if (!logFile.empty()) {
        const std::string time = isoLocalTime(call.now);
        const std::string cwd = call.workingDir.string();
        std::string lines;
        if (!call.wrapper.empty())
            lines += logLine(time, call.wrapper, cwd, call.args);
        lines += logLine(time, started, cwd, call.args);
        // A log that cannot be written is worth a note, not a failure of the tool.
        std::string error;
        if (!appendLogLine(logFile, lines, error))
            err << started << ": " << error << '\n';
    }

    const ToolInfo* tool = findTool(started);
    if (tool == nullptr) {
        out << started << ": a stand-in of the Kinemora suite, started under a name it does "
            << "not know.\nIt answers to these names in Orvane's program directory:\n";
        for (const ToolInfo& known : Tools)
            out << "  " << known.fileName << "  (" << known.role << ")\n";
        return ExitFailure;
    }
    if (wantsUsage(call.args)) {
        out << usageText(*tool);
        return ExitDone;
    }
    switch (tool->kind) {
    case ToolKind::ForceAnalysis:
        return runForceAnalysis(*tool, call, out, err);
    case ToolKind::ConsoleTool:
    case ToolKind::ForceSignature:
        return consoleTool(*tool, call, out, err);
    case ToolKind::Viewer:
    case ToolKind::SiblingProgram:
        break;
    }
    out << tool->title << " (stand-in): started with \"" << joined(call.args)
        << "\"; the suite's own program is not installed.\n";
    return ExitDone;
}

} // namespace suite
