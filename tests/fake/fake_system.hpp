// An in-memory system for the native unit tests: it records every call,
// succeeds by default, and can be told to fail any single operation.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/status_operations.hpp"
#include "tests/fake/fake_services.hpp"
#include "engine/system/system.hpp"

namespace install::fake {

class FakeFiles : public IFiles {
public:
    explicit FakeFiles(CallLog& calls) : calls_(calls) {}

    std::unique_ptr<IFile> Open(const std::string& path, FileMode mode) override;
    bool Exists(const std::string& path) override;
    bool Remove(const std::string& path) override;

    // File contents by path, as raw bytes.
    std::map<std::string, std::string> files;
    // Directories that exist, without trailing backslash ("C:" for a drive's
    // root). They never open as files.
    std::set<std::string> directories;
    // Paths whose opening fails, in any mode.
    std::set<std::string> failOpen;
    // Paths whose reads fail after this many bytes were read.
    std::map<std::string, std::size_t> failReadAfter;
    // How many files are open now.
    int openCount = 0;

private:
    CallLog& calls_;
};

// The current directory, over the directories of the fake files.
class FakeDirectories : public IDirectories {
public:
    FakeDirectories(CallLog& calls, FakeFiles& files) : calls_(calls), files_(files) {}

    std::string CurrentDirectory() override;
    bool ChangeCurrentDirectory(const std::string& path) override;
    std::uint32_t MakeDirectory(const std::string& path) override;

    // The path a name stands for from the current directory.
    std::string Resolve(const std::string& path) const;

    std::string current = "D:\\SETUP";
    // Directories whose making fails with an access error.
    std::set<std::string> failMake;

private:
    CallLog& calls_;
    FakeFiles& files_;
};

class FakeRegistry : public IRegistry {
public:
    explicit FakeRegistry(CallLog& calls) : calls_(calls) {}

    std::unique_ptr<IRegistryKey> OpenForQuery(RegistryRoot root,
                                               const std::string& subkey) override;
    std::unique_ptr<IRegistryWriteKey> CreateKey(RegistryRoot root, const std::string& subkey,
                                                 RegistryResult& result) override;

    using Key = std::pair<RegistryRoot, std::string>;
    // Text values to read, by key and name.
    std::map<Key, std::map<std::string, std::string>> keys;
    struct Value {
        std::uint32_t type;
        std::string bytes;
    };
    // Values written, by key and name.
    std::map<Key, std::map<std::string, Value>> written;
    // Subkeys that cannot be created, and value names that cannot be set.
    std::set<std::string> refusedKeys;
    std::set<std::string> refusedValues;
    int openKeys = 0;

private:
    CallLog& calls_;
};

class FakeWindows : public IWindows {
public:
    explicit FakeWindows(CallLog& calls) : calls_(calls) {}

    WindowHandle FindTopLevelWindow(const std::string& title) override;
    void SendCloseMessage(WindowHandle window) override;
    void BringToTop(WindowHandle window) override;

    // Adds a top-level window; returns its handle.
    WindowHandle AddWindow(const std::string& title);

    std::vector<std::pair<WindowHandle, std::string>> windows;
    // Titles of the windows that were sent WM_CLOSE, in order.
    std::vector<std::string> closed;

private:
    CallLog& calls_;
};

class FakeSystemInfo : public ISystemInfo {
public:
    explicit FakeSystemInfo(CallLog& calls) : calls_(calls) {}

    std::string WindowsDirectoryPath() override;
    std::string SystemDirectoryPath() override;
    std::optional<std::uint32_t> QueryPlatformId() override;

    std::string windowsDirectory = "C:\\WINDOWS";
    std::string systemDirectory = "C:\\WINDOWS\\SYSTEM";
    std::optional<std::uint32_t> platformId = 1;

private:
    CallLog& calls_;
};

struct FakeSystem {
    CallLog calls;
    FakeFiles files{calls};
    FakeDirectories directories{calls, files};
    FakeRegistry registry{calls};
    FakeWindows windows{calls};
    FakeSystemInfo info{calls};
    FakeLz lz{files, calls};
    FakeShellLinks links{calls};
    FakeLauncher launcher{calls};
    System seam{files, directories, registry, windows, info, lz, links, launcher};

    FakeSystem() { files.directories.insert(directories.current); }

    // The file's bytes; empty when it does not exist.
    std::string FileBytes(const std::string& path) const;
};

// The progress page's status buttons, recorded.
class FakeStatus : public IStatusOperations {
public:
    FakeStatus();

    void EnableStatusButton(int button, bool enable) override;
    std::string ReadStatusLabel(int button) override;
    void SetStatusText(int button, const std::string& text) override;
    int ShowMessageBox(const std::string& text, const std::string& caption,
                       unsigned style) override;
    WindowHandle PageWindow() override { return pageWindow; }
    bool Interactive() const override { return interactive; }

    struct Button {
        std::string text;
        bool enabled = false;
    };
    std::map<int, Button> buttons;
    // Every text set, with its button, in order.
    std::vector<std::pair<int, std::string>> history;

    struct Box {
        std::string text;
        std::string caption;
        unsigned style;
    };
    std::vector<Box> boxes;
    // Answers given to message boxes in turn; IDOK once they run out.
    std::vector<int> answers;
    WindowHandle pageWindow = 0x1234;
    bool interactive = true;
};

// Text as an editor saves it on disk: every LF after a CR.
std::string WithCrLf(std::string_view text);
// Bytes from disk as text to compare: every CR dropped.
std::string WithoutCr(std::string_view bytes);

}  // namespace install::fake
