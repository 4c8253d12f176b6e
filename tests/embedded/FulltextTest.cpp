// A LIKE on a column with a contained-text index gives the rows a plain scan gives, in the same
// order, whichever way the engine narrows it, and stays right as rows come, change and go.

#include "EngineFixture.h"

#include <sqlite3.h>

namespace md::embedded::test {
namespace {

using namespace Qt::StringLiterals;

// The same rows twice: Item has the index (a piece held by more than three rows keeps no list
// of rows, so the tests meet both ways of narrowing), Plain has none.
class Fulltext : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        for (const QString& t : {u"Item"_s, u"Plain"_s}) {
            run(u"Create Table %1 (Id int IDENTITY(1,1) PRIMARY KEY, Code varchar(20) NOT NULL, "
                "Name varchar(100) NULL, Blocked char(1) NULL, CONSTRAINT UQ_%1_Code UNIQUE "
                "(Code))"_s.arg(t));
        }
        run(u"Create View ItemView As Select I.Id, I.Code As ItemCode, I.Name, I.Blocked "
            "From Item I"_s);
        run(u"CREATE FULLTEXT INDEX ON Item (Name) KEY INDEX UQ_Item_Code"_s);
        raw(u"UPDATE md_fulltext SET cap = 3"_s);
        // Codes of the common kind sort together, after the others, as a real catalogue's do.
        add(u"A-01"_s, u"โคมไฟ เพดาน"_s);
        add(u"A-02"_s, u"Lamp Halogen 50%"_s);
        add(u"A-03"_s, u"ไม้ไผ่ พลอยไพลิน"_s);
        add(u"A-04"_s, u"ไมโครโฟน"_s);
        add(u"A-05"_s, u"น้ำดื่ม ab"_s);
        add(u"A-06"_s, u"Lamp [x] a_b"_s);
        add(u"A-07"_s, u"ab"_s);
        for (int i = 1; i <= 8; ++i)
            add(u"Z-%1"_s.arg(i, 2, 10, QChar(u'0')),
                (i % 2 ? u"หลอดไฟ LED แก้ว"_s : u"หลอดไฟ led ขาว"_s) + QString::number(i));
        add(u"B-01"_s, u"HALOGEN หลอดไฟ Led"_s);
        add(u"B-02"_s, u"แก้วน้ำ พลอยไพลิน"_s);
    }

    void add(const QString& code, const QString& name) {
        for (const QString& t : {u"Item"_s, u"Plain"_s})
            run(u"Insert Into %1 (Code, Name, Blocked) Values (?, ?, 'N')"_s.arg(t), {code, name});
    }
    void both(const QString& sql, const std::vector<QVariant>& params = {}) {
        run(sql.arg(u"Item"_s), params);
        run(sql.arg(u"Plain"_s), params);
    }
    // Writes the engine's own tables of the file directly, as no T-SQL can.
    void raw(const QString& sql) {
        sqlite3* h = nullptr;
        ASSERT_EQ(sqlite3_open((dir.path() + u"/DB.mdf.sqlite"_s).toUtf8().constData(), &h),
                  SQLITE_OK);
        sqlite3_busy_timeout(h, 5000);
        char* error = nullptr;
        EXPECT_EQ(sqlite3_exec(h, sql.toUtf8().constData(), nullptr, nullptr, &error), SQLITE_OK)
            << (error ? error : "");
        sqlite3_free(error);
        sqlite3_close(h);
    }

    QStringList codes(const QString& sql) {
        QStringList out;
        for (const QVariant& v : column(*db, sql))
            out << v.toString();
        return out;
    }
    // The codes a search finds through the index, after checking them against the plain scan
    // and the view.
    QStringList search(const QString& where) {
        const QStringList indexed = codes(
            u"Select Code From Item Where (Code Like '%') And (%1) Order By Code"_s.arg(where));
        const QStringList plain = codes(
            u"Select Code From Plain Where (Code Like '%') And (%1) Order By Code"_s.arg(where));
        QString viewWhere = where;
        const QStringList view = codes(
            u"Select P.ItemCode From ItemView P Where (P.Blocked <> 'Y') And (%1) Order By P.ItemCode"_s
                .arg(viewWhere.replace(u"Name"_s, u"P.Name"_s)));
        EXPECT_EQ(indexed, plain) << where.toStdString();
        EXPECT_EQ(view, plain) << where.toStdString();
        return indexed;
    }
};

