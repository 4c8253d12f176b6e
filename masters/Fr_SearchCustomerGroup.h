#pragma once

// The customer group search: customer groups whose name begins with the typed text.

#include "masters/GroupSearch.h"

namespace md::masters {

class TFrSearchCustomerGroup : public GroupSearch {
    Q_OBJECT
  public:
    explicit TFrSearchCustomerGroup(QWidget* parent = nullptr);
};

}  // namespace md::masters
