#include "masters/LookupSearches.h"

#include "forms/Fa_GetFrVendor.h"
#include "forms/Fa_GetMisc.h"
#include "forms/Fa_GetSalesman.h"
#include "forms/MiscCodeSearch.h"
#include "masters/Fr_SearchCustomerGroup.h"
#include "masters/Fr_SearchFrCustomer.h"
#include "masters/Fr_SearchFrVendor.h"
#include "masters/Fr_SearchMisc.h"
#include "masters/Fr_SearchVendorGroup.h"
#include "masters/KeptWindow.h"
#include "masters/U_SearchMisc.h"
#include "masters/U_SearchSalesman.h"

#include <QCoreApplication>
#include <memory>

namespace md::masters {

TFrSearchFrVendor* FrSearchFrVendor() {
    return KeptWindow<TFrSearchFrVendor>::get();
}

void installLookupSearches() {
    // The kept dialogs are gone before the application object is: a widget must not outlive it.
    static QCoreApplication* releasedWith = nullptr;
    if (auto* app = QCoreApplication::instance(); app && app != releasedWith) {
        releasedWith = app;
        QObject::connect(app, &QCoreApplication::aboutToQuit, app, &releaseLookupSearches);
    }
    forms::TFaGetMisc::setSearchRunner(
        [](QWidget* owner, const forms::MiscSearchRequest& request) -> std::optional<QString> {
            // A new dialog for every search, gone again whatever the answer.
            TFrSearchMisc search(owner);
            search.setWindowTitle(request.caption);
            search.MiscGroup = request.group;
            search.ResultField = request.resultField;
            if (search.exec() != QDialog::Accepted)
                return std::nullopt;
            return search.ResultValue;
        });
    forms::TFaGetSalesman::setSearchRunner([](QWidget*) -> std::optional<QString> {
        TF_SearchSalesman* search = F_SearchSalesman();
        if (search->exec() != QDialog::Accepted)
            return std::nullopt;
        return search->ChosenCode;
    });
    forms::TFaGetFrVendor::setSearchRunner([](QWidget*) -> std::optional<QString> {
        TFrSearchFrVendor* search = FrSearchFrVendor();
        if (search->exec() != QDialog::Accepted)
            return std::nullopt;
        return search->ResultValue;
    });
    forms::setMiscCodeSearchRunner(
        [](QWidget*, const QString& caption,
           const QString& group) -> std::optional<forms::MiscCodeChoice> {
            TF_SearchMisc* search = F_SearchMisc();
            search->setWindowTitle(caption);
            search->MiscGroup = group;
            if (search->exec() != QDialog::Accepted)
                return std::nullopt;
            return forms::MiscCodeChoice{search->ChosenCode, search->ChosenDescription};
        });
}

void releaseLookupSearches() {
    forms::TFaGetMisc::setSearchRunner(nullptr);
    forms::TFaGetSalesman::setSearchRunner(nullptr);
    forms::TFaGetFrVendor::setSearchRunner(nullptr);
    forms::setMiscCodeSearchRunner(nullptr);
    KeptWindow<TFrSearchFrVendor>::release();
    KeptWindow<TFrSearchFrCustomer>::release();
    KeptWindow<TFrSearchVendorGroup>::release();
    KeptWindow<TFrSearchCustomerGroup>::release();
    releaseF_SearchSalesman();
    releaseF_SearchMisc();
}

}  // namespace md::masters
