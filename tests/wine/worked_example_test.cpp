// The whole installation on the real system, run by the headless runner in
// a process of its own as the utility runs: the worked example from the
// staged script to the files, the shortcut, the registry value, the started
// program and the log; and what the runner's options and answers do.
//
// The runner is started as a separate program, not linked in, so that what
// is tested is the program as a whole on a fresh process (its command line,
// its current directory, the component library, its exit code), and a run
// that hangs is ended from outside.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/com_ptr.hpp"
#include "platform/win32/unique_resource.hpp"
#include "steps/disk_prompt.hpp"
#include "tests/wine/scratch_directory.hpp"
#include "tests/wine/step_support.hpp"
#include "tests/wine/test_family.hpp"

namespace install {
namespace {

using wine_test::BothFamilies;
using wine_test::CurrentFamily;
using wine_test::Family;
using wine_test::FixturePath;
using wine_test::Lines;
using wine_test::ProgramFolder;
using wine_test::ReadBytes;
using wine_test::ScratchDirectory;
using wine_test::StagedScript;
using wine_test::Visible;
using wine_test::WindowsDirectory;
using wine_test::WriteBytes;

// A run of the runner may take this long before it is ended as hung.
constexpr DWORD kRunnerWaitMs = 60000;

struct RunnerRun {
    bool started = false;
    DWORD exitCode = 0;
    std::vector<std::string> record;
    std::string error;
};

// Runs the runner with arguments (its record going to recordFile) in
// directory, and waits for it a bounded time.
RunnerRun RunRunner(const std::string& arguments, const std::string& directory,
                    const std::string& recordFile) {
    RunnerRun run;
    const std::string program = ProgramFolder() + "\\headless_runner.exe";
    std::string commandLine = "\"" + program + "\" --output=" + recordFile;
    if (!arguments.empty()) {
        commandLine += " " + arguments;
    }
    ::DeleteFileA(recordFile.c_str());
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          directory.c_str(), &startup, &info)) {
        run.error = "CreateProcessA(" + commandLine + ") failed, error " +
                    std::to_string(::GetLastError());
        return run;
    }
    win32::UniqueKernelHandle process(info.hProcess);
    win32::UniqueKernelHandle thread(info.hThread);
    run.started = true;
    if (::WaitForSingleObject(process.get(), kRunnerWaitMs) != WAIT_OBJECT_0) {
        ::TerminateProcess(process.get(), 9);
        ::WaitForSingleObject(process.get(), kRunnerWaitMs);
        run.error = "the runner did not end within " + std::to_string(kRunnerWaitMs) + " ms";
    }
    ::GetExitCodeProcess(process.get(), &run.exitCode);
    const std::string text = ReadBytes(recordFile).value_or("");
    std::size_t from = 0;
    while (from < text.size()) {
        const std::size_t end = text.find('\n', from);
        run.record.push_back(text.substr(from, end - from));
        from = end == std::string::npos ? text.size() : end + 1;
    }
    return run;
}

// What a shortcut file says, read back through the shell link object.
struct ShortcutContents {
    std::string target;
    std::string description;
    std::string error;
};

ShortcutContents ReadShortcut(const std::string& path) {
    ShortcutContents contents;
    const HRESULT initialized = ::CoInitialize(nullptr);
    {
        win32::ComPtr<IShellLinkA> link;
        win32::ComPtr<IPersistFile> file;
        wchar_t wide[MAX_PATH] = {};
        HRESULT result = ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                            IID_IShellLinkA, link.put_void());
        if (SUCCEEDED(result)) {
            result = link->QueryInterface(IID_IPersistFile, file.put_void());
        }
        if (SUCCEEDED(result)) {
            ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
            result = file->Load(wide, STGM_READ);
        }
        char text[MAX_PATH] = "";
        if (SUCCEEDED(result)) {
            result = link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
            contents.target = text;
        }
        if (SUCCEEDED(result)) {
            text[0] = '\0';
            result = link->GetDescription(text, MAX_PATH);
            contents.description = text;
        }
        if (FAILED(result)) {
            char code[16];
            std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(result));
            contents.error = "reading " + path + " failed: " + code;
        }
    }
    if (SUCCEEDED(initialized)) {
        ::CoUninitialize();
    }
    return contents;
}

