#include "EngineFixture.h"

namespace md::embedded::test {
namespace {

using data::ErrorCategory;

class RefusalTest : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        run(QStringLiteral(
            "Create Table Parent (Id IdNo IDENTITY(1,1) PRIMARY KEY, Code varchar(5) NOT NULL "
            "CONSTRAINT UQ_ParentCode UNIQUE, Name varchar(10) NULL)\n"
            "Create Table Child (Id int NOT NULL, ParentId int NULL CONSTRAINT FK_ChildParent "
            "REFERENCES Parent(Id), Note nvarchar(4) NULL, CONSTRAINT PK_Child PRIMARY KEY (Id))\n"
            "Create Table Loose (Id int NOT NULL PRIMARY KEY, Ref int NULL REFERENCES Parent)\n"
            "Create Unique Index IX_ChildNote On Child (Note)"));
        run(QStringLiteral("Insert Into Parent (Code) Values ('ABC')"));
    }
    // `state` is the message state SQL Server raises the error with.
    void expectRefusal(const QString& sql, int number, int state, const char* sqlState,
                       const QString& text) {
        const data::DbError e = refusal(sql);
        EXPECT_EQ(e.nativeError(), number) << sql.toStdString();
        EXPECT_EQ(e.state(), state) << sql.toStdString();
        EXPECT_EQ(e.sqlState(), QString::fromLatin1(sqlState)) << sql.toStdString();
        EXPECT_EQ(e.message(), text) << sql.toStdString();
    }
};

TEST_F(RefusalTest, DuplicateKeysCarrySqlServersTextWithTheValue) {
    expectRefusal(QStringLiteral("Insert Into Parent (Code) Values ('abc')"), 2627, 1, "23000",
                  QStringLiteral("Violation of UNIQUE KEY constraint 'UQ_ParentCode'. Cannot "
                                 "insert duplicate key in object 'dbo.Parent'. The duplicate key "
                                 "value is (abc)."));
    run(QStringLiteral("Insert Into Child (Id, Note) Values (1, 'n1')"));
    expectRefusal(QStringLiteral("Insert Into Child (Id) Values (1)"), 2627, 1, "23000",
                  QStringLiteral("Violation of PRIMARY KEY constraint 'PK_Child'. Cannot insert "
                                 "duplicate key in object 'dbo.Child'. The duplicate key value is "
                                 "(1)."));
    expectRefusal(QStringLiteral("Insert Into Child (Id, Note) Values (2, 'N1')"), 2601, 1, "23000",
                  QStringLiteral("Cannot insert duplicate key row in object 'dbo.Child' with "
                                 "unique index 'IX_ChildNote'. The duplicate key value is (N1)."));
    run(QStringLiteral("Insert Into Parent (Code) Values ('XYZ')"));
    expectRefusal(QStringLiteral("Update Parent Set Code = 'ABC' Where Code = 'XYZ'"), 2627, 1,
                  "23000",
                  QStringLiteral("Violation of UNIQUE KEY constraint 'UQ_ParentCode'. Cannot "
                                 "insert duplicate key in object 'dbo.Parent'. The duplicate key "
                                 "value is (ABC)."));
    // Updating a row to its own key is no duplicate.
    run(QStringLiteral("Update Parent Set Name = 'x' Where Code = 'ABC'"));
    EXPECT_EQ(refusal(QStringLiteral("Insert Into Parent (Code) Values ('ABC')")).category(),
              ErrorCategory::Constraint);
}

TEST_F(RefusalTest, NullIntoANotNullColumnNamesColumnTableAndVerb) {
    expectRefusal(QStringLiteral("Insert Into Parent (Name) Values ('x')"), 515, 2, "23000",
                  QStringLiteral("Cannot insert the value NULL into column 'Code', table "
                                 "'DB.dbo.Parent'; column does not allow nulls. INSERT fails."));
    expectRefusal(QStringLiteral("Update Parent Set Code = NULL"), 515, 2, "23000",
                  QStringLiteral("Cannot insert the value NULL into column 'Code', table "
                                 "'DB.dbo.Parent'; column does not allow nulls. UPDATE fails."));
}

