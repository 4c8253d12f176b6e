// Stock quantity texts over stock rows written for each case.

#include "ProductFixture.h"

using namespace Qt::StringLiterals;

namespace md::product::test {
namespace {

class ProductQuantities : public ProductTest {
  protected:
    void SetUp() override {
        ProductTest::SetUp();
        if (HasFatalFailure())
            return;
        product = addProduct(u"TP-QTY"_qs);
        small = unitId(product, u"SmallUnitFlag"_qs);
        stock = unitId(product, u"StockUnitFlag"_qs);
        wh01 = warehouse(u"WH01"_qs);
        wh02 = warehouse(u"WH02"_qs);
        rma = warehouse(u"RMA"_qs);
    }
    qint64 warehouse(const QString& code) {
        return scalar(u"Select Id From Warehouse Where Code = '"_qs + code + u"'"_qs).toLongLong();
    }
    void onHand(qint64 unit, qint64 wh, int year, const char* quantity) {
        exec(QStringLiteral("Insert Into productonhand (product, productunits, warehouse, "
                            "balanceyear, quantity) Values (%1, %2, %3, %4, %5)")
                 .arg(product)
                 .arg(unit)
                 .arg(wh)
                 .arg(year)
                 .arg(QString::fromLatin1(quantity)));
    }

