#include "DemoFixture.h"

#include "forms/Fr_SimpleSearch.h"

namespace md::forms::test {

void DemoWindowTest::SetUp() {
    server_ = std::make_unique<md::testing::DemoServerCopy>();
    if (HasFatalFailure())
        return;
    config.server = server_->serverName();
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
