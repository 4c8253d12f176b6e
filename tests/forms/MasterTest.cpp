// The code master form base over the import expense table of the demo company: the three
// states, save and delete with their audit rows, and the server's refusals rolled back with the
// audit row while the entries stay on screen.

#include "DemoFixture.h"
#include "data/Connection.h"
#include "data/statements/Statements.h"
#include "forms/Dialogs.h"
#include "forms/Fr_Master.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using md::forms::TFrMaster;
using md::forms::test::DemoWindowTest;

namespace {

QStringList sql(const char* component) {
    return md::statements::text(QStringLiteral("Fr_ImportExpense"), QString::fromLatin1(component));
}

// A master as the derived windows make one: the table's statements and a search button.
class ExpenseMaster : public TFrMaster {
  public:
    ExpenseMaster() {
        QMaster.setSql(sql("QMaster"));
        UMaster.insertSql = sql("UMaster.Insert");
        UMaster.modifySql = sql("UMaster.Modify");
        UMaster.deleteSql = sql("UMaster.Delete");
    }
    void BtSearchCodeClick() override { ++searches; }
    int searches = 0;
};

class Master : public DemoWindowTest {
  protected:
    void SetUp() override {
        DemoWindowTest::SetUp();
        w = std::make_unique<ExpenseMaster>();
        ASSERT_TRUE(h.show(w.get()));
        ASSERT_TRUE(h.errors.isEmpty()) << h.errors.join(u'\n').toStdString();
    }
    void TearDown() override {
        w.reset();
        DemoWindowTest::TearDown();
    }
    // Types a code and leaves the field with Enter.
    void enterCode(const QString& code) {
        h.type(code);
        h.press(Qt::Key_Return);
    }
    bool waitingForCode() {
        return w->MasterCode->isEnabled() && w->BtSearchCode->isEnabled() &&
               !w->AcSave->isEnabled() && !w->AcDel->isEnabled() && h.focused() == w->MasterCode &&
               w->MasterCode->text().isEmpty();
    }
    QString lastAudit() {
        return scalar(QStringLiteral(
                          "Select Top 1 Convert(varchar(10), FunctionListId) + '/' + "
                          "Convert(varchar(10), DocumentId) + '/' + Remark + '/' + "
                          "Convert(varchar(10), UserId) + '/' + Convert(varchar(10), MenuId) "
                          "From UserLog Order By Id Desc"))
            .toString();
    }
    qint64 idOf(const QString& code) {
        return scalar(QStringLiteral("Select Id From ImpExpense Where Code = '%1'").arg(code))
            .toLongLong();
    }

