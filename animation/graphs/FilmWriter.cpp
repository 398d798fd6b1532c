#include "animation/graphs/FilmWriter.h"

#include "platform/PipedProgram.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QtEndian>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
QString systemReason()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// The permission bits a new file or folder of the user gets: temporary names are
// private, the finished film is not.
mode_t userMode(mode_t full)
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return full & ~mask;
}

bool giveUserMode(const QString& path, mode_t full)
{
    return ::chmod(QFile::encodeName(path).constData(), userMode(full)) == 0;
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

QString FilmWriter::mp4Problem(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    const qint64 size = file.size();
    const QString cut = QStringLiteral("the film is incomplete (is the disk full?)");
    bool movieHeader = false;
    qint64 at = 0;
    while (at < size) {
        uchar head[16];
        if (!file.seek(at) || file.read(reinterpret_cast<char*>(head), 8) != 8)
            return cut;
        qint64 length = qFromBigEndian<quint32>(head);
        const QByteArray type(reinterpret_cast<const char*>(head + 4), 4);
        if (length == 1) { // a 64-bit size follows the type
            if (file.read(reinterpret_cast<char*>(head + 8), 8) != 8)
                return cut;
            length = qint64(qFromBigEndian<quint64>(head + 8));
        } else if (length == 0) { // the last box runs to the end of the file
            length = size - at;
        }
        if (length < 8 || length > size - at)
            return cut;
        movieHeader = movieHeader || type == "moov";
        at += length;
    }
    return size > 0 && movieHeader ? QString() : cut;
}

QString FilmWriter::writeFrameFile(const QString& path, const QByteArray& bytes)
{
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return systemReason();
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, std::size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            errno = n < 0 ? errno : ENOSPC;
            const QString reason = systemReason();
            ::close(fd);
            return reason;
        }
        done += n;
    }
    // A full disk may only show when the blocks are given out.
    if (::fsync(fd) != 0 && errno != EINVAL) {
        const QString reason = systemReason();
        ::close(fd);
        return reason;
    }
    if (::close(fd) != 0)
        return systemReason();
    return {};
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
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QString reason = image.save(&buffer, "PNG") ? writeFrameFile(name, png)
                                                : QStringLiteral("the picture could not be encoded");
    if (!reason.isEmpty()) {
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
        if (QString problem = mp4Problem(m_tempPath); !problem.isEmpty()) {
            const QString said = m_program->errorOutput();
            abort();
            return said.isEmpty() ? problem : problem + ": " + said;
        }
        if (!giveUserMode(m_tempPath, 0666) || !replaceWith(m_tempPath, m_path)) {
            const QString reason = systemReason();
            abort();
            return reason;
        }
    } else if (QFileInfo::exists(m_finalPath) || !giveUserMode(m_tempPath, 0777) ||
               !replaceWith(m_tempPath, m_finalPath)) {
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
