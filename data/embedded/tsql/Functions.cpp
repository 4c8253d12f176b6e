// The engine's SQL functions: SQL Server's operators, conversions and built-in functions over
// SQLite values, the "TSQL" collation and LIKE.

#include "data/backend/DbError.h"
#include "data/embedded/EngineConventions.h"
#include "data/embedded/tsql/DecimalStorage.h"
#include "data/embedded/tsql/DmlTranslator.h"
#include "data/embedded/tsql/TextRules.h"
#include "data/embedded/tsql/Values.h"

#include <sqlite3.h>

#include <QDateTime>
#include <cmath>
#include <cstring>
#include <limits>

namespace md::tsql {
namespace {

using namespace Qt::StringLiterals;

// ---- results and errors ----------------------------------------------------------------

// `state` is SQL Server's message state where the number's usual one (ErrorMapping) is not it.
void raise(sqlite3_context* ctx, int number, const QString& sqlState, const QString& text,
           std::optional<int> state = {}) {
    embedded::raiseEngineError(ctx, {number, sqlState, text, state});
}

using embedded::kExpressionOverflowState;
using embedded::kNumericOverflowState;
using embedded::kVarcharToNumericState;

void conversionFailed(sqlite3_context* ctx, const QString& value, const QString& type) {
    raise(ctx, 245, u"22018"_s,
          u"Conversion failed when converting the varchar value '%1' to data type %2."_s.arg(value,
                                                                                             type));
}

void dateFailed(sqlite3_context* ctx, DateTimeParse::Status status) {
    if (status == DateTimeParse::OutOfRange) {
        raise(ctx, 242, u"22008"_s,
              u"The conversion of a varchar data type to a datetime data type resulted in an "
              "out-of-range value."_s);
    } else {
        raise(ctx, 241, u"22007"_s,
              u"Conversion failed when converting date and/or time from character string."_s);
    }
}

void overflow(sqlite3_context* ctx, const QString& type) {
    raise(ctx, 8115, u"22003"_s,
          u"Arithmetic overflow error converting expression to data type %1."_s.arg(type),
          kExpressionOverflowState);
}

void resultText(sqlite3_context* ctx, const QString& s) {
    const QByteArray u = s.toUtf8();
    sqlite3_result_text(ctx, u.constData(), int(u.size()), SQLITE_TRANSIENT);
}

QString text(sqlite3_value* v) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return p ? QString::fromUtf8(p, sqlite3_value_bytes(v)) : QString();
}

bool isNull(sqlite3_value* v) {
    return sqlite3_value_type(v) == SQLITE_NULL;
}
bool anyNull(int argc, sqlite3_value** argv) {
    for (int i = 0; i < argc; ++i) {
        if (isNull(argv[i]))
            return true;
    }
    return false;
}
bool isText(sqlite3_value* v) {
    const int t = sqlite3_value_type(v);
    return t == SQLITE_TEXT || t == SQLITE_BLOB;
}

// A number from a value; text is read as SQL Server reads it for arithmetic (error 245).
struct Number {
    bool ok = false;
    bool integer = false;
    sqlite3_int64 i = 0;
    double d = 0;
};

Number number(sqlite3_context* ctx, sqlite3_value* v, bool integerWanted = false) {
    Number n;
    switch (sqlite3_value_type(v)) {
        case SQLITE_INTEGER:
            n.ok = n.integer = true;
            n.i = sqlite3_value_int64(v);
            n.d = double(n.i);
            return n;
        case SQLITE_FLOAT:
            n.ok = true;
            n.d = sqlite3_value_double(v);
            return n;
        default: {
            const QString s = text(v);
            if (auto i = parseNumber(s, true); i && std::abs(*i) < 9.2e18) {
                n.ok = n.integer = true;
                n.i = s.trimmed().toLongLong();
                n.d = double(n.i);
                return n;
            }
            if (!integerWanted) {
                if (auto d = parseNumber(s, false)) {
                    n.ok = true;
                    n.d = *d;
                    return n;
                }
            }
            conversionFailed(ctx, s, u"int"_s);
            return n;
        }
    }
}

void resultNumber(sqlite3_context* ctx, const Number& n) {
    if (n.integer) {
        sqlite3_result_int64(ctx, n.i);
    } else {
        sqlite3_result_double(ctx, n.d);
    }
}

// A date-time from a value: text in any accepted form, or a number of days since 1900-01-01.
std::optional<QDateTime> dateTime(sqlite3_context* ctx, sqlite3_value* v) {
    const int t = sqlite3_value_type(v);
    if (t == SQLITE_INTEGER || t == SQLITE_FLOAT) {
        const double days = sqlite3_value_double(v);
        if (!std::isfinite(days) || std::abs(days) > 3.0e6) {
            overflow(ctx, u"datetime"_s);
            return std::nullopt;
        }
        const QDateTime base(QDate(1900, 1, 1), QTime(0, 0));
        return base.addMSecs(qint64(std::llround(days * 86400000.0)));
    }
    const DateTimeParse r = parseDateTime(text(v));
    if (r.status != DateTimeParse::Ok) {
        dateFailed(ctx, r.status);
        return std::nullopt;
    }
    return r.value;
}

bool resultDateTime(sqlite3_context* ctx, const QDateTime& d) {
    if (!d.isValid() || d.date().year() < 1753 || d.date().year() > 9999) {
        raise(ctx, 517, u"22008"_s, u"Adding a value to a 'datetime' column caused an overflow."_s);
        return false;
    }
    resultText(ctx, storageText(d));
    return true;
}

// ---- operators ---------------------------------------------------------------------------

// '+': concatenation of two strings, arithmetic when either side is a number.
void fnAdd(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    if (isText(argv[0]) && isText(argv[1]))
        return resultText(ctx, text(argv[0]) + text(argv[1]));
    // A string beside an integer must itself be an integer, as it converts to int.
    const bool intSide = sqlite3_value_type(argv[0]) == SQLITE_INTEGER ||
                         sqlite3_value_type(argv[1]) == SQLITE_INTEGER;
    const bool floatSide =
        sqlite3_value_type(argv[0]) == SQLITE_FLOAT || sqlite3_value_type(argv[1]) == SQLITE_FLOAT;
    const Number a = number(ctx, argv[0], intSide && !floatSide);
    if (!a.ok)
        return;
    const Number b = number(ctx, argv[1], intSide && !floatSide);
    if (!b.ok)
        return;
    if (a.integer && b.integer) {
        sqlite3_int64 r = 0;
        if (__builtin_add_overflow(a.i, b.i, &r))
            return overflow(ctx, u"bigint"_s);
        return sqlite3_result_int64(ctx, r);
    }
    sqlite3_result_double(ctx, a.d + b.d);
}

void fnNum(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    const Number n = number(ctx, argv[0]);
    if (n.ok)
        resultNumber(ctx, n);
}

void fnDiv(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    const Number a = number(ctx, argv[0]);
    if (!a.ok)
        return;
    const Number b = number(ctx, argv[1]);
    if (!b.ok)
        return;
    if ((b.integer && b.i == 0) || (!b.integer && b.d == 0.0))
        return raise(ctx, 8134, u"22012"_s, u"Divide by zero error encountered."_s);
    if (a.integer && b.integer) {
        if (a.i == std::numeric_limits<sqlite3_int64>::min() && b.i == -1)
            return overflow(ctx, u"bigint"_s);
        return sqlite3_result_int64(ctx, a.i / b.i);  // truncates toward zero, as the server
    }
    sqlite3_result_double(ctx, a.d / b.d);
}

void fnMod(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    const Number a = number(ctx, argv[0]);
    if (!a.ok)
        return;
    const Number b = number(ctx, argv[1]);
    if (!b.ok)
        return;
    if ((b.integer && b.i == 0) || (!b.integer && b.d == 0.0))
        return raise(ctx, 8134, u"22012"_s, u"Divide by zero error encountered."_s);
    if (a.integer && b.integer)
        return sqlite3_result_int64(ctx, b.i == -1 ? 0 : a.i % b.i);
    sqlite3_result_double(ctx, std::fmod(a.d, b.d));
}

void fnBitXor(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    const Number a = number(ctx, argv[0], true);
    if (!a.ok)
        return;
    const Number b = number(ctx, argv[1], true);
    if (!b.ok)
        return;
    sqlite3_result_int64(ctx, a.i ^ b.i);
}

// datetime + n: n days (fractions are parts of a day).
void fnAddDays(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    const auto d = dateTime(ctx, argv[0]);
    if (!d)
        return;
    const Number n = number(ctx, argv[1]);
    if (!n.ok)
        return;
    if (std::abs(n.d) > 3.0e6)
        return overflow(ctx, u"datetime"_s);
    resultDateTime(
        ctx, n.integer ? d->addDays(n.i) : d->addMSecs(qint64(std::llround(n.d * 86400000.0))));
}

// ---- strings -----------------------------------------------------------------------------

void fnUpper(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    resultText(ctx, text(argv[0]).toUpper());
}
void fnLower(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    resultText(ctx, text(argv[0]).toLower());
}
void fnLen(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    QString s = text(argv[0]);
    while (s.endsWith(u' '))
        s.chop(1);
    sqlite3_result_int64(ctx, s.size());
}

bool intArg(sqlite3_context* ctx, sqlite3_value* v, sqlite3_int64& out) {
    const Number n = number(ctx, v);
    if (!n.ok)
        return false;
    out = n.integer ? n.i : sqlite3_int64(std::trunc(std::clamp(n.d, -1e15, 1e15)));
    return true;
}

void fnSubstring(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    sqlite3_int64 start = 0, length = 0;
    if (!intArg(ctx, argv[1], start) || !intArg(ctx, argv[2], length))
        return;
    if (length < 0)
        return raise(ctx, 537, u"42000"_s,
                     u"Invalid length parameter passed to the substring function."_s);
    const QString s = text(argv[0]);
    // Characters at positions start .. start + length - 1 that exist.
    const sqlite3_int64 from = std::max<sqlite3_int64>(start, 1);
    const sqlite3_int64 to = std::min<sqlite3_int64>(start + length - 1, s.size());
    if (to < from)
        return resultText(ctx, QString());
    resultText(ctx, s.mid(qsizetype(from - 1), qsizetype(to - from + 1)));
}

void leftRight(sqlite3_context* ctx, sqlite3_value** argv, bool left) {
    if (isNull(argv[0]) || isNull(argv[1]))
        return sqlite3_result_null(ctx);
    sqlite3_int64 n = 0;
    if (!intArg(ctx, argv[1], n))
        return;
    if (n < 0)
        return raise(ctx, 536, u"42000"_s,
                     u"Invalid length parameter passed to the %1 function."_s.arg(
                         left ? u"left"_s : u"right"_s));
    const QString s = text(argv[0]);
    resultText(ctx, left ? s.left(qsizetype(std::min<sqlite3_int64>(n, s.size())))
                         : s.right(qsizetype(std::min<sqlite3_int64>(n, s.size()))));
}
void fnLeft(sqlite3_context* ctx, int, sqlite3_value** argv) {
    leftRight(ctx, argv, true);
}
void fnRight(sqlite3_context* ctx, int, sqlite3_value** argv) {
    leftRight(ctx, argv, false);
}

// REPLACE and CHARINDEX follow the collation: letters match without regard to case.
void fnReplace(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    QString s = text(argv[0]);
    const QString find = text(argv[1]);
    if (find.isEmpty())
        return resultText(ctx, s);
    s.replace(find, text(argv[2]), Qt::CaseInsensitive);
    resultText(ctx, s);
}

void fnCharIndex(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    sqlite3_int64 start = 1;
    if (argc > 2 && !intArg(ctx, argv[2], start))
        return;
    const QString find = text(argv[0]);
    const QString s = text(argv[1]);
    if (find.isEmpty())
        return sqlite3_result_int64(ctx, 0);
    const sqlite3_int64 from = std::max<sqlite3_int64>(start, 1) - 1;
    if (from >= s.size())
        return sqlite3_result_int64(ctx, 0);
    sqlite3_result_int64(ctx, s.indexOf(find, qsizetype(from), Qt::CaseInsensitive) + 1);
}

void fnSpace(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    sqlite3_int64 n = 0;
    if (!intArg(ctx, argv[0], n))
        return;
    if (n < 0)
        return sqlite3_result_null(ctx);
    resultText(ctx, QString(qsizetype(std::min<sqlite3_int64>(n, 8000)), u' '));
}

void fnReplicate(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    sqlite3_int64 n = 0;
    if (!intArg(ctx, argv[1], n))
        return;
    if (n < 0)
        return sqlite3_result_null(ctx);
    const QString s = text(argv[0]);
    const sqlite3_int64 limit = s.isEmpty() ? 0 : 8000 / std::max<qsizetype>(s.size(), 1);
    resultText(ctx, s.repeated(qsizetype(std::min(n, std::max<sqlite3_int64>(limit, 0)))));
}

void fnStr(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    sqlite3_int64 length = 10, decimals = 0;
    if (argc > 1 && !intArg(ctx, argv[1], length))
        return;
    if (argc > 2 && !intArg(ctx, argv[2], decimals))
        return;
    if (length <= 0 || length > 8000 || decimals < 0)
        return sqlite3_result_null(ctx);
    double v = 0;
    if (isText(argv[0])) {
        const auto d = parseNumber(text(argv[0]), false);
        if (!d)
            return raise(ctx, 8114, u"22018"_s, u"Error converting data type varchar to float."_s);
        v = *d;
    } else {
        v = sqlite3_value_double(argv[0]);
    }
    resultText(ctx, strText(v, int(length), int(decimals)));
}

// ---- numbers -----------------------------------------------------------------------------

void fnRound(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    const Number n = number(ctx, argv[0]);
    if (!n.ok)
        return;
    sqlite3_int64 digits = 0, truncate = 0;
    if (!intArg(ctx, argv[1], digits))
        return;
    if (argc > 2 && !intArg(ctx, argv[2], truncate))
        return;
    digits = std::clamp<sqlite3_int64>(digits, -38, 38);
    if (n.integer) {
        if (digits >= 0)
            return sqlite3_result_int64(ctx, n.i);
        if (digits < -18)
            return sqlite3_result_int64(ctx, 0);
        sqlite3_int64 scale = 1;
        for (int k = 0; k < -digits; ++k)
            scale *= 10;
        sqlite3_int64 q = n.i / scale;
        const sqlite3_int64 rem = n.i % scale;
        if (!truncate && std::abs(rem) * 2 >= scale)
            q += n.i < 0 ? -1 : 1;
        return sqlite3_result_int64(ctx, q * scale);
    }
    if (truncate) {
        const double scale = std::pow(10.0, double(digits));
        return sqlite3_result_double(ctx, std::trunc(n.d * scale) / scale);
    }
    sqlite3_result_double(ctx, roundHalfAway(n.d, int(digits)));
}

void floorCeiling(sqlite3_context* ctx, sqlite3_value** argv, bool up) {
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    const Number n = number(ctx, argv[0]);
    if (!n.ok)
        return;
    if (n.integer)
        return sqlite3_result_int64(ctx, n.i);
    sqlite3_result_double(ctx, up ? std::ceil(n.d) : std::floor(n.d));
}
void fnFloor(sqlite3_context* ctx, int, sqlite3_value** argv) {
    floorCeiling(ctx, argv, false);
}
void fnCeiling(sqlite3_context* ctx, int, sqlite3_value** argv) {
    floorCeiling(ctx, argv, true);
}

void fnSign(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    const Number n = number(ctx, argv[0]);
    if (!n.ok)
        return;
    const int s = n.integer ? (n.i > 0) - (n.i < 0) : (n.d > 0) - (n.d < 0);
    if (n.integer)
        return sqlite3_result_int64(ctx, s);
    sqlite3_result_double(ctx, s);
}

// ---- dates -------------------------------------------------------------------------------

void fnGetDate(sqlite3_context* ctx, int, sqlite3_value**) {
    resultText(ctx, storageText(QDateTime::currentDateTime()));  // local time, as the server
}

void fnDatePart(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNull(argv[1]))
        return sqlite3_result_null(ctx);
    const auto d = dateTime(ctx, argv[1]);
    if (!d)
        return;
    const QString part = text(argv[0]);
    const QDate date = d->date();
    sqlite3_result_int64(ctx, part == u"year"    ? date.year()
                              : part == u"month" ? date.month()
                                                 : date.day());
}

