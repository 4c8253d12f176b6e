// The full product search dialog driven by keys offscreen over the demo company: kinds, attribute
// ranges, type and group lookups, the result layouts, the blocked and master-code filters, the
// size boxes, typed texts with quotes and wildcards, choosing and cancelling, the last search
// texts, the picture preview and the manufacturing details.

#include "ProductFixture.h"
#include "forms/KIdLookup.h"
#include "masters/LookupSearches.h"
#include "masters/U_SearchMisc.h"
#include "product/Fa_SelectProdAttr.h"
#include "product/Fr_PreviewDetailMfg.h"
#include "product/Fr_SearchProductService.h"
#include "product/ProductKindChoice.h"
#include "product/ProductPicturePreview.h"
#include "product/ProductSearches.h"
#include "schema/DemoServer.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QToolButton>

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

QStringList titles(forms::DbGrid* grid) {
    QStringList t;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        t << grid->model()->headerData(c, Qt::Horizontal).toString();
    return t;
}

class SearchProductService : public ProductTest {
  protected:
    void SetUp() override {
        ProductTest::SetUp();
        if (HasFatalFailure())
            return;
        masters::installLookupSearches();
        installProductSearches(*pm);
        setConfig(u"SearchProductNo = 0, SearchProductMethod = 1, ShowLastSearch = 'N'"_qs);
        typeA = insert(
            u"Insert Into Misc (GroupCode, Code, Description) Values "
            "('PTYPE', 'TQTA', N'ชนิดทดสอบ ก')"_qs);
        typeB = insert(
            u"Insert Into Misc (GroupCode, Code, Description) Values "
            "('PTYPE', 'TQTB', N'ชนิดทดสอบ ข')"_qs);
        groupA = insert(
            u"Insert Into Misc (GroupCode, Code, Description) Values "
            "('PGROUP', 'TQGA', N'กลุ่มทดสอบ ก')"_qs);
    }
    void TearDown() override {
        releaseProductSearches();
        masters::releaseLookupSearches();
        ProductTest::TearDown();
    }
    qint64 add(const char* code, const QString& name, const char* type = "P",
               const char* blocked = "N", const char* master = "N",
               const QString& sizeW = u"NULL"_qs, qint64 ptype = 0, qint64 pgroup = 0,
               const QString& picture = QString()) {
        auto text = [](const QString& v) {
            return v.isNull() ? u"NULL"_qs
                              : u"N'"_qs + QString(v).replace(u'\'', u"''"_qs) + u"'"_qs;
        };
        auto key = [](qint64 id) { return id > 0 ? QString::number(id) : u"NULL"_qs; };
        return insert(
            u"Insert Into Product (Code, ThaiName, ProductType, TaxCode, DefaultWh, Blocked, "
            "MasterCode, Size_W, PType, PGroup, Picture1, Remark) Values (%1, %2, '%3', 1, 1, "
            "'%4', '%5', %6, %7, %8, %9, N'หมายเหตุ')"_qs.arg(
                text(QString::fromLatin1(code)), text(name), QString::fromLatin1(type),
                QString::fromLatin1(blocked), QString::fromLatin1(master), sizeW, key(ptype),
                key(pgroup), text(picture)));
    }
    // Shows the dialog with these inputs.
    void open(TFrSearchProductService& w, const QString& kind = u" "_qs, bool blocked = false,
              const QString& master = QString()) {
        w.ProductTypeFilter = kind;
        w.ShowBlocked = blocked;
        w.MasterCodeFilter = master;
        ASSERT_TRUE(h.show(&w));
    }
    // Types a code and a name and presses Enter in the name box.
    QStringList search(TFrSearchProductService& w, const QString& code, const QString& name = {}) {
        h.focus(w.Code);
        w.Code->clear();
        h.type(code);
        h.focus(w.ProductName);
        w.ProductName->clear();
        h.type(name);
        h.press(Qt::Key_Return);
        return w.QSearch.isOpen() ? column(w.DgSearch, u"Code"_qs) : QStringList{u"<closed>"_qs};
    }
    void noErrors() { EXPECT_TRUE(h.errors.isEmpty()) << h.errors.join(u'\n').toStdString(); }

    qint64 typeA = 0, typeB = 0, groupA = 0;
};

