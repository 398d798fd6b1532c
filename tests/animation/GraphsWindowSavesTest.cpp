// What leaves the graph window: the visible records, pictures and films, by button, key
// and menu, and nothing half written.

#include "GraphsWindowFixture.h"

namespace
{

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
