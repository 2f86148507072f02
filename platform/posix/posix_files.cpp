// Files on a Linux file system for the tools that run there.
#include "platform/posix/posix_files.hpp"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <cstdio>

namespace install::posix {

namespace {

class StdioFile final : public IFile {
public:
    explicit StdioFile(std::FILE* file) : file_(file) {}
    ~StdioFile() override { std::fclose(file_); }

    std::ptrdiff_t Read(char* buffer, std::size_t size) override {
        const std::size_t got = std::fread(buffer, 1, size, file_);
        if (got == 0 && std::ferror(file_)) {
            return -1;
        }
        return static_cast<std::ptrdiff_t>(got);
    }
    bool Write(const char* data, std::size_t size) override {
        return std::fwrite(data, 1, size, file_) == size;
    }

private:
    std::FILE* file_;
};

bool IsDirectory(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The entry of folder whose name equals name but for letter case.
std::string MatchInFolder(const std::string& folder, const std::string& name) {
    DIR* directory = ::opendir(folder.empty() ? "/" : folder.c_str());
    if (directory == nullptr) {
        return name;
    }
    std::string found = name;
    while (const dirent* entry = ::readdir(directory)) {
        if (::strcasecmp(entry->d_name, name.c_str()) == 0) {
            found = entry->d_name;
            break;
        }
    }
    ::closedir(directory);
    return found;
}

}  // namespace

std::string PosixFiles::Resolve(const std::string& path) {
    std::string slashed = path;
    for (char& c : slashed) {
        if (c == '\\') {
            c = '/';
        }
    }
    struct stat info {};
    if (slashed.empty() || ::stat(slashed.c_str(), &info) == 0) {
        return slashed;
    }
    std::string resolved = slashed[0] == '/' ? "" : ".";
    std::size_t start = slashed[0] == '/' ? 1 : 0;
    while (start <= slashed.size()) {
        const std::size_t end = std::min(slashed.find('/', start), slashed.size());
        const std::string name = slashed.substr(start, end - start);
        if (!name.empty()) {
            const std::string match = MatchInFolder(resolved, name);
            resolved += '/';
            resolved += match;
        }
        start = end + 1;
    }
    return resolved;
}

std::unique_ptr<IFile> PosixFiles::Open(const std::string& path, FileMode mode) {
    const std::string resolved = Resolve(path);
    if (IsDirectory(resolved)) {
        return nullptr;
    }
    const char* how = mode == FileMode::Read ? "rb" : mode == FileMode::Create ? "wb" : "ab";
    std::FILE* file = std::fopen(resolved.c_str(), how);
    return file ? std::make_unique<StdioFile>(file) : nullptr;
}

bool PosixFiles::Exists(const std::string& path) {
    struct stat info {};
    return ::stat(Resolve(path).c_str(), &info) == 0;
}

bool PosixFiles::Remove(const std::string& path) {
    return std::remove(Resolve(path).c_str()) == 0;
}

}  // namespace install::posix
