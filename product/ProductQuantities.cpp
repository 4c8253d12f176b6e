// Stock quantities: on-hand stock summed in smallest units and written as a quantity text.

#include "product/Dm_Product.h"
#include "product/QuantityText.h"

namespace md::product {

namespace {

void bindAll(data::Query& q, qint64 productId) {
    q.close();
    q.paramByName(QStringLiteral("pid")).setAsInteger(productId);
}

}  // namespace

QString TDmProduct::quantityTextOf(data::Query& query, double q) {
    if (query.isEmpty())
        return QuantityErrorText();
    QuantityUnits units;
    const data::Field& fraction = query.fieldByName(QStringLiteral("stockunitfrac"));
    if (!fraction.isNull())
        units.stockFraction = fraction.asFloat();
    units.stockName = query.fieldByName(QStringLiteral("stockunitname")).asString();
    units.smallName = query.fieldByName(QStringLiteral("smallunitname")).asString();
    return QuantityText(q, units, Separators);
}

QString TDmProduct::ProductQuantity(qint64 productId, int year) {
    bindAll(QOnHand, productId);
    QOnHand.paramByName(QStringLiteral("yid")).setAsInteger(year);
    QOnHand.open();
    if (QOnHand.isEmpty())
        return QuantityErrorText();
    return quantityTextOf(QOnHand, QOnHand.fieldByName(QStringLiteral("qnty")).asFloat());
}

QString TDmProduct::ProductWHQuantity(qint64 productId, qint64 warehouseId, int year) {
    bindAll(QOnhandWH, productId);
    QOnhandWH.paramByName(QStringLiteral("yid")).setAsInteger(year);
    QOnhandWH.paramByName(QStringLiteral("wid")).setAsInteger(warehouseId);
    QOnhandWH.open();
    if (QOnhandWH.isEmpty())
        return QuantityErrorText();
    LastWHQuantity = QOnhandWH.fieldByName(QStringLiteral("qnty")).asFloat();
    return quantityTextOf(QOnhandWH, LastWHQuantity);
}

QString TDmProduct::ProductUnitsWHQuantity(qint64 productId, qint64 productUnitsId,
                                           qint64 warehouseId, int year) {
    bindAll(QOnhandWHunits, productId);
    QOnhandWHunits.paramByName(QStringLiteral("uid")).setAsInteger(productUnitsId);
    QOnhandWHunits.paramByName(QStringLiteral("yid")).setAsInteger(year);
    QOnhandWHunits.paramByName(QStringLiteral("wid")).setAsInteger(warehouseId);
    QOnhandWHunits.open();
    if (QOnhandWHunits.isEmpty())
        return QuantityErrorText();
    LastWHQuantity = QOnhandWHunits.fieldByName(QStringLiteral("qnty")).asFloat();
    return quantityTextOf(QOnhandWHunits, LastWHQuantity);
}

QString TDmProduct::ShowQuantity(qint64 productId, double quantity) {
    bindAll(QShowQnty, productId);
    QShowQnty.open();
    return quantityTextOf(QShowQnty, quantity);
}

}  // namespace md::product
