#pragma once

// Numbers shown to the user through display patterns: "#" an optional digit, "0" a required
// digit, a comma in the integer part turns on thousands grouping, "." the decimal point (dropped
// when no decimals follow), ";" separates the pattern for negative values, and any other
// character before the first or after the last digit is copied. The digits are rounded half away
// from zero on their decimal text, and the workstation's separators are written.

#include <QString>

namespace md::product {

struct NumberSeparators {
    QString group = QStringLiteral(",");
    QString decimal = QStringLiteral(".");

    // The separators of the workstation's regional settings (the system locale, not the
    // program's default locale, which the start-up fixes for dates).
    static NumberSeparators workstation();
};

// `value` written through `pattern`. A value that rounds to zero takes the positive pattern
// and no sign; a negative value takes the pattern after ";" (its magnitude, the pattern writing
// any sign itself) or, without one, the positive pattern with "-" in front of the digits.
QString FormatNumber(const QString& pattern, double value, const NumberSeparators& separators);

}  // namespace md::product
