#include "core/Library.h"
#include "core/MainWindowLink.h"
#include "core/SharedState.h"
#include "platform/FileErrors.h"
#include "tools/Commands.h"
#include "tools/Launch.h"
#include "tools/MenuItems.h"
#include "tools/ToolMenus.h"

#include <QDir>
#include <QLabel>
#include <QListWidget>

namespace
{
constexpr const char* ModelPattern = "*.cfb";

// The error number of copying the model `source` to `title` in the data directory.
// The save dialog has confirmed replacing `chosen`; the copy replaces nothing else.
int copyModel(Platform& p, const QString& dataDir, const QString& source, const QString& chosen,
              const QString& title)
{
    // A name without an extension is no model name.
    if (title.isEmpty() || !title.contains(u'.'))
        return FileError::BadFileNameOrNumber;
    const QDir dir(dataDir);
    const QString target = QDir::cleanPath(dir.absoluteFilePath(title));
    // Copying a model onto itself would leave nothing of it.
    if (QDir::cleanPath(dir.absoluteFilePath(source)) == target)
        return FileError::FileAlreadyExists;
    const bool confirmed = QDir::cleanPath(dir.absoluteFilePath(chosen)) == target;
    return p.files.copy(source, target, confirmed);
}
} // namespace

void ToolMenus::buildModelMenu(QMenu* mnuModel)
{
    QWidget* owner = m_window.parentWindow();
    const char* items[] = {"&Select model (.CFB)", "&Copy data to model", "Add &forces to model",
                           "&View/Edit model with Notepad", "&New model"};
    for (int i = 0; i < 5; ++i) {
        mnuModelItem[i] = addMenuItem(mnuModel, items[i], itemName("mnuModel", i));
        QObject::connect(mnuModelItem[i], &QAction::triggered, owner,
                         [this, i] { mnuModel_Click(i); });
    }
    QObject::connect(mnuModel, &QMenu::aboutToShow, owner, [this] { mnuModels_Click(); });
}

void ToolMenus::mnuModels_Click()
{
    SharedState& s = m_state;
    for (int i : {1, 2, 3})
        mnuModelItem[i]->setEnabled(false);
    const auto opens = [&](const char* extension) {
        return !s.TrialName.isEmpty() &&
               CheckOpen(s, m_platform, s.DataDir, s.TrialName + extension, 0) == 0;
    };
    if (opens(".cfb")) {
        mnuModelItem[3]->setEnabled(true);
        if (opens(".dg")) {
            mnuModelItem[1]->setEnabled(true);
            if (opens(".rf"))
                mnuModelItem[2]->setEnabled(true);
        }
    }
    mnuModelItem[0]->setEnabled(true);
    mnuModelItem[4]->setEnabled(true);
}

void ToolMenus::mnuModel_Click(int index)
{
    SharedState& s = m_state;
    switch (index) {
    case 0:
        refreshList(m_panels, panels().filModels);
        panels().filModels->setVisible(true);
        panels().lblModels->setVisible(true);
        if (panels().filModels->count() == 1) {
            s.TrialName = panels().filModels->item(0)->text().section(u'.', 0, 0);
            m_window.showTrial(s.TrialName.toUpper());
        } else if (panels().filModels->count() == 0) {
            s.OpenError = static_cast<int16_t>(
                m_platform.dialogs.message("No models (.CFB files) in this directory." + s.LF +
                                               "Do you want to create a new model (.CFB) file.",
                                           {}, MessageIcon::Exclamation, MessageButtons::YesNo));
            if (s.OpenError == AnswerYes)
                mnuModel_Click(4);
        }
        break;
    case 1: {
        s.OpenError = CheckOpen(s, m_platform, s.DataDir, s.TrialName + ".dg", 1);
        if (s.OpenError != 0)
            return;
        s.OpenError = static_cast<int16_t>(m_platform.dialogs.message(
            "Do you want to rewrite the model file with information" + s.LF + "from the datafile?",
            {}, MessageIcon::Question, MessageButtons::YesNo));
        if (s.OpenError != AnswerYes)
            return;
        ToolName = "Modeler";
        ToolPath = toolPathFor(m_window, ToolName + ".exe");
        const ToolArguments arguments = modelRewriteArguments(s.TrialName);
        CommandLine = arguments.text;
        showCommand(m_window, ToolPath + CommandLine);
        startProgram(m_window, ToolPath, arguments.list);
        break;
    }
    case 2: {
        s.OpenError = CheckOpen(s, m_platform, s.DataDir, s.TrialName + ".dg", 1);
        if (s.OpenError != 0)
            return;
        ToolName = "Vesmor";
        ToolPath = toolPathFor(m_window, ToolName + ".exe");
        const ToolArguments arguments = addForcesArguments(s.TrialName);
        CommandLine = arguments.text;
        showCommand(m_window, ToolPath + CommandLine);
        startProgram(m_window, ToolPath, arguments.list);
        break;
    }
    case 3:
        ToolName = "Notepad";
        ToolPath = NotepadTool;
        s.TargetName = fileOnDisk(m_window, s.TrialName + ".cfb");
        startProgram(m_window, ToolPath, fileArguments(s.TargetName).list);
        break;
    case 4: {
        FileDialogRequest request;
        request.initialDir = m_panels.openDialogDir();
        request.fileName = ModelPattern;
        request.filter = ModelPattern;
        request.title = "Select a model file (.CFB)";
        const std::optional<QString> source = m_platform.dialogs.openFile(request);
        if (!source || source->isEmpty())
            return;
        m_platform.files.setCurrentDir(s.DataDir);
        request.initialDir = s.DataDir;
        request.fileName.clear();
        request.title = "Save as";
        request.overwritePrompt = true;
        const std::optional<QString> chosen = m_platform.dialogs.saveFile(request);
        if (!chosen || chosen->isEmpty())
            return;
        const QString title = chosen->section(u'/', -1);
        const int error = copyModel(m_platform, s.DataDir, *source, *chosen, title);
        if (error == FileError::FileAlreadyOpen) {
            m_platform.dialogs.message(CopyOpenFileText, {}, MessageIcon::Information,
                                       MessageButtons::OK);
        } else if (error != FileError::None) {
            m_platform.dialogs.message(
                copyErrorText(error, QString::fromStdString(fileErrorText(error)), s.LF), {},
                MessageIcon::Exclamation, MessageButtons::OK);
        }
        s.TrialName = title.section(u'.', 0, 0);
        m_window.showTrial(s.TrialName.toUpper());
        refreshList(m_panels, panels().filModels);
        panels().filModels->setVisible(true);
        break;
    }
    default:
        break;
    }
}
