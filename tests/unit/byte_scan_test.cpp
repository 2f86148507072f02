// The fast byte scans behind the text reader, held against a scan of one
// byte at a time: their sixteen-byte blocks must not change what they find
// at a block's edges, at a buffer's end or in long runs of line ends.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "engine/byte_scan.hpp"

namespace install {
namespace {

std::size_t ReferenceRunLength(const std::string& bytes) {
    std::size_t i = 0;
    while (i < bytes.size() && bytes[i] != '\n' && bytes[i] != '\r' && bytes[i] != '\x1A' && bytes[i] != '\0') {
        ++i;
    }
    return i;
}

WholeLines ReferenceWholeLines(const std::string& bytes, char mark) {
    WholeLines lines{0, 0};
    for (std::size_t i = 0; i < bytes.size() && bytes[i] != mark && bytes[i] != '\x1A'; ++i) {
        if (bytes[i] == '\n') {
            ++lines.count;
            lines.end = i + 1;
        }
    }
    return lines;
}

// Checks both scans on bytes placed at every offset of a 16-byte block, so
// that loads that straddle a block boundary are covered too.
void ExpectScansAgree(const std::string& bytes, const std::string& what) {
    for (std::size_t offset = 0; offset < 16; ++offset) {
        const std::string placed = std::string(offset, '#') + bytes;
        const char* begin = placed.data() + offset;
        EXPECT_EQ(PlainRunLength(begin, bytes.size()), ReferenceRunLength(bytes))
            << what << ", offset " << offset;
        const WholeLines got = WholeLinesBefore(begin, bytes.size(), '[');
        const WholeLines expected = ReferenceWholeLines(bytes, '[');
        EXPECT_EQ(got.count, expected.count) << what << ", offset " << offset;
        EXPECT_EQ(got.end, expected.end) << what << ", offset " << offset;
    }
}

TEST(ByteScan, AgreesWithAByteAtATimeOnChosenBuffers) {
    const std::string plain(40, 'a');
    // buffer, what it exercises
    const struct {
        std::string bytes;
        const char* what;
    } cases[] = {
        {"", "empty"},
        {"a", "one plain byte"},
        {plain, "no stop at all"},
        {std::string(15, 'a') + "\n", "LF as the last byte of the first block"},
        {std::string(16, 'a') + "\n", "LF as the first byte after a block"},
        {std::string(17, 'a') + "\r\n" + plain, "CR LF across a block"},
        {plain + std::string(1, '\0') + "\n", "NUL before LF"},
        {"ab\x1A" "cd\nef\n", "Ctrl-Z stops both"},
        {"ab\ncd[ef\ngh\n", "the mark stops the lines"},
        {"[\n\n", "the mark first"},
        {"\n\n\n" + std::string(13, 'a') + "[" + plain, "the mark in the first block, LFs before it"},
        {std::string(31, 'a') + "\n[", "LF just before a mark in the next block"},
        {plain + "\n" + plain, "a line left over at the end"},
        // Over 255 blocks of LFs: the byte-wide LF counters must not overflow.
        {std::string(255 * 16 * 3 + 7, '\n'), "only LFs, long"},
        {std::string(255 * 16, '\n') + "x[" + std::string(100, '\n'), "LFs up to a mark far in"},
    };
    for (const auto& c : cases) {
        ExpectScansAgree(c.bytes, c.what);
    }
}

TEST(ByteScan, AgreesWithAByteAtATimeOnRandomBuffers) {
    // Mostly plain bytes with the ones the scans stop at sprinkled in, so that
    // stops fall at every position of a block.
    static const char kAlphabet[] = {'a', 'b', ' ', ',', '\n', '\r', '\x1A', '\0', '[', ';', '\xFF', '\x80'};
    std::mt19937 random(20261211);
    for (int round = 0; round < 2000; ++round) {
        const std::size_t length = random() % 100;
        const unsigned plainChance = random() % 100;
        std::string bytes;
        for (std::size_t i = 0; i < length; ++i) {
            bytes.push_back(random() % 100 < plainChance ? 'a' : kAlphabet[random() % sizeof kAlphabet]);
        }
        ExpectScansAgree(bytes, "round " + std::to_string(round) + ": " + testing::PrintToString(bytes));
        if (HasFailure()) {
            return;
        }
    }
}

}  // namespace
}  // namespace install
