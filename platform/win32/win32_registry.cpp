// Registry keys of the system seam on the Win32 registry API.
#include "platform/win32/win32_registry.hpp"

#include <algorithm>
#include <vector>

#include "platform/win32/c_string.hpp"
#include "platform/win32/unique_resource.hpp"

namespace install::win32 {

namespace {

class Win32RegistryKey final : public IRegistryKey {
public:
    explicit Win32RegistryKey(UniqueRegistryKey key) : key_(std::move(key)) {}

    std::optional<std::string> QueryText(const std::string& valueName,
                                         std::size_t room) override {
        // The terminator needs a byte of its own, and the API counts in DWORDs.
        if (room == 0 || room > MAXDWORD || !FitsCString(valueName)) {
            return std::nullopt;
        }
        // Zeroed, so that bytes past what the value filled read as the end
        // of the text, as they would in a cleared buffer of that room.
        std::vector<char> buffer(room, '\0');
        DWORD size = static_cast<DWORD>(room);
        const LONG status =
            ::RegQueryValueExA(key_.get(), valueName.c_str(), nullptr, nullptr,
                               reinterpret_cast<BYTE*>(buffer.data()), &size);
        if (status != ERROR_SUCCESS) {
            // ERROR_MORE_DATA (too long for the room) included.
            return std::nullopt;
        }
        const auto end = std::find(buffer.begin(), buffer.end(), '\0');
        if (end == buffer.end()) {
            // The value filled the room with no terminator left in it.
            return std::nullopt;
        }
        return std::string(buffer.begin(), end);
    }

private:
    UniqueRegistryKey key_;
};

}  // namespace

HKEY RootKeyOf(RegistryRoot root) {
    // Through LONG first: the predefined keys are negative 32-bit values
    // widened with their sign (0x80000001 is 0xFFFFFFFF80000001 here).
    const auto value = static_cast<LONG>(static_cast<std::uint32_t>(root));
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(value));
}

std::unique_ptr<IRegistryKey> Win32Registry::OpenForQuery(RegistryRoot root,
                                                          const std::string& subkey) {
    if (!FitsCString(subkey)) {
        return nullptr;
    }
    UniqueRegistryKey key;
    if (::RegOpenKeyExA(RootKeyOf(root), subkey.c_str(), 0, KEY_QUERY_VALUE, key.put()) !=
        ERROR_SUCCESS) {
        return nullptr;
    }
    return std::make_unique<Win32RegistryKey>(std::move(key));
}

namespace {

// A key opened with full access for setting values.
class Win32WriteKey final : public IRegistryWriteKey {
public:
    explicit Win32WriteKey(UniqueRegistryKey key) : key_(std::move(key)) {}

    RegistryResult SetValue(const std::string& valueName, std::uint32_t type,
                            const std::string& bytes) override {
        if (!FitsCString(valueName)) {
            return ERROR_INVALID_PARAMETER;
        }
        return ::RegSetValueExA(key_.get(), valueName.c_str(), 0, type,
                                reinterpret_cast<const BYTE*>(bytes.data()),
                                static_cast<DWORD>(bytes.size()));
    }

private:
    UniqueRegistryKey key_;
};

}  // namespace

std::unique_ptr<IRegistryWriteKey> Win32Registry::CreateKey(RegistryRoot root, const std::string& subkey,
                                                            RegistryResult& result) {
    if (!FitsCString(subkey)) {
        result = ERROR_INVALID_PARAMETER;
        return nullptr;
    }
    UniqueRegistryKey key;
    DWORD disposition = 0;
    result = ::RegCreateKeyExA(RootKeyOf(root), subkey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                               KEY_ALL_ACCESS, nullptr, key.put(), &disposition);
    if (result != ERROR_SUCCESS) {
        return nullptr;
    }
    return std::make_unique<Win32WriteKey>(std::move(key));
}

}  // namespace install::win32