TEST(WorkedExample, InstallsTheManualFromDiskToShortcut) {
    const std::string windows = WindowsDirectory();
    const std::string programs = wine_test::SharedProgramsFolder();
    ASSERT_FALSE(programs.empty()) << "no Programs folder in this prefix";
    const bool nt = CurrentFamily() == Family::Nt;
    std::printf("Windows directory %s, Programs folder of the installation %s\n",
                windows.c_str(), programs.c_str());

    const std::string netcard = windows + "\\NETCARD";
    const std::string folder = programs + "\\Network Card";
    const std::string checker = windows + "\\NCCHECK.EXE";
    // Whatever an earlier run left goes first, so that every entry is new.
    wine_test::PathCleanup cleanup({netcard, folder, checker});
    wine_test::RegistryTreeCleanup registryCleanup(HKEY_LOCAL_MACHINE, "SOFTWARE\\NetCard");

    ScratchDirectory disk("install-example");
    const std::string index = "<html><body>Network card on-line manual</body></html>\r\n";
    const std::string landiag = "MZ not really a diagnostics program";
    const auto manual = ReadBytes(FixturePath("allbytes.bin"));
    ASSERT_TRUE(manual) << FixturePath("allbytes.bin");
    ASSERT_TRUE(WriteBytes(disk.Join("INDEX.HTM"), index));
    ASSERT_TRUE(WriteBytes(disk.Join("LANDIAG.EXE"), landiag));
    ASSERT_TRUE(::CopyFileA(FixturePath("allbytes.bin.szdd").c_str(),
                            disk.Join("MANUAL.HLP").c_str(), FALSE));
    ASSERT_TRUE(::CopyFileA((ProgramFolder() + "\\launch_marker.exe").c_str(), checker.c_str(),
                            FALSE));
    const std::string marker = disk.Join("LAUNCHED.TXT");

    const std::string manualDir = windows + "\\NETCARD\\MANUAL";
    // The program entries differ by family, so the log shows which
    // family's section the steps read.
    const std::string checkName = nt ? "Manual Check NT" : "Manual Check 9X";
    StagedScript script(
        "; the worked example: the on-line manual of the network card\n" +
        BothFamilies("Dirs", "%W%\\,NETCARD\n%W%\\NETCARD,MANUAL\n") +
        BothFamilies("Files",
                     "%C%\\INDEX.HTM,%W%\\NETCARD\\MANUAL\\INDEX.HTM\n"
                     "#L\n"
                     "%C%\\LANDIAG.EXE,%W%\\NETCARD\\LANDIAG.EXE\n"
                     "#O\n"
                     "%C%\\MANUAL.HLP,%W%\\NETCARD\\MANUAL\\MANUAL.HLP\n") +
        BothFamilies("Folders", "%P%,Network Card\n") +
        BothFamilies("Links",
                     "%W%\\NETCARD\\MANUAL\\INDEX.HTM,%P%\\Network Card\\On-line Manual.lnk,"
                     "On-line Manual\n") +
        BothFamilies("Regs", "HKEY_LOCAL_MACHINE,SOFTWARE\\NetCard\\Manual,Path,REG_SZ," +
                                 manualDir + "\n") +
        "[Win9X Exes]\n%W%\\NCCHECK.EXE " + marker + ",Manual Check 9X,SW_SHOW\n" +
        "[WinNT Exes]\n%W%\\NCCHECK.EXE " + marker + ",Manual Check NT,SW_SHOW\n");
    ASSERT_TRUE(script.Written());

    // The link's copy for the check on the Linux side: an old one must not
    // pass for this run's.
    const std::string linkCopy =
        ProgramFolder() + "\\worked-example-" + wine_test::FamilyName(CurrentFamily()) + ".lnk";
    ::DeleteFileA(linkCopy.c_str());
    ::DeleteFileA((linkCopy + ".expected").c_str());

    const RunnerRun run = RunRunner("", disk.Path(), disk.Join("RECORD.TXT"));
    ASSERT_TRUE(run.started) << run.error;
    EXPECT_EQ(run.error, "");
    EXPECT_EQ(run.exitCode, 0u) << "record:\n" << Lines(run.record);

    const std::vector<std::string> expectedRecord = {
        "1010 Directory Creation [In Progress]",
        "1010 Directory Creation [OK]",
        "1011 File Copy [In Progress]",
        "1011 File Copy [In Progress] (1 file(s) copied)",
        "1011 File Copy [In Progress] (2 file(s) copied)",
        "1011 File Copy [OK] (2 file(s) copied)",
        "1012 Application Database Update [In Progress]",
        "1012 Application Database Update",
        "1012 Application Database Update [In Progress]",
        "1012 Application Database Update [OK]",
        "1013 On-line Manual Initialization [In Progress]",
        "1013 On-line Manual Initialization",
        "1013 On-line Manual Initialization [In Progress]",
        "1013 On-line Manual Initialization [OK]",
        "button 1010 enabled Directory Creation [OK]",
        "button 1011 enabled File Copy [OK] (2 file(s) copied)",
        "button 1012 enabled Application Database Update [OK]",
        "button 1013 enabled On-line Manual Initialization [OK]",
        "result 0",
    };
    EXPECT_EQ(Lines(run.record), Lines(expectedRecord));

    const std::string link = folder + "\\On-line Manual.lnk";
    const std::string expectedLog = wine_test::ExpectedLog(
        "\n##CREATE INSTALLATION DIRECTORY##\n\n"
        "Create directory = NETCARD, under directory = " + windows + "\\ [OK]\n"
        "Create directory = MANUAL, under directory = " + netcard + " [OK]\n"
        "\n##COPY INSTALLATION FILE##\n\n" +
        disk.Join("INDEX.HTM") + " -> " + manualDir + "\\INDEX.HTM [OK]\n" +
        disk.Join("MANUAL.HLP") + " -> " + manualDir + "\\MANUAL.HLP [OK]\n"
        "\n##CREATE PROGRAM FOLDER##\n\n"
        "Create shell folder Network Card [OK]\n"
        "\n##UPDATE SHORTCUT##\n\n"
        "Create shortcut " + link + " [OK]\n"
        "\n##UPDATE REGISTRY##\n\n"
        "Update HKEY_LOCAL_MACHINE\\SOFTWARE\\NetCard\\Manual\\Path = " + manualDir + " [OK]\n"
        "\n##INITIALIZE DIAGNOSTICS##\n\n" +
        checkName + " [OK]\n");
    EXPECT_EQ(Visible(script.Log()), Visible(expectedLog));

    // Columns: file, bytes it must hold (nullopt: it must not exist).
    const struct {
        std::string path;
        std::optional<std::string> bytes;
    } files[] = {
        {manualDir + "\\INDEX.HTM", index},
        {manualDir + "\\MANUAL.HLP", *manual},
        // Behind the LAN option, which was not chosen.
        {netcard + "\\LANDIAG.EXE", std::nullopt},
    };
    for (const auto& file : files) {
        const auto bytes = ReadBytes(file.path);
        if (!file.bytes) {
            EXPECT_FALSE(bytes) << file.path << " exists";
        } else if (!bytes) {
            ADD_FAILURE() << file.path << " is missing";
        } else {
            EXPECT_TRUE(*bytes == *file.bytes)
                << file.path << ": " << bytes->size() << " bytes, expected " << file.bytes->size()
                << (bytes->size() < 200 ? ": " + Visible(*bytes) : std::string());
        }
    }

    const auto value = wine_test::ReadRegistryValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\NetCard\\Manual",
                                                    "Path");
    ASSERT_TRUE(value) << "no value HKLM\\SOFTWARE\\NetCard\\Manual Path";
    EXPECT_EQ(value->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(Visible(value->bytes), Visible(manualDir + std::string(1, '\0')));

    const ShortcutContents shortcut = ReadShortcut(link);
    EXPECT_EQ(shortcut.error, "");
    EXPECT_EQ(shortcut.target, manualDir + "\\INDEX.HTM");
    EXPECT_EQ(shortcut.description, "On-line Manual");
    // For lnkinfo on the Linux side (check_shortcut.sh): the link and what
    // it must say.
    EXPECT_TRUE(::CopyFileA(link.c_str(), linkCopy.c_str(), FALSE)) << "copying " << link;
    EXPECT_TRUE(WriteBytes(linkCopy + ".expected",
                           manualDir + "\\INDEX.HTM\nOn-line Manual\n"));

    std::string error;
    const auto launched = wine_test::AwaitLaunchRecord(marker, error);
    ASSERT_TRUE(launched) << error;
    // The script's SW_SHOW is the platform's SW_SHOWNA, 8.
    EXPECT_EQ(launched->show, "8");
}

