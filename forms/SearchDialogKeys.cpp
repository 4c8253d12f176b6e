#include "forms/SearchDialogKeys.h"

#include "forms/Fr_Form.h"

#include <QDialog>
#include <QKeyEvent>

namespace md::forms {

bool searchDialogKey(QDialog& dialog, QEvent* event, bool inList,
                     const std::function<void()>& search, bool escapeOnlyInList) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    bool consumed = false;
    TFrForm::guarded([&] {
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            consumed = true;
            if (inList)
                dialog.done(QDialog::Accepted);
            else
                search();
        } else if (key == Qt::Key_Escape && (inList || !escapeOnlyInList)) {
            consumed = true;
            dialog.done(QDialog::Rejected);
        }
    });
    return consumed;
}

}  // namespace md::forms
