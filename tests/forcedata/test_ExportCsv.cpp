// "Save numbers as CSV …" from the raw listing writes what rfdump writes, and a write
// that fails leaves nothing under the chosen name.

#include "core/SharedState.h"
#include "fakes/FakePlatform.h"
#include "forcedata/ExportFile.h"
#include "forcedata/RfReader.h"
#include "forcedata/frmRF.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

TEST(ExportCsv, RawListingSavesTheWholeTableExactlyAsRfdump)
{
    QTemporaryDir dir;
    for (const char* sample : {"WALK01.RF", "JUMP01.RF", "STAND01.RF"}) {
        const QString file = QString(ORVANE_SOURCE_DIR "/suite/samples/") + sample;
        SharedState state;
        FakePlatform fake;
        FileByteSource source;
        ASSERT_EQ(source.open(file.toStdString()), 0) << sample;
        readRf(source, state.forces);
        state.ForceFile = sample;
        state.DataDir = dir.path();

        frmRF listing(state, fake.platform());
        listing.lstRFforces_ContextMenu({5, 5});
        ASSERT_TRUE(listing.mnuListing);
        listing.mnuListing->hide();
        const QString out = dir.filePath(QString(sample) + ".csv");
        fake.dialogs.fileAnswers.push_back(out);
        listing.mnuListing->actions().first()->trigger();
        ASSERT_EQ(fake.dialogs.shown.size(), 1u);
        EXPECT_EQ(fake.dialogs.shown[0].request.fileName,
                  QString(sample).section('.', 0, 0) + ".csv");

        QProcess rfdump;
        rfdump.start(ORVANE_PROGRAM_DIR "/rfdump", {file});
        ASSERT_TRUE(rfdump.waitForFinished(30000));
        const QByteArray expected = rfdump.readAllStandardOutput();
        ASSERT_GT(expected.size(), 100) << sample;
        EXPECT_EQ(contents(out), expected) << sample;
    }
}

TEST(ExportCsv, AFailedWriteLeavesNothingAndSaysWhy)
{
    QTemporaryDir dir;
    ForceTable t;
    t.RecordCount = 1;
    struct Case {
        const char* name;
        QString path;
    } cases[] = {{"missing folder", dir.filePath("none/x.csv")},
                 {"a folder in the way", dir.path()}};
    for (const Case& c : cases) {
        EXPECT_NE(writeTableCsv(c.path, t, 1, 1), "") << c.name;
        EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty()) << c.name;
    }
    // A writer that gives up: the earlier file under the name stays as it was.
    const QString kept = dir.filePath("kept.csv");
    ASSERT_EQ(writeTableCsv(kept, t, 1, 1), "");
    const QByteArray before = contents(kept);
    EXPECT_NE(writeWhole(kept,
                         [](QIODevice& d) {
                             d.write("half");
                             return false;
                         }),
              "");
    EXPECT_EQ(contents(kept), before);

    // The command says so in a box.
    SharedState state;
    FakePlatform fake;
    state.forces = t;
    fake.dialogs.fileAnswers.push_back(dir.filePath("none/y.csv"));
    EXPECT_FALSE(saveNumbersAsCsv(state, fake.platform(), 1, 1));
    ASSERT_EQ(fake.dialogs.shown.size(), 2u);
    EXPECT_TRUE(fake.dialogs.shown[1].text.startsWith("Could not write "));
    EXPECT_EQ(fake.dialogs.shown[1].icon, MessageIcon::Critical);
}

} // namespace
