// The start-up sequence in-process on a fresh demo server, with stand-in windows registered for
// the six keywords: which window opens, the session it finds, the splash until the company
// connects, the error handler in place, the probe of the configuration database.

#include "app/Fr_FormLogo.h"
#include "app/Startup.h"
#include "app/WindowRegistry.h"
#include "data/Dm_Config.h"
#include "data/Query.h"
#include "data/U_DM.h"
#include "data/backend/DbError.h"
#include "errors/Fr_ShowError.h"
#include "errors/TApplication.h"
#include "schema/DemoServer.h"
#include "schema/Scripts.h"
#include "tests/support/DemoServer.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>

namespace md::app {
namespace {

struct Opened {
    QString keyword;
    bool splashUpWhenCreated = false;
    bool splashUpAfterConnect = true;
};
std::vector<Opened> opened;

// Opens the company connection as it is shown, as every maintenance window does.
class StandInWindow : public QWidget {
  public:
    explicit StandInWindow(const QString& keyword) {
        opened.push_back({keyword, FormLogo != nullptr && FormLogo->isVisible()});
    }

  protected:
    void showEvent(QShowEvent* event) override {
        QWidget::showEvent(event);
        data::DM->DMdata.open();
        opened.back().splashUpAfterConnect = FormLogo != nullptr;
    }
};

StartupOptions quietOptions() {
    StartupOptions options;
    options.exitAfterStart = true;
    options.messageBoxes = false;
    return options;
}

class StartupSequence : public ::testing::Test {
  protected:
    void SetUp() override {
        previous_ = QDir::currentPath();
        ASSERT_TRUE(work_.isValid());
        QDir::setCurrent(work_.path());
        writeServerDat(server_ + u'\n');
        opened.clear();
        for (const QString& keyword : WindowKeywords())
            registerWindow(keyword, [keyword] { return new StandInWindow(keyword); });
    }
    void TearDown() override {
        clearWindows();
        QDir::setCurrent(previous_);
    }
    static void writeServerDat(const QString& text) {
        QFile f(QStringLiteral("Server.Dat"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text.toUtf8());
    }
    static QStringList args(const char* menu, const char* user, const char* company,
                            const char* keyword) {
        return {QString::fromUtf8(menu), QString::fromUtf8(user), QString::fromUtf8(company),
                QStringLiteral("ignored"), QString::fromUtf8(keyword)};
    }

    // A copy of the demo server for each test: the program writes to it.
    md::testing::DemoServerCopy demo_;
    const QString server_ = demo_.serverName();
    QTemporaryDir work_;
    QString previous_;
    errors::TApplication& app_ = *errors::TApplication::instance();
};

TEST_F(StartupSequence, KeywordInAnyCaseOpensItsWindowWithTheSessionLoaded) {
    Startup startup(app_, quietOptions());
    EXPECT_EQ(startup.Run(args("105", "1", "demo01", "exchange")), 0);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].keyword, QStringLiteral("EXCHANGE"));
    EXPECT_TRUE(opened[0].splashUpWhenCreated);    // the splash stays while the window is built
    EXPECT_FALSE(opened[0].splashUpAfterConnect);  // and goes as the company connects
    EXPECT_EQ(FormLogo, nullptr);
    EXPECT_NE(startup.MainWindow(), nullptr);

