#include "platform/ArgumentText.h"

#include <gtest/gtest.h>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace
{

TEST(ArgumentText, SplittingFollowsBlanksAndQuotes)
{
    struct Case {
        const char* text;
        QStringList arguments;
    };
    const Case cases[] = {
        {"", {}},
        {" \t  ", {}},
        {"/F/I  WALK01.RF", {"/F/I", "WALK01.RF"}},
        {"\"my walk.rf\" -x", {"my walk.rf", "-x"}},
        {"\"\"", {""}},
        {"a \"\" b", {"a", "", "b"}},
        {"\"a\"\"b\"", {"a\"b"}},
        {"\"\"\"\"", {"\""}},
        {"a\"b c\"d", {"ab cd"}},
        {"\"tab\tinside\"", {"tab\tinside"}},
        {"\"unclosed rest", {"unclosed rest"}},
        {"$(x) `y` a;b|c&d", {"$(x)", "`y`", "a;b|c&d"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(splitArgumentText(c.text), c.arguments) << c.text;
}

TEST(ArgumentText, JoinedArgumentsSplitBackIntoTheSameList)
{
    const QStringList lists[] = {
        {},
        {""},
        {"", ""},
        {"plain", "WALK01.RF"},
        {"a\" extra \"b.cfb"},
        {"\""},
        {"\"\""},
        {"ends with quote\""},
        {"\"starts", "-leading dash", "semi;colon", "$HOME", "`id`"},
        {"tab\there", "two  blanks", " ", "back\\slash\\"},
        {"/C/R/M/F/G", "my trial"},
    };
    for (const QStringList& list : lists) {
        const QString text = joinArguments(list);
        EXPECT_EQ(splitArgumentText(text), list) << text.toStdString();
    }
    // Names that need no quotes are shown as they are.
    EXPECT_EQ(joinArguments({"/A", "walk01.2t", "a;b|c"}), "/A walk01.2t a;b|c");
    EXPECT_EQ(joinArguments({"my run.out", ""}), "\"my run.out\" \"\"");
}

} // namespace
