// The foreign vendor and foreign customer windows over the demo company, driven by keys: a new
// partner with every field, the save checks in their order, the terms reset on every save with
// the unshown columns kept, refusals rolled back with their audit row and explained in Thai, and
// F5 in each box opening its search.

#include "tests/forms/DemoFixture.h"

#include "errors/ConfigErrorRecorder.h"
#include "errors/ErrorHandler.h"
#include "errors/Fr_ShowError.h"
#include "errors/TApplication.h"
#include "masters/Fr_FrCustomer.h"
#include "masters/Fr_FrVendor.h"
#include "masters/Fr_SearchCustomerGroup.h"
#include "masters/Fr_SearchFrCustomer.h"
#include "masters/Fr_SearchFrVendor.h"
#include "masters/Fr_SearchMisc.h"
#include "masters/Fr_SearchVendorGroup.h"
#include "masters/LookupSearches.h"

#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

using md::forms::test::DemoWindowTest;

namespace md::masters {
namespace {

QString s(const char16_t* t) {
    return QString::fromUtf16(t);
}

template <class Window>
class PartnerWindow : public DemoWindowTest {
  protected:
    void open(int menuId, const QString& caption) {
        installLookupSearches();
        config.MenuId = menuId;
        config.MenuCaption = caption;
        w = std::make_unique<Window>();
        ASSERT_TRUE(h.show(w.get()));
        ASSERT_TRUE(h.errors.isEmpty()) << h.errors.join(u'\n').toStdString();
    }
    void TearDown() override {
        w.reset();
        releaseLookupSearches();
        DemoWindowTest::TearDown();
    }
    void enterCode(const QString& code) {
        h.type(code);
        h.press(Qt::Key_Return);
    }
    // Types into the focused field and goes on with Enter.
    void fill(const QString& text) {
        h.type(text);
        h.press(Qt::Key_Return);
    }
    void save(bool yes = true) {
        h.prompts.answer({yes});
        h.press(Qt::Key_F10);
    }
    QString lastAudit() {
        return scalar(QStringLiteral("Select Top 1 Convert(varchar(10), FunctionListId) + '/' + "
                                     "Convert(varchar(10), DocumentId) + '/' + Remark From "
                                     "UserLog Order By Id Desc"))
            .toString();
    }
    QVariant column(const QString& table, const QString& column, const QString& code) {
        return scalar(
            QStringLiteral("Select %1 From %2 Where Code = '%3'").arg(column, table, code));
    }
    qint64 idIn(const QString& table, const QString& code) {
        return column(table, QStringLiteral("Id"), code).toLongLong();
    }
    qint64 miscId(const char* group, const char* code) {
        return scalar(QStringLiteral("Select Id From Misc Where GroupCode = '%1' And Code = '%2'")
                          .arg(QString::fromLatin1(group), QString::fromLatin1(code)))
            .toLongLong();
    }
    void setPicture(const QString& table, const QString& code, const QByteArray& bytes) {
        data::Query q(&dm->DMdata,
                      {QStringLiteral("Update %1 Set Picture = :P Where Code = :C").arg(table)});
        q.paramByName(QStringLiteral("P")).setValue(bytes);
        q.paramByName(QStringLiteral("C")).setValue(code);
        q.execSql();
    }
    // Today and yesterday as yyyy-mm-dd, so a test run across midnight still holds.
    bool isToday(const QString& isoDate) {
        const QDate today = QDate::currentDate();
        return isoDate == today.toString(Qt::ISODate) ||
               isoDate == today.addDays(-1).toString(Qt::ISODate);
    }

