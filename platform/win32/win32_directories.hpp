// The process's current directory through GetCurrentDirectoryA and
// SetCurrentDirectoryA.
#pragma once

#include <string>

#include "engine/system/directories.hpp"

namespace install::win32 {

class Win32Directories final : public IDirectories {
public:
    std::string CurrentDirectory() override;
    bool ChangeCurrentDirectory(const std::string& path) override;
    std::uint32_t MakeDirectory(const std::string& path) override;
};

}  // namespace install::win32
