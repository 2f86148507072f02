// The directory step.
#include <gtest/gtest.h>

#include "steps/installation_steps.hpp"
#include "tests/unit/step_fixture.hpp"

namespace install {
namespace {

using testing_support::StepFixture;

TEST(CreateDirectories, LogsEachEntryByItsOutcome) {
    // what, section lines, folders present beforehand, result, log lines
    const struct {
        const char* what;
        std::string section;
        std::vector<std::string> present;
        int result;
        std::string log;
    } cases[] = {
        {"worked example", "%W%\\,NETCARD\n%W%\\NETCARD,MANUAL\n", {}, 0,
         "Create directory = NETCARD, under directory = C:\\WINDOWS\\ [OK]\n"
         "Create directory = MANUAL, under directory = C:\\WINDOWS\\NETCARD [OK]\n"},
        {"listed twice", "%W%,APP\n%W%,APP\n", {}, 0,
         "Create directory = APP, under directory = C:\\WINDOWS [OK]\n"
         "Create directory = APP, under directory = C:\\WINDOWS [OK](Directory already exists)\n"},
        {"two levels at once fail and stop the step", "%W%,A\\B\n%W%,C\n", {}, 1,
         "Create directory = A\\B, under directory = C:\\WINDOWS [FAIL](Cannot create direcotry)\n"},
        {"missing parent: made in the directory current before", "%R%\\NOWHERE,APP\n", {}, 0,
         "Create directory = APP, under directory = C:\\NOWHERE [OK]\n"},
        {"absolute name", "%S%,C:\\WINDOWS\\ABS\n", {}, 0,
         "Create directory = C:\\WINDOWS\\ABS, under directory = C:\\WINDOWS\\SYSTEM [OK]\n"},
        {"second field is never composed", "%W%,%S%\n", {}, 0,
         "Create directory = %S%, under directory = C:\\WINDOWS [OK]\n"},
        {"parent used as written", "C:\\WINDOWS,APP\n", {}, 0,
         "Create directory = APP, under directory = C:\\WINDOWS [OK]\n"},
        {"one field: skipped silently", "%W%\n%W%,APP\n", {}, 0,
         "Create directory = APP, under directory = C:\\WINDOWS [OK]\n"},
    };
    for (const auto& c : cases) {
        StepFixture fixture;
        fixture.Script("[Win9X Dirs]\n" + c.section);
        EXPECT_EQ(CreateDirectories(fixture.environment), c.result) << c.what;
        EXPECT_EQ(fixture.LogLines(), c.log) << c.what;
        EXPECT_EQ(fixture.system.directories.current, "D:\\SETUP") << c.what;
        EXPECT_EQ(fixture.Button(1010), c.result == 0 ? "Directory Creation [OK]" : "Directory Creation [FAIL]");
    }
}

TEST(CreateDirectories, MakesTheDirectoriesWhereTheEntriesSay) {
    StepFixture fixture;
    fixture.Script("[Win9X Dirs]\n%W%\\,NETCARD\n%W%\\NETCARD,MANUAL\n%X%\\GONE,HERE\n");
    ASSERT_EQ(CreateDirectories(fixture.environment), 0);
    const auto& made = fixture.system.files.directories;
    EXPECT_TRUE(made.count("C:\\WINDOWS\\NETCARD"));
    EXPECT_TRUE(made.count("C:\\WINDOWS\\NETCARD\\MANUAL"));
    // C:\GONE does not exist: HERE lands in the parent of the entry before.
    EXPECT_TRUE(made.count("C:\\WINDOWS\\NETCARD\\HERE"));
}

TEST(CreateDirectories, AFileOfThatNameCountsAsThere) {
    StepFixture fixture;
    fixture.system.files.files["C:\\WINDOWS\\APP"] = "x";
    fixture.Script("[Win9X Dirs]\n%W%,APP\n");
    EXPECT_EQ(CreateDirectories(fixture.environment), 0);
    EXPECT_EQ(fixture.LogLines(), "Create directory = APP, under directory = C:\\WINDOWS [OK](Directory already exists)\n");
}

TEST(CreateDirectories, RefusesAParentPathTooLongToHold) {
    StepFixture fixture;
    fixture.context.windowsDir = "C:\\" + std::string(250, 'W');
    fixture.Script("[Win9X Dirs]\n%W%\\" + std::string(10, 'x') + ",APP\n%S%,NEXT\n");
    EXPECT_EQ(CreateDirectories(fixture.environment), 1);
    EXPECT_EQ(fixture.LogLines(), "Create directory = APP, under directory = " + fixture.context.windowsDir +
                                      "\\" + std::string(10, 'x') + " [FAIL](Path is too long)\n");
    EXPECT_FALSE(fixture.system.files.directories.count("C:\\WINDOWS\\SYSTEM\\NEXT"));
}

}  // namespace
}  // namespace install
