// The environment: variables, the command line, the program's directory, the screen.

#include "platform/QtPlatform.h"

#include "platform/ArgumentText.h"
#include "platform/Twips.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>

QString QtEnvironment::variable(const QString& name)
{
    return qEnvironmentVariable(name.toLocal8Bit().constData());
}

QString QtEnvironment::argumentText()
{
    QStringList args = QCoreApplication::arguments();
    if (!args.isEmpty())
        args.removeFirst();
    return joinArguments(args);
}

QString QtEnvironment::programDir()
{
    return QCoreApplication::applicationDirPath();
}

VersionNumber QtEnvironment::version()
{
    return {ORVANE_VERSION_MAJOR, ORVANE_VERSION_MINOR, ORVANE_VERSION_PATCH};
}

QRect QtEnvironment::screenTwips()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {0, 0, pixelsToTwips(1024), pixelsToTwips(768)};
    const QRect area = screen->availableGeometry();
    return {pixelsToTwips(area.x()), pixelsToTwips(area.y()), pixelsToTwips(area.width()),
            pixelsToTwips(area.height())};
}
