#pragma once

// Translation of T-SQL data statements (SELECT, INSERT, UPDATE, DELETE) and expressions into
// SQLite SQL with the same meaning. The engine (data/embedded) splits batches, handles DDL and
// control flow, and hands each data statement or expression here.

#include <QString>
#include <QStringView>
#include <QtGlobal>
#include <optional>
#include <utility>
#include <vector>

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
// How the engine narrows one `column LIKE 'pattern'` with an index of the column's contained
// text: `<source>.<column> <condition>` of the same row, or `condition` alone when `column`
// is empty. The LIKE itself stays, so the condition may let rows through but never holds one
// back.
struct ContainsFilter {
    QString column;
    QString condition;
};

class SchemaLookup {
  public:
    virtual ~SchemaLookup() = default;
    virtual std::optional<ColumnType> column(const QString& table, const QString& column) const = 0;
    // The type of a declared batch variable (@v), when there is one.
    virtual std::optional<ColumnType> variable(const QString& name) const = 0;
    // The columns of a table in their order (an INSERT without a column list writes them);
    // empty when not known.
    virtual std::vector<std::pair<QString, ColumnType>> columns(const QString& table) const {
        (void)table;
        return {};
    }
    // Whether an index of the table starts with the column: false only when the table is
    // known to have none (a LIKE then gets no index range, which would only cost a
    // comparison per row); nullopt when not known (a view, an unknown table).
    virtual std::optional<bool> leadsIndex(const QString& table, const QString& column) const {
        (void)table;
        (void)column;
        return std::nullopt;
    }
    // The narrowing of `column LIKE pattern [ESCAPE escape]` over a table or view `source`,
    // for a LIKE that decides alone whether a row is kept (a term of a WHERE's AND); nothing
    // when no index serves it.
    virtual std::optional<ContainsFilter> containsFilter(const QString& source,
                                                         const QString& column,
                                                         const QString& pattern,
                                                         QChar escape) const {
        (void)source;
        (void)column;
        (void)pattern;
        (void)escape;
        return std::nullopt;
    }
};

// How deep a statement may nest (parentheses, NOT, signs, function arguments, CASE,
// subqueries, IF and BEGIN ... END blocks of a batch) and how long one chain of arithmetic
// operators may be. Past either the text is refused with SQL Server's error 191 before any
// recursion can exhaust the stack; the limits leave the translation inside what SQLite's
// parser takes (its expression depth of 1000). AND and OR chains have no limit of their own:
// they are kept balanced, so thousands of terms nest only a few levels.
inline constexpr int kMaxNestingLevels = 64;
inline constexpr int kMaxOperatorChain = 400;

// Throws SQL Server's error 191 ("Some part of your SQL statement is nested too deeply.").
[[noreturn]] void throwNestedTooDeeply();

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
// Nothing is cached here: the engine keeps its translations with its compiled batches, keyed
// by catalogue generation and the batch's variables.
//
// `columns`, when given, receives the type of each column a SELECT returns (Unknown where the
// translator cannot tell), so that a computed decimal reaches the program with its scale.
QString translateStatement(QStringView statement, const SchemaLookup& schema,
                           std::vector<ColumnType>* columns = nullptr);

// Translates an expression (a DEFAULT value, an IF condition's body).
QString translateExpression(QStringView expression, const SchemaLookup& schema);

// Registers the engine's SQL functions and the text collation on a fresh SQLite handle, and
// overrides LIKE with SQL Server's rules. It also turns off SQLite's reading of an unknown
// "identifier" as a string in data statements, so a misspelt column is an error as on the
// server. Throws md::data::DbError when the handle refuses a registration.
void registerFunctions(sqlite3* db);

}  // namespace md::tsql
