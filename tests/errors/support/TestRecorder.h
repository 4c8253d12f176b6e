#pragma once

// A recorder for the error path's tests: keeps the recorded messages in a list, can be told to
// fail as an unreachable configuration database does, and mails through the real mailer.

#include "data/backend/DbError.h"
#include "errors/ErrorRecorder.h"
#include "util/Mailer.h"

#include <QStringList>
#include <functional>
#include <optional>

namespace md::testing {

class TestRecorder : public md::errors::ErrorRecorder {
  public:
    QStringList logged;
    int mailCalls = 0;
    QList<bool> mailResults;
    std::optional<md::util::MailSettings> mail;  // where mails go; none: not sent
    std::optional<QString> failLogWith;          // logError throws a connection error
    std::function<void()> onLog;                 // runs as a message is recorded

    QString user = QStringLiteral("ADMIN  ");
    QString company = QStringLiteral(" KVR_DEMO ");
    QString caption = QStringLiteral(u"  ผู้ขายต่างประเทศ ");

    void logError(const QString& message) override {
        if (failLogWith) {
            throw md::data::DbError(*failLogWith, 0, QStringLiteral("08S01"),
                                    md::data::ErrorCategory::Connection);
        }
        logged << message;
        if (onLog)
            onLog();
    }
    bool mailError(const QString& subject, const QString& body) override {
        ++mailCalls;
        const bool sent = mail && md::util::SendMail(*mail, subject, body);
        mailResults << sent;
        return sent;
    }
    QString userCode() const override { return user; }
    QString companyDbName() const override { return company; }
    QString menuCaption() const override { return caption; }
};

}  // namespace md::testing
