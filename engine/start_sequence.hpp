// The start sequence: the preparation step, then the installation steps in
// order until one fails.
#pragma once

#include <span>

#include "engine/install_context.hpp"
#include "engine/status_operations.hpp"
#include "engine/step_frame.hpp"
#include "engine/system/system.hpp"

namespace install {

using StepFunction = int (*)(StepEnvironment&);

// Runs PrepareInstall and then each step; returns the result of the last
// step run: 0 when all succeeded, 1 when one failed.
int RunStartSequence(InstallContext& context, System& system, IStatusOperations& status,
                     std::span<const StepFunction> steps);

}  // namespace install
