#include "data/Dm_Config.h"

#include "data/ConnectionParams.h"
#include "data/statements/Statements.h"
#include "util/Mailer.h"
#include "util/Utility.h"

#include <QFile>

namespace md::data {

TDMConfig* DMConfig = nullptr;

namespace {

QStringList sqlOf(const char* component) {
    return md::statements::text(QStringLiteral("Dm_Config"), QString::fromLatin1(component));
}

bool isY(const QVariant& v) {
    return !v.isNull() && v.toString() == QStringLiteral("Y");
}

}  // namespace

const QStringList& TDMConfig::userRightColumns() {
    static const QStringList columns = {QStringLiteral("EditSalePrice"),
                                        QStringLiteral("Approve_Quo"),
                                        QStringLiteral("Approve_SO"),
                                        QStringLiteral("Approve_IV"),
                                        QStringLiteral("Approve_PO"),
                                        QStringLiteral("Approved_PORQ"),
                                        QStringLiteral("ApproveTranWH"),
                                        QStringLiteral("ApproveTranBranch"),
                                        QStringLiteral("ApproveWorkOrder"),
                                        QStringLiteral("CanSeeCost"),
                                        QStringLiteral("CanSeeSalePrice"),
                                        QStringLiteral("CanModifyCusSale"),
                                        QStringLiteral("Approve_PreIs"),
                                        QStringLiteral("ApproveCustomerDropUse"),
                                        QStringLiteral("ApproveCustomerDropCredit"),
                                        QStringLiteral("CanModifyCredit"),
                                        QStringLiteral("CanSetProductBlock"),
                                        QStringLiteral("CanSetProductMinus"),
                                        QStringLiteral("CanSaleCreditOnReturnCheque"),
                                        QStringLiteral("UserSeeImport"),
                                        QStringLiteral("UserSeeCost")};
    return columns;
}

TDMConfig::TDMConfig()
    : QChkConfig(&DBMaster, sqlOf("QChkConfig")),
      QCompanyConfig(&DmCfg, sqlOf("QCompanyConfig")),
      QCompany(&DmCfg, sqlOf("QCompany")),
      QSoftware(&DmCfg, sqlOf("QSoftware")),
      QUser(&DmCfg, sqlOf("QUser")),
      SpMenuCaption(&DmCfg, QStringLiteral("MENUCAPTION")),
      SpErrorLog(&DmCfg, QStringLiteral("AddErrorLog")),
      SQLUpdate(&DmCfg, sqlOf("SQLUpdate")) {
    DmCfg.beforeConnect = [this](Connection& c) { DmCfgBeforeConnect(c); };
    DmCfg.afterConnect = [this](Connection& c) { DmCfgAfterConnect(c); };
    for (const QString& c : userRightColumns())
        UserRights.insert(c, false);
}

QString TDMConfig::ReadServerName() {
    QFile file(QStringLiteral("Server.Dat"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // Only the line break ends the line; blanks around the name are the name's own.
    QByteArray line = file.readLine();
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return QString::fromUtf8(line);
}

void TDMConfig::DmCfgBeforeConnect(Connection& connection) {
    QString server = ReadServerName();
    if (server.isEmpty())
        server = kDefaultServerName;
    connection.params().clear();

    DBMaster.close();
    DBMaster.params() = suiteConnectionParams(QStringLiteral("master"), server);
    DBMaster.open();
    QChkConfig.open();
    configDatabase_ =
        QChkConfig.isEmpty() ? QStringLiteral("KVR_CONFIG") : QStringLiteral("KVR_CONFIG_CO19");
    QChkConfig.close();
    DBMaster.close();

    connection.params() = suiteConnectionParams(configDatabase_, server);
}

void TDMConfig::DmCfgAfterConnect(Connection&) {
    SQLUpdate.execute();
    QSoftware.close();
    QSoftware.open();
}

void TDMConfig::GetCompanyConfig(const QString& databaseName) {
    const QString name = databaseName.toUpper();
    QCompanyConfig.close();
    QCompanyConfig.paramByName(QStringLiteral("GetName")).setAsString(name);
    QCompanyConfig.open();
    if (QCompanyConfig.isEmpty()) {
        QCompanyConfig.close();
        throw CompanyNotFound(QStringLiteral("Not Found Database : ") + name);
    }
    Query& q = QCompanyConfig;
    auto text = [&q](const char* column) {
        return q.fieldByName(QString::fromLatin1(column)).asString();
    };
    auto number = [&q](const char* column) {
        return q.fieldByName(QString::fromLatin1(column)).asInteger();
    };
    CompanyId = number("Id");
    CompanyNameThai = text("NameThai");
    CompanyDbName = name;
    Pos1PriceType = int(number("POS1_PriceType"));
    CompanyConfig.PicturePath = text("PicturePath");
    CompanyConfig.DefaultWH = number("DefaultWh");
    CompanyConfig.DefaultTax = number("DefaultTax");
    CompanyConfig.Pos1_WH = number("POS1_Wh");
    CompanyConfig.Pos1_TaxCode = text("POS1_TaxCode");
    CompanyConfig.Pos1_Price_IE = text("POS1_Price_IE");
    CompanyConfig.Pos1PriceType = Pos1PriceType;
    CompanyConfig.Pos1_SumDetail = isY(q.fieldByName(QStringLiteral("POS1_SumDetail")).value());
    CompanyConfig.DefaultPosComPort = text("DefaultPosComPort");
    CompanyConfig.HeaderName = CompanyNameThai;
    CompanyConfig.HeaderAddress =
        QStringList{text("Address1").trimmed(), text("Address2").trimmed(),
                    text("Address3").trimmed()}
            .join(u' ');
    CompanyConfig.HeaderTax = text("Address4").trimmed() + u' ' + text("Zip").trimmed() +
                              QStringLiteral(" เลขประจำตัวผู้เสียภาษี ") + text("TaxNo").trimmed();

    QCompany.close();
    QCompany.paramByName(QStringLiteral("GetName")).setAsString(name);
    QCompany.open();
    QSoftware.close();
    QSoftware.open();
}

void TDMConfig::CheckRight(int menuId, int userId) {
    SpMenuCaption.close();
    SpMenuCaption.setInteger(QStringLiteral("@MENUID"), menuId);
    SpMenuCaption.setInteger(QStringLiteral("@USERID"), userId);
    for (const char* out :
         {"@CAPTION", "@ACCESS_R", "@ADD_R", "@MODIFY_R", "@DELETE_R", "@USERCODE"}) {
        SpMenuCaption.declareOutput(QString::fromLatin1(out), QMetaType::QString, 255);
    }
    SpMenuCaption.declareOutput(QStringLiteral("@SALESID"), QMetaType::LongLong);
    SpMenuCaption.execProc();
    MenuCaption = SpMenuCaption.asString(QStringLiteral("@CAPTION")).trimmed();
    UserCode = SpMenuCaption.asString(QStringLiteral("@USERCODE"));
    AccessRight = isY(SpMenuCaption.value(QStringLiteral("@ACCESS_R")));
    AddRight = isY(SpMenuCaption.value(QStringLiteral("@ADD_R")));
    ModifyRight = isY(SpMenuCaption.value(QStringLiteral("@MODIFY_R")));
    DeleteRight = isY(SpMenuCaption.value(QStringLiteral("@DELETE_R")));
    SalesmanId = SpMenuCaption.asInteger(QStringLiteral("@SALESID"));
    SpMenuCaption.close();

    QUser.close();
    QUser.paramByName(QStringLiteral("uid")).setAsInteger(userId);
    QUser.open();
    const bool found = !QUser.isEmpty();
    UserFullName = found ? QUser.fieldByName(QStringLiteral("FullName")).asString() : QString();
    const QVariant language =
        found ? QUser.fieldByName(QStringLiteral("LanguageNo")).value() : QVariant();
    bool numeric = false;
    LanguageThai =
        !language.isNull() && language.toString().trimmed().toInt(&numeric) == 1 && numeric;
    for (const QString& column : userRightColumns()) {
        UserRights[column] = found && isY(QUser.fieldByName(column).value());
    }
    QUser.close();

    SaveConfirmText = LanguageThai ? QStringLiteral("จัดเก็บข้อมูล ?") : QStringLiteral("Save Data ?");
    DeleteConfirmText = LanguageThai ? QStringLiteral("ลบข้อมูล ?") : QStringLiteral("Delete Data ?");
}

void TDMConfig::LogError(const QString& message) {
    SpErrorLog.close();
    SpErrorLog.setString(QStringLiteral("@CompName"), md::util::LocalComputerName());
    SpErrorLog.setString(QStringLiteral("@LogName"), md::util::LocalLoginName().toUpper());
    SpErrorLog.setInteger(QStringLiteral("@UserId"), UserId);
    SpErrorLog.setInteger(QStringLiteral("@MenuId"), MenuId);
    SpErrorLog.setString(QStringLiteral("@ErrorMsg"), message);
    SpErrorLog.execProc();
}

void TDMConfig::MailError(const QString& subject, const QString& body) {
    md::util::SendMail(md::util::MailSettings::load(), subject, body);
}

}  // namespace md::data
