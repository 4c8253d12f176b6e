#pragma once

// A long IN list of constants reaches SQLite as one JSON array that json_each reads, instead of
// a list SQLite parses item by item into an expression node and a few opcodes each: an array is
// one string to SQLite, however many items it holds.

#include <QString>
#include <optional>

namespace md::tsql {

// Lists shorter than this stay written out; SQLite handles them cheaply.
constexpr qsizetype kArrayInListItems = 64;

// Builds the SQLite string literal of a JSON array from SQLite literals, each value as SQLite
// itself reads the literal: NULL, an integer of up to 18 digits (or a negative one in
// parentheses, as the translator writes it), a decimal without exponent, a quoted text without
// a NUL character. Any other item spoils the array, and the list is then written out.
class LiteralArray {
  public:
    void add(QStringView literal);
    // The literal '[...]', or nothing after an item JSON cannot carry.
    std::optional<QString> literal() const;

  private:
    QString json_ = QStringLiteral("'[");
    bool spoiled_ = false;
    bool empty_ = true;
};

}  // namespace md::tsql
