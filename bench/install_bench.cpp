// Times the start sequence on a generated installation disk against the
// bare platform calls that do the same work, and prints the figures.
//
// Usage: install_bench.exe --disk=<folder> [--rounds=<n>]
//
// The disk is the one bench/make_disk.py builds. Each round runs the start
// sequence once and the bare calls once, in alternating order, starting
// from a clean machine each time; the figures are the medians over rounds.
#include <windows.h>
#include <lzexpand.h>
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "engine/format.hpp"
#include "engine/install_context.hpp"
#include "engine/install_log.hpp"
#include "engine/prepare_install.hpp"
#include "engine/script_reader.hpp"
#include "engine/start_sequence.hpp"
#include "engine/status_operations.hpp"
#include "platform/win32/win32_system.hpp"
#include "steps/copy_expand_file.hpp"
#include "steps/entry_layout.hpp"
#include "steps/installation_steps.hpp"
#include "ui/script_staging.hpp"

namespace {

// ---------------------------------------------------------------- timing

std::int64_t Ticks() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

double Seconds(std::int64_t ticks) {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    return static_cast<double>(ticks) / frequency;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

// The pieces of work both runs do, in the order the start sequence does them.
enum Task { kDirectories, kFiles, kFolders, kLinks, kRegistry, kTaskCount };
constexpr const char* kTaskNames[kTaskCount] = {"directories", "file copy", "program folder",
                                                "shortcuts", "registry"};

// Time spent in each installation step of the current run, by step index.
std::array<std::int64_t, 6> g_stepTicks{};

template <std::size_t Index>
int TimedStep(install::StepEnvironment& environment) {
    const std::int64_t start = Ticks();
    const int result = install::kInstallationSteps[Index](environment);
    g_stepTicks[Index] += Ticks() - start;
    return result;
}

constexpr std::array<install::StepFunction, 6> kTimedSteps = {
    TimedStep<0>, TimedStep<1>, TimedStep<2>, TimedStep<3>, TimedStep<4>, TimedStep<5>,
};

// --------------------------------------------------------------- the plan

struct FileCopy {
    std::string source;
    std::string destination;
    std::uint32_t expandedSize = 0;
};

struct Link {
    std::string target;
    std::string file;
    std::string description;
};

struct RegistryValue {
    HKEY root;
    std::string subkey;
    std::string name;
    DWORD type;
    std::string data;
};

// What the script asks for, as full paths and bytes, read before any
// timing so that the bare run only makes platform calls.
struct Plan {
    std::string diskDir;
    std::string windowsDir;
    std::string programsDir;
    std::vector<std::string> directories;  // in creation order
    std::vector<FileCopy> files;
    std::vector<std::string> folders;
    std::vector<Link> links;
    std::vector<RegistryValue> values;
    std::set<std::string> registryTopKeys;  // under HKEY_CURRENT_USER, deleted when cleaning
    std::uint64_t expandedBytes = 0;
    int compressedFiles = 0;
};

[[noreturn]] void Fail(const std::string& text) {
    std::fprintf(stderr, "install_bench: %s\n", text.c_str());
    std::fflush(stderr);
    std::exit(1);
}

std::vector<std::string> Split(const std::string& line, char separator) {
    std::vector<std::string> fields;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, separator)) {
        fields.push_back(field);
    }
    return fields;
}

std::string ReadRegistryText(HKEY root, const char* key, const char* name) {
    char buffer[MAX_PATH + 1] = {};
    DWORD size = sizeof buffer - 1;
    if (RegGetValueA(root, key, name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS) {
        Fail(std::string("cannot read shell folder ") + name);
    }
    return buffer;
}

bool IsNt() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    GetVersionExA(&version);
#pragma GCC diagnostic pop
    return version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

// "%W%\BENCHAPP" and the like, with this machine's directories.
std::string Expand(const std::string& field, const Plan& plan) {
    if (field.size() < 3 || field[0] != '%' || field[2] != '%') {
        return field;
    }
    std::string base;
    switch (field[1]) {
        case 'W':
            base = plan.windowsDir;
            break;
        case 'C':
            base = plan.diskDir;
            break;
        case 'P':
            base = plan.programsDir;
            break;
        default:
            Fail("the benchmark script uses an unexpected path variable: " + field);
    }
    return base + field.substr(3);
}

std::uint32_t ExpandedSizeOf(const std::string& path, bool& compressed) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        Fail("cannot open source " + path);
    }
    unsigned char header[14] = {};
    in.read(reinterpret_cast<char*>(header), sizeof header);
    compressed = in.gcount() == sizeof header && std::memcmp(header, "SZDD", 4) == 0;
    if (compressed) {
        return header[10] | header[11] << 8 | header[12] << 16 | static_cast<std::uint32_t>(header[13]) << 24;
    }
    in.clear();
    in.seekg(0, std::ios::end);
    return static_cast<std::uint32_t>(in.tellg());
}

