#include "masters/CodeEntryForm.h"

#include "data/Connection.h"
#include "data/Dm_Config.h"
#include "data/Prompts.h"
#include "data/U_DM.h"
#include "data/statements/Statements.h"
#include "errors/TApplication.h"
#include "forms/Fr_SimpleSearch.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <exception>

namespace md::masters {

namespace {

data::Connection* companyConnection() {
    return data::DM ? &data::DM->DMdata : nullptr;
}

}  // namespace

CodeEntryForm::CodeEntryForm(const QString& module, QString table, QWidget* parent)
    : TFrForm(parent),
      QMaster(companyConnection(), statements::text(module, QStringLiteral("QMaster"))),
      table_(std::move(table)) {
    UMaster.insertSql = statements::text(module, QStringLiteral("UMaster.Insert"));
    UMaster.modifySql = statements::text(module, QStringLiteral("UMaster.Modify"));
    UMaster.deleteSql = statements::text(module, QStringLiteral("UMaster.Delete"));
    DMaster = new forms::TDataSource(&QMaster, this);
    DMaster->setObjectName(QStringLiteral("DMaster"));

    fields_ = new QGridLayout(clientArea());
    fields_->setColumnStretch(2, 1);
    fields_->setRowStretch(30, 1);

    Code = new forms::TDBEdit(clientArea());
    Code->setObjectName(QStringLiteral("Code"));
    Code->setUpperCase(true);
    Code->setFixedWidth(120);
    Code->setDataSource(DMaster);
    Code->setDataField(QStringLiteral("Code"));
    BtSearchCode = new QToolButton(clientArea());
    BtSearchCode->setObjectName(QStringLiteral("BtSearchCode"));
    BtSearchCode->setText(QStringLiteral("..."));
    BtSearchCode->setFixedSize(22, 22);
    BtSearchCode->setCursor(Qt::PointingHandCursor);
    // A search button is not a stop of the Enter walk.
    BtSearchCode->setFocusPolicy(Qt::NoFocus);
    auto* codeRow = new QHBoxLayout;
    codeRow->setSpacing(2);
    codeRow->addWidget(Code);
    codeRow->addWidget(BtSearchCode);
    codeRow->addStretch(1);
    auto* label = new QLabel(QStringLiteral(u"รหัส"), clientArea());
    label->setObjectName(QStringLiteral("LabelCode"));
    label->setBuddy(Code);
    fields_->addWidget(label, 0, 0, Qt::AlignRight);
    fields_->addLayout(codeRow, 0, 1, 1, 2);
    rows_ = 1;

    connect(BtSearchCode, &QToolButton::clicked, this,
            errors::Guarded([this] { BtSearchCodeClick(); }));
    connect(qApp, &QApplication::focusChanged, this, &CodeEntryForm::focusMoved);
}

CodeEntryForm::~CodeEntryForm() {
    disconnect(qApp, &QApplication::focusChanged, this, &CodeEntryForm::focusMoved);
}

QLabel* CodeEntryForm::addRow(const QString& caption, QWidget* control) {
    auto* label = new QLabel(caption, clientArea());
    label->setBuddy(control);
    fields_->addWidget(label, rows_, 0, Qt::AlignRight);
    fields_->addWidget(control, rows_, 1, 1, 2, Qt::AlignLeft);
    ++rows_;
    return label;
}

QString CodeEntryForm::caption() const {
    return data::DMConfig ? data::DMConfig->MenuCaption : QString();
}

void CodeEntryForm::focusMoved(QWidget* from, QWidget* to) {
    // The code box is left for another control of this window, not for a dialog on top of it.
    if (from != Code || !to || to->window() != this || !Code->isEnabled())
        return;
    guarded([this] { CodeExit(); });
}

void CodeEntryForm::readCode(const QString& code) {
    QMaster.close();
    QMaster.paramByName(QStringLiteral("GetCode")).setAsString(code);
    QMaster.open();
}

void CodeEntryForm::FormShow() {
    data::DM->DMdata.open();
    setWindowTitle(caption());
    setStatusText(0, data::DMConfig ? data::DMConfig->CompanyNameThai : QString());
    TFrForm::FormShow();
    AcNewExecute();
}

void CodeEntryForm::FormClose(forms::CloseAction& action) {
    TFrForm::FormClose(action);
    if (action != forms::CloseAction::None && data::DM)
        data::DM->DMdata.close();
}

void CodeEntryForm::FormKeyDown(int& key, Qt::KeyboardModifiers shift) {
    TFrForm::FormKeyDown(key, shift);
    if (key == Qt::Key_F5 && focusWidget() == Code && Code->isEnabled()) {
        key = 0;
        BtSearchCodeClick();
    }
}

void CodeEntryForm::AcNewExecute() {
    TFrForm::AcNewExecute();
    Code->setEnabled(true);
    BtSearchCode->setEnabled(true);
    // A code finds no row by the empty text: an empty data set to start the new row in.
    readCode(QString());
    QMaster.edit();
    DMaster->notifyDataChanged();
    Code->setFocus();
}

void CodeEntryForm::CodeExit() {
    const QString code = Code->text();
    if (code.trimmed().isEmpty())
        return;
    readCode(code);
    const bool found = !QMaster.isEmpty();
    AcDel->setEnabled(found);
    AcSave->setEnabled(true);
    QMaster.edit();  // the found row, or a new one when none was found
    QMaster.fieldByName(QStringLiteral("Code")).setAsString(code);
    codeRead(found);
    DMaster->notifyDataChanged();
    Code->setEnabled(false);
    BtSearchCode->setEnabled(false);
    if (auto* description = findChild<QWidget*>(QStringLiteral("Description")))
        description->setFocus();
}

void CodeEntryForm::BtSearchCodeClick() {
    const QString title = windowTitle();
    if (!data::DM->ShowSimpleSearch(QStringLiteral(u"ค้นหา") + title, QStringLiteral("Code"),
                                    QStringLiteral("Description"), QString(), table_))
        return;
    Code->setText(forms::FrSimpleSearch()->ResultValue);
    // Back from the dialog: this window takes the keys again, so leaving the code box reads it.
    activateWindow();
    Code->setFocus();
}

template <class F>
void CodeEntryForm::inTransaction(F&& change, bool isDelete) {
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
        // A refused delete is taken back out of the buffer so that the row is on screen again
        // and a later save cannot send the delete along; a refused save keeps its buffer.
        if (isDelete && QMaster.updatesPending())
            QMaster.cancelUpdates();
        QMaster.edit();
        DMaster->notifyDataChanged();
        std::rethrow_exception(error);
    }
    QMaster.commitUpdates();
    AcNewExecute();
}

void CodeEntryForm::AcSaveExecute() {
    if (!data::prompts().askPlainYesNo(QStringLiteral(u"บันทึก") + windowTitle() +
                                       QStringLiteral(" ?")))
        return;
    inTransaction(
        [this] {
            beforeSave();
            if (QMaster.updateStatus() == data::UpdateStatus::Inserted) {
                data::DM->AddUserLog(data::TDM::LogAddId, 0, Code->text());
            } else {
                data::DM->AddUserLog(data::TDM::LogEditId,
                                     QMaster.fieldByName(QStringLiteral("Id")).asInteger(),
                                     QString());
            }
            QMaster.applyUpdates(UMaster);
        },
        false);
}

void CodeEntryForm::AcDelExecute() {
    if (!data::prompts().askPlainYesNo(QStringLiteral(u"ลบ") + windowTitle() +
                                       QStringLiteral(" ?")))
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

}  // namespace md::masters
