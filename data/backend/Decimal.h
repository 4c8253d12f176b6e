#pragma once

// An exact decimal number as SQL Server's decimal, numeric and money types hold it: an integer
// of at most 38 digits and a scale (the digits after the point). The data API hands values of
// such columns out as Decimal QVariants, which convert to text with their scale ("10.00") and
// to double; the embedded engine computes with it wherever T-SQL's decimal arithmetic must be
// exact.

#include <QMetaType>
#include <QString>
#include <QStringView>
#include <optional>
#include <string>
#include <string_view>

namespace md::data {

class Decimal {
  public:
    using Units = __int128;
    static constexpr int kMaxDigits = 38;

    Decimal() = default;
    // `units` * 10^-scale; the scale is clamped to 0..38.
    Decimal(Units units, int scale);
    static Decimal fromInteger(qint64 value) { return Decimal(value, 0); }
    // The shortest decimal that reads back as the same double (0.1 is 0.1, not
    // 0.1000000000000000055...); nullopt for infinities, NaN and values past 38 digits.
    static std::optional<Decimal> fromDouble(double value);
    // Reads [blanks][sign]digits[.digits][blanks], and with `exponent` also an exponent (e5,
    // E-3). Digits past 38 significant ones are rounded half away from zero. nullopt when the
    // text is not such a number or its integer part is longer than 38 digits.
    static std::optional<Decimal> parse(QStringView text, bool exponent = false);
    // The same from 8-bit text (SQLite's UTF-8), without allocating for a plain number of up
    // to 38 digits: stored decimals are read this way in every sum, comparison and fetch.
    static std::optional<Decimal> parseLatin1(std::string_view text, bool exponent = false);

    Units units() const { return units_; }
    int scale() const { return scale_; }
    bool isZero() const { return units_ == 0; }
    bool isNegative() const { return units_ < 0; }
    // Digits of the integer part (0 for 0.25), and of the whole value without leading zeros.
    int integerDigits() const;
    int significantDigits() const;

    // The same value with `scale` decimals, rounded half away from zero; nullopt when the
    // result would need more than 38 digits.
    std::optional<Decimal> rescaled(int scale) const;
    // ROUND(value, digits[, truncate]): the scale stays, the digits after position `digits`
    // (negative: before the point) become zero.
    std::optional<Decimal> roundedAt(int digits, bool truncate = false) const;

    std::optional<Decimal> plus(const Decimal& other) const;
    std::optional<Decimal> minus(const Decimal& other) const;
    std::optional<Decimal> times(const Decimal& other) const;
    // The quotient rounded half away from zero to `scale` decimals; nullopt on overflow and
    // division by zero (the caller tells the two apart).
    std::optional<Decimal> dividedBy(const Decimal& other, int scale) const;
    Decimal negated() const { return Decimal(-units_, scale_); }

    int compare(const Decimal& other) const;
    bool operator==(const Decimal& other) const { return compare(other) == 0; }
    bool operator<(const Decimal& other) const { return compare(other) < 0; }

    // Plain digits with '-' and exactly scale() decimals ("-12.50", "0.00", never "-0.00").
    QString toString() const;
    // The same text as 8-bit characters, for SQLite.
    std::string toLatin1() const;
    // The double nearest to the value.
    double toDouble() const;
    // True when toDouble() reads back as exactly this value (at this value's scale).
    bool fitsDouble() const;

  private:
    Units units_ = 0;
    int scale_ = 0;
};

// 10^n for n in 0..38.
Decimal::Units powerOfTen(int n);

}  // namespace md::data

Q_DECLARE_METATYPE(md::data::Decimal)
