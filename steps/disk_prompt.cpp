// Disk prompts of the file copy step.
#include "steps/disk_prompt.hpp"

#include "engine/fields.hpp"
#include "engine/script_reader.hpp"

namespace install {

DiskPromptLine ReadDiskPrompt(std::string_view line, std::uint32_t optionMask) {
    FieldCursor cursor(line);
    const auto message = cursor.Next("(,");
    if (!message) {
        return {std::nullopt, "it has no message"};
    }
    auto checkPath = cursor.Next(",)");
    if (!checkPath) {
        return {std::nullopt, "it has no path to check"};
    }
    // A check path without its closing ")" runs to the line end, which is
    // no part of any name.
    const bool runsToLineEnd = checkPath->data() + checkPath->size() == line.data() + line.size();
    while (!checkPath->empty() && (checkPath->back() == '\n' || checkPath->back() == '\r')) {
        checkPath->remove_suffix(1);
    }
    if (const auto option = cursor.Next(",)"); option && option->size() > 1) {
        const std::uint32_t bit = OptionBitForLetter((*option)[1]);
        if (bit != 0 && (optionMask & bit) == 0) {
            return {std::nullopt, std::string("it is tied to option ") + (*option)[1] + ", which was not chosen"};
        }
    }
    return {DiskPrompt{std::string(*message), std::string(*checkPath), runsToLineEnd}, {}};
}

bool AskForDisk(const std::string& message, const std::string& checkPath, IFiles& files,
                IStatusOperations& status) {
    constexpr unsigned kStyle = kMbIconWarning | kMbSetForeground;
    for (;;) {
        // The prompt is shown even when the right disk is in already.
        status.ShowMessageBox(message, kDiskPromptCaption, kMbOk | kStyle);
        if (files.Exists(checkPath)) {
            return true;
        }
        if (status.ShowMessageBox(kRetryText, kRetryCaption, kMbOkCancel | kStyle) == kIdCancel) {
            return false;
        }
    }
}

}  // namespace install
