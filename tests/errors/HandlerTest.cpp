#include "errors/ErrorHandler.h"

#include "TestRecorder.h"
#include "data/backend/DbError.h"
#include "errors/ErrorTranslation.h"
#include "errors/Fr_ShowError.h"
#include "errors/TApplication.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <stdexcept>

namespace md::errors {
namespace {

using md::testing::TestRecorder;

// Runs `act` on the error dialog once it is up in its modal loop. The dialog's short countdown
// closes it in any case, so a test that goes wrong cannot hang.
void whenDialogShows(std::function<void(TFrShowError*)> act) {
    auto* poll = new QTimer;
    auto attempts = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, attempts, act] {
        auto* dialog = qobject_cast<TFrShowError*>(QApplication::activeModalWidget());
        if (!dialog && ++*attempts < 500)
            return;
        poll->stop();
        poll->deleteLater();
        if (dialog)
            act(dialog);
    });
    poll->start(1);
}

struct Seen {
    bool shown = false;
    QString text;
    int loggedWhenShown = -1;
};

// Notes what the dialog shows, then leaves it with "Don't Send".
void captureDialog(Seen& seen, const TestRecorder& recorder) {
    whenDialogShows([&seen, &recorder](TFrShowError* dialog) {
        seen.shown = true;
        seen.text = dialog->ErrorBox->toPlainText();
        seen.loggedWhenShown = static_cast<int>(recorder.logged.size());
        QTest::mouseClick(dialog->BCancel, Qt::LeftButton);
    });
}

class ErrorHandlerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        handler.setRecorder(&recorder);
        handler.setTickInterval(50);
        TApplication::instance()->setErrorHandler(
            [this](const QString& message) { handler.HandleError(message); });
    }
    void TearDown() override { TApplication::instance()->setErrorHandler({}); }

    TestRecorder recorder;
    ErrorHandler handler;
    Seen seen;
};

TEST_F(ErrorHandlerTest, RecordsTheRawMessageFirstThenShowsTheExplainedText) {
    captureDialog(seen, recorder);
    handler.HandleError(QStringLiteral("'31/02/2024' is not a valid date"));
    EXPECT_EQ(recorder.logged, QStringList{QStringLiteral("'31/02/2024' is not a valid date")});
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(seen.loggedWhenShown, 1);
    EXPECT_EQ(seen.text, QStringLiteral(u"ป้อนวันที่ไม่ถูกต้อง\n'31/02/2024' IS NOT A VALID DATE\n"));
}

TEST_F(ErrorHandlerTest, RecordingFailureStillShowsBothTexts) {
    recorder.failLogWith =
        QStringLiteral("[FreeTDS][SQL Server]Unable to connect: Adaptive Server is unavailable");
    captureDialog(seen, recorder);
    handler.HandleError(QStringLiteral("Cannot insert duplicate key in object 'dbo.Misc'."));
    ASSERT_TRUE(seen.shown);
    EXPECT_TRUE(seen.text.startsWith(QStringLiteral(
        u"ข้อมูลที่เพิ่มซ้ำกับข้อมูลที่มีอยู่แล้ว\nCANNOT INSERT DUPLICATE KEY IN OBJECT 'DBO.MISC'.\n")))
        << seen.text.toStdString();
    EXPECT_TRUE(
        seen.text.contains(QStringLiteral("UNABLE TO CONNECT: ADAPTIVE SERVER IS UNAVAILABLE")))
        << seen.text.toStdString();
    QString expected =
        ErrorDialogText(QStringLiteral("Cannot insert duplicate key in object 'dbo.Misc'.")) +
        ErrorHandler::RecordFailureText(*recorder.failLogWith);
    expected.replace(u'\r', u'\n');
    EXPECT_EQ(seen.text, expected);
}

TEST_F(ErrorHandlerTest, ErrorWhileTheDialogIsUpJoinsIt) {
    whenDialogShows([this](TFrShowError* dialog) {
        handler.HandleError(QStringLiteral("Possible network error: Write to SQL Server failed."));
        EXPECT_EQ(QApplication::activeModalWidget(), dialog);  // no second dialog
        seen.shown = true;
        seen.text = dialog->ErrorBox->toPlainText();
        dialog->BCancelClick();
    });
    handler.HandleError(QStringLiteral("Insufficient memory"));
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(recorder.logged.size(), 2);
    EXPECT_TRUE(seen.text.contains(QStringLiteral("INSUFFICIENT MEMORY")));
    EXPECT_TRUE(seen.text.contains(QStringLiteral("POSSIBLE NETWORK ERROR")));
}

