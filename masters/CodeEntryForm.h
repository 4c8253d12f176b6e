#pragma once

// What the import expense and import lot windows add to the code master form: they are entry
// forms of the full size, call their code box Code, ask the plain Yes/No question ("บันทึก" or
// "ลบ", the caption, " ?"), note no remark in the audit row of a changed row, and search their
// table through the simple search. New, leaving the code box, save and delete are the code
// master's.

#include "forms/Fr_Master.h"

namespace md::masters {

class CodeEntryForm : public forms::TFrMaster {
    Q_OBJECT
  public:
    // `module` names the statements of the window (QMaster and the UMaster update set);
    // `table` is the table the simple search lists.
    CodeEntryForm(const QString& module, QString table, QWidget* parent = nullptr);

    // The code box (MasterCode of the base, named as these windows name it).
    forms::TDBEdit* const Code;

    void BtSearchCodeClick() override;

  protected:
    bool ConfirmSave() override;
    bool ConfirmDelete() override;
    QString changedRemark() const override { return QString(); }

  private:
    QString table_;
};

}  // namespace md::masters
