#pragma once

// Connects the lookup frames of the form layer to the searches of this module: the
// miscellaneous-code frame opens a new TFrSearchMisc for each search, the salesman and
// foreign-vendor frames the kept TF_SearchSalesman and TFrSearchFrVendor. Call once the
// company module exists; release at the end of the run (and between tests), which also lets go
// of the kept searches of the vendor and customer windows.

namespace md::masters {

class TFrSearchFrVendor;

void installLookupSearches();
void releaseLookupSearches();

// The kept foreign-vendor search (made on first use).
TFrSearchFrVendor* FrSearchFrVendor();

}  // namespace md::masters
