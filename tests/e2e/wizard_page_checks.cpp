// Reading the pages and running an installation through them.
#include "tests/e2e/wizard_page_checks.hpp"

#include <sstream>

namespace install::e2e {

void PrintTo(const ControlState& state, std::ostream* out) {
    *out << "\"" << state.text << "\"" << (state.visible ? " visible" : " hidden")
         << (state.enabled ? " enabled" : " disabled");
}

ControlState StateOf(HWND page, int id) {
    const HWND control = ::GetDlgItem(page, id);
    if (control == nullptr) {
        return {"<no control " + std::to_string(id) + ">", false, false};
    }
    return {WindowText(control).value_or("<no answer to WM_GETTEXT>"), ::IsWindowVisible(control) != FALSE,
            ::IsWindowEnabled(control) != FALSE};
}

int CheckStateOf(HWND page, int id) {
    DWORD_PTR state = 0;
    const HWND box = ::GetDlgItem(page, id);
    if (box == nullptr) {
        return -1;
    }
    if (!::SendMessageTimeoutA(box, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &state)) {
        return -1;
    }
    return static_cast<int>(state);
}

std::string DescribeControl(HWND page, HWND control) {
    if (control == nullptr) {
        return "no window";
    }
    std::ostringstream out;
    if (::GetParent(control) == page) {
        out << "control " << ::GetDlgCtrlID(control) << " \"" << WindowText(control).value_or("?") << "\"";
    } else {
        out << "window " << control << " (" << ClassName(control) << " \"" << WindowText(control).value_or("?")
            << "\", not on the page)";
    }
    return out.str();
}

StatusTexts ReadStatusTexts(HWND progress) {
    StatusTexts texts;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        texts[i] = StateOf(progress, kStatusButtons[i]).text;
    }
    return texts;
}

void PrintTo(const SeenBox& box, std::ostream* out) {
    *out << "box \"" << box.caption << "\": \"" << box.text << "\", buttons";
    for (const int id : box.buttons) {
        *out << " " << id;
    }
    *out << ", statuses";
    for (const std::string& status : box.statuses) {
        *out << " \"" << status << "\"";
    }
}

RunResult RunInstallation(const Utility& utility, HWND progress, const std::vector<int>& answers) {
    RunResult result;
    const HWND next = ::GetDlgItem(progress, IDOK);
    if (!Click(::GetDlgItem(progress, kStart))) {
        result.problem = "could not click \"&Start\"";
        return result;
    }
    for (;;) {
        std::vector<MessageBoxView> boxes;
        const bool moved = WaitUntil(kStepWaitMs, [&] {
            boxes = utility.MessageBoxes();
            return !boxes.empty() || ::IsWindowEnabled(next) || !utility.Running();
        });
        if (!moved) {
            result.problem = "neither a message box nor an enabled \"&Next\" came in time";
            return result;
        }
        if (boxes.empty()) {
            if (!utility.Running()) {
                result.problem = "the utility ended during the run";
                return result;
            }
            result.ended = utility.Sync(progress);
            if (!result.ended) {
                result.problem = "the progress page did not answer after the run";
            }
            return result;
        }
        const MessageBoxView& box = boxes.front();
        std::vector<int> visibleButtons;
        for (const int id : box.buttons) {
            if (::IsWindowVisible(::GetDlgItem(box.window, id))) {
                visibleButtons.push_back(id);
            }
        }
        result.boxes.push_back({box.caption, box.text, visibleButtons, ReadStatusTexts(progress)});
        const std::size_t index = result.boxes.size() - 1;
        if (index >= answers.size()) {
            result.problem = "a message box more than the run expects";
            return result;
        }
        if (!Click(::GetDlgItem(box.window, answers[index]))) {
            result.problem = "the box has no button " + std::to_string(answers[index]);
            return result;
        }
        if (!WaitUntil(kStepWaitMs, [&] { return !::IsWindow(box.window) || !::IsWindowVisible(box.window); })) {
            result.problem = "the message box stayed after its button was clicked";
            return result;
        }
    }
}

}  // namespace install::e2e
