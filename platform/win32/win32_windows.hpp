// Top-level windows of the system seam through FindWindowA and
// SendMessageA.
#pragma once

#include <string>

#include "engine/system/windows.hpp"

namespace install::win32 {

class Win32Windows final : public IWindows {
public:
    WindowHandle FindTopLevelWindow(const std::string& title) override;
    void SendCloseMessage(WindowHandle window) override;
    void BringToTop(WindowHandle window) override;
};

}  // namespace install::win32
