#pragma once

// The statement of the full product search, built line by line from what the dialog holds: the
// select part of the company's result layout, the code and name condition, the blocked,
// master-code, kind, size, type, group and attribute conditions, and the order.
//
// Typed texts never change the statement's shape: the code and the name are escaped LIKE
// patterns (quotes doubled, "%", "_" and "[" matched as written), a size is a number literal the
// dialog has checked (SizeNumberLiteral), the other values are keys or codes of the program.

#include "product/AttributeRange.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace md::product {

struct ProductServiceCriteria {
    int layout = 0;             // the company option SearchProductNo
    QString runYear;            // the company option RunYear as text (layout 4)
    QString code;               // the search box, as typed
    QString name;               // the name box, as typed
    bool nameContains = false;  // match mode "ประกอบด้วย": the name may stand anywhere
    bool showBlocked = false;
    QString masterCode = QStringLiteral("N");
    int kindItem = -1;  // the kind item shown (0 to 4), -1 for none
    // Number literals from SizeNumberLiteral; empty for a box left empty.
    QString sizeW, sizeL, sizeH;
    qint64 productType = 0;   // key of the chosen product type (Misc.Id), 0 for none
    qint64 productGroup = 0;  // key of the chosen product group, 0 for none
    std::vector<AttributeRange> ranges;
    // The one company whose customer logins see only the products of product group "0".
    bool customerProductsOnly = false;
};

// The select part of a result layout; every layout returns Code, ThaiName and Picture1.
QStringList ProductServiceSelect(int layout, const QString& runYear);

// The whole statement.
QStringList ProductServiceStatement(const ProductServiceCriteria& criteria);

// A size box's text as the number it stands for, for the statement: blanks around it dropped,
// an optional sign, digits with at most one decimal point. Nothing for any other text (the
// dialog refuses it in the box).
std::optional<QString> SizeNumberLiteral(const QString& typed);

// Whether the session sees only the customer products: company database "CO04" and a user
// code beginning with "CUSTOMER".
bool CustomerProductsOnly(const QString& dataDbName, const QString& userCode);

}  // namespace md::product
