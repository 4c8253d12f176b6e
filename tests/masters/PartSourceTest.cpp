// The vendor part-source price table over the demo company, driven by keys: a vendor's list
// edited and saved (insert, change, delete) with its audit row, unknown codes emptying their
// row, rows without a product dropped before the question, rows without a unit or currency
// refused, a refused save keeping every pending change, the three searches (and none in the
// price column), and another vendor replacing the list without a question.

#include "tests/forms/DemoFixture.h"

#include "forms/EditGrid.h"
#include "forms/Fa_GetFrVendor.h"
#include "forms/KeptWindow.h"
#include "masters/Fr_PurchasePrice2.h"
#include "masters/Fr_SearchMisc.h"
#include "product/Dm_Product.h"
#include "product/Fr_SearchProductService.h"
#include "product/Fr_SearchUnit.h"
#include "product/ProductSearches.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <tuple>

using md::forms::test::DemoWindowTest;

namespace md::masters {
namespace {

QString s(const char16_t* t) {
    return QString::fromUtf16(t);
}

QStringList column(forms::DbGrid* grid, const QString& field) {
    QStringList out;
    const forms::QueryModel* m = grid->queryModel();
    const int c = m->columnOf(field);
    for (int r = 0; r < m->rowCount(); ++r)
        out << m->index(r, c).data().toString().trimmed();
    return out;
}

class PartSource : public DemoWindowTest {
  protected:
    void SetUp() override {
        DemoWindowTest::SetUp();
        if (HasFatalFailure())
            return;
        dm->DMdata.open();
        products_ = std::make_unique<product::TDmProduct>();
        product::DmProduct = products_.get();
        product::installProductSearches(*products_);
        // Vendors, products and part sources of this test's own, whatever the demo holds.
        for (const char* code : {"TV01", "TV02"}) {
            exec(QStringLiteral(
                     "Insert Into FrVendor (Code, VendorGroup, Name, Country, Currency) Select "
                     "'%1', (Select Min(Id) From VendorGroup), 'Vendor %1', (Select Min(Id) From "
                     "Misc Where GroupCode = 'COUNTRY'), (Select Id From Misc Where GroupCode = "
                     "'CURRENCY' And Code = 'USD')")
                     .arg(QLatin1StringView(code)));
        }
        for (const char* code : {"PS-A", "PS-B", "PS-C", "PS-D"})
            addProduct(QString::fromLatin1(code));
        addPartSource("PS-A", u"ชิ้น", "12.5", "USD", "VA-1");
        addPartSource("PS-B", u"กล่อง", "3.25", "EUR", "VB-1");
    }
    void TearDown() override {
        w.reset();
        product::releaseProductSearches();
        forms::releaseKeptWindows();
        product::DmProduct = nullptr;
        products_.reset();
        DemoWindowTest::TearDown();
    }

