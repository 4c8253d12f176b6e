// The exchange rates window over the demo company, driven by keys: the rate arithmetic of the
// worked example, saving every currency of a date in one transaction (updated, never doubled,
// rounded half away from zero to the column), a failure in the middle leaving the date as it
// was with the entries on screen, delete of a date, copy from another date, the company
// module's newest rates, no currency codes, English questions and the grid's keys.

#include "tests/forms/DemoFixture.h"

#include "forms/CalcGrid.h"
#include "forms/DataControls.h"
#include "masters/Fr_CopyExchange.h"
#include "masters/Fr_CurrencyEx.h"

#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>

using md::forms::test::DemoWindowTest;
using md::masters::TFrCopyExchange;
using md::masters::TFrCurrencyEx;

namespace {

QString s(const char16_t* t) {
    return QString::fromUtf16(t);
}

// Grid columns of the rates window.
enum Column { Description, PurcScrap, PurcPart, PurcRate, SaleScrap, SalePart, SaleRate };
// Rows of the demo currencies, in their order.
constexpr int THB = 0, USD = 1, EUR = 2, CHF = 11;

class CurrencyEx : public DemoWindowTest {
  protected:
    void SetUp() override {
        DemoWindowTest::SetUp();
        year_ = QDate::currentDate().year();
        // Separators of the display pattern, whatever the machine's locale is.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    void TearDown() override {
        w.reset();
        QLocale::setDefault(QLocale::c());
        DemoWindowTest::TearDown();
    }
    void open() {
        config.MenuId = 105;
        config.MenuCaption = s(u"กำหนดอัตราแลกเปลี่ยนประจำวัน ");
        w = std::make_unique<TFrCurrencyEx>();
        ASSERT_TRUE(h.show(w.get()));
        ASSERT_TRUE(h.errors.isEmpty()) << h.errors.join(u'\n').toStdString();
    }
    // Types a date into the box and leaves it for the grid, as a user does.
    void showDate(const QDate& date) {
        h.focus(w->DBDATETIME);
        w->DBDATETIME->selectAll();
        h.type(date.toString(QStringLiteral("dd/MM/yyyy")));
        h.press(Qt::Key_Return);
    }
    // Puts the grid's cursor on a cell (the grid has the focus).
    void goTo(int row, int column) {
        ASSERT_EQ(h.focused(), w->wwDBGrid1);
        w->wwDBGrid1->setCurrentIndex(w->wwDBGrid1->model()->index(row, column));
    }
    // Types an entry into the current cell and presses Enter.
    void enter(const QString& text) {
        h.type(text);
        h.press(Qt::Key_Return);
    }
    void save(bool yes = true) {
        h.prompts.answer({yes});
        h.press(Qt::Key_F10);
    }
    double grid(int row, const char* field) {
        return w->QRate.valueAt(row, w->QRate.fieldByName(QString::fromLatin1(field)).index())
            .toDouble();
    }
    QString shown(int row, int column) { return w->wwDBGrid1->shownText(row, column); }
    // A stored column of one currency's row of a date, as exact decimal text.
    QVariant stored(const QDate& date, const char* code, const char* column) {
        return scalar(QStringLiteral("Select Convert(varchar(40), C.%1) From CurrencyEx C Inner "
                                     "Join Misc M On M.Id = C.Currency Where M.GroupCode = "
                                     "'CURRENCY' And M.Code = '%2' And C.ExchangeDate = '%3'")
                          .arg(QLatin1StringView(column), QLatin1StringView(code),
                               date.toString(QStringLiteral("yyyyMMdd"))));
    }
    qint64 rowsOf(const QDate& date) {
        return scalar(QStringLiteral("Select Count(*) From CurrencyEx Where ExchangeDate = '%1'")
                          .arg(date.toString(QStringLiteral("yyyyMMdd"))))
            .toLongLong();
    }
    bool copyButtonShown() {
        for (QAction* a : w->ToolBar1->actions()) {
            if (w->ToolBar1->widgetForAction(a) == w->BCopy)
                return a->isVisible();
        }
        return false;
    }

