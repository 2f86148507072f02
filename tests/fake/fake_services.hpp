// Fakes of the services the installation steps use beyond files,
// directories and the registry: LZ expansion, shell links, program launch.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/system/lz_expand.hpp"
#include "engine/system/program_launcher.hpp"
#include "engine/system/shell_links.hpp"

namespace install::fake {

class FakeFiles;
// Every call on the fake, in order, as short texts such as
// "open-read C:\WINDOWS\SETUP.INP".
using CallLog = std::vector<std::string>;

// LZ expansion over the fake files. A "compressed" file is the 14-byte
// header followed by the expanded bytes as they are, so that a test can
// declare one size and hold another.
class FakeLz : public ILzExpand {
public:
    FakeLz(FakeFiles& files, CallLog& calls) : files_(files), calls_(calls) {}

    int Open(const std::string& path, LzOpenMode mode) override;
    std::int32_t Copy(int source, int destination) override;
    void Close(int handle) override;

    // Makes a compressed file's bytes: header declaring declaredSize, then
    // contents.
    static std::string Compressed(const std::string& contents, std::uint32_t declaredSize);

    // When set, Copy returns this instead of copying.
    std::optional<std::int32_t> copyResult;
    // When set, Copy writes only this many bytes and reports them.
    std::optional<std::size_t> copyOnly;
    std::set<int> openHandles;

private:
    FakeFiles& files_;
    CallLog& calls_;
    std::map<int, std::string> paths_;
    int next_ = 1;
};

class FakeShellLinks : public IShellLinks {
public:
    explicit FakeShellLinks(CallLog& calls) : calls_(calls) {}

    void Initialize() override;
    void Uninitialize() override;
    std::unique_ptr<IShellLinkObject> CreateLink(LinkResult& result) override;

    struct SavedLink {
        std::string target;
        std::string description;
    };
    // Link files saved, by path.
    std::map<std::string, SavedLink> saved;
    bool failCreate = false;
    bool failPersistFile = false;
    // Targets SetPath refuses, and link paths Save refuses.
    std::set<std::string> refusedTargets;
    std::set<std::string> refusedSaves;
    int initialized = 0;

private:
    CallLog& calls_;
};

class FakeLauncher : public IProgramLauncher {
public:
    explicit FakeLauncher(CallLog& calls) : calls_(calls) {}

    std::uint32_t Launch(const std::string& commandLine, int showCommand) override;

    // Result by command line; 33 (started) for any other.
    std::map<std::string, std::uint32_t> results;
    std::vector<std::pair<std::string, int>> launched;

private:
    CallLog& calls_;
};

}  // namespace install::fake
