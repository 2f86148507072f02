// The wizard end to end: INSTALL.EXE started from an installation disk in
// its own process, driven through its real windows as a user would, and
// the machine looked at afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>

#include "tests/e2e/install_state.hpp"
#include "tests/e2e/wizard_driver.hpp"
#include "tests/e2e/wizard_page_checks.hpp"
#include "tests/wine/scratch_directory.hpp"

namespace install::e2e {
namespace {

using wine_test::Family;
using wine_test::ReadBytes;

constexpr const char* kSuccessText = "Installation finished successfully";
constexpr const char* kFailureText = "Installation failed";
constexpr const char* kDiskPrompt = "Please insert the On-line Manual disk 2";
constexpr const char* kRetryQuestion = "Please verify your installation disk or click CANCEL to cancel installation";
const StatusTexts kFirstStatusTexts = {"Directory Creation", "File Copy", "Application Database Update",
                                       "On-line Manual Initialization"};
// Files of the built sample disk.
const std::vector<std::string> kSampleDisk = {"INSTALL.EXE", "SETUP.INP", "INDEX.HTM", "MANUAL.HL_", "DISK2.TAG"};

std::vector<std::string> Without(std::vector<std::string> names, const std::string& name) {
    names.erase(std::remove(names.begin(), names.end(), name), names.end());
    return names;
}

std::string Join(const std::set<DWORD>& ids) {
    std::string text;
    for (const DWORD id : ids) {
        text += (text.empty() ? "" : " ") + std::to_string(id);
    }
    return text.empty() ? "none" : text;
}

// The processes' windows, for messages.
std::string DescribeProcesses(const std::set<DWORD>& ids) {
    std::string text = Join(ids);
    for (const DWORD id : ids) {
        text += "\n" + DescribeWindowsOf(id);
    }
    return text;
}

// Top-level windows whose title holds text (case ignored), with their titles.
std::vector<std::pair<HWND, std::string>> WindowsTitled(const std::string& text) {
    std::string wanted = text;
    std::transform(wanted.begin(), wanted.end(), wanted.begin(), ::toupper);
    std::vector<std::pair<HWND, std::string>> found;
    for (const HWND window : TopLevelWindows()) {
        char title[256] = "";
        ::GetWindowTextA(window, title, sizeof title);
        std::string upper = title;
        std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
        if (::IsWindowVisible(window) && upper.find(wanted) != std::string::npos) {
            found.emplace_back(window, title);
        }
    }
    return found;
}

class WizardTest : public testing::Test {
protected:
    void SetUp() override {
        notepadsBefore_ = ProcessesNamed("notepad.exe");
        RemoveInstallation();
        ASSERT_TRUE(ClearDisk()) << "could not empty the disk " << CurrentSettings().disk;
    }

    void TearDown() override {
        if (HasFailure()) {
            std::printf("%s\n", utility_.Describe().c_str());
        }
        utility_.End();
        for (const DWORD id : NewNotepads()) {
            EndProcess(id);
        }
        RemoveInstallation();
    }

    // Notepad processes that did not run when the case began.
    std::set<DWORD> NewNotepads() const {
        std::set<DWORD> added;
        for (const DWORD id : ProcessesNamed("notepad.exe")) {
            if (!notepadsBefore_.count(id)) {
                added.insert(id);
            }
        }
        return added;
    }

    void LayOutDisk(const std::vector<std::string>& sampleFiles, const std::string& script = "") {
        ASSERT_TRUE(CopySampleFiles(sampleFiles)) << "could not copy the sample disk from "
                                                  << CurrentSettings().sampleDisk;
        if (!script.empty()) {
            ASSERT_TRUE(WriteDiskFile("SETUP.INP", script));
        }
    }

    // Starts the utility from the disk, as its current directory.
    void StartUtility(Utility& utility) {
        ASSERT_TRUE(utility.Start(DiskPath("INSTALL.EXE"), CurrentSettings().disk)) << utility.Error();
    }

    HWND OpenOptionsPage() {
        StartUtility(utility_);
        if (HasFatalFailure()) {
            return nullptr;
        }
        const HWND options = utility_.WaitForPage(Page::Options);
        EXPECT_NE(options, nullptr) << "no options page; " << utility_.Describe();
        return options;
    }

    // "&Next" on the options page; the progress page that follows.
    HWND NextToProgress(HWND options) {
        EXPECT_TRUE(Click(::GetDlgItem(options, kNextOptions)));
        const HWND progress = utility_.WaitForPage(Page::Progress);
        EXPECT_NE(progress, nullptr) << "no progress page; " << utility_.Describe();
        return progress;
    }

