#include "EngineFixture.h"

namespace md::embedded::test {
namespace {

TEST_F(EngineTest, ViewsIndexesAndDrops) {
    run(
        QStringLiteral("Create Table Vendor (Id IdNo IDENTITY(1,1) PRIMARY KEY, Code varchar(8) "
                       "NOT NULL, Active CharFlag NOT NULL Default 'Y')"));
    run(QStringLiteral(
        "Insert Into Vendor (Code) Values ('V1')\nInsert Into Vendor (Code) Values ('V2')"));
    run(QStringLiteral(
        "Create View ActiveVendor As Select Id, Code From Vendor Where Active = 'Y'"));
    EXPECT_EQ(scalar(QStringLiteral("Select XType From SysObjects Where Name = 'ActiveVendor'"))
                  .toString(),
              QStringLiteral("V "));
    EXPECT_EQ(db->execute(QStringLiteral("Select Code From ActiveVendor Order By Code"), {})
                  ->columns()
                  .at(0)
                  .size,
              8);  // the base column's length shows through the view
    // A unique index over rows that already repeat is refused and not created.
    run(QStringLiteral("Insert Into Vendor (Code) Values ('v1')"));
    EXPECT_EQ(
        refusal(QStringLiteral("Create Unique Index IX_VendorCode On Vendor (Code)")).nativeError(),
        1505);
    run(QStringLiteral("Delete From Vendor Where Code = 'v1' And Id = 3"));
    run(QStringLiteral("Create Unique Index IX_VendorCode On Vendor (Code)"));
    EXPECT_EQ(refusal(QStringLiteral("Insert Into Vendor (Code) Values ('V2 ')")).nativeError(),
              2601);
    run(QStringLiteral("Drop Index Vendor.IX_VendorCode"));
    run(QStringLiteral("Insert Into Vendor (Code) Values ('V2 ')"));
    EXPECT_EQ(refusal(QStringLiteral("Drop Index Vendor.IX_VendorCode")).nativeError(), 3701);
    run(QStringLiteral("Drop View ActiveVendor"));
    EXPECT_EQ(refusal(QStringLiteral("Select * From ActiveVendor")).nativeError(), 208);
    EXPECT_EQ(refusal(QStringLiteral("Drop Table ActiveVendor")).nativeError(), 3701);
}

TEST_F(EngineTest, ReferencedTablesCannotBeDroppedAndReferencesGoWithTheirTable) {
    run(
        QStringLiteral("Create Table P (Id int NOT NULL PRIMARY KEY)\n"
                       "Create Table C (Id int, PId int, Foreign Key (PId) References P (Id))"));
    run(QStringLiteral("Insert Into P (Id) Values (1)\nInsert Into C (Id, PId) Values (1, 1)"));
    EXPECT_EQ(refusal(QStringLiteral("Drop Table P")).nativeError(), 3726);
    run(QStringLiteral("Drop Table C"));
    EXPECT_EQ(scalar(QStringLiteral("Select count(*) From SysObjects Where XType = 'F '")).toInt(),
              0);
    run(QStringLiteral("Delete From P"));  // no reference left to refuse it
    run(QStringLiteral("Drop Table P"));
}

TEST_F(EngineTest, PositionalParametersAcrossTheStatementsOfABatch) {
    run(QStringLiteral("Create Table K (A int, B varchar(5))"));
    auto rs = db->execute(
        QStringLiteral(
            "Insert Into K (A, B) Values (?, ?)\n"
            "If Exists (Select * From K Where A = ?) Insert Into K (A, B) Values (?, 'y')\n"
            "Select A, B From K Where A > ? Order By A"),
        {1, QStringLiteral("x"), 1, 2, 0});
    std::vector<QVariant> row;
    ASSERT_TRUE(rs->fetch(row));
    EXPECT_EQ(row[1].toString(), QStringLiteral("x"));
    ASSERT_TRUE(rs->fetch(row));
    EXPECT_EQ(row[0].toInt(), 2);
    EXPECT_EQ(refusal(QStringLiteral("Use master")).nativeError(), 40508);
    run(QStringLiteral("Use DB"));
}

TEST_F(EngineTest, IdentitySeedAndReturnEndingTheBatch) {
    run(QStringLiteral("Create Table S (Id int IDENTITY(100, 1) NOT NULL, X int)"));
    EXPECT_EQ(scalar(QStringLiteral("Insert Into S (X) Values (1) Select @@IDENTITY")).toInt(),
              100);
    EXPECT_EQ(scalar(QStringLiteral("Insert Into S (X) Values (2) Select Max(Id) From S")).toInt(),
              101);
    run(QStringLiteral("Update S Set X = 5\nReturn\nUpdate S Set X = 6"));
    EXPECT_EQ(scalar(QStringLiteral("Select Max(X) From S")).toInt(), 5);
    EXPECT_EQ(refusal(QStringLiteral("Create Table S2 (Id int IDENTITY(1, 2))")).nativeError(),
              2749);
}

}  // namespace
}  // namespace md::embedded::test
