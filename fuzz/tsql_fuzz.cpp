// libFuzzer target: any text through the lexer, the statement translator, the expression
// translator and the value rules of the SQL functions (dates, LIKE, STR, exact decimals). A
// refusal (DbError) is a valid outcome; a crash, hang or sanitizer report is not.

#include "data/backend/DbError.h"
#include "data/backend/Decimal.h"
#include "data/backend/SqlLexer.h"
#include "data/embedded/tsql/DmlTranslator.h"
#include "data/embedded/tsql/TextRules.h"
#include "data/embedded/tsql/Values.h"

#include <QString>
#include <cstddef>
#include <cstdint>

namespace {

class FuzzSchema : public md::tsql::SchemaLookup {
  public:
    std::optional<md::tsql::ColumnType> column(const QString& table,
                                               const QString& column) const override {
        using md::tsql::SqlType;
        const QString c = column.toLower();
        if (c == u"id" || c.endsWith(u"id"))
            return md::tsql::ColumnType{SqlType::Integer};
        if (c.contains(u"date"))
            return md::tsql::ColumnType{SqlType::DateTime};
        if (c.contains(u"price"))
            return md::tsql::ColumnType{SqlType::Money, -1, 19, 4};
        if (table.isEmpty())
            return std::nullopt;
        return md::tsql::ColumnType{SqlType::Text, 30};
    }
    std::optional<md::tsql::ColumnType> variable(const QString&) const override {
        return std::nullopt;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096)
        return 0;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    md::data::SqlLexer lexer(text);
    for (const auto& t : lexer.tokens())
        (void)md::data::positionOf(text, t.begin);
    FuzzSchema schema;
    try {
        (void)md::tsql::translateStatement(text, schema);
    } catch (const md::data::DbError&) {
    }
    try {
        (void)md::tsql::translateExpression(text, schema);
    } catch (const md::data::DbError&) {
    }
    // The value rules the SQL functions apply at run time.
    (void)md::tsql::parseDateTime(text);
    const qsizetype half = text.size() / 2;
    (void)md::tsql::likeMatches(text.left(half), text.mid(half));
    (void)md::tsql::likeRangePrefix(text);
    if (const auto n = md::tsql::parseNumber(text, false)) {
        (void)md::tsql::strText(*n, int(size % 40), int(size % 7));
        (void)md::tsql::moneyText(*n, int(size % 4));
        (void)md::tsql::decimalText(*n, int(size % 20));
        (void)md::tsql::roundHalfAway(*n, int(size % 41) - 20);
    }
    // The exact decimals behind decimal columns, SUM, ROUND and + - * / on decimals.
    const auto a = md::data::Decimal::parse(text.left(half), true);
    const auto b = md::data::Decimal::parse(text.mid(half));
    if (a) {
        (void)a->rescaled(int(size % 40));
        (void)a->roundedAt(int(size % 80) - 40, size % 2 == 0);
        (void)a->toString();
        (void)a->fitsDouble();
        (void)md::data::Decimal::fromDouble(a->toDouble());
        if (b) {
            (void)a->plus(*b);
            (void)a->minus(*b);
            (void)a->times(*b);
            (void)a->dividedBy(*b, int(size % 39));
            (void)a->compare(*b);
        }
    }
    return 0;
}
