// Path variables: composing a field into a path.
#include <gtest/gtest.h>

#include <string>

#include "engine/path_expansion.hpp"

namespace install {
namespace {

InstallContext SampleContext() {
    InstallContext context;
    context.windowsDir = "C:\\WINDOWS";
    context.systemDir = "C:\\WINDOWS\\SYSTEM";
    context.systemRoot = "C:";
    context.sourceDir = "D:\\SETUP";
    context.sourceRoot = "D:";
    context.desktopDir = "C:\\WINDOWS\\Desktop";
    context.programsDir = "C:\\WINDOWS\\Start Menu\\Programs";
    context.userProgramsDir = "C:\\WINNT\\Profiles\\ann\\Start Menu\\Programs";
    return context;
}

TEST(ExpandPathField, ComposesByTheDirectoryStepsMap) {
    const InstallContext context = SampleContext();
    // field, path
    const struct {
        std::string field;
        std::string path;
    } cases[] = {
        {"%W%\\HELP", "C:\\WINDOWS\\HELP"},
        {"%WINDIR%\\HELP", "C:\\WINDOWS\\HELP"},
        {"%W%HELP", "C:\\WINDOWSHELP"},
        {"%W%\\A%B", "C:\\WINDOWS\\A"},
        {"%W%%\\A", "C:\\WINDOWS\\A"},
        {"%W%", "C:\\WINDOWS"},
        {"%W", "C:\\WINDOWS"},
        {"%R%\\TEMP", "C:\\TEMP"},
        {"%X%\\TEMP", "C:\\TEMP"},
        {"%", "C:"},
        {"%%\\TEMP", "C:"},  // a second "%" is no letter; the name piece is \TEMP
        {" C:\\DIR", " C:\\DIR"},
        {"C:\\A%W%", "C:\\A%W%"},  // a "%" that is not first is used as written
        {"%S%\\DRIVERS", "C:\\WINDOWS\\SYSTEM\\DRIVERS"},
        {"%w%\\HELP", "C:\\HELP"},  // letters are case-sensitive
    };
    for (const auto& c : cases) {
        const ExpandedPath expanded = ExpandPathField(c.field, kDirectoryParentMap, context);
        EXPECT_EQ(expanded.path, c.path) << "field: " << c.field;
        EXPECT_FALSE(expanded.tooLong) << "field: " << c.field;
    }
}

TEST(ExpandPathField, SaysWhenItLeavesTextOut) {
    const InstallContext context = SampleContext();
    // field, whether text after the third "%" is left out
    const struct {
        std::string field;
        bool dropped;
    } cases[] = {
        {"%W%\\HELP", false},
        {"%W%\\A%B", true},
        {"%W%\\NOTEPAD.EXE %W%\\README.TXT", true},
        {"%W%\\A%", false},      // only "%" after the third
        {"%W%\\A%%%", false},
        {"%W%%\\A%%B", true},    // runs of "%" count as one
        {"%W", false},
        {"%%%", false},
        {"C:\\A%B%C", false},    // no path variable: used as written
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExpandPathField(c.field, kDirectoryParentMap, context).droppedText, c.dropped)
            << "field: " << c.field;
    }
}

TEST(ExpandPathField, EachFieldHasItsOwnLetters) {
    const InstallContext context = SampleContext();
    // map, letter, directory the letter selects
    const struct {
        const LetterMap* map;
        char letter;
        std::string directory;
    } cases[] = {
        {&kDirectoryParentMap, 'S', context.systemDir},
        {&kDirectoryParentMap, 'W', context.windowsDir},
        {&kDirectoryParentMap, 'R', context.systemRoot},
        {&kDirectoryParentMap, 'C', context.systemRoot},
        {&kCopySourceMap, 'C', context.sourceDir},
        {&kCopySourceMap, 'S', context.systemDir},
        {&kCopySourceMap, 'W', context.windowsDir},
        {&kCopySourceMap, 'R', context.sourceRoot},
        {&kCopySourceMap, 'Q', context.sourceRoot},
        {&kCopyDestinationMap, 'C', context.systemRoot},
        {&kCopyDestinationMap, 'S', context.systemDir},
        {&kCopyDestinationMap, 'W', context.windowsDir},
        {&kCopyDestinationMap, 'R', context.systemRoot},
        {&kDiskCheckMap, 'C', context.sourceRoot},
        {&kDiskCheckMap, 'W', context.sourceRoot},
        {&kLinkTargetMap, 'D', context.desktopDir},
        {&kLinkTargetMap, 'P', context.programsDir},
        {&kLinkTargetMap, 'R', context.systemRoot},
        {&kLinkTargetMap, 'S', context.systemDir},
        {&kLinkTargetMap, 'U', context.windowsDir},
        {&kLinkTargetMap, 'W', context.windowsDir},
        {&kLinkFileMap, 'D', context.desktopDir},
        {&kLinkFileMap, 'P', context.programsDir},
        {&kLinkFileMap, 'R', context.programsDir},
        {&kLinkFileMap, 'S', context.programsDir},
        {&kLinkFileMap, 'U', context.userProgramsDir},
        {&kLaunchCommandMap, 'S', context.systemDir},
        {&kLaunchCommandMap, 'W', context.windowsDir},
        {&kLaunchCommandMap, 'R', context.systemRoot},
        {&kLaunchCommandMap, 'X', context.systemRoot},
    };
    for (const auto& c : cases) {
        const std::string field = std::string("%") + c.letter + "%\\F";
        EXPECT_EQ(ExpandPathField(field, *c.map, context).path, c.directory + "\\F")
            << c.map->name << " letter " << c.letter;
    }
}

TEST(ExpandPathField, ReportsAPathLongerThan259CharactersWithoutCuttingIt) {
    InstallContext context = SampleContext();
    context.windowsDir = "C:\\" + std::string(250, 'W');  // 253 characters
    // remainder, too long
    const struct {
        std::string remainder;
        bool tooLong;
    } cases[] = {
        {"\\ABCDE", false},   // 259
        {"\\ABCDEF", true},   // 260
        {"\\" + std::string(200, 'x'), true},
    };
    for (const auto& c : cases) {
        const ExpandedPath expanded = ExpandPathField("%W%" + c.remainder, kDirectoryParentMap, context);
        EXPECT_EQ(expanded.tooLong, c.tooLong) << "length " << expanded.path.size();
        EXPECT_EQ(expanded.path, context.windowsDir + c.remainder);
    }
}

}  // namespace
}  // namespace install
