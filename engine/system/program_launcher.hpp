// Starting programs at the end of the installation.
#pragma once

#include <cstdint>
#include <string>

#include "engine/system/interface.hpp"

namespace install {

class IProgramLauncher : public Interface {
public:
    // Starts commandLine with the window show command and returns without
    // waiting for it: 32 and above when it started, else the failure code
    // (0 out of resources, 2 or 3 not found, 11 not a program).
    virtual std::uint32_t Launch(const std::string& commandLine, int showCommand) = 0;
};

}  // namespace install
