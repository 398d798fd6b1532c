#include "DocsFixture.h"
#include "docs/frmViewer.h"
#include "platform/ArgumentText.h"

#include <QAction>
#include <QPlainTextEdit>

namespace
{
class Viewer : public DocsTest
{
protected:
    // Shows `file` as a caller does and lets the activation load it.
    frmViewer& show(const QString& file)
    {
        s.ViewerFile = file;
        if (!viewer)
            viewer = std::make_unique<frmViewer>(s, fp.platform());
        viewer->showFile();
        settle();
        return *viewer;
    }
    QString shown() const { return viewer->txtViewer->toPlainText(); }

    std::unique_ptr<frmViewer> viewer;
};
} // namespace

TEST_F(Viewer, ShowsTheWholeFileIncludingALastCharacterWithoutLineEnd)
{
    writeFile(data("result.out"), "Peak Fz     1.21 BW\r\nImpulse     312.4 N s");
    frmViewer& v = show(data("result.out"));
    EXPECT_TRUE(v.isVisible());
    EXPECT_EQ(shown(), "Peak Fz     1.21 BW\nImpulse     312.4 N s");
    EXPECT_EQ(v.windowTitle(), "Text Viewer: " + data("result.out"));
    EXPECT_TRUE(fp.dialogs.shown.empty());
    EXPECT_TRUE(fp.launcher.started.empty());
}

TEST_F(Viewer, FailuresShowTheirMessageUnderTheViewersTitleAndHideIt)
{
    QDir().mkpath(data("folder"));
    struct Case {
        const char* name;
        QString file;
        QString text;
        MessageIcon icon;
    };
    const Case cases[] = {
        {"no name", QString(), "Error.  No filename was given.", MessageIcon::Information},
        {"missing file", data("gone.txt"), "Error finding file.", MessageIcon::Exclamation},
        {"a directory", data("folder"), "Error finding file.", MessageIcon::Exclamation},
    };
    for (const Case& c : cases) {
        fp.dialogs.shown.clear();
        frmViewer& v = show(c.file);
        ASSERT_EQ(fp.dialogs.shown.size(), 1u) << c.name;
        EXPECT_EQ(fp.dialogs.shown[0].text, c.text) << c.name;
        EXPECT_EQ(fp.dialogs.shown[0].title, "Text Viewer") << c.name;
        EXPECT_EQ(fp.dialogs.shown[0].icon, c.icon) << c.name;
        EXPECT_FALSE(v.isVisible()) << c.name;
    }
    EXPECT_TRUE(fp.launcher.started.empty());
}

TEST_F(Viewer, FilesItCannotShowGoToTheTextEditor)
{
    struct Case {
        const char* name;
        QString file;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"empty", data("empty.txt"), QByteArray()},
        {"binary", data("plot.bin"), QByteArray("\x89PNG\r\n\x1a\n\0\0", 10)},
        {"too large", data("huge.lst"), QByteArray(ViewerMaxBytes + 10, 'x')},
        {"name with blanks", data("my notes.txt"), QByteArray()},
    };
    for (const Case& c : cases) {
        writeFile(c.file, c.bytes);
        fp.launcher.started.clear();
        frmViewer& v = show(c.file);
        EXPECT_FALSE(v.isVisible()) << c.name;
        ASSERT_EQ(fp.launcher.started.size(), 1u) << c.name;
        const StartedProgram& editor = fp.launcher.started[0];
        EXPECT_EQ(editor.program, "notepad.exe") << c.name;
        EXPECT_EQ(splitArgumentText(editor.arguments), QStringList{c.file}) << c.name;
        EXPECT_EQ(editor.style, WindowStyle::NormalFocus) << c.name;
        EXPECT_EQ(s.LastResult, 4242) << c.name;
    }
    EXPECT_TRUE(fp.dialogs.shown.empty());
}

TEST_F(Viewer, TheLongestLineIsShownAndOneByteMoreGoesToTheEditor)
{
    struct Case {
        const char* name;
        qsizetype lineBytes;
        bool shown;
    };
    const Case cases[] = {
        {"the longest line", ViewerMaxLineBytes, true},
        {"one byte more", ViewerMaxLineBytes + 1, false},
    };
    for (const Case& c : cases) {
        const QString file = data("line.lst");
        writeFile(file, "Fz\n" + QByteArray(c.lineBytes, 'x') + "\n");
        fp.launcher.started.clear();
        frmViewer& v = show(file);
        EXPECT_EQ(v.isVisible(), c.shown) << c.name;
        EXPECT_EQ(fp.launcher.started.size(), c.shown ? 0u : 1u) << c.name;
        if (c.shown) {
            EXPECT_EQ(shown().size(), 3 + c.lineBytes) << c.name;
        }
    }
}

