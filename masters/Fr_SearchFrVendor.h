#pragma once

// The foreign-vendor search: vendors whose name contains the typed text, with their country
// and currency. ResultValue is the chosen vendor's code.

#include "forms/Fr_Search.h"

namespace md::masters {

class TFrSearchFrVendor : public forms::TFrSearch {
    Q_OBJECT
  public:
    explicit TFrSearchFrVendor(QWidget* parent = nullptr);

    void FormShow() override;
    void BtSearchClick() override;
};

}  // namespace md::masters
