#pragma once

// The folder that is an embedded server: one SQLite file per database, named
// <Name>.mdf.sqlite with the case of CREATE DATABASE; names are matched without regard to case.

#include <QString>
#include <QStringList>
#include <optional>

namespace md::embedded {

class ServerFolder {
  public:
    // `serverName` is "sqlite:<folder>"; throws a Connection error when the folder is missing.
    explicit ServerFolder(const QString& serverName);
    const QString& path() const { return path_; }

    // Names of the databases present, in the case they were created with, sorted.
    QStringList databases() const;
    // The file of a database, nullopt when there is none.
    std::optional<QString> fileOf(const QString& database) const;
    // Creates the file for a new database (error 1801 when it exists); returns its path.
    QString create(const QString& database) const;

    // True for a name that can be a database (letters, digits, '_', '$', '-', ' '), so that a
    // name never reaches outside the folder.
    static bool validName(const QString& name);

  private:
    QString path_;
};

inline bool isMaster(const QString& database) {
    return database.compare(QLatin1StringView("master"), Qt::CaseInsensitive) == 0;
}

}  // namespace md::embedded