    int year_ = 0;
    QDate today = QDate::currentDate();
    std::unique_ptr<TFrCurrencyEx> w;
};

TEST(CalcGridPattern, GroupsThousandsAndShowsOnlyTheDecimalsAValueHas) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(md::forms::formatGroupedNumber(0, 7), QStringLiteral("0"));
    EXPECT_EQ(md::forms::formatGroupedNumber(0.285, 7), QStringLiteral("0.285"));
    EXPECT_EQ(md::forms::formatGroupedNumber(1234567.1234567, 7),
              QStringLiteral("1,234,567.1234567"));
    EXPECT_EQ(md::forms::formatGroupedNumber(-1234.5, 7), QStringLiteral("-1,234.5"));
    EXPECT_EQ(md::forms::formatGroupedNumber(-0.00000001, 7), QStringLiteral("0"));
    EXPECT_EQ(md::forms::formatGroupedNumber(999.99999999, 7), QStringLiteral("1,000"));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(md::forms::formatGroupedNumber(1234.5, 7), QStringLiteral("1.234,5"));
    QLocale::setDefault(QLocale::c());
}

TEST_F(CurrencyEx, OpensOnTodayWithEveryCurrencyAndItsCaptions) {
    open();
    EXPECT_EQ(w->windowTitle(), s(u"กำหนดอัตราแลกเปลี่ยนประจำวัน (21.12.08)"));
    EXPECT_EQ(w->statusText(0), config.CompanyNameThai);
    EXPECT_EQ(w->InternationalCurrency->text(), s(u"สกุลสากล : ดอลลาร์สหรัฐ"));
    EXPECT_EQ(w->DBDATETIME->date(), today);
    EXPECT_EQ(h.focused(), w->DBDATETIME);
    EXPECT_TRUE(copyButtonShown());
    EXPECT_TRUE(w->AcSave->isEnabled());
    EXPECT_TRUE(w->AcDel->isEnabled());
    EXPECT_FALSE(w->NoCurrencies);
    auto* model = w->wwDBGrid1->model();
    ASSERT_EQ(model->rowCount(), 12);
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), s(u"สกุลเงิน"));
    EXPECT_EQ(model->headerData(PurcRate, Qt::Horizontal).toString(), s(u"ราคาชื้อ"));
    EXPECT_EQ(model->headerData(SaleRate, Qt::Horizontal).toString(), s(u"ราคาขาย"));
    EXPECT_EQ(shown(USD, Description), s(u"ดอลลาร์สหรัฐ"));
    EXPECT_FALSE(model->index(USD, Description).flags() & Qt::ItemIsEditable);
    EXPECT_TRUE(model->index(USD, PurcScrap).flags() & Qt::ItemIsEditable);
    EXPECT_TRUE(w->wwDBGrid1->alternatingRowColors());
    // Today has no rates yet: zeros throughout.
    for (int c = PurcScrap; c <= SaleRate; ++c)
        EXPECT_EQ(shown(USD, c), QStringLiteral("0"));

    // A date with rates shows them.
    showDate(QDate(year_, 1, 2));
    EXPECT_EQ(h.focused(), w->wwDBGrid1);
    EXPECT_EQ(w->loadedDate(), QDate(year_, 1, 2));
    EXPECT_EQ(shown(USD, PurcRate), QStringLiteral("35.42"));
    EXPECT_EQ(shown(THB, PurcRate), QStringLiteral("0"));
}

