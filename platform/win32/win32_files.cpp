// Files of the system seam on the Win32 file API.
#include "platform/win32/win32_files.hpp"

#include <windows.h>

#include <algorithm>
#include <limits>

#include "platform/win32/c_string.hpp"
#include "platform/win32/unique_resource.hpp"

namespace install::win32 {

namespace {

class Win32File final : public IFile {
public:
    explicit Win32File(UniqueFileHandle handle) : handle_(std::move(handle)) {}

    std::ptrdiff_t Read(char* buffer, std::size_t size) override {
        // One ReadFile takes a DWORD count; a shorter read is allowed by the
        // seam, so a larger request is simply cut.
        const DWORD wanted = static_cast<DWORD>(
            std::min<std::size_t>(size, std::numeric_limits<DWORD>::max()));
        DWORD got = 0;
        if (!::ReadFile(handle_.get(), buffer, wanted, &got, nullptr)) {
            return -1;
        }
        return static_cast<std::ptrdiff_t>(got);
    }

    bool Write(const char* data, std::size_t size) override {
        // WriteFile may take less than asked; the seam promises all or false.
        while (size > 0) {
            const DWORD chunk = static_cast<DWORD>(
                std::min<std::size_t>(size, std::numeric_limits<DWORD>::max()));
            DWORD written = 0;
            if (!::WriteFile(handle_.get(), data, chunk, &written, nullptr) || written == 0) {
                return false;
            }
            data += written;
            size -= written;
        }
        return true;
    }

private:
    UniqueFileHandle handle_;
};

struct OpenParameters {
    DWORD access;
    DWORD disposition;
};

OpenParameters ParametersFor(FileMode mode) {
    switch (mode) {
        case FileMode::Read:
            return {GENERIC_READ, OPEN_EXISTING};
        case FileMode::Create:
            return {GENERIC_WRITE, CREATE_ALWAYS};
        case FileMode::Append:
            // FILE_APPEND_DATA without FILE_WRITE_DATA makes the system put
            // every write at the end of the file, whatever else wrote there
            // since, with no seek of our own that could race.
            return {FILE_APPEND_DATA, OPEN_ALWAYS};
    }
    return {0, 0};
}

}  // namespace

std::unique_ptr<IFile> Win32Files::Open(const std::string& path, FileMode mode) {
    if (!FitsCString(path)) {
        return nullptr;
    }
    const OpenParameters parameters = ParametersFor(mode);
    if (parameters.access == 0) {
        return nullptr;
    }
    // Others may read and write the file while we hold it, as the C
    // runtime's files allow: the log is read by people while steps append.
    // No FILE_FLAG_BACKUP_SEMANTICS, so that a directory fails to open.
    UniqueFileHandle handle(::CreateFileA(path.c_str(), parameters.access,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          parameters.disposition, FILE_ATTRIBUTE_NORMAL,
                                          nullptr));
    if (!handle) {
        return nullptr;
    }
    return std::make_unique<Win32File>(std::move(handle));
}

bool Win32Files::Exists(const std::string& path) {
    return FitsCString(path) && ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Win32Files::Remove(const std::string& path) {
    return FitsCString(path) && ::DeleteFileA(path.c_str()) != FALSE;
}

}  // namespace install::win32
