#include "errors/ConfigErrorRecorder.h"

#include "data/Dm_Config.h"

#include <stdexcept>

namespace md::errors {

data::TDMConfig* ConfigErrorRecorder::config() const {
    return config_ ? config_ : data::DMConfig;
}

void ConfigErrorRecorder::logError(const QString& message) {
    data::TDMConfig* session = config();
    if (!session)
        throw std::runtime_error("The configuration module does not exist yet");
    session->LogError(message);
}

bool ConfigErrorRecorder::mailError(const QString& subject, const QString& body) {
    data::TDMConfig* session = config();
    if (!session)
        return false;
    session->MailError(subject, body);
    return true;
}

QString ConfigErrorRecorder::userCode() const {
    const data::TDMConfig* session = config();
    return session ? session->UserCode : QString();
}

QString ConfigErrorRecorder::companyDbName() const {
    const data::TDMConfig* session = config();
    return session ? session->CompanyDbName : QString();
}

QString ConfigErrorRecorder::menuCaption() const {
    const data::TDMConfig* session = config();
    return session ? session->MenuCaption : QString();
}

}  // namespace md::errors
