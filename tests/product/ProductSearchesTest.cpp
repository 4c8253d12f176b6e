// The module's search operations hand their inputs to the installed dialogs and keep the choice
// in SelectedCode.

#include "data/backend/DbError.h"
#include "data/statements/Statements.h"
#include "product/AttributeRange.h"
#include "product/Dm_Product.h"
#include "product/Fr_SearchLotNo.h"
#include "product/U_SearchProduct.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace md::product {
namespace {

TEST(ProductSearches, TheUnitSearchLooksForPurchaseUnitsOfTheProduct) {
    TDmProduct pm;
    UnitSearchInputs seen;
    int shown = 0;
    pm.searchRunners.unit = [&](const UnitSearchInputs& in) {
        seen = in;
        ++shown;
        return SearchResult{true, QStringLiteral(u"โหล")};
    };
    EXPECT_TRUE(pm.SearchUnitName(42));
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(seen.productId, 42);
    EXPECT_TRUE(seen.forPurc);
    EXPECT_FALSE(seen.forSale);
    EXPECT_FALSE(seen.forStock);
    EXPECT_FALSE(seen.forSmall);
    EXPECT_EQ(pm.SelectedCode, QStringLiteral(u"โหล"));
}

TEST(ProductSearches, ACancelledSearchLeavesNothingChosen) {
    TDmProduct pm;
    SearchResult next{true, u"L2402-PP"_qs};
    auto runner = [&] { return next; };
    pm.searchRunners.lotNo = runner;
    pm.searchRunners.warehouse = runner;
    pm.searchRunners.barCode = runner;
    pm.searchRunners.unit = [&](const UnitSearchInputs&) { return next; };
    const std::function<bool()> searches[] = {
        [&] { return pm.SearchLotNo(); }, [&] { return pm.SearchWarehouse(); },
        [&] { return pm.SearchProductBarCode(); }, [&] { return pm.SearchUnitName(1); }};
    for (const auto& search : searches) {
        next = {true, u"CHOSEN"_qs};
        EXPECT_TRUE(search());
        EXPECT_EQ(pm.SelectedCode, u"CHOSEN"_qs);
        // Even a dialog that hands back its last row on Cancel chooses nothing.
        next = {false, u"CHOSEN"_qs};
        EXPECT_FALSE(search());
        EXPECT_TRUE(pm.SelectedCode.isEmpty());
    }
}

TEST(ProductSearches, ACancelledProductSearchKeepsThePreviousChoice) {
    TDmProduct pm;
    SearchResult next{true, u"FANSW-010"_qs};
    pm.searchRunners.product = [&] { return next; };
    EXPECT_TRUE(pm.SearchProduct());
    EXPECT_EQ(pm.SelectedCode, u"FANSW-010"_qs);
    next = {false, QString()};
    EXPECT_FALSE(pm.SearchProduct());
    EXPECT_EQ(pm.SelectedCode, u"FANSW-010"_qs);
}

TEST(ProductSearches, WithoutItsDialogASearchIsAFaultOfTheProgram) {
    TDmProduct pm;
    EXPECT_THROW(pm.SearchProduct(), data::UsageError);
    EXPECT_THROW(pm.SearchUnitName(1), data::UsageError);
    EXPECT_THROW(pm.SearchLotNo(), data::UsageError);
    EXPECT_THROW(pm.SearchWarehouse(), data::UsageError);
    EXPECT_THROW(pm.SearchProductBarCode(), data::UsageError);
}

// The statement files keep the texts the searches send, so the corpus run checks what the server
// is really asked.
TEST(ProductSearches, TheStatementFilesHoldTheTextsTheSearchesSend) {
    const auto lot = [](const QString& condition, int order) {
        QStringList lines = statements::text(u"Fr_SearchLotNo"_qs, u"QSearch"_qs);
        lines[3] = TFrSearchLotNo::ExpiryLine(condition);
        lines[5] = TFrSearchLotNo::OrderLine(order);
        return lines;
    };
    const auto lotFile = [](const char* variant) {
        return statements::text(u"Fr_SearchLotNo"_qs, u"QSearch:"_qs + QLatin1StringView(variant));
    };
    EXPECT_EQ(lotFile("ExpiredBefore"), lot(u"<="_qs, 1));
    EXPECT_EQ(lotFile("ExpiredOn"), lot(u"="_qs, 1));
    EXPECT_EQ(lotFile("ExpiredAfter"), lot(u">="_qs, 1));
    EXPECT_EQ(lotFile("ByCode"), lot(u"-"_qs, 1));
    EXPECT_EQ(lotFile("ByDescription"), lot(u"-"_qs, 2));
    EXPECT_EQ(lotFile("ByExpiredDate"), lot(u"-"_qs, 3));

    const auto product = [](const char* variant) {
        return statements::text(u"U_SearchProduct"_qs, u"QSearch:"_qs + QLatin1StringView(variant));
    };
    using Ranges = std::vector<TF_SearchProduct::AttrRange>;
    EXPECT_EQ(product("ByCode"), TF_SearchProduct::Statement(u"SV"_qs, {}, true, {}, 0));
    EXPECT_EQ(product("ByName"),
              TF_SearchProduct::Statement({}, QStringLiteral(u"ค่า"), true, {}, 1));
    EXPECT_EQ(product("StartsWith"),
              TF_SearchProduct::Statement({}, QStringLiteral(u"ค่า"), false, {}, 0));
    EXPECT_EQ(product("Attribute"),
              TF_SearchProduct::Statement({}, u"O'Neil"_qs, true,
                                          Ranges{{u" SV "_qs, u"ONSITE"_qs, u"SHOP "_qs}}, 0));
    EXPECT_EQ(
        product("OpenRange"),
        TF_SearchProduct::Statement({}, u"50%"_qs, true, Ranges{{u"BR"_qs, u"SIAM"_qs, {}}}, 1));
}

TEST(ProductSearches, AnAttributeRowBecomesAClosedRangeOrEveryCodeOfItsGroupFromTheBeginning) {
    EXPECT_TRUE(AttributeRangeCondition(u"BR"_qs, u" "_qs, {}).isEmpty());
    EXPECT_EQ(AttributeRangeCondition(u" BR "_qs, u" SIAM "_qs, u" TOOLMAN "_qs),
              u"(GroupCode Between 'BRSIAM' And 'BRTOOLMAN')"_qs);
    EXPECT_EQ(AttributeRangeCondition(u"BR"_qs, {}, u"TOOLMAN"_qs),
              u"(GroupCode Between 'BR' And 'BRTOOLMAN')"_qs)
        << "an end code alone: from the group code itself";
    // No character bounds the open end: the group's prefix does, its wildcards and quotes
    // written as characters.
    EXPECT_EQ(AttributeRangeCondition(u"B_'"_qs, u"S"_qs, {}),
              u"(GroupCode >= 'B_''S') And (GroupCode Like 'B[_]''%')"_qs);
}

}  // namespace
}  // namespace md::product
