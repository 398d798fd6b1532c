#include "forcedata/ExportFile.h"

#include "core/Library.h"
#include "core/SharedState.h"
#include "forcedata/ForceTableCsv.h"
#include "platform/Platform.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

std::optional<QString> askSavePath(Platform& platform, const QString& title,
                                   const QString& initialDir, const QString& fileName,
                                   const QString& filter, const QStringList& extensions)
{
    FileDialogRequest request;
    request.title = title;
    request.initialDir = initialDir;
    request.fileName = fileName;
    request.filter = filter;
    request.overwritePrompt = true;
    const std::optional<QString> chosen = platform.dialogs.saveFile(request);
    if (!chosen || chosen->trimmed().isEmpty())
        return std::nullopt;
    QString path = *chosen;
    for (const QString& extension : extensions) {
        if (path.endsWith(extension, Qt::CaseInsensitive))
            return path;
    }
    if (extensions.isEmpty())
        return path;
    // The dialog confirmed the name as typed, not the one with the extension added.
    path += extensions.first();
    if (QFileInfo::exists(path)) {
        const int answer = platform.dialogs.message(
            QDir::toNativeSeparators(path) + " already exists.\nDo you want to replace it?", title,
            MessageIcon::Exclamation, MessageButtons::YesNo);
        if (answer != AnswerYes)
            return std::nullopt;
    }
    return path;
}

QString writeWhole(const QString& path, const std::function<bool(QIODevice&)>& write)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    const bool written = write(file);
    // The last buffered bytes reach the file only here, and commit() would not say
    // when they did not.
    bool flushed = written && file.flush();
    if (written && !flushed) // a short write gives no reason; the next try meets the refusal
        flushed = file.flush();
    if (!written || !flushed || file.error() != QFileDevice::NoError) {
        const QString reason = file.error() != QFileDevice::NoError ? file.errorString() : QString();
        file.cancelWriting();
        return reason.isEmpty() || reason == QLatin1String("Unknown error")
                   ? QStringLiteral("the data could not be written")
                   : reason;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

bool writeAll(QIODevice& device, const char* data, qint64 size)
{
    qint64 done = 0;
    while (done < size) {
        const qint64 n = device.write(data + done, size - done);
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

QString writeTableCsv(const QString& path, const ForceTable& table, int first, int last,
                      const std::string& comment)
{
    std::string text = forceTableCsv(table, first, last);
    if (!comment.empty()) {
        // After the last "#" line, above the column names.
        std::size_t at = 0;
        while (at < text.size() && text[at] == '#') {
            const std::size_t end = text.find('\n', at);
            at = end == std::string::npos ? text.size() : end + 1;
        }
        text.insert(at, comment + "\n");
    }
    return writeWhole(path, [&text](QIODevice& device) {
        return writeAll(device, text.data(), qint64(text.size()));
    });
}

QString couldNotWrite(const QString& path, const QString& reason)
{
    return "Could not write " + QDir::toNativeSeparators(path) + ": " + reason;
}

bool saveNumbersAsCsv(SharedState& state, Platform& platform, int first, int last,
                      const ForceTable* table, const std::string& comment)
{
    const QString title = QString(SaveCsvCommand).remove(QStringLiteral(" …"));
    const QString base =
        state.ForceFile.isEmpty() ? QStringLiteral("forces") : GetBaseName(state.ForceFile);
    const auto path = askSavePath(platform, title, state.DataDir, base + ".csv",
                                  "CSV numbers (*.csv)|*.csv|All files (*)|*", {".csv"});
    if (!path)
        return false;
    const QString reason = writeTableCsv(*path, table ? *table : state.forces, first, last, comment);
    if (reason.isEmpty())
        return true;
    platform.dialogs.message(couldNotWrite(*path, reason), title, MessageIcon::Critical,
                             MessageButtons::OK);
    return false;
}
