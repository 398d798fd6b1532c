#pragma once

// The main window over a temporary data and program directory, for the file panels' tests.

#include "core/SharedState.h"
#include "fakes/FakePlatform.h"
#include "main/frmOrvane.h"
#include "platform/ArgumentText.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

inline void writeFile(const QString& path, const QByteArray& bytes = "TITLE\r\n")
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

inline void makeProgram(const QString& path)
{
    writeFile(path, "#!/bin/sh\nexit 0\n");
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
}

inline QStringList names(const QListWidget* list)
{
    QStringList result;
    for (int i = 0; i < list->count(); ++i)
        result << list->item(i)->text();
    return result;
}

class FilePanels : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        startDir = QDir::currentPath();
        data = tmp.filePath("data");
        program = tmp.filePath("program");
        QDir().mkpath(data + "/sub");
        QDir().mkpath(program);
        s.ProgramDir = program;
        s.LF = "\n";
        window = std::make_unique<frmOrvane>(s, fp.platform());
    }

    void TearDown() override
    {
        window.reset();
        QDir::setCurrent(startDir);
    }

    void enter() { ASSERT_TRUE(window->enterDataDirectory(data)); }

    // Chooses `name` in `list` as a click would.
    void choose(QListWidget* list, const QString& name)
    {
        const QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        const QSignalBlocker quiet(list);
        list->setCurrentItem(found.first());
    }

    QString status() const { return window->StatusBarPanels[0]->text(); }

    QTemporaryDir tmp;
    QString startDir;
    QString data;
    QString program;
    SharedState s;
    FakePlatform fp;
    std::unique_ptr<frmOrvane> window;
};
