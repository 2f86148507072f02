// The registry step, its data conversion and the value writer.
#include <gtest/gtest.h>

#include "steps/installation_steps.hpp"
#include "steps/registry_data.hpp"
#include "steps/write_registry_value.hpp"
#include "tests/unit/step_fixture.hpp"

namespace install {
namespace {

using testing_support::StepFixture;

TEST(RegistryData, ConvertsByTheTypeField) {
    // type, data text, bytes handed to the writer
    const struct {
        std::string type;
        std::string text;
        std::string bytes;
    } cases[] = {
        {"REG_DWORD", "12", std::string("\x0C\0\0\0", 4)},
        {"REG_DWORD", "0x10", std::string("\0\0\0\0", 4)},
        {"REG_DWORD", "-1", "\xFF\xFF\xFF\xFF"},
        {"REG_DWORD", "4294967295", "\xFF\xFF\xFF\xFF"},
        {"REG_DWORD", "4294967296", std::string("\0\0\0\0", 4)},
        {"REG_DWORD", "4294967297", std::string("\x01\0\0\0", 4)},
        {"REG_DWORD", "none", std::string("\0\0\0\0", 4)},
        {"REG_DWORD", "  7", std::string("\x07\0\0\0", 4)},
        {"REG_DWORD", "\t+300x", std::string("\x2C\x01\0\0", 4)},
        {"REG_DWORD", "- 5", std::string("\0\0\0\0", 4)},
        {"REG_DWORD", "16909060", "\x04\x03\x02\x01"},
        {"REG_DWORD_LITTLE_ENDIAN", "1", "1"},
        {"REG_DWORD_BIG_ENDIAN", "1", "1"},
        {"REG_BINARY", "AB", "AB"},
        {"REG_SZ", "abc", std::string("abc\0", 4)},
        {"REG_EXPAND_SZ", "%PATH%", std::string("%PATH%\0", 7)},
        {"REG_MULTI_SZ", "one", std::string("one\0\0", 5)},
        {"REG_NONE", "x", "x"},
        {"reg_sz", "abc", "abc"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RegistryData(c.type, c.text), c.bytes) << c.type << " " << c.text;
    }
}

TEST(WriteRegistryValue, LooksUpBothTablesBeforeTouchingTheRegistry) {
    // root name, type name, result, root and type stored
    const struct {
        const char* root;
        const char* type;
        int result;
        RegistryRoot storedRoot;
        std::uint32_t storedType;
    } cases[] = {
        {"HKEY_CLASSES_ROOT", "REG_SZ", REGWRITE_OK, RegistryRoot::ClassesRoot, 1},
        {"HKEY_CURRENT_USER", "REG_EXPAND_SZ", REGWRITE_OK, RegistryRoot::CurrentUser, 2},
        {"HKEY_LOCAL_MACHINE", "REG_BINARY", REGWRITE_OK, RegistryRoot::LocalMachine, 3},
        {"HKEY_USERS", "REG_DWORD", REGWRITE_OK, RegistryRoot::Users, 4},
        {"HKEY_USERS", "REG_DWORD_LITTLE_ENDIAN", REGWRITE_OK, RegistryRoot::Users, 4},
        {"HKEY_USERS", "REG_DWORD_BIG_ENDIAN", REGWRITE_OK, RegistryRoot::Users, 5},
        {"HKEY_USERS", "REG_LINK", REGWRITE_OK, RegistryRoot::Users, 6},
        {"HKEY_USERS", "REG_MULTI_SZ", REGWRITE_OK, RegistryRoot::Users, 7},
        {"HKEY_USERS", "REG_RESOURCE_LIST", REGWRITE_OK, RegistryRoot::Users, 8},
        {"HKEY_USERS", "REG_FULL_RESOURCE_DESCRIPTOR", REGWRITE_OK, RegistryRoot::Users, 9},
        {"HKEY_USERS", "REG_RESOURCE_REQUIREMENTS_LIST", REGWRITE_OK, RegistryRoot::Users, 10},
        {"HKEY_USERS", "REG_NONE", REGWRITE_OK, RegistryRoot::Users, 0},
        {"HKCU", "REG_SZ", REGWRITE_BAD_ARGS, {}, 0},
        {"hkey_current_user", "REG_SZ", REGWRITE_BAD_ARGS, {}, 0},
        {" HKEY_CURRENT_USER", "REG_SZ", REGWRITE_BAD_ARGS, {}, 0},
        {"HKEY_CURRENT_USER", "reg_sz", REGWRITE_BAD_ARGS, {}, 0},
        {"HKEY_CURRENT_USER", "REG_QWORD", REGWRITE_BAD_ARGS, {}, 0},
    };
    for (const auto& c : cases) {
        fake::FakeSystem system;
        EXPECT_EQ(WriteRegistryValue(system.registry, c.root, "Software\\Example", "Value", c.type, "d"), c.result)
            << c.root << " " << c.type;
        if (c.result == REGWRITE_OK) {
            const auto& value = system.registry.written.at({c.storedRoot, "Software\\Example"}).at("Value");
            EXPECT_EQ(value.type, c.storedType) << c.type;
            EXPECT_EQ(value.bytes, "d");
        } else {
            EXPECT_TRUE(system.calls.empty()) << c.root << " " << c.type;
        }
        EXPECT_EQ(system.registry.openKeys, 0);
    }
    fake::FakeSystem system;
    EXPECT_EQ(WriteRegistryValue(system.registry, nullptr, "K", "V", "REG_SZ", "d"), REGWRITE_BAD_ARGS);
    EXPECT_EQ(WriteRegistryValue(system.registry, "HKEY_USERS", nullptr, "V", "REG_SZ", "d"), REGWRITE_BAD_ARGS);
    EXPECT_EQ(WriteRegistryValue(system.registry, "HKEY_USERS", "K", nullptr, "REG_SZ", "d"), REGWRITE_BAD_ARGS);
    EXPECT_TRUE(system.calls.empty());
}

TEST(UpdateRegistry, LogsEachEntryAndStopsAtTheFirstFailure) {
    // what, section lines, result, log lines, final text of button 1013
    const struct {
        const char* what;
        std::string section;
        int result;
        std::string log;
    } cases[] = {
        {"worked example",
         "HKEY_LOCAL_MACHINE,SOFTWARE\\NetCard\\Manual,Path,REG_SZ,C:\\WINDOWS\\NETCARD\\MANUAL\n", 0,
         "Update HKEY_LOCAL_MACHINE\\SOFTWARE\\NetCard\\Manual\\Path = C:\\WINDOWS\\NETCARD\\MANUAL [OK]\n"},
        {"dword shows its text", "HKEY_CURRENT_USER,Software\\Example,Count,REG_DWORD,12\n", 0,
         "Update HKEY_CURRENT_USER\\Software\\Example\\Count = 12 [OK]\n"},
        {"four fields: skipped", "HKEY_CURRENT_USER,Software\\Example,Count,REG_DWORD\n", 0, ""},
        {"unknown type fails and names it",
         "HKEY_CURRENT_USER,Software\\Example,Name,reg_sz,abc\nHKEY_CURRENT_USER,Software\\Example,B,REG_SZ,b\n", 1,
         "Update HKEY_CURRENT_USER\\Software\\Example\\Name = abc [FAIL] (Unknown value type reg_sz)\n"},
        {"unknown root fails and names it", " HKEY_CURRENT_USER,Software\\Example,Name,REG_SZ,abc\n", 1,
         "Update  HKEY_CURRENT_USER\\Software\\Example\\Name = abc [FAIL] (Unknown root key  HKEY_CURRENT_USER)\n"},
        {"registry refuses the value",
         "HKEY_CURRENT_USER,Software\\Example,A,REG_SZ,a\nHKEY_CURRENT_USER,Software\\Example,Refused,REG_SZ,r\n"
         "HKEY_CURRENT_USER,Software\\Example,C,REG_SZ,c\n",
         1,
         "Update HKEY_CURRENT_USER\\Software\\Example\\A = a [OK]\n"
         "Update HKEY_CURRENT_USER\\Software\\Example\\Refused = r [FAIL]\n"},
        {"registry refuses the key", "HKEY_LOCAL_MACHINE,Locked\\Key,A,REG_SZ,a\n", 1,
         "Update HKEY_LOCAL_MACHINE\\Locked\\Key\\A = a [FAIL]\n"},
        {"data cut at a comma", "HKEY_CURRENT_USER,Software\\Example,D,REG_SZ,one,two\n", 0,
         "Update HKEY_CURRENT_USER\\Software\\Example\\D = one [OK]\n"},
    };
    for (const auto& c : cases) {
        StepFixture fixture;
        fixture.system.registry.refusedValues.insert("Refused");
        fixture.system.registry.refusedKeys.insert("Locked\\Key");
        fixture.Script("[Win9X Regs]\n" + c.section);
        EXPECT_EQ(UpdateRegistry(fixture.environment), c.result) << c.what;
        EXPECT_EQ(fixture.LogLines(), c.log) << c.what;
        EXPECT_EQ(fixture.Button(1013), c.result == 0 ? "On-line Manual Initialization"
                                                      : "On-line Manual Initialization [FAIL]")
            << c.what;
        EXPECT_TRUE(fixture.status.buttons[1013].enabled);
        EXPECT_EQ(fixture.system.registry.openKeys, 0) << c.what;
    }
}

TEST(UpdateRegistry, KeepsWhatEarlierEntriesWrote) {
    StepFixture fixture;
    fixture.system.registry.refusedValues.insert("Refused");
    fixture.Script("[Win9X Regs]\nHKEY_CURRENT_USER,Software\\Example,Count,REG_DWORD,-1\n"
                   "HKEY_CURRENT_USER,Software\\Example,Refused,REG_SZ,r\n");
    EXPECT_EQ(UpdateRegistry(fixture.environment), 1);
    const auto& value = fixture.system.registry.written.at({RegistryRoot::CurrentUser, "Software\\Example"}).at("Count");
    EXPECT_EQ(value.type, 4u);
    EXPECT_EQ(value.bytes, "\xFF\xFF\xFF\xFF");
}

}  // namespace
}  // namespace install
