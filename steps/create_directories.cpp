// The directory step: makes the directories the script lists, one level
// per entry.
#include "engine/format.hpp"
#include "steps/entry_layout.hpp"
#include "steps/installation_steps.hpp"

namespace install {

int CreateDirectories(StepEnvironment& environment) {
    StepFrame frame(StepId::Directories, environment);
    if (!frame.OpenScript()) {
        return kStepFailed;
    }
    IDirectories& directories = environment.system.directories;
    bool succeeded = true;
    while (const auto line = frame.NextLine()) {
        const auto entry = ReadEntry(StepId::Directories, line->text, frame.Context());
        if (!entry) {
            continue;
        }
        const ExpandedPath& parent = entry->paths[0];
        const std::string& name = entry->fields[1];
        frame.Log().Write(Format("Create directory = %s, under directory = %s", name.c_str(),
                                 parent.path.c_str()));
        if (parent.tooLong) {
            frame.Log().Write(" [FAIL](Path is too long)\n");
            succeeded = false;
            break;
        }
        // A parent that cannot be made current leaves the name to be made
        // in whatever directory is current.
        directories.ChangeCurrentDirectory(parent.path);
        const std::uint32_t error = directories.MakeDirectory(name);
        if (error == 0) {
            frame.Log().Write(" [OK]\n");
        } else if (error == kErrorAlreadyExists) {
            frame.Log().Write(" [OK](Directory already exists)\n");
        } else {
            frame.Log().Write(" [FAIL](Cannot create direcotry)\n");
            succeeded = false;
            break;
        }
    }
    return frame.Finish(succeeded);
}

}  // namespace install
