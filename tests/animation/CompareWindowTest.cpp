// The compare window on a folder of written trials: what it lists, draws and tabulates,
// the trials it leaves out and why, what it remembers and what it saves.

#include "StanceFiles.h"
#include "animation/compare/CompareChart.h"
#include "animation/compare/frmCompare.h"
#include "fakes/FakePlatform.h"
#include "forcedata/TrialMeasures.h"
#include "core/SharedState.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <memory>

using namespace compare;

namespace
{
struct CompareWindow : testing::Test {
    CompareWindow()
    {
        state.DataDir = dir.path();
        // Different rates, lengths and weights: they meet on the normalised axis.
        write("WALK01.RF", {500, 700, 400, 51, 351, 800});
        write("WALK02.RF", {1000, 650, 900, 101, 801, 900});
        write("walk03.rf", {250, 720, 200, 21, 171, 1000});
        write("RUN01.RF", {500, 700, 300, 11, 111, 1500});
        write("NOCONTACT.RF", {500, 700, 100, 1, 1, 0});
        write("NORATE.RF", {0, 700, 300, 51, 251, 800});
        QFile(path("EMPTY.RF")).open(QIODevice::WriteOnly);
        write("NOTES.TXT", {});
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    void write(const QString& name, const Stance& s)
    {
        ASSERT_TRUE(writeStance(path(name).toStdString(), name.toStdString(), s));
    }
    void open()
    {
        w = std::make_unique<frmCompare>(state, fake.platform());
        w->openDirectory(dir.path());
    }
    void check(std::initializer_list<const char*> files, std::optional<Group> group = {})
    {
        for (const char* f : files) {
            w->setChecked(f, true);
            if (group)
                w->setGroup(f, *group);
        }
    }
    QTreeWidgetItem* row(const QString& file) const
    {
        const auto items = w->lstTrials->findItems(file, Qt::MatchExactly, 0);
        return items.isEmpty() ? nullptr : items.front();
    }
    QStringList tableColumn(int column) const
    {
        QStringList cells;
        for (int r = 0; r < w->tblNumbers->rowCount(); ++r)
            cells << (w->tblNumbers->item(r, column) ? w->tblNumbers->item(r, column)->text() : "");
        return cells;
    }
    const PlotLine* line(const QString& name) const
    {
        for (const PlotLine& l : w->chart->plot().lines)
            if (l.name == name)
                return &l;
        return nullptr;
    }

    QTemporaryDir dir;
    SharedState state;
    FakePlatform fake;
    std::unique_ptr<frmCompare> w;
};
} // namespace

TEST_F(CompareWindow, ListsTheForceFilesAndFiltersTheirNames)
{
    open();
    w->txtFilter->setText("WALK*");
    QStringList listed, shown;
    for (int i = 0; i < w->lstTrials->topLevelItemCount(); ++i) {
        listed << w->lstTrials->topLevelItem(i)->text(0);
        if (!w->lstTrials->topLevelItem(i)->isHidden())
            shown << listed.last();
    }
    EXPECT_EQ(listed, (QStringList{"EMPTY.RF", "NOCONTACT.RF", "NORATE.RF", "RUN01.RF", "WALK01.RF",
                                   "WALK02.RF", "walk03.rf"}));
    EXPECT_EQ(shown, (QStringList{"WALK01.RF", "WALK02.RF", "walk03.rf"}));
}

TEST_F(CompareWindow, EveryControlHasAnAccessibleName)
{
    open();
    for (QWidget* c : std::initializer_list<QWidget*>{
             w->txtFilter, w->lstTrials, w->cmdAddFiles, w->cmdGroupA, w->cmdGroupB, w->cmdNoGroup,
             w->cboQuantity, w->optNormalised, w->optSeconds, w->chkBodyWeights, w->chkIndividual,
             w->txtThreshold, w->txtLowPass, w->chart, w->chkAllContacts, w->tblNumbers,
             w->cmdSaveTable, w->cmdSaveCurves, w->cmdSavePicture}) {
        EXPECT_FALSE(c->accessibleName().isEmpty()) << c->objectName().toStdString();
        EXPECT_NE(c->focusPolicy(), Qt::NoFocus) << c->objectName().toStdString();
    }
    EXPECT_EQ(w->windowTitle(), "Compare Trials");
    // Announced as a window of its own (a frame), not as a filler.
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w.get());
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->role(), QAccessible::Window);
    EXPECT_EQ(w->cmdAddFiles->accessibleName(), "Add files…");
    EXPECT_EQ(w->cmdSaveTable->accessibleName(), "Save table as CSV…");
    EXPECT_EQ(w->cmdSaveCurves->accessibleName(), "Save curves as CSV…");
    EXPECT_EQ(w->txtLowPass->accessibleName(), "Low-pass (Hz)");
}