TEST_F(CurrencyEx, TheRateFollowsTheFullAmountAndDivisorUntilARateIsTypedByHand) {
    open();
    h.press(Qt::Key_Return);  // into the grid
    ASSERT_EQ(h.focused(), w->wwDBGrid1);
    goTo(USD, PurcScrap);
    enter(QStringLiteral("28.5"));
    enter(QStringLiteral("100"));
    EXPECT_DOUBLE_EQ(grid(USD, "PurcRate"), 0.285);
    EXPECT_EQ(shown(USD, PurcRate), QStringLiteral("0.285"));
    EXPECT_EQ(w->wwDBGrid1->currentIndex(), w->wwDBGrid1->model()->index(USD, PurcRate));

    // A rate that disagrees with the quotient clears amount and divisor.
    enter(QStringLiteral("0.29"));
    EXPECT_DOUBLE_EQ(grid(USD, "PurcRate"), 0.29);
    EXPECT_EQ(grid(USD, "PurcScrap"), 0.0);
    EXPECT_EQ(grid(USD, "PurcPart"), 0.0);

    // One that agrees keeps them.
    goTo(USD, PurcScrap);
    enter(QStringLiteral("28.5"));
    enter(QStringLiteral("100"));
    enter(QStringLiteral("0.285"));
    EXPECT_DOUBLE_EQ(grid(USD, "PurcScrap"), 28.5);
    EXPECT_DOUBLE_EQ(grid(USD, "PurcPart"), 100);
    EXPECT_DOUBLE_EQ(grid(USD, "PurcRate"), 0.285);

    // The sale side works the same way, on its own columns; the quotient is rounded to six
    // places half away from zero.
    EXPECT_EQ(w->wwDBGrid1->currentIndex(), w->wwDBGrid1->model()->index(USD, SaleScrap));
    enter(QStringLiteral("2.469135"));
    enter(QStringLiteral("2"));
    EXPECT_DOUBLE_EQ(grid(USD, "SaleRate"), 1.234568);
    EXPECT_DOUBLE_EQ(grid(USD, "PurcRate"), 0.285);

    // Divisor 0, or full amount 0, leaves the rate alone; a rate typed then keeps itself and
    // zeroes the amount and divisor.
    goTo(EUR, PurcRate);
    enter(QStringLiteral("35.5"));
    goTo(EUR, PurcScrap);
    enter(QStringLiteral("28.5"));
    enter(QStringLiteral("0"));
    EXPECT_DOUBLE_EQ(grid(EUR, "PurcRate"), 35.5);
    EXPECT_DOUBLE_EQ(grid(EUR, "PurcScrap"), 28.5);
    enter(QStringLiteral("36"));
    EXPECT_DOUBLE_EQ(grid(EUR, "PurcRate"), 36);
    EXPECT_EQ(grid(EUR, "PurcScrap"), 0.0);
    goTo(EUR, PurcScrap);
    enter(QStringLiteral("0"));
    enter(QStringLiteral("100"));
    EXPECT_DOUBLE_EQ(grid(EUR, "PurcRate"), 36);

    // The entries of both rows are saved.
    save();
    ASSERT_TRUE(h.errors.isEmpty()) << h.errors.join(u'\n').toStdString();
    EXPECT_EQ(h.prompts.shown, QStringList{s(u"yesno: จัดเก็บข้อมูล ?")});
    EXPECT_EQ(stored(today, "USD", "PurcScrap").toString(), QStringLiteral("28.500000"));
    EXPECT_EQ(stored(today, "USD", "PurcPart").toString(), QStringLiteral("100.000000"));
    EXPECT_EQ(stored(today, "USD", "PurcRate").toString(), QStringLiteral("0.285000"));
    EXPECT_EQ(stored(today, "USD", "SaleRate").toString(), QStringLiteral("1.234568"));
    EXPECT_EQ(stored(today, "EUR", "PurcRate").toString(), QStringLiteral("36.000000"));
    EXPECT_EQ(stored(today, "EUR", "PurcPart").toString(), QStringLiteral("100.000000"));
}

