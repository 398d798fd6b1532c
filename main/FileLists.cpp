#include "main/FileLists.h"
#include "core/TextBytes.h"

#include <algorithm>

namespace
{
// `name` and `pattern` already folded to one letter case.
bool matchesFolded(QStringView name, QStringView pattern)
{
    // Greedy match that backs up to the last star: linear in practice, and never
    // worse than name length times pattern length.
    qsizetype n = 0;
    qsizetype p = 0;
    qsizetype starP = -1;
    qsizetype starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}
} // namespace

bool matchesPattern(QStringView name, QStringView pattern)
{
    return matchesFolded(name.toString().toCaseFolded(), pattern.toString().toCaseFolded());
}

QStringList filesMatching(const QStringList& names, const QString& patternList)
{
    QStringList patterns;
    for (const QString& pattern : patternList.split(u';', Qt::SkipEmptyParts))
        patterns << pattern.trimmed().toCaseFolded();
    QStringList result;
    for (const QString& name : names) {
        const QString folded = name.toCaseFolded();
        for (const QString& pattern : patterns) {
            if (matchesFolded(folded, pattern)) {
                result << name;
                break;
            }
        }
    }
    return result;
}

void sortNames(QStringList& names)
{
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
}

QString driveOf(const QString& path, const QStringList& mountPoints)
{
    QString best = QStringLiteral("/");
    for (const QString& mount : mountPoints) {
        if (mount.size() <= best.size())
            continue;
        const bool holds = path == mount || (path.startsWith(mount) &&
                                             (mount.endsWith(u'/') || path[mount.size()] == u'/'));
        if (holds)
            best = mount;
    }
    return best;
}

QList<DirectoryListEntry> directoryListEntries(const QString& path, const QString& driveRoot,
                                               QStringList subdirectories)
{
    QList<DirectoryListEntry> entries;
    QString root = driveRoot.isEmpty() ? QStringLiteral("/") : driveRoot;
    if (root != path && !path.startsWith(root.endsWith(u'/') ? root : root + u'/'))
        root = QStringLiteral("/");
    entries.append({root, root, 0, true});

    QString walked = root;
    int depth = 0;
    const QStringList below = path.mid(root.size()).split(u'/', Qt::SkipEmptyParts);
    for (const QString& part : below) {
        walked = walked.endsWith(u'/') ? walked + part : walked + u'/' + part;
        entries.append({part, walked, ++depth, true});
    }

    sortNames(subdirectories);
    const QString prefix = path.endsWith(u'/') ? path : path + u'/';
    for (const QString& sub : subdirectories)
        entries.append({sub, prefix + sub, depth + 1, false});
    return entries;
}

QString textFromFileBytes(const QByteArray& bytes)
{
    return decodeText(bytes);
}

QString firstLineText(const QByteArray& bytes)
{
    qsizetype end = 0;
    while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
        ++end;
    QString text = textFromFileBytes(bytes.left(end));
    for (QChar& c : text) {
        if (c.category() == QChar::Other_Control)
            c = u' ';
    }
    return text;
}

bool nameClashesByCase(const QString& name, const QStringList& names)
{
    for (const QString& other : names) {
        if (other != name && other.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QString unusableNameText(const QString& shown, const QString& lf)
{
    return "This name is not valid text, so Orvane cannot open it:" + lf + shown + lf +
           "Rename it to use it here.";
}

QString outputExtension(const QString& name)
{
    const qsizetype dot = name.indexOf(u'.');
    return dot < 0 ? QString() : name.mid(dot + 1).toUpper();
}

QString pathCaption(const QString& dir, bool caseSensitive)
{
    return caseSensitive ? dir : dir.toLower();
}
