// A machine for running one installation step against the fake system:
// Windows 98 in C:\WINDOWS, started from D:\SETUP.
#pragma once

#include <string>

#include "engine/step_frame.hpp"
#include "tests/fake/fake_system.hpp"

namespace install::testing_support {

struct StepFixture {
    fake::FakeSystem system;
    fake::FakeStatus status;
    InstallContext context;
    StepEnvironment environment{context, system.seam, status};

    explicit StepFixture(std::uint32_t platformId = 1) {
        context.optionMask = OPTION_MANUAL;
        context.platformId = platformId;
        context.windowsDir = "C:\\WINDOWS";
        context.systemDir = "C:\\WINDOWS\\SYSTEM";
        context.systemRoot = "C:";
        context.sourceDir = "D:\\SETUP";
        context.sourceRoot = "D:";
        context.desktopDir = "C:\\WINDOWS\\Desktop";
        context.programsDir = "C:\\WINDOWS\\Start Menu\\Programs";
        context.userProgramsDir = context.programsDir;
        context.scriptPath = "C:\\WINDOWS\\SETUP.INP";
        context.logPath = "C:\\WINDOWS\\INSTLOG.TXT";
        for (const char* folder : {"C:", "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM", "C:\\WINDOWS\\Desktop",
                                   "C:\\WINDOWS\\Start Menu", "C:\\WINDOWS\\Start Menu\\Programs", "D:",
                                   "D:\\SETUP"}) {
            system.files.directories.insert(folder);
        }
        system.files.files[context.logPath] = "Installation Log\r\n";
    }

    // Stages the script with CR LF line ends.
    void Script(const std::string& text) { system.files.files[context.scriptPath] = fake::WithCrLf(text); }

    // The log's lines after the step's banner, line ends as LF.
    std::string LogLines() const {
        const std::string text = fake::WithoutCr(system.FileBytes(context.logPath));
        const auto banner = text.find("##\n\n");
        return banner == std::string::npos ? text : text.substr(banner + 4);
    }

    const std::string& Button(int button) { return status.buttons[button].text; }
};

}  // namespace install::testing_support
