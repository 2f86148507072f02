// Starting and watching INSTALL.EXE, and the test's own windows.
#include "tests/unattended/install_process.hpp"

#include <map>
#include <utility>

#include "tests/wine/scratch_directory.hpp"

namespace install::unattended_test {

namespace {

// How often the windows of a running process are looked at.
constexpr DWORD kWatchIntervalMs = 5;
// How long a process the test ends may take to go.
constexpr DWORD kTerminateWaitMs = 10000;
// Bounds of the test windows' thread: waiting to be made, held unanswered,
// and serving in all.
constexpr DWORD kWindowReadyMs = 10000;
constexpr DWORD kWindowHoldMs = 60000;
constexpr ULONGLONG kWindowServeMs = 120000;
constexpr const char* kTestWindowClass = "UnattendedTestWindow";

struct WindowWatch {
    DWORD processId;
    // Each window seen, with its place in found and whether it was ever
    // seen visible.
    std::map<HWND, std::pair<std::size_t, bool>>* seen;
    std::vector<std::string>* found;
};

BOOL CALLBACK NoteWindow(HWND window, LPARAM parameter) {
    auto& watch = *reinterpret_cast<WindowWatch*>(parameter);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != watch.processId) {
        return TRUE;
    }
    const bool visible = ::IsWindowVisible(window) != FALSE;
    char className[256] = "";
    char title[256] = "";
    ::GetClassNameA(window, className, sizeof className);
    // For a window of another process the title is read without a message
    // to it, so a process that is stuck cannot hold the test up.
    ::GetWindowTextA(window, title, sizeof title);
    const auto [entry, added] =
        watch.seen->try_emplace(window, watch.found->size(), visible);
    if (!added && (entry->second.second || !visible)) {
        return TRUE;
    }
    // A window made hidden and shown later (a message box) is noted again
    // once visible.
    entry->second.second = visible;
    const std::string note = std::string("class=") + className + " title=" + title +
                             (visible ? " visible" : " hidden");
    if (added) {
        watch.found->push_back(note);
    } else {
        (*watch.found)[entry->second.first] = note;
    }
    return TRUE;
}

win32::UniqueFileHandle InheritableFile(const std::string& path, DWORD access, DWORD creation) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return win32::UniqueFileHandle(::CreateFileA(path.c_str(), access,
                                                 FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                                 creation, FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace

InstallProcess::InstallProcess(const std::string& folder, const std::string& arguments,
                               const std::string& outputFolder, PathForm form) {
    const std::string program = folder + "\\INSTALL.EXE";
    commandLine_ = form == PathForm::Quoted ? "\"" + program + "\"" : program;
    if (!arguments.empty()) {
        commandLine_ += " " + arguments;
    }
    static int runs = 0;
    const std::string run = std::to_string(++runs);
    errorPath_ = outputFolder + "\\stderr-" + run + ".txt";
    outputPath_ = outputFolder + "\\stdout-" + run + ".txt";

    win32::UniqueFileHandle input = InheritableFile("NUL", GENERIC_READ, OPEN_EXISTING);
    win32::UniqueFileHandle output = InheritableFile(outputPath_, GENERIC_WRITE, CREATE_ALWAYS);
    win32::UniqueFileHandle error = InheritableFile(errorPath_, GENERIC_WRITE, CREATE_ALWAYS);
    if (!input || !output || !error) {
        error_ = "cannot open the standard handles for " + commandLine_ + ", error " +
                 std::to_string(::GetLastError());
        return;
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input.get();
    startup.hStdOutput = output.get();
    startup.hStdError = error.get();
    PROCESS_INFORMATION info{};
    std::string line = commandLine_;
    if (!::CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                          folder.c_str(), &startup, &info)) {
        error_ = "CreateProcessA(" + commandLine_ + ") failed, error " +
                 std::to_string(::GetLastError());
        return;
    }
    ::CloseHandle(info.hThread);
    process_.reset(info.hProcess);
    processId_ = info.dwProcessId;
    started_ = true;
}

InstallProcess::~InstallProcess() {
    if (Running()) {
        ::TerminateProcess(process_.get(), kEndedByTest);
        ::WaitForSingleObject(process_.get(), kTerminateWaitMs);
    }
}

bool InstallProcess::Running() const {
    return process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

RunResult InstallProcess::Finish(DWORD timeoutMs, bool stopAtWindow) {
    RunResult result;
    if (!started_) {
        result.error = error_;
        return result;
    }
    std::map<HWND, std::pair<std::size_t, bool>> seen;
    WindowWatch watch{processId_, &seen, &result.windows};
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
        const DWORD wait = ::WaitForSingleObject(process_.get(), kWatchIntervalMs);
        ::EnumWindows(NoteWindow, reinterpret_cast<LPARAM>(&watch));
        if (wait == WAIT_OBJECT_0) {
            result.endedByItself = true;
            break;
        }
        if (stopAtWindow && !result.windows.empty()) {
            break;
        }
        if (::GetTickCount64() >= deadline) {
            result.error = commandLine_ + " did not end within " + std::to_string(timeoutMs) +
                           " ms";
            break;
        }
    }
    if (!result.endedByItself) {
        ::TerminateProcess(process_.get(), kEndedByTest);
        if (::WaitForSingleObject(process_.get(), kTerminateWaitMs) != WAIT_OBJECT_0) {
            result.error += "; it did not go when ended";
        }
    }
    ::GetExitCodeProcess(process_.get(), &result.exitCode);
    result.standardError = wine_test::ReadBytes(errorPath_).value_or("<no standard error file>");
    result.standardOutput = wine_test::ReadBytes(outputPath_).value_or("<no standard output file>");
    return result;
}

TestWindow::TestWindow(const std::string& title, bool answer)
    : ready_(::CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      answer_(::CreateEventA(nullptr, TRUE, answer ? TRUE : FALSE, nullptr)),
      stop_(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
    if (!ready_ || !answer_ || !stop_) {
        error_ = "cannot create the window thread's events";
        return;
    }
    thread_ = std::thread(&TestWindow::Serve, this, title, answer);
    if (::WaitForSingleObject(ready_.get(), kWindowReadyMs) != WAIT_OBJECT_0) {
        error_ = "the window \"" + title + "\" was not made in time";
    }
}

TestWindow::~TestWindow() {
    if (thread_.joinable()) {
        ::SetEvent(answer_.get());
        ::SetEvent(stop_.get());
        thread_.join();
    }
}

void TestWindow::Answer() { ::SetEvent(answer_.get()); }

LRESULT CALLBACK TestWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        ::SetWindowLongPtrA(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    } else if (message == WM_CLOSE) {
        if (auto* self = reinterpret_cast<TestWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA))) {
            self->closeArrived_ = true;
        }
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

void TestWindow::Serve(std::string title, bool answer) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kTestWindowClass;
    // Registered once per process; a second registration fails harmlessly.
    ::RegisterClassA(&windowClass);
    // Never shown: it has only to be found.
    const HWND window = ::CreateWindowExA(0, kTestWindowClass, title.c_str(), WS_OVERLAPPEDWINDOW,
                                          CW_USEDEFAULT, CW_USEDEFAULT, 200, 100, nullptr, nullptr,
                                          windowClass.hInstance, this);
    if (window == nullptr) {
        error_ = "CreateWindowExA(\"" + title + "\") failed, error " +
                 std::to_string(::GetLastError());
        ::SetEvent(ready_.get());
        return;
    }
    created_ = true;
    ::SetEvent(ready_.get());
    if (!answer) {
        ::WaitForSingleObject(answer_.get(), kWindowHoldMs);
    }
    const ULONGLONG deadline = ::GetTickCount64() + kWindowServeMs;
    const HANDLE stop = stop_.get();
    while (::GetTickCount64() < deadline &&
           ::MsgWaitForMultipleObjects(1, &stop, FALSE, 50, QS_ALLINPUT) != WAIT_OBJECT_0) {
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::DispatchMessageA(&message);
        }
    }
    if (::IsWindow(window)) {
        ::DestroyWindow(window);
    }
}

}  // namespace install::unattended_test
