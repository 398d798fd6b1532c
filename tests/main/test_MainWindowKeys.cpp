#include "core/SharedState.h"
#include "fakes/FakePlatform.h"
#include "main/frmOrvane.h"

#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace
{
const QString NoForceFile = QStringLiteral("Select a Force file (.RF) from the list.");
}

TEST(MainWindowKeys, CtrlLReadsWhateverOtherModifiersAreHeld)
{
    FakePlatform fp;
    SharedState s;
    frmOrvane w(s, fp);
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.filForces->setFocus();
    for (Qt::KeyboardModifiers held : std::initializer_list<Qt::KeyboardModifiers>{
             Qt::ControlModifier, Qt::ControlModifier | Qt::ShiftModifier,
             Qt::ControlModifier | Qt::AltModifier,
             Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier}) {
        SCOPED_TRACE(QKeySequence(held | Qt::Key_L).toString().toStdString());
        fp.dialogs.shown.clear();
        QTest::keyClick(w.filForces, Qt::Key_L, held);
        EXPECT_EQ(fp.dialogs.messageTexts(), QStringList{NoForceFile});
    }
}

TEST(MainWindowKeys, AltLetterOpensTheMenuThatSharesItWithAButton)
{
    FakePlatform fp;
    SharedState s;
    frmOrvane w(s, fp);
    struct Case {
        QPushButton* button;
        QMenu* menu;
        Qt::Key letter;
    };
    const Case cases[] = {
        {w.cmdPictor, w.mnuPrograms, Qt::Key_P},
        {w.cmdAnimate, w.mnuAnimate, Qt::Key_A},
        {w.cmdTessel, w.mnuSettings, Qt::Key_S},
        {w.cmdRefresh, w.mnuFile, Qt::Key_F},
    };
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.menu->title().toStdString());
        c.button->setEnabled(true);
        int presses = 0;
        const auto counted =
            QObject::connect(c.button, &QPushButton::clicked, [&presses] { ++presses; });
        w.cmdExit->setFocus();
        QTest::keyClick(&w, c.letter, Qt::AltModifier);
        EXPECT_TRUE(c.menu->isVisible()) << "the first press opens the menu";
        c.menu->close();
        EXPECT_EQ(presses, 0);
        EXPECT_NE(c.button->focusPolicy() & Qt::TabFocus, 0) << "reached by Tab";
        QObject::disconnect(counted);
    }
    EXPECT_EQ(w.cmdExit->shortcut(), QKeySequence(Qt::ALT | Qt::Key_X)) << "no menu takes X";
}
