// The graph window with the animation window beside it: the cursor tied both ways, the
// reversals the two share, what leaves the window, and tables that are hard to draw.

#include "SampleTrial.h"
#include "animation/PictureBox.h"
#include "animation/frmAnimForces.h"
#include "animation/graphs/AnimationFilm.h"
#include "animation/graphs/ChartView.h"
#include "animation/graphs/PassDrawing.h"
#include "animation/graphs/PictureExport.h"
#include "animation/graphs/frmGraphs.h"
#include "core/SharedState.h"
#include "fakes/FakePlatform.h"
#include "fakes/FileSizeLimit.h"
#include "forcedata/ExportFile.h"
#include "forcedata/ForceTableCsv.h"
#include "forcedata/RfReader.h"

#include <QAccessible>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

using namespace graphs;

namespace
{

struct GraphsWindow : testing::Test {
    GraphsWindow()
    {
        fillStance(state.forces, 10, 0);
        state.ForceFile = "WALK01.RF";
        state.DataDir = dir.path();
        fake.events.onYield = [this](int n) {
            if (script)
                script(n);
        };
    }

    void open(bool withAnimation = true)
    {
        if (withAnimation) {
            anim = std::make_unique<frmAnimForces>(state, fake.platform());
            anim->StopRequested = true; // stopped, as after "&Stop"
            anim->Animating = false;
        }
        g = std::make_unique<frmGraphs>(state, fake.platform());
        g->linkAnimation(anim.get());
        settle();
    }
    void settle() { QCoreApplication::processEvents(); }
    void key(Qt::Key k) { QTest::keyClick(g->chart, k); }

