// Staging paths and messages.
#include "ui/script_staging.hpp"

#include "engine/format.hpp"
#include "engine/install_log.hpp"
#include "steps/copy_expand_file.hpp"

namespace install {

namespace {

// The program's path on its command line: leading double quotes skipped,
// then up to the next double quote or the line's end.
std::string ProgramPathOf(std::string_view commandLine) {
    const std::size_t start = commandLine.find_first_not_of('"');
    if (start == std::string_view::npos) {
        return {};
    }
    const std::size_t end = commandLine.find('"', start);
    return std::string(commandLine.substr(start, end == std::string_view::npos ? end : end - start));
}

}  // namespace

std::string ScriptSourcePath(std::string_view commandLine) {
    const std::string program = ProgramPathOf(commandLine);
    const std::size_t slash = program.rfind('\\');
    if (slash == std::string::npos) {
        return kScriptName;
    }
    return Format("%s\\%s", program.substr(0, slash).c_str(), kScriptName);
}

std::string ScriptDestinationPath(const std::string& windowsDir) {
    return Format("%s\\%s", windowsDir.c_str(), kScriptName);
}

std::optional<std::string> StagingMessage(int copyResult, const std::string& source,
                                          const std::string& destination) {
    switch (copyResult) {
        case COPY_NO_SOURCE:
            return Format("Cannot find input script %s", source.c_str());
        case COPY_NO_TARGET:
        case COPY_TRANSFER_FAILED:
            // A copy that came out incomplete is as unusable as none.
            return Format("Cannot create temporary script %s", destination.c_str());
        default:
            return std::nullopt;
    }
}

std::string LogViewerCommand(const std::string& windowsDir) {
    return Format("%s\\NOTEPAD.EXE %s", windowsDir.c_str(), LogPathIn(windowsDir).c_str());
}

std::optional<std::string> StageScript(System& system, std::string_view commandLine, const std::string& windowsDir) {
    const std::string source = ScriptSourcePath(commandLine);
    const std::string destination = ScriptDestinationPath(windowsDir);
    const int result = CopyExpandFile(system.lz, system.files, source.c_str(), destination.c_str(), 0);
    return StagingMessage(result, source, destination);
}

}  // namespace install
