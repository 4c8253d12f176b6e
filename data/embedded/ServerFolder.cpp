#include "data/embedded/ServerFolder.h"

#include "data/backend/DbError.h"

#include <QDir>
#include <QFileInfo>

namespace md::embedded {
namespace {
const QString kSuffix = QStringLiteral(".mdf.sqlite");
}

ServerFolder::ServerFolder(const QString& serverName) {
    QString folder = serverName.mid(serverName.indexOf(u':') + 1).trimmed();
    path_ = QDir::cleanPath(QDir::current().absoluteFilePath(folder));
    if (folder.isEmpty() || !QFileInfo(path_).isDir()) {
        throw data::DbError(
            QStringLiteral("Embedded server folder '%1' does not exist.").arg(folder), 0,
            QStringLiteral("08001"), data::ErrorCategory::Connection);
    }
}

QStringList ServerFolder::databases() const {
    QStringList names;
    const QStringList files = QDir(path_).entryList({QStringLiteral("*") + kSuffix}, QDir::Files);
    for (const QString& f : files) {
        const QString name = f.left(f.size() - kSuffix.size());
        if (validName(name))
            names << name;
    }
    names.sort(Qt::CaseInsensitive);
    return names;
}

std::optional<QString> ServerFolder::fileOf(const QString& database) const {
    if (!validName(database))
        return std::nullopt;
    for (const QString& name : databases()) {
        if (name.compare(database, Qt::CaseInsensitive) == 0) {
            return QDir(path_).filePath(name + kSuffix);
        }
    }
    return std::nullopt;
}

QString ServerFolder::create(const QString& database) const {
    if (!validName(database) || isMaster(database)) {
        throw data::DbError(QStringLiteral("Incorrect syntax near '%1'.").arg(database), 102,
                            QStringLiteral("42000"), data::ErrorCategory::Syntax);
    }
    if (fileOf(database)) {
        throw data::DbError(QStringLiteral("Database '%1' already exists. Choose a different "
                                           "database name.")
                                .arg(database),
                            1801, QStringLiteral("42000"), data::ErrorCategory::Other);
    }
    return QDir(path_).filePath(database + kSuffix);
}

bool ServerFolder::validName(const QString& name) {
    if (name.isEmpty() || name.size() > 128)
        return false;
    for (QChar c : name) {
        if (!(c.isLetterOrNumber() || c == u'_' || c == u'$' || c == u'-' || c == u' ')) {
            return false;
        }
    }
    return true;
}

}  // namespace md::embedded
