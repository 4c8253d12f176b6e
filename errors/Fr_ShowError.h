#pragma once

// The red error dialog: shows one error, offers to mail it to support, and closes by itself
// after nine ticks of its timer unless the user acts first.

#include <QDialog>
#include <QString>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace md::errors {

class ErrorRecorder;

class TFrShowError : public QDialog {
    Q_OBJECT
  public:
    // The report goes out through `recorder`, which also gives the session values it carries;
    // without one "Send Error" only closes. `tickMs` is the interval of the countdown timer.
    explicit TFrShowError(ErrorRecorder* recorder, QWidget* parent = nullptr, int tickMs = 1000);

    // Set before the dialog is shown.
    QString ErrorText;

    // Held once for the whole run, not per dialog.
    static int CountDown;
    static bool Sending;

    QPlainTextEdit* ErrorBox = nullptr;
    QPushButton* BOk = nullptr;
    QPushButton* BCancel = nullptr;
    QLabel* TimeCount = nullptr;
    QTimer* Timer1 = nullptr;

    // Adds the text of a further error that arrived while this dialog is up, and starts the
    // countdown again.
    void AppendErrorText(const QString& text);

    // The mail the "Send Error" button sends.
    QString MailSubject() const;
    QString MailBody() const;

  public slots:
    void Timer1Timer();
    void BOkClick();
    void BCancelClick();

  protected:
    void showEvent(QShowEvent* event) override;
    virtual void FormShow();

  private:
    ErrorRecorder* recorder_;
};

}  // namespace md::errors
