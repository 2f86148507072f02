// printf-style formatting into a std::string.
#include "engine/format.hpp"

#include <cstdarg>
#include <cstdio>

namespace install {

std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    std::string text;
    if (length > 0) {
        text.resize(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(text.data(), text.size(), format, args);
        text.resize(static_cast<std::size_t>(length));
    }
    va_end(args);
    return text;
}

}  // namespace install
