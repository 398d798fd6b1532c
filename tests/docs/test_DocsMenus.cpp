#include "DocsFixture.h"
#include "docs/frmReader.h"
#include "docs/frmViewer.h"
#include "main/frmOrvane.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>

namespace
{
class Menus : public DocsTest
{
protected:
    QStringList enabledManuals(frmOrvane& w)
    {
        emit w.mnuManuals->aboutToShow();
        QStringList on;
        for (QAction* item : w.mnuManual) {
            if (item->isEnabled())
                on << item->text();
        }
        return on;
    }
};
} // namespace

TEST_F(Menus, HelpMenuHoldsTheHelpTextsThenCommandHelpThenAbout)
{
    frmOrvane w(s, fp);
    QStringList captions;
    for (QAction* a : w.mnuHelp->actions())
        captions << (a->isSeparator() ? "-" : a->text());
    EXPECT_EQ(captions, (QStringList{"&Ground reactions", ".&RF file format", "&Updates", "-",
                                     "Command line &help", "-", "&About Orvane"}));
}

TEST_F(Menus, ManualsAreEnabledByTheFilesPresentWhateverTheirCase)
{
    frmOrvane w(s, fp);
    writeFile(s.ManualsDir + "orvane.pdf", "%PDF");
    EXPECT_EQ(enabledManuals(w), (QStringList{"&Orvane User's Manual", "&Other manuals"}));

    writeFile(s.ManualsDir + "KINEMORA.PDF", "%PDF");
    writeFile(s.ManualsDir + "Xq_Qrg.pdf", "%PDF");
    EXPECT_EQ(enabledManuals(w), (QStringList{"&Kinemora User's Manual", "&Orvane User's Manual",
                                              "Tessel Quick Reference Guide", "&Other manuals"}));
}

TEST_F(Menus, ManualItemsOpenInTheDesktopsPdfProgram)
{
    writeFile(s.ManualsDir + "Orvane.pdf", "%PDF");
    frmOrvane w(s, fp);
    struct Case {
        const char* name;
        std::function<void()> act;
        QString file;
        QString manualFile;
    };
    const Case cases[] = {
        {"Man&ual", [&] { w.cmdManuals->click(); }, "Orvane.pdf", "orvane.pdf"},
        {"Kinemora manual", [&] { w.mnuManual[0]->trigger(); }, "kinemora.pdf", "kinemora.pdf"},
        {"other manuals", [&] { w.mnuManual[8]->trigger(); }, "", ""},
    };
    for (const Case& c : cases) {
        fp.launcher.started.clear();
        s.LastResult = 0;
        c.act();
        ASSERT_EQ(fp.launcher.started.size(), 1u) << c.name;
        const StartedProgram& opened = fp.launcher.started[0];
        EXPECT_EQ(opened.kind, StartedProgram::Shell) << c.name;
        EXPECT_EQ(opened.operation, "open") << c.name;
        EXPECT_EQ(opened.program, c.file) << c.name;
        EXPECT_EQ(opened.workingDir, s.ManualsDir) << c.name;
        EXPECT_EQ(s.ManualFile, c.manualFile) << c.name;
        EXPECT_EQ(s.LastResult, 33) << c.name;
    }
}

TEST_F(Menus, HelpItemsFollowTheTextsInTheProgramDirectory)
{
    writeFile(program("VESMOR.TXT"), "Ground reactions\n");
    writeFile(program("UpdateOV.txt"), "1.00\n");
    frmOrvane w(s, fp);
    emit w.mnuHelp->aboutToShow();
    EXPECT_TRUE(w.mnuHelpItem[0]->isEnabled());
    EXPECT_FALSE(w.mnuHelpItem[1]->isEnabled());
    EXPECT_TRUE(w.mnuHelpItem[2]->isEnabled());

    w.mnuHelpItem[0]->trigger();
    settle();
    ASSERT_TRUE(w.Viewer);
    EXPECT_TRUE(w.Viewer->isVisible());
    EXPECT_EQ(s.ViewerFile, program("VESMOR.TXT"));
    EXPECT_EQ(w.Viewer->txtViewer->toPlainText(), "Ground reactions");

    // Closing the viewer by its close box unloads it; the next item loads it afresh.
    w.Viewer->close();
    settle();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(w.Viewer);
    w.mnuHelpItem[2]->trigger();
    settle();
    ASSERT_TRUE(w.Viewer);
    EXPECT_EQ(w.Viewer->txtViewer->toPlainText(), "1.00");
}

TEST_F(Menus, HelpTextRemovedAfterTheMenuOpenedShowsTheOpenMessage)
{
    writeFile(program("RF_file.txt"), "cards\n");
    frmOrvane w(s, fp);
    emit w.mnuHelp->aboutToShow();
    ASSERT_TRUE(w.mnuHelpItem[1]->isEnabled());
    QFile::remove(program("RF_file.txt"));
    w.mnuHelpItem[1]->trigger();
    EXPECT_EQ(s.OpenError, 53);
    ASSERT_EQ(fp.dialogs.messageTexts().size(), 1);
    EXPECT_TRUE(fp.dialogs.messageTexts()[0].startsWith("Error opening file: "));
    EXPECT_FALSE(w.Viewer);
}

TEST_F(Menus, GuideShowsTheProgramsManualInTheReader)
{
    writeFile(s.ManualsDir + "orvane.pdf", "%PDF");
    frmOrvane w(s, fp);
    w.show();
    w.cmdGuide->click();
    settle();
    ASSERT_TRUE(w.Reader);
    EXPECT_TRUE(w.Reader->isVisible());
    EXPECT_EQ(s.ManualFile, "orvane.pdf");
    EXPECT_EQ(w.Reader->lblReader->text(), (s.ManualsDir + "orvane.pdf ").toLower());

    // Exit destroys the reader; the next Guide creates it afresh.
    w.Reader->cmdExit->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(w.Reader);
    w.cmdGuide->click();
    settle();
    EXPECT_TRUE(w.Reader && w.Reader->isVisible());
}
