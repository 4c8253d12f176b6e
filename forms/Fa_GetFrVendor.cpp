#include "forms/Fa_GetFrVendor.h"

#include "data/U_DM.h"
#include "data/backend/DbError.h"
#include "data/statements/Statements.h"

#include <QToolButton>

namespace md::forms {

namespace {

TFaGetFrVendor::SearchRunner& runner() {
    static TFaGetFrVendor::SearchRunner r;
    return r;
}

}  // namespace

TFaGetFrVendor::TFaGetFrVendor(QWidget* parent)
    : TFaLookupFrame(parent, new TKIdLookup, false),
      QVendor(data::DM ? &data::DM->DMdata : nullptr,
              statements::text(QStringLiteral("Fa_GetFrVendor"), QStringLiteral("QVendor"))) {
    setObjectName(QStringLiteral("FaGetFrVendor"));
    EditLabel = captionLabel();
    Vendor = box();
    BtSearch = searchButton();
    VendorName = descriptionLabel();
    EditLabel->setObjectName(QStringLiteral("EditLabel"));
    EditLabel->setText(QStringLiteral("เจ้าหนี้"));
    Vendor->setObjectName(QStringLiteral("Vendor"));
    Vendor->K_LookupTableName = QStringLiteral("FrVendor");
    Vendor->K_DescriptionField = QStringLiteral("Name");
    Vendor->setDataField(QStringLiteral("FrVendor"));
    BtSearch->setObjectName(QStringLiteral("BtSearch"));
    BtSearch->setToolTip(QStringLiteral("ค้นหารหัสเจ้าหนี้ต่างประเทศ"));
    VendorName->setObjectName(QStringLiteral("VendorName"));
}

void TFaGetFrVendor::setSearchRunner(SearchRunner r) {
    runner() = std::move(r);
}

void TFaGetFrVendor::VendorExit() {
    TFaLookupFrame::BoxExit();
    if (Vendor->text().trimmed().isEmpty())
        return;
    if (!QVendor.connection() && data::DM)
        QVendor.setConnection(&data::DM->DMdata);
    QVendor.close();
    QVendor.paramByName(QStringLiteral("GetCode")).setValue(Vendor->text());
    QVendor.open();
}

void TFaGetFrVendor::BtSearchClick() {
    if (!runner())
        throw data::UsageError(QStringLiteral("The foreign-vendor search is not installed"));
    if (const std::optional<QString> chosen = runner()(window()))
        takeChosenCode(*chosen);
}

}  // namespace md::forms
