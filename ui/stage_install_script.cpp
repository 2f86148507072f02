// Staging the install script as the options page opens.
#include "ui/stage_install_script.hpp"

#include "engine/prepare_install.hpp"
#include "ui/script_staging.hpp"

namespace install::ui {

bool StageInstallScript(HWND page, System& system) {
    const std::string windowsDir = WithoutTrailingBackslash(system.info.WindowsDirectoryPath());
    if (const auto message = StageScript(system, ::GetCommandLineA(), windowsDir)) {
        ::MessageBoxA(page, message->c_str(), kStagingCaption, MB_ICONERROR | MB_SETFOREGROUND);
        ::ShowWindow(page, SW_HIDE);
        ::SendMessageA(page, WM_CLOSE, 0, 0);
        return false;
    }
    return true;
}

}  // namespace install::ui