    // A product with three units: ชิ้น (sale, purchase, smallest), โหล (sale, stock) and กล่อง
    // (purchase only).
    void addProduct(const QString& code) {
        exec(QStringLiteral("Insert Into Product (Code, ThaiName, ProductType, TaxCode, DefaultWh, "
                            "Blocked, MasterCode) Values ('%1', N'สินค้า %1', 'P', 1, 1, 'N', 'N')")
                 .arg(code));
        const qint64 id = productId(code);
        const char16_t* units[][5] = {{u"ชิ้น", u"Y", u"Y", u"N", u"Y"},
                                      {u"โหล", u"Y", u"N", u"Y", u"N"},
                                      {u"กล่อง", u"N", u"Y", u"N", u"N"}};
        for (const auto& u : units) {
            exec(QStringLiteral("Insert Into ProductUnits (Product, UnitName, Fraction, SaleFlag, "
                                "PurcFlag, StockUnitFlag, SmallUnitFlag) Values (%1, N'%2', 1, "
                                "'%3', '%4', '%5', '%6')")
                     .arg(id)
                     .arg(s(u[0]), s(u[1]), s(u[2]), s(u[3]), s(u[4])));
        }
    }
    void addPartSource(const char* product, const char16_t* unit, const char* price,
                       const char* currency, const char* purchaseCode) {
        exec(QStringLiteral(
                 "Insert Into FrPartSource (FrVendor, Product, Productunits, Purchasecode, "
                 "Purchasename, Discountstr, Price, Currency) Select %1, P.Id, U.Id, '%2', "
                 "'Name %2', '', %3, (Select Id From Misc Where GroupCode = 'CURRENCY' And Code "
                 "= '%4') From Product P Inner Join ProductUnits U On U.Product = P.Id And "
                 "U.UnitName = N'%5' Where P.Code = '%6'")
                 .arg(vendorId("TV01"))
                 .arg(QLatin1StringView(purchaseCode), QLatin1StringView(price),
                      QLatin1StringView(currency), s(unit), QLatin1StringView(product)));
    }
    qint64 productId(const QString& code) {
        return scalar(QStringLiteral("Select Id From Product Where Code = '%1'").arg(code))
            .toLongLong();
    }
    qint64 vendorId(const char* code) {
        return scalar(QStringLiteral("Select Id From FrVendor Where Code = '%1'")
                          .arg(QLatin1StringView(code)))
            .toLongLong();
    }
    qint64 unitId(const QString& product, const char16_t* unit) {
        return scalar(QStringLiteral("Select U.Id From ProductUnits U Inner Join Product P On "
                                     "P.Id = U.Product Where P.Code = '%1' And U.UnitName = N'%2'")
                          .arg(product, s(unit)))
            .toLongLong();
    }
    // The stored rows of a vendor, product code first, every column the window writes.
    QStringList stored(const char* vendor) {
        QStringList out;
        data::Query q(
            &dm->DMdata,
            {QStringLiteral("Select P.Code, U.UnitName, Convert(varchar(30), F.Price) Price, "
                            "M.Code Currency, F.Discountstr, F.Purchasecode, F.Purchasename From "
                            "FrPartSource F Left Join Product P On P.Id = F.Product Left Join "
                            "ProductUnits U On U.Id = F.Productunits Left Join Misc M On M.Id = "
                            "F.Currency Where F.FrVendor = %1 Order By P.Code")
                 .arg(vendorId(vendor))});
        q.open();
        for (q.first(); !q.eof(); q.next()) {
            QStringList row;
            for (int i = 0; i < q.fieldCount(); ++i)
                row << q.field(i).asString();
            out << row.join(u'|');
        }
        return out;
    }
    QString lastAudit() {
        return scalar(QStringLiteral("Select Top 1 Convert(varchar(10), FunctionListId) + '/' + "
                                     "Convert(varchar(10), DocumentId) + '/' + Remark From "
                                     "UserLog Order By Id Desc"))
            .toString();
    }

    void open() {
        config.MenuId = 106;
        config.MenuCaption = s(u"ราคาซื้อสินค้าจากเจ้าหนี้ต่างประเทศ");
        w = std::make_unique<TF_PurchasePrice2>();
        ASSERT_TRUE(h.show(w.get()));
        ASSERT_TRUE(h.errors.isEmpty()) << h.errors.join(u'\n').toStdString();
    }
    // Types a vendor code into the vendor box (which has the focus) and goes on with Enter.
    void chooseVendor(const QString& code) {
        ASSERT_EQ(h.focused(), w->FaGetFrVendor1->Vendor);
        w->FaGetFrVendor1->Vendor->selectAll();
        h.type(code);
        h.press(Qt::Key_Return);
        ASSERT_TRUE(h.errors.isEmpty()) << h.errors.join(u'\n').toStdString();
    }
    int col(const char* field) { return w->DataGrid->columnOfField(QString::fromLatin1(field)); }
    // Puts the grid's cursor (and its editor) on a cell; the grid has the focus.
    void goTo(int row, const char* field) {
        ASSERT_TRUE(inGrid());
        w->DataGrid->goToCell(row, col(field));
        ASSERT_EQ(w->DataGrid->currentIndex(), w->DataGrid->model()->index(row, col(field)));
    }
    bool inGrid() {
        QWidget* f = h.focused();
        return f && (f == w->DataGrid || w->DataGrid->isAncestorOf(f));
    }
    void enter(const QString& text) {
        h.type(text);
        h.press(Qt::Key_Return);
    }
    QVariant cell(int row, const char* field) {
        return w->QPrice.valueAt(row, w->QPrice.fieldByName(QString::fromLatin1(field)).index());
    }
    QString shown(int row, const char* field) {
        return w->DataGrid->model()->index(row, col(field)).data().toString();
    }
    int rows() { return w->DataGrid->model()->rowCount(); }
    void save(bool yes = true) {
        h.prompts.answer({yes});
        h.press(Qt::Key_F10);
    }

