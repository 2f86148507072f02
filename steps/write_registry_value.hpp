// Writes one registry value, named by the texts of a script entry.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/system/registry.hpp"

namespace install {

inline constexpr int REGWRITE_OK = 0;
inline constexpr int REGWRITE_FAILED = 1;
inline constexpr int REGWRITE_BAD_ARGS = 2;

// The root key a name stands for, compared byte for byte; nullopt when the
// name is not one of the four.
std::optional<RegistryRoot> FindRootKey(std::string_view name);
// The value type a name stands for, likewise.
std::optional<std::uint32_t> FindValueType(std::string_view name);

// Absent texts (nullptr) and names outside the tables give
// REGWRITE_BAD_ARGS without touching the registry.
int WriteRegistryValue(IRegistry& registry, const char* rootKeyName, const char* subkey,
                       const char* valueName, const char* typeName, const std::string& data);

}  // namespace install
