#include "docs/AboutBox.h"

#include "docs/frmAbout.h"

#include <QIcon>
#include <QLabel>
#include <QPointer>

namespace
{
// Loaded on first show; the splash only hides it, a click or its close box unloads it.
QPointer<frmAbout> about;
} // namespace

void showAbout(SharedState& state, Platform& platform, QWidget* mainWindow)
{
    if (about && about->parentWidget() != mainWindow)
        delete about;
    if (!about)
        about = new frmAbout(state, platform, mainWindow);
    QIcon icon = mainWindow ? mainWindow->windowIcon() : QIcon();
    if (icon.isNull())
        icon = QIcon(":/orvane/orvane.png");
    about->picAbout->setPixmap(icon.pixmap(32, 32));
    about->show();
    about->raise();
    about->activateWindow();
    about->Form_Activate();
}

void hideAbout()
{
    if (about)
        about->hide();
}

frmAbout* aboutWindow()
{
    return about;
}
