// Ctrl+T and the Programs menu's last item open Compare Trials on the data directory,
// with a key no other command of the main window takes.

#include "animation/compare/frmCompare.h"
#include "fakes/FakePlatform.h"
#include "core/SharedState.h"
#include "main/frmOrvane.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QShortcut>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace
{

class CompareCommand : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_cwd = QDir::currentPath();
        fp.env.ownDir = m_program.path();
        fp.env.arguments = ";";
        fp.settings.values["Kinemora/Startup/Datadir"] = m_data.path();
        for (const char* name : {"WALK01.RF", "WALK02.RF", "NOTES.TXT"}) {
            QFile f(m_data.filePath(name));
            f.open(QIODevice::WriteOnly);
        }
    }
    void TearDown() override
    {
        delete compareWindow(); // it holds this test's state
        QDir::setCurrent(m_cwd);
    }

    FakePlatform fp;
    SharedState s;
    QTemporaryDir m_data;

private:
    QString m_cwd;
    QTemporaryDir m_program;
};

TEST_F(CompareCommand, CtrlTAndTheProgramsMenuOpenItOnTheDataDirectory)
{
    frmOrvane w(s, fp);
    w.Form_Load();
    const QKeySequence ctrlT(Qt::CTRL | Qt::Key_T);
    QShortcut* key = nullptr;
    int takers = 0;
    for (QShortcut* shortcut : w.findChildren<QShortcut*>())
        if (shortcut->key() == ctrlT) {
            key = shortcut;
            ++takers;
        }
    for (QAction* action : w.findChildren<QAction*>())
        if (action->shortcut() == ctrlT && action != w.mnuCompare)
            ++takers;
    EXPECT_EQ(takers, 1) << "Ctrl+T is taken once, by Compare Trials";
    ASSERT_NE(key, nullptr);

    const QList<QAction*> items = w.mnuPrograms->actions();
    ASSERT_FALSE(items.isEmpty());
    EXPECT_EQ(items.last(), w.mnuCompare);
    EXPECT_EQ(w.mnuCompare->text(), "&Compare Trials");
    int mnemonicC = 0;
    for (QAction* item : items)
        mnemonicC += QKeySequence::mnemonic(item->text()) == QKeySequence(Qt::ALT | Qt::Key_C);
    EXPECT_EQ(mnemonicC, 1);

    emit key->activated();
    frmCompare* c = compareWindow();
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(c->isVisible());
    ASSERT_EQ(c->lstTrials->topLevelItemCount(), 2);
    EXPECT_EQ(c->lstTrials->topLevelItem(0)->text(0), "WALK01.RF");

    w.mnuCompare->trigger();
    EXPECT_EQ(compareWindow(), c) << "one window, opened again";
}

} // namespace