TEST_F(SearchProductService, KindsPresetLockOrLeaveTheChoiceFree) {
    add("TQ-P1", u"ทดสอบ สินค้า"_qs, "P");
    add("TQ-S1", u"ทดสอบ บริการ"_qs, "S");
    add("TQ-M1", u"ทดสอบ วัสดุ"_qs, "M");
    add("TQ-R1", u"ทดสอบ วัตถุดิบ"_qs, "R");
    add("TQ-F1", u"ทดสอบ สำเร็จรูป"_qs, "F");
    TFrSearchProductService w;

    // Opened with a blank kind: a free choice, nothing chosen, no kind condition.
    open(w);
    EXPECT_EQ(w.windowTitle(), u"ค้นหาสินค้า/บริการ"_qs);
    EXPECT_TRUE(w.SelectProductType->isEnabled());
    EXPECT_EQ(w.SelectProductType->shownItem(), -1);
    EXPECT_EQ(w.FaSelectProdAttr1->QProdAttrGroup.recordCount(), 0) << "groups of the blank type";
    EXPECT_EQ(h.focused(), w.ProductName);
    EXPECT_FALSE(w.QSearch.isOpen());
    EXPECT_EQ(search(w, u"TQ-"_qs),
              (QStringList{u"TQ-F1"_qs, u"TQ-M1"_qs, u"TQ-P1"_qs, u"TQ-R1"_qs, u"TQ-S1"_qs}));

    // The user picks "บริการ": the service groups, and services only.
    w.SelectProductType->Items[1]->click();
    EXPECT_EQ(w.ProductTypeFilter, u"S"_qs);
    EXPECT_FALSE(w.QSearch.isOpen());
    EXPECT_EQ(h.focused(), w.ProductName);
    EXPECT_EQ(scalar(u"Select Count(*) From ProdAttrGroup Where ProductType = 'S'"_qs).toInt(),
              w.FaSelectProdAttr1->QProdAttrGroup.recordCount());
    EXPECT_EQ(search(w, u"TQ-"_qs), QStringList{u"TQ-S1"_qs});
    // "วัตถุดิบ" lists the trade groups while the search asks for raw materials.
    w.SelectProductType->Items[3]->click();
    EXPECT_EQ(w.ProductTypeFilter, u"R"_qs);
    EXPECT_EQ(scalar(u"Select Count(*) From ProdAttrGroup Where ProductType = 'P'"_qs).toInt(),
              w.FaSelectProdAttr1->QProdAttrGroup.recordCount());
    EXPECT_EQ(search(w, u"TQ-"_qs), QStringList{u"TQ-R1"_qs});
    w.SelectProductType->Items[4]->click();
    EXPECT_EQ(search(w, u"TQ-"_qs), (QStringList{u"TQ-F1"_qs, u"TQ-M1"_qs, u"TQ-R1"_qs}));
    w.SelectProductType->Items[0]->click();
    EXPECT_EQ(search(w, u"TQ-"_qs), (QStringList{u"TQ-F1"_qs, u"TQ-P1"_qs, u"TQ-R1"_qs}));
    h.press(Qt::Key_Escape);

    // Locked kinds.
    open(w, u"M"_qs);
    EXPECT_EQ(w.SelectProductType->shownItem(), 2);
    EXPECT_TRUE(w.SelectProductType->Items[2]->isChecked());
    EXPECT_FALSE(w.SelectProductType->isEnabled());
    EXPECT_FALSE(w.FaSelectProdAttr1->DgSelectProdAttr->isEnabled());
    EXPECT_EQ(search(w, u"TQ-"_qs), QStringList{u"TQ-M1"_qs});
    h.press(Qt::Key_Escape);
    open(w, u"R"_qs);
    EXPECT_EQ(w.SelectProductType->shownItem(), 3);
    EXPECT_FALSE(w.SelectProductType->isEnabled());
    EXPECT_TRUE(w.FaSelectProdAttr1->DgSelectProdAttr->isEnabled());
    EXPECT_EQ(w.FaSelectProdAttr1->QProdAttrGroup.paramByName(u"GetType"_qs).asString(), u"P"_qs);
    EXPECT_EQ(search(w, u"TQ-"_qs), QStringList{u"TQ-R1"_qs});
    h.press(Qt::Key_Escape);
    open(w, u"B"_qs);
    EXPECT_EQ(w.SelectProductType->shownItem(), 0);
    h.press(Qt::Key_Escape);
    // A code no item stands for leaves the item shown as it was and the choice free.
    open(w, u"X"_qs);
    EXPECT_EQ(w.SelectProductType->shownItem(), 0);
    EXPECT_TRUE(w.SelectProductType->isEnabled());
    noErrors();
}