TEST_F(Viewer, ComingBackToTheViewerShowsChangesMadeMeanwhile)
{
    writeFile(data("log.txt"), "first\n");
    frmViewer& v = show(data("log.txt"));
    ASSERT_EQ(shown(), "first");
    QWidget other;
    other.show();
    ASSERT_TRUE(activate(&other));
    writeFile(data("log.txt"), "first\nsecond\n");
    ASSERT_TRUE(activate(&v));
    settle();
    EXPECT_EQ(shown(), "first\nsecond");
}

TEST_F(Viewer, FontChoicesAreBoldAndCheckTheirSize)
{
    writeFile(data("a.txt"), "a");
    frmViewer& v = show(data("a.txt"));
    auto checkedItems = [&] {
        QList<int> items;
        for (int i = 0; i < ViewerFontItems; ++i) {
            if (v.mnuFontSizesItem[i]->isChecked())
                items << i;
        }
        return items;
    };
    EXPECT_EQ(v.txtViewer->font().pointSize(), 10);
    EXPECT_TRUE(v.txtViewer->font().bold());
    EXPECT_EQ(checkedItems(), QList<int>{1});

    struct Case {
        int item;
        int points;
        int checked;
    };
    for (const Case& c : {Case{4, 18, 4}, Case{5, 12, 2}, Case{0, 8, 0}}) {
        v.mnuFontSizesItem[c.item]->trigger();
        EXPECT_EQ(v.txtViewer->font().pointSize(), c.points) << c.item;
        EXPECT_TRUE(v.txtViewer->font().bold()) << c.item;
        EXPECT_EQ(checkedItems(), QList<int>{c.checked}) << c.item;
    }
}

TEST_F(Viewer, OpenLoadsTheChosenFileAndCancelLeavesTheTextAsItWas)
{
    writeFile(data("a.txt"), "alpha");
    writeFile(data("b.lst"), "beta");
    frmViewer& v = show(data("a.txt"));

    v.mnuOpen->trigger(); // no answer queued: the dialog is cancelled
    EXPECT_EQ(shown(), "alpha");
    EXPECT_EQ(s.ViewerFile, data("a.txt"));
    ASSERT_EQ(fp.dialogs.shown.size(), 1u);
    const FileDialogRequest& request = fp.dialogs.shown[0].request;
    EXPECT_EQ(request.filter, "Text files (*.txt)|*.txt|Output files (*.out)|*.out|"
                              "Listings (*.lst)|*.lst|All files (*.*)|*.*");
    EXPECT_EQ(request.filterIndex, 1);
    EXPECT_TRUE(request.fileName.isEmpty());

    fp.dialogs.fileAnswers.push_back(data("b.lst"));
    v.mnuOpen->trigger();
    EXPECT_EQ(shown(), "beta");
    EXPECT_EQ(s.ViewerFile, data("b.lst"));
    EXPECT_EQ(v.windowTitle(), "Text Viewer: " + data("b.lst"));
}

TEST_F(Viewer, ExitHidesAndReturnsToTheDataDirectory)
{
    writeFile(data("a.txt"), "a");
    frmViewer& v = show(data("a.txt"));
    QDir::setCurrent(QDir::tempPath());
    v.mnuExit->trigger();
    EXPECT_FALSE(v.isVisible());
    EXPECT_EQ(QDir::currentPath(), s.DataDir);
}

TEST_F(Viewer, ColourChoicesReachTheTextBox)
{
    writeFile(data("a.txt"), "a");
    frmViewer& v = show(data("a.txt"));
    fp.dialogs.colourAnswers.push_back(QColor(Qt::darkBlue));
    v.mnuColours[0]->trigger();
    EXPECT_EQ(v.colours(), (ViewerColours{QColor(Qt::darkBlue), Qt::black}));
    v.mnuColours[2]->trigger();
    EXPECT_EQ(v.colours(), (ViewerColours{Qt::white, Qt::black}));
}

TEST_F(Viewer, TextBoxFillsTheWindowAsItIsResized)
{
    writeFile(data("a.txt"), "a");
    frmViewer& v = show(data("a.txt"));
    for (QSize size : {QSize(500, 300), QSize(900, 700)}) {
        v.resize(size);
        settle();
        EXPECT_EQ(v.txtViewer->pos(), QPoint(0, 0));
        EXPECT_EQ(v.txtViewer->size(), v.centralWidget()->size()) << size.width();
    }
}
