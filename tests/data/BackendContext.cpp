#include "tests/data/BackendContext.h"

#include "data/Query.h"
#include "tests/support/TempServer.h"

#include <QFile>

namespace md::testing {
namespace {

BackendContext embedded() {
    BackendContext c;
    c.name = QStringLiteral("Embedded");
    c.freshDatabase = [](QTemporaryDir& dir) {
        const QString server = QStringLiteral("sqlite:") + dir.path();
        {
            data::Connection master(QStringLiteral("MASTER"));
            master.params() = connectionParams(QStringLiteral("master"), server);
            data::Query(&master, {QStringLiteral("CREATE DATABASE SHARED01")}).execSql();
        }
        auto conn = std::make_unique<data::Connection>(QStringLiteral("DMDATA"));
        conn->params() = connectionParams(QStringLiteral("SHARED01"), server);
        return conn;
    };
    return c;
}

// Debian's SQLite ODBC driver stands in for a SQL Server here: the same ODBC code paths, a
// different dialect, no output parameters.
BackendContext odbcSqlite() {
    BackendContext c;
    c.name = QStringLiteral("OdbcSqlite");
    c.quirks.outputParameters = false;
    c.quirks.exactDecimals = false;        // SQLite's own arithmetic: decimals are doubles
    c.quirks.reportsDecimalScale = false;  // the driver names the type "decimal", no scale
    c.freshDatabase = [](QTemporaryDir& dir) {
        auto conn = std::make_unique<data::Connection>(QStringLiteral("DMDATA"));
        conn->params() = connectionParams(QStringLiteral("SHARED01"),
                                          QStringLiteral("odbc:Driver=SQLite3;Database=") +
                                              dir.path() + QStringLiteral("/{database}.db"));
        return conn;
    };
    return c;
}

}  // namespace

std::vector<BackendContext> backendsUnderTest() {
    return {embedded(), odbcSqlite()};
}

}  // namespace md::testing
