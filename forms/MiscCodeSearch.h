#pragma once

// The miscellaneous-code search by description or code, with sorting by column title, for
// windows outside the maintenance module (the product type and group boxes of the full product
// search). The maintenance module owns the dialog and installs it here, since this layer cannot
// reach it; the dialog is made once and kept, so its sort order lasts the run.

#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace md::forms {

struct MiscCodeChoice {
    QString code;
    QString description;
};

// Shows the search for `group` titled `caption`; the chosen code, or nothing when cancelled.
using MiscCodeSearchRunner = std::function<std::optional<MiscCodeChoice>(
    QWidget* owner, const QString& caption, const QString& group)>;

void setMiscCodeSearchRunner(MiscCodeSearchRunner runner);
bool hasMiscCodeSearchRunner();
// Throws data::UsageError when no dialog is installed.
std::optional<MiscCodeChoice> RunMiscCodeSearch(QWidget* owner, const QString& caption,
                                                const QString& group);

}  // namespace md::forms
