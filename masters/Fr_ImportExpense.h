#pragma once

// Import expense codes: a short upper-case code and a description per kind of cost that arises
// on an import (keyword IMPEXPENSE). The code box and the description are the code master's.

#include "masters/CodeEntryForm.h"

namespace md::masters {

class TFrImportExpense : public CodeEntryForm {
    Q_OBJECT
  public:
    explicit TFrImportExpense(QWidget* parent = nullptr);
};

}  // namespace md::masters
