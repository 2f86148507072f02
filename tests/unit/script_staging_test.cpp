// Where the install script is staged from, and what staging reports.
#include <gtest/gtest.h>

#include "steps/copy_expand_file.hpp"
#include "ui/script_staging.hpp"

namespace install {
namespace {

TEST(ScriptStaging, FindsTheScriptBesideTheProgram) {
    // command line as the process receives it, source path
    const struct {
        std::string commandLine;
        std::string source;
    } cases[] = {
        {"\"C:\\DISK1\\INSTALL.EXE\"", "C:\\DISK1\\SETUP.INP"},
        {"\"C:\\DISK 1\\INSTALL.EXE\" /x", "C:\\DISK 1\\SETUP.INP"},
        {"C:\\DISK1\\INSTALL.EXE /x", "C:\\DISK1\\SETUP.INP"},
        {"C:\\DISK1\\INSTALL.EXE /d C:\\TEMP", "C:\\DISK1\\INSTALL.EXE /d C:\\SETUP.INP"},
        {"INSTALL.EXE /x", "SETUP.INP"},
        {"D:\\INSTALL.EXE", "D:\\SETUP.INP"},
        {"\"\"\"D:\\A\\INSTALL.EXE\"", "D:\\A\\SETUP.INP"},
        // No program path at all: the script in the current directory.
        {"", "SETUP.INP"},
        {"\"\"", "SETUP.INP"},
        {"\"", "SETUP.INP"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ScriptSourcePath(c.commandLine), c.source) << c.commandLine;
    }
}

TEST(ScriptStaging, NeverCutsALongPath) {
    const std::string folder = "C:\\" + std::string(300, 'd');
    EXPECT_EQ(ScriptSourcePath("\"" + folder + "\\INSTALL.EXE\" /x"), folder + "\\SETUP.INP");
    EXPECT_EQ(ScriptDestinationPath(folder), folder + "\\SETUP.INP");
    EXPECT_EQ(LogViewerCommand(folder), folder + "\\NOTEPAD.EXE " + folder + "\\INSTLOG.TXT");
    EXPECT_EQ(LogViewerCommand("C:\\WINDOWS"), "C:\\WINDOWS\\NOTEPAD.EXE C:\\WINDOWS\\INSTLOG.TXT");
}

TEST(ScriptStaging, ReportsWhatTheCopyCouldNotDo) {
    // copy result, message (empty: staging is complete)
    const struct {
        int result;
        std::string message;
    } cases[] = {
        {COPY_OK, ""},
        {COPY_NO_SOURCE, "Cannot find input script D:\\SETUP.INP"},
        {COPY_NO_TARGET, "Cannot create temporary script C:\\WINDOWS\\SETUP.INP"},
        {COPY_TRANSFER_FAILED, "Cannot create temporary script C:\\WINDOWS\\SETUP.INP"},
        {COPY_TARGET_EXISTS, ""},
        {COPY_BAD_ARGS, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StagingMessage(c.result, "D:\\SETUP.INP", "C:\\WINDOWS\\SETUP.INP").value_or(""), c.message)
            << c.result;
    }
}

}  // namespace
}  // namespace install
