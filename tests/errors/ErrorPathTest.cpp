// The error path end to end in the running program's shape: a real session module on a fresh
// demo server records through ConfigErrorRecorder, the handler explains and shows, the
// countdown closes the dialog, and "Send Error" mails through the session module to a local
// SMTP sink.

#include "MailText.h"
#include "SmtpSink.h"
#include "data/Dm_Config.h"
#include "data/Query.h"
#include "data/backend/DbError.h"
#include "errors/ConfigErrorRecorder.h"
#include "errors/ErrorHandler.h"
#include "errors/Fr_ShowError.h"
#include "errors/TApplication.h"
#include "schema/DemoServer.h"
#include "tests/support/DemoServer.h"
#include "util/Utility.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

namespace md::errors {
namespace {

using md::testing::SmtpSink;

// Sets an environment variable for the life of the object.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const QByteArray& value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
        qputenv(name, value);
    }
    ~ScopedEnv() {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

  private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

struct DialogSeen {
    bool shown = false;
    QString text;
    int result = -1;
};

// Watches for the error dialog; `act` (if any) runs on it once it is up, otherwise it is left
// to its countdown. The result is noted when it closes.
void watchDialog(DialogSeen& seen, std::function<void(TFrShowError*)> act = {}) {
    auto* poll = new QTimer;
    auto attempts = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, attempts, act, &seen] {
        auto* dialog = qobject_cast<TFrShowError*>(QApplication::activeModalWidget());
        if (!dialog && ++*attempts < 2000)
            return;
        poll->stop();
        poll->deleteLater();
        if (!dialog)
            return;
        seen.shown = true;
        seen.text = dialog->ErrorBox->toPlainText();
        QObject::connect(dialog, &QDialog::finished, [&seen](int r) { seen.result = r; });
        if (act)
            act(dialog);
    });
    poll->start(1);
}

class ErrorPath : public ::testing::Test {
  protected:
    void SetUp() override {
        previous_ = QDir::currentPath();
        ASSERT_TRUE(work_.isValid());
        QDir::setCurrent(work_.path());
        writeServerDat(server_);
        ASSERT_TRUE(sink_.listening());
        env_.push_back(std::make_unique<ScopedEnv>("MD_SMTP_HOST", "127.0.0.1"));
        env_.push_back(
            std::make_unique<ScopedEnv>("MD_SMTP_PORT", QByteArray::number(sink_.port())));
        env_.push_back(std::make_unique<ScopedEnv>("MD_SMTP_FROM", "errors@sink.test"));
        env_.push_back(std::make_unique<ScopedEnv>("MD_SMTP_TO", "support@sink.test"));

        config_ = std::make_unique<data::TDMConfig>();
        config_->MenuId = 105;
        config_->UserId = 1;
        config_->GetCompanyConfig(QStringLiteral("demo01"));
        config_->CheckRight(105, 1);
        recorder_ = std::make_unique<ConfigErrorRecorder>(config_.get());
        handler_.setRecorder(recorder_.get());
        handler_.setTickInterval(20);
        TApplication::instance()->setErrorHandler(
            [this](const QString& message) { handler_.HandleError(message); });
    }
    void TearDown() override {
        TApplication::instance()->setErrorHandler({});
        recorder_.reset();
        config_.reset();
        QDir::setCurrent(previous_);
    }

