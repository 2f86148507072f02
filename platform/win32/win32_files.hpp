// Files of the system seam on CreateFileA/ReadFile/WriteFile: raw bytes,
// no text translation (the engine applies text mode above the seam).
#pragma once

#include <memory>
#include <string>

#include "engine/system/files.hpp"

namespace install::win32 {

class Win32Files final : public IFiles {
public:
    std::unique_ptr<IFile> Open(const std::string& path, FileMode mode) override;
    bool Exists(const std::string& path) override;
    bool Remove(const std::string& path) override;
};

}  // namespace install::win32