    QTemporaryDir dir;
    SharedState state;
    FakePlatform fake;
    std::unique_ptr<frmAnimForces> anim;
    std::unique_ptr<frmGraphs> g;
    std::function<void(int)> script;
};

TEST_F(GraphsWindow, EveryControlHasANameAndTheReadoutIsReadable)
{
    open(false);
    EXPECT_EQ(g->windowTitle(), "Force Graphs");
    for (QWidget* w : std::initializer_list<QWidget*>{g->chart, g->txtThreshold, g->tblEvents})
        EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
    EXPECT_EQ(g->lblReadout->accessibleDescription(), "Readout");
    EXPECT_EQ(g->lblFile->text(), "WALK01.RF");
    // Record 1 is numbered 11: 10 samples after the first number at 200 Hz.
    EXPECT_TRUE(g->lblReadout->text().startsWith("Record 11   0.0500 s   Fx "));
}

TEST_F(GraphsWindow, KeysMoveTheCursorAndTheStoppedAnimationShowsTheRecord)
{
    open();
    struct Step {
        Qt::Key key;
        int record;
    } steps[] = {{Qt::Key_End, 10},     {Qt::Key_Left, 9},  {Qt::Key_Home, 1},
                 {Qt::Key_PageDown, 2}, {Qt::Key_Right, 3}, {Qt::Key_PageUp, 2}};
    for (const Step& s : steps) {
        key(s.key);
        const int no = state.forces.RecordNo[std::size_t(s.record)];
        EXPECT_EQ(g->chart->cursorRecord(), s.record);
        EXPECT_TRUE(g->lblReadout->text().startsWith(QString("Record %1   ").arg(no)))
            << g->lblReadout->text().toStdString();
        // As a step shows it: the readouts, and the record's vector drawn last in red.
        EXPECT_EQ(anim->txtRecord->text(), QString::number(no));
        EXPECT_EQ(anim->txtFrame->text(), QString::number(s.record));
        // One time for a record in both windows: the animation's record time.
        EXPECT_TRUE(g->lblReadout->text().contains(
            QString("Record %1   %2 s").arg(no).arg(anim->txtRecordTime->text().trimmed())))
            << g->lblReadout->text().toStdString() << " / " << anim->txtRecordTime->text().toStdString();
        const anim::VectorLine v =
            anim::baseAndTip(state.forces, s.record, passDrawingOf(*anim).projection);
        const auto& drawn = anim->picVectors->primitives();
        ASSERT_FALSE(drawn.empty());
        EXPECT_EQ(drawn.back().from, v.base);
        EXPECT_EQ(drawn.back().to, v.tip);
        EXPECT_EQ(drawn.back().colour, anim::VectorColour);
    }
}

TEST_F(GraphsWindow, StepsOnDrawOnlyTheNewRecordsYetGiveThePictureOfAWholeDrawing)
{
    fillStance(state.forces, 60, 3);
    open();
    anim->optMode[1]->setChecked(true); // single vector: the previous one is erased
    const Qt::Key keys[] = {Qt::Key_Home,  Qt::Key_Right,  Qt::Key_Right, Qt::Key_PageDown,
                            Qt::Key_Right, Qt::Key_PageUp, Qt::Key_End};
    for (Qt::Key k : keys) {
        key(k);
        PictureBox whole;
        whole.resize(anim->picVectors->size());
        drawPass(whole, state.forces, passDrawingOf(*anim), g->chart->cursorRecord());
        EXPECT_TRUE(anim->picVectors->primitives() == whole.primitives())
            << g->chart->cursorRecord();
    }
    // A drawing in between (a static view) is not built on.
    anim->cmdView_Click();
    EXPECT_EQ(g->chart->cursorRecord(), 57) << "the static view's last record";
    key(Qt::Key_Right);
    PictureBox whole;
    whole.resize(anim->picVectors->size());
    drawPass(whole, state.forces, passDrawingOf(*anim), 58);
    EXPECT_TRUE(anim->picVectors->primitives() == whole.primitives());
}

// Moves back and far jumps start from pictures kept on the way; whatever the route,
// the picture must be the one a drawing from the first record gives.
struct CursorMove {
    Qt::Key key{}; // none: a click at `record`
    int record = 0;
};

void expectWholeDrawing(frmAnimForces& anim, const ForceTable& t, int record, const char* where)
{
    PictureBox whole;
    whole.resize(anim.picVectors->size());
    drawPass(whole, t, passDrawingOf(anim), record);
    EXPECT_TRUE(anim.picVectors->primitives() == whole.primitives()) << where << " " << record;
    EXPECT_TRUE(anim.picVectors->image() == whole.image()) << where << " " << record;
}

TEST_F(GraphsWindow, MovesBackAndJumpsGiveThePictureOfAWholeDrawingInEveryMode)
{
    fillStance(state.forces, 600, 3); // long enough for pictures to be kept on the way
    open();
    const std::vector<CursorMove> moves{{Qt::Key_End},    {Qt::Key_Left},     {Qt::Key_Left},
                                        {Qt::Key_PageUp}, {Qt::Key_Left},     {Qt::Key_Right},
                                        {Qt::Key_PageUp}, {Qt::Key_PageUp},   {{}, 20},
                                        {Qt::Key_Left},   {{}, 450},          {Qt::Key_Left},
                                        {Qt::Key_Home},   {Qt::Key_PageDown}, {Qt::Key_PageDown},
                                        {Qt::Key_Left},   {Qt::Key_End},      {{}, 597},
                                        {{}, 2},          {Qt::Key_PageDown}};
    struct Case {
        int mode;
        int view;
        bool noVectors;
        const char* name;
    } cases[] = {
        {anim::AllMode, 0, false, "all, view 0"},
        {anim::SingleMode, 1, false, "single"},
        {anim::HistoryMode, 1, false, "history"},
        {anim::CycleMode, 1, false, "cycle"},
        {anim::HistoryMode, 0, true, "path only"},
        {anim::CycleMode, 2, false, "cycle, view 2"},
        {anim::SingleMode, 3, false, "single, custom"},
        {anim::HistoryMode, 3, false, "history, custom"},
    };
    const double y = g->chart->plotArea(0).center().y();
    for (const Case& c : cases) {
        anim->optView[std::size_t(c.view)]->setChecked(true);
        anim->optMode[std::size_t(c.mode)]->setChecked(true);
        anim->chkOptions[2]->setChecked(c.noVectors);
        settle();
        for (const CursorMove& m : moves) {
            if (m.key != Qt::Key{})
                key(m.key);
            else
                QTest::mouseClick(g->chart, Qt::LeftButton, {},
                                  QPoint(int(std::lround(g->chart->xOfRecord(m.record))), int(y)));
            expectWholeDrawing(*anim, state.forces, g->chart->cursorRecord(), c.name);
        }
    }
}

TEST_F(GraphsWindow, AChangeOfWhatIsDrawnIsNotBuiltOnWhenMovingBack)
{
    fillStance(state.forces, 600, 3);
    open();
    anim->optMode[anim::HistoryMode]->setChecked(true);
    settle();
    struct Change {
        const char* name;
        std::function<void()> apply;
    } changes[] = {
        {"the trial read again in place",
         [&] {
             for (int i = 1; i <= 600; ++i)
                 state.forces.Fy[std::size_t(i)] *= -0.5;
         }},
        {"a reversal", [&] { anim->optReverse[1]->setChecked(true); }},
        {"the path left out", [&] { anim->chkOptions[1]->setChecked(false); }},
        {"the magnification", [&] { anim->txtMagnify->setText("1.7"); }},
        {"the increment", [&] { anim->Increment = 3; }},
        {"the picture's size",
         [&] { anim->picVectors->resize(anim->picVectors->size() + QSize(37, 21)); }},
        {"a static view drawn between", [&] { anim->cmdView_Click(); }},
    };
    for (const Change& c : changes) {
        // Pictures kept all along the pass, then the change, then moves back.
        key(Qt::Key_Home);
        key(Qt::Key_End);
        key(Qt::Key_Left);
        c.apply();
        settle();
        for (Qt::Key k : {Qt::Key_Left, Qt::Key_PageUp, Qt::Key_Left}) {
            key(k);
            expectWholeDrawing(*anim, state.forces, g->chart->cursorRecord(), c.name);
        }
    }
}

TEST_F(GraphsWindow, TheCursorFollowsAPassAndLeavesARunningPassAlone)
{
    open();
    // Home pressed on the graphs in the middle of a pass must not redraw the picture.
    script = [this](int n) {
        if (n == 5)
            key(Qt::Key_Home);
    };
    anim->ModeIndex = anim::AllMode;
    anim->ViewVectors(0);
    script = {};
    EXPECT_EQ(g->chart->cursorRecord(), 10);
    EXPECT_EQ(anim->txtRecord->text(), "20");
    int red = 0;
    for (const auto& p : anim->picVectors->primitives())
        red += p.colour == anim::VectorColour;
    EXPECT_EQ(red, 10) << "every record of the pass is still on the picture";
}

TEST_F(GraphsWindow, CurvesTurnWithTheVectorsForEveryViewAndReversal)
{
    open();
    // One quantity at a time; where the animation draws it, the drawn direction and
    // the curve's sign agree.
    for (int view = 0; view <= 2; ++view) {
        for (int reverse = 0; reverse < 8; ++reverse) {
            anim->optView[std::size_t(view)]->click();
            QAbstractButton* r = anim->optReverse[std::size_t(reverse)];
            if (!r->isVisible() && view != 0 && reverse >= 4)
                anim->optReverse_Click(reverse); // the X frame shows in the top view only
            else
                r->click();
            settle();
            const Signs s = curveSigns(g->viewOptions());
            const anim::Projection p = passDrawingOf(*anim).projection;
            const auto drawn = [&](auto set, bool force, bool horizontal) {
                ForceTable t;
                t.RecordCount = 1;
                set(t);
                const anim::VectorLine v = anim::baseAndTip(t, 1, p);
                const QPointF d = force ? v.tip - v.base : v.base;
                return (horizontal ? d.x() : d.y()) > 0 ? 1 : -1;
            };
            const std::string at =
                "view " + std::to_string(view) + " reverse " + std::to_string(reverse);
            if (view == 2) {
                EXPECT_EQ(s.Fx, drawn([](ForceTable& t) { t.Fx[1] = 1; }, true, true)) << at;
                EXPECT_EQ(s.Ax, drawn([](ForceTable& t) { t.Ax[1] = 1; }, false, true)) << at;
            } else {
                EXPECT_EQ(s.Fy, drawn([](ForceTable& t) { t.Fy[1] = 1; }, true, true)) << at;
                EXPECT_EQ(s.Ay, drawn([](ForceTable& t) { t.Ay[1] = 1; }, false, true)) << at;
            }
            if (view == 0) {
                EXPECT_EQ(s.Fx, drawn([](ForceTable& t) { t.Fx[1] = 1; }, true, false)) << at;
                EXPECT_EQ(s.Ax, drawn([](ForceTable& t) { t.Ax[1] = 1; }, false, false)) << at;
            }
        }
    }
    // "Normalize to BW" turns the force chart into multiples of body weight.
    anim->chkOptions[4]->setEnabled(true);
    anim->chkOptions[4]->click();
    settle();
    EXPECT_TRUE(forcesInBodyWeights(g->viewOptions()));
}

TEST_F(GraphsWindow, GraphsOpenAtTheRecordTheStoppedAnimationShows)
{
    fillStance(state.forces, 60, 3);
    anim = std::make_unique<frmAnimForces>(state, fake.platform());
    anim->StopRequested = true;
    anim->Animating = false;
    struct Case {
        const char* name;
        int shown;
    } cases[] = {{"record 41", 41}, {"the last record", 60}, {"record 1", 1}};
    for (const Case& c : cases) {
        anim->showRecord(c.shown);
        g = std::make_unique<frmGraphs>(state, fake.platform());
        g->resize(900, 720);
        g->linkAnimation(anim.get());
        settle();
        EXPECT_EQ(g->chart->cursorRecord(), c.shown) << c.name;
        EXPECT_TRUE(g->lblReadout->text().startsWith(QString("Record %1 ").arg(c.shown + 10)))
            << c.name << ": " << g->lblReadout->text().toStdString();
        // Even at record 1 the cursor stands clear of the left axis.
        const QRectF a = g->chart->plotArea(0);
        EXPECT_GE(g->chart->xOfRecord(g->chart->cursorRecord()), a.left() + 3) << c.name;
        EXPECT_LE(g->chart->xOfRecord(g->chart->cursorRecord()), a.right() - 3) << c.name;
    }
    // A new trial read meanwhile opens where the animation stands on it.
    fillStance(state.forces, 80, 3);
    anim->showRecord(70);
    g->reload();
    EXPECT_EQ(g->chart->cursorRecord(), 70);
}

TEST_F(GraphsWindow, KeysZoomAndPanAndTheChartSpeaksTheReadout)
{
    fillStance(state.forces, 1001, 0);
    open(false);
    g->resize(900, 720);
    g->show();
    settle();
    ChartView* c = g->chart;
    for (int i = 0; i < 4; ++i)
        key(Qt::Key_PageDown); // the cursor to record 401
    ASSERT_EQ(c->cursorRecord(), 401);
    struct Step {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        Range expected;
    } steps[] = {
        // Zoomed around the cursor, which keeps its place: 401 is 40 % of the way.
        {Qt::Key_Plus, Qt::ShiftModifier, {201, 701}},
        {Qt::Key_Plus, Qt::KeypadModifier, {301, 551}},
        {Qt::Key_Minus, Qt::NoModifier, {201, 701}},
        // A tenth of the span either way, and the ends hold.
        {Qt::Key_Right, Qt::ShiftModifier, {251, 751}},
        {Qt::Key_Left, Qt::ShiftModifier, {201, 701}},
        {Qt::Key_Left, Qt::ShiftModifier, {151, 651}},
        {Qt::Key_Left, Qt::ShiftModifier, {101, 601}},
        {Qt::Key_Left, Qt::ShiftModifier, {51, 551}},
        {Qt::Key_Left, Qt::ShiftModifier, {1, 501}},
        {Qt::Key_Left, Qt::ShiftModifier, {1, 501}},
        {Qt::Key_0, Qt::NoModifier, {1, 1001}},
        {Qt::Key_Plus, Qt::ShiftModifier, {201, 701}},
        {Qt::Key_Escape, Qt::NoModifier, {1, 1001}},
        {Qt::Key_Minus, Qt::NoModifier, {1, 1001}},
    };
    for (const Step& s : steps) {
        QTest::keyClick(c, s.key, s.modifiers);
        EXPECT_NEAR(c->range().first, s.expected.first, 1e-6) << int(s.key);
        EXPECT_NEAR(c->range().last, s.expected.last, 1e-6) << int(s.key);
        EXPECT_EQ(c->cursorRecord(), 401) << "zoom and pan leave the cursor";
    }

    // The focused chart's value is the readout, so a screen reader says each move.
    QAccessibleInterface* chart = QAccessible::queryAccessibleInterface(c);
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->role(), QAccessible::Chart);
    for (Qt::Key k : {Qt::Key_Right, Qt::Key_End, Qt::Key_Home}) {
        key(k);
        EXPECT_EQ(chart->text(QAccessible::Value), g->lblReadout->text());
        EXPECT_TRUE(chart->text(QAccessible::Value)
                        .startsWith(QString("Record %1 ").arg(c->cursorRecord() + 10)));
    }
}

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

