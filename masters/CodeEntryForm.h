#pragma once

// What the import expense and import lot windows share: an entry form over one row of a code
// table. The user types (or searches) a code; leaving the code box reads the row with that
// code for changing, or starts a new row carrying it; the code is then locked until New. Save
// and Delete ask the plain Yes/No question ("บันทึก" or "ลบ", the caption, " ?") and write in one
// transaction on the company connection with the audit row first, so the audit row commits or
// rolls back with the change; a refused change keeps the entries on screen for another try.

#include "data/Query.h"
#include "data/UpdateSql.h"
#include "forms/DataControls.h"
#include "forms/Fr_Form.h"

class QGridLayout;
class QLabel;
class QToolButton;

namespace md::masters {

class CodeEntryForm : public forms::TFrForm {
    Q_OBJECT
  public:
    // `module` names the statements of the window (QMaster and the UMaster update set);
    // `table` is the table the simple search lists.
    CodeEntryForm(const QString& module, QString table, QWidget* parent = nullptr);
    ~CodeEntryForm() override;

    forms::TDBEdit* Code;
    QToolButton* BtSearchCode;

    data::Query QMaster;
    forms::TDataSource* DMaster;
    data::UpdateSql UMaster;

    void FormShow() override;
    void FormClose(forms::CloseAction& action) override;
    void FormKeyDown(int& key, Qt::KeyboardModifiers shift) override;
    void AcNewExecute() override;
    void AcSaveExecute() override;
    void AcDelExecute() override;
    virtual void CodeExit();
    virtual void BtSearchCodeClick();

  protected:
    // The grid the window lays its fields in; row 0 holds the code box.
    QGridLayout* fields() const { return fields_; }
    // Adds a caption and a control as the next row of the grid.
    QLabel* addRow(const QString& caption, QWidget* control);
    // The caption the window shows (the menu caption, and what the window adds to it).
    virtual QString caption() const;
    // After leaving the code box read (found) or started a row, before the data set goes into
    // editing and gets the code.
    virtual void codeRead(bool found) { (void)found; }
    // Inside the save transaction, before the audit row.
    virtual void beforeSave() {}

  private:
    void focusMoved(QWidget* from, QWidget* to);
    void readCode(const QString& code);
    // Runs `change` in one transaction on the company connection; on failure rolls back,
    // puts the data set back into editing and lets the error go on.
    template <class F>
    void inTransaction(F&& change, bool isDelete);

    QString table_;
    QGridLayout* fields_ = nullptr;
    int rows_ = 0;
};

}  // namespace md::masters
