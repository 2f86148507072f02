// What the preparation step learns about the machine, read by every step.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace install {

// Texts live in 260-character buffers on the platform: 259 characters and
// the terminator.
inline constexpr std::size_t kMaxPathChars = 259;

enum OptionMask : std::uint32_t {
    OPTION_LAN = 1,
    OPTION_MODEM = 2,
    OPTION_MANUAL = 4,
};

inline constexpr std::uint32_t kPlatformWindowsNt = 2;

struct InstallContext {
    std::uint32_t optionMask = 0;
    std::uint32_t platformId = 0;
    std::string scriptPath;
    std::string windowsDir;
    std::string systemDir;
    std::string desktopDir;
    std::string programsDir;
    std::string userProgramsDir;
    std::string sourceRoot;
    std::string sourceDir;
    std::string logPath;
    std::string systemRoot;
};

}  // namespace install
