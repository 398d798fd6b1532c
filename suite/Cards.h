#pragma once

// Writing force-file cards: fixed 80-column text lines ended by CR LF, as the
// suite's force plates and Orvane's reader expect them.

#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>

namespace suite
{

inline constexpr std::string_view CardEnd = "\r\n";

// Text in a fixed-width field, cut or padded with blanks on the right.
inline std::string leftField(std::string_view text, std::size_t width)
{
    std::string field(text.substr(0, width));
    field.resize(width, ' ');
    return field;
}

inline std::string rightField(std::string_view text, std::size_t width)
{
    if (text.size() >= width)
        return std::string(text.substr(text.size() - width));
    return std::string(width - text.size(), ' ') + std::string(text);
}

// A number right-aligned in a ten-column field. Rounded first so that a tiny
// negative value prints as 0.00 rather than -0.00.
inline std::string numberField(double value, int decimals, std::size_t width = 10)
{
    const double scale = std::pow(10.0, decimals);
    double rounded = std::round(value * scale) / scale;
    if (rounded == 0.0)
        rounded = 0.0;
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, rounded);
    return rightField(text, width);
}

// Title card: title in columns 1-40, a note in 41-60, the sampling rate in 61-70.
inline std::string titleCard(std::string_view title, double samplingRateHz)
{
    return leftField(title, 40) + rightField("Sampling rate (Hz):", 20) +
           numberField(samplingRateHz, 1) + std::string(CardEnd);
}

// Subject card: description in columns 1-40, the body weight (N) in 61-70.
inline std::string subjectCard(std::string_view subject, double bodyWeightN)
{
    return leftField(subject, 40) + rightField("Body weight (N):", 20) +
           numberField(bodyWeightN, 1) + std::string(CardEnd);
}

// A header card of up to eight names, each starting its field (the last one at column 71).
inline std::string headerCard(std::initializer_list<std::string_view> names)
{
    std::string card;
    for (std::string_view name : names)
        card += leftField(name, 10);
    while (!card.empty() && card.back() == ' ')
        card.pop_back();
    return card + std::string(CardEnd);
}

struct Record {
    double fx = 0, fy = 0, fz = 0; // N
    double ax = 0, ay = 0;         // cm
    double mz = 0;                 // N m
    double extra = 0;
};

// Data card: seven ten-column fields, then the record number in columns 71-79.
inline std::string dataCard(const Record& r, int recordNo)
{
    char number[32];
    std::snprintf(number, sizeof number, "%d", recordNo);
    return numberField(r.fx, 2) + numberField(r.fy, 2) + numberField(r.fz, 2) +
           numberField(r.ax, 2) + numberField(r.ay, 2) + numberField(r.mz, 3) +
           numberField(r.extra, 2) + rightField(number, 9) + std::string(CardEnd);
}

} // namespace suite