    // The control with the focus on the page as the user finds it when the
    // page is in front: a program the utility started (Notepad) may have
    // taken the foreground, and the page keeps its focus for when it comes
    // back, so it is brought back first.
    HWND FocusOnPage(HWND page) {
        if (::GetForegroundWindow() != page) {
            ::SetForegroundWindow(page);
            WaitUntil(kStepWaitMs, [&] { return ::GetForegroundWindow() == page; });
        }
        HWND focus = nullptr;
        WaitUntil(kStepWaitMs, [&] {
            focus = utility_.FocusedWindow();
            return focus != nullptr && ::GetParent(focus) == page;
        });
        return focus;
    }

    // The progress page as it first shows: only "&Start" and "&Cancel" to
    // click, the focus on "&Start", the status buttons off with their labels.
    void ExpectFreshProgressPage(HWND progress) {
        ASSERT_TRUE(utility_.Sync(progress));
        // Columns: control, its text and states.
        const struct {
            int id;
            ControlState state;
        } controls[] = {
            {IDOK, {"&Next", true, false}},
            {IDCANCEL, {"&Cancel", true, true}},
            {kStart, {"&Start", true, true}},
            {kStatusButtons[0], {kFirstStatusTexts[0], true, false}},
            {kStatusButtons[1], {kFirstStatusTexts[1], true, false}},
            {kStatusButtons[2], {kFirstStatusTexts[2], true, false}},
            {kStatusButtons[3], {kFirstStatusTexts[3], true, false}},
        };
        for (const auto& c : controls) {
            EXPECT_EQ(StateOf(progress, c.id), c.state) << "control " << c.id << " of the fresh progress page";
        }
        const HWND focus = FocusOnPage(progress);
        EXPECT_EQ(focus, ::GetDlgItem(progress, kStart))
            << "focus on the fresh progress page is on " << DescribeControl(progress, focus);
    }

    // After the run: "&Next" the only button to click, and focused.
    void ExpectRunEnded(HWND progress, const StatusTexts& statuses, const std::array<bool, 4>& statusEnabled) {
        const struct {
            int id;
            ControlState state;
        } controls[] = {
            {IDOK, {"&Next", true, true}},
            {IDCANCEL, {"&Cancel", true, false}},
            {kStart, {"&Start", true, false}},
            {kStatusButtons[0], {statuses[0], true, statusEnabled[0]}},
            {kStatusButtons[1], {statuses[1], true, statusEnabled[1]}},
            {kStatusButtons[2], {statuses[2], true, statusEnabled[2]}},
            {kStatusButtons[3], {statuses[3], true, statusEnabled[3]}},
        };
        for (const auto& c : controls) {
            EXPECT_EQ(StateOf(progress, c.id), c.state) << "control " << c.id << " after the run";
        }
        const HWND focus = FocusOnPage(progress);
        EXPECT_EQ(focus, ::GetDlgItem(progress, IDOK))
            << "focus after the run is on " << DescribeControl(progress, focus);
    }

    // "&Next" after the run; the finish page with its result text.
    HWND NextToFinish(HWND progress, const std::string& resultText) {
        EXPECT_TRUE(Click(::GetDlgItem(progress, IDOK)));
        const HWND finish = utility_.WaitForPage(Page::Finish);
        EXPECT_NE(finish, nullptr) << "no finish page; " << utility_.Describe();
        if (finish == nullptr) {
            return nullptr;
        }
        EXPECT_TRUE(utility_.Sync(finish));
        EXPECT_EQ(StateOf(finish, kResultMessage), (ControlState{resultText, true, true}));
        EXPECT_EQ(StateOf(finish, IDOK), (ControlState{"&Finish", true, true}));
        EXPECT_EQ(StateOf(finish, kDetail), (ControlState{"&Detail", true, true}));
        EXPECT_EQ(utility_.FindPage(Page::Progress), nullptr) << "the progress page stayed";
        return finish;
    }

    // "&Finish": the utility ends, leaving no window.
    void FinishAndExpectEnd(HWND finish) {
        EXPECT_TRUE(Click(::GetDlgItem(finish, IDOK)));
        ASSERT_TRUE(utility_.WaitForExit(kStepWaitMs)) << "the utility did not end after \"&Finish\"; "
                                                       << utility_.Describe();
        EXPECT_EQ(utility_.ExitCode(), std::optional<DWORD>(0));
    }