TEST_F(SearchProductService, CodeNameAndMatchModeWithQuotesAndWildcardsInEveryBox) {
    add("TQ-A%1", u"O'Neil ทดสอบ_1"_qs);
    add("TQ-AX1", u"ทดสอบ O'Neil x1"_qs);
    add("TQ-A_2", u"ทดสอบ 100%"_qs);
    add("TQ-[B]", u"ทดสอบ [วงเล็บ]"_qs);
    TFrSearchProductService w;
    open(w);
    EXPECT_EQ(w.SearchMethod->currentIndex(), 1) << "the company's preset: contains";
    // Empty boxes match every product.
    EXPECT_EQ(search(w, u"TQ-"_qs).size(), 4);
    // Wildcards in the code box are characters to look for; the code always begins.
    EXPECT_EQ(search(w, u"TQ-A%"_qs), QStringList{u"TQ-A%1"_qs});
    EXPECT_EQ(search(w, u"TQ-A_"_qs), QStringList{u"TQ-A_2"_qs});
    EXPECT_EQ(search(w, u"tq-[b"_qs), QStringList{u"TQ-[B]"_qs}) << "upper case, bracket literal";
    EXPECT_EQ(search(w, u"A%"_qs), QStringList{}) << "the code must begin with the text";
    // A quote in the name box is a quote; contains finds it anywhere.
    EXPECT_EQ(search(w, u"TQ-"_qs, u"O'Neil"_qs), (QStringList{u"TQ-A%1"_qs, u"TQ-AX1"_qs}));
    EXPECT_EQ(search(w, u"TQ-"_qs, u"100%"_qs), QStringList{u"TQ-A_2"_qs});
    EXPECT_EQ(search(w, u"TQ-"_qs, u"ทดสอบ_"_qs), QStringList{u"TQ-A%1"_qs});
    EXPECT_EQ(search(w, u"TQ-"_qs, u"') Or ('1'='1"_qs), QStringList{});
    // Begins with: the name must begin with the text.
    w.SearchMethod->setCurrentIndex(0);
    EXPECT_EQ(search(w, u"TQ-"_qs, u"O'Neil"_qs), QStringList{u"TQ-A%1"_qs});
    // Quotes and wildcards in the size boxes never reach the server.
    for (QLineEdit* box : {w.Size_W, w.Size_L, w.Size_H}) {
        w.Size_W->clear();
        w.Size_L->clear();
        w.Size_H->clear();
        h.prompts.shown.clear();
        box->setText(u"1'%_"_qs);
        EXPECT_EQ(search(w, u"TQ-"_qs), QStringList{u"<closed>"_qs})
            << box->objectName().toStdString();
        EXPECT_EQ(h.prompts.shown, QStringList{u"message: กรุณาป้อนขนาดเป็นตัวเลข"_qs});
        EXPECT_EQ(h.focused(), box) << "refused in the box";
        EXPECT_EQ(box->selectedText(), u"1'%_"_qs);
    }
    noErrors();
}

TEST_F(SearchProductService, SizesNarrowAsNumbersAndANonNumberIsRefused) {
    add("TQ-Z1", u"ทดสอบ ขนาด"_qs, "P", "N", "N", u"10"_qs);
    add("TQ-Z2", u"ทดสอบ ขนาด"_qs, "P", "N", "N", u"10.5"_qs);
    add("TQ-Z3", u"ทดสอบ ขนาด"_qs, "P", "N", "N", u"NULL"_qs);
    exec(u"Update Product Set Size_L = 20, Size_H = 30 Where Code Like 'TQ-Z%'"_qs);
    TFrSearchProductService w;
    open(w);
    w.Size_W->setText(u"10"_qs);
    EXPECT_EQ(search(w, u"TQ-Z"_qs), QStringList{u"TQ-Z1"_qs});
    w.Size_W->setText(u" 10.50 "_qs);
    EXPECT_EQ(search(w, u"TQ-Z"_qs), QStringList{u"TQ-Z2"_qs});
    w.Size_W->clear();
    w.Size_L->setText(u"20"_qs);
    w.Size_H->setText(u"30.0"_qs);
    EXPECT_EQ(search(w, u"TQ-Z"_qs), (QStringList{u"TQ-Z1"_qs, u"TQ-Z2"_qs, u"TQ-Z3"_qs}));
    w.Size_H->setText(u"31"_qs);
    EXPECT_EQ(search(w, u"TQ-Z"_qs), QStringList{});
    // A refused size leaves the last result closed: nothing is asked of the server.
    w.Size_L->setText(u"twenty"_qs);
    h.prompts.shown.clear();
    EXPECT_EQ(search(w, u"TQ-Z"_qs), QStringList{u"<closed>"_qs});
    EXPECT_EQ(h.prompts.shown.size(), 1);
    EXPECT_EQ(h.focused(), w.Size_L);
    noErrors();
}

