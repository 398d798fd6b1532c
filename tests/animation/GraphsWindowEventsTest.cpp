// The graph window's table of contacts: its rows, cut contacts, a plate loaded negative,
// the threshold and the low-pass box.

#include "GraphsWindowFixture.h"

namespace
{

TEST_F(GraphsWindow, TheEventsTableShowsItsRowsAndPeakLabelsKeepOffTheCurve)
{
    // Three steps on the plate, each a stance of 60 records.
    ForceTable& t = state.forces;
    fillStance(t, 60, 5);
    ForceTable one = t;
    t.RecordCount = 180;
    for (int step = 1; step < 3; ++step)
        for (int i = 1; i <= 60; ++i) {
            const auto k = std::size_t(step * 60 + i);
            const auto j = std::size_t(i);
            t.Fx[k] = one.Fx[j], t.Fy[k] = one.Fy[j], t.Fz[k] = one.Fz[j], t.Ax[k] = one.Ax[j];
            t.Ay[k] = one.Ay[j], t.Mz[k] = one.Mz[j], t.Extra[k] = one.Extra[j];
            t.RecordNo[k] = int16_t(step * 60 + i + 10);
        }
    for (QSize size : {QSize(900, 720), QSize(900, 600)}) {
        open(false);
        g->resize(size);
        g->show();
        settle();
        QTableWidget* e = g->tblEvents;
        ASSERT_EQ(e->rowCount(), 3);
        int rows = 0, columns = 0;
        for (int r = 0; r < 3; ++r)
            rows += e->rowHeight(r);
        for (int k = 0; k < e->columnCount(); ++k)
            columns += e->columnWidth(k);
        EXPECT_GE(e->viewport()->height(), rows) << size.height();
        EXPECT_LE(columns, e->viewport()->width()) << "no column clipped at 900 px";

        g->chart->grab();
        const QRectF a = g->chart->plotArea(0);
        ASSERT_EQ(g->chart->peakMarks().size(), 3u);
        for (const ChartView::PeakMark& m : g->chart->peakMarks()) {
            EXPECT_TRUE(a.adjusted(1, 1, -1, -1).contains(m.label)) << size.height();
            EXPECT_LE(m.label.bottom(), m.at.y() - 4) << "above the peak, off the curve";
        }
        g.reset();
    }
}

TEST_F(GraphsWindow, ThresholdChangesTheEventTable)
{
    open(false);
    EXPECT_EQ(g->tblEvents->rowCount(), 1);
    EXPECT_EQ(g->tblEvents->item(0, 1)->text(), "0.050"); // record 1, numbered 11
    g->txtThreshold->setValue(1e5);
    EXPECT_EQ(g->tblEvents->item(0, 0)->text(), "No contact at this threshold");
}


// Fz from record 1 at `rate`, everything else 0.
void fillFz(ForceTable& t, const std::vector<double>& fz, const char* rate = "100")
{
    t.RecordCount = int16_t(fz.size());
    t.SamplingRate = rate;
    t.BodyWeight = 700;
    for (std::size_t i = 0; i < fz.size(); ++i) {
        t.Fx[i + 1] = t.Fy[i + 1] = t.Ax[i + 1] = t.Ay[i + 1] = t.Extra[i + 1] = 0;
        t.Mz[i + 1] = 0;
        t.Fz[i + 1] = fz[i];
        t.RecordNo[i + 1] = int16_t(i + 1);
    }
}

TEST_F(GraphsWindow, EventsOfCutContactsAndOfAPlateLoadedNegative)
{
    struct Case {
        const char* what;
        std::vector<double> fz;
        bool negativeSaid;
        QStringList cells; // contact, begins, ends, contact time, peak, peak at, ..., rate
    } cases[] = {
        {"a plate loaded negative", {0, 0, -30, -60, -90, -60, -30, 0, 0}, true,
         {"1", "0.020", "0.060", "0.040", "90.0", "0.040", "0.13", "2.40", "3000"}},
        {"cut at the start", {50, 60, 40, 0, 0}, false,
         {"1 (cut at start)", "0.000", "0.020", "", "60.0", "0.010", "0.09", "1.05", ""}},
        {"cut at the end", {0, 0, 30, 60}, false,
         {"1 (cut at end)", "0.020", "0.030", "", "60.0", "0.030", "0.09", "0.45", ""}},
        {"the whole trial", {30, 60, 30}, false,
         {"1 (cut at both ends)", "0.000", "0.020", "", "60.0", "0.010", "0.09", "0.90", ""}},
    };
    open(false);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fillFz(state.forces, c.fz);
        g->reload();
        EXPECT_EQ(g->lblLoadedSign->isVisibleTo(g.get()), c.negativeSaid);
        ASSERT_EQ(g->tblEvents->rowCount(), 1);
        QStringList cells;
        for (int col = 0; col < g->tblEvents->columnCount(); ++col)
            cells << g->tblEvents->item(0, col)->text();
        EXPECT_EQ(cells, c.cells);
    }
    // A threshold of 0 or less cannot be entered.
    g->txtThreshold->setValue(0);
    EXPECT_GT(g->txtThreshold->value(), 0);
    g->txtThreshold->setValue(-20);
    EXPECT_GT(g->txtThreshold->value(), 0);
}

