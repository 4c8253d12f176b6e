#pragma once

// The contract between the data API (Query, Connection, StoredProc) and a database backend.
// Two backends implement it: the embedded engine (SQLite underneath, data/embedded) and SQL
// Server over ODBC (data/odbc). Statements reach a backend as the program wrote them, with
// the :Name parameters already replaced by '?' placeholders bound by position.

#include "data/backend/DbError.h"

#include <QMetaType>
#include <QString>
#include <QVariant>
#include <memory>
#include <vector>

namespace md::data {

// What a backend knows about a result column. `size` is the declared length of a text column
// (varchar(30) gives 30) or -1 when unknown; edits use it as their maximum length.
struct ColumnInfo {
    QString name;
    QMetaType::Type type = QMetaType::UnknownType;
    int size = -1;
    // Decimal, numeric and money columns (type Double, values data::Decimal): the declared
    // precision and scale; -1 for every other column.
    int precision = -1;
    int scale = -1;
    QString baseTable;   // table the column comes from, when the backend can tell
    QString baseColumn;  // column name in that table
};

// A forward-only result of one batch. A batch may hold several statements; the cursor starts on
// the first result that has columns (or on the last statement when none has) and nextResult()
// moves on. Rows are read one at a time so that a partly read result costs only what was read.
class ResultSet {
  public:
    virtual ~ResultSet() = default;
    // Columns of the current result; empty for a statement that returns no rows.
    virtual const std::vector<ColumnInfo>& columns() const = 0;
    // Reads the next row of the current result into `row` (one value per column). Values are
    // null QVariants of the column's type for NULL, otherwise qlonglong, double, data::Decimal
    // (a column with a scale), QString, QDateTime or QByteArray. Returns false at the end of
    // the current result.
    virtual bool fetch(std::vector<QVariant>& row) = 0;
    // Moves to the next result of the batch; false when there is none.
    virtual bool nextResult() = 0;
    // Rows changed by the statement that produced the current result (-1 when not known).
    virtual qint64 rowsAffected() const = 0;
    // A batch goes on after a statement-level error, and a result before an error that ended
    // it stays readable; the errors are raised after the batch's last result (the first, with
    // the later ones on DbError::laterErrors()). A caller that reports errors earlier takes
    // them here, in order, and they are then no longer raised: those of the statements that
    // ran before the current result (a caller reporting each where it happened), or all that
    // have happened so far. A backend that raises each error as it is reached hands none.
    enum class ErrorScope { BeforeCurrentResult, SoFar };
    virtual std::vector<DbError> takeErrors(ErrorScope scope) {
        (void)scope;
        return {};
    }
};

// One stored-procedure parameter. Names carry the server's '@' prefix. For an output
// parameter `value` is what is sent in (null when nothing) and holds the output afterwards;
// `type` says what type the output should have when the value sent is null.
struct ProcParam {
    QString name;
    QVariant value;
    bool output = false;
    QMetaType::Type type = QMetaType::UnknownType;
    int size = -1;  // for text outputs: the buffer size in characters (-1: backend default)
};

// The parameters that matter to a backend, taken from the NAME=value list.
struct ConnectParams {
    QString database;
    QString server;
    QString user;
    QString password;
};

// Declared differences between backends, so shared tests can adapt instead of being copied.
struct BackendQuirks {
    bool outputParameters = true;    // stored procedures can return output values
    bool reportsColumnSizes = true;  // ColumnInfo::size is filled for table columns
    bool concurrentResults = true;   // several open results on one session at once
    // Decimal columns round written values to their scale, refuse values too long for them
    // and sum exactly, as SQL Server's do.
    bool exactDecimals = true;
    // ColumnInfo::scale is filled for decimal columns (their values then arrive as Decimal).
    bool reportsDecimalScale = true;
};

// One open session on one database.
class Session {
  public:
    virtual ~Session() = default;
    virtual QString databaseName() const = 0;
    virtual BackendQuirks quirks() const = 0;

    // Runs one batch. Throws DbError with the server's message when the server refuses it.
    virtual std::unique_ptr<ResultSet> execute(const QString& sql,
                                               const std::vector<QVariant>& params) = 0;
    // Calls a stored procedure with named parameters; outputs are written back into `params`.
    // Returns the procedure's integer result value.
    virtual int callProcedure(const QString& name, std::vector<ProcParam>& params) = 0;

    virtual void beginTransaction() = 0;
    virtual void commit() = 0;
    virtual void rollback() = 0;
    virtual bool inTransaction() const = 0;
};

}  // namespace md::data
