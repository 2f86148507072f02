// Plays the user of INSTALL.EXE from outside its process: starts it, finds
// its pages and message boxes by title and control number, clicks buttons,
// reads texts and states. Every wait has a deadline; what it starts it ends
// by process id.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/win32/unique_resource.hpp"

namespace install::e2e {

inline constexpr const char* kPageTitle = "Trelix Installation Utility";

// The longest any single step of the user's (a page to appear, a run to
// end, a process to quit) may take before the test gives up on it.
inline constexpr DWORD kStepWaitMs = 20000;

// Polls condition every 50 ms until it holds or ms have passed; the
// driver's own message queue is served meanwhile. True when it held.
bool WaitUntil(DWORD ms, const std::function<bool()>& condition);

// The window's text through WM_GETTEXT, answered by the window's own
// thread (bounded); nullopt when the thread did not answer in time.
std::optional<std::string> WindowText(HWND window);
std::string ClassName(HWND window);
DWORD ProcessOf(HWND window);

// Top-level windows in z-order, topmost first.
std::vector<HWND> TopLevelWindows();
// One line per top-level window of the process: handle, class, title and
// states, for failure messages.
std::string DescribeWindowsOf(DWORD processId);

// Clicks a button as the user would: BM_CLICK, posted, so that a click
// whose handler runs a modal loop does not hold the driver.
bool Click(HWND button);

enum class Page { Options, Progress, Finish };

// A message box as the user sees it.
struct MessageBoxView {
    HWND window = nullptr;
    std::string caption;
    std::string text;
    // Control numbers of its buttons (IDOK, IDCANCEL, ...), in window order.
    std::vector<int> buttons;
};

// One running copy of the utility.
class Utility {
public:
    Utility() = default;
    Utility(const Utility&) = delete;
    Utility& operator=(const Utility&) = delete;
    // Ends the process if it still runs.
    ~Utility();

    // Starts program with directory as its current directory. The command
    // line is the program's path in quotes, as the shell passes it.
    bool Start(const std::string& program, const std::string& directory);
    const std::string& Error() const { return error_; }

    DWORD ProcessId() const { return processId_; }
    // The thread that runs the pages.
    DWORD ThreadId() const { return threadId_; }

    bool Running() const;
    // Waits (bounded) for the process to end on its own.
    bool WaitForExit(DWORD ms) const;
    // Its exit code once it ended.
    std::optional<DWORD> ExitCode() const;
    // Ends the process by its handle and waits for it; nothing when it ended.
    void End();

    // The visible page of this process: a dialog titled kPageTitle holding
    // the page's own control. nullptr when there is none.
    HWND FindPage(Page page) const;
    HWND WaitForPage(Page page, DWORD ms = kStepWaitMs) const;

    // Visible dialogs of this process that are no page of the wizard.
    std::vector<MessageBoxView> MessageBoxes() const;
    std::optional<MessageBoxView> WaitForMessageBox(DWORD ms = kStepWaitMs) const;

    // Every visible top-level window of the process.
    std::vector<HWND> VisibleWindows() const;

    // The window that has the keyboard focus in the pages' thread.
    HWND FocusedWindow() const;

    // Returns once the pages' thread has taken a message sent now: what it
    // was doing with earlier messages is done (bounded).
    bool Sync(HWND page) const;

    std::string Describe() const { return DescribeWindowsOf(processId_); }

private:
    std::string error_;
    win32::UniqueKernelHandle process_;
    DWORD processId_ = 0;
    DWORD threadId_ = 0;
};

// Running processes whose program has this file name (case ignored).
std::set<DWORD> ProcessesNamed(const char* exeName);
// Ends a process by its id and waits (bounded) for it to go.
bool EndProcess(DWORD processId);

}  // namespace install::e2e
