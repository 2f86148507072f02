// The program's entry: one running copy, the options page as main window;
// with /S the unattended installation instead, and no window at all.
#include <windows.h>

#include "platform/win32/win32_system.hpp"
#include "ui/command_line.hpp"
#include "ui/options_dlg.hpp"
#include "ui/unattended_entry.hpp"
#include "ui/unattended_install.hpp"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const char* commandLine = ::GetCommandLineA();
    if (install::IsUnattendedRun(commandLine)) {
        return install::ui::RunUnattended(commandLine);
    }
    if (const HWND running = ::FindWindowA(nullptr, install::kWizardWindowTitle)) {
        ::SetForegroundWindow(running);
        return 0;
    }
    install::win32::Win32System system;
    install::ui::COptionsDlg options(system.Seam());
    options.DoModal(nullptr);
    return 0;
}
