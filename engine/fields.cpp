// Splitting a script entry into fields.
#include "engine/fields.hpp"

#include <cstring>

namespace install {

namespace {

// Every entry of every step is split here. The library's searches call
// memchr on the separator set for every character; the sets are a
// character or three, so a plain loop is faster, and memchr is used the
// other way round for the commonest search: one separator.
bool IsSeparator(char c, std::string_view separators) {
    for (const char separator : separators) {
        if (c == separator) {
            return true;
        }
    }
    return false;
}

std::size_t FindSeparator(std::string_view text, std::string_view separators, bool wanted) {
    if (separators.size() == 1 && wanted) {
        const void* at = std::memchr(text.data(), separators[0], text.size());
        return at ? static_cast<std::size_t>(static_cast<const char*>(at) - text.data()) : std::string_view::npos;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsSeparator(text[i], separators) == wanted) {
            return i;
        }
    }
    return std::string_view::npos;
}

}  // namespace

std::optional<std::string_view> FieldCursor::Next(std::string_view separators) {
    const std::size_t start = FindSeparator(rest_, separators, false);
    if (start == std::string_view::npos) {
        rest_ = {};
        return std::nullopt;
    }
    rest_.remove_prefix(start);
    const std::size_t end = FindSeparator(rest_, separators, true);
    if (end == std::string_view::npos) {
        const std::string_view field = rest_;
        rest_ = {};
        return field;
    }
    const std::string_view field = rest_.substr(0, end);
    rest_.remove_prefix(end + 1);  // the separator that ended the field is used up
    return field;
}

bool SplitFieldsInto(std::string_view line, std::size_t count, std::string_view leadingSeparators,
                     std::string_view* fields) {
    FieldCursor cursor(line);
    for (std::size_t i = 0; i < count; ++i) {
        const auto field = cursor.Next(i + 1 == count ? kLastFieldSeparators : leadingSeparators);
        if (!field) {
            return false;
        }
        fields[i] = *field;
    }
    return true;
}

std::optional<std::vector<std::string>> SplitFields(std::string_view line, std::size_t count,
                                                    std::string_view leadingSeparators) {
    std::vector<std::string_view> views(count);
    if (!SplitFieldsInto(line, count, leadingSeparators, views.data())) {
        return std::nullopt;
    }
    return std::vector<std::string>(views.begin(), views.end());
}

}  // namespace install
