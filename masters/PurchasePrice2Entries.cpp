// The part-source window's cells that name another row: the product, unit and currency codes
// resolved as their cells are left, and the three searches that fill them.

#include "masters/Fr_PurchasePrice2.h"

#include "forms/KeptWindow.h"
#include "masters/Fr_SearchMisc.h"
#include "product/Dm_Product.h"
#include "product/Fr_SearchUnit.h"
#include "product/ProductSearches.h"

namespace md::masters {

void TF_PurchasePrice2::CodeExit() {
    data::Field& code = QPrice.fieldByName(QStringLiteral("Code"));
    const QString text = code.asString().trimmed();
    QPrice.edit();
    code.setAsString(text);
    const qint64 before = QPrice.fieldByName(QStringLiteral("Product")).asInteger();
    product::TDmProduct* products = product::DmProduct;
    if (products && products->ExistsProduct(text)) {
        QPrice.edit();
        data::Query& found = products->QChkProduct;
        QPrice.fieldByName(QStringLiteral("Product"))
            .setValue(found.fieldByName(QStringLiteral("Id")).value());
        code.setValue(found.fieldByName(QStringLiteral("Code")).value());
        QPrice.fieldByName(QStringLiteral("ThaiName"))
            .setValue(found.fieldByName(QStringLiteral("ThaiName")).value());
    } else {
        QPrice.edit();
        QPrice.fieldByName(QStringLiteral("Product")).clear();
        code.clear();
        QPrice.fieldByName(QStringLiteral("ThaiName")).clear();
    }
    // A unit belongs to one product: another product takes the unit name of the row only where
    // it has a unit of that name, so the row never keeps the unit of the product it had before.
    const qint64 after = QPrice.fieldByName(QStringLiteral("Product")).asInteger();
    if (after != before && after > 0 &&
        !QPrice.fieldByName(QStringLiteral("UnitName")).asString().trimmed().isEmpty())
        DBUnitNameExit();
}

void TF_PurchasePrice2::DBUnitNameExit() {
    data::Field& unit = QPrice.fieldByName(QStringLiteral("UnitName"));
    const QString text = unit.asString().trimmed();
    QPrice.edit();
    unit.setAsString(text);
    const qint64 productId = QPrice.fieldByName(QStringLiteral("Product")).asInteger();
    product::TDmProduct* products = product::DmProduct;
    // A typed unit is any unit of the product, whatever its role.
    if (products && products->ExistsProductUnit(
                        productId, text,
                        product::ukSale | product::ukPurc | product::ukStock | product::ukSmall)) {
        QPrice.edit();
        data::Query& found = products->QChkUnit;
        QPrice.fieldByName(QStringLiteral("ProductUnits"))
            .setValue(found.fieldByName(QStringLiteral("Id")).value());
        unit.setValue(found.fieldByName(QStringLiteral("UnitName")).value());
    } else {
        QPrice.edit();
        QPrice.fieldByName(QStringLiteral("ProductUnits")).clear();
        unit.clear();
    }
}

void TF_PurchasePrice2::DBCurrenCyExit() {
    data::Field& code = QPrice.fieldByName(QStringLiteral("Code_1"));
    const QString text = code.asString().trimmed();
    QPrice.edit();
    code.setAsString(text);
    QCURRENCY.close();
    QCURRENCY.paramByName(QStringLiteral("GNO")).setAsString(text);
    QCURRENCY.open();
    QPrice.edit();
    if (QCURRENCY.isEmpty()) {
        code.clear();
        QPrice.fieldByName(QStringLiteral("Currency")).clear();
    } else {
        QPrice.fieldByName(QStringLiteral("Currency"))
            .setValue(QCURRENCY.fieldByName(QStringLiteral("Id")).value());
        code.setValue(QCURRENCY.fieldByName(QStringLiteral("Code")).value());
    }
}

void TF_PurchasePrice2::SearchProduct() {
    if (!QPrice.isOpen() || QPrice.recNo() < 0)
        return;
    product::TDmProduct* products = product::DmProduct;
    if (!products)
        return;
    // Every product kind, blocked products hidden, no master codes.
    const product::ProductServiceSearchInputs inputs{QStringLiteral(" "), QStringLiteral("N"),
                                                     false};
    if (!products->SearchProductService(inputs))
        return;
    const QString chosen = products->SelectedCode;
    QPrice.edit();
    QPrice.fieldByName(QStringLiteral("Code")).setAsString(chosen);
    putIntoEditor(QStringLiteral("Code"), chosen);
}

void TF_PurchasePrice2::SearchUnit() {
    if (!QPrice.isOpen() || QPrice.recNo() < 0)
        return;
    // The purchase units of the row's product.
    product::TFrSearchUnit* search = product::FrSearchUnit();
    search->ProductId = QPrice.fieldByName(QStringLiteral("Product")).asInteger();
    search->ForPurc = true;
    search->ForSale = false;
    search->ForStock = false;
    search->ForSmall = false;
    if (search->exec() != QDialog::Accepted)
        return;
    const QString chosen = search->SelectedUnit;
    QPrice.edit();
    QPrice.fieldByName(QStringLiteral("UnitName")).setAsString(chosen);
    putIntoEditor(QStringLiteral("UnitName"), chosen);
}

void TF_PurchasePrice2::SearchCurrency() {
    if (!QPrice.isOpen() || QPrice.recNo() < 0)
        return;
    TFrSearchMisc* search = forms::KeptWindow<TFrSearchMisc>::get();
    search->MiscGroup = QStringLiteral("CURRENCY");
    search->ResultField = QStringLiteral("CODE");
    search->setWindowTitle(QStringLiteral(u"ค้นหาสกุลเงิน"));
    if (search->exec() != QDialog::Accepted)
        return;
    const QString chosen = search->ResultValue;
    QPrice.edit();
    QPrice.fieldByName(QStringLiteral("Code_1")).setAsString(chosen);
    putIntoEditor(QStringLiteral("Code_1"), chosen);
}

}  // namespace md::masters
