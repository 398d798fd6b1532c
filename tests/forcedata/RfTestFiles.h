#pragma once

// Force files built inside the tests, card by card.

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace rftest
{

// A title, subject or header card: `left` from column 1, `value` right-aligned
// in columns 61-70.
inline std::string headerCard(std::string_view left, std::string_view value = {})
{
    std::string card(left);
    card.resize(60, ' ');
    card.append(10 - std::min<std::size_t>(value.size(), 10), ' ');
    card.append(value.substr(0, 10));
    return card;
}

// A data card: seven ten-column fields and the nine-column record number, each
// right-aligned.
inline std::string dataCard(const std::array<std::string_view, 8>& fields)
{
    std::string card;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::size_t width = i < 7 ? 10 : 9;
        const std::string_view f = fields[i].substr(0, width);
        card.append(width - f.size(), ' ');
        card.append(f);
    }
    return card;
}

inline std::string joinCards(const std::vector<std::string>& cards,
                             std::string_view lineEnd = "\r\n")
{
    std::string file;
    for (const std::string& card : cards) {
        file += card;
        file += lineEnd;
    }
    return file;
}

// Title, subject, one header card naming the seventh column, separator.
inline std::vector<std::string> standardHeader()
{
    return {headerCard("WALK01 stance phase, right foot", "500"), headerCard("Subject A", "712.5"),
            headerCard("Fx Fy Fz Ax Ay Mz", "Ay"), ""};
}

// `count` data cards with distinct values, record numbers 1..count.
inline std::vector<std::string> dataCards(int count)
{
    std::vector<std::string> cards;
    cards.reserve(static_cast<std::size_t>(count));
    for (int i = 1; i <= count; ++i) {
        const std::string n = std::to_string(i);
        const std::string fx = "-" + std::to_string(i % 97) + ".25";
        const std::string fz = std::to_string(i * 3) + ".5";
        cards.push_back(dataCard({fx, "12.125", fz, "0.1", "-0.2", "3.75", "1.5", n}));
    }
    return cards;
}

} // namespace rftest
