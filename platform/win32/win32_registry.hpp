// Registry keys of the system seam through RegOpenKeyExA and
// RegQueryValueExA.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "engine/system/registry.hpp"

namespace install::win32 {

// The predefined key a root stands for, exactly as <windows.h> spells it:
// the 32-bit value sign-extended to the pointer's width.
HKEY RootKeyOf(RegistryRoot root);

class Win32Registry final : public IRegistry {
public:
    std::unique_ptr<IRegistryKey> OpenForQuery(RegistryRoot root,
                                               const std::string& subkey) override;
    std::unique_ptr<IRegistryWriteKey> CreateKey(RegistryRoot root, const std::string& subkey,
                                                 RegistryResult& result) override;
};

}  // namespace install::win32
