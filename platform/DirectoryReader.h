#pragma once

// Reading a directory for the file panels, and the start of a file for its title.
// Both answer with the error numbers of platform/FileErrors.h.

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>

struct DirectoryContents {
    int error = 0;
    // Regular files and directories (symbolic links followed), names unsorted.
    // Hidden names (a leading dot) are left out; so are devices, pipes and sockets.
    QStringList files;
    QStringList directories;
    // The names above that are not valid text in the file system's encoding: they
    // are shown with the replacement character, and that shown text opens nothing.
    QSet<QString> untranslatable;
};

DirectoryContents readDirectory(const QString& dir);

struct FileStart {
    int error = 0;
    QByteArray bytes;
};

// At most `maxBytes` from the start of a regular file. Never blocks on a pipe or
// device: those answer "Path/File access error".
FileStart readFileStart(const QString& path, int maxBytes);

// True where two names that differ only in letter case are two files (Linux); the
// path is then shown as it is, since another case would name another folder.
bool caseSensitiveFileNames();
