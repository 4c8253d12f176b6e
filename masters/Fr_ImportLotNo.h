#pragma once

// Import lot numbers with the data of their tax invoice (keyword IMPORTLOTNO). A lot is created
// active; once saved inactive it cannot be made active again here. The code box and the first
// description are the code master's.

#include "masters/CodeEntryForm.h"

class QLabel;

namespace md::masters {

class TFrImportLotNo : public CodeEntryForm {
    Q_OBJECT
  public:
    explicit TFrImportLotNo(QWidget* parent = nullptr);

    forms::TDBEdit* Description2;
    forms::TDBDateEdit* EffectiveDate;
    forms::TDBEdit* TaxNo;
    forms::TDBDateEdit* TaxDate;
    forms::TDBDateEdit* TaxPrintDate;
    forms::TDBCalcEdit* TaxAmount;
    forms::TDBCheckBox* CanUseTax;
    forms::TDBCheckBox* LotActive;

    void FormShow() override;

  protected:
    QString caption() const override;
    void codeRead(bool found) override;
    void beforeSave() override;

  private:
    // The captions switched to English when the user's language is not Thai.
    QLabel* LabelEffectiveDate_ = nullptr;
    QLabel* LabelTaxNo_ = nullptr;
    QLabel* LabelTaxDate_ = nullptr;
    QLabel* LabelTaxPrintDate_ = nullptr;
    QLabel* LabelTaxAmount_ = nullptr;
};

}  // namespace md::masters
