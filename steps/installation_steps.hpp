// The six installation steps, in the order the start sequence runs them.
#pragma once

#include <array>

#include "engine/start_sequence.hpp"
#include "engine/step_frame.hpp"

namespace install {

int CreateDirectories(StepEnvironment& environment);
int CopyFiles(StepEnvironment& environment);
int CreateProgramFolders(StepEnvironment& environment);
int CreateShortcuts(StepEnvironment& environment);
int UpdateRegistry(StepEnvironment& environment);
int LaunchPrograms(StepEnvironment& environment);

// The file copy step runs before the program folder step and the shortcut
// step before the registry step, whatever the order of the status buttons.
inline constexpr std::array<StepFunction, 6> kInstallationSteps = {
    CreateDirectories, CopyFiles,      CreateProgramFolders,
    CreateShortcuts,   UpdateRegistry, LaunchPrograms,
};

}  // namespace install