TEST_F(SearchProductService, TypeAndGroupComeFromTheirSearchesOnly) {
    add("TQ-T1", u"ทดสอบ ชนิด"_qs, "P", "N", "N", u"NULL"_qs, typeA, groupA);
    add("TQ-T2", u"ทดสอบ ชนิด"_qs, "P", "N", "N", u"NULL"_qs, typeB, groupA);
    add("TQ-T3", u"ทดสอบ ชนิด"_qs, "P", "N", "N", u"NULL"_qs, typeB, 0);
    TFrSearchProductService w;
    open(w);
    EXPECT_FALSE(w.PType->isEnabled());
    EXPECT_FALSE(w.PGroup->isEnabled());
    QString caption;
    h.whenModal([&](QWidget* dialog) {
        auto* misc = qobject_cast<masters::TF_SearchMisc*>(dialog);
        ASSERT_NE(misc, nullptr);
        caption = misc->windowTitle();
        h.type(u"ทดสอบ ข"_qs);
        h.press(Qt::Key_Return);  // searches and moves to the list
        h.press(Qt::Key_Return);  // chooses
    });
    w.BtSearchPType->click();
    EXPECT_EQ(caption, u"ค้นหา ชนิดสินค้า"_qs);
    EXPECT_EQ(w.PType->text(), u"TQTB"_qs);
    EXPECT_EQ(w.PTypeDesc->text(), u"ชนิดทดสอบ ข"_qs);
    EXPECT_EQ(w.MData.PType, typeB);
    EXPECT_EQ(search(w, u"TQ-T"_qs), (QStringList{u"TQ-T2"_qs, u"TQ-T3"_qs}));
    h.whenModal([&](QWidget* dialog) {
        caption = dialog->windowTitle();
        h.type(u"TQGA"_qs);
        h.press(Qt::Key_Return);
        h.press(Qt::Key_Return);
    });
    w.BtSearchPGroup->click();
    EXPECT_EQ(caption, u"ค้นหา กลุ่มสินค้า"_qs);
    EXPECT_EQ(w.MData2.PGroup, groupA);
    EXPECT_EQ(search(w, u"TQ-T"_qs), QStringList{u"TQ-T2"_qs});
    // A cancelled search changes nothing.
    h.whenModal([&](QWidget*) { h.press(Qt::Key_Escape); });
    w.BtSearchPType->click();
    EXPECT_EQ(w.MData.PType, typeB);
    EXPECT_EQ(w.PType->text(), u"TQTB"_qs);
    h.press(Qt::Key_Escape);
    ASSERT_FALSE(w.isVisible()) << h.focusedName().toStdString();
    // The next showing starts without type and group.
    open(w);
    EXPECT_EQ(w.MData.PType, 0);
    EXPECT_EQ(w.MData2.PGroup, 0);
    EXPECT_TRUE(w.PType->text().isEmpty());
    EXPECT_EQ(search(w, u"TQ-T"_qs).size(), 3);
    noErrors();
}

