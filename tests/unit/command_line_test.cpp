// The program's command line: the arguments after the program path, and
// the /S switch of the unattended installation.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/command_line.hpp"

namespace install {
namespace {

std::string Shown(const std::vector<std::string>& arguments) {
    std::string text = "{";
    for (const std::string& argument : arguments) {
        text += " [" + argument + "]";
    }
    return text + " }";
}

TEST(CommandLine, SplitsTheArgumentsAfterTheProgramPath) {
    // command line as the process receives it, its arguments
    const struct {
        std::string commandLine;
        std::vector<std::string> arguments;
    } cases[] = {
        {"\"C:\\DISK 1\\INSTALL.EXE\"", {}},
        {"\"C:\\DISK 1\\INSTALL.EXE\" /S", {"/S"}},
        {"\"C:\\DISK1\\INSTALL.EXE\"   /x \t /S  ", {"/x", "/S"}},
        // The quoted path ends at its closing quote, blank or none.
        {"\"C:\\DISK1\\INSTALL.EXE\"/S", {"/S"}},
        // Leading quotes are passed over, as the staging does.
        {"\"\"\"D:\\A\\INSTALL.EXE\" /s", {"/s"}},
        // A path that is never closed takes the whole line.
        {"\"C:\\DISK1\\INSTALL.EXE /S", {}},
        {"\"\"", {}},
        {"\"", {}},
        {"", {}},
        // An unquoted path ends at the first blank, space or tab.
        {"C:\\DISK1\\INSTALL.EXE /S", {"/S"}},
        {"C:\\DISK1\\INSTALL.EXE\t/S", {"/S"}},
        {"C:\\DISK1\\INSTALL.EXE", {}},
        {"C:\\MY DISK\\INSTALL.EXE /S", {"DISK\\INSTALL.EXE", "/S"}},
        {"INSTALL.EXE /d C:\\TEMP", {"/d", "C:\\TEMP"}},
        // Quotes group and are dropped; an empty pair is an argument.
        {"INSTALL.EXE \"/S\"", {"/S"}},
        {"INSTALL.EXE \"/S x\" y", {"/S x", "y"}},
        {"INSTALL.EXE \"/S\"x", {"/Sx"}},
        {"INSTALL.EXE /\"S\"", {"/S"}},
        {"INSTALL.EXE \"\" /x", {"", "/x"}},
        {"INSTALL.EXE \"a b", {"a b"}},
        // Backslashes are ordinary characters.
        {"INSTALL.EXE C:\\\"A B\\\" /x", {"C:\\A B\\", "/x"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Shown(CommandLineArguments(c.commandLine)), Shown(c.arguments))
            << "command line: " << c.commandLine;
    }
}

TEST(CommandLine, RecognisesTheUnattendedSwitchAsAnArgumentOfItsOwn) {
    // command line, whether it asks for an unattended installation
    const struct {
        std::string commandLine;
        bool unattended;
    } cases[] = {
        {"\"C:\\DISK 1\\INSTALL.EXE\" /S", true},
        {"\"C:\\DISK 1\\INSTALL.EXE\" /s", true},
        {"C:\\DISK1\\INSTALL.EXE /S", true},
        {"C:\\DISK1\\INSTALL.EXE /s", true},
        {"\"C:\\DISK1\\INSTALL.EXE\" /x /S", true},
        {"\"C:\\DISK1\\INSTALL.EXE\" /S /x", true},
        {"\"C:\\DISK1\\INSTALL.EXE\" \"/S\"", true},
        {"\"C:\\DISK1\\INSTALL.EXE\"/S", true},
        {"INSTALL.EXE /S", true},
        // The unquoted path ends at its first blank: what follows is an
        // argument, even where it was meant as part of the path.
        {"C:\\MY /S DISK\\INSTALL.EXE", true},
        {"\"C:\\DISK1\\INSTALL.EXE\"", false},
        {"C:\\DISK1\\INSTALL.EXE", false},
        {"", false},
        {"/S", false},
        {"\"C:\\DISK1\\INSTALL.EXE\" /Sx", false},
        {"\"C:\\DISK1\\INSTALL.EXE\" /SS", false},
        {"\"C:\\DISK1\\INSTALL.EXE\" -S", false},
        {"\"C:\\DISK1\\INSTALL.EXE\" S", false},
        {"\"C:\\DISK1\\INSTALL.EXE\" /", false},
        {"\"C:\\DISK1\\INSTALL.EXE\" //S", false},
        {"\"C:\\DISK1\\INSTALL.EXE\" /S/", false},
        {"\"C:\\DISK1\\INSTALL.EXE\" x/S", false},
        {"\"C:\\DISK1\\INSTALL.EXE\" \"/S x\"", false},
        // Inside the quoted path, or in a path that is never closed.
        {"\"C:\\X /S\\INSTALL.EXE\"", false},
        {"\"C:\\X /S\\INSTALL.EXE\" /x", false},
        {"\"C:\\DISK1\\INSTALL.EXE /S", false},
        {"\"\"/S", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsUnattendedRun(c.commandLine), c.unattended)
            << "command line: " << c.commandLine << "\narguments: "
            << Shown(CommandLineArguments(c.commandLine));
    }
}

}  // namespace
}  // namespace install
