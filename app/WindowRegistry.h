#pragma once

// The six windows the program can open, by keyword. The keywords and their order are fixed
// here; the window layer registers a factory for each window it provides. A keyword without a
// factory opens nothing, as an unknown keyword does.

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace md::app {

using WindowFactory = std::function<QWidget*()>;

// The keywords in the order they are tested.
const QStringList& WindowKeywords();

// Registers (or replaces) the factory of one of the six keywords; false, and nothing kept, for
// any other text.
bool registerWindow(const QString& keyword, WindowFactory factory);
// Forgets every factory.
void clearWindows();

// The factory of the first keyword in the table's order that equals `keyword` exactly (the
// caller upper-cases it; blanks are not trimmed); empty when none does or it has no factory.
WindowFactory findWindow(const QString& keyword);

}  // namespace md::app
