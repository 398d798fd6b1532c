#pragma once

// The zero-lag low-pass filter a paper names: a second-order Butterworth designed by the
// bilinear transform, run forward and then backward, with the edges padded by an odd
// extension of 9 samples and each pass started in the steady state of its first sample
// (the numbers equal scipy.signal.filtfilt(*butter(2, fc / (rate / 2)), x)).

#include "core/ForceTable.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace forcedata
{

inline constexpr int LowPassPadding = 9;     // samples of odd extension at each edge
inline constexpr int LowPassMinRecords = 10; // the padding needs more samples than itself

// Coefficients of y[n] = b0 x[n] + b1 x[n-1] + b2 x[n-2] - a1 y[n-1] - a2 y[n-2].
struct Biquad {
    double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
};
// The design for a cut-off strictly between 0 and rate/2.
Biquad butterworthLowPass(double cutoffHz, double rateHz);

// Why a cut-off cannot be typed at all ("the cut-off must be a number above 0 Hz"):
// 0, negative, NaN or infinite; nothing when it is usable.
std::optional<std::string> cutoffProblem(double cutoffHz);
// Why the filter cannot apply to this signal, in the order checked: the cut-off itself
// (cutoffProblem), "the file has no sampling rate", "the file has fewer than 10 records",
// "the cut-off must be below half the sampling rate (<rate/2> Hz)"; nothing when it applies.
std::optional<std::string> lowPassProblem(double cutoffHz, double rateHz, int records);
std::optional<std::string> lowPassProblem(const ForceTable& table, double cutoffHz);

// The filtered signal; x itself where lowPassProblem(cutoffHz, rateHz, x.size()) says why not.
std::vector<double> lowPass(std::span<const double> x, double cutoffHz, double rateHz);

// Fx, Fy, Fz and Mz of records 1..RecordCount filtered; the centre of pressure, the
// seventh column and everything else as read. False (the table untouched) where
// lowPassProblem says why not.
bool lowPassForces(ForceTable& table, double cutoffHz);
// A filtered copy (an unchanged copy where the filter cannot apply).
ForceTable lowPassed(const ForceTable& table, double cutoffHz);

// "low-pass 30 Hz, zero lag, 2nd order Butterworth", for a chart's title.
std::string lowPassTitle(double cutoffHz);
// "# low-pass: 30 Hz, zero-lag 2nd-order Butterworth", a CSV comment line (no line end).
std::string lowPassCsvComment(double cutoffHz);

} // namespace forcedata
