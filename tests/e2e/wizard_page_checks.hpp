// What the end-to-end cases and the page tour share: reading the pages'
// controls as the user sees them, and running an installation from the
// progress page while answering its message boxes.
#pragma once

#include <windows.h>

#include <array>
#include <ostream>
#include <string>
#include <vector>

#include "tests/e2e/wizard_driver.hpp"

namespace install::e2e {

// Control numbers on the pages.
inline constexpr int kNextOptions = 1000;
inline constexpr int kLanCheck = 1001;
inline constexpr int kModemCheck = 1002;
inline constexpr int kManualCheck = 1003;
inline constexpr int kStart = 1006;
inline constexpr int kStatusButtons[] = {1010, 1011, 1012, 1013};
inline constexpr int kResultMessage = 1014;
inline constexpr int kDetail = 1019;

// A control's text and states.
struct ControlState {
    std::string text;
    bool visible = false;
    bool enabled = false;
    bool operator==(const ControlState&) const = default;
};
void PrintTo(const ControlState& state, std::ostream* out);
ControlState StateOf(HWND page, int id);

// BM_GETCHECK of a check box: BST_CHECKED, BST_UNCHECKED, or -1 when its
// thread did not answer.
int CheckStateOf(HWND page, int id);

// A control for messages: its number and text, or what else the handle is.
std::string DescribeControl(HWND page, HWND control);

using StatusTexts = std::array<std::string, 4>;
StatusTexts ReadStatusTexts(HWND progress);

// A message box met during a run, with the status texts at that moment.
struct SeenBox {
    std::string caption;
    std::string text;
    std::vector<int> buttons;
    StatusTexts statuses;
    bool operator==(const SeenBox&) const = default;
};
void PrintTo(const SeenBox& box, std::ostream* out);

struct RunResult {
    // "&Next" came on: the start sequence ended.
    bool ended = false;
    std::vector<SeenBox> boxes;
    // What went wrong on the driver's side, for the message.
    std::string problem;
};

// Clicks "&Start" and answers the message boxes that come, the i-th with
// the button answers[i], until "&Next" is enabled. A box beyond answers
// ends the run unanswered (ended stays false).
RunResult RunInstallation(const Utility& utility, HWND progress, const std::vector<int>& answers);

}  // namespace install::e2e