TEST_F(CurrencyEx, SavingWritesEveryCurrencyOnceRoundedAndASecondSaveUpdates) {
    open();
    const QDate jan3(year_, 1, 3);
    ASSERT_EQ(rowsOf(jan3), 11);  // every currency but the baht
    const QVariant usdId = scalar(
        QStringLiteral(
            "Select C.Id From CurrencyEx C Inner Join Misc M On M.Id = C.Currency Where M.Code = "
            "'USD' And M.GroupCode = 'CURRENCY' And C.ExchangeDate = '%1'")
            .arg(jan3.toString(QStringLiteral("yyyyMMdd"))));
    showDate(jan3);
    goTo(USD, PurcRate);
    // Seven decimals typed, six kept: half away from zero, on the decimal digits typed.
    enter(QStringLiteral("1.0000005"));
    goTo(CHF, SaleRate);
    enter(QStringLiteral("0.1234565"));
    save();
    ASSERT_TRUE(h.errors.isEmpty()) << h.errors.join(u'\n').toStdString();
    EXPECT_EQ(rowsOf(jan3), 12);
    EXPECT_EQ(stored(jan3, "USD", "PurcRate").toString(), QStringLiteral("1.000001"));
    EXPECT_EQ(stored(jan3, "CHF", "SaleRate").toString(), QStringLiteral("0.123457"));
    EXPECT_EQ(stored(jan3, "THB", "PurcRate").toString(), QStringLiteral("0.000000"));
    EXPECT_EQ(stored(jan3, "THB", "SaleScrap").toString(), QStringLiteral("0.000000"));
    // The rows that were there were updated, not added again.
    EXPECT_EQ(stored(jan3, "USD", "Id"), usdId);
    // Back on today.
    EXPECT_EQ(w->DBDATETIME->date(), today);
    EXPECT_EQ(w->loadedDate(), today);
    EXPECT_EQ(h.focused(), w->DBDATETIME);

    showDate(jan3);
    EXPECT_EQ(shown(USD, PurcRate), QStringLiteral("1.000001"));
    goTo(USD, PurcRate);
    enter(QStringLiteral("-2.5"));  // no check of rates: stored as typed
    save();
    ASSERT_TRUE(h.errors.isEmpty()) << h.errors.join(u'\n').toStdString();
    EXPECT_EQ(rowsOf(jan3), 12);
    EXPECT_EQ(stored(jan3, "USD", "PurcRate").toString(), QStringLiteral("-2.500000"));
    EXPECT_EQ(stored(jan3, "USD", "Id"), usdId);
    EXPECT_EQ(
        scalar(QStringLiteral("Select Count(*) From (Select ExchangeDate, Currency From "
                              "CurrencyEx Group By ExchangeDate, Currency Having Count(*) > 1) D"))
            .toLongLong(),
        0);
    // No audit row is written for rates.
    EXPECT_EQ(auditRows(), 0);
}

TEST_F(CurrencyEx, AFailureInTheMiddleOfTheSaveChangesNothingAndKeepsTheEntries) {
    // A currency between the others that another user removes while the grid shows it.
    exec(
        QStringLiteral("Insert Into Misc (GroupCode, Code, Description, Orderno) Values "
                       "('CURRENCY', 'ZZZ', 'Gone', 6)"));
    open();
    const QDate jan6(year_, 1, 6);
    const QString usdBefore = stored(jan6, "USD", "PurcRate").toString();
    const QString chfBefore = stored(jan6, "CHF", "SaleRate").toString();
    showDate(jan6);
    ASSERT_EQ(w->wwDBGrid1->model()->rowCount(), 13);
    goTo(USD, PurcRate);
    enter(QStringLiteral("40"));
    goTo(12, SaleRate);  // the last row: CHF
    enter(QStringLiteral("41"));
    goTo(12, SaleRate);
    exec(QStringLiteral("Delete From Misc Where GroupCode = 'CURRENCY' And Code = 'ZZZ'"));

    save();
    ASSERT_EQ(h.errors.size(), 1);
    EXPECT_TRUE(h.errors.at(0).contains(QStringLiteral("FOREIGN KEY"), Qt::CaseInsensitive))
        << h.errors.at(0).toStdString();
    EXPECT_EQ(rowsOf(jan6), 11);
    EXPECT_EQ(stored(jan6, "USD", "PurcRate").toString(), usdBefore);
    EXPECT_EQ(stored(jan6, "CHF", "SaleRate").toString(), chfBefore);
    EXPECT_TRUE(stored(jan6, "THB", "PurcRate").isNull());
    // The entries are still on screen, on the date they were typed for, for another try.
    EXPECT_EQ(w->DBDATETIME->date(), jan6);
    EXPECT_EQ(shown(USD, PurcRate), QStringLiteral("40"));
    EXPECT_EQ(shown(12, SaleRate), QStringLiteral("41"));
    EXPECT_EQ(w->wwDBGrid1->currentIndex().row(), 12);
    EXPECT_TRUE(w->AcSave->isEnabled());
}

