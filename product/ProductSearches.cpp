#include "product/ProductSearches.h"

#include "forms/KeptWindow.h"
#include "product/Dm_Product.h"
#include "product/Fr_SearchBarCode.h"
#include "product/Fr_SearchLotNo.h"
#include "product/Fr_SearchProductService.h"
#include "product/Fr_SearchUnit.h"
#include "product/U_SearchProduct.h"
#include "product/U_SearchWareHouse.h"

#include <QCoreApplication>
#include <memory>

namespace md::product {

// Each dialog is made on first use and kept for the run with the other kept windows, so it is
// gone before the application object.
template <class Window>
Window* keptWindow() {
    return forms::KeptWindow<Window>::get();
}

TF_SearchProduct* F_SearchProduct() {
    return keptWindow<TF_SearchProduct>();
}
TFrSearchUnit* FrSearchUnit() {
    return keptWindow<TFrSearchUnit>();
}
TFrSearchLotNo* FrSearchLotNo() {
    return keptWindow<TFrSearchLotNo>();
}
TF_SearchWareHouse* F_SearchWareHouse() {
    return keptWindow<TF_SearchWareHouse>();
}
TFrSearchBarCode* FrSearchBarCode() {
    return keptWindow<TFrSearchBarCode>();
}
TFrSearchProductService* FrSearchProductService() {
    return keptWindow<TFrSearchProductService>();
}

void installProductSearches(TDmProduct& module) {
    ProductSearchRunners& r = module.searchRunners;
    r.product = [] {
        TF_SearchProduct* search = F_SearchProduct();
        const bool chosen = search->exec() == QDialog::Accepted;
        return SearchResult{chosen, search->ChosenCode};
    };
    r.unit = [](const UnitSearchInputs& in) {
        TFrSearchUnit* search = FrSearchUnit();
        search->ProductId = in.productId;
        search->ForSale = in.forSale;
        search->ForPurc = in.forPurc;
        search->ForStock = in.forStock;
        search->ForSmall = in.forSmall;
        const bool chosen = search->exec() == QDialog::Accepted;
        return SearchResult{chosen, search->SelectedUnit};
    };
    r.lotNo = [] {
        TFrSearchLotNo* search = FrSearchLotNo();
        const bool chosen = search->exec() == QDialog::Accepted;
        return SearchResult{chosen, search->SelectedCode};
    };
    r.warehouse = [] {
        TF_SearchWareHouse* search = F_SearchWareHouse();
        const bool chosen = search->exec() == QDialog::Accepted;
        return SearchResult{chosen, search->SelectedCode};
    };
    r.barCode = [] {
        TFrSearchBarCode* search = FrSearchBarCode();
        const bool chosen = search->exec() == QDialog::Accepted;
        return SearchResult{chosen, search->SelectedBarCode};
    };
    r.productService = [](const ProductServiceSearchInputs& in) {
        TFrSearchProductService* search = FrSearchProductService();
        search->ProductTypeFilter = in.productTypeFilter;
        search->MasterCodeFilter = in.masterCodeFilter;
        search->ShowBlocked = in.showBlocked;
        const bool chosen = search->exec() == QDialog::Accepted;
        return SearchResult{chosen, search->ResultValue};
    };
}

void installProductSearches() {
    if (!DmProduct)
        return;
    installProductSearches(*DmProduct);
    // The kept dialogs go while the application still exists, not among the statics at exit.
    static bool releaseAtQuit = false;
    if (qApp && !releaseAtQuit) {
        releaseAtQuit = true;
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, [] { releaseProductSearches(); });
    }
}

void releaseProductSearches() {
    if (DmProduct)
        DmProduct->searchRunners = {};
    forms::KeptWindow<TF_SearchProduct>::release();
    forms::KeptWindow<TFrSearchUnit>::release();
    forms::KeptWindow<TFrSearchLotNo>::release();
    forms::KeptWindow<TF_SearchWareHouse>::release();
    forms::KeptWindow<TFrSearchBarCode>::release();
    forms::KeptWindow<TFrSearchProductService>::release();
}

}  // namespace md::product
