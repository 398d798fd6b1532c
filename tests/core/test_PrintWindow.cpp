#include "core/PrintWindow.h"
#include "core/SharedState.h"
#include "core/WindowNotice.h"
#include "fakes/FakePlatform.h"

#include <QAccessible>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <QTimer>
#include <gtest/gtest.h>

namespace
{

// Where the result of a print shows: the printing window's own status bar, else a
// line over the window that screen readers announce.
TEST(PrintWindow, TheResultShowsInTheWindowThatPrinted)
{
    struct Case {
        const char* answer;
        bool hasStatusBar;
        bool boxed; // a failure waits in a box, with its reason
    };
    const Case cases[] = {
        {"Printed to /data/WALK01 animation 1.pdf", false, false},
        {"Could not write /data/WALK01 animation 1.pdf: No space left on device", false, true},
        {"Printed on office", true, false},
        {"Could not write /data/WALK01 main window 1.pdf: Disk full", true, true},
        {"Could not print on office", true, true},
    };
    for (const Case& c : cases) {
        FakePlatform fp;
        SharedState state;
        state.DataDir = "/data";
        state.TrialName = "walk01";
        fp.printer.answer = c.answer;
        QMainWindow withBar;
        QWidget plain;
        QWidget* window = c.hasStatusBar ? static_cast<QWidget*>(&withBar) : &plain;
        window->setObjectName(c.hasStatusBar ? "frmOrvane" : "frmAnimForces");
        if (c.hasStatusBar)
            withBar.statusBar();
        window->resize(400, 300);
        window->show();
        QString toStatus;
        printWindow(window, state, fp, [&toStatus](const QString& text) { toStatus = text; });

        ASSERT_EQ(fp.printer.fallbacks.size(), 1u);
        EXPECT_EQ(fp.printer.fallbacks[0], c.hasStatusBar ? "/data/WALK01 main window 1.pdf"
                                                          : "/data/WALK01 animation 1.pdf");
        QLabel* line = windowNotice(window);
        if (c.boxed) {
            EXPECT_EQ(fp.dialogs.messageTexts(), QStringList{c.answer});
            EXPECT_EQ(fp.dialogs.shown[0].icon, MessageIcon::Exclamation);
            EXPECT_EQ(toStatus, "");
            EXPECT_EQ(line, nullptr);
            continue;
        }
        EXPECT_TRUE(fp.dialogs.shown.empty());
        if (c.hasStatusBar) {
            EXPECT_EQ(toStatus, c.answer);
            EXPECT_EQ(line, nullptr);
            continue;
        }
        EXPECT_EQ(toStatus, "");
        ASSERT_NE(line, nullptr) << c.answer;
        EXPECT_TRUE(line->isVisible());
        EXPECT_EQ(line->text(), c.answer);
        EXPECT_LE(line->geometry().bottom(), window->height());
        EXPECT_EQ(line->focusPolicy(), Qt::NoFocus);
        QAccessibleInterface* read = QAccessible::queryAccessibleInterface(line);
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(read->role(), QAccessible::AlertMessage);
        EXPECT_EQ(read->text(QAccessible::Name), c.answer);

        // It leaves the window again after a while.
        auto* timer = line->findChild<QTimer*>();
        ASSERT_NE(timer, nullptr);
        EXPECT_EQ(timer->interval(), NoticeMilliseconds);
        timer->start(0);
        for (int i = 0; i < 50 && line->isVisible(); ++i)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        EXPECT_FALSE(line->isVisible());
    }
}

TEST(PrintWindow, APanelMessageGivesWayToTheNoticeUnlessAnotherCame)
{
    QLabel panel("notice");
    showPanelText(&panel, "Could not start calc.exe", "notice");
    EXPECT_EQ(panel.text(), "Could not start calc.exe");
    auto* timer = panel.findChild<QTimer*>();
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    EXPECT_GE(timer->interval(), 3000);
    EXPECT_LE(timer->interval(), 10000);
    timer->start(0);
    for (int i = 0; i < 50 && panel.text() != "notice"; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(panel.text(), "notice");

    // A newer message restarts the wait; the older one's end does not cut it short.
    showPanelText(&panel, "first", "notice");
    panel.setText("set by someone else");
    timer->start(0);
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(panel.text(), "set by someone else");
}

// A long result keeps the start of its path and the file's name; the whole text is in
// the tooltip and read by screen readers.
TEST(PrintWindow, ALongPanelMessageIsElidedInTheMiddle)
{
    QWidget window;
    QLabel panel("notice", &window);
    panel.setGeometry(0, 0, 220, 24);
    window.show();
    const QString whole =
        "Printed to /home/researcher/projects/gait laboratory 2026/session 14/WALK01 main "
        "window 1.pdf";
    showPanelText(&panel, whole, "notice");
    const QString shown = panel.text();
    EXPECT_LT(shown.size(), whole.size());
    EXPECT_TRUE(shown.startsWith("Printed")) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith("1.pdf")) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QChar(0x2026))) << shown.toStdString();
    EXPECT_EQ(panel.toolTip(), whole);
    EXPECT_EQ(panel.accessibleName(), whole);
    EXPECT_EQ(panelWholeText(&panel), whole);
    // Made wide enough, it shows whole.
    panel.setGeometry(0, 0, 2000, 24);
    EXPECT_EQ(panel.text(), whole);
}

} // namespace
