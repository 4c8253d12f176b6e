// The import expense and import lot windows over the demo company, driven by keys: the plain
// questions, the audit rows (remark only for an added row), the search on F5, the one-way Active
// flag of a lot, the effective date as a whole day or empty, English captions, the server's
// refusals rolled back with their audit row and bad input refused.

#include "tests/forms/DemoFixture.h"

#include "errors/ConfigErrorRecorder.h"
#include "errors/ErrorHandler.h"
#include "errors/Fr_ShowError.h"
#include "errors/TApplication.h"
#include "forms/Fr_SimpleSearch.h"
#include "masters/Fr_ImportExpense.h"
#include "masters/Fr_ImportLotNo.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

using md::forms::test::DemoWindowTest;
using md::masters::TFrImportExpense;
using md::masters::TFrImportLotNo;

namespace {

QString s(const char16_t* t) {
    return QString::fromUtf16(t);
}

template <class Window>
class ImportWindow : public DemoWindowTest {
  protected:
    void open(int menuId, const QString& caption) {
        config.MenuId = menuId;
        config.MenuCaption = caption;
        w = std::make_unique<Window>();
        ASSERT_TRUE(h.show(w.get()));
        ASSERT_TRUE(h.errors.isEmpty()) << h.errors.join(u'\n').toStdString();
    }
    void TearDown() override {
        w.reset();
        DemoWindowTest::TearDown();
    }
    void enterCode(const QString& code) {
        h.type(code);
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
    bool waitingForCode() {
        return w->Code->isEnabled() && w->BtSearchCode->isEnabled() && !w->AcSave->isEnabled() &&
               !w->AcDel->isEnabled() && h.focused() == w->Code;
    }

    std::unique_ptr<Window> w;
};

class ImportExpense : public ImportWindow<TFrImportExpense> {
  protected:
    void SetUp() override {
        ImportWindow::SetUp();
        open(101, s(u"ค่าใช้จ่ายในการนำเข้า"));
    }
};

TEST_F(ImportExpense, AddChangeAndDeleteWriteTheirAuditRowsAfterThePlainQuestion) {
    EXPECT_EQ(w->windowTitle(), s(u"ค่าใช้จ่ายในการนำเข้า"));
    EXPECT_EQ(w->statusText(0), config.CompanyNameThai);
    EXPECT_TRUE(waitingForCode());

    enterCode(QStringLiteral("port"));
    EXPECT_FALSE(w->AcDel->isEnabled());
    // The description cannot be typed longer than its column.
    h.type(QString(70, u'x'));
    EXPECT_EQ(w->Description->text().size(), 60);
    w->Description->clear();
    h.type(s(u"ค่าภาระท่าเรือ"));
    save(false);
    EXPECT_EQ(h.prompts.shown, QStringList{s(u"plain: บันทึกค่าใช้จ่ายในการนำเข้า ?")});
    EXPECT_TRUE(column(QStringLiteral("ImpExpense"), QStringLiteral("Id"), QStringLiteral("PORT"))
                    .isNull());
    save();
    ASSERT_TRUE(h.errors.isEmpty()) << h.errors.join(u'\n').toStdString();
    EXPECT_EQ(lastAudit(), QStringLiteral("1/0/PORT"));
    const qint64 id =
        column(QStringLiteral("ImpExpense"), QStringLiteral("Id"), QStringLiteral("PORT"))
            .toLongLong();
    ASSERT_GT(id, 0);
    EXPECT_TRUE(waitingForCode());

    enterCode(QStringLiteral("PORT"));
    EXPECT_TRUE(w->AcDel->isEnabled());
    EXPECT_EQ(w->Description->text(), s(u"ค่าภาระท่าเรือ"));
    h.type(QStringLiteral(" 2"));
    save();
    EXPECT_EQ(lastAudit(), QStringLiteral("2/%1/").arg(id));
    EXPECT_EQ(
        column(QStringLiteral("ImpExpense"), QStringLiteral("Description"), QStringLiteral("PORT"))
            .toString(),
        s(u"ค่าภาระท่าเรือ 2"));

    enterCode(QStringLiteral("PORT"));
    h.prompts.answer({true});
    h.press(Qt::Key_F8);
    EXPECT_EQ(h.prompts.shown.last(), s(u"plain: ลบค่าใช้จ่ายในการนำเข้า ?"));
    EXPECT_EQ(lastAudit(), QStringLiteral("3/%1/").arg(id));
    EXPECT_TRUE(column(QStringLiteral("ImpExpense"), QStringLiteral("Id"), QStringLiteral("PORT"))
                    .isNull());
    EXPECT_TRUE(waitingForCode());
}

TEST_F(ImportExpense, RefusalsLeaveNoAuditRowAndKeepTheEntries) {
    const qint64 audits = auditRows();
    enterCode(QStringLiteral("DUP9"));
    h.type(QStringLiteral("mine"));
    exec(QStringLiteral("Insert Into ImpExpense (Code, Description) Values ('DUP9', 'theirs')"));
    save();
    ASSERT_EQ(h.errors.size(), 1);
    EXPECT_TRUE(h.errors.at(0).contains(QStringLiteral("duplicate"), Qt::CaseInsensitive));
    EXPECT_EQ(auditRows(), audits);
    EXPECT_EQ(w->Code->text(), QStringLiteral("DUP9"));
    EXPECT_EQ(w->Description->text(), QStringLiteral("mine"));
    EXPECT_TRUE(w->AcSave->isEnabled());

    h.press(Qt::Key_F3);
    enterCode(QStringLiteral("FREIGHT"));  // booked on import lots
    h.prompts.answer({true});
    h.press(Qt::Key_F8);
    ASSERT_EQ(h.errors.size(), 2);
    EXPECT_TRUE(h.errors.at(1).contains(QStringLiteral("REFERENCE")));
    EXPECT_EQ(auditRows(), audits);
    EXPECT_EQ(w->Description->text(), s(u"ค่าระวางเรือ"));
    EXPECT_TRUE(w->AcDel->isEnabled());
}

TEST_F(ImportExpense, BlankCodesStartNothingAndF5SearchesTheTable) {
    h.type(QStringLiteral("   "));
    h.press(Qt::Key_Return);
    EXPECT_FALSE(w->AcSave->isEnabled());
    h.press(Qt::Key_F10);
    EXPECT_TRUE(h.prompts.shown.isEmpty());

    h.focus(w->Code);
    w->Code->clear();
    QString title;
    h.whenModal([&](QWidget*) {
        title = md::forms::FrSimpleSearch()->windowTitle();
        h.type(s(u"ประกัน"));
        h.press(Qt::Key_Return);  // search
        h.press(Qt::Key_Return);  // choose
    });
    h.press(Qt::Key_F5);
    EXPECT_EQ(title, s(u"ค้นหาค่าใช้จ่ายในการนำเข้า"));
    EXPECT_EQ(w->Code->text(), QStringLiteral("INS"));
    h.press(Qt::Key_Return);
    EXPECT_EQ(w->Description->text(), s(u"ค่าประกันภัยสินค้า"));
    EXPECT_FALSE(w->BtSearchCode->isEnabled());
}

// The refusal as the user meets it: the program's own error handler records it in the
// configuration database's error log and shows it in the red dialog with the Thai explanation.
TEST_F(ImportExpense, ARefusedDeleteIsLoggedAndExplainedInThai) {
    md::errors::ConfigErrorRecorder recorder(&config);
    md::errors::ErrorHandler handler(&recorder);
    auto* app = qobject_cast<md::errors::TApplication*>(qApp);
    ASSERT_NE(app, nullptr);
    app->setErrorHandler([&](const QString& message) { handler.HandleError(message); });

    enterCode(QStringLiteral("FREIGHT"));
    QString shown;
    h.whenModal([&](QWidget* dialog) {
        auto* error = qobject_cast<md::errors::TFrShowError*>(dialog);
        ASSERT_NE(error, nullptr);
        shown = error->ErrorBox->toPlainText();
        error->BCancel->click();
    });
    h.prompts.answer({true});
    h.press(Qt::Key_F8);
    app->setErrorHandler(nullptr);
    EXPECT_TRUE(shown.startsWith(s(u"ข้อมูลที่ลบถูกอ้างโดยข้อมูลอื่น ไม่สามารถลบข้อมูลนี้ได้")))
        << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("DELETE STATEMENT CONFLICTED")));

