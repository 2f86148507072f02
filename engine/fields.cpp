// Splitting a script entry into fields.
#include "engine/fields.hpp"

namespace install {

std::optional<std::string_view> FieldCursor::Next(std::string_view separators) {
    const std::size_t start = rest_.find_first_not_of(separators);
    if (start == std::string_view::npos) {
        rest_ = {};
        return std::nullopt;
    }
    rest_.remove_prefix(start);
    const std::size_t end = rest_.find_first_of(separators);
    if (end == std::string_view::npos) {
        const std::string_view field = rest_;
        rest_ = {};
        return field;
    }
    const std::string_view field = rest_.substr(0, end);
    rest_.remove_prefix(end + 1);  // the separator that ended the field is used up
    return field;
}

std::optional<std::vector<std::string>> SplitFields(std::string_view line, std::size_t count,
                                                    std::string_view leadingSeparators) {
    FieldCursor cursor(line);
    std::vector<std::string> fields;
    fields.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const auto field =
            cursor.Next(i + 1 == count ? kLastFieldSeparators : leadingSeparators);
        if (!field) {
            return std::nullopt;
        }
        fields.emplace_back(*field);
    }
    return fields;
}

}  // namespace install
