#include "app/ModuleHooks.h"

// The window layer, the product services and the maintenance windows are connected here as
// they land; until then the start-up runs without them.

namespace md::app {

void InstallWindowDialogs() {}

void CreateProductModule() {}

void DestroyProductModule() {}

void RegisterWindows() {}

}  // namespace md::app
