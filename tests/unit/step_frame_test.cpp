// The step frame: status texts, banners, the log and the script, against
// the fake system and a recorded progress page.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/step_frame.hpp"
#include "tests/unit/step_fixture.hpp"

namespace install {
namespace {

const std::string kScriptPath = "C:\\WINDOWS\\SETUP.INP";
const std::string kLogPath = "C:\\WINDOWS\\INSTLOG.TXT";
const std::string kLogStart = "Installation Log\r\n";

// The steps' machine, its script holding no section of any step.
struct Fixture : testing_support::StepFixture {
    Fixture() { Script("; nothing for any step\n"); }
};

// A step that reads its section and does nothing with it; work runs on
// each line and says whether the step goes on.
int RunStep(StepId step, Fixture& fixture,
            const std::function<bool(StepFrame&, const ScriptLine&)>& work = {}) {
    StepFrame frame(step, fixture.environment);
    if (!frame.OpenScript()) {
        return kStepFailed;
    }
    bool succeeded = true;
    while (auto line = frame.NextLine()) {
        if (work && !work(frame, *line)) {
            succeeded = false;
            break;
        }
    }
    return frame.Finish(succeeded);
}

constexpr StepId kAllSteps[] = {StepId::Directories, StepId::Files,    StepId::Folders,
                                StepId::Links,       StepId::Registry, StepId::Programs};

TEST(StepFrame, EveryStepFailsTheSameWayWhenTheScriptDoesNotOpen) {
    // step, button, banner on disk, button enabled afterwards
    const struct {
        StepId step;
        int button;
        std::string banner;
        bool enabledAfter;
    } cases[] = {
        {StepId::Directories, 1010, "\r\n##CREATE INSTALLATION DIRECTORY##\r\n\r\n", false},
        {StepId::Files, 1011, "\r\n##COPY INSTALLATION FILE##\r\n\r\n", false},
        {StepId::Folders, 1012, "\r\n##CREATE PROGRAM FOLDER##\r\n\r\n", false},
        {StepId::Links, 1012, "\r\n##UPDATE SHORTCUT##\r\n\r\n", true},
        {StepId::Registry, 1013, "\r\n##UPDATE REGISTRY##\r\n\r\n", true},
        {StepId::Programs, 1013, "\r\n##INITIALIZE DIAGNOSTICS##\r\n\r\n", true},
    };
    for (const auto& c : cases) {
        Fixture fixture;
        fixture.system.files.files.erase(kScriptPath);
        const std::string label = fixture.status.buttons[c.button].text;
        const std::string directoryBefore = fixture.system.directories.current;

        EXPECT_EQ(RunStep(c.step, fixture), kStepFailed);

        EXPECT_EQ(fixture.system.FileBytes(kLogPath),
                  kLogStart + c.banner + "ERROR : Cannot open input file C:\\WINDOWS\\SETUP.INP\r\n");
        const std::vector<std::pair<int, std::string>> texts = {
            {c.button, label + " [In Progress]"}, {c.button, label + " [FAIL]"}};
        EXPECT_EQ(fixture.status.history, texts);
        EXPECT_EQ(fixture.status.buttons[c.button].enabled, c.enabledAfter) << label;
        EXPECT_EQ(fixture.system.directories.current, directoryBefore);
        EXPECT_EQ(fixture.system.files.openCount, 0);
    }
}

TEST(StepFrame, AScriptThatIsADirectoryIsNotOpenable) {
    Fixture fixture;
    fixture.system.files.files.erase(kScriptPath);
    fixture.system.files.directories.insert(kScriptPath);
    EXPECT_EQ(RunStep(StepId::Registry, fixture), kStepFailed);
    EXPECT_EQ(fixture.status.buttons[1013].text, "On-line Manual Initialization [FAIL]");
}

// Runs the six steps in the order of the start sequence over the fixture's
// script, stopping at the first failure.
void RunAllSteps(Fixture& fixture) {
    for (const StepId step : kAllSteps) {
        if (RunStep(step, fixture) != kStepSucceeded) {
            return;
        }
    }
}

TEST(StepFrame, EverySectionMissingLeavesBannersAndSuccessTexts) {
    // whether the log opens
    for (const bool logOpens : {true, false}) {
        Fixture fixture;
        if (!logOpens) {
            fixture.system.files.failOpen.insert(kLogPath);
        }
        RunAllSteps(fixture);

        EXPECT_EQ(fixture.status.buttons[1010].text, "Directory Creation [OK]");
        EXPECT_EQ(fixture.status.buttons[1011].text, "File Copy [OK] (0 file(s) copied)");
        EXPECT_EQ(fixture.status.buttons[1012].text, "Application Database Update [OK]");
        EXPECT_EQ(fixture.status.buttons[1013].text, "On-line Manual Initialization [OK]");
        for (const int button : {1010, 1011, 1012, 1013}) {
            EXPECT_TRUE(fixture.status.buttons[button].enabled) << button;
        }
        const std::string expectedLog = logOpens
            ? kLogStart +
                  "\r\n##CREATE INSTALLATION DIRECTORY##\r\n\r\n"
                  "\r\n##COPY INSTALLATION FILE##\r\n\r\n"
                  "\r\n##CREATE PROGRAM FOLDER##\r\n\r\n"
                  "\r\n##UPDATE SHORTCUT##\r\n\r\n"
                  "\r\n##UPDATE REGISTRY##\r\n\r\n"
                  "\r\n##INITIALIZE DIAGNOSTICS##\r\n\r\n"
            : kLogStart;
        EXPECT_EQ(fixture.system.FileBytes(kLogPath), expectedLog) << "log opens: " << logOpens;
        EXPECT_EQ(fixture.system.files.openCount, 0);
    }
}

TEST(StepFrame, SharedButtonsPassTheBareLabelOn) {
    Fixture fixture;
    RunAllSteps(fixture);
    // button, texts it showed in turn
    const struct {
        int button;
        std::vector<std::string> texts;
    } cases[] = {
        {1012,
         {"Application Database Update [In Progress]", "Application Database Update",
          "Application Database Update [In Progress]", "Application Database Update [OK]"}},
        {1013,
         {"On-line Manual Initialization [In Progress]", "On-line Manual Initialization",
          "On-line Manual Initialization [In Progress]", "On-line Manual Initialization [OK]"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> shown;
        for (const auto& [button, text] : fixture.status.history) {
            if (button == c.button) {
                shown.push_back(text);
            }
        }
        EXPECT_EQ(shown, c.texts) << c.button;
    }
}

TEST(StepFrame, SuccessAndFailureTextsOfEachStep) {
    // step, final text after success (count 3), after failure
    const struct {
        StepId step;
        int button;
        std::string success;
        std::string failure;
    } cases[] = {
        {StepId::Directories, 1010, "Directory Creation [OK]", "Directory Creation [FAIL]"},
        {StepId::Files, 1011, "File Copy [OK] (3 file(s) copied)", "File Copy [FAIL]"},
        {StepId::Folders, 1012, "Application Database Update", "Application Database Update [FAIL]"},
        {StepId::Links, 1012, "Application Database Update [OK]", "Application Database Update [FAIL]"},
        {StepId::Registry, 1013, "On-line Manual Initialization",
         "On-line Manual Initialization [FAIL]"},
        {StepId::Programs, 1013, "On-line Manual Initialization [OK]",
         "On-line Manual Initialization [FAIL]"},
    };
    for (const auto& c : cases) {
        for (const bool succeeded : {true, false}) {
            Fixture fixture;
            int result = -1;
            {
                StepFrame frame(c.step, fixture.environment);
                ASSERT_TRUE(frame.OpenScript());
                result = frame.Finish(succeeded, 3);
            }
            EXPECT_EQ(result, succeeded ? kStepSucceeded : kStepFailed);
            EXPECT_EQ(fixture.status.buttons[c.button].text, succeeded ? c.success : c.failure);
            EXPECT_TRUE(fixture.status.buttons[c.button].enabled);
        }
    }
}

TEST(StepFrame, RestoresTheCurrentDirectoryForTheStepsThatChangeIt) {
    for (const StepId step : kAllSteps) {
        for (const bool succeeded : {true, false}) {
            Fixture fixture;
            fixture.system.files.files[kScriptPath] =
                "[Win9X Dirs]\r\nA,B\r\n[Win9X Files]\r\nA,B\r\n[Win9X Folders]\r\nA,B\r\n"
                "[Win9X Links]\r\nA,B\r\n[Win9X Regs]\r\nA,B\r\n[Win9X Exes]\r\nA,B\r\n";
            RunStep(step, fixture, [&](StepFrame& frame, const ScriptLine&) {
                frame.Environment().system.directories.ChangeCurrentDirectory("C:\\WINDOWS");
                return succeeded;
            });
            const bool keeps = step == StepId::Directories || step == StepId::Folders;
            EXPECT_EQ(fixture.system.directories.current, keeps ? "D:\\SETUP" : "C:\\WINDOWS")
                << SectionName(step, 1) << " succeeded " << succeeded;
        }
    }
}

TEST(StepFrame, ClosesTheScriptBeforeTheLogAndThenRestoresTheDirectory) {
    Fixture fixture;
    RunStep(StepId::Directories, fixture);
    const std::vector<std::string> calls = {
        "get-current-directory",
        "open-append C:\\WINDOWS\\INSTLOG.TXT",
        "open-read C:\\WINDOWS\\SETUP.INP",
        "close C:\\WINDOWS\\SETUP.INP",
        "close C:\\WINDOWS\\INSTLOG.TXT",
        "set-current-directory D:\\SETUP",
    };
    EXPECT_EQ(fixture.system.calls, calls);
}

TEST(StepFrame, AbandonLogsItsReasonAndFails) {
    Fixture fixture;
    int result = -1;
    {
        StepFrame frame(StepId::Links, fixture.environment);
        result = frame.Abandon("ERROR : Cannot get shell link handle\n");
    }
    EXPECT_EQ(result, kStepFailed);
    EXPECT_EQ(fixture.system.FileBytes(kLogPath),
              kLogStart + "\r\n##UPDATE SHORTCUT##\r\n\r\nERROR : Cannot get shell link handle\r\n");
    EXPECT_EQ(fixture.status.buttons[1012].text, "Application Database Update [FAIL]");
    EXPECT_TRUE(fixture.status.buttons[1012].enabled);
}

TEST(StepFrame, ReadsTheSectionOfItsPlatformFamily) {
    // platform id, entries the file copy step is handed
    const struct {
        std::uint32_t platform;
        std::vector<std::string> entries;
    } cases[] = {
        {1, {"A,9X\n"}},
        {0, {"A,9X\n"}},
        {2, {"A,NT\n"}},
    };
    for (const auto& c : cases) {
        Fixture fixture;
        fixture.context.platformId = c.platform;
        fixture.system.files.files[kScriptPath] = "[WinNT Files]\r\nA,NT\r\n[Win9X Files]\r\nA,9X\r\n";
        std::vector<std::string> entries;
        RunStep(StepId::Files, fixture, [&](StepFrame&, const ScriptLine& line) {
            entries.push_back(line.text);
            return true;
        });
        EXPECT_EQ(entries, c.entries) << "platform " << c.platform;
    }
}

}  // namespace
}  // namespace install