    md::data::Query log(&config.DmCfg,
                        {QStringLiteral("Select UserId, MenuId, ErrorMsg From ErrorLog")});
    log.open();
    ASSERT_FALSE(log.isEmpty());
    EXPECT_EQ(log.fieldByName(QStringLiteral("UserId")).asInteger(), 1);
    EXPECT_EQ(log.fieldByName(QStringLiteral("MenuId")).asInteger(), 101);
    EXPECT_TRUE(log.fieldByName(QStringLiteral("ErrorMsg"))
                    .asString()
                    .contains(QStringLiteral("REFERENCE constraint")));
    EXPECT_EQ(w->Description->text(), s(u"ค่าระวางเรือ"));
}

class ImportLotNo : public ImportWindow<TFrImportLotNo> {
  protected:
    void SetUp() override {
        ImportWindow::SetUp();
        open(102, s(u"Lot No. การนำเข้า "));
    }
};

TEST_F(ImportLotNo, ANewLotIsActiveItsDateAWholeDayAndEmptyDatesStayEmpty) {
    EXPECT_EQ(w->windowTitle(), s(u"Lot No. การนำเข้า (Version 1.05.10.18)"));
    enterCode(QStringLiteral("imp-0100"));
    EXPECT_TRUE(w->LotActive->isChecked());
    EXPECT_FALSE(w->LotActive->isEnabled());
    EXPECT_FALSE(w->AcDel->isEnabled());
    EXPECT_EQ(h.focused(), w->Description);
    h.type(s(u"ล็อตทดสอบ"));
    h.press(Qt::Key_Return);  // Description2
    h.press(Qt::Key_Return);  // EffectiveDate
    EXPECT_EQ(h.focused(), w->EffectiveDate);
    h.type(QStringLiteral("15/03/2026"));
    h.press(Qt::Key_Return);
    EXPECT_EQ(h.focused(), w->TaxNo);
    h.press(Qt::Key_Return);
    h.press(Qt::Key_Return);
    h.press(Qt::Key_Return);
    EXPECT_EQ(h.focused(), w->TaxAmount);
    h.type(QStringLiteral("12a5.5"));  // a letter is not taken
    EXPECT_EQ(w->TaxAmount->text(), QStringLiteral("125.5"));
    // A time typed with the date elsewhere is cut when saved.
    w->QMaster.fieldByName(QStringLiteral("EffectiveDate"))
        .setAsDateTime(QDateTime(QDate(2026, 3, 15), QTime(14, 30)));
    save();
    ASSERT_TRUE(h.errors.isEmpty()) << h.errors.join(u'\n').toStdString();
    EXPECT_EQ(lastAudit(), QStringLiteral("1/0/IMP-0100"));
    const QString code = QStringLiteral("IMP-0100");
    EXPECT_EQ(column(QStringLiteral("ImportLotNo"), QStringLiteral("Active"), code).toString(),
              QStringLiteral("Y"));
    EXPECT_EQ(column(QStringLiteral("ImportLotNo"),
                     QStringLiteral("Convert(varchar(30), EffectiveDate, 120)"), code)
                  .toString(),
              QStringLiteral("2026-03-15 00:00:00"));
    EXPECT_TRUE(column(QStringLiteral("ImportLotNo"), QStringLiteral("TaxDate"), code).isNull());
    EXPECT_DOUBLE_EQ(
        column(QStringLiteral("ImportLotNo"), QStringLiteral("TaxAmount"), code).toDouble(), 125.5);

    // Saved without an effective date, the lot has none (not a date of 1899).
    enterCode(QStringLiteral("IMP-0101"));
    save();
    EXPECT_TRUE(column(QStringLiteral("ImportLotNo"), QStringLiteral("EffectiveDate"),
                       QStringLiteral("IMP-0101"))
                    .isNull());
}

