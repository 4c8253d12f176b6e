#pragma once

// The foreign-customer search: customers whose name contains the typed text, with their country
// and currency. ResultValue is the chosen customer's code.

#include "forms/Fr_Search.h"

namespace md::masters {

class TFrSearchFrCustomer : public forms::TFrSearch {
    Q_OBJECT
  public:
    explicit TFrSearchFrCustomer(QWidget* parent = nullptr);

    void FormShow() override;
    void BtSearchClick() override;
};

}  // namespace md::masters
