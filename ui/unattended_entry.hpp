// INSTALL.EXE /S on Windows: the lock that keeps unattended runs apart,
// standard error for what went wrong, and the run itself.
#pragma once

namespace install::ui {

// Created and held by unattended runs only, for their whole duration; a
// run that finds it already there ends with kUnattendedAlreadyRunning.
inline constexpr const char* kUnattendedMutexName = "TrelixInstallationUtility.Unattended";

// Runs the unattended installation for the program's command line and
// returns the program's exit code (see ui/unattended_install.hpp).
int RunUnattended(const char* commandLine);

}  // namespace install::ui
