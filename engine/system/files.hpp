// Files as the engine sees them: raw bytes in and out. Text mode (CR LF,
// Ctrl-Z) is applied above this seam, in portable code.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "engine/system/interface.hpp"

namespace install {

// An open file. Destroying it closes it.
class IFile : public Interface {
public:
    // Reads up to size bytes. Returns the number read, 0 at end of file,
    // or -1 on a read error.
    virtual std::ptrdiff_t Read(char* buffer, std::size_t size) = 0;
    // Writes all size bytes; false when the write failed.
    virtual bool Write(const char* data, std::size_t size) = 0;
};

enum class FileMode {
    Read,    // existing file, reading from its start
    Create,  // created, or emptied when it exists
    Append,  // created when missing; every write goes to the end
};

class IFiles : public Interface {
public:
    // Opens a regular file; nullptr when it cannot be opened in that mode
    // (missing, a directory, no access).
    virtual std::unique_ptr<IFile> Open(const std::string& path, FileMode mode) = 0;
    // Whether a file or a folder of that name exists.
    virtual bool Exists(const std::string& path) = 0;
    // Deletes a file; false when it could not.
    virtual bool Remove(const std::string& path) = 0;
};

}  // namespace install
