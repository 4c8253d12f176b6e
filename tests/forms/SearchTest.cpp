// The search form base and the simple search: the result rules, keys, colours, title sorting,
// the hidden hard delete, and DM.ShowSimpleSearch over the demo tables.

#include "DemoFixture.h"
#include "forms/Fr_Search.h"
#include "forms/Fr_SimpleSearch.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

using md::forms::CellParams;
using md::forms::FrSimpleSearch;
using md::forms::TFrSearch;
using md::forms::TFrSimpleSearch;
using md::forms::test::DemoWindowTest;

namespace {

// A document search as a derived window writes one: the code begins with the typed text.
class DocSearch : public TFrSearch {
  public:
    void FormShow() override {
        TFrSearch::FormShow();
        KeyField = QStringLiteral("Code");
    }
    void BtSearchClick() override {
        QSearch.close();
        QSearch.paramByName(QStringLiteral("GetCode"))
            .setAsString(LikeLiteral(Code->text()) + QStringLiteral("%"));
        TFrSearch::BtSearchClick();
    }
};

class Search : public DemoWindowTest {
  protected:
    void SetUp() override {
        DemoWindowTest::SetUp();
        exec(QStringLiteral(
            "Create Table TestDoc (Id int Identity(1,1) Primary Key, Code varchar(10), "
            "Descr varchar(60), DelFlag char(1), DelRemark varchar(100), Clear char(1), "
            "Active char(1), Remark varchar(100))"));
        exec(
            QStringLiteral("Insert Into TestDoc (Code, Descr, DelFlag, DelRemark, Clear, "
                           "Active, Remark) Values ('A1', 'beta', 'N', NULL, 'Y', 'N', 'x')"));
        exec(QStringLiteral(
            "Insert Into TestDoc (Code, Descr, DelFlag, DelRemark, Clear, Active, Remark) "
            "Values ('A2', 'alpha', 'Y', 'ลูกค้ายกเลิก', 'N', 'Y', 'y')"));
        exec(
            QStringLiteral("Insert Into TestDoc (Code, Descr, DelFlag, DelRemark, Clear, "
                           "Active, Remark) Values ('B1', 'gamma', 'N', NULL, NULL, 'Y', 'z')"));
        TFrSearch::LastSortField.clear();
        TFrSearch::SortDescNext = false;
        w = std::make_unique<DocSearch>();
        setColumns(QStringLiteral("Id, Code, Descr, DelFlag, DelRemark"));
        ASSERT_TRUE(h.show(w.get()));
    }
    void TearDown() override {
        w.reset();
        DemoWindowTest::TearDown();
    }
    void setColumns(const QString& columns) {
        w->QSearch.setSql({QStringLiteral("Select ") + columns + QStringLiteral(" From TestDoc"),
                           QStringLiteral("Where Code Like :GetCode"),
                           QStringLiteral("Order By Code")});
    }
    QStringList codes() {
        QStringList out;
        for (int r = 0; r < w->DgSearch->queryModel()->rowCount(); ++r)
            out << w->DgSearch->queryModel()->index(r, 1).data().toString();
        return out;
    }
    void clickTitle(const QString& field) {
        const int column = w->DgSearch->queryModel()->columnOf(field);
        ASSERT_GE(column, 0);
        emit w->DgSearch->horizontalHeader()->sectionClicked(column);
        h.settle();
    }

    std::unique_ptr<DocSearch> w;
};

TEST_F(Search, EnterInTheCodeSearchesAndEnterInTheGridChooses) {
    EXPECT_EQ(h.focusedName(), QStringLiteral("Code"));
    h.type(QStringLiteral("b"));  // upper-cased as typed
    EXPECT_EQ(w->Code->text(), QStringLiteral("B"));
    h.press(Qt::Key_Return);
    EXPECT_EQ(h.focusedName(), QStringLiteral("DgSearch"));
    EXPECT_EQ(codes(), QStringList{QStringLiteral("B1")});
    h.press(Qt::Key_Return);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_EQ(w->ResultValue, QStringLiteral("B1"));
    EXPECT_TRUE(h.prompts.shown.isEmpty());
}

TEST_F(Search, ACancelledDocumentIsRefusedWithItsReasonAndTheWindowStays) {
    h.type(QStringLiteral("A"));
    h.press(Qt::Key_Return);
    ASSERT_EQ(codes(), (QStringList{QStringLiteral("A1"), QStringLiteral("A2")}));
    h.press(Qt::Key_Down);
    ASSERT_EQ(w->QSearch.fieldByName(QStringLiteral("Code")).asString(), QStringLiteral("A2"));
    h.press(Qt::Key_Return);
    EXPECT_EQ(h.prompts.shown, (QStringList{QStringLiteral(u"info: เอกสารถูกยกเลิกแล้ว"),
                                            QStringLiteral(u"info: สาเหตุยกเลิก : ลูกค้ายกเลิก")}));
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->ResultValue.isEmpty());
    // Another row can still be chosen, by a double click this time.
    h.press(Qt::Key_Up);
    emit w->DgSearch->gridDoubleClicked();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(w->ResultValue, QStringLiteral("A1"));
}