    // Runs the disk's installation to the finish page, answering each disk
    // prompt with OK.
    HWND RunToFinishPage(const std::string& resultText) {
        const HWND options = OpenOptionsPage();
        if (options == nullptr) {
            return nullptr;
        }
        const HWND progress = NextToProgress(options);
        if (progress == nullptr) {
            return nullptr;
        }
        const RunResult run = RunInstallation(utility_, progress, {IDOK});
        EXPECT_TRUE(run.ended) << run.problem;
        if (!run.ended) {
            return nullptr;
        }
        return NextToFinish(progress, resultText);
    }

    Utility utility_;
    std::set<DWORD> notepadsBefore_;
};

std::string ExpectedSampleLog(const std::string& windows, const std::string& programs) {
    const std::string manual = windows + "\\NETCARD\\MANUAL";
    std::string log = "Installation Log\n";
    log += "\n##CREATE INSTALLATION DIRECTORY##\n\n";
    log += "Create directory = NETCARD, under directory = " + windows + "\\ [OK]\n";
    log += "Create directory = MANUAL, under directory = " + windows + "\\NETCARD [OK]\n";
    log += "\n##COPY INSTALLATION FILE##\n\n";
    log += "D:\\INDEX.HTM -> " + manual + "\\INDEX.HTM [OK]\n";
    log += "D:\\MANUAL.HL_ -> " + manual + "\\MANUAL.HLP [OK]\n";
    log += "\n##CREATE PROGRAM FOLDER##\n\n";
    log += "Create shell folder Network Card [OK]\n";
    log += "\n##UPDATE SHORTCUT##\n\n";
    log += "Create shortcut " + programs + "\\Network Card\\On-line Manual.lnk [OK]\n";
    log += "\n##UPDATE REGISTRY##\n\n";
    log += "Update HKEY_LOCAL_MACHINE\\SOFTWARE\\NetCard\\Manual\\Path = C:\\WINDOWS\\NETCARD\\MANUAL [OK]\n";
    log += "Update HKEY_CURRENT_USER\\Software\\NetCard\\Manual\\Installed = 1 [OK]\n";
    log += "\n##INITIALIZE DIAGNOSTICS##\n\n";
    log += "Notepad [OK]\n";
    std::string crlf;
    for (const char c : log) {
        crlf += c == '\n' ? "\r\n" : std::string(1, c);
    }
    return crlf;
}

TEST_F(WizardTest, SampleDiskInstallsEverythingThroughAllThreePages) {
    ASSERT_NO_FATAL_FAILURE(LayOutDisk(kSampleDisk));
    const HWND options = OpenOptionsPage();
    ASSERT_NE(options, nullptr);
    ASSERT_TRUE(utility_.Sync(options));

    // Only the manual is offered; the other two options are hidden and off.
    // Columns: control, its text and states, its check state.
    const struct {
        int id;
        ControlState state;
        int check;
    } optionControls[] = {
        {kManualCheck, {"Install On-line Manual", true, true}, BST_CHECKED},
        {kLanCheck, {"Install LAN Diagnostics Program", false, true}, BST_UNCHECKED},
        {kModemCheck, {"Install Modem Diagnostics Program", false, true}, BST_UNCHECKED},
        {kNextOptions, {"&Next", true, true}, BST_UNCHECKED},
        {IDCANCEL, {"&Cancel", true, true}, BST_UNCHECKED},
    };
    for (const auto& c : optionControls) {
        EXPECT_EQ(StateOf(options, c.id), c.state) << "options page control " << c.id;
        EXPECT_EQ(CheckStateOf(options, c.id), c.check) << "check state of options page control " << c.id;
    }
    // The script was staged into the Windows directory as the page opened.
    const std::string windows = WindowsDirectory();
    EXPECT_EQ(ReadBytes(windows + "\\SETUP.INP"), ReadBytes(DiskPath("SETUP.INP")));

    const HWND progress = NextToProgress(options);
    ASSERT_NE(progress, nullptr);
    EXPECT_TRUE(::IsIconic(options)) << "the options page is not minimized under the progress page";
    ASSERT_NO_FATAL_FAILURE(ExpectFreshProgressPage(progress));

    const RunResult run = RunInstallation(utility_, progress, {IDOK});
    ASSERT_TRUE(run.ended) << run.problem;
    // The prompt comes after the first file, with the disk already in.
    const std::vector<SeenBox> expectedBoxes = {
        {"Installation Message",
         kDiskPrompt,
         {IDOK},
         {"Directory Creation [OK]", "File Copy [In Progress] (1 file(s) copied)", "Application Database Update",
          "On-line Manual Initialization"}},
    };
    EXPECT_EQ(run.boxes, expectedBoxes);
    ExpectRunEnded(progress,
                   {"Directory Creation [OK]", "File Copy [OK] (2 file(s) copied)", "Application Database Update [OK]",
                    "On-line Manual Initialization [OK]"},
                   {true, true, true, true});

    // The script's last step started Notepad: a new process with a window.
    std::vector<HWND> editors;
    EXPECT_TRUE(WaitUntil(kStepWaitMs, [&] {
        editors.clear();
        for (const DWORD id : NewNotepads()) {
            for (const HWND window : TopLevelWindows()) {
                if (ProcessOf(window) == id && ::IsWindowVisible(window) && ClassName(window) == "Notepad") {
                    editors.push_back(window);
                }
            }
        }
        return !editors.empty();
    })) << "no Notepad window came; new Notepad processes: "
        << DescribeProcesses(NewNotepads());
    EXPECT_EQ(editors.size(), 1u) << "new Notepad processes: " << DescribeProcesses(NewNotepads());
    for (const HWND editor : editors) {
        char title[256] = "";
        ::GetWindowTextA(editor, title, sizeof title);
        std::printf("the run started Notepad, titled \"%s\"\n", title);
        EXPECT_TRUE(EndProcess(ProcessOf(editor))) << "Notepad " << ProcessOf(editor) << " did not end";
    }

    const HWND finish = NextToFinish(progress, kSuccessText);
    ASSERT_NE(finish, nullptr);
    ASSERT_NO_FATAL_FAILURE(FinishAndExpectEnd(finish));

    // What the installation left.
    const std::string manual = windows + "\\NETCARD\\MANUAL";
    const std::string source = CurrentSettings().sampleSource;
    // Columns: installed file, the file it must equal.
    const struct {
        std::string installed;
        std::string original;
    } files[] = {
        {manual + "\\INDEX.HTM", source + "\\INDEX.HTM"},
        {manual + "\\MANUAL.HLP", source + "\\MANUAL.HLP"},
    };
    for (const auto& f : files) {
        const auto installed = ReadBytes(f.installed);
        const auto original = ReadBytes(f.original);
        ASSERT_TRUE(original) << "cannot read " << f.original;
        ASSERT_TRUE(installed) << f.installed << " is missing";
        EXPECT_EQ(*installed, *original) << f.installed << " differs from " << f.original;
    }
    EXPECT_FALSE(FileExists(windows + "\\NETCARD\\LANDIAG.EXE")) << "a file of an option not chosen was copied";

    // Columns: root, key, value name, the value expected.
    const struct {
        HKEY root;
        const char* rootName;
        const char* key;
        const char* name;
        RegistryValue value;
    } values[] = {
        {HKEY_LOCAL_MACHINE, "HKLM", "SOFTWARE\\NetCard\\Manual", "Path", {REG_SZ, "C:\\WINDOWS\\NETCARD\\MANUAL"}},
        {HKEY_CURRENT_USER, "HKCU", "Software\\NetCard\\Manual", "Installed", {REG_DWORD, std::string("\1\0\0\0", 4)}},
    };
    for (const auto& v : values) {
        const auto actual = ReadRegistryValue(v.root, v.key, v.name);
        ASSERT_TRUE(actual) << v.rootName << "\\" << v.key << "\\" << v.name << " is missing";
        EXPECT_EQ(actual->type, v.value.type) << v.rootName << "\\" << v.key << "\\" << v.name;
        EXPECT_EQ(actual->data, v.value.data) << v.rootName << "\\" << v.key << "\\" << v.name;
    }

    // The shortcut lands in the Programs folder this family shares: the
    // common one on NT, the user's on 9x.
    const std::string programs = SharedProgramsFolder();
    ASSERT_FALSE(programs.empty()) << "no Programs folder in the registry";
    const std::string link = programs + "\\Network Card\\On-line Manual.lnk";
    std::string error;
    const auto shortcut = ReadShortcut(link, error);
    ASSERT_TRUE(shortcut) << error;
    EXPECT_EQ(shortcut->description, "On-line Manual");
    EXPECT_EQ(::lstrcmpiA(shortcut->target.c_str(), (manual + "\\INDEX.HTM").c_str()), 0)
        << "the shortcut points at " << shortcut->target;
    if (CurrentSettings().family == Family::Nt && UserProgramsFolder() != programs) {
        EXPECT_FALSE(DirectoryExists(UserProgramsFolder() + "\\Network Card"))
            << "the NT family made the folder among the user's own programs";
    }

    const auto log = ReadBytes(windows + "\\INSTLOG.TXT");
    ASSERT_TRUE(log) << "no INSTLOG.TXT in " << windows;
    EXPECT_EQ(*log, ExpectedSampleLog(windows, programs));
}

TEST_F(WizardTest, AStepThatFailsEndsTheRunAndLeavesTheLaterStatusButtonsAsTheyWere) {
    // Columns: what fails, the script, the status texts and enabled states
    // after the run, a line the log must hold.
    const std::string windows = WindowsDirectory();
    const struct {
        const char* name;
        std::string script;
        StatusTexts statuses;
        std::array<bool, 4> enabled;
        std::string logLine;
    } cases[] = {
        {"a directory name the system refuses",
         ScriptForBothFamilies("[Dirs]\n%W%\\,NET|CARD\n[Files]\n%C%\\INDEX.HTM,%W%\\INDEX-E2E.HTM\n"),
         {"Directory Creation [FAIL]", "File Copy", "Application Database Update", "On-line Manual Initialization"},
         {true, false, false, false},
         "Create directory = NET|CARD, under directory = " + windows + "\\ [FAIL](Cannot create direcotry)\r\n"},
        {"a source file missing from the disk",
         ScriptForBothFamilies("[Dirs]\n%W%\\,NETCARD\n[Files]\n%C%\\INDEX.HTM,%W%\\NETCARD\\INDEX.HTM\n"
                               "%C%\\NOSUCH.TXT,%W%\\NETCARD\\NOSUCH.TXT\n"
                               "[Regs]\nHKEY_CURRENT_USER,Software\\NetCard\\Manual,Installed,REG_DWORD,1\n"),
         {"Directory Creation [OK]", "File Copy [FAIL]", "Application Database Update",
          "On-line Manual Initialization"},
         {true, true, false, false},
         "D:\\NOSUCH.TXT -> " + windows +
             "\\NETCARD\\NOSUCH.TXT [FAIL] (Source file is not found on the installation disk)\r\n"},
        {"an unknown registry root",
         ScriptForBothFamilies("[Dirs]\n%W%\\,NETCARD\n[Regs]\nHKEY_NOWHERE,Software\\NetCard\\Manual,Installed,"
                               "REG_DWORD,1\n[Exes]\n%W%\\NOTEPAD.EXE,Notepad,SW_SHOW\n"),
         {"Directory Creation [OK]", "File Copy [OK] (0 file(s) copied)", "Application Database Update [OK]",
          "On-line Manual Initialization [FAIL]"},
         {true, true, true, true},
         "Update HKEY_NOWHERE\\Software\\NetCard\\Manual\\Installed = 1 [FAIL] (Unknown root key HKEY_NOWHERE)\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RemoveInstallation();
        ASSERT_TRUE(ClearDisk());
        ASSERT_NO_FATAL_FAILURE(LayOutDisk({"INSTALL.EXE", "INDEX.HTM"}, c.script));
        const HWND options = OpenOptionsPage();
        ASSERT_NE(options, nullptr);
        const HWND progress = NextToProgress(options);
        ASSERT_NE(progress, nullptr);
        const RunResult run = RunInstallation(utility_, progress, {});
        ASSERT_TRUE(run.ended) << run.problem;
        ExpectRunEnded(progress, c.statuses, c.enabled);
        const HWND finish = NextToFinish(progress, kFailureText);
        ASSERT_NE(finish, nullptr);
        ASSERT_NO_FATAL_FAILURE(FinishAndExpectEnd(finish));

        const std::string log = ReadBytes(windows + "\\INSTLOG.TXT").value_or("<no log>");
        EXPECT_NE(log.find(c.logLine), std::string::npos) << "the log lacks: " << c.logLine << "\nthe log:\n" << log;
        // The steps after the failed one did nothing.
        EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, "Software\\NetCard")) << "a later step wrote the registry";
        EXPECT_EQ(NewNotepads(), std::set<DWORD>{}) << "a later step launched Notepad";
    }
}

TEST_F(WizardTest, NextWithTheManualClearedEndsWithoutInstallingAnything) {
    ASSERT_NO_FATAL_FAILURE(LayOutDisk(kSampleDisk));
    const HWND options = OpenOptionsPage();
    ASSERT_NE(options, nullptr);
    ASSERT_TRUE(Click(::GetDlgItem(options, kManualCheck)));
    EXPECT_TRUE(WaitUntil(kStepWaitMs, [&] { return CheckStateOf(options, kManualCheck) == BST_UNCHECKED; }))
        << "the check box still reads " << CheckStateOf(options, kManualCheck);
    ASSERT_TRUE(Click(::GetDlgItem(options, kNextOptions)));
    ASSERT_TRUE(utility_.WaitForExit(kStepWaitMs)) << "the utility did not end; " << utility_.Describe();
    EXPECT_EQ(utility_.ExitCode(), std::optional<DWORD>(0));

    const std::string windows = WindowsDirectory();
    // Columns: what must not be there.
    const std::string absent[] = {
        windows + "\\INSTLOG.TXT",
        windows + "\\NETCARD",
        SharedProgramsFolder() + "\\Network Card",
    };
    for (const std::string& path : absent) {
        EXPECT_FALSE(FileExists(path) || DirectoryExists(path)) << path << " was made";
    }
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\NetCard"));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, "Software\\NetCard"));
    EXPECT_EQ(NewNotepads(), std::set<DWORD>{});
}

TEST_F(WizardTest, CancelOnTheProgressPageRestoresTheOptionsPageAndNextStartsAfresh) {
    ASSERT_NO_FATAL_FAILURE(LayOutDisk(kSampleDisk));
    const HWND options = OpenOptionsPage();
    ASSERT_NE(options, nullptr);
    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE("progress page " + std::to_string(round));
        const HWND progress = NextToProgress(options);
        ASSERT_NE(progress, nullptr);
        EXPECT_TRUE(::IsIconic(options)) << "the options page is not minimized under the progress page";
        ASSERT_NO_FATAL_FAILURE(ExpectFreshProgressPage(progress));
        ASSERT_TRUE(Click(::GetDlgItem(progress, IDCANCEL)));
        EXPECT_TRUE(WaitUntil(kStepWaitMs, [&] {
            return !::IsWindow(progress) && ::IsWindowVisible(options) && !::IsIconic(options);
        })) << "after \"&Cancel\" the progress page "
            << (::IsWindow(progress) ? "stayed" : "went") << " and the options page is "
            << (::IsIconic(options) ? "minimized" : ::IsWindowVisible(options) ? "shown" : "hidden");
        EXPECT_EQ(utility_.FindPage(Page::Options), options);
    }
    // Cancelled before "&Start": nothing ran.
    EXPECT_FALSE(FileExists(WindowsDirectory() + "\\INSTLOG.TXT"));
    ASSERT_TRUE(Click(::GetDlgItem(options, IDCANCEL)));
    EXPECT_TRUE(utility_.WaitForExit(kStepWaitMs)) << "\"&Cancel\" on the options page did not end the utility";
}

