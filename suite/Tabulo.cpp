// Tabulo: the one stand-in that does its tool's real work, so that "Analyze" and a
// click on Tabulo.out show a true force analysis of the trial.

#include "core/ForceTable.h"
#include "forcedata/RfReader.h"
#include "suite/ForceAnalysis.h"
#include "suite/StandIn.h"

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace suite
{

int runForceAnalysis(const ToolInfo& tool, const Invocation& call, std::ostream& out,
                     std::ostream& err)
{
    std::string text = outputHeader(tool, call);
    const auto finish = [&](int status) {
        if (!writeOutputFile(call, tool.outputFile, text, err))
            return ExitFailure;
        out << tool.title << " (stand-in): wrote " << tool.outputFile << '\n';
        return status;
    };

    const auto files = fileArguments(call.args);
    if (files.empty()) {
        text += "\nError: no force file was named on the command line.\nNo analysis was made.\n";
        return finish(ExitFailure);
    }
    const std::string& name = files.front();
    text += "Force file:        " + name + "\n";

    FileByteSource file;
    const auto path = resolveFile(call.workingDir, name);
    if (const int16_t error = file.open(path.string()); error != FileError::None) {
        text += "\nError: the force file cannot be opened: " + fileErrorText(error) + " (" +
                std::to_string(error) + ").\nNo analysis was made.\n";
        return finish(ExitCannotOpen);
    }
    auto table = std::make_unique<ForceTable>();
    std::vector<std::string> warnings;
    RfReadCallbacks callbacks;
    callbacks.onWarning = [&](const std::string& warning) { warnings.push_back(warning); };
    const RfReadResult result = readRf(file, *table, callbacks);
    file.close();
    if (file.readFailed())
        warnings.push_back("The file could not be read to its end.");

    if (!warnings.empty()) {
        text += "\nWarnings from reading the file:\n";
        for (const std::string& warning : warnings) {
            // A warning may span lines; indent each.
            std::string indented = "  ";
            for (char c : warning)
                indented += c == '\n' ? std::string("\n  ") : std::string(1, c);
            text += indented + "\n";
        }
    }
    switch (result) {
    case RfReadResult::Empty:
        text += "\nError: " + std::string(RfWarningEmpty) + "\nNo analysis was made.\n";
        return finish(ExitEmpty);
    case RfReadResult::NoData:
        text += "\nError: " + std::string(RfWarningNoData) + "\nNo analysis was made.\n";
        return finish(ExitNoData);
    case RfReadResult::Records:
        break;
    }
    text += "\n" + forceReport(*table, summarizeForces(*table));
    return finish(ExitDone);
}

} // namespace suite
