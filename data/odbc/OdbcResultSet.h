#pragma once

// The forward-only results of one batch on an ODBC connection.

#include "data/odbc/OdbcSession.h"

#include <deque>
#include <memory>
#include <optional>
#include <vector>

namespace md::odbc {

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

}  // namespace md::odbc
