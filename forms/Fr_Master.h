#pragma once

// The code master form base: one master table keyed by a code. The user types (or searches) a
// code; leaving the code field loads the record with that code for changing, or starts a new
// record carrying it. Save and delete each run in one transaction on the company connection
// together with the audit row, which goes first, so both commit or roll back together; after a
// failure the entries stay on screen for another try.
//
// States: waiting for a code (code field enabled, Save and Delete disabled), editing an
// existing record (code locked, Save and Delete enabled), editing a new record (code locked,
// Save enabled). New (F3) goes back to waiting from anywhere.

#include "data/Query.h"
#include "data/UpdateSql.h"
#include "forms/DataControls.h"
#include "forms/Fr_Form.h"

class QGridLayout;
class QLabel;
class QToolButton;

namespace md::forms {

class TFrMaster : public TFrForm {
    Q_OBJECT
  public:
    explicit TFrMaster(QWidget* parent = nullptr);
    ~TFrMaster() override;

    QLabel* Label1;
    TDBEdit* MasterCode;
    QToolButton* BtSearchCode;
    QLabel* Label2;
    TDBEdit* Description;
    // Bound to the fields "Code" and "Description" unless the derived window binds them
    // otherwise.
    // Where a derived window adds its own fields, below the description (row 2 on).
    QGridLayout* fieldsLayout() const { return fields_; }

    // The record by the parameter GetCode, with the column Id; the derived window gives the
    // statement and the update set.
    data::Query QMaster;
    TDataSource* DMaster;
    data::UpdateSql UMaster;

    // Closes QMaster, sets GetCode and opens it again.
    void OpenQuery(const QString& code);

    void FormShow() override;
    void FormClose(CloseAction& action) override;
    void FormKeyDown(int& key, Qt::KeyboardModifiers shift) override;
    void AcNewExecute() override;
    void AcSaveExecute() override;
    void AcDelExecute() override;
    virtual void MasterCodeExit();
    // The derived window's search for the code (button and F5 in the code field).
    virtual void BtSearchCodeClick() {}

  private:
    void focusMoved(QWidget* from, QWidget* to);

    QGridLayout* fields_ = nullptr;
};

}  // namespace md::forms
