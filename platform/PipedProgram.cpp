#include "platform/PipedProgram.h"

#include <QProcess>
#include <QStandardPaths>

PipedProgram::PipedProgram() : m_process(std::make_unique<QProcess>()) {}

PipedProgram::~PipedProgram()
{
    kill();
}

void PipedProgram::failed(const QString& what)
{
    const QString said = errorOutput();
    m_error = said.isEmpty() ? what : what + ": " + said;
}

bool PipedProgram::start(const QString& program, const QStringList& arguments)
{
    m_error.clear();
    m_process->setProgram(program);
    m_process->setArguments(arguments);
    m_process->setProcessChannelMode(QProcess::SeparateChannels);
    m_process->setStandardOutputFile(QProcess::nullDevice());
    m_process->start(QIODevice::ReadWrite);
    if (!m_process->waitForStarted(10000)) {
        m_error = program + " could not be started: " + m_process->errorString();
        return false;
    }
    return true;
}

bool PipedProgram::write(const char* data, qint64 size)
{
    if (m_process->state() != QProcess::Running) {
        failed(m_process->program() + " stopped");
        return false;
    }
    if (m_process->write(data, size) != size) {
        failed(m_process->program() + " stopped taking input");
        return false;
    }
    while (m_process->bytesToWrite() > 0) {
        if (!m_process->waitForBytesWritten(30000)) {
            failed(m_process->program() + " stopped taking input");
            return false;
        }
    }
    return true;
}

bool PipedProgram::finish(int timeoutMs)
{
    m_process->closeWriteChannel();
    if (m_process->state() != QProcess::NotRunning && !m_process->waitForFinished(timeoutMs)) {
        failed(m_process->program() + " did not finish");
        kill();
        return false;
    }
    if (m_process->exitStatus() != QProcess::NormalExit || m_process->exitCode() != 0) {
        failed(m_process->program() + " failed (exit status " +
               QString::number(m_process->exitCode()) + ")");
        return false;
    }
    return true;
}

QString PipedProgram::errorOutput()
{
    QString said = QString::fromLocal8Bit(m_process->readAllStandardError()).trimmed();
    return said.size() > 400 ? said.right(400) : said;
}

void PipedProgram::kill()
{
    if (m_process && m_process->state() != QProcess::NotRunning) {
        m_process->kill();
        m_process->waitForFinished(5000);
    }
}

QString findProgram(const QString& name)
{
    return QStandardPaths::findExecutable(name);
}
