#pragma once

// The numbers of the force-analysis report: extremes, impulses, contact phases, the
// centre of pressure's excursion and the free moment's range of one trial.

#include <string>
#include <vector>

struct ForceTable;

namespace suite
{

// A foot (or body) is on the plate while the vertical force is above this.
inline constexpr double ContactThresholdN = 20.0;

struct Extreme {
    double value = 0;
    int record = 0;  // 1-based
    double time = 0; // s from the first record
};

struct ComponentSummary {
    Extreme peak;
    Extreme minimum;
    double impulse = 0; // N s, trapezoidal
};

struct Interval {
    double start = 0; // s
    double end = 0;
    double length() const { return end - start; }
};

struct ForceSummary {
    int records = 0;
    double rateHz = 0;    // 0 when the file gives none: times and impulses are then 0
    double durationS = 0; // records / rate
    ComponentSummary fx, fy, fz;
    // Where Fz is above the threshold, with the crossings placed by linear
    // interpolation between samples.
    std::vector<Interval> contacts;
    double contactTime = 0;
    // Centre of pressure over the records in contact.
    int copRecords = 0;
    double axMin = 0, axMax = 0, ayMin = 0, ayMax = 0;
    double copPath = 0; // summed distance between consecutive records in contact
    double mzMin = 0, mzMax = 0;
};

// Needs RecordCount >= 1.
ForceSummary summarizeForces(const ForceTable& table);

// The analysis part of Tabulo.out: the trial's header values, then the numbers.
std::string forceReport(const ForceTable& table, const ForceSummary& summary);

} // namespace suite
