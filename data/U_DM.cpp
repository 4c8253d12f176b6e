#include "data/U_DM.h"

#include "data/ConnectionParams.h"
#include "data/Dm_Config.h"
#include "data/Prompts.h"
#include "data/backend/DbError.h"
#include "data/statements/Statements.h"

namespace md::data {

TDM* DM = nullptr;

namespace {

QStringList sqlOf(const char* component) {
    return md::statements::text(QStringLiteral("U_DM"), QString::fromLatin1(component));
}

bool isY(Query& q, const char* column) {
    const QVariant v = q.fieldByName(QString::fromLatin1(column)).value();
    return !v.isNull() && v.toString() == QStringLiteral("Y");
}

}  // namespace

TDM::TDM()
    : QConfig(&DMdata, sqlOf("QConfig")),
      QchkPeriod(&DMdata, sqlOf("QchkPeriod")),
      QMiscCurrency(&DMdata, sqlOf("QMiscCurrency")),
      SpAddLog(&DMdata, QStringLiteral("UserAddLog")),
      SQLCurrencyUpgrade(&DMdata, md::statements::text(QStringLiteral("Fr_CurrencyEx"),
                                                       QStringLiteral("SQLUpdate"))) {
    DMdata.beforeConnect = [this](Connection& c) { DMdataBeforeConnect(c); };
    DMdata.afterConnect = [this](Connection& c) { DMdataAfterConnect(c); };
}

void TDM::DMdataBeforeConnect(Connection& connection) {
    DataDbName = CompanyArgument.trimmed();
    QString server = DMConfig ? DMConfig->ReadServerName() : QString();
    if (server.isEmpty())
        server = kDefaultServerName;
    connection.params().clear();
    connection.params() = suiteConnectionParams(DataDbName, server);
}

void TDM::DMdataAfterConnect(Connection&) {
    ReloadConfig();
    IvRefSO = isY(QConfig, "IvRefSO");
    MrRefPO = isY(QConfig, "MrRefPO");
    EditPricePO = isY(QConfig, "EditPricePO");
    ShowProductPriceList = isY(QConfig, "ShowProductPriceList");
    MainCurrencyId = QConfig.fieldByName(QStringLiteral("MainCurrencyId")).asInteger();
    MainCurrencyName = QConfig.fieldByName(QStringLiteral("MainCurrencyName")).asString();
    InternationalCurrencyId =
        QConfig.fieldByName(QStringLiteral("InternationalCurrencyId")).asInteger();
    InternationalCurrencyName =
        QConfig.fieldByName(QStringLiteral("InternationalCurrencyName")).asString();

    if (destroySplash) {
        auto destroy = std::move(destroySplash);
        destroySplash = nullptr;
        destroy();
    }

    // The currency list reads the scrap and part columns of CurrencyEx, which the exchange
    // window's schema script adds; a company that never opened that window lacks them, so the
    // (guarded, repeatable) script runs first instead of every window failing to open.
    SQLCurrencyUpgrade.execute();
    QMiscCurrency.close();
    QMiscCurrency.open();
}

void TDM::ReloadConfig() {
    QConfig.close();
    QConfig.open();
    QchkPeriod.close();
    QchkPeriod.open();
}

bool TDM::AskYesNo(const QString& question) {
    return prompts().askYesNo(question);
}

void TDM::AddUserLog(int functionListId, qint64 documentId, const QString& remark) {
    SpAddLog.close();
    SpAddLog.setInteger(QStringLiteral("@UserId"), DMConfig ? DMConfig->UserId : 0);
    SpAddLog.setInteger(QStringLiteral("@MenuId"), DMConfig ? DMConfig->MenuId : 0);
    SpAddLog.setInteger(QStringLiteral("@FunctionListId"), functionListId);
    SpAddLog.setInteger(QStringLiteral("@DocumentId"), documentId);
    // An empty remark goes to the server as an empty string, never as NULL.
    SpAddLog.setString(QStringLiteral("@Remark"), remark.isNull() ? QStringLiteral("") : remark);
    SpAddLog.execProc();
}

bool TDM::ShowSimpleSearch(const QString& caption, const QString& codeField,
                           const QString& descriptionField, const QString& extraCondition,
                           const QString& tableName) {
    if (!simpleSearchRunner)
        throw UsageError(QStringLiteral("No simple search window is installed"));
    return simpleSearchRunner(caption, codeField, descriptionField, extraCondition, tableName);
}

}  // namespace md::data
