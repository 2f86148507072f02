// The preparation step: the first thing the start sequence runs.
#include "engine/prepare_install.hpp"

#include "engine/format.hpp"
#include "engine/install_log.hpp"

namespace install {

namespace {

constexpr const char* kShellFoldersMachine =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kShellFoldersUser =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// Room for a shell folder's text, terminator included.
constexpr std::size_t kValueRoom = kMaxPathChars + 1;

void CloseRunningTools(IWindows& windows) {
    for (const char* title : kToolWindowTitles) {
        if (const WindowHandle window = windows.FindTopLevelWindow(title)) {
            windows.SendCloseMessage(window);
        }
    }
}

// Reads values of one key into fields; a field whose value is missing or
// does not fit is left as it is.
void ReadShellFolders(IRegistry& registry, RegistryRoot root, const char* key,
                      std::initializer_list<std::pair<const char*, std::string*>> values) {
    const auto opened = registry.OpenForQuery(root, key);
    if (!opened) {
        return;
    }
    for (const auto& [name, field] : values) {
        if (auto text = opened->QueryText(name, kValueRoom)) {
            *field = std::move(*text);
        }
    }
}

}  // namespace

std::string WithoutTrailingBackslash(std::string path) {
    if (!path.empty() && path.back() == '\\') {
        path.pop_back();
    }
    return path;
}

std::string RootOf(std::string path) {
    const std::size_t from = (!path.empty() && path[0] == '\\') ? 2 : 0;
    const std::size_t cut = path.find('\\', from);
    if (cut != std::string::npos) {
        path.resize(cut);
    }
    return path;
}

int PrepareInstall(InstallContext& context, System& system) {
    CloseRunningTools(system.windows);

    context.windowsDir = WithoutTrailingBackslash(system.info.WindowsDirectoryPath());
    context.systemDir = WithoutTrailingBackslash(system.info.SystemDirectoryPath());
    context.platformId = system.info.QueryPlatformId().value_or(0);

    // No value in the registry leaves a shell folder as the empty text.
    context.desktopDir.clear();
    context.programsDir.clear();
    context.userProgramsDir.clear();
    if (context.platformId == kPlatformWindowsNt) {
        ReadShellFolders(system.registry, RegistryRoot::LocalMachine, kShellFoldersMachine,
                         {{"Common Desktop", &context.desktopDir},
                          {"Common Programs", &context.programsDir}});
        ReadShellFolders(system.registry, RegistryRoot::CurrentUser, kShellFoldersUser,
                         {{"Programs", &context.userProgramsDir}});
    } else {
        ReadShellFolders(system.registry, RegistryRoot::CurrentUser, kShellFoldersUser,
                         {{"Desktop", &context.desktopDir}, {"Programs", &context.programsDir}});
        context.userProgramsDir = context.programsDir;
    }

    context.sourceRoot = RootOf(system.directories.CurrentDirectory());
    context.sourceDir = WithoutTrailingBackslash(system.directories.CurrentDirectory());

    context.scriptPath = Format("%s\\SETUP.INP", context.windowsDir.c_str());
    context.logPath = LogPathIn(context.windowsDir);
    context.systemRoot = RootOf(context.systemDir);

    StartInstallLog(system.files, context.logPath);
    return 0;
}

}  // namespace install
