// The file copy step and its disk prompts.
#include <gtest/gtest.h>

#include <algorithm>

#include "steps/copy_expand_file.hpp"
#include "steps/disk_prompt.hpp"
#include "steps/installation_steps.hpp"
#include "tests/fake/fake_services.hpp"
#include "tests/unit/step_fixture.hpp"

namespace install {
namespace {

using fake::FakeLz;
using testing_support::StepFixture;

void AddDiskFiles(StepFixture& fixture) {
    fixture.system.files.directories.insert("C:\\WINDOWS\\NETCARD");
    for (const char* name : {"INDEX.HTM", "MANUAL.HLP", "LANDIAG.EXE", "A.TXT", "B.TXT", "C.TXT", "D.TXT"}) {
        fixture.system.files.files[std::string("D:\\SETUP\\") + name] = std::string("contents of ") + name;
    }
}

TEST(CopyFiles, CopiesCountsAndLogsEachEntry) {
    // what, section lines, result, log lines, final status of button 1011
    const struct {
        const char* what;
        std::string section;
        int result;
        std::string log;
        std::string status;
    } cases[] = {
        {"worked example", "%C%\\INDEX.HTM,%W%\\NETCARD\\INDEX.HTM\n#L\n%C%\\LANDIAG.EXE,%W%\\NETCARD\\LANDIAG.EXE\n#O\n"
                           "%C%\\MANUAL.HLP,%W%\\NETCARD\\MANUAL.HLP\n",
         0,
         "D:\\SETUP\\INDEX.HTM -> C:\\WINDOWS\\NETCARD\\INDEX.HTM [OK]\n"
         "D:\\SETUP\\MANUAL.HLP -> C:\\WINDOWS\\NETCARD\\MANUAL.HLP [OK]\n",
         "File Copy [OK] (2 file(s) copied)"},
        {"missing source stops the step",
         "%C%\\A.TXT,%W%\\A.TXT\n%C%\\GONE.TXT,%W%\\GONE.TXT\n%C%\\B.TXT,%W%\\B.TXT\n", 1,
         "D:\\SETUP\\A.TXT -> C:\\WINDOWS\\A.TXT [OK]\n"
         "D:\\SETUP\\GONE.TXT -> C:\\WINDOWS\\GONE.TXT [FAIL] (Source file is not found on the installation disk)\n",
         "File Copy [FAIL]"},
        {"destination folder missing",
         "%C%\\A.TXT,%W%\\NOFOLDER\\A.TXT\n", 1,
         "D:\\SETUP\\A.TXT -> C:\\WINDOWS\\NOFOLDER\\A.TXT [FAIL] (Destination file is locked)\n",
         "File Copy [FAIL]"},
        {"no destination field: skipped", "%C%\\A.TXT\n%C%\\B.TXT,%W%\\B.TXT\n", 0,
         "D:\\SETUP\\B.TXT -> C:\\WINDOWS\\B.TXT [OK]\n", "File Copy [OK] (1 file(s) copied)"},
        {"source R is the disk root, destination C the system root", "%R%\\SETUP\\A.TXT,%C%\\A.TXT\n", 0,
         "D:\\SETUP\\A.TXT -> C:\\A.TXT [OK]\n", "File Copy [OK] (1 file(s) copied)"},
        {"empty section", "", 0, "", "File Copy [OK] (0 file(s) copied)"},
    };
    for (const auto& c : cases) {
        StepFixture fixture;
        AddDiskFiles(fixture);
        fixture.Script("[Win9X Files]\n" + c.section);
        EXPECT_EQ(CopyFiles(fixture.environment), c.result) << c.what;
        EXPECT_EQ(fixture.LogLines(), c.log) << c.what;
        EXPECT_EQ(fixture.Button(1011), c.status) << c.what;
        EXPECT_TRUE(fixture.status.buttons[1011].enabled) << c.what;
        EXPECT_TRUE(fixture.system.lz.openHandles.empty()) << c.what;
    }
}

TEST(CopyFiles, ShowsTheCountAfterEachFileAndDropsItOnFailure) {
    StepFixture fixture;
    AddDiskFiles(fixture);
    fixture.Script("[Win9X Files]\n%C%\\A.TXT,%W%\\A.TXT\n%C%\\B.TXT,%W%\\B.TXT\n%C%\\C.TXT,%W%\\C.TXT\n"
                   "%C%\\NONE.TXT,%W%\\NONE.TXT\n%C%\\D.TXT,%W%\\D.TXT\n");
    EXPECT_EQ(CopyFiles(fixture.environment), 1);
    std::vector<std::string> shown;
    for (const auto& [button, text] : fixture.status.history) {
        shown.push_back(text);
    }
    EXPECT_EQ(shown, (std::vector<std::string>{
                         "File Copy [In Progress]", "File Copy [In Progress] (1 file(s) copied)",
                         "File Copy [In Progress] (2 file(s) copied)",
                         "File Copy [In Progress] (3 file(s) copied)", "File Copy [FAIL]"}));
    EXPECT_FALSE(fixture.system.files.files.count("C:\\WINDOWS\\D.TXT"));
    EXPECT_EQ(fixture.system.FileBytes("C:\\WINDOWS\\C.TXT"), "contents of C.TXT");
}

TEST(CopyFiles, AShortExpansionIsAFailedCopyAndLeavesNoFile) {
    StepFixture fixture;
    AddDiskFiles(fixture);
    fixture.system.files.files["D:\\SETUP\\BIG.DL_"] = FakeLz::Compressed("only part", 5000);
    fixture.system.files.files["C:\\WINDOWS\\BIG.DLL"] = "old contents";
    fixture.Script("[Win9X Files]\n%C%\\A.TXT,%W%\\A.TXT\n%C%\\BIG.DL_,%W%\\BIG.DLL\n");
    EXPECT_EQ(CopyFiles(fixture.environment), 1);
    EXPECT_EQ(fixture.LogLines(),
              "D:\\SETUP\\A.TXT -> C:\\WINDOWS\\A.TXT [OK]\n"
              "D:\\SETUP\\BIG.DL_ -> C:\\WINDOWS\\BIG.DLL [FAIL] (File could not be copied completely)\n");
    EXPECT_FALSE(fixture.system.files.files.count("C:\\WINDOWS\\BIG.DLL"));
    EXPECT_EQ(fixture.system.FileBytes("C:\\WINDOWS\\A.TXT"), "contents of A.TXT");
}

TEST(CopyFiles, RefusesAPathTooLongToHold) {
    StepFixture fixture;
    AddDiskFiles(fixture);
    fixture.context.windowsDir = "C:\\" + std::string(250, 'W');
    fixture.Script("[Win9X Files]\n%C%\\A.TXT,%W%\\LONGNAME.TXT\n");
    EXPECT_EQ(CopyFiles(fixture.environment), 1);
    EXPECT_EQ(fixture.LogLines(), "D:\\SETUP\\A.TXT -> " + fixture.context.windowsDir +
                                      "\\LONGNAME.TXT [FAIL] (Path is too long)\n");
    EXPECT_TRUE(fixture.system.lz.openHandles.empty());
}

TEST(DiskPrompt, ParsesMessageCheckPathAndOption) {
    // line, option mask, accepted, message, check path as written
    const struct {
        std::string line;
        std::uint32_t mask;
        bool accepted;
        std::string message;
        std::string checkPath;
    } cases[] = {
        {"(Insert disk 2,%A%\\DISK2.TAG)\n", OPTION_MANUAL, true, "Insert disk 2", "%A%\\DISK2.TAG"},
        {"(Insert disk 2,%A%\\DISK2.TAG,#O)\n", OPTION_MANUAL, true, "Insert disk 2", "%A%\\DISK2.TAG"},
        {"(Insert disk 2,%A%\\DISK2.TAG,#M)\n", OPTION_MANUAL, false, "", ""},
        {"(Insert disk 2,%A%\\DISK2.TAG,#L)\n", OPTION_LAN, true, "Insert disk 2", "%A%\\DISK2.TAG"},
        {"(Insert disk 2,%A%\\DISK2.TAG,M)\n", 0, true, "Insert disk 2", "%A%\\DISK2.TAG"},
        {"(Insert disk 2,%A%\\DISK2.TAG,#X)\n", 0, true, "Insert disk 2", "%A%\\DISK2.TAG"},
        {"(Insert disk 2)\n", OPTION_MANUAL, false, "", ""},  // the message runs on: no check path
        {"(Insert disk 2\n", OPTION_MANUAL, false, "", ""},
        {"(,X)\n", OPTION_MANUAL, false, "", ""},
        // A check path that runs to the line end keeps no line end.
        {"(Insert disk 2,D:\\DISK2.TAG\n", OPTION_MANUAL, true, "Insert disk 2", "D:\\DISK2.TAG"},
    };
    for (const auto& c : cases) {
        const auto prompt = ParseDiskPrompt(c.line, c.mask);
        ASSERT_EQ(prompt.has_value(), c.accepted) << c.line;
        if (prompt) {
            EXPECT_EQ(prompt->message, c.message) << c.line;
            EXPECT_EQ(prompt->checkPath, c.checkPath) << c.line;
        }
    }
}

TEST(CopyFiles, DiskPromptsOpenAndCloseTheGates) {
    // what, section lines, answers to message boxes, disk present, result, files copied, boxes shown (captions)
    const struct {
        const char* what;
        std::string section;
        std::vector<int> answers;
        bool diskPresent;
        int result;
        std::vector<std::string> copied;
        std::vector<std::string> boxes;
    } cases[] = {
        {"accepted, disk present: one box, copies go on", "(Insert disk 2,%A%\\DISK2.TAG)\n%C%\\A.TXT,%W%\\A.TXT\n",
         {}, true, 0, {"A.TXT"}, {"Installation Message"}},
        {"refused (no check path): no box, entries skipped",
         "(Insert disk 2\n%C%\\A.TXT,%W%\\A.TXT\n", {}, true, 0, {}, {}},
        {"refused (option not chosen), then a later accepted prompt reopens",
         "(Modem disk,%A%\\DISK2.TAG,#M)\n%C%\\A.TXT,%W%\\A.TXT\n#O\n%C%\\B.TXT,%W%\\B.TXT\n"
         "(Disk 2,%A%\\DISK2.TAG)\n%C%\\C.TXT,%W%\\C.TXT\n",
         {}, true, 0, {"C.TXT"}, {"Installation Message"}},
        {"confirmed prompt reopens a closed option gate",
         "#M\n%C%\\A.TXT,%W%\\A.TXT\n(Disk 2,%A%\\DISK2.TAG)\n%C%\\B.TXT,%W%\\B.TXT\n", {}, true, 0, {"B.TXT"},
         {"Installation Message"}},
        {"disk missing, OK at retry, then Cancel",
         "(Insert disk 2,%A%\\DISK2.TAG)\n%C%\\A.TXT,%W%\\A.TXT\n", {kIdOk, kIdOk, kIdOk, kIdCancel}, false, 1, {},
         {"Installation Message", "Installation Error", "Installation Message", "Installation Error"}},
        {"disk missing, Cancel at once", "%C%\\A.TXT,%W%\\A.TXT\n(Insert disk 2,%A%\\DISK2.TAG)\n%C%\\B.TXT,%W%\\B.TXT\n",
         {kIdOk, kIdCancel}, false, 1, {"A.TXT"}, {"Installation Message", "Installation Error"}},
    };
    for (const auto& c : cases) {
        StepFixture fixture;
        AddDiskFiles(fixture);
        if (c.diskPresent) {
            fixture.system.files.files["D:\\DISK2.TAG"] = "";
        }
        fixture.status.answers = c.answers;
        fixture.Script("[Win9X Files]\n" + c.section);
        EXPECT_EQ(CopyFiles(fixture.environment), c.result) << c.what;
        std::vector<std::string> copied;
        for (const char* name : {"A.TXT", "B.TXT", "C.TXT"}) {
            if (fixture.system.files.files.count(std::string("C:\\WINDOWS\\") + name)) {
                copied.push_back(name);
            }
        }
        EXPECT_EQ(copied, c.copied) << c.what;
        std::vector<std::string> boxes;
        for (const auto& box : fixture.status.boxes) {
            boxes.push_back(box.caption);
        }
        EXPECT_EQ(boxes, c.boxes) << c.what;
        if (c.result == 1) {
            EXPECT_EQ(fixture.Button(1011), "File Copy [FAIL]") << c.what;
            // Cancelling writes nothing of its own to the log.
            EXPECT_EQ(fixture.LogLines().find("FAIL"), std::string::npos) << c.what;
        }
    }
}

TEST(CopyFiles, AnUnattendedRunLogsTheDiskItCouldNotFind) {
    // interactive, log lines after the cancelled prompt
    const struct {
        bool interactive;
        std::string log;
    } cases[] = {
        {true, ""},
        {false, "Disk prompt \"Insert disk 2\" [FAIL] (D:\\DISK2.TAG is missing)\n"},
    };
    for (const auto& c : cases) {
        StepFixture fixture;
        AddDiskFiles(fixture);
        fixture.status.interactive = c.interactive;
        fixture.status.answers = {kIdOk, kIdCancel};
        fixture.Script("[Win9X Files]\n(Insert disk 2,%A%\\DISK2.TAG)\n%C%\\A.TXT,%W%\\A.TXT\n");
        EXPECT_EQ(CopyFiles(fixture.environment), 1);
        EXPECT_EQ(fixture.LogLines(), c.log) << "interactive " << c.interactive;
    }
}

TEST(CopyFiles, DiskPromptBoxesCarryTheirTextsAndStyles) {
    StepFixture fixture;
    AddDiskFiles(fixture);
    fixture.status.answers = {kIdOk, kIdCancel};
    fixture.Script("[Win9X Files]\n(Please insert the LAN disk,%A%\\LAN.TAG)\n");
    EXPECT_EQ(CopyFiles(fixture.environment), 1);
    ASSERT_EQ(fixture.status.boxes.size(), 2u);
    EXPECT_EQ(fixture.status.boxes[0].text, "Please insert the LAN disk");
    EXPECT_EQ(fixture.status.boxes[0].style, 0x10030u);  // OK, warning, foreground
    EXPECT_EQ(fixture.status.boxes[1].text,
              "Please verify your installation disk or click CANCEL to cancel installation");
    EXPECT_EQ(fixture.status.boxes[1].style, 0x10031u);  // OK and Cancel, warning, foreground
    // The check path is the disk's root and the text after the variable.
    EXPECT_NE(std::find(fixture.system.calls.begin(), fixture.system.calls.end(), "exists D:\\LAN.TAG"),
              fixture.system.calls.end());
}

}  // namespace
}  // namespace install
