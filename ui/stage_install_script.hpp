// Copies the install script beside the program into the Windows directory,
// where every step reads it.
#pragma once

#include <windows.h>

#include "engine/system/system.hpp"

namespace install::ui {

// On failure it tells the user, then hides and closes the page, and
// returns false.
bool StageInstallScript(HWND page, System& system);

}  // namespace install::ui
