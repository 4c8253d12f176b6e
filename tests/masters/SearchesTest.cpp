// The code searches over the demo company, offscreen and driven by keys: the miscellaneous-code
// searches, the salesman search with typed quotes and wildcards, the foreign-vendor search, and
// a lookup frame opening its search.

#include "forms/Fa_GetFrVendor.h"
#include "forms/Fa_GetMisc.h"
#include "forms/Fa_GetSalesman.h"
#include "masters/Fr_SearchFrVendor.h"
#include "masters/Fr_SearchMisc.h"
#include "masters/LookupSearches.h"
#include "masters/U_SearchMisc.h"
#include "masters/U_SearchSalesman.h"
#include "tests/forms/DemoFixture.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

namespace md::masters {
namespace {

using forms::test::DemoWindowTest;

// The texts of one column of a grid, top to bottom.
QStringList column(forms::DbGrid* grid, const QString& field) {
    QStringList out;
    const forms::QueryModel* m = grid->queryModel();
    const int c = m->columnOf(field);
    for (int r = 0; r < m->rowCount(); ++r)
        out << m->index(r, c).data().toString().trimmed();
    return out;
}

void clickTitle(forms::DbGrid* grid, const QString& field) {
    const int c = grid->queryModel()->columnOf(field);
    ASSERT_GE(c, 0);
    emit grid->horizontalHeader()->sectionClicked(c);
    forms::testing::WindowHarness::settle();
}

class SearchesTest : public DemoWindowTest {
  protected:
    void SetUp() override {
        DemoWindowTest::SetUp();
        dm->DMdata.open();
    }
    void TearDown() override {
        releaseLookupSearches();
        DemoWindowTest::TearDown();
    }
};

TEST_F(SearchesTest, MiscSearchListsTheGroupAtOnceAndFindsByDescription) {
    TFrSearchMisc w;
    w.MiscGroup = QStringLiteral("CURRENCY");
    w.ResultField = QStringLiteral("CODE");
    ASSERT_TRUE(h.show(&w));
    const QStringList all = column(w.DgSearch, QStringLiteral("Code"));
    EXPECT_EQ(
        all.size(),
        scalar(QStringLiteral("Select Count(*) From Misc Where GroupCode = 'CURRENCY'")).toInt());
    EXPECT_EQ(h.focusedName(), QStringLiteral("Code"));
    h.type(QStringLiteral(u"เยน"));  // the yen's description contains it
    h.press(Qt::Key_Return);
    EXPECT_EQ(column(w.DgSearch, QStringLiteral("Code")), QStringList{QStringLiteral("JPY")});
    h.press(Qt::Key_Return);  // the grid has the focus now: choose
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(w.ResultValue, QStringLiteral("JPY"));
}

TEST_F(SearchesTest, MiscCodeSearchFindsByCodeOrDescription) {
    TF_SearchMisc* w = F_SearchMisc();
    w->MiscGroup = QStringLiteral("PTYPE");
    ASSERT_TRUE(h.show(w));
    EXPECT_EQ(column(w->ListData, QStringLiteral("code")),
              (QStringList{QStringLiteral("CHEM"), QStringLiteral("ELEC"), QStringLiteral("KITCH"),
                           QStringLiteral("OFFICE"), QStringLiteral("RAW"), QStringLiteral("SERV"),
                           QStringLiteral("TOOL")}));
    h.focus(w->EnterString);
    h.type(QStringLiteral("it"));  // KITCH by its code
    h.press(Qt::Key_Return);
    EXPECT_EQ(h.focusedName(), QStringLiteral("ListData"));
    EXPECT_EQ(column(w->ListData, QStringLiteral("code")), QStringList{QStringLiteral("KITCH")});
    h.focus(w->EnterString);
    w->EnterString->setText(QStringLiteral(u"เครื่อง"));  // descriptions that contain it
    h.press(Qt::Key_Return);
    EXPECT_EQ(
        column(w->ListData, QStringLiteral("code")),
        (QStringList{QStringLiteral("ELEC"), QStringLiteral("KITCH"), QStringLiteral("TOOL")}));
    h.press(Qt::Key_Return);
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_EQ(w->ChosenCode, QStringLiteral("ELEC"));
    EXPECT_EQ(w->ChosenDescription, QStringLiteral(u"เครื่องใช้ไฟฟ้า"));
    EXPECT_FALSE(w->QSearch.isOpen());
}

TEST_F(SearchesTest, MiscCodeSearchTitleClicksSortAscendingDescendingAscending) {
    TF_SearchMisc::LastSortField.clear();
    TF_SearchMisc::SortDescNext = false;
    TF_SearchMisc* w = F_SearchMisc();
    w->MiscGroup = QStringLiteral("PGROUP");
    ASSERT_TRUE(h.show(w));
    const QStringList ascending{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
                                QStringLiteral("D")};
    QStringList descending = ascending;
    std::reverse(descending.begin(), descending.end());
    clickTitle(w->ListData, QStringLiteral("code"));
    EXPECT_EQ(column(w->ListData, QStringLiteral("code")), ascending);
    EXPECT_EQ(w->QSearch.sql().last(), QStringLiteral("Order By 2"));
    clickTitle(w->ListData, QStringLiteral("code"));
    EXPECT_EQ(column(w->ListData, QStringLiteral("code")), descending);
    clickTitle(w->ListData, QStringLiteral("code"));
    EXPECT_EQ(column(w->ListData, QStringLiteral("code")), ascending);
    // Another column starts ascending again.
    clickTitle(w->ListData, QStringLiteral("code"));
    clickTitle(w->ListData, QStringLiteral("description"));
    EXPECT_EQ(w->QSearch.sql().last(), QStringLiteral("Order By 4"));
    EXPECT_EQ(column(w->ListData, QStringLiteral("description")).size(), 4);
    EXPECT_EQ(TF_SearchMisc::LastSortField, QStringLiteral("DESCRIPTION"));
    // The dialog is kept, and so is its order, for the next use.
    w->done(QDialog::Rejected);
    EXPECT_EQ(F_SearchMisc(), w);
    EXPECT_EQ(w->QSearch.sql().last(), QStringLiteral("Order By 4"));
}

class SalesmanSearchTest : public SearchesTest {
  protected:
    void SetUp() override {
        SearchesTest::SetUp();
        const QString dept =
            scalar(QStringLiteral("Select Id From Misc Where GroupCode = 'DEPARTMENT' And Code = "
                                  "'SALE'"))
                .toString();
        exec(QStringLiteral("Insert Into Salesman (Code, Name, Surname, Department, Status) "
                            "Values ('S_9', '100%', 'O''Brien', %1, 'Y')")
                 .arg(dept));
        w = F_SearchSalesman();
        ASSERT_TRUE(h.show(w));
    }
    void search() {
        h.focus(w->SName);
        h.press(Qt::Key_Return);
    }
    QStringList codes() { return column(w->ListData, QStringLiteral("CODE")); }
    TF_SearchSalesman* w = nullptr;
};

TEST_F(SalesmanSearchTest, NothingIsListedUntilASearchAndOkThenChoosesNothing) {
    EXPECT_EQ(h.focusedName(), QStringLiteral("SName"));
    EXPECT_FALSE(w->QSearch.isOpen());
    w->Bok->click();
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_TRUE(w->ChosenCode.isEmpty());
}

TEST_F(SalesmanSearchTest, CodeBeginsWithAndNameContains) {
    h.focus(w->SCode);
    h.type(QStringLiteral("s00"));
    EXPECT_EQ(w->SCode->text(), QStringLiteral("S00"));
    h.press(Qt::Key_Return);
    EXPECT_EQ(codes().size(), 7);
    EXPECT_FALSE(codes().contains(QStringLiteral("S_9")));
    w->SCode->setText(QStringLiteral("00"));
    search();
    EXPECT_TRUE(codes().isEmpty()) << "the code must begin with the text";
    w->SCode->clear();
    w->SName->setText(QStringLiteral(u"ภา"));
    search();
    EXPECT_EQ(codes(), QStringList{QStringLiteral("S002")});
    h.focus(w->ListData);
    h.press(Qt::Key_Return);
    EXPECT_EQ(w->ChosenCode, QStringLiteral("S002"));
}

TEST_F(SalesmanSearchTest, QuotesPercentAndUnderscoreAreTextToLookFor) {
    w->SSurname->setText(QStringLiteral("O'Brien"));
    search();
    EXPECT_TRUE(h.errors.isEmpty()) << h.errors.join(u'\n').toStdString();
    EXPECT_EQ(codes(), QStringList{QStringLiteral("S_9")});
    w->SSurname->setText(QStringLiteral("') Or (1=1"));
    search();
    EXPECT_TRUE(h.errors.isEmpty());
    EXPECT_TRUE(codes().isEmpty()) << "a quote must not change the statement";
    w->SSurname->clear();
    w->SName->setText(QStringLiteral("%"));
    search();
    EXPECT_EQ(codes(), QStringList{QStringLiteral("S_9")});
    w->SName->clear();
    w->SCode->setText(QStringLiteral("S_"));
    search();
    EXPECT_EQ(codes(), QStringList{QStringLiteral("S_9")});
}

TEST_F(SalesmanSearchTest, TitleClickSetsTheOrderOfTheNextSearchOnly) {
    search();
    const QStringList byCode = codes();
    ASSERT_EQ(byCode.size(), 8);
    clickTitle(w->ListData, QStringLiteral("SURNAME"));
    EXPECT_EQ(TF_SearchSalesman::SalesmanSortKey, 2);
    EXPECT_EQ(codes(), byCode) << "the click alone does not search";
    search();
    EXPECT_EQ(w->QSearch.sql().last(), QStringLiteral("Order By S.SurName"));
    EXPECT_NE(codes(), byCode);
    h.press(Qt::Key_Escape);
    EXPECT_EQ(w->result(), QDialog::Rejected);
    EXPECT_TRUE(w->ChosenCode.isEmpty());
    // Showing it again starts from the code order.
    ASSERT_TRUE(h.show(w));
    EXPECT_EQ(TF_SearchSalesman::SalesmanSortKey, 0);
}

TEST_F(SearchesTest, VendorSearchWaitsForTheUserAndFindsByName) {
    TFrSearchFrVendor* w = FrSearchFrVendor();
    ASSERT_TRUE(h.show(w));
    EXPECT_EQ(w->windowTitle(), QStringLiteral(u"ค้นหาเจ้าหนี้ต่างประเทศ"));
    EXPECT_FALSE(w->QSearch.isOpen());
    h.type(QStringLiteral("osaka"));
    h.press(Qt::Key_Return);
    EXPECT_EQ(column(w->DgSearch, QStringLiteral("Code")), QStringList{QStringLiteral("FV002")});
    EXPECT_EQ(column(w->DgSearch, QStringLiteral("Country")),
              QStringList{scalar(QStringLiteral("Select Description From Misc Where GroupCode "
                                                "= 'COUNTRY' And Code = 'JP'"))
                              .toString()});
    h.press(Qt::Key_Return);
    EXPECT_EQ(w->ResultValue, QStringLiteral("FV002"));
}

TEST_F(SearchesTest, FrameOpensANewMiscSearchOverItsGroup) {
    installLookupSearches();
    QWidget owner;
    auto* layout = new QVBoxLayout(&owner);
    auto* frame = new forms::TFaGetMisc;
    auto* spare = new QLineEdit;
    layout->addWidget(frame);
    layout->addWidget(spare);
    frame->EditLabel->setText(QStringLiteral(u"สกุลเงิน"));
    frame->MiscGroup = QStringLiteral("CURRENCY");
    frame->Code->K_Filter = QStringLiteral("GroupCode='CURRENCY'");
    ASSERT_TRUE(h.show(&owner));
    h.focus(frame->Code);
    QString title;
    QStringList listed;
    h.whenModal([&](QWidget* dialog) {
        auto* search = qobject_cast<TFrSearchMisc*>(dialog);
        ASSERT_NE(search, nullptr);
        title = search->windowTitle();
        listed = column(search->DgSearch, QStringLiteral("Code"));
        search->Code->setText(QStringLiteral(u"ยูโร"));
        search->BtSearch->click();
        search->BtOk->click();
    });
    h.press(Qt::Key_F5);
    EXPECT_EQ(title, QStringLiteral(u"ค้นหาสกุลเงิน"));
    EXPECT_TRUE(listed.contains(QStringLiteral("USD")));
    EXPECT_FALSE(listed.contains(QStringLiteral("JP"))) << "countries are another group";
    EXPECT_EQ(frame->Code->text(), QStringLiteral("EUR"));
    // The owner is the active window again once the dialog has gone.
    owner.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&owner));
    EXPECT_EQ(QApplication::focusWidget(), frame->Code);
    h.focus(spare);
    EXPECT_TRUE(h.errors.isEmpty()) << h.errors.join(u'\n').toStdString();
    EXPECT_EQ(frame->Description->text(), QStringLiteral(u"ยูโร"));
    EXPECT_EQ(
        frame->Code->KeyValue().toLongLong(),
        scalar(QStringLiteral("Select Id From Misc Where GroupCode = 'CURRENCY' And Code = 'EUR'"))
            .toLongLong());
}

