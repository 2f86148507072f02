// Starting programs with WinExec, which returns without waiting for them.
#include "platform/win32/win32_program_launcher.hpp"

#include <windows.h>

namespace install::win32 {

std::uint32_t Win32ProgramLauncher::Launch(const std::string& commandLine, int showCommand) {
    return WinExec(commandLine.c_str(), static_cast<UINT>(showCommand));
}

}  // namespace install::win32