    std::unique_ptr<Window> w;
};

class Vendor : public PartnerWindow<TFrFrVendor> {
  protected:
    void SetUp() override {
        PartnerWindow::SetUp();
        open(103, s(u"เจ้าหนี้ต่างประเทศ"));
    }
    QVariant vendor(const char* col, const QString& code) {
        return column(QStringLiteral("FrVendor"), QString::fromLatin1(col), code);
    }
};

TEST_F(Vendor, ANewVendorWithEveryFieldIsSavedWithTodaysTermsAndItsAuditRow) {
    EXPECT_EQ(w->windowTitle(), s(u"เจ้าหนี้ต่างประเทศ"));
    EXPECT_EQ(w->statusText(0), config.CompanyNameThai);
    EXPECT_EQ(w->FaGetMisc1->MiscGroup, QStringLiteral("COUNTRY"));
    EXPECT_EQ(w->FaGetMisc2->MiscGroup, QStringLiteral("CURRENCY"));
    enterCode(QStringLiteral("fv900"));
    EXPECT_FALSE(w->AcDel->isEnabled());
    EXPECT_FALSE(w->MasterCode->isEnabled());
    EXPECT_EQ(h.focused(), w->Description);
    // The name cannot be typed longer than its column.
    h.type(QString(110, u'n'));
    EXPECT_EQ(w->Description->text().size(), 100);
    w->Description->clear();
    fill(QStringLiteral("Hamburg Mechanik GmbH"));
    EXPECT_EQ(h.focused(), w->VendorGroup);
    fill(QStringLiteral("fv-euro"));
    EXPECT_EQ(w->VendorGroupName->text(), s(u"เจ้าหนี้ต่างประเทศ ยุโรป"));
    EXPECT_EQ(h.focused(), w->Attention);
    fill(QStringLiteral("Ms. Keller"));
    fill(QStringLiteral("7 Hafenstrasse"));
    fill(QStringLiteral("Hamburg"));
    fill(QString());
    EXPECT_EQ(h.focused(), w->FaGetMisc1->Code);
    fill(QStringLiteral("DE"));
    fill(QStringLiteral("20095"));
    fill(QStringLiteral("+49 40 1234"));
    fill(QStringLiteral("+49 40 1235"));
    EXPECT_EQ(h.focused(), w->FaGetMisc2->Code);
    fill(QStringLiteral("EUR"));
    fill(s(u"ส่งทางเรือ"));
    fill(QStringLiteral("info@mechanik.example"));
    h.type(QStringLiteral("www.mechanik.example"));
    h.press(Qt::Key_Return);
    EXPECT_EQ(h.focused(), w->Description) << "the Enter walk wraps past the locked code";

    save(false);
    EXPECT_EQ(h.prompts.shown, QStringList{s(u"yesno: จัดเก็บข้อมูล ?")});
    EXPECT_EQ(idIn(QStringLiteral("FrVendor"), QStringLiteral("FV900")), 0);
    save();
    ASSERT_TRUE(h.errors.isEmpty()) << h.errors.join(u'\n').toStdString();
    const QString code = QStringLiteral("FV900");
    EXPECT_EQ(lastAudit(), QStringLiteral("1/0/FV900"));
    EXPECT_EQ(vendor("Name", code).toString(), QStringLiteral("Hamburg Mechanik GmbH"));
    EXPECT_EQ(
        vendor("VendorGroup", code).toLongLong(),
        scalar(QStringLiteral("Select Id From VendorGroup Where Code = 'FV-EURO'")).toLongLong());
    EXPECT_EQ(vendor("Attention", code).toString(), QStringLiteral("Ms. Keller"));
    EXPECT_EQ(vendor("Address2", code).toString(), QStringLiteral("Hamburg"));
    EXPECT_TRUE(vendor("Address3", code).toString().isEmpty());
    EXPECT_EQ(vendor("Country", code).toLongLong(), miscId("COUNTRY", "DE"));
    EXPECT_EQ(vendor("ZipCode", code).toString(), QStringLiteral("20095"));
    EXPECT_EQ(vendor("FaxNO", code).toString(), QStringLiteral("+49 40 1235"));
    EXPECT_EQ(vendor("Currency", code).toLongLong(), miscId("CURRENCY", "EUR"));
    EXPECT_EQ(vendor("Remark", code).toString(), s(u"ส่งทางเรือ"));
    EXPECT_EQ(vendor("EMail", code).toString(), QStringLiteral("info@mechanik.example"));
    EXPECT_EQ(vendor("Website", code).toString(), QStringLiteral("www.mechanik.example"));
    EXPECT_TRUE(isToday(vendor("Convert(varchar(10), OpenAccount, 120)", code).toString()));
    EXPECT_EQ(vendor("Convert(varchar(8), OpenAccount, 108)", code).toString(),
              QStringLiteral("00:00:00"));
    EXPECT_EQ(vendor("DueDays", code).toInt(), 0);
    EXPECT_EQ(vendor("CreditLimit", code).toString().toDouble(), 0.0);
    EXPECT_TRUE(w->MasterCode->isEnabled());
    EXPECT_EQ(h.focused(), w->MasterCode);
}

TEST_F(Vendor, EachSaveCheckStopsAtItsFieldAndAnUnknownCodeCountsAsMissing) {
    const qint64 audits = auditRows();
    enterCode(QStringLiteral("FV901"));
    // Everything is missing: only the first message.
    h.press(Qt::Key_F10);
    EXPECT_EQ(h.prompts.shown, QStringList{s(u"message: ยังไม่ได้กำหนดชื่อเจ้าหนี้")});
    EXPECT_EQ(h.focused(), w->Description);
    fill(QStringLiteral("Test Vendor"));
    h.press(Qt::Key_F10);
    EXPECT_EQ(h.prompts.shown.last(), s(u"message: ยังไม่ได้กำหนดกลุ่มเจ้าหนี้"));
    EXPECT_EQ(h.focused(), w->VendorGroup);
    // A group code that names no group leaves the box unresolved: still missing.
    fill(QStringLiteral("NOSUCH"));
    EXPECT_EQ(w->VendorGroupName->text(), QStringLiteral("-"));
    h.press(Qt::Key_F10);
    EXPECT_EQ(h.prompts.shown.last(), s(u"message: ยังไม่ได้กำหนดกลุ่มเจ้าหนี้"));
    EXPECT_EQ(h.focused(), w->VendorGroup);
    w->VendorGroup->selectAll();
    // Typed and saved without leaving the box: the code on screen is the one checked.
    h.type(QStringLiteral("FV-ASIA"));
    h.press(Qt::Key_F10);
    EXPECT_EQ(h.prompts.shown.last(), s(u"message: ยังไม่ได้ประเทศ"));
    EXPECT_EQ(h.focused(), w->FaGetMisc1->Code);
    EXPECT_EQ(w->VendorGroupName->text(), s(u"เจ้าหนี้ต่างประเทศ เอเชีย"));
    h.type(QStringLiteral("USD"));  // a currency, not a country
    h.press(Qt::Key_F10);
    EXPECT_EQ(h.prompts.shown.last(), s(u"message: ยังไม่ได้ประเทศ"));
    w->FaGetMisc1->Code->selectAll();
    h.type(QStringLiteral("JP"));
    h.press(Qt::Key_F10);
    EXPECT_EQ(h.prompts.shown.last(), s(u"message: ยังไม่ได้สกุลเงิน"));
    EXPECT_EQ(h.focused(), w->FaGetMisc2->Code);
    EXPECT_EQ(auditRows(), audits);
    EXPECT_EQ(idIn(QStringLiteral("FrVendor"), QStringLiteral("FV901")), 0);
    h.type(QStringLiteral("JPY"));
    save();
    ASSERT_TRUE(h.errors.isEmpty()) << h.errors.join(u'\n').toStdString();
    EXPECT_EQ(vendor("Currency", QStringLiteral("FV901")).toLongLong(), miscId("CURRENCY", "JPY"));
}

TEST_F(Vendor, AVendorOpenedYearsAgoIsSavedWithTermsResetAndItsPictureKept) {
    const QString code = QStringLiteral("FV002");
    setPicture(QStringLiteral("FrVendor"), code, QByteArray::fromHex("00ff10fe20"));
    const QString openedBefore = vendor("Convert(varchar(10), OpenAccount, 120)", code).toString();
    ASSERT_FALSE(isToday(openedBefore));
    ASSERT_EQ(vendor("DueDays", code).toInt(), 30);
    enterCode(code);
    EXPECT_TRUE(w->AcDel->isEnabled());
    EXPECT_EQ(w->Description->text(), QStringLiteral("Osaka Kitchenware Corporation"));
    EXPECT_EQ(w->FaGetMisc1->Code->text(), QStringLiteral("JP"));
    h.focus(w->Remark);
    h.type(QStringLiteral("checked"));
    // Answered No: the terms are reset in the record on screen, nothing is written.
    save(false);
    EXPECT_EQ(w->QMaster.fieldByName(QStringLiteral("DueDays")).asInteger(), 0);
    EXPECT_EQ(w->QMaster.fieldByName(QStringLiteral("OpenAccount")).asDateTime().time(),
              QTime(0, 0));
    EXPECT_EQ(vendor("DueDays", code).toInt(), 30);
    save();
    ASSERT_TRUE(h.errors.isEmpty()) << h.errors.join(u'\n').toStdString();
    EXPECT_EQ(lastAudit(),
              QStringLiteral("2/%1/FV002").arg(idIn(QStringLiteral("FrVendor"), code)));
    EXPECT_TRUE(isToday(vendor("Convert(varchar(10), OpenAccount, 120)", code).toString()));
    EXPECT_EQ(vendor("DueDays", code).toInt(), 0);
    EXPECT_EQ(vendor("CreditLimit", code).toString().toDouble(), 0.0);
    EXPECT_EQ(vendor("Remark", code).toString(), QStringLiteral("checked"));
    EXPECT_EQ(vendor("Picture", code).toByteArray(), QByteArray::fromHex("00ff10fe20"));
    EXPECT_EQ(vendor("EMail", code).toString(), QStringLiteral("sales2@vendor.example"));
}

// The refusals as the user meets them: the program's error handler logs each and shows it in
// the red dialog with the Thai explanation; no audit row stays, the entries stay on screen.
TEST_F(Vendor, ARefusedDeleteAndARefusedSaveKeepTheEntriesAndLeaveNoAuditRow) {
    md::errors::ConfigErrorRecorder recorder(&config);
    md::errors::ErrorHandler handler(&recorder);
    auto* app = qobject_cast<md::errors::TApplication*>(qApp);
    ASSERT_NE(app, nullptr);
    app->setErrorHandler([&](const QString& message) { handler.HandleError(message); });
    QStringList shown;
    auto closeError = [&] {
        h.whenModal([&](QWidget* dialog) {
            auto* error = qobject_cast<md::errors::TFrShowError*>(dialog);
            ASSERT_NE(error, nullptr);
            shown << error->ErrorBox->toPlainText();
            error->BCancel->click();
        });
    };
    const qint64 audits = auditRows();
    enterCode(QStringLiteral("FV001"));  // its part sources reference it
    closeError();
    h.prompts.answer({true});
    h.press(Qt::Key_F8);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].startsWith(s(u"ข้อมูลที่ลบถูกอ้างโดยข้อมูลอื่น ไม่สามารถลบข้อมูลนี้ได้")))
        << shown[0].toStdString();
    EXPECT_EQ(auditRows(), audits);
    EXPECT_NE(idIn(QStringLiteral("FrVendor"), QStringLiteral("FV001")), 0);
    EXPECT_EQ(w->Description->text(), QStringLiteral("Guangzhou Breeze Electric Co., Ltd."));
    EXPECT_EQ(w->VendorGroup->text(), QStringLiteral("FV-ASIA"));
    EXPECT_TRUE(w->AcDel->isEnabled());

