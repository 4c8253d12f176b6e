// The data-aware controls against rows of the demo company, driven by keys.

#include "DemoFixture.h"
#include "forms/DataControls.h"

#include <QCalendarWidget>
#include <QVBoxLayout>
#include <QWidget>

namespace md::forms::test {
namespace {

class ControlsTest : public DemoWindowTest {
  protected:
    void SetUp() override {
        DemoWindowTest::SetUp();
        dm->DMdata.open();
        salesman.setConnection(&dm->DMdata);
        salesman.setSql({QStringLiteral(
            "Select Id, Code, Name, Status, StartDate, StopDate From Salesman Where Code = "
            ":GetCode")});
        vendor.setConnection(&dm->DMdata);
        vendor.setSql({QStringLiteral(
            "Select Id, Code, DueDays, CreditLimit From FrVendor Where Code = :GetCode")});
        auto* layout = new QVBoxLayout(&window);
        for (QWidget* w :
             std::initializer_list<QWidget*>{code, name, status, start, stop, due, credit, spare})
            layout->addWidget(w);
        code->setObjectName(QStringLiteral("Code"));
        stop->setObjectName(QStringLiteral("StopDate"));
        code->setUpperCase(true);
        bind(code, QStringLiteral("Code"));
        bind(name, QStringLiteral("Name"));
        status->setDataSource(&salesmen);
        status->setDataField(QStringLiteral("Status"));
        start->setDataSource(&salesmen);
        start->setDataField(QStringLiteral("StartDate"));
        stop->setDataSource(&salesmen);
        stop->setDataField(QStringLiteral("StopDate"));
        due->setDataSource(&vendors);
        due->setDataField(QStringLiteral("DueDays"));
        due->setDecimals(0);
        credit->setDataSource(&vendors);
        credit->setDataField(QStringLiteral("CreditLimit"));
        ASSERT_TRUE(h.show(&window));
    }

    void bind(TDBEdit* e, const QString& f) {
        e->setDataSource(&salesmen);
        e->setDataField(f);
    }

    void openSalesman(const QString& c) {
        salesman.close();
        salesman.paramByName(QStringLiteral("GetCode")).setAsString(c);
        salesman.open();
    }
    void openVendor(const QString& c) {
        vendor.close();
        vendor.paramByName(QStringLiteral("GetCode")).setAsString(c);
        vendor.open();
    }
    QVariant value(data::Query& q, const char* f) {
        return q.fieldByName(QString::fromLatin1(f)).value();
    }

