#include "forcedata/LowPass.h"

#include "forcedata/Contacts.h"
#include "core/NumberText.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <type_traits>

namespace forcedata
{

Biquad butterworthLowPass(double cutoffHz, double rateHz)
{
    // The analogue prototype's cut-off pre-warped so that the digital one lands on fc.
    const double k = std::tan(std::numbers::pi * cutoffHz / rateHz);
    const double k2 = k * k;
    const double root2k = std::numbers::sqrt2 * k;
    const double norm = 1 / (1 + root2k + k2);
    Biquad q;
    q.b0 = k2 * norm;
    q.b1 = 2 * q.b0;
    q.b2 = q.b0;
    q.a1 = 2 * (k2 - 1) * norm;
    q.a2 = (1 - root2k + k2) * norm;
    return q;
}

std::optional<std::string> cutoffProblem(double cutoffHz)
{
    if (!(cutoffHz > 0) || !std::isfinite(cutoffHz))
        return std::string("the cut-off must be a number above 0 Hz");
    return std::nullopt;
}

std::optional<std::string> lowPassProblem(double cutoffHz, double rateHz, int records)
{
    if (auto problem = cutoffProblem(cutoffHz))
        return problem;
    if (!(rateHz > 0) || !std::isfinite(rateHz))
        return std::string("the file has no sampling rate");
    if (records < LowPassMinRecords)
        return std::string("the file has fewer than 10 records");
    if (cutoffHz >= rateHz / 2)
        return "the cut-off must be below half the sampling rate (" + shortestNumberText(rateHz / 2) + " Hz)";
    return std::nullopt;
}

std::optional<std::string> lowPassProblem(const ForceTable& table, double cutoffHz)
{
    return lowPassProblem(cutoffHz, usableRate(table).value_or(0), recordCount(table));
}

namespace
{

// One pass of the transposed direct form II, started in the steady state of a constant
// input equal to the first sample, so the output does not ring up from zero.
template <typename It>
void runFrom(const Biquad& q, It begin, It end)
{
    const double gain = (q.b0 + q.b1 + q.b2) / (1 + q.a1 + q.a2);
    const double x0 = *begin;
    double z1 = (q.b2 - q.a2 * gain) * x0;
    double z0 = (q.b1 - q.a1 * gain) * x0 + z1;
    for (It it = begin; it != end; ++it) {
        double& x = *it;
        const double in = x;
        const double y = q.b0 * in + z0;
        z0 = q.b1 * in - q.a1 * y + z1;
        z1 = q.b2 * in - q.a2 * y;
        x = y;
    }
}

} // namespace

std::vector<double> lowPass(std::span<const double> x, double cutoffHz, double rateHz)
{
    if (lowPassProblem(cutoffHz, rateHz, int(std::min<std::size_t>(x.size(), 1u << 30))))
        return {x.begin(), x.end()};
    const Biquad q = butterworthLowPass(cutoffHz, rateHz);
    const std::size_t n = x.size();
    const std::size_t pad = LowPassPadding;
    // Odd extension: the signal mirrored through its end points.
    std::vector<double> v(n + 2 * pad);
    for (std::size_t i = 0; i < pad; ++i) {
        v[i] = 2 * x[0] - x[pad - i];
        v[pad + n + i] = 2 * x[n - 1] - x[n - 2 - i];
    }
    std::copy(x.begin(), x.end(), v.begin() + std::ptrdiff_t(pad));
    runFrom(q, v.begin(), v.end());
    runFrom(q, v.rbegin(), v.rend());
    return {v.begin() + std::ptrdiff_t(pad), v.begin() + std::ptrdiff_t(pad + n)};
}

bool lowPassForces(ForceTable& table, double cutoffHz)
{
    if (lowPassProblem(table, cutoffHz))
        return false;
    const double rate = *usableRate(table);
    const std::size_t n = std::size_t(recordCount(table));
    const auto filter = [&](auto& column) {
        const std::vector<double> in(column.begin() + 1, column.begin() + 1 + std::ptrdiff_t(n));
        const std::vector<double> out = lowPass(in, cutoffHz, rate);
        for (std::size_t i = 0; i < n; ++i)
            column[i + 1] = static_cast<std::remove_reference_t<decltype(column[0])>>(out[i]);
    };
    filter(table.Fx);
    filter(table.Fy);
    filter(table.Fz);
    filter(table.Mz);
    return true;
}

ForceTable lowPassed(const ForceTable& table, double cutoffHz)
{
    ForceTable copy = table;
    lowPassForces(copy, cutoffHz);
    return copy;
}

std::string lowPassTitle(double cutoffHz)
{
    return "low-pass " + shortestNumberText(cutoffHz) + " Hz, zero lag, 2nd order Butterworth";
}

std::string lowPassCsvComment(double cutoffHz)
{
    return "# low-pass: " + shortestNumberText(cutoffHz) + " Hz, zero-lag 2nd-order Butterworth";
}

} // namespace forcedata
