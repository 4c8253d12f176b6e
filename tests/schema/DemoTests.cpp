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

TEST(DemoFolder, GeneratedRowsKeepTheSchemasKeysAndReferences) {
    QTemporaryDir dir;
    schema::DemoOptions options;
    options.generatedProducts = 3000;
    const QString folder = dir.filePath(u"srv"_qs);
    const auto summary = schema::createDemoServer(folder, options);
    EXPECT_EQ(summary.generatedProducts, 3000);
    auto s = schema::openDatabase(summary.serverName, u"DEMO01"_qs);
    EXPECT_EQ(summary.products, 216 + 3000);
    EXPECT_EQ(value(*s, u"SELECT Count(*) FROM Product"_qs).toLongLong(), summary.products);
    // The hand-made products come first, as they were.
    EXPECT_EQ(value(*s, u"SELECT Max(Id) FROM Product WHERE Code = 'B-OFFICE'"_qs).toInt(), 216);

    // Every reference of a generated row leads to a row of the right kind.
    const QStringList orphans{
        u"SELECT Count(*) FROM ProductUnits U Left Join Product P On (P.Id = U.Product) "
        u"WHERE P.Id IS NULL"_qs,
        u"SELECT Count(*) FROM ProductPrice X Inner Join ProductUnits U On (U.Id = "
        u"X.ProductUnits) WHERE U.Product <> X.Product"_qs,
        u"SELECT Count(*) FROM ProductPrice X Left Join Misc M On (M.GroupCode = 'PRICETYPE' "
        u"And M.Code = Convert(varchar(10), X.PriceType)) WHERE M.Id IS NULL"_qs,
        u"SELECT Count(*) FROM productonhand O Inner Join ProductUnits U On (U.Id = "
        u"O.productunits) WHERE U.Product <> O.product Or U.SmallUnitFlag <> 'Y'"_qs,
        u"SELECT Count(*) FROM productonhand O Left Join Warehouse W On (W.Id = O.warehouse) "
        u"WHERE W.Id IS NULL Or W.Blocked = 'Y'"_qs,
        u"SELECT Count(*) FROM productattr A Left Join ProdAttrCode C On (C.Id = "
        u"A.ProdAttrCode) WHERE C.Id IS NULL Or C.ProdAttrGroup <> A.ProdAttrGroup"_qs,
        u"SELECT Count(*) FROM Product P Left Join Misc T On (T.Id = P.PType And T.GroupCode = "
        u"'PTYPE') WHERE T.Id IS NULL"_qs,
        u"SELECT Count(*) FROM Product P Left Join Misc G On (G.Id = P.PGroup And G.GroupCode = "
        u"'PGROUP') WHERE G.Id IS NULL"_qs,
        u"SELECT Count(*) FROM Product P Left Join Tax T On (T.Id = P.TaxCode) Left Join "
        u"Warehouse W On (W.Id = P.DefaultWh) Left Join productgroup G On (G.Id = "
        u"P.ProductGroup) WHERE T.Id IS NULL Or W.Id IS NULL Or G.Id IS NULL"_qs,
        // one smallest unit per product, and one row per unit and price type
        u"SELECT Count(*) FROM Product P WHERE (SELECT Count(*) FROM ProductUnits U WHERE "
        u"U.Product = P.Id And U.SmallUnitFlag = 'Y') <> 1"_qs,
        u"SELECT Count(*) FROM (SELECT BarCode FROM ProductUnits WHERE BarCode IS NOT NULL "
        u"GROUP BY BarCode HAVING Count(*) > 1) D"_qs,
        u"SELECT Count(*) FROM (SELECT Code FROM Product GROUP BY Code HAVING Count(*) > 1) D"_qs,
    };
    for (const QString& sql : orphans)
        EXPECT_EQ(value(*s, sql).toInt(), 0) << sql.toStdString();

    // Rows of every kind were made, spread over the kinds, types and groups.
    EXPECT_GT(value(*s, u"SELECT Count(*) FROM ProductUnits WHERE Product > 216"_qs).toInt(), 3300);
    EXPECT_GT(value(*s, u"SELECT Count(*) FROM productonhand WHERE product > 216"_qs).toInt(),
              2500);
    EXPECT_GT(value(*s, u"SELECT Count(*) FROM productattr WHERE Product > 216"_qs).toInt(), 1500);
    EXPECT_GE(value(*s, u"SELECT Count(DISTINCT PType) FROM Product WHERE Id > 216"_qs).toInt(), 7);
    EXPECT_EQ(value(*s, u"SELECT Count(DISTINCT PGroup) FROM Product WHERE Id > 216"_qs).toInt(),
              4);
    EXPECT_GE(
        value(*s, u"SELECT Count(DISTINCT ProductType) FROM Product WHERE Id > 216"_qs).toInt(), 6);
    // Sale prices are whole satang and keep them exactly.
    EXPECT_EQ(value(*s,
                    u"SELECT Count(*) FROM ProductPrice WHERE Product > 216 And Price * 100 "
                    u"<> Round(Price * 100, 0)"_qs)
                  .toInt(),
              0);

    // The pictures are in the server's own picture folder, which the company names (not the
    // folder the server was built in).
    EXPECT_EQ(value(*s, u"SELECT PicturePath FROM Config"_qs).toString(),
              QDir(folder).absoluteFilePath(u"Pictures"_qs));
    const auto pictures = rows(
        *s, u"SELECT DISTINCT Picture1 FROM Product WHERE Id > 216 And Picture1 IS NOT NULL"_qs);
    ASSERT_GT(pictures.size(), 20u);
    for (const auto& r : pictures) {
        EXPECT_TRUE(QFile::exists(folder + u"/Pictures"_qs + r[0].toString()))
            << r[0].toString().toStdString();
    }
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot) ==
                QStringList{u"srv"_qs})
        << "nothing of the build is left beside the server";
}
