#include "product/ProductServiceStatement.h"

#include "data/statements/Statements.h"
#include "forms/Fr_Search.h"
#include "product/AttributeRange.h"
#include "product/Fa_SelectProdAttr.h"

#include <QRegularExpression>

namespace md::product {

namespace {

QStringList fragment(const char* name) {
    return statements::text(QStringLiteral("Fr_SearchProductService"), QString::fromLatin1(name));
}

// Text inside a quoted literal.
QString literal(QString text) {
    return text.replace(u'\'', QStringLiteral("''"));
}

// Typed text as a LIKE pattern inside a literal: it matches exactly what was typed.
QString likeLiteral(const QString& typed) {
    return literal(forms::TFrSearch::LikeLiteral(typed));
}

QString kindLine(int item) {
    switch (item) {
        case 0:
            return QStringLiteral("And (P.ProductType <> 'S') And (ProductType <> 'M')");
        case 1:
            return QStringLiteral("And (P.ProductType = 'S')");
        case 2:
            return QStringLiteral("And (P.ProductType = 'M')");
        case 3:
            return QStringLiteral("And (P.ProductType = 'R')");
        case 4:
            return QStringLiteral("And (P.ProductType In ('T','F','R','C','M'))");
        default:
            return QString();
    }
}

QString rangeLine(const AttributeRange& r) {
    // A blank end code reaches every code of the group from the beginning code on; the
    // condition holds the key to the group's prefix rather than bounding it by a "highest"
    // character, which the server's Windows collations do not weigh.
    return QStringLiteral("And (P.Id In (Select Product From ProductAttribute Where ") +
           AttributeRangeCondition(r.groupCode, r.beginCode, r.endCode) + QStringLiteral("))");
}

}  // namespace

QStringList ProductServiceSelect(int layout, const QString& runYear) {
    switch (layout) {
        case 1:
            return fragment("Select.1");
        case 2:
            return fragment("Select.2");
        case 3:
            return fragment("Select.3");
        case 4: {
            QStringList lines = fragment("Select.4");
            for (QString& line : lines)
                line.replace(QStringLiteral("{RunYear}"), runYear);
            return lines;
        }
        case 6:
        case 7:
        case 8:
            return fragment("Head") + fragment("BackOrder.B1") + fragment("Tail");
        case 9:
            return fragment("Head") + fragment("BackOrder.B2") + fragment("Tail");
        default:
            return fragment("Select.0");
    }
}

QStringList ProductServiceStatement(const ProductServiceCriteria& c) {
    QStringList lines = ProductServiceSelect(c.layout, c.runYear);
    lines << QStringLiteral("Where (P.Code Like '") + likeLiteral(c.code) +
                 QStringLiteral("%') And (P.ThaiName Like '") +
                 (c.nameContains ? QStringLiteral("%") : QString()) + likeLiteral(c.name) +
                 QStringLiteral("%')");
    if (!c.showBlocked)
        lines << QStringLiteral("And (P.Blocked <> 'Y')");
    lines << QStringLiteral("And (P.MasterCode ='") + literal(c.masterCode) + QStringLiteral("') ");
    if (const QString kind = kindLine(c.kindItem); !kind.isEmpty())
        lines << kind;
    const std::pair<const char*, const QString*> sizes[] = {
        {"Size_W", &c.sizeW}, {"Size_L", &c.sizeL}, {"Size_H", &c.sizeH}};
    for (const auto& [column, text] : sizes) {
        if (text->isEmpty())
            continue;
        // Only a checked number reaches the statement; anything else would change its meaning.
        const std::optional<QString> number = SizeNumberLiteral(*text);
        if (!number)
            continue;
        lines << QStringLiteral("And (P.%1 = ").arg(QString::fromLatin1(column)) + *number +
                     QStringLiteral(")");
    }
    if (c.productType > 0)
        lines << QStringLiteral("And (P.PType = ") + QString::number(c.productType) +
                     QStringLiteral(")");
    if (c.productGroup > 0)
        lines << QStringLiteral("And (P.PGroup = ") + QString::number(c.productGroup) +
                     QStringLiteral(")");
    for (const AttributeRange& r : c.ranges) {
        if (r.beginCode.trimmed().isEmpty() && r.endCode.trimmed().isEmpty())
            continue;
        lines << rangeLine(r);
    }
    if (c.customerProductsOnly)
        lines << QStringLiteral(
            " And (P.productgroup = (select id from productgroup where code='0' and "
            "producttype<>'S'))");
    lines << QStringLiteral("Order By P.Code");
    return lines;
}

std::optional<QString> SizeNumberLiteral(const QString& typed) {
    static const QRegularExpression number(
        QStringLiteral("^[+-]?(?:[0-9]+(?:\\.[0-9]*)?|\\.[0-9]+)$"));
    const QString text = typed.trimmed();
    if (!number.match(text).hasMatch())
        return std::nullopt;
    // The server reads at most 38 digits in a number.
    int digits = 0;
    for (const QChar ch : text)
        digits += ch.isDigit() ? 1 : 0;
    if (digits > 38)
        return std::nullopt;
    return text;
}

bool CustomerProductsOnly(const QString& dataDbName, const QString& userCode) {
    return dataDbName == QStringLiteral("CO04") && userCode.left(8) == QStringLiteral("CUSTOMER");
}

}  // namespace md::product