void fnDateAdd(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNull(argv[1]) || isNull(argv[2]))
        return sqlite3_result_null(ctx);
    sqlite3_int64 n = 0;
    if (!intArg(ctx, argv[1], n))
        return;
    const auto d = dateTime(ctx, argv[2]);
    if (!d)
        return;
    if (std::abs(n) > 4000000)
        return overflow(ctx, u"datetime"_s);
    const QString part = text(argv[0]);
    const QDateTime r = part == u"year"    ? d->addYears(int(n))
                        : part == u"month" ? d->addMonths(int(n))
                                           : d->addDays(n);
    resultDateTime(ctx, r);
}

void fnDateDiff(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNull(argv[1]) || isNull(argv[2]))
        return sqlite3_result_null(ctx);
    const auto a = dateTime(ctx, argv[1]);
    if (!a)
        return;
    const auto b = dateTime(ctx, argv[2]);
    if (!b)
        return;
    const QString part = text(argv[0]);
    // The number of boundaries crossed, not whole periods elapsed.
    const QDate x = a->date(), y = b->date();
    if (part == u"year")
        return sqlite3_result_int64(ctx, y.year() - x.year());
    if (part == u"month")
        return sqlite3_result_int64(ctx, (y.year() - x.year()) * 12 + y.month() - x.month());
    sqlite3_result_int64(ctx, x.daysTo(y));
}

