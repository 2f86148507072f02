// The progress page: four status buttons, "&Start" runs the installation,
// "&Next" goes on. It offers the steps their status operations.
#pragma once

#include "engine/install_context.hpp"
#include "engine/status_operations.hpp"
#include "engine/system/system.hpp"
#include "ui/dialog_page.hpp"

namespace install::ui {

class CProgressDlg final : public DialogPage, public IStatusOperations {
public:
    explicit CProgressDlg(System& system);

    void SetOptionMask(std::uint32_t mask) { context_.optionMask = mask; }
    std::int32_t GetInstallResult() const { return installResult_; }

    // The status operations the steps report through.
    void EnableStatusButton(int button, bool enable) override;
    std::string ReadStatusLabel(int button) override;
    void SetStatusText(int button, const std::string& text) override;
    int ShowMessageBox(const std::string& text, const std::string& caption, unsigned style) override;
    WindowHandle PageWindow() override;

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    BOOL OnInitDialog();
    void OnShowWindow();
    void OnStatusButtonClicked();
    void OnStart();

    System& system_;
    LogoPicture logo_;
    InstallContext context_;
    std::int32_t installResult_ = 0;
};

}  // namespace install::ui
