#include "errors/Fr_ShowError.h"

#include "errors/ErrorRecorder.h"
#include "util/Utility.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace md::errors {

int TFrShowError::CountDown = 10;
bool TFrShowError::Sending = false;

namespace {

void makeBold(QWidget* widget) {
    QFont font = widget->font();
    font.setBold(true);
    widget->setFont(font);
}

}  // namespace

TFrShowError::TFrShowError(ErrorRecorder* recorder, QWidget* parent, int tickMs)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      recorder_(recorder) {
    setObjectName(QStringLiteral("FrShowError"));
    setWindowTitle(QStringLiteral("Windows Error Message"));
    setModal(true);
    setAutoFillBackground(true);
    QPalette red = palette();
    red.setColor(QPalette::Window, Qt::red);
    red.setColor(QPalette::Base, Qt::red);
    red.setColor(QPalette::Text, Qt::white);
    red.setColor(QPalette::WindowText, Qt::white);
    setPalette(red);

    ErrorBox = new QPlainTextEdit(this);
    ErrorBox->setObjectName(QStringLiteral("ErrorBox"));
    ErrorBox->setReadOnly(true);
    ErrorBox->setFixedHeight(65);
    ErrorBox->setPalette(red);
    ErrorBox->setFrameShape(QFrame::NoFrame);

    BOk = new QPushButton(QStringLiteral("Send Error"), this);
    BOk->setObjectName(QStringLiteral("BOk"));
    BCancel = new QPushButton(QStringLiteral("Don't Send"), this);
    BCancel->setObjectName(QStringLiteral("BCancel"));
    for (QPushButton* button : {BOk, BCancel}) {
        makeBold(button);
        button->setCursor(Qt::PointingHandCursor);
        // Return presses the button that has the focus, as on the buttons of any dialog.
        button->setAutoDefault(true);
        button->setPalette(QPalette());
    }
    TimeCount = new QLabel(this);
    TimeCount->setObjectName(QStringLiteral("TimeCount"));
    makeBold(TimeCount);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BOk);
    buttons->addWidget(BCancel);
    buttons->addWidget(TimeCount, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(ErrorBox);
    layout->addLayout(buttons);
    resize(344, 101);

    connect(BOk, &QPushButton::clicked, this, &TFrShowError::BOkClick);
    connect(BCancel, &QPushButton::clicked, this, &TFrShowError::BCancelClick);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(tickMs);
    connect(Timer1, &QTimer::timeout, this, &TFrShowError::Timer1Timer);
    Timer1->start();
}

void TFrShowError::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFrShowError::FormShow() {
    move(50, 100);
    ErrorBox->setPlainText(ErrorText);
    BCancel->setFocus();
    Sending = false;
    CountDown = 10;
    TimeCount->clear();
}

void TFrShowError::AppendErrorText(const QString& text) {
    ErrorText += text;
    ErrorBox->setPlainText(ErrorText);
    // The new message gets the full time on screen.
    CountDown = 10;
    if (Timer1->isActive())
        Timer1->start();
}

void TFrShowError::Timer1Timer() {
    if (Sending)
        return;
    --CountDown;
    if (CountDown <= 1)
        BCancelClick();
}

void TFrShowError::BCancelClick() {
    Timer1->stop();
    reject();
}

QString TFrShowError::MailSubject() const {
    if (!recorder_)
        return {};
    return QStringLiteral("Error ") + recorder_->companyDbName().trimmed() + u' ' +
           recorder_->menuCaption().trimmed();
}

QString TFrShowError::MailBody() const {
    const QString user = recorder_ ? recorder_->userCode().trimmed() : QString();
    return QStringLiteral("[User = ") + user + QStringLiteral("] ") + u'\r' +
           QStringLiteral("Local IP = ") + md::util::LocalIpAddress() + u'\r' + ErrorText;
}

void TFrShowError::BOkClick() {
    Sending = true;
    if (recorder_)
        recorder_->mailError(MailSubject(), MailBody());
    Timer1->stop();
    accept();
}

}  // namespace md::errors
