// The window host process and the test's handle on it.
#include "tests/wine/window_host.hpp"

#include <sstream>

#include "tests/wine/scratch_directory.hpp"

namespace install::wine_test {

namespace {

// How long any step of talking to the host may take before the test gives
// up on it; the host itself quits after kHostLifetimeMs whatever happens,
// so that a test that died never leaves it behind.
constexpr DWORD kWaitMs = 15000;
constexpr UINT kHostLifetimeMs = 60000;
// A WM_CLOSE is handled this slowly on purpose: a sender that did not wait
// for the window to handle it would return before the host records it.
constexpr DWORD kCloseHandlingMs = 100;

constexpr const char* kWindowClass = "InstallWineTestToolWindow";

std::vector<std::string> g_titles;
HANDLE g_closedEvent = nullptr;
HANDLE g_record = INVALID_HANDLE_VALUE;

// The host's record is a file the test made and reads once the host has
// ended. Not a pipe: its reader waits for every holder of the write end to
// let go, and under Wine that wait went on after the host had ended.
void Print(const std::string& line) {
    const std::string text = line + "\n";
    DWORD written = 0;
    ::WriteFile(g_record, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

LRESULT CALLBACK ToolWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        // The window stays: a real tool would go away, but a window that
        // stays is seen by every later lookup, so a lookup that wrongly
        // matched it shows as a second WM_CLOSE instead of passing unseen.
        ::Sleep(kCloseHandlingMs);
        const auto index = static_cast<std::size_t>(::GetWindowLongPtrA(window, GWLP_USERDATA));
        std::string line = index < g_titles.size() ? g_titles[index] : "<unknown window>";
        if (wParam != 0 || lParam != 0) {
            line += " (wParam=" + std::to_string(wParam) + ", lParam=" +
                    std::to_string(lParam) + ")";
        }
        Print(line);
        ::SetEvent(g_closedEvent);
        return 0;
    }
    if (message == WM_TIMER) {
        Print("window host: lifetime ran out before it was stopped");
        ::PostQuitMessage(3);
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

// Quoted for the command line of the host. The titles used are plain text;
// a quote or a trailing backslash would need escaping that is not worth it.
bool AppendQuoted(std::string& commandLine, const std::string& text) {
    if (text.find('"') != std::string::npos || (!text.empty() && text.back() == '\\')) {
        return false;
    }
    commandLine += " \"" + text + "\"";
    return true;
}

std::string ErrorText(const char* what) {
    return std::string(what) + " failed, error " + std::to_string(::GetLastError());
}

}  // namespace

int RunWindowHost(int argc, char** argv) {
    if (argc < 3) {
        return 2;
    }
    win32::UniqueFileHandle record(::CreateFileA(argv[2], FILE_APPEND_DATA,
                                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!record) {
        return 4;
    }
    g_record = record.get();
    win32::UniqueKernelHandle ready(::OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[0]));
    win32::UniqueKernelHandle closed(::OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[1]));
    if (!ready || !closed) {
        Print("window host: " + ErrorText("OpenEventA"));
        return 4;
    }
    g_closedEvent = closed.get();
    g_titles.assign(argv + 3, argv + argc);

    const HINSTANCE instance = ::GetModuleHandleA(nullptr);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ToolWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kWindowClass;
    if (!::RegisterClassA(&windowClass)) {
        Print("window host: " + ErrorText("RegisterClassA"));
        return 4;
    }
    HWND first = nullptr;
    for (std::size_t i = 0; i < g_titles.size(); ++i) {
        HWND window = ::CreateWindowExA(0, kWindowClass, g_titles[i].c_str(),
                                        WS_OVERLAPPEDWINDOW, 10, 10, 300, 80, nullptr,
                                        nullptr, instance, nullptr);
        if (!window) {
            Print("window host: " + ErrorText("CreateWindowExA") + " for \"" + g_titles[i] +
                  "\" (no X display? Wine needs DISPLAY, or the prefix's null graphics driver)");
            return 4;
        }
        ::SetWindowLongPtrA(window, GWLP_USERDATA, static_cast<LONG_PTR>(i));
        ::ShowWindow(window, SW_SHOWNOACTIVATE);
        if (!first) {
            first = window;
        }
    }
    // A timer needs a window to arrive at; with no titles there is none,
    // and then the lifetime is only the test's bounded wait.
    if (first) {
        ::SetTimer(first, 1, kHostLifetimeMs, nullptr);
    }
    ::SetEvent(ready.get());

    // Sent messages from other processes are handled inside GetMessageA.
    MSG message;
    BOOL got;
    while ((got = ::GetMessageA(&message, nullptr, 0, 0)) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    return got < 0 ? 5 : static_cast<int>(message.wParam);
}

WindowHost::WindowHost(const std::vector<std::string>& titles) {
    static int serial = 0;
    const std::string prefix = "install-wine-test-" + std::to_string(::GetCurrentProcessId()) +
                               "-" + std::to_string(++serial);
    const std::string readyName = prefix + "-ready";
    const std::string closedName = prefix + "-closed";
    ready_.reset(::CreateEventA(nullptr, TRUE, FALSE, readyName.c_str()));
    closed_.reset(::CreateEventA(nullptr, TRUE, FALSE, closedName.c_str()));
    if (!ready_ || !closed_) {
        error_ = ErrorText("CreateEventA");
        return;
    }

    char program[MAX_PATH + 1];
    const DWORD length = ::GetModuleFileNameA(nullptr, program, sizeof program);
    if (length == 0 || length >= sizeof program) {
        error_ = ErrorText("GetModuleFileNameA");
        return;
    }
    char temporary[MAX_PATH + 1];
    const DWORD temporaryLength = ::GetTempPathA(sizeof temporary, temporary);
    if (temporaryLength == 0 || temporaryLength >= sizeof temporary) {
        error_ = ErrorText("GetTempPathA");
        return;
    }
    recordPath_ = std::string(temporary) + prefix + ".txt";
    if (!win32::UniqueFileHandle(::CreateFileA(recordPath_.c_str(), GENERIC_WRITE, 0, nullptr,
                                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr))) {
        error_ = ErrorText("CreateFileA of the host's record");
        return;
    }
    std::string commandLine = "\"" + std::string(program) + "\" " + kWindowHostArgument + " " +
                              readyName + " " + closedName;
    if (!AppendQuoted(commandLine, recordPath_)) {
        error_ = "the temporary path cannot be passed on a command line: " + recordPath_;
        return;
    }
    for (const std::string& title : titles) {
        if (!AppendQuoted(commandLine, title)) {
            error_ = "title cannot be passed on a command line: \"" + title + "\"";
            return;
        }
    }

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(program, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &info)) {
        error_ = ErrorText("CreateProcessA");
        return;
    }
    process_.reset(info.hProcess);
    win32::UniqueKernelHandle thread(info.hThread);
    processId_ = info.dwProcessId;
    threadId_ = info.dwThreadId;

    const HANDLE waitFor[] = {ready_.get(), process_.get()};
    const DWORD woke = ::WaitForMultipleObjects(2, waitFor, FALSE, kWaitMs);
    if (woke == WAIT_OBJECT_0) {
        started_ = true;
        return;
    }
    std::ostringstream why;
    why << (woke == WAIT_OBJECT_0 + 1 ? "the window host ended before its windows were ready"
                                      : "the window host did not get ready in time");
    for (const std::string& line : Stop()) {
        why << "\n  host said: " << line;
    }
    error_ = why.str();
}

WindowHost::~WindowHost() {
    if (process_ && !stopped_) {
        Stop();
    }
}

bool WindowHost::CloseHandled() const {
    return closed_ && ::WaitForSingleObject(closed_.get(), 0) == WAIT_OBJECT_0;
}

std::vector<std::string> WindowHost::Stop() {
    stopped_ = true;
    if (!process_) {
        return {};
    }
    ::PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
    if (::WaitForSingleObject(process_.get(), kWaitMs) != WAIT_OBJECT_0) {
        ::TerminateProcess(process_.get(), 9);
        ::WaitForSingleObject(process_.get(), kWaitMs);
        error_ += "the window host did not quit in time and was ended";
    }

    const std::string text = ReadBytes(recordPath_).value_or("");
    ::DeleteFileA(recordPath_.c_str());
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    DWORD exitCode = 0;
    if (::GetExitCodeProcess(process_.get(), &exitCode) && exitCode != 0) {
        lines.push_back("window host exit code " + std::to_string(exitCode));
    }
    process_.reset();
    return lines;
}

}  // namespace install::wine_test