TEST_F(SearchProductService, AttributeRangesFromTheGridAndItsKeysStayItsOwn) {
    const qint64 group = insert(
        u"Insert Into ProdAttrGroup (Code, Description, ProductType) Values ('TQ', '0TQ', 'S')"_qs);
    const qint64 low = insert(
        u"Insert Into ProdAttrCode (ProdAttrGroup, Code, Description) Values (%1, 'LOW', 'l')"_qs
            .arg(group));
    const qint64 mid = insert(
        u"Insert Into ProdAttrCode (ProdAttrGroup, Code, Description) Values (%1, 'MID', 'm')"_qs
            .arg(group));
    const qint64 top = insert(
        u"Insert Into ProdAttrCode (ProdAttrGroup, Code, Description) Values (%1, 'TOP', 't')"_qs
            .arg(group));
    const qint64 codes[] = {low, mid, top};
    for (int i = 0; i < 3; ++i) {
        const qint64 id = add(i == 0 ? "TQ-G1" : i == 1 ? "TQ-G2" : "TQ-G3", u"ทดสอบ"_qs, "S");
        exec(
            u"Insert Into productattr (Product, ProdAttrGroup, ProdAttrCode) Values (%1, %2, %3)"_qs
                .arg(id)
                .arg(group)
                .arg(codes[i]));
    }
    TFrSearchProductService w;
    open(w, u"S"_qs);
    forms::DbGrid* grid = w.FaSelectProdAttr1->DgSelectProdAttr;
    EXPECT_EQ(column(grid, u"Description"_qs).first(), u"0TQ"_qs);
    h.focus(grid);
    h.type(u"mid"_qs);
    h.press(Qt::Key_Return);  // the grid moves to the end code; the dialog does not search
    EXPECT_FALSE(w.QSearch.isOpen());
    EXPECT_EQ(grid->currentIndex().column(), 2);
    EXPECT_EQ(search(w, u"TQ-G"_qs), (QStringList{u"TQ-G2"_qs, u"TQ-G3"_qs})) << "open end";
    h.focus(grid);
    grid->setCurrentIndex(grid->model()->index(0, 1));
    h.type(u"  "_qs);
    grid->setCurrentIndex(grid->model()->index(0, 2));
    h.type(u"mid"_qs);
    h.press(Qt::Key_Return);
    EXPECT_EQ(search(w, u"TQ-G"_qs), (QStringList{u"TQ-G1"_qs, u"TQ-G2"_qs})) << "only an end";
    noErrors();
}

