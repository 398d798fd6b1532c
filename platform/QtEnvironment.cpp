// The environment: variables, the command line, the program's directory, the screen.

#include "platform/QtPlatform.h"

#include "platform/ArgumentText.h"
#include "platform/Twips.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QStringDecoder>

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

QStringList QtEnvironment::argumentsNotText()
{
    // The arguments as the program received them, byte for byte: Qt's list has already
    // turned bytes that are not text into U+FFFD.
    QFile file(QStringLiteral("/proc/self/cmdline"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<QByteArray> raw = file.readAll().split('\0');
    if (!raw.isEmpty())
        raw.removeFirst();
    QStringList notText;
    for (const QByteArray& bytes : raw) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8.decode(bytes);
        if (utf8.hasError())
            notText << text;
    }
    return notText;
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
