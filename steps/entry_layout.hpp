// How each step splits its entries into fields and which fields are path
// variables: one table that the steps and the script checker share.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/install_context.hpp"
#include "engine/path_expansion.hpp"
#include "engine/script_reader.hpp"

namespace install {

inline constexpr std::size_t kMaxEntryFields = 5;

struct EntryLayout {
    std::size_t fieldCount;
    // Where every field but the last ends; the last ends at ",\r\n".
    std::string_view leadingSeparators;
    // The letter map of each path-variable field; nullptr where the field is
    // used as written.
    std::array<const LetterMap*, kMaxEntryFields> maps;
    std::array<const char*, kMaxEntryFields> names;
};

const EntryLayout& EntryLayoutOf(StepId step);

struct Entry {
    std::vector<std::string> fields;
    // Each field as the step uses it: composed where it is a path variable,
    // as written otherwise.
    std::vector<ExpandedPath> paths;

    bool TooLong() const;
};

// The entry a line holds for a step; nullopt when it has too few fields.
std::optional<Entry> ReadEntry(StepId step, std::string_view line, const InstallContext& context);
// The same into entry, reusing the room it has: for callers that read
// many. False when the line has too few fields.
bool ReadEntryInto(StepId step, std::string_view line, const InstallContext& context, Entry& entry);

}  // namespace install
