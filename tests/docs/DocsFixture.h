#pragma once

// A program directory and a data directory in temporary folders, with the shared
// state pointing at them, for the document windows' tests.

#include "core/SharedState.h"
#include "fakes/FakePlatform.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// The manual the build renders, a real PDF to show.
inline QString builtManual()
{
    return QStringLiteral(ORVANE_PROGRAM_DIR) + "/manuals/orvane.pdf";
}

class DocsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_cwd = QDir::currentPath();
        s.ProgramDir = m_program.path();
        s.ManualsDir = s.ProgramDir + "/manuals/";
        s.DataDir = m_data.path();
        s.WebPageAddress = "https://orvane.example.org/";
        s.AboutText = "\n     Orvane, version 1.02 (003)";
    }
    void TearDown() override { QDir::setCurrent(m_cwd); }

    // Lets the window system deliver what showing and activating windows posted.
    static void settle()
    {
        for (int i = 0; i < 5; ++i)
            QApplication::processEvents();
    }
    static bool activate(QWidget* w)
    {
        w->activateWindow();
        return QTest::qWaitForWindowActive(w, 1000);
    }

    QString program(const QString& name) const { return s.ProgramDir + "/" + name; }
    QString data(const QString& name) const { return s.DataDir + "/" + name; }

    FakePlatform fp;
    SharedState s;

private:
    QString m_cwd;
    QTemporaryDir m_program;
    QTemporaryDir m_data;
};
