// The unattended installation on the system seam.
#include "ui/unattended_install.hpp"

#include "engine/format.hpp"
#include "engine/install_context.hpp"
#include "engine/install_log.hpp"
#include "engine/prepare_install.hpp"
#include "engine/start_sequence.hpp"
#include "steps/installation_steps.hpp"
#include "ui/script_staging.hpp"

namespace install {

namespace {

// The buttons of a message box are the low four bits of its style.
constexpr unsigned kButtonsMask = 0xF;

// Starts the log as the preparation step would, then says why nothing
// more happens; a log that cannot be written is passed over.
void LogStagingFailure(IFiles& files, const std::string& windowsDir, const std::string& message) {
    const std::string logPath = LogPathIn(windowsDir);
    StartInstallLog(files, logPath);
    InstallLog log;
    if (log.OpenForAppend(files, logPath)) {
        log.Write(Format("ERROR : %s\n", message.c_str()));
    }
}

}  // namespace

UnattendedStatus::UnattendedStatus() {
    for (const auto& [button, label] : kStatusButtonLabels) {
        texts_[button] = label;
    }
}

void UnattendedStatus::EnableStatusButton(int, bool) {}

std::string UnattendedStatus::ReadStatusLabel(int button) {
    const auto found = texts_.find(button);
    return found == texts_.end() ? std::string() : found->second;
}

void UnattendedStatus::SetStatusText(int button, const std::string& text) {
    if (texts_.count(button) != 0) {
        texts_[button] = text;
    }
}

int UnattendedStatus::ShowMessageBox(const std::string&, const std::string&, unsigned style) {
    return (style & kButtonsMask) == kMbOk ? kIdOk : kIdCancel;
}

int RunUnattendedInstall(System& system, std::string_view commandLine,
                         const UnattendedErrorSink& reportError) {
    if (system.windows.FindTopLevelWindow(kWizardWindowTitle) != 0) {
        return kUnattendedAlreadyRunning;
    }

    const std::string windowsDir = WithoutTrailingBackslash(system.info.WindowsDirectoryPath());
    if (const auto message = StageScript(system, commandLine, windowsDir)) {
        reportError(*message);
        LogStagingFailure(system.files, windowsDir, *message);
        return kUnattendedNotStaged;
    }

    InstallContext context;
    context.optionMask = OPTION_MANUAL;
    UnattendedStatus status;
    const int result = RunStartSequence(context, system, status, kInstallationSteps);
    return result == kStepSucceeded ? kUnattendedSucceeded : kUnattendedStepFailed;
}

}  // namespace install
