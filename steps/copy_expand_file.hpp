// Copies one file, expanding it when it is compressed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/system/files.hpp"
#include "engine/system/lz_expand.hpp"

namespace install {

inline constexpr int COPY_OK = 0;
inline constexpr int COPY_BAD_ARGS = 2;
inline constexpr int COPY_NO_SOURCE = 0x2001;
inline constexpr int COPY_TARGET_EXISTS = 0x2002;
inline constexpr int COPY_NO_TARGET = 0x2003;
// Both files opened, but the transfer failed or came out short; the partial
// destination has been removed.
inline constexpr int COPY_TRANSFER_FAILED = 0x2004;

// Mode 1 leaves an existing destination alone; any other mode replaces it.
// source or destination may be absent (nullptr).
int CopyExpandFile(ILzExpand& lz, IFiles& files, const char* source, const char* destination,
                   int mode);

// The size a compressed file declares for its expanded contents; nullopt
// for a file that is not compressed or cannot be read.
std::optional<std::uint32_t> DeclaredExpandedSize(IFiles& files, const std::string& path);

}  // namespace install
