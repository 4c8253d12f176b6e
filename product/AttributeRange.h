#pragma once

// The condition on a product attribute's combined group-and-code key (`GroupCode` of the view
// ProductAttribute) for one row of the attribute frame, as the product searches put it into
// their statements.
//
// A row with an end code is the closed range from the group code and beginning code to the group
// code and end code. A row with a beginning code and no end code reaches every code of the group
// from the beginning code on. Its upper end is not written as the group code followed by a
// "highest" character: SQL Server's Windows collations give a character they have no sort weight
// for (U+FFFF among them) no weight at all, so such a bound equals the group code alone there
// and would leave out every code after it. The key is bounded from below and held to the group's
// prefix by LIKE instead, which every collation agrees on.

#include <QString>

namespace md::product {

// One row of the attribute frame as it holds it (untrimmed).
struct AttributeRange {
    QString groupCode, beginCode, endCode;
};

// The condition for the row, "" when both codes are blank. The codes are trimmed; every text is
// an escaped literal (quotes doubled, LIKE wildcards of the group code matched as written).
QString AttributeRangeCondition(const QString& groupCode, const QString& beginCode,
                                const QString& endCode);

}  // namespace md::product
