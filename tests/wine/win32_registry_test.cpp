// The Win32 registry of the seam under Wine: the root keys, and which
// values give a text in how much room.
#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>

#include "platform/win32/unique_resource.hpp"
#include "platform/win32/win32_registry.hpp"
#include "tests/wine/scratch_directory.hpp"

namespace install::win32 {
namespace {

using wine_test::Visible;

std::string Shown(const std::optional<std::string>& text) {
    return text ? "\"" + Visible(*text) + "\"" : "nullopt";
}

TEST(Win32RegistryRoots, AreThePredefinedKeysOfWindowsH) {
    // Columns: the seam's root, the key <windows.h> defines for it.
    const struct {
        RegistryRoot root;
        HKEY expected;
    } cases[] = {
        {RegistryRoot::ClassesRoot, HKEY_CLASSES_ROOT},
        {RegistryRoot::CurrentUser, HKEY_CURRENT_USER},
        {RegistryRoot::LocalMachine, HKEY_LOCAL_MACHINE},
        {RegistryRoot::Users, HKEY_USERS},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RootKeyOf(c.root), c.expected)
            << "root 0x" << std::hex << static_cast<std::uint32_t>(c.root);
    }
}

// A key of the test's own under HKEY_CURRENT_USER, written with the
// registry API directly and deleted afterwards.
class Win32RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, subkey_.c_str(), 0, nullptr, 0,
                                    KEY_SET_VALUE, nullptr, key_.put(), nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override {
        key_.reset();
        ::RegDeleteKeyA(HKEY_CURRENT_USER, subkey_.c_str());
    }

    void Set(const char* name, DWORD type, const std::string& bytes) {
        ASSERT_EQ(::RegSetValueExA(key_.get(), name, 0, type,
                                   reinterpret_cast<const BYTE*>(bytes.data()),
                                   static_cast<DWORD>(bytes.size())),
                  ERROR_SUCCESS)
            << name;
    }

    const std::string subkey_ =
        "Software\\InstallWineTest-" + std::to_string(::GetCurrentProcessId());
    UniqueRegistryKey key_;
    Win32Registry registry_;
};

TEST_F(Win32RegistryTest, QueryTextGivesTheTextOnlyWhenItAndItsTerminatorFit) {
    const std::string text259(259, 'p');
    const std::string text260(260, 'q');
    // Stored as the system stores a string: with its terminator.
    Set("Short", REG_SZ, std::string("abc", 4));
    Set("Empty", REG_SZ, std::string(1, '\0'));
    Set("Long259", REG_SZ, text259 + '\0');
    Set("Long260", REG_SZ, text260 + '\0');
    // Bytes with no terminator, and with one inside.
    Set("Bare", REG_BINARY, "abc");
    Set("Inner", REG_BINARY, std::string("ab\0cd", 5));
    // The type is not looked at: a number reads as its bytes.
    Set("Number", REG_DWORD, std::string("ABC\0", 4));
    Set("Expandable", REG_EXPAND_SZ, std::string("%WINDIR%\\x", 11));

    auto key = registry_.OpenForQuery(RegistryRoot::CurrentUser, subkey_);
    ASSERT_NE(key, nullptr) << "HKCU\\" << subkey_ << " did not open";
    // Columns: value name, room in bytes, the text expected (nullopt: none).
    const struct {
        const char* name;
        std::size_t room;
        std::optional<std::string> expected;
    } cases[] = {
        {"Short", 260, "abc"},
        {"Short", 4, "abc"},
        {"Short", 3, std::nullopt},
        {"Short", 1, std::nullopt},
        {"Short", 0, std::nullopt},
        {"Empty", 1, ""},
        {"Empty", 260, ""},
        {"Long259", 260, text259},
        {"Long259", 259, std::nullopt},
        {"Long260", 260, std::nullopt},
        {"Long260", 261, text260},
        {"Bare", 4, "abc"},
        {"Bare", 3, std::nullopt},
        {"Inner", 260, "ab"},
        {"Inner", 5, "ab"},
        {"Number", 260, "ABC"},
        {"Expandable", 260, "%WINDIR%\\x"},
        {"Missing", 260, std::nullopt},
        {"short", 260, "abc"},  // value names ignore letter case
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Shown(key->QueryText(c.name, c.room)), Shown(c.expected))
            << "value " << c.name << " in " << c.room << " bytes";
    }
}

TEST_F(Win32RegistryTest, OpenForQueryOpensOnlyKeysThatExistUnderThatRoot) {
    // Columns: root, subkey, whether it opens.
    const struct {
        RegistryRoot root;
        std::string subkey;
        bool opens;
    } cases[] = {
        {RegistryRoot::CurrentUser, subkey_, true},
        {RegistryRoot::LocalMachine, subkey_, false},
        {RegistryRoot::Users, subkey_, false},
        {RegistryRoot::CurrentUser, subkey_ + "\\Missing", false},
        {RegistryRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", true},
        {RegistryRoot::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion", true},
        {RegistryRoot::CurrentUser, std::string("Software\0Elsewhere", 18), false},
    };
    for (const auto& c : cases) {
        const bool opened = registry_.OpenForQuery(c.root, c.subkey) != nullptr;
        EXPECT_EQ(opened, c.opens) << "root 0x" << std::hex
                                   << static_cast<std::uint32_t>(c.root) << ", subkey "
                                   << Visible(c.subkey);
    }
}

}  // namespace
}  // namespace install::win32
