// The file copy step: copies the files the script lists, expanding
// compressed ones, and asks for further installation disks.
#include "engine/format.hpp"
#include "engine/path_expansion.hpp"
#include "steps/copy_expand_file.hpp"
#include "steps/disk_prompt.hpp"
#include "steps/entry_layout.hpp"
#include "steps/installation_steps.hpp"

namespace install {

namespace {

// The reason a failed copy gives in the log.
const char* FailureReason(int code) {
    switch (code) {
        case COPY_NO_SOURCE:
            return "Source file is not found on the installation disk";
        case COPY_TRANSFER_FAILED:
            return "File could not be copied completely";
        default:
            return "Destination file is locked";
    }
}

}  // namespace

int CopyFiles(StepEnvironment& environment) {
    StepFrame frame(StepId::Files, environment);
    if (!frame.OpenScript()) {
        return kStepFailed;
    }
    System& system = environment.system;
    const InstallContext& context = frame.Context();
    DiskGate diskGate;
    int copied = 0;
    bool succeeded = true;
    while (const auto line = frame.NextLine()) {
        if (line->kind == ScriptLine::Kind::DiskPrompt) {
            diskGate.Close();
            const auto prompt = ParseDiskPrompt(line->text, context.optionMask);
            if (!prompt) {
                continue;
            }
            const ExpandedPath check = ExpandPathField(prompt->checkPath, kDiskCheckMap, context);
            if (check.tooLong) {
                frame.Log().Write(Format("%s [FAIL] (Path is too long)\n", check.path.c_str()));
                succeeded = false;
                break;
            }
            if (!AskForDisk(prompt->message, check.path, system.files, environment.status)) {
                if (!environment.status.Interactive()) {
                    frame.Log().Write(Format("Disk prompt \"%s\" [FAIL] (%s is missing)\n",
                                             prompt->message.c_str(), check.path.c_str()));
                }
                succeeded = false;
                break;
            }
            diskGate.Confirm(frame.Script());
            continue;
        }
        if (!diskGate.IsOpen()) {
            continue;
        }
        const auto entry = ReadEntry(StepId::Files, line->text, context);
        if (!entry) {
            continue;
        }
        const ExpandedPath& source = entry->paths[0];
        const ExpandedPath& destination = entry->paths[1];
        if (entry->TooLong()) {
            frame.Log().Write(Format("%s -> %s [FAIL] (Path is too long)\n", source.path.c_str(),
                                     destination.path.c_str()));
            succeeded = false;
            break;
        }
        const int code = CopyExpandFile(system.lz, system.files, source.path.c_str(),
                                        destination.path.c_str(), 0);
        if (code != COPY_OK) {
            frame.Log().Write(Format("%s -> %s [FAIL] (%s)\n", source.path.c_str(),
                                     destination.path.c_str(), FailureReason(code)));
            succeeded = false;
            break;
        }
        ++copied;
        frame.Log().Write(Format("%s -> %s [OK]\n", source.path.c_str(), destination.path.c_str()));
        frame.ShowStatus(Format("%s [In Progress] (%d file(s) copied)", frame.Label().c_str(), copied));
    }
    return frame.Finish(succeeded, copied);
}

}  // namespace install
