#include "data/embedded/OpenSessions.h"

#include <fcntl.h>
#include <unistd.h>
#include <QDir>
#include <QFile>

namespace md::embedded {
namespace {

constexpr char kFileSuffix[] = ".mdf.sqlite";
// The shared-memory file's dead-man-switch lock byte, and the database file's lock bytes
// (pending, reserved and the shared range from the 1 GiB mark).
constexpr off_t kShmDeadManSwitch = 128;
constexpr off_t kLockBytes = 0x40000000;
constexpr off_t kLockByteCount = 2 + 510;

// True when another process holds a lock on bytes [start, start + length) of `path` that a
// write lock would conflict with. A file that cannot be opened is held by nobody.
bool lockedElsewhere(const QString& path, off_t start, off_t length) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    probe.l_start = start;
    probe.l_len = length;
    const bool held = ::fcntl(fd, F_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
    ::close(fd);
    return held;
}

}  // namespace

QStringList databasesOpenElsewhere(const QString& folder) {
    QStringList open;
    const QDir dir(folder);
    const QString suffix = QString::fromLatin1(kFileSuffix);
    for (const QString& name : dir.entryList({u"*"_qs + suffix}, QDir::Files, QDir::Name)) {
        const QString file = dir.filePath(name);
        if (lockedElsewhere(file + u"-shm"_qs, kShmDeadManSwitch, 1) ||
            lockedElsewhere(file, kLockBytes, kLockByteCount)) {
            open << name.left(name.size() - suffix.size());
        }
    }
    return open;
}

}  // namespace md::embedded