TEST_F(SearchProductService, TheTenLayoutsAndEnglishTitles) {
    const qint64 id = add("TQ-L1", u"ทดสอบ ผัง"_qs);
    exec(
        u"Insert Into ProductUnits (Product, UnitName, UnitDesc, Fraction, SaleFlag, PurcFlag, "
        "StockUnitFlag, SmallUnitFlag) Values (%1, N'ชิ้น', N'หน่วยเล็ก', 1, 'Y', 'Y', 'Y', 'Y')"_qs
            .arg(id));
    exec(u"Update Config Set RunYear = 2026"_qs);
    TFrSearchProductService w;
    const QStringList expectedTitles[10] = {
        {u"รหัส"_qs, u"ชื่อสินค้า"_qs, u"หมายเหตุ"_qs},
        {u"รหัส"_qs, u"ชื่อสินค้า"_qs, u"หมายเหตุ"_qs},
        {u"รหัส"_qs, u"ชื่อสินค้า"_qs, u"หมายเหตุ"_qs},
        {u"รหัส"_qs, u"ชื่อสินค้า"_qs, u"หมายเหตุ"_qs},
        {u"รหัส"_qs, u"ชื่อสินค้า"_qs, u"สำนักพิมพ์"_qs, u"หมวดหมู่"_qs, u"ราคา"_qs, u"หน่วย"_qs,
         u"คงเหลือ"_qs},
        {u"รหัส"_qs, u"ชื่อสินค้า"_qs},
        {u"รหัส"_qs, u"ชื่อสินค้า"_qs, u"ชื่อเทคนิค2"_qs, u"คงเหลือ"_qs, u"จำนวนระหว่างผลิต"_qs,
         u"จำนวนค้างส่ง"_qs},
        {u"รหัส"_qs, u"ชื่อสินค้า"_qs, u"ชื่อเทคนิค2"_qs, u"คงเหลือ"_qs, u"จำนวนระหว่างผลิต"_qs,
         u"จองเบิกใช้"_qs, u"จำนวนค้างส่ง"_qs},
        {u"รหัส"_qs, u"ชื่อสินค้า"_qs, u"คงเหลือ"_qs, u"จำนวนระหว่างผลิต"_qs, u"จำนวนค้างส่ง"_qs,
         u"จำนวนจองวัตถุดิบ"_qs, u"คงเหลือลบยอดจองวัตถุดิบ"_qs, u"ชื่อเทคนิค2"_qs},
        {u"รหัส"_qs, u"ชื่อสินค้า"_qs, u"คงเหลือ"_qs, u"จำนวนค้างรับ"_qs, u"จำนวนค้างส่ง"_qs, u"หมายเหตุ"_qs},
    };
    for (int layout = 0; layout <= 9; ++layout) {
        SCOPED_TRACE(layout);
        setConfig(u"SearchProductNo = %1"_qs.arg(layout));
        open(w);
        EXPECT_EQ(titles(w.DgSearch), expectedTitles[layout]);
        // Layout 5 leaves the menu as layout 4 left it: none.
        EXPECT_EQ(w.DgSearch->contextMenuPolicy(),
                  layout >= 6 ? Qt::CustomContextMenu : Qt::NoContextMenu);
        EXPECT_EQ(search(w, u"TQ-L"_qs), QStringList{u"TQ-L1"_qs});
        EXPECT_EQ(w.DgSearch->columnWidth(0), 123);
        EXPECT_EQ(w.DgSearch->columnWidth(1), layout == 8 ? 150 : layout >= 6 ? 350 : 250);
        if (layout == 1) {
            EXPECT_EQ(column(w.DgSearch, u"Remark"_qs), QStringList{u"หน่วยเล็ก"_qs});
        }
        if (layout == 4) {
            EXPECT_EQ(column(w.DgSearch, u"UnitName"_qs), QStringList{u"ชิ้น"_qs});
        }
        if (layout == 6) {
            EXPECT_EQ(w.DgSearch->model()->headerData(2, Qt::Horizontal, Qt::TextAlignmentRole),
                      QVariant(int(Qt::AlignCenter)));
            EXPECT_EQ(column(w.DgSearch, u"Onhand"_qs), QStringList{u"ชิ้น"_qs})
                << "no stock: the unit of fraction 1";
        }
        h.press(Qt::Key_Escape);
    }

    // English: the first three titles, and the other captions.
    config.LanguageThai = false;
    setConfig(u"SearchProductNo = 4"_qs);
    open(w);
    EXPECT_EQ(w.windowTitle(), u"Search Product Code"_qs);
    EXPECT_EQ(titles(w.DgSearch).mid(0, 4),
              (QStringList{u"Code"_qs, u"Name"_qs, u"Remark"_qs, u"หมวดหมู่"_qs}));
    EXPECT_EQ(w.Label3->text(), u"Code"_qs);
    EXPECT_EQ(w.Name->text(), u"Name"_qs);
    EXPECT_EQ(w.SearchMethod->itemText(0), u"Start With"_qs);
    EXPECT_EQ(w.SearchMethod->itemText(1), u"Consist Of"_qs);
    EXPECT_EQ(titles(w.FaSelectProdAttr1->DgSelectProdAttr),
              (QStringList{u"Product Attribute"_qs, u"From Code"_qs, u"To Code"_qs}));
    EXPECT_EQ(w.SelectProductType->Items[4]->text(), u"Finish Good/Raw Material"_qs);
    EXPECT_EQ(w.BtCancel->text(), u"Cancel"_qs);
    EXPECT_TRUE(w.DgSearch->toolTip().isEmpty());
    h.press(Qt::Key_Escape);
    setConfig(u"SearchProductNo = 5"_qs);
    open(w);
    EXPECT_EQ(titles(w.DgSearch), (QStringList{u"Code"_qs, u"Name"_qs}));
    noErrors();
}

TEST_F(SearchProductService, ATitleClickSortsByItsColumnButNotByTheRemark) {
    add("TQ-O1", u"ทดสอบ ข"_qs);
    add("TQ-O2", u"ทดสอบ ก"_qs);
    add("TQ-O3", u"ทดสอบ ค"_qs);
    // The sort state lasts the run; this case starts it afresh.
    forms::TFrSearch::LastSortField.clear();
    forms::TFrSearch::SortDescNext = false;
    TFrSearchProductService w;
    open(w);
    EXPECT_EQ(search(w, u"TQ-O"_qs), (QStringList{u"TQ-O1"_qs, u"TQ-O2"_qs, u"TQ-O3"_qs}));
    emit w.DgSearch->titleClicked(1);  // the name, ascending
    EXPECT_EQ(column(w.DgSearch, u"Code"_qs), (QStringList{u"TQ-O2"_qs, u"TQ-O1"_qs, u"TQ-O3"_qs}));
    emit w.DgSearch->titleClicked(1);  // the same title again: descending
    EXPECT_EQ(column(w.DgSearch, u"Code"_qs), (QStringList{u"TQ-O3"_qs, u"TQ-O1"_qs, u"TQ-O2"_qs}));
    EXPECT_EQ(w.QSearch.sql().last(), u"Order By 3 Desc"_qs);
    emit w.DgSearch->titleClicked(2);  // Remark: nothing changes
    EXPECT_EQ(w.QSearch.sql().last(), u"Order By 3 Desc"_qs);
    // The next search builds the statement again, in code order.
    EXPECT_EQ(search(w, u"TQ-O"_qs).first(), u"TQ-O1"_qs);
    noErrors();
}

