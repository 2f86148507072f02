// Fakes of LZ expansion, shell links and program launch.
#include "tests/fake/fake_services.hpp"

#include <algorithm>

#include "tests/fake/fake_system.hpp"

namespace install::fake {

namespace {
constexpr int kLzFileNotFound = -2;  // negative, as the library's own failures are
constexpr std::size_t kHeaderSize = 14;
const std::string kMagic("SZDD\x88\xF0\x27\x33", 8);
}  // namespace

std::string FakeLz::Compressed(const std::string& contents, std::uint32_t declaredSize) {
    std::string bytes = kMagic + "A" + "?";
    for (int i = 0; i < 4; ++i) {
        bytes.push_back(static_cast<char>((declaredSize >> (8 * i)) & 0xFF));
    }
    return bytes + contents;
}

int FakeLz::Open(const std::string& path, LzOpenMode mode) {
    calls_.push_back((mode == LzOpenMode::Exist   ? "lz-exist "
                      : mode == LzOpenMode::Read  ? "lz-read "
                                                  : "lz-create ") +
                     path);
    if (files_.failOpen.count(path) || files_.directories.count(path)) {
        return kLzFileNotFound;
    }
    if (mode != LzOpenMode::Create && !files_.files.count(path)) {
        return kLzFileNotFound;
    }
    if (mode == LzOpenMode::Exist) {
        return 0;
    }
    if (mode == LzOpenMode::Create) {
        // A file can be made only in a folder that exists.
        const auto slash = path.rfind('\\');
        if (slash != std::string::npos && !files_.directories.count(path.substr(0, slash))) {
            return kLzFileNotFound;
        }
        files_.files[path].clear();
    }
    const int handle = next_++;
    paths_[handle] = path;
    openHandles.insert(handle);
    return handle;
}

std::int32_t FakeLz::Copy(int source, int destination) {
    calls_.push_back("lz-copy");
    if (copyResult) {
        return *copyResult;
    }
    std::string bytes = files_.files[paths_.at(source)];
    if (bytes.compare(0, kMagic.size(), kMagic) == 0 && bytes.size() >= kHeaderSize) {
        bytes = bytes.substr(kHeaderSize);
    }
    if (copyOnly) {
        bytes.resize(std::min(bytes.size(), *copyOnly));
    }
    files_.files[paths_.at(destination)] = bytes;
    return static_cast<std::int32_t>(bytes.size());
}

void FakeLz::Close(int handle) {
    calls_.push_back("lz-close " + paths_.at(handle));
    openHandles.erase(handle);
}

namespace {

class FakeLink : public IShellLinkObject {
public:
    FakeLink(FakeShellLinks& owner, CallLog& calls) : owner_(owner), calls_(calls) {}
    ~FakeLink() override {
        if (persistFile_) {
            calls_.push_back("release-persist-file");
        }
        calls_.push_back("release-link");
    }

    LinkResult QueryPersistFile() override {
        calls_.push_back("query-persist-file");
        if (owner_.failPersistFile) {
            return -2147467262;  // no such interface
        }
        persistFile_ = true;
        return 0;
    }
    LinkResult SetPath(const std::string& target) override {
        calls_.push_back("set-path " + target);
        if (owner_.refusedTargets.count(target)) {
            return -2147024809;  // invalid argument
        }
        target_ = target;
        return 0;
    }
    LinkResult SetDescription(const std::string& description) override {
        calls_.push_back("set-description " + description);
        description_ = description;
        return 0;
    }
    LinkResult Save(const std::string& path) override {
        calls_.push_back("save " + path);
        if (owner_.refusedSaves.count(path)) {
            return -2147024893;  // path not found
        }
        owner_.saved[path] = {target_, description_};
        return 0;
    }

private:
    FakeShellLinks& owner_;
    CallLog& calls_;
    bool persistFile_ = false;
    std::string target_;
    std::string description_;
};

}  // namespace

void FakeShellLinks::Initialize() {
    calls_.push_back("co-initialize");
    ++initialized;
}

void FakeShellLinks::Uninitialize() {
    calls_.push_back("co-uninitialize");
    --initialized;
}

std::unique_ptr<IShellLinkObject> FakeShellLinks::CreateLink(LinkResult& result) {
    calls_.push_back("create-link");
    if (failCreate) {
        result = -2147221164;  // class not registered
        return nullptr;
    }
    result = 0;
    return std::make_unique<FakeLink>(*this, calls_);
}

std::uint32_t FakeLauncher::Launch(const std::string& commandLine, int showCommand) {
    calls_.push_back("launch " + commandLine);
    launched.emplace_back(commandLine, showCommand);
    const auto it = results.find(commandLine);
    return it == results.end() ? 33u : it->second;
}

}  // namespace install::fake