TEST_F(WizardTest, AMissingScriptIsReportedOnceAndTheUtilityEnds) {
    ASSERT_NO_FATAL_FAILURE(LayOutDisk({"INSTALL.EXE"}));
    StartUtility(utility_);
    const auto box = utility_.WaitForMessageBox();
    ASSERT_TRUE(box) << "no message box; " << utility_.Describe();
    EXPECT_EQ(box->caption, "Installation Error");
    EXPECT_EQ(box->text, "Cannot find input script " + DiskPath("SETUP.INP"));
    EXPECT_EQ(box->buttons, std::vector<int>{IDOK});
    EXPECT_EQ(utility_.VisibleWindows(), std::vector<HWND>{box->window}) << "beside the box: " << utility_.Describe();

    // The options page is made, hidden, while the box asks; after OK it
    // must not show, not even for a moment: the driver looks without pause
    // until the utility has ended.
    std::vector<HWND> others;
    for (const HWND window : TopLevelWindows()) {
        if (ProcessOf(window) == utility_.ProcessId() && window != box->window) {
            others.push_back(window);
        }
    }
    ASSERT_TRUE(Click(::GetDlgItem(box->window, IDOK)));
    std::set<std::string> shown;
    const ULONGLONG deadline = ::GetTickCount64() + kStepWaitMs;
    while (utility_.Running() && ::GetTickCount64() < deadline) {
        for (const HWND window : others) {
            if (::IsWindowVisible(window)) {
                char title[128] = "";
                ::GetWindowTextA(window, title, sizeof title);
                shown.insert(ClassName(window) + " \"" + title + "\"" +
                             (::GetDlgItem(window, kManualCheck) ? " (the options page)" : ""));
            }
        }
    }
    ASSERT_FALSE(utility_.Running()) << "the utility did not end after OK; " << utility_.Describe();
    EXPECT_EQ(utility_.ExitCode(), std::optional<DWORD>(0));
    for (const std::string& window : shown) {
        ADD_FAILURE() << "after OK on the box this window showed: " << window;
    }
    EXPECT_FALSE(FileExists(WindowsDirectory() + "\\INSTLOG.TXT"));
}

