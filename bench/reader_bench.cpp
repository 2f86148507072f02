// Measures how fast the script reader walks a large install script: every
// step's section, each found by reading from the start of the file.
//
// Usage: reader_bench [--megabytes=<n>] [--repetitions=<n>]
//
// The script is built in memory (seeded, so the same every run) and read
// through an in-memory file seam; no disk is involved.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine/install_context.hpp"
#include "engine/script_reader.hpp"
#include "engine/system/files.hpp"

namespace {

// One file held in memory; counts the bytes handed out so that the figure
// is the bytes the reader actually took in.
class MemoryFile final : public install::IFile {
public:
    MemoryFile(const std::string& text, std::uint64_t& delivered) : text_(text), delivered_(delivered) {}

    std::ptrdiff_t Read(char* buffer, std::size_t size) override {
        const std::size_t n = std::min(size, text_.size() - position_);
        std::memcpy(buffer, text_.data() + position_, n);
        position_ += n;
        delivered_ += n;
        return static_cast<std::ptrdiff_t>(n);
    }
    bool Write(const char*, std::size_t) override { return false; }

private:
    const std::string& text_;
    std::uint64_t& delivered_;
    std::size_t position_ = 0;
};

class MemoryFiles final : public install::IFiles {
public:
    MemoryFiles(std::string path, const std::string& text) : path_(std::move(path)), text_(text) {}

    std::unique_ptr<install::IFile> Open(const std::string& path, install::FileMode mode) override {
        if (path != path_ || mode != install::FileMode::Read) {
            return nullptr;
        }
        return std::make_unique<MemoryFile>(text_, delivered);
    }
    bool Exists(const std::string& path) override { return path == path_; }
    bool Remove(const std::string&) override { return false; }

    std::uint64_t delivered = 0;

private:
    std::string path_;
    const std::string& text_;
};

constexpr const char* kScriptPath = "C:\\WINDOWS\\SETUP.INP";
constexpr std::uint32_t kPlatform = install::kPlatformWindowsNt;
constexpr std::array<install::StepId, 6> kSteps = {
    install::StepId::Directories, install::StepId::Files,    install::StepId::Folders,
    install::StepId::Links,       install::StepId::Registry, install::StepId::Programs,
};

const char* const kWords[] = {"modem", "adapter", "driver", "port", "line", "dial", "setup",
                              "network", "card", "slot", "memory", "help", "index", "update",
                              "serial", "vendor", "product", "config", "status", "channel"};

class ScriptBuilder {
public:
    explicit ScriptBuilder(std::uint32_t seed) : random_(seed) {}

    std::string Word() { return kWords[Pick(std::size(kWords))]; }
    std::size_t Pick(std::size_t n) { return static_cast<std::size_t>(random_() % n); }

    void Line(const std::string& line) {
        text.append(line);
        text.append("\r\n");
        ++lines;
    }
    void Header(const std::string& name) {
        Line("[" + name + "]");
        ++sections;
    }

    // An entry as one of the step kinds would have it; numbered so no two
    // are alike.
    std::string Entry(int kind, long n) {
        char line[300];
        switch (kind) {
            case 0:
                std::snprintf(line, sizeof line, "%%W%%\\%s%ld,%s", Word().c_str(), n % 97,
                              Word().c_str());
                break;
            case 1:
                std::snprintf(line, sizeof line, "%%C%%\\DISK%ld\\F%06ld.DL_,%%S%%\\%s\\F%06ld.DLL",
                              n % 4 + 1, n, Word().c_str(), n);
                break;
            case 2:
                std::snprintf(line, sizeof line, "%%P%%,%s %s %ld", Word().c_str(), Word().c_str(), n);
                break;
            case 3:
                std::snprintf(line, sizeof line,
                              "%%W%%\\%s\\%s%ld.EXE,%%P%%\\%s\\%s %ld.lnk,Starts the %s %s tool",
                              Word().c_str(), Word().c_str(), n, Word().c_str(), Word().c_str(), n,
                              Word().c_str(), Word().c_str());
                break;
            case 4:
                std::snprintf(line, sizeof line,
                              "HKEY_LOCAL_MACHINE,Software\\Vendor\\%s\\%s,%s%ld,REG_SZ,%s %s %ld",
                              Word().c_str(), Word().c_str(), Word().c_str(), n, Word().c_str(),
                              Word().c_str(), n);
                break;
            default:
                std::snprintf(line, sizeof line, "%%W%%\\%s%ld.EXE /%s,%s %ld,SW_HIDE",
                              Word().c_str(), n % 13, Word().c_str(), Word().c_str(), n);
                break;
        }
        return line;
    }

