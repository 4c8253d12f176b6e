#include "schema/StagedFolder.h"

#include "schema/DemoServer.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

namespace md::schema {
namespace {

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

QString prefixOf(const QFileInfo& target) {
    return u'.' + target.fileName() + u".building-"_qs;
}

// Opens a folder and takes its lock without waiting; -1 when another process holds it.
int lockFolder(const QString& path) {
    const int fd = ::open(native(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Folders of earlier builds for this target that no running build holds.
void removeAbandoned(const QFileInfo& target) {
    QDir parent = target.absoluteDir();
    const QStringList left = parent.entryList({prefixOf(target) + u'*'},
                                              QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString& name : left) {
        const QString path = parent.filePath(name);
        const int fd = lockFolder(path);
        if (fd < 0)
            continue;  // a build still running
        QDir(path).removeRecursively();
        ::close(fd);
    }
}

void linkTree(const QString& from, const QString& to) {
    const QFileInfo info(from);
    if (info.isDir() && !info.isSymLink()) {
        if (!QDir().mkpath(to))
            throw DemoError(u"Cannot create the folder %1"_qs.arg(to));
        const QDir dir(from);
        for (const QString& name :
             dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
            linkTree(dir.filePath(name), QDir(to).filePath(name));
        return;
    }
    if (::link(native(from).constData(), native(to).constData()) == 0)
        return;
    if (!QFile::copy(from, to))
        throw DemoError(u"Cannot keep %1 in the new server folder"_qs.arg(from));
}

}  // namespace

StagedFolder::StagedFolder(const QString& target) {
    const QFileInfo info(target);
    target_ = QDir::cleanPath(info.absoluteFilePath());
    const QDir parent = info.absoluteDir();
    if (!parent.exists() && !QDir().mkpath(parent.path()))
        throw DemoError(u"Cannot create the folder %1"_qs.arg(parent.path()));
    removeAbandoned(QFileInfo(target_));
    QByteArray pattern = native(parent.filePath(prefixOf(QFileInfo(target_)) + u"XXXXXX"_qs));
    if (!::mkdtemp(pattern.data()))
        throw DemoError(u"Cannot create a folder beside %1: %2"_qs.arg(
            target, QString::fromLocal8Bit(std::strerror(errno))));
    path_ = QFile::decodeName(pattern);
    // mkdtemp makes the folder private; the server gets the permissions of any new folder.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(pattern.constData(), 0777 & ~mask);
    lockFd_ = lockFolder(path_);
}

StagedFolder::~StagedFolder() {
    if (!committed_)
        QDir(path_).removeRecursively();
    if (lockFd_ >= 0)
        ::close(lockFd_);
}

void StagedFolder::keepFrom(const QString& source, const QStringList& except) {
    const QDir dir(source);
    for (const QString& name :
         dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        bool skip = false;
        for (const QString& e : except)
            skip = skip || name.startsWith(e, Qt::CaseInsensitive);
        if (!skip)
            linkTree(dir.filePath(name), QDir(path_).filePath(name));
    }
}

void StagedFolder::commit(bool replace) {
    const QByteArray from = native(path_);
    const QByteArray to = native(target_);
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0) {
        committed_ = true;
        return;
    }
    if (errno != EEXIST || !replace) {
        throw DemoError(u"Cannot move the new server into place as %1: %2"_qs.arg(
            target_, QString::fromLocal8Bit(std::strerror(errno))));
    }
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_EXCHANGE) == 0)
        return;  // the staged name now holds the old folder; the destructor removes it
    if (errno != EINVAL && errno != ENOSYS) {
        throw DemoError(u"Cannot put the new server in place of %1: %2"_qs.arg(
            target_, QString::fromLocal8Bit(std::strerror(errno))));
    }
    // A file system that cannot exchange: the old folder steps aside under a staging name (so
    // a kill between the two renames leaves it for the next build to clear), the new one in.
    QByteArray aside = native(
        QFileInfo(target_).absoluteDir().filePath(prefixOf(QFileInfo(target_)) + u"XXXXXX"_qs));
    if (!::mkdtemp(aside.data()) || ::rename(to.constData(), aside.constData()) != 0 ||
        ::rename(from.constData(), to.constData()) != 0) {
        throw DemoError(u"Cannot put the new server in place of %1: %2"_qs.arg(
            target_, QString::fromLocal8Bit(std::strerror(errno))));
    }
    committed_ = true;
    QDir(QFile::decodeName(aside)).removeRecursively();
}

}  // namespace md::schema
