// rfdump FILE: a force file as CSV on standard output, read by the program's own
// reader, for researchers who take the numbers into other tools.

#include "forcedata/ForceTable.h"
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

std::string trimmedRight(const std::string& text)
{
    const std::size_t last = text.find_last_not_of(' ');
    return last == std::string::npos ? std::string() : text.substr(0, last + 1);
}

std::string csv(const ForceTable& table)
{
    std::string out;
    out.reserve(256 + 120 * static_cast<std::size_t>(std::max<int>(table.RecordCount, 0)));
    out += "# title: " + trimmedRight(table.TrialTitle) + "\n";
    out += "# sampling_rate: " + table.SamplingRate + "\n";
    out += "# body_weight: " + shortestSingleText(table.BodyWeight) + "\n";
    out += "# records: " + std::to_string(table.RecordCount) + "\n";
    out += "# extra: " + table.extraColumnName() + "\n";
    out += "record,Fx,Fy,Fz,Ax,Ay,Mz,Extra,RecordNo\n";
    for (int i = 1; i <= table.RecordCount && i <= ForceTable::RecordCapacity; ++i) {
        const auto r = static_cast<std::size_t>(i);
        out += std::to_string(i);
        for (double value : {table.Fx[r], table.Fy[r], table.Fz[r], table.Ax[r], table.Ay[r]}) {
            out += ',';
            out += shortestNumberText(value);
        }
        out += ',';
        out += shortestSingleText(table.Mz[r]);
        out += ',';
        out += shortestNumberText(table.Extra[r]);
        out += ',';
        out += std::to_string(table.RecordNo[r]);
        out += '\n';
    }
    return out;
}

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

    const std::string out = csv(*table);
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
