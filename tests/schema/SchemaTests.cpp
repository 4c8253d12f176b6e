// The schema scripts: the shape they create (older shape included), the refusals their keys
// make, and a second run that stops at once without damage.

#include "TestServer.h"
#include "data/backend/DbError.h"
#include "schema/Scripts.h"

#include <gtest/gtest.h>

using namespace md;
using namespace md::schema::test;

namespace {

// Runs a statement that must be refused and returns the refusal.
data::DbError refusal(data::Session& s, const QString& sql, const std::vector<QVariant>& p = {}) {
    try {
        rows(s, sql, p);
    } catch (const data::DbError& e) {
        return e;
    }
    ADD_FAILURE() << "not refused: " << sql.toStdString();
    return data::DbError(QString());
}

}  // namespace

TEST(SchemaScripts, SplitAtGoLines) {
    const auto batches =
        schema::splitBatches(u"CREATE TABLE A (X int)\n go \nGO\n\nSELECT 1\r\nGo"_qs);
    ASSERT_EQ(batches.size(), 2u);
    EXPECT_EQ(batches[0].text, u"CREATE TABLE A (X int)"_qs);
    EXPECT_EQ(batches[1].firstLine, 4);
    EXPECT_EQ(batches[1].text.trimmed(), u"SELECT 1"_qs);
    // A word that merely begins with GO does not end a batch.
    EXPECT_EQ(schema::splitBatches(u"SELECT 1\nGOTO x\n"_qs).size(), 1u);
}

class BareSchema : public ::testing::Test {
  protected:
    TestServer server{false};
};

TEST_F(BareSchema, OlderShapeWaitsForTheProgramsOwnScripts) {
    EXPECT_FALSE(hasColumn(*server.config, u"Menu"_qs, u"Version"_qs));
    EXPECT_FALSE(hasColumn(*server.config, u"UserName"_qs, u"UserSeeImport"_qs));
    EXPECT_FALSE(hasColumn(*server.config, u"UserName"_qs, u"UserSeeCost"_qs));
    for (const char16_t* c : {u"PurcScrap", u"PurcPart", u"SaleScrap", u"SalePart"}) {
        EXPECT_FALSE(hasColumn(*server.company, u"CurrencyEx"_qs, QString::fromUtf16(c)));
    }
    EXPECT_TRUE(hasColumn(*server.company, u"CurrencyEx"_qs, u"PurcRate"_qs));
    EXPECT_TRUE(hasColumn(*server.config, u"Menu"_qs, u"Command"_qs));
}

TEST_F(BareSchema, EveryTableAndViewIsInTheCatalogue) {
    const QStringList company{u"Misc"_qs,
                              u"Config"_qs,
                              u"UserLog"_qs,
                              u"ImpExpense"_qs,
                              u"ImportLotNo"_qs,
                              u"FrVendor"_qs,
                              u"FrCustomer"_qs,
                              u"CurrencyEx"_qs,
                              u"FrPartSource"_qs,
                              u"ProductUnits"_qs,
                              u"ProductView"_qs,
                              u"ProductonhandMFG"_qs,
                              u"ProductAttribute"_qs,
                              u"DocNoConvert"_qs,
                              u"nulltable"_qs};
    for (const QString& name : company) {
        EXPECT_EQ(
            value(*server.company, u"SELECT Count(*) FROM SysObjects WHERE Name = ?"_qs, {name})
                .toInt(),
            1)
            << name.toStdString();
    }
    for (const QString& name : {u"Company"_qs, u"UserRight"_qs, u"ErrorLog"_qs, u"Menu"_qs}) {
        EXPECT_EQ(
            value(*server.config, u"SELECT Count(*) FROM SysObjects WHERE Name = ?"_qs, {name})
                .toInt(),
            1)
            << name.toStdString();
    }
}

TEST_F(BareSchema, RunningAScriptTwiceStopsAtTheFirstTableAndChangesNothing) {
    auto& s = *server.company;
    s.execute(u"INSERT INTO Misc (GroupCode, Code, Description) VALUES ('COUNTRY', 'TH', 'x')"_qs,
              {});
    const int objects = value(s, u"SELECT Count(*) FROM SysObjects"_qs).toInt();
    try {
        schema::runScript(s, schema::companyScript());
        FAIL() << "a second run must be refused";
    } catch (const data::DbError& e) {
        EXPECT_EQ(e.nativeError(), 2714);
        EXPECT_TRUE(e.message().contains(u"'Misc'"_qs)) << e.message().toStdString();
        EXPECT_TRUE(e.statement().contains(u"CREATE TABLE Misc"_qs));
    }
    EXPECT_EQ(value(s, u"SELECT Count(*) FROM SysObjects"_qs).toInt(), objects);
    EXPECT_EQ(value(s, u"SELECT Count(*) FROM Misc"_qs).toInt(), 1);

    EXPECT_THROW(schema::runScript(*server.config, schema::configScript()), data::DbError);
}

