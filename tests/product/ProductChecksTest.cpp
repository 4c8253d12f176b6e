// The product checks over the demo company: what is found, what the caller reads from the open
// query afterwards, and what stays hidden.

#include "ProductFixture.h"
#include "data/statements/Statements.h"

using namespace Qt::StringLiterals;

namespace md::product::test {
namespace {

class ProductChecks : public ProductTest {};

QString column(data::Query& q, const char* name) {
    return q.fieldByName(QString::fromLatin1(name)).asString();
}

TEST_F(ProductChecks, ProductsAreFoundByCodeButNeverBlockedOrMasterCodes) {
    const qint64 id = addProduct(u"TP-OK"_qs);
    ASSERT_TRUE(pm->ExistsProduct(u"TP-OK"_qs));
    EXPECT_EQ(pm->QChkProduct.fieldByName(u"Id"_qs).asInteger(), id);
    EXPECT_EQ(column(pm->QChkProduct, "ThaiName"), QStringLiteral(u"สินค้าทดสอบ TP-OK"));
    EXPECT_EQ(column(pm->QChkProduct, "WhCode"), u"WH01"_qs);
    EXPECT_EQ(column(pm->QChkProduct, "TaxRate").toDouble(), 7.0);
    EXPECT_EQ(column(pm->QChkProduct, "ProductFree"), u"N"_qs);  // null reads as N

    EXPECT_FALSE(pm->ExistsProduct(u"TP-MISSING"_qs));
    EXPECT_TRUE(pm->QChkProduct.isOpen());  // open and empty for the caller
    // Codes compare as the server compares them: case and trailing blanks aside.
    EXPECT_TRUE(pm->ExistsProduct(u"tp-ok "_qs));

    addProduct(u"TP-BLOCKED"_qs);
    exec(u"Update Product Set Blocked = 'Y' Where Code = 'TP-BLOCKED'"_qs);
    EXPECT_FALSE(pm->ExistsProduct(u"TP-BLOCKED"_qs));
    addProduct(u"TP-MASTER"_qs);
    exec(u"Update Product Set MasterCode = 'Y' Where Code = 'TP-MASTER'"_qs);
    EXPECT_FALSE(pm->ExistsProduct(u"TP-MASTER"_qs));
    // The demo's own blocked products and master codes stay hidden as well.
    const QString blocked =
        scalar(u"Select Min(Code) From Product Where Blocked = 'Y'"_qs).toString();
    const QString master =
        scalar(u"Select Min(Code) From Product Where MasterCode = 'Y'"_qs).toString();
    ASSERT_FALSE(blocked.isEmpty());
    ASSERT_FALSE(master.isEmpty());
    EXPECT_FALSE(pm->ExistsProduct(blocked));
    EXPECT_FALSE(pm->ExistsProduct(master));
    // Typed text is a value, never part of the statement.
    EXPECT_FALSE(pm->ExistsProduct(u"x' Or '1'='1"_qs));
}

TEST_F(ProductChecks, BarcodeModeFindsTheProductOfTheBarcodeOnly) {
    const qint64 id = addProduct(u"TP-BAR"_qs);
    exec(QStringLiteral("Update ProductUnits Set BarCode = '8850000099991' Where Product = %1 "
                        "And UnitName = N'โหล'")
             .arg(id));
    exec(
        QStringLiteral("Insert Into ProductPrice (Product, ProductUnits, PriceType, Price) "
                       "Select %1, Id, 19, 155.5 From ProductUnits Where BarCode = '8850000099991'")
            .arg(id));
    ASSERT_TRUE(pm->ExistsBarCode(u"8850000099991"_qs));
    EXPECT_EQ(column(pm->QChkBarCode, "UnitName"), QStringLiteral(u"โหล"));
    EXPECT_EQ(pm->QChkBarCode.fieldByName(u"ProductId"_qs).asInteger(), id);
    EXPECT_DOUBLE_EQ(pm->QChkBarCode.fieldByName(u"price"_qs).asFloat(), 155.5);
    EXPECT_DOUBLE_EQ(pm->QChkBarCode.fieldByName(u"Fraction"_qs).asFloat(), 12.0);

    pm->SearchByBarCode = true;
    ASSERT_TRUE(pm->ExistsProduct(u"8850000099991"_qs));
    EXPECT_EQ(column(pm->QChkProduct, "Code"), u"TP-BAR"_qs);
    // An unknown barcode finds nothing, even though a product has that very code.
    EXPECT_FALSE(pm->ExistsProduct(u"TP-BAR"_qs));
    pm->SearchByBarCode = false;
    EXPECT_TRUE(pm->ExistsProduct(u"TP-BAR"_qs));

    // The barcode of a blocked product is not found.
    exec(QStringLiteral("Update Product Set Blocked = 'Y' Where Id = %1").arg(id));
    EXPECT_FALSE(pm->ExistsBarCode(u"8850000099991"_qs));
    EXPECT_FALSE(pm->ExistsBarCode(QString()));
}

TEST_F(ProductChecks, WarehouseRightsHideTheDefaultWarehouseButNotTheProduct) {
    const qint64 id = addProduct(u"TP-WH"_qs);
    const qint64 wh02 = scalar(u"Select Id From Warehouse Where Code = 'WH02'"_qs).toLongLong();
    exec(QStringLiteral("Update Product Set DefaultWh = %1 Where Id = %2").arg(wh02).arg(id));
    exec(QStringLiteral("Delete From UserWarehouse Where UserName = 7"));
    exec(
        u"Insert Into UserWarehouse (UserName, Warehouse) Select 7, Id From Warehouse Where Code = 'WH01'"_qs);
    config.UserId = 7;

    // Without warehouse rights the warehouse always joins.
    setConfig(u"CheckUserWarehouseFlag = 'N'"_qs);
    ASSERT_TRUE(pm->ExistsProduct(u"TP-WH"_qs));
    EXPECT_EQ(column(pm->QChkProduct, "WhCode"), u"WH02"_qs);
    EXPECT_TRUE(pm->ExistsWarehouse(u"WH02"_qs));

    setConfig(u"CheckUserWarehouseFlag = 'Y'"_qs);
    ASSERT_TRUE(pm->ExistsProduct(u"TP-WH"_qs));
    EXPECT_TRUE(pm->QChkProduct.fieldByName(u"WhCode"_qs).isNull());
    EXPECT_TRUE(pm->QChkProduct.fieldByName(u"WhName"_qs).isNull());
    EXPECT_TRUE(pm->QChkProduct.fieldByName(u"flagin"_qs).isNull());
    EXPECT_EQ(pm->QChkProduct.fieldByName(u"DefaultWh"_qs).asInteger(), wh02);
    EXPECT_FALSE(pm->ExistsWarehouse(u"WH02"_qs));
    ASSERT_TRUE(pm->ExistsWarehouse(u"WH01"_qs));
    EXPECT_EQ(column(pm->QChkWarehouse, "Name").isEmpty(), false);

    // A warehouse the user may use joins as before.
    exec(
        QStringLiteral("Insert Into UserWarehouse (UserName, Warehouse) Values (7, %1)").arg(wh02));
    ASSERT_TRUE(pm->ExistsProduct(u"TP-WH"_qs));
    EXPECT_EQ(column(pm->QChkProduct, "WhCode"), u"WH02"_qs);
    EXPECT_TRUE(pm->ExistsWarehouse(u"WH02"_qs));

    // The statement the user's rights give is the program's own, with the user's number.
    config.UserId = 1;
    pm->ExistsProduct(u"TP-WH"_qs);
    EXPECT_EQ(pm->QChkProduct.sql(),
              statements::text(u"Dm_Product"_qs, u"QChkProduct:UserWarehouse"_qs));
    pm->ExistsWarehouse(u"WH01"_qs);
    EXPECT_EQ(pm->QChkWarehouse.sql(),
              statements::text(u"Dm_Product"_qs, u"QChkWarehouse:UserWarehouse"_qs));
    setConfig(u"CheckUserWarehouseFlag = 'N'"_qs);
    pm->ExistsProduct(u"TP-WH"_qs);
    EXPECT_EQ(pm->QChkProduct.sql(), statements::text(u"Dm_Product"_qs, u"QChkProduct:Inner"_qs));
    pm->ExistsWarehouse(u"WH01"_qs);
    // Without rights the last line is empty (the corpus keeps no empty line at an end).
    ASSERT_EQ(pm->QChkWarehouse.sql().size(), 4);
    EXPECT_EQ(pm->QChkWarehouse.sql().mid(0, 3),
              statements::text(u"Dm_Product"_qs, u"QChkWarehouse:All"_qs));
    EXPECT_EQ(pm->QChkWarehouse.sql().at(3), QString());
}

TEST_F(ProductChecks, SpecialNameOnlyUnderSearchLayoutTwo) {
    addProduct(u"TP-NAME"_qs);
    exec(u"Update Product Set ThaiName = N'  ชื่อพิเศษ  ' Where Code = 'TP-NAME'"_qs);
    setConfig(u"SearchProductNo = 6"_qs);
    ASSERT_TRUE(pm->ExistsProduct(u"TP-NAME"_qs));
    EXPECT_TRUE(pm->SpecialName.isEmpty());

    setConfig(u"SearchProductNo = 2"_qs);
    ASSERT_TRUE(pm->ExistsProduct(u"TP-NAME"_qs));
    EXPECT_EQ(pm->SpecialName, QStringLiteral(u"ชื่อพิเศษ"));
    // A lookup that finds nothing clears it.
    EXPECT_FALSE(pm->ExistsProduct(u"TP-NONE"_qs));
    EXPECT_TRUE(pm->SpecialName.isEmpty());
}

TEST_F(ProductChecks, UnitsByRole) {
    const qint64 id = addProduct(u"TP-UNIT"_qs);
    exec(QStringLiteral("Insert Into ProductUnits (Product, UnitName, Fraction, SaleFlag, "
                        "PurcFlag, StockUnitFlag, SmallUnitFlag) Values (%1, N'ลัง', 144, 'N', "
                        "'Y', 'N', 'N')")
             .arg(id));
    // Any one of the roles asked for qualifies a unit.
    EXPECT_TRUE(pm->ExistsProductUnit(id, QStringLiteral(u"ลัง"), ukPurc));
    EXPECT_FALSE(pm->ExistsProductUnit(id, QStringLiteral(u"ลัง"), ukSale));
    EXPECT_TRUE(pm->ExistsProductUnit(id, QStringLiteral(u"ลัง"), ukSale | ukPurc));
    EXPECT_TRUE(pm->ExistsProductUnit(id, QStringLiteral(u"โหล"), ukStock));
    EXPECT_FALSE(pm->ExistsProductUnit(id, QStringLiteral(u"โหล"), ukPurc | ukSmall));
    ASSERT_TRUE(
        pm->ExistsProductUnit(id, QStringLiteral(u"ชิ้น"), ukSale | ukPurc | ukStock | ukSmall));
    EXPECT_EQ(column(pm->QChkUnit, "UnitName"), QStringLiteral(u"ชิ้น"));
    EXPECT_DOUBLE_EQ(pm->QChkUnit.fieldByName(u"PurcPrice"_qs).asFloat(), 10.5);
    EXPECT_FALSE(pm->ExistsProductUnit(id, QStringLiteral(u"ชิ้น"), {}));
    EXPECT_FALSE(pm->ExistsProductUnit(id + 1000, QStringLiteral(u"ชิ้น"), ukSale));

    // The first unit must have every role asked for; the smallest fraction comes first.
    EXPECT_EQ(pm->GetFirstUnit(id, {}), QStringLiteral(u"ชิ้น"));
    EXPECT_EQ(pm->GetFirstUnit(id, ukSale), QStringLiteral(u"ชิ้น"));
    EXPECT_EQ(pm->GetFirstUnit(id, ukStock), QStringLiteral(u"โหล"));
    EXPECT_EQ(pm->GetFirstUnit(id, ukSale | ukStock), QStringLiteral(u"โหล"));
    EXPECT_EQ(pm->GetFirstUnit(id, ukPurc | ukStock), QString());
    exec(QStringLiteral("Update ProductUnits Set PurcFlag = 'Y' Where Product = %1 And "
                        "UnitName = N'ชิ้น'")
             .arg(id));
    EXPECT_EQ(pm->GetFirstUnit(id, ukPurc), QStringLiteral(u"ชิ้น"));
    exec(QStringLiteral("Update ProductUnits Set PurcFlag = 'N' Where Product = %1 And "
                        "UnitName = N'ชิ้น'")
             .arg(id));
    EXPECT_EQ(pm->GetFirstUnit(id, ukPurc), QStringLiteral(u"ลัง"));

    EXPECT_EQ(pm->GetStockUnit(id), QStringLiteral(u"โหล"));
    EXPECT_EQ(pm->GetSmallUnit(id), QStringLiteral(u"ชิ้น"));
    EXPECT_EQ(pm->GetStockUnit(id + 1000), QString());
    EXPECT_EQ(pm->GetSmallUnit(id + 1000), QString());
}

TEST_F(ProductChecks, ExpiredLotsAreRefusedWithTheirMessage) {
    const QDateTime now(QDate(2030, 6, 15), QTime(10, 30));
    exec(
        u"Insert Into LotNo (Code, Description, HasExpired, ExpiredDate) Values "
        "('TL-OLD', 'old', 'Y', '2030-06-14 23:59:59'), "
        "('TL-TODAY', 'today', 'Y', '2030-06-15 10:30:00'), "
        "('TL-NEW', 'new', 'Y', '2031-01-01'), "
        "('TL-NEVER', 'never', 'N', '2000-01-01'), "
        "('TL-NOFLAG', 'no flag', NULL, NULL), "
        "('TL-NODATE', 'no date', 'Y', NULL)"_qs);

    EXPECT_FALSE(pm->ExistsLotNo(u"TL-OLD"_qs, now));
    EXPECT_EQ(h.prompts.shown, QStringList{QStringLiteral(u"info: LotNo หมดอายุแล้ว")});
    h.prompts.shown.clear();

    EXPECT_TRUE(pm->ExistsLotNo(u"TL-TODAY"_qs, now));  // not earlier than the moment asked
    EXPECT_FALSE(pm->ExistsLotNo(u"TL-TODAY"_qs, now.addSecs(1)));
    EXPECT_TRUE(pm->ExistsLotNo(u"TL-NEW"_qs, now));
    ASSERT_TRUE(pm->ExistsLotNo(u"TL-NEVER"_qs, now));
    EXPECT_EQ(column(pm->QChkLotNo, "Code"), u"TL-NEVER"_qs);
    // Only "Y" makes a lot expire: without the flag it is valid whatever its date.
    EXPECT_TRUE(pm->ExistsLotNo(u"TL-NOFLAG"_qs, now));
    // A lot flagged to expire without a date has expired.
    EXPECT_FALSE(pm->ExistsLotNo(u"TL-NODATE"_qs, now));
    // An unknown lot is refused silently.
    EXPECT_FALSE(pm->ExistsLotNo(u"TL-NONE"_qs, now));
    EXPECT_EQ(h.prompts.shown.size(), 2);
}

TEST_F(ProductChecks, LotStockSumsEveryYearUpToTheOneAsked) {
    const qint64 product = addProduct(u"TP-LOT"_qs);
    const qint64 lot = insert(
        QStringLiteral("Insert Into LotNo (Code, Product, HasExpired) Values ('TL-STOCK', %1, 'N')")
            .arg(product));
    const QString row = QStringLiteral(
        "Insert Into LotOnHand (Product, LotNo, Warehouse, BalanceYear, Quantity) Values "
        "(%1, %2, %3, %4, %5)");
    exec(row.arg(product).arg(lot).arg(1).arg(2029).arg(u"10.25"_qs));
    exec(row.arg(product).arg(lot).arg(1).arg(2030).arg(u"4.5"_qs));
    exec(row.arg(product).arg(lot).arg(1).arg(2031).arg(u"100"_qs));
    exec(row.arg(product).arg(lot).arg(2).arg(2030).arg(u"7"_qs));
    EXPECT_DOUBLE_EQ(pm->LotNoOnHand(lot, product, 1, 2030), 14.75);
    EXPECT_DOUBLE_EQ(pm->LotNoOnHand(lot, product, 1, 2029), 10.25);
    EXPECT_DOUBLE_EQ(pm->LotNoOnHand(lot, product, 2, 2031), 7);
    EXPECT_DOUBLE_EQ(pm->LotNoOnHand(lot, product, 1, 2028), 0);
    EXPECT_DOUBLE_EQ(pm->LotNoOnHand(lot, product, 3, 2030), 0);
}

TEST_F(ProductChecks, UnknownSerialsAreRegisteredOnlyForProductsWithoutOnHandChecking) {
    const qint64 free = addProduct(u"TP-SER1"_qs);
    exec(QStringLiteral("Update Product Set UseSerial = 'Y', CheckSerialOnhand = 'N' Where Id = %1")
             .arg(free));
    const qint64 checked = addProduct(u"TP-SER2"_qs);
    exec(QStringLiteral("Update Product Set UseSerial = 'Y', CheckSerialOnhand = 'Y' Where Id = %1")
             .arg(checked));
    const qint64 plain = addProduct(u"TP-SER3"_qs);
    auto count = [&](qint64 product) {
        return scalar(
                   QStringLiteral("Select Count(*) From SerialNo Where Product = %1").arg(product))
            .toInt();
    };

    // Unknown serial of a free-serial product: created on hand, then found.
    ASSERT_TRUE(pm->ExistsSerialNo(u"SN-0001"_qs, free));
    EXPECT_EQ(count(free), 1);
    EXPECT_EQ(column(pm->QChkSerial, "Serial"), u"SN-0001"_qs);
    EXPECT_FALSE(pm->QCreateSerialNo.isOpen());
    // Asked again, the same row answers.
    EXPECT_TRUE(pm->ExistsSerialNo(u"SN-0001"_qs, free));
    EXPECT_EQ(count(free), 1);
    // A known serial that is no longer on hand is refused and not made again.
    exec(QStringLiteral("Update SerialNo Set OnHand = 'N' Where Product = %1").arg(free));
    EXPECT_FALSE(pm->ExistsSerialNo(u"SN-0001"_qs, free));
    EXPECT_EQ(count(free), 1);

    // Products that check their serials on hand, or use none, get nothing registered.
    EXPECT_FALSE(pm->ExistsSerialNo(u"SN-0001"_qs, checked));
    EXPECT_FALSE(pm->ExistsSerialNo(u"SN-0001"_qs, plain));
    EXPECT_EQ(count(checked), 0);
    EXPECT_EQ(count(plain), 0);
    exec(
        QStringLiteral("Insert Into SerialNo (Product, Serial, OnHand) Values (%1, 'SN-0009', 'Y')")
            .arg(checked));
    EXPECT_TRUE(pm->ExistsSerialNo(u"SN-0009"_qs, checked));
    // The serial belongs to its product only.
    EXPECT_FALSE(pm->ExistsSerialNo(u"SN-0009"_qs, plain));
}

TEST_F(ProductChecks, AttributeProjectAndPartSourceCodes) {
    const qint64 group = scalar(u"Select Min(ProdAttrGroup) From ProdAttrCode"_qs).toLongLong();
    const QString code =
        scalar(QStringLiteral("Select Min(Code) From ProdAttrCode Where ProdAttrGroup = %1")
                   .arg(group))
            .toString();
    ASSERT_TRUE(pm->ExistsProdAttrCode(group, code));
    EXPECT_EQ(column(pm->QChkProdAttrCode, "Code"), code);
    EXPECT_FALSE(pm->ExistsProdAttrCode(group + 1000, code));

    exec(u"Insert Into projectitemhd (project, code, Description) Values (77, 'PI-1', 'x')"_qs);
    EXPECT_TRUE(pm->ExistsProjectItemCode(u"PI-1"_qs, 77));
    EXPECT_FALSE(pm->ExistsProjectItemCode(u"PI-1"_qs, 78));

    const qint64 product = addProduct(u"TP-PART"_qs);
    const qint64 stock = unitId(product, u"StockUnitFlag"_qs);
    const qint64 vendor = scalar(u"Select Min(Id) From Vendor"_qs).toLongLong();
    exec(QStringLiteral(
             "Insert Into PartSource (Vendor, Product, ProductUnits, Price, PurchaseCode, "
             "PurchaseName, DiscountStr) Values (%1, %2, %3, 99.125, 'V-PART-1', "
             "'vendor name', '5+2')")
             .arg(vendor)
             .arg(product)
             .arg(stock));
    ASSERT_TRUE(pm->ExistsPartSource(stock, vendor));
    EXPECT_EQ(column(pm->QExistsPartSource, "PurchaseCode"), u"V-PART-1"_qs);
    EXPECT_EQ(column(pm->QExistsPartSource, "DiscountStr"), u"5+2"_qs);
    // The unit's standard price is open beside it, found or not.
    EXPECT_DOUBLE_EQ(pm->QPriceStandard.fieldByName(u"PurcPrice"_qs).asFloat(), 120.25);
    EXPECT_FALSE(pm->ExistsPartSource(stock, vendor + 1000));
    EXPECT_FALSE(pm->QPriceStandard.isEmpty());

    ASSERT_TRUE(pm->ExistsVendorPartCode(u"V-PART-1"_qs, vendor));
    EXPECT_EQ(column(pm->QChkPartSource, "Code"), u"TP-PART"_qs);
    EXPECT_EQ(column(pm->QChkPartSource, "UnitName"), QStringLiteral(u"โหล"));
    EXPECT_FALSE(pm->ExistsVendorPartCode(u"V-PART-1"_qs, vendor + 1000));
}

}  // namespace
}  // namespace md::product::test
