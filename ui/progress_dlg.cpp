// The progress page.
#include "ui/progress_dlg.hpp"

#include <vector>

#include "engine/start_sequence.hpp"
#include "steps/installation_steps.hpp"
#include "ui/resource_ids.h"

namespace install::ui {

CProgressDlg::CProgressDlg(System& system) : DialogPage(IDD_PROGRESS, DialogProc), system_(system) {}

INT_PTR CALLBACK CProgressDlg::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CProgressDlg* page = PageFor<CProgressDlg>(window, message, lParam);
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
            case WM_COMMAND: {
                const int id = LOWORD(wParam);
                const int code = HIWORD(wParam);
                if (id >= IDC_DIRECTORY_STATUS && id <= IDC_MANUAL_STATUS) {
                    if (code == BN_CLICKED || code == BN_DOUBLECLICKED) {
                        page->OnStatusButtonClicked();
                    }
                    return TRUE;
                }
                switch (id) {
                    case IDC_START:
                        page->OnStart();
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
        }
    } catch (...) {
        // Nothing may cross the dialog manager; a page that cannot go on
        // ends as if cancelled.
        ::EndDialog(window, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

BOOL CProgressDlg::OnInitDialog() {
    installResult_ = 0;
    ShowLogoPicture(Window(), logo_);
    return TRUE;
}

void CProgressDlg::OnShowWindow() {
    ::BringWindowToTop(Window());
    ::EnableWindow(Control(IDOK), FALSE);
    MoveFocusTo(IDC_START);
}

void CProgressDlg::OnStatusButtonClicked() {
    MoveFocusTo(IDOK);
}

void CProgressDlg::OnStart() {
    ::EnableWindow(Control(IDC_START), FALSE);
    ::EnableWindow(Control(IDCANCEL), FALSE);
    installResult_ = RunStartSequence(context_, system_, *this, kInstallationSteps);
    ::EnableWindow(Control(IDOK), TRUE);
    MoveFocusTo(IDOK);
}

void CProgressDlg::EnableStatusButton(int button, bool enable) {
    ::EnableWindow(Control(button), enable ? TRUE : FALSE);
}

std::string CProgressDlg::ReadStatusLabel(int button) {
    const HWND control = Control(button);
    const int length = ::GetWindowTextLengthA(control);
    std::vector<char> text(static_cast<std::size_t>(length) + 1);
    const int got = ::GetWindowTextA(control, text.data(), length + 1);
    return std::string(text.data(), static_cast<std::size_t>(got > 0 ? got : 0));
}

void CProgressDlg::SetStatusText(int button, const std::string& text) {
    ::SetDlgItemTextA(Window(), button, text.c_str());
    // The start sequence keeps the message loop waiting: paint now.
    ::UpdateWindow(Control(button));
}

int CProgressDlg::ShowMessageBox(const std::string& text, const std::string& caption, unsigned style) {
    return ::MessageBoxA(Window(), text.c_str(), caption.c_str(), style);
}

WindowHandle CProgressDlg::PageWindow() {
    return reinterpret_cast<WindowHandle>(Window());
}

}  // namespace install::ui
