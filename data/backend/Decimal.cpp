#include "data/backend/Decimal.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string>

namespace md::data {
namespace {

using Units = Decimal::Units;

Units absOf(Units v) {
    return v < 0 ? -v : v;
}

int digitCount(Units v) {
    v = absOf(v);
    int n = 1;
    while (v >= 10) {
        v /= 10;
        ++n;
    }
    return n;
}

bool fits(Units v) {
    return absOf(v) < powerOfTen(Decimal::kMaxDigits);
}

// q = num / den rounded half away from zero.
Units divideRounded(Units num, Units den) {
    Units q = num / den;
    const Units r = absOf(num % den);
    if (r >= absOf(den) - r)
        q += ((num < 0) != (den < 0)) ? -1 : 1;
    return q;
}

std::string digitsOf(Units v) {
    v = absOf(v);
    std::string s;
    do {
        s.push_back(char('0' + int(v % 10)));
        v /= 10;
    } while (v > 0);
    std::reverse(s.begin(), s.end());
    return s;
}

// Qt learns here how a Decimal becomes text, a double or an integer, so that QVariant's
// toString(), toDouble() and toLongLong() work on decimal values as on any number.
const bool kConvertersRegistered = [] {
    QMetaType::registerConverter<Decimal, QString>(&Decimal::toString);
    QMetaType::registerConverter<Decimal, double>(&Decimal::toDouble);
    QMetaType::registerConverter<Decimal, qlonglong>(
        [](const Decimal& d) { return qlonglong(d.units() / powerOfTen(d.scale())); });
    return true;
}();

}  // namespace

Units powerOfTen(int n) {
    static const auto table = [] {
        std::array<Units, Decimal::kMaxDigits + 1> t{};
        t[0] = 1;
        for (int i = 1; i <= Decimal::kMaxDigits; ++i)
            t[size_t(i)] = t[size_t(i - 1)] * 10;
        return t;
    }();
    return table[size_t(std::clamp(n, 0, Decimal::kMaxDigits))];
}

Decimal::Decimal(Units units, int scale) : units_(units), scale_(std::clamp(scale, 0, kMaxDigits)) {
    (void)kConvertersRegistered;
}

std::optional<Decimal> Decimal::fromDouble(double value) {
    if (!std::isfinite(value))
        return std::nullopt;
    char buffer[64];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (r.ec != std::errc())
        return std::nullopt;
    return parse(QString::fromLatin1(buffer, r.ptr - buffer), true);
}

std::optional<Decimal> Decimal::parse(QStringView text, bool exponent) {
    text = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    std::string digits;
    int fraction = 0;
    bool point = false, any = false;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= u'0' && c <= u'9') {
            digits.push_back(char(c));
            any = true;
            if (point)
                ++fraction;
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!any)
        return std::nullopt;
    long long shift = 0;
    if (i < text.size() && exponent && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        bool expNegative = false;
        if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
            expNegative = text[i++] == u'-';
        bool expAny = false;
        for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
            shift = std::min<long long>(shift * 10 + (text[i].unicode() - u'0'), 100000);
            expAny = true;
        }
        if (!expAny)
            return std::nullopt;
        if (expNegative)
            shift = -shift;
    }
    if (i != text.size())
        return std::nullopt;
    // digits * 10^-(fraction - shift)
    long long scale = fraction - shift;
    if (scale < 0) {
        if (-scale > kMaxDigits)
            return std::nullopt;
        digits.append(size_t(-scale), '0');
        scale = 0;
    }
    const size_t firstNonZero = digits.find_first_not_of('0');
    digits.erase(0, firstNonZero == std::string::npos ? digits.size() : firstNonZero);
    // Drop digits past 38 significant ones or past scale 38, rounding on the first dropped.
    long long drop =
        std::max<long long>({0, (long long)digits.size() - kMaxDigits, scale - kMaxDigits});
    if (drop > scale)
        return std::nullopt;  // the integer part alone is longer than 38 digits
    bool roundUp = false;
    if (drop > 0) {
        const size_t keep = digits.size() > size_t(drop) ? digits.size() - size_t(drop) : 0;
        roundUp = keep < digits.size() && digits[keep] >= '5';
        digits.erase(keep);
        scale -= drop;
    }
    Units units = 0;
    for (char c : digits)
        units = units * 10 + (c - '0');
    if (roundUp)
        ++units;
    if (!fits(units)) {
        if (scale == 0)
            return std::nullopt;
        units /= 10;  // 99..9.5 rounded up to 10^38: one decimal fewer, still exact
        --scale;
    }
    return Decimal(negative ? -units : units, int(scale));
}

std::optional<Decimal> Decimal::parseLatin1(std::string_view text, bool exponent) {
    // The plain form every stored decimal has: [-]digits[.digits], at most 38 digits in all.
    size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative)
        ++i;
    Units units = 0;
    int digits = 0, scale = 0;
    bool point = false, plain = i < text.size();
    for (; i < text.size() && plain; ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            plain = ++digits <= kMaxDigits;  // a 39th digit would overflow the units
            if (!plain)
                break;
            units = units * 10 + (c - '0');
            if (point)
                ++scale;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            plain = false;
        }
    }
    if (plain && digits > 0)
        return Decimal(negative ? -units : units, scale);
    // Blanks, a plus sign, an exponent, more digits: the general reading.
    return parse(QString::fromLatin1(text.data(), qsizetype(text.size())), exponent);
}

