// A directory of the test's own on drive C:, removed with what it holds
// when the test ends, and reading and writing whole files through the C++
// library rather than through the seam under test.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace install::wine_test {

class ScratchDirectory {
public:
    // Creates C:\<name>-<process id>, empty.
    explicit ScratchDirectory(const std::string& name);
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;
    ~ScratchDirectory();

    // The directory as a Windows path, no trailing backslash.
    const std::string& Path() const { return path_; }
    // path_ + "\" + name.
    std::string Join(const std::string& name) const;

    // Creates directories one inside another under this one until the
    // innermost's path is exactly length characters, which may be more
    // than the A functions take. Returns that path, or empty when it
    // could not be made.
    std::string MakeDirectoryOfLength(std::size_t length) const;

private:
    std::string path_;
};

// Makes path (an ASCII path of any length) the current directory through
// the wide API, which is not limited to 259 characters.
bool ChangeToDirectoryOfAnyLength(const std::string& path);

// The file's bytes; nullopt when it cannot be read.
std::optional<std::string> ReadBytes(const std::string& path);
// Replaces the file with these bytes; false when it cannot.
bool WriteBytes(const std::string& path, const std::string& bytes);

// A text with its control and non-ASCII bytes shown as <NN>, for messages.
std::string Visible(const std::string& bytes);

}  // namespace install::wine_test
