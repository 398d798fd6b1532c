// rfstats FILE...: the numbers of each trial's contacts as one CSV table, the rows the
// compare window saves, for a study's statistics program.

#include "core/ForceTable.h"
#include "forcedata/LowPass.h"
#include "forcedata/RfReader.h"
#include "forcedata/TrialMeasures.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace
{

constexpr int ExitAllRead = 0;
constexpr int ExitFailure = 1; // usage, or the CSV could not be written
constexpr int ExitSomeNotRead = 2;

constexpr const char* Usage =
    "usage: rfstats [--threshold N] [--all-contacts] [--lowpass HZ] FILE...\n"
    "Writes one CSV row per force file on standard output: the numbers of its first\n"
    "contact (every contact with --all-contacts), after a header line.\n"
    "  --threshold N   a contact is where the vertical force is at or above N newtons\n"
    "                  in its loaded direction (default 20)\n"
    "  --all-contacts  one row per contact instead of the first contact only\n"
    "  --lowpass HZ    compute on Fx, Fy, Fz and Mz filtered by\n"
    "                  a zero-lag, second-order Butterworth low-pass filter at HZ Hz\n"
    "                  (\"low-pass HZ Hz, zero lag, 2nd order Butterworth\"); the centre\n"
    "                  of pressure is left as read\n"
    "  --help          this text\n"
    "A contact ends when the force stays under the threshold for 10 ms (two records\n"
    "without a rate); a contact shorter than 10 ms is not counted. A file that cannot\n"
    "be read, or that the filter cannot apply to, gets a row with the reason in the\n"
    "title column and no numbers.\n"
    "Exit status: 0 every file read; 1 usage or write error (disk full, closed output);\n"
    "2 some file could not be read or filtered (its row says why).\n";

// A whole argument as a number, in the C locale; nothing for anything else.
std::optional<double> number(std::string_view text)
{
    double value = 0;
    const char* end = text.data() + text.size();
    const auto r = std::from_chars(text.data(), end, value);
    if (text.empty() || r.ec != std::errc() || r.ptr != end)
        return std::nullopt;
    return value;
}

int usage(const std::string& problem)
{
    if (!problem.empty())
        std::fprintf(stderr, "rfstats: %s\n", problem.c_str());
    std::fputs(Usage, stderr);
    return ExitFailure;
}

// Standard output may be a full disk or /dev/full: every write is checked, and the
// flush and the close at the end, so a cut table never ends with a status that says
// all is well.
bool write(std::string_view text)
{
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
}

bool finish()
{
    if (std::fflush(stdout) != 0)
        return false;
    return std::fclose(stdout) == 0;
}

int writeFailed()
{
    const int err = errno;
    std::fprintf(stderr, "rfstats: cannot write the CSV: %s\n",
                 err != 0 ? std::strerror(err) : "write error");
    return ExitFailure;
}

struct Options {
    double threshold = forcedata::DefaultThreshold;
    bool allContacts = false;
    std::optional<double> lowPass;
    std::vector<std::string> files;
};

// The rows of one file, and whether it was read (and filtered where asked).
std::string fileRows(const std::string& path, const Options& o, ForceTable& table, bool& read)
{
    read = false;
    FileByteSource source;
    if (const int16_t error = source.open(path); error != FileError::None)
        return forcedata::csvProblemRow(path, fileErrorText(error));
    RfReadCallbacks callbacks;
    // Empty and header-only files say so in their row; other warnings (records beyond
    // the table) go to the console.
    callbacks.onWarning = [&path](const std::string& warning) {
        if (warning == RfWarningEmpty || warning == RfWarningNoData)
            return;
        std::fprintf(stderr, "rfstats: %s: %s\n", path.c_str(), warning.c_str());
    };
    const RfReadResult result = readRf(source, table, callbacks);
    const bool failed = source.readFailed();
    source.close();
    if (failed)
        return forcedata::csvProblemRow(path, fileErrorText(FileError::PathFileAccessError));
    if (result == RfReadResult::Empty)
        return forcedata::csvProblemRow(path, RfWarningEmpty);
    if (result == RfReadResult::NoData)
        return forcedata::csvProblemRow(path, RfWarningNoData);
    if (o.lowPass) {
        if (const auto problem = forcedata::lowPassProblem(table, *o.lowPass))
            return forcedata::csvProblemRow(path, *problem);
        forcedata::lowPassForces(table, *o.lowPass);
    }
    read = true;
    return forcedata::trialCsvRows(path, table, o.threshold, o.allContacts);
}

} // namespace

int main(int argc, char** argv)
{
    Options o;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        std::optional<std::string_view> attached; // --threshold=20
        if (const auto eq = arg.find('='); arg.starts_with("--") && eq != std::string_view::npos) {
            attached = arg.substr(eq + 1);
            arg = arg.substr(0, eq);
        }
        if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
            o.files.emplace_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            std::fputs(Usage, stdout);
            return finish() ? ExitAllRead : writeFailed();
        } else if (attached && arg != "--threshold" && arg != "--lowpass") {
            return usage("unknown option " + std::string(argv[i]));
        } else if (arg == "--all-contacts") {
            o.allContacts = true;
        } else if (arg == "--threshold" || arg == "--lowpass") {
            if (!attached && i + 1 >= argc)
                return usage(std::string(arg) + " needs a number");
            const std::string_view text = attached ? *attached : std::string_view(argv[++i]);
            const std::optional<double> value = number(text);
            if (arg == "--threshold") {
                const auto problem = value ? forcedata::thresholdProblem(*value)
                                           : std::optional<std::string>("not a number");
                if (problem)
                    return usage("--threshold " + std::string(text) + ": " + *problem);
                o.threshold = *value;
            } else {
                const auto problem = value ? forcedata::cutoffProblem(*value)
                                           : std::optional<std::string>("not a number");
                if (problem)
                    return usage("--lowpass " + std::string(text) + ": " + *problem);
                o.lowPass = value;
            }
        } else {
            return usage("unknown option " + std::string(arg));
        }
    }
    if (o.files.empty())
        return usage("no force file given");

    errno = 0;
    if (!write(forcedata::csvHeader()) || !write("\n"))
        return writeFailed();
    // The table is large; one on the heap serves every file.
    auto table = std::make_unique<ForceTable>();
    bool allRead = true;
    for (const std::string& path : o.files) {
        bool read = false;
        const std::string rows = fileRows(path, o, *table, read);
        allRead = allRead && read;
        if (!write(rows))
            return writeFailed();
    }
    if (!finish())
        return writeFailed();
    return allRead ? ExitAllRead : ExitSomeNotRead;
}
