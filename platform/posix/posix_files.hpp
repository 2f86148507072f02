// Files for the tools that run on Linux, such as the script checker: paths
// are written as on Windows (backslashes, any letter case) and found on a
// Linux file system.
#pragma once

#include "engine/system/files.hpp"

namespace install::posix {

class PosixFiles final : public IFiles {
public:
    std::unique_ptr<IFile> Open(const std::string& path, FileMode mode) override;
    bool Exists(const std::string& path) override;
    bool Remove(const std::string& path) override;

    // The Linux path a Windows-style path stands for: backslashes become
    // slashes, and each existing component is matched without regard to
    // letter case.
    static std::string Resolve(const std::string& path);
};

}  // namespace install::posix