TEST_F(WizardTest, AMissingDiskIsAskedForAgainUntilCancelledAndTheFileCopyFails) {
    ASSERT_NO_FATAL_FAILURE(LayOutDisk(Without(kSampleDisk, "DISK2.TAG")));
    const HWND options = OpenOptionsPage();
    ASSERT_NE(options, nullptr);
    const HWND progress = NextToProgress(options);
    ASSERT_NE(progress, nullptr);
    // Prompt, OK; retry question, OK; prompt again, OK; retry, Cancel.
    const RunResult run = RunInstallation(utility_, progress, {IDOK, IDOK, IDOK, IDCANCEL});
    ASSERT_TRUE(run.ended) << run.problem;
    const StatusTexts during = {"Directory Creation [OK]", "File Copy [In Progress] (1 file(s) copied)",
                                "Application Database Update", "On-line Manual Initialization"};
    const SeenBox prompt{"Installation Message", kDiskPrompt, {IDOK}, during};
    const SeenBox retry{"Installation Error", kRetryQuestion, {IDOK, IDCANCEL}, during};
    EXPECT_EQ(run.boxes, (std::vector<SeenBox>{prompt, retry, prompt, retry}));
    ExpectRunEnded(progress,
                   {"Directory Creation [OK]", "File Copy [FAIL]", "Application Database Update",
                    "On-line Manual Initialization"},
                   {true, true, false, false});
    const HWND finish = NextToFinish(progress, kFailureText);
    ASSERT_NE(finish, nullptr);
    ASSERT_NO_FATAL_FAILURE(FinishAndExpectEnd(finish));
    const std::string manual = WindowsDirectory() + "\\NETCARD\\MANUAL";
    EXPECT_TRUE(FileExists(manual + "\\INDEX.HTM")) << "the file before the prompt was not copied";
    EXPECT_FALSE(FileExists(manual + "\\MANUAL.HLP")) << "the file after a refused prompt was copied";
}

