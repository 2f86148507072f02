// A directory's path from the functions of the API that fill a buffer.
#pragma once

#include <windows.h>

#include <string>

#include "engine/install_context.hpp"

namespace install::win32 {

// The directory functions (GetWindowsDirectoryA, GetSystemDirectoryA,
// GetCurrentDirectoryA) return the length without the terminator on
// success, 0 on failure, and the size they would need when the path does
// not fit, with nothing of it in the buffer. getter(buffer, size) calls one;
// the path is empty when it gave none.
template <typename Getter>
std::string DirectoryFrom(Getter getter) {
    char buffer[kMaxPathChars + 1];
    const auto length = static_cast<std::size_t>(getter(buffer, static_cast<UINT>(sizeof buffer)));
    if (length == 0 || length > kMaxPathChars) {
        return {};
    }
    return std::string(buffer, length);
}

}  // namespace install::win32
