// Registry keys and values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "engine/system/interface.hpp"

namespace install {

// The platform's predefined root keys, with their handle values.
enum class RegistryRoot : std::uint32_t {
    ClassesRoot = 0x80000000u,
    CurrentUser = 0x80000001u,
    LocalMachine = 0x80000002u,
    Users = 0x80000003u,
};

// A key open for reading values. Destroying it closes it.
class IRegistryKey : public Interface {
public:
    // The value's text when the value exists and its text and terminator
    // fit in room bytes; nullopt otherwise. The value's type is not looked at.
    virtual std::optional<std::string> QueryText(const std::string& valueName,
                                                 std::size_t room) = 0;
};

// Results of the registry's operations: 0 is success, anything else the
// platform's error code.
using RegistryResult = std::int32_t;

// A key open with full access. Destroying it closes it.
class IRegistryWriteKey : public Interface {
public:
    // Sets the value to exactly these bytes under this type number.
    virtual RegistryResult SetValue(const std::string& valueName, std::uint32_t type,
                                    const std::string& bytes) = 0;
};

class IRegistry : public Interface {
public:
    // Opens root\subkey for querying values; nullptr when it does not open.
    virtual std::unique_ptr<IRegistryKey> OpenForQuery(RegistryRoot root,
                                                       const std::string& subkey) = 0;
    // Creates root\subkey with any missing levels (non-volatile), or opens it
    // when it exists; nullptr with the error in result when it can be neither.
    virtual std::unique_ptr<IRegistryWriteKey> CreateKey(RegistryRoot root, const std::string& subkey,
                                                         RegistryResult& result) = 0;
};

}  // namespace install
