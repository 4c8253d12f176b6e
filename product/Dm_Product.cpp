#include "product/Dm_Product.h"

#include "data/Dm_Config.h"
#include "data/Prompts.h"
#include "data/U_DM.h"
#include "data/backend/DbError.h"
#include "data/statements/Statements.h"

namespace md::product {

TDmProduct* DmProduct = nullptr;

namespace {

QStringList sqlOf(const char* component) {
    return statements::text(QStringLiteral("Dm_Product"), QString::fromLatin1(component));
}

data::Connection* company() {
    return data::DM ? &data::DM->DMdata : nullptr;
}

bool isY(const QVariant& v) {
    return !v.isNull() && v.toString() == QStringLiteral("Y");
}

// The line of QChkProduct that joins the default warehouse, and the line of QChkWarehouse that
// limits the warehouses, both replaced at every call.
constexpr int kProductWarehouseLine = 6;
constexpr int kWarehouseRightsLine = 3;

int userId() {
    return data::DMConfig ? data::DMConfig->UserId : 0;
}

QString userWarehouses() {
    return QStringLiteral("(Select Warehouse From UserWarehouse Where UserName = ") +
           QString::number(userId()) + QStringLiteral(" )");
}

QString productWarehouseLine(bool userRights) {
    if (!userRights)
        return QStringLiteral("Inner Join Warehouse W On (W.Id = P.DefaultWh) ");
    // Under warehouse rights the product is still found; the warehouse columns stay empty
    // where the user may not use its default warehouse.
    return QStringLiteral("Left Join Warehouse W On (W.Id = P.DefaultWh)  And W.Id In ") +
           userWarehouses();
}

QString warehouseRightsLine(bool userRights) {
    return userRights ? QStringLiteral(" And W.Id In ") + userWarehouses() : QString();
}

// The LIKE pattern of one role's flag: "Y%" when the role is asked for, else `unwanted`.
QString rolePattern(UnitKinds kinds, UnitKind kind, const char* unwanted) {
    return kinds.testFlag(kind) ? QStringLiteral("Y%") : QString::fromLatin1(unwanted);
}

void setRolePatterns(data::Query& q, UnitKinds kinds, const char* unwanted) {
    q.paramByName(QStringLiteral("SaleUnit")).setAsString(rolePattern(kinds, ukSale, unwanted));
    q.paramByName(QStringLiteral("PurcUnit")).setAsString(rolePattern(kinds, ukPurc, unwanted));
    q.paramByName(QStringLiteral("StockUnit")).setAsString(rolePattern(kinds, ukStock, unwanted));
    q.paramByName(QStringLiteral("SmallUnit")).setAsString(rolePattern(kinds, ukSmall, unwanted));
}

// Opens a check's query and answers whether it found a row; the query stays open.
bool found(data::Query& q) {
    q.open();
    return !q.isEmpty();
}

// The UnitName of the first row of a unit query, empty without one.
QString firstUnitName(data::Query& q, qint64 productId) {
    q.close();
    q.paramByName(QStringLiteral("GetId")).setAsInteger(productId);
    q.open();
    return q.isEmpty() ? QString() : q.fieldByName(QStringLiteral("UnitName")).asString();
}

// The company options row, opened first when it is not open.
data::Field& configField(const char* column) {
    if (!data::DM)
        throw data::UsageError(QStringLiteral("The company module does not exist"));
    data::TDM& dm = *data::DM;
    // Connecting loads the options; a query opened on the closed connection would connect it
    // from inside its own open.
    if (!dm.DMdata.isConnected())
        dm.DMdata.open();
    if (!dm.QConfig.isOpen())
        dm.QConfig.open();
    return dm.QConfig.fieldByName(QString::fromLatin1(column));
}

SearchResult run(const std::function<SearchResult()>& runner, const char* what) {
    if (!runner) {
        throw data::UsageError(
            QStringLiteral("No %1 search dialog is installed").arg(QString::fromLatin1(what)));
    }
    return runner();
}

}  // namespace

TDmProduct::TDmProduct()
    : QChkProduct(company(), sqlOf("QChkProduct")),
      QSpecialName(company(), sqlOf("QSpecialName")),
      QChkBarCode(company(), sqlOf("QChkBarCode")),
      QChkUnit(company(), sqlOf("QChkUnit")),
      QDefaultUnit(company(), sqlOf("QDefaultUnit")),
      QStockUnit(company(), sqlOf("QStockUnit")),
      QSmallUnit(company(), sqlOf("QSmallUnit")),
      QChkLotNo(company(), sqlOf("QChkLotNo")),
      QChkLotOnHand(company(), sqlOf("QChkLotOnHand")),
      QCreateSerialNo(company(), sqlOf("QCreateSerialNo")),
      QChkSerial(company(), sqlOf("QChkSerial")),
      QChkWarehouse(company(), sqlOf("QChkWarehouse")),
      QChkProdAttrCode(company(), sqlOf("QChkProdAttrCode")),
      QChkProjectItemCode(company(), sqlOf("QChkProjectItemCode")),
      QPriceStandard(company(), sqlOf("QPriceStandard")),
      QExistsPartSource(company(), sqlOf("QExistsPartSource")),
      QChkPartSource(company(), sqlOf("QChkPartSource")),
      QSerialNo(company(), sqlOf("QSerialNo")),
      USerialNo{sqlOf("USerialNo.Insert"), sqlOf("USerialNo.Modify"), sqlOf("USerialNo.Delete")},
      QProductPrice(company(), sqlOf("QProductPrice")),
      QStockUnitPrice(company(), sqlOf("QStockUnitPrice")),
      QCustomerProductPrice(company(), sqlOf("QCustomerProductPrice")),
      QPromotion(company(), sqlOf("QPromotion")),
      QProjectPrice(company(), sqlOf("QProjectPrice")),
      QPriceVendor(company(), sqlOf("QPriceVendor")),
      QOnHand(company(), sqlOf("QOnHand")),
      QOnhandWH(company(), sqlOf("QOnhandWH")),
      QOnhandWHunits(company(), sqlOf("QOnhandWHunits")),
      QShowQnty(company(), sqlOf("QShowQnty")) {}

bool TDmProduct::checkUserWarehouse() {
    return isY(configField("CheckUserWarehouseFlag").value());
}

int TDmProduct::searchProductNo() {
    return int(configField("SearchProductNo").asFloat());
}

bool TDmProduct::displayFraction() {
    return isY(configField("DisplayFraction").value());
}

bool TDmProduct::ExistsProduct(QString code) {
    if (SearchByBarCode) {
        // An unknown barcode finds nothing, even where a product has that text as its code.
        code = ExistsBarCode(code) ? QChkBarCode.fieldByName(QStringLiteral("Code")).asString()
                                   : QString();
    }
    QChkProduct.close();
    QChkProduct.setSqlLine(kProductWarehouseLine, productWarehouseLine(checkUserWarehouse()));
    QChkProduct.paramByName(QStringLiteral("GetCode")).setAsString(code);
    const bool result = found(QChkProduct);

    SpecialName.clear();
    if (result && searchProductNo() == 2) {
        QSpecialName.close();
        QSpecialName.paramByName(QStringLiteral("GetCode")).setAsString(code);
        if (found(QSpecialName))
            SpecialName = QSpecialName.fieldByName(QStringLiteral("ThaiName")).asString().trimmed();
    }
    return result;
}

bool TDmProduct::ExistsBarCode(const QString& barcode) {
    QChkBarCode.close();
    QChkBarCode.paramByName(QStringLiteral("GetCode")).setAsString(barcode);
    return found(QChkBarCode);
}

bool TDmProduct::ExistsProductUnit(qint64 productId, const QString& unitName, UnitKinds kinds) {
    QChkUnit.close();
    QChkUnit.paramByName(QStringLiteral("GetProduct")).setAsInteger(productId);
    QChkUnit.paramByName(QStringLiteral("GetUnit")).setAsString(unitName);
    // "X%" matches no flag: a unit qualifies by any one of the roles asked for.
    setRolePatterns(QChkUnit, kinds, "X%");
    return found(QChkUnit);
}

QString TDmProduct::GetFirstUnit(qint64 productId, UnitKinds kinds) {
    QDefaultUnit.close();
    // "%" matches every flag: a unit must have all the roles asked for.
    setRolePatterns(QDefaultUnit, kinds, "%");
    return firstUnitName(QDefaultUnit, productId);
}

QString TDmProduct::GetStockUnit(qint64 productId) {
    return firstUnitName(QStockUnit, productId);
}

QString TDmProduct::GetSmallUnit(qint64 productId) {
    return firstUnitName(QSmallUnit, productId);
}

bool TDmProduct::ExistsLotNo(const QString& lotCode, const QDateTime& onDate) {
    QChkLotNo.close();
    QChkLotNo.paramByName(QStringLiteral("GetCode")).setAsString(lotCode);
    if (!found(QChkLotNo))
        return false;
    // A flag holds only when it is exactly "Y": a lot without the expiry flag never expires.
    if (!isY(QChkLotNo.fieldByName(QStringLiteral("HasExpired")).value()))
        return true;
    // A lot flagged to expire without an expiry date counts as expired.
    const QDateTime expires = QChkLotNo.fieldByName(QStringLiteral("ExpiredDate")).asDateTime();
    if (expires.isValid() && expires >= onDate)
        return true;
    data::prompts().information(QStringLiteral(u"LotNo หมดอายุแล้ว"));
    return false;
}

double TDmProduct::LotNoOnHand(qint64 lotId, qint64 productId, qint64 warehouseId, int year) {
    QChkLotOnHand.close();
    QChkLotOnHand.paramByName(QStringLiteral("GetProduct")).setAsInteger(productId);
    QChkLotOnHand.paramByName(QStringLiteral("GetLotNo")).setAsInteger(lotId);
    QChkLotOnHand.paramByName(QStringLiteral("GetYear")).setAsInteger(year);
    QChkLotOnHand.paramByName(QStringLiteral("GetWarehouse")).setAsInteger(warehouseId);
    if (!found(QChkLotOnHand))
        return 0;
    return QChkLotOnHand.fieldByName(QStringLiteral("LotQnty")).asFloat();
}

bool TDmProduct::ExistsSerialNo(const QString& serial, qint64 productId) {
    // The server registers the serial only for a product that uses serials without on-hand
    // checking; the id it selects is not needed here.
    QCreateSerialNo.close();
    QCreateSerialNo.paramByName(QStringLiteral("ProductId")).setAsInteger(productId);
    QCreateSerialNo.paramByName(QStringLiteral("SerialCode")).setAsString(serial);
    QCreateSerialNo.open();
    QCreateSerialNo.close();

    QChkSerial.close();
    QChkSerial.paramByName(QStringLiteral("GetProduct")).setAsInteger(productId);
    QChkSerial.paramByName(QStringLiteral("GetSerial")).setAsString(serial);
    return found(QChkSerial) && isY(QChkSerial.fieldByName(QStringLiteral("OnHand")).value());
}

bool TDmProduct::ExistsWarehouse(const QString& code) {
    QChkWarehouse.close();
    QChkWarehouse.setSqlLine(kWarehouseRightsLine, warehouseRightsLine(checkUserWarehouse()));
    QChkWarehouse.paramByName(QStringLiteral("GetCode")).setAsString(code);
    return found(QChkWarehouse);
}

bool TDmProduct::ExistsProdAttrCode(qint64 groupId, const QString& code) {
    QChkProdAttrCode.close();
    QChkProdAttrCode.paramByName(QStringLiteral("GetGroup")).setAsInteger(groupId);
    QChkProdAttrCode.paramByName(QStringLiteral("GetCode")).setAsString(code);
    return found(QChkProdAttrCode);
}

bool TDmProduct::ExistsProjectItemCode(const QString& code, qint64 projectId) {
    QChkProjectItemCode.close();
    QChkProjectItemCode.paramByName(QStringLiteral("projectid")).setAsInteger(projectId);
    QChkProjectItemCode.paramByName(QStringLiteral("code")).setAsString(code);
    return found(QChkProjectItemCode);
}

bool TDmProduct::ExistsPartSource(qint64 productUnitsId, qint64 vendorId) {
    QPriceStandard.close();
    QPriceStandard.paramByName(QStringLiteral("GetId")).setAsInteger(productUnitsId);
    QPriceStandard.open();
    QExistsPartSource.close();
    QExistsPartSource.paramByName(QStringLiteral("GetId")).setAsInteger(productUnitsId);
    QExistsPartSource.paramByName(QStringLiteral("GetVId")).setAsInteger(vendorId);
    return found(QExistsPartSource);
}

bool TDmProduct::ExistsVendorPartCode(const QString& purchaseCode, qint64 vendorId) {
    QChkPartSource.close();
    QChkPartSource.paramByName(QStringLiteral("GetCode")).setAsString(purchaseCode);
    QChkPartSource.paramByName(QStringLiteral("GetVId")).setAsInteger(vendorId);
    return found(QChkPartSource);
}

bool TDmProduct::SearchProduct() {
    const SearchResult r = run(searchRunners.product, "product");
    // A cancelled product search leaves the previous choice in place.
    if (r.chosen)
        SelectedCode = r.value;
    return r.chosen;
}

bool TDmProduct::SearchUnitName(qint64 productId) {
    if (!searchRunners.unit)
        throw data::UsageError(QStringLiteral("No unit search dialog is installed"));
    UnitSearchInputs inputs;
    inputs.productId = productId;
    inputs.forPurc = true;
    const SearchResult r = searchRunners.unit(inputs);
    SelectedCode = r.chosen ? r.value : QString();
    return r.chosen;
}

bool TDmProduct::SearchLotNo() {
    const SearchResult r = run(searchRunners.lotNo, "lot");
    SelectedCode = r.chosen ? r.value : QString();
    return r.chosen;
}

bool TDmProduct::SearchWarehouse() {
    const SearchResult r = run(searchRunners.warehouse, "warehouse");
    SelectedCode = r.chosen ? r.value : QString();
    return r.chosen;
}

bool TDmProduct::SearchProductBarCode() {
    const SearchResult r = run(searchRunners.barCode, "barcode");
    SelectedCode = r.chosen ? r.value : QString();
    return r.chosen;
}

bool TDmProduct::SearchProductService(const ProductServiceSearchInputs& inputs) {
    if (!searchRunners.productService)
        throw data::UsageError(QStringLiteral("No product search dialog is installed"));
    const SearchResult r = searchRunners.productService(inputs);
    SelectedCode = r.chosen ? r.value : QString();
    return r.chosen;
}

}  // namespace md::product