TEST_F(RefusalTest, ReferencesRefuseOrphansAndDeletesOfReferencedRows) {
    expectRefusal(QStringLiteral("Insert Into Child (Id, ParentId) Values (1, 99)"), 547, 0,
                  "23000",
                  QStringLiteral("INSERT statement conflicted with COLUMN FOREIGN KEY constraint "
                                 "'FK_ChildParent'. The conflict occurred in database 'DB', table "
                                 "'Parent', column 'Id'."));
    run(QStringLiteral("Insert Into Child (Id, ParentId) Values (1, 1)"));
    expectRefusal(QStringLiteral("Update Child Set ParentId = 7"), 547, 0, "23000",
                  QStringLiteral("UPDATE statement conflicted with COLUMN FOREIGN KEY constraint "
                                 "'FK_ChildParent'. The conflict occurred in database 'DB', table "
                                 "'Parent', column 'Id'."));
    expectRefusal(QStringLiteral("Delete From Parent"), 547, 0, "23000",
                  QStringLiteral("DELETE statement conflicted with COLUMN REFERENCE constraint "
                                 "'FK_ChildParent'. The conflict occurred in database 'DB', table "
                                 "'Child', column 'ParentId'."));
    // An unnamed reference gets a generated name in SQL Server's pattern.
    run(QStringLiteral("Insert Into Loose (Id, Ref) Values (1, 1)"));
    run(QStringLiteral("Delete From Child"));
    const data::DbError e = refusal(QStringLiteral("Delete From Parent"));
    EXPECT_TRUE(e.message().startsWith(QStringLiteral(
        "DELETE statement conflicted with COLUMN REFERENCE constraint 'FK__Loose__Ref__")))
        << e.message().toStdString();
    const QVariant fk = scalar(QStringLiteral(
        "Select Name From SysObjects Where XType = 'F ' And Name Like 'FK__Loose%'"));
    EXPECT_TRUE(e.message().contains(fk.toString()));
    run(QStringLiteral("Delete From Loose"));
    run(QStringLiteral("Delete From Parent"));
    EXPECT_EQ(scalar(QStringLiteral("Select count(*) From Parent")).toInt(), 0);
}

TEST_F(RefusalTest, DeclaredTextLengthsAreEnforced) {
    expectRefusal(QStringLiteral("Insert Into Parent (Code) Values ('ABCDEF')"), 8152, 14, "22001",
                  QStringLiteral("String or binary data would be truncated."));
    expectRefusal(QStringLiteral("Update Parent Set Name = 'ABCDEFGHIJK'"), 8152, 14, "22001",
                  QStringLiteral("String or binary data would be truncated."));
    // nvarchar counts characters: four Thai letters fit nvarchar(4).
    run(QStringLiteral("Insert Into Child (Id, Note) Values (5, N'กขคง')"));
    EXPECT_EQ(scalar(QStringLiteral("Select Note From Child Where Id = 5")).toString(),
              QStringLiteral("กขคง"));
}

TEST_F(RefusalTest, UnknownObjectsColumnsAndDuplicateObjects) {
    expectRefusal(QStringLiteral("Select * From Missing"), 208, 1, "42S02",
                  QStringLiteral("Invalid object name 'Missing'."));
    expectRefusal(QStringLiteral("Select Nope From Parent"), 207, 1, "42S22",
                  QStringLiteral("Invalid column name 'Nope'."));
    expectRefusal(QStringLiteral("Create Table parent (X int)"), 2714, 1, "42S01",
                  QStringLiteral("There is already an object named 'parent' in the database."));
}

// What the parser finds is of level 15, what the compiler or the run finds of level 16 or the
// level of its kind: masterdata-sql and the error log show it as the server does.
TEST_F(RefusalTest, SyntaxErrorsAreOfLevelFifteen) {
    const std::pair<const char*, int> cases[] = {
        {"Selec 1", 15},
        {"Select 'open", 15},
        {"Select Nope(1)", 15},
        {"Select @missing", 15},
        {"Insert Into Child (Id, Note) Values (1)", 15},
        {"Select * From Missing", 16},
        {"Insert Into Parent (Code) Values ('ABC')", 14},
    };
    for (const auto& [sql, level] : cases)
        EXPECT_EQ(refusal(QString::fromLatin1(sql)).level(), level) << sql;
}

TEST_F(RefusalTest, AFailingStatementLeavesNoneOfItsRows) {
    run(QStringLiteral("Create Table Src (C varchar(10))"));
    run(QStringLiteral("Insert Into Src (C) Values ('NEW1')"));
    run(QStringLiteral("Insert Into Src (C) Values ('ABC')"));
    // The second row is a duplicate: the first one must not stay.
    EXPECT_EQ(refusal(QStringLiteral("Insert Into Parent (Code) Select C From Src")).nativeError(),
              2627);
    EXPECT_EQ(scalar(QStringLiteral("Select count(*) From Parent")).toInt(), 1);
    // Inside a transaction the statement goes, the transaction stays.
    db->beginTransaction();
    run(QStringLiteral("Insert Into Parent (Code) Values ('T1')"));
    EXPECT_EQ(refusal(QStringLiteral("Insert Into Parent (Code) Select C From Src")).nativeError(),
              2627);
    EXPECT_TRUE(db->inTransaction());
    db->commit();
    EXPECT_EQ(scalar(QStringLiteral("Select count(*) From Parent")).toInt(), 2);
    // A batch goes on after a duplicate key: the statements before and after it are applied.
    EXPECT_EQ(
        refusal(QStringLiteral("Insert Into Parent (Code) Values ('B1')\nInsert Into Parent (Code) "
                               "Values ('ABC')\nInsert Into Parent (Code) Values ('B3')"))
            .nativeError(),
        2627);
    EXPECT_EQ(
        scalar(QStringLiteral("Select count(*) From Parent Where Code In ('B1', 'B3')")).toInt(),
        2);
}

}  // namespace
}  // namespace md::embedded::test
