#pragma once

// A main window on fake services over a temporary data directory and a program
// directory whose path holds a blank.

#include "core/SharedState.h"
#include "fakes/FakePlatform.h"
#include "main/frmOrvane.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

// Failures show texts as text.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

class ToolsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        startDir = QDir::currentPath();
        dataDir = tmp.path() + "/data";
        programDir = tmp.path() + "/program files";
        QDir().mkpath(dataDir);
        QDir().mkpath(programDir);
        window = std::make_unique<frmOrvane>(s, fp.platform());
        s.ProgramDir = programDir;
        ASSERT_TRUE(window->enterDataDirectory(dataDir));
    }

    void TearDown() override
    {
        window.reset();
        QDir::setCurrent(startDir);
    }

    static void write(const QString& path, const QByteArray& bytes = "sample\n")
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    void dataFile(const QString& name, const QByteArray& bytes = "sample\n")
    {
        write(dataDir + "/" + name, bytes);
    }
    void tool(const QString& name) { write(programDir + "/" + name, "#!/bin/sh\n"); }
    static QByteArray contents(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    const StartedProgram& lastStart() const { return fp.launcher.started.back(); }
    QString listed(QListWidget* list) const
    {
        QStringList names;
        for (int i = 0; i < list->count(); ++i)
            names << list->item(i)->text();
        return names.join(',');
    }

    QTemporaryDir tmp;
    QString startDir;
    QString dataDir;
    QString programDir;
    SharedState s;
    FakePlatform fp;
    std::unique_ptr<frmOrvane> window;
};
