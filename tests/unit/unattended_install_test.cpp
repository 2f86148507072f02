// The unattended installation against the fake system: its status sink,
// how it answers the steps' message boxes, and its exit codes from the
// staging of the script to the end of the start sequence.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "steps/disk_prompt.hpp"
#include "tests/fake/fake_system.hpp"
#include "ui/unattended_install.hpp"

namespace install {
namespace {

TEST(UnattendedStatus, KeepsTheStatusTextsWithoutAWindow) {
    UnattendedStatus status;
    EXPECT_FALSE(status.Interactive());
    EXPECT_EQ(status.PageWindow(), 0u);
    // button, label it starts with
    const struct {
        int button;
        const char* label;
    } labels[] = {
        {kDirectoryButton, "Directory Creation"},
        {kFileCopyButton, "File Copy"},
        {kDatabaseButton, "Application Database Update"},
        {kManualButton, "On-line Manual Initialization"},
    };
    for (const auto& c : labels) {
        EXPECT_EQ(status.ReadStatusLabel(c.button), c.label) << "button " << c.button;
    }
    status.EnableStatusButton(kFileCopyButton, true);
    status.SetStatusText(kFileCopyButton, "File Copy [In Progress] (1 file(s) copied)");
    EXPECT_EQ(status.ReadStatusLabel(kFileCopyButton), "File Copy [In Progress] (1 file(s) copied)");
    EXPECT_EQ(status.ReadStatusLabel(kDirectoryButton), "Directory Creation");
    // The page has no other buttons: a text put on one goes nowhere.
    status.SetStatusText(1014, "nowhere");
    EXPECT_EQ(status.ReadStatusLabel(1014), "");
}

TEST(UnattendedStatus, AcknowledgesNoticesAndCancelsQuestions) {
    constexpr unsigned kPromptStyle = kMbIconWarning | kMbSetForeground;
    // text, caption, style, answer
    const struct {
        const char* text;
        const char* caption;
        unsigned style;
        int answer;
    } cases[] = {
        {"Please insert the On-line Manual disk 2", kDiskPromptCaption, kMbOk | kPromptStyle, kIdOk},
        {kRetryText, kRetryCaption, kMbOkCancel | kPromptStyle, kIdCancel},
        {"a notice", "Installation Message", kMbOk, kIdOk},
        {"a question", "Installation Message", kMbOkCancel, kIdCancel},
        // Yes/No/Cancel and Retry/Cancel: never an answer that goes on.
        {"a question", "Installation Error", 0x3, kIdCancel},
        {"a question", "Installation Error", 0x5 | kMbIconWarning, kIdCancel},
    };
    UnattendedStatus status;
    for (const auto& c : cases) {
        EXPECT_EQ(status.ShowMessageBox(c.text, c.caption, c.style), c.answer)
            << "caption " << c.caption << ", style 0x" << std::hex << c.style;
    }
}

// Forwards to the unattended sink and records what the prompt asked; after
// a dozen boxes it cancels by itself, so that a sink that would keep a
// prompt asking fails the test instead of hanging it.
class BoxRecorder final : public IStatusOperations {
public:
    void EnableStatusButton(int button, bool enable) override {
        inner_.EnableStatusButton(button, enable);
    }
    std::string ReadStatusLabel(int button) override { return inner_.ReadStatusLabel(button); }
    void SetStatusText(int button, const std::string& text) override {
        inner_.SetStatusText(button, text);
    }
    int ShowMessageBox(const std::string& text, const std::string& caption,
                       unsigned style) override {
        const int answer = inner_.ShowMessageBox(text, caption, style);
        boxes.push_back(caption + ": " + text + " -> " + std::to_string(answer));
        return boxes.size() > 12 ? kIdCancel : answer;
    }
    WindowHandle PageWindow() override { return inner_.PageWindow(); }
    bool Interactive() const override { return inner_.Interactive(); }

    std::vector<std::string> boxes;

private:
    UnattendedStatus inner_;
};

std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text;
}

TEST(UnattendedStatus, ChecksADiskOnceAndGivesUpWhenItIsMissing) {
    const std::string prompt = "Installation Message: Insert disk 2 -> 1";
    const std::string retry = std::string("Installation Error: ") + kRetryText + " -> 2";
    // whether the check path is there, AskForDisk's result, the boxes shown
    const struct {
        bool diskIn;
        bool result;
        std::vector<std::string> boxes;
    } cases[] = {
        {true, true, {prompt}},
        {false, false, {prompt, retry}},
    };
    for (const auto& c : cases) {
        fake::FakeSystem system;
        if (c.diskIn) {
            system.files.files["D:\\DISK2.TAG"] = "";
        }
        BoxRecorder status;
        EXPECT_EQ(AskForDisk("Insert disk 2", "D:\\DISK2.TAG", system.files, status), c.result)
            << "disk in: " << c.diskIn;
        EXPECT_EQ(Lines(status.boxes), Lines(c.boxes)) << "disk in: " << c.diskIn;
    }
}

// Windows 98 in C:\WINDOWS, INSTALL.EXE started from D:\SETUP.
struct Machine {
    fake::FakeSystem system;
    std::vector<std::string> errors;

