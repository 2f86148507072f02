// The in-memory system of the native unit tests.
#include "tests/fake/fake_system.hpp"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace install::fake {

namespace {

const char* ModeName(FileMode mode) {
    switch (mode) {
        case FileMode::Read:
            return "open-read ";
        case FileMode::Create:
            return "open-create ";
        case FileMode::Append:
            return "open-append ";
    }
    return "open ";
}

class FakeFile : public IFile {
public:
    FakeFile(FakeFiles& owner, CallLog& calls, std::string path, std::optional<std::size_t> failAfter)
        : owner_(owner), calls_(calls), path_(std::move(path)), failAfter_(failAfter) {
        ++owner_.openCount;
    }
    ~FakeFile() override {
        --owner_.openCount;
        calls_.push_back("close " + path_);
    }

    std::ptrdiff_t Read(char* buffer, std::size_t size) override {
        const std::string& bytes = owner_.files[path_];
        if (failAfter_ && position_ >= *failAfter_) {
            return -1;
        }
        std::size_t count = std::min(size, bytes.size() - std::min(position_, bytes.size()));
        if (failAfter_) {
            count = std::min(count, *failAfter_ - position_);
        }
        std::memcpy(buffer, bytes.data() + position_, count);
        position_ += count;
        return static_cast<std::ptrdiff_t>(count);
    }

    bool Write(const char* data, std::size_t size) override {
        owner_.files[path_].append(data, size);
        return true;
    }

private:
    FakeFiles& owner_;
    CallLog& calls_;
    std::string path_;
    std::optional<std::size_t> failAfter_;
    std::size_t position_ = 0;
};

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

}  // namespace

std::unique_ptr<IFile> FakeFiles::Open(const std::string& path, FileMode mode) {
    calls_.push_back(ModeName(mode) + path);
    if (failOpen.count(path) || directories.count(path)) {
        return nullptr;
    }
    switch (mode) {
        case FileMode::Read:
            if (!files.count(path)) {
                return nullptr;
            }
            break;
        case FileMode::Create:
            files[path].clear();
            break;
        case FileMode::Append:
            files[path];  // created when missing
            break;
    }
    std::optional<std::size_t> failAfter;
    if (auto it = failReadAfter.find(path); it != failReadAfter.end()) {
        failAfter = it->second;
    }
    return std::make_unique<FakeFile>(*this, calls_, path, failAfter);
}

bool FakeFiles::Exists(const std::string& path) {
    calls_.push_back("exists " + path);
    return files.count(path) != 0 || directories.count(path) != 0;
}

bool FakeFiles::Remove(const std::string& path) {
    calls_.push_back("remove " + path);
    return files.erase(path) != 0;
}

std::string FakeDirectories::CurrentDirectory() {
    calls_.push_back("get-current-directory");
    return current;
}

namespace {

std::string WithoutTrailingBackslashes(std::string path) {
    while (!path.empty() && path.back() == '\\') {
        path.pop_back();
    }
    return path;
}

bool IsAbsolute(const std::string& path) {
    return (path.size() >= 2 && path[1] == ':') || (!path.empty() && path[0] == '\\');
}

}  // namespace

std::string FakeDirectories::Resolve(const std::string& path) const {
    return WithoutTrailingBackslashes(IsAbsolute(path) ? path : current + "\\" + path);
}

bool FakeDirectories::ChangeCurrentDirectory(const std::string& path) {
    calls_.push_back("set-current-directory " + path);
    const std::string resolved = Resolve(path);
    if (path.empty() || !files_.directories.count(resolved)) {
        return false;
    }
    current = resolved;
    return true;
}

std::uint32_t FakeDirectories::MakeDirectory(const std::string& path) {
    calls_.push_back("make-directory " + path);
    constexpr std::uint32_t kAccessDenied = 5;
    constexpr std::uint32_t kPathNotFound = 3;
    const std::string resolved = Resolve(path);
    if (failMake.count(resolved)) {
        return kAccessDenied;
    }
    if (files_.directories.count(resolved) || files_.files.count(resolved)) {
        return kErrorAlreadyExists;
    }
    const auto slash = resolved.rfind('\\');
    if (slash == std::string::npos || !files_.directories.count(resolved.substr(0, slash))) {
        return kPathNotFound;
    }
    files_.directories.insert(resolved);
    return 0;
}

namespace {

class FakeKey : public IRegistryKey {
public:
    FakeKey(FakeRegistry& owner, CallLog& calls, std::map<std::string, std::string>& values,
            std::string name)
        : owner_(owner), calls_(calls), values_(values), name_(std::move(name)) {
        ++owner_.openKeys;
    }
    ~FakeKey() override {
        --owner_.openKeys;
        calls_.push_back("close-key " + name_);
    }