TEST_F(SearchesTest, SalesmanAndVendorFramesKeepTheirSearchForTheRun) {
    installLookupSearches();
    QWidget owner;
    auto* layout = new QVBoxLayout(&owner);
    auto* salesman = new forms::TFaGetSalesman;
    auto* vendor = new forms::TFaGetFrVendor;
    layout->addWidget(salesman);
    layout->addWidget(vendor);
    ASSERT_TRUE(h.show(&owner));
    QList<QWidget*> dialogs;
    const auto chooseFirst = [&](QWidget* dialog) {
        dialogs << dialog;
        if (auto* s = qobject_cast<TF_SearchSalesman*>(dialog)) {
            s->SCode->setText(QStringLiteral("S004"));
            s->BSearch->click();
            s->Bok->click();
        } else if (auto* v = qobject_cast<TFrSearchFrVendor*>(dialog)) {
            v->Code->setText(QStringLiteral("Milano"));
            v->BtSearch->click();
            v->BtOk->click();
        }
    };
    for (int round = 0; round < 2; ++round) {
        owner.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&owner));
        h.focus(salesman->Salesman);
        h.whenModal(chooseFirst);
        h.press(Qt::Key_F5);
        EXPECT_EQ(salesman->Salesman->text(), QStringLiteral("S004"));
        owner.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&owner));
        h.focus(vendor->Vendor);
        h.whenModal(chooseFirst);
        vendor->BtSearch->click();
        EXPECT_EQ(vendor->Vendor->text(), QStringLiteral("FV008"));
    }
    ASSERT_EQ(dialogs.size(), 4);
    EXPECT_EQ(dialogs[0], dialogs[2]);
    EXPECT_EQ(dialogs[1], dialogs[3]);
    EXPECT_EQ(dialogs[1], FrSearchFrVendor());
}

}  // namespace
}  // namespace md::masters