TEST_F(GraphsWindow, BadTablesOpenAndSayNoData)
{
    struct Case {
        const char* name;
        std::function<void(ForceTable&)> make;
        const char* readout;
    } cases[] = {
        {"no records", [](ForceTable& t) { t.RecordCount = 0; }, "No data"},
        {"empty file", [](ForceTable& t) { t.RecordCount = -1; }, "No data"},
        {"one record", [](ForceTable& t) { fillStance(t, 1, 0); }, "Record 11"},
        {"rate 0", [](ForceTable& t) { t.SamplingRate = "0"; }, "Record 11   Fx"},
        {"rate text", [](ForceTable& t) { t.SamplingRate = "fast"; }, "Record 11   Fx"},
        {"all zero",
         [](ForceTable& t) {
             for (auto* c : {&t.Fx, &t.Fy, &t.Fz, &t.Ax, &t.Ay, &t.Extra})
                 c->fill(0);
             t.Mz.fill(0);
         },
         "Record 11"},
        {"huge",
         [](ForceTable& t) {
             t.Fz[2] = 1e30;
             t.Fz[3] = -1e30;
             t.Ax[4] = INFINITY;
             t.Ay[5] = NAN;
         },
         "Record 11"},
        {"5000 records", [](ForceTable& t) { fillStance(t, 5000, 100); }, "Record 11"},
    };
    for (const Case& c : cases) {
        fillStance(state.forces, 10, 0);
        c.make(state.forces);
        open(false);
        g->resize(800, 700);
        g->show();
        settle();
        EXPECT_TRUE(g->lblReadout->text().startsWith(c.readout)) << c.name;
        // Wild values stay a few characters wide in the table.
        for (int r = 0; r < g->tblEvents->rowCount(); ++r)
            for (int k = 1; k < g->tblEvents->columnCount(); ++k)
                if (const QTableWidgetItem* item = g->tblEvents->item(r, k)) {
                    EXPECT_LE(item->text().size(), 12) << c.name << ": " << item->text().toStdString();
                }
        if (std::string(c.name) == "huge") {
            EXPECT_EQ(g->tblEvents->item(0, 4)->text(), "1.000e+30");
        }
        const QImage shown = g->chart->grab().toImage();
        EXPECT_FALSE(shown.isNull()) << c.name;
        key(Qt::Key_End);
        key(Qt::Key_PageUp);
        QTest::mouseClick(g->chart, Qt::LeftButton, {}, g->chart->rect().center());
        g.reset();
    }
}

