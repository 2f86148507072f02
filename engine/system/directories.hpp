// The process's current directory.
#pragma once

#include <cstdint>
#include <string>

#include "engine/system/interface.hpp"

namespace install {

class IDirectories : public Interface {
public:
    // The current directory, at most 259 characters; empty when it cannot
    // be read into that room.
    virtual std::string CurrentDirectory() = 0;
    // Makes path the current directory; false when it cannot.
    virtual bool ChangeCurrentDirectory(const std::string& path) = 0;
    // Makes one directory (no missing upper levels) with default security;
    // a relative path is made in the current directory. 0 when it was made,
    // else the platform's error code.
    virtual std::uint32_t MakeDirectory(const std::string& path) = 0;
};

// The error that says the name exists already, as a directory or a file.
inline constexpr std::uint32_t kErrorAlreadyExists = 183;

}  // namespace install
