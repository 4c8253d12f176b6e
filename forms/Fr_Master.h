#pragma once

// The code master form base: one table keyed by a code. The user types (or searches) a code;
// leaving the code field loads the record with that code for changing, or starts a new record
// carrying it, and the code is locked until New. Save and delete each run in one transaction on
// the company connection together with the audit row, which goes first, so both commit or roll
// back together; after a failure the entries stay on screen for another try.
//
// States: waiting for a code (code field enabled, Save and Delete disabled), editing an
// existing record (code locked, Save and Delete enabled), editing a new record (code locked,
// Save enabled). New (F3) goes back to waiting from anywhere.
//
// Every window over one coded row derives from it: the foreign vendor and customer masters,
// and the import expense and lot windows, which ask their own plain questions. What differs
// between them is in the hooks below; the steps themselves are written once, here.

#include "data/Query.h"
#include "data/UpdateSql.h"
#include "forms/DataControls.h"
#include "forms/Fr_Form.h"

class QGridLayout;
class QLabel;
class QToolButton;

namespace md::forms {

class TKIdLookup;

class TFrMaster : public TFrForm {
    Q_OBJECT
  public:
    explicit TFrMaster(QWidget* parent = nullptr);
    // Takes QMaster and the UMaster update set from the statements of `module` (components
    // QMaster, UMaster.Insert, UMaster.Modify, UMaster.Delete).
    explicit TFrMaster(const QString& module, QWidget* parent = nullptr);
    ~TFrMaster() override;

    QLabel* Label1;
    // Bound to the field "Code" unless the derived window binds it otherwise.
    TDBEdit* MasterCode;
    QToolButton* BtSearchCode;
    QLabel* Label2;
    // Bound to the field "Description" unless the derived window binds it otherwise.
    TDBEdit* Description;

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

    // The grid the fields are laid in: captions in column 0, controls in column 1; rows 0 and 1
    // hold the code and the description.
    QGridLayout* fieldsLayout() const { return fields_; }
    // Adds a caption and a control as the next row.
    QLabel* addRow(const QString& caption, QWidget* control);
    // Adds a control that brings its own caption (a lookup frame) across both columns.
    void addWideRow(QWidget* control);
    // Width of the caption column; a frame's own caption is given it so the boxes line up.
    static int captionWidth() { return 100; }

  protected:
    // The window caption: the menu caption unless the window adds to it.
    virtual QString caption() const;
    // The questions before a save and a delete: the blue confirmation with the session's texts.
    virtual bool ConfirmSave();
    virtual bool ConfirmDelete();
    // The audit remark of a changed record (an added one always carries its code).
    virtual QString changedRemark() const;
    // After leaving the code field read a record (found) or started one, once the record is in
    // editing and carries the code.
    virtual void codeRead(bool found) { (void)found; }
    // Inside the save transaction, before the audit row.
    virtual void beforeSave() {}
    // A code box the user typed into without leaving it (F10 pressed in it) is resolved as if
    // it had been left, so what is checked and saved is what is on screen.
    void commitLookupEntries();

  private:
    void build();
    void focusMoved(QWidget* from, QWidget* to);
    // Runs `change` in one transaction on the company connection; on failure rolls back, puts
    // the record back into editing and lets the error go on; after success back to New.
    template <class F>
    void inTransaction(F&& change, bool isDelete);

    QGridLayout* fields_ = nullptr;
    int rows_ = 0;
};

}  // namespace md::forms
