// The file copy primitive on the platform's LZ library: compressed files
// made by mscompress expand byte for byte, other files copy as they are,
// and every result code comes from the case that should give it.
#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "steps/copy_expand_file.hpp"
#include "platform/win32/win32_files.hpp"
#include "platform/win32/win32_lz_expand.hpp"
#include "tests/wine/scratch_directory.hpp"
#include "tests/wine/step_support.hpp"

namespace install {
namespace {

using wine_test::FixturePath;
using wine_test::ReadBytes;
using wine_test::ScratchDirectory;
using wine_test::Visible;
using wine_test::WriteBytes;

// A compressed file's header is 14 bytes: magic, method, a name character
// and the expanded size.
constexpr std::size_t kHeaderSize = 14;

std::string Fixture(const std::string& name) {
    const auto bytes = ReadBytes(FixturePath(name));
    if (!bytes) {
        ADD_FAILURE() << "missing fixture " << FixturePath(name);
    }
    return bytes.value_or("");
}

// Bytes compared without printing a megabyte of them.
std::string Describe(const std::optional<std::string>& bytes) {
    if (!bytes) {
        return "<no file>";
    }
    if (bytes->size() <= 64) {
        return "\"" + Visible(*bytes) + "\"";
    }
    return std::to_string(bytes->size()) + " bytes starting \"" + Visible(bytes->substr(0, 32)) +
           "\"";
}

// Names in a directory, "." and ".." left out, sorted.
std::set<std::string> Entries(const std::string& directory) {
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    const HANDLE search = ::FindFirstFileA((directory + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") {
            names.insert(name);
        }
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return names;
}

std::string Join(const std::set<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        text += (text.empty() ? "" : ", ") + name;
    }
    return text;
}

class CopyExpandFileTest : public ::testing::Test {
protected:
    int Copy(const char* source, const char* destination, int mode) {
        return CopyExpandFile(lz_, files_, source, destination, mode);
    }

