// Importing force plates from C3D files: Ctrl+I, the force-file list's context
// menu and .c3d files dropped on the main window open the import window; the
// force file it writes is then chosen and read like any other.

#include "core/SharedState.h"
#include "forcedata/c3d/frmImportC3D.h"
#include "main/frmOrvane.h"
#include "platform/Platform.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QListWidget>
#include <QMimeData>
#include <QShortcut>
#include <QTimer>

namespace
{

QStringList droppedC3dFiles(const QMimeData* data)
{
    QStringList files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile() && url.toLocalFile().endsWith(".c3d", Qt::CaseInsensitive))
            files << url.toLocalFile();
    return files;
}

// Takes the drops meant for the main window, wherever over it they land.
class C3dDropFilter : public QObject
{
public:
    explicit C3dDropFilter(frmOrvane* window) : QObject(window), m_window(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
            auto* drag = static_cast<QDropEvent*>(event);
            if (!droppedC3dFiles(drag->mimeData()).isEmpty()) {
                drag->acceptProposedAction();
                return true;
            }
        } else if (event->type() == QEvent::Drop) {
            auto* drop = static_cast<QDropEvent*>(event);
            const QStringList files = droppedC3dFiles(drop->mimeData());
            if (!files.isEmpty()) {
                drop->acceptProposedAction();
                // After the drop has returned, so the dragging program is free again.
                QTimer::singleShot(0, m_window, [window = m_window, files] {
                    for (const QString& file : files)
                        window->importC3D(file);
                });
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    frmOrvane* m_window;
};

} // namespace

void frmOrvane::setupImportC3D()
{
    setAcceptDrops(true);
    installEventFilter(new C3dDropFilter(this));

    auto* action = new QAction(QString::fromUtf8("Import C3D force plates \u2026"), filForces);
    action->setObjectName("mnuImportC3D");
    filForces->setContextMenuPolicy(Qt::ActionsContextMenu);
    filForces->addAction(action);
    connect(action, &QAction::triggered, this, &frmOrvane::mnuImportC3D_Click);

    auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_I), this);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, &frmOrvane::mnuImportC3D_Click);
}

void frmOrvane::mnuImportC3D_Click()
{
    FileDialogRequest request;
    request.title = "Choose a C3D file";
    request.initialDir = m_state.DataDir;
    request.filter = "C3D files (*.c3d)|*.c3d|All files (*.*)|*.*";
    request.overwritePrompt = false;
    if (const std::optional<QString> path = m_platform.dialogs.openFile(request))
        importC3D(*path);
}

frmImportC3D* frmOrvane::importC3D(const QString& path)
{
    auto* dialog = new frmImportC3D(m_state, m_platform, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    if (!dialog->Load(path)) {
        delete dialog;
        return nullptr;
    }
    connect(dialog, &frmImportC3D::imported, this, [this](const QString& name) {
        for (QListWidget* list : {filDatafiles, filModels, filForces, filOutputs})
            refreshFileList(list);
        const QList<QListWidgetItem*> items = filForces->findItems(name, Qt::MatchExactly);
        if (items.isEmpty())
            return;
        filForces->setCurrentItem(items.first());
        filForces->scrollToItem(items.first());
        filForces_Click();
        cmdReadForces_Click();
    });
    dialog->open();
    return dialog;
}
