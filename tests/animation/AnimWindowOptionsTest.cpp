// The animation window's options: views, reversals, delays, values, and its
// printing, resizing and closing.

#include "AnimWindowFixture.h"

TEST_F(AnimWindow, NewCustomAsksForTheThreeAngles)
{
    open();
    w->cmdView_Click();
    fake.dialogs.inputAnswers = {"10", "0", "0"};
    choose(w->optView, 4, &frmAnimForces::optView_Click);
    ASSERT_EQ(fake.dialogs.shown.size(), 3u);
    EXPECT_EQ(fake.dialogs.shown[0].text, "Enter X (pitch) rotation in degrees");
    EXPECT_EQ(fake.dialogs.shown[0].title, "X rotation angle");
    EXPECT_EQ(fake.dialogs.shown[0].defaultText, " 0.0");
    EXPECT_EQ(fake.dialogs.shown[2].title, "Z rotation angle");
    EXPECT_TRUE(w->optView[3]->isEnabled());
    EXPECT_TRUE(w->optView[3]->isChecked());
    EXPECT_EQ(w->ViewIndex, 3);
    EXPECT_EQ(w->txtRx->text(), " 10.0");
    EXPECT_EQ(w->txtRy->text(), " 0.0");
    EXPECT_EQ(w->lblAbscissa->text(), " ");
    EXPECT_EQ(framesOf(lines(Red)).size(), 10u) << "redrawn in the custom view";

    // All three 0: the custom view is disabled but still drawn, unrotated.
    fake.dialogs.inputAnswers = {"0", "0", "0"};
    choose(w->optView, 4, &frmAnimForces::optView_Click);
    EXPECT_FALSE(w->optView[3]->isEnabled());
    EXPECT_EQ(w->ViewIndex, 3);
    EXPECT_EQ(framesOf(lines(Red)).size(), 10u);

    // Cancel at the second prompt changes nothing and draws nothing.
    fake.dialogs.inputAnswers = {"45", ""};
    const auto drawn = w->picVectors->primitives();
    w->PitchDeg = 5;
    choose(w->optView, 4, &frmAnimForces::optView_Click);
    EXPECT_EQ(w->PitchDeg, 5);
    EXPECT_EQ(w->ViewIndex, 4);
    EXPECT_EQ(w->lblOrdinate->text(), " ");
    EXPECT_EQ(w->picVectors->primitives(), drawn);
}

TEST_F(AnimWindow, ViewsSetTheirLabelsAndFrames)
{
    open();
    // The window opens in the side view and names its axes so from the first picture.
    EXPECT_EQ(w->lblAbscissa->text(), "+Z");
    EXPECT_EQ(w->lblOrdinate->text(), "+ Y");
    EXPECT_EQ(w->fraReverse->title(), "Reverse Y");
    w->cmdView_Click();
    struct Case {
        int view;
        const char *above, *right, *reverse;
        bool plateShown, pathEnabled;
    };
    for (const Case& c : {Case{0, "+X", "+ Y", "Reverse Y", false, true},
                          Case{1, "+Z", "+ Y", "Reverse Y", true, false},
                          Case{2, "+Z", "+ X", "Reverse X", true, false}}) {
        choose(w->optView, c.view, &frmAnimForces::optView_Click);
        EXPECT_EQ(w->lblAbscissa->text(), c.above) << c.view;
        EXPECT_EQ(w->lblOrdinate->text(), c.right) << c.view;
        EXPECT_EQ(w->fraReverse->title(), c.reverse) << c.view;
        EXPECT_EQ(!w->fraPlate->isHidden(), c.plateShown) << c.view;
        EXPECT_EQ(!w->fraReverse2->isHidden(), !c.plateShown) << c.view;
        EXPECT_EQ(w->chkOptions[1]->isEnabled(), c.pathEnabled) << c.view;
        EXPECT_EQ(w->chkOptions[2]->isEnabled(), c.pathEnabled) << c.view;
    }
}

