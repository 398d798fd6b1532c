// Starting programs and the desktop's shell operations.

#include "platform/QtPlatform.h"

#include "platform/ArgumentText.h"
#include "platform/FileErrors.h"
#include "platform/ProgramStart.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace
{
// The Exec line of the application the desktop opens plain text with.
QString desktopTextDefault()
{
    const QString query = QStandardPaths::findExecutable("xdg-mime");
    if (query.isEmpty())
        return {};
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(query, {"query", "default", "text/plain"});
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(1000);
        return {};
    }
    const QString entry = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    if (entry.isEmpty() || entry.contains(u'/'))
        return {};
    const QString path = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, entry);
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return {};
    return desktopEntryExec(file.read(64 * 1024));
}

ProgramLookup systemLookup()
{
    return {
        [](const QString& name) { return qEnvironmentVariable(name.toLocal8Bit().constData()); },
        [](const QString& name) { return QStandardPaths::findExecutable(name); },
        &desktopTextDefault};
}


// The program named by a path, found as named or else as the single file of that
// name without regard to case; a bare name is looked for in the working directory
// first, as the suite's programs expect, then on PATH.
QString findProgram(const QString& program, const QString& workingDir)
{
    QtFileSystem files;
    if (program.contains(u'/')) {
        const QFileInfo info(program);
        return files.resolve(info.path(), info.fileName());
    }
    const QString local = files.resolve(workingDir, program);
    if (looksLikeProgram(local))
        return local;
    const QString onPath = QStandardPaths::findExecutable(program);
    return onPath.isEmpty() ? program : onPath;
}

qint64 startProcess(const QString& program, const QStringList& arguments, const QString& dir)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setWorkingDirectory(dir);
    process.setStandardInputFile(QProcess::nullDevice());
    qint64 pid = 0;
    if (!process.startDetached(&pid))
        return 0;
    return pid;
}

// The desktop gives no process for what it opens; 1 stands for "started".
constexpr qint64 OpenedByDesktop = 1;

qint64 carryOut(const StartPlan& plan)
{
    if (plan.kind == StartPlan::OpenWithDesktop)
        return QDesktopServices::openUrl(QUrl::fromLocalFile(plan.target)) ? OpenedByDesktop : 0;
    return startProcess(plan.program, plan.arguments, plan.workingDir);
}
} // namespace

// An executable file that starts as a program or a script does.
bool looksLikeProgram(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile() || !info.isExecutable())
        return false;
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && startsLikeProgram(file.read(4));
}

qint64 QtLauncher::start(const QString& program, const QStringList& arguments,
                         const QString& workingDir, WindowStyle style)
{
    if (program.isEmpty())
        return 0;
    const QString dir = workingDir.isEmpty() ? QDir::currentPath() : workingDir;
    if (isAccessoryName(program)) {
        const QList<StartPlan> plans = accessoryPlans(
            program, arguments, dir, style == WindowStyle::Maximized, systemLookup());
        for (const StartPlan& plan : plans) {
            if (const qint64 id = carryOut(plan))
                return id;
        }
        return 0;
    }
    return startProcess(findProgram(program, dir), arguments, dir);
}

int QtLauncher::open(QWidget*, const QString& operation, const QString& file,
                     const QStringList& arguments, const QString& workingDir, WindowStyle style)
{
    constexpr int Started = 33;
    constexpr int NotStarted = 2;
    // A web address (the About box's web page) opens in the desktop's browser; a
    // one-letter scheme is a drive, not an address.
    const QUrl address(file, QUrl::StrictMode);
    if (address.isValid() && address.scheme().size() > 1 && !address.isLocalFile())
        return QDesktopServices::openUrl(address) ? Started : NotStarted;
    const QString dir = workingDir.isEmpty() ? QDir::currentPath() : workingDir;
    if (!file.contains(u'/') && isAccessoryName(file))
        return start(file, arguments, dir, style) != 0 ? Started : NotStarted;

    QString target = dir;
    if (!file.isEmpty()) {
        const QFileInfo named(QDir(dir), file);
        target = QtFileSystem().resolve(named.absolutePath(), named.fileName());
    }
    const bool explore = operation.compare("explore", Qt::CaseInsensitive) == 0;
    if (!explore && looksLikeProgram(target))
        return start(target, arguments, dir, style) != 0 ? Started : NotStarted;
    if (!QFileInfo::exists(target)) {
        // A bare program name the desktop would find on its search path.
        if (!explore && !file.contains(u'/') && !QStandardPaths::findExecutable(file).isEmpty())
            return start(file, arguments, dir, style) != 0 ? Started : NotStarted;
        return NotStarted;
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(target)) ? Started : NotStarted;
}
