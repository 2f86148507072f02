// INSTALL.EXE /S on the real system, started as an administrator's script
// starts it: on small disks laid out in scratch folders (the product copied
// beside each SETUP.INP), with its exit code, standard error, the log, what
// it installed, and the top-level windows of its process watched for the
// whole run. The exit codes and the lock's name are written out here as
// the README gives them to administrators.
#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/win32/unique_resource.hpp"
#include "tests/unattended/install_process.hpp"
#include "tests/wine/scratch_directory.hpp"
#include "tests/wine/step_support.hpp"
#include "tests/wine/test_family.hpp"

namespace install {
namespace {

using unattended_test::InstallProcess;
using unattended_test::kEndedByTest;
using unattended_test::PathForm;
using unattended_test::RunResult;
using unattended_test::TestWindow;
using wine_test::BothFamilies;
using wine_test::CrLf;
using wine_test::Lines;
using wine_test::LogPath;
using wine_test::ExpectedLog;
using wine_test::PathCleanup;
using wine_test::ReadBytes;
using wine_test::ScratchDirectory;
using wine_test::StagedScriptPath;
using wine_test::Visible;
using wine_test::WindowsDirectory;
using wine_test::WriteBytes;

// A run may take this long before the test ends it as hung.
constexpr DWORD kRunWaitMs = 60000;
constexpr const char* kLockName = "TrelixInstallationUtility.Unattended";
constexpr const char* kWizardTitle = "Trelix Installation Utility";

std::string WindowsForm(std::string path) {
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

std::string ProductPath() { return WindowsForm(UNATTENDED_INSTALL_EXE); }
std::string SampleDiskFile(const std::string& name) {
    return WindowsForm(UNATTENDED_SAMPLE_DISK) + "\\" + name;
}
std::string SampleSourceFile(const std::string& name) {
    return WindowsForm(UNATTENDED_SAMPLE_SOURCE) + "\\" + name;
}

std::string Log() { return ReadBytes(LogPath()).value_or("<no log>"); }

// The last line of a text whose lines end with CR LF, without its line end.
std::string LastLine(const std::string& text) {
    std::string body = text;
    if (body.size() >= 2 && body.compare(body.size() - 2, 2, "\r\n") == 0) {
        body.resize(body.size() - 2);
    }
    const std::size_t end = body.rfind('\n');
    return end == std::string::npos ? body : body.substr(end + 1);
}

// What a run's result says, for failure messages.
std::string Described(const RunResult& run) {
    return "exit code " + std::to_string(run.exitCode) +
           (run.endedByItself ? "" : " (ended by the test)") + "\nstandard error: " +
           Visible(run.standardError) + "\nwindows:\n" + Lines(run.windows) + "log:\n" +
           Visible(Log());
}

// An installation disk in a scratch folder, with INSTALL.EXE on it.
class Disk {
public:
    explicit Disk(const std::string& name) : scratch_(name) {
        copied_ = ::CopyFileA(ProductPath().c_str(), Join("INSTALL.EXE").c_str(), FALSE) != 0;
    }

    // False when INSTALL.EXE could not be put on it.
    bool Ready() const { return copied_; }
    const std::string& Path() const { return scratch_.Path(); }
    std::string Join(const std::string& name) const { return scratch_.Join(name); }

    // Writes SETUP.INP, its LFs as CR LF.
    bool Script(const std::string& text) const { return WriteBytes(Join(kScript), CrLf(text)); }
    std::optional<std::string> ScriptBytes() const { return ReadBytes(Join(kScript)); }
    bool CopySampleFile(const std::string& name) const {
        return ::CopyFileA(SampleDiskFile(name).c_str(), Join(name).c_str(), FALSE) != 0;
    }
    // A disk prompt's check path for a file of this disk: composed on the
    // drive the installation was started from.
    std::string CheckField(const std::string& name) const {
        return "%D%" + Path().substr(2) + "\\" + name;
    }

private:
    static constexpr const char* kScript = "SETUP.INP";
    ScratchDirectory scratch_;
    bool copied_ = false;
};

// The text with each "<disk>" replaced by the disk's folder.
std::string OnDisk(std::string text, const Disk& disk) {
    for (std::size_t at = text.find("<disk>"); at != std::string::npos;
         at = text.find("<disk>", at + disk.Path().size())) {
        text.replace(at, 6, disk.Path());
    }
    return text;
}

// Every case starts and ends with no staged script and no log.
class UnattendedInstall : public testing::Test {
protected:
    PathCleanup windowsFiles_{{StagedScriptPath(), LogPath()}};
};

TEST_F(UnattendedInstall, InstallsTheSampleDiskWithNoWindowAndExitCodeZero) {
    const std::string windows = WindowsDirectory();
    const std::string programs = wine_test::SharedProgramsFolder();
    ASSERT_FALSE(programs.empty()) << "no Programs folder in this prefix";
    const bool nt = wine_test::CurrentFamily() == wine_test::Family::Nt;
    const std::string installed = windows + "\\UNATTEND";
    const std::string manualDir = installed + "\\MANUAL";
    const std::string folder = programs + "\\Unattended Manual";
    const std::string checker = windows + "\\UAMARKER.EXE";
    PathCleanup cleanup({installed, folder, checker});
    wine_test::RegistryTreeCleanup machineKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\TrelixUnattended");
    wine_test::RegistryTreeCleanup userKey(HKEY_CURRENT_USER, "Software\\TrelixUnattended");

    Disk disk("unattended-sample");
    ASSERT_TRUE(disk.Ready()) << "cannot copy " << ProductPath();
    for (const char* name : {"INDEX.HTM", "MANUAL.HL_", "DISK2.TAG"}) {
        ASSERT_TRUE(disk.CopySampleFile(name)) << SampleDiskFile(name);
    }
    ASSERT_TRUE(::CopyFileA(UNATTENDED_LAUNCH_MARKER, checker.c_str(), FALSE))
        << UNATTENDED_LAUNCH_MARKER;
    const std::string marker = disk.Join("LAUNCHED.TXT");
    // The sample disk's script, with the names of this test, the second
    // disk's tag on this disk, and the marker for the program it starts.
    // The program entries differ by family, so the log shows which
    // family's section was read.
    ASSERT_TRUE(disk.Script(
        "; the sample installation, unattended\n" +
        BothFamilies("Dirs", "%W%\\,UNATTEND\n%W%\\UNATTEND,MANUAL\n") +
        BothFamilies("Files", "%C%\\INDEX.HTM,%W%\\UNATTEND\\MANUAL\\INDEX.HTM\n"
                              "#L\n"
                              "%C%\\LANDIAG.EXE,%W%\\UNATTEND\\LANDIAG.EXE\n"
                              "#O\n"
                              "(Please insert the On-line Manual disk 2," +
                                  disk.CheckField("DISK2.TAG") +
                                  ")\n"
                                  "%C%\\MANUAL.HL_,%W%\\UNATTEND\\MANUAL\\MANUAL.HLP\n") +
        BothFamilies("Folders", "%P%,Unattended Manual\n") +
        BothFamilies("Links", "%W%\\UNATTEND\\MANUAL\\INDEX.HTM,%P%\\Unattended Manual\\"
                              "On-line Manual.lnk,On-line Manual\n") +
        BothFamilies("Regs",
                     "HKEY_LOCAL_MACHINE,SOFTWARE\\TrelixUnattended\\Manual,Path,REG_SZ," +
                         manualDir +
                         "\n"
                         "HKEY_CURRENT_USER,Software\\TrelixUnattended\\Manual,Installed,"
                         "REG_DWORD,1\n") +
        "[Win9X Exes]\n%W%\\UAMARKER.EXE " + marker + ",Manual Check 9X,SW_SHOW\n" +
        "[WinNT Exes]\n%W%\\UAMARKER.EXE " + marker + ",Manual Check NT,SW_SHOW\n"));
    // An earlier log is replaced.
    ASSERT_TRUE(WriteBytes(LogPath(), "Installation Log\r\nan earlier run\r\n"));

    InstallProcess install(disk.Path(), "/S", disk.Path());
    ASSERT_TRUE(install.Started()) << install.Error();
    const RunResult run = install.Finish(kRunWaitMs);
    EXPECT_EQ(run.error, "");
    EXPECT_EQ(run.exitCode, 0u) << Described(run);
    EXPECT_EQ(Lines(run.windows), "") << "windows of the unattended run";
    EXPECT_EQ(Visible(run.standardError), "");
    EXPECT_EQ(Visible(run.standardOutput), "");

    EXPECT_EQ(Visible(ReadBytes(StagedScriptPath()).value_or("<not staged>")),
              Visible(disk.ScriptBytes().value_or("<no script on the disk>")));
    const std::string link = folder + "\\On-line Manual.lnk";
    EXPECT_EQ(Visible(Log()),
              Visible(ExpectedLog(
                  "\n##CREATE INSTALLATION DIRECTORY##\n\n"
                  "Create directory = UNATTEND, under directory = " + windows + "\\ [OK]\n"
                  "Create directory = MANUAL, under directory = " + installed + " [OK]\n"
                  "\n##COPY INSTALLATION FILE##\n\n" +
                  disk.Join("INDEX.HTM") + " -> " + manualDir + "\\INDEX.HTM [OK]\n" +
                  disk.Join("MANUAL.HL_") + " -> " + manualDir + "\\MANUAL.HLP [OK]\n"
                  "\n##CREATE PROGRAM FOLDER##\n\n"
                  "Create shell folder Unattended Manual [OK]\n"
                  "\n##UPDATE SHORTCUT##\n\n"
                  "Create shortcut " + link + " [OK]\n"
                  "\n##UPDATE REGISTRY##\n\n"
                  "Update HKEY_LOCAL_MACHINE\\SOFTWARE\\TrelixUnattended\\Manual\\Path = " +
                  manualDir + " [OK]\n"
                  "Update HKEY_CURRENT_USER\\Software\\TrelixUnattended\\Manual\\Installed = 1 "
                  "[OK]\n"
                  "\n##INITIALIZE DIAGNOSTICS##\n\n" +
                  (nt ? "Manual Check NT" : "Manual Check 9X") + " [OK]\n")));

    // Columns: file, where its bytes must come from (empty: it must not
    // exist).
    const struct {
        std::string path;
        std::string original;
    } files[] = {
        {manualDir + "\\INDEX.HTM", SampleSourceFile("INDEX.HTM")},
        // Expanded from the disk's compressed copy.
        {manualDir + "\\MANUAL.HLP", SampleSourceFile("MANUAL.HLP")},
        // Behind the LAN option, which an unattended run does not choose.
        {installed + "\\LANDIAG.EXE", ""},
        {link, ""},
    };
    for (const auto& file : files) {
        const auto bytes = ReadBytes(file.path);
        if (file.path == link) {
            EXPECT_TRUE(bytes.has_value()) << "no shortcut " << link;
        } else if (file.original.empty()) {
            EXPECT_FALSE(bytes.has_value()) << file.path << " exists";
        } else {
            const auto original = ReadBytes(file.original);
            ASSERT_TRUE(original.has_value()) << file.original;
            EXPECT_TRUE(bytes == original)
                << file.path << ": " << (bytes ? std::to_string(bytes->size()) : "no")
                << " bytes, expected the " << original->size() << " of " << file.original;
        }
    }

    // Columns: root, key, value name, type, bytes.
    const struct {
        HKEY root;
        const char* key;
        const char* name;
        DWORD type;
        std::string bytes;
    } values[] = {
        {HKEY_LOCAL_MACHINE, "SOFTWARE\\TrelixUnattended\\Manual", "Path", REG_SZ,
         manualDir + std::string(1, '\0')},
        {HKEY_CURRENT_USER, "Software\\TrelixUnattended\\Manual", "Installed", REG_DWORD,
         std::string("\x01\x00\x00\x00", 4)},
    };
    for (const auto& value : values) {
        const auto read = wine_test::ReadRegistryValue(value.root, value.key, value.name);
        if (!read) {
            ADD_FAILURE() << "no value " << value.key << " " << value.name;
            continue;
        }
        EXPECT_EQ(read->type, value.type) << value.key << " " << value.name;
        EXPECT_EQ(Visible(read->bytes), Visible(value.bytes)) << value.key << " " << value.name;
    }

    std::string error;
    const auto launched = wine_test::AwaitLaunchRecord(marker, error);
    ASSERT_TRUE(launched) << error;
    // The script's SW_SHOW is the platform's SW_SHOWNA, 8.
    EXPECT_EQ(launched->show, "8");
}

TEST_F(UnattendedInstall, AFailingStepEndsWithExitCodeOneAndTheLogSaysWhich) {
    const std::string windows = WindowsDirectory();
    PathCleanup cleanup({windows + "\\UAFAIL"});
    // Columns: name, the script's sections after a directory step that
    // makes %W%\UAFAIL, the files on the disk, the log's last line (the
    // disk's folder written as <disk>).
    const struct {
        const char* name;
        std::string sections;
        std::vector<std::string> onDisk;
        std::string lastLine;
    } cases[] = {
        {"a source file is missing",
         BothFamilies("Files", "%C%\\PRESENT.TXT,%W%\\UAFAIL\\PRESENT.TXT\n"
                               "%C%\\MISSING.TXT,%W%\\UAFAIL\\MISSING.TXT\n"),
         {"PRESENT.TXT"},
         "<disk>\\MISSING.TXT -> " + windows +
             "\\UAFAIL\\MISSING.TXT [FAIL] (Source file is not found on the installation disk)"},
        {"a registry root that does not exist",
         BothFamilies("Regs", "HKEY_NOWHERE,Software\\TrelixUnattended,Value,REG_SZ,x\n"),
         {},
         "Update HKEY_NOWHERE\\Software\\TrelixUnattended\\Value = x [FAIL] (Unknown root key "
         "HKEY_NOWHERE)"},
        {"a program that is not there",
         BothFamilies("Exes", "%W%\\UAFAIL\\NOSUCH.EXE,Missing Program,SW_SHOW\n"),
         {},
         "Missing Program [FAIL] (" + windows + "\\UAFAIL\\NOSUCH.EXE cannot be found)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        wine_test::RemoveTree(windows + "\\UAFAIL");
        Disk disk("unattended-failing");
        ASSERT_TRUE(disk.Ready()) << "cannot copy " << ProductPath();
        for (const std::string& name : c.onDisk) {
            ASSERT_TRUE(WriteBytes(disk.Join(name), name));
        }
        ASSERT_TRUE(disk.Script(BothFamilies("Dirs", "%W%\\,UAFAIL\n") + c.sections));

        InstallProcess install(disk.Path(), "/S", disk.Path());
        ASSERT_TRUE(install.Started()) << install.Error();
        const RunResult run = install.Finish(kRunWaitMs);
        EXPECT_EQ(run.error, "");
        EXPECT_EQ(run.exitCode, 1u) << Described(run);
        EXPECT_EQ(Lines(run.windows), "") << "windows of the unattended run";
        EXPECT_EQ(Visible(run.standardError), "");
        EXPECT_EQ(Visible(LastLine(Log())), Visible(OnDisk(c.lastLine, disk)))
            << "log:\n" << Visible(Log());
    }
}

TEST_F(UnattendedInstall, ChecksEachDiskPromptWithoutAskingAndNeverShowsAWindow) {
    const std::string windows = WindowsDirectory();
    const std::string copied = windows + "\\UAPROMPT.TXT";
    PathCleanup cleanup({copied});
    // Columns: whether the prompt's check path is there, the exit code,
    // the whole log after the copy step's banner (the disk's folder
    // written as <disk>).
    const struct {
        bool diskIn;
        DWORD exitCode;
        std::string logEnd;
    } cases[] = {
        {true, 0,
         "<disk>\\small.txt -> " + copied + " [OK]\n"
         "\n##CREATE PROGRAM FOLDER##\n\n"
         "\n##UPDATE SHORTCUT##\n\n"
         "\n##UPDATE REGISTRY##\n\n"
         "\n##INITIALIZE DIAGNOSTICS##\n\n"},
        {false, 1, "Disk prompt \"Insert the manual disk\" [FAIL] (<disk>\\DISK2.TAG is missing)\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.diskIn ? "the disk is in" : "no disk");
        wine_test::RemoveTree(copied);
        Disk disk("unattended-prompt");
        ASSERT_TRUE(disk.Ready()) << "cannot copy " << ProductPath();
        ASSERT_TRUE(WriteBytes(disk.Join("small.txt"), "manual text\r\n"));
        if (c.diskIn) {
            ASSERT_TRUE(WriteBytes(disk.Join("DISK2.TAG"), ""));
        }
        // No programs to start: every window of the run would be its own.
        ASSERT_TRUE(disk.Script(BothFamilies(
            "Files", "(Insert the manual disk," + disk.CheckField("DISK2.TAG") +
                         ")\n%C%\\small.txt,%W%\\UAPROMPT.TXT\n")));

        InstallProcess install(disk.Path(), "/S", disk.Path());
        ASSERT_TRUE(install.Started()) << install.Error();
        const RunResult run = install.Finish(kRunWaitMs);
        EXPECT_EQ(run.error, "");
        EXPECT_TRUE(run.endedByItself) << Described(run);
        EXPECT_EQ(run.exitCode, c.exitCode) << Described(run);
        EXPECT_EQ(Lines(run.windows), "") << "windows of the unattended run";
        EXPECT_EQ(Visible(run.standardError), "");
        EXPECT_EQ(Visible(Log()),
                  Visible(ExpectedLog("\n##CREATE INSTALLATION DIRECTORY##\n\n"
                                      "\n##COPY INSTALLATION FILE##\n\n" +
                                      OnDisk(c.logEnd, disk))));
        EXPECT_EQ(ReadBytes(copied).has_value(), c.diskIn);
    }
}

TEST_F(UnattendedInstall, AScriptThatCannotBeStagedEndsWithExitCodeTwoAndSaysWhy) {
    const std::string staged = StagedScriptPath();
    // The name the LZ library would put a copy under when the one asked for
    // cannot be made: nothing may be staged there instead.
    const std::string stagedFallback = staged.substr(0, staged.size() - 1) + "_";
    // Columns: name, whether the disk has a script, whether the staged
    // copy is held open by the test, the reason (the disk's folder written
    // as <disk>).
    const struct {
        const char* name;
        bool script;
        bool destinationLocked;
        std::string reason;
    } cases[] = {
        {"no script on the disk", false, false, "Cannot find input script <disk>\\SETUP.INP"},
        {"the staged copy cannot be made", true, true, "Cannot create temporary script " + staged},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Disk disk("unattended-unstaged");
        ASSERT_TRUE(disk.Ready()) << "cannot copy " << ProductPath();
        if (c.script) {
            ASSERT_TRUE(disk.Script(BothFamilies("Dirs", "%W%\\,UANEVER\n")));
        }
        PathCleanup cleanup({staged, stagedFallback});
        win32::UniqueFileHandle lock;
        if (c.destinationLocked) {
            lock.reset(::CreateFileA(staged.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
            ASSERT_TRUE(lock.valid()) << staged << ": error " << ::GetLastError();
        }
        ASSERT_TRUE(WriteBytes(LogPath(), "Installation Log\r\nan earlier run\r\n"));
        const std::string reason = OnDisk(c.reason, disk);

        InstallProcess install(disk.Path(), "/S", disk.Path());
        ASSERT_TRUE(install.Started()) << install.Error();
        const RunResult run = install.Finish(kRunWaitMs);
        lock.reset();
        EXPECT_EQ(run.error, "");
        EXPECT_EQ(run.exitCode, 2u) << Described(run);
        EXPECT_EQ(Lines(run.windows), "") << "windows of the unattended run";
        EXPECT_EQ(Visible(run.standardError), Visible(reason + "\r\n"));
        EXPECT_EQ(Visible(Log()), Visible("Installation Log\r\nERROR : " + reason + "\r\n"));
        EXPECT_EQ(::GetFileAttributesA((WindowsDirectory() + "\\UANEVER").c_str()),
                  INVALID_FILE_ATTRIBUTES);
        EXPECT_EQ(::GetFileAttributesA(stagedFallback.c_str()), INVALID_FILE_ATTRIBUTES)
            << stagedFallback;
    }
}

TEST_F(UnattendedInstall, ASecondCopyEndsWithExitCodeThreeAndTouchesNothing) {
    const std::string installed = WindowsDirectory() + "\\UATWICE";
    PathCleanup cleanup({installed});
    // Columns: what is already running: the wizard (a window of the test
    // process with its title) or an unattended run (the test process holds
    // its lock; the run holding it is tested on its own below).
    const struct {
        const char* name;
        bool wizardOpen;
        bool lockHeld;
    } cases[] = {
        {"the wizard is open", true, false},
        {"an unattended run holds the installation", false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Disk disk("unattended-second");
        ASSERT_TRUE(disk.Ready()) << "cannot copy " << ProductPath();
        ASSERT_TRUE(disk.Script(BothFamilies("Dirs", "%W%\\,UATWICE\n")));
        // What the copy already running has staged and logged.
        const std::string stagedBefore = "; staged by the copy already running\r\n";
        const std::string logBefore = "Installation Log\r\nthe copy already running\r\n";
        ASSERT_TRUE(WriteBytes(StagedScriptPath(), stagedBefore));
        ASSERT_TRUE(WriteBytes(LogPath(), logBefore));

        std::optional<TestWindow> wizard;
        if (c.wizardOpen) {
            wizard.emplace(kWizardTitle, true);
            ASSERT_TRUE(wizard->Created()) << wizard->Error();
        }
        win32::UniqueKernelHandle lock;
        if (c.lockHeld) {
            lock.reset(::CreateMutexA(nullptr, FALSE, kLockName));
            ASSERT_TRUE(lock) << "CreateMutexA error " << ::GetLastError();
        }

        InstallProcess install(disk.Path(), "/S", disk.Path());
        ASSERT_TRUE(install.Started()) << install.Error();
        const RunResult run = install.Finish(kRunWaitMs);
        EXPECT_EQ(run.error, "");
        EXPECT_EQ(run.exitCode, 3u) << Described(run);
        EXPECT_EQ(Lines(run.windows), "") << "windows of the unattended run";
        EXPECT_EQ(Visible(run.standardError), "");
        EXPECT_EQ(Visible(ReadBytes(StagedScriptPath()).value_or("<none>")), Visible(stagedBefore));
        EXPECT_EQ(Visible(Log()), Visible(logBefore));
        EXPECT_EQ(::GetFileAttributesA(installed.c_str()), INVALID_FILE_ATTRIBUTES);
    }
}

TEST_F(UnattendedInstall, AnUnattendedRunHoldsTheInstallationUntilItEnds) {
    // Two real runs, the first held in its preparation step: it asks the
    // maker's tools to close and waits for each to handle that, and the
    // tool window here does not answer until told. The second starts while
    // the first certainly holds the installation.
    const std::string windows = WindowsDirectory();
    PathCleanup cleanup({windows + "\\UAFIRST", windows + "\\UASECOND"});
    Disk first("unattended-first");
    Disk second("unattended-second");
    ASSERT_TRUE(first.Ready() && second.Ready()) << "cannot copy " << ProductPath();
    ASSERT_TRUE(first.Script(BothFamilies("Dirs", "%W%\\,UAFIRST\n")));
    ASSERT_TRUE(second.Script(BothFamilies("Dirs", "%W%\\,UASECOND\n")));

    TestWindow tool("Porvex", false);
    ASSERT_TRUE(tool.Created()) << tool.Error();
    InstallProcess firstRun(first.Path(), "/S", first.Path());
    ASSERT_TRUE(firstRun.Started()) << firstRun.Error();

    // The lock appears as the first run begins.
    bool lockSeen = false;
    const ULONGLONG deadline = ::GetTickCount64() + kRunWaitMs;
    while (!lockSeen && firstRun.Running() && ::GetTickCount64() < deadline) {
        win32::UniqueKernelHandle lock(::OpenMutexA(SYNCHRONIZE, FALSE, kLockName));
        lockSeen = lock.valid();
        if (!lockSeen) {
            ::Sleep(10);
        }
    }
    ASSERT_TRUE(lockSeen) << "the first run never took the lock; running: " << firstRun.Running();

    InstallProcess secondRun(second.Path(), "/s", second.Path(), PathForm::Unquoted);
    ASSERT_TRUE(secondRun.Started()) << secondRun.Error();
    const RunResult secondResult = secondRun.Finish(kRunWaitMs);
    EXPECT_EQ(secondResult.error, "");
    EXPECT_EQ(secondResult.exitCode, 3u) << Described(secondResult);
    EXPECT_EQ(Lines(secondResult.windows), "") << "windows of the second run";
    EXPECT_TRUE(firstRun.Running()) << "the first run ended before the tool window answered";
    EXPECT_FALSE(tool.CloseArrived());

    tool.Answer();
    const RunResult firstResult = firstRun.Finish(kRunWaitMs);
    EXPECT_EQ(firstResult.error, "");
    EXPECT_EQ(firstResult.exitCode, 0u) << Described(firstResult);
    EXPECT_EQ(Lines(firstResult.windows), "") << "windows of the first run";
    EXPECT_TRUE(tool.CloseArrived());
    EXPECT_NE(::GetFileAttributesA((windows + "\\UAFIRST").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(::GetFileAttributesA((windows + "\\UASECOND").c_str()), INVALID_FILE_ATTRIBUTES);

    // Both have ended: nobody holds the lock any more.
    win32::UniqueKernelHandle lock(::OpenMutexA(SYNCHRONIZE, FALSE, kLockName));
    EXPECT_FALSE(lock.valid()) << "the lock outlived the runs";
}

TEST_F(UnattendedInstall, OnlyASlashSArgumentOfItsOwnMakesTheRunUnattended) {
    // A disk without a script: an unattended run ends at once with exit
    // code 2, while the wizard shows its message, a window, and is ended
    // by the test. Columns: arguments, how the program path is written,
    // whether the run is unattended.
    const struct {
        const char* arguments;
        PathForm form;
        bool unattended;
    } cases[] = {
        {"/S", PathForm::Quoted, true},
        {"/s", PathForm::Unquoted, true},
        {"/x /S", PathForm::Quoted, true},
        {"\"/S\"", PathForm::Quoted, true},
        {"", PathForm::Quoted, false},
        {"/Sx", PathForm::Quoted, false},
        {"-S", PathForm::Quoted, false},
    };
    Disk disk("unattended-forms");
    ASSERT_TRUE(disk.Ready()) << "cannot copy " << ProductPath();
    const std::string reason = "Cannot find input script " + disk.Join("SETUP.INP") + "\r\n";
    for (const auto& c : cases) {
        InstallProcess install(disk.Path(), c.arguments, disk.Path(), c.form);
        SCOPED_TRACE(install.CommandLine());
        ASSERT_TRUE(install.Started()) << install.Error();
        const RunResult run = install.Finish(kRunWaitMs, !c.unattended);
        if (c.unattended) {
            EXPECT_EQ(run.error, "");
            EXPECT_EQ(run.exitCode, 2u) << Described(run);
            EXPECT_EQ(Lines(run.windows), "") << "windows of the unattended run";
            EXPECT_EQ(Visible(run.standardError), Visible(reason));
        } else {
            EXPECT_NE(Lines(run.windows), "") << "the wizard showed no window; " << Described(run);
            EXPECT_FALSE(run.endedByItself) << Described(run);
            EXPECT_EQ(run.exitCode, kEndedByTest) << Described(run);
            EXPECT_EQ(Visible(run.standardError), "");
        }
    }
}

}  // namespace
}  // namespace install