TEST_F(ImportLotNo, TheActiveFlagMovesOneWay) {
    enterCode(QStringLiteral("IMP-0004"));  // stored inactive
    EXPECT_FALSE(w->LotActive->isChecked());
    EXPECT_FALSE(w->LotActive->isEnabled());
    EXPECT_TRUE(w->AcDel->isEnabled());
    h.press(Qt::Key_F3);
    enterCode(QStringLiteral("IMP-0005"));  // active: can be switched off
    EXPECT_TRUE(w->LotActive->isChecked());
    ASSERT_TRUE(w->LotActive->isEnabled());
    w->LotActive->click();
    save();
    const qint64 id =
        column(QStringLiteral("ImportLotNo"), QStringLiteral("Id"), QStringLiteral("IMP-0005"))
            .toLongLong();
    EXPECT_EQ(lastAudit(), QStringLiteral("2/%1/").arg(id));
    EXPECT_EQ(
        column(QStringLiteral("ImportLotNo"), QStringLiteral("Active"), QStringLiteral("IMP-0005"))
            .toString(),
        QStringLiteral("N"));
    enterCode(QStringLiteral("IMP-0005"));
    EXPECT_FALSE(w->LotActive->isEnabled());
}

TEST_F(ImportLotNo, ABadDateIsNeverStoredAndAReferencedLotIsNotDeleted) {
    enterCode(QStringLiteral("IMP-0001"));
    const QVariant before = column(QStringLiteral("ImportLotNo"),
                                   QStringLiteral("Convert(varchar(30), EffectiveDate, 120)"),
                                   QStringLiteral("IMP-0001"));
    h.focus(w->EffectiveDate);
    w->EffectiveDate->selectAll();
    h.type(QStringLiteral("31/02/2026"));
    h.press(Qt::Key_Return);
    EXPECT_EQ(h.focused(), w->EffectiveDate);  // refused: the focus stays
    save();
    EXPECT_EQ(column(QStringLiteral("ImportLotNo"),
                     QStringLiteral("Convert(varchar(30), EffectiveDate, 120)"),
                     QStringLiteral("IMP-0001")),
              before);

    const qint64 audits = auditRows();
    enterCode(QStringLiteral("IMP-0001"));
    h.prompts.answer({true});
    h.press(Qt::Key_F8);
    ASSERT_FALSE(h.errors.isEmpty());
    EXPECT_TRUE(h.errors.last().contains(QStringLiteral("REFERENCE")));
    EXPECT_EQ(auditRows(), audits);
    EXPECT_FALSE(
        column(QStringLiteral("ImportLotNo"), QStringLiteral("Id"), QStringLiteral("IMP-0001"))
            .isNull());
}

class ImportLotNoEnglish : public ImportWindow<TFrImportLotNo> {
  protected:
    void SetUp() override {
        ImportWindow::SetUp();
        config.LanguageThai = false;
        open(102, QStringLiteral("Import Lot No."));
    }
};

TEST_F(ImportLotNoEnglish, CaptionsSwitchExceptTheTwoThaiOnes) {
    QStringList captions;
    for (QLabel* label : w->findChildren<QLabel*>()) {
        if (!label->text().isEmpty() && label->buddy())
            captions << label->text();
    }
    for (const char* english :
         {"Code", "Description", "Start Use", "Tax No", "Tax Date", "Tax Print Date", "VAT"}) {
        EXPECT_TRUE(captions.contains(QString::fromLatin1(english))) << english;
    }
    EXPECT_TRUE(captions.contains(s(u"รายละเอียด2")));
    EXPECT_EQ(w->LotActive->text(), QStringLiteral("Can Enter Data"));
    EXPECT_EQ(w->CanUseTax->text(), s(u"ภาษีขอคืนได้"));
}

}  // namespace
