// The platform's version and its Windows and system directories through
// GetVersionExA, GetWindowsDirectoryA and GetSystemDirectoryA.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/system/system_info.hpp"

namespace install::win32 {

class Win32SystemInfo final : public ISystemInfo {
public:
    std::string WindowsDirectoryPath() override;
    std::string SystemDirectoryPath() override;
    std::optional<std::uint32_t> QueryPlatformId() override;
};

}  // namespace install::win32