    ASSERT_NE(data::DMConfig, nullptr);
    ASSERT_NE(data::DM, nullptr);
    EXPECT_EQ(data::DMConfig->MenuId, 105);
    EXPECT_EQ(data::DMConfig->UserId, 1);
    EXPECT_EQ(data::DMConfig->CompanyDbName, QStringLiteral("DEMO01"));
    EXPECT_TRUE(data::DMConfig->AccessRight);
    EXPECT_TRUE(data::DMConfig->LanguageThai);
    EXPECT_EQ(data::DMConfig->configDatabaseName(), QStringLiteral("KVR_CONFIG"));
    EXPECT_EQ(data::DM->DataDbName, QStringLiteral("demo01"));
    EXPECT_EQ(QLocale().dateFormat(QLocale::ShortFormat), QStringLiteral("dd/MM/yyyy"));
}

TEST_F(StartupSequence, TheModulesAreGoneWithTheStartUp) {
    {
        Startup startup(app_, quietOptions());
        EXPECT_EQ(startup.Run(args("101", "2", "DEMO01", "IMPEXPENSE")), 0);
        EXPECT_FALSE(data::DMConfig->LanguageThai);  // user 2 reads English
    }
    EXPECT_EQ(data::DM, nullptr);
    EXPECT_EQ(data::DMConfig, nullptr);
    EXPECT_EQ(FormLogo, nullptr);
}

TEST_F(StartupSequence, NothingOpensWithoutAccessForABlankedOrUnknownKeywordOrCompany) {
    struct Case {
        QStringList arguments;
        int exitCode;
    };
    const Case cases[] = {
        {args("101", "3", "DEMO01", "IMPEXPENSE"), 0},   // no access
        {args("101", "1", "DEMO01", " IMPEXPENSE"), 0},  // no trimming
        {args("101", "1", "DEMO01", "IMPEXPENSE "), 0},
        {args("101", "1", "DEMO01", "NOSUCH"), 0},
        {args("101", "1", "DEMO01", ""), 0},
        {{QStringLiteral("101"), QStringLiteral("1"), QStringLiteral("DEMO01")}, 0},
        {args("101", "1", "NoSuch", "IMPEXPENSE"), 0},  // "Not Found Database : NOSUCH"
        {args("abc", "1", "DEMO01", "IMPEXPENSE"), kFatalExitCode},
        {args("101", "", "DEMO01", "IMPEXPENSE"), kFatalExitCode},
        {{}, kFatalExitCode},
    };
    for (const Case& c : cases) {
        Startup startup(app_, quietOptions());
        EXPECT_EQ(startup.Run(c.arguments), c.exitCode) << c.arguments.join(u'|').toStdString();
        EXPECT_EQ(startup.MainWindow(), nullptr) << c.arguments.join(u'|').toStdString();
    }
    EXPECT_TRUE(opened.empty());
}

TEST_F(StartupSequence, UnreachableConfigurationDatabaseIsFatal) {
    writeServerDat(QStringLiteral("sqlite:") + work_.filePath(QStringLiteral("gone")));
    Startup startup(app_, quietOptions());
    EXPECT_EQ(startup.Run(args("101", "1", "DEMO01", "IMPEXPENSE")), kFatalExitCode);
    EXPECT_TRUE(opened.empty());
}

TEST_F(StartupSequence, ErrorsFromTheWindowReachTheHandlerAndTheErrorLog) {
    // The event loop runs until the window closes: an error from one of its handlers shows in
    // the red dialog, and closing the window afterwards ends the loop.
    StartupOptions options = quietOptions();
    options.exitAfterStart = false;
    Startup startup(app_, options);
    startup.Handler().setTickInterval(10);

    // Once the window is up, one of its handlers fails; once the dialog is up, it is left
    // with "Don't Send" and the window is closed.
    bool shown = false;
    bool thrown = false;
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, &shown, &thrown, &startup] {
        QWidget* window = startup.MainWindow();
        if (!thrown && window && window->isVisible()) {
            thrown = true;
            QTimer::singleShot(0, window, [] {
                throw data::DbError(QStringLiteral("Cannot insert duplicate key: start-up probe"));
            });
        } else if (auto* dialog =
                       qobject_cast<errors::TFrShowError*>(QApplication::activeModalWidget())) {
            shown = true;
            poll->stop();
            poll->deleteLater();
            QTest::mouseClick(dialog->BCancel, Qt::LeftButton);
            QTimer::singleShot(0, window, &QWidget::close);
        }
    });
    poll->start(1);
    QTimer safety;  // a test gone wrong must not hang
    safety.setSingleShot(true);
    QObject::connect(&safety, &QTimer::timeout, &app_, &QCoreApplication::quit);
    safety.start(20000);
    ASSERT_EQ(startup.Run(args("104", "1", "DEMO01", "FRCUSTOMER")), 0);
    EXPECT_TRUE(safety.isActive());  // the window's closing ended the loop
    ASSERT_TRUE(shown);

    data::Query q(&data::DMConfig->DmCfg,
                  {QStringLiteral("Select MenuId, UserId From ErrorLog Where ErrorMsg = "
                                  "'Cannot insert duplicate key: start-up probe'")});
    q.open();
    ASSERT_FALSE(q.isEmpty());
    EXPECT_EQ(q.fieldByName(QStringLiteral("MenuId")).asInteger(), 104);
    EXPECT_EQ(q.fieldByName(QStringLiteral("UserId")).asInteger(), 1);
}

