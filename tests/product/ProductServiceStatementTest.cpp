// The statement of the full product search, compared line by line with the texts the program's
// statement corpus keeps (which the corpus test runs on the embedded engine), and the rule that
// typed texts only ever act as the pattern or number they stand for.

#include "data/statements/Statements.h"
#include "product/ProductServiceLayouts.h"
#include "product/ProductServiceStatement.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace md::product {
namespace {

QStringList corpus(const QString& component) {
    return statements::text(u"Fr_SearchProductService"_qs, component);
}

std::string joined(const QStringList& lines) {
    return lines.join(u'\n').toStdString();
}

ProductServiceCriteria everything(int layout) {
    ProductServiceCriteria c;
    c.layout = layout;
    c.runYear = u"2026"_qs;
    c.nameContains = true;
    return c;
}

TEST(ProductServiceStatement, EveryLayoutSelectsAsTheCorpusWithTheSameTail) {
    for (int layout = 0; layout <= 9; ++layout) {
        SCOPED_TRACE(layout);
        const QStringList expected = corpus(u"QSearch:Layout%1"_qs.arg(layout));
        EXPECT_EQ(joined(ProductServiceStatement(everything(layout))), joined(expected));
    }
    // Any other layout number uses the ProductView select of layout 0.
    EXPECT_EQ(ProductServiceStatement(everything(11)), corpus(u"QSearch:Layout0"_qs));
    EXPECT_EQ(ProductServiceStatement(everything(-1)), corpus(u"QSearch:Layout0"_qs));
    // The stock layouts are the 12-line head, a back-order block and the 16-line tail.
    EXPECT_EQ(ProductServiceSelect(6, {}).size(), 12 + 13 + 16);
    EXPECT_EQ(ProductServiceSelect(9, {}).size(), 12 + 12 + 16);
    EXPECT_EQ(ProductServiceSelect(7, {}), ProductServiceSelect(8, {}));
    EXPECT_NE(ProductServiceSelect(6, {}), ProductServiceSelect(9, {}));
    EXPECT_TRUE(
        ProductServiceSelect(4, u"2031"_qs).join(u'\n').contains(u"(o.balanceyear=2031)"_qs));
}

TEST(ProductServiceStatement, EachKindItemAddsItsLineAndNoItemAddsNone) {
    for (int item = 0; item <= 4; ++item) {
        SCOPED_TRACE(item);
        ProductServiceCriteria c = everything(0);
        c.kindItem = item;
        EXPECT_EQ(joined(ProductServiceStatement(c)),
                  joined(corpus(u"QSearch:Kind%1"_qs.arg(item))));
    }
    ProductServiceCriteria none = everything(0);
    none.kindItem = -1;
    EXPECT_EQ(ProductServiceStatement(none).size(), corpus(u"QSearch:Layout0"_qs).size());
}

TEST(ProductServiceStatement, EveryConditionInItsPlace) {
    ProductServiceCriteria c = everything(6);
    c.code = u"FAN"_qs;
    c.name = u"พัดลม"_qs;
    c.nameContains = true;
    c.showBlocked = true;
    c.kindItem = 0;
    c.sizeW = u"10"_qs;
    c.sizeL = u" 20 "_qs;
    c.sizeH = u"30"_qs;
    c.productType = 1;
    c.productGroup = 1;
    c.ranges = {{u"BR "_qs, u"SIAM"_qs, u"TOOLMAN"_qs}, {u"CL"_qs, u"  "_qs, u""_qs}};
    c.customerProductsOnly = true;
    EXPECT_EQ(joined(ProductServiceStatement(c)), joined(corpus(u"QSearch:AllConditions"_qs)));

    ProductServiceCriteria starts = everything(0);
    starts.nameContains = false;
    starts.code = u"FAN"_qs;
    starts.name = u"พัดลม"_qs;
    EXPECT_EQ(joined(ProductServiceStatement(starts)), joined(corpus(u"QSearch:StartsWith"_qs)));
}

TEST(ProductServiceStatement, AttributeRangesWithOneCodeMissing) {
    ProductServiceCriteria c = everything(0);
    c.ranges = {{u"BR"_qs, u""_qs, u"SIAM"_qs}, {u"SZ"_qs, u"M"_qs, u""_qs}};
    const QStringList lines = ProductServiceStatement(c);
    // Only an end code: from the group code alone up to the end code.
    EXPECT_TRUE(lines.contains(
        u"And (P.Id In (Select Product From ProductAttribute Where (GroupCode Between 'BR' And 'BRSIAM')))"_qs));
    // Only a beginning code: every code of the group from it on, held to the group's prefix.
    EXPECT_TRUE(lines.contains(
        u"And (P.Id In (Select Product From ProductAttribute Where (GroupCode >= 'SZM') And (GroupCode Like 'SZ%')))"_qs))
        << joined(lines);
}

TEST(ProductServiceStatement, TypedTextsStayPatterns) {
    ProductServiceCriteria c = everything(0);
    c.code = u"A'B%_["_qs;
    c.name = u"x') Or (1=1"_qs;
    c.nameContains = true;
    c.masterCode = u"N'"_qs;
    c.ranges = {{u"B'R"_qs, u"O'N"_qs, u""_qs}};
    const QStringList lines = ProductServiceStatement(c);
    EXPECT_TRUE(lines.contains(
        u"Where (P.Code Like 'A''B[%][_][[]%') And (P.ThaiName Like '%x'') Or (1=1%')"_qs))
        << joined(lines);
    EXPECT_TRUE(lines.contains(u"And (P.MasterCode ='N''') "_qs));
    EXPECT_TRUE(lines.filter(u"(GroupCode >= 'B''RO''N') And (GroupCode Like 'B''R%')"_qs).size() ==
                1)
        << joined(lines);
    // A size that is no number never reaches the statement.
    c.sizeW = u"1) Or (1=1"_qs;
    EXPECT_TRUE(ProductServiceStatement(c).filter(u"Size_W"_qs).isEmpty());
}

TEST(ProductServiceStatement, SizesAreNumbersOnly) {
    for (const QString& sound : {u"10"_qs, u" 10 "_qs, u"-2.5"_qs, u"+3"_qs, u".5"_qs, u"7."_qs})
        EXPECT_TRUE(SizeNumberLiteral(sound).has_value()) << sound.toStdString();
    EXPECT_EQ(SizeNumberLiteral(u" 12.50 "_qs), u"12.50"_qs);
    for (const QString& refused :
         {u""_qs, u" "_qs, u"abc"_qs, u"1,5"_qs, u"1e3"_qs, u"1.2.3"_qs, u"1 2"_qs, u"'"_qs,
          u"-"_qs, u"."_qs, u"๑๒"_qs, QString(39, u'9')})
        EXPECT_FALSE(SizeNumberLiteral(refused).has_value()) << refused.toStdString();
}

TEST(ProductServiceStatement, OnlyTheCustomerLoginsOfOneCompanySeeGroupZero) {
    EXPECT_TRUE(CustomerProductsOnly(u"CO04"_qs, u"CUSTOMER01"_qs));
    EXPECT_TRUE(CustomerProductsOnly(u"CO04"_qs, u"CUSTOMER"_qs));
    EXPECT_FALSE(CustomerProductsOnly(u"CO04"_qs, u"CUSTOME"_qs));
    EXPECT_FALSE(CustomerProductsOnly(u"CO04"_qs, u"customer01"_qs));
    EXPECT_FALSE(CustomerProductsOnly(u"co04"_qs, u"CUSTOMER01"_qs));
    EXPECT_FALSE(CustomerProductsOnly(u"DEMO01"_qs, u"CUSTOMER01"_qs));
}

TEST(ProductServiceLayouts, ColumnsAndMenuByLayout) {
    const auto fields = [](int no) {
        QStringList f;
        for (const forms::GridColumn& c : ProductServiceLayoutOf(no).columns)
            f << u"%1:%2"_qs.arg(c.fieldName).arg(c.width);
        return f.join(u' ').toStdString();
    };
    EXPECT_EQ(fields(0), "Code:123 ThaiName:250 Remark:-1");
    EXPECT_EQ(fields(3), fields(0));
    EXPECT_EQ(fields(4),
              "Code:123 ThaiName:250 Field01:-1 Field02:-1 Price:50 UnitName:50 Qnty:50");
    EXPECT_EQ(fields(5), "Code:123 ThaiName:250");
    EXPECT_EQ(fields(12), fields(5));
    EXPECT_EQ(fields(6),
              "Code:123 ThaiName:350 TechNicName2:150 Onhand:100 WorkOrderOH:100 Backorder:100");
    EXPECT_EQ(fields(7),
              "Code:123 ThaiName:350 TechNicName2:100 Onhand:100 WorkOrderOH:100 "
              "PreIsQty:100 Backorder:100");
    EXPECT_EQ(fields(8),
              "Code:123 ThaiName:150 Onhand:100 WorkOrderOH:100 Backorder:100 "
              "WKIsQty:100 OH_WKIsQty:150 TechNicName2:100");
    EXPECT_EQ(fields(9),
              "Code:123 ThaiName:350 Onhand:100 BackSendOrder:100 Backorder:100 ProdRemark:100");
    using Menu = ProductServiceLayout::Menu;
    for (int no : {0, 1, 2, 3, 4})
        EXPECT_EQ(ProductServiceLayoutOf(no).menu, Menu::None) << no;
    for (int no : {6, 7, 8, 9})
        EXPECT_EQ(ProductServiceLayoutOf(no).menu, Menu::Details) << no;
    EXPECT_EQ(ProductServiceLayoutOf(5).menu, Menu::Unchanged);
    // The stock figures: centred titles, right-aligned cells; layout 4 right-aligns its figures.
    const ProductServiceLayout six = ProductServiceLayoutOf(6);
    EXPECT_EQ(six.columns[2].titleAlignment, Qt::AlignCenter);
    EXPECT_TRUE(six.columns[5].alignment & Qt::AlignRight);
    EXPECT_FALSE(six.columns[1].alignment & Qt::AlignRight);
    const ProductServiceLayout four = ProductServiceLayoutOf(4);
    EXPECT_TRUE(four.columns[4].alignment & Qt::AlignRight);   // Price
    EXPECT_FALSE(four.columns[5].alignment & Qt::AlignRight);  // UnitName
    EXPECT_EQ(ProductServiceLayoutOf(8).columns[6].title, u"คงเหลือลบยอดจองวัตถุดิบ"_qs);
}

}  // namespace
}  // namespace md::product