TEST_F(GraphsWindow, ZoomBandPanAndEscape)
{
    fillStance(state.forces, 1000, 0);
    open(false);
    g->resize(900, 700);
    g->show();
    settle();
    ChartView* c = g->chart;
    const QRectF a = c->plotArea(0);
    const int y = int(a.center().y());
    // A band from a quarter to a half of the width zooms to it.
    QTest::mousePress(c, Qt::LeftButton, {}, QPoint(int(a.left() + a.width() / 4), y));
    QTest::mouseMove(c, QPoint(int(a.left() + a.width() / 2), y));
    QTest::mouseRelease(c, Qt::LeftButton, {}, QPoint(int(a.left() + a.width() / 2), y));
    EXPECT_NEAR(c->range().first, 250, 5);
    EXPECT_NEAR(c->range().last, 500, 5);
    // A click places the cursor; End walks the view along to the last record.
    QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(int(a.center().x()), y));
    EXPECT_NEAR(c->cursorRecord(), 375, 3);
    key(Qt::Key_End);
    EXPECT_DOUBLE_EQ(c->range().last, 1000);
    key(Qt::Key_Escape);
    EXPECT_EQ(c->range(), fullRange(1000));

    // The wheel zooms around the pointer: the record under it stays under it.
    const QPointF at(a.left() + a.width() * 0.2, y);
    const double under = c->recordAtX(at.x());
    QWheelEvent wheel(at, c->mapToGlobal(at), {}, {0, 240}, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(c, &wheel);
    EXPECT_NEAR(c->range().span(), 999 * 0.64, 1e-6);
    EXPECT_NEAR(c->recordAtX(at.x()), under, 1e-6);
    // Shift-drag and the middle button pan; the width stays.
    const Range before = c->range();
    for (auto [button, modifiers] : {std::pair{Qt::LeftButton, Qt::ShiftModifier},
                                     std::pair{Qt::MiddleButton, Qt::NoModifier}}) {
        const Range start = c->range();
        const double perPixel = start.span() / a.width();
        QTest::mousePress(c, button, modifiers, QPoint(int(a.center().x()), y));
        // Dragged to the left, the view moves on to later records.
        QTest::mouseMove(c, QPoint(int(a.center().x()) - 100, y));
        QTest::mouseRelease(c, button, modifiers, QPoint(int(a.center().x()) - 100, y));
        EXPECT_NEAR(c->range().first, start.first + 100 * perPixel, 1.0);
        EXPECT_NEAR(c->range().span(), before.span(), 1e-6);
    }
    // Dragging the cursor line moves the cursor with it.
    const int from = int(std::lround(c->xOfRecord(c->cursorRecord())));
    const int cursorBefore = c->cursorRecord();
    QTest::mousePress(c, Qt::LeftButton, {}, QPoint(from, y));
    QTest::mouseMove(c, QPoint(from - 60, y));
    QTest::mouseRelease(c, Qt::LeftButton, {}, QPoint(from - 60, y));
    EXPECT_LT(c->cursorRecord(), cursorBefore);
    EXPECT_EQ(c->range().span(), before.span()) << "a cursor drag is no band";
    QTest::mouseDClick(c, Qt::LeftButton, {}, QPoint(int(a.center().x()), y));
    EXPECT_EQ(c->range(), fullRange(1000));
}