    qint64 product = 0, small = 0, stock = 0, wh01 = 0, wh02 = 0, rma = 0;
};

TEST_F(ProductQuantities, NoStockIsZeroStockUnits) {
    EXPECT_EQ(pm->ProductQuantity(product, 2030), QStringLiteral(u"0 โหล"));
    pm->LastWHQuantity = 5;
    EXPECT_EQ(pm->ProductWHQuantity(product, wh01, 2030), QStringLiteral(u"0 โหล"));
    EXPECT_EQ(pm->LastWHQuantity, 0);
    EXPECT_EQ(pm->ProductUnitsWHQuantity(product, small, wh01, 2030), QStringLiteral(u"0 โหล"));
    // Stock that cancels out to zero reads the same.
    onHand(small, wh01, 2030, "12");
    onHand(small, wh02, 2030, "-12");
    EXPECT_EQ(pm->ProductQuantity(product, 2030), QStringLiteral(u"0 โหล"));
}

TEST_F(ProductQuantities, AllWarehousesOfOneYear) {
    onHand(small, wh01, 2030, "20");
    onHand(small, wh02, 2030, "5");
    onHand(stock, rma, 2030, "12");
    onHand(small, wh01, 2029, "1000");
    EXPECT_EQ(pm->ProductQuantity(product, 2030), QStringLiteral(u"3 โหล 1 ชิ้น"));
    EXPECT_EQ(pm->ProductQuantity(product, 2029), QStringLiteral(u"83 โหล 4 ชิ้น"));
    // Another product's stock stays its own.
    const qint64 otherProduct = addProduct(u"TP-QTY2"_qs);
    exec(QStringLiteral("Insert Into productonhand (product, productunits, warehouse, balanceyear, "
                        "quantity) Values (%1, %2, %3, 2030, 24)")
             .arg(otherProduct)
             .arg(unitId(otherProduct, u"SmallUnitFlag"_qs))
             .arg(wh01));
    EXPECT_EQ(pm->ProductQuantity(product, 2030), QStringLiteral(u"3 โหล 1 ชิ้น"));
    EXPECT_EQ(pm->ProductQuantity(otherProduct, 2030), QStringLiteral(u"2 โหล"));
}

TEST_F(ProductQuantities, NegativeStockAndLastWarehouseQuantity) {
    onHand(small, wh01, 2030, "-25");
    EXPECT_EQ(pm->ProductWHQuantity(product, wh01, 2030), QStringLiteral(u"- 2 โหล 1 ชิ้น"));
    EXPECT_EQ(pm->LastWHQuantity, -25);
    // The other two leave it alone.
    pm->ProductQuantity(product, 2030);
    pm->ShowQuantity(product, 3);
    EXPECT_EQ(pm->LastWHQuantity, -25);
    onHand(small, wh02, 2030, "5");
    EXPECT_EQ(pm->ProductWHQuantity(product, wh02, 2030), QStringLiteral(u" 5 ชิ้น"));
    EXPECT_EQ(pm->LastWHQuantity, 5);
}

TEST_F(ProductQuantities, RemaindersKeepTheirDecimals) {
    onHand(small, wh01, 2030, "25.5");
    EXPECT_EQ(pm->ProductWHQuantity(product, wh01, 2030), QStringLiteral(u"2 โหล 1.5 ชิ้น"));
    // The sums over warehouses go to two decimals; a unit's own rows keep all of theirs.
    onHand(small, wh02, 2030, "0.1234");
    EXPECT_EQ(pm->ProductWHQuantity(product, wh02, 2030), QStringLiteral(u" .12 ชิ้น"));
    EXPECT_DOUBLE_EQ(pm->LastWHQuantity, 0.12);
    EXPECT_EQ(pm->ProductUnitsWHQuantity(product, small, wh02, 2030), QStringLiteral(u" .1234 ชิ้น"));
    EXPECT_DOUBLE_EQ(pm->LastWHQuantity, 0.1234);
    const NumberSeparators comma{u"."_qs, u","_qs};
    pm->Separators = comma;
    EXPECT_EQ(pm->ProductWHQuantity(product, wh01, 2030), QStringLiteral(u"2 โหล 1,5 ชิ้น"));
}

TEST_F(ProductQuantities, OneUnitInOneWarehouseNeverCountsTheRmaWarehouse) {
    onHand(small, wh01, 2030, "13");
    onHand(stock, wh01, 2030, "36");
    onHand(small, rma, 2030, "7");
    EXPECT_EQ(pm->ProductUnitsWHQuantity(product, small, wh01, 2030),
              QStringLiteral(u"1 โหล 1 ชิ้น"));
    EXPECT_EQ(pm->ProductUnitsWHQuantity(product, stock, wh01, 2030), QStringLiteral(u"3 โหล"));
    EXPECT_EQ(pm->ProductUnitsWHQuantity(product, small, rma, 2030), QStringLiteral(u"0 โหล"));
    EXPECT_EQ(pm->LastWHQuantity, 0);
    // The warehouse sum does count it.
    EXPECT_EQ(pm->ProductWHQuantity(product, rma, 2030), QStringLiteral(u" 7 ชิ้น"));
}

TEST_F(ProductQuantities, FractionOneKeepsDecimalsWithoutRemainder) {
    exec(QStringLiteral("Update ProductUnits Set Fraction = 1 Where Id = %1").arg(stock));
    onHand(small, wh01, 2030, "1234.125");
    EXPECT_EQ(pm->ProductQuantity(product, 2030), QStringLiteral(u"1,234.13 โหล"));
    EXPECT_EQ(pm->ProductUnitsWHQuantity(product, small, wh01, 2030),
              QStringLiteral(u"1,234.125 โหล"));
    EXPECT_EQ(pm->ShowQuantity(product, 2.5), QStringLiteral(u"2.5 โหล"));
}

TEST_F(ProductQuantities, GivenQuantitiesAndUnknownProducts) {
    EXPECT_EQ(pm->ShowQuantity(product, 25), QStringLiteral(u"2 โหล 1 ชิ้น"));
    EXPECT_EQ(pm->ShowQuantity(product, -0.5), QStringLiteral(u"-  .5 ชิ้น"));
    EXPECT_EQ(pm->ShowQuantity(product, 12.0 * 1500), QStringLiteral(u"1,500 โหล"));
    EXPECT_EQ(pm->ShowQuantity(product + 1000, 25), u"Error"_qs);
}

TEST_F(ProductQuantities, WithoutAStockUnitTheQuantityShowsOnce) {
    exec(QStringLiteral("Update ProductUnits Set StockUnitFlag = 'N' Where Id = %1").arg(stock));
    onHand(small, wh01, 2030, "25");
    EXPECT_EQ(pm->ProductQuantity(product, 2030), QStringLiteral(u"25 ชิ้น"));
    EXPECT_EQ(pm->ShowQuantity(product, 0), QStringLiteral(u"0 ชิ้น"));
}

}  // namespace
}  // namespace md::product::test
