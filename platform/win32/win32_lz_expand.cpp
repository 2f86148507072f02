// LZ expansion on the platform's LZ library.
#include "platform/win32/win32_lz_expand.hpp"

#include <windows.h>
#include <lzexpand.h>

#include <vector>

#include "platform/win32/c_string.hpp"

namespace install::win32 {

namespace {

// The library's handles are the file handles of the old API (HFILE): the
// file's handle value, or one of its own for a file it expands.
HFILE AsLibraryHandle(HANDLE file) {
    return static_cast<HFILE>(reinterpret_cast<INT_PTR>(file));
}

}  // namespace

// The library's own LZOpenFileA holds paths in a record of 128 characters,
// and when it cannot open a name it tries the "compressed" name (the last
// letter of the extension made "_"). Sources keep that: a disk may carry
// MANUAL.HL_ for a script that names MANUAL.HLP; a path too long for the
// record is opened by its exact name. Destinations are always created by
// their exact name: the library would create the other name when the one
// asked for cannot be made, and the copy would be reported as done.
int Win32LzExpand::Open(const std::string& path, LzOpenMode mode) {
    if (!FitsCString(path)) {
        return LZERROR_BADINHANDLE;
    }
    switch (mode) {
        case LzOpenMode::Exist: {
            const DWORD attributes = ::GetFileAttributesA(path.c_str());
            return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)
                       ? 0
                       : LZERROR_BADINHANDLE;
        }
        case LzOpenMode::Read: {
            if (path.size() < sizeof(OFSTRUCT{}.szPathName)) {
                std::vector<char> name(path.begin(), path.end());
                name.push_back('\0');
                OFSTRUCT record{};
                return ::LZOpenFileA(name.data(), &record, OF_READ);
            }
            const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                              FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file == INVALID_HANDLE_VALUE) {
                return LZERROR_BADINHANDLE;
            }
            // A compressed file gets a handle of the library's, which expands
            // it; any other keeps its own handle and is read as it is.
            const INT handle = ::LZInit(AsLibraryHandle(file));
            if (handle < 0) {
                ::CloseHandle(file);
            }
            return handle;
        }
        case LzOpenMode::Create: {
            const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                              FILE_ATTRIBUTE_NORMAL, nullptr);
            return file == INVALID_HANDLE_VALUE ? LZERROR_BADOUTHANDLE : AsLibraryHandle(file);
        }
    }
    return LZERROR_BADINHANDLE;
}

std::int32_t Win32LzExpand::Copy(int source, int destination) {
    return LZCopy(source, destination);
}

void Win32LzExpand::Close(int handle) {
    LZClose(handle);
}

}  // namespace install::win32