TEST_F(Fulltext, FindsWhatThePlainScanFinds) {
    const QStringList patterns = {
        u"Name Like '%หลอดไฟ LED%'"_s,  // common: held by more rows than the pieces list
        u"Name Like '%led%'"_s,
        u"Name Like '%LeD ขาว%'"_s,
        u"Name Like '%พลอยไพลิน%'"_s,    // rare: listed rows
        u"Name Like '%เครื่องบินเจ็ท%'"_s,  // in no row
        u"Name Like '%ไม้%'"_s,
        u"Name Like '%ไม%'"_s,  // tone marks count
        u"Name Like '%น้ำ%'"_s,
        u"Name Like '%halogen%'"_s,
        u"Name Like '%ha_ogen%'"_s,
        u"Name Like '%[hl]amp%'"_s,
        u"Name Like '%[x]%'"_s,
        u"Name Like '%[[]x]%'"_s,
        u"Name Like '%a[_]b%'"_s,
        u"Name Like '%50!%%' Escape '!'"_s,
        u"Name Like '%50%'"_s,
        u"Name Like '%ab%'"_s,  // shorter than a piece
        u"Name Like 'ab'"_s,
        u"Name Like 'หลอดไฟ%'"_s,
        u"Name Like '%แก้ว_'"_s,
        u"Name Like '%ไฟ L%' And Name Like '%แก้ว%'"_s,
        u"Name Like '%ขาว%' Or Name Like '%เพดาน%'"_s,  // not a term of the AND: no narrowing
        u"Not (Name Like '%หลอดไฟ%')"_s,
    };
    for (const QString& p : patterns)
        search(p);
    EXPECT_EQ(search(u"Name Like '%หลอดไฟ LED%'"_s),
              (QStringList{u"B-01"_s, u"Z-01"_s, u"Z-02"_s, u"Z-03"_s, u"Z-04"_s, u"Z-05"_s,
                           u"Z-06"_s, u"Z-07"_s, u"Z-08"_s}));
    EXPECT_EQ(search(u"Name Like '%พลอยไพลิน%'"_s), (QStringList{u"A-03"_s, u"B-02"_s}));
    EXPECT_TRUE(search(u"Name Like '%เครื่องบินเจ็ท%'"_s).isEmpty());
    EXPECT_EQ(search(u"Name Like '%ไม้%'"_s), (QStringList{u"A-03"_s}));
}

TEST_F(Fulltext, StaysRightAsRowsComeChangeAndGo) {
    const QStringList patterns = {u"Name Like '%หลอดไฟ LED%'"_s, u"Name Like '%พลอยไพลิน%'"_s,
                                  u"Name Like '%เครื่องบินเจ็ท%'"_s, u"Name Like '%ขาว%'"_s,
                                  // a NULL name is neither in nor out
                                  u"Not (Name Like '%พลอยไพลิน%')"_s};
    const auto check = [&] {
        for (const QString& p : patterns)
            search(p);
    };
    check();                              // the translations are made and kept now
    add(u"0-01"_s, u"เครื่องบินเจ็ท ขาว"_s);  // a word no row had, under a lower key
    add(u"0-02"_s, u"หลอดไฟ LED ใหม่"_s);  // below the lowest key of the common pieces
    EXPECT_EQ(search(u"Name Like '%เครื่องบินเจ็ท%'"_s), (QStringList{u"0-01"_s}));
    add(u"ZZ-01"_s, u"หลอดไฟ LED บน"_s);  // and above the highest
    EXPECT_EQ(search(u"Name Like '%หลอดไฟ LED%'"_s).front(), u"0-02"_s);
    EXPECT_EQ(search(u"Name Like '%หลอดไฟ LED%'"_s).back(), u"ZZ-01"_s);
    both(u"Update %1 Set Code = 'ZZ-02' Where Code = 'Z-03'"_s);
    EXPECT_EQ(search(u"Name Like '%หลอดไฟ LED%'"_s).back(), u"ZZ-02"_s);
    both(u"Update %1 Set Name = 'หลอดไฟ LED พลอยไพลิน' Where Code = 'A-01'"_s);
    both(u"Update %1 Set Code = '0-00' Where Code = 'Z-05'"_s);
    both(u"Update %1 Set Name = NULL Where Code = 'B-02'"_s);
    check();
    EXPECT_EQ(search(u"Name Like '%พลอยไพลิน%'"_s), (QStringList{u"A-01"_s, u"A-03"_s}));
    both(u"Delete From %1 Where Code Like 'Z-%'"_s);
    both(u"Delete From %1 Where Code = '0-01'"_s);
    check();
    EXPECT_TRUE(search(u"Name Like '%เครื่องบินเจ็ท%'"_s).isEmpty());
    // Inside a transaction, and from another session.
    run(u"Begin Transaction"_s);
    add(u"0-03"_s, u"เครื่องบินเจ็ท"_s);
    EXPECT_EQ(search(u"Name Like '%เครื่องบินเจ็ท%'"_s), (QStringList{u"0-03"_s}));
    run(u"Rollback Transaction"_s);
    EXPECT_TRUE(search(u"Name Like '%เครื่องบินเจ็ท%'"_s).isEmpty());
    run(u"Begin Transaction"_s);
    both(u"Delete From %1 Where Name Like '%พลอยไพลิน%'"_s);
    EXPECT_TRUE(search(u"Name Like '%พลอยไพลิน%'"_s).isEmpty());
    run(u"Rollback Transaction"_s);
    EXPECT_EQ(search(u"Name Like '%พลอยไพลิน%'"_s), (QStringList{u"A-01"_s, u"A-03"_s}));
    auto other = open(u"DB"_s);
    for (const QString& t : {u"Item"_s, u"Plain"_s})
        other->execute(
            u"Insert Into %1 (Code, Name, Blocked) Values ('0-04', 'เครื่องบินเจ็ท', 'N')"_s.arg(t),
            {});
    EXPECT_EQ(search(u"Name Like '%เครื่องบินเจ็ท%'"_s), (QStringList{u"0-04"_s}));
}

