#pragma once

// The session module: the connection to the suite's configuration database, found by probing the
// server; who the user is, which menu entry started the program, the user's language and rights,
// and the company's configuration; and the error log and error mail.

#include "data/Connection.h"
#include "data/Query.h"
#include "data/SqlScript.h"
#include "data/StoredProc.h"

#include <QMap>
#include <QString>
#include <stdexcept>

namespace md::data {

// GetCompanyConfig found no company for the database name: the program shows the message and
// ends with exit code 0.
class CompanyNotFound : public std::runtime_error {
  public:
    explicit CompanyNotFound(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

  private:
    QString message_;
};

// The company's configuration, loaded with the session.
struct TCompanyConfig {
    QString PicturePath;
    qint64 DefaultWH = 0;
    qint64 DefaultTax = 0;
    qint64 Pos1_WH = 0;
    QString Pos1_TaxCode;
    QString Pos1_Price_IE;
    int Pos1PriceType = 0;
    bool Pos1_SumDetail = false;
    QString DefaultPosComPort;
    QString HeaderName;     // the Thai name
    QString HeaderAddress;  // ADDRESS1..3 trimmed, joined by single blanks
    QString HeaderTax;      // ADDRESS4, ZIP and the taxpayer number
};

class TDMConfig {
  public:
    TDMConfig();
    virtual ~TDMConfig() = default;
    TDMConfig(const TDMConfig&) = delete;
    TDMConfig& operator=(const TDMConfig&) = delete;

    // Components.
    Connection DmCfg{QStringLiteral("DmCfg")};
    Connection DBMaster{QStringLiteral("DBMaster")};
    Query QChkConfig;
    Query QCompanyConfig;
    Query QCompany;
    Query QSoftware;
    Query QUser;
    StoredProc SpMenuCaption;
    StoredProc SpErrorLog;
    SqlScript SQLUpdate;

    // Session values, written only during start-up.
    bool LanguageThai = false;
    qint64 CompanyId = 0;
    int MenuId = 0;
    int UserId = 0;
    QString UserCode;
    QString UserFullName;
    QString MenuCaption;
    bool AccessRight = false;
    bool AddRight = false;
    bool ModifyRight = false;
    bool DeleteRight = false;
    qint64 SalesmanId = 0;
    QString CompanyDbName;
    QString CompanyNameThai;
    int Pos1PriceType = 0;
    QString SaveConfirmText;
    QString DeleteConfirmText;
    // One flag per user-flag column of UserName, true only for exactly "Y".
    QMap<QString, bool> UserRights;
    TCompanyConfig CompanyConfig;

    // The first line of Server.Dat in the working directory, untrimmed; empty when the file
    // cannot be opened.
    virtual QString ReadServerName();

    void DmCfgBeforeConnect(Connection& connection);
    void DmCfgAfterConnect(Connection& connection);

    // Loads the company configuration; throws CompanyNotFound for an unknown database name.
    void GetCompanyConfig(const QString& databaseName);
    void CheckRight(int menuId, int userId);

    // Records an error in the configuration database's error log.
    void LogError(const QString& message);
    // Mails an error report to the suite's support; every failure is swallowed.
    void MailError(const QString& subject, const QString& body);

    // The user-flag columns of UserName that make up UserRights.
    static const QStringList& userRightColumns();
    // The name of the configuration database chosen by the last probe.
    const QString& configDatabaseName() const { return configDatabase_; }

  private:
    QString configDatabase_;
};

// The process-wide session module (created by the program's start-up).
extern TDMConfig* DMConfig;

}  // namespace md::data
