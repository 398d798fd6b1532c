#include "core/Library.h"
#include "core/MainWindowLink.h"
#include "core/ProgramLaunch.h"
#include "core/SharedState.h"
#include "platform/ArgumentText.h"
#include "platform/FileErrors.h"
#include "tools/Commands.h"
#include "tools/Launch.h"
#include "tools/ToolMenus.h"

#include <QLabel>
#include <QListWidget>
#include <optional>

QString toolPathFor(MainWindowLink& window, const QString& name)
{
    return window.platform().files.resolve(window.state().ProgramDir, name);
}

namespace
{
std::optional<QString> findOnDisk(MainWindowLink& window, const QString& name)
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

QString fileOnDisk(MainWindowLink& window, const QString& name)
{
    return findOnDisk(window, name).value_or(name);
}

bool startProgram(MainWindowLink& window, const QString& program, const QStringList& arguments,
                  WindowStyle style)
{
    return startWithArguments(window, program, arguments, window.state().DataDir, style);
}

bool shellOpen(MainWindowLink& window, const QString& file, const QStringList& arguments)
{
    return openWithArguments(window, "open", file, arguments, window.state().DataDir,
                             WindowStyle::NormalFocus);
}

QStringList toolParameters(MainWindowLink& window, const QStringList& arguments)
{
    QStringList parameters;
    for (const QString& argument : arguments) {
        // Capitals would name another file on a file system that tells case apart.
        const std::optional<QString> file = findOnDisk(window, argument);
        parameters << (file ? *file : argument.toUpper());
    }
    return parameters;
}

void showCommand(MainWindowLink& window, const QString& text)
{
    window.showCommand(text);
}

void refreshList(FilePanelsLink& panels, QListWidget* list)
{
    panels.refreshFileList(list);
}

ToolMenus::ToolMenus(SharedState& state, Platform& platform, MainWindowLink& window,
                     FilePanelsLink& panels)
    : m_state(state), m_platform(platform), m_window(window), m_panels(panels)
{
}

FilePanelWidgets ToolMenus::panels()
{
    return m_panels.filePanels();
}

void ToolMenus::buildToolMenus(const MenuBar& bar)
{
    buildFileMenu(bar.mnuFile, bar.mnuExit);
    buildDataMenus(bar.mnuData, bar.mnuAnimate);
    buildModelMenu(bar.mnuModel);
    buildProgramsMenus(bar.mnuPrograms, bar.mnuSettings, bar.mnuProgHelp);
}

bool ToolMenus::RunTool()
{
    return RunTool(ToolPath, ToolSwitches, false);
}

bool ToolMenus::RunTool(const QString& toolPath, const QString& argumentText, bool offerOutput)
{
    SharedState& s = m_state;
    showCommand(m_window, runToolLabel(toolPath, argumentText));
    if (CheckOpen(s, m_platform, QString(), toolPath, 1) != 0)
        return true;
    // The tools take their arguments in capitals; their own path and the data files keep
    // their case, which a case-sensitive file system needs to find them.
    const bool started =
        shellOpen(m_window, toolPath, toolParameters(m_window, splitArgumentText(argumentText)));
    m_panels.openDialogDir() = s.DataDir;
    // Nothing started, so there is no output to offer and no new file to list.
    if (!started)
        return true;
    if (offerOutput) {
        const int answer = m_platform.dialogs.message(outputQuestion(ToolName, s.LF),
                                                      QString::fromLatin1(OutputQuestionTitle),
                                                      MessageIcon::Question, MessageButtons::YesNo);
        if (answer == AnswerYes) {
            s.ViewerFile = m_platform.files.resolve(s.DataDir, ToolName + OutputExtension);
            startProgram(m_window, NotepadProgram, fileArguments(s.ViewerFile).list);
        }
    }
    refreshList(m_panels, panels().filOutputs);
    refreshList(m_panels, panels().filForces);
    return false;
}
