// Films of a pass written through a stand-in for ffmpeg that records its arguments and
// the frames it was sent, and the numbered pictures written where there is no ffmpeg.

#include "animation/graphs/FilmWriter.h"
#include "SampleTrial.h"
#include "animation/PictureBox.h"
#include "animation/graphs/AnimationFilm.h"
#include "animation/graphs/PassDrawing.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace graphs;

namespace
{

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

struct Film : testing::Test {
    Film()
    {
        fillStance(table, 12, 2);
        drawing.increment = 1;
        drawing.plateIndex = anim::Kistler4060;
    }

    // A stand-in that keeps its arguments and input beside itself, writes a film into
    // its last argument and ends with `exitCode`; `readsInput` false ends it at once.
    QString standIn(int exitCode, bool readsInput = true)
    {
        const QString path = tools.filePath("ffmpeg");
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write("#!/bin/sh\n"
                "here=$(dirname \"$0\")\n"
                "printf '%s\\n' \"$@\" > \"$here/args.txt\"\n");
        if (readsInput)
            f.write("cat > \"$here/frames.bin\"\n"
                    "for last; do :; done\n"
                    "printf film > \"$last\"\n");
        f.write(QString("echo 'stand-in says no' >&2; exit %1\n").arg(exitCode).toUtf8());
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }

    QStringList leftOver() const
    {
        return QDir(out.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    FilmResult write(FilmWriter& writer, const QString& path, int cancelAt = 0)
    {
        return writePassFilm(table, drawing, size, writer, path,
                             [cancelAt](int done, int) { return done != cancelAt; });
    }

    ForceTable table;
    PassDrawing drawing;
    QSize size{90, 61}; // odd, as a picture box can be
    QTemporaryDir tools;
    QTemporaryDir out;
};

TEST_F(Film, EveryRecordOfThePassIsPipedToFfmpegAsDrawn)
{
    FilmWriter writer(standIn(0));
    const QString path = out.filePath("WALK01.mp4");
    const FilmResult r = write(writer, path);
    ASSERT_TRUE(r.written) << r.error.toStdString();
    EXPECT_EQ(r.path, path);
    EXPECT_EQ(contents(path), "film");
    EXPECT_EQ(leftOver(), QStringList{"WALK01.mp4"});

    const QStringList args =
        QString(contents(tools.filePath("args.txt"))).split('\n', Qt::SkipEmptyParts);
    for (const QStringList& pair : {QStringList{"-f", "rawvideo"},
                                    {"-pixel_format", "bgra"},
                                    {"-video_size", "90x61"},
                                    {"-i", "-"},
                                    {"-framerate", "60"}})
        EXPECT_EQ(args.value(args.indexOf(pair[0]) + 1), pair[1]) << pair[0].toStdString();
    // Written beside the target under another name, then moved into place.
    EXPECT_NE(args.last(), path);
    EXPECT_EQ(QFileInfo(args.last()).absolutePath(), QFileInfo(path).absolutePath());

    // One frame per record of the pass, each the picture the pass shows at that record.
    const QByteArray frames = contents(tools.filePath("frames.bin"));
    const qsizetype frameBytes = qsizetype(size.width()) * size.height() * 4;
    ASSERT_EQ(frames.size(), 12 * frameBytes);
    for (int record : {1, 3, 7, 12}) {
        PictureBox expected;
        expected.resize(size);
        expected.setBackColour(Qt::black);
        drawPass(expected, table, drawing, record);
        const QImage image = expected.image().convertToFormat(QImage::Format_RGB32);
        const QByteArray want(reinterpret_cast<const char*>(image.constBits()), frameBytes);
        EXPECT_EQ(frames.mid((record - 1) * frameBytes, frameBytes), want) << record;
    }
}

TEST_F(Film, AFailedOrCancelledFilmLeavesNothingUnderTheName)
{
    struct Case {
        const char* name;
        int exitCode;
        bool readsInput;
        int cancelAt;
        bool existing;
    } cases[] = {{"ffmpeg fails", 1, true, 0, false},
                 {"ffmpeg fails over an existing film", 1, true, 0, true},
                 {"ffmpeg stops reading", 1, false, 0, false},
                 {"cancelled", 0, true, 3, false},
                 {"cancelled over an existing film", 0, true, 3, true}};
    for (const Case& c : cases) {
        const QString path = out.filePath("PASS.mp4");
        QFile::remove(path);
        if (c.existing) {
            QFile f(path);
            f.open(QIODevice::WriteOnly);
            f.write("earlier film");
        }
        FilmWriter writer(standIn(c.exitCode, c.readsInput));
        const FilmResult r = write(writer, path, c.cancelAt);
        EXPECT_FALSE(r.written) << c.name;
        EXPECT_EQ(r.cancelled, c.cancelAt > 0) << c.name;
        if (c.cancelAt == 0) {
            EXPECT_FALSE(r.error.isEmpty()) << c.name;
        }
        EXPECT_EQ(leftOver(), c.existing ? QStringList{"PASS.mp4"} : QStringList{}) << c.name;
        if (c.existing) {
            EXPECT_EQ(contents(path), "earlier film") << c.name;
        }
    }
    // An encoder that is not there says so.
    QFile::remove(out.filePath("PASS.mp4"));
    FilmWriter missing(tools.filePath("no-such-ffmpeg"));
    EXPECT_FALSE(write(missing, out.filePath("X.mp4")).error.isEmpty());
    EXPECT_TRUE(leftOver().isEmpty());
}

TEST_F(Film, WithoutFfmpegNumberedPicturesGoIntoANewFolder)
{
    QDir(out.path()).mkdir("WALK01_frames"); // taken: the next free name is used
    FilmWriter writer{QString()};
    const FilmResult r = write(writer, out.filePath("WALK01.mp4"));
    ASSERT_TRUE(r.written) << r.error.toStdString();
    EXPECT_EQ(r.path, out.filePath("WALK01_frames-2"));
    const QStringList frames = QDir(r.path).entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(frames.size(), 12);
    EXPECT_EQ(frames.first(), "frame00001.png");
    EXPECT_EQ(QImage(QDir(r.path).filePath(frames.last())).size(), size);
    EXPECT_TRUE(QDir(out.filePath("WALK01_frames")).isEmpty());
    EXPECT_EQ(leftOver().size(), 2) << leftOver().join(' ').toStdString();

    FilmWriter cancelled{QString()};
    EXPECT_TRUE(write(cancelled, out.filePath("WALK01.mp4"), 4).cancelled);
    EXPECT_EQ(leftOver().size(), 2) << leftOver().join(' ').toStdString();
}

TEST_F(Film, FrameRateFollowsTheTrialUpToSixtyAFrameASecond)
{
    struct Case {
        const char* rate;
        int increment;
        double fps;
    } cases[] = {{"50", 1, 50}, {"500", 1, 60}, {"100", 4, 25},
                 {"0", 1, 25},  {"x", 1, 25},   {"0.5", 1, 1}};
    for (const Case& c : cases) {
        table.SamplingRate = c.rate;
        EXPECT_DOUBLE_EQ(filmFramesPerSecond(table, c.increment), c.fps) << c.rate;
    }
    EXPECT_EQ(passRecordCount(table, 5), 3); // records 1, 6, 11
    table.RecordCount = 0;
    FilmWriter writer(standIn(0));
    EXPECT_FALSE(write(writer, out.filePath("E.mp4")).written);
    EXPECT_TRUE(leftOver().isEmpty());
}

} // namespace