TEST_F(CompareWindow, TheTableHoldsTheRowsRfstatsWritesAndTheGroupRows)
{
    open();
    check({"WALK01.RF", "WALK02.RF"}, Group::A);
    check({"walk03.rf"});
    // Each trial's row begins as rfstats writes it: file, title, rate, weight, records, contact.
    const std::string csv = w->tableCsv();
    ASSERT_EQ(csv.substr(0, csv.find('\n')), forcedata::csvHeader());
    for (const char* start : {"\nWALK01.RF,WALK01.RF,500,700,400,1,0.",
                              "\nWALK02.RF,WALK02.RF,1000,650,900,1,0.",
                              "\nwalk03.rf,walk03.rf,250,720,200,1,0."})
        EXPECT_NE(csv.find(start), std::string::npos) << start << " in\n" << csv;
    EXPECT_EQ(tableColumn(0),
              (QStringList{"WALK01.RF", "WALK02.RF", "walk03.rf", "A mean", "A SD"}));
    // Half sines of 0.6 s and 0.7 s stand above 20 N for T (1 - 2 asin(20 / P) / pi):
    // 0.5905 s and 0.6901 s, a mean of 0.6403 s and a sample SD of 0.0705 s.
    const int contactTime = 8;
    ASSERT_EQ(w->tblNumbers->horizontalHeaderItem(contactTime)->text(), "contact_time_s");
    const QStringList times = tableColumn(contactTime);
    ASSERT_EQ(times.size(), 5);
    EXPECT_NEAR(times[3].toDouble(), 0.6403, 0.003);
    EXPECT_NEAR(times[4].toDouble(), 0.0705, 0.003);
}

TEST_F(CompareWindow, GroupMeansAndBandsOnTheNormalisedAxis)
{
    open();
    check({"WALK01.RF", "WALK02.RF", "walk03.rf"}, Group::B);
    const PlotLine* mean = line("Group B mean ± SD (n = 3)");
    ASSERT_NE(mean, nullptr);
    ASSERT_EQ(mean->y.size(), 101u);
    // Halfway through each half sine is its peak: 800, 900, 1000.
    EXPECT_NEAR(mean->y[50], 900, 900 * 0.005);
    ASSERT_EQ(w->chart->plot().bands.size(), 1u);
    EXPECT_NEAR(w->chart->plot().bands[0].high[50] - mean->y[50], 100, 1.5);
    ASSERT_NE(line("walk03.rf"), nullptr);
    EXPECT_NEAR(line("walk03.rf")->y[50], 1000, 5);

    w->chkBodyWeights->setChecked(true);
    EXPECT_NEAR(line("WALK02.RF")->y[50], 900.0 / 650, 0.01);
    w->chkIndividual->setChecked(false);
    EXPECT_EQ(w->chart->plot().lines.size(), 1u);
    // In seconds there is no mean: the contacts last different times.
    w->chkIndividual->setChecked(true);
    w->optSeconds->setChecked(true);
    EXPECT_TRUE(w->chart->plot().bands.empty());
    EXPECT_NEAR(line("WALK02.RF")->x.back(), 0.69, 0.003);

    // One trial left in a group: its curve, no mean, no band, and an empty SD row.
    w->optNormalised->setChecked(true);
    w->setGroup("WALK02.RF", Group::None);
    w->setGroup("walk03.rf", Group::A);
    EXPECT_TRUE(w->chart->plot().bands.empty());
    const std::string csv = w->tableCsv();
    EXPECT_NE(csv.find("\nA SD" + std::string(22, ',') + "\n"), std::string::npos) << csv;
}