    std::unique_ptr<product::TDmProduct> products_;
    std::unique_ptr<TF_PurchasePrice2> w;
};

TEST_F(PartSource, AVendorsListIsEditedAndSavedWithItsAuditRow) {
    open();
    EXPECT_EQ(w->windowTitle(), s(u"ราคาซื้อสินค้าจากเจ้าหนี้ต่างประเทศ"));
    EXPECT_EQ(h.focused(), w->FaGetFrVendor1->Vendor);
    EXPECT_FALSE(w->AcSave->isEnabled());
    EXPECT_FALSE(w->AcDel->isVisible());
    EXPECT_EQ(rows(), 0);
    EXPECT_EQ(w->DataGrid->model()->headerData(0, Qt::Horizontal).toString(), s(u"รหัส"));
    EXPECT_EQ(w->DataGrid->model()->headerData(7, Qt::Horizontal).toString(),
              s(u"ชื่อสินค้าของผู้จำหน่าย"));
    EXPECT_EQ(w->BtDelete->text(), s(u"ลบรายการ"));
    EXPECT_EQ(w->BtDelete->focusPolicy(), Qt::NoFocus);
    EXPECT_FALSE(w->BDel->isVisible());

    chooseVendor(QStringLiteral("tv01"));
    EXPECT_EQ(w->FaGetFrVendor1->VendorName->text(), QStringLiteral("Vendor TV01"));
    EXPECT_TRUE(w->AcSave->isEnabled());
    EXPECT_TRUE(inGrid());
    ASSERT_EQ(rows(), 2);
    EXPECT_EQ(w->DataGrid->currentIndex().column(), 0);
    // The current cell shows its editor with the search button.
    ASSERT_NE(w->DataGrid->openEditor(), nullptr);
    EXPECT_EQ(w->DataGrid->openEditor()->objectName(), QStringLiteral("Code"));
    const int a = column(w->DataGrid, QStringLiteral("Code")).indexOf(QStringLiteral("PS-A"));
    const int b = 1 - a;
    ASSERT_GE(a, 0);
    EXPECT_EQ(shown(a, "UnitName"), s(u"ชิ้น"));
    EXPECT_EQ(shown(a, "Price"), QStringLiteral("12.5000"));

    // A change: the price is kept as the column keeps it, rounded half away from zero.
    goTo(a, "Price");
    enter(QStringLiteral("13.45675"));
    EXPECT_EQ(shown(a, "Price"), QStringLiteral("13.4568"));
    EXPECT_EQ(w->DataGrid->currentIndex().column(), col("Code_1"));
    // A removal, at once and without a question.
    goTo(b, "Code");
    w->BtDelete->click();
    ASSERT_EQ(rows(), 1);
    EXPECT_TRUE(h.prompts.shown.isEmpty());
    // An insert: down from the last row starts a row for this vendor.
    goTo(0, "Code");
    h.press(Qt::Key_Down);
    ASSERT_EQ(rows(), 2);
    EXPECT_EQ(w->DataGrid->currentIndex(), w->DataGrid->model()->index(1, 0));
    EXPECT_EQ(cell(1, "FrVendor").toLongLong(), vendorId("TV01"));
    EXPECT_EQ(cell(1, "Product").toLongLong(), 0);
    EXPECT_EQ(cell(1, "ProductUnits").toLongLong(), 0);
    enter(QStringLiteral("ps-c"));  // upper case as typed
    EXPECT_EQ(shown(1, "Code"), QStringLiteral("PS-C"));
    EXPECT_EQ(shown(1, "ThaiName"), s(u"สินค้า PS-C"));
    EXPECT_EQ(cell(1, "Product").toLongLong(), productId(QStringLiteral("PS-C")));
    h.press(Qt::Key_Return);  // past the name
    enter(s(u"กล่อง"));
    EXPECT_EQ(cell(1, "ProductUnits").toLongLong(), unitId(QStringLiteral("PS-C"), u"กล่อง"));
    enter(QStringLiteral("7"));
    enter(QStringLiteral(" eur "));
    EXPECT_EQ(shown(1, "Code_1"), QStringLiteral("EUR"));
    EXPECT_FALSE(cell(1, "Currency").isNull());
    enter(QStringLiteral("5+2"));
    enter(QStringLiteral("VC-1"));
    h.type(QStringLiteral("Vendor item"));
    // Nothing is written before the save.
    EXPECT_EQ(stored("TV01").size(), 2);

    const qint64 audits = auditRows();
    save();
    ASSERT_TRUE(h.errors.isEmpty()) << h.errors.join(u'\n').toStdString();
    EXPECT_EQ(h.prompts.shown, QStringList{s(u"yesno: จัดเก็บข้อมูล ?")});
    EXPECT_EQ(stored("TV01"), (QStringList{s(u"PS-A|ชิ้น|13.4568|USD||VA-1|Name VA-1"),
                                           s(u"PS-C|กล่อง|7.0000|EUR|5+2|VC-1|Vendor item")}));
    EXPECT_EQ(auditRows(), audits + 1);
    EXPECT_EQ(lastAudit(), QStringLiteral("2/0/TV01"));
    // The window starts over for the next vendor.
    EXPECT_EQ(h.focused(), w->FaGetFrVendor1->Vendor);
    EXPECT_TRUE(w->FaGetFrVendor1->Vendor->text().isEmpty());
    EXPECT_FALSE(w->AcSave->isEnabled());
    EXPECT_EQ(rows(), 0);

    // Loaded again, the list shows what was saved.
    chooseVendor(QStringLiteral("TV01"));
    EXPECT_EQ(column(w->DataGrid, QStringLiteral("Code")).size(), 2);
    EXPECT_TRUE(column(w->DataGrid, QStringLiteral("Code")).contains(QStringLiteral("PS-C")));
}

TEST_F(PartSource, UnknownCodesEmptyTheirRowAndRowsWithoutAProductGoBeforeTheQuestion) {
    open();
    chooseVendor(QStringLiteral("TV01"));
    const int a = column(w->DataGrid, QStringLiteral("Code")).indexOf(QStringLiteral("PS-A"));
    ASSERT_GE(a, 0);
    // A stored row whose product code becomes unknown loses its product.
    goTo(a, "Code");
    enter(QStringLiteral("NOPE"));
    EXPECT_TRUE(cell(a, "Product").isNull());
    EXPECT_TRUE(cell(a, "Code").isNull());
    EXPECT_TRUE(cell(a, "ThaiName").isNull());
    // Unknown unit and currency codes empty their keys too, without a message.
    const int b = 1 - a;
    goTo(b, "UnitName");
    enter(QStringLiteral("XX"));
    EXPECT_TRUE(cell(b, "ProductUnits").isNull());
    EXPECT_TRUE(cell(b, "UnitName").isNull());
    goTo(b, "Code_1");
    enter(QStringLiteral("XYZ"));
    EXPECT_TRUE(cell(b, "Currency").isNull());
    EXPECT_TRUE(cell(b, "Code_1").isNull());
    // A blocked product counts as unknown.
    exec(QStringLiteral("Update Product Set Blocked = 'Y' Where Code = 'PS-D'"));
    goTo(b, "Code");
    enter(QStringLiteral("PS-D"));
    EXPECT_TRUE(cell(b, "Product").isNull());
    EXPECT_TRUE(h.prompts.shown.isEmpty());

    // Both rows are without a product: they go before the question; No keeps it that way and
    // writes nothing.
    save(false);
    ASSERT_TRUE(h.errors.isEmpty()) << h.errors.join(u'\n').toStdString();
    EXPECT_EQ(h.prompts.shown, QStringList{s(u"yesno: จัดเก็บข้อมูล ?")});
    EXPECT_EQ(rows(), 0);
    EXPECT_EQ(stored("TV01").size(), 2);
    EXPECT_TRUE(w->AcSave->isEnabled());
    // Yes deletes the stored rows whose product was cleared.
    save();
    ASSERT_TRUE(h.errors.isEmpty()) << h.errors.join(u'\n').toStdString();
    EXPECT_TRUE(stored("TV01").isEmpty());
}

TEST_F(PartSource, CellsOnlyPassedThroughKeepTheirRowAsRead) {
    // Products blocked or made master codes after their rows were stored: a typed code of such
    // a product is unknown, but walking over the stored rows must not empty them (and so have
    // them deleted by the save).
    exec(QStringLiteral("Update Product Set Blocked = 'Y' Where Code = 'PS-A'"));
    exec(QStringLiteral("Update Product Set MasterCode = 'Y' Where Code = 'PS-B'"));
    const QStringList before = stored("TV01");
    open();
    chooseVendor(QStringLiteral("TV01"));
    for (int i = 0; i < 16; ++i)  // every cell of both rows, by Enter
        h.press(Qt::Key_Return);
    h.press(Qt::Key_Up);
    h.press(Qt::Key_Down);
    EXPECT_FALSE(cell(0, "Product").isNull());
    EXPECT_FALSE(cell(1, "Product").isNull());
    save();
    ASSERT_TRUE(h.errors.isEmpty()) << h.errors.join(u'\n').toStdString();
    EXPECT_EQ(stored("TV01"), before);
}

TEST_F(PartSource, AnswerNoKeepsEveryOtherChangePendingAndEditable) {
    open();
    chooseVendor(QStringLiteral("TV01"));
    const int a = column(w->DataGrid, QStringLiteral("Code")).indexOf(QStringLiteral("PS-A"));
    goTo(a, "DisCountStr");
    enter(QStringLiteral("10%"));
    h.press(Qt::Key_Insert);  // a row before the current one, still without a product
    ASSERT_EQ(rows(), 3);
    save(false);
    EXPECT_EQ(rows(), 2);  // the empty row went
    EXPECT_EQ(stored("TV01").size(), 2);
    EXPECT_EQ(w->QPrice.state(), data::DataSetState::Edit);
    const int now = column(w->DataGrid, QStringLiteral("Code")).indexOf(QStringLiteral("PS-A"));
    EXPECT_EQ(cell(now, "DisCountStr").toString(), QStringLiteral("10%"));
    save();
    ASSERT_TRUE(h.errors.isEmpty()) << h.errors.join(u'\n').toStdString();
    EXPECT_TRUE(stored("TV01").contains(s(u"PS-A|ชิ้น|12.5000|USD|10%|VA-1|Name VA-1")));
}

TEST_F(PartSource, ARowWithAProductButNoUnitOrCurrencyIsRefusedAndNothingWritten) {
    open();
    chooseVendor(QStringLiteral("TV01"));
    goTo(1, "Code");
    h.press(Qt::Key_Down);
    ASSERT_EQ(rows(), 3);
    enter(QStringLiteral("PS-C"));
    const qint64 audits = auditRows();
    save();
    ASSERT_TRUE(h.errors.isEmpty()) << h.errors.join(u'\n').toStdString();
    // No question: the row names its product and the grid stands on its unit.
    ASSERT_EQ(h.prompts.shown.size(), 1);
    EXPECT_TRUE(h.prompts.shown.at(0).startsWith(QStringLiteral("info:")));
    EXPECT_TRUE(h.prompts.shown.at(0).contains(QStringLiteral("PS-C")));
    EXPECT_TRUE(h.prompts.shown.at(0).contains(s(u"หน่วยสินค้า")));
    EXPECT_EQ(w->DataGrid->currentIndex(), w->DataGrid->model()->index(2, col("UnitName")));
    EXPECT_TRUE(inGrid());
    EXPECT_EQ(stored("TV01").size(), 2);
    EXPECT_EQ(auditRows(), audits);

    // A sale unit typed by hand is any unit of the product: accepted. The currency is next.
    enter(s(u"โหล"));
    EXPECT_EQ(cell(2, "ProductUnits").toLongLong(), unitId(QStringLiteral("PS-C"), u"โหล"));
    h.prompts.shown.clear();
    save();
    ASSERT_EQ(h.prompts.shown.size(), 1);
    EXPECT_TRUE(h.prompts.shown.at(0).contains(s(u"สกุลเงิน")));
    EXPECT_EQ(w->DataGrid->currentIndex(), w->DataGrid->model()->index(2, col("Code_1")));
    enter(QStringLiteral("JPY"));
    h.prompts.shown.clear();
    save();
    ASSERT_TRUE(h.errors.isEmpty()) << h.errors.join(u'\n').toStdString();
    EXPECT_EQ(h.prompts.shown, QStringList{s(u"yesno: จัดเก็บข้อมูล ?")});
    EXPECT_TRUE(stored("TV01").contains(s(u"PS-C|โหล||JPY|||")));
}

TEST_F(PartSource, AnotherProductTakesTheRowsUnitNameOnlyWhereItHasSuchAUnit) {
    // A unit is one product's: changing the product never leaves the old product's unit behind.
    exec(QStringLiteral("Delete From ProductUnits Where UnitName = N'กล่อง' And Product = %1")
             .arg(productId(QStringLiteral("PS-D"))));
    open();
    chooseVendor(QStringLiteral("TV01"));
    const int a = column(w->DataGrid, QStringLiteral("Code")).indexOf(QStringLiteral("PS-A"));
    const int b = 1 - a;
    goTo(a, "Code");
    enter(QStringLiteral("PS-C"));
    EXPECT_EQ(cell(a, "ProductUnits").toLongLong(), unitId(QStringLiteral("PS-C"), u"ชิ้น"));
    goTo(b, "Code");
    enter(QStringLiteral("PS-D"));  // PS-D has no กล่อง
    EXPECT_TRUE(cell(b, "ProductUnits").isNull());
    save();
    EXPECT_EQ(w->DataGrid->currentIndex(), w->DataGrid->model()->index(b, col("UnitName")));
    EXPECT_EQ(stored("TV01").size(), 2);
    EXPECT_FALSE(stored("TV01").join(u'\n').contains(QStringLiteral("PS-C")));
}

TEST_F(PartSource, ARefusedSaveKeepsEveryPendingChangeForAnotherTry) {
    open();
    chooseVendor(QStringLiteral("TV01"));
    const QStringList before = stored("TV01");
    const qint64 audits = auditRows();
    const int a = column(w->DataGrid, QStringLiteral("Code")).indexOf(QStringLiteral("PS-A"));
    const int b = 1 - a;
    goTo(a, "PurchaseName");
    enter(QStringLiteral("Changed"));
    goTo(b, "Code");
    w->BtDelete->click();
    ASSERT_EQ(rows(), 1);
    goTo(0, "Code");
    h.press(Qt::Key_Down);
    enter(QStringLiteral("PS-D"));
    h.press(Qt::Key_Return);
    enter(s(u"ชิ้น"));
    enter(QStringLiteral("1.5"));
    enter(QStringLiteral("USD"));
    // Another user removes the product while it is on screen: the server refuses the insert.
    const qint64 gone = productId(QStringLiteral("PS-D"));
    exec(QStringLiteral("Delete From ProductUnits Where Product = %1").arg(gone));
    exec(QStringLiteral("Delete From Product Where Id = %1").arg(gone));

    save();
    ASSERT_EQ(h.errors.size(), 1);
    EXPECT_TRUE(h.errors.at(0).contains(QStringLiteral("FOREIGN KEY"), Qt::CaseInsensitive))
        << h.errors.at(0).toStdString();
    EXPECT_EQ(stored("TV01"), before);
    EXPECT_EQ(auditRows(), audits);  // the audit row went back with the rest
    // Every change is still pending, in editing.
    ASSERT_EQ(rows(), 2);
    EXPECT_EQ(cell(0, "PurchaseName").toString(), QStringLiteral("Changed"));
    EXPECT_EQ(cell(1, "Code").toString(), QStringLiteral("PS-D"));
    EXPECT_EQ(w->QPrice.state(), data::DataSetState::Edit);
    EXPECT_TRUE(w->AcSave->isEnabled());

    // Corrected (the row of the removed product emptied), the same changes save.
    h.errors.clear();
    h.focus(w->DataGrid);
    goTo(1, "Code");
    h.press(Qt::Key_Backspace);  // the cell's text is selected as the editor opens
    h.press(Qt::Key_Return);
    save();
    ASSERT_TRUE(h.errors.isEmpty()) << h.errors.join(u'\n').toStdString();
    EXPECT_EQ(stored("TV01"), QStringList{s(u"PS-A|ชิ้น|12.5000|USD||VA-1|Changed")});
    EXPECT_EQ(auditRows(), audits + 1);
}

TEST_F(PartSource, TheSearchesOpenInTheirColumnsOnlyAndFillTheCell) {
    // The kept product search, as the product searches install it: the inputs it was shown
    // with, then a code typed and chosen by keys.
    QList<std::tuple<QString, QString, bool>> asked;
    auto chooseByCode = [&](QWidget* dialog) {
        auto* search = qobject_cast<product::TFrSearchProductService*>(dialog);
        ASSERT_NE(search, nullptr);
        asked << std::tuple{search->ProductTypeFilter, search->MasterCodeFilter,
                            search->ShowBlocked};
        h.focus(search->Code);
        h.type(QStringLiteral("PS-C"));
        h.press(Qt::Key_Return);  // searches and moves to the list
        h.press(Qt::Key_Return);  // chooses
    };
    open();
    chooseVendor(QStringLiteral("TV01"));
    goTo(1, "Code");
    h.press(Qt::Key_Down);
    ASSERT_EQ(rows(), 3);
    h.whenModal(chooseByCode);
    h.press(Qt::Key_F5);
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(std::get<0>(asked.at(0)), QStringLiteral(" "));
    EXPECT_EQ(std::get<1>(asked.at(0)), QStringLiteral("N"));
    EXPECT_FALSE(std::get<2>(asked.at(0)));
    // The code is in the editor; leaving it resolves the product.
    ASSERT_NE(w->DataGrid->openEdit(), nullptr);
    EXPECT_EQ(w->DataGrid->openEdit()->text(), QStringLiteral("PS-C"));
    EXPECT_EQ(w->DataGrid->currentIndex().column(), col("Code"));
    h.press(Qt::Key_Return);
    EXPECT_EQ(cell(2, "Product").toLongLong(), productId(QStringLiteral("PS-C")));
    EXPECT_EQ(shown(2, "ThaiName"), s(u"สินค้า PS-C"));

    // F5 in the price column, the name column or a plain text column opens nothing.
    for (const char* field : {"Price", "ThaiName", "DisCountStr"}) {
        goTo(2, field);
        bool opened = false;
        QTimer watch;  // closes any dialog that comes up; gone with this iteration
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (QWidget* dialog = QApplication::activeModalWidget()) {
                opened = true;
                dialog->close();
            }
        });
        watch.start(50);
        h.press(Qt::Key_F5);
        QTest::qWait(200);
        EXPECT_FALSE(opened) << field;
        EXPECT_EQ(asked.size(), 1) << field;
    }
    EXPECT_EQ(forms::KeptWindow<product::TFrSearchUnit>::current(), nullptr);
    EXPECT_EQ(forms::KeptWindow<TFrSearchMisc>::current(), nullptr);

