#pragma once

// A fresh embedded server folder in a temporary directory, so tests never share state.

#include "data/Connection.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace md::testing {

class TempServer {
  public:
    TempServer();
    // "sqlite:<folder>"
    QString serverName() const;
    QString folder() const { return dir_.path(); }
    // Creates a database (CREATE DATABASE in master).
    void createDatabase(const QString& name);
    // A connection (not yet open) to a database of this server.
    std::unique_ptr<data::Connection> connect(const QString& database,
                                              const QString& name = QStringLiteral("TEST"));

  private:
    QTemporaryDir dir_;
};

// The parameter list the program uses for a database on a server, reduced to what matters.
QStringList connectionParams(const QString& database, const QString& server);

}  // namespace md::testing
