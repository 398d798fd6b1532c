#include "AnimWindowFixture.h"

TEST_F(AnimWindow, LoadTakesItsDefaultsAndTheStoredSettings)
{
    fake.settings.values["Orvane/Startup/pitch"] = "12.5";
    fake.settings.values["Orvane/Startup/yaw"] = "-3";
    fake.settings.values["Orvane/Startup/delay"] = "7";
    open();
    EXPECT_EQ(w->windowTitle(), "Display Force Vectors");
    EXPECT_EQ(w->PitchDeg, 12.5);
    EXPECT_EQ(w->RollDeg, 0);
    EXPECT_EQ(w->YawDeg, -3.0f);
    EXPECT_EQ(w->txtRx->text(), " 12.5");
    EXPECT_EQ(w->txtRy->text(), " 0.0");
    EXPECT_EQ(w->txtRz->text(), " -3.0");
    EXPECT_EQ(w->Delay, 7);
    EXPECT_EQ(w->comDelay->currentText(), "7");
    EXPECT_EQ(w->comIncrement->currentText(), "1");
    EXPECT_EQ(w->txtFrame->text(), "0");
    EXPECT_EQ(w->txtRecord->text(), "11");
    EXPECT_FALSE(w->cmdStop->isHidden());
    EXPECT_TRUE(w->cmdAnimate->isHidden());
    EXPECT_TRUE(w->fraReverse2->isHidden());
    // Disabled at design; footprint, real-time and "other" stay so.
    for (int i = 0; i <= 4; ++i)
        EXPECT_FALSE(w->chkOptions[std::size_t(i)]->isEnabled()) << i;
    EXPECT_TRUE(w->chkOptions[5]->isEnabled());
    EXPECT_FALSE(w->optView[3]->isEnabled());
    EXPECT_FALSE(w->optPlate[4]->isEnabled());
    EXPECT_FALSE(w->chkReverseAz->isEnabled());
}

TEST_F(AnimWindow, EveryControlCanBeReadByAssistiveTechnology)
{
    open();
    // The window itself is announced as a window, not as a filler of another.
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w.get());
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->role(), QAccessible::Window);
    for (QWidget* child : w->findChildren<QWidget*>()) {
        if (child->window() != w.get() || !child->focusPolicy() ||
            qobject_cast<QComboBox*>(child->parentWidget()))
            continue;
        QString text = child->accessibleName();
        if (auto* b = qobject_cast<QAbstractButton*>(child))
            text += b->text();
        EXPECT_FALSE(text.trimmed().isEmpty()) << child->metaObject()->className();
    }
}

TEST_F(AnimWindow, ActivationShowsTheTrialAndStartsPlayback)
{
    state.forces.BodyWeight = 0;
    open();
    stopAtOnce();
    w->Form_Activate();
    EXPECT_EQ(w->txtForces->text(), "10");
    EXPECT_EQ(w->txtRate->text(), " 200.00");
    EXPECT_EQ(w->txtTrial->text(), "WALK01.RF");
    EXPECT_EQ(w->txtWeight->text(), " 0.00");
    EXPECT_FALSE(w->chkOptions[4]->isEnabled()) << "no body weight to normalise to";
    EXPECT_EQ(w->lblTitle->text(), QString::fromStdString(state.forces.TrialTitle));
    EXPECT_EQ(w->txtMagnify->text(), " 1.00");
    EXPECT_EQ(framesOf(lines(Red)).back(), 10) << "the pass ran to its end";
    EXPECT_EQ(w->txtFrame->text(), "10");
    EXPECT_EQ(w->txtRecord->text(), "20");
    EXPECT_EQ(w->txtFrameTime->text(), "    0.0450");
    EXPECT_EQ(w->txtRecordTime->text(), "    0.0950");

    // Coming back to a stopped window leaves its picture as it is.
    const auto drawn = w->picVectors->primitives().size();
    state.forces.BodyWeight = 650;
    w->Form_Activate();
    EXPECT_EQ(w->picVectors->primitives().size(), drawn);
    EXPECT_TRUE(w->chkOptions[4]->isEnabled());
    EXPECT_FALSE(w->cmdAnimate->isHidden());
}

