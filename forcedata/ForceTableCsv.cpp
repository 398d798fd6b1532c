#include "forcedata/ForceTableCsv.h"

#include "core/NumberText.h"

#include <algorithm>
#include <string>

namespace
{

std::string trimmedRight(const std::string& text)
{
    const std::size_t last = text.find_last_not_of(' ');
    return last == std::string::npos ? std::string() : text.substr(0, last + 1);
}

} // namespace

std::string forceTableCsv(const ForceTable& table, int first, int last)
{
    std::string out;
    out.reserve(256 + 120 * static_cast<std::size_t>(std::max<int>(table.RecordCount, 0)));
    out += "# title: " + trimmedRight(table.TrialTitle) + "\n";
    out += "# sampling_rate: " + table.SamplingRate + "\n";
    out += "# body_weight: " + shortestSingleText(table.BodyWeight) + "\n";
    first = std::max(first, 1);
    last = std::min(
        {last, static_cast<int>(table.RecordCount), static_cast<int>(ForceTable::RecordCapacity)});
    // A whole table keeps the reader's own count (-1 for an empty file).
    const bool whole = first == 1 && last >= table.RecordCount;
    out +=
        "# records: " + std::to_string(whole ? table.RecordCount : std::max(last - first + 1, 0)) +
        "\n";
    out += "# extra: " + table.extraColumnName() + "\n";
    out += "record,Fx,Fy,Fz,Ax,Ay,Mz,Extra,RecordNo\n";
    for (int i = first; i <= last; ++i) {
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
