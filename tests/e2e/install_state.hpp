// The installation disk the utility is started from, and what an
// installation leaves on the machine: laid out, inspected and removed by
// the end-to-end tests through the plain Win32 API.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/wine/test_family.hpp"

namespace install::e2e {

// Where things are, as the test's command line says.
struct Settings {
    wine_test::Family family = wine_test::Family::Nt;
    // The drive root the disk is mapped to, with its backslash ("D:\").
    std::string disk = "D:\\";
    // The sample installation disk the build lays out.
    std::string sampleDisk;
    // The sample disk's sources, the help file there uncompressed.
    std::string sampleSource;
};
const Settings& CurrentSettings();
void SetSettings(Settings settings);

// --- the disk ---

// Empties the disk's root.
bool ClearDisk();
// Copies files of the built sample disk onto the disk.
bool CopySampleFiles(const std::vector<std::string>& names);
// Writes a file on the disk.
bool WriteDiskFile(const std::string& name, const std::string& bytes);
// The disk's path of a file.
std::string DiskPath(const std::string& name);

// The script text with the same body in the sections of both families:
// body holds "[Dirs]"-style headers that become "[WinNT Dirs]" and
// "[Win9X Dirs]".
std::string ScriptForBothFamilies(const std::string& body);

// --- the machine ---

// GetWindowsDirectoryA, without a trailing backslash.
std::string WindowsDirectory();
// A value of the Explorer "Shell Folders" key; nullopt when it is missing.
std::optional<std::string> ShellFolder(HKEY root, const char* name);
// The Programs folder the installation shares in this family: the common
// one on NT, the user's on 9x.
std::string SharedProgramsFolder();
// The user's own Programs folder.
std::string UserProgramsFolder();

// Removes what an installation of the sample disk (or the tests' own
// scripts) can leave: the log, the staged script, the installed files,
// program folders, registry keys.
void RemoveInstallation();

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);

struct RegistryValue {
    DWORD type = 0;
    std::string data;
    bool operator==(const RegistryValue&) const = default;
};
// nullopt when the key or value is missing.
std::optional<RegistryValue> ReadRegistryValue(HKEY root, const char* subkey, const char* name);
bool RegistryKeyExists(HKEY root, const char* subkey);

struct Shortcut {
    std::string target;
    std::string description;
};
// The shortcut file as the shell reads it; nullopt and why when it cannot.
std::optional<Shortcut> ReadShortcut(const std::string& path, std::string& error);

}  // namespace install::e2e