TEST_F(WizardTest, DetailOpensTheLogInNotepadOnceThenBringsThatWindowBack) {
    ASSERT_NO_FATAL_FAILURE(LayOutDisk(kSampleDisk));
    const HWND finish = RunToFinishPage(kSuccessText);
    ASSERT_NE(finish, nullptr);
    const std::set<DWORD> beforeDetail = NewNotepads();

    ASSERT_TRUE(Click(::GetDlgItem(finish, kDetail)));
    std::vector<std::pair<HWND, std::string>> logViewers;
    ASSERT_TRUE(WaitUntil(kStepWaitMs, [&] { return !(logViewers = WindowsTitled("INSTLOG")).empty(); }))
        << "no window names the log; Notepad processes started: " << Join(NewNotepads());
    ASSERT_EQ(logViewers.size(), 1u);
    const auto [viewer, title] = logViewers.front();
    std::printf("Notepad shows the log under the title \"%s\"\n", title.c_str());
    std::set<DWORD> afterFirst = NewNotepads();
    ASSERT_EQ(afterFirst.size(), beforeDetail.size() + 1) << "Notepad processes: " << Join(afterFirst);
    EXPECT_TRUE(afterFirst.count(ProcessOf(viewer))) << "the log's window is no new Notepad's";
    ASSERT_TRUE(utility_.Sync(finish));
    // Notepad takes the foreground; the page keeps "&Finish" focused for
    // when the user comes back to it.
    GUITHREADINFO justAfter{};
    justAfter.cbSize = sizeof justAfter;
    ::GetGUIThreadInfo(utility_.ThreadId(), &justAfter);
    const HWND focus = FocusOnPage(finish);
    EXPECT_EQ(focus, ::GetDlgItem(finish, IDOK))
        << "back on the finish page after \"&Detail\" the focus is on " << DescribeControl(finish, focus)
        << "; right after the click the page was " << (justAfter.hwndActive == finish ? "" : "not ")
        << "its thread's active window, the focus on " << DescribeControl(finish, justAfter.hwndFocus);

    // Put the editor away, then ask again: the same window comes back.
    ::ShowWindow(viewer, SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil(kStepWaitMs, [&] { return ::IsIconic(viewer) != FALSE; })) << "Notepad did not minimize";
    ASSERT_TRUE(Click(::GetDlgItem(finish, kDetail)));
    WaitUntil(kStepWaitMs, [&] { return !::IsIconic(viewer) || NewNotepads() != afterFirst; });
    // Time for a second editor, were one started, to show.
    WaitUntil(1000, [] { return false; });
    EXPECT_FALSE(::IsIconic(viewer)) << "\"" << title << "\" was not brought back";
    EXPECT_EQ(Join(NewNotepads()), Join(afterFirst)) << "a second Notepad started";
    const auto viewersNow = WindowsTitled("INSTLOG");
    EXPECT_EQ(viewersNow.size(), 1u) << "windows naming the log: " << viewersNow.size();
    // Brought forward: above the finish page.
    const std::vector<HWND> order = TopLevelWindows();
    const auto viewerAt = std::find(order.begin(), order.end(), viewer);
    const auto finishAt = std::find(order.begin(), order.end(), finish);
    EXPECT_TRUE(viewerAt < finishAt) << "the log's window is behind the finish page";

    ASSERT_NO_FATAL_FAILURE(FinishAndExpectEnd(finish));
}

