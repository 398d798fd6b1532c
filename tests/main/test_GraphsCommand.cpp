// Ctrl+G on the main window opens the force graphs as Ctrl+A opens the animation: not
// during a read, and with a warning before anything has been read.

#include "animation/graphs/frmGraphs.h"
#include "core/SharedState.h"
#include "fakes/FakePlatform.h"
#include "main/frmOrvane.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QShortcut>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

class GraphsCommand : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_cwd = QDir::currentPath();
        fp.env.ownDir = m_program.path();
        fp.env.arguments = ";";
        fp.settings.values["Kinemora/Startup/Datadir"] = m_data.path();
        for (const char* tool : {"tabulo.exe", "chronel.exe", "swivra.exe", "marquo.exe",
                                 "scalera.exe", "tymlyn.bat"}) {
            QFile f(m_program.filePath(tool));
            f.open(QIODevice::WriteOnly);
        }
        QByteArray text = QByteArray("GRAPH TRIAL").leftJustified(60, ' ') + "       500\r\n" +
                          QByteArray("SUBJECT").leftJustified(60, ' ') + "     700.0\r\n\r\n";
        for (int i = 1; i <= 300; ++i) {
            QByteArray card;
            for (double v : {1.0, 2.0, 300.0 + i, 10.0, 20.0, 0.5, 0.0})
                card += QByteArray::number(v, 'f', 4).rightJustified(10, ' ');
            text += card + QByteArray::number(i).rightJustified(9, ' ') + "\r\n";
        }
        QFile f(m_data.filePath("WALK.RF"));
        f.open(QIODevice::WriteOnly);
        f.write(text);
    }
    void TearDown() override
    {
        delete graphsWindow(); // it holds this test's state
        QDir::setCurrent(m_cwd);
    }

    FakePlatform fp;
    SharedState s;

private:
    QString m_cwd;
    QTemporaryDir m_program;
    QTemporaryDir m_data;
};

TEST_F(GraphsCommand, WarnsBeforeAReadWaitsOutAReadAndThenShowsTheTrial)
{
    frmOrvane w(s, fp);
    w.Form_Load();
    bool ctrlG = false;
    for (QShortcut* shortcut : w.findChildren<QShortcut*>())
        ctrlG |= shortcut->key() == QKeySequence(Qt::CTRL | Qt::Key_G);
    EXPECT_TRUE(ctrlG);

    w.cmdGraphs_Click();
    ASSERT_EQ(fp.dialogs.shown.size(), 1u);
    EXPECT_EQ(fp.dialogs.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(graphsWindow(), nullptr);

    s.ForceFile = "WALK.RF";
    fp.events.onYield = [&](int) {
        if (s.forces.RecordCount == 100)
            w.cmdGraphs_Click();
    };
    w.cmdReadForces_Click();
    fp.events.onYield = {};
    EXPECT_EQ(graphsWindow(), nullptr) << "no graphs of a half-read table";

    w.cmdGraphs_Click();
    frmGraphs* g = graphsWindow();
    ASSERT_NE(g, nullptr);
    EXPECT_TRUE(g->isVisible());
    EXPECT_EQ(g->windowTitle(), "Force Graphs");
    EXPECT_TRUE(g->lblReadout->text().startsWith("Record 1   0.0000 s   Fx 1.0000"));
}

} // namespace
