#include "tests/support/TempServer.h"

#include "data/Query.h"

#include <stdexcept>

namespace md::testing {

TempServer::TempServer() {
    if (!dir_.isValid())
        throw std::runtime_error("cannot create a temporary directory");
}

QString TempServer::serverName() const {
    return QStringLiteral("sqlite:") + dir_.path();
}

QStringList connectionParams(const QString& database, const QString& server) {
    return {QStringLiteral("DATABASE NAME=") + database, QStringLiteral("SERVER NAME=") + server,
            QStringLiteral("USER NAME=kvr"), QStringLiteral("PASSWORD=")};
}

void TempServer::createDatabase(const QString& name) {
    auto master = connect(QStringLiteral("master"), QStringLiteral("MASTER"));
    data::Query q(master.get(), {QStringLiteral("CREATE DATABASE ") + name});
    q.execSql();
}

std::unique_ptr<data::Connection> TempServer::connect(const QString& database,
                                                      const QString& name) {
    auto c = std::make_unique<data::Connection>(name);
    c->params() = connectionParams(database, serverName());
    return c;
}

}  // namespace md::testing
