// Starting programs with the platform's launcher.
#pragma once

#include "engine/system/program_launcher.hpp"

namespace install::win32 {

class Win32ProgramLauncher : public IProgramLauncher {
public:
    std::uint32_t Launch(const std::string& commandLine, int showCommand) override;
};

}  // namespace install::win32
