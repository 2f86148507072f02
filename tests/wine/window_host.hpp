// A second process that holds top-level windows for the tests to find and
// close, recording every WM_CLOSE that reaches them.
//
// The windows live in another process because the real tools' windows do:
// SendMessageA to a window of the calling thread just calls its window
// procedure, while to another process it has to be queued, wait for the
// host's message loop to take it, and only then return. Only the second is
// what the installer meets.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/unique_resource.hpp"

namespace install::wine_test {

inline constexpr const char* kWindowHostArgument = "--window-host";

// The host's side: runs in the child process. Its arguments, after
// kWindowHostArgument: the names of the ready and closed events, the record
// file, then the titles. Returns the process's exit code.
int RunWindowHost(int argc, char** argv);

// The test's side.
class WindowHost {
public:
    // Starts a host with one window for each title, created in this order,
    // and waits (a bounded time) until all of them exist. Check Started().
    explicit WindowHost(const std::vector<std::string>& titles);
    WindowHost(const WindowHost&) = delete;
    WindowHost& operator=(const WindowHost&) = delete;
    // Stops a host that was not stopped.
    ~WindowHost();

    bool Started() const { return started_; }
    // Why the host did not start, or what went wrong while stopping it.
    const std::string& Error() const { return error_; }

    DWORD ProcessId() const { return processId_; }

    // True once any window of the host has handled a WM_CLOSE.
    bool CloseHandled() const;

    // Ends the host and returns the WM_CLOSE arrivals it recorded, oldest
    // first: each is the title of the window, followed by its parameters
    // when they were not both 0. Anything else the host printed (its own
    // errors) comes along as further lines, so that it is seen.
    std::vector<std::string> Stop();

private:
    bool started_ = false;
    bool stopped_ = false;
    std::string error_;
    win32::UniqueKernelHandle process_;
    DWORD processId_ = 0;
    DWORD threadId_ = 0;
    std::string recordPath_;
    win32::UniqueKernelHandle ready_;
    win32::UniqueKernelHandle closed_;
};

}  // namespace install::wine_test
