// Path variables of the script's fields and the letter maps of every step.
#include "engine/path_expansion.hpp"

#include "engine/fields.hpp"

namespace install {

using C = InstallContext;

const LetterMap kDirectoryParentMap = {
    "directory parent",
    {{'S', &C::systemDir}, {'W', &C::windowsDir}, {'R', &C::systemRoot}},
    3,
    &C::systemRoot};

const LetterMap kCopySourceMap = {
    "copy source",
    {{'C', &C::sourceDir}, {'S', &C::systemDir}, {'W', &C::windowsDir}},
    3,
    &C::sourceRoot};

const LetterMap kCopyDestinationMap = {
    "copy destination",
    {{'S', &C::systemDir}, {'W', &C::windowsDir}, {'R', &C::systemRoot}},
    3,
    &C::systemRoot};

// The letter of a disk prompt's path is not looked at.
const LetterMap kDiskCheckMap = {"disk check", {}, 0, &C::sourceRoot};

const LetterMap kLinkTargetMap = {
    "link target",
    {{'D', &C::desktopDir}, {'P', &C::programsDir}, {'R', &C::systemRoot}, {'S', &C::systemDir}},
    4,
    &C::windowsDir};

const LetterMap kLinkFileMap = {
    "link file",
    {{'D', &C::desktopDir}, {'U', &C::userProgramsDir}},
    2,
    &C::programsDir};

const LetterMap kLaunchCommandMap = {
    "launch command",
    {{'S', &C::systemDir}, {'W', &C::windowsDir}, {'R', &C::systemRoot}},
    3,
    &C::systemRoot};

ContextDirectory SelectDirectory(const LetterMap& map, char letter) {
    for (int i = 0; i < map.choiceCount; ++i) {
        if (map.choices[i].letter == letter) {
            return map.choices[i].directory;
        }
    }
    return map.otherwise;
}

ExpandedPath ExpandPathField(std::string_view field, const LetterMap& map,
                             const InstallContext& context) {
    ExpandedPath result;
    ExpandPathFieldInto(field, map, context, result);
    return result;
}

void ExpandPathFieldInto(std::string_view field, const LetterMap& map, const InstallContext& context,
                         ExpandedPath& result) {
    result.droppedText = false;
    if (field.empty() || field[0] != '%') {
        result.path.assign(field);
    } else {
        const char letter = field.size() > 1 ? field[1] : '\0';
        result.path.assign(context.*SelectDirectory(map, letter));
        // Cut at "%" as fields are cut: the first piece names the variable,
        // the second is the remainder, any further piece is dropped.
        FieldCursor pieces(field);
        pieces.Next("%");
        if (const auto remainder = pieces.Next("%")) {
            result.path.append(*remainder);
            result.droppedText = pieces.Next("%").has_value();
        }
    }
    result.tooLong = result.path.size() > kMaxPathChars;
}

}  // namespace install
