// The code-lookup box and the three lookup frames over the demo company, driven by keys.

#include "DemoFixture.h"
#include "forms/Dialogs.h"
#include "forms/Fa_GetFrVendor.h"
#include "forms/Fa_GetMisc.h"
#include "forms/Fa_GetSalesman.h"
#include "forms/KIdLookup.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidget>

namespace md::forms::test {
namespace {

class LookupTest : public DemoWindowTest {
  protected:
    void SetUp() override {
        DemoWindowTest::SetUp();
        dm->DMdata.open();
        customer.setConnection(&dm->DMdata);
        customer.setSql({QStringLiteral(
            "Select Id, Code, Country, Currency, Salesman, CustomerGroup From FrCustomer "
            "Where Code = :GetCode")});
        layout = new QVBoxLayout(&window);
        layout->addWidget(spare);
        spare->setObjectName(QStringLiteral("Spare"));
    }

    void show() { ASSERT_TRUE(h.show(&window)); }

    void openCustomer(const QString& c) {
        customer.close();
        customer.paramByName(QStringLiteral("GetCode")).setAsString(c);
        customer.open();
    }
    QVariant field(const char* f) { return customer.fieldByName(QString::fromLatin1(f)).value(); }
    qint64 miscId(const char* group, const char* code) {
        return scalar(QStringLiteral("Select Id From Misc Where GroupCode = '%1' And Code = '%2'")
                          .arg(QString::fromLatin1(group), QString::fromLatin1(code)))
            .toLongLong();
    }
    QString miscName(const char* group, const char* code) {
        return scalar(QStringLiteral(
                          "Select Description From Misc Where GroupCode = '%1' And Code = '%2'")
                          .arg(QString::fromLatin1(group), QString::fromLatin1(code)))
            .toString();
    }
    // Types a code into the box and leaves it.
    void enter(QWidget* box, const QString& text) {
        h.focus(box);
        static_cast<QLineEdit*>(box)->selectAll();
        if (text.isEmpty())
            h.press(Qt::Key_Backspace);
        else
            h.type(text);
        h.focus(spare);
    }

