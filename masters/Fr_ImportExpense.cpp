#include "masters/Fr_ImportExpense.h"

namespace md::masters {

TFrImportExpense::TFrImportExpense(QWidget* parent)
    : CodeEntryForm(QStringLiteral("Fr_ImportExpense"), QStringLiteral("ImpExpense"), parent) {
    setObjectName(QStringLiteral("FrImportExpense"));
    setWindowTitle(QStringLiteral(u"ค่าใช้จ่ายในการนำเข้า"));
}

}  // namespace md::masters
