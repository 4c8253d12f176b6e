// Price determination: each source is added on top of the ones before it and must override
// them in the fixed order; every row is written here, with exact decimal literals.

#include "ProductFixture.h"

using namespace Qt::StringLiterals;

namespace md::product::test {
namespace {

class ProductPrices : public ProductTest {
  protected:
    void SetUp() override {
        ProductTest::SetUp();
        if (HasFatalFailure())
            return;
        config.Pos1PriceType = 19;
        setConfig(u"SearchProductNo = 6, DisplayFraction = 'N'"_qs);
        product = addProduct(u"TP-PRICE"_qs);
        small = unitId(product, u"SmallUnitFlag"_qs);
        stock = unitId(product, u"StockUnitFlag"_qs);
        customer = scalar(u"Select Min(Id) From Customer"_qs).toLongLong();
        other = scalar(u"Select Max(Id) From Customer"_qs).toLongLong();
        ASSERT_NE(customer, other);
    }

    void listPrice(qint64 unit, int type, const char* price) {
        exec(QStringLiteral("Insert Into ProductPrice (Product, ProductUnits, PriceType, Price) "
                            "Values (%1, %2, %3, %4)")
                 .arg(product)
                 .arg(unit)
                 .arg(type)
                 .arg(QString::fromLatin1(price)));
    }
    void customerPrice(qint64 unit, const char* price, int quantity, const char* discount) {
        exec(QStringLiteral("Insert Into customerproductprice (customer, product, productunits, "
                            "price, quantity, discount) Values (%1, %2, %3, %4, %5, %6)")
                 .arg(customer)
                 .arg(product)
                 .arg(unit)
                 .arg(QString::fromLatin1(price))
                 .arg(quantity)
                 .arg(literal(discount)));
    }
    void promotion(qint64 forCustomer, int type, const char* start, const char* stop,
                   const char* price, const char* discount) {
        exec(QStringLiteral("Insert Into promotion_dt (product, productunits, pricetype, customer, "
                            "startdate, stopdate, price, discpercent) Values (%1, %2, %3, %4, "
                            "'%5', '%6', %7, %8)")
                 .arg(product)
                 .arg(small)
                 .arg(type)
                 .arg(forCustomer)
                 .arg(QString::fromLatin1(start), QString::fromLatin1(stop),
                      QString::fromLatin1(price), literal(discount)));
    }
    void projectPrice(int project, const char* price, const char* discount) {
        exec(QStringLiteral("Insert Into CustomerProductPriceProject (customer, project, product, "
                            "productunits, price, discount) Values (%1, %2, %3, %4, %5, %6)")
                 .arg(customer)
                 .arg(project)
                 .arg(product)
                 .arg(small)
                 .arg(QString::fromLatin1(price), literal(discount)));
    }
    static QString literal(const char* text) {
        return text ? u'\'' + QString::fromLatin1(text) + u'\'' : u"NULL"_qs;
    }

    double price(int type = 1, const QDateTime& on = kDay) {
        return pm->GetPrice(customer, product, small, type, on);
    }
    double projectPriceOf(int project, int type = 1, const QDateTime& on = kDay) {
        return pm->GetProjectPrice(customer, product, small, type, project, on);
    }

