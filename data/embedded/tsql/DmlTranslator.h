#pragma once

// Translation of T-SQL data statements (SELECT, INSERT, UPDATE, DELETE) and expressions into
// SQLite SQL with the same meaning. The engine (data/embedded) splits batches, handles DDL and
// control flow, and hands each data statement or expression here.

#include <QString>
#include <QStringView>
#include <QtGlobal>
#include <optional>

struct sqlite3;

namespace md::tsql {

enum class SqlType { Unknown, Integer, Float, Decimal, Money, Text, DateTime, Binary };

struct ColumnType {
    SqlType type = SqlType::Unknown;
    int length = -1;     // declared length of text columns
    int precision = -1;  // decimal(p, s)
    int scale = -1;
};

// What the translator may ask about the database it translates for (implemented by the
// engine over its catalogue). Names are matched without regard to case.
class SchemaLookup {
  public:
    virtual ~SchemaLookup() = default;
    virtual std::optional<ColumnType> column(const QString& table, const QString& column) const = 0;
    // The type of a declared batch variable (@v), when there is one.
    virtual std::optional<ColumnType> variable(const QString& name) const = 0;
    // Whether an index of the table starts with the column: false only when the table is
    // known to have none (a LIKE then gets no index range, which would only cost a
    // comparison per row); nullopt when not known (a view, an unknown table).
    virtual std::optional<bool> leadsIndex(const QString& table, const QString& column) const {
        (void)table;
        (void)column;
        return std::nullopt;
    }
    // Changes whenever the answers may have changed (after DDL), so that cached
    // translations made against the old catalogue are not reused.
    virtual quint64 generation() const { return 0; }
};

// Translates one statement. '?' placeholders stay where they are; @variables become SQLite
// named parameters of the same name (the engine binds them). Throws md::data::DbError
// (category Syntax) naming an unknown construct and its line and column, and DbError 241/242
// (category Conversion) for a date literal compared with or assigned to a date-time that does
// not convert.
//
// When a statement holds '?' placeholders and no named parameter, they are written ?1, ?2, ...
// in their order, so that one can be used twice (the index range of `Code LIKE ?`); bind the
// k-th '?' of the original text at index k, as before.
//
// Translations are cached per thread, keyed by the text, the lookup object and its
// generation(); the cache holds a bounded number of statements.
QString translateStatement(QStringView statement, const SchemaLookup& schema);

// Translates an expression (a DEFAULT value, an IF condition's body).
QString translateExpression(QStringView expression, const SchemaLookup& schema);

// The same two without the cache, for a caller that keeps translations of its own (the
// engine keeps them with its compiled batches, keyed by catalogue generation and the batch's
// variables: a lookup object that lives for one batch cannot key a shared cache).
QString translateStatementUncached(QStringView statement, const SchemaLookup& schema);
QString translateExpressionUncached(QStringView expression, const SchemaLookup& schema);

// Empties this thread's translation cache.
void clearTranslationCache();

// Registers the engine's SQL functions and the text collation on a fresh SQLite handle, and
// overrides LIKE with SQL Server's rules. It also turns off SQLite's reading of an unknown
// "identifier" as a string in data statements, so a misspelt column is an error as on the
// server. Throws md::data::DbError when the handle refuses a registration.
void registerFunctions(sqlite3* db);

}  // namespace md::tsql
