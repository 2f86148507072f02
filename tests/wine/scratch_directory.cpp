// Scratch directories and whole-file access for the tests.
#include "tests/wine/scratch_directory.hpp"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace install::wine_test {

namespace {

// The wide form with the prefix that lifts the length limit. The tests'
// paths are ASCII, so widening each character is the whole conversion.
std::wstring LongForm(const std::string& path) {
    return L"\\\\?\\" + std::wstring(path.begin(), path.end());
}

// Removes a directory tree by hand: the C++ library's remove_all gives up
// on paths longer than the A functions take.
void RemoveTree(const std::wstring& directory) {
    WIN32_FIND_DATAW found;
    const HANDLE search = ::FindFirstFileW((directory + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring child = directory + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW(child.c_str());
            }
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(directory.c_str());
}

}  // namespace

ScratchDirectory::ScratchDirectory(const std::string& name)
    : path_("C:\\" + name + "-" + std::to_string(::GetCurrentProcessId())) {
    // A directory left by a test that died with the same process id.
    RemoveTree(LongForm(path_));
    ::CreateDirectoryA(path_.c_str(), nullptr);
}

ScratchDirectory::~ScratchDirectory() {
    // The process must not stand in it, or it cannot go.
    ::SetCurrentDirectoryA("C:\\");
    RemoveTree(LongForm(path_));
}

std::string ScratchDirectory::Join(const std::string& name) const { return path_ + "\\" + name; }

std::string ScratchDirectory::MakeDirectoryOfLength(std::size_t length) const {
    std::string path = path_;
    char letter = 'a';
    while (path.size() + 1 < length) {
        const std::size_t remaining = length - path.size();
        // Each level adds a backslash and a name of at least one letter, so
        // a level never leaves exactly one character over.
        std::size_t name = std::min<std::size_t>(50, remaining - 1);
        if (remaining - (name + 1) == 1) {
            --name;
        }
        path += "\\" + std::string(name, letter);
        letter = letter == 'z' ? 'a' : static_cast<char>(letter + 1);
        if (!::CreateDirectoryW(LongForm(path).c_str(), nullptr) &&
            ::GetLastError() != ERROR_ALREADY_EXISTS) {
            return {};
        }
    }
    return path.size() == length ? path : std::string();
}

bool ChangeToDirectoryOfAnyLength(const std::string& path) {
    return ::SetCurrentDirectoryW(LongForm(path).c_str()) != FALSE;
}

std::optional<std::string> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

std::string Visible(const std::string& bytes) {
    std::string shown;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7f) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "<%02X>", byte);
            shown += escaped;
        } else {
            shown += c;
        }
    }
    return shown;
}

}  // namespace install::wine_test
