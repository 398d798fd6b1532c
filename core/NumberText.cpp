#include "core/NumberText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <system_error>

namespace
{

// More digits than this cannot change the rounding of a double.
constexpr int MaxKeptDigits = 800;
// Exponents beyond this are overflow or underflow for any digit string we keep.
constexpr int64_t ExponentLimit = 1'000'000;

constexpr std::array<double, 23> ExactPowersOfTen = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                     1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                     1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}
bool isExponentLetter(char c)
{
    return c == 'E' || c == 'e' || c == 'D' || c == 'd';
}

// digits x 10^exponent, correctly rounded; digits hold no leading zero.
double decimalToDouble(const char* digits, int count, int64_t exponent)
{
    std::array<char, MaxKeptDigits + 32> text;
    char* out = text.data();
    for (int i = 0; i < count; ++i)
        *out++ = digits[i];
    *out++ = 'e';
    auto [end, ec] = std::to_chars(out, text.data() + text.size(), exponent);
    if (ec != std::errc())
        return 0;
    double value = 0;
    auto result = std::from_chars(text.data(), end, value);
    if (result.ec == std::errc::result_out_of_range) {
        // Beyond the double range: overflow when the leading digit stands at or
        // above the units place, else underflow.
        return exponent + count - 1 >= 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return result.ec == std::errc() ? value : 0.0;
}

} // namespace

namespace
{

// The parts of a lenient number: value = digits x 10^(scale + exponent).
struct ParsedNumber {
    bool negative = false;
    int digitCount = 0;    // significant digits, leading zeros left out
    uint64_t mantissa = 0; // the first 19 of them
    int64_t scale = 0;
    int64_t exponent = 0;
};

// One pass over the text. The digits themselves are kept only when asked for,
// which only the rare slow conversion needs.
template <bool KeepDigits> ParsedNumber parseLenient(std::string_view text, char* digits)
{
    enum class State { Start, Integer, Fraction, ExponentSign, ExponentDigits };
    State state = State::Start;
    ParsedNumber n;
    bool exponentNegative = false;

    auto takeDigit = [&](char c, bool inFraction) {
        if (n.digitCount == 0 && c == '0') {
            if (inFraction)
                --n.scale;
            return;
        }
        if (n.digitCount < MaxKeptDigits) {
            if (n.digitCount < 19)
                n.mantissa = n.mantissa * 10 + static_cast<uint64_t>(c - '0');
            if constexpr (KeepDigits)
                digits[n.digitCount] = c;
            ++n.digitCount;
            if (inFraction)
                --n.scale;
        } else if (!inFraction) {
            ++n.scale;
        }
    };

    for (char c : text) {
        if (isBlank(c))
            continue;
        bool more = true;
        switch (state) {
        case State::Start:
            if (c == '+' || c == '-') {
                n.negative = c == '-';
                state = State::Integer;
            } else if (isDigit(c)) {
                takeDigit(c, false);
                state = State::Integer;
            } else if (c == '.') {
                state = State::Fraction;
            } else {
                more = false;
            }
            break;
        case State::Integer:
            if (isDigit(c))
                takeDigit(c, false);
            else if (c == '.')
                state = State::Fraction;
            else if (isExponentLetter(c))
                state = State::ExponentSign;
            else
                more = false;
            break;
        case State::Fraction:
            if (isDigit(c))
                takeDigit(c, true);
            else if (isExponentLetter(c))
                state = State::ExponentSign;
            else
                more = false;
            break;
        case State::ExponentSign:
        case State::ExponentDigits:
            if (state == State::ExponentSign && (c == '+' || c == '-')) {
                exponentNegative = c == '-';
                state = State::ExponentDigits;
            } else if (isDigit(c)) {
                if (n.exponent < ExponentLimit)
                    n.exponent = n.exponent * 10 + (c - '0');
                state = State::ExponentDigits;
            } else {
                more = false;
            }
            break;
        }
        if (!more)
            break;
    }
    if (exponentNegative)
        n.exponent = -n.exponent;
    return n;
}

} // namespace

double lenientNumber(std::string_view text)
{
    const ParsedNumber n = parseLenient<false>(text, nullptr);
    if (n.digitCount == 0)
        return 0.0;
    const int64_t totalExponent =
        std::clamp<int64_t>(n.scale + n.exponent, -ExponentLimit, ExponentLimit);

    double magnitude;
    constexpr uint64_t ExactMantissaLimit = uint64_t{1} << 53;
    if (n.digitCount <= 19 && n.mantissa <= ExactMantissaLimit && totalExponent >= -22 &&
        totalExponent <= 22) {
        // Both operands are exact doubles, so one multiplication or division
        // rounds correctly.
        const double m = static_cast<double>(n.mantissa);
        magnitude = totalExponent >= 0 ? m * ExactPowersOfTen[totalExponent]
                                       : m / ExactPowersOfTen[-totalExponent];
    } else {
        std::array<char, MaxKeptDigits> digits;
        parseLenient<true>(text, digits.data());
        magnitude = decimalToDouble(digits.data(), n.digitCount, totalExponent);
    }
    if (magnitude == 0)
        return 0.0;
    return n.negative ? -magnitude : magnitude;
}