    // A section of another product or language: the reader passes over it.
    void OtherSection(long index) {
        static const char* const kKinds[] = {"Dirs", "Files", "Folders", "Links", "Regs", "Exes"};
        const int kind = static_cast<int>(Pick(6));
        char name[80];
        std::snprintf(name, sizeof name, "Lang%04ld %s", index % 10000, kKinds[kind]);
        Header(name);
        Line("; " + Word() + " " + Word() + " entries of language " + std::to_string(index));
        const int count = 20 + static_cast<int>(Pick(60));
        for (int i = 0; i < count; ++i) {
            switch (Pick(40)) {
                case 0:
                    Line(Pick(2) == 0 ? "#L" : "#M");
                    break;
                case 1:
                    Line("(Please insert disk " + std::to_string(Pick(4) + 2) + ",\\DISK" +
                         std::to_string(Pick(4) + 2) + "\\TAG.DAT)");
                    break;
                case 2:
                    Line("; " + Word());
                    break;
                default:
                    Line(Entry(kind, ++entryNumber));
                    break;
            }
        }
        Line("");
    }

    std::string text;
    long lines = 0;
    long sections = 0;
    long entryNumber = 0;

private:
    std::mt19937 random_;
};

struct StepSection {
    install::StepId step;
    int entries;
};

// The script: other sections up to the size asked for, then each step's
// section with its entries. Returns how many entries each step should see.
std::vector<StepSection> BuildScript(ScriptBuilder& builder, std::size_t bytes) {
    builder.Line("; Installation script");
    long index = 0;
    while (builder.text.size() < bytes - 64 * 1024) {
        builder.OtherSection(index++);
    }
    std::vector<StepSection> expected;
    const int kEntries[] = {40, 600, 4, 80, 200, 3};
    for (std::size_t s = 0; s < kSteps.size(); ++s) {
        builder.Header(install::SectionName(kSteps[s], kPlatform));
        for (int i = 0; i < kEntries[s]; ++i) {
            builder.Line(builder.Entry(static_cast<int>(s), ++builder.entryNumber));
        }
        expected.push_back({kSteps[s], kEntries[s]});
    }
    return expected;
}

// Walks every step's section as the steps do and returns the entries seen
// per step.
std::vector<int> WalkSteps(MemoryFiles& files) {
    std::vector<int> seen;
    for (const install::StepId step : kSteps) {
        install::ScriptReader reader(files, 0, step == install::StepId::Files);
        if (!reader.Open(kScriptPath)) {
            std::fprintf(stderr, "reader_bench: the script does not open\n");
            std::exit(1);
        }
        int entries = 0;
        if (reader.FindSection(install::SectionName(step, kPlatform))) {
            while (reader.NextLine()) {
                ++entries;
            }
        }
        seen.push_back(entries);
    }
    return seen;
}

long Option(int argc, char** argv, const char* name, long fallback) {
    const std::string prefix = std::string("--") + name + "=";
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], prefix.c_str(), prefix.size()) == 0) {
            return std::strtol(argv[i] + prefix.size(), nullptr, 10);
        }
    }
    return fallback;
}

}  // namespace

int main(int argc, char** argv) {
    const long megabytes = std::max(1L, Option(argc, argv, "megabytes", 50));
    const long repetitions = std::max(1L, Option(argc, argv, "repetitions", 3));

    ScriptBuilder builder(19960401);
    builder.text.reserve(static_cast<std::size_t>(megabytes) * 1024 * 1024 + 128 * 1024);
    const auto expected = BuildScript(builder, static_cast<std::size_t>(megabytes) * 1024 * 1024);
    std::printf("script: %.1f MiB, %ld lines, %ld sections; the six steps' sections at the end\n",
                static_cast<double>(builder.text.size()) / (1 << 20), builder.lines, builder.sections);

    MemoryFiles files(kScriptPath, builder.text);
    std::vector<double> rates;
    for (long r = 0; r < repetitions; ++r) {
        files.delivered = 0;
        const auto start = std::chrono::steady_clock::now();
        const std::vector<int> seen = WalkSteps(files);
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        for (std::size_t s = 0; s < expected.size(); ++s) {
            if (seen[s] != expected[s].entries) {
                std::fprintf(stderr, "reader_bench: section %s gave %d entries, expected %d\n",
                             install::SectionName(expected[s].step, kPlatform), seen[s],
                             expected[s].entries);
                return 1;
            }
        }
        const double mebibytes = static_cast<double>(files.delivered) / (1 << 20);
        rates.push_back(mebibytes / elapsed.count());
        std::printf("repetition %ld: %.1f MiB read in %.3f s, %.1f MiB/s\n", r + 1, mebibytes,
                    elapsed.count(), rates.back());
        std::fflush(stdout);
    }
    std::sort(rates.begin(), rates.end());
    const std::size_t n = rates.size();
    const double median = n % 2 == 1 ? rates[n / 2] : (rates[n / 2 - 1] + rates[n / 2]) / 2.0;
    std::printf("reader throughput: median %.1f MiB/s over %zu repetitions (min %.1f, max %.1f)\n",
                median, n, rates.front(), rates.back());
    return 0;
}
