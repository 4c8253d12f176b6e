#pragma once

// A session on one ODBC connection and the forward-only results it hands out.

#include "data/backend/Backend.h"
#include "data/backend/DbError.h"
#include "data/odbc/OdbcCalls.h"
#include "data/odbc/OdbcDiagnostics.h"

#include <deque>
#include <memory>
#include <optional>

namespace md::odbc {

class OdbcResultSet;

// One statement of a batch, with the values of its placeholders.
struct StatementPiece {
    QString sql;
    std::vector<QVariant> params;
};

// A statement handle on which one piece of a batch was sent, and what the sending returned.
struct Sent {
    SQLHSTMT stmt = nullptr;
    SQLRETURN rc = SQL_SUCCESS;
    std::vector<DiagRecord> records;  // what the server answered, read before the values went
};

// The connection handles, shared by the session and every result it gave out, so that a result
// kept beyond its session still reads (or fails) safely.
struct Link {
    SQLHENV env = nullptr;
    SQLHDBC dbc = nullptr;
    bool connected = false;
    bool sqlite = false;  // the SQLite ODBC driver: one statement per call, no OUT parameters
    DiagDialect dialect = DiagDialect::Plain;
    // The result whose statement still holds the connection's cursor. Drivers serve one active
    // statement per connection, so it is read into memory before anything else runs.
    OdbcResultSet* active = nullptr;

    ~Link();
    void releaseActive();
    // Sends one piece on a fresh handle. Throws DbError when no handle is had or a value cannot
    // be bound; what the server answered is left on the handle for the caller to walk.
    Sent send(const StatementPiece& piece);
    data::DbError error(SQLSMALLINT type, SQLHANDLE handle, SQLRETURN rc, const QString& what);
};

class OdbcSession : public data::Session {
  public:
    OdbcSession(std::shared_ptr<Link> link, QString database);
    ~OdbcSession() override;

    QString databaseName() const override { return database_; }
    data::BackendQuirks quirks() const override;
    std::unique_ptr<data::ResultSet> execute(const QString& sql,
                                             const std::vector<QVariant>& params) override;
    int callProcedure(const QString& name, std::vector<data::ProcParam>& params) override;
    void beginTransaction() override;
    void commit() override;
    void rollback() override;
    bool inTransaction() const override { return inTransaction_; }

  private:
    void endTransaction(SQLSMALLINT completion);

    std::shared_ptr<Link> link_;
    QString database_;
    bool inTransaction_ = false;
};

// The statements of a batch: the whole text for a driver that takes batches, one piece per
// ';'-separated statement for the SQLite driver (placeholders counted per piece).
std::deque<StatementPiece> splitBatch(const QString& sql, const std::vector<QVariant>& params,
                                      bool split);

}  // namespace md::odbc
