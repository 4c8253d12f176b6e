#include "data/odbc/OdbcBackend.h"

#include "data/odbc/ConnectionString.h"
#include "data/odbc/OdbcSession.h"

namespace md::odbc {

namespace {

// How the driver (by the name of its library) reports SQL Server's severity and state.
DiagDialect dialectOf(const QString& driverFile) {
    const QString name = driverFile.toLower();
    if (name.contains(QStringLiteral("tdsodbc")))
        return DiagDialect::FreeTds;
    if (name.contains(QStringLiteral("msodbcsql")) || name.contains(QStringLiteral("sqlncli")) ||
        name.contains(QStringLiteral("sqlsrv32")))
        return DiagDialect::Microsoft;
    return DiagDialect::Plain;
}

}  // namespace

std::unique_ptr<data::Session> openSession(const data::ConnectParams& params) {
    return openSession(params, readSettings());
}

std::unique_ptr<data::Session> openSession(const data::ConnectParams& params,
                                           const OdbcSettings& settings) {
    if (params.server.startsWith(QStringLiteral("sqlite:"), Qt::CaseInsensitive)) {
        throw data::UsageError(
            QStringLiteral("The server \"%1\" is an embedded server, not an ODBC data source.")
                .arg(params.server));
    }
    const QString connectionString = buildConnectionString(params, settings);

    auto link = std::make_shared<Link>();
    SQLRETURN rc = SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &link->env);
    if (!succeeded(rc)) {
        link->env = nullptr;
        throw errorFrom(SQL_HANDLE_ENV, nullptr, rc, QStringLiteral("SQLAllocHandle(ENV)"));
    }
    rc = SQLSetEnvAttr(link->env, SQL_ATTR_ODBC_VERSION, SQLPOINTER(SQL_OV_ODBC3), 0);
    check(rc, SQL_HANDLE_ENV, link->env, QStringLiteral("SQLSetEnvAttr"));
    rc = SQLAllocHandle(SQL_HANDLE_DBC, link->env, &link->dbc);
    if (!succeeded(rc)) {
        link->dbc = nullptr;
        throw errorFrom(SQL_HANDLE_ENV, link->env, rc, QStringLiteral("SQLAllocHandle(DBC)"));
    }
    rc = SQLSetConnectAttr(link->dbc, SQL_ATTR_LOGIN_TIMEOUT,
                           SQLPOINTER(SQLULEN(settings.loginTimeoutSeconds)), 0);
    check(rc, SQL_HANDLE_DBC, link->dbc, QStringLiteral("SQLSetConnectAttr"));

    rc = driverConnect(link->dbc, connectionString);
    if (!succeeded(rc))
        throw link->error(SQL_HANDLE_DBC, link->dbc, rc, QStringLiteral("SQLDriverConnect"));
    link->connected = true;
    link->sqlite =
        infoText(link->dbc, SQL_DBMS_NAME).contains(QStringLiteral("SQLite"), Qt::CaseInsensitive);
    link->dialect = dialectOf(infoText(link->dbc, SQL_DRIVER_NAME));
    return std::make_unique<OdbcSession>(std::move(link), params.database);
}

}  // namespace md::odbc
