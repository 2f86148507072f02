// Text mode at the byte level: what the steps see of a file, and what the
// log holds on disk.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/text_mode.hpp"
#include "tests/fake/fake_system.hpp"

namespace install {
namespace {

using fake::FakeSystem;

std::vector<std::string> Pieces(const std::string& bytes) {
    FakeSystem system;
    system.files.files["F"] = bytes;
    auto file = system.files.Open("F", FileMode::Read);
    TextReader reader(*file);
    std::vector<std::string> pieces;
    std::string piece;
    while (reader.ReadPiece(piece)) {
        pieces.push_back(piece);
    }
    return pieces;
}

TEST(TextMode, ReadsPiecesAsTheLineBufferDoes) {
    const std::string longLine(300, 'x');
    // bytes on disk, pieces the reader gives
    const struct {
        std::string bytes;
        std::vector<std::string> pieces;
    } cases[] = {
        {"", {}},
        {"AB\r\nCD\r\n", {"AB\n", "CD\n"}},
        {"AB\nCD", {"AB\n", "CD"}},
        {"A\rB\r\n", {"A\rB\n"}},              // a lone CR stays
        {"A\r\r\nB", {"A\r\n", "B"}},          // only the CR right before LF goes
        {"AB\r", {"AB\r"}},                    // CR at the end of the file stays
        {"AB\x1A" "CD\r\nEF\r\n", {"AB"}},     // Ctrl-Z ends the text mid-line
        {"AB\r\n\x1A\r\nCD\r\n", {"AB\n"}},
        {"\x1A", {}},
        {"A\r\x1A", {"A\r"}},
        {std::string("AB\0CD\r\nEF\r\n", 11), {"AB", "EF\n"}},  // a NUL ends the piece's text
        {std::string("\0\r\n", 3), {""}},
        {longLine + "\r\n", {longLine.substr(0, 255), std::string(45, 'x') + "\n"}},
        {std::string(255, 'y') + "\r\n", {std::string(255, 'y'), "\n"}},
        {std::string(254, 'y') + "\r\n", {std::string(254, 'y') + "\n"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Pieces(c.bytes), c.pieces) << "bytes: " << testing::PrintToString(c.bytes);
    }
}

TEST(TextMode, JoinsCrLfAcrossTheReadBuffer) {
    // A CR LF pair split between two fills of the reader's buffer is still
    // one LF.
    constexpr std::size_t kLast = TextReader::kBufferSize - 1;
    std::string bytes = std::string(kLast, 'a') + "\r\nZZ\r\n";
    ASSERT_EQ(bytes[kLast], '\r');
    const auto pieces = Pieces(bytes);
    ASSERT_FALSE(pieces.empty());
    EXPECT_EQ(pieces.back(), "ZZ\n");
    EXPECT_EQ(pieces[pieces.size() - 2], std::string(kLast % 255, 'a') + "\n");
    for (const auto& piece : pieces) {
        EXPECT_EQ(piece.find('\r'), std::string::npos) << piece;
    }
}

TEST(TextMode, ReadErrorEndsTheText) {
    FakeSystem system;
    system.files.files["F"] = "AB\r\nCD\r\nEF\r\n";
    system.files.failReadAfter["F"] = 4;
    auto file = system.files.Open("F", FileMode::Read);
    TextReader reader(*file);
    std::string piece;
    ASSERT_TRUE(reader.ReadPiece(piece));
    EXPECT_EQ(piece, "AB\n");
    EXPECT_FALSE(reader.ReadPiece(piece));
}

TEST(TextMode, WritesLfAsCrLf) {
    // text written, bytes on disk
    const struct {
        std::string text;
        std::string bytes;
    } cases[] = {
        {"Installation Log\n", "Installation Log\r\n"},
        {"\n##UPDATE SHORTCUT##\n\n", "\r\n##UPDATE SHORTCUT##\r\n\r\n"},
        {"no line end", "no line end"},
        {"A\r\nB", "A\r\r\nB"},  // every LF gets its CR, as text mode writes it
        {"", ""},
    };
    for (const auto& c : cases) {
        FakeSystem system;
        {
            auto file = system.files.Open("F", FileMode::Create);
            EXPECT_TRUE(WriteText(*file, c.text));
        }
        EXPECT_EQ(system.FileBytes("F"), c.bytes) << "text: " << testing::PrintToString(c.text);
    }
}

}  // namespace
}  // namespace install
