#include "main/PrintWindow.h"

#include "main/SharedState.h"
#include "platform/FileErrors.h"
#include "platform/Platform.h"

#include <QPixmap>
#include <QWidget>

void printWindow(QWidget* window, SharedState& state, Platform& platform,
                 const std::function<void(const QString&)>& status)
{
    if (!window)
        return;
    const QImage image = window->grab().toImage();
    const QString dir = state.DataDir.isEmpty() ? platform.files.currentDir() : state.DataDir;
    const QString name =
        window->objectName().isEmpty() ? QStringLiteral("window") : window->objectName();
    const QString pdf = printFallbackPath(dir, name, [&platform](const QString& path) {
        const int error = platform.files.openError(path);
        return error != FileError::FileNotFound && error != FileError::PathNotFound;
    });
    const QString where = platform.printer.printImage(image, pdf);
    if (!where.isEmpty() && status)
        status(where);
}