// A window of the driver's own, to hold the foreground while a second copy
// starts.
class DriverWindow {
public:
    DriverWindow() {
        WNDCLASSA type{};
        type.lpfnWndProc = ::DefWindowProcA;
        type.hInstance = ::GetModuleHandleA(nullptr);
        type.lpszClassName = "InstallE2eDriverWindow";
        ::RegisterClassA(&type);
        window_ = ::CreateWindowExA(0, type.lpszClassName, "End-to-end driver", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                    500, 400, 300, 100, nullptr, nullptr, type.hInstance, nullptr);
    }
    ~DriverWindow() {
        if (window_) {
            ::DestroyWindow(window_);
        }
    }
    HWND get() const { return window_; }

private:
    HWND window_ = nullptr;
};

TEST_F(WizardTest, ASecondCopyBringsTheFirstForwardAndEndsWithoutAWindow) {
    ASSERT_NO_FATAL_FAILURE(LayOutDisk(kSampleDisk));
    const HWND options = OpenOptionsPage();
    ASSERT_NE(options, nullptr);
    DriverWindow other;
    ASSERT_NE(other.get(), nullptr);
    ::SetForegroundWindow(other.get());
    ASSERT_TRUE(WaitUntil(kStepWaitMs, [&] { return ::GetForegroundWindow() == other.get(); }))
        << "the driver's window did not come to the foreground";

    Utility second;
    StartUtility(second);
    std::set<HWND> secondWindows;
    const bool ended = WaitUntil(kStepWaitMs, [&] {
        for (const HWND window : second.VisibleWindows()) {
            secondWindows.insert(window);
        }
        return !second.Running();
    });
    ASSERT_TRUE(ended) << "the second copy did not end; " << second.Describe();
    EXPECT_EQ(second.ExitCode(), std::optional<DWORD>(0));
    EXPECT_TRUE(secondWindows.empty()) << "the second copy showed " << secondWindows.size() << " window(s)";
    EXPECT_TRUE(WaitUntil(kStepWaitMs, [&] { return ::GetForegroundWindow() == options; }))
        << "the foreground is " << ::GetForegroundWindow() << ", not the first copy's options page " << options;
    std::vector<HWND> titled;
    for (const auto& [window, title] : WindowsTitled(kPageTitle)) {
        titled.push_back(window);
    }
    EXPECT_EQ(titled, std::vector<HWND>{options}) << "windows titled \"" << kPageTitle << "\": " << titled.size();
    EXPECT_TRUE(utility_.Running()) << "the first copy ended";
}

