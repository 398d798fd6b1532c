#include "DocsFixture.h"
#include "docs/AboutBox.h"
#include "docs/frmAbout.h"
#include "core/WindowNotice.h"
#include "main/frmOrvane.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

namespace
{
class About : public DocsTest
{
protected:
    frmAbout& open(QWidget* owner)
    {
        showAbout(s, fp.platform(), owner);
        settle();
        return *aboutWindow();
    }
};
} // namespace

TEST_F(About, ContactPanelOpensAndClosesAndEveryActivationClosesIt)
{
    QWidget owner;
    frmAbout& a = open(&owner);
    EXPECT_EQ(a.lblAbout->text(), s.AboutText);
    EXPECT_EQ(a.heightTwips(), 2805);
    EXPECT_FALSE(a.ContactShown);
    EXPECT_FALSE(a.lblRook->isVisible());

    a.cmdAuthor->click();
    EXPECT_EQ(a.heightTwips(), 5805);
    EXPECT_TRUE(a.ContactShown);
    EXPECT_TRUE(a.lblRook->isVisible());
    EXPECT_TRUE(a.picRook->isVisible());
    EXPECT_TRUE(a.cmdWebsite->isVisible());
    EXPECT_TRUE(a.lblRook->text().endsWith("  " + s.WebPageAddress));

    a.cmdAuthor->click();
    EXPECT_EQ(a.heightTwips(), 2805);
    EXPECT_FALSE(a.ContactShown);
    EXPECT_FALSE(a.lblRook->isVisible());
    EXPECT_FALSE(a.picRook->isVisible());

    // Switching to another window and back closes an open panel.
    a.cmdAuthor->click();
    QWidget other;
    other.show();
    ASSERT_TRUE(activate(&other));
    ASSERT_TRUE(activate(&a));
    EXPECT_FALSE(a.ContactShown);
    EXPECT_EQ(a.heightTwips(), 2805);
    EXPECT_FALSE(a.lblRook->isVisible());
}

TEST_F(About, ClicksOnTheTextsOrIconCloseItAndOnThePictureHideOnlyThePicture)
{
    QWidget owner;
    frmAbout& a = open(&owner);
    a.cmdAuthor->click();
    QTest::mouseClick(a.picRook, Qt::LeftButton);
    EXPECT_FALSE(a.picRook->isVisible());
    EXPECT_TRUE(a.lblRook->isVisible());
    EXPECT_TRUE(a.cmdWebsite->isVisible());

    for (const char* name : {"lblAbout", "lblRook", "picAbout"}) {
        frmAbout& b = open(&owner);
        b.cmdAuthor->click();
        QPointer<frmAbout> box = &b;
        QTest::mouseClick(b.findChild<QWidget*>(name), Qt::LeftButton);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(box) << name << ": unloaded";
        EXPECT_EQ(aboutWindow(), nullptr) << name;
    }
}

TEST_F(About, WebsiteOpensTheProgramsWebPage)
{
    QWidget owner;
    frmAbout& a = open(&owner);
    a.cmdAuthor->click();
    a.cmdWebsite->click();
    ASSERT_EQ(fp.launcher.started.size(), 1u);
    EXPECT_EQ(fp.launcher.started[0].kind, StartedProgram::Shell);
    EXPECT_EQ(fp.launcher.started[0].operation, "Open");
    EXPECT_EQ(fp.launcher.started[0].program, s.WebPageAddress);
    EXPECT_EQ(s.LastResult, 33);
}

// Without a browser the button would do nothing visible: the box says what could not
// be started, with the address.
TEST_F(About, AWebsiteThatCannotBeOpenedIsSaid)
{
    QWidget owner;
    frmAbout& a = open(&owner);
    a.cmdAuthor->click();
    fp.launcher.shellResult = 2;
    a.cmdWebsite->click();
    QLabel* line = windowNotice(&a);
    ASSERT_NE(line, nullptr);
    EXPECT_TRUE(line->isVisible());
    EXPECT_EQ(line->text(), "Could not start " + s.WebPageAddress);
    EXPECT_EQ(s.LastResult, 2);
}

TEST_F(About, EscapeClosesTheBox)
{
    QWidget owner;
    frmAbout& a = open(&owner);
    ASSERT_TRUE(activate(&a));
    QTest::keyClick(&a, Qt::Key_Escape);
    settle();
    EXPECT_EQ(aboutWindow(), nullptr);
}

TEST_F(About, AnInstallersContactFileReplacesTheContactText)
{
    writeFile(program("contact.txt"), "Gait Laboratory\nRoom 12\n");
    QWidget owner;
    frmAbout& a = open(&owner);
    EXPECT_EQ(a.lblRook->text(), "\n  Gait Laboratory\n  Room 12");
}

TEST_F(About, SplashShowsTheBoxForTwoSecondsThenHidesIt)
{
    frmOrvane w(s, fp);
    bool shownDuringWait = false;
    fp.events.onYield = [&](int) {
        shownDuringWait = aboutWindow() && aboutWindow()->isVisible() && w.isVisible();
    };
    w.ShowSplash(2);
    EXPECT_TRUE(shownDuringWait);
    EXPECT_GE(fp.clock.now, 2.0);
    ASSERT_TRUE(aboutWindow()) << "the splash only hides the box";
    EXPECT_FALSE(aboutWindow()->isVisible());

    // The Help menu then shows the same box again, with the main window's icon.
    w.mnuAbout->trigger();
    settle();
    EXPECT_TRUE(aboutWindow()->isVisible());
    EXPECT_FALSE(aboutWindow()->picAbout->pixmap().isNull());
}
