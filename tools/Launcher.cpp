#include "main/Library.h"
#include "main/ProgramLaunch.h"
#include "main/SharedState.h"
#include "main/frmOrvane.h"
#include "tools/Commands.h"
#include "tools/Launch.h"

#include <QLabel>
#include <QListWidget>

QString toolPathFor(frmOrvane& window, const QString& name)
{
    return window.platform().files.resolve(window.state().ProgramDir, name);
}

bool startProgram(frmOrvane& window, const QString& program, const QString& arguments,
                  WindowStyle style)
{
    return startFromWindow(window, program, arguments, window.state().DataDir, style);
}

bool shellOpen(frmOrvane& window, const QString& file, const QString& parameters)
{
    return openFromWindow(window, "open", file, parameters, window.state().DataDir,
                          WindowStyle::NormalFocus);
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
    // The tools take their arguments in capitals; their own path keeps its case, which a
    // case-sensitive file system needs to find it.
    const bool started = shellOpen(*this, toolPath, argumentText.toUpper());
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
            startProgram(*this, NotepadProgram, fileArguments(s.ViewerFile));
        }
    }
    refreshList(*this, filOutputs);
    refreshList(*this, filForces);
    return false;
}
