#include "main/ProgramLaunch.h"

#include "main/SharedState.h"
#include "main/frmOrvane.h"
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
} // namespace

QString couldNotStartText(const QString& program)
{
    return "Could not start " + program;
}

bool startFromWindow(frmOrvane& window, const QString& program, const QString& argumentText,
                     const QString& workingDir, WindowStyle style)
{
    const qint64 id =
        window.platform().launcher.startCommandLine(program, argumentText, workingDir, style);
    window.state().LastResult = static_cast<double>(id);
    if (id == 0)
        window.showStatus(couldNotStartText(shownName(program)));
    return id != 0;
}

bool openFromWindow(frmOrvane& window, const QString& operation, const QString& file,
                    const QString& parameters, const QString& workingDir, WindowStyle style)
{
    const int result = window.platform().launcher.shellExecute(&window, operation, file, parameters,
                                                               workingDir, style);
    window.state().LastResult = result;
    if (result <= ShellFailureLimit)
        window.showStatus(couldNotStartText(shownName(file.isEmpty() ? workingDir : file)));
    return result > ShellFailureLimit;
}

QString fileArgument(const QString& name)
{
    return joinArguments({name});
}
