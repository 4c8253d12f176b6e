#pragma once

// Splits a T-SQL batch into statements (no semicolons needed) and compiles its control flow
// (IF [NOT] EXISTS / ELSE, BEGIN ... END, DECLARE, SET, SELECT @v =, EXEC, PRINT, transaction
// statements) into a flat list of operations with jumps, which the runner steps through and
// can pause at a result.

#include "data/embedded/SqlTypes.h"

#include <QString>
#include <cstddef>
#include <vector>

namespace md::embedded {

enum class OpKind {
    Sql,           // a data statement for the translator
    Ddl,           // a schema statement
    Declare,       // DECLARE @v type, ...
    SetVar,        // SET @v = expr
    SelectAssign,  // SELECT @v = expr, ... [FROM ...]
    Exec,          // EXEC [@rc =] proc args
    Print,
    BeginTran,
    Commit,
    Rollback,
    Use,
    JumpIfFalse,  // condition: [NOT] EXISTS (subquery) or an expression
    Jump,
    Ignore,  // SET NOCOUNT ON and the like
};

// The translation of an operation's text and how its SQLite parameters are bound, made for
// one catalogue generation and one set of declared variables and kept while both hold.
struct PreparedOp {
    bool valid = false;
    quint64 generation = 0;
    QString variables;  // the declared variables and their types when it was made
    // A translation that read the data (a contained-text index's counts) holds only while the
    // data is as it was then.
    // One made inside a transaction is used once: a rollback takes back rows without a trace
    // in the stamp.
    bool readsData = false;
    bool inTransaction = false;
    quint64 dataStamp = 0;
    QString sql;
    // The translator's type of each result column (empty when not a SELECT).
    std::vector<tsql::ColumnType> columns;
    // Per SQLite parameter (index - 1): >= 0 the ordinal of a '?' of the operation, < 0 the
    // variable names[-1 - slot]. Filled on the first bind.
    bool planned = false;
    std::vector<int> bindings;
    std::vector<QString> names;
};

struct Op {
    OpKind kind = OpKind::Ignore;
    QString text;          // statement, expression or subquery
    int paramBase = 0;     // index of the first '?' of this operation in the batch
    int placeholders = 0;  // the '?' markers in text
    int target = -1;       // jumps
    bool negate = false;
    bool exists = false;
    std::vector<std::pair<QString, QString>> assigns;  // SelectAssign: variable, expression
    std::vector<std::pair<QString, TypeSpec>> decls;   // Declare
    // Sql: the statement starts with SELECT (may return rows) / its INSERT target.
    bool select = false;
    QString insertTarget;
    // Filled by the runner: a compiled batch is cached per connection and run again.
    mutable PreparedOp prepared;
};

struct Program {
    std::vector<Op> ops;
    // True when an operation at or after `from` changes data, schema, variables or
    // transactions (a pending result must then be read to its end first). Constant time: the
    // runner asks after every result.
    bool sideEffectsFrom(size_t from) const {
        return lastSideEffect >= 0 && from <= size_t(lastSideEffect);
    }
    // The last operation with a side effect, -1 when none has one (set by compileBatch).
    std::ptrdiff_t lastSideEffect = -1;
};

Program compileBatch(const QString& sql);

// Counts '?' placeholders in a text.
int countPlaceholders(const QString& text);

}  // namespace md::embedded
