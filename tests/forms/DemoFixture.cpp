#include "DemoFixture.h"

#include "forms/Fr_SimpleSearch.h"
#include "schema/DemoServer.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

namespace md::forms::test {
namespace {

// The demo server every test copies, built on first use.
QString templateFolder() {
    static QTemporaryDir dir;
    static QString folder;
    if (folder.isEmpty()) {
        folder = dir.filePath(QStringLiteral("server"));
        md::schema::createDemoServer(folder, {});
    }
    return folder;
}

void copyFolder(const QString& from, const QString& to) {
    QDir().mkpath(to);
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString target = to + path.mid(from.size());
        if (it.fileInfo().isDir())
            QDir().mkpath(target);
        else
            ASSERT_TRUE(QFile::copy(path, target)) << path.toStdString();
    }
}

}  // namespace

void DemoWindowTest::SetUp() {
    ASSERT_TRUE(dir_.isValid());
    const QString folder = dir_.filePath(QStringLiteral("server"));
    copyFolder(templateFolder(), folder);
    config.server = md::schema::serverNameOf(folder);
    config.LanguageThai = true;
    config.UserId = 1;
    config.MenuId = 103;
    config.MenuCaption = QStringLiteral(u"ผู้ขายต่างประเทศ");
    config.CompanyNameThai = QStringLiteral(u"บริษัท ทดสอบ จำกัด");
    config.SaveConfirmText = QStringLiteral(u"จัดเก็บข้อมูล ?");
    config.DeleteConfirmText = QStringLiteral(u"ลบข้อมูล ?");
    data::DMConfig = &config;
    dm = std::make_unique<data::TDM>();
    dm->CompanyArgument = QStringLiteral("DEMO01");
    data::DM = dm.get();
    installSimpleSearch();
}

void DemoWindowTest::TearDown() {
    releaseSimpleSearch();
    data::DM = nullptr;
    dm.reset();
    data::DMConfig = nullptr;
}

QVariant DemoWindowTest::scalar(const QString& sql) {
    if (!dm->DMdata.isConnected())
        dm->DMdata.open();
    data::Query q(&dm->DMdata, {sql});
    q.open();
    return q.isEmpty() ? QVariant() : q.field(0).value();
}

void DemoWindowTest::exec(const QString& sql) {
    if (!dm->DMdata.isConnected())
        dm->DMdata.open();
    data::Query q(&dm->DMdata, {sql});
    q.execSql();
}

}  // namespace md::forms::test
