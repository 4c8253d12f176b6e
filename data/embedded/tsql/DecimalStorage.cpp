#include "data/embedded/tsql/DecimalStorage.h"

#include "data/backend/DbError.h"
#include "data/backend/Decimal.h"
#include "data/embedded/EngineConventions.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <optional>
#include <string_view>

namespace md::tsql {
namespace {

using data::Decimal;

// A text as the double it spells, for numbers no Decimal holds (1.0e+300, which SQLite
// writes for a huge REAL given to a text column).
std::optional<double> doubleOf(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    double value = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    if (r.ec != std::errc() || r.ptr != text.data() + text.size())
        return std::nullopt;
    return value;
}

int collateDecimal(void*, int an, const void* a, int bn, const void* b) {
    return compareDecimalTexts(static_cast<const char*>(a), an, static_cast<const char*>(b), bn);
}

// tsql_dec(x): numbers pass unchanged; a stored decimal text becomes the number it is, or
// stays its exact text when no double holds it.
void fnDec(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) != SQLITE_TEXT)
        return sqlite3_result_value(ctx, argv[0]);
    const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const std::string_view text(p, size_t(sqlite3_value_bytes(argv[0])));
    if (const auto d = Decimal::parseLatin1(text, true))
        return resultDecimal(ctx, *d);
    if (const auto f = doubleOf(text))
        return sqlite3_result_double(ctx, *f);
    sqlite3_result_value(ctx, argv[0]);
}

// A value as a decimal, or as a double where it is a number no decimal holds.
struct Number {
    std::optional<Decimal> exact;
    std::optional<double> approximate;
};

Number numberOf(sqlite3_value* v) {
    switch (sqlite3_value_type(v)) {
        case SQLITE_INTEGER:
            return {Decimal::fromInteger(sqlite3_value_int64(v)), {}};
        case SQLITE_FLOAT: {
            const double d = sqlite3_value_double(v);
            return {Decimal::fromDouble(d), d};
        }
        case SQLITE_TEXT: {
            const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
            const std::string_view text(p, size_t(sqlite3_value_bytes(v)));
            if (auto d = Decimal::parseLatin1(text, true))
                return {d, {}};
            return {{}, doubleOf(text)};
        }
        default:
            return {};
    }
}

// tsql_dec_cmp(a, b): -1, 0 or 1 as a is below, equal to or above b, compared as exact
// numbers (NULL when either is NULL). A computed decimal no double holds travels as text,
// which SQLite would order after every number.
void fnDecCmp(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    const Number a = numberOf(argv[0]);
    const Number b = numberOf(argv[1]);
    if (a.exact && b.exact)
        return sqlite3_result_int(ctx, a.exact->compare(*b.exact));
    const auto da = a.exact ? std::optional<double>(a.exact->toDouble()) : a.approximate;
    const auto db = b.exact ? std::optional<double>(b.exact->toDouble()) : b.approximate;
    if (!da || !db) {
        embedded::raiseEngineError(
            ctx, {8114, QStringLiteral("22018"),
                  QStringLiteral("Error converting data type varchar to numeric."),
                  embedded::kVarcharToNumericState});
        return;
    }
    sqlite3_result_int(ctx, *da < *db ? -1 : *da > *db ? 1 : 0);
}

// tsql_dec_text(x): a computed decimal as text, so that a sort over numbers and over the
// texts of decimals no double holds orders all of them by the decimal collation.
void fnDecText(sqlite3_context* ctx, int, sqlite3_value** argv) {
    switch (sqlite3_value_type(argv[0])) {
        case SQLITE_INTEGER:
        case SQLITE_FLOAT: {
            const Number n = numberOf(argv[0]);
            if (!n.exact)
                return sqlite3_result_value(ctx, argv[0]);
            const std::string t = n.exact->toLatin1();
            return sqlite3_result_text(ctx, t.data(), int(t.size()), SQLITE_TRANSIENT);
        }
        default:
            return sqlite3_result_value(ctx, argv[0]);
    }
}

}  // namespace

void resultDecimal(sqlite3_context* ctx, const Decimal& d) {
    if (d.scale() == 0 && d.integerDigits() <= 18)
        return sqlite3_result_int64(ctx, sqlite3_int64(d.units()));
    if (d.fitsDouble())
        return sqlite3_result_double(ctx, d.toDouble());
    const std::string t = d.toLatin1();
    sqlite3_result_text(ctx, t.data(), int(t.size()), SQLITE_TRANSIENT);
}

int compareDecimalTexts(const char* a, int aLength, const char* b, int bLength) {
    const std::string_view ta(a, size_t(aLength)), tb(b, size_t(bLength));
    const auto da = Decimal::parseLatin1(ta, true);
    const auto db = Decimal::parseLatin1(tb, true);
    if (da && db)
        return da->compare(*db);
    const std::optional<double> fa = da ? std::optional<double>(da->toDouble()) : doubleOf(ta);
    const std::optional<double> fb = db ? std::optional<double>(db->toDouble()) : doubleOf(tb);
    if (fa && fb)
        return *fa < *fb ? -1 : *fa > *fb ? 1 : 0;
    if (fa || fb)
        return fa ? -1 : 1;  // numbers first
    const int c = std::memcmp(a, b, size_t(std::min(aLength, bLength)));
    return c != 0 ? c : aLength - bLength;
}

void registerDecimalStorage(sqlite3* db) {
    if (sqlite3_create_collation_v2(db, embedded::kDecimalCollation, SQLITE_UTF8, nullptr,
                                    collateDecimal, nullptr) != SQLITE_OK ||
        sqlite3_create_function_v2(db, "tsql_dec", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                   fnDec, nullptr, nullptr, nullptr) != SQLITE_OK ||
        sqlite3_create_function_v2(db, "tsql_dec_cmp", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                   nullptr, fnDecCmp, nullptr, nullptr, nullptr) != SQLITE_OK ||
        sqlite3_create_function_v2(db, "tsql_dec_text", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                   nullptr, fnDecText, nullptr, nullptr, nullptr) != SQLITE_OK) {
        throw data::DbError(QStringLiteral("Cannot register the decimal storage: %1")
                                .arg(QString::fromUtf8(sqlite3_errmsg(db))));
    }
}

}  // namespace md::tsql
