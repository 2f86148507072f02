// The page tour: drives the utility on the disk to each of its three pages
// and holds there while someone outside the Wine world (scripts/screenshots)
// takes a picture.
//
// At each page it writes "<folder>\<page>.ready" holding the page's screen
// rectangle "x y width height", then waits for "<folder>\<page>.done". At
// the end it writes its exit code into "<folder>\tour.end".
#include "tests/e2e/page_tour.hpp"

#include <cstdio>
#include <fstream>
#include <set>

#include "tests/e2e/install_state.hpp"
#include "tests/e2e/wizard_driver.hpp"
#include "tests/e2e/wizard_page_checks.hpp"

namespace install::e2e {

namespace {

// How long the picture taker may take for one page.
constexpr DWORD kPictureWaitMs = 60000;

bool HoldForPicture(const std::string& folder, const char* name, HWND page, const Utility& utility) {
    if (!utility.Sync(page)) {
        std::fprintf(stderr, "tour: the %s did not answer\n", name);
        return false;
    }
    // In front, as the user sees it.
    ::SetForegroundWindow(page);
    WaitUntil(2000, [&] { return ::GetForegroundWindow() == page; });
    RECT rect{};
    ::GetWindowRect(page, &rect);
    const std::string ready = folder + "\\" + name + ".ready";
    const std::string done = folder + "\\" + name + ".done";
    ::DeleteFileA(done.c_str());
    {
        std::ofstream out(ready + ".tmp", std::ios::trunc);
        out << rect.left << " " << rect.top << " " << (rect.right - rect.left) << " " << (rect.bottom - rect.top)
            << "\n";
    }
    // Renamed into place, so that the reader never sees half a line.
    ::MoveFileExA((ready + ".tmp").c_str(), ready.c_str(), MOVEFILE_REPLACE_EXISTING);
    std::printf("tour: %s ready\n", name);
    std::fflush(stdout);
    if (!WaitUntil(kPictureWaitMs, [&] { return FileExists(done); })) {
        std::fprintf(stderr, "tour: no picture of the %s came in time\n", name);
        return false;
    }
    return true;
}

}  // namespace

int RunPageTour(const std::string& folder) {
    const std::set<DWORD> notepadsBefore = ProcessesNamed("notepad.exe");
    RemoveInstallation();
    Utility utility;
    int status = 1;
    [&] {
        if (!utility.Start(DiskPath("INSTALL.EXE"), CurrentSettings().disk)) {
            std::fprintf(stderr, "tour: %s\n", utility.Error().c_str());
            return;
        }
        const HWND options = utility.WaitForPage(Page::Options);
        if (options == nullptr || !HoldForPicture(folder, "options", options, utility)) {
            return;
        }
        Click(::GetDlgItem(options, kNextOptions));
        const HWND progress = utility.WaitForPage(Page::Progress);
        if (progress == nullptr) {
            std::fprintf(stderr, "tour: no progress page\n");
            return;
        }
        const RunResult run = RunInstallation(utility, progress, {IDOK, IDOK, IDOK});
        if (!run.ended) {
            std::fprintf(stderr, "tour: the run did not end: %s\n", run.problem.c_str());
            return;
        }
        // The run's last step brought the page back above what it launched.
        if (!HoldForPicture(folder, "progress", progress, utility)) {
            return;
        }
        Click(::GetDlgItem(progress, IDOK));
        const HWND finish = utility.WaitForPage(Page::Finish);
        if (finish == nullptr || !HoldForPicture(folder, "finish", finish, utility)) {
            return;
        }
        Click(::GetDlgItem(finish, IDOK));
        if (!utility.WaitForExit(kStepWaitMs)) {
            std::fprintf(stderr, "tour: the utility did not end after \"&Finish\"\n");
            return;
        }
        status = 0;
    }();
    if (status != 0) {
        std::fprintf(stderr, "%s\n", utility.Describe().c_str());
    }
    utility.End();
    for (const DWORD id : ProcessesNamed("notepad.exe")) {
        if (!notepadsBefore.count(id)) {
            EndProcess(id);
        }
    }
    RemoveInstallation();
    // The tour may run where its exit code is lost (a Wine virtual
    // desktop's shell): it is written down as well.
    std::ofstream(folder + "\\tour.end", std::ios::trunc) << status << "\n";
    return status;
}

}  // namespace install::e2e
