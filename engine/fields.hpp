// Splitting a script entry into fields.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace install {

// Takes fields one after another from a line, each with its own separator
// characters: separators at the start of the rest are skipped (a run of
// them counts as one), a field runs to the next separator or the line's
// end, and the separator that ended it is consumed.
class FieldCursor {
public:
    explicit FieldCursor(std::string_view line) : rest_(line) {}

    // The next field, or nullopt when only separators are left.
    std::optional<std::string_view> Next(std::string_view separators);

    std::string_view Rest() const { return rest_; }

private:
    std::string_view rest_;
};

inline constexpr std::string_view kFieldSeparators = ",";
inline constexpr std::string_view kLastFieldSeparators = ",\r\n";

// The first count fields of an entry: every field but the last ends at a
// character of leadingSeparators, the last at one of ",\r\n". nullopt when
// the line has too few fields. Text after the last field is ignored.
std::optional<std::vector<std::string>> SplitFields(
    std::string_view line, std::size_t count,
    std::string_view leadingSeparators = kFieldSeparators);

// The same, as views into line: fields must have room for count. False
// when the line has too few fields.
bool SplitFieldsInto(std::string_view line, std::size_t count, std::string_view leadingSeparators,
                     std::string_view* fields);

}  // namespace install
