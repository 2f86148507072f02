// The recording status sink of the headless runs.
#include "tests/wine/recording_status.hpp"

#include <cstdio>

namespace install::wine_test {

namespace {

constexpr const char* kPageWindowClass = "InstallHeadlessPageWindow";

// Text with control characters and bytes above 0x7E written as \r, \n or
// \xNN, so that one record line stays one line.
std::string EscapeText(const std::string& text) {
    std::string shown;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\r') {
            shown += "\\r";
        } else if (c == '\n') {
            shown += "\\n";
        } else if (byte < 0x20 || byte > 0x7e) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            shown += escaped;
        } else {
            shown += c;
        }
    }
    return shown;
}

}  // namespace

RecordingStatus::RecordingStatus(std::vector<int> answers) : answers_(std::move(answers)) {
    for (const auto& [button, label] : kStatusButtonLabels) {
        buttons_[button] = StatusButton{label, false};
    }
}

RecordingStatus::~RecordingStatus() {
    if (window_ != nullptr) {
        ::DestroyWindow(window_);
    }
}

StatusButton& RecordingStatus::ButtonFor(int button) { return buttons_[button]; }

void RecordingStatus::EnableStatusButton(int button, bool enable) {
    ButtonFor(button).enabled = enable;
}

std::string RecordingStatus::ReadStatusLabel(int button) { return ButtonFor(button).text; }

void RecordingStatus::SetStatusText(int button, const std::string& text) {
    ButtonFor(button).text = text;
    texts_.emplace_back(button, text);
}

int RecordingStatus::ShowMessageBox(const std::string& text, const std::string& caption,
                                    unsigned style) {
    MessageBoxRecord record{caption, text, style, IDCANCEL, false};
    if (nextAnswer_ < answers_.size()) {
        record.answer = answers_[nextAnswer_++];
        record.answeredFromList = true;
    } else {
        ranOut_ = true;
        std::fprintf(stderr,
                     "headless run: no answer left for message box %zu (caption \"%s\", text "
                     "\"%s\"); answered IDCANCEL\n",
                     boxes_.size() + 1, EscapeText(caption).c_str(), EscapeText(text).c_str());
    }
    boxes_.push_back(record);
    return record.answer;
}

WindowHandle RecordingStatus::PageWindow() {
    if (!windowTried_) {
        windowTried_ = true;
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = ::DefWindowProcA;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kPageWindowClass;
        // A class left registered by an earlier sink of this process is
        // the same class.
        ::RegisterClassA(&windowClass);
        // Never shown: the steps only bring it to the top of the order.
        window_ = ::CreateWindowExA(0, kPageWindowClass, "Headless progress page",
                                    WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 320, 200,
                                    nullptr, nullptr, windowClass.hInstance, nullptr);
        if (window_ == nullptr) {
            std::fprintf(stderr, "headless run: no page window (error %lu)\n", ::GetLastError());
        }
    }
    return reinterpret_cast<WindowHandle>(window_);
}

std::string RecordingStatus::Text(int button) const {
    const auto found = buttons_.find(button);
    return found == buttons_.end() ? "<no button " + std::to_string(button) + ">"
                                   : found->second.text;
}

bool RecordingStatus::Enabled(int button) const {
    const auto found = buttons_.find(button);
    return found != buttons_.end() && found->second.enabled;
}

std::vector<std::string> RecordingStatus::Lines() const {
    std::vector<std::string> lines;
    for (const auto& [button, text] : texts_) {
        lines.push_back(std::to_string(button) + " " + EscapeText(text));
    }
    for (const MessageBoxRecord& box : boxes_) {
        char style[16];
        std::snprintf(style, sizeof style, "0x%X", box.style);
        lines.push_back("box style=" + std::string(style) + " caption=" + EscapeText(box.caption) +
                        " text=" + EscapeText(box.text) + " answer=" + std::to_string(box.answer) +
                        (box.answeredFromList ? "" : " (no answer left)"));
    }
    for (const auto& [button, state] : buttons_) {
        lines.push_back("button " + std::to_string(button) +
                        (state.enabled ? " enabled " : " disabled ") + EscapeText(state.text));
    }
    return lines;
}

}  // namespace install::wine_test