    static inline const QDateTime kDay{QDate(2030, 3, 15), QTime(14, 45, 10)};
    qint64 product = 0, small = 0, stock = 0, customer = 0, other = 0;
};

TEST_F(ProductPrices, WithoutAnyPriceRowTheSalePriceIsZero) {
    pm->PriceDiscount = u"stale"_qs;
    EXPECT_EQ(price(), 0.0);
    EXPECT_TRUE(pm->PriceDiscount.isEmpty());
    EXPECT_EQ(pm->PriceQuantity, 1);
    pm->PriceQuantity = 9;
    EXPECT_EQ(projectPriceOf(1), 0.0);
    EXPECT_TRUE(pm->PriceDiscount.isEmpty());
    EXPECT_EQ(pm->PriceQuantity, 0);
}

TEST_F(ProductPrices, EachSaleSourceOverridesTheOneBefore) {
    // The point-of-sale list answers for any price type the unit has no price in.
    listPrice(small, 19, "88.5");
    EXPECT_DOUBLE_EQ(price(1), 88.5);
    EXPECT_DOUBLE_EQ(price(2), 88.5);
    EXPECT_EQ(projectPriceOf(1, 1), 0.0);  // projects have no fallback list
    // The requested list overrides it.
    listPrice(small, 1, "100.1234");
    EXPECT_DOUBLE_EQ(price(1), 100.1234);
    EXPECT_DOUBLE_EQ(projectPriceOf(1, 1), 100.1234);
    EXPECT_TRUE(pm->PriceDiscount.isEmpty());
    // The customer's price overrides the list and brings its quantity and discount.
    customerPrice(small, "95.75", 6, "5%");
    EXPECT_DOUBLE_EQ(price(1), 95.75);
    EXPECT_EQ(pm->PriceDiscount, u"5%"_qs);
    EXPECT_EQ(pm->PriceQuantity, 1);  // a sale price is always for one unit
    EXPECT_DOUBLE_EQ(projectPriceOf(1, 1), 95.75);
    EXPECT_EQ(pm->PriceQuantity, 6);
    // A promotion for every customer overrides the customer's price.
    promotion(0, 1, "2030-01-01", "2030-12-31", "90", "10%");
    EXPECT_DOUBLE_EQ(price(1), 90);
    EXPECT_EQ(pm->PriceDiscount, u"10%"_qs);
    EXPECT_DOUBLE_EQ(projectPriceOf(1, 1), 90);
    EXPECT_EQ(pm->PriceQuantity, 6);  // a project keeps the customer's quantity
    // The customer's own promotion overrides the general one.
    promotion(customer, 1, "2030-03-01", "2030-03-31", "85.5", nullptr);
    EXPECT_DOUBLE_EQ(price(1), 85.5);
    EXPECT_TRUE(pm->PriceDiscount.isEmpty());
    EXPECT_EQ(pm->PriceQuantity, 1);
    // Another customer still gets the general promotion.
    EXPECT_DOUBLE_EQ(pm->GetPrice(other, product, small, 1, kDay), 90);
    // The project's price overrides even a promotion.
    projectPrice(4, "70.25", "3%");
    EXPECT_DOUBLE_EQ(projectPriceOf(4), 70.25);
    EXPECT_EQ(pm->PriceDiscount, u"3%"_qs);
    EXPECT_DOUBLE_EQ(projectPriceOf(5), 85.5);  // another project of the customer
    EXPECT_DOUBLE_EQ(price(1), 85.5);           // and never for a plain sale
}

TEST_F(ProductPrices, CustomerPriceOfZeroKeepsTheListPriceButNotForProjects) {
    listPrice(small, 1, "100");
    customerPrice(small, "0", 3, "7%");
    EXPECT_DOUBLE_EQ(price(1), 100);
    EXPECT_EQ(pm->PriceDiscount, u"7%"_qs);
    EXPECT_EQ(projectPriceOf(1), 0.0);
    EXPECT_EQ(pm->PriceDiscount, u"7%"_qs);
    EXPECT_EQ(pm->PriceQuantity, 3);
    // A null discount reads as none.
    exec(u"Update customerproductprice Set discount = NULL"_qs);
    price(1);
    EXPECT_TRUE(pm->PriceDiscount.isEmpty());
}

TEST_F(ProductPrices, PromotionsRunFromTheirStartDayToTheirStopDayWhateverTheTime) {
    listPrice(small, 2, "100");
    promotion(0, 2, "2030-03-15", "2030-03-20", "80", "20%");
    auto at = [&](int day, int hour, int minute) {
        return price(2, QDateTime(QDate(2030, 3, day), QTime(hour, minute, 59)));
    };
    EXPECT_DOUBLE_EQ(at(14, 23, 59), 100);
    EXPECT_DOUBLE_EQ(at(15, 0, 0), 80);
    EXPECT_DOUBLE_EQ(at(15, 8, 30), 80);
    EXPECT_DOUBLE_EQ(at(20, 23, 59), 80);  // the stop day, late in the evening
    EXPECT_DOUBLE_EQ(at(21, 0, 0), 100);
    // Only the promotion's price type counts.
    EXPECT_DOUBLE_EQ(price(1, QDateTime(QDate(2030, 3, 16), QTime(9, 0))), 0.0);
}

TEST_F(ProductPrices, TheLatestPromotionWinsAndAPriceOfZeroCounts) {
    listPrice(small, 2, "100");
    promotion(0, 2, "2030-01-01", "2030-12-31", "99", nullptr);
    promotion(0, 2, "2030-03-01", "2030-03-31", "89", "10%");
    EXPECT_DOUBLE_EQ(price(2), 89);
    EXPECT_EQ(pm->PriceDiscount, u"10%"_qs);
    promotion(0, 2, "2030-03-15", "2030-03-15", "0", "100%");
    EXPECT_EQ(price(2), 0.0);
    EXPECT_EQ(pm->PriceDiscount, u"100%"_qs);
}

TEST_F(ProductPrices, StockUnitModeTakesTheStockUnitsPriceList) {
    listPrice(small, 1, "10");
    listPrice(stock, 1, "110.5");
    listPrice(small, 19, "12");
    pm->UseStockUnitPrice = true;
    // Only a company that works in stock units and shows fractions uses it.
    EXPECT_DOUBLE_EQ(price(1), 10);
    setConfig(u"SearchProductNo = 2, DisplayFraction = 'N'"_qs);
    EXPECT_DOUBLE_EQ(price(1), 10);
    setConfig(u"SearchProductNo = 2, DisplayFraction = 'Y'"_qs);
    EXPECT_DOUBLE_EQ(price(1), 110.5);  // taken unchanged, no fraction conversion
    // No fallback list in this mode.
    EXPECT_EQ(price(2), 0.0);
    // The customer's price is looked up for the stock unit.
    customerPrice(small, "9", 1, nullptr);
    EXPECT_DOUBLE_EQ(price(1), 110.5);
    customerPrice(stock, "105", 2, "2%");
    EXPECT_DOUBLE_EQ(price(1), 105);
    EXPECT_EQ(pm->PriceDiscount, u"2%"_qs);
    // Promotions stay on the unit asked for.
    promotion(0, 1, "2030-01-01", "2030-12-31", "8.5", nullptr);
    EXPECT_DOUBLE_EQ(price(1), 8.5);
    pm->UseStockUnitPrice = false;
    EXPECT_DOUBLE_EQ(price(1), 8.5);
    exec(u"Delete From promotion_dt"_qs);
    EXPECT_DOUBLE_EQ(price(1), 9);
}

TEST_F(ProductPrices, PurchasePriceFromTheVendorThenTheUnitThenTheDefault) {
    const qint64 vendor = scalar(u"Select Min(Id) From Vendor"_qs).toLongLong();
    EXPECT_DOUBLE_EQ(pm->SetPurchasePrice(product, vendor, stock, 1.5), 120.25);
    EXPECT_DOUBLE_EQ(pm->SetPurchasePrice(product, vendor, stock + 1000, 1.5), 1.5);
    exec(QStringLiteral("Insert Into PartSource (Vendor, Product, ProductUnits, Price) Values "
                        "(%1, %2, %3, 98.4321)")
             .arg(vendor)
             .arg(product)
             .arg(stock));
    EXPECT_DOUBLE_EQ(pm->SetPurchasePrice(product, vendor, stock, 1.5), 98.4321);
    exec(u"Update PartSource Set Price = NULL Where ProductUnits = "_qs + QString::number(stock));
    EXPECT_EQ(pm->SetPurchasePrice(product, vendor, stock, 1.5), 0.0);
    // A unit without a standard price reads as 0.
    exec(QStringLiteral("Update ProductUnits Set PurcPrice = NULL Where Id = %1").arg(small));
    EXPECT_EQ(pm->SetPurchasePrice(product, vendor, small, 1.5), 0.0);
    pm->PriceDiscount = u"kept"_qs;
    pm->SetPurchasePrice(product, vendor, small, 1.5);
    EXPECT_EQ(pm->PriceDiscount, u"kept"_qs);
}

}  // namespace
}  // namespace md::product::test
