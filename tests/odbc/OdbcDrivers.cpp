#include "OdbcDrivers.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <memory>

namespace md::odbc::test {

namespace {

const QString kDriverDir = QStringLiteral("/usr/lib/x86_64-linux-gnu/odbc/");

bool driversRegistered() {
    QProcess odbcinst;
    odbcinst.start(QStringLiteral("odbcinst"), {QStringLiteral("-q"), QStringLiteral("-d")});
    if (!odbcinst.waitForFinished(10000) || odbcinst.exitCode() != 0)
        return false;
    const QString drivers = QString::fromUtf8(odbcinst.readAllStandardOutput());
    return drivers.contains(QStringLiteral("[SQLite3]")) &&
           drivers.contains(QStringLiteral("[FreeTDS]"));
}

class OdbcDrivers : public ::testing::Environment {
  public:
    void SetUp() override {
        if (driversRegistered())
            return;
        const QString sqlite = kDriverDir + QStringLiteral("libsqlite3odbc.so");
        const QString freetds = kDriverDir + QStringLiteral("libtdsodbc.so");
        ASSERT_TRUE(QFileInfo::exists(sqlite)) << "install libsqliteodbc";
        ASSERT_TRUE(QFileInfo::exists(freetds)) << "install tdsodbc";
        folder_ = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(folder_->isValid());
        QFile ini(folder_->filePath(QStringLiteral("odbcinst.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(QStringLiteral("[SQLite3]\nDriver=%1\n\n[FreeTDS]\nDriver=%2\n")
                      .arg(sqlite, freetds)
                      .toUtf8());
        ini.close();
        qputenv("ODBCSYSINI", QFile::encodeName(folder_->path()));
        qputenv("ODBCINSTINI", "odbcinst.ini");
    }

  private:
    std::unique_ptr<QTemporaryDir> folder_;
};

[[maybe_unused]] ::testing::Environment* const registered =
    ::testing::AddGlobalTestEnvironment(new OdbcDrivers);

}  // namespace

QString sqliteServer(const QString& folder) {
    return QStringLiteral("odbc:Driver=SQLite3;Database=%1/{database}.db").arg(folder);
}

}  // namespace md::odbc::test
