#include "core/ProgramLaunch.h"

#include "core/MainWindowLink.h"
#include "core/SharedState.h"
#include "platform/ArgumentText.h"

#include <QFileInfo>

namespace
{
// The shell answers a number above 32 for a start, one of 32 or below for a failure.
constexpr int ShellFailureLimit = 32;

QString shownName(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    return name.isEmpty() ? path : name;
}

bool startedProcess(MainWindowLink& window, const QString& program, qint64 id)
{
    window.state().LastResult = static_cast<double>(id);
    if (id == 0)
        window.showStatus(couldNotStartText(shownName(program)));
    return id != 0;
}

bool openedByShell(MainWindowLink& window, const QString& file, const QString& workingDir,
                   int result)
{
    window.state().LastResult = result;
    if (result <= ShellFailureLimit)
        window.showStatus(couldNotStartText(shownName(file.isEmpty() ? workingDir : file)));
    return result > ShellFailureLimit;
}
} // namespace

QString couldNotStartText(const QString& program)
{
    return "Could not start " + program;
}

bool startFromWindow(MainWindowLink& window, const QString& program, const QString& argumentText,
                     const QString& workingDir, WindowStyle style)
{
    return startedProcess(
        window, program,
        window.platform().launcher.startCommandLine(program, argumentText, workingDir, style));
}

bool startWithArguments(MainWindowLink& window, const QString& program,
                        const QStringList& arguments, const QString& workingDir, WindowStyle style)
{
    return startedProcess(window, program,
                          window.platform().launcher.start(program, arguments, workingDir, style));
}

bool openFromWindow(MainWindowLink& window, const QString& operation, const QString& file,
                    const QString& parameters, const QString& workingDir, WindowStyle style)
{
    return openedByShell(window, file, workingDir,
                         window.platform().launcher.shellExecute(window.parentWindow(), operation,
                                                                 file, parameters, workingDir,
                                                                 style));
}

bool openWithArguments(MainWindowLink& window, const QString& operation, const QString& file,
                       const QStringList& arguments, const QString& workingDir, WindowStyle style)
{
    return openedByShell(window, file, workingDir,
                         window.platform().launcher.open(window.parentWindow(), operation, file,
                                                         arguments, workingDir, style));
}

QString fileArgument(const QString& name)
{
    return joinArguments({name});
}
