#pragma once

// What the compare window shows, as plain functions: the curves of a trial's first
// contact (in seconds from its start or on 0-100 % of it), their scale, the mean and
// spread of a group, the CSV texts it saves, the filter of names and the remembered
// choice of trials. The numbers of a contact come from forcedata/TrialMeasures.

#include "forcedata/TrialMeasures.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace compare
{

// Gait papers draw a stance on 101 points, 0 % to 100 % in steps of 1 %.
inline constexpr int NormalisedPoints = 101;

enum class Channel { Fx, Fy, Fz, Ax, Ay, Mz };
inline constexpr int ChannelCount = 6;
const char* channelName(Channel c);
// Forces can be shown in multiples of body weight; the centre and the moment cannot.
bool isForce(Channel c);
// "N", "× BW", "m" or "N·m" as the vertical axis says it (the centre of pressure and
// the moment keep the file's units).
const char* channelUnit(Channel c, bool bodyWeights);

// The channel over records first..last. Fz is taken in the loaded direction (sign*Fz),
// so trials from plates of either sign lie on one another.
std::vector<double> channelValues(const ForceTable& table, Channel c, int sign, int first,
                                  int last);

// `values` resampled to `points` evenly spaced positions from the first to the last
// value by linear interpolation; a single value repeats; nothing stays nothing.
std::vector<double> normalised(std::span<const double> values, int points = NormalisedPoints);

// Divided by the body weight, or nothing where the weight is not above 0.
std::optional<std::vector<double>> inBodyWeights(std::span<const double> values, double bodyWeight);

// Pointwise mean and sample standard deviation (n - 1) of curves of equal length; the
// SD is empty for fewer than two curves, both for none.
struct Spread {
    std::vector<double> mean;
    std::vector<double> sd;
};
Spread spread(const std::vector<std::span<const double>>& curves);

// Mean and sample SD of the numbers that exist; the SD needs two of them.
std::optional<double> meanOf(std::span<const std::optional<double>> values);
std::optional<double> sdOf(std::span<const std::optional<double>> values);

// --- groups and the table ------------------------------------------------------------
enum class Group { None, A, B };
const char* groupName(Group g); // "", "A", "B"

// The measures of a contact in the order of the CSV columns from start_s onward.
inline constexpr int MeasureColumns = 17;
inline constexpr int FirstMeasureColumn = 6; // start_s
std::array<std::optional<double>, MeasureColumns>
measureValues(const forcedata::ContactMeasures& m);

// A group's mean row and SD row for the table: "A mean" / "A SD" in `file`, the
// measure columns from the first contacts given, every other field empty; rows end in "\n".
std::string groupCsvRows(Group g,
                         const std::vector<const forcedata::ContactMeasures*>& firstContacts);

// --- a trial at one threshold and low-pass ---------------------------------------------
// What the window keeps of a trial it has read: its rows for the table, its contacts and
// the curves of its first contact. `note` says why the trial is left off the chart and the
// means, "" when it is not.
struct TrialCurves {
    std::string note;
    bool lowPassRefused = false; // the low-pass asked for cannot apply to this trial
    std::vector<forcedata::ContactMeasures> measures;
    std::string rowsFirst, rowsAll; // the table's rows: the first contact, every contact
    std::optional<double> rate;
    double bodyWeight = 0;
    std::array<std::vector<double>, ChannelCount> values; // over the first contact
    std::array<std::vector<double>, ChannelCount> norm;   // the same on NormalisedPoints
};
// `table` (named `file` in the rows) at `threshold`, low-passed at `lowPassHz` if given.
TrialCurves trialCurves(std::string_view file, const ForceTable& table, double threshold,
                        std::optional<double> lowPassHz);

// The fields of one CSV line as csvField writes them (quotes removed, doubled quotes
// made single); the line end is not part of the line.
std::vector<std::string> splitCsvLine(std::string_view line);

// --- the curves CSV ----------------------------------------------------------------------
struct CurveColumn {
    std::string name;           // the trial's file, or "A mean", "A SD" ...
    std::vector<double> values; // NormalisedPoints numbers
};
// "# <what> over the first contact, 0-100 % of stance in 101 points", the low-pass
// comment when filtered, the header "percent,<names>" and 101 lines of numbers.
std::string curvesCsv(std::string_view what, std::optional<double> lowPassHz,
                      const std::vector<CurveColumn>& columns);

// --- names and the remembered choice ---------------------------------------------------------
// `name` matches the glob: `*` any run, `?` one character, letters without regard to
// case. An empty or blank filter matches everything.
bool nameMatches(std::string_view name, std::string_view filter);

// The names a force-file list shows (the same patterns as the main window's list).
bool isForceFileName(std::string_view name);

struct Choice {
    std::string file; // a name in the data directory, or a path elsewhere
    bool checked = false;
    Group group = Group::None;
    bool operator==(const Choice&) const = default;
};
// One line of text for the settings store; choiceFromText reads it back and skips
// what it cannot read.
std::string choiceText(const std::vector<Choice>& choices);
std::vector<Choice> choiceFromText(std::string_view text);
// The settings key of a data directory: one key per directory that no two directories
// share and that the settings file can hold.
std::string choiceKey(std::string_view dataDir);

} // namespace compare