    h.press(Qt::Key_F3);
    enterCode(QStringLiteral("FV950"));
    fill(QStringLiteral("Mine"));
    fill(QStringLiteral("FV-ASIA"));
    h.focus(w->FaGetMisc1->Code);
    fill(QStringLiteral("CN"));
    h.focus(w->FaGetMisc2->Code);
    fill(QStringLiteral("CNY"));
    // Someone else saves the same code meanwhile.
    exec(
        QStringLiteral("Insert Into FrVendor (Code, VendorGroup, Name, Country, Currency) "
                       "Select 'FV950', 1, 'Theirs', Country, Currency From FrVendor "
                       "Where Code = 'FV001'"));
    closeError();
    save();
    app->setErrorHandler(nullptr);
    ASSERT_EQ(shown.size(), 2) << h.prompts.shown.join(u'|').toStdString();
    EXPECT_TRUE(shown[1].startsWith(s(u"ข้อมูลที่เพิ่มซ้ำกับข้อมูลที่มีอยู่แล้ว"))) << shown[1].toStdString();
    EXPECT_EQ(auditRows(), audits);
    EXPECT_EQ(w->Description->text(), QStringLiteral("Mine"));
    EXPECT_EQ(w->FaGetMisc2->Code->text(), QStringLiteral("CNY"));
    EXPECT_TRUE(w->AcSave->isEnabled());
    EXPECT_EQ(vendor("Name", QStringLiteral("FV950")).toString(), QStringLiteral("Theirs"));
}

