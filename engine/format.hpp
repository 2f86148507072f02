// printf-style formatting into a std::string, so that the system's texts
// can be kept as the format strings they are.
#pragma once

#include <string>

namespace install {

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace install