TEST_F(GraphsWindow, VisibleRecordsSavedAsRfdumpWritesThem)
{
    open(false);
    for (int i = 1; i <= 10; ++i) {
        const auto k = std::size_t(i);
        ForceTable& t = state.forces;
        t.Fx[k] = i, t.Fy[k] = -0.5 * i, t.Fz[k] = 100 * i, t.Ax[k] = 0.25, t.Ay[k] = -1.5;
        t.Mz[k] = 0.5f, t.Extra[k] = 0;
    }
    g->chart->setRange({3, 7});
    const QString path = dir.filePath("part.csv");
    fake.dialogs.fileAnswers.push_back(path);
    g->saveNumbers();
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll().toStdString(), "# title: Walking trial, right foot on plate 1\n"
                                         "# sampling_rate: 200\n"
                                         "# body_weight: 700\n"
                                         "# records: 5\n"
                                         "# extra: Extra\n"
                                         "record,Fx,Fy,Fz,Ax,Ay,Mz,Extra,RecordNo\n"
                                         "3,3,-1.5,300,0.25,-1.5,0.5,0,13\n"
                                         "4,4,-2,400,0.25,-1.5,0.5,0,14\n"
                                         "5,5,-2.5,500,0.25,-1.5,0.5,0,15\n"
                                         "6,6,-3,600,0.25,-1.5,0.5,0,16\n"
                                         "7,7,-3.5,700,0.25,-1.5,0.5,0,17\n");
}

