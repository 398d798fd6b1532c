// Films of a pass written through a stand-in for ffmpeg that records its arguments and
// the frames it was sent, and the numbered pictures written where there is no ffmpeg.

#include "animation/graphs/FilmWriter.h"
#include "SampleTrial.h"
#include "animation/PictureBox.h"
#include "animation/graphs/AnimationFilm.h"
#include "animation/graphs/PassDrawing.h"
#include "fakes/FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include <cstring>
#include <sys/stat.h>

using namespace graphs;

namespace
{

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// The smallest MP4 a player takes the shape of: a file type box and a movie header box,
// as printf writes them (octal escapes).
const char* const WholeFilm = "\\000\\000\\000\\020ftypisom\\000\\000\\000\\000"
                              "\\000\\000\\000\\010moov";
// What a full disk leaves: the media box says 4096 bytes and only its head was written.
const char* const CutFilm = "\\000\\000\\000\\020ftypisom\\000\\000\\000\\000"
                            "\\000\\000\\020\\000mdat";

int modeOf(const QString& path)
{
    struct stat st{};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

struct Film : testing::Test {
    Film()
    {
        fillStance(table, 12, 2);
        drawing.increment = 1;
        drawing.plateIndex = anim::Kistler4060;
    }

    // A stand-in that keeps its arguments and input beside itself, writes `film` into
    // its last argument and ends with `exitCode`; `readsInput` false ends it at once.
    QString standIn(int exitCode, bool readsInput = true, const char* film = WholeFilm)
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
                    "printf '" + QByteArray(film) + "' > \"$last\"\n");
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
    // Upright vectors of 1000 N, 10 units at 0.01 unit a newton, standing at 5 cm steps
    // along Y: record i at Ay = 5i - 30.
    for (int i = 1; i <= 12; ++i) {
        const auto k = std::size_t(i);
        table.Fz[k] = 1000;
        table.Fy[k] = 0;
        table.Ay[k] = 5.0 * i - 30;
        table.Extra[k] = 0;
    }
    FilmWriter writer(standIn(0));
    const QString path = out.filePath("WALK01.mp4");
    const FilmResult r = write(writer, path);
    ASSERT_TRUE(r.written) << r.error.toStdString();
    EXPECT_EQ(r.path, path);
    EXPECT_EQ(contents(path).size(), 24);
    EXPECT_EQ(leftOver(), QStringList{"WALK01.mp4"});

    const QStringList args =
        QString(contents(tools.filePath("args.txt"))).split('\n', Qt::SkipEmptyParts);
    for (const QStringList& pair : {QStringList{"-f", "rawvideo"},
                                    {"-pixel_format", "bgra"},
                                    {"-video_size", "90x61"},
                                    {"-i", "-"},
                                    {"-framerate", "60"},
                                    // An encoder refuses odd sizes: padded to 90 x 62.
                                    {"-vf", "pad=ceil(iw/2)*2:ceil(ih/2)*2"}})
        EXPECT_EQ(args.value(args.indexOf(pair[0]) + 1), pair[1]) << pair[0].toStdString();
    // Written beside the target under another name, then moved into place.
    EXPECT_NE(args.last(), path);
    EXPECT_EQ(QFileInfo(args.last()).absolutePath(), QFileInfo(path).absolutePath());

    // One frame per record. The side view spans Y -40..40 over 90 pixels and height
    // 30..-5 over 61, so record 7 (Ay 5) stands at x 50.6, its vector from y 52.3 up to
    // 34.9: red in its own frame, greyed in the next, not there before.
    const QByteArray frames = contents(tools.filePath("frames.bin"));
    const qsizetype frameBytes = qsizetype(size.width()) * size.height() * 4;
    ASSERT_EQ(frames.size(), 12 * frameBytes);
    const auto pixelsAt = [&](int record, int y) {
        QList<QColor> row;
        for (int x = 49; x <= 52; ++x) {
            const auto* p = reinterpret_cast<const uchar*>(frames.constData()) +
                            (record - 1) * frameBytes + (qsizetype(y) * size.width() + x) * 4;
            row << QColor(p[2], p[1], p[0]); // bgra
        }
        return row;
    };
    EXPECT_TRUE(pixelsAt(7, 43).contains(QColor(255, 0, 0)));
    bool grey = false;
    for (const QColor& c : pixelsAt(8, 43))
        grey = grey || (c.red() == c.green() && c.green() == c.blue() && c.red() > 64);
    EXPECT_TRUE(grey);
    EXPECT_FALSE(pixelsAt(8, 43).contains(QColor(255, 0, 0)));
    EXPECT_EQ(pixelsAt(6, 43), QList<QColor>(4, QColor(0, 0, 0)));
}

TEST_F(Film, AFailedOrCancelledFilmLeavesNothingUnderTheName)
{
    struct Case {
        const char* name;
        int exitCode;
        bool readsInput;
        int cancelAt;
        bool existing;
        const char* film = WholeFilm;
    } cases[] = {{"ffmpeg fails", 1, true, 0, false},
                 {"ffmpeg fails over an existing film", 1, true, 0, true},
                 {"ffmpeg stops reading", 1, false, 0, false},
                 {"cancelled", 0, true, 3, false},
                 {"cancelled over an existing film", 0, true, 3, true},
                 {"full disk, yet ffmpeg exits 0", 0, true, 0, false, CutFilm},
                 {"full disk over an existing film", 0, true, 0, true, CutFilm}};
    for (const Case& c : cases) {
        const QString path = out.filePath("PASS.mp4");
        QFile::remove(path);
        if (c.existing) {
            QFile f(path);
            f.open(QIODevice::WriteOnly);
            f.write("earlier film");
        }
        FilmWriter writer(standIn(c.exitCode, c.readsInput, c.film));
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

TEST(FilmFile, OnlyAnMp4WhoseBoxesFillItIsWhole)
{
    QTemporaryDir dir;
    const auto box = [](const char* type, quint32 size) {
        QByteArray b(4, 0);
        qToBigEndian(size, b.data());
        return b + type + QByteArray(int(size >= 8 ? size - 8 : 0), 'x');
    };
    QByteArray large = QByteArray::fromHex("00000001") + "mdat" +
                       QByteArray::fromHex("0000000000000018") + QByteArray(8, 'x');
    struct Case {
        const char* name;
        QByteArray bytes;
        bool whole;
    } cases[] = {
        {"file type and movie header", box("ftyp", 16) + box("moov", 8), true},
        {"movie header at the end", box("ftyp", 16) + box("mdat", 40) + box("moov", 20), true},
        {"64-bit media size", box("ftyp", 16) + large + box("moov", 8), true},
        {"last box to the end of the file", box("ftyp", 16) + box("moov", 30).replace(3, 1, QByteArray(1, 0)),
         true},
        {"no movie header", box("ftyp", 16) + box("mdat", 40), false},
        {"media cut short", box("ftyp", 16) + box("moov", 8) + box("mdat", 4096).left(100), false},
        {"stray bytes after the boxes", box("ftyp", 16) + box("moov", 8) + "xyz", false},
        {"a box smaller than its head", box("ftyp", 16) + box("moov", 4), false},
        {"empty", {}, false},
    };
    for (const Case& c : cases) {
        const QString path = dir.filePath("f.mp4");
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(c.bytes);
        f.close();
        EXPECT_EQ(FilmWriter::mp4Problem(path).isEmpty(), c.whole) << c.name;
    }
}

TEST_F(Film, FilmsAndFrameFoldersTakeTheUsersModesAndAFullDiskIsSaid)
{
    struct Case {
        mode_t mask;
        int film, folder;
    } cases[] = {{022, 0644, 0755}, {027, 0640, 0750}, {002, 0664, 0775}};
    for (const Case& c : cases) {
        const mode_t before = ::umask(c.mask);
        FilmWriter film(standIn(0));
        const FilmResult a = write(film, out.filePath("A.mp4"));
        FilmWriter frames{QString()};
        const FilmResult b = write(frames, out.filePath("A.mp4"));
        ::umask(before);
        ASSERT_TRUE(a.written && b.written) << a.error.toStdString() << b.error.toStdString();
        EXPECT_EQ(modeOf(a.path), c.film) << std::oct << c.mask;
        EXPECT_EQ(modeOf(b.path), c.folder) << std::oct << c.mask;
        EXPECT_EQ(modeOf(b.path + "/frame00001.png"), c.film) << std::oct << c.mask;
        QFile::remove(a.path);
        QDir(b.path).removeRecursively();
    }

    // A device that is always full: the frame's write says so.
    EXPECT_EQ(FilmWriter::writeFrameFile("/dev/full", QByteArray(100, 'x')),
              QString::fromLocal8Bit(std::strerror(ENOSPC)));
    // Files that may not grow past 120 bytes stand for a disk that fills after a few
    // frames: no folder is left and the reason is given.
    FilmResult r;
    {
        const FileSizeLimit limit(120);
        FilmWriter frames{QString()};
        r = write(frames, out.filePath("B.mp4"));
    }
    EXPECT_FALSE(r.written);
    EXPECT_EQ(r.error, QString::fromLocal8Bit(std::strerror(EFBIG)));
    EXPECT_TRUE(leftOver().isEmpty()) << leftOver().join(' ').toStdString();
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
