// Faults of the database file: a file cut short under a reader gives that reader an error,
// never a signal; a server folder nobody may write is still read, and writes to it are refused
// with the server's error.

#include "EngineFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace md::embedded::test {
namespace {

class FileFaultTest : public EngineTest {
  protected:
    QString databaseFile() const {
        return QDir(dir.path()).filePath(QStringLiteral("DB.mdf.sqlite"));
    }
    // A table of `rows` rows of about 1 KB each, all in the database file itself.
    void fill(int rows) {
        run(QStringLiteral("Create Table T (Id int NOT NULL PRIMARY KEY, Pad varchar(1000))"));
        db->beginTransaction();
        for (int i = 1; i <= rows; ++i) {
            run(QStringLiteral("Insert Into T (Id, Pad) Values (?, ?)"),
                {i, QString(900, QChar(u'a' + i % 26))});
        }
        db->commit();
        db.reset();  // the last session closes: the log is written back into the file
    }
};

TEST_F(FileFaultTest, AFileCutShortUnderAReaderGivesItAnError) {
    fill(2000);
    ASSERT_GT(QFileInfo(databaseFile()).size(), 1024 * 1024);
    db = open(QStringLiteral("DB"));
    auto rs = db->execute(QStringLiteral("Select Id, Pad From T Order By Id"), {});
    std::vector<QVariant> row;
    ASSERT_TRUE(rs->fetch(row));  // the cursor is open on the first rows

    ASSERT_TRUE(QFile::resize(databaseFile(), 8192));
    int read = 1;
    try {
        while (rs->fetch(row))
            ++read;
        FAIL() << "all " << read << " rows read from a cut file";
    } catch (const data::DbError& e) {
        EXPECT_EQ(e.nativeError(), 824) << e.what();
        EXPECT_TRUE(e.message().startsWith(
            QStringLiteral("SQL Server detected a logical consistency-based I/O error")));
        EXPECT_TRUE(e.message().contains(QStringLiteral("DB.mdf.sqlite")));
    }
    EXPECT_LT(read, 2000);
    rs.reset();
    // The next statement of the session meets the same fault and reports it the same way.
    try {
        column(*db, QStringLiteral("Select Count(*) From T"));
        FAIL() << "a cut file was counted";
    } catch (const data::DbError& e) {
        EXPECT_EQ(e.nativeError(), 824) << e.what();
    }
}

// Makes a folder unwritable even for root (the immutable attribute) or, failing that, by its
// permissions for anyone else; undone when the guard goes.
class ReadOnlyFolder {
  public:
    explicit ReadOnlyFolder(const QString& path) : path_(path) {
        if (QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), path_}) == 0) {
            immutable_ = true;
        } else {
            QFile::setPermissions(path_, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        }
    }
    ~ReadOnlyFolder() {
        if (immutable_)
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), path_});
        QFile::setPermissions(
            path_, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    bool effective() const { return !QFileInfo(path_).isWritable(); }

  private:
    QString path_;
    bool immutable_ = false;
};

TEST_F(FileFaultTest, AReadOnlyServerFolderIsStillRead) {
    run(
        QStringLiteral("Create Table R (Id int NOT NULL PRIMARY KEY, Name nvarchar(20))\n"
                       "Insert Into R (Id, Name) Values (1, N'สมชาย')"));
    db.reset();
    QFile::remove(databaseFile() + QStringLiteral("-wal"));
    QFile::remove(databaseFile() + QStringLiteral("-shm"));
    ASSERT_FALSE(QFileInfo::exists(databaseFile() + QStringLiteral("-shm")));
    ReadOnlyFolder readOnly(dir.path());
    if (!readOnly.effective())
        GTEST_SKIP() << "the folder cannot be made read-only here";

    db = open(QStringLiteral("DB"));
    EXPECT_EQ(scalar(QStringLiteral("Select Name From R Where Id = 1")).toString(),
              QStringLiteral("สมชาย"));
    const data::DbError e = refusal(QStringLiteral("Insert Into R (Id, Name) Values (2, N'x')"));
    EXPECT_EQ(e.nativeError(), 3906) << e.what();
    EXPECT_EQ(e.message(), QStringLiteral("Failed to update database \"DB\" because the database "
                                          "is read-only."));
    db.reset();
}

}  // namespace
}  // namespace md::embedded::test
