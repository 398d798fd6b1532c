// rfdump FILE: a force file as CSV on standard output, read by the program's own
// reader, for researchers who take the numbers into other tools.

#include "forcedata/ForceTable.h"
#include "forcedata/ForceTableCsv.h"
#include "forcedata/RfReader.h"
#include "main/NumberText.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

namespace
{

constexpr int ExitRecords = 0;
constexpr int ExitFailure = 1; // usage or output error
constexpr int ExitCannotOpen = 2;
constexpr int ExitEmpty = 3;
constexpr int ExitNoData = 4;

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: rfdump FILE\n", stderr);
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
    std::fwrite(out.data(), 1, out.size(), stdout);
    if (std::fflush(stdout) != 0)
        return ExitFailure;

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