// ---- conversions -------------------------------------------------------------------------

enum SourceKind {
    kUnknown = 0,
    kInt = 1,
    kFloat = 2,
    kDecimal = 3,
    kMoney = 4,
    kText = 5,
    kDate = 6
};

void fnToInt(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    const int kind = sqlite3_value_int(argv[1]);
    switch (sqlite3_value_type(argv[0])) {
        case SQLITE_INTEGER:
            return sqlite3_result_int64(ctx, sqlite3_value_int64(argv[0]));
        case SQLITE_FLOAT: {
            const double d = sqlite3_value_double(argv[0]);
            // money rounds to the nearest int; float and decimal drop the fraction
            const double r = kind == kMoney ? roundHalfAway(d, 0) : std::trunc(d);
            if (!(std::abs(r) < 9.2e18))
                return overflow(ctx, u"int"_s);
            return sqlite3_result_int64(ctx, sqlite3_int64(r));
        }
        default: {
            const QString s = text(argv[0]);
            if (kind == kDate) {
                const auto d = dateTime(ctx, argv[0]);
                if (!d)
                    return;
                const QDateTime base(QDate(1900, 1, 1), QTime(0, 0));
                const qint64 ms = base.msecsTo(*d);
                return sqlite3_result_int64(ctx,
                                            sqlite3_int64(std::llround(double(ms) / 86400000.0)));
            }
            if (!parseNumber(s, true))
                return conversionFailed(ctx, s, u"int"_s);
            QString digits = s.trimmed();
            if (digits.startsWith(u'+'))
                digits.remove(0, 1);
            bool ok = false;
            const qlonglong i = digits.toLongLong(&ok);
            if (!ok)
                return overflow(ctx, u"bigint"_s);
            return sqlite3_result_int64(ctx, i);
        }
    }
}