TEST_F(Vendor, F5InEachBoxOpensItsSearch) {
    // The code: the foreign-vendor search; the chosen vendor loads when the box is left.
    QString title;
    h.whenModal([&](QWidget* dialog) {
        ASSERT_NE(qobject_cast<TFrSearchFrVendor*>(dialog), nullptr);
        h.type(QStringLiteral("osaka"));
        h.press(Qt::Key_Return);
        h.press(Qt::Key_Return);
    });
    h.press(Qt::Key_F5);
    EXPECT_EQ(w->MasterCode->text(), QStringLiteral("FV002"));
    EXPECT_EQ(h.focused(), w->MasterCode);
    EXPECT_TRUE(w->isActiveWindow());
    h.press(Qt::Key_Return);
    EXPECT_EQ(w->Description->text(), QStringLiteral("Osaka Kitchenware Corporation"));

    // The group: every group at once, names beginning with the text, a quote or "%" only text.
    h.focus(w->VendorGroup);
    QStringList listed;
    h.whenModal([&](QWidget* dialog) {
        auto* search = qobject_cast<TFrSearchVendorGroup*>(dialog);
        ASSERT_NE(search, nullptr);
        title = search->windowTitle();
        listed << QString::number(search->QSearch.recordCount());
        for (const char* text : {"%", "'", "ยุโรป"}) {
            search->Name->setFocus();
            search->Name->setText(QString::fromUtf8(text));
            h.press(Qt::Key_Return);
            listed << QString::number(search->QSearch.recordCount());
        }
        search->Name->setFocus();
        search->Name->setText(s(u"เจ้าหนี้ต่างประเทศ ย"));
        h.press(Qt::Key_Return);
        h.press(Qt::Key_Return);  // the grid has the focus: choose
    });
    h.press(Qt::Key_F5);
    EXPECT_EQ(title, s(u"ค้นหากลุ่มเจ้าหนี้"));
    EXPECT_EQ(listed, (QStringList{QStringLiteral("4"), QStringLiteral("0"), QStringLiteral("0"),
                                   QStringLiteral("0")}));
    EXPECT_EQ(w->VendorGroup->text(), QStringLiteral("FV-EURO"));
    EXPECT_EQ(h.focused(), w->VendorGroup);
    h.press(Qt::Key_Return);
    EXPECT_EQ(w->VendorGroupName->text(), s(u"เจ้าหนี้ต่างประเทศ ยุโรป"));
    // Choosing on an empty list empties the box.
    h.focus(w->VendorGroup);
    h.whenModal([&](QWidget* dialog) {
        auto* search = qobject_cast<TFrSearchVendorGroup*>(dialog);
        ASSERT_NE(search, nullptr);
        search->Name->setText(QStringLiteral("zzz"));
        search->BtSearch->click();
        search->BtSelect->click();
    });
    h.press(Qt::Key_F5);
    EXPECT_TRUE(w->VendorGroup->text().isEmpty());

    // The country and the currency: the miscellaneous-code search of their group.
    for (forms::TFaGetMisc* frame : {w->FaGetMisc1, w->FaGetMisc2}) {
        h.focus(frame->Code);
        EXPECT_TRUE(frame->BtSearch->isEnabled());
        QString group;
        h.whenModal([&](QWidget* dialog) {
            auto* search = qobject_cast<TFrSearchMisc*>(dialog);
            ASSERT_NE(search, nullptr);
            title = search->windowTitle();
            group = search->MiscGroup;
            h.press(Qt::Key_Escape);
        });
        h.press(Qt::Key_F5);
        EXPECT_EQ(title, QStringLiteral(u"ค้นหา") + frame->EditLabel->text());
        EXPECT_EQ(group, frame->MiscGroup);
    }
    EXPECT_TRUE(h.errors.isEmpty()) << h.errors.join(u'\n').toStdString();
}