TEST_F(SearchProductService, BlockedAndMasterCodeFilters) {
    add("TQ-B1", u"ทดสอบ"_qs);
    add("TQ-B2", u"ทดสอบ"_qs, "P", "Y");
    add("TQ-B3", u"ทดสอบ"_qs, "P", "N", "Y");
    TFrSearchProductService w;
    open(w, u" "_qs, false, u"  "_qs);
    EXPECT_EQ(w.MasterCodeFilter, u"N"_qs) << "blank becomes N";
    EXPECT_EQ(search(w, u"TQ-B"_qs), QStringList{u"TQ-B1"_qs});
    h.press(Qt::Key_Escape);
    open(w, u" "_qs, true, u"N"_qs);
    EXPECT_EQ(search(w, u"TQ-B"_qs), (QStringList{u"TQ-B1"_qs, u"TQ-B2"_qs}));
    h.press(Qt::Key_Escape);
    open(w, u" "_qs, false, u"Y"_qs);
    EXPECT_EQ(search(w, u"TQ-B"_qs), QStringList{u"TQ-B3"_qs});
    noErrors();
}

TEST_F(SearchProductService, TheModulesSearchChoosesOrCancelsThroughTheKeptDialog) {
    add("TQ-C1", u"ทดสอบ เลือก"_qs);
    add("TQ-C2", u"ทดสอบ เลือก"_qs);
    ProductServiceSearchInputs inputs;
    h.whenModal([&](QWidget* dialog) {
        auto* w = qobject_cast<TFrSearchProductService*>(dialog);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->ProductTypeFilter, u" "_qs);
        h.focus(w->Code);
        h.type(u"TQ-C"_qs);
        h.press(Qt::Key_Return);
        EXPECT_EQ(h.focused(), w->DgSearch);
        h.press(Qt::Key_Down);
        h.press(Qt::Key_Return);
    });
    EXPECT_TRUE(pm->SearchProductService(inputs));
    EXPECT_EQ(pm->SelectedCode, u"TQ-C2"_qs);
    // Cancelled: nothing chosen.
    h.whenModal([&](QWidget* dialog) {
        auto* w = static_cast<TFrSearchProductService*>(dialog);
        h.focus(w->Code);
        h.type(u"TQ-C"_qs);
        h.press(Qt::Key_Return);
        h.press(Qt::Key_Escape);
    });
    EXPECT_FALSE(pm->SearchProductService(inputs));
    EXPECT_TRUE(pm->SelectedCode.isEmpty());
    // OK on an empty result is a cancel.
    inputs.productTypeFilter = u"M"_qs;
    h.whenModal([&](QWidget* dialog) {
        auto* w = static_cast<TFrSearchProductService*>(dialog);
        EXPECT_FALSE(w->SelectProductType->isEnabled());
        h.focus(w->Code);
        h.type(u"TQ-C"_qs);
        h.press(Qt::Key_Return);
        w->BtOk->click();
    });
    EXPECT_FALSE(pm->SearchProductService(inputs));
    EXPECT_EQ(FrSearchProductService(), FrSearchProductService());
    noErrors();
}

TEST_F(SearchProductService, TheLastSearchTextsComeBackWhenTheCompanyWantsThem) {
    add("TQ-N1", u"ทดสอบ ล่าสุด"_qs);
    setConfig(u"ShowLastSearch = 'Y'"_qs);
    dm->LastProductName.clear();
    dm->LastProductCode.clear();
    TFrSearchProductService w;
    open(w);
    EXPECT_EQ(search(w, u"TQ-N"_qs, u"ล่าสุด"_qs), QStringList{u"TQ-N1"_qs});
    EXPECT_EQ(dm->LastProductName, u"ล่าสุด"_qs);
    EXPECT_EQ(dm->LastProductCode, u"TQ-N"_qs);
    h.press(Qt::Key_Escape);
    open(w);
    EXPECT_EQ(w.ProductName->text(), u"ล่าสุด"_qs);
    EXPECT_EQ(w.Code->text(), u"TQ-N"_qs);
    // F1 in the name box goes to the code box.
    h.focus(w.ProductName);
    h.press(Qt::Key_F1);
    EXPECT_EQ(h.focused(), w.Code);
    // Choosing a kind refills the boxes the same way.
    w.Code->setText(u"OTHER"_qs);
    w.SelectProductType->Items[0]->click();
    EXPECT_EQ(w.Code->text(), u"TQ-N"_qs);
    h.press(Qt::Key_Escape);
    setConfig(u"ShowLastSearch = 'N'"_qs);
    open(w);
    EXPECT_TRUE(w.ProductName->text().isEmpty());
    EXPECT_TRUE(w.Code->text().isEmpty());
    noErrors();
}

