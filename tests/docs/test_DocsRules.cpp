#include "docs/DocsRules.h"

#include <gtest/gtest.h>

TEST(DecodeText, KeepsUtf8AndReadsOtherBytesAsWindows1252)
{
    struct Case {
        const char* name;
        QByteArray bytes;
        QString text;
    };
    const Case cases[] = {
        {"plain ASCII", "Fz 700 N", "Fz 700 N"},
        {"UTF-8", "Kraft \xc3\xa4 \xe2\x86\x92 \xf0\x9f\x98\x80",
         QString::fromUtf8("Kraft \xc3\xa4 \xe2\x86\x92 \xf0\x9f\x98\x80")},
        {"letters above 0x9F as in Latin-1", "M\xfcller 25\xb0",
         QString::fromLatin1("M\xfcller 25\xb0")},
        {"Windows punctuation", "\x93Peak\x94 \x96 \x80 5 \x85 it\x92s",
         QString::fromUtf8("\xe2\x80\x9cPeak\xe2\x80\x9d \xe2\x80\x93 \xe2\x82\xac 5 "
                           "\xe2\x80\xa6 it\xe2\x80\x99s")},
        {"mixed: a UTF-8 letter and a stray degree sign", "\xc3\xa4 25\xb0",
         QString::fromUtf8("\xc3\xa4 25\xc2\xb0")},
        {"overlong form of '/'", "a\xc0\xaf", QString::fromLatin1("a\xc0\xaf")},
        {"encoded surrogate", "\xed\xa0\x80", QString::fromUtf8("\xc3\xad\xc2\xa0\xe2\x82\xac")},
        {"sequence cut off at the end", "ok\xe2\x86", QString::fromUtf8("ok\xc3\xa2\xe2\x80\xa0")},
        {"byte-order mark dropped", "\xef\xbb\xbfTitle", "Title"},
        {"NUL kept", QByteArray("a\0b", 3), QString(QChar('a')) + QChar(0) + QChar('b')},
    };
    for (const Case& c : cases)
        EXPECT_EQ(decodeText(c.bytes), c.text) << c.name;

    // Every byte from 0x80 to 0x9F as the Windows code page reads it; the five it
    // leaves undefined keep their own control characters, so no byte is lost.
    const char16_t cp1252[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    for (int byte = 0x80; byte <= 0x9F; ++byte) {
        const QByteArray bytes(1, char(byte));
        EXPECT_EQ(decodeText(bytes), QString(QChar(cp1252[byte - 0x80]))) << std::hex << byte;
    }
}

TEST(ViewerText, ShowsTheWholeFileLessOneFinalLineEnd)
{
    struct Case {
        QByteArray bytes;
        QString shown;
    };
    const Case cases[] = {
        {"abc", "abc"}, // no line end at all: nothing may be lost
        {"x", "x"},
        {"abc\n", "abc"},
        {"abc\r\n", "abc"},
        {"one\r\ntwo\r\n", "one\ntwo"},
        {"one\rtwo\r", "one\ntwo"},
        {"abc\n\n", "abc\n"},
        {"\n", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(viewerText(c.bytes), c.shown) << c.bytes.toStdString();
}

TEST(ViewerFit, HandsOverWhatTheTextBoxCannotShowQuickly)
{
    const QByteArray longLine(ViewerMaxLineBytes + 1, 'x');
    const QByteArray longestLine(ViewerMaxLineBytes, 'x');
    const QByteArray manyShortLines = QByteArray("0123456789\n").repeated(100000);
    struct Case {
        const char* name;
        QByteArray bytes;
        ViewerFit fit;
    };
    const Case cases[] = {
        {"empty", QByteArray(), ViewerFit::Empty},
        {"text", "Fz\n", ViewerFit::Fits},
        {"a megabyte of short lines", manyShortLines, ViewerFit::Fits},
        {"binary", QByteArray("PK\x03\x04\0\0", 6), ViewerFit::NotText},
        {"one line too long", longLine, ViewerFit::TooLarge},
        {"the longest line, alone", longestLine, ViewerFit::Fits},
        {"the longest line, ended", longestLine + "\n", ViewerFit::Fits},
        {"the longest line between CR LF", "a\r\n" + longestLine + "\r\nb", ViewerFit::Fits},
        {"the longest line after a lone CR", "a\r" + longestLine, ViewerFit::Fits},
        {"one byte too long after a CR", "a\r" + longLine, ViewerFit::TooLarge},
        {"long line after short ones", "a\r\n" + longLine + "\n", ViewerFit::TooLarge},
        {"too many bytes", QByteArray(ViewerMaxBytes + 1, '\n'), ViewerFit::TooLarge},
    };
    for (const Case& c : cases)
        EXPECT_EQ(viewerFit(c.bytes), c.fit) << c.name;
}

TEST(ViewerColours, TextNeverTakesTheBackgroundColour)
{
    const QColor grey(224, 224, 224), black(0, 0, 0), white(255, 255, 255), red(255, 0, 0);
    const ViewerColours design{grey, black};
    struct Case {
        const char* name;
        int item;
        std::optional<QColor> chosen;
        ViewerColours result;
    };
    const Case cases[] = {
        {"new background", 0, red, {red, black}},
        {"background equal to the text refused", 0, black, design},
        {"new text colour", 1, red, {grey, red}},
        {"text equal to the background refused", 1, grey, design},
        {"cancelled background changes nothing", 0, std::nullopt, design},
        {"cancelled text colour changes nothing", 1, std::nullopt, design},
        {"reset gives black on white", 2, std::nullopt, {white, black}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(viewerColourChoice(design, c.item, c.chosen), c.result) << c.name;
}

TEST(WindowRules, TextBoxAndPdfViewFollowTheWindowButNeverCollapse)
{
    // The text box fills the client area...
    EXPECT_EQ(viewerTextBoxTwips({10350, 6240}, {9375, 6135}), QSize(10350, 6240));
    // ...and keeps its last width or height once the window is almost nothing.
    EXPECT_EQ(viewerTextBoxTwips({30, 6240}, {9375, 6135}), QSize(9375, 6240));
    EXPECT_EQ(viewerTextBoxTwips({1000, 40}, {9375, 6135}), QSize(1000, 6135));

    // The PDF view stands at 100, 720 and leaves room below and to the right.
    const QRect design(120, 840, 9615, 4575);
    EXPECT_EQ(readerPdfTwips({9960, 5520}, design), QRect(100, 720, 9780, 4685));
    EXPECT_EQ(readerPdfTwips({200, 600}, design), QRect(100, 720, 9615, 4575));
}

TEST(ReaderNames, DocumentPathIsLowerCaseAndTheLabelEndsInOneBlank)
{
    const QString path = readerDocumentPath("/opt/Kinemora/manuals/", "Orvane.PDF");
    EXPECT_EQ(path, "/opt/kinemora/manuals/orvane.pdf");
    EXPECT_EQ(readerLabel(path), "/opt/kinemora/manuals/orvane.pdf ");
}

TEST(ContactText, TenLinesEachIndentedAndAnInstallersFileReplacesThem)
{
    const QStringList lines = defaultContactText("\n", "https://example.org/").split(u'\n');
    ASSERT_EQ(lines.size(), 10);
    EXPECT_TRUE(lines[0].isEmpty());
    EXPECT_TRUE(lines[6].isEmpty());
    EXPECT_TRUE(lines[7].startsWith("  Email: "));
    EXPECT_TRUE(lines[8].startsWith("  FTP site: "));
    EXPECT_EQ(lines[9], "  https://example.org/");
    for (const QString& line : lines)
        EXPECT_TRUE(line.isEmpty() || line.startsWith("  ")) << line.toStdString();

    const QString fromFile = contactTextFromFile(
        "Motion Lab  \r\n  Dept. of Kinesiology\r\n\r\n" + QString("x\n").repeated(20), "\n");
    const QStringList given = fromFile.split(u'\n');
    ASSERT_EQ(given.size(), 10);
    EXPECT_EQ(given[0], "");
    EXPECT_EQ(given[1], "  Motion Lab");
    EXPECT_EQ(given[2], "  Dept. of Kinesiology");
    EXPECT_EQ(given[3], "");
    EXPECT_EQ(given[4], "  x");
}
