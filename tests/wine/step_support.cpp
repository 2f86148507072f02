// Support of the installation step tests on the real system.
#include "tests/wine/step_support.hpp"

#include <shlobj.h>

#include <cstdio>

#include "engine/install_log.hpp"
#include "engine/prepare_install.hpp"
#include "platform/win32/unique_resource.hpp"
#include "steps/installation_steps.hpp"
#include "tests/wine/scratch_directory.hpp"
#include "tests/wine/test_family.hpp"

namespace install::wine_test {

namespace {

// How long a started program may take to write its marker, and then to end.
constexpr DWORD kMarkerWaitMs = 20000;
constexpr DWORD kProcessEndWaitMs = 10000;

std::string WithoutTrailingBackslash(std::string path) {
    if (!path.empty() && path.back() == '\\') {
        path.pop_back();
    }
    return path;
}

}  // namespace

std::string StagedScriptPath() { return WindowsDirectory() + "\\SETUP.INP"; }
std::string LogPath() { return WindowsDirectory() + "\\INSTLOG.TXT"; }

std::string WindowsDirectory() {
    char path[MAX_PATH] = "";
    const UINT length = ::GetWindowsDirectoryA(path, sizeof path);
    return WithoutTrailingBackslash(std::string(path, length < sizeof path ? length : 0));
}

std::string ProgramFolder() {
    char path[MAX_PATH] = "";
    const DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string program(path, length < sizeof path ? length : 0);
    const std::size_t slash = program.find_last_of('\\');
    return slash == std::string::npos ? std::string(".") : program.substr(0, slash);
}

std::string FixturePath(const std::string& name) {
    return ProgramFolder() + "\\fixtures\\" + name;
}

std::string ShellFolder(int csidl) {
    char path[MAX_PATH] = "";
    if (FAILED(::SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) {
        return {};
    }
    return WithoutTrailingBackslash(path);
}

std::string SharedProgramsFolder() {
    return ShellFolder(CurrentFamily() == Family::Nt ? CSIDL_COMMON_PROGRAMS : CSIDL_PROGRAMS);
}

std::string CrLf(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '\n') {
            out += '\r';
        }
        out += c;
    }
    return out;
}

std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += "  " + line + "\n";
    }
    return text;
}

std::string BothFamilies(std::string_view kind, std::string_view body) {
    std::string text;
    for (const char* family : {"Win9X", "WinNT"}) {
        text += "[" + std::string(family) + " " + std::string(kind) + "]\n";
        text += body;
    }
    return text;
}

StagedScript::StagedScript(std::string_view text) {
    ::DeleteFileA(LogPath().c_str());
    written_ = WriteBytes(StagedScriptPath(), CrLf(text));
}

StagedScript::~StagedScript() {
    ::DeleteFileA(StagedScriptPath().c_str());
    ::DeleteFileA(LogPath().c_str());
}

std::string StagedScript::Log() const { return ReadBytes(LogPath()).value_or("<no log>"); }

std::string ExpectedLog(std::string_view body) {
    return CrLf(std::string(kLogHeader) + std::string(body));
}

bool RemoveTree(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return true;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        WIN32_FIND_DATAA found;
        const HANDLE search = ::FindFirstFileA((path + "\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::string name = found.cFileName;
                if (name != "." && name != "..") {
                    RemoveTree(path + "\\" + name);
                }
            } while (::FindNextFileA(search, &found));
            ::FindClose(search);
        }
        ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::RemoveDirectoryA(path.c_str());
    } else {
        ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileA(path.c_str());
    }
    return ::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES;
}

RegistryTreeCleanup::RegistryTreeCleanup(HKEY root, std::string subkey)
    : root_(root), subkey_(std::move(subkey)) {
    ::RegDeleteTreeA(root_, subkey_.c_str());
}

RegistryTreeCleanup::~RegistryTreeCleanup() { ::RegDeleteTreeA(root_, subkey_.c_str()); }

PathCleanup::PathCleanup(std::vector<std::string> paths) : paths_(std::move(paths)) {
    for (const std::string& path : paths_) {
        RemoveTree(path);
    }
}

PathCleanup::~PathCleanup() {
    // The process must not stand in what it removes.
    ::SetCurrentDirectoryA("C:\\");
    for (const std::string& path : paths_) {
        RemoveTree(path);
    }
}

std::optional<RegistryValue> ReadRegistryValue(HKEY root, const std::string& subkey,
                                               const std::string& name) {
    win32::UniqueRegistryKey key;
    if (::RegOpenKeyExA(root, subkey.c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    RegistryValue value;
    DWORD size = 0;
    if (::RegQueryValueExA(key.get(), name.c_str(), nullptr, &value.type, nullptr, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.bytes.resize(size);
    if (::RegQueryValueExA(key.get(), name.c_str(), nullptr, &value.type,
                           reinterpret_cast<BYTE*>(value.bytes.data()), &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.bytes.resize(size);
    return value;
}

bool RegistryKeyExists(HKEY root, const std::string& subkey) {
    win32::UniqueRegistryKey key;
    return ::RegOpenKeyExA(root, subkey.c_str(), 0, KEY_QUERY_VALUE, key.put()) == ERROR_SUCCESS;
}

InProcessRun::InProcessRun(std::uint32_t optionMask, std::vector<int> answers)
    : status(std::move(answers)) {
    context.optionMask = optionMask;
}

bool InProcessRun::Prepare(const std::string& sourceDirectory) {
    if (!::SetCurrentDirectoryA(sourceDirectory.c_str())) {
        return false;
    }
    PrepareInstall(context, system.Seam());
    return true;
}

int InProcessRun::Step(StepFunction step) { return step(environment); }

int InProcessRun::Sequence(const std::string& sourceDirectory) {
    if (!::SetCurrentDirectoryA(sourceDirectory.c_str())) {
        return -1;
    }
    return RunStartSequence(context, system.Seam(), status, kInstallationSteps);
}

std::string CurrentDirectory() {
    char path[MAX_PATH] = "";
    const DWORD length = ::GetCurrentDirectoryA(sizeof path, path);
    return std::string(path, length < sizeof path ? length : 0);
}

std::optional<LaunchRecord> AwaitLaunchRecord(const std::string& markerFile, std::string& error) {
    const ULONGLONG deadline = ::GetTickCount64() + kMarkerWaitMs;
    std::optional<std::string> text;
    while (!(text = ReadBytes(markerFile)) && ::GetTickCount64() < deadline) {
        ::Sleep(50);
    }
    if (!text) {
        error = "no marker " + markerFile + " within " + std::to_string(kMarkerWaitMs) + " ms";
        return std::nullopt;
    }
    LaunchRecord record;
    unsigned long processId = 0;
    char show[16] = "";
    if (std::sscanf(text->c_str(), "pid=%lu show=%15s", &processId, show) != 2) {
        error = "unreadable marker: " + Visible(*text);
        return std::nullopt;
    }
    record.processId = processId;
    record.show = show;
    // The marker ends right after writing; one that does not is ended here,
    // by its own id, so that no test leaves it behind.
    win32::UniqueKernelHandle process(
        ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, record.processId));
    if (process && ::WaitForSingleObject(process.get(), kProcessEndWaitMs) != WAIT_OBJECT_0) {
        ::TerminateProcess(process.get(), 9);
        error = "the started program " + std::to_string(record.processId) +
                " did not end by itself";
        return std::nullopt;
    }
    return record;
}

}  // namespace install::wine_test
