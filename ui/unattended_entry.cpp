// The unattended installation's Windows entry.
#include "ui/unattended_entry.hpp"

#include <windows.h>

#include <exception>
#include <string>

#include "platform/win32/unique_resource.hpp"
#include "platform/win32/win32_system.hpp"
#include "ui/unattended_install.hpp"

namespace install::ui {

namespace {

// A GUI program has no console of its own, but the handle its starter gave
// it is there; with none, or a broken one, the text is lost, never the run.
void WriteStandardError(const std::string& text) {
    const HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
    if (error == nullptr || error == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD written = 0;
    ::WriteFile(error, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

}  // namespace

int RunUnattended(const char* commandLine) {
    // Taken before anything else and held until the run ends; the handle
    // is closed last, when the process is done with the machine.
    ::SetLastError(ERROR_SUCCESS);
    win32::UniqueKernelHandle lock(::CreateMutexA(nullptr, FALSE, kUnattendedMutexName));
    const DWORD lockError = ::GetLastError();
    // Access denied: the lock exists, made by a run under another account.
    if (lockError == ERROR_ALREADY_EXISTS || (!lock && lockError == ERROR_ACCESS_DENIED)) {
        return kUnattendedAlreadyRunning;
    }
    try {
        win32::Win32System system;
        return RunUnattendedInstall(system.Seam(), commandLine, [](const std::string& message) {
            WriteStandardError(message + "\r\n");
        });
    } catch (const std::exception& failure) {
        // Nothing may leave WinMain; a run that cannot go on has failed.
        WriteStandardError(std::string("Installation stopped: ") + failure.what() + "\r\n");
        return kUnattendedStepFailed;
    }
}

}  // namespace install::ui
