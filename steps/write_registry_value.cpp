// The registry value writer and its two tables.
#include "steps/write_registry_value.hpp"

namespace install {

namespace {

struct RootRow {
    const char* name;
    RegistryRoot root;
};

constexpr RootRow kRootKeys[] = {
    {"HKEY_CLASSES_ROOT", RegistryRoot::ClassesRoot},
    {"HKEY_CURRENT_USER", RegistryRoot::CurrentUser},
    {"HKEY_LOCAL_MACHINE", RegistryRoot::LocalMachine},
    {"HKEY_USERS", RegistryRoot::Users},
};

struct TypeRow {
    const char* name;
    std::uint32_t type;
};

constexpr TypeRow kValueTypes[] = {
    {"REG_NONE", 0},
    {"REG_SZ", 1},
    {"REG_EXPAND_SZ", 2},
    {"REG_BINARY", 3},
    {"REG_DWORD", 4},
    {"REG_DWORD_LITTLE_ENDIAN", 4},
    {"REG_DWORD_BIG_ENDIAN", 5},
    {"REG_LINK", 6},
    {"REG_MULTI_SZ", 7},
    {"REG_RESOURCE_LIST", 8},
    {"REG_FULL_RESOURCE_DESCRIPTOR", 9},
    {"REG_RESOURCE_REQUIREMENTS_LIST", 10},
};

}  // namespace

std::optional<RegistryRoot> FindRootKey(std::string_view name) {
    for (const auto& row : kRootKeys) {
        if (name == row.name) {
            return row.root;
        }
    }
    return std::nullopt;
}

std::optional<std::uint32_t> FindValueType(std::string_view name) {
    for (const auto& row : kValueTypes) {
        if (name == row.name) {
            return row.type;
        }
    }
    return std::nullopt;
}

int WriteRegistryValue(IRegistry& registry, const char* rootKeyName, const char* subkey,
                       const char* valueName, const char* typeName, const std::string& data) {
    if (rootKeyName == nullptr || subkey == nullptr || valueName == nullptr) {
        return REGWRITE_BAD_ARGS;
    }
    const auto root = FindRootKey(rootKeyName);
    if (!root) {
        return REGWRITE_BAD_ARGS;
    }
    const auto type = FindValueType(typeName);
    if (!type) {
        return REGWRITE_BAD_ARGS;
    }
    RegistryResult created = 0;
    const auto key = registry.CreateKey(*root, subkey, created);
    if (!key) {
        return REGWRITE_FAILED;
    }
    return key->SetValue(valueName, *type, data) == 0 ? REGWRITE_OK : REGWRITE_FAILED;
}

}  // namespace install