    ScratchDirectory scratch_{"install-copy"};
    win32::Win32LzExpand lz_;
    win32::Win32Files files_;
};

TEST_F(CopyExpandFileTest, ExpandsCompressedFilesAndCopiesOthersByteForByte) {
    // Columns: name, the file put on the disk and how many of its bytes
    // (npos: all), the name it has there, the original whose bytes must
    // come out.
    constexpr std::size_t kAll = std::string::npos;
    const struct {
        const char* name;
        const char* fixture;
        std::size_t keep;
        const char* onDisk;
        const char* original;
    } cases[] = {
        {"a short text, compressed", "small.txt.szdd", kAll, "SMALL.TXT", "small.txt"},
        {"every byte value, compressed", "allbytes.bin.szdd", kAll, "ALLBYTES.BIN",
         "allbytes.bin"},
        // The header alone, declaring no bytes. (mscompress adds a byte of
        // data to it, which expands to one byte: see the result codes.)
        {"an empty file, compressed", "empty.bin.szdd", kHeaderSize, "EMPTY.BIN", "empty.bin"},
        {"1 MB, compressed", "big.bin.szdd", kAll, "BIG.BIN", "big.bin"},
        {"a short text", "small.txt", kAll, "SMALL.TXT", "small.txt"},
        {"every byte value", "allbytes.bin", kAll, "ALLBYTES.BIN", "allbytes.bin"},
        {"an empty file", "empty.bin", kAll, "EMPTY.BIN", "empty.bin"},
        {"1 MB", "big.bin", kAll, "BIG.BIN", "big.bin"},
        // The library looks for a missing file under its compressed name,
        // the last letter of its extension turned into "_".
        {"found under its compressed name", "allbytes.bin.szdd", kAll, "ALLBYTES.BI_",
         "allbytes.bin"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string disk = scratch_.Join("DISK");
        const std::string target = scratch_.Join("TARGET");
        ASSERT_TRUE(wine_test::RemoveTree(disk) && wine_test::RemoveTree(target));
        ASSERT_TRUE(::CreateDirectoryA(disk.c_str(), nullptr));
        ASSERT_TRUE(::CreateDirectoryA(target.c_str(), nullptr));
        ASSERT_TRUE(WriteBytes(disk + "\\" + c.onDisk, Fixture(c.fixture).substr(0, c.keep)));
        // Asked for by the name the original had.
        const std::string asked = disk + "\\" + c.original;
        const std::string destination = target + "\\" + c.original;
        EXPECT_EQ(Copy(asked.c_str(), destination.c_str(), 0), COPY_OK);
        const auto copied = ReadBytes(destination);
        const std::string expected = Fixture(c.original);
        EXPECT_TRUE(copied == expected)
            << "copied " << Describe(copied) << ", expected " << Describe(expected);
        EXPECT_EQ(Join(Entries(target)), c.original) << "in " << target;
    }
}

TEST_F(CopyExpandFileTest, EachResultCodeComesFromItsCase) {
    const std::string compressed = Fixture("allbytes.bin.szdd");
    const std::string original = Fixture("allbytes.bin");
    ASSERT_GT(compressed.size(), kHeaderSize + 100);
    // The files on the disk, made afresh for every case.
    const struct {
        const char* name;
        std::string bytes;
    } disk[] = {
        {"PACKED.BIN", compressed},
        {"PLAIN.TXT", "plain text\r\n"},
        // Cut in the middle of the compressed data.
        {"CUT.BIN", compressed.substr(0, kHeaderSize + (compressed.size() - kHeaderSize) / 2)},
        // The header alone: it declares 4096 bytes and holds none.
        {"HEADER.BIN", compressed.substr(0, kHeaderSize)},
        // Too short to be taken for a compressed file at all.
        {"STUB.BIN", compressed.substr(0, 10)},
        // mscompress's empty file: it declares no bytes, and its data
        // expands to one.
        {"EXTRA.BIN", Fixture("empty.bin.szdd")},
    };
    const std::string old = "the destination as it was before, longer than the new one";
    // Columns: name, source (under the disk folder; nullptr: no source
    // given), destination (under the scratch folder unless it starts with
    // a drive; nullptr: none given), mode, the destination's bytes
    // beforehand (nullopt: no such file), the code, the destination's
    // bytes afterwards (nullopt: no such file).
    const struct {
        const char* name;
        const char* source;
        const char* destination;
        int mode;
        std::optional<std::string> before;
        int code;
        std::optional<std::string> after;
    } cases[] = {
        {"no source given", nullptr, "OUT.BIN", 0, old, COPY_BAD_ARGS, old},
        {"no destination given", "PACKED.BIN", nullptr, 0, std::nullopt, COPY_BAD_ARGS,
         std::nullopt},
        {"neither given", nullptr, nullptr, 1, std::nullopt, COPY_BAD_ARGS, std::nullopt},
        {"missing source", "MISSING.BIN", "OUT.BIN", 0, old, COPY_NO_SOURCE, old},
        {"missing source, no destination", "MISSING.BIN", "OUT.BIN", 0, std::nullopt,
         COPY_NO_SOURCE, std::nullopt},
        {"the source is a folder", "FOLDER", "OUT.BIN", 0, old, COPY_NO_SOURCE, old},
        {"mode 1 keeps an existing destination", "PACKED.BIN", "OUT.BIN", 1, old,
         COPY_TARGET_EXISTS, old},
        {"mode 1 copies where there is none", "PACKED.BIN", "OUT.BIN", 1, std::nullopt, COPY_OK,
         original},
        {"mode 0 replaces", "PACKED.BIN", "OUT.BIN", 0, old, COPY_OK, original},
        {"mode 0 replaces with plain bytes", "PLAIN.TXT", "OUT.BIN", 0, old, COPY_OK,
         "plain text\r\n"},
        {"mode 2 replaces", "PACKED.BIN", "OUT.BIN", 2, old, COPY_OK, original},
        {"the destination's folder is missing", "PACKED.BIN", "NOWHERE\\OUT.BIN", 0,
         std::nullopt, COPY_NO_TARGET, std::nullopt},
        // Linux's sysfs, seen through drive Z:, where nothing can be made.
        {"a folder where nothing can be made", "PACKED.BIN", "Z:\\sys\\OUT.BIN", 0, std::nullopt,
         COPY_NO_TARGET, std::nullopt},
        {"compressed data cut short", "CUT.BIN", "OUT.BIN", 0, std::nullopt,
         COPY_TRANSFER_FAILED, std::nullopt},
        {"compressed data cut short over an old file", "CUT.BIN", "OUT.BIN", 0, old,
         COPY_TRANSFER_FAILED, std::nullopt},
        {"a header and no data", "HEADER.BIN", "OUT.BIN", 0, std::nullopt, COPY_TRANSFER_FAILED,
         std::nullopt},
        {"more data than the header declares", "EXTRA.BIN", "OUT.BIN", 0, old,
         COPY_TRANSFER_FAILED, std::nullopt},
        {"a file cut inside the header is copied as it is", "STUB.BIN", "OUT.BIN", 0,
         std::nullopt, COPY_OK, compressed.substr(0, 10)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string diskFolder = scratch_.Join("DISK");
        const std::string target = scratch_.Join("TARGET");
        ASSERT_TRUE(wine_test::RemoveTree(diskFolder) && wine_test::RemoveTree(target));
        ASSERT_TRUE(::CreateDirectoryA(diskFolder.c_str(), nullptr));
        ASSERT_TRUE(::CreateDirectoryA(target.c_str(), nullptr));
        ASSERT_TRUE(::CreateDirectoryA((diskFolder + "\\FOLDER").c_str(), nullptr));
        for (const auto& file : disk) {
            ASSERT_TRUE(WriteBytes(diskFolder + "\\" + file.name, file.bytes));
        }
        std::string destination;
        if (c.destination != nullptr) {
            destination = std::string(c.destination).find(':') == std::string::npos
                              ? target + "\\" + c.destination
                              : c.destination;
        }
        if (c.before) {
            ASSERT_TRUE(WriteBytes(destination, *c.before));
        }
        const std::string source = c.source ? diskFolder + "\\" + c.source : std::string();
        const int code = Copy(c.source ? source.c_str() : nullptr,
                              c.destination ? destination.c_str() : nullptr, c.mode);
        EXPECT_EQ(code, c.code) << "0x" << std::hex << code;
        if (c.destination != nullptr) {
            const auto after = ReadBytes(destination);
            EXPECT_TRUE(after == c.after)
                << destination << ": " << Describe(after) << ", expected " << Describe(c.after);
        }
        // Nothing else appeared beside the destination, nor on the disk.
        const std::set<std::string> expectedTarget =
            c.after && destination.rfind(target, 0) == 0 ? std::set<std::string>{"OUT.BIN"}
                                                         : std::set<std::string>{};
        EXPECT_EQ(Join(Entries(target)), Join(expectedTarget)) << "in " << target;
        std::set<std::string> expectedDisk{"FOLDER"};
        for (const auto& file : disk) {
            expectedDisk.insert(file.name);
        }
        EXPECT_EQ(Join(Entries(diskFolder)), Join(expectedDisk)) << "in " << diskFolder;
    }
}

TEST_F(CopyExpandFileTest, OpensExactlyTheNamesItIsGiven) {
    // A destination that cannot be made is never swapped for its
    // "compressed" name (the extension's last letter made "_"): a copy
    // reported as done must be in the file asked for.
    const std::string packed = Fixture("small.txt.szdd");
    const std::string target = scratch_.Join("EXACT");
    ASSERT_TRUE(wine_test::RemoveTree(target));
    ASSERT_TRUE(::CreateDirectoryA(target.c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(target + "\\SOURCE.BIN", packed));
    ASSERT_TRUE(::CreateDirectoryA((target + "\\DIR.BIN").c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(target + "\\LOCKED.BIN", "kept"));
    const HANDLE holder = ::CreateFileA((target + "\\LOCKED.BIN").c_str(), GENERIC_READ, 0, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    // Columns: source, destination (both in the folder), the code.
    const struct {
        const char* source;
        const char* destination;
        int code;
    } cases[] = {
        {"SOURCE.BIN", "DIR.BIN", COPY_NO_TARGET},     // the destination is a folder
        {"SOURCE.BIN", "LOCKED.BIN", COPY_NO_TARGET},  // held open, no sharing
    };
    for (const auto& c : cases) {
        const std::string source = target + "\\" + c.source;
        const std::string destination = target + "\\" + c.destination;
        const int code = Copy(source.c_str(), destination.c_str(), 0);
        EXPECT_EQ(code, c.code) << c.source << " -> " << c.destination << ": 0x" << std::hex << code;
    }
    ::CloseHandle(holder);
    EXPECT_EQ(Join(Entries(target)), Join({"DIR.BIN", "LOCKED.BIN", "SOURCE.BIN"}));
    EXPECT_TRUE(ReadBytes(target + "\\LOCKED.BIN") == std::optional<std::string>("kept"));
}

TEST_F(CopyExpandFileTest, TakesPathsOfUpTo259Characters) {
    // The steps pass paths of up to 259 characters; the LZ library's own
    // open function would refuse any of 128 or more.
    const std::string compressed = Fixture("small.txt.szdd");
    const std::string original = Fixture("small.txt");
    // Columns: length of the source path, of the destination path, the code.
    const struct {
        std::size_t source;
        std::size_t destination;
        int code;
    } cases[] = {
        {127, 127, COPY_OK},
        {128, 100, COPY_OK},
        {100, 128, COPY_OK},
        {200, 100, COPY_OK},
        {100, 259, COPY_OK},
        {259, 259, COPY_OK},
    };
    for (const auto& c : cases) {
        // A file named "F" (source) or "G" (destination) in a directory of
        // the scratch folder two characters shorter than the path.
        const std::string sourceDir = scratch_.MakeDirectoryOfLength(c.source - 2);
        ASSERT_FALSE(sourceDir.empty()) << c.source;
        const std::string source = sourceDir + "\\F";
        ASSERT_TRUE(WriteBytes(source, compressed));
        const std::string destinationDir = scratch_.MakeDirectoryOfLength(c.destination - 2);
        ASSERT_FALSE(destinationDir.empty()) << c.destination;
        const std::string destination = destinationDir + "\\G";
        ::DeleteFileA(destination.c_str());

        const int code = Copy(source.c_str(), destination.c_str(), 0);
        EXPECT_EQ(code, c.code) << "source of " << source.size() << " characters, destination of "
                                << destination.size() << ": 0x" << std::hex << code;
        const auto copied = ReadBytes(destination);
        EXPECT_TRUE(c.code == COPY_OK ? copied == original : !copied)
            << destination.size() << "-character destination holds " << Describe(copied);
    }
}

}  // namespace
}  // namespace install
