#include "core/ForceTable.h"

#include "core/NumberText.h"

#include <cmath>

std::string ForceTable::untitled()
{
    std::string title = "no title";
    title.resize(TitleWidth, ' ');
    return title;
}

double ForceTable::samplingRateHz() const
{
    const double rate = lenientNumber(SamplingRate);
    return std::isfinite(rate) ? rate : 0.0;
}

std::string ForceTable::extraColumnName() const
{
    constexpr std::size_t NameColumn = 60; // columns 61-70
    constexpr std::size_t NameWidth = 10;
    std::string_view name;
    if (LastHeaderCard.size() > NameColumn)
        name = std::string_view(LastHeaderCard).substr(NameColumn, NameWidth);
    const std::size_t first = name.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return "Extra";
    name = name.substr(first, name.find_last_not_of(' ') - first + 1);
    if (name == "Ay")
        return "Az";
    return std::string(name);
}