int Decimal::integerDigits() const {
    const Units whole = absOf(units_) / powerOfTen(scale_);
    return whole == 0 ? 0 : digitCount(whole);
}

int Decimal::significantDigits() const {
    return units_ == 0 ? 1 : digitCount(units_);
}

std::optional<Decimal> Decimal::rescaled(int scale) const {
    scale = std::clamp(scale, 0, kMaxDigits);
    if (scale >= scale_) {
        const Units factor = powerOfTen(scale - scale_);
        Units r = 0;
        if (__builtin_mul_overflow(units_, factor, &r) || !fits(r))
            return std::nullopt;
        return Decimal(r, scale);
    }
    return Decimal(divideRounded(units_, powerOfTen(scale_ - scale)), scale);
}

std::optional<Decimal> Decimal::roundedAt(int digits, bool truncate) const {
    if (digits >= scale_)
        return *this;
    const int cut = scale_ - digits;  // trailing digits that become zero
    if (cut > kMaxDigits)
        return Decimal(0, scale_);
    const Units unit = powerOfTen(cut);
    const Units q = truncate ? units_ / unit : divideRounded(units_, unit);
    Units r = 0;
    if (__builtin_mul_overflow(q, unit, &r) || !fits(r))
        return std::nullopt;
    return Decimal(r, scale_);
}

std::optional<Decimal> Decimal::plus(const Decimal& other) const {
    const int scale = std::max(scale_, other.scale_);
    const auto a = rescaled(scale);
    const auto b = other.rescaled(scale);
    if (!a || !b)
        return std::nullopt;
    Units r = 0;
    if (__builtin_add_overflow(a->units_, b->units_, &r) || !fits(r))
        return std::nullopt;
    return Decimal(r, scale);
}

std::optional<Decimal> Decimal::minus(const Decimal& other) const {
    return plus(other.negated());
}

std::optional<Decimal> Decimal::times(const Decimal& other) const {
    Units r = 0;
    if (__builtin_mul_overflow(units_, other.units_, &r))
        return std::nullopt;
    int scale = scale_ + other.scale_;
    if (scale > kMaxDigits) {
        r = divideRounded(r, powerOfTen(scale - kMaxDigits));
        scale = kMaxDigits;
    }
    if (!fits(r))
        return std::nullopt;
    return Decimal(r, scale);
}

std::optional<Decimal> Decimal::dividedBy(const Decimal& other, int scale) const {
    if (other.units_ == 0)
        return std::nullopt;
    scale = std::clamp(scale, 0, kMaxDigits);
    // units_ * 10^-s1 / (o * 10^-s2) = units_ * 10^(s2 - s1) / o, wanted at 10^-scale.
    const int shift = scale + other.scale_ - scale_;
    Units num = units_, den = other.units_;
    if (shift >= 0) {
        if (shift > kMaxDigits || __builtin_mul_overflow(num, powerOfTen(shift), &num))
            return std::nullopt;
    } else if (-shift > kMaxDigits || __builtin_mul_overflow(den, powerOfTen(-shift), &den)) {
        return Decimal(0, scale);  // the quotient is far below the last kept digit
    }
    const Units q = divideRounded(num, den);
    if (!fits(q))
        return std::nullopt;
    return Decimal(q, scale);
}

int Decimal::compare(const Decimal& other) const {
    if (scale_ == other.scale_)  // the common case: two values of one column
        return units_ < other.units_ ? -1 : units_ > other.units_ ? 1 : 0;
    const Units ia = units_ / powerOfTen(scale_);
    const Units ib = other.units_ / powerOfTen(other.scale_);
    if (ia != ib)
        return ia < ib ? -1 : 1;
    // Equal integer parts: the fractions, both brought to 38 decimals, decide.
    const Units fa = (units_ % powerOfTen(scale_)) * powerOfTen(kMaxDigits - scale_);
    const Units fb =
        (other.units_ % powerOfTen(other.scale_)) * powerOfTen(kMaxDigits - other.scale_);
    return fa < fb ? -1 : fa > fb ? 1 : 0;
}

QString Decimal::toString() const {
    const std::string digits = toLatin1();
    return QString::fromLatin1(digits.data(), qsizetype(digits.size()));
}

std::string Decimal::toLatin1() const {
    std::string digits = digitsOf(units_);
    if (digits.size() <= size_t(scale_))
        digits.insert(0, size_t(scale_) + 1 - digits.size(), '0');
    if (scale_ > 0)
        digits.insert(digits.size() - size_t(scale_), 1, '.');
    if (units_ < 0)
        digits.insert(0, 1, '-');
    return digits;
}

double Decimal::toDouble() const {
    const std::string text = toLatin1();
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

bool Decimal::fitsDouble() const {
    const auto back = fromDouble(toDouble());
    return back && back->compare(*this) == 0;
}

}  // namespace md::data
