// The registry step on the real registry: the bytes and the type each
// value type stores, read back with the test's own calls, and the entries
// that write nothing.
#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>

#include "steps/installation_steps.hpp"
#include "tests/wine/scratch_directory.hpp"
#include "tests/wine/step_support.hpp"

namespace install {
namespace {

using wine_test::BothFamilies;
using wine_test::InProcessRun;
using wine_test::ScratchDirectory;
using wine_test::StagedScript;
using wine_test::Visible;

TEST(RegistryStep, StoresEachTypeAsTheRegistryReadsIt) {
    const std::string key = "Software\\InstallStepsTest-" + std::to_string(::GetCurrentProcessId());
    const std::string entryKey = key + "\\NetCard\\Manual";
    wine_test::RegistryTreeCleanup cleanup(HKEY_CURRENT_USER, key);
    ScratchDirectory scratch("install-registry");
    const std::string nul(1, '\0');
    // Columns: name, the entry's root and type and data, the end of its log
    // line, the step's result, the type and bytes read back (nullopt: no
    // value, and no key either).
    const struct {
        const char* name;
        const char* root;
        const char* type;
        const char* data;
        const char* logEnd;
        int result;
        DWORD storedType;
        std::optional<std::string> stored;
    } cases[] = {
        {"a negative DWORD", "HKEY_CURRENT_USER", "REG_DWORD", "-1", " [OK]", 0, REG_DWORD,
         std::string(4, '\xFF')},
        {"a DWORD, least significant byte first", "HKEY_CURRENT_USER", "REG_DWORD", "305419896",
         " [OK]", 0, REG_DWORD, std::string("\x78\x56\x34\x12", 4)},
        {"a string, with its terminator", "HKEY_CURRENT_USER", "REG_SZ", "C:\\WINDOWS\\NETCARD",
         " [OK]", 0, REG_SZ, "C:\\WINDOWS\\NETCARD" + nul},
        {"an expandable string", "HKEY_CURRENT_USER", "REG_EXPAND_SZ", "%SystemRoot%\\NETCARD",
         " [OK]", 0, REG_EXPAND_SZ, "%SystemRoot%\\NETCARD" + nul},
        {"a string list of one, with two terminators", "HKEY_CURRENT_USER", "REG_MULTI_SZ",
         "NETCARD", " [OK]", 0, REG_MULTI_SZ, "NETCARD" + nul + nul},
        {"binary, the text's bytes", "HKEY_CURRENT_USER", "REG_BINARY", "AB12", " [OK]", 0,
         REG_BINARY, "AB12"},
        {"an unknown type", "HKEY_CURRENT_USER", "reg_sz", "C:\\WINDOWS",
         " [FAIL] (Unknown value type reg_sz)", 1, REG_NONE, std::nullopt},
        {"an unknown root", "HKEY_CURRENT_CONFIG", "REG_SZ", "C:\\WINDOWS",
         " [FAIL] (Unknown root key HKEY_CURRENT_CONFIG)", 1, REG_NONE, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ::RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
        const std::string entry =
            std::string(c.root) + "," + entryKey + ",Value," + c.type + "," + c.data;
        StagedScript script(BothFamilies("Regs", entry + "\n"));
        ASSERT_TRUE(script.Written());
        InProcessRun run;
        ASSERT_TRUE(run.Prepare(scratch.Path()));
        EXPECT_EQ(run.Step(UpdateRegistry), c.result);
        EXPECT_EQ(run.status.Text(kManualButton), c.result == 0
                                                      ? "On-line Manual Initialization"
                                                      : "On-line Manual Initialization [FAIL]");
        EXPECT_EQ(Visible(script.Log()),
                  Visible(wine_test::ExpectedLog("\n##UPDATE REGISTRY##\n\nUpdate " +
                                                 std::string(c.root) + "\\" + entryKey +
                                                 "\\Value = " + c.data + c.logEnd + "\n")));
        const auto value = wine_test::ReadRegistryValue(HKEY_CURRENT_USER, entryKey, "Value");
        if (!c.stored) {
            EXPECT_FALSE(value) << "a value was written";
            EXPECT_FALSE(wine_test::RegistryKeyExists(HKEY_CURRENT_USER, key))
                << "a key was made";
            continue;
        }
        ASSERT_TRUE(value) << "no value";
        EXPECT_EQ(value->type, c.storedType);
        EXPECT_EQ(Visible(value->bytes), Visible(*c.stored));
    }
}

TEST(RegistryStep, WritesTheEntriesBeforeOneThatFails) {
    const std::string key = "Software\\InstallStepsTest-" + std::to_string(::GetCurrentProcessId());
    wine_test::RegistryTreeCleanup cleanup(HKEY_CURRENT_USER, key);
    ScratchDirectory scratch("install-registry");
    StagedScript script(BothFamilies("Regs", "HKEY_CURRENT_USER," + key + ",First,REG_SZ,one\n" +
                                                 "HKEY_CURRENT_USER," + key +
                                                 ",Second,REG_WORD,2\n" + "HKEY_CURRENT_USER," +
                                                 key + ",Third,REG_SZ,three\n"));
    ASSERT_TRUE(script.Written());
    InProcessRun run;
    ASSERT_TRUE(run.Prepare(scratch.Path()));
    EXPECT_EQ(run.Step(UpdateRegistry), 1);
    EXPECT_EQ(Visible(script.Log()),
              Visible(wine_test::ExpectedLog(
                  "\n##UPDATE REGISTRY##\n\n"
                  "Update HKEY_CURRENT_USER\\" + key + "\\First = one [OK]\n"
                  "Update HKEY_CURRENT_USER\\" + key +
                  "\\Second = 2 [FAIL] (Unknown value type REG_WORD)\n")));
    // Columns: value name, the bytes it must hold (nullopt: no such value).
    const struct {
        const char* name;
        std::optional<std::string> bytes;
    } values[] = {
        {"First", std::string("one", 4)},
        {"Second", std::nullopt},
        {"Third", std::nullopt},
    };
    for (const auto& v : values) {
        const auto value = wine_test::ReadRegistryValue(HKEY_CURRENT_USER, key, v.name);
        EXPECT_EQ(value ? Visible(value->bytes) : "<no value>",
                  v.bytes ? Visible(*v.bytes) : "<no value>")
            << v.name;
    }
}

}  // namespace
}  // namespace install