class Customer : public PartnerWindow<TFrFrCustomer> {
  protected:
    void SetUp() override {
        PartnerWindow::SetUp();
        open(104, s(u"ลูกค้าต่างประเทศ"));
    }
    QVariant customer(const char* col, const QString& code) {
        return column(QStringLiteral("FrCustomer"), QString::fromLatin1(col), code);
    }
};

TEST_F(Customer, ANewCustomerIsSavedNotBlockedAndEachCheckStopsAtItsField) {
    enterCode(QStringLiteral("FC900"));
    h.press(Qt::Key_F10);
    EXPECT_EQ(h.prompts.shown.last(), s(u"message: ยังไม่ได้กำหนด ชื่อลูกค้า"));
    EXPECT_EQ(h.focused(), w->Description);
    fill(QStringLiteral("Oslo Interiors AS"));
    h.press(Qt::Key_F10);
    EXPECT_EQ(h.prompts.shown.last(), s(u"message: ยังไม่ได้กำหนด รหัสกลุ่มลูกค้า"));
    EXPECT_EQ(h.focused(), w->CustomerGroup);
    fill(QStringLiteral("FC-EURO"));
    EXPECT_EQ(w->CustomerGroupName->text(), s(u"ลูกค้าต่างประเทศ ยุโรป"));
    fill(QStringLiteral("Mr. Berg"));
    fill(QStringLiteral("1 Fjordgata"));
    fill(QStringLiteral("Oslo"));
    fill(QString());
    EXPECT_EQ(h.focused(), w->FaGetMisc1->Code);
    h.press(Qt::Key_F10);
    EXPECT_EQ(h.prompts.shown.last(), s(u"message: ยังไม่ได้กำหนด ประเทศ"));
    EXPECT_EQ(h.focused(), w->FaGetMisc1->Code);
    fill(QStringLiteral("DE"));
    fill(QStringLiteral("0150"));
    fill(QStringLiteral("+47 22 00"));
    fill(QString());
    EXPECT_EQ(h.focused(), w->FaGetMisc2->Code);
    h.press(Qt::Key_F10);
    EXPECT_EQ(h.prompts.shown.last(), s(u"message: ยังไม่ได้กำหนด สกุลเงิน"));
    fill(QStringLiteral("EUR"));
    EXPECT_EQ(h.focused(), w->FaGetSalesman1->Salesman);
    h.press(Qt::Key_F10);
    EXPECT_EQ(h.prompts.shown.last(), s(u"message: ยังไม่ได้ป้อนรหัสพนักงานขาย"));
    EXPECT_EQ(h.focused(), w->FaGetSalesman1->Salesman);
    // The frame's own filter refuses a suspended salesman as an unknown code.
    fill(QStringLiteral("S005"));
    h.press(Qt::Key_F10);
    EXPECT_EQ(h.prompts.shown.last(), s(u"message: ยังไม่ได้ป้อนรหัสพนักงานขาย"));
    w->FaGetSalesman1->Salesman->selectAll();
    fill(QStringLiteral("S002"));
    EXPECT_EQ(h.focused(), w->Remark);
    h.type(QStringLiteral("new market"));
    const qint64 audits = auditRows();
    save();
    ASSERT_TRUE(h.errors.isEmpty()) << h.errors.join(u'\n').toStdString();
    EXPECT_EQ(auditRows(), audits + 1);
    EXPECT_EQ(lastAudit(), QStringLiteral("1/0/FC900"));
    const QString code = QStringLiteral("FC900");
    EXPECT_EQ(customer("Name", code).toString(), QStringLiteral("Oslo Interiors AS"));
    EXPECT_EQ(customer("Country", code).toLongLong(), miscId("COUNTRY", "DE"));
    EXPECT_EQ(customer("Currency", code).toLongLong(), miscId("CURRENCY", "EUR"));
    EXPECT_EQ(customer("Salesman", code).toLongLong(),
              scalar(QStringLiteral("Select Id From Salesman Where Code = 'S002'")).toLongLong());
    EXPECT_EQ(customer("Blocked", code).toString(), QStringLiteral("N"));
    EXPECT_EQ(customer("DueDays", code).toInt(), 0);
    EXPECT_EQ(customer("PhoneNo", code).toString(), QStringLiteral("+47 22 00"));
    EXPECT_EQ(customer("Remark", code).toString(), QStringLiteral("new market"));

    // And deleted again, with its audit row.
    const qint64 id = idIn(QStringLiteral("FrCustomer"), code);
    enterCode(code);
    EXPECT_TRUE(w->AcDel->isEnabled());
    h.prompts.answer({true});
    h.press(Qt::Key_F8);
    EXPECT_EQ(h.prompts.shown.last(), s(u"yesno: ลบข้อมูล ?"));
    EXPECT_EQ(lastAudit(), QStringLiteral("3/%1/").arg(id));
    EXPECT_EQ(idIn(QStringLiteral("FrCustomer"), code), 0);
}

