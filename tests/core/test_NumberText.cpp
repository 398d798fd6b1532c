#include "core/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

TEST(NumberText, LenientNumber)
{
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        std::string_view text;
        double value;
    } cases[] = {
        {"", 0},
        {"   ", 0},
        {"abc", 0},
        {"  1 234.5", 1234.5},
        {"\t-\t7", -7},
        {"+5", 5},
        {"--5", 0},
        {"1-2", 1},
        {"1,5", 1},
        {"1.2.3", 1.2},
        {"12abc", 12},
        {".5", 0.5},
        {"5.", 5},
        {"-.", 0},
        {"1.5E3", 1500},
        {"1.5d3", 1500},
        {"2.5D-1", 0.25},
        {"1 e + 2", 100},
        {"1E", 1},
        {"1E+", 1},
        {"1E+x3", 1},
        {"E5", 0},
        {"0.1", 0.1},
        {"0.30000000000000004", 0.30000000000000004},
        {"9007199254740993", 9007199254740992.0}, // rounds to even past 2^53
        {"123456789012345678901234567890", 1.2345678901234568e29},
        {"0.000000000000000000000000012345", 1.2345e-26},
        {"1E999", inf},
        {"-1D999", -inf},
        {"1E-999", 0},
        {"0E999999999999", 0},
        {"4.9406564584124654E-324", 4.9406564584124654e-324},
        {"1.7976931348623157E308", 1.7976931348623157e308},
    };
    for (const Case& c : cases)
        EXPECT_EQ(lenientNumber(c.text), c.value) << '"' << c.text << '"';
    EXPECT_FALSE(std::signbit(lenientNumber("-0.0")));
    EXPECT_FALSE(std::signbit(lenientNumber("-1E-999")));
    EXPECT_EQ(lenientNumber(std::string(5000, '9') + "E-5000"), 1.0);
}

TEST(NumberText, ShortestTextReadsBackToTheSameNumber)
{
    std::mt19937_64 random(20240611);
    for (int i = 0; i < 20000; ++i) {
        const uint64_t bits = random();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        if (!std::isfinite(value))
            continue;
        const std::string text = shortestNumberText(value);
        ASSERT_EQ(lenientNumber(text), value == 0 ? 0.0 : value) << text;
        const float single = static_cast<float>(value);
        if (std::isfinite(single)) {
            ASSERT_EQ(static_cast<float>(lenientNumber(shortestSingleText(single))), single);
        }
    }
    EXPECT_EQ(shortestNumberText(700.25), "700.25");
    EXPECT_EQ(shortestNumberText(std::nan("")), "nan");
    EXPECT_EQ(shortestNumberText(-std::numeric_limits<double>::infinity()), "-inf");
    EXPECT_EQ(shortestSingleText(0.1f), "0.1");
}

TEST(NumberText, FormatNumberPatterns)
{
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double value;
        std::string_view pattern;
        std::string_view text;
    } cases[] = {
        {12.5, "####0.0000", "12.5000"},
        {-0.25, "####0.0000", "-0.2500"},
        {0, "####0.0000", "0.0000"},
        {0.00005, "####0.0000", "0.0001"},
        {2.00005, "####0.0000", "2.0001"},
        {-2.00005, "####0.0000", "-2.0001"},
        {0.00004999, "####0.0000", "0.0000"},
        {-0.00004, "####0.0000", "0.0000"},
        {99999.99995, "####0.0000", "100000.0000"},
        {1e20, "####0.00", "100000000000000000000.00"},
        {1234567.5, "####0.00", "1234567.50"},
        {0.995, "####0.00", "1.00"},
        {5e-324, "####0.00", "0.00"},
        {5, " ###0.00", " 5.00"},
        {-5.25, " ###0.0", " -5.3"},
        {0.05, " ###0.0", " 0.1"},
        {0.04, " ###0.0", " 0.0"},
        {0, "     ####", "     "},
        {0.4, "     ####", "     "},
        {0.5, "     ####", "     1"},
        {17, "     ####", "     17"},
        {-3, "     ####", "     -3"},
        {123456, "     ####", "     123456"},
        {std::nan(""), "####0.0000", "nan"},
        {inf, "####0.0000", "inf"},
        {-inf, " ###0.00", " -inf"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(formatNumber(c.value, c.pattern), c.text) << c.value << " " << c.pattern;
    EXPECT_EQ(formatNumber(1e300, "####0.0000").size(), 306u);
}

TEST(NumberText, FormatFieldIsTenColumnsWide)
{
    struct Case {
        double value;
        std::string_view text;
    } cases[] = {
        {12.5, "   12.5000"},    {-0.25, "   -0.2500"},        {0, "    0.0000"},
        {99999.5, "99999.5000"}, {100000, "100000.0000"},      {-9999.99994, "-9999.9999"},
        {-10000, "-10000.0000"}, {std::nan(""), "       nan"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(formatField(c.value), c.text) << c.value;
}