TEST_F(CompareWindow, TrialsWithoutAContactOrARateAreListedWithTheReasonAndLeftOutOfTheMeans)
{
    open();
    w->addFiles({dir.filePath("gone/LOST.RF")});
    check({"WALK01.RF", "NOCONTACT.RF", "NORATE.RF", "EMPTY.RF"}, Group::A);
    EXPECT_EQ(row("NOCONTACT.RF")->text(2), "no contact at this threshold");
    EXPECT_EQ(row("NORATE.RF")->text(2), "no sampling rate");
    EXPECT_EQ(row("EMPTY.RF")->text(2), "Data file was empty.");
    const QString lost = QDir(dir.filePath("gone")).absoluteFilePath("LOST.RF");
    ASSERT_NE(row(lost), nullptr);
    EXPECT_FALSE(row(lost)->text(2).isEmpty());
    // Only WALK01 is in group A's means, so the mean is its 800 N peak (halfway, exactly).
    const QStringList peaks = tableColumn(9);
    const QStringList files = tableColumn(0);
    ASSERT_EQ(files.last(), "A SD");
    EXPECT_EQ(peaks[files.indexOf("A mean")], "800");
    EXPECT_EQ(tableColumn(1)[files.indexOf("EMPTY.RF")], "Data file was empty.");
    EXPECT_EQ(tableColumn(5)[files.indexOf("NOCONTACT.RF")], "0");
    EXPECT_EQ(line("NORATE.RF"), nullptr);
    EXPECT_NE(line("WALK01.RF"), nullptr);
}

TEST_F(CompareWindow, TheLowPassFilterAppliesToEveryTrialAndIsNamed)
{
    open();
    check({"WALK01.RF", "NORATE.RF"});
    struct Row {
        const char* typed;
        const char* boxAfter;
        bool refused;
    };
    for (const Row& r :
         {Row{"0", "", true}, Row{"-5", "", true}, Row{"abc", "", true}, Row{"30", "30", false}}) {
        fake.dialogs.shown.clear();
        w->txtLowPass->setText(r.typed);
        emit w->txtLowPass->editingFinished();
        EXPECT_EQ(w->txtLowPass->text(), r.boxAfter) << r.typed;
        EXPECT_EQ(fake.dialogs.shown.size(), r.refused ? 1u : 0u) << r.typed;
        if (r.refused && !fake.dialogs.shown.empty()) {
            EXPECT_EQ(fake.dialogs.shown[0].text, "the cut-off must be a number above 0 Hz");
        }
    }
    EXPECT_TRUE(w->chart->plot().title.contains("low-pass 30 Hz, zero lag, 2nd order Butterworth"));
    EXPECT_EQ(row("NORATE.RF")->text(2), "low-pass not applied: the file has no sampling rate");
    EXPECT_NE(w->tableCsv().find("NORATE.RF,the file has no sampling rate,"), std::string::npos);
    const std::string curves = w->curvesCsvText();
    EXPECT_NE(curves.find("\n# low-pass: 30 Hz, zero-lag 2nd-order Butterworth\npercent,"),
              std::string::npos);
    // A cut-off above half of 500 Hz cannot apply to WALK01 either.
    w->txtLowPass->setText("300");
    emit w->txtLowPass->editingFinished();
    EXPECT_EQ(row("WALK01.RF")->text(2),
              "low-pass not applied: the cut-off must be below half the sampling rate (250 Hz)");
}

