// Disk prompts of the file copy step: "(message,check path[,option])" asks
// for another installation disk and checks that it is there.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/script_reader.hpp"
#include "engine/status_operations.hpp"
#include "engine/system/files.hpp"

namespace install {

struct DiskPrompt {
    std::string message;
    std::string checkPath;  // as written, before path variables are composed
    // No "," or ")" closed the check path: it ran to the line end.
    bool runsToLineEnd = false;
};

struct DiskPromptLine {
    std::optional<DiskPrompt> prompt;
    std::string refusal;  // why the line was refused, when it was
};

// The prompt a line asks for, or why it is refused (no message, no check
// path, or tied to an option that was not chosen).
DiskPromptLine ReadDiskPrompt(std::string_view line, std::uint32_t optionMask);

inline std::optional<DiskPrompt> ParseDiskPrompt(std::string_view line, std::uint32_t optionMask) {
    return ReadDiskPrompt(line, optionMask).prompt;
}

// The file copy step's second gate: every disk prompt line closes it; a
// prompt accepted and confirmed opens it again, and the option gate with it.
class DiskGate {
public:
    bool IsOpen() const { return open_; }
    void Close() { open_ = false; }
    void Confirm(ScriptReader& reader) {
        open_ = true;
        reader.SetGate(true);
    }

private:
    bool open_ = true;
};

inline constexpr const char* kDiskPromptCaption = "Installation Message";
inline constexpr const char* kRetryCaption = "Installation Error";
inline constexpr const char* kRetryText =
    "Please verify your installation disk or click CANCEL to cancel installation";

// Shows the prompt, then checks for the path, asking again until it is
// there; false when the user cancels.
bool AskForDisk(const std::string& message, const std::string& checkPath, IFiles& files,
                IStatusOperations& status);

}  // namespace install
