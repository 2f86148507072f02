// The options page.
#include "ui/options_dlg.hpp"

#include "engine/install_context.hpp"
#include "ui/finish_dlg.hpp"
#include "ui/progress_dlg.hpp"
#include "ui/resource_ids.h"
#include "ui/stage_install_script.hpp"

namespace install::ui {

COptionsDlg::COptionsDlg(System& system)
    : DialogPage(IDD_OPTIONS, DialogProc),
      system_(system),
      appIcon_(::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_APP))) {}

INT_PTR CALLBACK COptionsDlg::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    COptionsDlg* page = PageFor<COptionsDlg>(window, message, lParam);
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
            case WM_WINDOWPOSCHANGING:
                // The dialog manager shows a visible template's page once
                // WM_INITDIALOG has returned, even one that staging hid and
                // asked to close: it must not show while the close request
                // is on its way.
                if (page->closing_) {
                    reinterpret_cast<WINDOWPOS*>(lParam)->flags &= ~SWP_SHOWWINDOW;
                }
                return FALSE;
            case WM_PAINT:
                return page->OnPaint() ? TRUE : FALSE;
            case WM_QUERYDRAGICON:
                ::SetWindowLongPtrA(window, DWLP_MSGRESULT, reinterpret_cast<LONG_PTR>(page->appIcon_));
                return TRUE;
            case WM_COMMAND:
                switch (LOWORD(wParam)) {
                    case IDC_NEXT_OPTIONS:
                        page->OnNext();
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
        ::EndDialog(window, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

BOOL COptionsDlg::OnInitDialog() {
    ::SendMessageA(Window(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(appIcon_));
    ::SendMessageA(Window(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(appIcon_));
    ShowLogoPicture(Window(), logo_);
    for (const int hidden : {IDC_LAN_CHECK, IDC_MODEM_CHECK}) {
        ::SendMessageA(Control(hidden), BM_SETCHECK, BST_UNCHECKED, 0);
        ::ShowWindow(Control(hidden), SW_HIDE);
    }
    ::SendMessageA(Control(IDC_MANUAL_CHECK), BM_SETCHECK, BST_CHECKED, 0);
    closing_ = !StageInstallScript(Window(), system_);
    return TRUE;
}

void COptionsDlg::OnShowWindow() {
    ::BringWindowToTop(Window());
    MoveFocusTo(IDC_NEXT_OPTIONS);
}

bool COptionsDlg::OnPaint() {
    if (!::IsIconic(Window())) {
        return false;
    }
    PAINTSTRUCT paint;
    const HDC dc = ::BeginPaint(Window(), &paint);
    ::SendMessageA(Window(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    const int iconWidth = ::GetSystemMetrics(SM_CXICON);
    const int iconHeight = ::GetSystemMetrics(SM_CYICON);
    RECT client;
    ::GetClientRect(Window(), &client);
    ::DrawIcon(dc, (client.right - client.left - iconWidth + 1) / 2,
               (client.bottom - client.top - iconHeight + 1) / 2, appIcon_);
    ::EndPaint(Window(), &paint);
    return true;
}

void COptionsDlg::OnNext() {
    CProgressDlg progress(system_);
    CFinishDlg finish(system_);
    if (::SendMessageA(Control(IDC_MANUAL_CHECK), BM_GETCHECK, 0, 0) != BST_CHECKED) {
        ::SendMessageA(Window(), WM_CLOSE, 0, 0);
        return;
    }
    ::ShowWindow(Window(), SW_SHOWMINNOACTIVE);
    progress.SetOptionMask(OPTION_MANUAL);
    if (progress.DoModal(Window()) == IDOK) {
        finish.SetFailed(progress.GetInstallResult() != 0 ? 1 : 0);
        finish.DoModal(Window());
        ::SendMessageA(Window(), WM_CLOSE, 0, 0);
        return;
    }
    ::ShowWindow(Window(), SW_RESTORE);
}

}  // namespace install::ui
