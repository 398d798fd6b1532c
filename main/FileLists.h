#pragma once

// The rules of the file panels, apart from any window: which names a file list
// shows, how the directory list lays out a path, and what a chosen file means.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// True when `name` matches the wildcard pattern (`*` any run, `?` one character),
// letters compared without regard to case.
bool matchesPattern(QStringView name, QStringView pattern);

// The names that match any of the ";"-separated patterns, in their given order.
QStringList filesMatching(const QStringList& names, const QString& patternList);

// Sorts names as a file list shows them: without regard to case, ties by case.
void sortNames(QStringList& names);

// The mount point (from `mountPoints`) that holds `path`: the longest that is the
// path itself or one of its ancestors; "/" when none is.
QString driveOf(const QString& path, const QStringList& mountPoints);

// One line of the directory list: the drive root, each ancestor down to the
// current directory, then the current directory's sub-directories one level deeper.
struct DirectoryListEntry {
    QString text; // what the line shows
    QString path; // the directory it stands for
    int depth = 0;
    bool open = false; // the drive root, an ancestor or the current directory
};

QList<DirectoryListEntry> directoryListEntries(const QString& path, const QString& driveRoot,
                                               QStringList subdirectories);

// The text of a file's first line (up to CR or LF) as a label shows it: UTF-8
// when the bytes are valid UTF-8, else Latin-1, control characters as blanks.
QString firstLineText(const QByteArray& bytes);

// Text of a file's bytes: UTF-8 when valid, else Windows-1252 (the suite's older files).
QString textFromFileBytes(const QByteArray& bytes);

// True when another of `names` differs from `name` only in letter case: the name must
// then be shown as it is on disk, since its upper-case form names several files.
bool nameClashesByCase(const QString& name, const QStringList& names);

// The message for a name whose bytes are not text: `shown` is the name with those bytes
// as U+FFFD, lines joined by `lf`.
QString unusableNameText(const QString& shown, const QString& lf);

// The upper-case extension of an output file: everything after its first ".".
QString outputExtension(const QString& name);

// The data directory as the Path label shows it: in lower case only where letter
// case does not tell files apart.
QString pathCaption(const QString& dir, bool caseSensitive);