TEST_F(WizardTest, EachFamilyReadsTheSectionsOfItsOwnName) {
    ASSERT_NO_FATAL_FAILURE(LayOutDisk({"INSTALL.EXE"}, "[WinNT Dirs]\n%W%\\,E2E-NT\n[Win9X Dirs]\n%W%\\,E2E-9X\n"));
    const HWND options = OpenOptionsPage();
    ASSERT_NE(options, nullptr);
    const HWND progress = NextToProgress(options);
    ASSERT_NE(progress, nullptr);
    const RunResult run = RunInstallation(utility_, progress, {});
    ASSERT_TRUE(run.ended) << run.problem;
    ExpectRunEnded(progress,
                   {"Directory Creation [OK]", "File Copy [OK] (0 file(s) copied)", "Application Database Update [OK]",
                    "On-line Manual Initialization [OK]"},
                   {true, true, true, true});
    const bool nt = CurrentSettings().family == Family::Nt;
    const std::string windows = WindowsDirectory();
    EXPECT_EQ(DirectoryExists(windows + "\\E2E-NT"), nt) << "the NT family's directory";
    EXPECT_EQ(DirectoryExists(windows + "\\E2E-9X"), !nt) << "the 9x family's directory";
}

}  // namespace
}  // namespace install::e2e