Plan ReadPlan(const std::string& diskDir) {
    Plan plan;
    plan.diskDir = diskDir;
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    plan.windowsDir = windows;
    const bool nt = IsNt();
    // The shell folder the program folder step uses for "%P%".
    plan.programsDir =
        nt ? ReadRegistryText(HKEY_LOCAL_MACHINE,
                              "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                              "Common Programs")
           : ReadRegistryText(HKEY_CURRENT_USER,
                              "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                              "Programs");
    const std::string family = nt ? "WinNT " : "Win9X ";

    std::ifstream in(diskDir + "\\SETUP.INP", std::ios::binary);
    if (!in) {
        Fail("no SETUP.INP in " + diskDir);
    }
    std::string section;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty() || line[0] == ';') {
            continue;
        }
        if (line[0] == '[') {
            section = line.compare(1, family.size(), family) == 0
                          ? line.substr(1 + family.size(), line.find(']') - 1 - family.size())
                          : "";
            continue;
        }
        const auto f = Split(line, ',');
        if (section == "Dirs" && f.size() == 2) {
            plan.directories.push_back(Expand(f[0], plan) + "\\" + f[1]);
        } else if (section == "Files" && f.size() == 2) {
            FileCopy copy{Expand(f[0], plan), Expand(f[1], plan)};
            bool compressed = false;
            copy.expandedSize = ExpandedSizeOf(copy.source, compressed);
            plan.compressedFiles += compressed ? 1 : 0;
            plan.expandedBytes += copy.expandedSize;
            plan.files.push_back(std::move(copy));
        } else if (section == "Folders" && f.size() == 2) {
            plan.folders.push_back(plan.programsDir + "\\" + f[1]);
        } else if (section == "Links" && f.size() == 3) {
            plan.links.push_back({Expand(f[0], plan), Expand(f[1], plan), f[2]});
        } else if (section == "Regs" && f.size() == 5) {
            if (f[0] != "HKEY_CURRENT_USER") {
                Fail("the benchmark writes under HKEY_CURRENT_USER only: " + line);
            }
            RegistryValue value{HKEY_CURRENT_USER, f[1], f[2], REG_SZ, f[4]};
            if (f[3] == "REG_DWORD") {
                const auto number = static_cast<std::uint32_t>(std::strtoul(f[4].c_str(), nullptr, 10));
                value.type = REG_DWORD;
                value.data.assign(reinterpret_cast<const char*>(&number), sizeof number);
            } else if (f[3] == "REG_SZ") {
                value.data.push_back('\0');
            } else {
                Fail("unexpected value type in " + line);
            }
            // The key is deleted with everything under it when cleaning:
            // only a key of its own below Software will do.
            const auto names = Split(f[1], '\\');
            if (names.size() < 2 || names[0] != "Software" || names[1].empty()) {
                Fail("registry values must go below a key of their own under Software: " + line);
            }
            plan.registryTopKeys.insert(names[0] + "\\" + names[1]);
            plan.values.push_back(std::move(value));
        }
    }
    if (plan.directories.empty() || plan.files.empty() || plan.folders.empty() ||
        plan.links.empty() || plan.values.empty()) {
        Fail("SETUP.INP lacks one of the " + family + "sections the benchmark needs");
    }
    return plan;
}

