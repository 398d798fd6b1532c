// The file system: open errors, names found without regard to case, mount points.

#include "platform/QtPlatform.h"

#include "platform/FileErrors.h"
#include "platform/ProgramStart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

int QtFileSystem::openError(const QString& path)
{
    return openForReadingError(path.toStdString());
}

QString QtFileSystem::resolve(const QString& dir, const QString& name)
{
    QDir d(dir.isEmpty() ? QDir::currentPath() : dir);
    const QString exact = d.filePath(name);
    if (name.isEmpty() || QFileInfo::exists(exact) || name.contains(u'/'))
        return exact;
    const QStringList matches =
        d.entryList({}, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    QString found;
    for (const QString& entry : matches) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0) {
            if (!found.isEmpty())
                return exact; // more than one: none is the one meant
            found = entry;
        }
    }
    return found.isEmpty() ? exact : d.filePath(found);
}

bool QtFileSystem::isProgram(const QString& path)
{
    return looksLikeProgram(path);
}

QString QtFileSystem::shortName(const QString& path)
{
    // Linux has no 8.3 names: the short name is the file's own name.
    QFileInfo info(path);
    if (!info.exists())
        return path;
    return info.fileName();
}

QStringList QtFileSystem::mountPoints()
{
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady())
            continue;
        const QString root = volume.rootPath();
        const QByteArray type = volume.fileSystemType();
        // Pseudo file systems hold no data directories.
        static const QList<QByteArray> pseudo = {
            "proc",      "sysfs",   "devtmpfs",    "devpts",  "cgroup", "cgroup2",  "securityfs",
            "debugfs",   "tracefs", "mqueue",      "pstore",  "bpf",    "configfs", "fusectl",
            "hugetlbfs", "autofs",  "binfmt_misc", "overlay", "nsfs",   "squashfs"};
        if (pseudo.contains(type) && root != "/")
            continue;
        if (!roots.contains(root))
            roots << root;
    }
    roots.removeAll("/");
    std::sort(roots.begin(), roots.end());
    roots.prepend("/");
    return roots;
}

QString QtFileSystem::currentDir()
{
    return QDir::currentPath();
}

bool QtFileSystem::setCurrentDir(const QString& dir)
{
    return !dir.isEmpty() && QDir::setCurrent(dir);
}

int QtFileSystem::rename(const QString& from, const QString& to)
{
    return renameNoReplace(from.toStdString(), to.toStdString());
}

int QtFileSystem::copy(const QString& from, const QString& to, bool replace)
{
    return copyFileBytes(from.toStdString(), to.toStdString(), replace);
}
