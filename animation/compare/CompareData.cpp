#include "animation/compare/CompareData.h"

#include "forcedata/Contacts.h"
#include "forcedata/LowPass.h"
#include <algorithm>
#include <cmath>
#include <memory>

namespace compare
{

const char* channelName(Channel c)
{
    static constexpr const char* names[] = {"Fx", "Fy", "Fz", "Ax", "Ay", "Mz"};
    return names[int(c)];
}

bool isForce(Channel c)
{
    return c == Channel::Fx || c == Channel::Fy || c == Channel::Fz;
}

const char* channelUnit(Channel c, bool bodyWeights)
{
    if (isForce(c))
        return bodyWeights ? "× BW" : "N";
    return c == Channel::Mz ? "N·m" : "m";
}

std::vector<double> channelValues(const ForceTable& t, Channel c, int sign, int first, int last)
{
    first = std::max(first, 1);
    last = std::min(last, forcedata::recordCount(t));
    std::vector<double> v;
    if (last < first)
        return v;
    v.reserve(std::size_t(last - first + 1));
    for (int i = first; i <= last; ++i) {
        const auto k = std::size_t(i);
        switch (c) {
        case Channel::Fx:
            v.push_back(t.Fx[k]);
            break;
        case Channel::Fy:
            v.push_back(t.Fy[k]);
            break;
        case Channel::Fz:
            v.push_back(sign * t.Fz[k]);
            break;
        case Channel::Ax:
            v.push_back(t.Ax[k]);
            break;
        case Channel::Ay:
            v.push_back(t.Ay[k]);
            break;
        case Channel::Mz:
            v.push_back(double(t.Mz[k]));
            break;
        }
    }
    return v;
}

std::vector<double> normalised(std::span<const double> values, int points)
{
    if (values.empty() || points < 1)
        return {};
    std::vector<double> out(std::size_t(points), values.front());
    if (values.size() == 1 || points == 1)
        return out;
    const double last = double(values.size() - 1);
    for (int i = 0; i < points; ++i) {
        const double at = last * double(i) / double(points - 1);
        const auto below = std::min(std::size_t(at), values.size() - 2);
        const double f = at - double(below);
        out[std::size_t(i)] = values[below] + f * (values[below + 1] - values[below]);
    }
    return out;
}

std::optional<std::vector<double>> inBodyWeights(std::span<const double> values, double bodyWeight)
{
    if (!(bodyWeight > 0) || !std::isfinite(bodyWeight))
        return std::nullopt;
    std::vector<double> out(values.begin(), values.end());
    for (double& v : out)
        v /= bodyWeight;
    return out;
}

Spread spread(const std::vector<std::span<const double>>& curves)
{
    Spread s;
    if (curves.empty())
        return s;
    std::size_t length = curves.front().size();
    for (const auto& c : curves)
        length = std::min(length, c.size());
    const double n = double(curves.size());
    s.mean.assign(length, 0.0);
    for (const auto& c : curves)
        for (std::size_t i = 0; i < length; ++i)
            s.mean[i] += c[i];
    for (double& m : s.mean)
        m /= n;
    if (curves.size() < 2)
        return s;
    s.sd.assign(length, 0.0);
    for (const auto& c : curves)
        for (std::size_t i = 0; i < length; ++i)
            s.sd[i] += (c[i] - s.mean[i]) * (c[i] - s.mean[i]);
    for (double& v : s.sd)
        v = std::sqrt(v / (n - 1));
    return s;
}

std::optional<double> meanOf(std::span<const std::optional<double>> values)
{
    double sum = 0;
    int n = 0;
    for (const auto& v : values)
        if (v && std::isfinite(*v)) {
            sum += *v;
            ++n;
        }
    if (n == 0)
        return std::nullopt;
    return sum / n;
}

std::optional<double> sdOf(std::span<const std::optional<double>> values)
{
    const std::optional<double> mean = meanOf(values);
    double sum = 0;
    int n = 0;
    for (const auto& v : values)
        if (v && std::isfinite(*v)) {
            sum += (*v - *mean) * (*v - *mean);
            ++n;
        }
    if (n < 2)
        return std::nullopt;
    return std::sqrt(sum / (n - 1));
}

const char* groupName(Group g)
{
    return g == Group::A ? "A" : g == Group::B ? "B" : "";
}

std::array<std::optional<double>, MeasureColumns> measureValues(const forcedata::ContactMeasures& m)
{
    return {m.start,        m.end,         m.contactTime, m.peakFz,       m.peakFzBw,
            m.timeToPeak,   m.firstPeakFz, m.impulseFz,   m.loadingRate,  m.peakFxPos,
            m.peakFxNeg,    m.peakFyPos,   m.peakFyNeg,   m.impulseFxPos, m.impulseFxNeg,
            m.impulseFyPos, m.impulseFyNeg};
}

std::string groupCsvRows(Group g, const std::vector<const forcedata::ContactMeasures*>& contacts)
{
    std::string rows;
    for (const bool sd : {false, true}) {
        std::string row = std::string(groupName(g)) + (sd ? " SD" : " mean");
        for (int col = 1; col < FirstMeasureColumn; ++col)
            row += ',';
        for (int col = 0; col < MeasureColumns; ++col) {
            std::vector<std::optional<double>> column;
            column.reserve(contacts.size());
            for (const auto* m : contacts)
                column.push_back(measureValues(*m)[std::size_t(col)]);
            row += ',' + forcedata::csvNumber(sd ? sdOf(column) : meanOf(column));
        }
        rows += row + '\n';
    }
    return rows;
}

std::vector<std::string> splitCsvLine(std::string_view line)
{
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                fields.back() += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                fields.back() += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

std::string curvesCsv(std::string_view what, std::optional<double> lowPassHz,
                      const std::vector<CurveColumn>& columns)
{
    std::string text =
        "# " + std::string(what) + " over the first contact, 0-100 % of stance in 101 points\n";
    if (lowPassHz)
        text += forcedata::lowPassCsvComment(*lowPassHz) + '\n';
    text += "percent";
    for (const CurveColumn& c : columns)
        text += ',' + forcedata::csvField(c.name);
    text += '\n';
    for (int i = 0; i < NormalisedPoints; ++i) {
        text += std::to_string(i);
        for (const CurveColumn& c : columns)
            text += ',' + forcedata::csvNumber(std::size_t(i) < c.values.size()
                                                   ? std::optional(c.values[std::size_t(i)])
                                                   : std::nullopt);
        text += '\n';
    }
    return text;
}

namespace
{
char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool globMatch(std::string_view name, std::string_view glob)
{
    // Iterative match with one backtrack point: linear enough for names.
    std::size_t n = 0, g = 0, starG = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (g < glob.size() && glob[g] == '*') {
            starG = g++;
            starN = n;
        } else if (g < glob.size() && (glob[g] == '?' || lower(glob[g]) == lower(name[n]))) {
            ++g;
            ++n;
        } else if (starG != std::string_view::npos) {
            g = starG + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (g < glob.size() && glob[g] == '*')
        ++g;
    return g == glob.size();
}

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

// Percent-encoding of everything but letters, digits and "-._/": the settings file
// keeps the value as one line without blanks, quotes, ";" or ":" of its own.
std::string encoded(std::string_view s)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string out;
    for (const char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
            c == '-' || c == '.' || c == '_' || c == '/') {
            out += ch;
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = lower(c);
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

std::optional<std::string> decoded(std::string_view s)
{
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '%') {
            out += s[i];
            continue;
        }
        const int hi = i + 1 < s.size() ? hexDigit(s[i + 1]) : -1;
        const int lo = i + 2 < s.size() ? hexDigit(s[i + 2]) : -1;
        if (hi < 0 || lo < 0)
            return std::nullopt;
        out += char(hi * 16 + lo);
        i += 2;
    }
    return out;
}
} // namespace

bool nameMatches(std::string_view name, std::string_view filter)
{
    filter = trimmed(filter);
    return filter.empty() || globMatch(name, filter);
}

bool isForceFileName(std::string_view name)
{
    for (const std::string_view pattern : {"*.rf*", "*.rrf", "*.rr2", "*.orf"})
        if (globMatch(name, pattern))
            return true;
    return false;
}

std::string choiceText(const std::vector<Choice>& choices)
{
    std::string text;
    for (const Choice& c : choices) {
        if (!text.empty())
            text += ';';
        text += c.checked ? 'x' : '-';
        text += c.group == Group::A ? 'A' : c.group == Group::B ? 'B' : 'N';
        text += ':' + encoded(c.file);
    }
    return text;
}

std::vector<Choice> choiceFromText(std::string_view text)
{
    std::vector<Choice> choices;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find(';'), text.size());
        const std::string_view entry = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (entry.size() < 4 || entry[2] != ':' || (entry[0] != 'x' && entry[0] != '-'))
            continue;
        const char g = entry[1];
        if (g != 'A' && g != 'B' && g != 'N')
            continue;
        const std::optional<std::string> file = decoded(entry.substr(3));
        if (!file || file->empty())
            continue;
        choices.push_back({*file, entry[0] == 'x',
                           g == 'A'   ? Group::A
                           : g == 'B' ? Group::B
                                      : Group::None});
    }
    return choices;
}

