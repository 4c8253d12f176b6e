#include "forms/Fr_Master.h"

#include "data/Connection.h"
#include "data/Dm_Config.h"
#include "data/U_DM.h"
#include "data/statements/Statements.h"
#include "errors/TApplication.h"
#include "forms/KIdLookup.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <exception>

namespace md::forms {

namespace {

data::Connection* companyConnection() {
    return data::DM ? &data::DM->DMdata : nullptr;
}

}  // namespace

TFrMaster::TFrMaster(QWidget* parent) : TFrForm(parent), QMaster(companyConnection()) {
    build();
}

TFrMaster::TFrMaster(const QString& module, QWidget* parent)
    : TFrForm(parent),
      QMaster(companyConnection(), statements::text(module, QStringLiteral("QMaster"))) {
    UMaster.insertSql = statements::text(module, QStringLiteral("UMaster.Insert"));
    UMaster.modifySql = statements::text(module, QStringLiteral("UMaster.Modify"));
    UMaster.deleteSql = statements::text(module, QStringLiteral("UMaster.Delete"));
    build();
}

void TFrMaster::build() {
    resize(512, 235);
    DMaster = new TDataSource(&QMaster, this);
    DMaster->setObjectName(QStringLiteral("DMaster"));

    fields_ = new QGridLayout(clientArea());
    fields_->setColumnMinimumWidth(0, captionWidth());
    fields_->setColumnStretch(1, 1);
    fields_->setRowStretch(30, 1);
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
    // A search button is not a stop of the Enter walk.
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
    rows_ = 2;

    connect(BtSearchCode, &QToolButton::clicked, this,
            errors::Guarded([this] { BtSearchCodeClick(); }));
    connect(FocusWatch::of(this), &FocusWatch::moved, this, &TFrMaster::focusMoved);
}

TFrMaster::~TFrMaster() {
    disconnect(FocusWatch::of(this), &FocusWatch::moved, this, &TFrMaster::focusMoved);
}

QLabel* TFrMaster::addRow(const QString& caption, QWidget* control) {
    auto* label = new QLabel(caption, clientArea());
    label->setBuddy(control);
    fields_->addWidget(label, rows_, 0, Qt::AlignRight);
    fields_->addWidget(control, rows_, 1, Qt::AlignLeft);
    ++rows_;
    return label;
}

void TFrMaster::addWideRow(QWidget* control) {
    fields_->addWidget(control, rows_, 0, 1, 2);
    ++rows_;
}

void TFrMaster::focusMoved(QWidget* from, QWidget* to) {
    // The code field was left for another control of this window, by any route, whether or not
    // the window is the active one. A dialog on top of the window does not move its focus.
    if (from != MasterCode || !to || !MasterCode->isEnabled())
        return;
    guarded([this] { MasterCodeExit(); });
}

void TFrMaster::OpenQuery(const QString& code) {
    QMaster.close();
    QMaster.paramByName(QStringLiteral("GetCode")).setAsString(code);
    QMaster.open();
}

QString TFrMaster::caption() const {
    return data::DMConfig ? data::DMConfig->MenuCaption : QString();
}

bool TFrMaster::ConfirmSave() {
    return data::DM->AskYesNo(data::DMConfig->SaveConfirmText);
}

bool TFrMaster::ConfirmDelete() {
    return data::DM->AskYesNo(data::DMConfig->DeleteConfirmText);
}

QString TFrMaster::changedRemark() const {
    return MasterCode->text();
}

void TFrMaster::FormShow() {
    data::DM->DMdata.open();
    setWindowTitle(caption());
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
    if (key == Qt::Key_F5 && focusWidget() == MasterCode && MasterCode->isEnabled()) {
        key = 0;
        BtSearchCodeClick();
    }
}

void TFrMaster::AcNewExecute() {
    TFrForm::AcNewExecute();
    MasterCode->setEnabled(true);
    BtSearchCode->setEnabled(true);
    // Unsaved changes go without a question: closing the query drops them. No record has the
    // empty code, so the result is empty and editing it starts a blank new record.
    OpenQuery(QString());
    QMaster.edit();
    DMaster->notifyDataChanged();
    MasterCode->setFocus();
}

void TFrMaster::MasterCodeExit() {
    const QString code = MasterCode->text();
    if (code.trimmed().isEmpty())
        return;
    OpenQuery(code);
    const bool found = !QMaster.isEmpty();
    AcDel->setEnabled(found);
    AcSave->setEnabled(true);
    QMaster.edit();  // the found record, or a new one when none was found
    QMaster.fieldByName(MasterCode->DataField()).setAsString(code);
    codeRead(found);
    DMaster->notifyDataChanged();
    MasterCode->setEnabled(false);
    BtSearchCode->setEnabled(false);
    Description->setFocus();
}

void TFrMaster::commitLookupEntries() {
    for (TKIdLookup* box : clientArea()->findChildren<TKIdLookup*>())
        box->commitEntry();
}

template <class F>
void TFrMaster::inTransaction(F&& change, bool isDelete) {
    std::exception_ptr error;
    {
        data::TransactionGuard transaction(data::DM->DMdata);
        try {
            change();
            transaction.commit();
        } catch (...) {
            error = std::current_exception();
        }
    }  // not committed: rolled back here, the audit row with it
    if (error) {
        // A refused delete is taken back out of the buffer, so the record is on screen again
        // and a later save cannot send the delete along; a refused save keeps its buffer, so
        // the entries stay on screen and Save stays enabled.
        if (isDelete && QMaster.updatesPending())
            QMaster.cancelUpdates();
        QMaster.edit();
        DMaster->notifyDataChanged();
        std::rethrow_exception(error);
    }
    QMaster.commitUpdates();
    AcNewExecute();
}

void TFrMaster::AcSaveExecute() {
    if (!ConfirmSave())
        return;
    inTransaction(
        [this] {
            beforeSave();
            if (QMaster.updateStatus() == data::UpdateStatus::Inserted) {
                data::DM->AddUserLog(data::TDM::LogAddId, 0, MasterCode->text());
            } else {
                data::DM->AddUserLog(data::TDM::LogEditId,
                                     QMaster.fieldByName(QStringLiteral("Id")).asInteger(),
                                     changedRemark());
            }
            QMaster.applyUpdates(UMaster);
        },
        false);
}

void TFrMaster::AcDelExecute() {
    if (!ConfirmDelete())
        return;
    inTransaction(
        [this] {
            data::DM->AddUserLog(data::TDM::LogDeleteId,
                                 QMaster.fieldByName(QStringLiteral("Id")).asInteger(), QString());
            QMaster.deleteRecord();
            QMaster.applyUpdates(UMaster);
        },
        true);
}

}  // namespace md::forms
