// The part-source window opened by the real program from the menu's command line against a
// fresh demo server and driven by keys to the exit question: a vendor chosen, a price changed,
// a row removed with the grid's own key, the list saved; nothing reaches the error log.

#include "schema/DemoServer.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

namespace {

class PartSourceProgram : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        const QString folder = dir_.filePath(QStringLiteral("demo"));
        md::schema::createDemoServer(folder, {});
        QFile dat(dir_.filePath(QStringLiteral("Server.Dat")));
        ASSERT_TRUE(dat.open(QIODevice::WriteOnly));
        dat.write(md::schema::serverNameOf(folder).toUtf8() + "\n");
    }
    QString sql(const QString& database, const QString& statement) {
        QProcess p;
        p.setWorkingDirectory(dir_.path());
        p.start(QString::fromUtf8(MD_SQLSHELL_PATH),
                {QStringLiteral("-d"), database, QStringLiteral("-h"), QStringLiteral("-1"),
                 QStringLiteral("-W"), QStringLiteral("-Q"), statement});
        p.waitForFinished(30000);
        return QString::fromUtf8(p.readAllStandardOutput()).section(u'\n', 0, 0).trimmed();
    }
    QTemporaryDir dir_;
};

TEST_F(PartSourceProgram, ASessionByKeysSavesTheVendorsListAndEndsAtTheExitQuestion) {
    const QString rows = QStringLiteral(
        "Select Count(*) From FrPartSource F Inner Join FrVendor V On V.Id = F.FrVendor Where "
        "V.Code = 'FV001'");
    const QString before = sql(QStringLiteral("DEMO01"), rows);
    ASSERT_GT(before.toInt(), 1);

    QProcess p;
    p.setWorkingDirectory(dir_.path());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // The vendor's code and Enter (into the grid), three cells on to the price, a price, down a
    // row and removed with Ctrl+Delete and its question, saved, and out through the question.
    env.insert(QStringLiteral("MD_PLAY_KEYS"),
               QStringLiteral("F V 0 0 1 Return Tab Tab Tab 9 Return Down Ctrl+Delete Return "
                              "F10 Return Ctrl+X Return"));
    p.setProcessEnvironment(env);
    p.start(QString::fromUtf8(MD_MASTERDATA_PATH),
            {QStringLiteral("106"), QStringLiteral("1"), QStringLiteral("DEMO01"),
             QStringLiteral("-"), QStringLiteral("PARTSOURCE")});
    ASSERT_TRUE(p.waitForFinished(120000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0);
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_TRUE(out.contains(QStringLiteral(u"key Ctrl+X: ราคาซื้อสินค้าจากเจ้าหนี้ต่างประเทศ")))
        << out.toStdString();

    EXPECT_EQ(sql(QStringLiteral("DEMO01"), rows), QString::number(before.toInt() - 1));
    EXPECT_EQ(sql(QStringLiteral("DEMO01"),
                  QStringLiteral("Select Count(*) From FrPartSource F Inner Join FrVendor V On "
                                 "V.Id = F.FrVendor Where V.Code = 'FV001' And F.Price = 9")),
              QStringLiteral("1"));
    EXPECT_EQ(sql(QStringLiteral("DEMO01"),
                  QStringLiteral("Select Convert(varchar(10), FunctionListId) + '/' + "
                                 "Convert(varchar(10), DocumentId) + '/' + Remark From UserLog")),
              QStringLiteral("2/0/FV001"));
    EXPECT_EQ(sql(QStringLiteral("KVR_CONFIG"), QStringLiteral("Select Count(*) From ErrorLog")),
              QStringLiteral("0"));
}

}  // namespace
