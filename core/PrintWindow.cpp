#include "core/PrintWindow.h"

#include "core/SharedState.h"
#include "core/WindowNotice.h"
#include "platform/FileErrors.h"
#include "platform/Platform.h"

#include <QPixmap>
#include <QStatusBar>
#include <QWidget>

QString printedWindowWords(const QString& objectName, const QString& title)
{
    static const struct {
        const char* objectName;
        const char* words;
    } known[] = {
        {"frmOrvane", "main window"}, {"frmAnimForces", "animation"},    {"frmRF", "force listing"},
        {"frmViewer", "text"},        {"frmVectorOp", "vector options"},
    };
    for (const auto& k : known) {
        if (objectName == QLatin1String(k.objectName))
            return QString::fromLatin1(k.words);
    }
    return title.trimmed().isEmpty() ? QStringLiteral("window") : title.trimmed();
}

void printWindow(QWidget* window, SharedState& state, Platform& platform,
                 const std::function<void(const QString&)>& status)
{
    if (!window)
        return;
    const QImage image = window->grab().toImage();
    const QString dir = state.DataDir.isEmpty() ? platform.files.currentDir() : state.DataDir;
    const QString pdf = printFallbackPath(
        dir, state.TrialName.toUpper(),
        printedWindowWords(window->objectName(), window->windowTitle()),
        [&platform](const QString& path) {
            const int error = platform.files.openError(path);
            return error != FileError::FileNotFound && error != FileError::PathNotFound;
        });
    const QString result = platform.printer.printImage(image, pdf);
    if (result.isEmpty())
        return;
    // A failure, with its reason, waits in a box until the user has read it.
    if (result.startsWith(QLatin1String("Could not "))) {
        platform.dialogs.message(result, {}, MessageIcon::Exclamation, MessageButtons::OK);
        return;
    }
    // A window without a status bar of its own would show the result nowhere in view.
    if (status && window->findChild<QStatusBar*>())
        status(result);
    else
        showWindowNotice(window, result);
}
