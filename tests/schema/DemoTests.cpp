// The demo server: the conventions other tests and the README rely on, the refusal of an existing
// folder, and the generated products.

#include "TestServer.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>

using namespace md;
using namespace md::schema::test;

class Demo : public ::testing::Test {
  protected:
    TestServer server{true};
};

TEST_F(Demo, UsersMenusAndCompanyFollowTheConventions) {
    auto& c = *server.config;
    EXPECT_EQ(value(c, u"SELECT LanguageNo FROM UserName WHERE Id = 1"_qs).toInt(), 1);
    EXPECT_EQ(value(c, u"SELECT LanguageNo FROM UserName WHERE Id = 2"_qs).toInt(), 2);
    EXPECT_EQ(
        value(c, u"SELECT Count(*) FROM UserRight WHERE UserId = 3 AND Access_R = 'Y'"_qs).toInt(),
        0);
    EXPECT_EQ(value(c,
                    u"SELECT Count(*) FROM UserRight WHERE UserId IN (1, 2) AND Access_R = 'Y' "
                    u"AND Add_R = 'Y' AND Modify_R = 'Y' AND Delete_R = 'Y'"_qs)
                  .toInt(),
              12);
    const auto menus =
        rows(c, u"SELECT Id, MenuCode FROM Menu WHERE Id BETWEEN 101 AND 106 ORDER BY Id"_qs);
    const QStringList codes{u"IMPEXPENSE"_qs, u"IMPORTLOTNO"_qs, u"FRVENDOR"_qs,
                            u"FRCUSTOMER"_qs, u"EXCHANGE"_qs,    u"PARTSOURCE"_qs};
    ASSERT_EQ(menus.size(), 6u);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(menus[size_t(i)][1].toString(), codes[i]);
    // The company is found by its database name, as the start-up query finds it.
    EXPECT_EQ(
        value(c,
              u"SELECT P.Code FROM CompanyConfig C Inner Join DatabaseList O On (O.Company = "
              u"C.Company) "
              u"Inner Join Company P On (P.Id = O.Company) Where (O.DatabaseName = 'DEMO01')"_qs)
            .toString(),
        u"DEMO"_qs);
}

TEST_F(Demo, CompanyOptionsAndMastersAreFilled) {
    auto& s = *server.company;
    EXPECT_EQ(
        value(s, u"SELECT M.Code FROM Config C Inner Join Misc M On (M.Id = C.MainCurrencyId)"_qs)
            .toString(),
        u"THB"_qs);
    EXPECT_EQ(
        value(
            s,
            u"SELECT M.Code FROM Config C Inner Join Misc M On (M.Id = C.InternationalCurrencyId)"_qs)
            .toString(),
        u"USD"_qs);
    EXPECT_GE(value(s, u"SELECT Count(*) FROM Misc WHERE GroupCode = 'CURRENCY'"_qs).toInt(), 10);
    EXPECT_GE(value(s, u"SELECT Count(*) FROM Misc WHERE GroupCode = 'COUNTRY'"_qs).toInt(), 20);
    EXPECT_GE(value(s, u"SELECT Count(*) FROM FrVendor"_qs).toInt(), 20);
    EXPECT_GE(value(s, u"SELECT Count(*) FROM FrCustomer"_qs).toInt(), 20);
    EXPECT_GE(value(s, u"SELECT Count(*) FROM Product"_qs).toInt(), 200);
    EXPECT_EQ(value(s, u"SELECT Count(*) FROM Salesman WHERE Status = 'N'"_qs).toInt(), 1);
    EXPECT_EQ(value(s, u"SELECT Count(*) FROM Warehouse WHERE Code = 'RMA'"_qs).toInt(), 1);
    EXPECT_GE(value(s, u"SELECT Count(*) FROM Warehouse WHERE Blocked = 'Y'"_qs).toInt(), 1);
    EXPECT_GE(value(s, u"SELECT Count(DISTINCT ExchangeDate) FROM CurrencyEx"_qs).toInt(), 2);
    for (const char* kind : {"P", "S", "M", "R", "F", "T", "C", "B"}) {
        EXPECT_GT(value(s, u"SELECT Count(*) FROM Product WHERE ProductType = ?"_qs,
                        {QString::fromLatin1(kind)})
                      .toInt(),
                  0)
            << kind;
    }
    // Every product has exactly one smallest and one stock unit.
    EXPECT_EQ(
        value(s,
              u"SELECT Count(*) FROM Product P WHERE (SELECT Count(*) FROM ProductUnits U "
              u"WHERE U.Product = P.Id AND U.SmallUnitFlag = 'Y') <> 1 OR (SELECT Count(*) "
              u"FROM ProductUnits U WHERE U.Product = P.Id AND U.StockUnitFlag = 'Y') <> 1"_qs)
            .toInt(),
        0);
    // The product pictures named by the products exist in the picture folder.
    const QString folder = value(s, u"SELECT PicturePath FROM Config"_qs).toString();
    const auto pictures = rows(s, u"SELECT Picture1 FROM Product WHERE Picture1 IS NOT NULL"_qs);
    ASSERT_FALSE(pictures.empty());
    for (const auto& p : pictures)
        EXPECT_TRUE(QFile::exists(folder + p[0].toString()));
}