TEST_F(Search, WithoutAReasonColumnOnlyTheFirstMessageInEnglish) {
    config.LanguageThai = false;
    w->hide();
    setColumns(QStringLiteral("Id, Code, DelFlag"));
    ASSERT_TRUE(h.show(w.get()));
    EXPECT_EQ(w->BtOk->text(), QStringLiteral("Choose"));
    h.type(QStringLiteral("A2"));
    h.press(Qt::Key_Return);
    h.press(Qt::Key_Return);
    EXPECT_EQ(h.prompts.shown, QStringList{QStringLiteral("info: Document Was Deleted")});
    EXPECT_TRUE(w->isVisible());
}

TEST_F(Search, OkOnAnEmptyResultClosesWithCancel) {
    h.type(QStringLiteral("ZZ"));
    h.press(Qt::Key_Return);
    EXPECT_EQ(h.focusedName(), QStringLiteral("Code"));  // nothing found: the focus stays
    EXPECT_TRUE(codes().isEmpty());
    QTest::mouseClick(w->BtOk, Qt::LeftButton);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(w->result(), QDialog::Rejected);
    EXPECT_TRUE(w->ResultValue.isEmpty());
}

TEST_F(Search, EscapeCancelsAndDownMovesToTheGrid) {
    h.press(Qt::Key_Return);
    h.focus(w->Code);
    h.press(Qt::Key_Down);
    EXPECT_EQ(h.focusedName(), QStringLiteral("DgSearch"));
    h.press(Qt::Key_Escape);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(w->result(), QDialog::Rejected);
    EXPECT_TRUE(w->ResultValue.isEmpty());
}

TEST_F(Search, TypedWildcardsAndQuotesMatchAsWritten) {
    exec(QStringLiteral("Insert Into TestDoc (Code) Values ('A_%''')"));
    h.type(QStringLiteral("A_"));
    h.press(Qt::Key_Return);
    EXPECT_EQ(codes(), QStringList{QStringLiteral("A_%'")});
    h.focus(w->Code);
    w->Code->setText(QStringLiteral("A_%'"));
    h.press(Qt::Key_Return);
    EXPECT_EQ(codes(), QStringList{QStringLiteral("A_%'")});
    EXPECT_EQ(TFrSearch::LikeLiteral(QStringLiteral("5%_[x]")), QStringLiteral("5[%][_][[]x]"));
}

TEST_F(Search, TitleClicksSortAscendingThenDescendingAndRemarkIsIgnored) {
    setColumns(QStringLiteral("Id, Code, Descr, Remark"));
    h.press(Qt::Key_Return);
    clickTitle(QStringLiteral("Descr"));
    EXPECT_EQ(w->QSearch.sql().at(2), QStringLiteral("Order By 3"));
    EXPECT_EQ(codes(),
              (QStringList{QStringLiteral("A2"), QStringLiteral("A1"), QStringLiteral("B1")}));
    clickTitle(QStringLiteral("Descr"));
    EXPECT_EQ(w->QSearch.sql().at(2), QStringLiteral("Order By 3 Desc"));
    EXPECT_EQ(codes(),
              (QStringList{QStringLiteral("B1"), QStringLiteral("A1"), QStringLiteral("A2")}));
    clickTitle(QStringLiteral("Descr"));
    EXPECT_EQ(w->QSearch.sql().at(2), QStringLiteral("Order By 3"));
    clickTitle(QStringLiteral("Remark"));
    EXPECT_EQ(w->QSearch.sql().at(2), QStringLiteral("Order By 3"));
    // Another column starts again ascending; the state is shared by every search window.
    clickTitle(QStringLiteral("Code"));
    EXPECT_EQ(w->QSearch.sql().at(2), QStringLiteral("Order By 2"));
    EXPECT_EQ(TFrSearch::LastSortField, QStringLiteral("CODE"));
    DocSearch other;
    other.QSearch.setSql(w->QSearch.sql());
    other.QSearch.paramByName(QStringLiteral("GetCode")).setAsString(QStringLiteral("%"));
    other.QSearch.open();
    other.DgSearchTitleBtnClick(other.QSearch.fieldByName(QStringLiteral("Code")));
    EXPECT_EQ(other.QSearch.sql().at(2), QStringLiteral("Order By 2 Desc"));
}

