#pragma once

// What the force graphs show, as plain functions of the force table and the animation's
// options: the time axis, the curves with the reversals and the body-weight scale the
// vectors use, the readout of a record, the key events of a contact, and the zoom and
// pan arithmetic of the time axis. Nothing here knows a widget.

#include "forcedata/TrialMeasures.h"

#include <QColor>
#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace graphs
{

// Seconds when the table has a usable rate, else the record number. A record's time is
// the animation's: its record number less one over the rate, so a table whose numbers
// start at 121 starts at 0.6 s at 200 Hz.
struct TimeAxis {
    bool seconds = false;
    double rateHz = 0;
    QString label; // "Time (s)" or "Record number (no sampling rate)"
    double firstNumber = 1; // the record number of record 1

    // The axis value of record `index` (1-based).
    double at(double index) const;
    // The record index at an axis value (not rounded).
    double index(double value) const;
};
TimeAxis timeAxis(const ForceTable& table);

// The signs the animation gives each quantity in a view, so a curve rises where the
// vector points that way.
struct Signs {
    int Fx = 1;
    int Fy = 1;
    int Ax = 1;
    int Ay = 1;
    int Extra = 1;
};
struct ViewOptions {
    int viewIndex = 1;
    int horizForceSign = -1;
    int horizCentreSign = 1;
    int vertForceSign = 1;
    int vertCentreSign = 1;
    int azSign = 1;
    bool useAz = false;
    bool normalize = false; // "Normalize to BW" checked
    float bodyWeight = 0;
    bool operator==(const ViewOptions&) const = default;
};
Signs curveSigns(const ViewOptions& options);
// Forces are shown in multiples of body weight only where the weight can divide.
bool forcesInBodyWeights(const ViewOptions& options);

enum Quantity { QFx, QFy, QFz, QAx, QAy, QMz, QExtra, QuantityCount };

struct Curve {
    Quantity quantity = QFx;
    QString name;
    QColor colour;
    std::vector<double> values; // index 0 is record 1
};

struct Chart {
    QString title;
    QString unit; // the vertical axis's label
    std::vector<Curve> curves;
    // The same quantities as read, drawn faintly behind `curves` when those are filtered.
    std::vector<Curve> raw;
};

// The three charts: forces, centre of pressure, moment (with the seventh column when it
// holds anything but zeros). Records 1..RecordCount; none for a table without records.
std::array<Chart, 3> buildCharts(const ForceTable& table, const ViewOptions& options);

// Colours that stay apart for the common colour-vision deficiencies (Okabe and Ito).
QColor curveColour(Quantity q);

// Name of the seventh column as a chart legend says it.
QString extraName(const ForceTable& table);

// `Record <n>   <t> s   Fx <v> ...` for record `index`, values as the raw listing writes
// them, blanks trimmed; the time is left out where the table has no rate.
QString readoutText(const ForceTable& table, int index);

// --- key events -------------------------------------------------------------------------
// The contacts and their numbers are those rfstats writes: one definition for both.
inline constexpr double DefaultThreshold = forcedata::DefaultThreshold; // newtons
using Contact = forcedata::ContactMeasures;

// The measured contacts at `threshold` (none for a threshold of 0 or less).
std::vector<Contact> findContacts(const ForceTable& table, double threshold);

// --- the visible time range -------------------------------------------------------------
// A range of record indices (real numbers: zooming can end between records).
struct Range {
    double first = 1;
    double last = 1;
    double span() const { return last - first; }
    bool operator==(const Range&) const = default;
};

// Everything, 1..recordCount (a single record gets a unit's width around it).
Range fullRange(int recordCount);
// Zooms by `factor` (below 1 zooms in) keeping `anchor` where it is on screen, within
// the full range and never narrower than two records.
Range zoomed(Range r, double anchor, double factor, int recordCount);
// Shifted by `delta` records, within the full range.
Range panned(Range r, double delta, int recordCount);
// The band between two indices, at least two records wide.
Range band(double a, double b, int recordCount);

// Lowest and highest value of the curves over the records in the range, padded, or
// nothing when no finite value is there.
std::optional<std::pair<double, double>> valueLimits(const Chart& chart, Range r);
// Tick values at round steps (1, 2 or 5 times a power of ten), about `wanted` of them
// and never fewer than `atLeast` where the range is finite.
std::vector<double> ticks(double low, double high, int wanted, int atLeast = 0);

// A number for a table cell: fixed `decimals` up to 1e7, scientific beyond, so a wild
// value stays a few characters wide.
QString cellNumber(double v, int decimals);

// The record `steps` keys away from `current`: Left/Right one, PgUp/PgDn a tenth of the
// records, Home/End the ends; within 1..recordCount.
enum class CursorKey { Left, Right, PageUp, PageDown, Home, End };
int movedCursor(int current, CursorKey key, int recordCount);

} // namespace graphs
