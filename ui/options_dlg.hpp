// The options page: the wizard's first page and the application's main
// window. It stages the install script as it opens.
#pragma once

#include "engine/system/system.hpp"
#include "ui/dialog_page.hpp"

namespace install::ui {

class COptionsDlg final : public DialogPage {
public:
    explicit COptionsDlg(System& system);

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    BOOL OnInitDialog();
    void OnShowWindow();
    bool OnPaint();
    void OnNext();

    System& system_;
    // A shared resource icon: never freed.
    HICON appIcon_;
    LogoPicture logo_;
    // Staging failed: the page is on its way out and never shows.
    bool closing_ = false;
};

}  // namespace install::ui