    data::Query salesman;
    data::Query vendor;
    TDataSource salesmen{&salesman};
    TDataSource vendors{&vendor};
    QWidget window;
    TDBEdit* code = new TDBEdit;
    TDBEdit* name = new TDBEdit;
    TDBCheckBox* status = new TDBCheckBox(QStringLiteral("Active"));
    TDBDateEdit* start = new TDBDateEdit;
    TDBDateEdit* stop = new TDBDateEdit;
    TDBCalcEdit* due = new TDBCalcEdit;
    TDBCalcEdit* credit = new TDBCalcEdit;
    QLineEdit* spare = new QLineEdit;
};

TEST(DateText, OnlyRealDatesInDayMonthYearParse) {
    EXPECT_EQ(TDBDateEdit::parseDate(QStringLiteral("29/02/2024")), QDate(2024, 2, 29));
    EXPECT_EQ(TDBDateEdit::parseDate(QStringLiteral(" 5/7/2025 ")), QDate(2025, 7, 5));
    for (const char* bad : {"29/02/2023", "31/04/2025", "00/01/2025", "12/13/2025", "1/1/25",
                            "01/01", "//2025", "1/1/2025/1", ""})
        EXPECT_FALSE(TDBDateEdit::parseDate(QString::fromLatin1(bad)).isValid()) << bad;
    EXPECT_EQ(TDBDateEdit::formatDate(QDate(2025, 7, 5)), QStringLiteral("05/07/2025"));
    EXPECT_TRUE(TDBDateEdit::formatDate(QDate()).isEmpty());
}

TEST_F(ControlsTest, ShowTheCurrentRowOnOpenAndEmptyOnClose) {
    openSalesman(QStringLiteral("S001"));
    EXPECT_EQ(code->text(), QStringLiteral("S001"));
    EXPECT_EQ(name->text(), QStringLiteral(u"สมศักดิ์"));
    EXPECT_TRUE(status->isChecked());
    EXPECT_EQ(start->text(), QStringLiteral("01/06/2018"));
    EXPECT_TRUE(stop->isEmptyDate());
    openSalesman(QStringLiteral("S005"));  // suspended, stopped at the end of 2023
    EXPECT_FALSE(status->isChecked());
    EXPECT_EQ(stop->text(), QStringLiteral("31/12/2023"));
    salesman.close();
    EXPECT_TRUE(code->text().isEmpty());
    EXPECT_TRUE(stop->isEmptyDate());
}

TEST_F(ControlsTest, FollowTheQueryAsItScrollsAndWhenAProgramStepWritesAField) {
    salesman.setSql({QStringLiteral(
        "Select Id, Code, Name, Status, StartDate, StopDate From Salesman Order By Code")});
    salesman.open();
    EXPECT_EQ(code->text(), QStringLiteral("S001"));
    salesman.next();
    EXPECT_EQ(code->text(), QStringLiteral("S002"));
    EXPECT_EQ(name->text(), QStringLiteral(u"วิภาวดี"));
    salesman.moveTo(4);
    EXPECT_EQ(code->text(), QStringLiteral("S005"));
    EXPECT_FALSE(status->isChecked());
    salesman.edit();
    salesman.fieldByName(QStringLiteral("Name")).setAsString(QStringLiteral("Changed"));
    salesmen.notifyDataChanged();
    EXPECT_EQ(name->text(), QStringLiteral("Changed"));
    // A write through one control shows in another control of the same field.
    TDBEdit second;
    second.setDataSource(&salesmen);
    second.setDataField(QStringLiteral("Name"));
    h.focus(name);
    h.type(QStringLiteral("X"));
    EXPECT_EQ(second.text(), QStringLiteral("ChangedX"));
}

TEST_F(ControlsTest, EditTakesTheColumnLengthAndUpperCasesTypedCode) {
    openSalesman(QStringLiteral("NOBODY"));  // empty result: typing starts a new row
    EXPECT_EQ(code->maxLength(), 10);
    EXPECT_EQ(name->maxLength(), 30);
    h.focus(code);
    h.type(QStringLiteral("abc-12345678"));
    EXPECT_EQ(code->text(), QStringLiteral("ABC-123456"));
    EXPECT_EQ(salesman.state(), data::DataSetState::Insert);
    EXPECT_EQ(value(salesman, "Code").toString(), QStringLiteral("ABC-123456"));
    // The new row's first keystroke must not have been wiped by the row starting.
    h.focus(name);
    h.type(QStringLiteral(u"ทดสอบ"));
    EXPECT_EQ(value(salesman, "Name").toString(), QStringLiteral(u"ทดสอบ"));
}

TEST_F(ControlsTest, CheckBoxWritesYAndNAndShowsOtherValuesUnticked) {
    openSalesman(QStringLiteral("S001"));
    status->click();
    EXPECT_EQ(value(salesman, "Status").toString(), QStringLiteral("N"));
    status->click();
    EXPECT_EQ(value(salesman, "Status").toString(), QStringLiteral("Y"));
    salesman.fieldByName(QStringLiteral("Status")).clear();
    salesmen.notifyDataChanged();
    EXPECT_FALSE(status->isChecked());
    salesman.fieldByName(QStringLiteral("Status")).setAsString(QStringLiteral("y"));
    salesmen.notifyDataChanged();
    EXPECT_FALSE(status->isChecked()) << "only exactly Y is ticked";
}

TEST_F(ControlsTest, DateBoxAcceptsEmptyAndRealDatesOnly) {
    openSalesman(QStringLiteral("S005"));
    h.focus(stop);
    stop->selectAll();
    h.press(Qt::Key_Backspace);
    h.focus(spare);
    EXPECT_TRUE(value(salesman, "StopDate").isNull());

    h.focus(stop);
    h.type(QStringLiteral("1/3/2024"));
    h.focus(spare);
    EXPECT_EQ(value(salesman, "StopDate").toDateTime().date(), QDate(2024, 3, 1));
    EXPECT_EQ(stop->text(), QStringLiteral("01/03/2024"));

    h.focus(stop);
    stop->selectAll();
    h.type(QStringLiteral("31/02/2024"));
    h.focus(spare);
    h.settle();
    ASSERT_EQ(h.prompts.shown.size(), 1);
    EXPECT_EQ(h.prompts.shown.front(), QStringLiteral(u"info: วันที่ไม่ถูกต้อง : 31/02/2024"));
    EXPECT_EQ(value(salesman, "StopDate").toDateTime().date(), QDate(2024, 3, 1))
        << "a date that does not exist is never stored as another one";
    EXPECT_EQ(h.focusedName(), QStringLiteral("StopDate"));
}

TEST_F(ControlsTest, DateBoxRefusesLettersAndOpensItsCalendarOnTodayWhenEmpty) {
    openSalesman(QStringLiteral("S001"));
    h.focus(stop);
    h.type(QStringLiteral("ab12/x"));
    EXPECT_EQ(stop->text(), QStringLiteral("12/"));
    stop->clear();
    stop->showCalendar();
    ASSERT_NE(stop->calendar(), nullptr);
    EXPECT_EQ(stop->calendar()->selectedDate(), QDate::currentDate());
    emit stop->calendar()->clicked(QDate(2025, 1, 15));
    EXPECT_FALSE(stop->calendarVisible());
    EXPECT_EQ(stop->text(), QStringLiteral("15/01/2025"));
    EXPECT_EQ(value(salesman, "StopDate").toDateTime().date(), QDate(2025, 1, 15));
    start->showCalendar();
    EXPECT_EQ(start->calendar()->selectedDate(), QDate(2018, 6, 1));
}

TEST_F(ControlsTest, NumberBoxTakesOnlyNumbers) {
    openVendor(QStringLiteral("FV001"));
    h.focus(credit);
    credit->selectAll();
    h.type(QStringLiteral("12a3x4.567"));
    EXPECT_EQ(credit->text(), QStringLiteral("1234.56"));
    EXPECT_DOUBLE_EQ(value(vendor, "CreditLimit").toDouble(), 1234.56);
    h.focus(due);
    due->selectAll();
    h.type(QStringLiteral("-4.5"));
    EXPECT_EQ(due->text(), QStringLiteral("-45"));
    EXPECT_EQ(value(vendor, "DueDays").toLongLong(), -45);
    due->selectAll();
    h.press(Qt::Key_Backspace);
    EXPECT_TRUE(value(vendor, "DueDays").isNull());
}

}  // namespace
}  // namespace md::forms::test
