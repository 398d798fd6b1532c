// The settings store: the suite's shared .ini files.

#include "platform/QtPlatform.h"

#include "platform/FileErrors.h"
#include "platform/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringDecoder>

QtSettingsStore::QtSettingsStore(QString configDir) : m_dir(std::move(configDir))
{
    if (m_dir.isEmpty())
        m_dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

QString QtSettingsStore::fileFor(const QString& app) const
{
    return m_dir + "/kinemora/" + app + ".ini";
}

namespace
{
// Values are kept as written; text that is not UTF-8 comes from the suite's older
// programs and is read as Latin-1.
QString decodeSetting(const std::string& bytes)
{
    const QByteArray raw = QByteArray::fromStdString(bytes);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(raw);
    return utf8.hasError() ? QString::fromLatin1(raw) : text;
}

// A file already in Latin-1 gets its new value in Latin-1 where the value allows.
std::string encodeSetting(const QString& value, const std::string& file)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8.decode(QByteArray::fromStdString(file));
    bool latin1 = utf8.hasError();
    for (const QChar c : value)
        latin1 = latin1 && c.unicode() < 256;
    return latin1 ? value.toLatin1().toStdString() : value.toUtf8().toStdString();
}
} // namespace

QString QtSettingsStore::get(const QString& app, const QString& section, const QString& key,
                             const QString& defaultValue)
{
    std::string text;
    if (readWholeFile(QFile::encodeName(fileFor(app)).toStdString(), text) != FileError::None)
        return defaultValue;
    const std::optional<std::string> value =
        iniValue(text, section.toUtf8().toStdString(), key.toUtf8().toStdString());
    return value ? decodeSetting(*value) : defaultValue;
}

// Only the key's own line changes: the file is shared, and the other programs' lines,
// comments, line ends and encoding stay as they were.
void QtSettingsStore::save(const QString& app, const QString& section, const QString& key,
                           const QString& value)
{
    const QString file = fileFor(app);
    const std::string path = QFile::encodeName(file).toStdString();
    QDir().mkpath(QFileInfo(file).path());
    std::string text;
    int error = readWholeFile(path, text);
    if (error == FileError::FileNotFound) {
        error = FileError::None;
        text.clear();
    }
    if (error == FileError::None) {
        const std::optional<std::string> edited =
            iniWithValue(text, section.toUtf8().toStdString(), key.toUtf8().toStdString(),
                         encodeSetting(value, text));
        if (!edited)
            error = FileError::BadFileNameOrNumber;
        else if (*edited != text)
            error = replaceFileContents(path, *edited);
    }
    if (error != FileError::None && saveFailed) {
        saveFailed("Could not save " + key + " in " + file + ": " +
                   QString::fromStdString(fileErrorText(error)));
    }
}
