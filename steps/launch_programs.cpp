// The program launch step: starts the programs the script lists.
#include "engine/format.hpp"
#include "steps/entry_layout.hpp"
#include "steps/installation_steps.hpp"
#include "steps/show_command.hpp"

namespace install {

namespace {

std::string FailureLine(const std::string& name, const std::string& commandLine, std::uint32_t code) {
    switch (code) {
        case 0:
            return Format("%s [FAIL] (Out of system resource)\n", name.c_str());
        case 2:
        case 3:
            return Format("%s [FAIL] (%s cannot be found)\n", name.c_str(), commandLine.c_str());
        case 11:
            return Format("%s [FAIL] (%s does not have right EXE format)\n", name.c_str(),
                          commandLine.c_str());
        default:
            return Format("%s [FAIL]\n", name.c_str());
    }
}

}  // namespace

int LaunchPrograms(StepEnvironment& environment) {
    StepFrame frame(StepId::Programs, environment);
    if (!frame.OpenScript()) {
        return kStepFailed;
    }
    bool succeeded = true;
    while (const auto line = frame.NextLine()) {
        const auto entry = ReadEntry(StepId::Programs, line->text, frame.Context());
        if (!entry) {
            continue;
        }
        const std::string& name = entry->fields[1];
        const ExpandedPath& command = entry->paths[0];
        if (command.tooLong) {
            frame.Log().Write(Format("%s [FAIL] (Command line is too long)\n", name.c_str()));
            succeeded = false;
            break;
        }
        const std::uint32_t code =
            environment.system.launcher.Launch(command.path, ShowCommandFor(entry->fields[2]));
        if (code < 32) {
            frame.Log().Write(FailureLine(name, command.path, code));
            succeeded = false;
            break;
        }
        frame.Log().Write(Format("%s [OK]\n", name.c_str()));
        environment.system.windows.BringToTop(environment.status.PageWindow());
    }
    return frame.Finish(succeeded);
}

}  // namespace install
