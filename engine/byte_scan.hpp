// Fast scans of a script's raw bytes for the text reader: every step reads
// the whole script for its section, so these scans are most of what
// reading a script costs.
#pragma once

#include <cstddef>

namespace install {

// Ctrl-Z: in text mode it ends the text being read.
inline constexpr char kCtrlZ = 0x1A;

// The index of the first byte in [begin, begin + count) that a line
// buffer cannot take over as it is: LF, CR and Ctrl-Z (text mode treats
// them apart) and NUL (it ends a piece's text); count when there is none.
std::size_t PlainRunLength(const char* begin, std::size_t count);

struct WholeLines {
    std::size_t count;  // the LFs that end them
    std::size_t end;    // the index just after the last of those LFs; 0 when none
};

// The whole lines at the start of [begin, begin + count) that come before
// the first byte that is mark or Ctrl-Z.
WholeLines WholeLinesBefore(const char* begin, std::size_t count, char mark);

}  // namespace install
