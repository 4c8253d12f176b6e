#pragma once

// Foreign customers (keyword FRCUSTOMER): code, name, customer group, contact and address,
// country, currency, salesman and remark. A code master form like the foreign vendors: saving
// checks name, group, country, currency and salesman in that order, then resets the account
// terms (no due days, no credit limit, not blocked) on every save. The picture and e-mail,
// which no control shows, go back unchanged.

#include "forms/Fa_GetMisc.h"
#include "forms/Fa_GetSalesman.h"
#include "forms/Fr_Master.h"
#include "forms/KIdLookup.h"

class QLabel;
class QToolButton;

namespace md::masters {

class TFrFrCustomer : public forms::TFrMaster {
    Q_OBJECT
  public:
    explicit TFrFrCustomer(QWidget* parent = nullptr);

    forms::TKIdLookup* CustomerGroup;
    QLabel* CustomerGroupName;
    QToolButton* BtSearchGroup;
    forms::TDBEdit* Attention;
    forms::TDBEdit* Address1;
    forms::TDBEdit* Address2;
    forms::TDBEdit* Address3;
    forms::TFaGetMisc* FaGetMisc1;  // country
    forms::TDBEdit* DBEdit1;        // zip code
    forms::TDBEdit* DBEdit2;        // telephone
    forms::TDBEdit* DBEdit3;        // fax
    forms::TFaGetMisc* FaGetMisc2;  // currency
    forms::TFaGetSalesman* FaGetSalesman1;
    forms::TDBEdit* Remark;

    void FormShow() override;
    void FormKeyDown(int& key, Qt::KeyboardModifiers shift) override;
    void AcSaveExecute() override;
    void BtSearchCodeClick() override;
    virtual void BtSearchGroupClick();

  private:
    // The first save check that fails shows its message and takes the focus; true when all pass.
    bool checksPass();
};

}  // namespace md::masters
