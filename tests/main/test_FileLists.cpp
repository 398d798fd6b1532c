#include "main/FileLists.h"

#include <gtest/gtest.h>

namespace
{

TEST(FileLists, PatternsMatchWithoutRegardToCase)
{
    struct Case {
        const char* name;
        const char* pattern;
        bool matches;
    };
    const Case cases[] = {
        {"WALK01.RF", "*.rf*", true},
        {"walk01.rf", "*.rf*", true},
        {"walk01.Rf2", "*.rf*", true},
        {"jump.RR2", "*.rr2", true},
        {"a.b.dg", "*.dg", true},
        {"a.dgx", "*.dg", false},
        {"rf", "*.rf*", false},
        {"walk.1t", "*.?t", true},
        {"walk.10t", "*.?t", false},
        {"\u00c9T\u00c9.DG", "*.dg", true},
        {"\u00e9t\u00e9.dg", "\u00c9T\u00c9.DG", true},
        {"", "*", true},
        {"", "?", false},
        {"abcabcabcabcabcabcabcabcabcabcx", "*a*b*c*d", false},
        {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab", "*a*a*a*a*b", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(matchesPattern(QString::fromUtf8(c.name), QString::fromUtf8(c.pattern)),
                  c.matches)
            << c.name << " against " << c.pattern;
    }
}

TEST(FileLists, ListsKeepTheMatchingNamesInOrder)
{
    const QStringList names{"b.OUT", "a.plt", "c.txt", "d.acd", "e.out.bak"};
    EXPECT_EQ(filesMatching(names, "*.out;*.plt;*.acd"), (QStringList{"b.OUT", "a.plt", "d.acd"}));
    EXPECT_EQ(filesMatching(names, ""), QStringList{});

    QStringList sorted{"b.rf", "A.rf", "a.rf", "C.rf"};
    sortNames(sorted);
    EXPECT_EQ(sorted, (QStringList{"A.rf", "a.rf", "b.rf", "C.rf"}));
}

TEST(FileLists, TheDriveOfAPathIsTheMountPointHoldingIt)
{
    const QStringList mounts{"/", "/mnt/usb", "/home"};
    const std::pair<const char*, const char*> cases[] = {
        {"/mnt/usb/data", "/mnt/usb"},
        {"/mnt/usb", "/mnt/usb"},
        {"/mnt/usbx", "/"},
        {"/home/ann", "/home"},
        {"/", "/"},
        {"/work", "/"},
    };
    for (const auto& [path, drive] : cases)
        EXPECT_EQ(driveOf(path, mounts), drive) << path;
    EXPECT_EQ(driveOf("/home/ann", {}), "/");
}

TEST(FileLists, TheDirectoryListShowsAncestorsThenSubdirectories)
{
    struct Line {
        QString text;
        QString path;
        int depth;
        bool open;
    };
    auto lines = [](const QList<DirectoryListEntry>& entries) {
        QList<Line> result;
        for (const DirectoryListEntry& e : entries)
            result.append({e.text, e.path, e.depth, e.open});
        return result;
    };
    auto expectLines = [&](const QList<DirectoryListEntry>& entries, const QList<Line>& expected) {
        const QList<Line> got = lines(entries);
        ASSERT_EQ(got.size(), expected.size());
        for (qsizetype i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].text, expected[i].text) << i;
            EXPECT_EQ(got[i].path, expected[i].path) << i;
            EXPECT_EQ(got[i].depth, expected[i].depth) << i;
            EXPECT_EQ(got[i].open, expected[i].open) << i;
        }
    };

    expectLines(directoryListEntries("/home/ann", "/", {"walks", "Jumps"}),
                {{"/", "/", 0, true},
                 {"home", "/home", 1, true},
                 {"ann", "/home/ann", 2, true},
                 {"Jumps", "/home/ann/Jumps", 3, false},
                 {"walks", "/home/ann/walks", 3, false}});
    expectLines(directoryListEntries("/", "/", {"tmp"}),
                {{"/", "/", 0, true}, {"tmp", "/tmp", 1, false}});
    expectLines(directoryListEntries("/mnt/usb/trials", "/mnt/usb", {}),
                {{"/mnt/usb", "/mnt/usb", 0, true}, {"trials", "/mnt/usb/trials", 1, true}});
    // A drive that does not hold the path is not its root.
    expectLines(directoryListEntries("/data", "/mnt/usb", {}),
                {{"/", "/", 0, true}, {"data", "/data", 1, true}});
}

TEST(FileLists, TheFirstLineOfAFileBecomesReadableText)
{
    const std::pair<QByteArray, QString> cases[] = {
        {"WALK01 stance phase\r\nSubject A\r\n", "WALK01 stance phase"},
        {"unix line\nnext", "unix line"},
        {"\r\nsecond", ""},
        {QByteArray("bin\0ary\x01\x7f!", 10), "bin ary  !"},
        {"caf\xc3\xa9", QString::fromUtf8("caf\xc3\xa9")},
        {"caf\xe9", QString::fromUtf8("caf\xc3\xa9")},
        // Titles written on Windows: its quotes and dash, not Latin-1 control codes.
        {"\x93Gait\x94 \x96 5 \x80", QString::fromUtf8("\xe2\x80\x9cGait\xe2\x80\x9d \xe2\x80\x93 5 \xe2\x82\xac")},
    };
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(firstLineText(bytes), text) << bytes.toHex().constData();
}

TEST(FileLists, AnOutputFileIsKnownByEverythingAfterItsFirstDot)
{
    const std::pair<const char*, const char*> cases[] = {
        {"run.out", "OUT"},     {"RUN.Out", "OUT"}, {"a.b.out", "B.OUT"},
        {"preview.plt", "PLT"}, {"noext", ""},
    };
    for (const auto& [name, extension] : cases)
        EXPECT_EQ(outputExtension(name), extension) << name;
}

} // namespace
