// The bytes a registry entry's data text stands for.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace install {

// Converts as atoi does: blanks skipped, one sign, decimal digits up to the
// first other character, wrapping modulo 2 to the 32.
std::uint32_t DwordFromText(std::string_view text);

// "REG_DWORD": the number as 4 bytes, least significant first. The string
// types: the text with its terminating zero (two for "REG_MULTI_SZ"). Any
// other type: the text's own bytes.
std::string RegistryData(std::string_view type, std::string_view text);

}  // namespace install
