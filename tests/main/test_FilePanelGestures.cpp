// The mouse and keyboard gestures of the file panels and the directory list.

#include "FilePanelsFixture.h"

#include <QTest>

namespace
{

TEST_F(FilePanels, MouseAndKeyboardChoicesRunEachHandlerOnce)
{
    for (const char* name : {"a.rf", "b.rf"})
        writeFile(data + "/" + name, QByteArray(name) + "\r\n");
    for (const char* name : {"a.out", "b.out"})
        writeFile(data + "/" + name);
    makeProgram(program + "/chronel.exe");
    enter();
    window->show();

    QListWidget* forces = window->filForces;
    const QPoint second = forces->visualItemRect(forces->item(1)).center();
    QTest::mouseClick(forces->viewport(), Qt::LeftButton, {}, second);
    EXPECT_EQ(s.ForceFile, "b.rf");
    EXPECT_EQ(window->lblTitle->text(), "b.rf");
    QTest::mouseDClick(forces->viewport(), Qt::LeftButton, {}, second);
    ASSERT_EQ(fp.launcher.started.size(), 1u);
    EXPECT_EQ(fp.launcher.started[0].program, program + "/chronel.exe");

    // Each step with the keyboard is a choice of its own.
    fp.launcher.started.clear();
    QListWidget* outputs = window->filOutputs;
    outputs->setFocus();
    outputs->setCurrentRow(0);
    ASSERT_EQ(fp.launcher.started.size(), 1u);
    QTest::keyClick(outputs, Qt::Key_Down);
    ASSERT_EQ(fp.launcher.started.size(), 2u);
    EXPECT_EQ(fp.launcher.started[1].arguments, "b.out");
    const QPoint first = outputs->visualItemRect(outputs->item(0)).center();
    QTest::mouseClick(outputs->viewport(), Qt::LeftButton, {}, first);
    ASSERT_EQ(fp.launcher.started.size(), 3u);
    EXPECT_EQ(fp.launcher.started[2].arguments, "a.out");
    EXPECT_TRUE(fp.dialogs.shown.empty());
}

TEST_F(FilePanels, ActivatingALineOfTheDirectoryListEntersIt)
{
    enter();
    window->show();
    QListWidget* dirs = window->dirSelect;
    dirs->setFocus();
    dirs->setCurrentRow(dirs->count() - 1); // "sub"
    QTest::keyClick(dirs, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(s.DataDir, QDir(data).absolutePath() + "/sub");
    EXPECT_EQ(dirs->currentItem()->text(), "sub");

    dirs->setCurrentRow(0);
    QTest::keyClick(dirs, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(s.DataDir, "/");
}

// Every gesture that moves the highlight runs the list's handler once, for the entry
// highlighted when the button is let go; the trial always names what is highlighted.
TEST_F(FilePanels, EveryGestureThatMovesTheHighlightRunsTheHandlerOnce)
{
    for (const char* name : {"a.rf", "b.rf", "c.rf"})
        writeFile(data + "/" + name, QByteArray(name) + " title\r\n");
    for (const char* name : {"a.out", "b.out", "c.out"})
        writeFile(data + "/" + name);
    enter();
    window->show();

    enum Gesture { Click, DragToNext, DragOffBelow, RightClick, CtrlClickChosen, KeyDown, Program };
    struct Case {
        const char* what;
        Gesture gesture;
        int from;   // the entry chosen before, and where the press starts
        int to;     // where the release falls
        int starts; // handler runs, counted by the viewers the output list starts
        int highlighted;
    };
    const Case cases[] = {
        {"click", Click, 0, 1, 1, 1},
        {"click the chosen entry again", Click, 1, 1, 1, 1},
        {"press and drag to the next", DragToNext, 0, 1, 1, 1},
        {"press and drag over two", DragToNext, 0, 2, 1, 2},
        {"drag off the list", DragOffBelow, 0, 2, 1, 2},
        {"right click", RightClick, 0, 2, 1, 2},
        {"Ctrl+click on the chosen entry", CtrlClickChosen, 1, 1, 1, 1},
        {"arrow key", KeyDown, 0, 1, 1, 1},
        {"by the program", Program, 0, 2, 1, 2},
    };
    for (QListWidget* list : {window->filForces, window->filOutputs}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + " in " + list->objectName().toStdString());
            {
                const QSignalBlocker quiet(list);
                list->setCurrentRow(c.from);
            }
            if (list == window->filForces)
                window->filForces_Click();
            fp.launcher.started.clear();
            QWidget* port = list->viewport();
            const auto at = [list](int row) {
                return list->visualItemRect(list->item(row)).center();
            };
            switch (c.gesture) {
            case Click:
                QTest::mouseClick(port, Qt::LeftButton, {}, at(c.to));
                break;
            case DragToNext:
                QTest::mousePress(port, Qt::LeftButton, {}, at(c.from));
                for (int row = c.from + 1; row <= c.to; ++row)
                    QTest::mouseMove(port, at(row));
                QTest::mouseRelease(port, Qt::LeftButton, {}, at(c.to));
                break;
            case DragOffBelow: {
                QTest::mousePress(port, Qt::LeftButton, {}, at(c.from));
                for (int row = c.from + 1; row <= c.to; ++row)
                    QTest::mouseMove(port, at(row));
                const QPoint off(at(c.to).x(), port->height() + 40);
                QTest::mouseMove(port, off);
                QTest::mouseRelease(port, Qt::LeftButton, {}, off);
                break;
            }
            case RightClick:
                QTest::mouseClick(port, Qt::RightButton, {}, at(c.to));
                break;
            case CtrlClickChosen:
                QTest::mouseClick(port, Qt::LeftButton, Qt::ControlModifier, at(c.to));
                break;
            case KeyDown:
                list->setFocus();
                QTest::keyClick(list, Qt::Key_Down);
                break;
            case Program:
                list->setCurrentRow(c.to);
                break;
            }
            const QList<QListWidgetItem*> highlighted = list->selectedItems();
            EXPECT_EQ(highlighted.size(), 1);
            if (highlighted.size() != 1)
                continue;
            EXPECT_EQ(list->row(highlighted.first()), c.highlighted);
            const QString name = highlighted.first()->text();
            if (list == window->filForces) {
                EXPECT_EQ(s.ForceFile, name);
                EXPECT_EQ(window->lblTrial->text(), name.toUpper());
                EXPECT_EQ(window->lblTitle->text(), name + " title");
            } else {
                EXPECT_EQ(fp.launcher.started.size(), size_t(c.starts));
                if (fp.launcher.started.size() != size_t(c.starts))
                    continue;
                EXPECT_EQ(fp.launcher.started.back().arguments, name);
            }
        }
    }
    EXPECT_TRUE(fp.dialogs.shown.empty());
}

} // namespace