    // The unit search lists the row's purchase units only.
    goTo(2, "UnitName");
    QStringList units;
    h.whenModal([&](QWidget* dialog) {
        auto* search = qobject_cast<product::TFrSearchUnit*>(dialog);
        ASSERT_NE(search, nullptr);
        EXPECT_EQ(search->ProductId, productId(QStringLiteral("PS-C")));
        EXPECT_TRUE(search->ForPurc);
        EXPECT_FALSE(search->ForSale || search->ForStock || search->ForSmall);
        units = column(search->DgSearch, QStringLiteral("UnitName"));
        const int box = units.indexOf(s(u"กล่อง"));
        ASSERT_GE(box, 0);
        search->DgSearch->selectRecord(box);
        h.press(Qt::Key_Return);
    });
    h.press(Qt::Key_F5);
    EXPECT_EQ(units.size(), 2);
    EXPECT_TRUE(units.contains(s(u"ชิ้น")));
    EXPECT_FALSE(units.contains(s(u"โหล"))) << "a sale and stock unit is no purchase unit";
    ASSERT_NE(w->DataGrid->openEdit(), nullptr);
    EXPECT_EQ(w->DataGrid->openEdit()->text(), s(u"กล่อง"));
    h.press(Qt::Key_Return);
    EXPECT_EQ(cell(2, "ProductUnits").toLongLong(), unitId(QStringLiteral("PS-C"), u"กล่อง"));

