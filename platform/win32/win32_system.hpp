// The whole system seam on the Win32 API: one owner for each part, handed
// to the engine as an install::System.
#pragma once

#include "engine/system/system.hpp"
#include "platform/win32/win32_directories.hpp"
#include "platform/win32/win32_files.hpp"
#include "platform/win32/win32_lz_expand.hpp"
#include "platform/win32/win32_program_launcher.hpp"
#include "platform/win32/win32_registry.hpp"
#include "platform/win32/win32_shell_links.hpp"
#include "platform/win32/win32_system_info.hpp"
#include "platform/win32/win32_windows.hpp"

namespace install::win32 {

class Win32System {
public:
    Win32System() = default;
    // The seam refers to the members: moving or copying would leave it
    // pointing at the old object.
    Win32System(const Win32System&) = delete;
    Win32System& operator=(const Win32System&) = delete;

    System& Seam() { return seam_; }

private:
    Win32Files files_;
    Win32Directories directories_;
    Win32Registry registry_;
    Win32Windows windows_;
    Win32SystemInfo info_;
    Win32LzExpand lz_;
    Win32ShellLinks links_;
    Win32ProgramLauncher launcher_;
    // Declared last: it refers to the members above, built before it.
    System seam_{files_, directories_, registry_, windows_, info_, lz_, links_, launcher_};
};

}  // namespace install::win32
