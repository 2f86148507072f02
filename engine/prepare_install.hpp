// The preparation step: closes the maker's running tools, probes the
// machine into the install context and starts the log.
#pragma once

#include <array>
#include <string>

#include "engine/install_context.hpp"
#include "engine/system/system.hpp"

namespace install {

// Windows of the maker's tools asked to close, in this order.
inline constexpr std::array<const char*, 6> kToolWindowTitles = {
    "Porvex",
    "Trelix LAN+Modem",
    "Trelix Diagnose",
    "Trelix PC Card Diagnostics",
    "Trelix PC Card Diagnostics  v1.03",
    "KARVELIX",
};

// Removes one trailing backslash.
std::string WithoutTrailingBackslash(std::string path);
// Cuts a path before its first backslash, passing over the two that open a
// network path: D:\SETUP gives D:, \\SERVER\SHARE gives \\SERVER.
std::string RootOf(std::string path);

// Fills the context and creates the log. Always returns 0.
int PrepareInstall(InstallContext& context, System& system);

}  // namespace install