    std::unique_ptr<ExpenseMaster> w;
};

TEST_F(Master, ShowsWaitingForACodeWithTheMenuCaptionAndCompany) {
    EXPECT_TRUE(waitingForCode());
    EXPECT_EQ(w->windowTitle(), config.MenuCaption);
    EXPECT_EQ(w->statusText(0), config.CompanyNameThai);
    EXPECT_TRUE(dm->DMdata.isConnected());
}

TEST_F(Master, AKnownCodeLoadsTheRecordForChangingWithDeleteEnabled) {
    enterCode(QStringLiteral("freight"));  // upper-cased by the field
    EXPECT_EQ(w->MasterCode->text(), QStringLiteral("FREIGHT"));
    EXPECT_EQ(w->Description->text(), QStringLiteral(u"ค่าระวางเรือ"));
    EXPECT_TRUE(w->AcSave->isEnabled());
    EXPECT_TRUE(w->AcDel->isEnabled());
    EXPECT_FALSE(w->MasterCode->isEnabled());
    EXPECT_FALSE(w->BtSearchCode->isEnabled());
    EXPECT_EQ(h.focused(), w->Description);
    // New goes back from anywhere, dropping the changes without a question.
    h.type(QStringLiteral("x"));
    h.press(Qt::Key_F3);
    EXPECT_TRUE(waitingForCode());
    EXPECT_TRUE(h.prompts.shown.isEmpty());
    enterCode(QStringLiteral("FREIGHT"));
    EXPECT_EQ(w->Description->text(), QStringLiteral(u"ค่าระวางเรือ"));
}

TEST_F(Master, AnUnknownCodeStartsANewRecordCarryingIt) {
    enterCode(QStringLiteral("NEW1"));
    EXPECT_EQ(w->MasterCode->text(), QStringLiteral("NEW1"));
    EXPECT_TRUE(w->Description->text().isEmpty());
    EXPECT_TRUE(w->AcSave->isEnabled());
    EXPECT_FALSE(w->AcDel->isEnabled());
    EXPECT_FALSE(w->MasterCode->isEnabled());
    EXPECT_EQ(w->QMaster.fieldByName(QStringLiteral("Code")).asString(), QStringLiteral("NEW1"));
}

TEST_F(Master, LeavingTheCodeEmptyKeepsWaiting) {
    h.press(Qt::Key_Return);
    EXPECT_TRUE(w->MasterCode->isEnabled());
    EXPECT_FALSE(w->AcSave->isEnabled());
    h.press(Qt::Key_F10);
    EXPECT_TRUE(h.prompts.shown.isEmpty());
}

TEST_F(Master, ANewRecordIsSavedWithItsAuditRowAndTheWindowWaitsAgain) {
    const qint64 audits = auditRows();
    enterCode(QStringLiteral("NEW1"));
    h.type(QStringLiteral("Port fee"));
    h.prompts.answer({false});
    h.press(Qt::Key_F10);
    EXPECT_EQ(h.prompts.shown, QStringList{QStringLiteral(u"yesno: จัดเก็บข้อมูล ?")});
    EXPECT_EQ(w->Description->text(), QStringLiteral("Port fee"));  // No keeps the entries
    EXPECT_EQ(idOf(QStringLiteral("NEW1")), 0);
    h.prompts.answer({true});
    h.press(Qt::Key_F10);
    EXPECT_TRUE(h.errors.isEmpty()) << h.errors.join(u'\n').toStdString();
    EXPECT_NE(idOf(QStringLiteral("NEW1")), 0);
    EXPECT_EQ(
        scalar(QStringLiteral("Select Description From ImpExpense Where Code = 'NEW1'")).toString(),
        QStringLiteral("Port fee"));
    EXPECT_EQ(auditRows(), audits + 1);
    EXPECT_EQ(lastAudit(), QStringLiteral("1/0/NEW1/1/103"));
    EXPECT_TRUE(waitingForCode());
}

TEST_F(Master, AChangedRecordIsSavedWithTheEditAuditRow) {
    enterCode(QStringLiteral("INS"));
    w->Description->selectAll();
    h.type(QStringLiteral("Insurance"));
    h.prompts.answer({true});
    h.press(Qt::Key_F10);
    EXPECT_EQ(
        scalar(QStringLiteral("Select Description From ImpExpense Where Code = 'INS'")).toString(),
        QStringLiteral("Insurance"));
    EXPECT_EQ(lastAudit(), QStringLiteral("2/%1/INS/1/103").arg(idOf(QStringLiteral("INS"))));
    EXPECT_TRUE(waitingForCode());
}

TEST_F(Master, ADuplicateIsRefusedTheAuditRowRolledBackAndTheEntriesKept) {
    enterCode(QStringLiteral("DUP1"));
    h.type(QStringLiteral("mine"));
    // Someone else saves the same code meanwhile.
    exec(QStringLiteral("Insert Into ImpExpense (Code, Description) Values ('DUP1', 'theirs')"));
    const qint64 audits = auditRows();
    h.prompts.answer({true});
    h.press(Qt::Key_F10);
    ASSERT_EQ(h.errors.size(), 1);
    EXPECT_TRUE(h.errors.at(0).contains(QStringLiteral("duplicate"), Qt::CaseInsensitive))
        << h.errors.at(0).toStdString();
    EXPECT_EQ(auditRows(), audits);
    EXPECT_FALSE(dm->DMdata.inTransaction());
    EXPECT_EQ(w->MasterCode->text(), QStringLiteral("DUP1"));
    EXPECT_EQ(w->Description->text(), QStringLiteral("mine"));
    EXPECT_TRUE(w->AcSave->isEnabled());
    EXPECT_EQ(w->QMaster.state(), md::data::DataSetState::Edit);

    // The same entries can be saved once the other row is gone.
    exec(QStringLiteral("Delete From ImpExpense Where Code = 'DUP1'"));
    h.prompts.answer({true});
    h.press(Qt::Key_F10);
    EXPECT_EQ(h.errors.size(), 1);
    EXPECT_EQ(
        scalar(QStringLiteral("Select Description From ImpExpense Where Code = 'DUP1'")).toString(),
        QStringLiteral("mine"));
    EXPECT_EQ(lastAudit(), QStringLiteral("1/0/DUP1/1/103"));
}

TEST_F(Master, AReferencedRowIsNotDeletedAndStaysOnScreen) {
    enterCode(QStringLiteral("FREIGHT"));
    const qint64 audits = auditRows();
    h.prompts.answer({true});
    h.press(Qt::Key_F8);
    EXPECT_EQ(h.prompts.shown, QStringList{QStringLiteral(u"yesno: ลบข้อมูล ?")});
    ASSERT_EQ(h.errors.size(), 1);
    EXPECT_TRUE(h.errors.at(0).contains(QStringLiteral("REFERENCE"), Qt::CaseInsensitive))
        << h.errors.at(0).toStdString();
    EXPECT_EQ(auditRows(), audits);
    EXPECT_NE(idOf(QStringLiteral("FREIGHT")), 0);
    EXPECT_EQ(w->MasterCode->text(), QStringLiteral("FREIGHT"));
    EXPECT_EQ(w->Description->text(), QStringLiteral(u"ค่าระวางเรือ"));
    EXPECT_TRUE(w->AcDel->isEnabled());
    // A save afterwards changes the record, it does not send the refused delete again.
    h.focus(w->Description);
    w->Description->selectAll();
    h.type(QStringLiteral("Sea freight"));
    h.prompts.answer({true});
    h.press(Qt::Key_F10);
    EXPECT_EQ(h.errors.size(), 1);
    EXPECT_EQ(scalar(QStringLiteral("Select Description From ImpExpense Where Code = 'FREIGHT'"))
                  .toString(),
              QStringLiteral("Sea freight"));
}

TEST_F(Master, AnUnreferencedRecordIsDeletedWithItsAuditRow) {
    const qint64 id = idOf(QStringLiteral("OTHER"));
    ASSERT_NE(id, 0);
    enterCode(QStringLiteral("OTHER"));
    h.prompts.answer({false});
    h.press(Qt::Key_F8);
    EXPECT_NE(idOf(QStringLiteral("OTHER")), 0);
    EXPECT_FALSE(w->MasterCode->isEnabled());
    h.prompts.answer({true});
    h.press(Qt::Key_F8);
    EXPECT_TRUE(h.errors.isEmpty()) << h.errors.join(u'\n').toStdString();
    EXPECT_EQ(idOf(QStringLiteral("OTHER")), 0);
    EXPECT_EQ(lastAudit(), QStringLiteral("3/%1//1/103").arg(id));
    EXPECT_TRUE(waitingForCode());
}

TEST_F(Master, EscapeAnsweredNoKeepsTheFocusAndTheRecord) {
    enterCode(QStringLiteral("INS"));
    h.type(QStringLiteral(" more"));
    const QString typed = w->Description->text();
    h.prompts.answer({false});
    h.press(Qt::Key_Escape);
    EXPECT_EQ(h.prompts.shown, QStringList{QStringLiteral(u"exit: ออกจากโปรแกรม ?")});
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(h.focused(), w->Description);
    EXPECT_EQ(w->Description->text(), typed);
    EXPECT_TRUE(dm->DMdata.isConnected());
    h.prompts.answer({true});
    h.press(Qt::Key_Escape);
    EXPECT_FALSE(w->isVisible());
    EXPECT_FALSE(dm->DMdata.isConnected());
}

TEST_F(Master, F5SearchesOnlyFromTheCodeField) {
    h.press(Qt::Key_F5);
    EXPECT_EQ(w->searches, 1);
    enterCode(QStringLiteral("INS"));
    h.press(Qt::Key_F5);
    EXPECT_EQ(w->searches, 1);
}

TEST_F(Master, ACodeLongerThanItsColumnCannotBeTyped) {
    h.type(QStringLiteral("ABCDEFGHIJKL"));
    EXPECT_EQ(w->MasterCode->text(), QStringLiteral("ABCDEFGHIJ"));
}

// Focus that moves while the window is not the active one: a dialog just closed and nothing made
// the window active again (an X server without a window manager does not). Keys still reach
// its focused control, and leaving the code field must still load the record.
class MasterFocus : public Master {
  protected:
    void SetUp() override {
        Master::SetUp();
        other.resize(200, 50);
        other.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    }
    void deactivate() {
        QApplication::setActiveWindow(&other);
        h.settle();
        ASSERT_FALSE(w->isActiveWindow());
    }
    // Keys into the window's own focused control, as the display server delivers them there.
    void typeIntoWindow(const QString& text) {
        QTest::keyClicks(w->focusWidget(), text);
        h.settle();
    }
    void pressInWindow(Qt::Key key) {
        QTest::keyClick(w->focusWidget(), key);
        h.settle();
    }
    // Answers the next real question box with `yes`.
    void answerBox(bool yes) {
        h.whenModal([yes](QWidget* dialog) {
            auto* box = qobject_cast<QMessageBox*>(dialog);
            ASSERT_NE(box, nullptr);
            box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
        });
    }

