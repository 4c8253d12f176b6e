#include "errors/ErrorHandler.h"

#include "data/backend/DbError.h"
#include "errors/ErrorRecorder.h"
#include "errors/ErrorTranslation.h"
#include "errors/Fr_ShowError.h"

#include <QApplication>
#include <cstdio>
#include <exception>

namespace md::errors {

ErrorHandler::ErrorHandler(ErrorRecorder* recorder) : recorder_(recorder) {}

QString ErrorHandler::RecordFailureText(const QString& failure) {
    return QStringLiteral(u"บันทึกข้อผิดพลาดไม่สำเร็จ : ") + failure.toUpper() + u'\r';
}

QString ErrorHandler::record(const QString& message) {
    if (!recorder_)
        return {};
    try {
        recorder_->logError(message);
        return {};
    } catch (const md::data::DbError& e) {
        return e.message().isEmpty() ? QStringLiteral("Unknown error") : e.message();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Unknown error");
    }
}

void ErrorHandler::HandleError(const QString& message) {
    const QString failure = record(message);
    QString text = ErrorDialogText(message);
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "error not recorded: %s\n", failure.toLocal8Bit().constData());
        text += RecordFailureText(failure);
    }

    if (showing_) {
        // Another error while the dialog is up (a timer of the window behind it, say): one
        // dialog collects them instead of a new modal loop inside the old one.
        showing_->AppendErrorText(text);
        return;
    }

    TFrShowError dialog(recorder_, QApplication::activeWindow(), tickMs_);
    dialog.ErrorText = text;
    showing_ = &dialog;
    dialog.exec();
    showing_ = nullptr;
}

}  // namespace md::errors