std::string shortestNumberText(double value)
{
    if (std::isnan(value))
        return "nan";
    std::array<char, 64> text{};
    auto [end, ec] = std::to_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc())
        return "nan";
    return std::string(text.data(), end);
}

std::string shortestSingleText(float value)
{
    if (std::isnan(value))
        return "nan";
    std::array<char, 64> text{};
    auto [end, ec] = std::to_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc())
        return "nan";
    return std::string(text.data(), end);
}

namespace
{

struct NumberPattern {
    std::string_view prefix;
    std::string_view suffix;
    int integerZeros = 0;  // digits always shown before the point
    int fractionZeros = 0; // digits always shown after the point
    int decimals = 0;      // all digit places after the point
    bool point = false;
};

NumberPattern parsePattern(std::string_view pattern)
{
    NumberPattern parsed;
    std::size_t i = 0;
    while (i < pattern.size() && pattern[i] != '#' && pattern[i] != '0' && pattern[i] != '.')
        ++i;
    parsed.prefix = pattern.substr(0, i);
    for (; i < pattern.size() && (pattern[i] == '#' || pattern[i] == '0'); ++i) {
        if (pattern[i] == '0')
            ++parsed.integerZeros;
    }
    if (i < pattern.size() && pattern[i] == '.') {
        parsed.point = true;
        for (++i; i < pattern.size() && (pattern[i] == '#' || pattern[i] == '0'); ++i) {
            ++parsed.decimals;
            if (pattern[i] == '0')
                parsed.fractionZeros = parsed.decimals;
        }
    }
    parsed.suffix = pattern.substr(i);
    return parsed;
}

} // namespace

std::string formatNumber(double value, std::string_view pattern)
{
    const NumberPattern p = parsePattern(pattern);
    std::string result(p.prefix);
    if (std::isnan(value)) {
        result += "nan";
        result += p.suffix;
        return result;
    }
    if (std::isinf(value)) {
        result += value < 0 ? "-inf" : "inf";
        result += p.suffix;
        return result;
    }

    // The shortest decimal digits of the magnitude: d1 d2 ... x 10^(exponent+1-n).
    std::array<char, 64> text{};
    auto [end, ec] = std::to_chars(text.data(), text.data() + text.size(), std::fabs(value),
                                   std::chars_format::scientific);
    std::string digits;
    int exponent = 0;
    if (ec == std::errc()) {
        const std::string_view sci(text.data(), static_cast<std::size_t>(end - text.data()));
        const std::size_t e = sci.find('e');
        for (char c : sci.substr(0, e)) {
            if (isDigit(c))
                digits += c;
        }
        std::from_chars(sci.data() + e + 1 + (sci[e + 1] == '+' ? 1 : 0), sci.data() + sci.size(),
                        exponent);
    }
    if (digits.empty() || digits == "0") {
        digits.clear();
        exponent = 0;
    }

    // Round half away from zero at the last decimal place.
    int integerDigits = exponent + 1;
    const long keep = static_cast<long>(integerDigits) + p.decimals;
    if (keep < 0) {
        digits.clear();
    } else if (keep < static_cast<long>(digits.size())) {
        const bool up = digits[static_cast<std::size_t>(keep)] >= '5';
        digits.resize(static_cast<std::size_t>(keep));
        if (up) {
            long i = keep - 1;
            while (i >= 0 && digits[static_cast<std::size_t>(i)] == '9') {
                digits[static_cast<std::size_t>(i)] = '0';
                --i;
            }
            if (i >= 0) {
                ++digits[static_cast<std::size_t>(i)];
            } else {
                digits.insert(digits.begin(), '1');
                ++integerDigits;
            }
        }
    }

    std::string integerPart;
    std::string fractionPart;
    bool nonZero = false;
    for (char c : digits)
        nonZero = nonZero || c != '0';
    if (nonZero) {
        const long n = static_cast<long>(digits.size());
        for (long i = 0; i < integerDigits; ++i)
            integerPart += i < n ? digits[static_cast<std::size_t>(i)] : '0';
        for (long i = integerDigits; i < integerDigits + p.decimals; ++i)
            fractionPart += (i >= 0 && i < n) ? digits[static_cast<std::size_t>(i)] : '0';
    } else {
        fractionPart.assign(static_cast<std::size_t>(p.decimals), '0');
    }
    if (static_cast<int>(integerPart.size()) < p.integerZeros)
        integerPart.insert(0, static_cast<std::size_t>(p.integerZeros) - integerPart.size(), '0');
    while (static_cast<int>(fractionPart.size()) > p.fractionZeros && fractionPart.back() == '0')
        fractionPart.pop_back();

    if (nonZero && value < 0)
        result += '-';
    result += integerPart;
    if (p.point) {
        result += '.';
        result += fractionPart;
    }
    result += p.suffix;
    return result;
}

std::string formatField(double value)
{
    constexpr std::size_t FieldWidth = 10;
    std::string text = formatNumber(value, "####0.0000");
    if (text.size() < FieldWidth)
        text.insert(0, FieldWidth - text.size(), ' ');
    return text;
}