    QLineEdit other;
};

TEST_F(MasterFocus, TheCodeFieldLeftInAnInactiveWindowLoadsTheRecord) {
    deactivate();
    // By Enter.
    typeIntoWindow(QStringLiteral("FREIGHT"));
    pressInWindow(Qt::Key_Return);
    EXPECT_EQ(w->Description->text(), QStringLiteral(u"ค่าระวางเรือ"));
    EXPECT_TRUE(w->AcSave->isEnabled());
    EXPECT_EQ(w->focusWidget(), w->Description);
    // The action keys work there too: F3 goes back to waiting for a code.
    pressInWindow(Qt::Key_F3);
    EXPECT_FALSE(w->AcSave->isEnabled());
    EXPECT_TRUE(w->MasterCode->isEnabled());
    EXPECT_EQ(w->focusWidget(), w->MasterCode);
    // By a click elsewhere.
    typeIntoWindow(QStringLiteral("INS"));
    w->Description->setFocus(Qt::MouseFocusReason);
    h.settle();
    EXPECT_EQ(w->Description->text(), QStringLiteral(u"ค่าประกันภัยสินค้า"));
    EXPECT_FALSE(w->MasterCode->isEnabled());
}

TEST_F(MasterFocus, AfterTheSaveQuestionAndNoAtTheExitQuestionTheNextCodeLoads) {
    md::forms::Dialogs dialogs;
    md::data::setPrompts(&dialogs);
    enterCode(QStringLiteral("NEW1"));
    h.type(QStringLiteral("Port fee"));
    answerBox(true);
    h.press(Qt::Key_F10);
    EXPECT_NE(idOf(QStringLiteral("NEW1")), 0);
    EXPECT_TRUE(w->isActiveWindow()) << "the window takes the keys back after the question";
    enterCode(QStringLiteral("INS"));
    EXPECT_EQ(w->Description->text(), QStringLiteral(u"ค่าประกันภัยสินค้า"));
    EXPECT_TRUE(w->AcSave->isEnabled());

    h.press(Qt::Key_F3);
    h.type(QStringLiteral("FREIGHT"));
    answerBox(false);
    h.press(Qt::Key_Escape);
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->isActiveWindow());
    h.press(Qt::Key_Return);
    EXPECT_EQ(w->Description->text(), QStringLiteral(u"ค่าระวางเรือ"));
    md::data::setPrompts(&h.prompts);
    EXPECT_TRUE(h.errors.isEmpty()) << h.errors.join(u'\n').toStdString();
}

}  // namespace
