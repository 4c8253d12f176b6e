#pragma once

// Runs a compiled batch on a connection, one operation after another, and stops at each
// result: a result that nothing with side effects follows stays lazy (rows stepped as they are
// fetched); one that is followed by changes is read to its end first, so that every change of
// the batch has happened (or failed) when execute returns.

#include "data/backend/Backend.h"
#include "data/backend/DbError.h"
#include "data/embedded/BatchParser.h"
#include "data/embedded/Connection.h"

#include <QHash>
#include <deque>
#include <memory>
#include <optional>

namespace md::embedded {

struct Variable {
    QString name;
    tsql::ColumnType type;
    QVariant value;
};

// One result of a batch: either a live statement or rows read ahead.
class Cursor : public LiveReader {
  public:
    ~Cursor() override { unregister(); }
    std::vector<data::ColumnInfo> columns;
    std::vector<tsql::ColumnType> types;  // per column: decimals are read with their scale
    bool fetch(std::vector<QVariant>& row);
    // Reads all remaining rows into memory.
    void bufferAll();
    // Steps over the remaining rows without reading them, so @@ROWCOUNT counts them.
    void finish();

    StmtLease stmt;
    bool pending = false;  // a row stepped but not yet returned
    bool done = false;
    std::vector<std::vector<QVariant>> rows;
    size_t nextRow = 0;
    qint64 rowsStepped = 0;
    sqlite3* db = nullptr;
    Connection* conn = nullptr;            // set while registered as a live reader
    std::optional<data::DbError> failure;  // met while reading ahead, raised when reached

    void readRow(std::vector<QVariant>& row) const;
    void step();
    void detach() override;
    void unregister();
};

class BatchRunner : public tsql::SchemaLookup {
  public:
    BatchRunner(std::shared_ptr<Connection> conn, data::Session* session,
                std::shared_ptr<const Program> program, std::vector<QVariant> params);

    // Runs until the next result; nullptr when the batch has ended.
    std::unique_ptr<Cursor> next();
    bool finished() const { return pc_ >= program_->ops.size(); }
    bool sideEffectsAhead() const { return program_->sideEffectsFrom(pc_); }
    qint64 lastRowsAffected() const { return rowsAffected_; }
    // The errors of the batch so far, in order: statements it went on after and, last, the
    // one that ended it.
    const std::vector<data::DbError>& errors() const { return errors_; }
    // A result read ahead failed: the error is its statement's; the batch ends unless only
    // that statement did.
    void failedWhileReading(const data::DbError& e);

    std::optional<tsql::ColumnType> column(const QString& table,
                                           const QString& column) const override;
    std::optional<tsql::ColumnType> variable(const QString& name) const override;
    std::optional<bool> leadsIndex(const QString& table, const QString& column) const override;
    std::vector<std::pair<QString, tsql::ColumnType>> columns(const QString& table) const override;
    std::optional<tsql::ContainsFilter> containsFilter(const QString& source, const QString& column,
                                                       const QString& pattern,
                                                       QChar escape) const override;

  private:
    std::unique_ptr<Cursor> runSql(const Op& op);
    // The SQL to prepare for op: text translated (as an expression or a statement) and
    // wrapped, made once per catalogue generation and set of declared variables.
    QString prepared(const Op& op, const QString& text, bool expression,
                     const QString& wrapBefore = {}, const QString& wrapAfter = {});
    void bindAll(sqlite3_stmt* stmt, const Op& op);
    QVariant scalar(const QString& sql, const Op& op);
    QString variableSignature() const;
    bool condition(const Op& op);
    void selectAssign(const Op& op);
    void exec(const Op& op);
    Variable& var(const QString& name);
    void assign(Variable& v, sqlite3_stmt* stmt, int column);
    void assign(Variable& v, const QVariant& value);

    std::shared_ptr<Connection> conn_;
    data::Session* session_;
    std::shared_ptr<const Program> program_;
    std::vector<QVariant> params_;
    size_t pc_ = 0;
    QHash<QString, Variable> vars_;  // key: lower-case name with '@'
    qint64 rowsAffected_ = -1;
    std::vector<data::DbError> errors_;
    mutable bool readData_ = false;  // the translation under way consulted the data
};

class EmbeddedResultSet : public data::ResultSet {
  public:
    explicit EmbeddedResultSet(std::unique_ptr<BatchRunner> runner);
    const std::vector<data::ColumnInfo>& columns() const override;
    bool fetch(std::vector<QVariant>& row) override;
    bool nextResult() override;
    qint64 rowsAffected() const override;
    std::vector<data::DbError> takeErrors(ErrorScope scope) override;

  private:
    // Runs the batch on to its next result; buffers results that changes follow.
    void advance();

    struct Queued {
        std::unique_ptr<Cursor> cursor;
        size_t errorsBefore;  // errors of the batch before this result
    };
    std::unique_ptr<BatchRunner> runner_;
    std::deque<Queued> queue_;
    std::unique_ptr<Cursor> current_;
    size_t currentErrorsBefore_ = 0;
    size_t taken_ = 0;  // errors handed out by takeErrors or raised
    qint64 rowsAffected_ = -1;
};

}  // namespace md::embedded
