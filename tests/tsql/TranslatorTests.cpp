// The shape of translations where it matters (placeholders, collation, refusals) and the
// refusals of constructs the engine does not know.

#include "tests/tsql/TsqlTestSupport.h"

#include <gtest/gtest.h>

namespace md::tsql::test {
namespace {

using namespace Qt::StringLiterals;

class Translator : public ::testing::Test {
  protected:
    void SetUp() override {
        db.sqlite(
            u"CREATE TABLE Misc (Id INTEGER PRIMARY KEY, Code TEXT COLLATE TSQL, "
            "GroupCode TEXT COLLATE TSQL, Orderno INTEGER)"_s);
        db.schema().add(u"Misc"_s, u"Id"_s, {SqlType::Integer});
        db.schema().add(u"Misc"_s, u"Code"_s, {SqlType::Text, 10});
        db.schema().add(u"Misc"_s, u"GroupCode"_s, {SqlType::Text, 20});
        db.schema().add(u"Misc"_s, u"Orderno"_s, {SqlType::Integer});
    }
    struct DbErrorExpect {
        QString message;
        int number;
        data::ErrorCategory category;
    };
    DbErrorExpect refusal(const QString& tsql) {
        try {
            db.translate(tsql);
        } catch (const data::DbError& e) {
            return {e.message(), e.nativeError(), e.category()};
        }
        return {u"<translated>"_s, 0, data::ErrorCategory::Other};
    }
    TestDb db;
};

TEST_F(Translator, PlaceholdersKeepTheirOrderAndMayRepeat) {
    const QString sql =
        db.translate(u"Select Id From Misc Where GroupCode = ? And Code Like ? And Orderno > ?"_s);
    EXPECT_TRUE(sql.contains(u"\"GroupCode\" = ?1")) << sql.toStdString();
    EXPECT_TRUE(sql.contains(u"LIKE ?2 AND \"Code\" >= tsql_like_low(?2)")) << sql.toStdString();
    EXPECT_TRUE(sql.contains(u"\"Orderno\" > ?3")) << sql.toStdString();
    // Named parameters stay named; then '?' stays plain and gets no range.
    const QString named = db.translate(u"Select Id From Misc Where Code Like ? And Id = @Id"_s);
    EXPECT_TRUE(named.contains(u"LIKE ?)")) << named.toStdString();
    EXPECT_TRUE(named.contains(u"@Id")) << named.toStdString();
}

TEST_F(Translator, NumericComparisonsKeepBinaryCollation) {
    // A COLLATE on an integer comparison would keep SQLite off the column's index.
    const QString sql = db.translate(u"Select Code From Misc Where Id = ? And Orderno < 5"_s);
    EXPECT_FALSE(sql.contains(u"COLLATE")) << sql.toStdString();
    const QString text = db.translate(u"Select Code From Misc Where Upper(Code) = ?"_s);
    EXPECT_TRUE(text.contains(u"COLLATE TSQL")) << text.toStdString();
}

TEST_F(Translator, UnknownConstructsAreRefusedWithTheirPlace) {
    auto e = refusal(u"Select Id\nFrom Misc\nWhere Soundex(Code) = 'x'"_s);
    EXPECT_EQ(e.number, 195);
    EXPECT_EQ(e.category, data::ErrorCategory::Syntax);
    EXPECT_TRUE(e.message.contains(u"'soundex' is not a recognized built-in function name"))
        << e.message.toStdString();
    EXPECT_TRUE(e.message.contains(u"line 3, column 7")) << e.message.toStdString();

    e = refusal(u"Select Top 10 Percent Id From Misc"_s);
    EXPECT_TRUE(e.message.contains(u"TOP ... PERCENT")) << e.message.toStdString();
    e = refusal(u"Select Id Into NewTable From Misc"_s);
    EXPECT_TRUE(e.message.contains(u"SELECT ... INTO")) << e.message.toStdString();
    e = refusal(u"Update M Set Code = 'x' From Misc M"_s);
    EXPECT_TRUE(e.message.contains(u"UPDATE ... FROM")) << e.message.toStdString();
    e = refusal(u"Select * From OtherDb..Misc"_s);
    EXPECT_TRUE(e.message.contains(u"another database")) << e.message.toStdString();
    e = refusal(u"Select DatePart(hour, GetDate())"_s);
    EXPECT_TRUE(e.message.contains(u"date part 'hour'")) << e.message.toStdString();
    e = refusal(u"Select Left('abc')"_s);
    EXPECT_EQ(e.number, 174);
    e = refusal(u"Select Id From Misc Where"_s);
    EXPECT_EQ(e.number, 102);
    EXPECT_TRUE(e.message.contains(u"Incorrect syntax")) << e.message.toStdString();
    e = refusal(u"Select 'abc"_s);
    EXPECT_TRUE(e.message.contains(u"Unclosed quotation mark")) << e.message.toStdString();
    e = refusal(u"Create Table X (A Int)"_s);
    EXPECT_TRUE(e.message.contains(u"statement 'Create'")) << e.message.toStdString();
    e = refusal(u"Select @v = Code From Misc"_s);
    EXPECT_TRUE(e.message.contains(u"assigning a variable")) << e.message.toStdString();
}

TEST_F(Translator, MisspeltColumnsFailInsteadOfBecomingStrings) {
    // SQLite would read an unknown "name" as a string; the engine turns that off.
    EXPECT_THROW(db.run(u"Select \"NoSuchColumn\" From Misc"_s), data::DbError);
}

TEST_F(Translator, LikeGetsAnIndexRangeUnlessTheColumnLeadsNoIndex) {
    class Indexes : public TestSchema {
      public:
        std::optional<bool> leadsIndex(const QString&, const QString& c) const override {
            if (c.compare(u"Code"_s, Qt::CaseInsensitive) == 0)
                return true;
            if (c.compare(u"GroupCode"_s, Qt::CaseInsensitive) == 0)
                return false;
            return std::nullopt;
        }
    } schema;
    schema.add(u"Misc"_s, u"Code"_s, {SqlType::Text, 10});
    schema.add(u"Misc"_s, u"GroupCode"_s, {SqlType::Text, 20});
    const auto sql = [&](const QString& column) {
        return translateStatement(u"Select 1 From Misc Where %1 Like ?"_s.arg(column), schema);
    };
    EXPECT_TRUE(sql(u"Code"_s).contains(u"tsql_like_low")) << sql(u"Code"_s).toStdString();
    EXPECT_FALSE(sql(u"GroupCode"_s).contains(u"tsql_like_low"))
        << sql(u"GroupCode"_s).toStdString();
    const QString literal =
        translateStatement(u"Select 1 From Misc Where GroupCode Like 'AB%'"_s, schema);
    EXPECT_FALSE(literal.contains(u">=")) << literal.toStdString();
}

TEST_F(Translator, ExpressionsTranslateAlone) {
    EXPECT_EQ(translateExpression(u"GetDate()"_s, db.schema()), u"tsql_getdate()");
    EXPECT_EQ(db.runSqlite(u"SELECT "_s + translateExpression(u"'a' + 'b'"_s, db.schema()))
                  .front()
                  .front()
                  .toString(),
              u"ab");
}

}  // namespace
}  // namespace md::tsql::test

