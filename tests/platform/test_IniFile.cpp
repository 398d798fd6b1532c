#include "platform/IniFile.h"

#include <gtest/gtest.h>

#include <random>

using namespace std::string_literals;

namespace
{
const std::string Shared = "; Kinemora suite settings\r\n"
                           "[Startup]\r\n"
                           "Progdir=C:\\KINEMORA\r\n"
                           "Datadir = D:\\trials\\walk  \r\n"
                           "name with spaces=a;b\r\n"
                           "Quoted=\" padded \"\r\n"
                           "\r\n"
                           "# the sibling's own section\r\n"
                           "[Tessel]\r\n"
                           "Datadir=E:\\other\r\n"
                           "unknown line without equals\r\n";
} // namespace

TEST(IniFile, ReadsValuesAsTheSuiteWritesThem)
{
    struct Case {
        const char* name;
        std::string text;
        std::string section;
        std::string key;
        std::optional<std::string> value;
    } cases[] = {
        {"backslashes", Shared, "Startup", "Progdir", "C:\\KINEMORA"},
        {"blanks around", Shared, "Startup", "Datadir", "D:\\trials\\walk"},
        {"names without case", Shared, "STARTUP", "datadir", "D:\\trials\\walk"},
        {"semicolon in value", Shared, "Startup", "name with spaces", "a;b"},
        {"quotes keep blanks", Shared, "Startup", "Quoted", " padded "},
        {"other section", Shared, "Tessel", "Datadir", "E:\\other"},
        {"missing key", Shared, "Tessel", "Progdir", std::nullopt},
        {"missing section", Shared, "Orvane", "delay", std::nullopt},
        {"comment is no key", "[S]\n;k=1\n#k=2\n", "S", "k", std::nullopt},
        {"key before any section", "k=1\n[S]\n", "S", "k", std::nullopt},
        {"first duplicate counts", "[S]\nk=1\nk=2\n[S]\nk=3\n", "S", "k", "1"},
        {"empty value", "[S]\nk=\n", "S", "k", ""},
        {"value with equals", "[S]\nk=a=b\n", "S", "k", "a=b"},
        {"single quotes", "[S]\nk='x'\n", "S", "k", "x"},
        {"unmatched quote", "[S]\nk=\"x\n", "S", "k", "\"x"},
        {"no line end at the end", "[S]\nk=v", "S", "k", "v"},
        {"byte-order mark", "\xEF\xBB\xBF[S]\nk=v\n", "S", "k", "v"},
        {"lone CR is no line end", "[S]\nj=1\rk=2\n", "S", "k", std::nullopt},
        {"Latin-1 bytes", "[S]\nk=caf\xE9\n", "S", "k", "caf\xE9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(iniValue(c.text, c.section, c.key), c.value);
    }
}

TEST(IniFile, ASaveChangesOnlyItsOwnLine)
{
    struct Case {
        const char* name;
        std::string text;
        std::string section;
        std::string key;
        std::string value;
        std::string expected;
    } cases[] = {
        {"value replaced, spacing and CR LF kept", Shared, "Startup", "datadir", "/home/u/data",
         "; Kinemora suite settings\r\n[Startup]\r\nProgdir=C:\\KINEMORA\r\n"
         "Datadir = /home/u/data  \r\nname with spaces=a;b\r\nQuoted=\" padded \"\r\n\r\n"
         "# the sibling's own section\r\n[Tessel]\r\nDatadir=E:\\other\r\n"
         "unknown line without equals\r\n"},
        {"key added after the section's last key", "[S]\na=1\n\n; next\n[T]\nb=2\n", "S", "c", "3",
         "[S]\na=1\nc=3\n\n; next\n[T]\nb=2\n"},
        {"key added to an empty section", "[S]\r\n[T]\r\n", "S", "k", "v", "[S]\r\nk=v\r\n[T]\r\n"},
        {"section added with the file's line ends", "; c\r\n[T]\r\nb=2\r\n", "S", "k", "v",
         "; c\r\n[T]\r\nb=2\r\n[S]\r\nk=v\r\n"},
        {"last line without its end", "[T]\nb=2", "S", "k", "v", "[T]\nb=2\n[S]\nk=v\n"},
        {"header without its end", "[S]", "S", "k", "v", "[S]\nk=v\n"},
        {"empty file", "", "Startup", "Datadir", "/d", "[Startup]\nDatadir=/d\n"},
        {"byte-order mark kept", "\xEF\xBB\xBF[S]\r\nk=1\r\n", "S", "k", "2",
         "\xEF\xBB\xBF[S]\r\nk=2\r\n"},
        {"backslashes and semicolons as they are", "[S]\nk=x\n", "S", "k", "C:\\A;B",
         "[S]\nk=C:\\A;B\n"},
        {"blanks kept by quotes", "[S]\nk=x\n", "S", "k", " a ", "[S]\nk=\" a \"\n"},
        {"a quoted value quoted again", "[S]\nk=x\n", "S", "k", "\"q\"", "[S]\nk=\"\"q\"\"\n"},
        {"only the first duplicate", "[S]\nk=1\nk=2\n", "S", "k", "9", "[S]\nk=9\nk=2\n"},
        {"a quoted value saved unchanged keeps its quotes", "[S]\nk=\"C:\\Data\"\r\n", "S", "k",
         "C:\\Data", "[S]\nk=\"C:\\Data\"\r\n"},
        {"single quotes kept too", "[S]\nk = 'x' \n", "S", "k", "x", "[S]\nk = 'x' \n"},
        {"bytes that are not text", "\x01\xFF\n[S]\nk=\x80\n\x00z\n"s, "S", "k", "v",
         "\x01\xFF\n[S]\nk=v\n\x00z\n"s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<std::string> edited = iniWithValue(c.text, c.section, c.key, c.value);
        ASSERT_TRUE(edited);
        EXPECT_EQ(*edited, c.expected);
        EXPECT_EQ(iniValue(*edited, c.section, c.key), c.value);
    }
}

TEST(IniFile, RefusesWhatOneLineCannotHold)
{
    struct Case {
        const char* name;
        std::string section;
        std::string key;
        std::string value;
    } cases[] = {
        {"line end in value", "S", "k", "a\nb"}, {"CR in value", "S", "k", "a\rb"},
        {"equals in key", "S", "a=b", "v"},      {"empty key", "S", "", "v"},
        {"comment key", "S", ";k", "v"},         {"bracket in section", "a]b", "k", "v"},
        {"empty section", "", "k", "v"},         {"blank-ended key", "S", "k ", "v"},
        {"hash comment key", "S", "#k", "v"},    {"section key", "S", "[k", "v"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(iniWithValue("[S]\nk=1\n", c.section, c.key, c.value));
    }
}

// Any bytes at all: the value reads back, and what the save did not touch is kept.
TEST(IniFile, RandomFilesKeepEveryOtherByte)
{
    std::mt19937 random(20261209);
    const std::string alphabet = "[]=;#\"' \t\r\n\r\nSskKv\\\xE9\xFF";
    const std::string alphabetWithNul = alphabet + std::string(1, '\0');
    std::uniform_int_distribution<std::size_t> letter(0, alphabetWithNul.size() - 1);
    std::uniform_int_distribution<int> length(0, 120);
    const std::string values[] = {"v", "C:\\A;B", " x ", "\"q\"", "", "caf\xE9"};
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        for (int i = length(random); i > 0; --i)
            text += alphabetWithNul[letter(random)];
        const std::string& value = values[static_cast<std::size_t>(round) % std::size(values)];
        const std::optional<std::string> edited = iniWithValue(text, "S", "k", value);
        ASSERT_TRUE(edited);
        ASSERT_EQ(iniValue(*edited, "S", "k"), value) << testing::PrintToString(text);

        // The bytes that differ lie within one line, or the save added whole lines.
        std::size_t front = 0;
        while (front < text.size() && front < edited->size() && text[front] == (*edited)[front])
            ++front;
        std::size_t back = 0;
        while (back < text.size() - front && back < edited->size() - front &&
               text[text.size() - 1 - back] == (*edited)[edited->size() - 1 - back])
            ++back;
        const std::string removed = text.substr(front, text.size() - front - back);
        const std::string added = edited->substr(front, edited->size() - front - back);
        const bool oneLineChanged =
            removed.find('\n') == std::string::npos && added.find('\n') == std::string::npos;
        const bool linesAdded = removed.empty();
        EXPECT_TRUE(oneLineChanged || linesAdded) << testing::PrintToString(text);
        // Another key written after it leaves it as it was.
        const std::optional<std::string> twice = iniWithValue(*edited, "S", "other", "o");
        ASSERT_TRUE(twice);
        EXPECT_EQ(iniValue(*twice, "S", "k"), value) << testing::PrintToString(text);
    }
}
