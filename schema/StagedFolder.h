#pragma once

// A folder built under a temporary name beside its target (so on the same file system) and put
// in place by one rename when complete. While it is being built it is locked (flock on the
// folder itself); a folder left by a build that was killed holds no lock, and the next staging
// for the same target removes it.

#include <QString>
#include <QStringList>

namespace md::schema {

class StagedFolder {
  public:
    // Creates ".<target name>.building-XXXXXX" beside `target` (throws DemoError when it
    // cannot), after removing such folders of earlier builds that no process holds.
    explicit StagedFolder(const QString& target);
    // Removes the folder unless commit() put it in place.
    ~StagedFolder();
    StagedFolder(const StagedFolder&) = delete;
    StagedFolder& operator=(const StagedFolder&) = delete;

    const QString& path() const { return path_; }
    const QString& target() const { return target_; }

    // Links (or, across file systems, copies) the entries of `source` into the staged folder,
    // except the names in `except`; used to keep the files of a folder being replaced.
    void keepFrom(const QString& source, const QStringList& except);

    // Moves the staged folder to the target: a target that does not exist appears complete;
    // an existing one (with `replace`) is exchanged with it in one step and its old contents
    // removed afterwards. Throws DemoError when the target exists without `replace`.
    void commit(bool replace);

  private:
    QString target_;
    QString path_;
    int lockFd_ = -1;
    bool committed_ = false;
};

}  // namespace md::schema
