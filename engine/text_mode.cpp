// Text mode of the system's files, applied in portable code above the raw
// file seam.
#include "engine/text_mode.hpp"

#include <algorithm>

#include "engine/byte_scan.hpp"

namespace install {

namespace {

constexpr int kEnd = -1;

}  // namespace

int TextReader::RawByte() {
    const int c = PeekRawByte();
    if (c != kEnd) {
        ++position_;
    }
    return c;
}

int TextReader::PeekRawByte() {
    if (position_ == length_) {
        if (ended_) {
            return kEnd;
        }
        const std::ptrdiff_t got = file_.Read(buffer_.data(), buffer_.size());
        if (got <= 0) {
            ended_ = true;  // end of file and read errors alike end the text
            return kEnd;
        }
        position_ = 0;
        length_ = static_cast<std::size_t>(got);
    }
    return static_cast<unsigned char>(buffer_[position_]);
}

int TextReader::Get() {
    const int c = RawByte();
    if (c == kCtrlZ) {
        // The text ends here for good, whatever follows in the file.
        ended_ = true;
        position_ = length_ = 0;
        return kEnd;
    }
    if (c == '\r' && PeekRawByte() == '\n') {
        ++position_;
        return '\n';
    }
    return c;
}

bool TextReader::ReadPiece(std::string& piece) {
    piece.clear();
    lastEndedLine_ = false;
    // Where the piece's text ends when a NUL came into it.
    std::size_t textEnd = std::string::npos;
    while (piece.size() < kMaxPieceChars) {
        if (position_ == length_ && PeekRawByte() == kEnd) {
            break;
        }
        // Plain bytes go over in one run; the three that text mode treats
        // apart (CR, LF, Ctrl-Z) go through Get.
        const char* begin = buffer_.data() + position_;
        const std::size_t room = std::min(length_ - position_, kMaxPieceChars - piece.size());
        const std::size_t run = PlainRunLength(begin, room);
        piece.append(begin, run);
        position_ += run;
        if (run == room) {
            continue;
        }
        if (begin[run] == '\0') {
            textEnd = std::min(textEnd, piece.size());
            piece.push_back('\0');
            ++position_;
            continue;
        }
        const int c = Get();
        if (c == kEnd) {
            break;
        }
        piece.push_back(static_cast<char>(c));
        if (c == '\n') {
            lastEndedLine_ = true;
            break;
        }
    }
    if (piece.empty()) {
        return false;
    }
    // What the line buffer holds is a C string: its text ends at a NUL.
    if (textEnd != std::string::npos) {
        piece.resize(textEnd);
    }
    return true;
}

std::size_t TextReader::SkipLinesWithout(char mark) {
    std::size_t lines = 0;
    // PeekRawByte fills the buffer again once it has been used up.
    while (PeekRawByte() != kEnd) {
        const WholeLines run = WholeLinesBefore(buffer_.data() + position_, length_ - position_, mark);
        lines += run.count;
        position_ += run.end;
        if (position_ != length_) {
            break;  // a mark, a Ctrl-Z or a line the buffer holds only part of
        }
    }
    return lines;
}

bool WriteText(IFile& file, std::string_view text) {
    std::string translated;
    translated.reserve(text.size() + 8);
    for (const char c : text) {
        if (c == '\n') {
            translated.push_back('\r');
        }
        translated.push_back(c);
    }
    return translated.empty() || file.Write(translated.data(), translated.size());
}

}  // namespace install
