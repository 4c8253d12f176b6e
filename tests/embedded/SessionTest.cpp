#include "EngineFixture.h"

#include <QDateTime>
#include <atomic>
#include <thread>

namespace md::embedded::test {
namespace {

TEST_F(EngineTest, ValuesComeBackTypedWithColumnSizes) {
    run(QStringLiteral(
        "Create Table T (Id IdNo IDENTITY(1,1) PRIMARY KEY, Code varchar(20) NOT NULL, "
        "Rate decimal(18,4) NULL, D datetime NULL, Flag CharFlag Default 'N', Price money NULL)"));
    const QDateTime when(QDate(2026, 12, 31), QTime(10, 30, 0));
    run(QStringLiteral("Insert Into T (Code, Rate, D) Values (?, ?, ?)"),
        {QStringLiteral("A"), 1.5, when});
    run(QStringLiteral("Insert Into T (Code) Values ('B')"));
    auto rs =
        db->execute(QStringLiteral("Select Id, Code, Rate, D, Flag, Price From T Order By Id"), {});
    const auto& cols = rs->columns();
    ASSERT_EQ(cols.size(), 6u);
    EXPECT_EQ(cols[0].type, QMetaType::LongLong);
    EXPECT_EQ(cols[1].type, QMetaType::QString);
    EXPECT_EQ(cols[1].size, 20);
    EXPECT_EQ(cols[1].baseTable, QStringLiteral("T"));
    EXPECT_EQ(cols[2].type, QMetaType::Double);
    EXPECT_EQ(cols[3].type, QMetaType::QDateTime);
    EXPECT_EQ(cols[4].size, 1);
    std::vector<QVariant> row;
    ASSERT_TRUE(rs->fetch(row));
    EXPECT_EQ(row[0].typeId(), QMetaType::LongLong);
    EXPECT_DOUBLE_EQ(row[2].toDouble(), 1.5);
    EXPECT_EQ(row[3].toDateTime(), when);
    EXPECT_EQ(row[4].toString(), QStringLiteral("N"));
    ASSERT_TRUE(rs->fetch(row));
    EXPECT_TRUE(row[3].isNull());
    EXPECT_EQ(row[3].typeId(), QMetaType::QDateTime);
    EXPECT_EQ(row[5].typeId(), QMetaType::Double);
}

TEST_F(EngineTest, DefaultsAndBinaryValues) {
    run(QStringLiteral(
        "Create Table Pic (Id int NOT NULL, Made datetime NOT NULL Default GetDate(), "
        "Data image NULL, Small varbinary(2) NULL)"));
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    run(QStringLiteral("Insert Into Pic (Id, Data) Values (1, ?)"),
        {QByteArray("\x00\x01\x02", 3)});
    auto rs = db->execute(QStringLiteral("Select Made, Data From Pic"), {});
    std::vector<QVariant> row;
    ASSERT_TRUE(rs->fetch(row));
    EXPECT_EQ(row[0].typeId(), QMetaType::QDateTime);
    EXPECT_GE(row[0].toDateTime(), before);  // local time, as GETDATE gives it
    EXPECT_LE(row[0].toDateTime(), QDateTime::currentDateTime().addSecs(1));
    EXPECT_EQ(row[1].toByteArray(), QByteArray("\x00\x01\x02", 3));
    EXPECT_EQ(
        refusal(QStringLiteral("Insert Into Pic (Id, Small) Values (2, ?)"), {QByteArray("abc")})
            .nativeError(),
        8152);
}

TEST_F(EngineTest, ResultsAreSteppedOnlyAsFarAsTheyAreRead) {
    run(QStringLiteral("Create Table Many (N int)"));
    db->beginTransaction();
    for (int i = 1; i <= 1000; ++i)
        run(QStringLiteral("Insert Into Many (N) Values (?)"), {i});
    db->commit();
    // Row 500 would fail if it were ever stepped.
    auto rs = db->execute(QStringLiteral("Select N, Case When N = 500 Then md_raise(50000, '', "
                                         "'stepped too far') End From Many"),
                          {});
    std::vector<QVariant> row;
    for (int i = 1; i <= 10; ++i) {
        ASSERT_TRUE(rs->fetch(row));
        EXPECT_EQ(row[0].toInt(), i);
    }
    // Several results open at once on one session, and other statements meanwhile.
    auto other = db->execute(QStringLiteral("Select count(*) From Many"), {});
    ASSERT_TRUE(other->fetch(row));
    EXPECT_EQ(row[0].toInt(), 1000);
    run(QStringLiteral("Insert Into Many (N) Values (0)"));
    auto fresh = open(QStringLiteral("DB"));
    EXPECT_EQ(column(*fresh, QStringLiteral("Select count(*) From Many")).at(0).toInt(), 1001);
    ASSERT_TRUE(rs->fetch(row));
    EXPECT_EQ(row[0].toInt(), 11);
}

TEST_F(EngineTest, AnOpenResultDoesNotBlockAWriteAfterAnotherSessionWrote) {
    run(QStringLiteral("Create Table G (N int)"));
    for (int i = 1; i <= 50; ++i)
        run(QStringLiteral("Insert Into G (N) Values (?)"), {i});
    auto grid = db->execute(QStringLiteral("Select N From G"), {});
    std::vector<QVariant> row;
    ASSERT_TRUE(grid->fetch(row));
    open(QStringLiteral("DB"))->execute(QStringLiteral("Insert Into G (N) Values (100)"), {});
    // The grid's snapshot predates that write; saving must still work.
    db->beginTransaction();
    run(QStringLiteral("Insert Into G (N) Values (101)"));
    db->commit();
    run(QStringLiteral("Insert Into G (N) Values (102)"));
    int seen = 1;
    while (grid->fetch(row))
        ++seen;
    EXPECT_EQ(seen, 50);  // the grid still shows what it read from
    EXPECT_EQ(scalar(QStringLiteral("Select count(*) From G")).toInt(), 53);
}

TEST_F(EngineTest, IdentityIsPerConnection) {
    run(QStringLiteral(
        "Create Table A (Id IdNo IDENTITY(1,1) PRIMARY KEY, X int)\nCreate Table B (X int)"));
    auto other = open(QStringLiteral("DB"));
    run(QStringLiteral("Insert Into A (X) Values (1)"));
    run(QStringLiteral("Insert Into A (X) Values (2)"));
    other->execute(QStringLiteral("Insert Into A (X) Values (3)"), {});
    EXPECT_EQ(scalar(QStringLiteral("Select @@IDENTITY")).toLongLong(), 2);
    EXPECT_EQ(column(*other, QStringLiteral("Select @@IDENTITY")).at(0).toLongLong(), 3);
    // An insert into a table without identity leaves @@IDENTITY NULL, as SQL Server does.
    run(QStringLiteral("Insert Into B (X) Values (9)"));
    EXPECT_TRUE(scalar(QStringLiteral("Select @@IDENTITY")).isNull());
    EXPECT_EQ(scalar(QStringLiteral("Insert Into A (X) Values (4) Select @@IDENTITY")).toLongLong(),
              4);
}

TEST_F(EngineTest, TwoSessionsInTransactionsWaitForEachOther) {
    run(QStringLiteral("Create Table Counter (N int)\nInsert Into Counter (N) Values (0)"));
    auto second = open(QStringLiteral("DB"));
    db->beginTransaction();
    run(QStringLiteral("Update Counter Set N = N + 1"));
    std::atomic<bool> done{false};
    std::string failure;
    std::thread t([&] {
        try {
            second->beginTransaction();  // waits until the first commits
            second->execute(QStringLiteral("Update Counter Set N = N + 10"), {});
            second->commit();
        } catch (const data::DbError& e) {
            failure = e.message().toStdString();
        }
        done = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    db->commit();
    t.join();
    EXPECT_TRUE(done);
    EXPECT_EQ(failure, "");
    EXPECT_EQ(scalar(QStringLiteral("Select N From Counter")).toInt(), 11);
}

}  // namespace
}  // namespace md::embedded::test

namespace md::embedded::test {
namespace {

// The fuzz target runs every input on a copy of one database: a copy starts with its tables,
// rows and catalogue, and what one copy changes no other copy sees.
TEST(MemoryImage, EachSessionOnAnImageWorksOnItsOwnCopy) {
    auto maker = openMemorySession(QStringLiteral("M"));
    (void)maker->execute(QStringLiteral("CREATE TABLE T (Id int IDENTITY(1,1) PRIMARY KEY, "
                                        "Code varchar(10) NOT NULL)\n"
                                        "INSERT INTO T (Code) VALUES ('a')"),
                         {});
    const QByteArray image = memoryImage(*maker);
    auto count = [](data::Session& s) {
        auto rs = s.execute(QStringLiteral("SELECT COUNT(*) FROM T"), {});
        std::vector<QVariant> row;
        return rs->fetch(row) ? row.at(0).toInt() : -1;
    };
    auto first = openMemorySession(QStringLiteral("M"), image);
    (void)first->execute(QStringLiteral("INSERT INTO T (Code) VALUES ('b')\n"
                                        "CREATE TABLE V (Id int NOT NULL)"),
                         {});
    EXPECT_EQ(count(*first), 2);
    // The identity goes on from the copied table; the constraint holds on the copy.
    auto rs = first->execute(QStringLiteral("SELECT MAX(Id) FROM T"), {});
    std::vector<QVariant> row;
    ASSERT_TRUE(rs->fetch(row));
    EXPECT_EQ(row.at(0).toInt(), 2);
    EXPECT_THROW((void)first->execute(QStringLiteral("INSERT INTO T (Code) VALUES (NULL)"), {}),
                 data::DbError);

    auto second = openMemorySession(QStringLiteral("M"), image);
    EXPECT_EQ(count(*second), 1);
    EXPECT_THROW((void)second->execute(QStringLiteral("SELECT Id FROM V"), {}), data::DbError);
    EXPECT_EQ(count(*maker), 1);
}

}  // namespace
}  // namespace md::embedded::test
