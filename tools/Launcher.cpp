#include "core/Library.h"
#include "main/ProgramLaunch.h"
#include "core/SharedState.h"
#include "main/frmOrvane.h"
#include "platform/ArgumentText.h"
#include "platform/FileErrors.h"
#include "tools/Commands.h"
#include "tools/Launch.h"

#include <QLabel>
#include <QListWidget>
#include <optional>

QString toolPathFor(frmOrvane& window, const QString& name)
{
    return window.platform().files.resolve(window.state().ProgramDir, name);
}

namespace
{
std::optional<QString> findOnDisk(frmOrvane& window, const QString& name)
{
    if (name.isEmpty())
        return std::nullopt;
    Platform& p = window.platform();
    const QString path = p.files.resolve(window.state().DataDir, name);
    const int error = p.files.openError(path);
    if (error == FileError::FileNotFound || error == FileError::PathNotFound)
        return std::nullopt;
    // Only the file's own name changes; a directory in front stays as written.
    return name.left(name.lastIndexOf(u'/') + 1) + path.section(u'/', -1);
}
} // namespace

QString fileOnDisk(frmOrvane& window, const QString& name)
{
    return findOnDisk(window, name).value_or(name);
}

bool startProgram(frmOrvane& window, const QString& program, const QStringList& arguments,
                  WindowStyle style)
{
    return startWithArguments(window, program, arguments, window.state().DataDir, style);
}

bool shellOpen(frmOrvane& window, const QString& file, const QStringList& arguments)
{
    return openWithArguments(window, "open", file, arguments, window.state().DataDir,
                             WindowStyle::NormalFocus);
}

QStringList toolParameters(frmOrvane& window, const QStringList& arguments)
{
    QStringList parameters;
    for (const QString& argument : arguments) {
        // Capitals would name another file on a file system that tells case apart.
        const std::optional<QString> file = findOnDisk(window, argument);
        parameters << (file ? *file : argument.toUpper());
    }
    return parameters;
}

void showCommand(frmOrvane& window, const QString& text)
{
    window.lblCommand->setText(text);
    window.lblCommand->setVisible(true);
}

void refreshList(frmOrvane& window, QListWidget* list)
{
    window.refreshFileList(list);
}

bool frmOrvane::RunTool()
{
    return RunTool(ToolPath, ToolSwitches, false);
}

bool frmOrvane::RunTool(const QString& toolPath, const QString& argumentText, bool offerOutput)
{
    SharedState& s = m_state;
    showCommand(*this, runToolLabel(toolPath, argumentText));
    if (CheckOpen(s, m_platform, QString(), toolPath, 1) != 0)
        return true;
    // The tools take their arguments in capitals; their own path and the data files keep
    // their case, which a case-sensitive file system needs to find them.
    const bool started =
        shellOpen(*this, toolPath, toolParameters(*this, splitArgumentText(argumentText)));
    dlgOpenInitialDir = s.DataDir;
    // Nothing started, so there is no output to offer and no new file to list.
    if (!started)
        return true;
    if (offerOutput) {
        const int answer = m_platform.dialogs.message(outputQuestion(ToolName, s.LF),
                                                      QString::fromLatin1(OutputQuestionTitle),
                                                      MessageIcon::Question, MessageButtons::YesNo);
        if (answer == AnswerYes) {
            s.ViewerFile = m_platform.files.resolve(s.DataDir, ToolName + OutputExtension);
            startProgram(*this, NotepadProgram, fileArguments(s.ViewerFile).list);
        }
    }
    refreshList(*this, filOutputs);
    refreshList(*this, filForces);
    return false;
}