TEST_F(GraphsWindow, PicturesAtTwiceThePixelsOrAsSvgAndNothingHalfWritten)
{
    open(false);
    const QSize size(300, 200);
    const PaintFunction paint = [this](QPainter& p, QSize s) { g->chart->render(p, s, true); };
    ASSERT_EQ(writePicture(dir.filePath("g.png"), size, paint), "");
    EXPECT_EQ(QImage(dir.filePath("g.png")).size(), size * 2);
    ASSERT_EQ(writePicture(dir.filePath("g.svg"), size, paint), "");
    QFile svg(dir.filePath("g.svg"));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    EXPECT_TRUE(svg.readAll().contains("<svg"));
    // A folder that is not there: a reason, and no file.
    const QString missing = dir.filePath("no/such/g.png");
    EXPECT_NE(writePicture(missing, size, paint), "");
    EXPECT_FALSE(QFile::exists(missing));

    // The drawing covers the doubled picture to its last pixel, and SVG text is as
    // large as on the screen (12 points are 16 pixels at 96 dots an inch).
    const QColor blue(0, 114, 178);
    const PaintFunction plain = [&blue](QPainter& p, QSize s) {
        p.fillRect(QRect(QPoint(0, 0), s), blue);
        QFont font(QStringLiteral("sans"));
        font.setPointSize(12);
        p.setFont(font);
        p.drawText(QPointF(10, 50), QStringLiteral("Fz"));
    };
    ASSERT_EQ(writePicture(dir.filePath("plain.png"), size, plain), "");
    const QImage doubled(dir.filePath("plain.png"));
    EXPECT_EQ(doubled.pixelColor(599, 399), blue);
    EXPECT_EQ(doubled.pixelColor(0, 0), blue);
    ASSERT_EQ(writePicture(dir.filePath("plain.svg"), size, plain), "");
    QFile plainSvg(dir.filePath("plain.svg"));
    ASSERT_TRUE(plainSvg.open(QIODevice::ReadOnly));
    const QString pixels = QString::number(std::lround(12.0 * g->logicalDpiY() / 72));
    EXPECT_TRUE(plainSvg.readAll().contains("font-size=\"" + pixels.toUtf8() + "\""))
        << pixels.toStdString();

    // A disk that fills part way: the cause, and nothing under the name.
    for (const char* name : {"full.png", "full.svg"}) {
        QString reason;
        {
            const FileSizeLimit limit(1000);
            reason = writePicture(dir.filePath(name), size, paint);
        }
        EXPECT_EQ(reason, QString::fromLocal8Bit(std::strerror(EFBIG))) << name;
        EXPECT_FALSE(QFile::exists(dir.filePath(name))) << name;
    }

    // The command: a name without extension gets ".png", asked first if that exists.
    QFile(dir.filePath("fig.png")).open(QIODevice::WriteOnly);
    fake.dialogs.fileAnswers.push_back(dir.filePath("fig"));
    fake.dialogs.messageAnswers.push_back(AnswerNo);
    g->savePicture();
    EXPECT_EQ(QFileInfo(dir.filePath("fig.png")).size(), 0) << "kept: the user said No";
    ASSERT_EQ(fake.dialogs.shown.size(), 2u);
    EXPECT_EQ(fake.dialogs.shown[1].buttons, MessageButtons::YesNo);
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

TEST_F(GraphsWindow, TheAnimationOffersGraphsPicturesAndFilmsByKeyAndMenu)
{
    open();
    auto* menu = anim->findChild<QMenu*>("mnuPicture");
    ASSERT_NE(menu, nullptr);
    QStringList texts;
    for (QAction* a : menu->actions())
        if (!a->isSeparator())
            texts << a->text();
    EXPECT_EQ(texts, (QStringList{"Force &graphs", SavePictureCommand, SaveFilmCommand}));
    QList<QKeySequence> keys;
    for (QShortcut* s : anim->findChildren<QShortcut*>())
        keys << s->key();
    for (const QKeySequence& k :
         {QKeySequence(Qt::CTRL | Qt::Key_G), QKeySequence(Qt::SHIFT | Qt::Key_F10)})
        EXPECT_TRUE(keys.contains(k)) << k.toString().toStdString();

    // The picture at twice the pixels, its red vectors and blue plate still there.
    anim->optPlate[1]->click();
    anim->cmdView_Click();
    const QString png = dir.filePath("vectors.png");
    fake.dialogs.fileAnswers.push_back(png);
    menu->actions()[2]->trigger();
    const QImage saved(png);
    ASSERT_EQ(saved.size(), anim->picVectors->size() * 2);
    int red = 0, blue = 0;
    for (int y = 0; y < saved.height(); ++y)
        for (int x = 0; x < saved.width(); ++x) {
            const QColor c = saved.pixelColor(x, y);
            red += c.red() > 200 && c.green() < 60;
            blue += c.blue() > 200 && c.red() < 60;
        }
    EXPECT_GT(red, 50);
    EXPECT_GT(blue, 50);
}

TEST_F(GraphsWindow, ASavedHistoryPictureIsGreyWhereTheScreenIsGrey)
{
    FileByteSource source;
    ASSERT_EQ(source.open(ORVANE_SOURCE_DIR "/suite/samples/WALK01.RF"), 0);
    readRf(source, state.forces);
    open();
    // A history drawing greys each finished vector over its red one. Saved, only the
    // last vector is red, as on the screen; smoothed edges of the red ones under the
    // grey once turned the fan pink (twice as many reddish pixels as grey ones).
    ASSERT_TRUE(anim->optMode[2]->isChecked()); // "history", the window's default
    key(Qt::Key_End);
    const QString history = dir.filePath("history.png");
    fake.dialogs.fileAnswers.push_back(history);
    anim->findChild<QMenu*>("mnuPicture")->actions()[2]->trigger();
    const QImage saved(history);
    ASSERT_EQ(saved.size(), anim->picVectors->size() * 2);
    int reddish = 0, grey = 0;
    for (int y = 0; y < saved.height(); ++y)
        for (int x = 0; x < saved.width(); ++x) {
            const QColor c = saved.pixelColor(x, y);
            reddish += c.red() > c.green() + 40 && c.red() > c.blue() + 40;
            grey += c.red() > 60 && std::abs(c.red() - c.green()) < 12 &&
                    std::abs(c.green() - c.blue()) < 12;
        }
    EXPECT_GT(grey, 5000);
    EXPECT_LT(reddish, grey / 20) << reddish << " reddish, " << grey << " grey";
}

TEST_F(GraphsWindow, CtrlSSavesTheChartsAndCtrlGOnTheAnimationShowsTheGraphs)
{
    open();
    g->show();
    g->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(g.get()));
    QTest::keyClick(g->chart, Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(fake.dialogs.shown.size(), 1u) << "one save dialog, no ambiguous key";
    EXPECT_EQ(fake.dialogs.shown[0].kind, ShownBox::SaveFile);
    EXPECT_TRUE(fake.dialogs.shown[0].request.fileName.endsWith(".png"));

    anim->show();
    anim->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(anim.get()));
    QTest::keyClick(anim->cmdOk, Qt::Key_G, Qt::ControlModifier);
    frmGraphs* shown = graphsWindow();
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(shown->isVisible());
    EXPECT_EQ(shown->linkedAnimation(), anim.get());
    delete shown;
}