class DemoKeys : public ::testing::Test {
  protected:
    TestServer server{true};
    data::Session& s = *server.company;
};

TEST_F(DemoKeys, UniqueCodesRefuseADuplicateWithTheServersText) {
    const auto e =
        refusal(s, u"INSERT INTO ImpExpense (Code, Description) VALUES ('FREIGHT', 'x')"_qs);
    EXPECT_EQ(e.nativeError(), 2627);
    EXPECT_EQ(e.sqlState(), u"23000"_qs);
    EXPECT_TRUE(e.message().startsWith(
        u"Violation of UNIQUE KEY constraint 'UQ_ImpExpense_Code'. Cannot insert duplicate key"_qs))
        << e.message().toStdString();
    // Codes compare as the server compares them: case and trailing blanks do not count.
    EXPECT_EQ(refusal(s, u"INSERT INTO Misc (GroupCode, Code) VALUES ('CURRENCY', 'usd ')"_qs)
                  .nativeError(),
              2627);
    // The same code in another group is a different code.
    EXPECT_NO_THROW(
        s.execute(u"INSERT INTO Misc (GroupCode, Code) VALUES ('PGROUP', 'USD')"_qs, {}));
}

TEST_F(DemoKeys, ReferencesRefuseWhatTheSuiteRefuses) {
    // A referenced import expense code and lot cannot be deleted; the error table of the error
    // dialog recognises the server's wording.
    auto e = refusal(s, u"DELETE FROM ImpExpense WHERE Code = 'FREIGHT'"_qs);
    EXPECT_EQ(e.nativeError(), 547);
    EXPECT_TRUE(e.message().contains(u"DELETE statement conflicted with COLUMN REFERENCE"_qs));
    EXPECT_TRUE(e.message().contains(u"FK_ImportCost_ImpExpense"_qs));
    EXPECT_EQ(refusal(s, u"DELETE FROM ImportLotNo WHERE Code = 'IMP-0001'"_qs).nativeError(), 547);
    // An unreferenced one can.
    EXPECT_NO_THROW(s.execute(u"DELETE FROM ImpExpense WHERE Code = 'OTHER'"_qs, {}));

    // A vendor needs an existing group, country and currency.
    const QString vendor =
        u"INSERT INTO FrVendor (Code, VendorGroup, Name, Country, Currency) VALUES ('ZZ1', ?, 'x', ?, ?)"_qs;
    EXPECT_TRUE(refusal(s, vendor, {999, 13, 1}).message().contains(u"FK_FrVendor_VendorGroup"_qs));
    EXPECT_TRUE(refusal(s, vendor, {1, 999, 1}).message().contains(u"FK_FrVendor_Country"_qs));
    EXPECT_TRUE(refusal(s, vendor, {1, 13, 999}).message().contains(u"FK_FrVendor_Currency"_qs));
    // A customer needs a salesman; none at all is the message the error table explains.
    const QString customer =
        u"INSERT INTO FrCustomer (Code, CustomerGroup, Name, Country, Currency, Salesman) VALUES ('ZZ1', 1, 'x', 13, 1, ?)"_qs;
    EXPECT_TRUE(refusal(s, customer, {999}).message().contains(u"FK_FrCustomer_Salesman"_qs));
    e = refusal(s, customer, {QVariant(QMetaType(QMetaType::Int))});
    EXPECT_EQ(e.nativeError(), 515);
    EXPECT_TRUE(e.message().contains(u"Cannot insert the value NULL into column 'Salesman'"_qs));
    // A part source needs its vendor, product and unit.
    const QString part =
        u"INSERT INTO FrPartSource (FrVendor, Product, Productunits, Price) VALUES (?, ?, ?, 1)"_qs;
    EXPECT_TRUE(refusal(s, part, {999, 1, 1}).message().contains(u"FK_FrPartSource_FrVendor"_qs));
    EXPECT_TRUE(refusal(s, part, {1, 999999, 1}).message().contains(u"FK_FrPartSource_Product"_qs));
    EXPECT_TRUE(refusal(s, part, {1, 1, 0}).message().contains(u"FK_FrPartSource_Productunits"_qs));
    // A currency in use cannot be removed from the code list.
    EXPECT_EQ(refusal(s, u"DELETE FROM Misc WHERE GroupCode = 'CURRENCY' AND Code = 'USD'"_qs)
                  .nativeError(),
              547);
}

TEST_F(DemoKeys, TextLongerThanItsColumnIsRefused) {
    const auto e =
        refusal(s, u"INSERT INTO ImpExpense (Code, Description) VALUES ('ABCDEFGHIJK', 'x')"_qs);
    EXPECT_EQ(e.nativeError(), 8152);
}
