// The directory step and the program folder step on the real system,
// through a staged script: what each entry makes, what it logs, and that
// both steps give back the current directory they started in.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <string>

#include "steps/installation_steps.hpp"
#include "tests/wine/scratch_directory.hpp"
#include "tests/wine/step_support.hpp"
#include "tests/wine/test_family.hpp"

namespace install {
namespace {

using wine_test::BothFamilies;
using wine_test::CurrentDirectory;
using wine_test::InProcessRun;
using wine_test::ScratchDirectory;
using wine_test::StagedScript;
using wine_test::Visible;
using wine_test::WriteBytes;

enum class Made { Directory, File, Nothing };

const char* Describe(Made made) {
    switch (made) {
        case Made::Directory:
            return "a directory";
        case Made::File:
            return "a file";
        case Made::Nothing:
            return "nothing";
    }
    return "?";
}

Made WhatIsAt(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return Made::Nothing;
    }
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? Made::Directory : Made::File;
}

TEST(DirectoryStep, MakesEachEntryOrSaysWhyNot) {
    // Paths under <scratch> are the scratch folder's. Columns: name, what
    // is there beforehand (a directory, a file or nothing, at "before"),
    // the entry's parent and name, the log line's end, the step's result,
    // the button's text, the path looked at afterwards and what must be
    // there.
    const struct {
        const char* name;
        Made beforeKind;
        const char* before;
        const char* parent;
        const char* entryName;
        const char* logEnd;
        int result;
        const char* button;
        const char* checked;
        Made checkedKind;
    } cases[] = {
        {"a new directory", Made::Nothing, "", "<scratch>", "NETCARD", " [OK]", 0,
         "Directory Creation [OK]", "<scratch>\\NETCARD", Made::Directory},
        {"with a trailing backslash on the parent", Made::Nothing, "", "<scratch>\\", "NETCARD",
         " [OK]", 0, "Directory Creation [OK]", "<scratch>\\NETCARD", Made::Directory},
        {"an existing directory", Made::Directory, "<scratch>\\NETCARD", "<scratch>", "NETCARD",
         " [OK](Directory already exists)", 0, "Directory Creation [OK]", "<scratch>\\NETCARD",
         Made::Directory},
        // The system gives the same error for a file of the name.
        {"a file of that name", Made::File, "<scratch>\\NETCARD", "<scratch>", "NETCARD",
         " [OK](Directory already exists)", 0, "Directory Creation [OK]", "<scratch>\\NETCARD",
         Made::File},
        {"two levels at once", Made::Nothing, "", "<scratch>", "NETCARD\\MANUAL",
         " [FAIL](Cannot create direcotry)", 1, "Directory Creation [FAIL]", "<scratch>\\NETCARD",
         Made::Nothing},
        // Linux's sysfs, seen through drive Z:, where nothing can be made.
        {"where nothing can be made", Made::Nothing, "", "Z:\\sys", "NETCARD",
         " [FAIL](Cannot create direcotry)", 1, "Directory Creation [FAIL]", "Z:\\sys\\NETCARD",
         Made::Nothing},
        // A parent that cannot be made current leaves the directory to be
        // made in the one that is.
        {"a missing parent", Made::Nothing, "", "<scratch>\\MISSING", "NETCARD", " [OK]", 0,
         "Directory Creation [OK]", "<scratch>\\START\\NETCARD", Made::Directory},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchDirectory scratch("install-dirs");
        const auto place = [&](std::string text) {
            const std::string mark = "<scratch>";
            if (text.rfind(mark, 0) == 0) {
                text = scratch.Path() + text.substr(mark.size());
            }
            return text;
        };
        const std::string start = scratch.Join("START");
        ASSERT_TRUE(::CreateDirectoryA(start.c_str(), nullptr));
        if (c.beforeKind == Made::Directory) {
            ASSERT_TRUE(::CreateDirectoryA(place(c.before).c_str(), nullptr));
        } else if (c.beforeKind == Made::File) {
            ASSERT_TRUE(WriteBytes(place(c.before), "not a directory"));
        }
        const std::string parent = place(c.parent);
        StagedScript script(BothFamilies("Dirs", parent + "," + c.entryName + "\n"));
        ASSERT_TRUE(script.Written());

        InProcessRun run;
        ASSERT_TRUE(run.Prepare(start));
        EXPECT_EQ(run.Step(CreateDirectories), c.result);
        EXPECT_EQ(CurrentDirectory(), start) << "the current directory was not given back";
        EXPECT_EQ(run.status.Text(kDirectoryButton), c.button);
        EXPECT_EQ(Visible(script.Log()),
                  Visible(wine_test::ExpectedLog("\n##CREATE INSTALLATION DIRECTORY##\n\n"
                                                 "Create directory = " +
                                                 std::string(c.entryName) +
                                                 ", under directory = " + parent + c.logEnd +
                                                 "\n")));
        const std::string checked = place(c.checked);
        EXPECT_EQ(Describe(WhatIsAt(checked)), Describe(c.checkedKind)) << "at " << checked;
    }
}

TEST(DirectoryStep, StopsAtTheFirstEntryThatFails) {
    ScratchDirectory scratch("install-dirs");
    StagedScript script(BothFamilies("Dirs", scratch.Path() + ",ONE\n" + scratch.Path() +
                                                 ",TWO\\THREE\n" + scratch.Path() + ",FOUR\n"));
    ASSERT_TRUE(script.Written());
    InProcessRun run;
    ASSERT_TRUE(run.Prepare(scratch.Path()));
    EXPECT_EQ(run.Step(CreateDirectories), 1);
    EXPECT_EQ(CurrentDirectory(), scratch.Path());
    EXPECT_EQ(Visible(script.Log()),
              Visible(wine_test::ExpectedLog(
                  "\n##CREATE INSTALLATION DIRECTORY##\n\n"
                  "Create directory = ONE, under directory = " + scratch.Path() + " [OK]\n"
                  "Create directory = TWO\\THREE, under directory = " + scratch.Path() +
                  " [FAIL](Cannot create direcotry)\n")));
    // Columns: directory, whether it must exist.
    const struct {
        const char* name;
        bool exists;
    } made[] = {{"ONE", true}, {"TWO", false}, {"FOUR", false}};
    for (const auto& m : made) {
        EXPECT_EQ(WhatIsAt(scratch.Join(m.name)) == Made::Directory, m.exists) << m.name;
    }
}

TEST(ProgramFolderStep, MakesTheFoldersInTheFamilysProgramsFolders) {
    const bool nt = wine_test::CurrentFamily() == wine_test::Family::Nt;
    const std::string shared = wine_test::SharedProgramsFolder();
    const std::string user = wine_test::ShellFolder(CSIDL_PROGRAMS);
    ASSERT_FALSE(shared.empty());
    ASSERT_FALSE(user.empty());
    // The user's own and the shared folder are one outside the NT family.
    EXPECT_EQ(shared == user, !nt) << "shared " << shared << ", user's " << user;
    const std::string name = "Install Steps Test " + std::to_string(::GetCurrentProcessId());
    wine_test::PathCleanup cleanup({shared + "\\" + name, user + "\\" + name});
    ScratchDirectory scratch("install-folders");

    // Run one after another on the same machine. Columns: name, the
    // entry's selector and folder name (<name> is the test's folder), the
    // log line, the step's result, the button's text, the folder that must
    // be there afterwards.
    const struct {
        const char* name;
        const char* selector;
        std::string folder;
        std::string log;
        int result;
        const char* button;
        std::string made;
    } cases[] = {
        {"the shared folder", "%P%", name, "Create shell folder " + name + " [OK]", 0,
         "Application Database Update", shared + "\\" + name},
        {"the shared folder again", "%P%", name,
         "Create shell folder " + name + " [OK](Folder already exists)", 0,
         "Application Database Update", shared + "\\" + name},
        {"a folder inside it", "%P%", name + "\\Manuals",
         "Create shell folder " + name + "\\Manuals [OK]", 0, "Application Database Update",
         shared + "\\" + name + "\\Manuals"},
        // Any selector but P is the user's own folder, which outside the
        // NT family is the shared one.
        {"the user's folder", "%U%", name,
         "Create shell folder " + name + (nt ? " [OK]" : " [OK](Folder already exists)"), 0,
         "Application Database Update", user + "\\" + name},
        {"two levels at once", "%P%", name + "\\One\\Two",
         "Create shell folder " + name + "\\One\\Two [FAIL](Cannot create folder)", 1,
         "Application Database Update [FAIL]", shared + "\\" + name},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StagedScript script(BothFamilies("Folders", std::string(c.selector) + "," + c.folder + "\n"));
        ASSERT_TRUE(script.Written());
        InProcessRun run;
        ASSERT_TRUE(run.Prepare(scratch.Path()));
        EXPECT_EQ(run.Step(CreateProgramFolders), c.result);
        EXPECT_EQ(CurrentDirectory(), scratch.Path()) << "the current directory was not given back";
        EXPECT_EQ(run.status.Text(kDatabaseButton), c.button);
        EXPECT_EQ(Visible(script.Log()),
                  Visible(wine_test::ExpectedLog("\n##CREATE PROGRAM FOLDER##\n\n" + c.log + "\n")));
        EXPECT_EQ(Describe(WhatIsAt(c.made)), Describe(Made::Directory)) << "at " << c.made;
    }
}

}  // namespace
}  // namespace install
