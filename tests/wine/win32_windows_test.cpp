// Finding and closing top-level windows of another process through the
// seam, under Wine.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/win32_windows.hpp"
#include "tests/wine/window_host.hpp"

namespace install::win32 {
namespace {

using wine_test::WindowHost;

// The title of a window, read by the system from outside its process.
std::string TitleOf(WindowHandle window) {
    char title[256] = "";
    ::GetWindowTextA(reinterpret_cast<HWND>(window), title, sizeof title);
    return title;
}

TEST(Win32Windows, FindTopLevelWindowMatchesTheWholeTitleInAnyLetterCase) {
    WindowHost host({"Porvex", "Trelix PC Card Diagnostics  v1.03", "Trelix Diagnose ",
                     "KARVELIX"});
    ASSERT_TRUE(host.Started()) << host.Error();
    Win32Windows windows;
    // Columns: title looked for, title of the window that must be found
    // (empty: none may be).
    const struct {
        const char* lookFor;
        const char* found;
    } cases[] = {
        {"Porvex", "Porvex"},
        {"porvex", "Porvex"},
        {"PORVEX", "Porvex"},
        {"Porve", ""},
        {"Porvex ", ""},
        {"Trelix PC Card Diagnostics  v1.03", "Trelix PC Card Diagnostics  v1.03"},
        {"TRELIX pc card diagnostics  V1.03", "Trelix PC Card Diagnostics  v1.03"},
        {"Trelix PC Card Diagnostics", ""},
        {"Trelix PC Card Diagnostics v1.03", ""},
        {"Trelix Diagnose", ""},
        {"Trelix Diagnose ", "Trelix Diagnose "},
        {"Karvelix", "KARVELIX"},
        {"Trelix LAN+Modem", ""},
    };
    for (const auto& c : cases) {
        const WindowHandle window = windows.FindTopLevelWindow(c.lookFor);
        const std::string found = window ? TitleOf(window) : std::string();
        EXPECT_EQ(found, c.found) << "looking for \"" << c.lookFor << "\"";
        if (window) {
            DWORD owner = 0;
            ::GetWindowThreadProcessId(reinterpret_cast<HWND>(window), &owner);
            EXPECT_EQ(owner, host.ProcessId()) << "\"" << c.lookFor << "\" found elsewhere";
        }
    }
    // Finding asks nothing of the windows.
    EXPECT_EQ(host.Stop(), std::vector<std::string>{});
}

TEST(Win32Windows, SendCloseMessageReturnsOnceTheWindowHasHandledIt) {
    WindowHost host({"Trelix Diagnose"});
    ASSERT_TRUE(host.Started()) << host.Error();
    Win32Windows windows;
    const WindowHandle window = windows.FindTopLevelWindow("Trelix Diagnose");
    ASSERT_NE(window, 0u);
    EXPECT_FALSE(host.CloseHandled());
    windows.SendCloseMessage(window);
    // No wait here: the host takes its time over WM_CLOSE, so only a send
    // that waited for it finds it handled already.
    EXPECT_TRUE(host.CloseHandled()) << "SendCloseMessage returned before WM_CLOSE was handled";
    // Once, with both parameters 0 (the host notes any other value).
    EXPECT_EQ(host.Stop(), std::vector<std::string>{"Trelix Diagnose"});
}

}  // namespace
}  // namespace install::win32
