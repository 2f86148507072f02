// The platform's version and its Windows and system directories.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/system/interface.hpp"

namespace install {

class ISystemInfo : public Interface {
public:
    // The Windows directory as the platform returns it (it may end with a
    // backslash), at most 259 characters.
    virtual std::string WindowsDirectoryPath() = 0;
    // The system directory, likewise.
    virtual std::string SystemDirectoryPath() = 0;
    // The platform identifier of the version query (1 for Windows 95/98,
    // 2 for Windows NT); nullopt when the query fails.
    virtual std::optional<std::uint32_t> QueryPlatformId() = 0;
};

}  // namespace install