    data::Query customer;
    TDataSource customers{&customer};
    QWidget window;
    QVBoxLayout* layout = nullptr;
    QLineEdit* spare = new QLineEdit;
};

class KIdLookupTest : public LookupTest {
  protected:
    void SetUp() override {
        LookupTest::SetUp();
        country->K_LookupTableName = QStringLiteral("Misc");
        country->K_Filter = QStringLiteral("GroupCode='COUNTRY'");
        country->setDescriptionLabel(label);
        country->setDataSource(&customers);
        country->setDataField(QStringLiteral("Country"));
        country->setObjectName(QStringLiteral("Country"));
        layout->addWidget(country);
        layout->addWidget(label);
        show();
    }
    TKIdLookup* country = new TKIdLookup;
    QLabel* label = new QLabel;
};

TEST_F(KIdLookupTest, ShowsTheCodeAndDescriptionOfTheBoundKey) {
    openCustomer(QStringLiteral("FC001"));
    EXPECT_EQ(country->text(), QStringLiteral("JP"));
    EXPECT_EQ(label->text(), miscName("COUNTRY", "JP"));
    openCustomer(QStringLiteral("NOBODY"));
    EXPECT_TRUE(country->text().isEmpty());
    EXPECT_EQ(label->text(), QStringLiteral("-"));
}

TEST_F(KIdLookupTest, KeyIsInTheFieldBeforeTheOwnersExitHandlerRuns) {
    openCustomer(QStringLiteral("FC001"));
    QVariant seen;
    QString seenLabel;
    QObject::connect(country, &TKIdLookup::exited, &window, [&] {
        seen = field("Country");
        seenLabel = label->text();
    });
    enter(country, QStringLiteral("de"));
    EXPECT_EQ(country->text(), QStringLiteral("DE"));
    EXPECT_EQ(seen.toLongLong(), miscId("COUNTRY", "DE"));
    EXPECT_EQ(seenLabel, miscName("COUNTRY", "DE"));
    EXPECT_EQ(customer.state(), data::DataSetState::Edit);
}

TEST_F(KIdLookupTest, UnknownCodeLeavesNoKeyAndShowsDash) {
    openCustomer(QStringLiteral("FC001"));
    enter(country, QStringLiteral("ZZ"));
    EXPECT_TRUE(field("Country").isNull());
    EXPECT_EQ(label->text(), QStringLiteral("-"));
    EXPECT_EQ(country->text(), QStringLiteral("ZZ")) << "the typed text stays to be corrected";
    // A quote is only part of the code looked for.
    enter(country, QStringLiteral("J'P"));
    EXPECT_TRUE(h.errors.isEmpty()) << h.errors.join(u'\n').toStdString();
    EXPECT_TRUE(field("Country").isNull());
}

TEST_F(KIdLookupTest, FilterKeepsOutRowsOfOtherGroups) {
    openCustomer(QStringLiteral("FC001"));
    enter(country, QStringLiteral("USD"));  // a currency, not a country
    EXPECT_TRUE(field("Country").isNull());
    EXPECT_EQ(label->text(), QStringLiteral("-"));
    enter(country, QStringLiteral("US"));
    EXPECT_EQ(field("Country").toLongLong(), miscId("COUNTRY", "US"));
}

TEST_F(KIdLookupTest, EmptyBoxClearsTheKeyWhetherOrNotNullIsAllowed) {
    for (bool allowNull : {false, true}) {
        openCustomer(QStringLiteral("FC001"));
        country->K_AllowNull = allowNull;
        enter(country, QString());
        EXPECT_TRUE(field("Country").isNull());
        EXPECT_EQ(label->text(), QStringLiteral("-"));
        EXPECT_TRUE(h.errors.isEmpty());
    }
}

TEST_F(KIdLookupTest, LeavingWithoutChangeDoesNotEditTheRow) {
    openCustomer(QStringLiteral("FC001"));
    h.focus(country);
    h.focus(spare);
    EXPECT_EQ(customer.state(), data::DataSetState::Browse);
}

TEST_F(KIdLookupTest, TheCodeAFormerRowShowedIsLookedUpWhenTypedForAnEmptyRow) {
    openCustomer(QStringLiteral("FC001"));  // shows JP
    openCustomer(QStringLiteral("NOBODY"));
    enter(country, QStringLiteral("JP"));
    EXPECT_EQ(field("Country").toLongLong(), miscId("COUNTRY", "JP"));
    EXPECT_EQ(label->text(), miscName("COUNTRY", "JP"));
}

TEST_F(KIdLookupTest, PassingThroughKeepsAKeyTheFilterNoLongerAdmits) {
    country->K_Filter = QStringLiteral("GroupCode='CURRENCY'");
    openCustomer(QStringLiteral("FC001"));
    EXPECT_TRUE(country->text().isEmpty());
    EXPECT_EQ(label->text(), QStringLiteral("-"));
    h.focus(country);
    h.focus(spare);
    EXPECT_EQ(field("Country").toLongLong(), miscId("COUNTRY", "JP"));
    EXPECT_EQ(customer.state(), data::DataSetState::Browse);
}

class MiscFrameTest : public LookupTest {
  protected:
    void SetUp() override {
        LookupTest::SetUp();
        frame->EditLabel->setText(QStringLiteral(u"สกุลเงิน"));
        frame->MiscGroup = QStringLiteral("CURRENCY");
        frame->Code->K_Filter = QStringLiteral("GroupCode='CURRENCY'");
        frame->Code->setDataSource(&customers);
        frame->Code->setDataField(QStringLiteral("Currency"));
        layout->addWidget(frame);
        TFaGetMisc::setSearchRunner([this](QWidget*, const MiscSearchRequest& r) {
            requests.push_back(r);
            return answer;
        });
        show();
    }
    void TearDown() override {
        TFaGetMisc::setSearchRunner(nullptr);
        LookupTest::TearDown();
    }
    TFaGetMisc* frame = new TFaGetMisc;
    std::vector<MiscSearchRequest> requests;
    std::optional<QString> answer;
};

TEST_F(MiscFrameTest, SearchButtonWorksOnlyWhileTheBoxHasTheFocus) {
    EXPECT_FALSE(frame->BtSearch->isEnabled());
    h.focus(frame->Code);
    EXPECT_TRUE(frame->BtSearch->isEnabled());
    h.focus(spare);
    EXPECT_FALSE(frame->BtSearch->isEnabled());
}

// The focus put into the box while the window is inactive (no window manager activated it again
// after a dialog), and the window then coming to the front with the focus in the box.
TEST_F(MiscFrameTest, SearchButtonFollowsTheFocusWhetherOrNotTheWindowIsActive) {
    openCustomer(QStringLiteral("FC001"));
    QLineEdit other;
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    QApplication::setActiveWindow(&other);
    h.settle();
    ASSERT_FALSE(window.isActiveWindow());
    frame->Code->setFocus(Qt::OtherFocusReason);
    h.settle();
    EXPECT_TRUE(frame->BtSearch->isEnabled());
    // A code typed there and the box left is resolved, inactive window or not.
    frame->Code->selectAll();
    QTest::keyClicks(frame->Code, QStringLiteral("EUR"));
    spare->setFocus(Qt::OtherFocusReason);
    h.settle();
    EXPECT_FALSE(frame->BtSearch->isEnabled());
    EXPECT_EQ(field("Currency").toLongLong(), miscId("CURRENCY", "EUR"));
    // The box gets the focus back while the window is inactive; then the window is activated.
    frame->Code->setFocus(Qt::OtherFocusReason);
    QApplication::setActiveWindow(&window);
    h.settle();
    ASSERT_TRUE(window.isActiveWindow());
    EXPECT_EQ(QApplication::focusWidget(), frame->Code);
    EXPECT_TRUE(frame->BtSearch->isEnabled());
}

TEST_F(MiscFrameTest, F5SearchesTheGroupAndTheChosenCodeResolvesOnLeaving) {
    openCustomer(QStringLiteral("FC001"));
    h.focus(frame->Code);
    answer = QStringLiteral("EUR");
    h.press(Qt::Key_F5);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].caption, QStringLiteral(u"ค้นหาสกุลเงิน"));
    EXPECT_EQ(requests[0].group, QStringLiteral("CURRENCY"));
    EXPECT_EQ(requests[0].resultField, QStringLiteral("Code"));
    EXPECT_EQ(frame->Code->text(), QStringLiteral("EUR"));
    EXPECT_EQ(h.focusedName(), QStringLiteral("Code"));
    h.focus(spare);
    EXPECT_EQ(field("Currency").toLongLong(), miscId("CURRENCY", "EUR"));
    EXPECT_EQ(frame->Description->text(), miscName("CURRENCY", "EUR"));
}

