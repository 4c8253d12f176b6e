#include "EngineFixture.h"

#include <QDir>

namespace md::embedded::test {
namespace {

using data::ErrorCategory;

TEST_F(EngineTest, MissingDatabaseIsRefusedWithoutCreatingAFile) {
    const QStringList before = QDir(dir.path()).entryList(QDir::Files);
    try {
        open(QStringLiteral("Nowhere"));
        FAIL() << "opened a database that does not exist";
    } catch (const data::DbError& e) {
        EXPECT_EQ(e.nativeError(), 4060);
        EXPECT_EQ(e.sqlState(), QStringLiteral("42000"));
        EXPECT_EQ(e.category(), ErrorCategory::Connection);
        EXPECT_EQ(e.message(), QStringLiteral("Cannot open database \"Nowhere\" requested by the "
                                              "login. The login failed."));
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), before);
    // A name that would reach outside the folder is no database either.
    EXPECT_THROW(open(QStringLiteral("../DB")), data::DbError);
}

TEST_F(EngineTest, MissingServerFolderIsAConnectionError) {
    try {
        openSession(
            data::ConnectParams{QStringLiteral("DB"), server + QStringLiteral("/nope"), {}, {}});
        FAIL();
    } catch (const data::DbError& e) {
        EXPECT_EQ(e.category(), ErrorCategory::Connection);
        EXPECT_TRUE(e.message().contains(QStringLiteral("nope")));
    }
}

TEST_F(EngineTest, CreateDatabaseListsItInSysDatabasesAndRefusesADuplicate) {
    auto master = open(QStringLiteral("master"));
    master->execute(QStringLiteral("CREATE DATABASE KVR_Config_CO19"), {});
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("KVR_Config_CO19.mdf.sqlite"))));
    auto rs = master->execute(
        QStringLiteral("Select * From SysDatabases Where Name = 'KVR_CONFIG_CO19'"), {});
    std::vector<QVariant> row;
    ASSERT_TRUE(rs->fetch(row));
    EXPECT_EQ(row[0].toString(), QStringLiteral("KVR_Config_CO19"));
    EXPECT_FALSE(rs->fetch(row));
    try {
        master->execute(QStringLiteral("CREATE DATABASE kvr_config_co19"), {});
        FAIL();
    } catch (const data::DbError& e) {
        EXPECT_EQ(e.nativeError(), 1801);
        EXPECT_EQ(e.message(), QStringLiteral("Database 'kvr_config_co19' already exists. Choose "
                                              "a different database name."));
    }
    // Opened without regard to case.
    EXPECT_EQ(open(QStringLiteral("kvr_config_co19"))->databaseName(),
              QStringLiteral("KVR_Config_CO19"));
}

TEST_F(EngineTest, CatalogueIdsStayOverAlterAndReopen) {
    run(QStringLiteral(
        "Create Table Menu (Id IdNo IDENTITY(1,1) PRIMARY KEY, Command varchar(30) NULL)"));
    const QVariant id = scalar(QStringLiteral("Select Id From SysObjects Where Name = 'menu'"));
    ASSERT_FALSE(id.isNull());
    run(QStringLiteral("Create Table Other (Id int)"));
    run(QStringLiteral("Alter Table Menu Add Version Integer"));
    db = open(QStringLiteral("DB"));
    EXPECT_EQ(scalar(QStringLiteral("Select Id From SysObjects Where Name = 'MENU'")), id);
    EXPECT_EQ(column(*db, QStringLiteral("Select Name From SysColumns Where Id = ? Order By colid"),
                     {id}),
              (std::vector<QVariant>{QStringLiteral("Id"), QStringLiteral("Command"),
                                     QStringLiteral("Version")}));
    EXPECT_EQ(
        scalar(QStringLiteral("Select length From SysColumns Where Id = ? And Name = 'Command'"),
               {id})
            .toInt(),
        30);
    // The engine's own tables are not objects of the database.
    EXPECT_EQ(
        scalar(QStringLiteral(
                   "Select count(*) From SysObjects Where Name Like 'md%' Or Name Like 'sqlite%'"))
            .toInt(),
        0);
    run(QStringLiteral("Drop Table Other"));
    EXPECT_EQ(
        scalar(QStringLiteral("Select count(*) From SysObjects Where Name = 'Other'")).toInt(), 0);
}

TEST_F(EngineTest, ConfigurationScriptGuardRunsTwiceAndChangesNothingTheSecondTime) {
    run(QStringLiteral(
        "Create Table Menu (Id IdNo NOT NULL PRIMARY KEY, Command varchar(60) NULL)"));
    run(QStringLiteral("Insert Into Menu (Id, Command) Values (1, 'X')"));
    const QString guard = QStringLiteral(
        "If Not Exists (Select Name From SysColumns Where Id = (Select Id From SysObjects Where "
        "Upper(LTrim(RTrim(Name))) = 'MENU') And Upper(LTrim(RTrim(Name))) = 'VERSION')\n"
        "Begin\n  Alter Table Menu Add Version Integer\nEnd\n"
        "Update Menu Set Version = 3 Where Version Is Null And Command Is Not Null");
    run(guard);
    EXPECT_EQ(scalar(QStringLiteral("Select Version From Menu")).toInt(), 3);
    run(QStringLiteral("Update Menu Set Version = 4"));
    run(guard);  // the column is there now: no second ALTER, no error
    EXPECT_EQ(scalar(QStringLiteral("Select Version From Menu")).toInt(), 4);
    EXPECT_EQ(
        scalar(QStringLiteral("Select count(*) From SysColumns Where Name = 'Version'")).toInt(),
        1);
}

TEST_F(EngineTest, AlterTableAddsSeveralColumnsInOneStatement) {
    run(QStringLiteral("Create Table UserName (Id int)"));
    run(QStringLiteral("Insert Into UserName (Id) Values (1)"));
    run(QStringLiteral(
        "Alter Table UserName Add UserSeeImport Char(1) NULL, UserSeeCost CharFlag Default 'N'"));
    auto rs = db->execute(QStringLiteral("Select UserSeeImport, UserSeeCost From UserName"), {});
    ASSERT_EQ(rs->columns().size(), 2u);
    EXPECT_EQ(rs->columns()[1].size, 1);
    std::vector<QVariant> row;
    ASSERT_TRUE(rs->fetch(row));
    EXPECT_TRUE(row[0].isNull());
    EXPECT_TRUE(row[1].isNull());  // a nullable column with a default starts NULL in old rows
    run(QStringLiteral("Insert Into UserName (Id) Values (2)"));
    EXPECT_EQ(scalar(QStringLiteral("Select UserSeeCost From UserName Where Id = 2")).toString(),
              QStringLiteral("N"));
    const auto e = refusal(QStringLiteral("Alter Table UserName Add A int, UserSeeCost int"));
    EXPECT_EQ(e.nativeError(), 2705);
    // The failed statement added neither column.
    EXPECT_EQ(refusal(QStringLiteral("Select A From UserName")).nativeError(), 207);
}

}  // namespace
}  // namespace md::embedded::test
