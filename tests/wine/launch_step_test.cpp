// The program launch step on the real system: what the platform's program
// start returns for commands that cannot start, the log lines the step
// makes of it, and that a program that can start does, with the show
// command the script names.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <set>
#include <string>

#include "platform/win32/win32_program_launcher.hpp"
#include "steps/installation_steps.hpp"
#include "tests/wine/scratch_directory.hpp"
#include "tests/wine/step_support.hpp"

namespace install {
namespace {

using wine_test::BothFamilies;
using wine_test::InProcessRun;
using wine_test::ProgramFolder;
using wine_test::ReadBytes;
using wine_test::ScratchDirectory;
using wine_test::StagedScript;
using wine_test::Visible;
using wine_test::WriteBytes;

// The platform's show commands.
constexpr int kSwShowNa = 8;

// Programs that cannot start, made in the scratch folder.
void MakeNonPrograms(const ScratchDirectory& scratch) {
    ASSERT_TRUE(WriteBytes(scratch.Join("TEXT.EXE"), "This is a text, not a program.\r\n"));
    ASSERT_TRUE(WriteBytes(scratch.Join("EMPTY.EXE"), ""));
    ASSERT_TRUE(WriteBytes(scratch.Join("STUB.EXE"), "MZ and nothing of a program after it"));
}

std::string Codes(const std::set<std::uint32_t>& codes) {
    std::string text;
    for (const std::uint32_t code : codes) {
        text += (text.empty() ? "" : " or ") + std::to_string(code);
    }
    return text;
}

TEST(ProgramLauncher, ReturnsTheCodeOfWhyAProgramDidNotStart) {
    ScratchDirectory scratch("install-launch");
    MakeNonPrograms(scratch);
    // Columns: name, command (under the scratch folder), the codes the
    // platform may return. Windows says 3 for a missing folder where Wine
    // says 2; the step logs both alike.
    const struct {
        const char* name;
        const char* command;
        std::set<std::uint32_t> codes;
    } cases[] = {
        {"a missing program", "MISSING.EXE", {2}},
        {"a program in a missing folder", "NOWHERE\\MISSING.EXE", {2, 3}},
        {"a text named .EXE", "TEXT.EXE", {11}},
        {"an empty .EXE", "EMPTY.EXE", {11}},
        {"an .EXE with only the first two letters of a program", "STUB.EXE", {11}},
    };
    win32::Win32ProgramLauncher launcher;
    for (const auto& c : cases) {
        const std::string command = scratch.Join(c.command);
        const std::uint32_t code = launcher.Launch(command, kSwShowNa);
        std::printf("program start of %s (%s): %u\n", c.command, c.name, code);
        EXPECT_TRUE(c.codes.count(code) == 1)
            << c.name << ": " << code << ", expected " << Codes(c.codes);
    }
}

TEST(LaunchStep, StartsTheProgramOrLogsWhyItCannot) {
    ScratchDirectory scratch("install-launch");
    MakeNonPrograms(scratch);
    ASSERT_TRUE(::CopyFileA((ProgramFolder() + "\\launch_marker.exe").c_str(),
                            scratch.Join("MARKER.EXE").c_str(), FALSE));
    const std::string marker = scratch.Join("RAN.TXT");
    const std::string started = scratch.Join("MARKER.EXE") + " " + marker;
    // Columns: name, the entry's command (under the scratch folder unless
    // it is the started marker) and show field, the end of the log line
    // after the entry's name, the step's result, the show command the
    // marker must have been started with ("" when it must not have run).
    const struct {
        const char* name;
        std::string command;
        const char* show;
        std::string logEnd;
        int result;
        const char* startedWith;
    } cases[] = {
        {"shown", started, "SW_SHOW", " [OK]", 0, "8"},
        {"hidden", started, "SW_HIDE", " [OK]", 0, "0"},
        {"maximized", started, "SW_MAXIMIZE", " [OK]", 0, "3"},
        {"minimized", started, "SW_MINIMIZE", " [OK]", 0, "6"},
        {"an unknown show field", started, "SW_NORMAL", " [OK]", 0, "6"},
        {"a missing program", scratch.Join("MISSING.EXE"), "SW_SHOW",
         " [FAIL] (" + scratch.Join("MISSING.EXE") + " cannot be found)", 1, ""},
        {"a program in a missing folder", scratch.Join("NOWHERE\\MISSING.EXE"), "SW_SHOW",
         " [FAIL] (" + scratch.Join("NOWHERE\\MISSING.EXE") + " cannot be found)", 1, ""},
        {"a text named .EXE", scratch.Join("TEXT.EXE"), "SW_SHOW",
         " [FAIL] (" + scratch.Join("TEXT.EXE") + " does not have right EXE format)", 1, ""},
        {"an empty .EXE", scratch.Join("EMPTY.EXE"), "SW_SHOW",
         " [FAIL] (" + scratch.Join("EMPTY.EXE") + " does not have right EXE format)", 1, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ::DeleteFileA(marker.c_str());
        StagedScript script(
            BothFamilies("Exes", c.command + ",Network Check," + c.show + "\n"));
        ASSERT_TRUE(script.Written());
        InProcessRun run;
        ASSERT_TRUE(run.Prepare(scratch.Path()));
        EXPECT_EQ(run.Step(LaunchPrograms), c.result);
        EXPECT_EQ(run.status.Text(kManualButton), c.result == 0
                                                      ? "On-line Manual Initialization [OK]"
                                                      : "On-line Manual Initialization [FAIL]");
        EXPECT_EQ(Visible(script.Log()),
                  Visible(wine_test::ExpectedLog("\n##INITIALIZE DIAGNOSTICS##\n\nNetwork Check" +
                                                 c.logEnd + "\n")));
        if (*c.startedWith != '\0') {
            std::string error;
            const auto record = wine_test::AwaitLaunchRecord(marker, error);
            ASSERT_TRUE(record) << error;
            EXPECT_EQ(record->show, c.startedWith);
        } else {
            EXPECT_FALSE(ReadBytes(marker)) << "something started and wrote " << marker;
        }
    }
}

}  // namespace
}  // namespace install
