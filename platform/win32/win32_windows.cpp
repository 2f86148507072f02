// Top-level windows of the system seam on the Win32 window API.
#include "platform/win32/win32_windows.hpp"

#include <windows.h>

#include "platform/win32/c_string.hpp"

namespace install::win32 {

WindowHandle Win32Windows::FindTopLevelWindow(const std::string& title) {
    if (!FitsCString(title)) {
        return 0;
    }
    // No class name: a window of any class with that title will do. The
    // system compares titles without regard to letter case.
    return reinterpret_cast<WindowHandle>(::FindWindowA(nullptr, title.c_str()));
}

void Win32Windows::SendCloseMessage(WindowHandle window) {
    // SendMessageA, not PostMessageA: it returns only once the window's
    // thread has handled the message, which the seam promises.
    ::SendMessageA(reinterpret_cast<HWND>(window), WM_CLOSE, 0, 0);
}

void Win32Windows::BringToTop(WindowHandle window) {
    ::BringWindowToTop(reinterpret_cast<HWND>(window));
}

}  // namespace install::win32
