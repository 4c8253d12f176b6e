#include "masters/CodeEntryForm.h"

#include "data/Prompts.h"
#include "data/U_DM.h"
#include "forms/Fr_SimpleSearch.h"

#include <QToolButton>

namespace md::masters {

CodeEntryForm::CodeEntryForm(const QString& module, QString table, QWidget* parent)
    : TFrMaster(module, parent), Code(MasterCode), table_(std::move(table)) {
    // The entry form's own size, not the smaller one of the code masters.
    resize(632, 421);
    Code->setObjectName(QStringLiteral("Code"));
}

bool CodeEntryForm::ConfirmSave() {
    return data::prompts().askPlainYesNo(QStringLiteral(u"บันทึก") + windowTitle() +
                                         QStringLiteral(" ?"));
}

bool CodeEntryForm::ConfirmDelete() {
    return data::prompts().askPlainYesNo(QStringLiteral(u"ลบ") + windowTitle() +
                                         QStringLiteral(" ?"));
}

void CodeEntryForm::BtSearchCodeClick() {
    if (!data::DM->ShowSimpleSearch(QStringLiteral(u"ค้นหา") + windowTitle(), QStringLiteral("Code"),
                                    QStringLiteral("Description"), QString(), table_))
        return;
    // Leaving the box then reads the chosen row.
    Code->setText(forms::FrSimpleSearch()->ResultValue);
    Code->setFocus();
}

}  // namespace md::masters
