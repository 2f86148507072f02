// Shortcut files through the shell link COM object.
#pragma once

#include "engine/system/shell_links.hpp"

namespace install::win32 {

class Win32ShellLinks : public IShellLinks {
public:
    void Initialize() override;
    void Uninitialize() override;
    std::unique_ptr<IShellLinkObject> CreateLink(LinkResult& result) override;
};

}  // namespace install::win32
