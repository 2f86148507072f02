// The program's entry: one running copy, the options page as main window.
#include <windows.h>

#include "platform/win32/win32_system.hpp"
#include "ui/options_dlg.hpp"

namespace {

constexpr const char* kWindowTitle = "Trelix Installation Utility";

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (const HWND running = ::FindWindowA(nullptr, kWindowTitle)) {
        ::SetForegroundWindow(running);
        return 0;
    }
    install::win32::Win32System system;
    install::ui::COptionsDlg options(system.Seam());
    options.DoModal(nullptr);
    return 0;
}
