#pragma once

// The maintenance windows this folder provides, each under its function keyword, handed to the
// program's window registry at start-up.

#include <QString>
#include <QWidget>
#include <functional>

namespace md::masters {

using WindowFactory = std::function<QWidget*()>;

// Calls `add` once per window: keyword and a factory that creates the window.
void registerMasterWindows(const std::function<void(const QString&, WindowFactory)>& add);

}  // namespace md::masters
