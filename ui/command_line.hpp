// How INSTALL.EXE reads its own command line: the program path, taken as
// the script staging takes it, then the arguments; "/S" among them asks
// for an unattended installation. Portable: the program and the native
// tests share it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace install {

// The arguments after the program path.
//
// The program path: when the line begins with a double quote, the leading
// double quotes are passed over and the path runs to the next double
// quote, as for the staging; the arguments begin right after that closing
// quote, and a path that is never closed leaves no arguments. An unquoted
// path ends at the first blank (space or tab), so that an unquoted path
// holding blanks lends its later parts to the arguments.
//
// The arguments are separated by blanks outside double quotes; double
// quotes group and are no part of an argument ("/S" is /S). A backslash is
// an ordinary character.
std::vector<std::string> CommandLineArguments(std::string_view commandLine);

// True when one of the arguments is exactly "/S" or "/s".
bool IsUnattendedRun(std::string_view commandLine);

}  // namespace install
