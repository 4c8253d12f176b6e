// The module's search operations hand their inputs to the installed dialogs and keep the choice
// in SelectedCode.

#include "data/backend/DbError.h"
#include "product/Dm_Product.h"

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

}  // namespace
}  // namespace md::product
