// The finish page: says how the installation went and shows the log.
#pragma once

#include <cstdint>

#include "engine/system/system.hpp"
#include "ui/dialog_page.hpp"

namespace install::ui {

class CFinishDlg final : public DialogPage {
public:
    explicit CFinishDlg(System& system);

    void SetFailed(std::int32_t failed) { failed_ = failed; }

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    BOOL OnInitDialog();
    void OnShowWindow();
    void OnDetail();

    System& system_;
    LogoPicture logo_;
    std::int32_t failed_ = 0;
};

}  // namespace install::ui
