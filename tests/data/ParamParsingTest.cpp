#include "data/Param.h"
#include "data/SqlScript.h"
#include "data/backend/DbError.h"

#include <gtest/gtest.h>

using namespace md::data;

namespace {

std::vector<QString> refs(const QString& sql) {
    return parseParameters(sql).references;
}

TEST(ParameterParsing, FindsNamesOnlyOutsideLiteralsIdentifiersAndComments) {
    const QString sql = QStringLiteral(
        "Select ':NotA' As T, N':NotB', [a:NotC], \"b:NotD\" -- :NotE\n"
        "From X /* :NotF /* nested :NotG */ still :NotH */ Where A = :First And B = :Second\n"
        "And T = '10:30:00' And C = :First");
    const auto r = refs(sql);
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[0], QStringLiteral("First"));
    EXPECT_EQ(r[1], QStringLiteral("Second"));
    EXPECT_EQ(r[2], QStringLiteral("First"));
    const ParsedSql p = parseParameters(sql);
    EXPECT_EQ(p.distinctNames().size(), 2u);
    EXPECT_TRUE(p.text.contains(QStringLiteral("'10:30:00'")));
    EXPECT_TRUE(p.text.contains(QStringLiteral("A = ? And B = ?")));
    EXPECT_EQ(p.text.count(u'?'), 3);
}

TEST(ParameterParsing, QuotesDoubledInsideLiteralsDoNotEndThem) {
    const auto r = refs(QStringLiteral("Select 'it''s :x' , :Y From T Where Z = 'a'':b'"));
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0], QStringLiteral("Y"));
}

TEST(ParameterParsing, OldValueNamesAndDigitsBelongToTheName) {
    const auto r = refs(QStringLiteral("Update T Set Code = :Code Where Id = :OLD_Id And X=:P_2"));
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[1], QStringLiteral("OLD_Id"));
    EXPECT_EQ(r[2], QStringLiteral("P_2"));
}

TEST(ParamList, LookupIgnoresCaseAndKeepsValuesOfNamesThatRemain) {
    ParamList list;
    list.resetNames({QStringLiteral("GetCode"), QStringLiteral("GetName")});
    list.byName(QStringLiteral("getcode")).setAsString(QStringLiteral("A01"));
    list.resetNames({QStringLiteral("GETCODE")});
    EXPECT_EQ(list.count(), 1);
    EXPECT_TRUE(list.byName(QStringLiteral("GetCode")).isSet());
    EXPECT_EQ(list.byName(QStringLiteral("GetCode")).asString(), QStringLiteral("A01"));
    try {
        list.byName(QStringLiteral("GetName"));
        FAIL() << "a name the statement does not hold must not be found";
    } catch (const UsageError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("GetName")));
    }
}

TEST(ParamList, RefusesValuesOfTypesNoBackendCanBind) {
    Param p(QStringLiteral("X"));
    EXPECT_THROW(p.setValue(QVariant(QStringList{QStringLiteral("a")})), UsageError);
    EXPECT_FALSE(p.isSet());
    p.setNull(QMetaType::QDateTime);
    EXPECT_TRUE(p.isSet());
    EXPECT_TRUE(p.value().isNull());
    EXPECT_EQ(p.value().typeId(), QMetaType::QDateTime);
}

TEST(ScriptFormat, SlashLinesEndStatementsAndEmptyOnesAreSkipped) {
    const QStringList lines = {QStringLiteral("Update A Set X = 1"),
                               QStringLiteral("  /  "),
                               QStringLiteral(""),
                               QStringLiteral("/"),
                               QStringLiteral("Select 1 / 2"),
                               QStringLiteral("From B"),
                               QStringLiteral("/")};
    const QStringList s = splitScript(lines);
    ASSERT_EQ(s.size(), 2);
    EXPECT_EQ(s[0], QStringLiteral("Update A Set X = 1"));
    // A '/' inside a line is division, not a separator.
    EXPECT_EQ(s[1], QStringLiteral("Select 1 / 2\nFrom B"));
    EXPECT_EQ(splitScript({QStringLiteral("Select 1"), QStringLiteral("Select 2")}).size(), 1);
}

}  // namespace
