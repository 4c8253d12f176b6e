#pragma once

// The keys every search dialog answers the same way: Enter in the result list chooses, Enter
// anywhere else searches, Escape cancels. A dialog's event filter hands its key presses here.

#include <functional>

class QDialog;
class QEvent;

namespace md::forms {

// Answers `event` for `dialog` when it is one of those keys and says whether it was. Choosing and
// cancelling end the dialog through its own done(); an error of the search goes to the error
// handler. With `escapeOnlyInList`, Escape cancels only from the list.
bool searchDialogKey(QDialog& dialog, QEvent* event, bool inList,
                     const std::function<void()>& search, bool escapeOnlyInList = false);

}  // namespace md::forms
