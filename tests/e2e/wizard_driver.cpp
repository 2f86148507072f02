// The driver's hands and eyes on the utility's windows.
#include "tests/e2e/wizard_driver.hpp"

#include <tlhelp32.h>

#include <cstdio>
#include <sstream>

namespace install::e2e {

namespace {

// How long the utility's thread may take to answer a sent message. It
// answers while it waits in a message loop, its pages' or a message box's;
// it does not while a step works, which is short.
constexpr UINT kAnswerMs = 5000;

void ServeOwnMessages() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
}

int MarkerControl(Page page) {
    switch (page) {
        case Page::Options:
            return 1003;  // "Install On-line Manual"
        case Page::Progress:
            return 1006;  // "&Start"
        case Page::Finish:
            return 1019;  // "&Detail"
    }
    return 0;
}

bool IsPage(HWND window) {
    for (const Page page : {Page::Options, Page::Progress, Page::Finish}) {
        if (::GetDlgItem(window, MarkerControl(page)) != nullptr) {
            return true;
        }
    }
    return false;
}

// Visible top-level dialogs of a process.
std::vector<HWND> VisibleDialogsOf(DWORD processId) {
    std::vector<HWND> dialogs;
    for (const HWND window : TopLevelWindows()) {
        if (ProcessOf(window) == processId && ::IsWindowVisible(window) &&
            ClassName(window) == "#32770") {
            dialogs.push_back(window);
        }
    }
    return dialogs;
}

}  // namespace

bool WaitUntil(DWORD ms, const std::function<bool()>& condition) {
    const ULONGLONG deadline = ::GetTickCount64() + ms;
    for (;;) {
        ServeOwnMessages();
        if (condition()) {
            return true;
        }
        if (::GetTickCount64() >= deadline) {
            return false;
        }
        ::Sleep(50);
    }
}

std::optional<std::string> WindowText(HWND window) {
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kAnswerMs, &length)) {
        return std::nullopt;
    }
    std::string text(length + 1, '\0');
    DWORD_PTR got = 0;
    if (!::SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                               SMTO_ABORTIFHUNG, kAnswerMs, &got)) {
        return std::nullopt;
    }
    text.resize(got <= length ? got : length);
    return text;
}

std::string ClassName(HWND window) {
    char name[256] = "";
    ::GetClassNameA(window, name, sizeof name);
    return name;
}

DWORD ProcessOf(HWND window) {
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    return processId;
}

std::vector<HWND> TopLevelWindows() {
    std::vector<HWND> windows;
    ::EnumWindows(
        [](HWND window, LPARAM list) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::string DescribeWindowsOf(DWORD processId) {
    std::ostringstream out;
    out << "top-level windows of process " << processId << ":";
    bool any = false;
    for (const HWND window : TopLevelWindows()) {
        if (ProcessOf(window) != processId) {
            continue;
        }
        any = true;
        char title[256] = "";
        // Not WM_GETTEXT: for another process's window GetWindowTextA reads
        // the stored title without asking a process that may not answer.
        ::GetWindowTextA(window, title, sizeof title);
        out << "\n  " << window << " " << ClassName(window) << " \"" << title << "\""
            << (::IsWindowVisible(window) ? " visible" : " hidden")
            << (::IsIconic(window) ? " minimized" : "")
            << (::IsWindowEnabled(window) ? "" : " disabled");
    }
    if (!any) {
        out << " none";
    }
    return out.str();
}

bool Click(HWND button) {
    return button != nullptr && ::PostMessageA(button, BM_CLICK, 0, 0) != FALSE;
}

Utility::~Utility() { End(); }

bool Utility::Start(const std::string& program, const std::string& directory) {
    std::string commandLine = "\"" + program + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          directory.c_str(), &startup, &info)) {
        error_ = "CreateProcessA(" + program + ") failed, error " + std::to_string(::GetLastError());
        return false;
    }
    process_.reset(info.hProcess);
    ::CloseHandle(info.hThread);
    processId_ = info.dwProcessId;
    threadId_ = info.dwThreadId;
    return true;
}

