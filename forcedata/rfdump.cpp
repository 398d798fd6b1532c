// rfdump FILE: a force file as CSV on standard output, read by the program's own
// reader, for researchers who take the numbers into other tools.

#include "core/ForceTable.h"
#include "core/NumberText.h"
#include "forcedata/ForceTableCsv.h"
#include "forcedata/RfReader.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace
{

constexpr int ExitRecords = 0;
constexpr int ExitFailure = 1; // usage, or the CSV could not be written
constexpr int ExitCannotOpen = 2;
constexpr int ExitEmpty = 3;
constexpr int ExitNoData = 4;

constexpr const char* Usage =
    "usage: rfdump FILE\n"
    "Writes the force file FILE as CSV on standard output.\n"
    "Exit status: 0 records written; 1 usage or write error (disk full, closed output);\n"
    "2 FILE cannot be opened; 3 FILE is empty; 4 FILE has a header but no data.\n";

// Standard output may be a full disk or /dev/full: the write, the flush and the close
// are each checked, so a cut CSV never ends with a status that says all is well.
bool writeAll(const std::string& text)
{
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size())
        return false;
    if (std::fflush(stdout) != 0)
        return false;
    return std::fclose(stdout) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs(Usage, stderr);
        return ExitFailure;
    }
    const std::string path = argv[1];
    FileByteSource file;
    if (const int16_t error = file.open(path); error != FileError::None) {
        std::fprintf(stderr, "rfdump: %s: %s (%d)\n", path.c_str(), fileErrorText(error).c_str(),
                     static_cast<int>(error));
        return ExitCannotOpen;
    }

    // The table is large; keep it off the stack.
    auto table = std::make_unique<ForceTable>();
    RfReadCallbacks callbacks;
    callbacks.onWarning = [](const std::string& warning) {
        std::fputs(warning.c_str(), stderr);
        std::fputc('\n', stderr);
    };
    const RfReadResult result = readRf(file, *table, callbacks);
    file.close();

    const std::string out = forceTableCsv(*table);
    if (!writeAll(out)) {
        const int err = errno;
        std::fprintf(stderr, "rfdump: cannot write the CSV: %s\n",
                     err != 0 ? std::strerror(err) : "write error");
        return ExitFailure;
    }

    switch (result) {
    case RfReadResult::Empty:
        return ExitEmpty;
    case RfReadResult::NoData:
        return ExitNoData;
    case RfReadResult::Records:
        break;
    }
    return ExitRecords;
}