std::string choiceKey(std::string_view dataDir)
{
    // Hex of the bytes: the settings file compares keys without regard to case and
    // gives "=" and line ends a meaning, so the path itself cannot be the key.
    static constexpr char hex[] = "0123456789abcdef";
    std::string key = "dir.";
    for (const char ch : dataDir) {
        const auto c = static_cast<unsigned char>(ch);
        key += hex[c >> 4];
        key += hex[c & 15];
    }
    return key;
}

TrialCurves trialCurves(std::string_view file, const ForceTable& table, double threshold,
                        std::optional<double> lowPassHz)
{
    TrialCurves t;
    const ForceTable* use = &table;
    std::unique_ptr<ForceTable> filtered;
    if (lowPassHz) {
        if (const auto problem = forcedata::lowPassProblem(table, *lowPassHz)) {
            // As rfstats does: no numbers where the filter the user asked for cannot apply.
            t.lowPassRefused = true;
            t.note = "low-pass not applied: " + *problem;
            t.rowsFirst = t.rowsAll = forcedata::csvProblemRow(file, *problem);
            return t;
        }
        filtered = std::make_unique<ForceTable>(forcedata::lowPassed(table, *lowPassHz));
        use = filtered.get();
    }
    t.rowsFirst = forcedata::trialCsvRows(file, *use, threshold, false);
    t.rowsAll = forcedata::trialCsvRows(file, *use, threshold, true);
    t.measures = forcedata::measureContacts(*use, threshold);
    t.rate = forcedata::usableRate(*use);
    t.bodyWeight = double(use->BodyWeight);
    if (t.measures.empty()) {
        t.note = "no contact at this threshold";
        return t;
    }
    if (!t.rate) {
        t.note = "no sampling rate";
        return t;
    }
    const forcedata::ContactMeasures& m = t.measures.front();
    if (m.contact.cut()) {
        t.note = "the first contact runs past the record's edge";
        return t;
    }
    for (int c = 0; c < ChannelCount; ++c) {
        const auto k = std::size_t(c);
        t.values[k] = channelValues(*use, Channel(c), m.sign, m.contact.first, m.contact.last);
        t.norm[k] = normalised(t.values[k]);
    }
    return t;
}

} // namespace compare
