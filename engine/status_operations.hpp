// What the progress page offers the steps: its four status buttons, a
// message box owned by the page, and the page's window.
#pragma once

#include <string>

#include "engine/system/interface.hpp"
#include "engine/system/windows.hpp"

namespace install {

// Status buttons of the progress page.
inline constexpr int kDirectoryButton = 1010;
inline constexpr int kFileCopyButton = 1011;
inline constexpr int kDatabaseButton = 1012;
inline constexpr int kManualButton = 1013;

// The labels the status buttons start with, as the page shows them; the
// steps read them back to put their results after them.
struct StatusButtonLabel {
    int button;
    const char* label;
};
inline constexpr StatusButtonLabel kStatusButtonLabels[] = {
    {kDirectoryButton, "Directory Creation"},
    {kFileCopyButton, "File Copy"},
    {kDatabaseButton, "Application Database Update"},
    {kManualButton, "On-line Manual Initialization"},
};

// Message box styles and answers, with the platform's values.
inline constexpr unsigned kMbOk = 0x0;
inline constexpr unsigned kMbOkCancel = 0x1;
inline constexpr unsigned kMbIconWarning = 0x30;
inline constexpr unsigned kMbSetForeground = 0x10000;
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

class IStatusOperations : public Interface {
public:
    virtual void EnableStatusButton(int button, bool enable) = 0;
    virtual std::string ReadStatusLabel(int button) = 0;
    // Puts text on the button; it is seen at once, before this returns.
    virtual void SetStatusText(int button, const std::string& text) = 0;
    // A message box modal to the page; returns the button pressed.
    virtual int ShowMessageBox(const std::string& text, const std::string& caption,
                               unsigned style) = 0;
    virtual WindowHandle PageWindow() = 0;
    // False when nobody is there to answer a message box: an unattended
    // run answers them itself and the log has to say what happened.
    virtual bool Interactive() const { return true; }
};

}  // namespace install
