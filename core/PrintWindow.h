#pragma once

// Printing a window: its image goes to the printer chosen in printer set-up or, where no
// printer is installed, to a PDF file in the data directory. The caller asks first
// (ConfirmPrint).

#include <QString>
#include <functional>

class QWidget;
struct Platform;
struct SharedState;

// Prints `window` and says how it went where the user is looking: through `status`
// when the window has a status bar of its own, else in a line over the window.
void printWindow(QWidget* window, SharedState& state, Platform& platform,
                 const std::function<void(const QString&)>& status);

// What a printed window shows, in the user's words: "main window", "animation"... for
// the program's windows, else its title, else "window".
QString printedWindowWords(const QString& objectName, const QString& title);

// A name in the data directory for the image of a window where no printer is
// installed: the trial, the window's words and a number, "WALK01 animation 1.pdf";
// the first number whose file is not `taken`, so an earlier print is never written over.
template <typename Taken>
QString printFallbackPath(const QString& dataDir, const QString& trial, const QString& words,
                          Taken taken)
{
    QString stem = trial.isEmpty() ? words : trial + u' ' + words;
    stem.replace(u'/', u'_');
    const QString base = (dataDir.endsWith(u'/') ? dataDir : dataDir + u'/') + stem + u' ';
    QString path = base + "1.pdf";
    for (int n = 2; taken(path) && n < 100000; ++n)
        path = base + QString::number(n) + ".pdf";
    return path;
}