TEST_F(Customer, ABlockedCustomerIsUnblockedOnSaveWithItsEMailAndPictureKept) {
    const QString code = QStringLiteral("FC009");
    setPicture(QStringLiteral("FrCustomer"), code, QByteArray::fromHex("0102030405"));
    ASSERT_EQ(customer("Blocked", code).toString(), QStringLiteral("Y"));
    enterCode(code);
    EXPECT_FALSE(w->FaGetSalesman1->Salesman->text().isEmpty());
    save();
    ASSERT_TRUE(h.errors.isEmpty()) << h.errors.join(u'\n').toStdString();
    EXPECT_EQ(lastAudit(),
              QStringLiteral("2/%1/FC009").arg(idIn(QStringLiteral("FrCustomer"), code)));
    EXPECT_EQ(customer("Blocked", code).toString(), QStringLiteral("N"));
    EXPECT_EQ(customer("DueDays", code).toInt(), 0);
    EXPECT_EQ(customer("CreditLimit", code).toString().toDouble(), 0.0);
    EXPECT_EQ(customer("EMail", code).toString(), QStringLiteral("buyer9@customer.example"));
    EXPECT_EQ(customer("Picture", code).toByteArray(), QByteArray::fromHex("0102030405"));
}

TEST_F(Customer, AClearedSalesmanFilterRefusesTheSuspendedSalesmanWithTheMessage) {
    w->FaGetSalesman1->Salesman->K_Filter.clear();
    enterCode(QStringLiteral("FC001"));
    h.focus(w->FaGetSalesman1->Salesman);
    w->FaGetSalesman1->Salesman->selectAll();
    fill(QStringLiteral("S005"));
    EXPECT_EQ(h.prompts.shown.last(), s(u"info: พนักงานขาย ถูกระงับไปแล้ว  !"));
    EXPECT_TRUE(w->FaGetSalesman1->Salesman->text().isEmpty());
    EXPECT_EQ(h.focused(), w->FaGetSalesman1->Salesman);
    EXPECT_TRUE(w->FaGetSalesman1->BtSearchSalesman->isEnabled());
    h.press(Qt::Key_F10);
    EXPECT_EQ(h.prompts.shown.last(), s(u"message: ยังไม่ได้ป้อนรหัสพนักงานขาย"));
}