TEST_F(AnimWindow, ReversalsSetTheirSigns)
{
    open();
    w->cmdView_Click();
    struct Case {
        int index, hf, hc, vf, vc;
    };
    for (const Case& c : {Case{0, 1, 1, 1, 1}, Case{3, -1, -1, 1, 1}, Case{7, -1, -1, -1, -1},
                          Case{5, -1, -1, -1, 1}, Case{2, 1, -1, -1, 1}, Case{6, 1, -1, 1, -1}}) {
        w->optReverse_Click(c.index);
        EXPECT_EQ(w->HorizForceSign, c.hf) << c.index;
        EXPECT_EQ(w->HorizCentreSign, c.hc) << c.index;
        EXPECT_EQ(w->VertForceSign, c.vf) << c.index;
        EXPECT_EQ(w->VertCentreSign, c.vc) << c.index;
    }
    // In the back view the frame captioned "Reverse X" turns the drawn Fx.
    choose(w->optView, 2, &frmAnimForces::optView_Click);
    w->optReverse_Click(1);
    const Primitive v = lines(Red).at(4);
    EXPECT_NEAR(v.to.x() - v.from.x(), -0.01 * state.forces.Fx[5], 1e-12);
    w->chkOptions[5]->click();
    EXPECT_TRUE(w->chkReverseAz->isEnabled());
    w->chkReverseAz->click();
    EXPECT_EQ(w->AzSign, -1);
}

TEST_F(AnimWindow, EachReversalButtonLeavesTheOtherFramesSignsAlone)
{
    open();
    w->cmdView_Click();
    struct Signs {
        int hf, hc, vf, vc;
        bool operator==(const Signs&) const = default;
    };
    const auto signs = [this] {
        return Signs{w->HorizForceSign, w->HorizCentreSign, w->VertForceSign, w->VertCentreSign};
    };
    // What each button sets in its own frame.
    const std::pair<int, int> own[8] = {{1, 1}, {-1, 1}, {1, -1}, {-1, -1},
                                        {1, 1}, {-1, 1}, {1, -1}, {-1, -1}};
    // Every button from a state with both frames reversed and from one with neither.
    for (const int start : {-1, 1}) {
        for (int button = 0; button < 8; ++button) {
            SCOPED_TRACE(testing::Message() << "button " << button << " from " << start);
            w->optReverse[start < 0 ? 3 : 0]->click();
            w->optReverse[start < 0 ? 7 : 4]->click();
            ASSERT_EQ(signs(), (Signs{start, start, start, start}));
            w->optReverse[std::size_t(button)]->click();
            const auto [force, centre] = own[button];
            const Signs expected = button < 4 ? Signs{force, centre, start, start}
                                              : Signs{start, start, force, centre};
            EXPECT_EQ(signs(), expected);
        }
    }
}

