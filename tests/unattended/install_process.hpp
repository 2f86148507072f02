// INSTALL.EXE started by a test as an administrator's script starts it:
// its standard error going to a file, its end awaited a bounded time while
// every top-level window of its process is watched for; and top-level
// windows of the test's own for it to find.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/unique_resource.hpp"

namespace install::unattended_test {

// The exit code of a process the test ends.
inline constexpr DWORD kEndedByTest = 9;

// How the program's path is written on the command line.
enum class PathForm { Quoted, Unquoted };

// How a watched run ended.
struct RunResult {
    // False when it had to be ended by the test (it did not end in time,
    // or a window appeared and the test was told to stop there).
    bool endedByItself = false;
    DWORD exitCode = 0;
    // Every top-level window of the process seen while it ran, once each:
    // "class=<class> title=<title> visible|hidden", visible when it was
    // ever seen so.
    std::vector<std::string> windows;
    std::string standardError;
    std::string standardOutput;
    // What went wrong on the test's side; empty when nothing did.
    std::string error;
};

class InstallProcess {
public:
    // Starts <folder>\INSTALL.EXE with " <arguments>" after its path, in
    // folder as the current directory; standard output and error go to
    // files of their own in outputFolder.
    InstallProcess(const std::string& folder, const std::string& arguments,
                   const std::string& outputFolder, PathForm form = PathForm::Quoted);
    InstallProcess(const InstallProcess&) = delete;
    InstallProcess& operator=(const InstallProcess&) = delete;
    // Ends the process by its handle when it is still running.
    ~InstallProcess();

    bool Started() const { return started_; }
    const std::string& Error() const { return error_; }
    const std::string& CommandLine() const { return commandLine_; }
    bool Running() const;

    // Waits at most timeoutMs for the end, looking at the top-level windows
    // of the process every few milliseconds. With stopAtWindow the process
    // is ended as soon as one is seen. Call once.
    RunResult Finish(DWORD timeoutMs, bool stopAtWindow = false);

private:
    bool started_ = false;
    std::string error_;
    std::string commandLine_;
    std::string errorPath_;
    std::string outputPath_;
    win32::UniqueKernelHandle process_;
    DWORD processId_ = 0;
};

// A hidden top-level window of the test process with the given title, made
// and served by a thread of its own. With answer false the thread does not
// take its messages until Answer(): a program that sends it a message
// waits meanwhile, as for a tool that is slow to close.
class TestWindow {
public:
    TestWindow(const std::string& title, bool answer);
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    ~TestWindow();

    bool Created() const { return created_; }
    const std::string& Error() const { return error_; }
    // Lets the thread take its messages.
    void Answer();
    // True once the window has been sent WM_CLOSE.
    bool CloseArrived() const { return closeArrived_; }

private:
    void Serve(std::string title, bool answer);
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    win32::UniqueKernelHandle ready_;
    win32::UniqueKernelHandle answer_;
    win32::UniqueKernelHandle stop_;
    bool created_ = false;
    std::string error_;
    std::atomic<bool> closeArrived_{false};
    std::thread thread_;
};

}  // namespace install::unattended_test
