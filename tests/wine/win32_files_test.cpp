// The Win32 files of the seam under Wine: what fails to open, what Create
// and Append do to a file, and that bytes pass through untranslated.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/win32/win32_files.hpp"
#include "tests/wine/scratch_directory.hpp"

namespace install::win32 {
namespace {

using wine_test::ReadBytes;
using wine_test::ScratchDirectory;
using wine_test::Visible;
using wine_test::WriteBytes;

const char* ModeName(FileMode mode) {
    switch (mode) {
        case FileMode::Read:
            return "Read";
        case FileMode::Create:
            return "Create";
        case FileMode::Append:
            return "Append";
    }
    return "?";
}

// Every byte that text mode would touch, and some it must not.
constexpr char kAwkwardRaw[] = "one\r\ntwo\nthree\rfour\x1a" "five\0six\xff\xfe\x80 end\r\n";
const std::string kAwkwardBytes(kAwkwardRaw, sizeof kAwkwardRaw - 1);

class Win32FilesTest : public ::testing::Test {
protected:
    ScratchDirectory scratch_{"install-files-test"};
    Win32Files files_;
};

TEST_F(Win32FilesTest, OpenFailsWhereThereIsNoFileToOpen) {
    ASSERT_TRUE(WriteBytes(scratch_.Join("present.txt"), "x"));
    ASSERT_TRUE(::CreateDirectoryA(scratch_.Join("folder").c_str(), nullptr));
    // Columns: what the path is, the path under the scratch directory, mode.
    const struct {
        const char* what;
        const char* path;
        FileMode mode;
    } cases[] = {
        {"a missing file", "missing.txt", FileMode::Read},
        {"a directory", "folder", FileMode::Read},
        {"a directory", "folder", FileMode::Create},
        {"a directory", "folder", FileMode::Append},
        {"a file in a missing directory", "nowhere\\new.txt", FileMode::Create},
        {"a file in a missing directory", "nowhere\\new.txt", FileMode::Append},
        {"a file taken as a directory", "present.txt\\new.txt", FileMode::Create},
    };
    for (const auto& c : cases) {
        const std::string path = scratch_.Join(c.path);
        EXPECT_EQ(files_.Open(path, c.mode), nullptr)
            << c.what << " opened in mode " << ModeName(c.mode) << ": " << path;
    }
    // None of the failed opens may have made what it could not open.
    EXPECT_FALSE(ReadBytes(scratch_.Join("missing.txt")).has_value());
    EXPECT_EQ(ReadBytes(scratch_.Join("present.txt")).value_or("<gone>"), "x");
}

TEST_F(Win32FilesTest, CreateAndAppendLeaveTheseBytes) {
    // Columns: name, bytes in the file beforehand (nullptr: no file), mode,
    // writes made through the opened file, bytes of the file afterwards.
    const struct {
        const char* name;
        const char* before;
        FileMode mode;
        std::vector<std::string> writes;
        std::string after;
    } cases[] = {
        {"create makes a missing file", nullptr, FileMode::Create, {"new"}, "new"},
        {"create empties a longer file", "an earlier, longer text\r\n", FileMode::Create,
         {"short"}, "short"},
        {"create with no write leaves it empty", "earlier", FileMode::Create, {}, ""},
        {"create keeps writes in order", nullptr, FileMode::Create, {"a", "bc", "", "d"},
         "abcd"},
        {"create writes bytes as given", nullptr, FileMode::Create, {kAwkwardBytes},
         kAwkwardBytes},
        {"append makes a missing file", nullptr, FileMode::Append, {"first"}, "first"},
        {"append keeps what was there", "kept\r\n", FileMode::Append, {"more\r\n", "end"},
         "kept\r\nmore\r\nend"},
        {"append with no write changes nothing", "kept", FileMode::Append, {}, "kept"},
        {"append writes bytes as given", "x", FileMode::Append, {kAwkwardBytes},
         "x" + kAwkwardBytes},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = scratch_.Join("created.bin");
        ::DeleteFileA(path.c_str());
        if (c.before) {
            ASSERT_TRUE(WriteBytes(path, c.before));
        }
        {
            auto file = files_.Open(path, c.mode);
            ASSERT_NE(file, nullptr) << "mode " << ModeName(c.mode) << " did not open " << path;
            for (const std::string& bytes : c.writes) {
                EXPECT_TRUE(file->Write(bytes.data(), bytes.size()))
                    << "write of \"" << Visible(bytes) << "\" failed";
            }
        }
        const auto after = ReadBytes(path);
        ASSERT_TRUE(after.has_value()) << path << " is not there after closing";
        EXPECT_EQ(Visible(*after), Visible(c.after));
    }
}

TEST_F(Win32FilesTest, AppendWritesGoToTheEndWhateverWroteThereMeanwhile) {
    // Two appending opens of one file, their writes interleaved: each write
    // lands after the other's, not where its own file stood before.
    const std::string path = scratch_.Join("shared.log");
    ASSERT_TRUE(WriteBytes(path, "start;"));
    auto first = files_.Open(path, FileMode::Append);
    auto second = files_.Open(path, FileMode::Append);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(first->Write("1a;", 3));
    EXPECT_TRUE(second->Write("2a;", 3));
    EXPECT_TRUE(first->Write("1b;", 3));
    EXPECT_TRUE(second->Write("2b;", 3));
    first.reset();
    second.reset();
    EXPECT_EQ(ReadBytes(path).value_or("<unreadable>"), "start;1a;2a;1b;2b;");
}

TEST_F(Win32FilesTest, ReadGivesTheFileBytesExactly) {
    const std::string path = scratch_.Join("awkward.bin");
    ASSERT_TRUE(WriteBytes(path, kAwkwardBytes));
    // Columns: bytes asked for by each Read. Every size must give the same
    // bytes, then 0 at the end of the file.
    const std::size_t sizes[] = {1, 3, 7, kAwkwardBytes.size(), 4096};
    for (const std::size_t size : sizes) {
        SCOPED_TRACE("reads of " + std::to_string(size) + " bytes");
        auto file = files_.Open(path, FileMode::Read);
        ASSERT_NE(file, nullptr);
        std::string got;
        std::vector<char> buffer(size);
        std::ptrdiff_t n = 0;
        int reads = 0;
        // Bounded: a file of N bytes ends in at most N + 1 reads.
        while (reads++ <= static_cast<int>(kAwkwardBytes.size()) &&
               (n = file->Read(buffer.data(), buffer.size())) > 0) {
            EXPECT_LE(static_cast<std::size_t>(n), size);
            got.append(buffer.data(), static_cast<std::size_t>(n));
        }
        EXPECT_EQ(n, 0) << "the last read did not report the end of the file";
        EXPECT_EQ(Visible(got), Visible(kAwkwardBytes));
    }
}

TEST_F(Win32FilesTest, ReadOfAnEmptyFileEndsAtOnce) {
    const std::string path = scratch_.Join("empty.txt");
    ASSERT_TRUE(WriteBytes(path, ""));
    auto file = files_.Open(path, FileMode::Read);
    ASSERT_NE(file, nullptr);
    char buffer[16];
    EXPECT_EQ(file->Read(buffer, sizeof buffer), 0);
}

TEST_F(Win32FilesTest, AFileDoesOnlyWhatItsModeAllows) {
    const std::string path = scratch_.Join("one-way.txt");
    ASSERT_TRUE(WriteBytes(path, "content"));
    char buffer[16];
    {
        auto reading = files_.Open(path, FileMode::Read);
        ASSERT_NE(reading, nullptr);
        EXPECT_FALSE(reading->Write("x", 1)) << "a file opened for reading took a write";
    }
    // Columns: mode of a file opened for writing; a Read on it must fail.
    for (const FileMode mode : {FileMode::Create, FileMode::Append}) {
        auto writing = files_.Open(path, mode);
        ASSERT_NE(writing, nullptr);
        EXPECT_EQ(writing->Read(buffer, sizeof buffer), -1)
            << "a file opened in mode " << ModeName(mode) << " gave bytes to a read";
    }
}

TEST_F(Win32FilesTest, AFileOpenForReadingCanBeWrittenByOthers) {
    // The log is read by people while the steps append to it.
    const std::string path = scratch_.Join("watched.log");
    ASSERT_TRUE(WriteBytes(path, "line 1\r\n"));
    auto reading = files_.Open(path, FileMode::Read);
    ASSERT_NE(reading, nullptr);
    auto appending = files_.Open(path, FileMode::Append);
    ASSERT_NE(appending, nullptr) << "appending was refused while the file was open for reading";
    EXPECT_TRUE(appending->Write("line 2\r\n", 8));
    appending.reset();
    char buffer[64];
    const std::ptrdiff_t n = reading->Read(buffer, sizeof buffer);
    ASSERT_GE(n, 0);
    EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(n)), "line 1\r\nline 2\r\n");
}

}  // namespace
}  // namespace install::win32
