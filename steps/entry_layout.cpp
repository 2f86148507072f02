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
    const EntryLayout& layout = EntryLayoutOf(step);
    auto fields = SplitFields(line, layout.fieldCount, layout.leadingSeparators);
    if (!fields) {
        return std::nullopt;
    }
    Entry entry;
    entry.fields = std::move(*fields);
    for (std::size_t i = 0; i < entry.fields.size(); ++i) {
        const LetterMap* map = layout.maps[i];
        entry.paths.push_back(map ? ExpandPathField(entry.fields[i], *map, context)
                                  : ExpandedPath{entry.fields[i], entry.fields[i].size() > kMaxPathChars});
    }
    return entry;
}

}  // namespace install