TEST_F(Fulltext, TheSearchReadsTheIndex) {
    // Emptied behind the engine's back, the index tells the search that no row can match:
    // proof that the narrowing is there (a real index never loses a row this way).
    EXPECT_EQ(codes(u"Select Code From Item Where Name Like '%พลอยไพลิน%'"_s).size(), 2);
    raw(u"DELETE FROM \"md_ft_post_Item_Name\"; DELETE FROM \"md_ft_gram_Item_Name\""_s);
    EXPECT_TRUE(codes(u"Select Code From Item Where Name Like '%พลอยไพลิน%'"_s).isEmpty());
    EXPECT_TRUE(codes(u"Select ItemCode From ItemView Where Name Like '%หลอดไฟ%'"_s).isEmpty());
    EXPECT_EQ(codes(u"Select Code From Plain Where Name Like '%พลอยไพลิน%'"_s).size(), 2);
    // A view's stored text holds no narrowing chosen from the rows of the day it was made.
    run(u"Create View Jets As Select Code From Item Where Name Like '%เครื่องบินเจ็ท%'"_s);
    add(u"0-01"_s, u"เครื่องบินเจ็ท"_s);
    EXPECT_EQ(codes(u"Select Code From Jets"_s), QStringList{u"0-01"_s});
    // A view that names the table twice is read by a plain scan.
    run(u"Create View Pairs As Select A.Id, A.Code, B.Name From Item A Inner Join Item B "
        "On B.Id = A.Id"_s);
    EXPECT_EQ(codes(u"Select Code From Pairs Where Name Like '%พลอยไพลิน%'"_s).size(), 2);
}

TEST_F(Fulltext, TheIndexIsDeclaredOnceOverAKeyAndGoesWithItsTable) {
    EXPECT_EQ(
        refusal(u"CREATE FULLTEXT INDEX ON Item (Name) KEY INDEX UQ_Item_Code"_s).nativeError(),
        7652);
    EXPECT_EQ(
        refusal(u"CREATE FULLTEXT INDEX ON Plain (Blocked) KEY INDEX Nothing"_s).nativeError(),
        7653);
    EXPECT_EQ(
        refusal(u"CREATE FULLTEXT INDEX ON Plain (Id) KEY INDEX UQ_Plain_Code"_s).nativeError(),
        7670);
    run(u"DROP FULLTEXT INDEX ON Item"_s);
    EXPECT_EQ(search(u"Name Like '%พลอยไพลิน%'"_s), (QStringList{u"A-03"_s, u"B-02"_s}));
    run(u"CREATE FULLTEXT INDEX ON Item (Name) KEY INDEX UQ_Item_Code"_s);  // filled from the rows
    EXPECT_EQ(search(u"Name Like '%พลอยไพลิน%'"_s), (QStringList{u"A-03"_s, u"B-02"_s}));
    run(u"Alter Table Item Add Extra int NULL"_s);  // the table may be made anew
    add(u"0-01"_s, u"พลอยไพลิน"_s);
    EXPECT_EQ(search(u"Name Like '%พลอยไพลิน%'"_s), (QStringList{u"0-01"_s, u"A-03"_s, u"B-02"_s}));
    run(u"Drop View ItemView"_s);
    run(u"Drop Table Item"_s);
    run(u"Create Table Item (Id int IDENTITY(1,1) PRIMARY KEY, Code varchar(20) NOT NULL)"_s);
    run(u"Insert Into Item (Code) Values ('x')"_s);
    EXPECT_EQ(scalar(u"Select Count(*) From Item"_s).toInt(), 1);
}

}  // namespace
}  // namespace md::embedded::test
