// The program folder step: makes the Start-menu folders the script lists.
#include "steps/entry_layout.hpp"
#include "engine/format.hpp"
#include "steps/installation_steps.hpp"

namespace install {

int CreateProgramFolders(StepEnvironment& environment) {
    StepFrame frame(StepId::Folders, environment);
    if (!frame.OpenScript()) {
        return kStepFailed;
    }
    IDirectories& directories = environment.system.directories;
    const InstallContext& context = frame.Context();
    bool succeeded = true;
    while (const auto line = frame.NextLine()) {
        const auto entry = ReadEntry(StepId::Folders, line->text, context);
        if (!entry) {
            continue;
        }
        // Only the selector's second character counts: "P" is the Programs
        // folder the installation shares, anything else the user's own.
        const std::string& selector = entry->fields[0];
        const std::string& name = entry->fields[1];
        const bool shared = selector.size() > 1 && selector[1] == 'P';
        directories.ChangeCurrentDirectory(shared ? context.programsDir : context.userProgramsDir);
        const std::uint32_t error = directories.MakeDirectory(name);
        if (error == 0) {
            frame.Log().Write(Format("Create shell folder %s [OK]\n", name.c_str()));
        } else if (error == kErrorAlreadyExists) {
            frame.Log().Write(Format("Create shell folder %s [OK](Folder already exists)\n", name.c_str()));
        } else {
            frame.Log().Write(Format("Create shell folder %s [FAIL](Cannot create folder)\n", name.c_str()));
            succeeded = false;
            break;
        }
    }
    return frame.Finish(succeeded);
}

}  // namespace install
