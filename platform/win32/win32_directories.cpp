// The process's current directory on the Win32 API.
#include "platform/win32/win32_directories.hpp"

#include <windows.h>

#include "platform/win32/c_string.hpp"
#include "platform/win32/directory_text.hpp"

namespace install::win32 {

std::string Win32Directories::CurrentDirectory() {
    return DirectoryFrom([](char* buffer, UINT size) { return ::GetCurrentDirectoryA(size, buffer); });
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