// The stance of fillStance(120, 4) at 200 Hz, Fz of record i times 1 + i/1000 so that its
// humps differ. As bench/rfstats_pandas.py measures it after scipy.signal.filtfilt with
// butter(2, fc / 100): raw, contact from record 5, peak 642.3 N, loading rate 3943 N/s;
// at 10 Hz from record 3, 641.7 N, 3690 N/s; at 30 Hz from record 5, 642.3 N, 3914 N/s.
TEST_F(GraphsWindow, LowPassBox)
{
    fillStance(state.forces, 120, 4);
    for (int i = 1; i <= 120; ++i)
        state.forces.Fz[std::size_t(i)] *= 1 + i / 1000.0;
    const auto recorded = std::make_unique<ForceTable>(state.forces);
    open();
    EXPECT_EQ(g->txtLowPass->accessibleName(), "Low-pass (Hz)");
    EXPECT_EQ(g->lblLowPass->text(), "&Low-pass (Hz):");
    EXPECT_EQ(g->lblLowPass->buddy(), g->txtLowPass);
    const QString readoutRaw = g->lblReadout->text();
    // Typed into the box, then Return: the box afterwards, cells 1, 4 and 8 of the
    // events table, and whether the titles name the filter with the raw curves behind.
    // Times as the animation gives them: its records are numbered from 11, so record 5 is
    // at (15 - 1) / 200 s.
    const QStringList raw{"0.070", "642.3", "3943"}, at10{"0.060", "641.7", "3690"},
        at30{"0.070", "642.3", "3914"};
    const struct {
        const char* typed;
        QString shown;
        QStringList cells;
        bool filtered;
    } steps[] = {
        {"", "", raw, false},
        {"10", "10", at10, true},
        {"0", "10", at10, true},     // refused: the cut-off stays
        {"-5", "10", at10, true},    // refused
        {"100", "10", at10, true},   // half the rate: refused
        {"30 Hz", "10", at10, true}, // not a number: refused
        {"30", "30", at30, true},
        {"", "", raw, false},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.typed);
        g->txtLowPass->setText(s.typed);
        QTest::keyClick(g->txtLowPass, Qt::Key_Return);
        EXPECT_EQ(g->txtLowPass->text(), s.shown);
        const QStringList cells{g->tblEvents->item(0, 1)->text(), g->tblEvents->item(0, 4)->text(),
                                g->tblEvents->item(0, 8)->text()};
        EXPECT_EQ(cells, s.cells);
        const auto& charts = g->chart->charts();
        const QString named = ", low-pass " + s.shown + " Hz, zero lag, 2nd order Butterworth";
        EXPECT_EQ(charts[0].title, s.filtered ? "Forces" + named : "Forces");
        EXPECT_EQ(charts[2].title, s.filtered ? "Moment" + named : "Moment");
        EXPECT_EQ(charts[1].title, "Centre of pressure");
        EXPECT_EQ(charts[0].raw.size(), s.filtered ? 3u : 0u);
        EXPECT_EQ(charts[2].raw.size(), s.filtered ? 1u : 0u);
        EXPECT_TRUE(charts[1].raw.empty());
        EXPECT_EQ(g->lblReadout->text() == readoutRaw, !s.filtered);
    }
    g->txtLowPass->setText("30");
    QTest::keyClick(g->txtLowPass, Qt::Key_Return);
    // The animation draws the forces as recorded.
    EXPECT_EQ(std::memcmp(recorded.get(), &state.forces, offsetof(ForceTable, RecordCount)), 0);

    // The CSV of the filtered numbers says so above its data.
    const QString path = dir.filePath("filtered.csv");
    fake.dialogs.fileAnswers.push_back(path);
    g->saveNumbers();
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString csv = QString::fromUtf8(f.readAll());
    EXPECT_TRUE(csv.contains("# extra: Extra\n# low-pass: 30 Hz, zero-lag 2nd-order Butterworth\n"
                             "record,Fx,"))
        << csv.left(300).toStdString();

    // A trial the filter cannot apply to: the box is greyed and says why.
    struct Trial {
        const char* rate;
        int records;
        const char* why;
    } trials[] = {{"0", 120, "the file has no sampling rate"},
                  {"200", 9, "the file has fewer than 10 records"}};
    for (const Trial& t : trials) {
        SCOPED_TRACE(t.why);
        fillStance(state.forces, t.records, 0);
        state.forces.SamplingRate = t.rate;
        g->reload();
        EXPECT_FALSE(g->txtLowPass->isEnabled());
        EXPECT_TRUE(g->txtLowPass->toolTip().contains(t.why)) << g->txtLowPass->toolTip().toStdString();
        EXPECT_EQ(g->chart->charts()[0].title, "Forces");
    }
}

} // namespace
