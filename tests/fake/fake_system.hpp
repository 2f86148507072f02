// An in-memory system for the native unit tests: it records every call,
// succeeds by default, and can be told to fail any single operation.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/status_operations.hpp"
#include "engine/system/system.hpp"

namespace install::fake {

// Every call on the fake, in order, as short texts such as
// "open-read C:\WINDOWS\SETUP.INP".
using CallLog = std::vector<std::string>;

class FakeFiles : public IFiles {
public:
    explicit FakeFiles(CallLog& calls) : calls_(calls) {}

    std::unique_ptr<IFile> Open(const std::string& path, FileMode mode) override;

    // File contents by path, as raw bytes.
    std::map<std::string, std::string> files;
    // Paths that are directories: they never open as files.
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

class FakeDirectories : public IDirectories {
public:
    explicit FakeDirectories(CallLog& calls) : calls_(calls) {}

    std::string CurrentDirectory() override;
    bool ChangeCurrentDirectory(const std::string& path) override;

    std::string current = "D:\\SETUP";
    // Directories that can be made current; any other path fails.
    std::set<std::string> existing = {"D:\\SETUP"};

private:
    CallLog& calls_;
};

class FakeRegistry : public IRegistry {
public:
    explicit FakeRegistry(CallLog& calls) : calls_(calls) {}

    std::unique_ptr<IRegistryKey> OpenForQuery(RegistryRoot root,
                                               const std::string& subkey) override;

    using Key = std::pair<RegistryRoot, std::string>;
    // Values by key and name.
    std::map<Key, std::map<std::string, std::string>> keys;
    int openKeys = 0;

private:
    CallLog& calls_;
};

class FakeWindows : public IWindows {
public:
    explicit FakeWindows(CallLog& calls) : calls_(calls) {}

    WindowHandle FindTopLevelWindow(const std::string& title) override;
    void SendCloseMessage(WindowHandle window) override;

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
    FakeDirectories directories{calls};
    FakeRegistry registry{calls};
    FakeWindows windows{calls};
    FakeSystemInfo info{calls};
    System seam{files, directories, registry, windows, info};

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
};

}  // namespace install::fake
