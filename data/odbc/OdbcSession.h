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

// The results of one batch, read forward only. The batch is walked as SQL Server runs it: a
// statement-level error is kept in its place and the walk goes on with SQLMoreResults to the
// batch's end, so the results before and after a failed statement stay readable; the errors
// are handed out as ResultSet describes (takeErrors, or raised after the last result).
class OdbcResultSet : public data::ResultSet {
  public:
    // Sends the first piece and walks to the batch's first result; throws the batch's errors
    // when it has no result at all.
    OdbcResultSet(std::shared_ptr<Link> link, std::deque<StatementPiece> pieces);
    ~OdbcResultSet() override;

    const std::vector<data::ColumnInfo>& columns() const override;
    bool fetch(std::vector<QVariant>& row) override;
    bool nextResult() override;
    qint64 rowsAffected() const override { return rowsAffected_; }
    std::vector<data::DbError> takeErrors(ErrorScope scope) override;

    // Reads all that is left of the batch into memory and gives the connection back. Errors met
    // on the way keep their places and are handed out where the reader reaches them.
    void bufferRest();

  private:
    using Row = std::vector<QVariant>;
    // One result of the batch: a statement that returned columns.
    struct Result {
        std::vector<data::ColumnInfo> columns;
        std::vector<SQLSMALLINT> sqlTypes;
        qint64 rowsAffected = -1;
        size_t errorsBefore = 0;  // errors of the batch before this result
        bool live = false;        // its rows are still to be fetched from the statement
        std::deque<Row> rows;     // read ahead, once it is no longer live
        // The error that broke its rows off (an index into errors_): a result cut short is
        // never reported as complete.
        std::optional<size_t> cutBy;
    };
    enum class Fetched { Row, End, Cut };

    // Walks on from a step (the outcome of sending a piece, or of SQLMoreResults, with the
    // records it left) to the next result with columns, which is queued live; false when the
    // batch has ended.
    bool walk(SQLRETURN rc, std::vector<DiagRecord> records, bool sent);
    // Moves the statement past its current result and walks on; false at the batch's end.
    bool advance();
    // Sends the next piece of the batch, if it has one.
    bool sendNext(SQLRETURN& rc, std::vector<DiagRecord>& records);
    // Keeps the errors among one call's records (a failed call that left none is kept as the
    // failure of `what`); true when the walk cannot go on.
    bool keep(const std::vector<DiagRecord>& records, SQLRETURN rc, const QString& what);
    bool keepFailure(SQLRETURN rc, const QString& what);
    void endBatch();
    Fetched fetchLive(Result& result, Row& row);
    bool describe(Result& result);
    bool readRow(const Result& result, Row& row);
    [[noreturn]] void raiseUpTo(size_t end);
    void closeStatement();

    std::shared_ptr<Link> link_;
    SQLHSTMT stmt_ = nullptr;
    std::deque<StatementPiece> rest_;
    std::optional<Result> current_;
    std::deque<Result> queue_;  // results reached, not yet current; only the last may be live
    std::vector<data::DbError> errors_;
    size_t taken_ = 0;  // errors handed out by takeErrors or raised
    qint64 rowsAffected_ = -1;
    qint64 lastCount_ = -1;  // rows changed by the last statement that said
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
