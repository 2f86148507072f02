// Faults met halfway through an installation on the real system: the file
// that fails stops the run, and what was done before it stays done, with
// the log saying what happened and nothing more.
#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>

#include "steps/installation_steps.hpp"
#include "tests/wine/scratch_directory.hpp"
#include "tests/wine/step_support.hpp"

namespace install {
namespace {

using wine_test::BothFamilies;
using wine_test::FixturePath;
using wine_test::InProcessRun;
using wine_test::ReadBytes;
using wine_test::ScratchDirectory;
using wine_test::StagedScript;
using wine_test::Visible;
using wine_test::WriteBytes;

TEST(StepFaults, AFailedCopyKeepsTheWorkBeforeIt) {
    const auto compressed = ReadBytes(FixturePath("allbytes.bin.szdd"));
    ASSERT_TRUE(compressed) << FixturePath("allbytes.bin.szdd");
    const std::string index = "<html>the manual's index</html>\r\n";
    const std::string key = "Software\\InstallStepsTest-" + std::to_string(::GetCurrentProcessId());
    const std::string folder = wine_test::SharedProgramsFolder() + "\\Install Steps Fault " +
                               std::to_string(::GetCurrentProcessId());
    wine_test::RegistryTreeCleanup registryCleanup(HKEY_CURRENT_USER, key);
    wine_test::PathCleanup folderCleanup({folder});

    // Columns: name, the bytes of MANUAL.HLP on the disk (nullopt: it is
    // not there), where the script copies it (<installed> is the folder the
    // directory step made), the reason the log gives.
    const struct {
        const char* name;
        std::optional<std::string> manual;
        const char* destination;
        const char* reason;
    } cases[] = {
        {"a damaged compressed file", compressed->substr(0, compressed->size() / 2),
         "<installed>\\MANUAL.HLP", "File could not be copied completely"},
        // Linux's sysfs, seen through drive Z:, where nothing can be made.
        {"a destination where nothing can be made", *compressed, "Z:\\sys\\MANUAL.HLP",
         "Destination file is locked"},
        {"a destination folder that is missing", *compressed, "<installed>\\MISSING\\MANUAL.HLP",
         "Destination file is locked"},
        {"a file missing from the disk", std::nullopt, "<installed>\\MANUAL.HLP",
         "Source file is not found on the installation disk"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchDirectory disk("install-faults");
        const std::string installed = disk.Join("INSTALLED");
        std::string destination = c.destination;
        if (destination.rfind("<installed>", 0) == 0) {
            destination = installed + destination.substr(std::string("<installed>").size());
        }
        ASSERT_TRUE(WriteBytes(disk.Join("INDEX.HTM"), index));
        ASSERT_TRUE(WriteBytes(disk.Join("LATER.TXT"), "copied after the manual"));
        if (c.manual) {
            ASSERT_TRUE(WriteBytes(disk.Join("MANUAL.HLP"), *c.manual));
        }
        StagedScript script(
            BothFamilies("Dirs", disk.Path() + ",INSTALLED\n") +
            BothFamilies("Files", "%C%\\INDEX.HTM," + installed + "\\INDEX.HTM\n" +
                                      "%C%\\MANUAL.HLP," + destination + "\n" +
                                      "%C%\\LATER.TXT," + installed + "\\LATER.TXT\n") +
            BothFamilies("Folders", "%P%," + folder.substr(folder.find_last_of('\\') + 1) + "\n") +
            BothFamilies("Regs", "HKEY_CURRENT_USER," + key + ",Path,REG_SZ," + installed + "\n"));
        ASSERT_TRUE(script.Written());

        InProcessRun run;
        EXPECT_EQ(run.Sequence(disk.Path()), 1);

        EXPECT_EQ(Visible(script.Log()),
                  Visible(wine_test::ExpectedLog(
                      "\n##CREATE INSTALLATION DIRECTORY##\n\n"
                      "Create directory = INSTALLED, under directory = " + disk.Path() + " [OK]\n"
                      "\n##COPY INSTALLATION FILE##\n\n" +
                      disk.Join("INDEX.HTM") + " -> " + installed + "\\INDEX.HTM [OK]\n" +
                      disk.Join("MANUAL.HLP") + " -> " + destination + " [FAIL] (" + c.reason +
                      ")\n")));
        // Columns: button, its text, whether it is enabled.
        const struct {
            int button;
            const char* text;
            bool enabled;
        } buttons[] = {
            {kDirectoryButton, "Directory Creation [OK]", true},
            {kFileCopyButton, "File Copy [FAIL]", true},
            {kDatabaseButton, "Application Database Update", false},
            {kManualButton, "On-line Manual Initialization", false},
        };
        for (const auto& b : buttons) {
            EXPECT_EQ(run.status.Text(b.button), b.text) << b.button;
            EXPECT_EQ(run.status.Enabled(b.button), b.enabled) << b.button;
        }

        // The work before the fault is there; the fault and what comes
        // after it left nothing.
        EXPECT_EQ(ReadBytes(installed + "\\INDEX.HTM").value_or("<no file>"), index);
        EXPECT_FALSE(ReadBytes(destination)) << destination;
        EXPECT_FALSE(ReadBytes(installed + "\\LATER.TXT")) << "copied after the fault";
        EXPECT_EQ(::GetFileAttributesA(folder.c_str()), INVALID_FILE_ATTRIBUTES)
            << "the program folder step ran";
        EXPECT_FALSE(wine_test::RegistryKeyExists(HKEY_CURRENT_USER, key))
            << "the registry step ran";
        // The disk is as it was.
        EXPECT_EQ(ReadBytes(disk.Join("MANUAL.HLP")), c.manual);
    }
}

}  // namespace
}  // namespace install