TEST_F(CurrencyEx, DeleteRemovesEveryRateOfTheDateInTheBox) {
    open();
    const QDate jan3(year_, 1, 3);
    showDate(jan3);
    h.prompts.answer({false});
    h.press(Qt::Key_F8);
    EXPECT_EQ(h.prompts.shown, QStringList{s(u"yesno: ลบข้อมูล ?")});
    EXPECT_EQ(rowsOf(jan3), 11);
    h.prompts.answer({true});
    h.press(Qt::Key_F8);
    ASSERT_TRUE(h.errors.isEmpty()) << h.errors.join(u'\n').toStdString();
    EXPECT_EQ(rowsOf(jan3), 0);
    EXPECT_EQ(rowsOf(QDate(year_, 1, 2)), 11);
    EXPECT_EQ(rowsOf(QDate(year_, 1, 6)), 11);
    EXPECT_EQ(w->DBDATETIME->date(), today);
}

TEST_F(CurrencyEx, CopyReplacesTheTargetsRatesWithoutAmountsAndRefusesItsOwnDate) {
    open();
    h.press(Qt::Key_Return);
    goTo(USD, PurcScrap);
    enter(QStringLiteral("28.5"));
    enter(QStringLiteral("100"));
    save();
    ASSERT_EQ(rowsOf(today), 12);
    const QDate jan6(year_, 1, 6);

    QStringList dates;
    QString target;
    h.whenModal([&](QWidget* dialog) {
        auto* copy = qobject_cast<TFrCopyExchange*>(dialog);
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(copy->windowTitle(), s(u"คัดลอกการทำงาน"));
        target = copy->LbTargetDate->text();
        auto* model = copy->DgDate->model();
        EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), s(u"วันที่"));
        for (int r = 0; r < model->rowCount(); ++r)
            dates << model->index(r, 0).data().toString();
        // Its own date first: refused, nothing deleted.
        copy->DgDate->selectRecord(3);
        copy->BtCopy->click();
        EXPECT_EQ(rowsOf(today), 12);
        copy->DgDate->selectRecord(2);
        h.press(Qt::Key_Return);  // the default button: Copy
        EXPECT_TRUE(copy->isVisible());
        copy->BtCancel->click();
    });
    h.press(Qt::Key_F6);
    ASSERT_TRUE(h.errors.isEmpty()) << h.errors.join(u'\n').toStdString();
    const QString fmt = QStringLiteral("dd/MM/yyyy");
    EXPECT_EQ(dates,
              (QStringList{QDate(year_, 1, 2).toString(fmt), QDate(year_, 1, 3).toString(fmt),
                           jan6.toString(fmt), today.toString(fmt)}));
    EXPECT_EQ(target, today.toString(fmt));
    EXPECT_EQ(h.prompts.shown.last(), s(u"info: ไม่สามารถคัดลอกอัตราแลกเปลี่ยนไปยังวันที่เดียวกันได้"));
    EXPECT_EQ(rowsOf(today), 11);
    EXPECT_EQ(stored(today, "USD", "PurcRate"), stored(jan6, "USD", "PurcRate"));
    EXPECT_EQ(stored(today, "USD", "SaleRate"), stored(jan6, "USD", "SaleRate"));
    EXPECT_TRUE(stored(today, "USD", "PurcScrap").isNull());
    EXPECT_TRUE(stored(today, "USD", "PurcPart").isNull());
    EXPECT_TRUE(stored(today, "THB", "PurcRate").isNull());
    // The window read the copied rates again: full amounts and divisors show as 0.
    EXPECT_EQ(shown(USD, PurcScrap), QStringLiteral("0"));
    EXPECT_EQ(shown(USD, PurcRate),
              md::forms::formatGroupedNumber(stored(jan6, "USD", "PurcRate").toDouble(), 7));
}

TEST_F(CurrencyEx, CancellingTheCopyKeepsTheEntriesOnScreen) {
    open();
    h.press(Qt::Key_Return);
    goTo(USD, PurcRate);
    enter(QStringLiteral("33"));
    h.whenModal([&](QWidget* dialog) {
        auto* copy = qobject_cast<TFrCopyExchange*>(dialog);
        ASSERT_NE(copy, nullptr);
        copy->BtCancel->click();
    });
    h.press(Qt::Key_F6);
    EXPECT_EQ(shown(USD, PurcRate), QStringLiteral("33"));
    EXPECT_EQ(rowsOf(today), 0);
    // The dialog made on first use serves the next copy.
    TFrCopyExchange* first = w->copyDialog();
    ASSERT_NE(first, nullptr);
    h.whenModal([&](QWidget* dialog) {
        EXPECT_EQ(dialog, first);
        h.press(Qt::Key_Escape);
    });
    h.press(Qt::Key_F6);
    EXPECT_EQ(w->copyDialog(), first);
    EXPECT_EQ(shown(USD, PurcRate), QStringLiteral("33"));
}

