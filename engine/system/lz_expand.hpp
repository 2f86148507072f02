// The platform's LZ expansion library: files compressed on the installation
// disk are expanded as they are copied; any other file is copied as it is.
#pragma once

#include <cstdint>
#include <string>

#include "engine/system/interface.hpp"

namespace install {

enum class LzOpenMode {
    Exist,   // only tells whether the file exists; leaves nothing open
    Read,    // a compressed file opens for expansion, any other for reading
    Create,  // created, or emptied when it exists
};

class ILzExpand : public Interface {
public:
    // A handle of 0 or more, or a negative failure code.
    virtual int Open(const std::string& path, LzOpenMode mode) = 0;
    // Writes the whole source, expanded when compressed, into destination.
    // The number of bytes written, or a negative failure code.
    virtual std::int32_t Copy(int source, int destination) = 0;
    virtual void Close(int handle) = 0;
};

}  // namespace install
