// Path variables: a field that begins with "%" names a directory of the
// install context by its second character and is composed into a path.
#pragma once

#include <string>
#include <string_view>

#include "engine/install_context.hpp"

namespace install {

using ContextDirectory = std::string InstallContext::*;

struct LetterChoice {
    char letter;
    ContextDirectory directory;
};

// Which directory each letter selects for one kind of field, and the
// directory that any other character selects.
struct LetterMap {
    const char* name;
    LetterChoice choices[4];
    int choiceCount;
    ContextDirectory otherwise;
};

// Every letter map of the script's fields, kept in one place.
extern const LetterMap kDirectoryParentMap;    // directory step, parent
extern const LetterMap kCopySourceMap;         // file copy step, source
extern const LetterMap kCopyDestinationMap;    // file copy step, destination
extern const LetterMap kDiskCheckMap;          // disk prompt, path to look for
extern const LetterMap kLinkTargetMap;         // shortcut step, target
extern const LetterMap kLinkFileMap;           // shortcut step, link file
extern const LetterMap kLaunchCommandMap;      // launch step, command

ContextDirectory SelectDirectory(const LetterMap& map, char letter);

struct ExpandedPath {
    std::string path;        // the whole composed text, never cut
    bool tooLong = false;    // longer than the 259 characters a path may hold
    bool droppedText = false; // the field had text after its third "%", which the path leaves out
};

// The path a field stands for: the composed path for a field that begins
// with "%", the field itself otherwise.
ExpandedPath ExpandPathField(std::string_view field, const LetterMap& map,
                             const InstallContext& context);
// The same into result, reusing the room it has: for callers that compose
// many paths.
void ExpandPathFieldInto(std::string_view field, const LetterMap& map, const InstallContext& context,
                         ExpandedPath& result);

}  // namespace install
