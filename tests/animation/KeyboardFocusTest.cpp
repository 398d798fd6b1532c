// Where Tab takes the keyboard in the animation and graph windows, and what a screen
// reader calls the graph window.

#include "SampleTrial.h"
#include "animation/frmAnimForces.h"
#include "animation/graphs/frmGraphs.h"
#include "fakes/FakePlatform.h"
#include "core/SharedState.h"

#include <QAccessible>
#include <QApplication>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace
{
bool showActive(QWidget* w)
{
    w->show();
    w->activateWindow();
    return QTest::qWaitForWindowActive(w);
}
} // namespace

// Tab leaves the events table for the next control, whether Ctrl is held or not.
TEST(GraphsKeyboard, TabLeavesTheEventsTableAndTheWindowIsAFrame)
{
    SharedState state;
    FakePlatform fake;
    fillStance(state.forces, 10, 0);
    state.ForceFile = "WALK01.RF";
    frmGraphs g(state, fake.platform());
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&g);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->role(), QAccessible::Window);
    ASSERT_TRUE(showActive(&g));
    for (Qt::KeyboardModifiers held : {Qt::KeyboardModifiers(Qt::NoModifier),
                                       Qt::KeyboardModifiers(Qt::ControlModifier)}) {
        g.tblEvents->setFocus(Qt::OtherFocusReason);
        ASSERT_EQ(QApplication::focusWidget(), g.tblEvents);
        QTest::keyClick(g.tblEvents, Qt::Key_Tab, held);
        QWidget* now = QApplication::focusWidget();
        EXPECT_NE(now, g.tblEvents) << "modifiers " << int(held);
        EXPECT_TRUE(now && g.isAncestorOf(now));
    }
}

// Tab enters each group of option buttons at its checked button and the next Tab
// leaves the group, so a full round of Tab meets one button per group.
TEST(AnimationKeyboard, TabStopsOnlyAtTheCheckedOptionOfEachGroup)
{
    SharedState state;
    FakePlatform fake;
    fillStance(state.forces, 10, 0);
    frmAnimForces w(state, fake.platform());
    // The playback that activation starts stops at its first yield.
    fake.events.onYield = [&w](int) {
        if (w.Animating)
            w.cmdStop_Click();
    };
    ASSERT_TRUE(showActive(&w));
    w.optPlate[2]->setChecked(true);
    QList<QRadioButton*> reached;
    QWidget* start = QApplication::focusWidget();
    for (int i = 0; i < 80; ++i) {
        QWidget* at = QApplication::focusWidget();
        ASSERT_NE(at, nullptr);
        QTest::keyClick(at, Qt::Key_Tab);
        if (auto* radio = qobject_cast<QRadioButton*>(QApplication::focusWidget()))
            reached << radio;
        if (QApplication::focusWidget() == start)
            break;
    }
    for (QRadioButton* radio : reached)
        EXPECT_TRUE(radio->isChecked()) << radio->text().toStdString();
    EXPECT_TRUE(reached.contains(w.optPlate[2]));
    EXPECT_TRUE(reached.contains(w.optView[1]));

    // The arrow keys still move the choice within the group.
    w.optPlate[2]->setFocus(Qt::TabFocusReason);
    QTest::keyClick(w.optPlate[2], Qt::Key_Down);
    EXPECT_TRUE(w.optPlate[3]->isChecked());
    EXPECT_EQ(QApplication::focusWidget(), w.optPlate[3]);
}
