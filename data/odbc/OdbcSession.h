#pragma once

// A session on one ODBC connection and the forward-only results it hands out.

#include "data/backend/Backend.h"
#include "data/backend/DbError.h"
#include "data/odbc/OdbcCalls.h"

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

// The connection handles, shared by the session and every result it gave out, so that a result
// kept beyond its session still reads (or fails) safely.
struct Link {
    SQLHENV env = nullptr;
    SQLHDBC dbc = nullptr;
    bool connected = false;
    bool sqlite = false;  // the SQLite ODBC driver: one statement per call, no OUT parameters
    // The result whose statement still holds the connection's cursor. Drivers serve one active
    // statement per connection, so it is read into memory before anything else runs.
    OdbcResultSet* active = nullptr;

    ~Link();
    void releaseActive();
    // Runs one statement on a fresh handle; throws DbError when the driver refuses it.
    SQLHSTMT run(const StatementPiece& piece);
    data::DbError error(SQLSMALLINT type, SQLHANDLE handle, SQLRETURN rc, const QString& what);
};

class OdbcResultSet : public data::ResultSet {
  public:
    // Takes over `stmt` (already executed) and the statements of the batch still to run.
    OdbcResultSet(std::shared_ptr<Link> link, SQLHSTMT stmt, std::deque<StatementPiece> rest);
    ~OdbcResultSet() override;

    const std::vector<data::ColumnInfo>& columns() const override { return columns_; }
    bool fetch(std::vector<QVariant>& row) override;
    bool nextResult() override;
    qint64 rowsAffected() const override { return rowsAffected_; }

    // Reads all that is left of the batch into memory and gives the connection back. An error
    // met on the way is kept and raised where the reader reaches it.
    void bufferRest();

  private:
    using Row = std::vector<QVariant>;
    struct Buffered {
        std::vector<data::ColumnInfo> columns;
        qint64 rowsAffected = -1;
        std::deque<Row> rows;
    };

    // Moves to the first result with columns, from the current position of the statement
    // (after SQLMoreResults when `advance`). False when the batch has no further such result.
    bool seekRows(bool advance);
    bool moreResults();
    void describe();
    void readRow(Row& row);
    void closeStatement();
    [[noreturn]] void fail(const data::DbError& error);

    std::shared_ptr<Link> link_;
    SQLHSTMT stmt_ = nullptr;
    std::deque<StatementPiece> rest_;
    std::vector<SQLSMALLINT> sqlTypes_;
    std::vector<data::ColumnInfo> columns_;
    qint64 rowsAffected_ = -1;
    bool liveRowsDone_ = false;  // the live result has no more rows
    // After bufferRest(): the rows left of the current result and the results after it.
    std::deque<Row> rows_;
    std::deque<Buffered> later_;
    // An error met while reading: raised where the data it cut short ends, that is at the end
    // of the last result's rows when it broke off a row, otherwise on the next nextResult().
    std::optional<data::DbError> failure_;
    bool failureCutsRows_ = false;
    bool readingRows_ = false;
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