TEST_F(Search, ColoursDelFlagBeforeClearBeforeActive) {
    const auto colourOf = [&](const QString& columns, int row) {
        setColumns(columns);
        w->Code->clear();
        w->BtSearchClick();
        return w->DgSearch->cellParams(row, 0, false).background;
    };
    const QColor normal = w->DgSearch->defaultBackground(false);
    // Row 0 is A1 (DelFlag N, Clear Y, Active N), row 1 A2 (DelFlag Y, Clear N, Active Y).
    EXPECT_EQ(colourOf(QStringLiteral("Code, DelFlag, Clear, Active"), 0), normal);
    EXPECT_EQ(colourOf(QStringLiteral("Code, DelFlag, Clear, Active"), 1), QColor(Qt::red));
    EXPECT_EQ(colourOf(QStringLiteral("Code, Clear, Active"), 0), QColor(Qt::blue));
    EXPECT_EQ(colourOf(QStringLiteral("Code, Clear, Active"), 1), normal);
    EXPECT_EQ(colourOf(QStringLiteral("Code, Active"), 0), QColor(Qt::red));
    EXPECT_EQ(colourOf(QStringLiteral("Code, Active"), 1), normal);
    EXPECT_FALSE(colourOf(QStringLiteral("Code, Descr"), 0).isValid());
    // The default of a highlighted cell is the window-text colour.
    setColumns(QStringLiteral("Code, DelFlag"));
    w->BtSearchClick();
    EXPECT_EQ(w->DgSearch->cellParams(0, 0, true).background, w->DgSearch->defaultBackground(true));
    EXPECT_EQ(w->DgSearch->cellParams(1, 0, true).background, QColor(Qt::red));
}