// ----------------------------------------------------- state of the machine

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Why the machine does not hold what the plan installs; empty when it does.
std::string CheckInstalled(const Plan& plan) {
    for (const auto& copy : plan.files) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!GetFileAttributesExA(copy.destination.c_str(), GetFileExInfoStandard, &data)) {
            return "missing " + copy.destination;
        }
        if (data.nFileSizeHigh != 0 || data.nFileSizeLow != copy.expandedSize) {
            return "wrong size of " + copy.destination;
        }
    }
    for (const auto& link : plan.links) {
        if (!Exists(link.file)) {
            return "missing " + link.file;
        }
    }
    for (const auto& value : plan.values) {
        std::string data(value.data.size() + 16, '\0');
        DWORD size = static_cast<DWORD>(data.size());
        DWORD type = 0;
        if (RegGetValueA(value.root, value.subkey.c_str(), value.name.c_str(), RRF_RT_ANY, &type,
                         data.data(), &size) != ERROR_SUCCESS) {
            return "missing value " + value.subkey + "\\" + value.name;
        }
        data.resize(size);
        if (type != value.type || data != value.data) {
            return "wrong value " + value.subkey + "\\" + value.name;
        }
    }
    return {};
}

// Removes what either run installed; fails when something stays.
void Clean(const Plan& plan) {
    for (const auto& link : plan.links) {
        DeleteFileA(link.file.c_str());
    }
    for (auto folder = plan.folders.rbegin(); folder != plan.folders.rend(); ++folder) {
        RemoveDirectoryA(folder->c_str());
    }
    for (const auto& copy : plan.files) {
        DeleteFileA(copy.destination.c_str());
    }
    for (auto directory = plan.directories.rbegin(); directory != plan.directories.rend(); ++directory) {
        RemoveDirectoryA(directory->c_str());
    }
    for (const auto& key : plan.registryTopKeys) {
        RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());  // the key itself too
    }
    for (const auto& directory : plan.directories) {
        if (Exists(directory)) {
            Fail("could not remove " + directory);
        }
    }
    for (const auto& folder : plan.folders) {
        if (Exists(folder)) {
            Fail("could not remove " + folder);
        }
    }
    for (const auto& key : plan.registryTopKeys) {
        HKEY opened = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &opened) == ERROR_SUCCESS) {
            RegCloseKey(opened);
            Fail("could not remove HKEY_CURRENT_USER\\" + key);
        }
    }
}

// ------------------------------------------------------ the installation run

// The progress page as a benchmark has it: texts go nowhere, message boxes
// are answered OK at once.
class StatusSink final : public install::IStatusOperations {
public:
    void EnableStatusButton(int, bool) override {}
    std::string ReadStatusLabel(int button) override { return "Step " + std::to_string(button); }
    void SetStatusText(int, const std::string&) override {}
    int ShowMessageBox(const std::string& text, const std::string&, unsigned) override {
        messages.push_back(text);
        return install::kIdOk;
    }
    install::WindowHandle PageWindow() override { return 0; }
    bool Interactive() const override { return false; }

    std::vector<std::string> messages;
};

struct RunTimes {
    double total = 0;
    std::array<double, kTaskCount> tasks{};
    // The installation's work with no bare counterpart: the preparation
    // step (with the sequence around the steps) and the launch step, which
    // has no section in the benchmark script.
    double preparation = 0;
    double launch = 0;
};

std::string LogTail(const std::string& logPath) {
    std::ifstream in(logPath, std::ios::binary);
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return all.size() > 2000 ? all.substr(all.size() - 2000) : all;
}

RunTimes RunInstallation(const Plan& plan) {
    install::win32::Win32System system;
    // Staged as the options page does it, before the start sequence and
    // not counted.
    const std::string source = plan.diskDir + "\\" + install::kScriptName;
    const std::string staged = install::ScriptDestinationPath(plan.windowsDir);
    if (install::CopyExpandFile(system.Seam().lz, system.Seam().files, source.c_str(), staged.c_str(),
                                0) != install::COPY_OK) {
        Fail("cannot stage the script into " + staged);
    }
    // The utility runs from the disk: its current directory is the source.
    if (!SetCurrentDirectoryA(plan.diskDir.c_str())) {
        Fail("cannot change to " + plan.diskDir);
    }
    install::InstallContext context;
    StatusSink status;
    g_stepTicks = {};

    const std::int64_t start = Ticks();
    const int result = install::RunStartSequence(context, system.Seam(), status, kTimedSteps);
    const std::int64_t total = Ticks() - start;

    if (result != install::kStepSucceeded || !status.messages.empty()) {
        Fail("the start sequence failed (result " + std::to_string(result) + ", " +
             std::to_string(status.messages.size()) + " message boxes); end of " + context.logPath +
             ":\n" + LogTail(context.logPath));
    }
    RunTimes times;
    times.total = Seconds(total);
    std::int64_t inSteps = 0;
    for (int task = 0; task < kTaskCount; ++task) {
        times.tasks[task] = Seconds(g_stepTicks[task]);
    }
    for (const std::int64_t ticks : g_stepTicks) {
        inSteps += ticks;
    }
    times.launch = Seconds(g_stepTicks[5]);
    times.preparation = Seconds(total - inSteps);
    return times;
}

