// The shortcut step.
#include <gtest/gtest.h>

#include "steps/installation_steps.hpp"
#include "tests/unit/step_fixture.hpp"

namespace install {
namespace {

using testing_support::StepFixture;

TEST(CreateShortcuts, WritesEachLinkWithTargetAndDescription) {
    StepFixture fixture;
    fixture.context.userProgramsDir = "C:\\USER\\Programs";
    fixture.Script(
        "[Win9X Links]\n"
        "%W%\\NETCARD\\INDEX.HTM,%P%\\Network Card\\On-line Manual.lnk,On-line Manual\n"
        "%SYSTEM%\\TOOL.EXE,%D%\\Tool.lnk,Tool, with more\n"
        "%U%\\NOTEPAD.EXE,%U%\\Notes.lnk,Notes\n"
        "%R%\\TOOLS\\APP.EXE,%S%\\App.lnk,App\n"
        "C:\\AS\\IS.EXE,C:\\AS\\IS.lnk\n");
    EXPECT_EQ(CreateShortcuts(fixture.environment), 0);
    // link file, target, description
    const struct {
        std::string link;
        std::string target;
        std::string description;
    } expected[] = {
        {"C:\\WINDOWS\\Start Menu\\Programs\\Network Card\\On-line Manual.lnk", "C:\\WINDOWS\\NETCARD\\INDEX.HTM",
         "On-line Manual"},
        {"C:\\WINDOWS\\Desktop\\Tool.lnk", "C:\\WINDOWS\\SYSTEM\\TOOL.EXE", "Tool"},
        {"C:\\USER\\Programs\\Notes.lnk", "C:\\WINDOWS\\NOTEPAD.EXE", "Notes"},
        {"C:\\WINDOWS\\Start Menu\\Programs\\App.lnk", "C:\\TOOLS\\APP.EXE", "App"},
    };
    std::string log;
    for (const auto& e : expected) {
        ASSERT_TRUE(fixture.system.links.saved.count(e.link)) << e.link;
        EXPECT_EQ(fixture.system.links.saved[e.link].target, e.target);
        EXPECT_EQ(fixture.system.links.saved[e.link].description, e.description);
        log += "Create shortcut " + e.link + " [OK]\n";
    }
    EXPECT_EQ(fixture.system.links.saved.size(), 4u);  // the two-field entry is skipped
    EXPECT_EQ(fixture.LogLines(), log);
    EXPECT_EQ(fixture.Button(1012), "Application Database Update [OK]");
    EXPECT_EQ(fixture.system.links.initialized, 0);
}

TEST(CreateShortcuts, FailurePathsOfTheLinkServiceAndTheScript) {
    // path, what fails, log line, calls on the service in order
    const struct {
        const char* path;
        bool failCreate;
        bool failPersistFile;
        bool scriptMissing;
        std::string log;
        std::vector<std::string> calls;
    } cases[] = {
        {"A", true, false, false, "ERROR : Cannot get shell link handle\n",
         {"co-initialize", "create-link", "co-uninitialize"}},
        {"B", false, true, false, "ERROR : Cannot get persist file handle\n",
         {"co-initialize", "create-link", "query-persist-file", "release-link", "co-uninitialize"}},
        {"B, script missing too: not reported", false, true, true, "ERROR : Cannot get persist file handle\n",
         {"co-initialize", "create-link", "query-persist-file", "release-link", "co-uninitialize"}},
        {"C", false, false, true, "ERROR : Cannot open input file C:\\WINDOWS\\SETUP.INP\n",
         {"co-initialize", "create-link", "query-persist-file", "release-persist-file", "release-link",
          "co-uninitialize"}},
    };
    for (const auto& c : cases) {
        StepFixture fixture;
        fixture.Script("[Win9X Links]\n%W%\\A.EXE,%D%\\A.lnk,A\n");
        if (c.scriptMissing) {
            fixture.system.files.files.erase(fixture.context.scriptPath);
        }
        fixture.system.links.failCreate = c.failCreate;
        fixture.system.links.failPersistFile = c.failPersistFile;
        EXPECT_EQ(CreateShortcuts(fixture.environment), 1) << c.path;
        EXPECT_EQ(fixture.LogLines(), c.log) << c.path;
        std::vector<std::string> calls;
        for (const auto& call : fixture.system.calls) {
            if (call.find("co-") == 0 || call.find("link") != std::string::npos ||
                call.find("persist") != std::string::npos) {
                calls.push_back(call);
            }
        }
        EXPECT_EQ(calls, c.calls) << c.path;
        EXPECT_EQ(fixture.Button(1012), "Application Database Update [FAIL]") << c.path;
        EXPECT_TRUE(fixture.status.buttons[1012].enabled) << c.path;
        EXPECT_TRUE(fixture.system.links.saved.empty()) << c.path;
    }
}

TEST(CreateShortcuts, ALinkThatIsNotSavedFailsTheStep) {
    // what fails, log line of the failing entry
    const struct {
        const char* what;
        bool refuseTarget;
        bool refuseSave;
        std::string line;
    } cases[] = {
        {"save refused", false, true, "Create shortcut C:\\NOFOLDER\\B.lnk [FAIL] (Cannot save shortcut file)\n"},
        {"target refused", true, false, "Create shortcut C:\\NOFOLDER\\B.lnk [FAIL] (Target is not accepted)\n"},
    };
    for (const auto& c : cases) {
        StepFixture fixture;
        fixture.Script("[Win9X Links]\n%W%\\A.EXE,%D%\\A.lnk,A\nC:\\B.EXE,C:\\NOFOLDER\\B.lnk,B\n%W%\\C.EXE,%D%\\C.lnk,C\n");
        if (c.refuseTarget) {
            fixture.system.links.refusedTargets.insert("C:\\B.EXE");
        }
        if (c.refuseSave) {
            fixture.system.links.refusedSaves.insert("C:\\NOFOLDER\\B.lnk");
        }
        EXPECT_EQ(CreateShortcuts(fixture.environment), 1) << c.what;
        EXPECT_EQ(fixture.LogLines(), "Create shortcut C:\\WINDOWS\\Desktop\\A.lnk [OK]\n" + c.line) << c.what;
        EXPECT_FALSE(fixture.system.links.saved.count("C:\\WINDOWS\\Desktop\\C.lnk")) << c.what;
        EXPECT_EQ(fixture.Button(1012), "Application Database Update [FAIL]");
        EXPECT_EQ(fixture.system.links.initialized, 0);
    }
}

TEST(CreateShortcuts, RefusesALinkPathTooLongToHold) {
    StepFixture fixture;
    fixture.context.desktopDir = "C:\\" + std::string(250, 'D');
    fixture.Script("[Win9X Links]\n%W%\\A.EXE,%D%\\LONGNAME.lnk,A\n");
    EXPECT_EQ(CreateShortcuts(fixture.environment), 1);
    EXPECT_EQ(fixture.LogLines(), "Create shortcut " + fixture.context.desktopDir + "\\LONGNAME.lnk [FAIL] (Path is too long)\n");
    EXPECT_TRUE(fixture.system.links.saved.empty());
}

}  // namespace
}  // namespace install
