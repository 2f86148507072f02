// A test program the launch tests start: it writes into the file its
// command line names how it was started, and ends at once. A window
// program, so that starting it shows nothing.
//
// The file, "pid=<process id> show=<show command>\n", with show=none when
// the starter gave no show command, appears whole: it is written under
// another name and then renamed.
#include <windows.h>

#include <cstdio>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    std::string path = commandLine == nullptr ? "" : commandLine;
    while (!path.empty() && (path.back() == ' ' || path.back() == '\t')) {
        path.pop_back();
    }
    if (path.empty()) {
        return 2;
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    ::GetStartupInfoA(&startup);
    const std::string show = (startup.dwFlags & STARTF_USESHOWWINDOW)
                                 ? std::to_string(startup.wShowWindow)
                                 : std::string("none");
    const std::string text =
        "pid=" + std::to_string(::GetCurrentProcessId()) + " show=" + show + "\n";
    const std::string partial = path + ".partial";
    std::FILE* file = std::fopen(partial.c_str(), "wb");
    if (file == nullptr) {
        return 3;
    }
    const bool written = std::fputs(text.c_str(), file) >= 0;
    if (std::fclose(file) != 0 || !written) {
        return 3;
    }
    return ::MoveFileExA(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 4;
}
