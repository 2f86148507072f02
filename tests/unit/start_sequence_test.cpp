// The start sequence: preparation, then the six steps until one fails.
#include <gtest/gtest.h>

#include "engine/start_sequence.hpp"
#include "steps/installation_steps.hpp"
#include "tests/unit/step_fixture.hpp"

namespace install {
namespace {

using testing_support::StepFixture;

constexpr const char* kWorkedExample =
    "[Win9X Dirs]\n%W%\\,NETCARD\n%W%\\NETCARD,MANUAL\n"
    "[Win9X Files]\n%C%\\INDEX.HTM,%W%\\NETCARD\\MANUAL\\INDEX.HTM\n#L\n%C%\\LANDIAG.EXE,%W%\\NETCARD\\LANDIAG.EXE\n"
    "#O\n%C%\\MANUAL.HLP,%W%\\NETCARD\\MANUAL\\MANUAL.HLP\n"
    "[Win9X Folders]\n%P%,Network Card\n"
    "[Win9X Links]\n%W%\\NETCARD\\MANUAL\\INDEX.HTM,%P%\\Network Card\\On-line Manual.lnk,On-line Manual\n"
    "[Win9X Regs]\nHKEY_LOCAL_MACHINE,SOFTWARE\\NetCard\\Manual,Path,REG_SZ,C:\\WINDOWS\\NETCARD\\MANUAL\n"
    "[Win9X Exes]\n%W%\\NOTEPAD.EXE,Notepad,SW_SHOW\n";

struct Machine : StepFixture {
    Machine() {
        system.files.files["D:\\SETUP\\INDEX.HTM"] = "<html>";
        system.files.files["D:\\SETUP\\MANUAL.HLP"] = "help";
        system.registry.keys[{RegistryRoot::CurrentUser,
                              "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders"}] = {
            {"Desktop", "C:\\WINDOWS\\Desktop"}, {"Programs", "C:\\WINDOWS\\Start Menu\\Programs"}};
        Script(kWorkedExample);
    }
    int Run() { return RunStartSequence(context, system.seam, status, kInstallationSteps); }
};

TEST(StartSequence, RunsTheWorkedExampleToTheEnd) {
    Machine machine;
    machine.context = InstallContext{};
    machine.context.optionMask = OPTION_MANUAL;
    EXPECT_EQ(machine.Run(), 0);
    const std::string log = fake::WithoutCr(machine.system.FileBytes("C:\\WINDOWS\\INSTLOG.TXT"));
    EXPECT_EQ(log,
              "Installation Log\n"
              "\n##CREATE INSTALLATION DIRECTORY##\n\n"
              "Create directory = NETCARD, under directory = C:\\WINDOWS\\ [OK]\n"
              "Create directory = MANUAL, under directory = C:\\WINDOWS\\NETCARD [OK]\n"
              "\n##COPY INSTALLATION FILE##\n\n"
              "D:\\SETUP\\INDEX.HTM -> C:\\WINDOWS\\NETCARD\\MANUAL\\INDEX.HTM [OK]\n"
              "D:\\SETUP\\MANUAL.HLP -> C:\\WINDOWS\\NETCARD\\MANUAL\\MANUAL.HLP [OK]\n"
              "\n##CREATE PROGRAM FOLDER##\n\n"
              "Create shell folder Network Card [OK]\n"
              "\n##UPDATE SHORTCUT##\n\n"
              "Create shortcut C:\\WINDOWS\\Start Menu\\Programs\\Network Card\\On-line Manual.lnk [OK]\n"
              "\n##UPDATE REGISTRY##\n\n"
              "Update HKEY_LOCAL_MACHINE\\SOFTWARE\\NetCard\\Manual\\Path = C:\\WINDOWS\\NETCARD\\MANUAL [OK]\n"
              "\n##INITIALIZE DIAGNOSTICS##\n\n"
              "Notepad [OK]\n");
    EXPECT_EQ(machine.Button(1010), "Directory Creation [OK]");
    EXPECT_EQ(machine.Button(1011), "File Copy [OK] (2 file(s) copied)");
    EXPECT_EQ(machine.Button(1012), "Application Database Update [OK]");
    EXPECT_EQ(machine.Button(1013), "On-line Manual Initialization [OK]");
}

TEST(StartSequence, StopsAtTheFirstStepThatFails) {
    // step made to fail, final texts of buttons 1010..1013, which are enabled
    const struct {
        const char* step;
        std::vector<std::string> texts;
        std::vector<bool> enabled;
    } cases[] = {
        {"directories",
         {"Directory Creation [FAIL]", "File Copy", "Application Database Update", "On-line Manual Initialization"},
         {true, false, false, false}},
        {"files",
         {"Directory Creation [OK]", "File Copy [FAIL]", "Application Database Update",
          "On-line Manual Initialization"},
         {true, true, false, false}},
        {"folders",
         {"Directory Creation [OK]", "File Copy [OK] (2 file(s) copied)", "Application Database Update [FAIL]",
          "On-line Manual Initialization"},
         {true, true, true, false}},
        {"links",
         {"Directory Creation [OK]", "File Copy [OK] (2 file(s) copied)", "Application Database Update [FAIL]",
          "On-line Manual Initialization"},
         {true, true, true, false}},
        {"registry",
         {"Directory Creation [OK]", "File Copy [OK] (2 file(s) copied)", "Application Database Update [OK]",
          "On-line Manual Initialization [FAIL]"},
         {true, true, true, true}},
        {"launch",
         {"Directory Creation [OK]", "File Copy [OK] (2 file(s) copied)", "Application Database Update [OK]",
          "On-line Manual Initialization [FAIL]"},
         {true, true, true, true}},
        {"script missing",
         {"Directory Creation [FAIL]", "File Copy", "Application Database Update", "On-line Manual Initialization"},
         {false, false, false, false}},
    };
    for (const auto& c : cases) {
        Machine machine;
        const std::string step = c.step;
        if (step == "directories") {
            machine.system.directories.failMake.insert("C:\\WINDOWS\\NETCARD");
        } else if (step == "files") {
            machine.system.files.files.erase("D:\\SETUP\\MANUAL.HLP");
        } else if (step == "folders") {
            machine.system.directories.failMake.insert("C:\\WINDOWS\\Start Menu\\Programs\\Network Card");
        } else if (step == "links") {
            machine.system.links.failCreate = true;
        } else if (step == "registry") {
            machine.system.registry.refusedValues.insert("Path");
        } else if (step == "launch") {
            machine.system.launcher.results["C:\\WINDOWS\\NOTEPAD.EXE"] = 2;
        } else {
            machine.system.files.files.erase("C:\\WINDOWS\\SETUP.INP");
        }
        EXPECT_EQ(machine.Run(), 1) << c.step;
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(machine.Button(1010 + i), c.texts[i]) << c.step;
            EXPECT_EQ(machine.status.buttons[1010 + i].enabled, c.enabled[i]) << c.step << " button " << 1010 + i;
        }
        const bool launched = !machine.system.launcher.launched.empty();
        EXPECT_EQ(launched, step == "launch") << c.step;
    }
}

}  // namespace
}  // namespace install
