// The preparation step against the fake system.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/prepare_install.hpp"
#include "tests/fake/fake_system.hpp"

namespace install {
namespace {

using fake::FakeSystem;
using fake::FakeRegistry;

const std::string kUserFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const std::string kMachineFolders = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

TEST(PrepareInstall, DerivesWindowsPathsFromTheWindowsDirectory) {
    // Windows directory returned, windowsDir, scriptPath, logPath
    const struct {
        std::string returned;
        std::string windowsDir;
        std::string scriptPath;
        std::string logPath;
    } cases[] = {
        {"C:\\WINDOWS", "C:\\WINDOWS", "C:\\WINDOWS\\SETUP.INP", "C:\\WINDOWS\\INSTLOG.TXT"},
        {"C:\\WINNT", "C:\\WINNT", "C:\\WINNT\\SETUP.INP", "C:\\WINNT\\INSTLOG.TXT"},
        {"C:\\WINDOWS\\", "C:\\WINDOWS", "C:\\WINDOWS\\SETUP.INP", "C:\\WINDOWS\\INSTLOG.TXT"},
        {"C:\\", "C:", "C:\\SETUP.INP", "C:\\INSTLOG.TXT"},
    };
    for (const auto& c : cases) {
        FakeSystem system;
        system.info.windowsDirectory = c.returned;
        InstallContext context;
        EXPECT_EQ(PrepareInstall(context, system.seam), 0);
        EXPECT_EQ(context.windowsDir, c.windowsDir) << c.returned;
        EXPECT_EQ(context.scriptPath, c.scriptPath) << c.returned;
        EXPECT_EQ(context.logPath, c.logPath) << c.returned;
    }
}

TEST(PrepareInstall, DerivesTheSourceFromTheCurrentDirectory) {
    // current directory, sourceDir, sourceRoot
    const struct {
        std::string current;
        std::string sourceDir;
        std::string sourceRoot;
    } cases[] = {
        {"D:\\SETUP", "D:\\SETUP", "D:"},
        {"D:\\", "D:", "D:"},
        {"D:\\DISKS\\DISK1", "D:\\DISKS\\DISK1", "D:"},
        {"\\\\SERVER\\SHARE\\SETUP", "\\\\SERVER\\SHARE\\SETUP", "\\\\SERVER"},
        {"\\\\SERVER", "\\\\SERVER", "\\\\SERVER"},
        {"D:", "D:", "D:"},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        FakeSystem system;
        system.directories.current = c.current;
        InstallContext context;
        PrepareInstall(context, system.seam);
        EXPECT_EQ(context.sourceDir, c.sourceDir) << c.current;
        EXPECT_EQ(context.sourceRoot, c.sourceRoot) << c.current;
    }
}

TEST(PrepareInstall, DerivesTheSystemRootFromTheSystemDirectory) {
    // system directory returned, systemDir, systemRoot
    const struct {
        std::string returned;
        std::string systemDir;
        std::string systemRoot;
    } cases[] = {
        {"C:\\WINDOWS\\SYSTEM", "C:\\WINDOWS\\SYSTEM", "C:"},
        {"C:\\WINNT\\SYSTEM32", "C:\\WINNT\\SYSTEM32", "C:"},
        {"C:\\WINNT\\SYSTEM32\\", "C:\\WINNT\\SYSTEM32", "C:"},
    };
    for (const auto& c : cases) {
        FakeSystem system;
        system.info.systemDirectory = c.returned;
        InstallContext context;
        PrepareInstall(context, system.seam);
        EXPECT_EQ(context.systemDir, c.systemDir) << c.returned;
        EXPECT_EQ(context.systemRoot, c.systemRoot) << c.returned;
    }
}

void AddShellFolders(FakeRegistry& registry) {
    registry.keys[{RegistryRoot::CurrentUser, kUserFolders}] = {
        {"Desktop", "C:\\USER\\Desktop"}, {"Programs", "C:\\USER\\Programs"}};
    registry.keys[{RegistryRoot::LocalMachine, kMachineFolders}] = {
        {"Common Desktop", "C:\\ALL\\Desktop"}, {"Common Programs", "C:\\ALL\\Programs"}};
}

TEST(PrepareInstall, ReadsTheShellFoldersOfThePlatformFamily) {
    // platform id (nullopt: the query fails), platformId, desktopDir, programsDir, userProgramsDir
    const struct {
        std::optional<std::uint32_t> reported;
        std::uint32_t platformId;
        std::string desktop;
        std::string programs;
        std::string userPrograms;
    } cases[] = {
        {2, 2, "C:\\ALL\\Desktop", "C:\\ALL\\Programs", "C:\\USER\\Programs"},
        {1, 1, "C:\\USER\\Desktop", "C:\\USER\\Programs", "C:\\USER\\Programs"},
        {std::nullopt, 0, "C:\\USER\\Desktop", "C:\\USER\\Programs", "C:\\USER\\Programs"},
        {3, 3, "C:\\USER\\Desktop", "C:\\USER\\Programs", "C:\\USER\\Programs"},
    };
    for (const auto& c : cases) {
        FakeSystem system;
        AddShellFolders(system.registry);
        system.info.platformId = c.reported;
        InstallContext context;
        PrepareInstall(context, system.seam);
        EXPECT_EQ(context.platformId, c.platformId);
        EXPECT_EQ(context.desktopDir, c.desktop) << "platform " << c.platformId;
        EXPECT_EQ(context.programsDir, c.programs) << "platform " << c.platformId;
        EXPECT_EQ(context.userProgramsDir, c.userPrograms) << "platform " << c.platformId;
        EXPECT_EQ(system.registry.openKeys, 0) << "a key was left open";
    }
}

TEST(PrepareInstall, LeavesAShellFolderEmptyWhenTheRegistryGivesNoValue) {
    const std::string tooLong = "C:\\" + std::string(257, 'x');  // 260 characters: no room for the terminator
    const std::string fits = "C:\\" + std::string(256, 'x');     // 259 characters
    // platform, values of the user key (nullopt: key missing), machine key likewise,
    // desktopDir, programsDir, userProgramsDir
    using Map = std::map<std::string, std::string>;
    using Values = std::optional<Map>;
    const struct {
        std::uint32_t platform;
        Values user;
        Values machine;
        std::string desktop;
        std::string programs;
        std::string userPrograms;
    } cases[] = {
        {1, std::nullopt, std::nullopt, "", "", ""},
        {1, Values(Map{{"Programs", "C:\\P"}}), std::nullopt, "", "C:\\P", "C:\\P"},
        {1, Values(Map{{"Desktop", tooLong}, {"Programs", fits}}), std::nullopt, "", fits, fits},
        {2, Values(Map{{"Programs", "C:\\U"}}), std::nullopt, "", "", "C:\\U"},
        {2, std::nullopt, Values(Map{{"Common Desktop", "C:\\D"}}), "C:\\D", "", ""},
        {2, Values(Map{{"Desktop", "C:\\D"}}), Values(Map{{"Common Programs", tooLong}}), "", "", ""},
    };
    for (const auto& c : cases) {
        FakeSystem system;
        system.info.platformId = c.platform;
        if (c.user) {
            system.registry.keys[{RegistryRoot::CurrentUser, kUserFolders}] = *c.user;
        }
        if (c.machine) {
            system.registry.keys[{RegistryRoot::LocalMachine, kMachineFolders}] = *c.machine;
        }
        InstallContext context;
        context.desktopDir = context.programsDir = context.userProgramsDir = "stale";
        PrepareInstall(context, system.seam);
        EXPECT_EQ(context.desktopDir, c.desktop);
        EXPECT_EQ(context.programsDir, c.programs);
        EXPECT_EQ(context.userProgramsDir, c.userPrograms);
    }
}

TEST(PrepareInstall, AsksTheToolWindowsToCloseInOrder) {
    // titles of the open windows, in the order they were opened; titles asked to close
    const struct {
        std::vector<std::string> open;
        std::vector<std::string> closed;
    } cases[] = {
        {{"KARVELIX", "Trelix PC Card Diagnostics  v1.03", "Trelix Diagnose", "porvex",
          "Trelix PC Card Diagnostics", "Trelix LAN+Modem"},
         {"porvex", "Trelix LAN+Modem", "Trelix Diagnose", "Trelix PC Card Diagnostics",
          "Trelix PC Card Diagnostics  v1.03", "KARVELIX"}},
        {{"KARVELIX", "Trelix Diagnose"}, {"Trelix Diagnose", "KARVELIX"}},
        {{"Trelix PC Card Diagnostics  v1.03"}, {"Trelix PC Card Diagnostics  v1.03"}},
        {{"Trelix PC Card Diagnostics v1.03", "Porvex ", "Notepad"}, {}},
        {{}, {}},
    };
    for (const auto& c : cases) {
        FakeSystem system;
        for (const auto& title : c.open) {
            system.windows.AddWindow(title);
        }
        InstallContext context;
        PrepareInstall(context, system.seam);
        EXPECT_EQ(system.windows.closed, c.closed);
        // Every title is looked for, found or not, before anything else.
        std::vector<std::string> finds;
        for (const auto& call : system.calls) {
            if (call.rfind("find-window ", 0) == 0) {
                finds.push_back(call.substr(12));
            }
        }
        EXPECT_EQ(finds, std::vector<std::string>(kToolWindowTitles.begin(), kToolWindowTitles.end()));
        EXPECT_EQ(system.calls.front(), "find-window Porvex");
    }
}

TEST(PrepareInstall, StartsANewLog) {
    FakeSystem system;
    system.files.files["C:\\WINDOWS\\INSTLOG.TXT"] = "Installation Log\r\n\r\n##OLD RUN##\r\n";
    InstallContext context;
    PrepareInstall(context, system.seam);
    EXPECT_EQ(system.FileBytes("C:\\WINDOWS\\INSTLOG.TXT"), "Installation Log\r\n");
    EXPECT_EQ(system.files.openCount, 0);
}

TEST(PrepareInstall, GoesOnWhenTheLogCannotBeCreated) {
    FakeSystem system;
    system.files.failOpen.insert("C:\\WINDOWS\\INSTLOG.TXT");
    InstallContext context;
    EXPECT_EQ(PrepareInstall(context, system.seam), 0);
    EXPECT_EQ(context.logPath, "C:\\WINDOWS\\INSTLOG.TXT");
    EXPECT_FALSE(system.files.files.count("C:\\WINDOWS\\INSTLOG.TXT"));
}

}  // namespace
}  // namespace install