// A script of one file copy behind a disk prompt, for the runner's answers.
std::string PromptScript(const ScratchDirectory& disk) {
    // The prompt's path is composed on the source disk's root, "C:".
    const std::string onDisk = disk.Path().substr(2);
    return BothFamilies("Files", "(Insert the manual disk,%D%" + onDisk + "\\DISK2.TAG)\n" +
                                     "%C%\\small.txt,%R%" + onDisk + "\\COPIED.TXT\n");
}

TEST(HeadlessRunner, AnswersDiskPromptsFromItsList) {
    constexpr const char* kPrompt =
        "box style=0x10030 caption=Installation Message text=Insert the manual disk answer=";
    const std::string retry = std::string("box style=0x10031 caption=") + kRetryCaption +
                              " text=" + kRetryText + " answer=";
    // Columns: name, whether the disk's tag file is there, --answers, the
    // boxes shown, the runner's exit code, the file copy button's text.
    const struct {
        const char* name;
        bool diskIn;
        const char* answers;
        std::vector<std::string> boxes;
        DWORD exitCode;
        const char* copyText;
    } cases[] = {
        {"the disk is in", true, "1", {kPrompt + std::string("1")}, 0,
         "File Copy [OK] (1 file(s) copied)"},
        {"no disk, cancelled", false, "1,2", {kPrompt + std::string("1"), retry + "2"}, 1,
         "File Copy [FAIL]"},
        {"no disk, asked again, cancelled",
         false,
         "1,1,1,2",
         {kPrompt + std::string("1"), retry + "1", kPrompt + std::string("1"), retry + "2"},
         1,
         "File Copy [FAIL]"},
        // Out of answers: every box is cancelled, and the run ends with 4.
        {"no answers at all",
         false,
         "",
         {kPrompt + std::string("2 (no answer left)"), retry + "2 (no answer left)"},
         4,
         "File Copy [FAIL]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchDirectory disk("install-prompt");
        ASSERT_TRUE(WriteBytes(disk.Join("small.txt"), "manual text\r\n"));
        if (c.diskIn) {
            ASSERT_TRUE(WriteBytes(disk.Join("DISK2.TAG"), ""));
        }
        StagedScript script(PromptScript(disk));
        ASSERT_TRUE(script.Written());
        const RunnerRun run =
            RunRunner(std::string("--answers=") + c.answers, disk.Path(), disk.Join("RECORD.TXT"));
        ASSERT_TRUE(run.started) << run.error;
        EXPECT_EQ(run.error, "");
        EXPECT_EQ(run.exitCode, c.exitCode) << "record:\n" << Lines(run.record);
        std::vector<std::string> boxes;
        std::string copyText = "<no final text>";
        for (const std::string& line : run.record) {
            if (line.rfind("box ", 0) == 0) {
                boxes.push_back(line);
            } else if (line.rfind("button 1011 ", 0) == 0) {
                copyText = line.substr(std::string("button 1011 enabled ").size());
            }
        }
        EXPECT_EQ(Lines(boxes), Lines(c.boxes));
        EXPECT_EQ(copyText, c.copyText);
        EXPECT_EQ(ReadBytes(disk.Join("COPIED.TXT")).has_value(), c.diskIn);
    }
}

TEST(HeadlessRunner, OptionMaskChoosesTheGatedFiles) {
    // Columns: --options (empty: none given), the files copied out of
    // ALWAYS.TXT, LAN.TXT, MODEM.TXT, MANUAL.TXT.
    const struct {
        const char* options;
        std::vector<std::string> copied;
    } cases[] = {
        {"", {"ALWAYS.TXT", "MANUAL.TXT"}},
        {"--options=0", {"ALWAYS.TXT"}},
        {"--options=1", {"ALWAYS.TXT", "LAN.TXT"}},
        {"--options=6", {"ALWAYS.TXT", "MODEM.TXT", "MANUAL.TXT"}},
        {"--options=0x7", {"ALWAYS.TXT", "LAN.TXT", "MODEM.TXT", "MANUAL.TXT"}},
    };
    const std::vector<std::string> all = {"ALWAYS.TXT", "LAN.TXT", "MODEM.TXT", "MANUAL.TXT"};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options);
        ScratchDirectory disk("install-options");
        ASSERT_TRUE(::CreateDirectoryA(disk.Join("OUT").c_str(), nullptr));
        for (const std::string& name : all) {
            ASSERT_TRUE(WriteBytes(disk.Join(name), name));
        }
        const std::string out = "%R%" + disk.Path().substr(2) + "\\OUT\\";
        StagedScript script(BothFamilies(
            "Files", "%C%\\ALWAYS.TXT," + out + "ALWAYS.TXT\n#L\n%C%\\LAN.TXT," + out +
                         "LAN.TXT\n#M\n%C%\\MODEM.TXT," + out + "MODEM.TXT\n#O\n%C%\\MANUAL.TXT," +
                         out + "MANUAL.TXT\n"));
        ASSERT_TRUE(script.Written());
        const RunnerRun run = RunRunner(c.options, disk.Path(), disk.Join("RECORD.TXT"));
        ASSERT_TRUE(run.started) << run.error;
        EXPECT_EQ(run.exitCode, 0u) << "record:\n" << Lines(run.record);
        std::vector<std::string> copied;
        for (const std::string& name : all) {
            if (ReadBytes(disk.Join("OUT\\" + name)) == name) {
                copied.push_back(name);
            }
        }
        EXPECT_EQ(Lines(copied), Lines(c.copied));
    }
}

TEST(HeadlessRunner, RefusesABadCommandLine) {
    // Columns: arguments after --output.
    const char* cases[] = {"--options=", "--options=x4", "--answers=1,,2", "--answers=ok",
                           "--verbose", "--options=-1"};
    ScratchDirectory disk("install-usage");
    StagedScript script("");
    for (const char* arguments : cases) {
        const RunnerRun run = RunRunner(arguments, disk.Path(), disk.Join("RECORD.TXT"));
        ASSERT_TRUE(run.started) << run.error;
        EXPECT_EQ(run.exitCode, 2u) << arguments;
        EXPECT_EQ(Lines(run.record), "") << arguments;
        // Refused before anything ran: no log was started.
        EXPECT_EQ(script.Log(), "<no log>") << arguments;
    }
}

}  // namespace
}  // namespace install
