// Where the install script is staged from and to, and what the user is told
// when it cannot be. Portable: the wizard's staging step and the native
// tests share it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/system/system.hpp"

namespace install {

inline constexpr const char* kScriptName = "SETUP.INP";

// The script beside the program: the program path's folder (up to its last
// backslash) and "SETUP.INP"; "SETUP.INP" alone, in the current directory,
// when the path holds no backslash or there is no program path at all.
std::string ScriptSourcePath(std::string_view commandLine);

// The staged copy in the Windows directory.
std::string ScriptDestinationPath(const std::string& windowsDir);

// The message for a copy result, or nullopt when staging succeeded.
std::optional<std::string> StagingMessage(int copyResult, const std::string& source,
                                          const std::string& destination);

// Copies (expanding) the script beside the program into the Windows
// directory: nullopt when it is staged, otherwise the message for the user.
std::optional<std::string> StageScript(System& system, std::string_view commandLine, const std::string& windowsDir);

inline constexpr const char* kStagingCaption = "Installation Error";

// The command that shows the log in the editor of the Windows directory.
std::string LogViewerCommand(const std::string& windowsDir);

}  // namespace install