TEST_F(SearchProductService, F12PreviewsTheRowsJpegFromThePictureFolder) {
    QTemporaryDir pictures;
    ASSERT_TRUE(pictures.isValid());
    schema::writeDemoPicture(pictures.filePath(u"tq1.jpg"_qs), 3);
    // The folder as a Windows workstation writes it, with a trailing backslash; the picture
    // name begins with one.
    setConfig(u"PicturePath = N'  %1\\ '"_qs.arg(pictures.path()));
    add("TQ-J1", u"ทดสอบ รูป"_qs, "P", "N", "N", u"NULL"_qs, 0, 0, u"\\tq1.jpg"_qs);
    add("TQ-J2", u"ทดสอบ รูป"_qs, "P", "N", "N", u"NULL"_qs, 0, 0, u"abc"_qs);
    add("TQ-J3", u"ทดสอบ รูป"_qs, "P", "N", "N", u"NULL"_qs, 0, 0, u"\\none.jpg"_qs);
    TFrSearchProductService w;
    open(w);
    EXPECT_EQ(w.PictureFolder, pictures.path());
    EXPECT_TRUE(w.HidePanel->isHidden());
    EXPECT_EQ(search(w, u"TQ-J"_qs).size(), 3);
    QLabel* image = w.HidePanel->ProductImage;
    h.press(Qt::Key_F12);
    EXPECT_TRUE(w.HidePanel->isVisible());
    EXPECT_TRUE(image->isHidden()) << "showing the panel does not load the picture";
    h.press(Qt::Key_Down);
    h.press(Qt::Key_Up);
    ASSERT_TRUE(image->isVisible());
    EXPECT_EQ(image->pixmap().size(), QSize(240, 180));
    EXPECT_EQ(image->toolTip(), u"Files : "_qs + pictures.path() + u"\\tq1.jpg"_qs);
    h.press(Qt::Key_Down);  // three characters: no picture
    EXPECT_TRUE(image->isHidden());
    EXPECT_TRUE(image->toolTip().isEmpty());
    h.press(Qt::Key_Down);  // no such file
    EXPECT_TRUE(image->isHidden());
    h.press(Qt::Key_F12);
    EXPECT_TRUE(w.HidePanel->isHidden());
    h.press(Qt::Key_Up);
    h.press(Qt::Key_Up);
    EXPECT_TRUE(image->isHidden()) << "a hidden panel loads nothing";
    noErrors();
}

TEST_F(SearchProductService, TheContextMenuOpensTheManufacturingDetails) {
    add("TQ-D1", u"ทดสอบ ผลิต"_qs);
    setConfig(u"SearchProductNo = 6"_qs);
    TFrSearchProductService w;
    open(w);
    w.N1->trigger();  // no result yet: nothing happens
    EXPECT_TRUE(h.prompts.shown.isEmpty());
    EXPECT_EQ(search(w, u"NO-SUCH-"_qs), QStringList{});
    w.N1->trigger();
    EXPECT_EQ(h.prompts.shown, QStringList{u"message: ไม่พบข้อมูลสินค้าที่ต้องการ !!"_qs});
    EXPECT_EQ(search(w, u"tq-d"_qs), QStringList{u"TQ-D1"_qs});
    QString code, label;
    h.whenModal([&](QWidget* dialog) {
        auto* detail = qobject_cast<TFrPreviewDetailMfg*>(dialog);
        ASSERT_NE(detail, nullptr);
        code = detail->ProductCode;
        label = detail->LbGetProdDesc->text();
        h.press(Qt::Key_Escape);
    });
    w.N1->trigger();
    EXPECT_EQ(code, u"TQ-D1"_qs);
    EXPECT_TRUE(label.contains(u"ทดสอบ ผลิต"_qs));
    EXPECT_TRUE(w.isVisible()) << "the search stays open";
    noErrors();
}

}  // namespace
}  // namespace md::product::test
