// The version and directories of the seam under Wine, in each family.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <string>

#include "platform/win32/win32_system_info.hpp"
#include "tests/wine/test_family.hpp"

namespace install::win32 {
namespace {

// The folder as the shell reports it: another way to the same directory
// than the one the seam takes.
std::string ShellFolder(int csidl) {
    char path[MAX_PATH] = "";
    if (FAILED(::SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) {
        return "<shell folder unknown>";
    }
    return path;
}

TEST(Win32SystemInfo, PlatformIdIsTheFamilysOwn) {
    Win32SystemInfo info;
    const auto platformId = info.QueryPlatformId();
    ASSERT_TRUE(platformId.has_value()) << "the version query failed";
    EXPECT_EQ(*platformId, wine_test::ExpectedPlatformId())
        << "in the " << wine_test::FamilyName(wine_test::CurrentFamily()) << " prefix";
}

TEST(Win32SystemInfo, DirectoriesAreTheOnesTheShellKnows) {
    Win32SystemInfo info;
    // Columns: which directory, what the seam gives, the shell's folder.
    const struct {
        const char* name;
        std::string seam;
        std::string shell;
    } cases[] = {
        {"Windows directory", info.WindowsDirectoryPath(), ShellFolder(CSIDL_WINDOWS)},
        {"system directory", info.SystemDirectoryPath(), ShellFolder(CSIDL_SYSTEM)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.seam, c.shell) << c.name;
    }
}

}  // namespace
}  // namespace install::win32
