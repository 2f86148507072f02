// The process's current directory on the Win32 API.
#include "platform/win32/win32_directories.hpp"

#include <windows.h>

#include "engine/install_context.hpp"
#include "platform/win32/c_string.hpp"

namespace install::win32 {

std::string Win32Directories::CurrentDirectory() {
    char buffer[kMaxPathChars + 1];
    const DWORD length = ::GetCurrentDirectoryA(sizeof buffer, buffer);
    // 0 is a failure; a value past the room is the size the path would
    // need, and the buffer then holds nothing of it.
    if (length == 0 || length > kMaxPathChars) {
        return {};
    }
    return std::string(buffer, length);
}

bool Win32Directories::ChangeCurrentDirectory(const std::string& path) {
    return FitsCString(path) && ::SetCurrentDirectoryA(path.c_str()) != FALSE;
}

std::uint32_t Win32Directories::MakeDirectory(const std::string& path) {
    if (!FitsCString(path)) {
        return ERROR_INVALID_NAME;
    }
    if (::CreateDirectoryA(path.c_str(), nullptr)) {
        return 0;
    }
    return ::GetLastError();
}

}  // namespace install::win32
