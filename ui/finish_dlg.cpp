// The finish page and its log viewer.
#include "ui/finish_dlg.hpp"

#include "engine/prepare_install.hpp"
#include "ui/resource_ids.h"
#include "ui/script_staging.hpp"

namespace install::ui {

namespace {

// The titles under which the editor shows the log, without and with its
// extension.
constexpr const char* kLogViewerTitles[] = {"Instlog - Notepad", "Instlog.txt - Notepad"};

}  // namespace

CFinishDlg::CFinishDlg(System& system) : DialogPage(IDD_FINISH, DialogProc), system_(system) {}

INT_PTR CALLBACK CFinishDlg::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CFinishDlg* page = PageFor<CFinishDlg>(window, message, lParam);
    if (page == nullptr) {
        return FALSE;
    }
    try {
        switch (message) {
            case WM_INITDIALOG:
                return page->OnInitDialog();
            case WM_SHOWWINDOW:
                page->OnShowWindow();
                return FALSE;
            case WM_COMMAND:
                switch (LOWORD(wParam)) {
                    case IDC_DETAIL:
                        page->OnDetail();
                        return TRUE;
                    case IDOK:
                        page->OnOK();
                        return TRUE;
                    case IDCANCEL:
                        page->OnCancel();
                        return TRUE;
                }
                return FALSE;
        }
    } catch (...) {
        ::EndDialog(window, IDOK);
        return TRUE;
    }
    return FALSE;
}

BOOL CFinishDlg::OnInitDialog() {
    ShowLogoPicture(Window(), logo_);
    return TRUE;
}

void CFinishDlg::OnShowWindow() {
    if (failed_ == 1) {
        ::SetDlgItemTextA(Window(), IDC_RESULT_MESSAGE, "Installation failed");
    }
    ::BringWindowToTop(Window());
}

void CFinishDlg::OnDetail() {
    for (const char* title : kLogViewerTitles) {
        if (const HWND viewer = ::FindWindowA(nullptr, title)) {
            ::ShowWindow(viewer, SW_RESTORE);
            ::BringWindowToTop(viewer);
            return;
        }
    }
    const std::string command = LogViewerCommand(WithoutTrailingBackslash(system_.info.WindowsDirectoryPath()));
    // The focus moves before the editor starts: once the editor has taken
    // the foreground, a focus moved afterwards can be lost.
    MoveFocusTo(IDOK);
    system_.launcher.Launch(command, SW_SHOW);
}

}  // namespace install::ui
