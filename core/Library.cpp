#include "core/Library.h"

#include "core/NumberText.h"
#include "core/SharedState.h"
#include "platform/ArgumentText.h"
#include "platform/DirectoryReader.h"
#include "platform/FileErrors.h"
#include "platform/Platform.h"

namespace
{
bool isSeparator(QChar c)
{
    return c == u'\\' || c == u'/';
}

qsizetype lastSeparator(const QString& path)
{
    return std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
}
} // namespace

QStringList splitCommandLine(const QString& text, int maximum)
{
    QStringList arguments;
    bool inArgument = false;
    bool inQuotes = false;
    for (const QChar c : text) {
        if (c == u'"') {
            if (!inQuotes) {
                inQuotes = true;
            } else {
                inQuotes = false;
                inArgument = false;
            }
            continue;
        }
        if ((c != u' ' && c != u'\t') || (c == u' ' && inQuotes)) {
            if (!inArgument) {
                if (arguments.size() >= maximum)
                    break;
                arguments << QString();
                inArgument = true;
            }
            arguments.last() += c;
        } else {
            inArgument = false;
        }
    }
    return arguments;
}

QStringList ParseCommandLine(SharedState& state, Platform& platform, int maximum)
{
    state.TargetName.clear();
    const QString text = platform.env.argumentText();
    const QStringList arguments = splitCommandLine(text, maximum);
    // A name with a double quote or blanks in it, given as one argument or several, is
    // taken whole when it names a file that is there.
    const QString whole = splitArgumentText(text).join(u' ');
    if (!whole.isEmpty() && !whole.startsWith(u'-') &&
        platform.files.openError(whole) != FileError::FileNotFound &&
        platform.files.openError(whole) != FileError::PathNotFound) {
        state.TargetName = whole;
        return arguments;
    }
    for (const QString& argument : arguments) {
        // On Linux "/" also begins an absolute path: such an argument is a switch only
        // when it names nothing that exists.
        const bool isPath = argument.startsWith(u'/') &&
                            platform.files.openError(argument) != FileError::FileNotFound &&
                            platform.files.openError(argument) != FileError::PathNotFound;
        if (!argument.isEmpty() && argument[0] != u'-' && (argument[0] != u'/' || isPath)) {
            state.TargetName = argument;
            break;
        }
        state.DataDir = platform.files.currentDir();
    }
    return arguments;
}

QString StripExtension(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot <= 0)
        return name;
    return name.left(dot);
}

QString GetExtension(const QString& name)
{
    return name.mid(name.lastIndexOf(u'.') + 1);
}

QString GetBaseName(const QString& path)
{
    const QString stripped = StripExtension(path);
    const qsizetype cut = std::max(lastSeparator(stripped), stripped.lastIndexOf(u':'));
    return stripped.mid(cut + 1);
}

QString GetDirectory(const QString& path)
{
    if (path.isEmpty())
        return NoDirectory;
    if (path.size() == 1)
        return isSeparator(path[0]) ? path : NoDirectory;
    if (path.size() == 2 && path[1] == u':')
        return path.left(1) + ":\\";
    const qsizetype slash = lastSeparator(path);
    if (slash > 0)
        return path.left(slash);
    // "/name" lies in the root of a Linux file system; "\name" names no drive.
    if (slash == 0 && path[0] == u'/')
        return QStringLiteral("/");
    return NoDirectory;
}

int16_t CheckOpen(SharedState& state, Platform& platform, const QString& directory,
                  const QString& file, int16_t showMessage)
{
    QString path = directory;
    if (!directory.isEmpty() && !isSeparator(directory.back()))
        path += u'/';
    path += file;
    int error = FileError::BadFileNameOrNumber;
    QString resolved;
    if (!file.isEmpty()) {
        resolved = platform.files.resolve(directory, file);
        error = platform.files.openError(resolved);
    }
    if (error != 0 && showMessage != 0) {
        // The path as it is on disk: where letter case tells files apart, an upper-case
        // path names a file that is not there.
        const qsizetype slash = lastSeparator(path);
        const QString named = path.mid(slash + 1);
        const QString onDisk = resolved.mid(lastSeparator(resolved) + 1);
        if (!resolved.isEmpty() && onDisk.compare(named, Qt::CaseInsensitive) == 0)
            path = path.left(slash + 1) + onDisk;
        if (!caseSensitiveFileNames())
            path = path.toUpper();
        platform.dialogs.message("Error opening file: " + path + state.LF + state.LF +
                                     u'"' + QString::fromStdString(fileErrorText(error)) + "\"  (" +
                                     QString::number(error) + ")",
                                 {}, MessageIcon::Exclamation, MessageButtons::OK);
    }
    return static_cast<int16_t>(error);
}

QString FormatField(double value)
{
    return QString::fromStdString(formatField(value));
}

void LoadStartupSettings(SharedState& state, Platform& platform)
{
    state.ProgramDir =
        platform.settings.get("Kinemora", "Startup", "Progdir", platform.env.programDir());
    state.DataDir =
        platform.settings.get("Kinemora", "Startup", "Datadir", platform.files.currentDir());
}

bool ConfirmPrint(SharedState& state, Platform& platform)
{
    const int answer =
        platform.dialogs.message("Press OK to print form or Cancel.", "Confirm Printing",
                                 MessageIcon::Question, MessageButtons::OKCancel);
    state.LastResult = answer;
    return answer != AnswerCancel;
}

QString GetShortName(Platform& platform, const QString& path)
{
    const QString shortName = platform.files.shortName(path);
    return shortName.isEmpty() ? path : shortName;
}
