// Text mode of the system's files: CR LF reads as LF, a lone CR stays,
// Ctrl-Z ends the text being read; LF is written as CR LF.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "engine/system/files.hpp"

namespace install {

// Longest piece of a line judged at once: a 256-byte buffer less its NUL.
inline constexpr std::size_t kMaxPieceChars = 255;

class TextReader {
public:
    // The file is read in blocks of this size.
    static constexpr std::size_t kBufferSize = 65536;

    explicit TextReader(IFile& file) : file_(file) {}

    // The next character of the text, or -1 at its end (end of file, a
    // Ctrl-Z, or a read error).
    int Get();

    // Reads one piece as a 256-byte line buffer takes it: at most 255
    // characters, ending after an LF. The piece is a C string: a NUL byte
    // ends its text, and what follows the NUL up to the piece's end is
    // dropped. Returns false when the text had ended before the piece.
    bool ReadPiece(std::string& piece);
    // Whether the last piece read ended its line with an LF (a NUL may have
    // cut the LF off the piece's text).
    bool LastPieceEndedLine() const { return lastEndedLine_; }

    // Passes over the whole lines ahead that hold neither the byte mark nor a
    // Ctrl-Z, without reading them as pieces, and returns how many LFs it
    // passed. No piece of a line passed over can begin with mark. It stops
    // before the first line it cannot pass over whole.
    std::size_t SkipLinesWithout(char mark);

private:
    int RawByte();
    int PeekRawByte();

    IFile& file_;
    std::array<char, kBufferSize> buffer_{};
    std::size_t position_ = 0;
    std::size_t length_ = 0;
    bool ended_ = false;
    bool lastEndedLine_ = false;
};

// Writes text with every LF turned into CR LF. False when a write failed.
bool WriteText(IFile& file, std::string_view text);

}  // namespace install
