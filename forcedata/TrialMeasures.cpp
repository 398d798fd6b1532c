#include "forcedata/TrialMeasures.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace forcedata
{

namespace
{

struct Parts {
    double pos = 0, neg = 0;
};

// Trapezium areas of the positive and negative parts of the polyline through
// v(first)..v(last), each interval dt wide.
template <typename Value>
Parts splitImpulse(Value v, int first, int last, double dt)
{
    Parts p;
    for (int k = first; k < last; ++k) {
        const double a = v(k), b = v(k + 1);
        if (a >= 0 && b >= 0) {
            p.pos += 0.5 * (a + b) * dt;
        } else if (a <= 0 && b <= 0) {
            p.neg += 0.5 * (a + b) * dt;
        } else {
            // Opposite signs: the line crosses zero a fraction s of the way along.
            const double s = a / (a - b);
            const double before = 0.5 * a * s * dt, after = 0.5 * b * (1 - s) * dt;
            (a > 0 ? p.pos : p.neg) += before;
            (b > 0 ? p.pos : p.neg) += after;
        }
    }
    return p;
}

std::optional<double> bodyWeight(const ForceTable& t)
{
    const double w = t.BodyWeight;
    if (w > 0 && std::isfinite(w))
        return w;
    return std::nullopt;
}

std::string trimmed(std::string_view s)
{
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return std::string(s.substr(first, s.find_last_not_of(' ') - first + 1));
}

} // namespace

int firstPeakRecord(const ForceTable& t, int sign, const Contact& c)
{
    const auto f = [&](int i) { return sign * t.Fz[std::size_t(i)]; };
    int peak = c.first;
    for (int k = c.first; k <= c.last; ++k) {
        if (f(k) > f(peak))
            peak = k;
    }
    // The first maximum that the force clearly falls from (a tenth of the peak) before
    // rising over it again; noise on the rise does not count.
    const double drop = 0.1 * std::abs(f(peak));
    for (int k = c.first + 1; k < peak; ++k) {
        if (f(k) < f(k - 1) || f(k) < f(k + 1))
            continue;
        double lowest = f(k);
        for (int j = k + 1; j <= c.last && f(j) <= f(k); ++j)
            lowest = std::min(lowest, f(j));
        if (f(k) - lowest >= drop)
            return k;
    }
    return peak;
}

ContactMeasures measureContact(const ForceTable& t, int sign, const Contact& c, int number)
{
    ContactMeasures m;
    m.number = number;
    m.contact = c;
    m.sign = sign;
    const auto fz = [&](int i) { return sign * t.Fz[std::size_t(i)]; };
    const auto fx = [&](int i) { return t.Fx[std::size_t(i)]; };
    const auto fy = [&](int i) { return t.Fy[std::size_t(i)]; };

    m.peak = c.first;
    for (int k = c.first; k <= c.last; ++k) {
        if (fz(k) > fz(m.peak))
            m.peak = k;
        m.peakFxPos = std::max(m.peakFxPos, fx(k));
        m.peakFxNeg = std::min(m.peakFxNeg, fx(k));
        m.peakFyPos = std::max(m.peakFyPos, fy(k));
        m.peakFyNeg = std::min(m.peakFyNeg, fy(k));
    }
    m.peakFz = fz(m.peak);
    m.firstPeak = firstPeakRecord(t, sign, c);
    m.firstPeakFz = fz(m.firstPeak);
    if (const auto w = bodyWeight(t))
        m.peakFzBw = m.peakFz / *w;

    const std::optional<double> rate = usableRate(t);
    if (!rate)
        return m;
    const double dt = 1.0 / *rate;
    m.start = (c.first - 1) * dt;
    m.end = (c.last - 1) * dt;
    m.timeToPeak = (m.peak - c.first) * dt;
    if (!c.cut())
        m.contactTime = (c.last - c.first) * dt;
    double area = 0;
    for (int k = c.first; k < c.last; ++k)
        area += 0.5 * (fz(k) + fz(k + 1)) * dt;
    m.impulseFz = area;
    if (!c.cut() && m.firstPeak > c.first)
        m.loadingRate = (m.firstPeakFz - fz(c.first)) / ((m.firstPeak - c.first) * dt);
    const Parts x = splitImpulse(fx, c.first, c.last, dt);
    const Parts y = splitImpulse(fy, c.first, c.last, dt);
    m.impulseFxPos = x.pos;
    m.impulseFxNeg = x.neg;
    m.impulseFyPos = y.pos;
    m.impulseFyNeg = y.neg;
    return m;
}

std::vector<ContactMeasures> measureContacts(const ForceTable& t, double threshold)
{
    const Contacts found = findContacts(t, threshold);
    std::vector<ContactMeasures> all;
    all.reserve(found.list.size());
    for (std::size_t i = 0; i < found.list.size(); ++i)
        all.push_back(measureContact(t, found.sign, found.list[i], int(i + 1)));
    return all;
}

std::string_view csvHeader()
{
    return "file,title,rate_hz,body_weight_n,records,contact,start_s,end_s,contact_time_s,"
           "peak_fz_n,peak_fz_bw,time_to_peak_s,first_peak_fz_n,impulse_fz_ns,"
           "loading_rate_n_per_s,peak_fx_pos_n,peak_fx_neg_n,peak_fy_pos_n,peak_fy_neg_n,"
           "impulse_fx_pos_ns,impulse_fx_neg_ns,impulse_fy_pos_ns,impulse_fy_neg_ns";
}

std::string csvNumber(std::optional<double> value)
{
    if (!value)
        return {};
    double v = *value;
    if (v == 0)
        v = 0; // no "-0"
    char buffer[40];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::general, 6);
    return std::string(buffer, r.ptr);
}

