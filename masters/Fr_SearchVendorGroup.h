#pragma once

// The vendor group search: vendor groups whose name begins with the typed text.

#include "masters/GroupSearch.h"

namespace md::masters {

class TFrSearchVendorGroup : public GroupSearch {
    Q_OBJECT
  public:
    explicit TFrSearchVendorGroup(QWidget* parent = nullptr);
};

}  // namespace md::masters