void fnToFloat(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    if (!isText(argv[0]))
        return sqlite3_result_double(ctx, sqlite3_value_double(argv[0]));
    const auto d = parseNumber(text(argv[0]), false);
    if (!d)
        return raise(ctx, 8114, u"22018"_s, u"Error converting data type varchar to float."_s);
    sqlite3_result_double(ctx, *d);
}

// ---- exact decimals ----------------------------------------------------------------------
//
// A decimal value travels through SQLite as the double nearest to it when that double reads
// back as exactly the decimal (every value of up to 15 significant digits), otherwise as its
// exact text. The functions below read either, compute on data::Decimal and give back the
// same way, so decimal arithmetic, SUM, AVG and ROUND are exact.

using data::Decimal;

// A decimal from a value: integers and texts exactly, doubles as the decimal they stand for.
std::optional<Decimal> decimalOf(sqlite3_value* v) {
    switch (sqlite3_value_type(v)) {
        case SQLITE_INTEGER:
            return Decimal::fromInteger(sqlite3_value_int64(v));
        case SQLITE_FLOAT:
            return Decimal::fromDouble(sqlite3_value_double(v));
        case SQLITE_TEXT:
            return Decimal::parseLatin1(
                std::string_view(reinterpret_cast<const char*>(sqlite3_value_text(v)),
                                 size_t(sqlite3_value_bytes(v))));
        default:
            return std::nullopt;
    }
}

QString sourceTypeName(sqlite3_value* v, bool parameter) {
    switch (sqlite3_value_type(v)) {
        case SQLITE_INTEGER:
            return u"int"_s;
        case SQLITE_TEXT:
            return parameter ? u"nvarchar"_s : u"varchar"_s;
        default:
            return u"numeric"_s;
    }
}

// Converts argv[0] to decimal(p, s) (money is 19, 4) as a conversion or an assignment does:
// rounded half away from zero, refused with 8114 when not a number and with 8115 when the
// integer part does not fit. Returns nullopt after raising.
std::optional<Decimal> toDecimal(sqlite3_context* ctx, sqlite3_value** argv, bool parameter) {
    const int precision = sqlite3_value_int(argv[1]);
    const int scale = sqlite3_value_int(argv[2]);
    const bool money = precision == 19 && scale == 4;
    std::optional<Decimal> d;
    if (isText(argv[0])) {
        const QString t = text(argv[0]);
        d = Decimal::parse(t, money);
        if (!d && parseNumber(t, false, false)) {
            // A number, but longer than 38 digits.
            raise(ctx, 8115, u"22003"_s,
                  u"Arithmetic overflow error converting %1 to data type numeric."_s.arg(
                      parameter ? u"nvarchar"_s : u"varchar"_s),
                  kNumericOverflowState);
            return std::nullopt;
        }
        if (!d) {
            // A text that is a number only in float notation converts through float.
            if (auto f = parseNumber(t, false, true); f && !money)
                d = Decimal::fromDouble(*f);
        }
        if (!d) {
            raise(ctx, 8114, u"22018"_s,
                  u"Error converting data type %1 to %2."_s.arg(
                      parameter ? u"nvarchar"_s : u"varchar"_s, money ? u"money"_s : u"numeric"_s),
                  parameter || money ? std::nullopt : std::optional(kVarcharToNumericState));
            return std::nullopt;
        }
    } else {
        d = decimalOf(argv[0]);
    }
    std::optional<Decimal> r = d ? d->rescaled(scale) : std::nullopt;
    if (!r || r->integerDigits() > precision - scale) {
        if (money)
            overflow(ctx, u"money"_s);
        else
            raise(ctx, 8115, u"22003"_s,
                  u"Arithmetic overflow error converting %1 to data type numeric."_s.arg(
                      sourceTypeName(argv[0], parameter)),
                  kNumericOverflowState);
        return std::nullopt;
    }
    return r;
}