TEST_F(ErrorHandlerTest, ExceptionFromATimerSlotReachesTheHandler) {
    captureDialog(seen, recorder);
    QTimer::singleShot(0, [] {
        throw md::data::DbError(
            QStringLiteral("Violation of PRIMARY KEY constraint 'PK_Misc'. Cannot insert duplicate "
                           "key in object 'dbo.Misc'."),
            2627, QStringLiteral("23000"), md::data::ErrorCategory::Constraint);
    });
    QTest::qWait(0);
    QTRY_VERIFY_WITH_TIMEOUT(seen.shown, 5000);
    EXPECT_EQ(recorder.logged,
              QStringList{QStringLiteral("Violation of PRIMARY KEY constraint 'PK_Misc'. Cannot "
                                         "insert duplicate key in object 'dbo.Misc'.")});
    EXPECT_TRUE(seen.text.startsWith(QStringLiteral(u"ข้อมูลที่เพิ่มซ้ำกับข้อมูลที่มีอยู่แล้ว\n")));
}

TEST_F(ErrorHandlerTest, GuardedSlotHandsTheExceptionOverWhereItArises) {
    QWidget window;
    auto* save = new QPushButton(QStringLiteral("Save"), &window);
    bool afterClick = false;
    int clicks = 0;
    QObject::connect(save, &QPushButton::clicked, Guarded([&clicks] {
                         if (++clicks > 1)
                             return;
                         throw md::data::DbError(QStringLiteral(
                             "The DELETE statement conflicted with the REFERENCE constraint "
                             "\"FK_Lot_Vendor\"."));
                     }));
    QObject::connect(save, &QPushButton::clicked, [&afterClick](bool) { afterClick = true; });
    window.show();
    captureDialog(seen, recorder);
    QTest::mouseClick(save, Qt::LeftButton);
    ASSERT_TRUE(seen.shown);
    EXPECT_TRUE(afterClick);  // the click went on to its other receivers
    EXPECT_TRUE(seen.text.startsWith(QStringLiteral(u"ข้อมูลที่ลบถูกอ้างโดยข้อมูลอื่น ไม่สามารถลบข้อมูลนี้ได้\n")));
    EXPECT_EQ(recorder.logged.size(), 1);

    QTest::mouseClick(save, Qt::LeftButton);  // the window still answers
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(recorder.logged.size(), 1);
}

TEST_F(ErrorHandlerTest, ExceptionInsideAModalLoopReachesTheHandler) {
    QDialog modal;
    captureDialog(seen, recorder);
    QTimer::singleShot(0, &modal, [] { throw 42; });
    QTimer::singleShot(0, &modal, [&modal] {
        // Runs after the failed slot: the modal loop survived it.
        QTimer::singleShot(0, &modal, &QDialog::accept);
    });
    EXPECT_EQ(modal.exec(), QDialog::Accepted);
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(recorder.logged, QStringList{QStringLiteral("Unknown exception")});
}

TEST_F(ErrorHandlerTest, StartUpCodeRoutesAnExceptionToTheSameHandler) {
    captureDialog(seen, recorder);
    try {
        throw md::data::DbError(QStringLiteral("Login failed for user 'kvr'."), 18456,
                                QStringLiteral("28000"), md::data::ErrorCategory::Connection);
    } catch (...) {
        TApplication::instance()->HandleException(std::current_exception());
    }
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(recorder.logged, QStringList{QStringLiteral("Login failed for user 'kvr'.")});
}

TEST(ExceptionMessage, TextOfEachKind) {
    EXPECT_EQ(TApplication::ExceptionMessage(std::make_exception_ptr(
                  md::data::DbError(QStringLiteral(u"ข้อความ Server text")))),
              QStringLiteral(u"ข้อความ Server text"));
    EXPECT_EQ(
        TApplication::ExceptionMessage(std::make_exception_ptr(std::logic_error("bad state"))),
        QStringLiteral("bad state"));
    EXPECT_EQ(TApplication::ExceptionMessage(std::make_exception_ptr(3.5)),
              QStringLiteral("Unknown exception"));
}

TEST(TApplicationNotify, WithoutAHandlerTheProgramGoesOn) {
    TApplication::instance()->setErrorHandler({});
    bool after = false;
    QTimer::singleShot(0, [] { throw std::runtime_error("nobody listens"); });
    QTimer::singleShot(0, [&after] { after = true; });
    QTRY_VERIFY_WITH_TIMEOUT(after, 5000);
}

TEST(TApplicationNotify, AFailingHandlerDoesNotEscape) {
    TApplication::instance()->setErrorHandler(
        [](const QString&) { throw std::runtime_error("handler broke"); });
    bool after = false;
    QTimer::singleShot(0, [] { throw std::runtime_error("first"); });
    QTimer::singleShot(0, [&after] { after = true; });
    QTRY_VERIFY_WITH_TIMEOUT(after, 5000);
    TApplication::instance()->setErrorHandler({});
}

}  // namespace
}  // namespace md::errors
