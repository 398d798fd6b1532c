#include "docs/DocsRules.h"

#include <gtest/gtest.h>

TEST(DecodeText, KeepsUtf8AndReadsOtherBytesAsLatin1)
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
        {"Latin-1 only", "M\xfcller 25\xb0", QString::fromLatin1("M\xfcller 25\xb0")},
        {"mixed: a UTF-8 letter and a Latin-1 degree sign", "\xc3\xa4 25\xb0",
         QString::fromUtf8("\xc3\xa4 25\xc2\xb0")},
        {"overlong form of '/'", "a\xc0\xaf", QString::fromLatin1("a\xc0\xaf")},
        {"encoded surrogate", "\xed\xa0\x80", QString::fromLatin1("\xed\xa0\x80")},
        {"sequence cut off at the end", "ok\xe2\x86", QString::fromLatin1("ok\xe2\x86")},
        {"byte-order mark dropped", "\xef\xbb\xbfTitle", "Title"},
        {"NUL kept", QByteArray("a\0b", 3), QString(QChar('a')) + QChar(0) + QChar('b')},
    };
    for (const Case& c : cases)
        EXPECT_EQ(decodeText(c.bytes), c.text) << c.name;
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