TEST_F(Demo, StockAndManufacturingViewsShowNumbers) {
    auto& s = *server.company;
    const auto r =
        rows(s,
             u"SELECT Onhand, WorkOrderOH, WKIsQty FROM ProductonhandMFG WHERE Product = "
             u"(SELECT Min(Id) FROM Product WHERE ProductType = 'F')"_qs);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_FALSE(r[0][0].toString().trimmed().isEmpty());
    // Work orders 1 and 2 are open: 50 + 20 ordered, 30 finished.
    EXPECT_TRUE(r[0][1].toString().startsWith(u"40.00"_qs)) << r[0][1].toString().toStdString();
}

TEST(DemoFolder, AnExistingFolderIsRefusedUnlessForced) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(u"srv"_qs);
    QDir().mkpath(folder);
    QFile keep(folder + u"/notes.txt"_qs);
    ASSERT_TRUE(keep.open(QIODevice::WriteOnly));
    keep.close();
    EXPECT_THROW(schema::createDemoServer(folder, {}), schema::DemoError);
    EXPECT_FALSE(QFile::exists(folder + u"/KVR_CONFIG.mdf.sqlite"_qs));

    schema::DemoOptions force;
    force.force = true;
    const auto first = schema::createDemoServer(folder, force);
    auto company = schema::openDatabase(first.serverName, u"DEMO01"_qs);
    company->execute(u"DELETE FROM UserWarehouse"_qs, {});
    company.reset();
    // Forced again: the databases are rebuilt, other files stay.
    schema::createDemoServer(folder, force);
    company = schema::openDatabase(first.serverName, u"DEMO01"_qs);
    EXPECT_GT(value(*company, u"SELECT Count(*) FROM UserWarehouse"_qs).toInt(), 0);
    EXPECT_TRUE(QFile::exists(folder + u"/notes.txt"_qs));
}

TEST(DemoFolder, GeneratedProductsComeWithUnitBarcodePriceAndStock) {
    QTemporaryDir dir;
    schema::DemoOptions options;
    options.generatedProducts = 500;
    const auto summary = schema::createDemoServer(dir.filePath(u"srv"_qs), options);
    EXPECT_EQ(summary.generatedProducts, 500);
    auto s = schema::openDatabase(summary.serverName, u"DEMO01"_qs);
    EXPECT_EQ(value(*s, u"SELECT Count(*) FROM Product WHERE Code LIKE 'G0%'"_qs).toInt(), 500);
    EXPECT_EQ(summary.products, value(*s, u"SELECT Count(*) FROM Product"_qs).toLongLong());
    const auto r =
        rows(*s,
             u"SELECT U.BarCode, X.Price, O.quantity FROM Product P Inner Join ProductUnits U "
             u"On (U.Product = P.Id) Inner Join ProductPrice X On (X.ProductUnits = U.Id) "
             u"Inner Join productonhand O On (O.productunits = U.Id) WHERE P.Code = 'G0000500'"_qs);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0][0].toString().size(), 13);
    // Barcodes are unique across the demo data and the generated products.
    EXPECT_EQ(
        value(*s,
              u"SELECT Count(*) FROM (SELECT BarCode FROM ProductUnits WHERE BarCode IS NOT NULL "
              u"GROUP BY BarCode HAVING Count(*) > 1) D"_qs)
            .toInt(),
        0);
}
