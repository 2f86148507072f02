// The platform's version and directories on the Win32 API.
#include "platform/win32/win32_system_info.hpp"

#include <windows.h>

#include "platform/win32/directory_text.hpp"

namespace install::win32 {

std::string Win32SystemInfo::WindowsDirectoryPath() {
    return DirectoryFrom(::GetWindowsDirectoryA);
}

std::string Win32SystemInfo::SystemDirectoryPath() {
    return DirectoryFrom(::GetSystemDirectoryA);
}

std::optional<std::uint32_t> Win32SystemInfo::QueryPlatformId() {
    // Only the size is filled in: it tells the function which structure it
    // was given (the plain one, not the EX form).
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    // GetVersionExA is deprecated for its lies about newer versions; the
    // platform identifier is all that is read, and that it tells truly.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const BOOL ok = ::GetVersionExA(&version);
#pragma GCC diagnostic pop
    if (!ok) {
        return std::nullopt;
    }
    return version.dwPlatformId;
}

}  // namespace install::win32