TEST_F(AnimWindow, F3F4AndResetHighlightTheEntryTheListsShow)
{
    struct Case {
        const char* name;
        std::function<void(frmAnimForces&)> act;
        bool delayReset, incrementReset;
    };
    const Case cases[] = {
        {"F3", [](frmAnimForces& f) { QTest::keyClick(f.cmdAnimate, Qt::Key_F3); }, true, false},
        {"F4", [](frmAnimForces& f) { QTest::keyClick(f.cmdAnimate, Qt::Key_F4); }, false, true},
        {"Reset", [](frmAnimForces& f) { f.cmdReset->click(); }, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        open();
        w->comDelay->setCurrentIndex(w->comDelay->findText("50"));
        w->Delay = 50;
        w->comIncrement->setCurrentIndex(w->comIncrement->findText("4"));
        w->Increment = 4;
        stopAtOnce();
        w->cmdAnimate_Click(); // keys are seen from the start of playback
        c.act(*w);
        const auto expectShows = [](QComboBox* list, const char* text) {
            EXPECT_EQ(list->currentText(), text) << list->accessibleName().toStdString();
            EXPECT_EQ(list->currentIndex(), list->findText(text))
                << list->accessibleName().toStdString();
        };
        expectShows(w->comDelay, c.delayReset ? "1" : "50");
        expectShows(w->comIncrement, c.incrementReset ? "1" : "4");
        EXPECT_EQ(w->Delay, c.delayReset ? 1 : 50);
        EXPECT_EQ(w->Increment, c.incrementReset ? 1 : 4);
    }
}

TEST_F(AnimWindow, AStoredDelayIsHighlightedWhenItIsAnEntry)
{
    const std::pair<const char*, int> cases[] = {{"1", 1}, {"15", 7}, {"100", 11}, {"7", -1}};
    for (const auto& [stored, entry] : cases) {
        fake.settings.values["Orvane/Startup/delay"] = stored;
        open();
        EXPECT_EQ(w->comDelay->currentText(), stored);
        EXPECT_EQ(w->comDelay->currentIndex(), entry) << stored;
        EXPECT_EQ(w->comIncrement->currentIndex(), 0) << "the increment 1";
    }
}

TEST_F(AnimWindow, NoVectorsAlwaysShowsThePath)
{
    open();
    w->cmdView_Click();
    choose(w->optView, 0, &frmAnimForces::optView_Click);
    w->chkOptions[1]->click(); // path off
    EXPECT_FALSE(w->ShowPath);
    w->chkOptions[2]->click(); // no vectors
    EXPECT_TRUE(w->chkOptions[1]->isChecked());
    EXPECT_TRUE(w->ShowPath);
    w->chkOptions[1]->click(); // undone by the same click
    EXPECT_TRUE(w->chkOptions[1]->isChecked());
    EXPECT_TRUE(w->SettingsChanged);

    w->cmdView_Click();
    EXPECT_TRUE(lines(Red).empty());
    // Records 2 to 9 each add a segment; the first and the last do not.
    EXPECT_EQ(lines(Cyan).size(), 8u);
    EXPECT_EQ(lines(Cyan).front().width, 2);
}

TEST_F(AnimWindow, NormalisingToBodyWeight)
{
    open();
    stopAtOnce();
    w->Form_Activate(); // reads the weight
    state.forces.Fx[1] = state.forces.Fy[1] = 0;
    state.forces.Fz[1] = 700;
    w->chkOptions[4]->click();
    EXPECT_NEAR(w->ForceScale, 0.0142857, 1e-7);
    w->cmdView_Click();
    const Primitive first = lines(Red).at(0);
    EXPECT_NEAR(first.to.y() - first.from.y(), 10, 1e-5);

    // A trial without a body weight keeps the scale rather than dividing by zero.
    state.forces.BodyWeight = 0;
    w->chkOptions[5]->click();
    EXPECT_NEAR(w->ForceScale, 0.0142857, 1e-7);
    w->chkOptions[4]->click();
    EXPECT_DOUBLE_EQ(w->ForceScale, 0.01);
}

TEST_F(AnimWindow, ValueBoxesTakeOnlyPositiveAnswers)
{
    open();
    w->cmdView_Click();
    struct Case {
        const char* answer;
        float expected;
    };
    for (const Case& c : {Case{"0", 1.0f}, Case{"-2", 1.0f}, Case{"twice", 1.0f}, Case{"", 1.0f},
                          Case{"1e999", 1.0f}, Case{"2,5", 2.0f}}) {
        fake.dialogs.inputAnswers = {c.answer};
        w->txtMagnify_Click();
        EXPECT_EQ(w->Magnification, c.expected) << c.answer;
    }
    EXPECT_EQ(fake.dialogs.shown.back().title, "Magnification factor");
    EXPECT_EQ(w->txtMagnify->text(), " 2.00");
    // Typing does not stick.
    w->txtMagnify->setText("9");
    EXPECT_EQ(w->txtMagnify->text(), " 2.00");

    fake.dialogs.inputAnswers = {"1.5"};
    w->txtScaleF_Click();
    EXPECT_EQ(w->VectorSize, 1.5f);
    EXPECT_EQ(fake.dialogs.shown.back().title, "Force scaling");

    fake.dialogs.inputAnswers = {"-5"};
    w->txtWeight_Click();
    EXPECT_EQ(state.forces.BodyWeight, 700.0f);
    fake.dialogs.inputAnswers = {"812.5"};
    w->txtWeight_Click();
    EXPECT_EQ(state.forces.BodyWeight, 812.5f);
    EXPECT_EQ(w->txtWeight->text(), " 812.50");
    EXPECT_TRUE(w->chkOptions[4]->isEnabled());

    w->cmdReset_Click();
    EXPECT_EQ(w->Magnification, 1.0f);
    EXPECT_EQ(w->VectorSize, 1.0f);
    EXPECT_EQ(w->txtScaleF->text(), " 1.00");
}

TEST_F(AnimWindow, AModeChoiceFromAStaticViewAnimates)
{
    open();
    w->cmdView_Click();
    stopAtOnce();
    w->optMode[0]->setChecked(true);
    w->optMode_Click(0);
    EXPECT_EQ(w->ModeIndex, 0);
    EXPECT_EQ(lines(Red).size(), 10u);
    EXPECT_TRUE(lines(Grey7).empty());
}

TEST_F(AnimWindow, RestartsFromInsideAPassDoNotNest)
{
    open();
    int depth = 0, deepest = 0, restarts = 0, lastRecord = 0;
    script = [&](int n) {
        ++depth;
        deepest = std::max(deepest, depth);
        if (w->CurrentRecord < lastRecord)
            ++restarts;
        lastRecord = w->CurrentRecord;
        if (n % 7 == 0 && n < 300) {
            w->cmdAnimate_Click();
            w->comDelay->setCurrentIndex(n % 3);
            w->comDelay_Click();
            w->Form_Activate();
        }
        if (n == 400)
            w->cmdStop_Click();
        --depth;
    };
    w->cmdAnimate_Click();
    EXPECT_EQ(deepest, 1);
    EXPECT_GT(restarts, 10);
    EXPECT_FALSE(w->isPlaying());
}

TEST_F(AnimWindow, ClosingDuringAPassEndsItAtOnce)
{
    open();
    QPointer<PictureBox> picture = w->picVectors;
    std::size_t drawnAtClose = 0;
    int yieldsAfterClose = 0;
    script = [&](int n) {
        if (n == 6) {
            w->close();
            drawnAtClose = w->picVectors->primitives().size();
        } else if (n > 6) {
            ++yieldsAfterClose;
        }
    };
    w->Form_Activate();
    EXPECT_TRUE(w->isUnloaded());
    EXPECT_EQ(yieldsAfterClose, 0);
    EXPECT_EQ(w->picVectors->primitives().size(), drawnAtClose);
    EXPECT_TRUE(fake.settings.saved.contains("Orvane/Startup/delay"));
    EXPECT_TRUE(w->isHidden());
}

TEST_F(AnimWindow, WithoutASamplingRateTimesShowZero)
{
    state.forces.SamplingRate = "";
    open();
    fake.dialogs.messageAnswers = {AnswerCancel};
    w->StepMode = true;
    w->cmdView_Click();
    EXPECT_EQ(w->txtFrameTime->text(), "    0.0000");
    EXPECT_EQ(w->txtRecordTime->text(), "    0.0000");
    EXPECT_TRUE(fake.dialogs.shown.at(0).text.contains("Time is     0.0000 s"));
}

TEST_F(AnimWindow, ATrialWithoutRecordsDrawsThePlateAndWaits)
{
    state.forces.RecordCount = 0;
    open();
    w->PlateIndex = 1;
    // Cycle mode keeps each pass's plate, so the passes can be counted.
    w->optMode[3]->setChecked(true);
    std::vector<double> passStarts;
    script = [&](int) {
        if (w->picVectors->primitives().size() > passStarts.size())
            passStarts.push_back(fake.clock.now);
        if (passStarts.size() == 3)
            w->cmdStop_Click();
    };
    w->cmdAnimate_Click();
    ASSERT_EQ(passStarts.size(), 3u);
    EXPECT_NEAR(passStarts[1] - passStarts[0], 1.0, 0.03);
    EXPECT_NEAR(passStarts[2] - passStarts[1], 1.0, 0.03);
    for (const Primitive& p : w->picVectors->primitives())
        EXPECT_EQ(p.kind, Primitive::FilledBox);
    EXPECT_EQ(w->txtFrame->text(), "0");
}

TEST_F(AnimWindow, PrintAsksFirstAndPrintsThisWindow)
{
    open();
    fake.dialogs.messageAnswers = {AnswerCancel, AnswerOK};
    w->cmdPrint_Click();
    EXPECT_TRUE(fake.printer.printed.empty());
    EXPECT_EQ(state.LastResult, AnswerCancel);
    w->cmdPrint_Click();
    ASSERT_EQ(fake.printer.printed.size(), 1u);
    EXPECT_EQ(fake.printer.printed[0].size(), w->grab().size());
    EXPECT_EQ(fake.dialogs.shown[1].title, "Confirm Printing");
}

TEST_F(AnimWindow, ResizeAndTheSmallLayout)
{
    open();
    w->Form_Resize();
    EXPECT_GE(w->width(), twipsToPixels(10000));
    EXPECT_GE(w->height(), twipsToPixels(8100));
    EXPECT_NEAR(double(w->picVectors->width()) / w->picVectors->height(), 1.5, 0.02);

    w->cmdMinimum_Click();
    const QRect picture = w->picVectors->geometry();
    EXPECT_EQ(picture.topLeft(), QPoint(3, 3));
    EXPECT_LE(w->width(), picture.width() + 14);
    w->resize(1200, 900);
    w->Form_Resize();
    EXPECT_EQ(w->picVectors->geometry(), picture);

    w->SettingsChanged = false;
    w->showMinimized();
    w->Form_Resize();
    EXPECT_FALSE(w->SettingsChanged);
    w->hide();
}

TEST(AnimateForces, OkKeepsTheWindowAndTheCloseBoxStartsAgain)
{
    SharedState state;
    FakePlatform fake;
    fillStance(state.forces, 10, 0);
    // Each activation's playback stops at once.
    fake.events.onYield = [](int) {
        if (frmAnimForces* w = animationWindow())
            w->cmdStop_Click();
    };
    showAnimation(state, fake);
    QApplication::processEvents();
    QPointer<frmAnimForces> first = animationWindow();
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->txtForces->text(), "10");

    first->optView[0]->setChecked(true);
    first->optView_Click(0);
    first->Magnification = 2.5f;
    first->Delay = 15;
    first->cmdOk_Click();
    EXPECT_FALSE(first->isVisible());
    EXPECT_EQ(fake.settings.values["Orvane/Startup/delay"], "15");
    for (const char* key : {"pitch", "roll", "yaw"})
        EXPECT_EQ(fake.settings.values[QString("Orvane/Startup/") + key], "0");

    showAnimation(state, fake);
    QApplication::processEvents();
    EXPECT_EQ(animationWindow(), first.data());
    EXPECT_EQ(first->ViewIndex, 0);
    EXPECT_EQ(first->Magnification, 2.5f);

    first->close();
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(first) << "unloaded windows are deleted";
    showAnimation(state, fake);
    QApplication::processEvents();
    frmAnimForces* second = animationWindow();
    ASSERT_TRUE(second);
    EXPECT_EQ(second->ViewIndex, 1);
    EXPECT_EQ(second->Magnification, 1.0f);
    EXPECT_EQ(second->Delay, 15);
    hideAnimation();
    EXPECT_FALSE(second->isVisible());
    closeAnimation();
    EXPECT_EQ(animationWindow(), nullptr);
}
