// LZ expansion on the platform's LZ library (lz32).
#pragma once

#include "engine/system/lz_expand.hpp"

namespace install::win32 {

class Win32LzExpand : public ILzExpand {
public:
    int Open(const std::string& path, LzOpenMode mode) override;
    std::int32_t Copy(int source, int destination) override;
    void Close(int handle) override;
};

}  // namespace install::win32
