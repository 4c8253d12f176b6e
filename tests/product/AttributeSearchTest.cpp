// The attribute selection frame and the product search by name that places it, driven by keys
// offscreen over the demo company.

#include "ProductFixture.h"
#include "product/AttributeRange.h"
#include "product/Fa_SelectProdAttr.h"
#include "product/Fr_SearchProdAttrCode.h"
#include "product/ProductSearches.h"
#include "product/U_SearchProduct.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace md::product::test {
namespace {

QStringList column(forms::DbGrid* grid, const QString& field) {
    QStringList values;
    forms::QueryModel* model = grid->queryModel();
    const int c = model->columnOf(field);
    while (model->canFetchMore({}))
        model->fetchMore({});
    for (int r = 0; r < model->rowCount(); ++r)
        values << model->index(r, c).data().toString().trimmed();
    return values;
}

class AttributeSearch : public ProductTest {
  protected:
    void SetUp() override {
        ProductTest::SetUp();
        if (HasFatalFailure())
            return;
        zeta = insert(
            u"Insert Into ProdAttrCode (ProdAttrGroup, Code, Description) Values "
            "(1, 'ZETA', 'Zeta')"_qs);
        s1 = product(u"TQ-S1"_qs, QStringLiteral(u"ทดสอบบริการ O'Neil"), "S", "N", 2);  // BREEZE
        s2 = product(u"TQ-S2"_qs, QStringLiteral(u"ทดสอบบริการ ข"), "S", "N", 4);       // TOOLMAN
        product(u"TQ-S3"_qs, QStringLiteral(u"ทดสอบบริการ ค"), "S", "Y", 4);            // blocked
        product(u"TQ-S4"_qs, QStringLiteral(u"ทดสอบบริการ ง"), "P", "N", 4);            // kind P
        s5 = product(u"TQ-S5"_qs, QStringLiteral(u"ทดสอบบริการ ก"), "S", "N", zeta);
    }
    void TearDown() override {
        releaseProductSearches();
        ProductTest::TearDown();
    }
    qint64 product(const QString& code, QString name, const char* type, const char* blocked,
                   qint64 brand) {
        const qint64 id = insert(
            QStringLiteral("Insert Into Product (Code, ThaiName, ProductType, TaxCode, DefaultWh, "
                           "Blocked, MasterCode) Values ('%1', N'%2', '%3', 1, 1, '%4', 'N')")
                .arg(code, name.replace(u'\'', u"''"_qs), QString::fromLatin1(type),
                     QString::fromLatin1(blocked)));
        exec(QStringLiteral("Insert Into productattr (Product, ProdAttrGroup, ProdAttrCode) "
                            "Values (%1, 1, %2)")
                 .arg(id)
                 .arg(brand));
        return id;
    }
    void noErrors() { EXPECT_TRUE(h.errors.isEmpty()) << h.errors.join(u'\n').toStdString(); }

