// The company module against a fresh demo server: the connection built from the program's
// third argument and Server.Dat, the options read after each connect, the splash hook, the
// audit log inside the caller's transaction, the confirmation through the prompts service.

#include "data/Dm_Config.h"
#include "data/Query.h"
#include "data/U_DM.h"
#include "data/backend/DbError.h"
#include "data/testing/RecordingPrompts.h"
#include "schema/DemoServer.h"
#include "tests/support/DemoServer.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

using md::data::TDM;
using md::data::TDMConfig;

namespace {

class Tdm : public ::testing::Test {
  protected:
    void SetUp() override {
        previous_ = QDir::currentPath();
        ASSERT_TRUE(work_.isValid());
        QDir::setCurrent(work_.path());
        writeServerDat(server_ + u'\n');
        config_ = std::make_unique<TDMConfig>();
        config_->MenuId = 103;
        config_->UserId = 2;
        md::data::DMConfig = config_.get();
        dm_ = std::make_unique<TDM>();
        md::data::DM = dm_.get();
        dm_->CompanyArgument = QStringLiteral("  DEMO01 ");  // trimmed, not upper-cased
    }
    void TearDown() override {
        md::data::DM = nullptr;
        md::data::DMConfig = nullptr;
        dm_.reset();
        config_.reset();
        QDir::setCurrent(previous_);
    }
    static void writeServerDat(const QString& text) {
        QFile f(QStringLiteral("Server.Dat"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text.toUtf8());
    }

    // The audit rows of the current session, oldest first.
    qint64 userLogRows() {
        md::data::Query q(&dm_->DMdata,
                          {QStringLiteral("Select Count(*) As N From UserLog Where MenuId = 103")});
        q.open();
        return q.fieldByName(QStringLiteral("N")).asInteger();
    }

    // A copy of the demo server for each test: the program writes to it.
    md::testing::DemoServerCopy demo_;
    const QString server_ = demo_.serverName();
    QTemporaryDir work_;
    QString previous_;
    std::unique_ptr<TDMConfig> config_;
    std::unique_ptr<TDM> dm_;
};

TEST_F(Tdm, ConnectBuildsTheListFromTheArgumentAndServerDatThenReadsTheOptions) {
    int splashCalls = 0;
    dm_->destroySplash = [&splashCalls] { ++splashCalls; };
    dm_->DMdata.open();

    EXPECT_EQ(dm_->DataDbName, QStringLiteral("DEMO01"));
    const QStringList& params = dm_->DMdata.params();
    ASSERT_EQ(params.size(), 24);
    EXPECT_EQ(params.at(0), QStringLiteral("DATABASE NAME=DEMO01"));
    EXPECT_EQ(params.at(1), QStringLiteral("SERVER NAME=") + server_);

    // Options of the demo company: IvRefSO, MrRefPO and ShowProductPriceList "Y", EditPricePO "N".
    EXPECT_TRUE(dm_->IvRefSO);
    EXPECT_TRUE(dm_->MrRefPO);
    EXPECT_FALSE(dm_->EditPricePO);
    EXPECT_TRUE(dm_->ShowProductPriceList);
    md::data::Query misc(&dm_->DMdata,
                         {QStringLiteral("Select Id, Description From Misc Where GroupCode = "
                                         "'CURRENCY' And Code = :C")});
    misc.paramByName(QStringLiteral("C")).setAsString(QStringLiteral("THB"));
    misc.open();
    EXPECT_EQ(dm_->MainCurrencyId, misc.fieldByName(QStringLiteral("Id")).asInteger());
    EXPECT_EQ(dm_->MainCurrencyName, misc.fieldByName(QStringLiteral("Description")).asString());
    misc.close();
    misc.paramByName(QStringLiteral("C")).setAsString(QStringLiteral("USD"));
    misc.open();
    EXPECT_EQ(dm_->InternationalCurrencyId, misc.fieldByName(QStringLiteral("Id")).asInteger());
    EXPECT_EQ(dm_->InternationalCurrencyName,
              misc.fieldByName(QStringLiteral("Description")).asString());

    EXPECT_TRUE(dm_->QConfig.isOpen());
    EXPECT_TRUE(dm_->QchkPeriod.isOpen());
    EXPECT_TRUE(dm_->QMiscCurrency.isOpen());
    EXPECT_FALSE(dm_->QMiscCurrency.isEmpty());
    EXPECT_EQ(splashCalls, 1);

    // A second connect reloads everything but leaves the splash alone.
    dm_->DMdata.close();
    dm_->DMdata.open();
    EXPECT_EQ(splashCalls, 1);
    EXPECT_TRUE(dm_->QConfig.isOpen());
}

TEST_F(Tdm, MissingServerDatMeansTheDefaultServer) {
    QFile::remove(QStringLiteral("Server.Dat"));
    dm_->DMdataBeforeConnect(dm_->DMdata);
    EXPECT_EQ(dm_->DMdata.param(QStringLiteral("SERVER NAME")), QStringLiteral("KVR"));
    writeServerDat(QString());
    dm_->DMdataBeforeConnect(dm_->DMdata);
    EXPECT_EQ(dm_->DMdata.param(QStringLiteral("SERVER NAME")), QStringLiteral("KVR"));
}

TEST_F(Tdm, UnknownCompanyDatabaseFailsTheConnectWithoutCallingTheSplashHook) {
    int splashCalls = 0;
    dm_->destroySplash = [&splashCalls] { ++splashCalls; };
    dm_->CompanyArgument = QStringLiteral("NOSUCH");
    EXPECT_THROW(dm_->DMdata.open(), md::data::DbError);
    EXPECT_FALSE(dm_->DMdata.isConnected());
    EXPECT_EQ(splashCalls, 0);
}

TEST_F(Tdm, AuditRowRollsBackOrCommitsWithTheChange) {
    const qint64 before = userLogRows();
    {
        md::data::TransactionGuard guard(dm_->DMdata);
        dm_->AddUserLog(TDM::LogEditId, 42, QStringLiteral(u"แก้ไข USD"));
        EXPECT_EQ(userLogRows(), before + 1);
    }  // rolled back
    EXPECT_EQ(userLogRows(), before);

    {
        md::data::TransactionGuard guard(dm_->DMdata);
        dm_->AddUserLog(TDM::LogAddId, 0, QString());
        guard.commit();
    }
    ASSERT_EQ(userLogRows(), before + 1);
    md::data::Query q(&dm_->DMdata,
                      {QStringLiteral("Select UserId, FunctionListId, DocumentId, Remark, "
                                      "Case When Remark Is Null Then 1 Else 0 End As RemarkNull "
                                      "From UserLog Where MenuId = 103")});
    q.open();
    EXPECT_EQ(q.fieldByName(QStringLiteral("UserId")).asInteger(), 2);
    EXPECT_EQ(q.fieldByName(QStringLiteral("FunctionListId")).asInteger(), TDM::LogAddId);
    EXPECT_EQ(q.fieldByName(QStringLiteral("DocumentId")).asInteger(), 0);
    EXPECT_EQ(q.fieldByName(QStringLiteral("RemarkNull")).asInteger(), 0);  // '' not NULL
    EXPECT_EQ(q.fieldByName(QStringLiteral("Remark")).asString(), QString());
}

TEST_F(Tdm, AskYesNoIsTheBlueQuestionAndOnlyYesIsTrue) {
    md::test::RecordingPrompts prompts;
    prompts.answer({true, false});
    EXPECT_TRUE(dm_->AskYesNo(QStringLiteral(u"จัดเก็บข้อมูล ?")));
    EXPECT_FALSE(dm_->AskYesNo(QStringLiteral("Delete Data ?")));
    EXPECT_FALSE(dm_->AskYesNo(QStringLiteral("Save Data ?")));  // closed without an answer
    EXPECT_EQ(prompts.shown, (QStringList{QStringLiteral(u"yesno: จัดเก็บข้อมูล ?"),
                                          QStringLiteral("yesno: Delete Data ?"),
                                          QStringLiteral("yesno: Save Data ?")}));
}

TEST_F(Tdm, SimpleSearchNeedsAnInstalledWindow) {
    EXPECT_THROW(
        dm_->ShowSimpleSearch(QStringLiteral("x"), QStringLiteral("Code"),
                              QStringLiteral("Description"), QString(), QStringLiteral("Misc")),
        md::data::UsageError);
    QString table;
    dm_->simpleSearchRunner = [&table](const QString&, const QString&, const QString&,
                                       const QString&, const QString& t) {
        table = t;
        return true;
    };
    EXPECT_TRUE(dm_->ShowSimpleSearch(QStringLiteral("x"), QStringLiteral("Code"),
                                      QStringLiteral("Description"), QString(),
                                      QStringLiteral("Misc")));
    EXPECT_EQ(table, QStringLiteral("Misc"));
}

}  // namespace