    Machine() {
        for (const char* folder : {"C:", "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM", "D:", "D:\\SETUP"}) {
            system.files.directories.insert(folder);
        }
    }

    void Disk(const std::string& script) { system.files.files["D:\\SETUP\\SETUP.INP"] = fake::WithCrLf(script); }

    int Run(const std::string& commandLine = "\"D:\\SETUP\\INSTALL.EXE\" /S") {
        return RunUnattendedInstall(system.seam, commandLine,
                                    [this](const std::string& message) { errors.push_back(message); });
    }

    std::optional<std::string> File(const std::string& path) const {
        const auto found = system.files.files.find(path);
        return found == system.files.files.end() ? std::nullopt
                                                 : std::optional<std::string>(found->second);
    }

    // The log with LF line ends; "<no log>" when there is none.
    std::string Log() const {
        const auto bytes = File("C:\\WINDOWS\\INSTLOG.TXT");
        if (!bytes) {
            return "<no log>";
        }
        return fake::WithoutCr(*bytes);
    }
};

constexpr const char* kScript =
    "[Win9X Dirs]\n%W%\\,NETCARD\n"
    "[Win9X Files]\n%C%\\INDEX.HTM,%W%\\NETCARD\\INDEX.HTM\n"
    "#L\n%C%\\LANDIAG.EXE,%W%\\NETCARD\\LANDIAG.EXE\n"
    "#O\n(Insert the manual disk,%A%\\DISK2.TAG)\n%C%\\MANUAL.HLP,%W%\\NETCARD\\MANUAL.HLP\n";

TEST(UnattendedInstall, StagesTheScriptAndRunsEveryStepWithTheManualChosen) {
    Machine machine;
    machine.Disk(kScript);
    for (const char* name : {"INDEX.HTM", "LANDIAG.EXE", "MANUAL.HLP"}) {
        machine.system.files.files[std::string("D:\\SETUP\\") + name] = name;
    }
    machine.system.files.files["D:\\DISK2.TAG"] = "";

    EXPECT_EQ(machine.Run(), kUnattendedSucceeded);
    EXPECT_EQ(Lines(machine.errors), "");
    EXPECT_EQ(machine.File("C:\\WINDOWS\\SETUP.INP"), machine.File("D:\\SETUP\\SETUP.INP"));
    EXPECT_EQ(machine.Log(),
              "Installation Log\n"
              "\n##CREATE INSTALLATION DIRECTORY##\n\n"
              "Create directory = NETCARD, under directory = C:\\WINDOWS\\ [OK]\n"
              "\n##COPY INSTALLATION FILE##\n\n"
              "D:\\SETUP\\INDEX.HTM -> C:\\WINDOWS\\NETCARD\\INDEX.HTM [OK]\n"
              "D:\\SETUP\\MANUAL.HLP -> C:\\WINDOWS\\NETCARD\\MANUAL.HLP [OK]\n"
              "\n##CREATE PROGRAM FOLDER##\n\n"
              "\n##UPDATE SHORTCUT##\n\n"
              "\n##UPDATE REGISTRY##\n\n"
              "\n##INITIALIZE DIAGNOSTICS##\n\n");
    // The LAN option was not chosen.
    EXPECT_EQ(machine.File("C:\\WINDOWS\\NETCARD\\LANDIAG.EXE"), std::nullopt);
}

TEST(UnattendedInstall, AFailingStepEndsTheRunWithOne) {
    // name, what is on the disk besides the script, the log's last line
    const struct {
        const char* name;
        std::vector<std::string> onDisk;
        std::string lastLine;
    } cases[] = {
        {"a source file is missing",
         {"D:\\SETUP\\INDEX.HTM", "D:\\DISK2.TAG"},
         "D:\\SETUP\\MANUAL.HLP -> C:\\WINDOWS\\NETCARD\\MANUAL.HLP [FAIL] (Source file is not "
         "found on the installation disk)"},
        {"the second disk is missing",
         {"D:\\SETUP\\INDEX.HTM", "D:\\SETUP\\MANUAL.HLP"},
         "Disk prompt \"Insert the manual disk\" [FAIL] (D:\\DISK2.TAG is missing)"},
    };
    for (const auto& c : cases) {
        Machine machine;
        machine.Disk(kScript);
        for (const std::string& path : c.onDisk) {
            machine.system.files.files[path] = path;
        }
        EXPECT_EQ(machine.Run(), kUnattendedStepFailed) << c.name;
        EXPECT_EQ(Lines(machine.errors), "") << c.name;
        const std::string log = machine.Log();
        const std::size_t from = log.size() < 2 ? 0 : log.rfind('\n', log.size() - 2) + 1;
        EXPECT_EQ(log.substr(from), c.lastLine + "\n") << c.name << "\nwhole log:\n" << log;
    }
}

TEST(UnattendedInstall, AScriptThatCannotBeStagedEndsTheRunWithTwo) {
    // name, how the machine is set up, command line, the reason reported,
    // the whole log (LF line ends)
    const struct {
        const char* name;
        void (*setUp)(Machine&);
        std::string commandLine;
        std::string reason;
        std::string log;
    } cases[] = {
        {"no script beside the program",
         [](Machine& m) { m.system.files.files.erase("D:\\SETUP\\SETUP.INP"); },
         "\"D:\\SETUP\\INSTALL.EXE\" /S", "Cannot find input script D:\\SETUP\\SETUP.INP",
         "Installation Log\nERROR : Cannot find input script D:\\SETUP\\SETUP.INP\n"},
        // Unquoted, the script is still looked for beside the program.
        {"no script beside an unquoted program path",
         [](Machine& m) { m.system.files.files.erase("D:\\SETUP\\SETUP.INP"); },
         "D:\\SETUP\\INSTALL.EXE /s", "Cannot find input script D:\\SETUP\\SETUP.INP",
         "Installation Log\nERROR : Cannot find input script D:\\SETUP\\SETUP.INP\n"},
        {"the staged copy cannot be made",
         [](Machine& m) { m.system.files.failOpen.insert("C:\\WINDOWS\\SETUP.INP"); },
         "\"D:\\SETUP\\INSTALL.EXE\" /S", "Cannot create temporary script C:\\WINDOWS\\SETUP.INP",
         "Installation Log\nERROR : Cannot create temporary script C:\\WINDOWS\\SETUP.INP\n"},
        {"the copy breaks off", [](Machine& m) { m.system.lz.copyResult = -1; },
         "\"D:\\SETUP\\INSTALL.EXE\" /S", "Cannot create temporary script C:\\WINDOWS\\SETUP.INP",
         "Installation Log\nERROR : Cannot create temporary script C:\\WINDOWS\\SETUP.INP\n"},
        // The log cannot be opened: it keeps what it held, and the reason
        // is still reported.
        {"no script, the log locked",
         [](Machine& m) {
             m.system.files.files.erase("D:\\SETUP\\SETUP.INP");
             m.system.files.failOpen.insert("C:\\WINDOWS\\INSTLOG.TXT");
         },
         "\"D:\\SETUP\\INSTALL.EXE\" /S", "Cannot find input script D:\\SETUP\\SETUP.INP", "Installation Log\nold\n"},
    };
    for (const auto& c : cases) {
        Machine machine;
        machine.Disk(kScript);
        // A log of an earlier run is replaced, not added to.
        machine.system.files.files["C:\\WINDOWS\\INSTLOG.TXT"] = "Installation Log\r\nold\r\n";
        c.setUp(machine);
        EXPECT_EQ(machine.Run(c.commandLine), kUnattendedNotStaged) << c.name;
        EXPECT_EQ(Lines(machine.errors), c.reason + "\n") << c.name;
        EXPECT_EQ(machine.Log(), c.log) << c.name;
    }
}

TEST(UnattendedInstall, ARunningWizardEndsTheRunWithThreeBeforeItTouchesAnything) {
    // title of the window that is open
    for (const char* title : {"Trelix Installation Utility", "TRELIX INSTALLATION UTILITY"}) {
        Machine machine;
        machine.Disk(kScript);
        machine.system.windows.AddWindow(title);
        EXPECT_EQ(machine.Run(), kUnattendedAlreadyRunning) << title;
        EXPECT_EQ(Lines(machine.errors), "") << title;
        // Nothing was read, staged or written.
        EXPECT_EQ(Lines(machine.system.calls), "find-window Trelix Installation Utility\n") << title;
    }
}

}  // namespace
}  // namespace install