// ---------------------------------------------------------- the bare run

RunTimes RunBare(const Plan& plan) {
    std::vector<std::string> failures;
    RunTimes times;
    const std::int64_t start = Ticks();

    std::int64_t t = Ticks();
    for (const auto& directory : plan.directories) {
        if (!CreateDirectoryA(directory.c_str(), nullptr)) {
            failures.push_back("CreateDirectoryA " + directory);
        }
    }
    times.tasks[kDirectories] = Seconds(Ticks() - t);

    t = Ticks();
    for (const auto& copy : plan.files) {
        // The library takes names as writable buffers.
        std::string source = copy.source;
        std::string destination = copy.destination;
        OFSTRUCT record{};
        const INT from = LZOpenFileA(source.data(), &record, OF_READ);
        const INT to = LZOpenFileA(destination.data(), &record, OF_CREATE);
        const LONG written = LZCopy(from, to);
        LZClose(from);
        LZClose(to);
        if (from < 0 || to < 0 || written != static_cast<LONG>(copy.expandedSize)) {
            failures.push_back("LZCopy " + copy.source);
        }
    }
    times.tasks[kFiles] = Seconds(Ticks() - t);

    t = Ticks();
    for (const auto& folder : plan.folders) {
        if (!CreateDirectoryA(folder.c_str(), nullptr)) {
            failures.push_back("CreateDirectoryA " + folder);
        }
    }
    times.tasks[kFolders] = Seconds(Ticks() - t);

    t = Ticks();
    CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    IPersistFile* persist = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link))) ||
        FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
        failures.push_back("shell link object");
    } else {
        for (const auto& entry : plan.links) {
            wchar_t wide[520] = {};
            MultiByteToWideChar(CP_ACP, 0, entry.file.c_str(), -1, wide, 520);
            if (FAILED(link->SetPath(entry.target.c_str())) ||
                FAILED(link->SetDescription(entry.description.c_str())) ||
                FAILED(persist->Save(wide, TRUE))) {
                failures.push_back("shortcut " + entry.file);
            }
        }
    }
    if (persist != nullptr) {
        persist->Release();
    }
    if (link != nullptr) {
        link->Release();
    }
    CoUninitialize();
    times.tasks[kLinks] = Seconds(Ticks() - t);

    t = Ticks();
    for (const auto& value : plan.values) {
        HKEY key = nullptr;
        DWORD disposition = 0;
        if (RegCreateKeyExA(value.root, value.subkey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_ALL_ACCESS, nullptr, &key, &disposition) != ERROR_SUCCESS ||
            RegSetValueExA(key, value.name.c_str(), 0, value.type,
                           reinterpret_cast<const BYTE*>(value.data.data()),
                           static_cast<DWORD>(value.data.size())) != ERROR_SUCCESS) {
            failures.push_back("registry value " + value.name);
        }
        if (key != nullptr) {
            RegCloseKey(key);
        }
    }
    times.tasks[kRegistry] = Seconds(Ticks() - t);

    times.total = Seconds(Ticks() - start);
    if (!failures.empty()) {
        Fail("the bare run failed " + std::to_string(failures.size()) + " call(s), first: " +
             failures.front());
    }
    return times;
}

// ------------------------------------------- the installation's own work

// What the start sequence does beyond the platform calls of the bare run,
// each piece timed on its own through the same seam: the script read and
// its entries split and composed for every step, the log opened per step
// and written line by line, and the expanded-size check after each copy.
struct OwnWork {
    double script = 0;
    double log = 0;
    double sizeCheck = 0;
    long entries = 0;
    long logLines = 0;
};

