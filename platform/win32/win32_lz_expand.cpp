// LZ expansion on the platform's LZ library.
#include "platform/win32/win32_lz_expand.hpp"

#include <windows.h>
#include <lzexpand.h>

#include <vector>

namespace install::win32 {

int Win32LzExpand::Open(const std::string& path, LzOpenMode mode) {
    WORD style = OF_READ;
    switch (mode) {
        case LzOpenMode::Exist:
            style = OF_EXIST;
            break;
        case LzOpenMode::Read:
            style = OF_READ;
            break;
        case LzOpenMode::Create:
            style = OF_CREATE;
            break;
    }
    // The library takes the name as a writable buffer.
    std::vector<char> name(path.begin(), path.end());
    name.push_back('\0');
    OFSTRUCT record{};
    return LZOpenFileA(name.data(), &record, style);
}

std::int32_t Win32LzExpand::Copy(int source, int destination) {
    return LZCopy(source, destination);
}

void Win32LzExpand::Close(int handle) {
    LZClose(handle);
}

}  // namespace install::win32
