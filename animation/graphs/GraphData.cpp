#include "animation/graphs/GraphData.h"

#include "core/ForceTable.h"
#include "core/Library.h"

#include <algorithm>
#include <cmath>

namespace graphs
{

namespace
{

enum View { Top = 0, Side = 1, Back = 2 };

int count(const ForceTable& table)
{
    return std::clamp<int>(table.RecordCount, 0, ForceTable::RecordCapacity);
}

double value(const ForceTable& t, Quantity q, std::size_t k)
{
    switch (q) {
    case QFx:
        return t.Fx[k];
    case QFy:
        return t.Fy[k];
    case QFz:
        return t.Fz[k];
    case QAx:
        return t.Ax[k];
    case QAy:
        return t.Ay[k];
    case QMz:
        return t.Mz[k];
    case QExtra:
    case QuantityCount:
        break;
    }
    return t.Extra[k];
}

Curve curve(const ForceTable& t, Quantity q, const QString& name, double scale)
{
    Curve c{q, name, curveColour(q), {}};
    const int n = count(t);
    c.values.resize(std::size_t(n));
    for (int i = 1; i <= n; ++i)
        c.values[std::size_t(i - 1)] = scale * value(t, q, std::size_t(i));
    return c;
}

} // namespace

double TimeAxis::at(double index) const
{
    return seconds ? (index - 1) / rateHz : index;
}

double TimeAxis::index(double value) const
{
    return seconds ? value * rateHz + 1 : value;
}

TimeAxis timeAxis(const ForceTable& table)
{
    const double rate = table.samplingRateHz();
    if (rate > 0 && std::isfinite(rate))
        return {true, rate, QStringLiteral("Time (s)")};
    return {false, 0, QStringLiteral("Record number (no sampling rate)")};
}

Signs curveSigns(const ViewOptions& o)
{
    // The custom views take the side view's signs: the horizontal axis is Y there.
    Signs s;
    switch (o.viewIndex) {
    case Top:
        s.Fx = o.vertForceSign;
        s.Ax = o.vertCentreSign;
        s.Fy = o.horizForceSign;
        s.Ay = o.horizCentreSign;
        break;
    case Back:
        s.Fx = o.horizForceSign;
        s.Ax = o.horizCentreSign;
        s.Extra = o.useAz ? o.azSign : 1;
        break;
    default:
        s.Fy = o.horizForceSign;
        s.Ay = o.horizCentreSign;
        if (o.viewIndex == Side)
            s.Extra = o.useAz ? o.azSign : 1;
        break;
    }
    return s;
}

bool forcesInBodyWeights(const ViewOptions& o)
{
    return o.normalize && o.bodyWeight > 0 && std::isfinite(o.bodyWeight);
}

QColor curveColour(Quantity q)
{
    static const std::array<QColor, QuantityCount> colours = {
        QColor(0, 114, 178),   // Fx blue
        QColor(230, 159, 0),   // Fy orange
        QColor(0, 0, 0),       // Fz black
        QColor(0, 158, 115),   // Ax bluish green
        QColor(204, 121, 167), // Ay reddish purple
        QColor(213, 94, 0),    // Mz vermilion
        QColor(86, 180, 233),  // seventh column sky blue
    };
    return colours[std::size_t(std::clamp<int>(q, 0, QuantityCount - 1))];
}

QString extraName(const ForceTable& table)
{
    return QString::fromStdString(table.extraColumnName()).trimmed();
}

std::array<Chart, 3> buildCharts(const ForceTable& table, const ViewOptions& options)
{
    const Signs s = curveSigns(options);
    const bool bw = forcesInBodyWeights(options);
    const double forceScale = bw ? 1.0 / double(options.bodyWeight) : 1.0;
    std::array<Chart, 3> charts;
    charts[0].title = QStringLiteral("Forces");
    charts[0].unit = bw ? QStringLiteral("Force (× BW)") : QStringLiteral("Force (N)");
    charts[0].curves = {curve(table, QFx, "Fx", s.Fx * forceScale),
                        curve(table, QFy, "Fy", s.Fy * forceScale),
                        curve(table, QFz, "Fz", forceScale)};
    charts[1].title = QStringLiteral("Centre of pressure");
    charts[1].unit = QStringLiteral("Position (cm)");
    charts[1].curves = {curve(table, QAx, "Ax", s.Ax), curve(table, QAy, "Ay", s.Ay)};
    charts[2].title = QStringLiteral("Moment");
    charts[2].unit = QStringLiteral("Moment (N·m)");
    charts[2].curves = {curve(table, QMz, "Mz", 1)};
    Curve extra = curve(table, QExtra, extraName(table), s.Extra);
    const bool allZero =
        std::all_of(extra.values.begin(), extra.values.end(), [](double v) { return v == 0; });
    if (!allZero) {
        if (extra.name == "Az")
            extra.name = QStringLiteral("Az (cm)");
        charts[2].curves.push_back(std::move(extra));
    }
    return charts;
}

QString readoutText(const ForceTable& t, int index)
{
    const int n = count(t);
    if (n == 0)
        return QStringLiteral("No data");
    const int i = std::clamp(index, 1, n);
    const auto k = std::size_t(i);
    const auto field = [](double v) { return FormatField(v).trimmed(); };
    const QString gap = QStringLiteral("   ");
    QString text = QStringLiteral("Record ") + QString::number(t.RecordNo[k]);
    const TimeAxis axis = timeAxis(t);
    if (axis.seconds)
        text += gap + field(axis.at(i)) + QStringLiteral(" s");
    const std::array<std::pair<const char*, double>, 6> values = {{{"Fx", t.Fx[k]},
                                                                   {"Fy", t.Fy[k]},
                                                                   {"Fz", t.Fz[k]},
                                                                   {"Ax", t.Ax[k]},
                                                                   {"Ay", t.Ay[k]},
                                                                   {"Mz", t.Mz[k]}}};
    for (const auto& [name, v] : values)
        text += gap + QLatin1String(name) + u' ' + field(v);
    return text;
}

std::vector<Contact> findContacts(const ForceTable& t, double threshold)
{
    std::vector<Contact> contacts;
    const int n = count(t);
    const TimeAxis axis = timeAxis(t);
    const auto fz = [&t](int i) { return t.Fz[std::size_t(i)]; };
    const auto above = [&](int i) { return fz(i) >= threshold; };
    for (int i = 1; i <= n; ++i) {
        if (!above(i))
            continue;
        Contact c;
        c.first = i;
        while (i < n && above(i + 1))
            ++i;
        c.last = i;
        c.peak = c.first;
        for (int k = c.first; k <= c.last; ++k) {
            if (fz(k) > fz(c.peak))
                c.peak = k;
        }
        c.peakFz = fz(c.peak);
        // The first maximum that the force clearly falls from (a tenth of the peak)
        // before rising over it again; noise on the rise does not count.
        c.firstPeak = c.peak;
        const double drop = 0.1 * std::abs(c.peakFz);
        for (int k = c.first + 1; k < c.peak; ++k) {
            if (fz(k) < fz(k - 1) || fz(k) < fz(k + 1))
                continue;
            double lowest = fz(k);
            for (int j = k + 1; j <= c.last && fz(j) <= fz(k); ++j)
                lowest = std::min(lowest, fz(j));
            if (fz(k) - lowest >= drop) {
                c.firstPeak = k;
                break;
            }
        }
        if (t.BodyWeight > 0 && std::isfinite(t.BodyWeight))
            c.peakBodyWeights = c.peakFz / double(t.BodyWeight);
        if (axis.seconds) {
            const double dt = 1.0 / axis.rateHz;
            c.contactTime = (c.last - c.first) * dt;
            double area = 0;
            for (int k = c.first; k < c.last; ++k)
                area += 0.5 * (fz(k) + fz(k + 1)) * dt;
            c.impulse = area;
            if (c.firstPeak > c.first)
                c.loadingRate = (fz(c.firstPeak) - fz(c.first)) / ((c.firstPeak - c.first) * dt);
        }
        contacts.push_back(c);
    }
    return contacts;
}

Range fullRange(int recordCount)
{
    if (recordCount <= 1)
        return {0.5, 1.5};
    return {1, double(recordCount)};
}

namespace
{
Range clampedTo(Range r, int recordCount)
{
    const Range all = fullRange(recordCount);
    const double minimum = std::min(2.0, all.span());
    if (!(r.span() >= minimum)) { // also catches NaN
        const double mid = std::isfinite(r.first + r.last) ? 0.5 * (r.first + r.last) : all.first;
        r = {mid - minimum / 2, mid + minimum / 2};
    }
    if (r.span() >= all.span())
        return all;
    if (r.first < all.first)
        r = {all.first, all.first + r.span()};
    if (r.last > all.last)
        r = {all.last - r.span(), all.last};
    return r;
}
} // namespace

Range zoomed(Range r, double anchor, double factor, int recordCount)
{
    if (!(factor > 0) || !std::isfinite(factor) || !std::isfinite(anchor))
        return clampedTo(r, recordCount);
    const Range z{anchor - (anchor - r.first) * factor, anchor + (r.last - anchor) * factor};
    return clampedTo(z, recordCount);
}

Range panned(Range r, double delta, int recordCount)
{
    if (!std::isfinite(delta))
        return clampedTo(r, recordCount);
    return clampedTo({r.first + delta, r.last + delta}, recordCount);
}

Range band(double a, double b, int recordCount)
{
    return clampedTo({std::min(a, b), std::max(a, b)}, recordCount);
}

std::optional<std::pair<double, double>> valueLimits(const Chart& chart, Range r)
{
    double low = INFINITY;
    double high = -INFINITY;
    for (const Curve& c : chart.curves) {
        const int n = int(c.values.size());
        const int from = std::clamp(int(std::floor(r.first)), 1, std::max(n, 1));
        const int to = std::clamp(int(std::ceil(r.last)), 1, std::max(n, 1));
        for (int i = from; i <= to && i <= n; ++i) {
            const double v = c.values[std::size_t(i - 1)];
            if (!std::isfinite(v))
                continue;
            low = std::min(low, v);
            high = std::max(high, v);
        }
    }
    if (!(low <= high))
        return std::nullopt;
    double pad = 0.05 * (high - low);
    if (!(pad > 0) || !std::isfinite(pad)) // a flat curve gets a band around it
        pad = std::max(std::abs(high) * 0.1, 1.0);
    const double lo = low - pad;
    const double hi = high + pad;
    if (!std::isfinite(lo) || !std::isfinite(hi))
        return std::make_pair(low, high);
    return std::make_pair(lo, hi);
}

std::vector<double> ticks(double low, double high, int wanted)
{
    std::vector<double> out;
    if (!(high > low) || !std::isfinite(high - low) || wanted < 1)
        return out;
    const double raw = (high - low) / wanted;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    double step = power;
    for (double m : {1.0, 2.0, 5.0, 10.0}) {
        step = m * power;
        if (step >= raw)
            break;
    }
    if (!(step > 0) || !std::isfinite(step))
        return out;
    for (double v = std::ceil(low / step) * step; v <= high + step * 1e-9 && out.size() < 100;
         v += step)
        out.push_back(std::abs(v) < step * 1e-9 ? 0.0 : v);
    return out;
}

int movedCursor(int current, CursorKey key, int recordCount)
{
    if (recordCount < 1)
        return 0;
    const int page = std::max(1, recordCount / 10);
    int next = current;
    switch (key) {
    case CursorKey::Left:
        next = current - 1;
        break;
    case CursorKey::Right:
        next = current + 1;
        break;
    case CursorKey::PageUp:
        next = current - page;
        break;
    case CursorKey::PageDown:
        next = current + page;
        break;
    case CursorKey::Home:
        next = 1;
        break;
    case CursorKey::End:
        next = recordCount;
        break;
    }
    return std::clamp(next, 1, recordCount);
}

} // namespace graphs
