// The process's current directory.
#pragma once

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
};

}  // namespace install
