#pragma once

// A program started with an argument list (never through a shell) that is fed through
// its standard input and waited for: the film encoder. Writes wait until the program
// has taken the bytes, so a long film never piles up in memory.

#include <QString>
#include <QStringList>

#include <memory>

class QProcess;

class PipedProgram
{
public:
    PipedProgram();
    ~PipedProgram(); // a program still running is killed
    PipedProgram(const PipedProgram&) = delete;
    PipedProgram& operator=(const PipedProgram&) = delete;

    // False (with error()) when the program cannot be started.
    bool start(const QString& program, const QStringList& arguments);
    // False when the program stopped taking input.
    bool write(const char* data, qint64 size);
    // Closes the input and waits for the end; true for an exit status of 0.
    bool finish(int timeoutMs);
    void kill();
    // What went wrong, with what the program said on its error output.
    QString error() const { return m_error; }
    // What a finished program said on its error output, even when it exited 0.
    QString errorOutput();

private:
    void failed(const QString& what);

    std::unique_ptr<QProcess> m_process;
    QString m_error;
};

// The full path of a program on PATH, or "".
QString findProgram(const QString& name);