TEST_F(AnimWindow, StaticPassDrawsEveryModeItsOwnWay)
{
    open();
    // Mode 0 (static view): every record red, nothing else.
    w->cmdView_Click();
    EXPECT_EQ(framesOf(lines(Red)), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_TRUE(lines(Black).empty());
    EXPECT_TRUE(lines(Grey8).empty());
    EXPECT_EQ(w->ModeIndex, 0);
    EXPECT_TRUE(w->StopRequested);
    EXPECT_FALSE(w->Animating);
    EXPECT_FALSE(w->KeyPreview);
    EXPECT_TRUE(w->txtAnimate->isHidden());

    // Single vector: each earlier vector erased in black before the next is drawn.
    stopAtOnce();
    choose(w->optView, 1, &frmAnimForces::optView_Click);
    w->optMode[1]->setChecked(true);
    w->optMode_Click(1);
    const std::vector<Primitive> single = w->picVectors->primitives();
    ASSERT_EQ(single.size(), 1u + 2 * 9);
    EXPECT_EQ(single[0].colour, Red);
    for (int i = 2; i <= 10; ++i) {
        const auto k = std::size_t(2 * i - 3);
        EXPECT_EQ(single[k].colour, Black) << i;
        EXPECT_EQ(single[k].from, vectorOf(i - 1).base) << i;
        EXPECT_EQ(single[k + 1].colour, Red) << i;
    }
    EXPECT_EQ(w->picVectors->colourAt(vectorOf(5).tip), Black);

    // History: the vector turns light grey when its record is done, then dark grey.
    w->optMode[2]->setChecked(true);
    w->optMode_Click(2);
    const std::vector<Primitive> history = w->picVectors->primitives();
    ASSERT_EQ(history.size(), 2u + 3 * 9);
    EXPECT_EQ(history[0].colour, Red);
    EXPECT_EQ(history[1].colour, Grey7);
    EXPECT_EQ(history[2].colour, Grey8);
    EXPECT_EQ(history[2].from, history[1].from);
    EXPECT_EQ(history[3].colour, Red);
    EXPECT_EQ(history[4].colour, Grey7);
}

TEST_F(AnimWindow, CycleModeKeepsEarlierPassesAndIsKeptAfterAStaticView)
{
    open();
    int passes = 0;
    int last = 0;
    script = [&](int) {
        if (w->CurrentRecord < last)
            ++passes;
        last = w->CurrentRecord;
        if (passes == 1)
            w->cmdStop_Click();
    };
    w->optMode[3]->setChecked(true);
    w->optMode_Click(3);
    EXPECT_EQ(lines(Red).size(), 20u) << "two passes, one over the other";
    // The static view draws in mode 0 but leaves "&cycle vectors" selected. Animating
    // again draws what the selected button says: passes piled up with their grey
    // history, not the static view's all-red passes cleared one by one.
    w->cmdView_Click();
    ASSERT_EQ(w->ModeIndex, 0);
    passes = 0;
    last = 0;
    w->cmdAnimate_Click();
    EXPECT_EQ(w->ModeIndex, 3) << "the selected mode, not the static view's";
    EXPECT_EQ(lines(Red).size(), 20u) << "two passes, one over the other";
    EXPECT_EQ(lines(Grey7).size(), 20u) << "each drawn record turns grey when done";
}

TEST_F(AnimWindow, StopLetsThePassFinishWithItsDelays)
{
    open();
    w->Delay = 3;
    int afterStop = 0;
    script = [&](int n) {
        if (n == 5)
            w->cmdStop_Click();
        else if (n > 5)
            ++afterStop;
    };
    w->cmdAnimate_Click();
    EXPECT_EQ(framesOf(lines(Red)), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    // Each record yields once, waits three delay units, yields again.
    EXPECT_EQ(fake.events.yields, 10 * 5);
    EXPECT_EQ(afterStop, 45);
    EXPECT_FALSE(w->cmdAnimate->isHidden());
    EXPECT_TRUE(w->cmdStop->isHidden());
    EXPECT_TRUE(w->KeyPreview) << "a stop keeps the keys";
}

TEST_F(AnimWindow, StaticViewInsideAPassDrawsAllThenThePassEndsInRed)
{
    open();
    w->Delay = 0;
    bool pressed = false;
    script = [&](int) {
        if (!pressed && w->CurrentRecord == 4) {
            pressed = true;
            w->cmdView_Click();
            EXPECT_EQ(framesOf(lines(Red)).size(), 10u) << "all at once";
        }
    };
    w->cmdAnimate_Click();
    const std::vector<int> frames = framesOf(lines(Red));
    EXPECT_EQ(frames, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 5, 6, 7, 8, 9, 10}));
    EXPECT_TRUE(lines(Grey8).empty());
    EXPECT_TRUE(w->StopRequested);
    EXPECT_FALSE(w->isPlaying());
}

TEST_F(AnimWindow, IncrementStepsThroughTheRecords)
{
    open();
    w->comIncrement->setCurrentIndex(2);
    w->StopRequested = true;
    w->Animating = false;
    w->comIncrement_Click();
    EXPECT_EQ(w->Increment, 3);
    EXPECT_EQ(framesOf(lines(Red)), (std::vector<int>{1, 4, 7, 10}));
}

