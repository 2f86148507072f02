// Texts handed to the A functions, which read them as C strings.
#pragma once

#include <string>

namespace install::win32 {

// False for a text with a NUL inside: the API would see only the part
// before it and act on another name than the one asked for.
inline bool FitsCString(const std::string& text) {
    return text.find('\0') == std::string::npos;
}

}  // namespace install::win32