// tsql_to_decimal(value, p, s): CAST and CONVERT.
void fnToDecimal(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    if (const auto r = toDecimal(ctx, argv, false))
        resultDecimal(ctx, *r);
}

// tsql_store_decimal(value, p, s, parameter): a value written into a decimal column, as the
// exact text the column keeps: every digit of up to 38, at the column's scale.
void fnStoreDecimal(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    const bool parameter = sqlite3_value_int(argv[3]) != 0;
    const auto r = toDecimal(ctx, argv, parameter);
    if (!r)
        return;
    const std::string stored = r->toLatin1();
    sqlite3_result_text(ctx, stored.data(), int(stored.size()), SQLITE_TRANSIENT);
}

void notAnInteger(sqlite3_context* ctx, const QString& value, bool parameter, const QString& type) {
    raise(ctx, 245, u"22018"_s,
          u"Conversion failed when converting the %1 value '%2' to data type %3."_s.arg(
              parameter ? u"nvarchar"_s : u"varchar"_s, value, type));
}

// A value as bit: any nonzero number is 1, zero 0, the texts 'TRUE' and 'FALSE' (any case)
// 1 and 0, an integer text by its number; any other text is refused with 245.
void storeBit(sqlite3_context* ctx, sqlite3_value* value, bool parameter) {
    switch (sqlite3_value_type(value)) {
        case SQLITE_INTEGER:
            return sqlite3_result_int64(ctx, sqlite3_value_int64(value) != 0 ? 1 : 0);
        case SQLITE_FLOAT:
            return sqlite3_result_int64(ctx, sqlite3_value_double(value) != 0.0 ? 1 : 0);
        default: {
            const QString t = text(value);
            const QString word = t.trimmed();
            if (word.compare(u"TRUE"_s, Qt::CaseInsensitive) == 0)
                return sqlite3_result_int64(ctx, 1);
            if (word.compare(u"FALSE"_s, Qt::CaseInsensitive) == 0)
                return sqlite3_result_int64(ctx, 0);
            const auto n = parseNumber(t, true);
            if (!n)
                return notAnInteger(ctx, t, parameter, u"bit"_s);
            return sqlite3_result_int64(ctx, *n != 0.0 ? 1 : 0);
        }
    }
}

// A value as bigint: fractions dropped, the whole 64-bit range exact, 8115 beyond it.
void storeBigint(sqlite3_context* ctx, sqlite3_value* value, bool parameter) {
    constexpr double kLimit = 9223372036854775808.0;  // 2^63
    switch (sqlite3_value_type(value)) {
        case SQLITE_INTEGER:
            return sqlite3_result_int64(ctx, sqlite3_value_int64(value));
        case SQLITE_FLOAT: {
            const double d = std::trunc(sqlite3_value_double(value));
            if (!(d >= -kLimit && d < kLimit))
                return overflow(ctx, u"bigint"_s);
            return sqlite3_result_int64(ctx, sqlite3_int64(d));
        }
        default: {
            const QString t = text(value);
            if (!parseNumber(t, true))
                return notAnInteger(ctx, t, parameter, u"bigint"_s);
            QString digits = t.trimmed();
            if (digits.startsWith(u'+'))
                digits.remove(0, 1);
            bool ok = false;
            const qlonglong i = digits.toLongLong(&ok);
            if (!ok)
                return overflow(ctx, u"bigint"_s);
            return sqlite3_result_int64(ctx, i);
        }
    }
}

// tsql_store_int(value, digits, parameter): a value written into a bit (1 digit), tinyint (3),
// smallint (5), int (10) or bigint (19) column: fractions dropped, texts read as integers (245
// otherwise), and a value outside the type's range refused as the server refuses it (8115 for
// int and bigint, 220 for the small types).
void fnStoreInt(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    const int digits = sqlite3_value_int(argv[1]);
    const bool parameter = sqlite3_value_int(argv[2]) != 0;
    if (digits == 1)
        return storeBit(ctx, argv[0], parameter);
    if (digits == 19)
        return storeBigint(ctx, argv[0], parameter);
    const QString type = digits == 3 ? u"tinyint"_s : digits == 5 ? u"smallint"_s : u"int"_s;
    double value = 0;
    bool integral = false;
    sqlite3_int64 i = 0;
    switch (sqlite3_value_type(argv[0])) {
        case SQLITE_INTEGER:
            i = sqlite3_value_int64(argv[0]);
            integral = true;
            break;
        case SQLITE_FLOAT:
            value = std::trunc(sqlite3_value_double(argv[0]));
            break;
        default: {
            const QString t = text(argv[0]);
            if (!parseNumber(t, true))
                return notAnInteger(ctx, t, parameter, type);
            value = t.trimmed().toDouble();
            break;
        }
    }
    if (integral)
        value = double(i);
    const double low = digits == 3 ? 0 : digits == 5 ? -32768.0 : -2147483648.0;
    const double high = digits == 3 ? 255 : digits == 5 ? 32767.0 : 2147483647.0;
    if (value < low || value > high) {
        if (digits == 10)
            return overflow(ctx, u"int"_s);
        const QString shown = integral ? QString::number(i) : QString::number(value, 'f', 0);
        return raise(ctx, 220, u"22003"_s,
                     u"Arithmetic overflow error for data type %1, value = %2."_s.arg(type, shown));
    }
    sqlite3_result_int64(ctx, integral ? i : sqlite3_int64(value));
}