OwnWork MeasureOwnWork(const Plan& plan) {
    install::win32::Win32System system;
    install::InstallContext context;
    if (!SetCurrentDirectoryA(plan.diskDir.c_str())) {
        Fail("cannot change to " + plan.diskDir);
    }
    install::PrepareInstall(context, system.Seam());
    install::IFiles& files = system.Seam().files;
    OwnWork work;

    std::int64_t start = Ticks();
    for (int step = 0; step < 6; ++step) {
        const auto id = static_cast<install::StepId>(step);
        install::ScriptReader reader(files, context.optionMask, id == install::StepId::Files);
        if (!reader.Open(context.scriptPath)) {
            Fail("cannot open the staged script " + context.scriptPath);
        }
        if (reader.FindSection(install::SectionName(id, context.platformId))) {
            while (const auto line = reader.NextLine()) {
                if (install::ReadEntry(id, line->text, context)) {
                    ++work.entries;
                }
            }
        }
    }
    work.script = Seconds(Ticks() - start);

    // As many lines as the steps write, of the length of a file copy line.
    const std::string scratchLog = plan.windowsDir + "\\BENCHLOG.TXT";
    const std::size_t lineCounts[] = {plan.directories.size(), plan.files.size(), plan.folders.size(),
                                      plan.links.size(), plan.values.size(), 0};
    const std::string line = install::Format("%s -> %s [OK]\n", plan.files.front().source.c_str(),
                                             plan.files.front().destination.c_str());
    start = Ticks();
    install::StartInstallLog(files, scratchLog);
    for (const std::size_t count : lineCounts) {
        install::InstallLog log;
        if (log.OpenForAppend(files, scratchLog)) {
            log.Write("\n##BANNER##\n\n");
            for (std::size_t i = 0; i < count; ++i) {
                log.Write(line);
                ++work.logLines;
            }
        }
    }
    work.log = Seconds(Ticks() - start);
    files.Remove(scratchLog);

    start = Ticks();
    for (const auto& copy : plan.files) {
        install::DeclaredExpandedSize(files, copy.source);
    }
    work.sizeCheck = Seconds(Ticks() - start);
    return work;
}

// ------------------------------------------------------------------ main