TEST_F(CompareWindow, TheChoiceIsRememberedPerDataDirectory)
{
    open();
    w->setChecked("WALK01.RF", true);
    w->setGroup("WALK01.RF", Group::B);
    w->setGroup("RUN01.RF", Group::A);
    w->close();
    w.reset();
    open();
    EXPECT_EQ(row("WALK01.RF")->checkState(0), Qt::Checked);
    EXPECT_EQ(row("WALK01.RF")->text(1), "B");
    EXPECT_EQ(row("RUN01.RF")->checkState(0), Qt::Unchecked);
    EXPECT_EQ(row("RUN01.RF")->text(1), "A");
    EXPECT_EQ(row("WALK02.RF")->text(1), "");
    ASSERT_FALSE(fake.settings.saved.isEmpty());
    EXPECT_TRUE(fake.settings.saved.last().startsWith("Orvane/Compare Trials/dir."));

    QTemporaryDir other;
    writeStance(QDir(other.path()).filePath("WALK01.RF").toStdString(), "W", {});
    w->openDirectory(other.path());
    EXPECT_EQ(row("WALK01.RF")->checkState(0), Qt::Unchecked);
}

TEST_F(CompareWindow, KeysGroupTrialsAndStepThroughTheCurves)
{
    open();
    check({"WALK01.RF", "WALK02.RF"});
    w->lstTrials->setCurrentItem(row("WALK02.RF"));
    QTest::keyClick(w->lstTrials, Qt::Key_B);
    EXPECT_EQ(row("WALK02.RF")->text(1), "B");
    QTest::keyClick(w->lstTrials, Qt::Key_N);
    EXPECT_EQ(row("WALK02.RF")->text(1), "");
    // Down steps through the curves and wraps; Escape lets go.
    const std::pair<Qt::Key, const char*> steps[] = {{Qt::Key_Down, "Curve: WALK01.RF"},
                                                     {Qt::Key_Down, "Curve: WALK02.RF"},
                                                     {Qt::Key_Down, "Curve: WALK01.RF"},
                                                     {Qt::Key_Escape, ""}};
    for (const auto& [key, label] : steps) {
        QTest::keyClick(w->chart, key);
        EXPECT_EQ(w->lblCurve->text(), label);
    }

    // The pointer over a curve names it; down the chart's middle it meets both.
    w->show();
    QCoreApplication::processEvents();
    QStringList met;
    const int x = w->chart->width() / 2;
    for (int y = 0; y < w->chart->height(); ++y) {
        if (w->chart->lineAt(QPointF(x, y)) < 0)
            continue;
        QTest::mouseMove(w->chart, QPoint(x, y));
        if (!w->lblCurve->text().isEmpty() && !met.contains(w->lblCurve->text()))
            met << w->lblCurve->text();
    }
    met.sort();
    EXPECT_EQ(met, (QStringList{"Curve: WALK01.RF", "Curve: WALK02.RF"}));
}

TEST_F(CompareWindow, SavesWriteWholeFilesAndNeverReplaceOneUnasked)
{
    open();
    w->setChecked("WALK01.RF", true);
    // A name without its extension that meets an existing file: asked, and No keeps it.
    const auto read = [this](const char* name) {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : "(unreadable)";
    };
    QFile kept(path("table.csv"));
    ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
    kept.write("keep me");
    kept.close();
    fake.dialogs.fileAnswers.push_back(path("table"));
    fake.dialogs.messageAnswers.push_back(AnswerNo);
    w->saveTable();
    EXPECT_EQ(read("table.csv"), "keep me");

    fake.dialogs.fileAnswers.push_back(path("curves.csv"));
    w->saveCurves();
    EXPECT_EQ(read("curves.csv"), w->curvesCsvText());

    fake.dialogs.shown.clear();
    fake.dialogs.fileAnswers.push_back(path("no/such/folder/t.csv"));
    w->saveTable();
    ASSERT_EQ(fake.dialogs.shown.size(), 2u); // the save dialog, then what failed
    EXPECT_TRUE(fake.dialogs.shown[1].text.startsWith("Could not write"));

    fake.dialogs.fileAnswers.push_back(path("chart.svg"));
    w->savePicture();
    EXPECT_NE(read("chart.svg").find("<svg"), std::string::npos);
}
