// inpcheck: tells a script's author how every step will read the script.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "checker/script_check.hpp"
#include "checker/write_report.hpp"

#ifdef _WIN32
#include "platform/win32/win32_files.hpp"
using PlatformFiles = install::win32::Win32Files;
#else
#include "platform/posix/posix_files.hpp"
using PlatformFiles = install::posix::PosixFiles;
#endif

namespace {

constexpr const char* kUsage =
    "usage: inpcheck [--family 9x|nt|both] [--mask N] [--disk DIR] [--json] SETUP.INP\n";

int Usage(const char* problem) {
    std::fprintf(stderr, "inpcheck: %s\n%s", problem, kUsage);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    install::check::CheckOptions options;
    bool json = false;
    std::string script;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool hasValue = i + 1 < argc;
        if (argument == "--json") {
            json = true;
        } else if (argument == "--family" && hasValue) {
            const std::string family = argv[++i];
            if (family != "9x" && family != "nt" && family != "both") {
                return Usage("--family takes 9x, nt or both");
            }
            options.windows9x = family != "nt";
            options.windowsNt = family != "9x";
        } else if (argument == "--mask" && hasValue) {
            char* end = nullptr;
            const unsigned long mask = std::strtoul(argv[++i], &end, 0);
            if (end == argv[i] || *end != '\0' || mask > 0xFFFFFFFFul) {
                return Usage("--mask takes a number");
            }
            options.optionMask = static_cast<std::uint32_t>(mask);
        } else if (argument == "--disk" && hasValue) {
            options.diskFolder = argv[++i];
        } else if (argument == "--help" || argument == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (!argument.empty() && argument[0] == '-') {
            return Usage(("unknown option " + argument).c_str());
        } else if (script.empty()) {
            script = argument;
        } else {
            return Usage("one script at a time");
        }
    }
    if (script.empty()) {
        return Usage("no script named");
    }
    PlatformFiles files;
    const auto style =
        json ? install::check::ReportWriter::Style::JsonLines : install::check::ReportWriter::Style::People;
    const install::check::ReportOutcome outcome = install::check::WriteCheckReport(files, script, options, style, stdout);
    if (!outcome.written) {
        std::fputs("inpcheck: the report could not be written in full\n", stderr);
        return 2;
    }
    return outcome.exitStatus;
}
