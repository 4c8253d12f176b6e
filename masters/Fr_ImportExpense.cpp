#include "masters/Fr_ImportExpense.h"

namespace md::masters {

TFrImportExpense::TFrImportExpense(QWidget* parent)
    : CodeEntryForm(QStringLiteral("Fr_ImportExpense"), QStringLiteral("ImpExpense"), parent) {
    setObjectName(QStringLiteral("FrImportExpense"));
    setWindowTitle(QStringLiteral(u"ค่าใช้จ่ายในการนำเข้า"));
    Description = new forms::TDBEdit(clientArea());
    Description->setObjectName(QStringLiteral("Description"));
    Description->setFixedWidth(300);
    Description->setDataSource(DMaster);
    Description->setDataField(QStringLiteral("Description"));
    addRow(QStringLiteral(u"รายละเอียด"), Description);
}

}  // namespace md::masters