    static void writeServerDat(const QString& line) {
        QFile f(QStringLiteral("Server.Dat"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write((line + u'\n').toUtf8());
    }

    // Throws `error` from an event handler and waits until the dialog has come and gone.
    void raiseFromHandler(const data::DbError& error, DialogSeen& seen) {
        QTimer::singleShot(0, [error] { throw error; });
        QTRY_VERIFY_WITH_TIMEOUT(seen.result != -1, 10000);
    }

    // A copy of the demo server for each test: the program writes to it.
    md::testing::DemoServerCopy demo_;
    const QString server_ = demo_.serverName();
    QTemporaryDir work_;
    QString previous_;
    SmtpSink sink_;
    std::vector<std::unique_ptr<ScopedEnv>> env_;
    std::unique_ptr<data::TDMConfig> config_;
    std::unique_ptr<ConfigErrorRecorder> recorder_;
    ErrorHandler handler_;
};

TEST_F(ErrorPath, ErrorIsLoggedExplainedShownAndClosedByTheCountdown) {
    const QString message = QStringLiteral(
        "Cannot insert duplicate key row in object 'dbo.Misc' with unique index 'IX_Misc'.");
    DialogSeen seen;
    watchDialog(seen);
    raiseFromHandler(
        data::DbError(message, 2601, QStringLiteral("23000"), data::ErrorCategory::Constraint),
        seen);

    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(seen.result, QDialog::Rejected);  // the countdown, as "Don't Send"
    EXPECT_EQ(seen.text, QStringLiteral(u"ข้อมูลที่เพิ่มซ้ำกับข้อมูลที่มีอยู่แล้ว\n") + message.toUpper() + u'\n');
    EXPECT_TRUE(sink_.mails().isEmpty());

    data::Query q(&config_->DmCfg, {QStringLiteral("Select CompName, LogName, UserId, MenuId "
                                                   "From ErrorLog Where ErrorMsg = :M")});
    q.paramByName(QStringLiteral("M")).setAsString(message);  // as raised, not upper-cased
    q.open();
    ASSERT_FALSE(q.isEmpty());
    EXPECT_EQ(q.fieldByName(QStringLiteral("CompName")).asString(), md::util::LocalComputerName());
    EXPECT_EQ(q.fieldByName(QStringLiteral("LogName")).asString(),
              md::util::LocalLoginName().toUpper());
    EXPECT_EQ(q.fieldByName(QStringLiteral("UserId")).asInteger(), 1);
    EXPECT_EQ(q.fieldByName(QStringLiteral("MenuId")).asInteger(), 105);
}

TEST_F(ErrorPath, SendErrorMailsTheThaiReportAsUtf8) {
    const QString message =
        QStringLiteral("[FreeTDS][SQL Server]Unable to connect: Adaptive Server is unavailable");
    DialogSeen seen;
    watchDialog(seen, [](TFrShowError* dialog) { QTest::mouseClick(dialog->BOk, Qt::LeftButton); });
    raiseFromHandler(
        data::DbError(message, 20009, QStringLiteral("08S01"), data::ErrorCategory::Connection),
        seen);

    EXPECT_EQ(seen.result, QDialog::Accepted);
    const auto mails = sink_.mails();
    ASSERT_EQ(mails.size(), 1);
    EXPECT_EQ(mails[0].recipients, QList<QByteArray>{"<support@sink.test>"});
    ASSERT_FALSE(config_->MenuCaption.isEmpty());
    EXPECT_EQ(md::testing::mailSubject(mails[0].data),
              QStringLiteral("Error DEMO01 ") + config_->MenuCaption.trimmed());
    const QString explanation =
        QStringLiteral(u"ระบบเครือข่าย หรือ คอมพิวเตอร์แม่ข่ายมีปัญหา ติดต่อเครื่องแม่ข่ายไม่ได้");
    EXPECT_EQ(md::testing::mailBody(mails[0].data),
              QStringLiteral("[User = ") + config_->UserCode.trimmed() +
                  QStringLiteral("] \r\nLocal IP = ") + md::util::LocalIpAddress() +
                  QStringLiteral("\r\n") + explanation + QStringLiteral("\r\n") +
                  message.toUpper() + QStringLiteral("\r\n"));
}

TEST_F(ErrorPath, UnreachableErrorLogStillShowsTheErrorWithTheFailureAdded) {
    // The configuration database goes away: the next record has to reconnect and cannot.
    writeServerDat(QStringLiteral("sqlite:") + work_.filePath(QStringLiteral("gone")));
    config_->DmCfg.close();
    const QString message = QStringLiteral("'30/02/2025' is not a valid date");
    DialogSeen seen;
    watchDialog(seen);
    raiseFromHandler(data::DbError(message), seen);

    ASSERT_TRUE(seen.shown);
    EXPECT_TRUE(
        seen.text.startsWith(QStringLiteral(u"ป้อนวันที่ไม่ถูกต้อง\n'30/02/2025' IS NOT A VALID DATE\n")))
        << seen.text.toStdString();
    EXPECT_TRUE(seen.text.contains(QStringLiteral(u"บันทึกข้อผิดพลาดไม่สำเร็จ")))
        << seen.text.toStdString();
}

TEST(ConfigErrorRecorderTest, WithoutASessionModuleNothingIsRecordedOrMailed) {
    data::TDMConfig* before = data::DMConfig;
    data::DMConfig = nullptr;
    ConfigErrorRecorder recorder;
    EXPECT_THROW(recorder.logError(QStringLiteral("x")), std::runtime_error);
    EXPECT_FALSE(recorder.mailError(QStringLiteral("s"), QStringLiteral("b")));
    EXPECT_TRUE(recorder.userCode().isEmpty());

    data::TDMConfig session;  // the process-wide module, read at the time of each call
    session.UserCode = QStringLiteral("ADMIN");
    session.CompanyDbName = QStringLiteral("DEMO01");
    session.MenuCaption = QStringLiteral(u"อัตราแลกเปลี่ยน");
    data::DMConfig = &session;
    EXPECT_EQ(recorder.userCode(), QStringLiteral("ADMIN"));
    EXPECT_EQ(recorder.companyDbName(), QStringLiteral("DEMO01"));
    EXPECT_EQ(recorder.menuCaption(), QStringLiteral(u"อัตราแลกเปลี่ยน"));
    data::DMConfig = before;
}

}  // namespace
}  // namespace md::errors