TEST_F(MiscFrameTest, CancelledSearchChangesNothing) {
    openCustomer(QStringLiteral("FC001"));
    const QVariant before = field("Currency");
    h.focus(frame->Code);
    answer.reset();
    frame->BtSearch->click();
    EXPECT_EQ(requests.size(), 1u);
    EXPECT_EQ(frame->Code->text(), QStringLiteral("JPY"));
    h.focus(spare);
    EXPECT_EQ(field("Currency"), before);
    EXPECT_EQ(customer.state(), data::DataSetState::Browse);
}

TEST_F(MiscFrameTest, DesignFilterLooksInTheFramesGroup) {
    // "SERV" is both a department and a product type.
    frame->Code->K_Filter = TFaGetMisc::DesignFilter();
    frame->MiscGroup = QStringLiteral("DEPARTMENT");
    openCustomer(QStringLiteral("FC001"));
    enter(frame->Code, QStringLiteral("SERV"));
    EXPECT_TRUE(h.errors.isEmpty()) << h.errors.join(u'\n').toStdString();
    EXPECT_EQ(field("Currency").toLongLong(), miscId("DEPARTMENT", "SERV"));
}

class SalesmanFrameTest : public LookupTest {
  protected:
    void SetUp() override {
        LookupTest::SetUp();
        frame->Salesman->setDataSource(&customers);
        layout->addWidget(frame);
        show();
        openCustomer(QStringLiteral("FC001"));
    }
    qint64 salesmanId(const char* code) {
        return scalar(QStringLiteral("Select Id From Salesman Where Code = '%1'")
                          .arg(QString::fromLatin1(code)))
            .toLongLong();
    }
    TFaGetSalesman* frame = new TFaGetSalesman;
};

