// The settings store: the suite's shared .ini files.

#include "platform/QtPlatform.h"

#include "platform/FileErrors.h"
#include "platform/IniFile.h"
#include "platform/SharedFileEdit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QStringEncoder>

#include <optional>

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

// Some Windows editors save the file in UTF-16 with a byte-order mark. Such a file is
// edited as UTF-8 and written back in its own byte order.
enum class SettingsEncoding { Bytes, Utf16LE, Utf16BE };

SettingsEncoding settingsEncoding(const std::string& file)
{
    if (file.size() >= 2 && file[0] == '\xFF' && file[1] == '\xFE')
        return SettingsEncoding::Utf16LE;
    if (file.size() >= 2 && file[0] == '\xFE' && file[1] == '\xFF')
        return SettingsEncoding::Utf16BE;
    return SettingsEncoding::Bytes;
}

std::string fromUtf8Text(const std::string& text, SettingsEncoding encoding)
{
    if (encoding == SettingsEncoding::Bytes)
        return text;
    const QString decoded = QString::fromUtf8(text);
    QStringEncoder encoder(encoding == SettingsEncoding::Utf16LE ? QStringEncoder::Utf16LE
                                                                 : QStringEncoder::Utf16BE,
                           QStringEncoder::Flag::Stateless);
    const QByteArray bom = encoding == SettingsEncoding::Utf16LE ? "\xFF\xFE" : "\xFE\xFF";
    return (bom + QByteArray(encoder.encode(decoded))).toStdString();
}

// The file as UTF-8 text, or nullopt when its UTF-16 is broken and a rewrite would
// change bytes the save has no business with.
std::optional<std::string> asUtf8Text(const std::string& file, SettingsEncoding encoding)
{
    if (encoding == SettingsEncoding::Bytes)
        return file;
    QStringDecoder decoder(encoding == SettingsEncoding::Utf16LE ? QStringDecoder::Utf16LE
                                                                 : QStringDecoder::Utf16BE,
                           QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(QByteArray::fromStdString(file.substr(2)));
    if (decoder.hasError() || file.size() % 2 != 0)
        return std::nullopt;
    std::string utf8 = text.toUtf8().toStdString();
    if (fromUtf8Text(utf8, encoding) != file)
        return std::nullopt;
    return utf8;
}
} // namespace

QString QtSettingsStore::get(const QString& app, const QString& section, const QString& key,
                             const QString& defaultValue)
{
    std::string file;
    if (readWholeFile(QFile::encodeName(fileFor(app)).toStdString(), file) != FileError::None)
        return defaultValue;
    const std::optional<std::string> text = asUtf8Text(file, settingsEncoding(file));
    if (!text)
        return defaultValue;
    const std::optional<std::string> value =
        iniValue(*text, section.toUtf8().toStdString(), key.toUtf8().toStdString());
    return value ? decodeSetting(*value) : defaultValue;
}

// Only the key's own line changes: the file is shared, and the other programs' lines,
// comments, line ends and encoding stay as they were. Lines that a sibling program
// writes meanwhile are kept too.
void QtSettingsStore::save(const QString& app, const QString& section, const QString& key,
                           const QString& value)
{
    const QString file = fileFor(app);
    const std::string path = QFile::encodeName(file).toStdString();
    QDir().mkpath(QFileInfo(file).path());
    const int error = editSharedFile(path, [&](const std::string& bytes, std::string& edited) {
        const SettingsEncoding encoding = settingsEncoding(bytes);
        const std::optional<std::string> text = asUtf8Text(bytes, encoding);
        if (!text)
            return FileError::BadFileNameOrNumber;
        const std::optional<std::string> changed =
            iniWithValue(*text, section.toUtf8().toStdString(), key.toUtf8().toStdString(),
                         encodeSetting(value, *text));
        if (!changed)
            return FileError::BadFileNameOrNumber;
        edited = *changed == *text ? bytes : fromUtf8Text(*changed, encoding);
        return FileError::None;
    });
    if (error != FileError::None && saveFailed) {
        saveFailed("Could not save " + key + " in " + file + ": " +
                   QString::fromStdString(fileErrorText(error)));
    }
}
