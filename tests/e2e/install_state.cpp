// Laying out the disk and looking at the machine.
#include "tests/e2e/install_state.hpp"

#include <objbase.h>
#include <shlobj.h>


#include "platform/win32/com_ptr.hpp"
#include "platform/win32/unique_resource.hpp"
#include "tests/wine/scratch_directory.hpp"

namespace install::e2e {

namespace {

Settings g_settings;

constexpr const char* kShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

void RemoveTree(const std::string& directory) {
    WIN32_FIND_DATAA found;
    const HANDLE search = ::FindFirstFileA((directory + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") {
                continue;
            }
            const std::string child = directory + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                ::SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileA(child.c_str());
            }
        } while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryA(directory.c_str());
}

std::string WithoutBackslash(std::string path) {
    if (!path.empty() && path.back() == '\\') {
        path.pop_back();
    }
    return path;
}

}  // namespace

const Settings& CurrentSettings() { return g_settings; }
void SetSettings(Settings settings) { g_settings = std::move(settings); }

std::string DiskPath(const std::string& name) { return g_settings.disk + name; }

bool ClearDisk() {
    WIN32_FIND_DATAA found;
    const HANDLE search = ::FindFirstFileA(DiskPath("*").c_str(), &found);
    bool cleared = true;
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") {
                continue;
            }
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(DiskPath(name));
                cleared = cleared && !DirectoryExists(DiskPath(name));
            } else {
                cleared = ::DeleteFileA(DiskPath(name).c_str()) && cleared;
            }
        } while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }
    return cleared;
}

bool CopySampleFiles(const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        const std::string from = WithoutBackslash(g_settings.sampleDisk) + "\\" + name;
        if (!::CopyFileA(from.c_str(), DiskPath(name).c_str(), FALSE)) {
            return false;
        }
    }
    return true;
}

bool WriteDiskFile(const std::string& name, const std::string& bytes) {
    return wine_test::WriteBytes(DiskPath(name), bytes);
}

std::string ScriptForBothFamilies(const std::string& body) {
    std::string script;
    for (const char* family : {"WinNT", "Win9X"}) {
        std::string part = body;
        for (std::size_t at = part.find('['); at != std::string::npos; at = part.find('[', at + 1)) {
            part.insert(at + 1, std::string(family) + " ");
        }
        script += part;
    }
    return script;
}

std::string WindowsDirectory() {
    char path[MAX_PATH + 1] = "";
    ::GetWindowsDirectoryA(path, sizeof path);
    return WithoutBackslash(path);
}

std::optional<std::string> ShellFolder(HKEY root, const char* name) {
    const auto value = ReadRegistryValue(root, kShellFoldersKey, name);
    if (!value) {
        return std::nullopt;
    }
    return value->data;
}

std::string SharedProgramsFolder() {
    if (g_settings.family == wine_test::Family::Nt) {
        return ShellFolder(HKEY_LOCAL_MACHINE, "Common Programs").value_or("");
    }
    return UserProgramsFolder();
}

std::string UserProgramsFolder() { return ShellFolder(HKEY_CURRENT_USER, "Programs").value_or(""); }

void RemoveInstallation() {
    const std::string windows = WindowsDirectory();
    for (const char* file : {"INSTLOG.TXT", "SETUP.INP"}) {
        ::DeleteFileA((windows + "\\" + file).c_str());
    }
    for (const char* directory : {"NETCARD", "E2E-NT", "E2E-9X"}) {
        RemoveTree(windows + "\\" + directory);
    }
    for (const std::string& programs : {ShellFolder(HKEY_LOCAL_MACHINE, "Common Programs").value_or(""),
                                        UserProgramsFolder()}) {
        if (!programs.empty()) {
            RemoveTree(programs + "\\Network Card");
        }
    }
    // The tree's own key goes with it.
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\NetCard");
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\NetCard");
}

bool FileExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<RegistryValue> ReadRegistryValue(HKEY root, const char* subkey, const char* name) {
    win32::UniqueRegistryKey key;
    if (::RegOpenKeyExA(root, subkey, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExA(key.get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::string data(size, '\0');
    if (::RegQueryValueExA(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    data.resize(size);
    // Texts come with their terminator; the value is the text.
    if ((type == REG_SZ || type == REG_EXPAND_SZ) && !data.empty() && data.back() == '\0') {
        data.pop_back();
    }
    return RegistryValue{type, data};
}

bool RegistryKeyExists(HKEY root, const char* subkey) {
    win32::UniqueRegistryKey key;
    return ::RegOpenKeyExA(root, subkey, 0, KEY_QUERY_VALUE, key.put()) == ERROR_SUCCESS;
}

std::optional<Shortcut> ReadShortcut(const std::string& path, std::string& error) {
    const HRESULT started = ::CoInitialize(nullptr);
    struct Uninitialize {
        bool needed;
        ~Uninitialize() {
            if (needed) {
                ::CoUninitialize();
            }
        }
    } uninitialize{SUCCEEDED(started)};
    std::optional<Shortcut> result;
    {
        win32::ComPtr<IShellLinkA> link;
        HRESULT hr = ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                        link.put_void());
        if (FAILED(hr)) {
            error = "CoCreateInstance(CLSID_ShellLink) failed, " + std::to_string(hr);
            return std::nullopt;
        }
        win32::ComPtr<IPersistFile> file;
        hr = link->QueryInterface(IID_IPersistFile, file.put_void());
        if (FAILED(hr)) {
            error = "QueryInterface(IPersistFile) failed, " + std::to_string(hr);
            return std::nullopt;
        }
        const std::wstring widePath(path.begin(), path.end());
        hr = file->Load(widePath.c_str(), STGM_READ);
        if (FAILED(hr)) {
            error = "IPersistFile::Load(" + path + ") failed, " + std::to_string(hr);
            return std::nullopt;
        }
        char target[MAX_PATH + 1] = "";
        char description[INFOTIPSIZE + 1] = "";
        if (FAILED(hr = link->GetPath(target, sizeof target, nullptr, SLGP_RAWPATH))) {
            error = "IShellLinkA::GetPath failed, " + std::to_string(hr);
            return std::nullopt;
        }
        if (FAILED(hr = link->GetDescription(description, sizeof description))) {
            error = "IShellLinkA::GetDescription failed, " + std::to_string(hr);
            return std::nullopt;
        }
        result = Shortcut{target, description};
    }
    return result;
}

}  // namespace install::e2e