    qint64 zeta = 0, s1 = 0, s2 = 0, s5 = 0;
};

// ---- the frame

TEST_F(AttributeSearch, TheFrameMovesByEnterAndKeepsCodesInUpperCase) {
    TFaSelectProdAttr frame;
    frame.resize(420, 200);
    frame.reopen();
    ASSERT_TRUE(h.show(&frame));
    forms::DbGrid* grid = frame.DgSelectProdAttr;
    EXPECT_EQ(
        column(grid, u"Description"_qs),
        (QStringList{QStringLiteral(u"ขนาด"), QStringLiteral(u"ประเทศผู้ผลิต"), QStringLiteral(u"ยี่ห้อ"),
                     QStringLiteral(u"สี"), QStringLiteral(u"หมวดหมู่")}));
    // The group's name reads as a label: right-aligned, title and cells.
    const int right = int(Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_EQ(grid->model()->headerData(0, Qt::Horizontal, Qt::TextAlignmentRole).toInt(), right);
    EXPECT_EQ(grid->model()->index(0, 0).data(Qt::TextAlignmentRole).toInt(), right);
    h.focus(grid);
    EXPECT_EQ(grid->currentIndex().column(), 1) << "entering starts in the beginning code";
    EXPECT_EQ(grid->currentIndex().row(), 0);
    h.type(u"sm"_qs);
    h.press(Qt::Key_Return);
    EXPECT_EQ(grid->currentIndex(), grid->model()->index(0, 2));
    h.type(u"xlongercodethanten"_qs);  // the mask keeps ten positions
    h.press(Qt::Key_Return);
    EXPECT_EQ(grid->currentIndex(), grid->model()->index(1, 1));
    data::Query& q = frame.QProdAttrGroup;
    q.first();
    EXPECT_EQ(q.fieldByName(u"BeginAttrCode"_qs).asString().trimmed(), u"SM"_qs);
    EXPECT_EQ(q.fieldByName(u"EndAttrCode"_qs).asString().trimmed(), u"XLONGERCOD"_qs);
    EXPECT_EQ(q.fieldByName(u"BeginGroupCode"_qs).asString(), u"SZSM"_qs);
    EXPECT_EQ(q.fieldByName(u"EndGroupCode"_qs).asString(), u"SZXLONGERCOD"_qs);
    noErrors();
}

TEST_F(AttributeSearch, InsertAddsNoRowButMovingPastTheLastRowAppendsOne) {
    TFaSelectProdAttr frame;
    frame.resize(420, 200);
    frame.reopen();
    ASSERT_TRUE(h.show(&frame));
    forms::DbGrid* grid = frame.DgSelectProdAttr;
    h.focus(grid);
    h.press(Qt::Key_Insert);
    EXPECT_EQ(grid->model()->rowCount(), 5);
    EXPECT_EQ(frame.QProdAttrGroup.recordCount(), 5);
    for (int i = 0; i < 4; ++i)
        h.press(Qt::Key_Down);
    EXPECT_EQ(grid->currentIndex().row(), 4);
    h.press(Qt::Key_Down);
    EXPECT_EQ(grid->model()->rowCount(), 6);
    EXPECT_EQ(grid->currentIndex().row(), 5);
    EXPECT_TRUE(column(grid, u"Description"_qs).last().isEmpty()) << "a row without group";
    // A group-less blank row adds nothing to a search.
    EXPECT_EQ(
        TF_SearchProduct::Statement(u""_qs, u"x"_qs, true, {{u""_qs, u""_qs, u""_qs}}, 0).size(),
        6);
    noErrors();
}

TEST_F(AttributeSearch, LeavingTheGridDropsABlankNewRowAndKeepsWhatWasTyped) {
    TF_SearchProduct w;
    ASSERT_TRUE(h.show(&w));
    forms::DbGrid* grid = w.FaSelectProdAttr1->DgSelectProdAttr;
    data::Query& q = w.FaSelectProdAttr1->QProdAttrGroup;
    const auto toLastRow = [&] {
        h.focus(grid);
        grid->setCurrentIndex(grid->model()->index(grid->model()->rowCount() - 1, 1));
    };
    toLastRow();
    h.press(Qt::Key_Down);
    ASSERT_EQ(grid->model()->rowCount(), 6) << "a row appended past the last one";
    h.focus(w.ProductName);
    EXPECT_EQ(grid->model()->rowCount(), 5) << "left blank: gone";
    EXPECT_EQ(q.recordCount(), 5);

    // A group's code typed and not yet confirmed by Enter is what the search then uses.
    h.focus(grid);
    grid->setCurrentIndex(grid->model()->index(2, 1));  // ยี่ห้อ
    h.type(u"toolman"_qs);
    h.focus(w.ProductName);
    w.ProductName->setText(QStringLiteral(u"ทดสอบบริการ"));
    h.press(Qt::Key_Return);
    EXPECT_EQ(column(w.ListData, u"Code"_qs), (QStringList{u"TQ-S2"_qs, u"TQ-S5"_qs}))
        << "TOOLMAN and every later brand";

    // Opening the code search from a blank appended row is not leaving the grid.
    toLastRow();
    h.press(Qt::Key_Down);
    ASSERT_EQ(grid->model()->rowCount(), 6);
    h.whenModal([&](QWidget*) { h.press(Qt::Key_Escape); });
    h.press(Qt::Key_F5);
    EXPECT_EQ(grid->model()->rowCount(), 6);

    // A code typed into the appended row, its cell still open as the grid is left, stays.
    h.type(u"zz"_qs);
    h.focus(w.ProductCode);
    EXPECT_EQ(grid->model()->rowCount(), 6);
    q.last();
    EXPECT_EQ(q.fieldByName(u"BeginAttrCode"_qs).asString().trimmed(), u"ZZ"_qs);
    noErrors();
}

TEST_F(AttributeSearch, F5OpensTheGroupsCodeSearchAndAChoiceFillsTheColumn) {
    TFaSelectProdAttr frame;
    frame.resize(420, 200);
    frame.reopen();
    ASSERT_TRUE(h.show(&frame));
    forms::DbGrid* grid = frame.DgSelectProdAttr;
    h.focus(grid);
    h.press(Qt::Key_Down);
    h.press(Qt::Key_Down);  // ยี่ห้อ, the brands
    QStringList offered;
    h.whenModal([&](QWidget* dialog) {
        auto* search = qobject_cast<TFrSearchProdAttrCode*>(dialog);
        ASSERT_NE(search, nullptr);
        offered = column(search->ListData, u"CODE"_qs);
        h.focus(search->Description);
        h.type(u"Zet"_qs);
        h.press(Qt::Key_Return);
        h.press(Qt::Key_Return);  // chooses in the list
    });
    h.press(Qt::Key_F5);
    EXPECT_TRUE(offered.contains(u"SIAM"_qs));
    EXPECT_TRUE(offered.contains(u"ZETA"_qs));
    EXPECT_FALSE(offered.contains(u"CN"_qs)) << "another group's codes";
    data::Query& q = frame.QProdAttrGroup;
    EXPECT_EQ(q.fieldByName(u"BeginAttrCode"_qs).asString(), u"ZETA"_qs);

    // From the description column a choice changes nothing; a cancelled one neither.
    grid->setCurrentIndex(grid->model()->index(2, 0));
    h.whenModal([&](QWidget*) {
        h.press(Qt::Key_Return);
        h.press(Qt::Key_Return);
    });
    h.press(Qt::Key_F5);
    EXPECT_EQ(q.fieldByName(u"Description"_qs).asString(), QStringLiteral(u"ยี่ห้อ"));
    grid->setCurrentIndex(grid->model()->index(2, 2));
    h.whenModal([&](QWidget*) { h.press(Qt::Key_Escape); });
    h.press(Qt::Key_F5);
    EXPECT_TRUE(q.fieldByName(u"EndAttrCode"_qs).asString().isEmpty());
    noErrors();
}

TEST_F(AttributeSearch, ABlankEndCodeReachesEveryLaterCodeOfTheGroupOnTheServer) {
    EXPECT_EQ(TFaSelectProdAttr::GroupCodeBound(u" BR "_qs, u" SIAM "_qs), u"BRSIAM"_qs);
    const QString open = TFaSelectProdAttr::GroupCodeBound(u"BR"_qs, u"  "_qs);
    EXPECT_EQ(open, u"BR"_qs + TFaSelectProdAttr::HighestCharacter());
    EXPECT_EQ(TFaSelectProdAttr::CodeMask(3), u">nnn; "_qs);
    // BREEZE lies before SIAM, TOOLMAN and ZETA after it; a code of another group never counts.
    const qint64 other = product(u"TQ-S6"_qs, QStringLiteral(u"ทดสอบบริการ จ"), "S", "N", 1);
    exec(u"Delete From productattr Where Product = %1"_qs.arg(other));
    exec(
        u"Insert Into productattr (Product, ProdAttrGroup, ProdAttrCode) Select %1, "
        "ProdAttrGroup, Id From ProdAttrCode Where ProdAttrGroup <> 1 And Id = (Select Max(Id) "
        "From ProdAttrCode Where ProdAttrGroup <> 1)"_qs.arg(other));
    const auto count = [&](const QString& condition) {
        return scalar(u"Select Count(*) From ProductAttribute Where "_qs + condition +
                      u" And Product In (%1, %2, %3, %4)"_qs.arg(s1).arg(s2).arg(s5).arg(other))
            .toInt();
    };
    EXPECT_EQ(count(AttributeRangeCondition(u"BR"_qs, u"SIAM"_qs, {})), 2);
    EXPECT_EQ(count(AttributeRangeCondition(u"BR"_qs, u"A"_qs, {})), 3);
    EXPECT_EQ(count(AttributeRangeCondition(u"BR"_qs, u"SIAM"_qs, u"TOOLMAN"_qs)), 1);
    EXPECT_EQ(count(AttributeRangeCondition(u"BR"_qs, u"ZZ"_qs, {})), 0);
}

// ---- the product search by name

TEST_F(AttributeSearch, TheSearchByNameMatchesCodeAndNameAndOrdersByTitle) {
    setConfig(u"ShowLastSearch = 'N'"_qs);
    TF_SearchProduct w;
    ASSERT_TRUE(h.show(&w));
    EXPECT_EQ(w.SearchMethod->currentText(), QStringLiteral(u"ประกอบด้วย"));
    EXPECT_EQ(h.focused(), w.ProductName);
    // Empty criteria: a message, no query.
    h.press(Qt::Key_Return);
    EXPECT_EQ(h.prompts.shown,
              QStringList{QStringLiteral(u"message: กรุณาป้อนรหัส หรือ ชื่อบางส่วน เพื่อค้นหา")});
    EXPECT_FALSE(w.QSearch.isOpen());

    h.focus(w.ProductCode);
    h.type(u"tq-s"_qs);
    h.press(Qt::Key_Return);
    EXPECT_EQ(column(w.ListData, u"Code"_qs), (QStringList{u"TQ-S1"_qs, u"TQ-S2"_qs, u"TQ-S5"_qs}));
    // By name, in the server's order: Latin letters before Thai ones.
    emit w.ListData->titleClicked(1);
    EXPECT_EQ(column(w.ListData, u"Code"_qs), (QStringList{u"TQ-S1"_qs, u"TQ-S5"_qs, u"TQ-S2"_qs}));
    emit w.ListData->titleClicked(0);
    EXPECT_EQ(column(w.ListData, u"Code"_qs).first(), u"TQ-S1"_qs);

    w.ProductCode->clear();
    h.focus(w.ProductName);
    h.type(u"O'Ne"_qs);
    h.press(Qt::Key_Return);
    EXPECT_EQ(column(w.ListData, u"Code"_qs), QStringList{u"TQ-S1"_qs});
    EXPECT_EQ(dm->LastProductName, u"O'Ne"_qs);
    w.SearchMethod->setCurrentIndex(0);  // begins with
    h.focus(w.ProductName);
    h.press(Qt::Key_Return);
    EXPECT_TRUE(column(w.ListData, u"Code"_qs).isEmpty());
    w.BtOK->click();
    EXPECT_TRUE(w.isVisible()) << "nothing to choose";
    w.ProductName->setText(QStringLiteral(u"ทดสอบบริการ ข"));
    h.focus(w.ProductName);
    h.press(Qt::Key_Return);
    EXPECT_EQ(h.focused(), w.ListData);
    h.press(Qt::Key_Return);
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(w.ChosenCode, u"TQ-S2"_qs);
    noErrors();
}

TEST_F(AttributeSearch, AttributeRangesNarrowTheSearchAndAnOpenEndReachesTheLastCode) {
    setConfig(u"ShowLastSearch = 'Y'"_qs);
    dm->LastProductName = QStringLiteral(u"ทดสอบบริการ");
    TF_SearchProduct w;
    ASSERT_TRUE(h.show(&w));
    EXPECT_EQ(w.ProductName->text(), QStringLiteral(u"ทดสอบบริการ"));
    EXPECT_EQ(TF_SearchProduct::ProductSortOrder, 0);
    forms::DbGrid* grid = w.FaSelectProdAttr1->DgSelectProdAttr;
    h.focus(grid);
    h.press(Qt::Key_Down);
    h.press(Qt::Key_Down);  // ยี่ห้อ
    h.type(u"siam"_qs);
    h.press(Qt::Key_Return);  // the frame moves on; the dialog does not search
    EXPECT_FALSE(w.QSearch.isOpen());
    h.focus(w.ProductName);
    h.press(Qt::Key_Return);
    EXPECT_EQ(column(w.ListData, u"Code"_qs), (QStringList{u"TQ-S2"_qs, u"TQ-S5"_qs}));
    // With an end code the range stops there.
    grid->setCurrentIndex(grid->model()->index(2, 2));
    h.focus(grid);
    grid->setCurrentIndex(grid->model()->index(2, 2));
    h.type(u"toolman"_qs);
    h.press(Qt::Key_Return);
    h.focus(w.ProductName);
    h.press(Qt::Key_Return);
    EXPECT_EQ(column(w.ListData, u"Code"_qs), QStringList{u"TQ-S2"_qs});
    h.press(Qt::Key_Escape);
    EXPECT_EQ(w.result(), QDialog::Rejected);
    EXPECT_TRUE(w.ChosenCode.isEmpty());
    // The next showing starts with an empty frame.
    ASSERT_TRUE(h.show(&w));
    EXPECT_TRUE(column(grid, u"BeginAttrCode"_qs).join(QString()).isEmpty());
    noErrors();
}

TEST_F(AttributeSearch, AtItsDesignedSizeTheSearchByNameGivesTheAttributeGridTheRoomLeft) {
    TF_SearchProduct w;
    ASSERT_TRUE(h.show(&w));
    EXPECT_EQ(w.size(), QSize(601, 415));
    EXPECT_EQ(w.ListData->height(), 263);
    EXPECT_EQ(w.ListData->geometry().bottom(), w.height() - 1) << "the list at the bottom";
    forms::DbGrid* grid = w.FaSelectProdAttr1->DgSelectProdAttr;
    const int row = grid->rowHeight(0);
    // What the strip above the list must hold besides the grid's rows: the group's title, the
    // grid's titles and frame, the code and name line. A font too tall for three rows there
    // makes the rule moot.
    const int besides = w.GroupAttr->fontMetrics().height() + grid->horizontalHeader()->height() +
                        2 * grid->frameWidth() + w.ProductName->sizeHint().height() + 12;
    if (besides + 3 * row > 415 - 263)
        GTEST_SKIP() << "this machine's font leaves no room for three rows";
    EXPECT_GE(grid->viewport()->height(), 3 * row) << "three whole attribute rows in view";
}

TEST_F(AttributeSearch, TheModulesProductSearchShowsTheKeptDialog) {
    installProductSearches();
    h.whenModal([&](QWidget* dialog) {
        auto* w = qobject_cast<TF_SearchProduct*>(dialog);
        ASSERT_NE(w, nullptr);
        w->ProductCode->setText(u"TQ-S5"_qs);
        w->BtSearch->click();
        h.press(Qt::Key_Return);
    });
    EXPECT_TRUE(pm->SearchProduct());
    EXPECT_EQ(pm->SelectedCode, u"TQ-S5"_qs);
    EXPECT_EQ(F_SearchProduct(), F_SearchProduct());
}

}  // namespace
}  // namespace md::product::test
