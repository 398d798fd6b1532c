#include "platform/IniFile.h"

#include <vector>

namespace
{

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

// [first, last) of the text without the blanks at either end, as offsets into `text`.
std::pair<std::size_t, std::size_t> trimmed(std::string_view text, std::size_t first,
                                            std::size_t last)
{
    while (first < last && isBlank(text[first]))
        ++first;
    while (last > first && isBlank(text[last - 1]))
        --last;
    return {first, last};
}

struct Line {
    enum Kind { Other, Section, Key } kind = Other;
    std::size_t begin = 0;      // first byte of the line
    std::size_t end = 0;        // end of its content, before CR LF or LF
    std::size_t next = 0;       // first byte of the next line
    std::string_view name;      // section or key name, trimmed
    std::size_t valueBegin = 0; // the value, trimmed (key lines)
    std::size_t valueEnd = 0;
};

std::vector<Line> splitLines(std::string_view text)
{
    std::vector<Line> lines;
    std::size_t pos = 0;
    // A byte-order mark belongs to the file, not to its first line.
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        pos = 3;
    while (pos < text.size()) {
        Line line;
        line.begin = pos;
        const std::size_t lf = text.find('\n', pos);
        line.next = lf == std::string_view::npos ? text.size() : lf + 1;
        line.end = lf == std::string_view::npos ? text.size() : lf;
        if (lf != std::string_view::npos && line.end > line.begin && text[line.end - 1] == '\r')
            --line.end;
        const auto [first, last] = trimmed(text, line.begin, line.end);
        if (first < last && text[first] == '[') {
            std::size_t close = text.find(']', first);
            if (close == std::string_view::npos || close > last)
                close = last;
            const auto [nameBegin, nameEnd] = trimmed(text, first + 1, close);
            line.kind = Line::Section;
            line.name = text.substr(nameBegin, nameEnd - nameBegin);
        } else if (first < last && text[first] != ';' && text[first] != '#') {
            const std::size_t equals = text.find('=', first);
            if (equals != std::string_view::npos && equals < last) {
                const auto [keyBegin, keyEnd] = trimmed(text, first, equals);
                line.kind = Line::Key;
                line.name = text.substr(keyBegin, keyEnd - keyBegin);
                const auto [valueBegin, valueEnd] = trimmed(text, equals + 1, line.end);
                line.valueBegin = valueBegin;
                line.valueEnd = valueEnd;
            }
        }
        lines.push_back(line);
        pos = line.next;
    }
    return lines;
}

// The section's header line and the lines up to the next section.
struct SectionSpan {
    std::size_t header = 0;
    std::size_t end = 0; // index of the next section's header, or the line count
};

std::optional<SectionSpan> findSection(const std::vector<Line>& lines, std::string_view section)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind != Line::Section || !sameName(lines[i].name, section))
            continue;
        std::size_t end = i + 1;
        while (end < lines.size() && lines[end].kind != Line::Section)
            ++end;
        return SectionSpan{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> findKey(const std::vector<Line>& lines, const SectionSpan& span,
                                   std::string_view key)
{
    for (std::size_t i = span.header + 1; i < span.end; ++i) {
        if (lines[i].kind == Line::Key && sameName(lines[i].name, key))
            return i;
    }
    return std::nullopt;
}

bool isQuote(char c)
{
    return c == '"' || c == '\'';
}

// Quotes keep blanks at either end, and a value that is itself quoted, from being
// taken off when the file is read.
std::string quotedIfNeeded(std::string_view value)
{
    const bool blankEnds = !value.empty() && (isBlank(value.front()) || isBlank(value.back()));
    const bool enclosed =
        value.size() >= 2 && isQuote(value.front()) && value.front() == value.back();
    if (blankEnds || enclosed)
        return "\"" + std::string(value) + "\"";
    return std::string(value);
}

std::string_view unquoted(std::string_view value)
{
    if (value.size() >= 2 && isQuote(value.front()) && value.front() == value.back())
        return value.substr(1, value.size() - 2);
    return value;
}

bool holdsLineEnd(std::string_view text)
{
    return text.find_first_of("\r\n") != std::string_view::npos;
}

} // namespace

std::optional<std::string> iniValue(std::string_view text, std::string_view section,
                                    std::string_view key)
{
    const std::vector<Line> lines = splitLines(text);
    const std::optional<SectionSpan> span = findSection(lines, section);
    if (!span)
        return std::nullopt;
    const std::optional<std::size_t> at = findKey(lines, *span, key);
    if (!at)
        return std::nullopt;
    return std::string(
        unquoted(text.substr(lines[*at].valueBegin, lines[*at].valueEnd - lines[*at].valueBegin)));
}

std::optional<std::string> iniWithValue(std::string_view text, std::string_view section,
                                        std::string_view key, std::string_view value)
{
    const auto badName = [](std::string_view name) {
        return name.empty() || holdsLineEnd(name) || isBlank(name.front()) || isBlank(name.back());
    };
    if (badName(section) || section.find(']') != std::string_view::npos || badName(key) ||
        key.find('=') != std::string_view::npos || key.front() == '[' || key.front() == ';' ||
        key.front() == '#' || holdsLineEnd(value))
        return std::nullopt;

    const std::string written = quotedIfNeeded(value);
    const std::vector<Line> lines = splitLines(text);
    std::string result(text);

    const std::optional<SectionSpan> span = findSection(lines, section);
    if (span) {
        if (const std::optional<std::size_t> at = findKey(lines, *span, key)) {
            const Line& line = lines[*at];
            // A value that reads as the one saved keeps its quotes and all its bytes.
            if (unquoted(text.substr(line.valueBegin, line.valueEnd - line.valueBegin)) == value)
                return result;
            result.replace(line.valueBegin, line.valueEnd - line.valueBegin, written);
            return result;
        }
    }

    // New lines end as the file's lines do.
    const std::size_t firstLf = text.find('\n');
    const std::string eol =
        firstLf != std::string_view::npos && firstLf > 0 && text[firstLf - 1] == '\r' ? "\r\n"
                                                                                      : "\n";
    const std::string keyLine = std::string(key) + "=" + written + eol;
    // A last line without its line end gets one before anything follows it.
    const auto endAt = [&](const Line& line) {
        return text[line.next - 1] == '\n' ? std::string() : eol;
    };
    if (span) {
        std::size_t after = span->header;
        for (std::size_t i = span->header + 1; i < span->end; ++i) {
            if (lines[i].kind == Line::Key)
                after = i;
        }
        const Line& line = lines[after];
        result.insert(line.next, endAt(line) + keyLine);
        return result;
    }
    std::string added;
    if (!lines.empty())
        added = endAt(lines.back());
    added += "[" + std::string(section) + "]" + eol + keyLine;
    result += added;
    return result;
}
