// The preparation step on the Win32 seam under Wine: what it learns of the
// machine in each Windows family, the log it starts, and the tools it
// closes.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/install_context.hpp"
#include "engine/prepare_install.hpp"
#include "platform/win32/unique_resource.hpp"
#include "platform/win32/win32_system.hpp"
#include "tests/wine/scratch_directory.hpp"
#include "tests/wine/test_family.hpp"
#include "tests/wine/window_host.hpp"

namespace install {
namespace {

using wine_test::ChangeToDirectoryOfAnyLength;
using wine_test::CurrentFamily;
using wine_test::Family;
using wine_test::ReadBytes;
using wine_test::ScratchDirectory;
using wine_test::Visible;
using wine_test::WindowHost;
using wine_test::WriteBytes;

constexpr const char* kShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// A registry value's text read with the test's own call, in as much room as
// it needs; nullopt when there is no such value.
std::optional<std::string> ReadRegistryText(HKEY root, const char* name) {
    char text[2048];
    DWORD size = sizeof text;
    if (::RegGetValueA(root, kShellFoldersKey, name, RRF_RT_REG_SZ, nullptr, text, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::string(text);
}

// What a shell folder field holds for a value: its text when it fits the
// 259 characters a path may have, the empty text otherwise.
std::string FieldFor(const std::optional<std::string>& value) {
    return value && value->size() <= kMaxPathChars ? *value : std::string();
}

// Directory as the system gives it, without a trailing backslash.
std::string SystemPath(UINT (*getter)(LPSTR, UINT)) {
    char path[MAX_PATH] = "";
    std::string text(path, getter(path, sizeof path));
    if (!text.empty() && text.back() == '\\') {
        text.pop_back();
    }
    return text;
}

// A shell folder value the preparation step reads in this family, and the
// field it fills.
struct ShellFolderValue {
    HKEY root;
    const char* rootName;
    const char* name;
    std::string InstallContext::*field;
};

std::vector<ShellFolderValue> ValuesReadInThisFamily() {
    if (CurrentFamily() == Family::Nt) {
        return {
            {HKEY_LOCAL_MACHINE, "HKLM", "Common Desktop", &InstallContext::desktopDir},
            {HKEY_LOCAL_MACHINE, "HKLM", "Common Programs", &InstallContext::programsDir},
            {HKEY_CURRENT_USER, "HKCU", "Programs", &InstallContext::userProgramsDir},
        };
    }
    return {
        {HKEY_CURRENT_USER, "HKCU", "Desktop", &InstallContext::desktopDir},
        {HKEY_CURRENT_USER, "HKCU", "Programs", &InstallContext::programsDir},
    };
}

// Gives a shell folder value another text, or takes it away, and puts back
// what was there when it goes.
class ShellFolderOverride {
public:
    ShellFolderOverride(HKEY root, const char* name, const std::optional<std::string>& text)
        : name_(name) {
        if (::RegOpenKeyExA(root, kShellFoldersKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                            key_.put()) != ERROR_SUCCESS) {
            return;
        }
        std::vector<BYTE> saved(4096);
        DWORD size = static_cast<DWORD>(saved.size());
        if (::RegQueryValueExA(key_.get(), name, nullptr, &savedType_, saved.data(), &size) ==
            ERROR_SUCCESS) {
            saved.resize(size);
            saved_ = std::move(saved);
        }
        ok_ = text ? ::RegSetValueExA(key_.get(), name, 0, REG_SZ,
                                      reinterpret_cast<const BYTE*>(text->c_str()),
                                      static_cast<DWORD>(text->size() + 1)) == ERROR_SUCCESS
                   : (!saved_ || ::RegDeleteValueA(key_.get(), name) == ERROR_SUCCESS);
    }
    ShellFolderOverride(const ShellFolderOverride&) = delete;
    ShellFolderOverride& operator=(const ShellFolderOverride&) = delete;
    ~ShellFolderOverride() {
        if (saved_) {
            ::RegSetValueExA(key_.get(), name_, 0, savedType_, saved_->data(),
                             static_cast<DWORD>(saved_->size()));
        } else if (key_) {
            ::RegDeleteValueA(key_.get(), name_);
        }
    }
    bool Ok() const { return ok_; }

private:
    const char* name_;
    win32::UniqueRegistryKey key_;
    DWORD savedType_ = REG_NONE;
    std::optional<std::vector<BYTE>> saved_;
    bool ok_ = false;
};

class PrepareInstallTest : public ::testing::Test {
protected:
    InstallContext Prepare() {
        InstallContext context;
        EXPECT_EQ(PrepareInstall(context, system_.Seam()), 0);
        return context;
    }

    std::string LogPath() const {
        return SystemPath(::GetWindowsDirectoryA) + "\\INSTLOG.TXT";
    }

    ScratchDirectory scratch_{"install-source"};
    win32::Win32System system_;
};

TEST_F(PrepareInstallTest, LearnsTheFamilysPlatformAndDirectories) {
    const InstallContext context = Prepare();
    const std::string windowsDir = SystemPath(::GetWindowsDirectoryA);
    const std::string systemDir = SystemPath(::GetSystemDirectoryA);
    ASSERT_GE(systemDir.size(), 3u);
    ASSERT_EQ(systemDir[1], ':') << "the system directory is not on a drive: " << systemDir;

    EXPECT_EQ(context.platformId, wine_test::ExpectedPlatformId())
        << "in the " << wine_test::FamilyName(CurrentFamily()) << " prefix";
    // Columns: field, what the step put there, what this machine says.
    const struct {
        const char* field;
        std::string actual;
        std::string expected;
    } cases[] = {
        {"windowsDir", context.windowsDir, windowsDir},
        {"systemDir", context.systemDir, systemDir},
        {"scriptPath", context.scriptPath, windowsDir + "\\SETUP.INP"},
        {"logPath", context.logPath, windowsDir + "\\INSTLOG.TXT"},
        {"systemRoot", context.systemRoot, systemDir.substr(0, 2)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.actual, c.expected) << c.field;
    }
}

TEST_F(PrepareInstallTest, ShellFoldersAreTheOnesThisFamilyReads) {
    // Wine's own values, read with the test's own registry calls; every
    // one of them is printed, so the log tells what each prefix holds.
    struct Source {
        HKEY root;
        const char* rootName;
        const char* name;
    };
    const Source sources[] = {
        {HKEY_LOCAL_MACHINE, "HKLM", "Common Desktop"},
        {HKEY_LOCAL_MACHINE, "HKLM", "Common Programs"},
        {HKEY_CURRENT_USER, "HKCU", "Desktop"},
        {HKEY_CURRENT_USER, "HKCU", "Programs"},
    };
    for (const Source& source : sources) {
        const auto value = ReadRegistryText(source.root, source.name);
        std::printf("%s prefix: %s\\...\\Shell Folders \"%s\" = %s\n",
                    wine_test::FamilyName(CurrentFamily()), source.rootName, source.name,
                    value ? ("\"" + *value + "\"").c_str() : "(no such value)");
    }

    const InstallContext context = Prepare();
    const bool nt = CurrentFamily() == Family::Nt;
    const std::string userPrograms = FieldFor(ReadRegistryText(HKEY_CURRENT_USER, "Programs"));
    // Columns: field, what the step put there, the value it must come from.
    const struct {
        const char* field;
        std::string actual;
        std::string expected;
    } cases[] = {
        {"desktopDir", context.desktopDir,
         FieldFor(nt ? ReadRegistryText(HKEY_LOCAL_MACHINE, "Common Desktop")
                     : ReadRegistryText(HKEY_CURRENT_USER, "Desktop"))},
        {"programsDir", context.programsDir,
         nt ? FieldFor(ReadRegistryText(HKEY_LOCAL_MACHINE, "Common Programs")) : userPrograms},
        {"userProgramsDir", context.userProgramsDir, userPrograms},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.actual, c.expected) << c.field;
    }
}

TEST_F(PrepareInstallTest, ShellFolderValuesThatAreMissingOrTooLongGiveTheEmptyText) {
    // This test is about the values themselves, so it sets them, and puts
    // Wine's back afterwards. Columns: name, the text stored in each value
    // this family reads, in the order of ValuesReadInThisFamily (nullopt:
    // the value is deleted). A different text in each value shows a field
    // filled from the wrong one.
    const std::string fits(kMaxPathChars, 'f');
    const std::string tooLong(kMaxPathChars + 1, 't');
    const struct {
        const char* name;
        std::vector<std::optional<std::string>> texts;
    } cases[] = {
        {"each its own text", {"C:\\Test Desktop", "C:\\Test Programs", "C:\\Test User Programs"}},
        {"all missing", {std::nullopt, std::nullopt, std::nullopt}},
        {"the longest that fits, one too long", {fits, tooLong, fits}},
        {"too long, missing, short", {tooLong, std::nullopt, "C:\\U"}},
        {"missing, short, too long", {std::nullopt, "C:\\P", tooLong}},
    };
    const std::vector<ShellFolderValue> values = ValuesReadInThisFamily();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::unique_ptr<ShellFolderOverride>> overrides;
        for (std::size_t i = 0; i < values.size(); ++i) {
            overrides.push_back(std::make_unique<ShellFolderOverride>(values[i].root,
                                                                      values[i].name, c.texts[i]));
            ASSERT_TRUE(overrides.back()->Ok()) << "could not set " << values[i].name;
        }
        const InstallContext context = Prepare();
        for (std::size_t i = 0; i < values.size(); ++i) {
            const ShellFolderValue& value = values[i];
            EXPECT_EQ(context.*value.field, FieldFor(c.texts[i]))
                << "from " << value.rootName << " \"" << value.name << "\"";
        }
        if (CurrentFamily() != Family::Nt) {
            EXPECT_EQ(context.userProgramsDir, context.programsDir)
                << "outside the NT family the user's programs are the programs";
        }
    }
}

TEST_F(PrepareInstallTest, SourceIsTheCurrentDirectoryAndItsRoot) {
    ASSERT_TRUE(::CreateDirectoryA(scratch_.Join("DISK1").c_str(), nullptr));
    const std::string longest = scratch_.MakeDirectoryOfLength(kMaxPathChars);
    const std::string tooLong = scratch_.MakeDirectoryOfLength(kMaxPathChars + 1);
    ASSERT_FALSE(longest.empty());
    ASSERT_FALSE(tooLong.empty());
    // Columns: the current directory, sourceDir and sourceRoot expected.
    const struct {
        std::string current;
        std::string sourceDir;
        std::string sourceRoot;
    } cases[] = {
        {scratch_.Join("DISK1"), scratch_.Join("DISK1"), "C:"},
        {scratch_.Path(), scratch_.Path(), "C:"},
        {"C:\\", "C:", "C:"},
        {longest, longest, "C:"},
        // A current directory that does not fit is no directory at all.
        {tooLong, "", ""},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(ChangeToDirectoryOfAnyLength(c.current)) << c.current;
        const InstallContext context = Prepare();
        EXPECT_EQ(context.sourceDir, c.sourceDir) << "current directory " << c.current;
        EXPECT_EQ(context.sourceRoot, c.sourceRoot) << "current directory " << c.current;
    }
}

TEST_F(PrepareInstallTest, StartsTheLogAfreshWhateverWasThere) {
    const std::string header = "Installation Log\r\n";
    // Columns: name, bytes of an earlier log (nullopt: none), whether the
    // earlier log is held open by someone who lets others only read it,
    // the log's bytes afterwards.
    const struct {
        const char* name;
        std::optional<std::string> earlier;
        bool held;
        std::string after;
    } cases[] = {
        {"no earlier log", std::nullopt, false, header},
        {"a longer earlier log",
         "Installation Log\r\nDirectories\r\n  C:\\TRELIX [OK]\r\nFiles\r\n  copied 12\r\n", false,
         header},
        {"an earlier log of other bytes", std::string("\x1a\0\xff\n", 4), false, header},
        // The log that cannot be created is passed over: no error, and the
        // earlier one is left as it was.
        {"an earlier log that cannot be replaced", "kept as it was\r\n", true,
         "kept as it was\r\n"},
    };
    const std::string path = LogPath();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ::DeleteFileA(path.c_str());
        win32::UniqueFileHandle holder;
        if (c.earlier) {
            ASSERT_TRUE(WriteBytes(path, *c.earlier));
        }
        if (c.held) {
            holder.reset(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
            ASSERT_TRUE(holder.valid()) << "could not hold " << path;
        }
        Prepare();
        holder.reset();
        EXPECT_EQ(Visible(ReadBytes(path).value_or("<no log>")), Visible(c.after));
    }
}

TEST_F(PrepareInstallTest, AsksTheToolsToCloseInTheirOrder) {
    // Windows of another process; each records the WM_CLOSE it gets and
    // stays open, so a window asked twice shows twice. Columns: name, the
    // titles of the windows in their order of creation, the titles that
    // must get WM_CLOSE, in their order of arrival.
    const struct {
        const char* name;
        std::vector<std::string> windows;
        std::vector<std::string> closed;
    } cases[] = {
        {"all six, created in another order, one in other letter case",
         {"KARVELIX", "Trelix PC Card Diagnostics  v1.03", "Trelix Diagnose", "porvex",
          "Trelix PC Card Diagnostics", "Trelix LAN+Modem"},
         {"porvex", "Trelix LAN+Modem", "Trelix Diagnose", "Trelix PC Card Diagnostics",
          "Trelix PC Card Diagnostics  v1.03", "KARVELIX"}},
        {"some of them",
         {"KARVELIX", "Trelix Diagnose", "Trelix PC Card Diagnostics  v1.03"},
         {"Trelix Diagnose", "Trelix PC Card Diagnostics  v1.03", "KARVELIX"}},
        {"only the versioned diagnostics, asked once",
         {"Trelix PC Card Diagnostics  v1.03"},
         {"Trelix PC Card Diagnostics  v1.03"}},
        {"only the plain diagnostics, asked once",
         {"Trelix PC Card Diagnostics"},
         {"Trelix PC Card Diagnostics"}},
        {"near titles are not asked",
         {"Porvex ", "Trelix Diagnose ", " KARVELIX", "Trelix PC Card Diagnostics v1.03",
          "Trelix LAN Modem", "Trelix PC Card Diagnostics  v1.0"},
         {}},
        {"near titles beside the real ones",
         {"Trelix Diagnose ", "Trelix LAN+Modem", "Porvex ", "PORVEX"},
         {"PORVEX", "Trelix LAN+Modem"}},
        {"none", {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WindowHost host(c.windows);
        ASSERT_TRUE(host.Started()) << host.Error();
        Prepare();
        EXPECT_EQ(host.Stop(), c.closed);
        EXPECT_EQ(host.Error(), "");
    }
}

}  // namespace
}  // namespace install
