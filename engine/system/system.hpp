// The whole system seam: every call the engine and the steps make on the
// operating system goes through one of these interfaces.
#pragma once

#include "engine/system/directories.hpp"
#include "engine/system/files.hpp"
#include "engine/system/lz_expand.hpp"
#include "engine/system/program_launcher.hpp"
#include "engine/system/registry.hpp"
#include "engine/system/shell_links.hpp"
#include "engine/system/system_info.hpp"
#include "engine/system/windows.hpp"

namespace install {

struct System {
    IFiles& files;
    IDirectories& directories;
    IRegistry& registry;
    IWindows& windows;
    ISystemInfo& info;
    ILzExpand& lz;
    IShellLinks& links;
    IProgramLauncher& launcher;
};

}  // namespace install