namespace md::tsql::test {
namespace {

using namespace Qt::StringLiterals;

// A decimal column is compared, sorted and summed as stored (its text, by the column's
// collation and index) and read as a number everywhere else; a literal no double holds goes
// as its exact text.
TEST(DecimalTranslation, StoredWhereComparedAndANumberWhereComputed) {
    TestDb db;
    const auto translate = [&](const QString& tsql) { return db.translate(tsql).toStdString(); };
    db.schema().add(u"Amount"_s, u"Price"_s, {SqlType::Decimal, -1, 18, 2});
    db.schema().add(u"Amount"_s, u"Id"_s, {SqlType::Integer});
    EXPECT_EQ(translate(u"Select Price From Amount Where Price > 5 Order By Price"_s),
              "SELECT \"Price\" FROM \"Amount\" WHERE (\"Price\" > 5) ORDER BY \"Price\"");
    EXPECT_EQ(translate(u"Select Id From Amount Where IsNull(Price, 0) > 5"_s),
              "SELECT \"Id\" FROM \"Amount\" WHERE (tsql_dec_cmp(ifnull(tsql_dec(\"Price\"), 0), "
              "5) > 0)");
    EXPECT_EQ(translate(u"Select Max(Price), Sum(Price) From Amount"_s),
              "SELECT tsql_dec(max(\"Price\")), tsql_dec_sum(\"Price\", 2) FROM \"Amount\"");
    EXPECT_EQ(translate(u"Select Id From Amount Where Price = -1234567890123456.78"_s),
              "SELECT \"Id\" FROM \"Amount\" WHERE (\"Price\" = '-1234567890123456.78')");
    EXPECT_EQ(translate(u"Select * From (Select Price From Amount Union Select 1) As U"_s),
              "SELECT * FROM (SELECT tsql_dec(\"Price\") AS \"Price\" FROM \"Amount\" UNION SELECT "
              "1) AS \"U\"");
}

}  // namespace
}  // namespace md::tsql::test