TEST_F(Search, TheHardDeleteIsOfferedOnlyWithADocumentTable) {
    w->Code->setText(QStringLiteral("A2"));
    h.press(Qt::Key_Return);
    const auto rightClick = [&] {
        emit w->DgSearch->mousePressed(Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier);
        h.settle();
    };
    rightClick();
    EXPECT_TRUE(h.prompts.shown.isEmpty());
    EXPECT_TRUE(h.errors.isEmpty());

    w->DocTable = QStringLiteral("TestDoc");
    emit w->DgSearch->mousePressed(Qt::RightButton,
                                   Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    EXPECT_TRUE(h.prompts.shown.isEmpty());
    h.prompts.answer({true, false});
    rightClick();
    EXPECT_EQ(h.prompts.shown, (QStringList{QStringLiteral("yesno: Confirm Delete #1/2 ?"),
                                            QStringLiteral("yesno: Confirm Delete #2/2 ?")}));
    EXPECT_EQ(scalar(QStringLiteral("Select Count(*) From TestDoc")).toInt(), 3);
    h.prompts.answer({true, true});
    rightClick();
    EXPECT_EQ(scalar(QStringLiteral("Select Count(*) From TestDoc")).toInt(), 2);
    EXPECT_TRUE(codes().isEmpty());  // searched again
    EXPECT_TRUE(h.errors.isEmpty());
}

TEST_F(Search, TheHardDeleteLeavesARowThatIsNotCancelledAlone) {
    w->DocTable = QStringLiteral("TestDoc");
    w->Code->setText(QStringLiteral("B1"));
    h.press(Qt::Key_Return);
    h.prompts.answer({true, true});
    emit w->DgSearch->mousePressed(Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_TRUE(h.prompts.shown.isEmpty());
    EXPECT_EQ(scalar(QStringLiteral("Select Count(*) From TestDoc")).toInt(), 3);
}

TEST_F(Search, ARefusedStatementReachesTheErrorHandlerAndTheWindowStays) {
    w->QSearch.setSql({QStringLiteral("Select Id, Code From NoSuchTable Where Code Like :GetCode"),
                       QStringLiteral("Order By Code")});
    h.press(Qt::Key_Return);
    ASSERT_EQ(h.errors.size(), 1);
    EXPECT_TRUE(h.errors.at(0).contains(QStringLiteral("NoSuchTable"), Qt::CaseInsensitive))
        << h.errors.at(0).toStdString();
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(h.focusedName(), QStringLiteral("Code"));
    // Nothing was found, so OK chooses nothing.
    w->BtOk->click();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(w->result(), QDialog::Rejected);
}

class SimpleSearch : public DemoWindowTest {};

TEST_F(SimpleSearch, FindsDescriptionsContainingTheTextAndReturnsTheCode) {
    exec(QStringLiteral("Select 1"));  // the company connection is open, as a window opens it
    QStringList found;
    h.whenModal([&](QWidget*) {
        EXPECT_EQ(FrSimpleSearch()->windowTitle(), QStringLiteral(u"ค่าใช้จ่าย"));
        h.type(QStringLiteral(u"ขนส่ง"));
        h.press(Qt::Key_Return);
        auto* model = FrSimpleSearch()->DgSearch->queryModel();
        for (int r = 0; r < model->rowCount(); ++r)
            found << model->index(r, 1).data().toString();
        EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral(u"รายละเอียด"));
        h.press(Qt::Key_Return);
    });
    const bool chosen = dm->ShowSimpleSearch(QStringLiteral(u"ค่าใช้จ่าย"), QStringLiteral("Code"),
                                             QStringLiteral("Description"), QString(),
                                             QStringLiteral("ImpExpense"));
    EXPECT_TRUE(chosen);
    found.sort();
    EXPECT_EQ(found, (QStringList{QStringLiteral("AIRFRT"), QStringLiteral("TRUCK")}));
    EXPECT_TRUE(found.contains(FrSimpleSearch()->ResultValue));
}

TEST_F(SimpleSearch, ASecondCallReusesTheWindowWithTheNewValuesAndAnEmptyField) {
    exec(QStringLiteral("Select 1"));
    h.whenModal([&](QWidget*) {
        h.type(QStringLiteral("X"));
        h.press(Qt::Key_Escape);
    });
    EXPECT_FALSE(dm->ShowSimpleSearch(QStringLiteral("One"), QString(), QString(), QString(),
                                      QStringLiteral("ImpExpense")));
    TFrSimpleSearch* first = FrSimpleSearch();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->ResultValue.isEmpty());

    QString caption, typed;
    int rows = -1;
    h.whenModal([&](QWidget*) {
        caption = FrSimpleSearch()->windowTitle();
        typed = FrSimpleSearch()->Code->text();
        h.press(Qt::Key_Return);  // an empty field lists every row
        rows = FrSimpleSearch()->DgSearch->queryModel()->rowCount();
        h.press(Qt::Key_Escape);
    });
    dm->ShowSimpleSearch(QString(), QStringLiteral("Code"), QStringLiteral("Description"),
                         QStringLiteral("Code <> 'IMP-0001'"), QStringLiteral("ImportLotNo"));
    EXPECT_EQ(FrSimpleSearch(), first);
    EXPECT_EQ(caption, QStringLiteral("Search"));
    EXPECT_TRUE(typed.isEmpty());
    const int lots = scalar(QStringLiteral("Select Count(*) From ImportLotNo")).toInt();
    EXPECT_EQ(rows, lots - 1);
    EXPECT_EQ(first->QSearch.sql(),
              (QStringList{QStringLiteral("Select Id, Description, Code From ImportLotNo Where "
                                          "(Description Like :GetCode) "),
                           QStringLiteral("And (Code <> 'IMP-0001')"),
                           QStringLiteral("Order By Description")}));
}

// Where the window stands: the centre of its frame against the centre of the desktop.
QPoint offCentre(const QWidget* w) {
    return w->frameGeometry().center() - w->screen()->availableGeometry().center();
}

TEST_F(SimpleSearch, ACentredFixedDialogWhoseColumnsFitWithoutScrollingSideways) {
    exec(QStringLiteral("Select 1"));
    QSize size, minimum, maximum;
    QPoint off(99, 99);
    Qt::WindowFlags flags;
    bool sideways = true;
    int rows = 0;
    h.whenModal([&](QWidget* dialog) {
        size = dialog->size();
        minimum = dialog->minimumSize();
        maximum = dialog->maximumSize();
        off = offCentre(dialog);
        flags = dialog->windowFlags();
        h.press(Qt::Key_Return);  // every row
        rows = FrSimpleSearch()->DgSearch->queryModel()->rowCount();
        h.settle();
        sideways = FrSimpleSearch()->DgSearch->horizontalScrollBar()->isVisible();
        h.press(Qt::Key_Escape);
    });
    dm->ShowSimpleSearch(QString(), QStringLiteral("Code"), QStringLiteral("Description"),
                         QString(), QStringLiteral("ImportLotNo"));
    EXPECT_EQ(size, QSize(528, 279));
    EXPECT_EQ(minimum, size);
    EXPECT_EQ(maximum, size);
    EXPECT_LE(std::abs(off.x()), 1);
    EXPECT_LE(std::abs(off.y()), 1);
    EXPECT_FALSE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_GT(rows, 0);
    EXPECT_FALSE(sideways);
}

}  // namespace
