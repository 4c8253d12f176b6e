#include "masters/Windows.h"

#include "masters/Fr_CurrencyEx.h"
#include "masters/Fr_FrCustomer.h"
#include "masters/Fr_FrVendor.h"
#include "masters/Fr_ImportExpense.h"
#include "masters/Fr_ImportLotNo.h"
#include "masters/Fr_PurchasePrice2.h"

namespace md::masters {

void registerMasterWindows(const std::function<void(const QString&, WindowFactory)>& add) {
    add(QStringLiteral("IMPEXPENSE"), [] { return new TFrImportExpense; });
    add(QStringLiteral("IMPORTLOTNO"), [] { return new TFrImportLotNo; });
    add(QStringLiteral("FRVENDOR"), [] { return new TFrFrVendor; });
    add(QStringLiteral("PARTSOURCE"), [] { return new TF_PurchasePrice2; });
    add(QStringLiteral("FRCUSTOMER"), [] { return new TFrFrCustomer; });
    add(QStringLiteral("EXCHANGE"), [] { return new TFrCurrencyEx; });
}

}  // namespace md::masters
