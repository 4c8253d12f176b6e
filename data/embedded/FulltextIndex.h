#pragma once

// The contained-text index of a text column (CREATE FULLTEXT INDEX ON T (C) KEY INDEX K): it
// lets `C LIKE '%word%'` skip the rows that cannot match. Every text is cut into its pieces of
// three case-folded characters, as LIKE compares them. Per piece the index keeps how many rows
// hold it, the lowest and highest key (the KEY INDEX column) of rows that ever held it, and,
// while at most
// kFulltextPostingCap rows hold it, which rows (md_fulltext.cap). AFTER triggers keep it in step
// with the table.

#include <sqlite3.h>
#include <QString>
#include <optional>
#include <vector>

namespace md::embedded {

class Connection;

// A piece held by more rows than this keeps no list of them.
inline constexpr int kFulltextPostingCap = 5000;

struct FulltextIndex {
    QString table;
    QString column;
    QString rowidColumn;            // the table's INTEGER PRIMARY KEY
    QString keyColumn;              // the KEY INDEX column: unique, not null
    int cap = kFulltextPostingCap;  // kept per index so that tests can make small ones
};

// The condition a LIKE is narrowed with, on `column` of the same row (none: the condition
// stands alone).
struct FulltextFilter {
    QString column;
    QString condition;
};

// Registers md_ft_add and md_ft_remove, which the index's triggers call.
void registerFulltextFunctions(Connection& conn);

// The indexes of the database (none when it never had one).
std::vector<FulltextIndex> fulltextIndexes(sqlite3* db);
std::optional<FulltextIndex> fulltextIndexOn(sqlite3* db, const QString& table,
                                             const QString& column);

// Makes the index's tables and triggers and fills them from the table's rows.
void createFulltextIndex(Connection& conn, const FulltextIndex& index);
void dropFulltextIndexes(Connection& conn, const QString& table);
// The triggers again, after the table was made anew.
void recreateFulltextTriggers(Connection& conn, const QString& table);

// How a `column LIKE pattern` is narrowed now: a condition that no row can meet when some
// piece of the pattern's literal text is in no row; the rows of the rarest piece when few
// hold it; else the range of keys a match can have, for a walk in key order. Nothing when the
// pattern has no literal run of three characters.
std::optional<FulltextFilter> fulltextFilter(Connection& conn, const FulltextIndex& index,
                                             const QString& pattern, QChar escape);

// The same for a column of a table or of a view that shows one table's indexed column, rowid
// and key under names of its own.
std::optional<FulltextFilter> fulltextFilterFor(Connection& conn, const QString& source,
                                                const QString& column, const QString& pattern,
                                                QChar escape);

}  // namespace md::embedded
