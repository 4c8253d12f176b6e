#pragma once

// The one place every error that escapes an event handler ends: record it, put a Thai
// explanation in front of it when a known fragment matches, and show it in the red dialog.

#include <QPointer>
#include <QString>

namespace md::errors {

class ErrorRecorder;
class TFrShowError;

class ErrorHandler {
  public:
    explicit ErrorHandler(ErrorRecorder* recorder = nullptr);

    void setRecorder(ErrorRecorder* recorder) { recorder_ = recorder; }
    ErrorRecorder* recorder() const { return recorder_; }

    // Interval of the dialog's countdown timer (one second unless changed).
    void setTickInterval(int ms) { tickMs_ = ms; }

    // Records, explains and shows the message; returns when the dialog has closed. When the
    // record cannot be written, the dialog still shows, with that failure added. An error that
    // arrives while the dialog is up is recorded and added to the dialog already showing.
    void HandleError(const QString& message);

    // The text the dialog shows when recording the error failed with `failure`.
    static QString RecordFailureText(const QString& failure);

  private:
    // Records the message; the text of the failure when that did not work, else empty.
    QString record(const QString& message);

    ErrorRecorder* recorder_;
    int tickMs_ = 1000;
    QPointer<TFrShowError> showing_;
};

}  // namespace md::errors
