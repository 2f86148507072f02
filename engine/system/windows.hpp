// Top-level windows found by title.
#pragma once

#include <cstdint>
#include <string>

#include "engine/system/interface.hpp"

namespace install {

// An opaque window handle; 0 is no window.
using WindowHandle = std::uintptr_t;

class IWindows : public Interface {
public:
    // The first top-level window whose whole title is title, letter case not
    // counting, of any class; 0 when there is none.
    virtual WindowHandle FindTopLevelWindow(const std::string& title) = 0;
    // Sends WM_CLOSE (both parameters 0) and returns once the window has
    // handled it.
    virtual void SendCloseMessage(WindowHandle window) = 0;
    // Puts the window at the top of the window order.
    virtual void BringToTop(WindowHandle window) = 0;
};

}  // namespace install
