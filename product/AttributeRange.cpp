#include "product/AttributeRange.h"

#include "forms/Fr_Search.h"

namespace md::product {

namespace {

QString literal(QString text) {
    return text.replace(u'\'', QStringLiteral("''"));
}

}  // namespace

QString AttributeRangeCondition(const QString& groupCode, const QString& beginCode,
                                const QString& endCode) {
    const QString group = groupCode.trimmed();
    const QString begin = beginCode.trimmed(), end = endCode.trimmed();
    if (begin.isEmpty() && end.isEmpty())
        return QString();
    if (!end.isEmpty())
        return QStringLiteral("(GroupCode Between '") + literal(group + begin) +
               QStringLiteral("' And '") + literal(group + end) + QStringLiteral("')");
    return QStringLiteral("(GroupCode >= '") + literal(group + begin) +
           QStringLiteral("') And (GroupCode Like '") +
           literal(forms::TFrSearch::LikeLiteral(group)) + QStringLiteral("%')");
}

}  // namespace md::product
