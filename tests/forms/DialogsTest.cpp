// The dialogs service: the colours of the questions and the answers Escape and the close box
// give.

#include "forms/Dialogs.h"
#include "forms/testing/WindowHarness.h"

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QMessageBox>
#include <QTest>
#include <memory>

using md::forms::Dialogs;
using md::forms::testing::WindowHarness;

namespace {

// Runs `answer` on the question box once it is up, then returns what the question returned.
template <class Ask>
bool answered(std::function<void(QMessageBox*)> answer, Ask ask) {
    WindowHarness h;
    h.whenModal([answer](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        ASSERT_NE(box, nullptr);
        answer(box);
    });
    return ask();
}

TEST(Dialogs, TheSaveQuestionIsBlueAndTheExitQuestionGreenWithWhiteText) {
    const std::unique_ptr<QMessageBox> blue(
        Dialogs::buildQuestion(QStringLiteral("q"), Dialogs::confirmColor()));
    EXPECT_EQ(blue->palette().color(QPalette::Window), QColor(0, 0, 255));
    EXPECT_EQ(blue->palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_TRUE(blue->styleSheet().contains(QStringLiteral("#0000ff")));
    EXPECT_EQ(blue->icon(), QMessageBox::Question);
    EXPECT_EQ(blue->standardButtons(), QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(blue->escapeButton(), blue->button(QMessageBox::No));

    const std::unique_ptr<QMessageBox> green(
        Dialogs::buildQuestion(QStringLiteral("q"), Dialogs::exitColor()));
    EXPECT_EQ(green->palette().color(QPalette::Window), QColor(0, 128, 0));

    const std::unique_ptr<QMessageBox> plain(Dialogs::buildQuestion(QStringLiteral("q"), {}));
    EXPECT_TRUE(plain->styleSheet().isEmpty());
}

TEST(Dialogs, YesIsTheOnlyAnswerThatCountsAsYes) {
    Dialogs d;
    EXPECT_TRUE(answered([](QMessageBox* b) { b->button(QMessageBox::Yes)->click(); },
                         [&] { return d.askYesNo(QStringLiteral(u"จัดเก็บข้อมูล ?")); }));
    EXPECT_FALSE(answered([](QMessageBox* b) { b->button(QMessageBox::No)->click(); },
                          [&] { return d.askExit(QStringLiteral("Exit Program ?")); }));
    EXPECT_FALSE(answered([](QMessageBox* b) { QTest::keyClick(b, Qt::Key_Escape); },
                          [&] { return d.askYesNo(QStringLiteral("q")); }));
    EXPECT_FALSE(answered([](QMessageBox* b) { b->close(); },
                          [&] { return d.askPlainYesNo(QStringLiteral("q")); }));
    EXPECT_TRUE(answered([](QMessageBox* b) { QTest::keyClick(b, Qt::Key_Return); },
                         [&] { return d.askExit(QStringLiteral("q")); }));
}

TEST(Dialogs, NoticesShowTheirTextWithOk) {
    Dialogs d;
    QString text;
    answered(
        [&](QMessageBox* b) {
            text = b->text();
            EXPECT_EQ(b->icon(), QMessageBox::Information);
            b->button(QMessageBox::Ok)->click();
        },
        [&] {
            d.information(QStringLiteral(u"เอกสารถูกยกเลิกแล้ว"));
            return true;
        });
    EXPECT_EQ(text, QStringLiteral(u"เอกสารถูกยกเลิกแล้ว"));
}

}  // namespace
