#include "animation/AnimateForces.h"

#include "animation/frmAnimForces.h"

#include <QApplication>
#include <QPointer>
#include <QStatusBar>

namespace
{

// The one animation window of the program, while it is loaded.
QPointer<frmAnimForces>& loadedWindow()
{
    static QPointer<frmAnimForces> window;
    return window;
}

QWidget* mainWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->inherits("frmOrvane"))
            return w;
    }
    return nullptr;
}

void showMainWindow()
{
    if (QWidget* w = mainWindow()) {
        w->show();
        w->raise();
        w->activateWindow();
    }
}

void showStatus(const QString& text)
{
    if (QWidget* w = mainWindow()) {
        if (auto* bar = w->findChild<QStatusBar*>())
            bar->showMessage(text, 10000);
    }
}

} // namespace

frmAnimForces* animationWindow()
{
    frmAnimForces* w = loadedWindow();
    return w && !w->isUnloaded() ? w : nullptr;
}

void showAnimation(SharedState& state, Platform& platform)
{
    frmAnimForces* w = animationWindow();
    if (!w) {
        w = new frmAnimForces(state, platform);
        w->setAttribute(Qt::WA_QuitOnClose, false);
        w->setDeleteWhenUnloaded(true);
        QObject::connect(w, &frmAnimForces::mainWindowWanted, &showMainWindow);
        QObject::connect(w, &frmAnimForces::statusMessage, &showStatus);
        loadedWindow() = w;
    }
    w->hide();
    w->show();
    w->raise();
    w->activateWindow();
    // Activation starts the playback once control is back in the event loop, so the
    // command that opened the window finishes first; a window-system activation that
    // comes sooner does the same and this call then finds nothing left to do.
    w->requestActivation();
}

void hideAnimation()
{
    if (frmAnimForces* w = animationWindow())
        w->hide();
}

void closeAnimation()
{
    frmAnimForces* w = loadedWindow();
    if (!w)
        return;
    w->close();
    if (!w->isBusy())
        delete w;
}