std::string csvField(std::string_view text)
{
    if (text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string quoted = "\"";
    for (const char ch : text) {
        if (ch == '"')
            quoted += '"';
        quoted += ch;
    }
    return quoted + '"';
}

namespace
{
std::string joinRow(const std::vector<std::string>& fields)
{
    std::string row;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            row += ',';
        row += fields[i];
    }
    return row + '\n';
}
} // namespace

std::string csvRow(std::string_view file, const ForceTable& t, const ContactMeasures* m)
{
    std::vector<std::string> f;
    f.reserve(CsvColumns);
    f.push_back(csvField(file));
    f.push_back(csvField(trimmed(t.TrialTitle)));
    f.push_back(csvNumber(usableRate(t)));
    f.push_back(csvNumber(bodyWeight(t)));
    f.push_back(std::to_string(recordCount(t)));
    f.push_back(std::to_string(m ? m->number : 0));
    if (m) {
        for (const std::optional<double> v :
             {m->start, m->end, m->contactTime, std::optional(m->peakFz), m->peakFzBw,
              m->timeToPeak, std::optional(m->firstPeakFz), m->impulseFz, m->loadingRate,
              std::optional(m->peakFxPos), std::optional(m->peakFxNeg),
              std::optional(m->peakFyPos), std::optional(m->peakFyNeg), m->impulseFxPos,
              m->impulseFxNeg, m->impulseFyPos, m->impulseFyNeg})
            f.push_back(csvNumber(v));
    }
    f.resize(CsvColumns);
    return joinRow(f);
}

std::string csvProblemRow(std::string_view file, std::string_view message)
{
    std::vector<std::string> f(CsvColumns);
    f[0] = csvField(file);
    f[1] = csvField(message);
    return joinRow(f);
}

std::string trialCsvRows(std::string_view file, const ForceTable& t, double threshold, bool allContacts)
{
    if (const auto problem = thresholdProblem(threshold))
        return csvProblemRow(file, *problem);
    const std::vector<ContactMeasures> all = measureContacts(t, threshold);
    if (all.empty())
        return csvRow(file, t, nullptr);
    std::string rows;
    for (const ContactMeasures& m : all) {
        rows += csvRow(file, t, &m);
        if (!allContacts)
            break;
    }
    return rows;
}

} // namespace forcedata
