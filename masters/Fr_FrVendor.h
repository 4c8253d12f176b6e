#pragma once

// Foreign vendors (keyword FRVENDOR): code, name, vendor group, contact and address, country,
// currency, remark, e-mail and website. A code master form: leaving the code loads the vendor
// or starts a new one. Saving checks name, group, country and currency in that order, then
// resets the account terms (opened today, no due days, no credit limit) on every save. The
// picture, which no control shows, goes back unchanged.

#include "forms/Fa_GetMisc.h"
#include "forms/Fr_Master.h"
#include "forms/KIdLookup.h"

class QLabel;
class QToolButton;

namespace md::masters {

class TFrFrVendor : public forms::TFrMaster {
    Q_OBJECT
  public:
    explicit TFrFrVendor(QWidget* parent = nullptr);

    forms::TKIdLookup* VendorGroup;
    QLabel* VendorGroupName;
    QToolButton* BtSearchVendorGroup;
    forms::TDBEdit* Attention;
    forms::TDBEdit* Address1;
    forms::TDBEdit* Address2;
    forms::TDBEdit* Address3;
    forms::TFaGetMisc* FaGetMisc1;  // country
    forms::TDBEdit* DBEdit1;        // zip code
    forms::TDBEdit* DBEdit2;        // telephone
    forms::TDBEdit* DBEdit3;        // fax
    forms::TFaGetMisc* FaGetMisc2;  // currency
    forms::TDBEdit* Remark;
    forms::TDBEdit* email;
    forms::TDBEdit* website;

    void FormShow() override;
    void FormKeyDown(int& key, Qt::KeyboardModifiers shift) override;
    void AcSaveExecute() override;
    void BtSearchCodeClick() override;
    virtual void BtSearchVendorGroupClick();

  private:
    // The first save check that fails shows its message and takes the focus; true when all pass.
    bool checksPass();
};

}  // namespace md::masters