TEST_F(Customer, F5OpensTheCustomerAndTheGroupSearches) {
    QString title;
    QStringList found;
    h.whenModal([&](QWidget* dialog) {
        auto* search = qobject_cast<TFrSearchFrCustomer*>(dialog);
        ASSERT_NE(search, nullptr);
        title = search->windowTitle();
        EXPECT_FALSE(search->QSearch.isOpen()) << "nothing is listed until the user searches";
        for (const char* text : {"%", "'", "_"}) {
            search->Code->setText(QString::fromLatin1(text));
            search->BtSearch->click();
            found << QString::number(search->QSearch.isEmpty() ? 0 : 1);
        }
        search->Code->setFocus();
        search->Code->setText(QStringLiteral("OKYO HOME"));  // contained in the name
        h.press(Qt::Key_Return);
        h.press(Qt::Key_Return);
    });
    h.press(Qt::Key_F5);
    EXPECT_EQ(title, s(u"ค้นหาลูกค้าต่างประเทศ"));
    EXPECT_EQ(found, (QStringList{QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")}));
    EXPECT_EQ(w->MasterCode->text(), QStringLiteral("FC001"));
    h.press(Qt::Key_Return);
    EXPECT_EQ(w->Description->text(), QStringLiteral("Tokyo Home Retail K.K."));

    h.press(Qt::Key_Return);
    EXPECT_EQ(h.focused(), w->CustomerGroup);
    h.whenModal([&](QWidget* dialog) {
        auto* search = qobject_cast<TFrSearchCustomerGroup*>(dialog);
        ASSERT_NE(search, nullptr);
        title = search->windowTitle();
        found = QStringList{QString::number(search->QSearch.recordCount())};
        search->Name->setText(s(u"ตัวแทน"));
        search->BtSearch->click();
        h.press(Qt::Key_Return);
    });
    h.press(Qt::Key_F5);
    EXPECT_EQ(title, s(u"ค้นหากลุ่มลูกหนี้"));
    EXPECT_EQ(found, QStringList{QStringLiteral("4")});
    EXPECT_EQ(w->CustomerGroup->text(), QStringLiteral("FC-AGENT"));
    EXPECT_TRUE(h.errors.isEmpty()) << h.errors.join(u'\n').toStdString();
}

}  // namespace
}  // namespace md::masters
