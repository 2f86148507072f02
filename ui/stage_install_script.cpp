// Staging the install script as the options page opens.
#include "ui/stage_install_script.hpp"

#include "engine/prepare_install.hpp"
#include "steps/copy_expand_file.hpp"
#include "ui/script_staging.hpp"

namespace install::ui {

bool StageInstallScript(HWND page, System& system) {
    const std::string source = ScriptSourcePath(::GetCommandLineA());
    const std::string destination =
        ScriptDestinationPath(WithoutTrailingBackslash(system.info.WindowsDirectoryPath()));
    const int result = CopyExpandFile(system.lz, system.files, source.c_str(), destination.c_str(), 0);
    if (const auto message = StagingMessage(result, source, destination)) {
        ::MessageBoxA(page, message->c_str(), kStagingCaption, MB_ICONERROR | MB_SETFOREGROUND);
        ::ShowWindow(page, SW_HIDE);
        ::SendMessageA(page, WM_CLOSE, 0, 0);
        return false;
    }
    return true;
}

}  // namespace install::ui
