#pragma once

// The searches of the maintenance windows are kept for the run as every kept window is: made on
// first use, destroyed before the application object (forms/KeptWindow.h).

#include "forms/KeptWindow.h"

namespace md::masters {

using forms::KeptWindow;

}  // namespace md::masters
