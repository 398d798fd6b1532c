#include "core/SharedState.h"
#include "main/frmOrvane.h"
#include "platform/KeyboardHabits.h"
#include "platform/QtPlatform.h"
#include "platform/Twips.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Orvane");
    QApplication::setOrganizationName("Kinemora");
    setClassicFont();
    letEnterPressButtons(&app);
    QApplication::setWindowIcon(QIcon(":/orvane/orvane.png"));

    // The shared state and the platform services live for the whole run.
    static SharedState state;
    QtPlatform services;
    frmOrvane window(state, services.platform());
    return window.Run();
}
