#include "app/ModuleHooks.h"

#include "app/WindowRegistry.h"
#include "forms/Dialogs.h"
#include "forms/Fr_SimpleSearch.h"
#include "masters/LookupSearches.h"
#include "masters/Windows.h"
#include "product/ProductSearches.h"

// Where the start-up meets the window layer and the maintenance windows.

namespace md::app {

void InstallWindowDialogs() {
    forms::installDialogs();
}

void RegisterWindows() {
    masters::registerMasterWindows([](const QString& keyword, masters::WindowFactory make) {
        // A window is made after the company module exists, which the searches its code boxes
        // open are installed on.
        registerWindow(keyword, [make = std::move(make)]() -> QWidget* {
            forms::installSimpleSearch();
            masters::installLookupSearches();
            product::installProductSearches();
            return make();
        });
    });
}

}  // namespace md::app
