#pragma once

// Value rules of SQL Server that both the translator (literals known when translating) and the
// engine's SQL functions (values known when running) apply: reading date-time texts, rounding,
// and the texts CONVERT and STR produce.

#include "data/backend/Decimal.h"

#include <QDateTime>
#include <QString>
#include <QStringView>
#include <optional>

namespace md::tsql {

// The result of reading a text as a date-time the way SQL Server reads it for a datetime
// value under us_english (month/day/year).
struct DateTimeParse {
    enum Status { Ok, Invalid, OutOfRange } status = Invalid;
    QDateTime value;
};

// Accepts mm/dd/yyyy (also with '-' or '.', two-digit years, an optional time of day with
// AM/PM), yyyy-mm-dd, yyyy/mm/dd, yyyymmdd (each with an optional hh:mm[:ss[.fff]]),
// yyyy-mm-ddThh:mm:ss[.fff], the storage form, a time of day alone (on 1900-01-01) and the
// empty text (1900-01-01). A text of the right shape with an impossible date or time, or a
// year outside 1753..9999, is OutOfRange.
DateTimeParse parseDateTime(QStringView text);

// The storage form of a date-time (yyyy-MM-dd HH:mm:ss.zzz).
QString storageText(const QDateTime& value);

// Rounds half away from zero to `digits` decimals (negative digits round to tens, hundreds).
double roundHalfAway(double value, int digits);

// Plain digits with a leading '-' and exactly `scale` decimals (CONVERT(char, decimal)),
// rounded half away from zero; never "-0.00".
QString decimalText(double value, int scale);
QString decimalText(const data::Decimal& value, int scale);

// CONVERT(varchar, money, style): style 1 groups thousands with commas and shows 2 decimals,
// styles 2 and 126 show 4 decimals, every other style shows 2 decimals without separators.
QString moneyText(double value, int style);

// STR(value, length, decimals): right-justified in `length` characters, rounded; fewer
// decimals when only they do not fit; `length` asterisks when the integer part does not fit.
QString strText(double value, int length, int decimals);

// Reads a whole text as a number the way a conversion to int (integerOnly) or to a
// float/decimal reads it: surrounding blanks allowed, a sign, digits, one '.', an exponent
// (float only). nullopt when it is not a number.
std::optional<double> parseNumber(QStringView text, bool integerOnly, bool allowExponent = true);

}  // namespace md::tsql