// tsql_dec_op(op, a, b, scale): + - * / % of two decimals (or a decimal and an integer), the
// result at the scale SQL Server's rules give it.
void fnDecOp(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNull(argv[1]) || isNull(argv[2]))
        return sqlite3_result_null(ctx);
    const auto a = decimalOf(argv[1]);
    const auto b = decimalOf(argv[2]);
    if (!a || !b) {
        const sqlite3_value* bad = a ? argv[2] : argv[1];
        return conversionFailed(ctx, text(const_cast<sqlite3_value*>(bad)), u"numeric"_s);
    }
    const int scale = sqlite3_value_int(argv[3]);
    const char op = char(sqlite3_value_text(argv[0])[0]);
    std::optional<Decimal> r;
    switch (op) {
        case '+':
            r = a->plus(*b);
            break;
        case '-':
            r = a->minus(*b);
            break;
        case '*':
            r = a->times(*b);
            break;
        case '/':
        case '%':
            if (b->isZero())
                return raise(ctx, 8134, u"22012"_s, u"Divide by zero error encountered."_s);
            if (op == '/') {
                r = a->dividedBy(*b, scale);
            } else if (auto q = a->dividedBy(*b, 0); q) {
                // a - trunc(a / b) * b, with the sign of a
                const auto whole = a->dividedBy(*b, 1);
                const auto t = whole ? whole->roundedAt(0, true) : std::nullopt;
                const auto tb = t ? t->rescaled(0) : std::nullopt;
                const auto prod = tb ? tb->times(*b) : std::nullopt;
                r = prod ? a->minus(*prod) : std::nullopt;
            }
            break;
        default:
            break;
    }
    if (r)
        r = r->rescaled(scale);
    if (!r)
        return raise(ctx, 8115, u"22003"_s,
                     u"Arithmetic overflow error converting expression to data type numeric."_s);
    resultDecimal(ctx, *r);
}

// tsql_dec_sum(x, scale) and tsql_dec_avg(x, scale, result scale): exact aggregates over a
// decimal column. A double of a column of scale s is the nearest to a whole number of
// 10^-s units, so it is read back by rounding x * 10^s.
// SQLite's aggregate memory is aligned for 8 bytes only: the 128-bit total is kept as bytes.
struct DecimalSum {
    unsigned char total[sizeof(Decimal::Units)] = {};
    Decimal::Units units() const {
        Decimal::Units u = 0;
        std::memcpy(&u, total, sizeof u);
        return u;
    }
    void setUnits(Decimal::Units u) { std::memcpy(total, &u, sizeof u); }
    sqlite3_int64 count = 0;
    int scale = 0;
    int resultScale = 0;
    bool overflow = false;
    bool bad = false;
};

void decimalStep(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    auto* acc = static_cast<DecimalSum*>(sqlite3_aggregate_context(ctx, sizeof(DecimalSum)));
    if (!acc || isNull(argv[0]))
        return;
    const int scale = std::clamp(sqlite3_value_int(argv[1]), 0, Decimal::kMaxDigits);
    acc->scale = scale;
    acc->resultScale = argc > 2 ? sqlite3_value_int(argv[2]) : scale;
    Decimal::Units add = 0;
    const int type = sqlite3_value_type(argv[0]);
    const double d = type == SQLITE_FLOAT ? sqlite3_value_double(argv[0]) : 0.0;
    if (type == SQLITE_FLOAT && scale <= 15 &&
        std::abs(d) < 1e15 / double(data::powerOfTen(scale))) {
        add = Decimal::Units(std::llround(d * double(data::powerOfTen(scale))));
    } else if (type == SQLITE_INTEGER && scale <= 18) {
        add = Decimal::Units(sqlite3_value_int64(argv[0])) * data::powerOfTen(scale);
    } else {
        const auto v = decimalOf(argv[0]);
        const auto r = v ? v->rescaled(scale) : std::nullopt;
        if (!r) {
            acc->bad = acc->bad || !v;
            acc->overflow = acc->overflow || v.has_value();
            return;
        }
        add = r->units();
    }
    const Decimal::Units limit = data::powerOfTen(Decimal::kMaxDigits);
    Decimal::Units sum = 0;
    if (__builtin_add_overflow(acc->units(), add, &sum) || sum >= limit || sum <= -limit)
        acc->overflow = true;
    acc->setUnits(sum);
    ++acc->count;
}

// Null for no rows; false after raising an error.
std::optional<Decimal> decimalTotal(sqlite3_context* ctx, const DecimalSum* acc, bool& failed) {
    failed = false;
    if (acc && acc->bad) {
        raise(ctx, 8114, u"22018"_s, u"Error converting data type varchar to numeric."_s,
              kVarcharToNumericState);
        failed = true;
    } else if (acc && acc->overflow) {
        raise(ctx, 8115, u"22003"_s,
              u"Arithmetic overflow error converting expression to data type numeric."_s);
        failed = true;
    }
    if (failed || !acc || acc->count == 0)
        return std::nullopt;
    return Decimal(acc->units(), acc->scale);
}

void decimalSumFinal(sqlite3_context* ctx) {
    bool failed = false;
    const auto total =
        decimalTotal(ctx, static_cast<DecimalSum*>(sqlite3_aggregate_context(ctx, 0)), failed);
    if (failed)
        return;
    if (!total)
        return sqlite3_result_null(ctx);
    resultDecimal(ctx, *total);
}