std::optional<std::string> Option(int argc, char** argv, const char* name) {
    const std::string prefix = std::string("--") + name + "=";
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], prefix.c_str(), prefix.size()) == 0) {
            return std::string(argv[i] + prefix.size());
        }
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    const auto disk = Option(argc, argv, "disk");
    if (!disk) {
        Fail("usage: install_bench.exe --disk=<folder> [--rounds=<n>]");
    }
    const int rounds = std::max(1, std::atoi(Option(argc, argv, "rounds").value_or("3").c_str()));

    const Plan plan = ReadPlan(*disk);
    std::printf("disk %s: %zu files (%d compressed) expanding to %.1f MiB, %zu directories, "
                "%zu program folder(s), %zu shortcuts, %zu registry values\n",
                plan.diskDir.c_str(), plan.files.size(), plan.compressedFiles,
                static_cast<double>(plan.expandedBytes) / (1 << 20), plan.directories.size(),
                plan.folders.size(), plan.links.size(), plan.values.size());
    std::printf("installing into %s; program folder under %s\n", plan.windowsDir.c_str(),
                plan.programsDir.c_str());

    Clean(plan);  // what an interrupted earlier run may have left
    // One bare run first, not counted: it brings the sources into the page
    // cache and loads and starts what the platform starts on first use (the
    // LZ library, COM and the shell link object), which the run that came
    // first would otherwise pay for alone.
    const RunTimes warmUp = RunBare(plan);
    Clean(plan);
    std::printf("warm-up: one bare run, not counted, %.3f s\n", warmUp.total);
    std::fflush(stdout);

    std::vector<RunTimes> installation;
    std::vector<RunTimes> bare;
    for (int round = 0; round < rounds; ++round) {
        const bool installationFirst = round % 2 == 0;
        for (int turn = 0; turn < 2; ++turn) {
            const bool isInstallation = (turn == 0) == installationFirst;
            const RunTimes times = isInstallation ? RunInstallation(plan) : RunBare(plan);
            const std::string problem = CheckInstalled(plan);
            if (!problem.empty()) {
                Fail(std::string(isInstallation ? "after the start sequence: " : "after the bare run: ") +
                     problem);
            }
            Clean(plan);
            (isInstallation ? installation : bare).push_back(times);
        }
        const RunTimes& i = installation.back();
        const RunTimes& b = bare.back();
        std::printf("round %d (%s first): installation %.3f s (files %.3f, shortcuts %.3f), "
                    "bare %.3f s (files %.3f, shortcuts %.3f), ratio %.3f\n",
                    round + 1, installationFirst ? "installation" : "bare", i.total, i.tasks[kFiles],
                    i.tasks[kLinks], b.total, b.tasks[kFiles], b.tasks[kLinks], i.total / b.total);
        std::fflush(stdout);
    }

    auto medianOf = [](const std::vector<RunTimes>& runs, auto field) {
        std::vector<double> values;
        for (const auto& run : runs) {
            values.push_back(field(run));
        }
        return Median(values);
    };
    std::printf("\nmedians over %d round(s), seconds:\n", rounds);
    std::printf("  %-34s %12s %12s %8s\n", "", "installation", "bare", "ratio");
    for (int task = 0; task < kTaskCount; ++task) {
        const double i = medianOf(installation, [task](const RunTimes& r) { return r.tasks[task]; });
        const double b = medianOf(bare, [task](const RunTimes& r) { return r.tasks[task]; });
        std::printf("  %-34s %12.3f %12.3f %8.3f\n", kTaskNames[task], i, b, i / b);
    }
    std::printf("  %-34s %12.3f %12s\n", "preparation (and the sequence)",
                medianOf(installation, [](const RunTimes& r) { return r.preparation; }), "-");
    std::printf("  %-34s %12.3f %12s\n", "launch step (no section)",
                medianOf(installation, [](const RunTimes& r) { return r.launch; }), "-");
    const double i = medianOf(installation, [](const RunTimes& r) { return r.total; });
    const double b = medianOf(bare, [](const RunTimes& r) { return r.total; });
    std::printf("  %-34s %12.3f %12.3f %8.3f\n", "total", i, b, i / b);
    auto fastest = [](const std::vector<RunTimes>& runs) {
        double best = runs.front().total;
        for (const auto& run : runs) {
            best = std::min(best, run.total);
        }
        return best;
    };
    const double iFast = fastest(installation);
    const double bFast = fastest(bare);
    std::printf("  %-34s %12.3f %12.3f %8.3f\n", "total, fastest round", iFast, bFast, iFast / bFast);

    // Measured apart, the installation's own work shows how much of the
    // difference it accounts for, free of the noise of the whole runs.
    std::vector<OwnWork> own;
    for (int round = 0; round < std::max(rounds, 3); ++round) {
        own.push_back(MeasureOwnWork(plan));
    }
    auto ownMedian = [&own](double OwnWork::*piece) {
        std::vector<double> values;
        for (const auto& work : own) {
            values.push_back(work.*piece);
        }
        return Median(values);
    };
    const double script = ownMedian(&OwnWork::script);
    const double log = ownMedian(&OwnWork::log);
    const double sizeCheck = ownMedian(&OwnWork::sizeCheck);
    const double ownTotal = script + log + sizeCheck;
    std::printf("\nthe installation's own work, each piece timed apart (median of %zu), seconds:\n", own.size());
    std::printf("  %-48s %8.3f\n",
                install::Format("script read, %ld entries split and composed", own.front().entries).c_str(),
                script);
    std::printf("  %-48s %8.3f\n",
                install::Format("log opened per step, %ld lines written", own.front().logLines).c_str(), log);
    std::printf("  %-48s %8.3f\n",
                install::Format("expanded-size check of %ld copied files", static_cast<long>(plan.files.size())).c_str(),
                sizeCheck);
    std::printf("  %-48s %8.3f  (%.1f%% of the bare run's median)\n", "sum", ownTotal,
                100.0 * ownTotal / b);

    // Each round's two runs saw much the same load: the median of their
    // ratios is steadier than the ratio of medians when the load varies.
    std::vector<double> roundRatios;
    for (std::size_t r = 0; r < installation.size(); ++r) {
        roundRatios.push_back(installation[r].total / bare[r].total);
    }
    std::printf("\ninstallation %.3f s, bare %.3f s, ratio %.3f (goal: at most 1.20, %s); "
                "median of the rounds' ratios %.3f; fastest rounds' ratio %.3f\n",
                i, b, i / b, i / b <= 1.2 ? "met" : "NOT met", Median(roundRatios), iFast / bFast);
    return 0;
}
