// Disk prompts of the file copy step: "(message,check path[,option])" asks
// for another installation disk and checks that it is there.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/status_operations.hpp"
#include "engine/system/files.hpp"

namespace install {

struct DiskPrompt {
    std::string message;
    std::string checkPath;  // as written, before path variables are composed
};

// The prompt a line asks for; nullopt when the line is refused (no message,
// no check path, or tied to an option that was not chosen).
std::optional<DiskPrompt> ParseDiskPrompt(std::string_view line, std::uint32_t optionMask);

inline constexpr const char* kDiskPromptCaption = "Installation Message";
inline constexpr const char* kRetryCaption = "Installation Error";
inline constexpr const char* kRetryText =
    "Please verify your installation disk or click CANCEL to cancel installation";

// Shows the prompt, then checks for the path, asking again until it is
// there; false when the user cancels.
bool AskForDisk(const std::string& message, const std::string& checkPath, IFiles& files,
                IStatusOperations& status);

}  // namespace install
