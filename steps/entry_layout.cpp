// The entry layouts of the six steps.
#include "steps/entry_layout.hpp"

#include "engine/fields.hpp"

namespace install {

namespace {

// Indexed by StepId.
const EntryLayout kLayouts[] = {
    {2, kFieldSeparators, {&kDirectoryParentMap, nullptr}, {"parent", "directory"}},
    {2, kFieldSeparators, {&kCopySourceMap, &kCopyDestinationMap}, {"source", "destination"}},
    // The program folder step ends both fields at line ends too, and has no
    // path variables: only the selector's second character counts.
    {2, kLastFieldSeparators, {nullptr, nullptr}, {"selector", "folder"}},
    {3, kFieldSeparators, {&kLinkTargetMap, &kLinkFileMap, nullptr}, {"target", "link file", "description"}},
    {5, kFieldSeparators, {}, {"root key", "subkey", "value name", "type", "data"}},
    {3, kFieldSeparators, {&kLaunchCommandMap, nullptr, nullptr}, {"command", "name", "show"}},
};

}  // namespace

const EntryLayout& EntryLayoutOf(StepId step) {
    return kLayouts[static_cast<int>(step)];
}

bool Entry::TooLong() const {
    for (const auto& path : paths) {
        if (path.tooLong) {
            return true;
        }
    }
    return false;
}

std::optional<Entry> ReadEntry(StepId step, std::string_view line, const InstallContext& context) {
    Entry entry;
    if (!ReadEntryInto(step, line, context, entry)) {
        return std::nullopt;
    }
    return entry;
}

bool ReadEntryInto(StepId step, std::string_view line, const InstallContext& context, Entry& entry) {
    const EntryLayout& layout = EntryLayoutOf(step);
    std::array<std::string_view, kMaxEntryFields> fields;
    if (!SplitFieldsInto(line, layout.fieldCount, layout.leadingSeparators, fields.data())) {
        return false;
    }
    entry.fields.resize(layout.fieldCount);
    entry.paths.resize(layout.fieldCount);
    for (std::size_t i = 0; i < layout.fieldCount; ++i) {
        entry.fields[i].assign(fields[i]);
        if (const LetterMap* map = layout.maps[i]) {
            ExpandPathFieldInto(fields[i], *map, context, entry.paths[i]);
        } else {
            entry.paths[i].path.assign(fields[i]);
            entry.paths[i].tooLong = fields[i].size() > kMaxPathChars;
            entry.paths[i].droppedText = false;
        }
    }
    return true;
}

}  // namespace install
