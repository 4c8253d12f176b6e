#pragma once

// The foreign-vendor frame. Leaving the box reads the vendor's trading terms (currency, due
// days, account-opening date, credit limit, the group's tax code and rate) into QVendor for
// the owner. F5 or the search button opens the foreign-vendor search, made on first use and
// kept for the rest of the run.

#include "data/Query.h"
#include "forms/KIdLookup.h"

#include <QString>
#include <functional>
#include <optional>

namespace md::forms {

class TFaGetFrVendor : public TFaLookupFrame {
    Q_OBJECT
  public:
    explicit TFaGetFrVendor(QWidget* parent = nullptr);

    QLabel* EditLabel;
    TKIdLookup* Vendor;
    QToolButton* BtSearch;
    QLabel* VendorName;

    data::Query QVendor;

    void BoxExit() override { VendorExit(); }
    virtual void VendorExit();
    void SearchClick() override { BtSearchClick(); }
    virtual void BtSearchClick();

    // The foreign-vendor search (its ResultValue, or nothing when cancelled); installed by the
    // searches module.
    using SearchRunner = std::function<std::optional<QString>(QWidget* owner)>;
    static void setSearchRunner(SearchRunner runner);
};

}  // namespace md::forms
