#include "forcedata/Contacts.h"

#include <algorithm>
#include <cmath>

namespace forcedata
{

std::optional<std::string> thresholdProblem(double threshold)
{
    if (!(threshold > 0) || !std::isfinite(threshold))
        return std::string("the threshold must be a number above 0 N");
    return std::nullopt;
}

std::optional<double> usableRate(const ForceTable& table)
{
    const double rate = table.samplingRateHz();
    if (rate > 0 && std::isfinite(rate))
        return rate;
    return std::nullopt;
}

int recordCount(const ForceTable& table)
{
    return std::clamp<int>(table.RecordCount, 0, ForceTable::RecordCapacity);
}

int loadedSign(const ForceTable& table)
{
    double highest = 0, lowest = 0;
    const int n = recordCount(table);
    for (int i = 1; i <= n; ++i) {
        const double f = table.Fz[std::size_t(i)];
        if (f > highest)
            highest = f;
        else if (f < lowest)
            lowest = f;
    }
    return -lowest > highest ? -1 : 1;
}

namespace
{
// A small allowance so that, say, 10 records at 1000 Hz count as the full 10 ms.
constexpr double Slack = 1e-9;

bool atLeastSeconds(int intervals, double seconds, double rate)
{
    return double(intervals) >= seconds * rate * (1 - Slack);
}
} // namespace

Contacts findContacts(const ForceTable& table, double threshold)
{
    Contacts result;
    result.sign = loadedSign(table);
    if (thresholdProblem(threshold))
        return result;
    const int n = recordCount(table);
    const std::optional<double> rate = usableRate(table);
    const double sign = result.sign;
    const auto above = [&](int i) { return sign * table.Fz[std::size_t(i)] >= threshold; };
    const auto gapEnds = [&](int under) {
        return rate ? atLeastSeconds(under, MinimumGapSeconds, *rate) : under >= MinimumGapRecords;
    };
    const auto longEnough = [&](const Contact& c) {
        return rate ? atLeastSeconds(c.last - c.first, MinimumContactSeconds, *rate)
                    : c.last - c.first + 1 >= MinimumContactRecords;
    };

    std::vector<Contact> joined;
    for (int i = 1; i <= n; ++i) {
        if (!above(i))
            continue;
        const int first = i;
        while (i < n && above(i + 1))
            ++i;
        if (!joined.empty() && !gapEnds(first - joined.back().last - 1))
            joined.back().last = i;
        else
            joined.push_back({first, i});
    }
    for (Contact& c : joined) {
        if (!longEnough(c))
            continue;
        c.cutAtStart = c.first == 1;
        c.cutAtEnd = c.last == n;
        result.list.push_back(c);
    }
    return result;
}

} // namespace forcedata
