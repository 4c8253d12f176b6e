// Price determination: each source is asked in a fixed order and a later source that answers
// overrides the price (and the discount text) of the one before. The discount is handed on as
// its text, never applied here.

#include "data/Dm_Config.h"
#include "product/Dm_Product.h"

namespace md::product {

namespace {

QString textOf(data::Query& q, const char* column) {
    return q.fieldByName(QString::fromLatin1(column)).asString();
}

double priceOf(data::Query& q, const char* column) {
    return q.fieldByName(QString::fromLatin1(column)).asFloat();
}

int fallbackPriceType() {
    return data::DMConfig ? data::DMConfig->Pos1PriceType : 0;
}

// Opens the unit's price in one price list; true with a row.
bool openProductPrice(data::Query& q, qint64 productId, qint64 productUnitsId, int priceType) {
    q.close();
    q.paramByName(QStringLiteral("GetProduct")).setAsInteger(productId);
    q.paramByName(QStringLiteral("GetUnits")).setAsInteger(productUnitsId);
    q.paramByName(QStringLiteral("GetType")).setAsInteger(priceType);
    q.open();
    return !q.isEmpty();
}

bool openCustomerPrice(data::Query& q, qint64 customerId, qint64 productId, qint64 unitId) {
    q.close();
    q.paramByName(QStringLiteral("cid")).setAsInteger(customerId);
    q.paramByName(QStringLiteral("pid")).setAsInteger(productId);
    q.paramByName(QStringLiteral("uid")).setAsInteger(unitId);
    q.open();
    return !q.isEmpty();
}

}  // namespace

bool TDmProduct::applyPromotion(qint64 customerId, qint64 productId, qint64 productUnitsId,
                                int priceType, const QDateTime& docDate, double& price) {
    // The document's day: a promotion runs from its start day to its stop day inclusive,
    // whatever the time of the document.
    const QDateTime day(docDate.date(), QTime(0, 0), docDate.timeSpec());
    auto lookUp = [&](qint64 customer) {
        QPromotion.close();
        QPromotion.paramByName(QStringLiteral("pid")).setAsInteger(productId);
        QPromotion.paramByName(QStringLiteral("uid")).setAsInteger(productUnitsId);
        QPromotion.paramByName(QStringLiteral("tid")).setAsInteger(priceType);
        QPromotion.paramByName(QStringLiteral("cid")).setAsInteger(customer);
        QPromotion.paramByName(QStringLiteral("pdate")).setAsDateTime(day);
        QPromotion.open();
        return !QPromotion.isEmpty();
    };
    // The customer's own promotion first, then the one for every customer (customer 0); of
    // several, the latest (highest id) comes first.
    if (!lookUp(customerId) && !lookUp(0))
        return false;
    PriceDiscount = textOf(QPromotion, "discpercent");
    price = priceOf(QPromotion, "price");
    return true;
}

double TDmProduct::GetPrice(qint64 customerId, qint64 productId, qint64 productUnitsId,
                            int priceType, const QDateTime& docDate) {
    PriceDiscount.clear();
    double price = 0;

    // Base price: the stock unit's price list where the company works in stock units, else the
    // unit's price in the requested list, falling back to the point-of-sale list.
    const bool stockUnitMode = UseStockUnitPrice && searchProductNo() == 2 && displayFraction();
    qint64 customerUnit = productUnitsId;
    if (stockUnitMode) {
        QStockUnitPrice.close();
        QStockUnitPrice.paramByName(QStringLiteral("GetProduct")).setAsInteger(productId);
        QStockUnitPrice.paramByName(QStringLiteral("GetType")).setAsInteger(priceType);
        QStockUnitPrice.open();
        customerUnit = 0;
        if (!QStockUnitPrice.isEmpty()) {
            price = priceOf(QStockUnitPrice, "Price");
            customerUnit = QStockUnitPrice.fieldByName(QStringLiteral("Id")).asInteger();
        }
    } else if (openProductPrice(QProductPrice, productId, productUnitsId, priceType)) {
        price = priceOf(QProductPrice, "Price");
    } else if (openProductPrice(QProductPrice, productId, productUnitsId, fallbackPriceType())) {
        price = priceOf(QProductPrice, "Price");
    }

    // The customer's own price replaces the list price only when it is above zero; its
    // quantity and discount are taken either way.
    if (openCustomerPrice(QCustomerProductPrice, customerId, productId, customerUnit)) {
        PriceQuantity =
            qint32(QCustomerProductPrice.fieldByName(QStringLiteral("quantity")).asInteger());
        PriceDiscount = textOf(QCustomerProductPrice, "discount");
        const double customerPrice = priceOf(QCustomerProductPrice, "price");
        if (customerPrice > 0)
            price = customerPrice;
    } else {
        PriceQuantity = 0;
        PriceDiscount.clear();
    }

    // A promotion of the given unit overrides everything before it, a price of 0 included.
    applyPromotion(customerId, productId, productUnitsId, priceType, docDate, price);
    // A sale price is for one unit, promotion or not: the customer price's quantity does not
    // outlive this call.
    PriceQuantity = 1;
    return price;
}

double TDmProduct::GetProjectPrice(qint64 customerId, qint64 productId, qint64 productUnitsId,
                                   int priceType, qint64 projectId, const QDateTime& docDate) {
    PriceDiscount.clear();
    double price = 0;
    if (openProductPrice(QProductPrice, productId, productUnitsId, priceType))
        price = priceOf(QProductPrice, "Price");

    // For a project the customer's price holds even at 0.
    if (openCustomerPrice(QCustomerProductPrice, customerId, productId, productUnitsId)) {
        PriceQuantity =
            qint32(QCustomerProductPrice.fieldByName(QStringLiteral("quantity")).asInteger());
        PriceDiscount = textOf(QCustomerProductPrice, "discount");
        price = priceOf(QCustomerProductPrice, "price");
    } else {
        PriceQuantity = 0;
        PriceDiscount.clear();
    }

    applyPromotion(customerId, productId, productUnitsId, priceType, docDate, price);

    // The project's own price overrides even a promotion.
    QProjectPrice.close();
    QProjectPrice.paramByName(QStringLiteral("pid")).setAsInteger(productId);
    QProjectPrice.paramByName(QStringLiteral("uid")).setAsInteger(productUnitsId);
    QProjectPrice.paramByName(QStringLiteral("cid")).setAsInteger(customerId);
    QProjectPrice.paramByName(QStringLiteral("projectid")).setAsInteger(projectId);
    QProjectPrice.open();
    if (!QProjectPrice.isEmpty()) {
        PriceDiscount = textOf(QProjectPrice, "discount");
        price = priceOf(QProjectPrice, "price");
    }
    return price;
}

double TDmProduct::SetPurchasePrice(qint64 productId, qint64 vendorId, qint64 productUnitsId,
                                    double defaultPrice) {
    QPriceVendor.close();
    QPriceVendor.paramByName(QStringLiteral("pid")).setAsInteger(productId);
    QPriceVendor.paramByName(QStringLiteral("vid")).setAsInteger(vendorId);
    QPriceVendor.paramByName(QStringLiteral("uid")).setAsInteger(productUnitsId);
    QPriceVendor.open();
    if (!QPriceVendor.isEmpty())
        return priceOf(QPriceVendor, "price");

    QPriceStandard.close();
    QPriceStandard.paramByName(QStringLiteral("GetId")).setAsInteger(productUnitsId);
    QPriceStandard.open();
    if (!QPriceStandard.isEmpty())
        return priceOf(QPriceStandard, "PurcPrice");
    return defaultPrice;
}

}  // namespace md::product
