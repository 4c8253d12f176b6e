#pragma once

// How decimal, numeric and money columns are kept in SQLite: as their exact text at the
// column's scale ("10.00", "-0.50"), in columns of text affinity that compare by the number
// through the decimal collation. Expressions of the engine's own functions carry a decimal as
// a number when a double holds it exactly, otherwise as its exact text.

#include <sqlite3.h>

namespace md::data {
class Decimal;
}

namespace md::tsql {

// Gives a computed decimal back to SQLite as expressions carry it: an integer when it has no
// decimals and fits, the double that stands for exactly it, otherwise its exact text.
void resultDecimal(sqlite3_context* ctx, const data::Decimal& d);

// Orders two texts by the numbers they stand for: numbers (plain or with an exponent) before
// anything else, and other texts among themselves byte by byte. The decimal collation.
int compareDecimalTexts(const char* a, int aLength, const char* b, int bLength);

// Registers the decimal collation, tsql_dec(x) (a stored decimal as a value an expression can
// compare with numbers: the exact double where one holds it, else the text) and
// tsql_dec_cmp(a, b) (an exact comparison of two computed numbers) and tsql_dec_text(x) (a
// computed decimal as the text a sort by the decimal collation orders).
void registerDecimalStorage(sqlite3* db);

}  // namespace md::tsql
