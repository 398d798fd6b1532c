#pragma once

// Where the foot is on the plate: the one contact rule that the graphs, the compare
// window and rfstats share. Plain C++, so the console tools use exactly this code.

#include "core/ForceTable.h"

#include <optional>
#include <string>
#include <vector>

namespace forcedata
{

inline constexpr double DefaultThreshold = 20.0;      // newtons
inline constexpr double MinimumGapSeconds = 0.010;     // a shorter dip does not end a contact
inline constexpr double MinimumContactSeconds = 0.010; // a shorter contact is noise
inline constexpr int MinimumGapRecords = 2;            // the gap where the table has no rate
inline constexpr int MinimumContactRecords = 2;        // the contact where it has no rate

// Why a contact threshold cannot be used ("the threshold must be a number above 0 N"),
// or nothing when it is finite and above 0.
std::optional<std::string> thresholdProblem(double threshold);

// The sampling rate to compute times with: above 0 and finite, else nothing.
std::optional<double> usableRate(const ForceTable& table);

// The records to read, 1..recordCount(table) (RecordCount clamped to 0..capacity).
int recordCount(const ForceTable& table);

// +1, or -1 for a plate whose Fz is negative under load: the sign of the Fz of
// greatest magnitude over records 1..RecordCount (+1 on a tie, for an all-zero or
// empty table, and NaN is ignored).
int loadedSign(const ForceTable& table);

struct Contact {
    int first = 0; // first record with sign*Fz at or above the threshold
    int last = 0;  // last such record of the contact (gaps shorter than the minimum inside)
    bool cutAtStart = false; // under way at record 1 (first == 1)
    bool cutAtEnd = false;   // still under way at the last record (last == RecordCount)
    bool cut() const { return cutAtStart || cutAtEnd; }
    bool operator==(const Contact&) const = default;
};

struct Contacts {
    int sign = 1; // loadedSign of the table; the threshold applies to sign*Fz
    std::vector<Contact> list;
};

// The contacts of the table, in order. Runs of records with sign*Fz >= threshold
// are joined across a gap shorter than the minimum (g records under the threshold
// last g/rate seconds; a contact ends only when g/rate >= 10 ms, or g >= 2 without
// a rate); then a joined contact shorter than the minimum is dropped ((last-first)/rate
// < 10 ms, or last == first without a rate). Nothing when thresholdProblem refuses.
Contacts findContacts(const ForceTable& table, double threshold);

} // namespace forcedata
