#include "animation/graphs/FilmWriter.h"

#include "platform/PipedProgram.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace
{
QString systemReason()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Replaces `to` in one step, as the save dialog's confirmation allowed.
bool replaceWith(const QString& from, const QString& to)
{
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}
} // namespace

FilmWriter::FilmWriter(QString ffmpeg) : m_ffmpeg(std::move(ffmpeg)) {}

FilmWriter::~FilmWriter()
{
    if (m_open)
        abort();
}

QStringList FilmWriter::ffmpegArguments(QSize size, double fps, const QString& output)
{
    return {"-hide_banner", "-loglevel", "error", "-y", "-f", "rawvideo", "-pixel_format", "bgra",
            "-video_size", QString("%1x%2").arg(size.width()).arg(size.height()), "-framerate",
            QString::number(fps, 'g', 6), "-i", "-", "-an",
            // Encoders want even sizes; the padding is black like the picture.
            "-vf", "pad=ceil(iw/2)*2:ceil(ih/2)*2", "-pix_fmt", "yuv420p", "-movflags",
            "+faststart", "-f", "mp4", output};
}

QString FilmWriter::framesFolderFor(const QString& path)
{
    const QFileInfo info(path);
    const QString base = info.dir().filePath(info.completeBaseName() + "_frames");
    QString folder = base;
    for (int n = 2; QFileInfo::exists(folder) && n < 10000; ++n)
        folder = base + "-" + QString::number(n);
    return folder;
}

QString FilmWriter::begin(const QString& path, QSize frameSize, double fps)
{
    if (frameSize.isEmpty())
        return QStringLiteral("the picture has no size");
    m_path = path;
    m_size = frameSize;
    m_frames = 0;
    const QFileInfo info(path);
    const QString dir = info.absolutePath();
    if (writesFilm()) {
        QTemporaryFile temp(dir + "/." + info.completeBaseName() + ".XXXXXX.mp4");
        temp.setAutoRemove(false);
        if (!temp.open())
            return temp.errorString();
        m_tempPath = temp.fileName();
        temp.close();
        m_open = true;
        m_program = std::make_unique<PipedProgram>();
        if (!m_program->start(m_ffmpeg, ffmpegArguments(frameSize, fps, m_tempPath))) {
            const QString reason = m_program->error();
            abort();
            return reason;
        }
        m_finalPath = path;
        return {};
    }
    m_finalPath = framesFolderFor(path);
    QTemporaryDir temp(dir + "/." + QFileInfo(m_finalPath).fileName() + ".XXXXXX");
    if (!temp.isValid())
        return temp.errorString();
    temp.setAutoRemove(false);
    m_tempPath = temp.path();
    m_open = true;
    return {};
}

QString FilmWriter::addFrame(const QImage& frame)
{
    if (!m_open)
        return QStringLiteral("the film is not open");
    QImage image = frame.size() == m_size ? frame : frame.copy(QRect(QPoint(0, 0), m_size));
    ++m_frames;
    if (writesFilm()) {
        if (image.format() != QImage::Format_RGB32)
            image = image.convertToFormat(QImage::Format_RGB32);
        const qsizetype row = qsizetype(m_size.width()) * 4;
        for (int y = 0; y < m_size.height(); ++y) {
            if (!m_program->write(reinterpret_cast<const char*>(image.constScanLine(y)), row)) {
                const QString reason = m_program->error();
                abort();
                return reason;
            }
        }
        return {};
    }
    const QString name =
        QDir(m_tempPath).filePath(QString("frame%1.png").arg(m_frames, 5, 10, QChar('0')));
    if (!image.save(name, "PNG")) {
        errno = errno ? errno : EIO;
        const QString reason = systemReason();
        abort();
        return reason;
    }
    return {};
}

QString FilmWriter::finish()
{
    if (!m_open)
        return QStringLiteral("the film is not open");
    if (writesFilm()) {
        if (!m_program->finish(10 * 60 * 1000)) {
            const QString reason = m_program->error();
            abort();
            return reason;
        }
        if (QFileInfo(m_tempPath).size() <= 0) {
            abort();
            return m_ffmpeg + " wrote no film";
        }
        if (!replaceWith(m_tempPath, m_path)) {
            const QString reason = systemReason();
            abort();
            return reason;
        }
    } else if (QFileInfo::exists(m_finalPath) || !replaceWith(m_tempPath, m_finalPath)) {
        const QString reason =
            QFileInfo::exists(m_finalPath) ? m_finalPath + " appeared meanwhile" : systemReason();
        abort();
        return reason;
    }
    m_open = false;
    m_program.reset();
    return {};
}

void FilmWriter::abort()
{
    if (m_program)
        m_program->kill();
    m_program.reset();
    if (!m_tempPath.isEmpty()) {
        if (writesFilm())
            QFile::remove(m_tempPath);
        else
            QDir(m_tempPath).removeRecursively();
    }
    m_tempPath.clear();
    m_open = false;
}
