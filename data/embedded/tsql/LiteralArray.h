#pragma once

// A long IN list of constants reaches SQLite as one JSON array that json_each reads, instead of
// a list SQLite parses item by item into an expression node and a few opcodes each: an array is
// one string to SQLite, however many items it holds.

#include <QString>
#include <QStringList>
#include <optional>

namespace md::tsql {

// Lists shorter than this stay written out; SQLite handles them cheaply.
constexpr qsizetype kArrayInListItems = 64;

// The SQLite string literal of a JSON array holding the values of the given SQLite literals,
// each as SQLite itself would read it: NULL, an integer of up to 18 digits (or a negative one
// in parentheses, as the translator writes it), a decimal without exponent, a quoted text
// without a NUL character. Nothing when any item is something else, so that the list is
// written out instead.
std::optional<QString> jsonArrayLiteral(const QStringList& literals);

}  // namespace md::tsql