bool Utility::Running() const {
    return process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

bool Utility::WaitForExit(DWORD ms) const {
    return process_ && ::WaitForSingleObject(process_.get(), ms) == WAIT_OBJECT_0;
}

std::optional<DWORD> Utility::ExitCode() const {
    DWORD code = 0;
    if (!process_ || Running() || !::GetExitCodeProcess(process_.get(), &code)) {
        return std::nullopt;
    }
    return code;
}

void Utility::End() {
    if (Running()) {
        ::TerminateProcess(process_.get(), 9);
        ::WaitForSingleObject(process_.get(), kStepWaitMs);
    }
}

HWND Utility::FindPage(Page page) const {
    for (const HWND window : VisibleDialogsOf(processId_)) {
        char title[128] = "";
        ::GetWindowTextA(window, title, sizeof title);
        if (std::string(title) == kPageTitle && ::GetDlgItem(window, MarkerControl(page)) != nullptr) {
            return window;
        }
    }
    return nullptr;
}

HWND Utility::WaitForPage(Page page, DWORD ms) const {
    HWND found = nullptr;
    WaitUntil(ms, [&] { return (found = FindPage(page)) != nullptr; });
    return found;
}

std::vector<MessageBoxView> Utility::MessageBoxes() const {
    std::vector<MessageBoxView> boxes;
    for (const HWND window : VisibleDialogsOf(processId_)) {
        if (IsPage(window)) {
            continue;
        }
        MessageBoxView box;
        box.window = window;
        box.caption = WindowText(window).value_or("<no answer>");
        for (HWND child = ::GetWindow(window, GW_CHILD); child != nullptr;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
            const std::string type = ClassName(child);
            if (type == "Button") {
                box.buttons.push_back(::GetDlgCtrlID(child));
            } else if (type == "Static" && (::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) {
                const std::string text = WindowText(child).value_or("<no answer>");
                if (!text.empty()) {
                    box.text += text;
                }
            }
        }
        boxes.push_back(std::move(box));
    }
    return boxes;
}

std::optional<MessageBoxView> Utility::WaitForMessageBox(DWORD ms) const {
    std::optional<MessageBoxView> found;
    WaitUntil(ms, [&] {
        auto boxes = MessageBoxes();
        if (boxes.empty()) {
            return false;
        }
        found = std::move(boxes.front());
        return true;
    });
    return found;
}

std::vector<HWND> Utility::VisibleWindows() const {
    std::vector<HWND> windows;
    for (const HWND window : TopLevelWindows()) {
        if (ProcessOf(window) == processId_ && ::IsWindowVisible(window)) {
            windows.push_back(window);
        }
    }
    return windows;
}

HWND Utility::FocusedWindow() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!::GetGUIThreadInfo(threadId_, &info)) {
        return nullptr;
    }
    return info.hwndFocus;
}

bool Utility::Sync(HWND page) const {
    DWORD_PTR ignored = 0;
    return ::SendMessageTimeoutA(page, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kAnswerMs, &ignored) != 0;
}

std::set<DWORD> ProcessesNamed(const char* exeName) {
    std::set<DWORD> found;
    const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return found;
    }
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32First(snapshot, &entry); more; more = ::Process32Next(snapshot, &entry)) {
        if (::lstrcmpiA(entry.szExeFile, exeName) == 0) {
            found.insert(entry.th32ProcessID);
        }
    }
    ::CloseHandle(snapshot);
    return found;
}

bool EndProcess(DWORD processId) {
    win32::UniqueKernelHandle process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId));
    if (!process) {
        // Gone already, or never there.
        return ::GetLastError() == ERROR_INVALID_PARAMETER;
    }
    ::TerminateProcess(process.get(), 9);
    return ::WaitForSingleObject(process.get(), kStepWaitMs) == WAIT_OBJECT_0;
}

}  // namespace install::e2e