TEST_F(CurrencyEx, TheCompanyModuleListsTheNewestRatesAfterASave) {
    open();
    h.press(Qt::Key_Return);
    goTo(USD, PurcRate);
    enter(QStringLiteral("36.5"));
    save();
    ASSERT_TRUE(h.errors.isEmpty()) << h.errors.join(u'\n').toStdString();
    dm->DMdata.close();
    dm->DMdata.open();
    md::data::Query& list = dm->QMiscCurrency;
    ASSERT_TRUE(list.isOpen());
    int seen = 0;
    for (list.first(); !list.eof(); list.next()) {
        const QString code = list.fieldByName(QStringLiteral("Code")).asString();
        if (code == QStringLiteral("USD")) {
            EXPECT_DOUBLE_EQ(list.fieldByName(QStringLiteral("PurcRate")).asFloat(), 36.5);
            ++seen;
        } else if (code == QStringLiteral("THB")) {
            EXPECT_FALSE(list.fieldByName(QStringLiteral("PurcRate")).isNull());
            EXPECT_EQ(list.fieldByName(QStringLiteral("PurcRate")).asFloat(), 0.0);
            ++seen;
        }
    }
    EXPECT_EQ(seen, 2);
}

TEST_F(CurrencyEx, WithoutCurrencyCodesSaveWritesNothingAndSaysSo) {
    exec(QStringLiteral("Update Misc Set GroupCode = 'OLDCURR' Where GroupCode = 'CURRENCY'"));
    const qint64 before = scalar(QStringLiteral("Select Count(*) From CurrencyEx")).toLongLong();
    open();
    EXPECT_TRUE(w->NoCurrencies);
    EXPECT_EQ(w->wwDBGrid1->model()->rowCount(), 0);
    EXPECT_FALSE(w->AcDel->isEnabled());
    h.press(Qt::Key_F10);
    ASSERT_TRUE(h.errors.isEmpty()) << h.errors.join(u'\n').toStdString();
    EXPECT_EQ(h.prompts.shown, QStringList{s(u"info: ไม่มีรหัสสกุลเงิน จึงไม่มีอัตราแลกเปลี่ยนให้จัดเก็บ")});
    EXPECT_EQ(scalar(QStringLiteral("Select Count(*) From CurrencyEx")).toLongLong(), before);
}

TEST_F(CurrencyEx, AnEnglishUserIsAskedInEnglish) {
    config.LanguageThai = false;
    config.SaveConfirmText = QStringLiteral("Save Data ?");
    config.DeleteConfirmText = QStringLiteral("Delete Data ?");
    open();
    // The window's own captions are as stored.
    EXPECT_EQ(w->wwDBGrid1->model()->headerData(0, Qt::Horizontal).toString(), s(u"สกุลเงิน"));
    h.press(Qt::Key_F10);
    h.press(Qt::Key_F8);
    h.press(Qt::Key_Escape);
    EXPECT_EQ(h.prompts.shown, (QStringList{QStringLiteral("yesno: Save Data ?"),
                                            QStringLiteral("yesno: Delete Data ?"),
                                            QStringLiteral("exit: Exit Program ?")}));
    EXPECT_TRUE(w->isVisible());
    h.whenModal([&](QWidget* dialog) {
        auto* copy = qobject_cast<TFrCopyExchange*>(dialog);
        ASSERT_NE(copy, nullptr);
        copy->DgDate->selectRecord(copy->DgDate->model()->rowCount() - 1);
        copy->BtCopy->click();  // the target's own date
        copy->BtCancel->click();
    });
    showDate(QDate(year_, 1, 6));
    h.press(Qt::Key_F6);
    EXPECT_EQ(h.prompts.shown.last(),
              QStringLiteral("info: The rates of a date cannot be copied onto the same date."))
        << h.prompts.shown.join(u'|').toStdString() << h.errors.join(u'|').toStdString();
}

