// The graph window with the animation window beside it: the cursor tied both ways, the
// reversals the two share, zooming, and tables that are hard to draw. Its table of contacts
// is tested in GraphsWindowEventsTest.cpp, what leaves it in GraphsWindowSavesTest.cpp.

#include "GraphsWindowFixture.h"

namespace
{

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

} // namespace
