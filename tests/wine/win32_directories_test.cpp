// The current directory of the seam under Wine.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "platform/win32/win32_directories.hpp"
#include "tests/wine/scratch_directory.hpp"

namespace install::win32 {
namespace {

using wine_test::ChangeToDirectoryOfAnyLength;
using wine_test::ScratchDirectory;
using wine_test::WriteBytes;

class Win32DirectoriesTest : public ::testing::Test {
protected:
    ScratchDirectory scratch_{"install-directories-test"};
    Win32Directories directories_;
};

TEST_F(Win32DirectoriesTest, ChangedDirectoryReadsBackAsThePlatformKeepsIt) {
    ASSERT_TRUE(::CreateDirectoryA(scratch_.Join("Disk 1").c_str(), nullptr));
    // Columns: the directory changed to, the current directory read back.
    const struct {
        std::string path;
        std::string expected;
    } cases[] = {
        {scratch_.Path(), scratch_.Path()},
        {scratch_.Join("Disk 1"), scratch_.Join("Disk 1")},
        // A trailing backslash is not kept, but the root's is.
        {scratch_.Join("Disk 1") + "\\", scratch_.Join("Disk 1")},
        {"C:\\", "C:\\"},
        {scratch_.Join("Disk 1\\.."), scratch_.Path()},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(directories_.ChangeCurrentDirectory(c.path)) << c.path;
        EXPECT_EQ(directories_.CurrentDirectory(), c.expected) << "after changing to " << c.path;
        // Read independently of the seam.
        char independent[MAX_PATH];
        ::GetCurrentDirectoryA(sizeof independent, independent);
        EXPECT_EQ(std::string(independent), c.expected) << "after changing to " << c.path;
    }
}

TEST_F(Win32DirectoriesTest, ChangeFailsAndKeepsTheDirectoryWhereThereIsNone) {
    ASSERT_TRUE(WriteBytes(scratch_.Join("file.txt"), "x"));
    ASSERT_TRUE(directories_.ChangeCurrentDirectory(scratch_.Path()));
    // Columns: what the path is, the path.
    const struct {
        const char* what;
        std::string path;
    } cases[] = {
        {"a missing directory", scratch_.Join("missing")},
        {"a file", scratch_.Join("file.txt")},
        {"a path with a NUL inside", scratch_.Path() + std::string("\0\\missing", 9)},
        {"a path longer than the platform's", "C:\\" + std::string(300, 'd')},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(directories_.ChangeCurrentDirectory(c.path)) << c.what;
        EXPECT_EQ(directories_.CurrentDirectory(), scratch_.Path()) << "after " << c.what;
    }
}

TEST_F(Win32DirectoriesTest, CurrentDirectoryReadsWholeOrNotAtAll) {
    // The process's current directory may be longer than the 259
    // characters the seam gives room for; such a one reads as the empty
    // text, never cut. Columns: length of the current directory's path.
    for (const std::size_t length : {200u, 258u, 259u, 260u, 261u, 300u}) {
        const std::string path = scratch_.MakeDirectoryOfLength(length);
        ASSERT_EQ(path.size(), length) << "could not make a directory of that length";
        ASSERT_TRUE(ChangeToDirectoryOfAnyLength(path)) << "length " << length;
        const std::string expected = length <= 259 ? path : std::string();
        EXPECT_EQ(directories_.CurrentDirectory(), expected) << "length " << length;
    }
}

}  // namespace
}  // namespace install::win32
