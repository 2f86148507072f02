// What the tests of the installation steps on the real system share: the
// prefix's directories, the staged script and the log, the compressed
// fixtures, running one step in this process, and clean-up of what the
// steps leave on the machine.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/install_context.hpp"
#include "engine/start_sequence.hpp"
#include "platform/win32/win32_system.hpp"
#include "tests/wine/recording_status.hpp"

namespace install::wine_test {

// The Windows directory, without a trailing backslash.
std::string WindowsDirectory();
// The folder this test program was started from; the other test programs
// and the fixtures are built there.
std::string ProgramFolder();
// A file of the fixtures the build made (see make_compressed_fixtures.py).
std::string FixturePath(const std::string& name);
// A shell folder as the shell reports it (CSIDL_...), without a trailing
// backslash; empty when there is none.
std::string ShellFolder(int csidl);
// The Programs folder the installation shares in this family: the common
// one in the NT family, the user's own in the Windows 95/98 family.
std::string SharedProgramsFolder();

// The script as staged in the Windows directory, and the log beside it.
std::string StagedScriptPath();
std::string LogPath();

// LF turned into CR LF, as the log and the script on disk have it.
std::string CrLf(std::string_view text);
// Texts a line each, indented, for failure messages.
std::string Lines(const std::vector<std::string>& lines);

// A script section for each family with the same entries:
// "[Win9X <kind>]" and "[WinNT <kind>]", each followed by body.
std::string BothFamilies(std::string_view kind, std::string_view body);

// SETUP.INP and INSTLOG.TXT of the Windows directory, which every step
// reads and writes. The script is written (with CR LF) when made; both
// files are removed when it goes, and by the constructor beforehand.
class StagedScript {
public:
    explicit StagedScript(std::string_view text);
    StagedScript(const StagedScript&) = delete;
    StagedScript& operator=(const StagedScript&) = delete;
    ~StagedScript();

    bool Written() const { return written_; }
    // The log's bytes; "<no log>" when there is none.
    std::string Log() const;

private:
    bool written_ = false;
};

// The log as the preparation step starts it, followed by body (LF turned
// into CR LF).
std::string ExpectedLog(std::string_view body);

// Removes a file or a directory with all it holds; true when nothing of
// that name is left.
bool RemoveTree(const std::string& path);

// Removes a registry key with all it holds when made and when it goes.
class RegistryTreeCleanup {
public:
    RegistryTreeCleanup(HKEY root, std::string subkey);
    RegistryTreeCleanup(const RegistryTreeCleanup&) = delete;
    RegistryTreeCleanup& operator=(const RegistryTreeCleanup&) = delete;
    ~RegistryTreeCleanup();

private:
    HKEY root_;
    std::string subkey_;
};

// Removes files and directory trees when made and when it goes.
class PathCleanup {
public:
    explicit PathCleanup(std::vector<std::string> paths);
    PathCleanup(const PathCleanup&) = delete;
    PathCleanup& operator=(const PathCleanup&) = delete;
    ~PathCleanup();

private:
    std::vector<std::string> paths_;
};

// A registry value as read back with the test's own call.
struct RegistryValue {
    DWORD type = REG_NONE;
    std::string bytes;
};
std::optional<RegistryValue> ReadRegistryValue(HKEY root, const std::string& subkey,
                                               const std::string& name);
bool RegistryKeyExists(HKEY root, const std::string& subkey);

// One installation run in this process on the real system: the
// preparation step with sourceDirectory current, then the steps asked for.
struct InProcessRun {
    explicit InProcessRun(std::uint32_t optionMask = OPTION_MANUAL,
                          std::vector<int> answers = {});

    // Makes sourceDirectory current and runs the preparation step; false
    // when the directory could not be made current.
    bool Prepare(const std::string& sourceDirectory);
    int Step(StepFunction step);
    // The whole start sequence, preparation included, with sourceDirectory
    // current; -1 when it could not be made current.
    int Sequence(const std::string& sourceDirectory);

    win32::Win32System system;
    InstallContext context;
    RecordingStatus status;
    StepEnvironment environment{context, system.Seam(), status};
};

// The current directory of this process.
std::string CurrentDirectory();

// A file the launch marker wrote: its process id and show command.
struct LaunchRecord {
    DWORD processId = 0;
    std::string show;
};
// Waits (a bounded time) for the marker file to appear, reads it, and
// waits (a bounded time) for that process to end, ending it by its id
// when it does not. nullopt with why in error when no record came.
std::optional<LaunchRecord> AwaitLaunchRecord(const std::string& markerFile, std::string& error);

}  // namespace install::wine_test