TEST_F(SalesmanFrameTest, OwnFilterRefusesSuspendedSalesmanAsUnknown) {
    enter(frame->Salesman, QStringLiteral("S005"));
    EXPECT_TRUE(field("Salesman").isNull());
    EXPECT_EQ(frame->SalesmanName->text(), QStringLiteral("-"));
    EXPECT_TRUE(h.prompts.shown.isEmpty());
    enter(frame->Salesman, QStringLiteral("S001"));
    EXPECT_EQ(field("Salesman").toLongLong(), salesmanId("S001"));
}

TEST_F(SalesmanFrameTest, ClearedFilterRefusesSuspendedSalesmanWithTheMessage) {
    frame->Salesman->K_Filter.clear();
    enter(frame->Salesman, QStringLiteral("s005"));
    h.settle();
    ASSERT_EQ(h.prompts.shown.size(), 1);
    EXPECT_EQ(h.prompts.shown[0], QStringLiteral(u"info: พนักงานขาย ถูกระงับไปแล้ว  !"));
    EXPECT_TRUE(frame->Salesman->text().isEmpty());
    EXPECT_TRUE(frame->SalesmanName->text().isEmpty());
    EXPECT_EQ(h.focusedName(), QStringLiteral("Salesman"));
    EXPECT_TRUE(field("Salesman").isNull()) << "the suspended salesman's key must not stay behind";

    enter(frame->Salesman, QStringLiteral("S002"));
    EXPECT_EQ(h.prompts.shown.size(), 1);
    EXPECT_EQ(field("Salesman").toLongLong(), salesmanId("S002"));
}

// The refusal as a user meets it: a real message box, after which the window is not the active
// one until something activates it, and the box that got the focus back offers its search.
TEST_F(SalesmanFrameTest, ARefusedSalesmanPutsTheFocusBackWithTheSearchButtonEnabled) {
    forms::Dialogs dialogs;
    data::setPrompts(&dialogs);
    frame->Salesman->K_Filter.clear();
    QString shown;
    h.whenModal([&](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        ASSERT_NE(box, nullptr);
        shown = box->text();
        box->button(QMessageBox::Ok)->click();
    });
    enter(frame->Salesman, QStringLiteral("S005"));
    data::setPrompts(&h.prompts);
    EXPECT_EQ(shown, TFaGetSalesman::SuspendedText());
    EXPECT_EQ(window.focusWidget(), frame->Salesman);
    EXPECT_TRUE(frame->BtSearchSalesman->isEnabled());
    QApplication::setActiveWindow(&window);
    h.settle();
    EXPECT_TRUE(frame->BtSearchSalesman->isEnabled());
}

class VendorFrameTest : public LookupTest {
  protected:
    void SetUp() override {
        LookupTest::SetUp();
        layout->addWidget(frame);
        show();
    }
    TFaGetFrVendor* frame = new TFaGetFrVendor;
};

TEST_F(VendorFrameTest, EmptyBoxIssuesNoQueryAndACodeReadsTheTerms) {
    enter(frame->Vendor, QString());
    EXPECT_FALSE(frame->QVendor.isOpen());
    enter(frame->Vendor, QStringLiteral("FV001"));
    ASSERT_TRUE(frame->QVendor.isOpen());
    ASSERT_FALSE(frame->QVendor.isEmpty());
    EXPECT_EQ(frame->QVendor.fieldByName(QStringLiteral("Code")).asString(),
              QStringLiteral("FV001"));
    EXPECT_EQ(frame->VendorName->text(), QStringLiteral("Guangzhou Breeze Electric Co., Ltd."));
    // The unbound box keeps the key itself.
    EXPECT_EQ(frame->Vendor->KeyValue().toLongLong(),
              scalar(QStringLiteral("Select Id From FrVendor Where Code = 'FV001'")).toLongLong());
}

}  // namespace
}  // namespace md::forms::test
