// The program folder step.
#include <gtest/gtest.h>

#include "steps/installation_steps.hpp"
#include "tests/unit/step_fixture.hpp"

namespace install {
namespace {

using testing_support::StepFixture;

TEST(CreateProgramFolders, MakesFoldersInTheSelectedProgramsFolder) {
    // what, section lines, result, log lines, folders that must exist afterwards
    const struct {
        const char* what;
        std::string section;
        int result;
        std::string log;
        std::vector<std::string> made;
    } cases[] = {
        {"shared Programs folder", "%P%,Network Card\n", 0, "Create shell folder Network Card [OK]\n",
         {"C:\\PROGRAMS\\Network Card"}},
        {"user's Programs folder", "%U%,Tools\n", 0, "Create shell folder Tools [OK]\n", {"C:\\USER\\Tools"}},
        {"one-character selector is the user's", "P,Tools\n", 0, "Create shell folder Tools [OK]\n",
         {"C:\\USER\\Tools"}},
        {"any first character: XP selects the shared one", "XP,Tools\n", 0, "Create shell folder Tools [OK]\n",
         {"C:\\PROGRAMS\\Tools"}},
        {"exists already", "%P%,Network Card\n%P%,Network Card\n", 0,
         "Create shell folder Network Card [OK]\nCreate shell folder Network Card [OK](Folder already exists)\n",
         {"C:\\PROGRAMS\\Network Card"}},
        {"two components, first missing", "%P%,Vendor\\Card\n%P%,Later\n", 1,
         "Create shell folder Vendor\\Card [FAIL](Cannot create folder)\n", {}},
        {"one field: skipped", "%P%\n%P%,A\n", 0, "Create shell folder A [OK]\n", {"C:\\PROGRAMS\\A"}},
        {"gate closed", "#L\n%P%,LAN\n#O\n%P%,Manual\n", 0, "Create shell folder Manual [OK]\n",
         {"C:\\PROGRAMS\\Manual"}},
    };
    for (const auto& c : cases) {
        StepFixture fixture(2);
        fixture.context.programsDir = "C:\\PROGRAMS";
        fixture.context.userProgramsDir = "C:\\USER";
        fixture.system.files.directories.insert({"C:\\PROGRAMS", "C:\\USER"});
        fixture.Script("[WinNT Folders]\n" + c.section);
        EXPECT_EQ(CreateProgramFolders(fixture.environment), c.result) << c.what;
        EXPECT_EQ(fixture.LogLines(), c.log) << c.what;
        for (const auto& folder : c.made) {
            EXPECT_TRUE(fixture.system.files.directories.count(folder)) << c.what << ": " << folder;
        }
        EXPECT_EQ(fixture.system.directories.current, "D:\\SETUP") << c.what;
        EXPECT_EQ(fixture.Button(1012), c.result == 0 ? "Application Database Update"
                                                      : "Application Database Update [FAIL]")
            << c.what;
    }
}

TEST(CreateProgramFolders, AProgramsFolderThatCannotBeEnteredLeavesTheCurrentOne) {
    StepFixture fixture;
    fixture.context.programsDir = "";  // the registry gave no value
    fixture.context.userProgramsDir = "";
    fixture.Script("[Win9X Folders]\n%P%,Card\n");
    EXPECT_EQ(CreateProgramFolders(fixture.environment), 0);
    EXPECT_TRUE(fixture.system.files.directories.count("D:\\SETUP\\Card"));
}

}  // namespace
}  // namespace install
