// "Save numbers as CSV …" from the raw listing writes what rfdump writes, and a write
// that fails leaves nothing under the chosen name and says why.

#include "core/SharedState.h"
#include "fakes/FakePlatform.h"
#include "fakes/FileSizeLimit.h"
#include "forcedata/ExportFile.h"
#include "forcedata/ForceTableCsv.h"
#include "forcedata/RfReader.h"
#include "forcedata/frmRF.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <optional>

namespace
{

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Two records with numbers whose shortest text is known.
ForceTable smallTable()
{
    ForceTable t;
    t.TrialTitle = "WALK01 stance          ";
    t.SamplingRate = "500";
    t.BodyWeight = 712.5f;
    t.RecordCount = 2;
    t.LastHeaderCard = std::string(60, ' ') + "Ay        ";
    const auto set = [&t](std::size_t i, double fx, double fy, double fz, float mz, double extra,
                          int16_t no) {
        t.Fx[i] = fx, t.Fy[i] = fy, t.Fz[i] = fz, t.Ax[i] = 0.1, t.Ay[i] = 0.2, t.Mz[i] = mz,
        t.Extra[i] = extra, t.RecordNo[i] = no;
    };
    set(1, 12.5, -3, 700.25, 1.5f, 0, 17);
    set(2, 1e-05, 0, 0, 0.1f, -2.5, 18);
    return t;
}

TEST(ExportCsv, RawListingSavesTheWholeTableAsRfdumpWritesIt)
{
    struct Case {
        const char* name;
        ForceTable table;
        const char* expected;
    } cases[] = {
        {"two records", smallTable(),
         "# title: WALK01 stance\n"
         "# sampling_rate: 500\n"
         "# body_weight: 712.5\n"
         "# records: 2\n"
         "# extra: Az\n"
         "record,Fx,Fy,Fz,Ax,Ay,Mz,Extra,RecordNo\n"
         "1,12.5,-3,700.25,0.1,0.2,1.5,0,17\n"
         "2,1e-05,0,0,0.1,0.2,0.1,-2.5,18\n"},
        {"an empty file keeps the reader's count", ForceTable(),
         "# title: \n"
         "# sampling_rate: \n"
         "# body_weight: 0\n"
         "# records: -1\n"
         "# extra: Extra\n"
         "record,Fx,Fy,Fz,Ax,Ay,Mz,Extra,RecordNo\n"},
    };
    cases[1].table.RecordCount = -1;
    cases[1].table.TrialTitle.clear();
    cases[1].table.SamplingRate.clear();
    QTemporaryDir dir;
    for (const Case& c : cases) {
        SharedState state;
        FakePlatform fake;
        state.forces = c.table;
        state.ForceFile = "WALK01.RF";
        state.DataDir = dir.path();

        frmRF listing(state, fake.platform());
        listing.lstRFforces_ContextMenu({5, 5});
        ASSERT_TRUE(listing.mnuListing);
        listing.mnuListing->hide();
        const QString out = dir.filePath(QString(c.name) + ".csv");
        fake.dialogs.fileAnswers.push_back(out);
        listing.mnuListing->actions().first()->trigger();
        ASSERT_EQ(fake.dialogs.shown.size(), 1u) << c.name;
        EXPECT_EQ(fake.dialogs.shown[0].request.fileName, "WALK01.csv");
        EXPECT_EQ(contents(out), c.expected) << c.name;
    }
}

TEST(ExportCsv, TheListingsMenuOpensByKeyToo)
{
    SharedState state;
    FakePlatform fake;
    state.forces = smallTable();
    frmRF listing(state, fake.platform());
    listing.show();
    listing.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&listing));
    listing.lstRFforces->setFocus();
    listing.lstRFforces->setCurrentRow(1);
    QTest::keyClick(listing.lstRFforces, Qt::Key_F10, Qt::ShiftModifier);
    ASSERT_TRUE(listing.mnuListing);
    EXPECT_TRUE(listing.mnuListing->isVisible());
    EXPECT_EQ(listing.mnuListing->actions().first()->text(), SaveCsvCommand);
    listing.mnuListing->hide();
}

TEST(ExportCsv, PartOfATableCountsTheRecordsWritten)
{
    ForceTable t;
    t.RecordCount = 10;
    for (int i = 1; i <= 10; ++i) {
        t.Fz[std::size_t(i)] = 100 * i;
        t.RecordNo[std::size_t(i)] = int16_t(i);
    }
    struct Case {
        int first, last;
        const char* count;
        const char* rows; // the record column of each row
    } cases[] = {
        {3, 7, "5", "3 4 5 6 7"},       {1, 10, "10", "1 2 3 4 5 6 7 8 9 10"},
        {0, 2, "2", "1 2"},             {9, 12, "2", "9 10"},
        {10, 10, "1", "10"},            {5, 4, "0", ""},
        {1, 32000, "10", "1 2 3 4 5 6 7 8 9 10"},
    };
    for (const Case& c : cases) {
        const QStringList lines =
            QString::fromStdString(forceTableCsv(t, c.first, c.last)).split('\n', Qt::SkipEmptyParts);
        EXPECT_EQ(lines.value(3), QString("# records: ") + c.count) << c.first << ".." << c.last;
        QStringList rows;
        for (const QString& line : lines.mid(6))
            rows << line.section(',', 0, 0);
        EXPECT_EQ(rows.join(' '), c.rows) << c.first << ".." << c.last;
    }
}

TEST(ExportCsv, AFailedWriteLeavesNothingAndSaysWhy)
{
    QTemporaryDir dir;
    ForceTable t;
    t.RecordCount = 200; // some 4 KB of text
    struct Case {
        const char* name;
        QString path;
        rlim_t sizeLimit; // 0: none
        QString reason;   // "": any
    } cases[] = {{"missing folder", dir.filePath("none/x.csv"), 0, ""},
                 {"a folder in the way", dir.path(), 0, ""},
                 // A disk that fills part way: the cause is said, not a bare "could not".
                 {"full after 1 KB", dir.filePath("x.csv"), 1000, std::strerror(EFBIG)},
                 {"full after 100 bytes", dir.filePath("x.csv"), 100, std::strerror(EFBIG)}};
    for (const Case& c : cases) {
        QString reason;
        {
            std::optional<FileSizeLimit> limit;
            if (c.sizeLimit)
                limit.emplace(c.sizeLimit);
            reason = writeTableCsv(c.path, t, 1, 200);
        }
        EXPECT_NE(reason, "") << c.name;
        if (!c.reason.isEmpty()) {
            EXPECT_EQ(reason, c.reason) << c.name;
        }
        EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty()) << c.name;
    }
    t.RecordCount = 1;
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