    std::optional<std::string> QueryText(const std::string& valueName, std::size_t room) override {
        calls_.push_back("query-value " + valueName);
        const auto it = values_.find(valueName);
        if (it == values_.end() || it->second.size() + 1 > room) {
            return std::nullopt;
        }
        return it->second;
    }

private:
    FakeRegistry& owner_;
    CallLog& calls_;
    std::map<std::string, std::string>& values_;
    std::string name_;
};

std::string RootName(RegistryRoot root) {
    switch (root) {
        case RegistryRoot::ClassesRoot:
            return "HKEY_CLASSES_ROOT";
        case RegistryRoot::CurrentUser:
            return "HKEY_CURRENT_USER";
        case RegistryRoot::LocalMachine:
            return "HKEY_LOCAL_MACHINE";
        case RegistryRoot::Users:
            return "HKEY_USERS";
    }
    return "?";
}

}  // namespace

std::unique_ptr<IRegistryKey> FakeRegistry::OpenForQuery(RegistryRoot root,
                                                         const std::string& subkey) {
    const std::string name = RootName(root) + "\\" + subkey;
    calls_.push_back("open-key " + name);
    const auto it = keys.find({root, subkey});
    if (it == keys.end()) {
        return nullptr;
    }
    return std::make_unique<FakeKey>(*this, calls_, it->second, name);
}

namespace {

class FakeWriteKey : public IRegistryWriteKey {
public:
    FakeWriteKey(FakeRegistry& owner, CallLog& calls, FakeRegistry::Key key)
        : owner_(owner), calls_(calls), key_(std::move(key)) {
        ++owner_.openKeys;
    }
    ~FakeWriteKey() override {
        --owner_.openKeys;
        calls_.push_back("close-key " + key_.second);
    }

    RegistryResult SetValue(const std::string& valueName, std::uint32_t type, const std::string& bytes) override {
        calls_.push_back("set-value " + valueName);
        if (owner_.refusedValues.count(valueName)) {
            return 5;  // access denied
        }
        owner_.written[key_][valueName] = {type, bytes};
        return 0;
    }

private:
    FakeRegistry& owner_;
    CallLog& calls_;
    FakeRegistry::Key key_;
};

}  // namespace

std::unique_ptr<IRegistryWriteKey> FakeRegistry::CreateKey(RegistryRoot root, const std::string& subkey,
                                                           RegistryResult& result) {
    calls_.push_back("create-key " + RootName(root) + "\\" + subkey);
    if (refusedKeys.count(subkey)) {
        result = 5;
        return nullptr;
    }
    result = 0;
    return std::make_unique<FakeWriteKey>(*this, calls_, Key{root, subkey});
}

WindowHandle FakeWindows::FindTopLevelWindow(const std::string& title) {
    calls_.push_back("find-window " + title);
    for (const auto& [handle, windowTitle] : windows) {
        if (Lower(windowTitle) == Lower(title)) {
            return handle;
        }
    }
    return 0;
}

void FakeWindows::SendCloseMessage(WindowHandle window) {
    calls_.push_back("close-window " + std::to_string(window));
    for (const auto& [handle, title] : windows) {
        if (handle == window) {
            closed.push_back(title);
        }
    }
}

void FakeWindows::BringToTop(WindowHandle window) {
    calls_.push_back("bring-to-top " + std::to_string(window));
}

WindowHandle FakeWindows::AddWindow(const std::string& title) {
    const WindowHandle handle = 0x100 + windows.size();
    windows.emplace_back(handle, title);
    return handle;
}

std::string FakeSystemInfo::WindowsDirectoryPath() {
    calls_.push_back("windows-directory");
    return windowsDirectory;
}

std::string FakeSystemInfo::SystemDirectoryPath() {
    calls_.push_back("system-directory");
    return systemDirectory;
}

std::optional<std::uint32_t> FakeSystemInfo::QueryPlatformId() {
    calls_.push_back("version");
    return platformId;
}

std::string FakeSystem::FileBytes(const std::string& path) const {
    const auto it = files.files.find(path);
    return it == files.files.end() ? std::string() : it->second;
}

std::string WithCrLf(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (const char c : text) {
        if (c == '\n') {
            bytes += '\r';
        }
        bytes += c;
    }
    return bytes;
}

std::string WithoutCr(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        if (c != '\r') {
            text += c;
        }
    }
    return text;
}

FakeStatus::FakeStatus() {
    for (const auto& [button, label] : kStatusButtonLabels) {
        buttons[button].text = label;
    }
}

void FakeStatus::EnableStatusButton(int button, bool enable) {
    buttons.at(button).enabled = enable;
}

std::string FakeStatus::ReadStatusLabel(int button) {
    return buttons.at(button).text;
}

void FakeStatus::SetStatusText(int button, const std::string& text) {
    buttons.at(button).text = text;
    history.emplace_back(button, text);
}

int FakeStatus::ShowMessageBox(const std::string& text, const std::string& caption,
                               unsigned style) {
    boxes.push_back({text, caption, style});
    if (answers.empty()) {
        return kIdOk;
    }
    const int answer = answers.front();
    answers.erase(answers.begin());
    return answer;
}

}  // namespace install::fake
