// The file copy primitive: result codes, handles, and what is left on disk.
#include <gtest/gtest.h>

#include "steps/copy_expand_file.hpp"
#include "tests/fake/fake_services.hpp"
#include "tests/fake/fake_system.hpp"

namespace install {
namespace {

using fake::FakeLz;
using fake::FakeSystem;

const std::string kSource = "D:\\SETUP\\FILE.TXT";
const std::string kDestination = "C:\\WINDOWS\\FILE.TXT";

TEST(CopyExpandFile, ResultCodesAndWhatTheyLeave) {
    // what, source present, destination present, mode, result, destination bytes after ("-" none)
    const struct {
        const char* what;
        bool source;
        bool destination;
        int mode;
        int result;
        std::string after;
    } cases[] = {
        {"copies", true, false, 0, COPY_OK, "new"},
        {"mode 0 replaces", true, true, 0, COPY_OK, "new"},
        {"mode 2 replaces", true, true, 2, COPY_OK, "new"},
        {"mode 1 keeps an existing destination", true, true, 1, COPY_TARGET_EXISTS, "old"},
        {"mode 1 with a missing source still reports the destination", false, true, 1, COPY_TARGET_EXISTS, "old"},
        {"mode 1 without a destination copies", true, false, 1, COPY_OK, "new"},
        {"missing source leaves the destination alone", false, true, 0, COPY_NO_SOURCE, "old"},
        {"missing source creates nothing", false, false, 0, COPY_NO_SOURCE, "-"},
    };
    for (const auto& c : cases) {
        FakeSystem system;
        system.files.directories.insert("C:\\WINDOWS");
        if (c.source) {
            system.files.files[kSource] = "new";
        }
        if (c.destination) {
            system.files.files[kDestination] = "old";
        }
        EXPECT_EQ(CopyExpandFile(system.lz, system.files, kSource.c_str(), kDestination.c_str(), c.mode), c.result)
            << c.what;
        const bool exists = system.files.files.count(kDestination) != 0;
        EXPECT_EQ(exists ? system.FileBytes(kDestination) : "-", c.after) << c.what;
        EXPECT_TRUE(system.lz.openHandles.empty()) << c.what;
    }
}

TEST(CopyExpandFile, AbsentArgumentsTouchNothing) {
    FakeSystem system;
    for (const int mode : {0, 1}) {
        EXPECT_EQ(CopyExpandFile(system.lz, system.files, nullptr, kDestination.c_str(), mode), COPY_BAD_ARGS);
        EXPECT_EQ(CopyExpandFile(system.lz, system.files, kSource.c_str(), nullptr, mode), COPY_BAD_ARGS);
    }
    EXPECT_TRUE(system.calls.empty());
}

TEST(CopyExpandFile, ClosesTheSourceWhenTheDestinationCannotBeCreated) {
    FakeSystem system;
    system.files.files[kSource] = "new";
    EXPECT_EQ(CopyExpandFile(system.lz, system.files, kSource.c_str(), "C:\\NOFOLDER\\FILE.TXT", 0),
              COPY_NO_TARGET);
    EXPECT_EQ(system.calls, (std::vector<std::string>{"lz-read D:\\SETUP\\FILE.TXT",
                                                      "lz-create C:\\NOFOLDER\\FILE.TXT",
                                                      "lz-close D:\\SETUP\\FILE.TXT"}));
}

TEST(CopyExpandFile, ClosesTheSourceFirstThenTheDestination) {
    FakeSystem system;
    system.files.directories.insert("C:\\WINDOWS");
    system.files.files[kSource] = "new";
    ASSERT_EQ(CopyExpandFile(system.lz, system.files, kSource.c_str(), kDestination.c_str(), 0), COPY_OK);
    const std::vector<std::string> lzCalls(system.calls.begin(), system.calls.begin() + 5);
    EXPECT_EQ(lzCalls, (std::vector<std::string>{"lz-read D:\\SETUP\\FILE.TXT", "lz-create C:\\WINDOWS\\FILE.TXT",
                                                 "lz-copy", "lz-close D:\\SETUP\\FILE.TXT",
                                                 "lz-close C:\\WINDOWS\\FILE.TXT"}));
}

TEST(CopyExpandFile, ATransferThatFailsOrComesOutShortIsNotACopy) {
    // what, source bytes, copy result forced, bytes written forced, result
    const struct {
        const char* what;
        std::string source;
        std::optional<std::int32_t> copyResult;
        std::optional<std::size_t> copyOnly;
        int result;
    } cases[] = {
        {"compressed, expands to what it declares", FakeLz::Compressed("expanded!", 9), {}, {}, COPY_OK},
        {"compressed, damaged: expands short", FakeLz::Compressed("expan", 9), {}, {}, COPY_TRANSFER_FAILED},
        {"compressed, disk full midway", FakeLz::Compressed("expanded!", 9), {}, 4, COPY_TRANSFER_FAILED},
        {"write error reported by the library", "plain", -4, {}, COPY_TRANSFER_FAILED},
        {"plain file", "plain", {}, {}, COPY_OK},
        {"plain file starting like a header", std::string("SZDD"), {}, {}, COPY_OK},
    };
    for (const auto& c : cases) {
        FakeSystem system;
        system.files.directories.insert("C:\\WINDOWS");
        system.files.files[kSource] = c.source;
        system.lz.copyResult = c.copyResult;
        system.lz.copyOnly = c.copyOnly;
        EXPECT_EQ(CopyExpandFile(system.lz, system.files, kSource.c_str(), kDestination.c_str(), 0), c.result)
            << c.what;
        EXPECT_EQ(system.files.files.count(kDestination) != 0, c.result == COPY_OK)
            << c.what << ": a failed transfer must leave no file under the destination name";
        EXPECT_TRUE(system.lz.openHandles.empty()) << c.what;
    }
}

}  // namespace
}  // namespace install