TEST_F(StartupSequence, ProbePrefersTheNewerConfigurationDatabaseWhenBothExist) {
    const md::testing::DemoServerCopy copy;
    const QString server = copy.serverName();
    {
        auto master = md::schema::openDatabase(server, QStringLiteral("master"));
        master->execute(QStringLiteral("CREATE DATABASE KVR_Config_CO19"), {});
        auto co19 = md::schema::openDatabase(server, QStringLiteral("KVR_Config_CO19"));
        md::schema::runScript(*co19, md::schema::configScript());
        md::schema::loadConfigDemo(*co19);
        co19->execute(QStringLiteral("Update Company Set NameThai = 'CO19 company'"), {});
    }
    writeServerDat(server + u'\n');
    Startup startup(app_, quietOptions());
    ASSERT_EQ(startup.Run(args("101", "1", "DEMO01", "NOSUCH")), 0);
    EXPECT_EQ(data::DMConfig->configDatabaseName(), QStringLiteral("KVR_CONFIG_CO19"));
    EXPECT_EQ(data::DMConfig->CompanyNameThai, QStringLiteral("CO19 company"));
}

}  // namespace
}  // namespace md::app

namespace md::app {
namespace {

// Rights and language values that do not grant: each case on its own demo server edited first.
class SessionValues : public StartupSequence {
  protected:
    void edit(const QString& server, const QStringList& statements) {
        auto config = md::schema::openDatabase(server, QStringLiteral("KVR_CONFIG"));
        for (const QString& sql : statements)
            config->execute(sql, {});
    }
};

TEST_F(SessionValues, OnlyAnUpperCaseYGrantsAndOnlyLanguageOneIsThai) {
    const md::testing::DemoServerCopy copy;
    const QString server = copy.serverName();
    edit(server, {QStringLiteral("Update UserRight Set Access_R = 'y' Where UserId = 2"),
                  QStringLiteral("Update UserName Set LanguageNo = NULL, CanSeeCost = 'y', "
                                 "EditSalePrice = 'Y' Where Id = 1"),
                  QStringLiteral("Update UserName Set LanguageNo = 0 Where Id = 3")});
    writeServerDat(server + u'\n');

    {
        Startup startup(app_, quietOptions());
        EXPECT_EQ(startup.Run(args("101", "2", "DEMO01", "IMPEXPENSE")), 0);
        EXPECT_EQ(startup.MainWindow(), nullptr);  // "y" is no access
        EXPECT_FALSE(data::DMConfig->AccessRight);
    }
    {
        Startup startup(app_, quietOptions());
        EXPECT_EQ(startup.Run(args("101", "1", "DEMO01", "NOSUCH")), 0);
        EXPECT_FALSE(data::DMConfig->LanguageThai);  // NULL
        EXPECT_EQ(data::DMConfig->SaveConfirmText, QStringLiteral("Save Data ?"));
        EXPECT_EQ(data::DMConfig->DeleteConfirmText, QStringLiteral("Delete Data ?"));
        EXPECT_FALSE(data::DMConfig->UserRights.value(QStringLiteral("CanSeeCost")));
        EXPECT_TRUE(data::DMConfig->UserRights.value(QStringLiteral("EditSalePrice")));
    }
    {
        Startup startup(app_, quietOptions());
        EXPECT_EQ(startup.Run(args("101", "3", "DEMO01", "NOSUCH")), 0);
        EXPECT_FALSE(data::DMConfig->LanguageThai);  // 0
    }
}

TEST_F(SessionValues, UserWithoutAUserNameRowIsEnglishWithoutRights) {
    Startup startup(app_, quietOptions());
    EXPECT_EQ(startup.Run(args("101", "99", "DEMO01", "IMPEXPENSE")), 0);
    EXPECT_EQ(startup.MainWindow(), nullptr);
    const data::TDMConfig& config = *data::DMConfig;
    EXPECT_FALSE(config.AccessRight);
    EXPECT_FALSE(config.LanguageThai);
    EXPECT_TRUE(config.UserFullName.isEmpty());
    EXPECT_EQ(config.SaveConfirmText, QStringLiteral("Save Data ?"));
    for (auto it = config.UserRights.cbegin(); it != config.UserRights.cend(); ++it)
        EXPECT_FALSE(it.value()) << it.key().toStdString();
    EXPECT_TRUE(opened.empty());
}

}  // namespace
}  // namespace md::app