    // The currency search: its own caption, the currency group only, through the cell's button.
    goTo(2, "Code_1");
    QString title;
    QStringList currencies;
    h.whenModal([&](QWidget* dialog) {
        auto* search = qobject_cast<TFrSearchMisc*>(dialog);
        ASSERT_NE(search, nullptr);
        title = search->windowTitle();
        currencies = column(search->DgSearch, QStringLiteral("Code"));
        search->Code->setText(s(u"ยูโร"));
        search->BtSearch->click();
        search->BtOk->click();
    });
    auto* button = w->DataGrid->openEditor()->findChild<QToolButton*>();
    ASSERT_NE(button, nullptr);
    button->click();
    EXPECT_EQ(title, s(u"ค้นหาสกุลเงิน"));
    EXPECT_TRUE(currencies.contains(QStringLiteral("USD")));
    EXPECT_EQ(
        currencies.size(),
        scalar(QStringLiteral("Select Count(*) From Misc Where GroupCode = 'CURRENCY'")).toInt());
    EXPECT_EQ(w->DataGrid->openEdit()->text(), QStringLiteral("EUR"));
    h.press(Qt::Key_Return);
    EXPECT_FALSE(cell(2, "Currency").isNull());
    // Cancelling a search changes nothing.
    goTo(2, "Code");
    h.whenModal([&](QWidget*) { h.press(Qt::Key_Escape); });
    h.press(Qt::Key_F5);
    EXPECT_EQ(w->DataGrid->openEdit()->text(), QStringLiteral("PS-C"));
    EXPECT_TRUE(h.errors.isEmpty()) << h.errors.join(u'\n').toStdString();
}

