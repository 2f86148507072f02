// The start sequence behind the progress page's Start button.
#include "engine/start_sequence.hpp"

#include "engine/prepare_install.hpp"

namespace install {

int RunStartSequence(InstallContext& context, System& system, IStatusOperations& status,
                     std::span<const StepFunction> steps) {
    PrepareInstall(context, system);
    StepEnvironment environment{context, system, status};
    int result = kStepSucceeded;
    for (const StepFunction step : steps) {
        result = step(environment);
        if (result != kStepSucceeded) {
            break;
        }
    }
    return result;
}

}  // namespace install