void decimalAvgFinal(sqlite3_context* ctx) {
    auto* acc = static_cast<DecimalSum*>(sqlite3_aggregate_context(ctx, 0));
    bool failed = false;
    const auto total = decimalTotal(ctx, acc, failed);
    if (failed)
        return;
    if (!total)
        return sqlite3_result_null(ctx);
    const auto avg = total->dividedBy(Decimal(acc->count, 0), acc->resultScale);
    if (!avg)
        return overflow(ctx, u"numeric"_s);
    resultDecimal(ctx, *avg);
}

void fnToDateTime(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    const auto d = dateTime(ctx, argv[0]);
    if (d)
        resultDateTime(ctx, *d);
}

std::optional<QString> dateText(const QDateTime& d, int style) {
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const QDate date = d.date();
    const QTime time = d.time();
    const auto two = [](int v) { return QString::number(v).rightJustified(2, u'0'); };
    const QString hm12 = QString::number(time.hour() % 12 == 0 ? 12 : time.hour() % 12) + u':' +
                         two(time.minute()) + (time.hour() < 12 ? u"AM"_s : u"PM"_s);
    switch (style) {
        case 0:
        case 100:
            return QString::fromLatin1(months[date.month() - 1]) + u' ' +
                   QString::number(date.day()).rightJustified(2, u' ') + u' ' +
                   QString::number(date.year()) + u' ' + hm12.rightJustified(7, u' ');
        case 1:
            return d.toString(u"MM/dd/yy"_s);
        case 101:
            return d.toString(u"MM/dd/yyyy"_s);
        case 3:
            return d.toString(u"dd/MM/yy"_s);
        case 103:
            return d.toString(u"dd/MM/yyyy"_s);
        case 23:
            return d.toString(u"yyyy-MM-dd"_s);
        case 108:
            return d.toString(u"HH:mm:ss"_s);
        case 112:
            return d.toString(u"yyyyMMdd"_s);
        case 120:
            return d.toString(u"yyyy-MM-dd HH:mm:ss"_s);
        case 121:
            return d.toString(u"yyyy-MM-dd HH:mm:ss.zzz"_s);
        case 126:
            return d.toString(u"yyyy-MM-ddTHH:mm:ss.zzz"_s);
        default:
            return std::nullopt;
    }
}

// tsql_to_text(value, length, fixed, style, source kind, source scale): CAST/CONVERT to
// char(n) (fixed) or varchar(n).
void fnToText(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    const int length = sqlite3_value_int(argv[1]);
    const bool fixed = sqlite3_value_int(argv[2]) != 0;
    const int style = sqlite3_value_int(argv[3]);
    int kind = sqlite3_value_int(argv[4]);
    const int scale = sqlite3_value_int(argv[5]);
    const int type = sqlite3_value_type(argv[0]);
    if (kind == kUnknown || ((kind == kText || kind == kDate) && !isText(argv[0])))
        kind = type == SQLITE_INTEGER ? kInt : type == SQLITE_FLOAT ? kFloat : kText;
    // A decimal column's stored text, or a computed decimal no double holds, is exact text.
    std::optional<Decimal> exact;
    if (kind == kDecimal && isText(argv[0])) {
        exact = decimalOf(argv[0]);
        if (exact && scale >= 0)
            exact = exact->rescaled(scale);
    }
    if ((kind == kInt || kind == kFloat || kind == kDecimal || kind == kMoney) && isText(argv[0]) &&
        !exact)
        kind = kText;
    QString s;
    bool cut = true;  // strings and dates are cut to the length; numbers must fit
    switch (kind) {
        case kInt:
            s = QString::number(sqlite3_value_int64(argv[0]));
            cut = false;
            break;
        case kFloat: {
            const double d = sqlite3_value_double(argv[0]);
            s = QString::number(d, 'g', 6);
            cut = false;
            break;
        }
        case kDecimal: {
            const double d = sqlite3_value_double(argv[0]);
            s = exact        ? exact->toString()
                : scale >= 0 ? decimalText(d, scale)
                             : QString::number(d, 'g', 17);
            cut = false;
            break;
        }
        case kMoney:
            s = moneyText(sqlite3_value_double(argv[0]), style);
            cut = false;
            break;
        case kDate: {
            const auto d = dateTime(ctx, argv[0]);
            if (!d)
                return;
            const auto t = dateText(*d, style);
            if (!t)
                return raise(ctx, 281, u"42000"_s,
                             u"%1 is not a valid style number when converting from datetime to a "
                             "character string."_s.arg(style));
            s = *t;
            break;
        }
        default:
            s = text(argv[0]);
            break;
    }
    if (length > 0 && s.size() > length) {
        if (!cut) {
            if (kind == kInt) {
                s = u"*"_s;  // an int that does not fit shows as '*'
            } else {
                return overflow(ctx, u"varchar"_s);
            }
        } else {
            s.truncate(length);
        }
    }
    if (fixed && length > 0 && s.size() < length)
        s = s.leftJustified(length, u' ');
    resultText(ctx, s);
}

// ---- LIKE and its index range ------------------------------------------------------------

// A pattern made ready once, kept by SQLite beside a pattern that stays the same for the
// statement (a literal or a bound value), so that each row costs only its own decoding.
struct PreparedLike {
    LikePattern pattern;
    QChar escape;
};

void deletePreparedLike(void* p) {
    delete static_cast<PreparedLike*>(p);
}