TEST_F(AnimWindow, StepModeAnswers)
{
    open();
    w->cmdStop_Click();
    // Yes, then No: two boxes, then the rest plays without stops.
    fake.dialogs.messageAnswers = {AnswerYes, AnswerNo};
    stopAtOnce();
    w->cmdStep_Click();
    ASSERT_EQ(fake.dialogs.shown.size(), 2u);
    EXPECT_EQ(fake.dialogs.shown[0].title, "Step mode");
    EXPECT_EQ(fake.dialogs.shown[0].icon, MessageIcon::Question);
    EXPECT_EQ(fake.dialogs.shown[0].buttons, MessageButtons::YesNoCancel);
    EXPECT_TRUE(fake.dialogs.shown[1].text.startsWith("Frame is 2  Record is 12"));
    EXPECT_EQ(state.LastResult, AnswerNo);
    EXPECT_FALSE(w->StepMode);
    EXPECT_EQ(framesOf(lines(Red)).size(), 10u);

    // Cancel: a static view of every record.
    fake.dialogs.shown.clear();
    fake.dialogs.messageAnswers = {AnswerYes, AnswerCancel};
    script = nullptr;
    w->cmdStep_Click();
    EXPECT_EQ(fake.dialogs.shown.size(), 2u);
    EXPECT_EQ(state.LastResult, AnswerCancel);
    EXPECT_FALSE(w->StepMode);
    EXPECT_FALSE(w->Animating);
    EXPECT_EQ(framesOf(lines(Red)), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
}

TEST_F(AnimWindow, PauseBetweenPassesShowsTheLastRecord)
{
    open();
    bool paused = false;
    script = [&](int) {
        if (!paused && w->CurrentRecord == 11) {
            paused = true;
            QTest::keyClick(w->cmdStop, Qt::Key_Space);
            w->cmdStop_Click();
        }
    };
    fake.dialogs.messageAnswers = {AnswerOK};
    w->cmdAnimate_Click();
    ASSERT_EQ(fake.dialogs.shown.size(), 1u);
    const ShownBox& box = fake.dialogs.shown[0];
    EXPECT_EQ(box.title, "Pause mode");
    EXPECT_EQ(box.buttons, MessageButtons::OKCancel);
    const QStringList text = box.text.split('\n');
    ASSERT_EQ(text.size(), 5);
    EXPECT_EQ(text[0], "Frame is 10  Record is 20  Time is     0.0500 s");
    EXPECT_EQ(text[4], "Press OK to continue or cancel to exit.");
    EXPECT_EQ(state.LastResult, AnswerOK);
}

TEST_F(AnimWindow, PauseCancelLeavesAStaticView)
{
    open();
    fake.dialogs.messageAnswers = {AnswerCancel};
    script = [&](int n) {
        if (n == 3)
            w->Form_KeyDown(32);
    };
    w->cmdAnimate_Click();
    EXPECT_FALSE(w->Animating);
    EXPECT_TRUE(w->StopRequested);
    EXPECT_FALSE(w->isPlaying());
    EXPECT_EQ(state.LastResult, AnswerCancel);
}

TEST_F(AnimWindow, ResizeEndsThePassAndTheNextStartsASecondLater)
{
    open();
    w->Delay = 0;
    std::vector<std::pair<int, double>> seen; // record, clock
    bool resized = false;
    script = [&](int) {
        if (seen.empty() || seen.back().first != w->CurrentRecord)
            seen.emplace_back(w->CurrentRecord, fake.clock.now);
        if (!resized && w->CurrentRecord == 4) {
            resized = true;
            w->Form_Resize();
        }
        if (resized && w->CurrentRecord == 2)
            w->cmdStop_Click();
    };
    w->cmdAnimate_Click();
    // Record 4 was being drawn; 5 never is in that pass.
    std::vector<int> records;
    for (const auto& s : seen)
        records.push_back(s.first);
    EXPECT_THAT(records, testing::ElementsAre(1, 2, 3, 4, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10));
    EXPECT_GE(seen[4].second - seen[3].second, 1.0);
    EXPECT_LT(seen[4].second - seen[3].second, 1.1);
}

TEST_F(AnimWindow, KeysAfterStopAndAfterAStaticView)
{
    open();
    stopAtOnce();
    w->cmdAnimate_Click();
    w->Magnification = 3;
    w->Delay = 50;
    w->Increment = 4;
    QTest::keyClick(w->cmdAnimate, Qt::Key_F2);
    QTest::keyClick(w->cmdAnimate, Qt::Key_F3);
    QTest::keyClick(w->txtRx, Qt::Key_F4);
    QTest::keyClick(w.get(), Qt::Key_Space);
    QTest::keyClick(w.get(), Qt::Key_F1);
    EXPECT_EQ(w->Magnification, 1.0f);
    EXPECT_EQ(w->txtMagnify->text(), " 1.00");
    EXPECT_EQ(w->Delay, 1);
    EXPECT_EQ(w->comDelay->currentText(), "1");
    EXPECT_EQ(w->Increment, 1);
    ASSERT_EQ(fake.dialogs.messageTexts(), QStringList{"No help available."})
        << "Space does nothing once stopped";

    w->cmdView_Click();
    w->Magnification = 3;
    QTest::keyClick(w->cmdAnimate, Qt::Key_F2);
    QTest::keyClick(w.get(), Qt::Key_F1);
    EXPECT_EQ(w->Magnification, 3.0f);
    EXPECT_EQ(fake.dialogs.shown.size(), 1u);
}
