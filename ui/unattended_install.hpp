// The unattended installation, INSTALL.EXE /S: the staging and the start
// sequence of the wizard, with no window and no message box, and an exit
// code saying how it went. Portable: the Windows entry adds what only the
// platform has (the lock held by unattended runs, standard error).
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "engine/status_operations.hpp"
#include "engine/system/system.hpp"

namespace install {

// Exit codes of INSTALL.EXE /S.
inline constexpr int kUnattendedSucceeded = 0;
// A step failed (the log says which), or the run could not go on.
inline constexpr int kUnattendedStepFailed = 1;
// The script could not be staged: missing, or not copyable.
inline constexpr int kUnattendedNotStaged = 2;
// Another copy is running: the wizard, or another unattended run.
inline constexpr int kUnattendedAlreadyRunning = 3;

// The title of the wizard's pages, by which a running wizard is found.
inline constexpr const char* kWizardWindowTitle = "Trelix Installation Utility";

// The status operations of a run with no window: it keeps the texts of the
// four status buttons, so that the steps read back what they put there,
// and answers every message box itself without showing it.
class UnattendedStatus final : public IStatusOperations {
public:
    UnattendedStatus();

    void EnableStatusButton(int button, bool enable) override;
    // The button's text; empty for a button the page does not have.
    std::string ReadStatusLabel(int button) override;
    void SetStatusText(int button, const std::string& text) override;
    // A box with an OK button alone is acknowledged (IDOK); a box that
    // offers a way out is cancelled (IDCANCEL). A disk prompt is therefore
    // checked once and, when its disk is missing, the retry question ends
    // the step instead of asking forever.
    int ShowMessageBox(const std::string& text, const std::string& caption,
                       unsigned style) override;
    // There is no page: 0.
    WindowHandle PageWindow() override { return 0; }
    bool Interactive() const override { return false; }

private:
    std::map<int, std::string> texts_;
};

// Receives the reason the script could not be staged.
using UnattendedErrorSink = std::function<void(const std::string& message)>;

// The whole unattended run after the platform's own lock was taken: a
// running wizard ends it with kUnattendedAlreadyRunning; then the script
// beside the program on commandLine is staged into the Windows directory
// (a failure is reported to reportError, written into a fresh log as
// "ERROR : <message>", and ends it with kUnattendedNotStaged); then the
// start sequence runs with the on-line manual chosen (OPTION_MANUAL).
int RunUnattendedInstall(System& system, std::string_view commandLine,
                         const UnattendedErrorSink& reportError);

}  // namespace install