TEST_F(PartSource, AnotherVendorReplacesTheListWithoutAQuestionAndNewDropsChanges) {
    open();
    // An unknown vendor keeps the focus in the box.
    chooseVendor(QStringLiteral("NOSUCH"));
    EXPECT_EQ(h.focused(), w->FaGetFrVendor1->Vendor);
    EXPECT_FALSE(w->AcSave->isEnabled());
    EXPECT_EQ(rows(), 0);

    chooseVendor(QStringLiteral("TV01"));
    const int a = column(w->DataGrid, QStringLiteral("Code")).indexOf(QStringLiteral("PS-A"));
    goTo(a, "Price");
    enter(QStringLiteral("99"));
    // Back to the vendor box and out again with the same vendor: the list and its change stay.
    h.focus(w->FaGetFrVendor1->Vendor);
    h.press(Qt::Key_Return);
    EXPECT_TRUE(inGrid());
    EXPECT_EQ(shown(a, "Price"), QStringLiteral("99.0000"));
    // An unknown code in the box: the list is not saved under it; the vendor typed again takes
    // the list up with its change.
    h.focus(w->FaGetFrVendor1->Vendor);
    chooseVendor(QStringLiteral("NOSUCH"));
    EXPECT_EQ(h.focused(), w->FaGetFrVendor1->Vendor);
    EXPECT_FALSE(w->AcSave->isEnabled());
    chooseVendor(QStringLiteral("TV01"));
    EXPECT_TRUE(w->AcSave->isEnabled());
    EXPECT_EQ(shown(a, "Price"), QStringLiteral("99.0000"));

    // Another vendor: its list (none) comes at once, a row started for it; nothing asked.
    h.focus(w->FaGetFrVendor1->Vendor);
    chooseVendor(QStringLiteral("TV02"));
    EXPECT_TRUE(h.prompts.shown.isEmpty());
    EXPECT_TRUE(inGrid());
    ASSERT_EQ(rows(), 1);
    EXPECT_EQ(cell(0, "FrVendor").toLongLong(), vendorId("TV02"));
    EXPECT_EQ(cell(0, "Product").toLongLong(), 0);
    EXPECT_EQ(cell(0, "ProductUnits").toLongLong(), 0);
    enter(QStringLiteral("PS-A"));
    // New drops the typed row without a question.
    h.press(Qt::Key_F3);
    EXPECT_TRUE(h.prompts.shown.isEmpty());
    EXPECT_EQ(h.focused(), w->FaGetFrVendor1->Vendor);
    EXPECT_EQ(rows(), 0);
    EXPECT_FALSE(w->AcSave->isEnabled());
    EXPECT_TRUE(stored("TV02").isEmpty());
    EXPECT_TRUE(stored("TV01").contains(s(u"PS-A|ชิ้น|12.5000|USD||VA-1|Name VA-1")));
    EXPECT_TRUE(h.errors.isEmpty()) << h.errors.join(u'\n').toStdString();
}

}  // namespace
}  // namespace md::masters
