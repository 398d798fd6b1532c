#pragma once

// Printing a window: its image goes to the default printer or, where no printer is
// installed, to a PDF file in the data directory. The caller asks first (ConfirmPrint).

#include <QString>
#include <functional>

class QWidget;
struct Platform;
struct SharedState;

// `status` receives the line that says where a PDF went, or why nothing was printed.
void printWindow(QWidget* window, SharedState& state, Platform& platform,
                 const std::function<void(const QString&)>& status);

// A name in the data directory for the image of `windowName` where no printer is
// installed: windowName.pdf, or windowName-2.pdf ... when that is taken, so an
// earlier print is never written over. `taken` says whether a path is in use.
template <typename Taken>
QString printFallbackPath(const QString& dataDir, const QString& windowName, Taken taken)
{
    const QString base = (dataDir.endsWith(u'/') ? dataDir : dataDir + u'/') + windowName;
    QString path = base + ".pdf";
    for (int n = 2; taken(path) && n < 10000; ++n)
        path = base + "-" + QString::number(n) + ".pdf";
    return path;
}