TEST_F(CurrencyEx, KeysActInTheGridAndTypedValuesGoWithTheDate) {
    open();
    // Enter walks from the box into the grid; there Enter moves from cell to cell, over the
    // fixed first column to the next row, and Escape asks nothing.
    h.press(Qt::Key_Return);
    ASSERT_EQ(h.focused(), w->wwDBGrid1);
    EXPECT_FALSE(w->keyPreview());
    goTo(THB, SaleRate);
    h.press(Qt::Key_Return);
    EXPECT_EQ(w->wwDBGrid1->currentIndex(), w->wwDBGrid1->model()->index(USD, PurcScrap));
    h.press(Qt::Key_Escape);
    EXPECT_TRUE(h.prompts.shown.isEmpty());
    // Escape in an editor takes the entry back.
    h.type(QStringLiteral("77"));
    ASSERT_NE(w->wwDBGrid1->openEditor(), nullptr);
    EXPECT_EQ(w->wwDBGrid1->openEditor()->objectName(), QStringLiteral("RxPurcScrap"));
    h.press(Qt::Key_Escape);
    EXPECT_EQ(shown(USD, PurcScrap), QStringLiteral("0"));
    EXPECT_TRUE(h.prompts.shown.isEmpty());
    // Letters are no number.
    h.type(QStringLiteral("1a2.5"));
    h.press(Qt::Key_Return);
    EXPECT_DOUBLE_EQ(grid(USD, "PurcScrap"), 12.5);

    // F10 while an entry is still in its editor saves that entry too.
    goTo(EUR, SaleRate);
    h.type(QStringLiteral("1234567.5"));
    EXPECT_NE(w->wwDBGrid1->openEditor(), nullptr);
    save();
    ASSERT_TRUE(h.errors.isEmpty()) << h.errors.join(u'\n').toStdString();
    EXPECT_EQ(stored(today, "EUR", "SaleRate").toString(), QStringLiteral("1234567.500000"));
    EXPECT_EQ(stored(today, "USD", "PurcScrap").toString(), QStringLiteral("12.500000"));

    // Back in the box the window takes Enter and Escape again.
    EXPECT_TRUE(w->keyPreview());
    h.press(Qt::Key_Return);
    EXPECT_EQ(shown(EUR, SaleRate), QStringLiteral("1,234,567.5"));
    goTo(EUR, SaleRate);
    enter(QStringLiteral("5"));
    // Choosing another date drops what was typed and not saved.
    showDate(QDate(year_, 1, 2));
    showDate(today);
    EXPECT_EQ(shown(EUR, SaleRate), QStringLiteral("1,234,567.5"));
    h.focus(w->DBDATETIME);
    h.press(Qt::Key_Escape);
    EXPECT_EQ(h.prompts.shown.last(), s(u"exit: ออกจากโปรแกรม ?"));
    EXPECT_TRUE(w->isVisible());

    // A date typed but not yet left is what Delete acts on, after the grid has read it.
    h.focus(w->DBDATETIME);
    w->DBDATETIME->selectAll();
    h.type(QDate(year_, 1, 3).toString(QStringLiteral("dd/MM/yyyy")));
    h.prompts.answer({false});
    h.press(Qt::Key_F8);
    EXPECT_EQ(w->loadedDate(), QDate(year_, 1, 3));
    EXPECT_EQ(shown(USD, PurcRate),
              md::forms::formatGroupedNumber(
                  stored(QDate(year_, 1, 3), "USD", "PurcRate").toDouble(), 7));
    // A text that is no date is refused before anything is asked.
    h.focus(w->DBDATETIME);
    w->DBDATETIME->selectAll();
    h.type(QStringLiteral("31/02/2024"));
    const qsizetype asked = h.prompts.shown.size();
    h.press(Qt::Key_F10);
    ASSERT_EQ(h.prompts.shown.size(), asked + 1);
    EXPECT_TRUE(h.prompts.shown.last().startsWith(s(u"info: วันที่ไม่ถูกต้อง")));
}

}  // namespace
