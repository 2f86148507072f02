// The program launch step.
#include <gtest/gtest.h>

#include "steps/installation_steps.hpp"
#include "steps/show_command.hpp"
#include "tests/unit/step_fixture.hpp"

namespace install {
namespace {

using testing_support::StepFixture;

TEST(ShowCommandFor, TakesTheFirstRowWhoseNameContainsTheField) {
    // show field, show command
    const struct {
        std::string field;
        int command;
    } cases[] = {
        {"SW_SHOW", 8},       {"SW_HIDE", 0},        {"SW_MAXIMIZE", 3}, {"SW_MINIMIZE", 6},
        {"SW_SHOWNORMAL", 6}, {"SW_SHOWMAXIMIZED", 6}, {"sw_show", 6},   {"SW_SHOW ", 6},
        {"SHOW", 8},          {"HIDE", 0},           {"SW_", 0},         {"MIZE", 3},
        {"MINI", 6},          {"W", 0},              {"X", 3},  {"Q", 6},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShowCommandFor(c.field), c.command) << "'" << c.field << "'";
    }
}

TEST(LaunchPrograms, JudgesTheLaunchersResult) {
    // launcher result, log line
    const struct {
        std::uint32_t code;
        std::string log;
    } cases[] = {
        {33, "Tool [OK]\n"},
        {32, "Tool [OK]\n"},
        {0xFFFFFFFF, "Tool [OK]\n"},
        {0, "Tool [FAIL] (Out of system resource)\n"},
        {2, "Tool [FAIL] (C:\\WINDOWS\\SYSTEM\\TOOL.EXE -q cannot be found)\n"},
        {3, "Tool [FAIL] (C:\\WINDOWS\\SYSTEM\\TOOL.EXE -q cannot be found)\n"},
        {11, "Tool [FAIL] (C:\\WINDOWS\\SYSTEM\\TOOL.EXE -q does not have right EXE format)\n"},
        {1, "Tool [FAIL]\n"},
        {4, "Tool [FAIL]\n"},
        {10, "Tool [FAIL]\n"},
        {12, "Tool [FAIL]\n"},
        {31, "Tool [FAIL]\n"},
    };
    for (const auto& c : cases) {
        StepFixture fixture;
        fixture.system.launcher.results["C:\\WINDOWS\\SYSTEM\\TOOL.EXE -q"] = c.code;
        fixture.Script("[Win9X Exes]\n%S%\\TOOL.EXE -q,Tool,SW_SHOW\n%W%\\NEXT.EXE,Next,SW_HIDE\n");
        const bool started = c.code >= 32;
        EXPECT_EQ(LaunchPrograms(fixture.environment), started ? 0 : 1) << c.code;
        EXPECT_EQ(fixture.LogLines(), started ? c.log + "Next [OK]\n" : c.log) << c.code;
        EXPECT_EQ(fixture.system.launcher.launched.size(), started ? 2u : 1u) << c.code;
        EXPECT_EQ(fixture.Button(1013), started ? "On-line Manual Initialization [OK]"
                                                : "On-line Manual Initialization [FAIL]");
        EXPECT_TRUE(fixture.status.buttons[1013].enabled);
        const auto raised = std::count(fixture.system.calls.begin(), fixture.system.calls.end(),
                                       "bring-to-top " + std::to_string(fixture.status.pageWindow));
        EXPECT_EQ(raised, started ? 2 : 0) << c.code;
    }
}

TEST(LaunchPrograms, BuildsTheCommandLineAndShowCommand) {
    StepFixture fixture;
    fixture.Script(
        "[Win9X Exes]\n"
        "%W%\\NOTEPAD.EXE README.TXT,Notepad,SW_SHOW\n"
        "%WINDIR%\\A.EXE,A,SW_MAXIMIZE\n"
        "%R%\\B.EXE,B,SW_HIDE\n"
        "%Q%\\C.EXE %W%\\D.TXT,C,nothing\n"
        "NOTEPAD.EXE,Plain,SW_MINIMIZE\n"
        "%W%\\TWO.EXE,Two\n");
    EXPECT_EQ(LaunchPrograms(fixture.environment), 0);
    const std::vector<std::pair<std::string, int>> launched = {
        {"C:\\WINDOWS\\NOTEPAD.EXE README.TXT", 8},
        {"C:\\WINDOWS\\A.EXE", 3},
        {"C:\\B.EXE", 0},
        {"C:\\C.EXE ", 6},
        {"NOTEPAD.EXE", 6},
    };
    EXPECT_EQ(fixture.system.launcher.launched, launched);
}

TEST(LaunchPrograms, RefusesACommandLineTooLongToHold) {
    StepFixture fixture;
    fixture.context.systemDir = "C:\\" + std::string(250, 'S');
    fixture.Script("[Win9X Exes]\n%S%\\LONGTOOL.EXE,Tool,SW_SHOW\n");
    EXPECT_EQ(LaunchPrograms(fixture.environment), 1);
    EXPECT_EQ(fixture.LogLines(), "Tool [FAIL] (Command line is too long)\n");
    EXPECT_TRUE(fixture.system.launcher.launched.empty());
}

}  // namespace
}  // namespace install
