#pragma once

// Connects the product services module's search operations to their dialogs: each dialog is made
// on first use and kept for the run. Install once the module exists (the window layer does it as
// the program's window is made); release at the end of the run (and between tests).

namespace md::product {

class TDmProduct;
class TF_SearchProduct;
class TFrSearchUnit;
class TFrSearchLotNo;
class TF_SearchWareHouse;
class TFrSearchBarCode;
class TFrSearchProductService;

void installProductSearches(TDmProduct& module);
// Installs on the process-wide module, when it exists.
void installProductSearches();
void releaseProductSearches();

// The kept dialogs (made on first use).
TF_SearchProduct* F_SearchProduct();
TFrSearchUnit* FrSearchUnit();
TFrSearchLotNo* FrSearchLotNo();
TF_SearchWareHouse* F_SearchWareHouse();
TFrSearchBarCode* FrSearchBarCode();
TFrSearchProductService* FrSearchProductService();

}  // namespace md::product
