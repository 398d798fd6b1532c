#pragma once

// A film of drawn frames: an MP4 through the ffmpeg program, frames piped to it as raw
// pixels, or numbered PNG files in a new folder where there is no ffmpeg. Everything is
// written under a temporary name beside the target and moved into place at the end, so
// a failed or cancelled film leaves nothing under the chosen name.

#include <QImage>
#include <QString>
#include <QStringList>

#include <memory>

class PipedProgram;

class FilmWriter
{
public:
    // `ffmpeg`: the encoder's path, or "" for numbered PNG files.
    explicit FilmWriter(QString ffmpeg);
    ~FilmWriter(); // an unfinished film is thrown away
    FilmWriter(const FilmWriter&) = delete;
    FilmWriter& operator=(const FilmWriter&) = delete;

    // Each returns "" or the reason it failed.
    QString begin(const QString& path, QSize frameSize, double framesPerSecond);
    QString addFrame(const QImage& frame);
    QString finish();
    void abort();

    // The film, or the folder of frames, once finished.
    QString writtenPath() const { return m_finalPath; }
    bool writesFilm() const { return !m_ffmpeg.isEmpty(); }

    // The encoder's arguments for raw frames of `size` into `output`.
    static QStringList ffmpegArguments(QSize size, double framesPerSecond, const QString& output);
    // A folder name beside `path` (its name without extension, then "_frames") that is
    // not taken: "_frames-2" ... when it is.
    static QString framesFolderFor(const QString& path);
    // "" when the MP4 file's top-level boxes fill it exactly and hold the movie header,
    // else what is wrong: an encoder can exit 0 after a full disk cut the film short.
    static QString mp4Problem(const QString& path);
    // Writes `bytes` as a new file and makes sure they reached the disk.
    static QString writeFrameFile(const QString& path, const QByteArray& bytes);

private:
    QString m_ffmpeg;
    QString m_path;
    QString m_tempPath;
    QString m_finalPath;
    QSize m_size;
    int m_frames = 0;
    bool m_open = false;
    std::unique_ptr<PipedProgram> m_program;
};
