#include "animation/graphs/GraphData.h"

#include "animation/PlaybackText.h"
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
    return seconds ? (index - 2 + firstNumber) / rateHz : index;
}

double TimeAxis::index(double value) const
{
    return seconds ? value * rateHz + 2 - firstNumber : value;
}

TimeAxis timeAxis(const ForceTable& table)
{
    const double rate = table.samplingRateHz();
    if (rate > 0 && std::isfinite(rate))
        return {true, rate, QStringLiteral("Time (s)"),
                count(table) > 0 ? double(table.RecordNo[1]) : 1.0};
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
    // A curve drawn the other way up says so in its name, so a saved figure shows it.
    const auto named = [](const QString& name, int sign) {
        return sign < 0 ? QStringLiteral("\u2212") + name : name;
    };
    std::array<Chart, 3> charts;
    charts[0].title = QStringLiteral("Forces");
    charts[0].unit = bw ? QStringLiteral("Force (× BW)") : QStringLiteral("Force (N)");
    charts[0].curves = {curve(table, QFx, named("Fx", s.Fx), s.Fx * forceScale),
                        curve(table, QFy, named("Fy", s.Fy), s.Fy * forceScale),
                        curve(table, QFz, "Fz", forceScale)};
    charts[1].title = QStringLiteral("Centre of pressure");
    charts[1].unit = QStringLiteral("Position (cm)");
    charts[1].curves = {curve(table, QAx, named("Ax", s.Ax), s.Ax),
                        curve(table, QAy, named("Ay", s.Ay), s.Ay)};
    charts[2].title = QStringLiteral("Moment");
    charts[2].unit = QStringLiteral("Moment (N·m)");
    charts[2].curves = {curve(table, QMz, "Mz", 1)};
    QString name = extraName(table);
    if (name == "Az")
        name = QStringLiteral("Az (cm)");
    Curve extra = curve(table, QExtra, named(name, s.Extra), s.Extra);
    const bool allZero =
        std::all_of(extra.values.begin(), extra.values.end(), [](double v) { return v == 0; });
    if (!allZero)
        charts[2].curves.push_back(std::move(extra));
    // The axis names the reversed curves too.
    for (Chart& chart : charts) {
        for (const Curve& c : chart.curves) {
            if (c.name.startsWith(QChar(0x2212)))
                chart.unit += QStringLiteral(", ") + c.name;
        }
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
    if (axis.seconds) // the time the animation shows beside the record number
        text += gap + field(anim::sampleTime(t.RecordNo[k], axis.rateHz)) + QStringLiteral(" s");
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
    return forcedata::measureContacts(t, threshold);
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
    std::vector<const Curve*> all;
    for (const std::vector<Curve>* curves : {&chart.curves, &chart.raw})
        for (const Curve& c : *curves)
            all.push_back(&c);
    for (const Curve* curve : all) {
        const Curve& c = *curve;
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

std::vector<double> ticks(double low, double high, int wanted, int atLeast)
{
    std::vector<double> out;
    if (!(high > low) || !std::isfinite(high - low) || wanted < 1)
        return out;
    const double raw = (high - low) / wanted;
    double power = std::pow(10.0, std::floor(std::log10(raw)));
    const std::array<double, 3> mantissas{1.0, 2.0, 5.0};
    int m = 0;
    while (m < 3 && mantissas[std::size_t(m)] * power < raw)
        ++m;
    if (m == 3) {
        m = 0;
        power *= 10;
    }
    const auto fill = [&](double step) {
        out.clear();
        for (double v = std::ceil(low / step) * step; v <= high + step * 1e-9 && out.size() < 100;
             v += step)
            out.push_back(std::abs(v) < step * 1e-9 ? 0.0 : v);
    };
    for (int tries = 0; tries < 12; ++tries) {
        const double step = mantissas[std::size_t(m)] * power;
        if (!(step > 0) || !std::isfinite(step))
            return {};
        fill(step);
        if (int(out.size()) >= atLeast)
            break;
        // Too few labels: the next smaller round step.
        if (--m < 0) {
            m = 2;
            power /= 10;
        }
    }
    return out;
}

QString cellNumber(double v, int decimals)
{
    if (!std::isfinite(v))
        return QStringLiteral("–");
    if (std::abs(v) >= 1e7)
        return QString::number(v, 'e', 3);
    return QString::number(v, 'f', decimals);
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
