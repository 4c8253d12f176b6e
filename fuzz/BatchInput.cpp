#include "fuzz/BatchInput.h"

#include "data/backend/Backend.h"
#include "data/backend/DbError.h"
#include "data/backend/Decimal.h"
#include "data/backend/SqlLexer.h"
#include "data/embedded/BatchParser.h"
#include "data/embedded/EmbeddedBackend.h"
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

// Tables beside which the input runs, so that statements over them get past the catalogue.
constexpr char kSchema[] =
    "CREATE TABLE T (Id int IDENTITY(1,1) PRIMARY KEY, Code varchar(20) NOT NULL, "
    "Name nvarchar(50) NULL, Price money NULL, Qty decimal(18,4) NULL, DocDate datetime NULL, "
    "Big decimal(38,10) NULL)\n"
    "CREATE INDEX IX_T_Big ON T (Big)\n"
    "CREATE TABLE U (Code varchar(20) NOT NULL PRIMARY KEY, Remark varchar(100) NULL, "
    "Rate decimal(9,6) NOT NULL DEFAULT 0)\n"
    "INSERT INTO T (Code, Name, Price, Qty, DocDate) VALUES ('A1', N'x', 10.5, 2, '20240131')\n"
    "INSERT INTO U (Code, Remark, Rate) VALUES ('A1', 'r', 1.25)";

// The database every input starts from, made once per process: opening the engine's catalogue
// and creating the tables per input cost more than most inputs, and each input still runs on
// its own copy, so no input sees what another left behind.
const QByteArray& startImage() {
    static const QByteArray image = [] {
        auto session = md::embedded::openMemorySession(QStringLiteral("FUZZ"));
        (void)session->execute(QString::fromLatin1(kSchema), {});
        return md::embedded::memoryImage(*session);
    }();
    return image;
}

// The batch run on a fresh copy of the start database, every result read to its end.
void runOnEngine(const QString& text) {
    std::unique_ptr<md::data::Session> session =
        md::embedded::openMemorySession(QStringLiteral("FUZZ"), startImage());
    try {
        (void)md::embedded::compileBatch(text);
    } catch (const md::data::DbError&) {
    }
    try {
        const std::vector<QVariant> params(size_t(md::embedded::countPlaceholders(text)),
                                           QVariant(1));
        auto rs = session->execute(text, params);
        std::vector<QVariant> row;
        do {
            while (rs->fetch(row)) {
            }
            (void)rs->rowsAffected();
        } while (rs->nextResult());
    } catch (const md::data::DbError&) {
    }
}

}  // namespace

void md::fuzz::runBatchInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    runOnEngine(text);
    md::data::SqlLexer lexer(text);
    // The position of the last token (positionOf reads the text from its start, so asking
    // for every token would make the harness itself quadratic).
    if (!lexer.tokens().empty())
        (void)md::data::positionOf(text, lexer.tokens().back().begin);
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
}
