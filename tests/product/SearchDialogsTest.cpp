// The unit, lot, warehouse, barcode and attribute-code searches over the demo company, driven by
// keys offscreen.

#include "ProductFixture.h"
#include "data/Dm_Config.h"
#include "product/Fr_SearchBarCode.h"
#include "product/Fr_SearchLotNo.h"
#include "product/Fr_SearchProdAttrCode.h"
#include "product/Fr_SearchUnit.h"
#include "product/ProductSearches.h"
#include "product/U_SearchWareHouse.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace md::product::test {
namespace {

// The values of one column of a grid's rows, in order.
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

class SearchDialogs : public ProductTest {
  protected:
    void TearDown() override {
        releaseProductSearches();
        ProductTest::TearDown();
    }
    void noErrors() { EXPECT_TRUE(h.errors.isEmpty()) << h.errors.join(u'\n').toStdString(); }
};

// ---- units

TEST_F(SearchDialogs, TheUnitSearchListsTheUnitsWithARequestedRole) {
    const qint64 product = addProduct(u"TP-UNIT"_qs);  // ชิ้น sale+purchase+small, โหล sale+stock
    TFrSearchUnit w;
    w.ProductId = product;
    w.ForStock = true;
    ASSERT_TRUE(h.show(&w));
    EXPECT_EQ(w.windowTitle(), QStringLiteral(u"ค้นหาหน่วยนับ"));
    EXPECT_EQ(column(w.DgSearch, u"UnitName"_qs), QStringList{QStringLiteral(u"โหล")});
    EXPECT_EQ(h.focused(), w.DgSearch);
    // The pack quantity is a number: its title and cells are right-aligned.
    const int right = int(Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_EQ(w.DgSearch->model()->headerData(1, Qt::Horizontal, Qt::TextAlignmentRole).toInt(),
              right);
    EXPECT_EQ(w.DgSearch->model()->index(0, 1).data(Qt::TextAlignmentRole).toInt(), right);
    EXPECT_FALSE(
        w.DgSearch->model()->headerData(0, Qt::Horizontal, Qt::TextAlignmentRole).isValid());
    h.press(Qt::Key_Return);
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(w.SelectedUnit, QStringLiteral(u"โหล"));
    EXPECT_FALSE(w.QSearchUnit.isOpen());

    // Inputs stay as set; adding the purchase role lists both, smallest fraction first.
    w.ForPurc = true;
    ASSERT_TRUE(h.show(&w));
    EXPECT_TRUE(w.SelectedUnit.isEmpty()) << "cleared at every showing";
    EXPECT_EQ(column(w.DgSearch, u"UnitName"_qs),
              (QStringList{QStringLiteral(u"ชิ้น"), QStringLiteral(u"โหล")}));
    h.press(Qt::Key_Escape);
    EXPECT_EQ(w.result(), QDialog::Rejected);
    EXPECT_TRUE(w.SelectedUnit.isEmpty());
    noErrors();
}

TEST_F(SearchDialogs, AUnitSearchWithoutRolesListsNothingAndChoosingReportsCancel) {
    const qint64 product = addProduct(u"TP-UNIT"_qs);
    TFrSearchUnit w;
    w.ProductId = product;
    ASSERT_TRUE(h.show(&w));
    EXPECT_TRUE(column(w.DgSearch, u"UnitName"_qs).isEmpty());
    w.BtSelected->click();
    EXPECT_EQ(w.result(), QDialog::Rejected);
    EXPECT_TRUE(w.SelectedUnit.isEmpty());
}

TEST_F(SearchDialogs, TheUnitSearchSpeaksEnglishWhenTheUserDoes) {
    const qint64 product = addProduct(u"TP-UNIT"_qs);
    config.LanguageThai = false;
    TFrSearchUnit w;
    w.ProductId = product;
    w.ForSale = true;
    ASSERT_TRUE(h.show(&w));
    EXPECT_EQ(w.windowTitle(), u"Search Product Unit"_qs);
    EXPECT_EQ(w.BtSelected->text(), u"Choose"_qs);
    EXPECT_EQ(w.DgSearch->model()->headerData(1, Qt::Horizontal).toString(), u"Pack Qnty"_qs);
}

// ---- lots

class LotSearch : public SearchDialogs {
  protected:
    void SetUp() override {
        SearchDialogs::SetUp();
        if (HasFatalFailure())
            return;
        exec(u"Delete From LotOnHand"_qs);
        exec(u"Delete From LotNo"_qs);
        lot("TQ-1", "Alpha", "Y", "'2030-01-10'");
        lot("TQ-10", "Beta", "Y", "'2030-01-31'");
        lot("TQ-2", "Gamma", "N", "'2029-12-01'");  // never expires
        lot("TQ-3", "Delta", "Y", "'2030-03-01'");
        lot("TR'1", "O'Neil", "Y", "'2030-02-01'");
    }
    void lot(const char* code, const char* description, const char* hasExpired, const char* date) {
        QString c = QString::fromLatin1(code), d = QString::fromLatin1(description);
        exec(QStringLiteral("Insert Into LotNo (Code, Description, HasExpired, ExpiredDate) "
                            "Values ('%1', '%2', '%3', %4)")
                 .arg(c.replace(u'\'', u"''"_qs), d.replace(u'\'', u"''"_qs),
                      QString::fromLatin1(hasExpired), QString::fromLatin1(date)));
    }
};

TEST_F(LotSearch, CodesArePrefixMatchesAndEnterChooses) {
    TFrSearchLotNo w;
    w.SelectedId = 77;
    ASSERT_TRUE(h.show(&w));
    EXPECT_EQ(w.DateCondition->currentText(), u"-"_qs);
    EXPECT_FALSE(w.ExpiredDate->isEnabled());
    EXPECT_EQ(h.focused(), w.Code);
    h.type(u"TQ-1"_qs);
    h.press(Qt::Key_Return);
    EXPECT_EQ(column(w.DgSearch, u"Code"_qs), (QStringList{u"TQ-1"_qs, u"TQ-10"_qs}));
    EXPECT_EQ(h.focused(), w.DgSearch);
    h.press(Qt::Key_Down);
    h.press(Qt::Key_Return);
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(w.SelectedCode, u"TQ-10"_qs);
    EXPECT_EQ(w.SelectedId, scalar(u"Select Id From LotNo Where Code = 'TQ-10'"_qs).toLongLong());
    EXPECT_FALSE(w.QSearch.isOpen());

    // Cancel clears the code and keeps the id.
    const qint64 id = w.SelectedId;
    ASSERT_TRUE(h.show(&w));
    EXPECT_TRUE(w.Code->text().isEmpty());
    h.press(Qt::Key_Escape);
    EXPECT_TRUE(w.SelectedCode.isEmpty());
    EXPECT_EQ(w.SelectedId, id);
    noErrors();
}

TEST_F(LotSearch, DateConditionsLetNeverExpiringLotsThrough) {
    TFrSearchLotNo w;
    ASSERT_TRUE(h.show(&w));
    const auto search = [&](int condition) {
        w.DateCondition->setCurrentIndex(condition);
        EXPECT_TRUE(w.ExpiredDate->isEnabled());
        w.ExpiredDate->setDate(QDate(2030, 1, 31));
        h.focus(w.Code);
        h.press(Qt::Key_Return);
        return column(w.DgSearch, u"Code"_qs);
    };
    EXPECT_EQ(search(0), (QStringList{u"TQ-1"_qs, u"TQ-10"_qs, u"TQ-2"_qs}));              // <=
    EXPECT_EQ(search(1), (QStringList{u"TQ-10"_qs, u"TQ-2"_qs}));                          // =
    EXPECT_EQ(search(2), (QStringList{u"TQ-10"_qs, u"TQ-2"_qs, u"TQ-3"_qs, u"TR'1"_qs}));  // >=
    w.DateCondition->setCurrentIndex(3);
    EXPECT_FALSE(w.ExpiredDate->isEnabled());
    h.focus(w.Code);
    h.press(Qt::Key_Return);
    EXPECT_EQ(column(w.DgSearch, u"Code"_qs).size(), 5);
    noErrors();
}

TEST_F(LotSearch, ATitleClickOrdersTheNextSearchOnlyAndEachShowingStartsByCode) {
    TFrSearchLotNo w;
    ASSERT_TRUE(h.show(&w));
    h.press(Qt::Key_Return);
    const QStringList byCode = column(w.DgSearch, u"Code"_qs);
    EXPECT_EQ(byCode.first(), u"TQ-1"_qs);
    emit w.DgSearch->titleClicked(2);  // วันที่หมดอายุ
    EXPECT_EQ(TFrSearchLotNo::LotSortOrder, 3);
    EXPECT_EQ(column(w.DgSearch, u"Code"_qs), byCode) << "no new search yet";
    h.focus(w.Code);
    h.press(Qt::Key_Return);
    EXPECT_EQ(column(w.DgSearch, u"Code"_qs),
              (QStringList{u"TQ-2"_qs, u"TQ-1"_qs, u"TQ-10"_qs, u"TR'1"_qs, u"TQ-3"_qs}));
    emit w.DgSearch->titleClicked(1);
    h.focus(w.Code);
    h.press(Qt::Key_Return);
    EXPECT_EQ(column(w.DgSearch, u"Description"_qs).first(), u"Alpha"_qs);
    h.press(Qt::Key_Escape);
    ASSERT_TRUE(h.show(&w));
    EXPECT_EQ(TFrSearchLotNo::LotSortOrder, 1);
}

TEST_F(LotSearch, QuotesAndWildcardsInTheBoxesAreOnlyCharacters) {
    TFrSearchLotNo w;
    ASSERT_TRUE(h.show(&w));
    h.type(u"TR'"_qs);
    h.press(Qt::Key_Return);
    EXPECT_EQ(column(w.DgSearch, u"Code"_qs), QStringList{u"TR'1"_qs});
    w.Code->clear();
    h.focus(w.Description);
    h.type(u"O'N"_qs);
    h.press(Qt::Key_Return);
    EXPECT_EQ(column(w.DgSearch, u"Code"_qs), QStringList{u"TR'1"_qs});
    w.Description->setText(u"_lpha"_qs);
    h.focus(w.Description);
    h.press(Qt::Key_Return);
    EXPECT_TRUE(column(w.DgSearch, u"Code"_qs).isEmpty());
    // An empty list still closes with OK, with an empty code.
    w.BtSelect->click();
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_TRUE(w.SelectedCode.isEmpty());
    noErrors();
}

// ---- warehouses

class WarehouseSearch : public SearchDialogs {
  protected:
    void SetUp() override {
        SearchDialogs::SetUp();
        if (HasFatalFailure())
            return;
        wh("TQ-A", "Stock O'Brien", "N", "N");
        wh("TQ-B", "Blocked store", "Y", "N");
        wh("TQ-L", "Shelf 10%", "N", "Y");
        wh("TQ-M", "Shelf 100", "N", "Y");
    }
    qint64 wh(const char* code, const char* name, const char* blocked, const char* location) {
        QString n = QString::fromLatin1(name);
        return insert(QStringLiteral("Insert Into Warehouse (Code, Name, Blocked, IsLocation) "
                                     "Values ('%1', '%2', '%3', '%4')")
                          .arg(QString::fromLatin1(code), n.replace(u'\'', u"''"_qs),
                               QString::fromLatin1(blocked), QString::fromLatin1(location)));
    }
    QStringList listed(TF_SearchWareHouse& w, const QString& text) {
        h.focus(w.SearchText);
        w.SearchText->clear();
        h.type(text);
        h.press(Qt::Key_Return);
        return column(w.DisplayGrid, u"code"_qs);
    }
};

TEST_F(WarehouseSearch, TheFullListShowsAtOnceAndTheTextMatchesCodeOrName) {
    TF_SearchWareHouse w;
    ASSERT_TRUE(h.show(&w));
    EXPECT_EQ(w.windowTitle(), QStringLiteral(u"ค้นหาตำแหน่งเก็บ"));
    const QStringList all = column(w.DisplayGrid, u"code"_qs);
    EXPECT_EQ(all.size(), scalar(u"Select Count(*) From Warehouse"_qs).toInt());
    EXPECT_TRUE(all.contains(u"TQ-B"_qs)) << "blocked ones too";
    EXPECT_EQ(listed(w, u"tq-"_qs), (QStringList{u"TQ-A"_qs, u"TQ-B"_qs, u"TQ-L"_qs, u"TQ-M"_qs}));
    EXPECT_EQ(listed(w, u"store"_qs), QStringList{u"TQ-B"_qs});
    EXPECT_EQ(listed(w, u"O'Br"_qs), QStringList{u"TQ-A"_qs});
    EXPECT_EQ(listed(w, u"10%"_qs), QStringList{u"TQ-L"_qs});
    EXPECT_EQ(h.focused(), w.DisplayGrid);
    h.press(Qt::Key_Return);
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(w.SelectedCode, u"TQ-L"_qs);
    ASSERT_TRUE(h.show(&w));
    h.focus(w.DisplayGrid);
    h.press(Qt::Key_Escape);
    EXPECT_EQ(w.result(), QDialog::Rejected);
    EXPECT_TRUE(w.SelectedCode.isEmpty());
    noErrors();
}

TEST_F(WarehouseSearch, ActiveOnlyAndLocationModeNarrowTheList) {
    TF_SearchWareHouse w;
    w.LocationMode = 2;
    ASSERT_TRUE(h.show(&w));
    EXPECT_EQ(column(w.DisplayGrid, u"code"_qs),
              (QStringList{u"A01"_qs, u"A02"_qs, u"B01"_qs, u"TQ-L"_qs, u"TQ-M"_qs}));
    EXPECT_EQ(listed(w, u"100"_qs), QStringList{u"TQ-M"_qs});
    w.LocationMode = 1;
    EXPECT_EQ(listed(w, u"TQ"_qs), (QStringList{u"TQ-A"_qs, u"TQ-B"_qs}));
    w.ActiveOnly = true;
    setConfig(u"CheckUserWarehouseFlag = 'N'"_qs);
    EXPECT_EQ(listed(w, u"TQ"_qs), QStringList{u"TQ-A"_qs});
    noErrors();
}

TEST_F(WarehouseSearch, WithRightsCheckedActiveOnlyListsTheUsersOwnWarehouses) {
    const qint64 mine = wh("TQ-U", "Mine", "N", "N");
    const qint64 minesBlocked = wh("TQ-V", "Mine blocked", "Y", "N");
    exec(QStringLiteral("Insert Into UserWarehouse (UserName, Warehouse) Values (%1, %2)")
             .arg(config.UserId)
             .arg(mine));
    exec(QStringLiteral("Insert Into UserWarehouse (UserName, Warehouse) Values (%1, %2)")
             .arg(config.UserId)
             .arg(minesBlocked));
    setConfig(u"CheckUserWarehouseFlag = 'Y'"_qs);
    TF_SearchWareHouse w;
    w.ActiveOnly = true;
    ASSERT_TRUE(h.show(&w));
    EXPECT_EQ(listed(w, u"TQ"_qs), QStringList{u"TQ-U"_qs});
    // Without ActiveOnly the rights are not looked at.
    w.ActiveOnly = false;
    EXPECT_EQ(listed(w, u"TQ-"_qs).size(), 6);
    noErrors();
}

TEST_F(WarehouseSearch, TheStatementPiecesJoinAsTheCompanyQuotesThem) {
    EXPECT_EQ(TF_SearchWareHouse::Statement(false, 0, QString(), false, 1),
              u"select code,name from warehouse  order by code "_qs);
    EXPECT_EQ(
        TF_SearchWareHouse::Statement(false, 2, QString(), true, 1),
        u"select code,name from warehouse  where (Coalesce(IsLocation,'N')='Y')  order by code "_qs);
    EXPECT_EQ(
        TF_SearchWareHouse::Statement(true, 1, u"WH"_qs, true, 1),
        u"select code,name from warehouse where Coalesce(blocked,'N') = 'N'  and  "
        "(Coalesce(IsLocation,'N')='N')  and ((code like '%WH%') or       (name like '%WH%'))  "
        "And Id In (Select Warehouse From UserWarehouse Where UserName = 1 ) order by code "_qs);
    EXPECT_EQ(TF_SearchWareHouse::Statement(false, 0, u"O'B"_qs, false, 1),
              u"select code,name from warehouse  where ((code like '%O''B%') or       (name like "
              "'%O''B%'))  order by code "_qs);
}

// ---- barcodes

class BarCodeSearch : public SearchDialogs {
  protected:
    void SetUp() override {
        SearchDialogs::SetUp();
        if (HasFatalFailure())
            return;
        TFrSearchBarCode::IniFile = ini.filePath(u"KVR.INI"_qs);
        a = product(u"TQ-BA"_qs, QStringLiteral(u"ทดสอบ ข O'Neil"), "N", u"TQ9002"_qs);
        b = product(u"TQ-BB"_qs, QStringLiteral(u"ทดสอบ ก"), "N", u"TQ9003"_qs);
        c = product(u"TQ-BC"_qs, QStringLiteral(u"ทดสอบ ค"), "Y", u"TQ9001"_qs);
    }
    void TearDown() override {
        TFrSearchBarCode::IniFile = u"KVR.INI"_qs;
        SearchDialogs::TearDown();
    }
    qint64 product(const QString& code, QString name, const char* blocked, const QString& bar) {
        const qint64 id = insert(
            QStringLiteral("Insert Into Product (Code, ThaiName, ProductType, TaxCode, DefaultWh, "
                           "Blocked, MasterCode) Values ('%1', N'%2', 'P', 1, 1, '%3', 'N')")
                .arg(code, name.replace(u'\'', u"''"_qs), QString::fromLatin1(blocked)));
        exec(QStringLiteral("Insert Into ProductUnits (Product, UnitName, Fraction, BarCode, "
                            "SaleFlag, PurcFlag, StockUnitFlag, SmallUnitFlag) Values (%1, N'ชิ้น', "
                            "1, '%2', 'Y', 'Y', 'Y', 'Y')")
                 .arg(id)
                 .arg(bar));
        return id;
    }
    QStringList barcodes(TFrSearchBarCode& w) { return column(w.DgSearch, u"BarCode"_qs); }

    QTemporaryDir ini;
    qint64 a = 0, b = 0, c = 0;
};

TEST_F(BarCodeSearch, BarcodeIsAPrefixAndTheNameFollowsTheCompanysMatchMode) {
    setConfig(u"SearchProductMethod = 1, ShowLastSearch = 'N'"_qs);
    TFrSearchBarCode::BarCodeSortOrder = 0;
    TFrSearchBarCode w;
    ASSERT_TRUE(h.show(&w));
    EXPECT_EQ(w.SearchMethod->currentText(), QStringLiteral(u"ประกอบด้วย"));
    EXPECT_EQ(h.focused(), w.Name);
    h.type(QStringLiteral(u"O'Ne"));
    h.press(Qt::Key_Return);
    EXPECT_EQ(barcodes(w), QStringList{u"TQ9002"_qs});
    EXPECT_EQ(dm->LastProductName, QStringLiteral(u"O'Ne"));
    h.focus(w.Name);
    w.Name->clear();
    h.focus(w.Code);
    h.type(u"TQ900"_qs);
    h.press(Qt::Key_Return);
    EXPECT_EQ(barcodes(w), (QStringList{u"TQ9002"_qs, u"TQ9003"_qs})) << "blocked ones hidden";
    w.ShowBlocked = true;
    h.focus(w.Code);
    h.press(Qt::Key_Return);
    EXPECT_EQ(barcodes(w), (QStringList{u"TQ9001"_qs, u"TQ9002"_qs, u"TQ9003"_qs}));
    // Begins with: the name must start with the text.
    w.SearchMethod->setCurrentIndex(0);
    w.Name->setText(QStringLiteral(u"O'Ne"));
    h.focus(w.Name);
    h.press(Qt::Key_Return);
    EXPECT_TRUE(barcodes(w).isEmpty());
    w.Btok->click();
    EXPECT_EQ(w.result(), QDialog::Rejected) << "an empty list reports Cancel";
    EXPECT_TRUE(w.SelectedBarCode.isEmpty());
    noErrors();
}

TEST_F(BarCodeSearch, TitleClicksSortAtOnceAndTheOrderLastsTheRun) {
    TFrSearchBarCode::BarCodeSortOrder = 0;
    TFrSearchBarCode w;
    w.ShowBlocked = true;
    ASSERT_TRUE(h.show(&w));
    h.focus(w.Code);
    h.type(u"TQ9"_qs);
    h.press(Qt::Key_Return);
    EXPECT_EQ(barcodes(w), (QStringList{u"TQ9001"_qs, u"TQ9002"_qs, u"TQ9003"_qs}));
    emit w.DgSearch->titleClicked(1);  // รหัสสินค้า
    EXPECT_EQ(column(w.DgSearch, u"Code"_qs), (QStringList{u"TQ-BA"_qs, u"TQ-BB"_qs, u"TQ-BC"_qs}));
    emit w.DgSearch->titleClicked(2);  // ชื่อสินค้า
    EXPECT_EQ(barcodes(w), (QStringList{u"TQ9003"_qs, u"TQ9002"_qs, u"TQ9001"_qs}));
    emit w.DgSearch->titleClicked(4);  // คงเหลือ: the order stays
    EXPECT_EQ(TFrSearchBarCode::BarCodeSortOrder, 2);
    EXPECT_TRUE(column(w.DgSearch, u"OnHand"_qs).first().endsWith(QStringLiteral(u"  ชิ้น")));
    h.focus(w.DgSearch);
    h.press(Qt::Key_Return);
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(w.SelectedBarCode, u"TQ9003"_qs);
    ASSERT_TRUE(h.show(&w));
    EXPECT_EQ(TFrSearchBarCode::BarCodeSortOrder, 2) << "kept for the run";
    h.press(Qt::Key_Escape);
    EXPECT_TRUE(w.SelectedBarCode.isEmpty());
    TFrSearchBarCode::BarCodeSortOrder = 0;
}

TEST_F(BarCodeSearch, TheLastProductNameComesBackWhenTheCompanyAsks) {
    setConfig(u"ShowLastSearch = 'Y', SearchProductMethod = 0"_qs);
    dm->LastProductName = QStringLiteral(u"ทดสอบ");
    TFrSearchBarCode w;
    ASSERT_TRUE(h.show(&w));
    EXPECT_EQ(w.SearchMethod->currentIndex(), 0);
    EXPECT_EQ(w.Name->text(), QStringLiteral(u"ทดสอบ"));
    EXPECT_TRUE(w.Code->text().isEmpty());
    h.press(Qt::Key_Escape);
    setConfig(u"ShowLastSearch = 'N'"_qs);
    ASSERT_TRUE(h.show(&w));
    EXPECT_TRUE(w.Name->text().isEmpty());
}

TEST_F(BarCodeSearch, NeverNarrowerThan700AndThePlacementIsKeptInTheIniFile) {
    {
        TFrSearchBarCode w;
        ASSERT_TRUE(h.show(&w));
        EXPECT_GE(w.width(), 700);
        w.resize(500, 300);
        h.settle();
        EXPECT_EQ(w.width(), 700);
        w.resize(820, 340);
        w.DgSearch->setColumnWidth(2, 222);
        h.settle();
        h.press(Qt::Key_Escape);
    }
    QSettings saved(TFrSearchBarCode::IniFile, QSettings::IniFormat);
    EXPECT_EQ(saved.value(u"SEARCHBARCODE/Width"_qs).toInt(), 820);
    EXPECT_EQ(saved.value(u"SEARCHBARCODE/Column2Width"_qs).toInt(), 222);
    TFrSearchBarCode again;
    ASSERT_TRUE(h.show(&again));
    EXPECT_EQ(again.size(), QSize(820, 340));
    EXPECT_EQ(again.DgSearch->columnWidth(2), 222);
}

// ---- attribute codes

TEST_F(SearchDialogs, TheAttributeCodeSearchListsTheGroupAndMatchesTheDescription) {
    const qint64 group = scalar(u"Select Id From ProdAttrGroup Where Id = 4"_qs).toLongLong();
    exec(QStringLiteral("Insert Into ProdAttrCode (ProdAttrGroup, Code, Description) Values "
                        "(%1, 'IE', 'O''Neil land'), (%1, 'PC', '100% pure')")
             .arg(group));
    TFrSearchProdAttrCode w;
    w.GroupId = group;
    ASSERT_TRUE(h.show(&w));
    EXPECT_EQ(column(w.ListData, u"CODE"_qs).size(), 5);
    EXPECT_EQ(h.focused(), w.Description);
    h.type(QStringLiteral(u"ปุ่"));
    h.press(Qt::Key_Return);
    EXPECT_EQ(column(w.ListData, u"CODE"_qs), QStringList{u"JP"_qs});
    h.focus(w.Description);
    w.Description->clear();
    h.type(u"O'Neil"_qs);
    h.press(Qt::Key_Return);
    EXPECT_EQ(column(w.ListData, u"CODE"_qs), QStringList{u"IE"_qs});
    w.FullWord->setChecked(true);
    h.focus(w.Description);
    h.press(Qt::Key_Return);
    EXPECT_TRUE(column(w.ListData, u"CODE"_qs).isEmpty()) << "the whole description only";
    w.Description->setText(u"O'Neil land"_qs);
    h.focus(w.Description);
    h.press(Qt::Key_Return);
    EXPECT_EQ(column(w.ListData, u"CODE"_qs), QStringList{u"IE"_qs});
    w.FullWord->setChecked(false);
    w.Description->setText(u"0%"_qs);
    h.focus(w.Description);
    h.press(Qt::Key_Return);
    EXPECT_EQ(column(w.ListData, u"CODE"_qs), QStringList{u"PC"_qs});
    EXPECT_EQ(h.focused(), w.ListData);
    h.press(Qt::Key_Return);
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(w.SelectedCode, u"PC"_qs);
    ASSERT_TRUE(h.show(&w));
    EXPECT_FALSE(w.FullWord->isChecked());
    EXPECT_TRUE(w.Description->text().isEmpty());
    h.press(Qt::Key_Escape);
    EXPECT_TRUE(w.SelectedCode.isEmpty());
    noErrors();
}

// ---- the module's search operations

TEST_F(SearchDialogs, TheModulesSearchesShowTheKeptDialogs) {
    installProductSearches();
    const qint64 product = addProduct(u"TP-UNIT"_qs);
    h.whenModal([&](QWidget* dialog) {
        auto* w = qobject_cast<TFrSearchUnit*>(dialog);
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(w->ForPurc);
        EXPECT_FALSE(w->ForSale);
        h.press(Qt::Key_Return);
    });
    EXPECT_TRUE(pm->SearchUnitName(product));
    EXPECT_EQ(pm->SelectedCode, QStringLiteral(u"ชิ้น"));
    EXPECT_EQ(FrSearchUnit(), FrSearchUnit());

    h.whenModal([&](QWidget* dialog) {
        auto* w = qobject_cast<TF_SearchWareHouse*>(dialog);
        ASSERT_NE(w, nullptr);
        h.press(Qt::Key_Return);  // in the list
    });
    EXPECT_TRUE(pm->SearchWarehouse());
    EXPECT_FALSE(pm->SelectedCode.isEmpty());
    EXPECT_EQ(pm->SelectedCode, scalar(u"Select Min(Code) From Warehouse"_qs).toString().trimmed());

    QTemporaryDir iniDir;
    TFrSearchBarCode::IniFile = iniDir.filePath(u"KVR.INI"_qs);
    const auto escape = [this](QWidget*) { h.press(Qt::Key_Escape); };
    h.whenModal(escape);
    EXPECT_FALSE(pm->SearchLotNo());
    EXPECT_TRUE(pm->SelectedCode.isEmpty());
    h.whenModal(escape);
    EXPECT_FALSE(pm->SearchProductBarCode());
    EXPECT_TRUE(pm->SelectedCode.isEmpty());
    TFrSearchBarCode::IniFile = u"KVR.INI"_qs;
    noErrors();
}

}  // namespace
}  // namespace md::product::test
