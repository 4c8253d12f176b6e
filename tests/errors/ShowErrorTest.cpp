#include "errors/Fr_ShowError.h"

#include "MailText.h"
#include "SmtpSink.h"
#include "TestRecorder.h"
#include "util/Utility.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace md::errors {
namespace {

using md::testing::SmtpSink;
using md::testing::TestRecorder;

const QString kErrorText = QStringLiteral(u"ป้อนวันที่ไม่ถูกต้อง\r'31/02/2024' IS NOT A VALID DATE\r");

md::util::MailSettings sinkSettings(const SmtpSink& sink) {
    md::util::MailSettings s;
    s.host = QStringLiteral("127.0.0.1");
    s.port = sink.port();
    s.from = QStringLiteral("errors@sink.test");
    s.to = QStringLiteral("support@sink.test");
    s.timeoutSeconds = 10;
    return s;
}

TEST(ShowErrorDialog, AppearsRedAtItsPlaceWithDontSendFocused) {
    TestRecorder recorder;
    TFrShowError dialog(&recorder);
    dialog.ErrorText = kErrorText;
    dialog.TimeCount->setText(QStringLiteral("left over"));
    dialog.show();

    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Windows Error Message"));
    EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_EQ(dialog.pos(), QPoint(50, 100));
    EXPECT_EQ(dialog.palette().color(QPalette::Window), QColor(Qt::red));
    EXPECT_EQ(dialog.ErrorBox->palette().color(QPalette::Base), QColor(Qt::red));
    EXPECT_TRUE(dialog.ErrorBox->isReadOnly());
    EXPECT_EQ(dialog.ErrorBox->toPlainText(),
              QStringLiteral(u"ป้อนวันที่ไม่ถูกต้อง\n'31/02/2024' IS NOT A VALID DATE\n"));
    EXPECT_EQ(dialog.focusWidget(), dialog.BCancel);
    EXPECT_TRUE(dialog.TimeCount->text().isEmpty());
    EXPECT_EQ(dialog.BOk->text(), QStringLiteral("Send Error"));
    EXPECT_EQ(dialog.BCancel->text(), QStringLiteral("Don't Send"));
    EXPECT_TRUE(dialog.BOk->font().bold());
    EXPECT_EQ(dialog.BCancel->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(dialog.Timer1->interval(), 1000);
    EXPECT_TRUE(dialog.Timer1->isActive());
    EXPECT_FALSE(TFrShowError::Sending);
    EXPECT_EQ(TFrShowError::CountDown, 10);
}

TEST(ShowErrorDialog, ClosesOnTheNinthTickWithoutMailing) {
    TestRecorder recorder;
    TFrShowError dialog(&recorder);
    dialog.ErrorText = kErrorText;
    dialog.show();
    for (int tick = 1; tick <= 8; ++tick) {
        dialog.Timer1Timer();
        ASSERT_TRUE(dialog.isVisible()) << "closed after tick " << tick;
    }
    dialog.Timer1Timer();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(recorder.mailCalls, 0);
}

TEST(ShowErrorDialog, RunningTimerClosesTheModalDialogByItself) {
    TestRecorder recorder;
    int ticks = 0;
    TFrShowError dialog(&recorder, nullptr, 5);
    QObject::connect(dialog.Timer1, &QTimer::timeout, [&] { ++ticks; });
    dialog.ErrorText = kErrorText;
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_EQ(ticks, 9);
    EXPECT_EQ(recorder.mailCalls, 0);
}

TEST(ShowErrorDialog, AFurtherErrorStartsTheCountdownAgain) {
    TestRecorder recorder;
    TFrShowError dialog(&recorder);
    dialog.ErrorText = kErrorText;
    dialog.show();
    for (int tick = 1; tick <= 8; ++tick)
        dialog.Timer1Timer();
    dialog.AppendErrorText(QStringLiteral("\rSECOND\r"));
    EXPECT_TRUE(dialog.ErrorBox->toPlainText().endsWith(QStringLiteral("\nSECOND\n")));
    EXPECT_TRUE(dialog.Timer1->isActive());
    for (int tick = 1; tick <= 8; ++tick) {
        dialog.Timer1Timer();
        ASSERT_TRUE(dialog.isVisible()) << "closed after tick " << tick << " of the second error";
    }
    dialog.Timer1Timer();
    EXPECT_FALSE(dialog.isVisible());
}

TEST(ShowErrorDialog, ReturnPressesTheFocusedButton) {
    for (const bool send : {false, true}) {
        TestRecorder recorder;
        TFrShowError dialog(&recorder);
        dialog.ErrorText = kErrorText;
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        QPushButton* button = send ? dialog.BOk : dialog.BCancel;
        button->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([&] { return button->hasFocus(); }));
        QTest::keyClick(button, Qt::Key_Return);
        EXPECT_FALSE(dialog.isVisible()) << (send ? "Send Error" : "Don't Send");
        EXPECT_EQ(dialog.result(), send ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(recorder.mailCalls, send ? 1 : 0);
    }
}

TEST(ShowErrorDialog, CountdownStandsStillWhileSending) {
    TFrShowError dialog(nullptr);
    dialog.show();
    TFrShowError::Sending = true;
    for (int tick = 0; tick < 20; ++tick)
        dialog.Timer1Timer();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(TFrShowError::CountDown, 10);
    TFrShowError::Sending = false;
}

TEST(ShowErrorDialog, DontSendClosesWithoutMailing) {
    TestRecorder recorder;
    TFrShowError dialog(&recorder);
    dialog.show();
    QTest::mouseClick(dialog.BCancel, Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(recorder.mailCalls, 0);
}

TEST(ShowErrorDialog, SendErrorMailsUtf8ReportAndCloses) {
    SmtpSink sink;
    ASSERT_TRUE(sink.listening());
    TestRecorder recorder;
    recorder.mail = sinkSettings(sink);
    TFrShowError dialog(&recorder);
    dialog.ErrorText = kErrorText;
    dialog.show();
    QTest::mouseClick(dialog.BOk, Qt::LeftButton);

    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(TFrShowError::Sending);
    ASSERT_EQ(recorder.mailResults, QList<bool>{true});
    const auto mails = sink.mails();
    ASSERT_EQ(mails.size(), 1);
    EXPECT_EQ(mails[0].from, QByteArray("<errors@sink.test>"));
    EXPECT_EQ(mails[0].recipients, QList<QByteArray>{"<support@sink.test>"});
    EXPECT_EQ(md::testing::mailHeader(mails[0].data, "Content-Type"),
              QByteArray("text/plain; charset=UTF-8"));
    EXPECT_EQ(md::testing::mailSubject(mails[0].data),
              QStringLiteral(u"Error KVR_DEMO ผู้ขายต่างประเทศ"));
    EXPECT_EQ(md::testing::mailBody(mails[0].data),
              QStringLiteral("[User = ADMIN] \r\nLocal IP = ") + md::util::LocalIpAddress() +
                  QStringLiteral(u"\r\nป้อนวันที่ไม่ถูกต้อง\r\n'31/02/2024' IS NOT A VALID DATE\r\n"));
}

TEST(ShowErrorDialog, MailFailureIsSwallowedAndTheDialogCloses) {
    SmtpSink sink;
    ASSERT_TRUE(sink.listening());
    TestRecorder recorder;
    recorder.mail = sinkSettings(sink);
    sink.stop();  // nobody listens on that port any more

    TFrShowError dialog(&recorder);
    dialog.ErrorText = kErrorText;
    dialog.show();
    QTest::mouseClick(dialog.BOk, Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(recorder.mailResults, QList<bool>{false});
}

}  // namespace
}  // namespace md::errors