// like(pattern, value [, escape]): SQLite calls the LIKE operator this way.
void fnLike(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    QChar escape;
    if (argc > 2) {
        const QString e = text(argv[2]);
        if (e.size() != 1)
            return raise(
                ctx, 506, u"22019"_s,
                u"The invalid escape character \"%1\" was specified in a LIKE predicate."_s.arg(e));
        escape = e.front();
    }
    auto* prepared = static_cast<PreparedLike*>(sqlite3_get_auxdata(ctx, 0));
    if (!prepared || prepared->escape != escape) {
        prepared = new PreparedLike{LikePattern(text(argv[0]), escape), escape};
        sqlite3_set_auxdata(ctx, 0, prepared, deletePreparedLike);
        // SQLite may have freed it already when the pattern is not constant.
        prepared = static_cast<PreparedLike*>(sqlite3_get_auxdata(ctx, 0));
        if (!prepared) {
            return sqlite3_result_int(ctx,
                                      likeMatches(text(argv[1]), text(argv[0]), escape) ? 1 : 0);
        }
    }
    const auto* value = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
    const bool match =
        prepared->pattern.matchesUtf8(value ? value : "", sqlite3_value_bytes(argv[1]));
    sqlite3_result_int(ctx, match ? 1 : 0);
}

// The lowest and (beyond) highest texts a pattern's matches can have in the TSQL order: the
// literal prefix and the prefix followed by U+FFFF, which ICU sorts after every character.
// Without a usable prefix: '' and an empty blob, a range holding every text.
void fnLikeLow(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    resultText(ctx, likeRangePrefix(text(argv[0])));
}
void fnLikeHigh(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNull(argv[0]))
        return sqlite3_result_null(ctx);
    const QString prefix = likeRangePrefix(text(argv[0]));
    if (prefix.isEmpty())
        return sqlite3_result_zeroblob(ctx, 0);
    resultText(ctx, prefix + QChar(0xFFFF));
}

int collate(void* arg, int an, const void* a, int bn, const void* b) {
    return static_cast<const TextCollator*>(arg)->compareUtf8(static_cast<const char*>(a), an,
                                                              static_cast<const char*>(b), bn);
}
void destroyCollator(void* arg) {
    delete static_cast<TextCollator*>(arg);
}

struct Registration {
    const char* name;
    int args;
    void (*fn)(sqlite3_context*, int, sqlite3_value**);
    bool deterministic = true;
};

}  // namespace

void registerFunctions(sqlite3* db) {
    static const Registration functions[] = {
        {"tsql_add", 2, fnAdd},
        {"tsql_num", 1, fnNum},
        {"tsql_div", 2, fnDiv},
        {"tsql_mod", 2, fnMod},
        {"tsql_bitxor", 2, fnBitXor},
        {"tsql_adddays", 2, fnAddDays},
        {"tsql_upper", 1, fnUpper},
        {"tsql_lower", 1, fnLower},
        {"tsql_len", 1, fnLen},
        {"tsql_substring", 3, fnSubstring},
        {"tsql_left", 2, fnLeft},
        {"tsql_right", 2, fnRight},
        {"tsql_replace", 3, fnReplace},
        {"tsql_charindex", 2, fnCharIndex},
        {"tsql_charindex", 3, fnCharIndex},
        {"tsql_space", 1, fnSpace},
        {"tsql_replicate", 2, fnReplicate},
        {"tsql_str", 1, fnStr},
        {"tsql_str", 2, fnStr},
        {"tsql_str", 3, fnStr},
        {"tsql_round", 2, fnRound},
        {"tsql_round", 3, fnRound},
        {"tsql_floor", 1, fnFloor},
        {"tsql_ceiling", 1, fnCeiling},
        {"tsql_sign", 1, fnSign},
        {"tsql_getdate", 0, fnGetDate, false},
        {"tsql_datepart", 2, fnDatePart},
        {"tsql_dateadd", 3, fnDateAdd},
        {"tsql_datediff", 3, fnDateDiff},
        {"tsql_to_int", 2, fnToInt},
        {"tsql_to_float", 1, fnToFloat},
        {"tsql_to_decimal", 3, fnToDecimal},
        {"tsql_store_decimal", 4, fnStoreDecimal},
        {"tsql_store_int", 3, fnStoreInt},
        {"tsql_dec_op", 4, fnDecOp},
        {"tsql_to_datetime", 1, fnToDateTime},
        {"tsql_to_text", 6, fnToText},
        {"tsql_like_low", 1, fnLikeLow},
        {"tsql_like_high", 1, fnLikeHigh},
        {"like", 2, fnLike},
        {"like", 3, fnLike},
    };
    for (const Registration& r : functions) {
        const int flags = SQLITE_UTF8 | (r.deterministic ? SQLITE_DETERMINISTIC : 0);
        if (sqlite3_create_function_v2(db, r.name, r.args, flags, nullptr, r.fn, nullptr, nullptr,
                                       nullptr) != SQLITE_OK) {
            throw data::DbError(u"Cannot register the SQL function %1: %2"_s.arg(
                QString::fromLatin1(r.name), QString::fromUtf8(sqlite3_errmsg(db))));
        }
    }
    const int aggregateFlags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    if (sqlite3_create_function_v2(db, "tsql_dec_sum", 2, aggregateFlags, nullptr, nullptr,
                                   decimalStep, decimalSumFinal, nullptr) != SQLITE_OK ||
        sqlite3_create_function_v2(db, "tsql_dec_avg", 3, aggregateFlags, nullptr, nullptr,
                                   decimalStep, decimalAvgFinal, nullptr) != SQLITE_OK) {
        throw data::DbError(u"Cannot register the decimal aggregates: %1"_s.arg(
            QString::fromUtf8(sqlite3_errmsg(db))));
    }
    auto* collator = new TextCollator;
    if (sqlite3_create_collation_v2(db, embedded::kTextCollation, SQLITE_UTF8, collator, collate,
                                    destroyCollator) != SQLITE_OK) {
        delete collator;
        throw data::DbError(
            u"Cannot register the TSQL collation: %1"_s.arg(QString::fromUtf8(sqlite3_errmsg(db))));
    }
    registerDecimalStorage(db);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
}

}  // namespace md::tsql