TEST_F(GraphsWindow, TheFilmCommandUsesFfmpegOnThePathAndSaysWhatFailed)
{
    open();
    QTemporaryDir tools;
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", tools.path().toLocal8Bit());
    struct Case {
        const char* name;
        const char* script; // the stand-in, or none
        bool filmWritten;
        const char* said;
    } cases[] = {
        {"ffmpeg",
         "#!/bin/sh\n/bin/cat > /dev/null\nfor last; do :; done\nprintf "
         "'\\000\\000\\000\\020ftypisom\\000\\000\\000\\000\\000\\000\\000\\010moov' > \"$last\"\n",
         true, ""},
        {"ffmpeg on a full disk",
         "#!/bin/sh\n/bin/cat > /dev/null\nfor last; do :; done\nprintf "
         "'\\000\\000\\000\\020ftypisom\\000\\000\\000\\000\\000\\000\\020\\000mdat' > \"$last\"\n"
         "echo 'Error writing trailer: No space left on device' >&2\n",
         false, "No space left on device"},
        {"failing ffmpeg", "#!/bin/sh\n/bin/cat > /dev/null\nexit 3\n", false, "Could not write "},
        {"no ffmpeg", nullptr, false, "ffmpeg is not installed"},
    };
    for (const Case& c : cases) {
        QFile::remove(tools.filePath("ffmpeg"));
        if (c.script) {
            QFile f(tools.filePath("ffmpeg"));
            f.open(QIODevice::WriteOnly);
            f.write(c.script);
            f.close();
            f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        const QString film = dir.filePath(QString(c.name).replace(' ', '_') + ".mp4");
        fake.dialogs.shown.clear();
        fake.dialogs.fileAnswers.push_back(film);
        saveAnimationFilm(*anim, state, fake.platform());
        EXPECT_EQ(QFile::exists(film), c.filmWritten) << c.name;
        if (*c.said) {
            ASSERT_EQ(fake.dialogs.shown.size(), 2u) << c.name;
            EXPECT_TRUE(fake.dialogs.shown[1].text.startsWith(c.said) ||
                        fake.dialogs.shown[1].text.contains(c.said))
                << fake.dialogs.shown[1].text.toStdString();
        } else {
            ASSERT_EQ(fake.dialogs.shown.size(), 1u)
                << fake.dialogs.shown.back().text.toStdString();
        }
    }
    qputenv("PATH", path);
}


} // namespace
