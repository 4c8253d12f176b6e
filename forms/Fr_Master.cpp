#include "forms/Fr_Master.h"

#include "data/Connection.h"
#include "data/Dm_Config.h"
#include "data/U_DM.h"
#include "errors/TApplication.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QToolButton>
#include <exception>

namespace md::forms {

TFrMaster::TFrMaster(QWidget* parent)
    : TFrForm(parent), QMaster(data::DM ? &data::DM->DMdata : nullptr) {
    resize(512, 235);
    DMaster = new TDataSource(&QMaster, this);
    DMaster->setObjectName(QStringLiteral("DMaster"));

    fields_ = new QGridLayout(clientArea());
    Label1 = new QLabel(QStringLiteral(u"รหัส"), clientArea());
    Label1->setObjectName(QStringLiteral("Label1"));
    MasterCode = new TDBEdit(clientArea());
    MasterCode->setObjectName(QStringLiteral("MasterCode"));
    MasterCode->setUpperCase(true);
    MasterCode->setFixedWidth(120);
    MasterCode->setDataSource(DMaster);
    MasterCode->setDataField(QStringLiteral("Code"));
    BtSearchCode = new QToolButton(clientArea());
    BtSearchCode->setObjectName(QStringLiteral("BtSearchCode"));
    BtSearchCode->setText(QStringLiteral("..."));
    BtSearchCode->setAutoRaise(true);
    BtSearchCode->setFixedSize(22, 22);
    BtSearchCode->setCursor(Qt::PointingHandCursor);
    BtSearchCode->setFocusPolicy(Qt::NoFocus);
    Label2 = new QLabel(QStringLiteral(u"รายละเอียด"), clientArea());
    Label2->setObjectName(QStringLiteral("Label2"));
    Description = new TDBEdit(clientArea());
    Description->setObjectName(QStringLiteral("Description"));
    Description->setFixedWidth(300);
    Description->setDataSource(DMaster);
    Description->setDataField(QStringLiteral("Description"));
    Label1->setBuddy(MasterCode);
    Label2->setBuddy(Description);

    auto* codeRow = new QHBoxLayout;
    codeRow->setSpacing(2);
    codeRow->addWidget(MasterCode);
    codeRow->addWidget(BtSearchCode);
    codeRow->addStretch(1);
    fields_->addWidget(Label1, 0, 0, Qt::AlignRight);
    fields_->addLayout(codeRow, 0, 1);
    fields_->addWidget(Label2, 1, 0, Qt::AlignRight);
    fields_->addWidget(Description, 1, 1, Qt::AlignLeft);
    fields_->setColumnStretch(1, 1);
    fields_->setRowStretch(20, 1);

    connect(BtSearchCode, &QToolButton::clicked, this,
            errors::Guarded([this] { BtSearchCodeClick(); }));
    connect(qApp, &QApplication::focusChanged, this, &TFrMaster::focusMoved);
}

TFrMaster::~TFrMaster() {
    disconnect(qApp, &QApplication::focusChanged, this, &TFrMaster::focusMoved);
}

void TFrMaster::focusMoved(QWidget* from, QWidget* to) {
    // The code field is left for another control of this window (not for a dialog on top).
    if (from != MasterCode || !to || to->window() != this || !MasterCode->isEnabled())
        return;
    guarded([this] { MasterCodeExit(); });
}

void TFrMaster::OpenQuery(const QString& code) {
    QMaster.close();
    QMaster.paramByName(QStringLiteral("GetCode")).setAsString(code);
    QMaster.open();
}

void TFrMaster::FormShow() {
    data::DM->DMdata.open();
    setWindowTitle(data::DMConfig ? data::DMConfig->MenuCaption : QString());
    setStatusText(0, data::DMConfig ? data::DMConfig->CompanyNameThai : QString());
    TFrForm::FormShow();
    AcNewExecute();
}

void TFrMaster::FormClose(CloseAction& action) {
    TFrForm::FormClose(action);
    if (action != CloseAction::None && data::DM)
        data::DM->DMdata.close();
}

void TFrMaster::FormKeyDown(int& key, Qt::KeyboardModifiers shift) {
    TFrForm::FormKeyDown(key, shift);
    if (key == Qt::Key_F5 && focusWidget() == MasterCode) {
        key = 0;
        BtSearchCodeClick();
    }
}

void TFrMaster::AcNewExecute() {
    TFrForm::AcNewExecute();
    MasterCode->setEnabled(true);
    BtSearchCode->setEnabled(true);
    // Unsaved changes go without a question: closing the query drops them.
    OpenQuery(QString());
    QMaster.edit();  // on the empty result: a blank new record
    DMaster->notifyDataChanged();
    MasterCode->setFocus();
}

void TFrMaster::MasterCodeExit() {
    const QString code = MasterCode->text();
    if (code.trimmed().isEmpty())
        return;
    OpenQuery(code);
    AcDel->setEnabled(!QMaster.isEmpty());
    AcSave->setEnabled(true);
    QMaster.edit();
    QMaster.fieldByName(MasterCode->DataField()).setAsString(code);
    DMaster->notifyDataChanged();
    MasterCode->setEnabled(false);
    BtSearchCode->setEnabled(false);
    Description->setFocus();
}

void TFrMaster::AcSaveExecute() {
    if (!data::DM->AskYesNo(data::DMConfig->SaveConfirmText))
        return;
    const QString code = MasterCode->text();
    std::exception_ptr error;
    {
        data::TransactionGuard transaction(data::DM->DMdata);
        try {
            if (QMaster.updateStatus() == data::UpdateStatus::Inserted) {
                data::DM->AddUserLog(data::TDM::LogAddId, 0, code);
            } else {
                data::DM->AddUserLog(data::TDM::LogEditId,
                                     QMaster.fieldByName(QStringLiteral("Id")).asInteger(), code);
            }
            QMaster.applyUpdates(UMaster);
            transaction.commit();
        } catch (...) {
            error = std::current_exception();
        }
    }  // not committed: rolled back here, the audit row with it
    if (error) {
        // The buffer is as it was: the entries stay on screen and Save stays enabled.
        QMaster.edit();
        std::rethrow_exception(error);
    }
    QMaster.commitUpdates();
    AcNewExecute();
}

void TFrMaster::AcDelExecute() {
    if (!data::DM->AskYesNo(data::DMConfig->DeleteConfirmText))
        return;
    std::exception_ptr error;
    {
        data::TransactionGuard transaction(data::DM->DMdata);
        try {
            data::DM->AddUserLog(data::TDM::LogDeleteId,
                                 QMaster.fieldByName(QStringLiteral("Id")).asInteger(), QString());
            QMaster.deleteRecord();
            QMaster.applyUpdates(UMaster);
            transaction.commit();
        } catch (...) {
            error = std::current_exception();
        }
    }
    if (error) {
        // The refused delete is taken back out of the buffer, so the record is on screen again
        // and a later save cannot send the delete along.
        if (QMaster.updatesPending())
            QMaster.cancelUpdates();
        QMaster.edit();
        DMaster->notifyDataChanged();
        std::rethrow_exception(error);
    }
    QMaster.commitUpdates();
    AcNewExecute();
}

}  // namespace md::forms
