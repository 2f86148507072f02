// How fast the script checker reads a large script from disk: prints the
// seconds and MB/s of whole runs as inpcheck makes them (the check, and its
// report for people written to a file), for a script whose bulk lies outside
// the sections the steps read, and for one whose bulk lies in them.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "checker/write_report.hpp"
#include "platform/posix/posix_files.hpp"

namespace {

constexpr const char* kSections[] = {"Dirs", "Files", "Folders", "Links", "Regs", "Exes"};

std::string EntryFor(const std::string& kind, std::size_t i) {
    const std::string n = std::to_string(i);
    if (kind == "Dirs") return "%W%\\APP,DIR" + n;
    if (kind == "Files") return "%C%\\FILE" + n + ".TXT,%W%\\APP\\FILE" + n + ".TXT";
    if (kind == "Folders") return "%P%,Folder " + n;
    if (kind == "Links") return "%W%\\APP\\TOOL" + n + ".EXE,%P%\\Folder\\Tool " + n + ".lnk,Tool " + n;
    if (kind == "Regs") return "HKEY_CURRENT_USER,Software\\Bench\\Key" + n + ",Value,REG_DWORD," + n;
    return "%W%\\APP\\TOOL" + n + ".EXE,Tool " + n + ",SW_HIDE";
}

// A script of about megabytes MB. inSections: the bulk is in the sections
// the steps read; otherwise in sections no step reads.
std::string MakeScript(std::size_t megabytes, bool inSections) {
    const std::size_t target = megabytes * 1024 * 1024;
    std::string script = "; generated for the checker benchmark\r\n";
    std::size_t i = 0;
    if (!inSections) {
        while (script.size() < target) {
            script += "[Notes " + std::to_string(i) + "]\r\n";
            for (int j = 0; j < 20; ++j, ++i) {
                script += "note " + std::to_string(i) + ",nothing any step reads\r\n";
            }
        }
        for (const char* family : {"Win9X", "WinNT"}) {
            for (const char* kind : kSections) {
                script += std::string("[") + family + " " + kind + "]\r\n" + EntryFor(kind, 1) + "\r\n";
            }
        }
        return script;
    }
    const std::size_t perSection = target / 12;
    for (const char* family : {"Win9X", "WinNT"}) {
        for (const char* kind : kSections) {
            script += std::string("[") + family + " " + kind + "]\r\n";
            const std::size_t end = script.size() + perSection;
            while (script.size() < end) {
                script += EntryFor(kind, i++) + "\r\n";
            }
        }
    }
    return script;
}

}  // namespace

int main(int argc, char** argv) {
    std::size_t megabytes = 50;
    int repetitions = 3;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.rfind("--megabytes=", 0) == 0) megabytes = std::strtoul(argument.c_str() + 12, nullptr, 10);
        if (argument.rfind("--repetitions=", 0) == 0) repetitions = std::atoi(argument.c_str() + 14);
    }
    const std::string path = "/tmp/checker_bench_SETUP.INP";
    const std::string reportPath = "/tmp/checker_bench_report.txt";
    for (const bool inSections : {false, true}) {
        const std::string script = MakeScript(megabytes, inSections);
        std::ofstream(path, std::ios::binary) << script;
        std::vector<double> seconds;
        int status = 0;
        long reportBytes = 0;
        for (int r = 0; r < repetitions; ++r) {
            install::posix::PosixFiles files;
            std::FILE* report = std::fopen(reportPath.c_str(), "wb");
            if (!report) {
                std::perror(reportPath.c_str());
                return 1;
            }
            const auto start = std::chrono::steady_clock::now();
            const install::check::ReportOutcome outcome = install::check::WriteCheckReport(
                files, path, install::check::CheckOptions{}, install::check::ReportWriter::Style::People, report);
            seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
            reportBytes = std::ftell(report);
            std::fclose(report);
            if (!outcome.written) {
                std::fprintf(stderr, "checker_bench: the report could not be written to %s\n", reportPath.c_str());
                return 1;
            }
            status = outcome.exitStatus;
        }
        std::sort(seconds.begin(), seconds.end());
        const double median = seconds[seconds.size() / 2];
        const double mb = static_cast<double>(script.size()) / (1024.0 * 1024.0);
        std::printf("checker: %.1f MB script, bulk %s: median %.3f s (%.1f MB/s), exit status %d, report %.1f MB\n", mb,
                    inSections ? "in the sections read" : "outside the sections read", median, mb / median, status,
                    static_cast<double>(reportBytes) / (1024.0 * 1024.0));
    }
    std::remove(reportPath.c_str());
    std::remove(path.c_str());
    return 0;
}
