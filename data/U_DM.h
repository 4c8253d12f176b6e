#pragma once

// The company module: the connection to the company's own database (every data set of every
// window names it, "DMDATA"), the company options row, the save/delete confirmation, the audit
// log and the simple code search that every entry window uses.

#include "data/Connection.h"
#include "data/Query.h"
#include "data/SqlScript.h"
#include "data/StoredProc.h"

#include <QString>
#include <functional>

namespace md::data {

class TDM {
  public:
    TDM();
    virtual ~TDM() = default;
    TDM(const TDM&) = delete;
    TDM& operator=(const TDM&) = delete;

    // Components.
    Connection DMdata{QStringLiteral("DMDATA")};
    Query QConfig;
    Query QchkPeriod;
    Query QMiscCurrency;
    StoredProc SpAddLog;
    // The exchange window's schema script: the currency list reads columns it adds.
    SqlScript SQLCurrencyUpgrade;

    // The company database name as the program was started with it (third argument), set by the
    // start-up before the first window opens DMdata.
    QString CompanyArgument;
    // The company database name the connection uses: CompanyArgument trimmed.
    QString DataDbName;
    // The confirmation's blue background ("ConfirmColor") belongs to the dialogs of the window
    // layer, which AskYesNo reaches through the prompts service.

    // Function-list ids of the audit log.
    static constexpr int LogAddId = 1;
    static constexpr int LogEditId = 2;
    static constexpr int LogDeleteId = 3;

    // Company options, read after each connect.
    bool IvRefSO = false;
    bool MrRefPO = false;
    bool EditPricePO = false;
    bool ShowProductPriceList = false;
    qint64 MainCurrencyId = 0;
    QString MainCurrencyName;
    qint64 InternationalCurrencyId = 0;
    QString InternationalCurrencyName;

    // The texts last typed into a product search, carried to the next one for the whole run.
    QString LastProductName;
    QString LastProductCode;

    void DMdataBeforeConnect(Connection& connection);
    void DMdataAfterConnect(Connection& connection);
    // Closes and reopens QConfig and QchkPeriod.
    void ReloadConfig();

    // The blue Yes/No confirmation; true only for Yes.
    bool AskYesNo(const QString& question);
    // One audit row, inside the caller's transaction.
    void AddUserLog(int functionListId, qint64 documentId, const QString& remark);

    // The simple search over one table (the window layer installs it); true when the user chose
    // a row, whose code the simple search window then holds as its result.
    bool ShowSimpleSearch(const QString& caption, const QString& codeField,
                          const QString& descriptionField, const QString& extraCondition,
                          const QString& tableName);
    using SimpleSearchRunner = std::function<bool(
        const QString& caption, const QString& codeField, const QString& descriptionField,
        const QString& extraCondition, const QString& tableName)>;
    SimpleSearchRunner simpleSearchRunner;

    // Called once after a connect has loaded the options: the start-up destroys the splash
    // window here. Cleared after the call, so later connects leave the splash alone.
    std::function<void()> destroySplash;
};

// The process-wide company module (created by the program's start-up).
extern TDM* DM;

}  // namespace md::data
