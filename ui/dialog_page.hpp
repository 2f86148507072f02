// Our small dialog layer over the Win32 dialog manager: a page runs
// modally from a dialog template, its object travels to the dialog
// procedure through WM_INITDIALOG's lParam and lives in DWLP_USER, and
// each page's own procedure hands messages to its On... handlers.
#pragma once

#include <windows.h>

#include "platform/win32/unique_resource.hpp"

namespace install::ui {

// A GDI object (a bitmap), deleted when its owner goes.
struct GdiObjectTraits {
    using Value = HGDIOBJ;
    static Value Invalid() noexcept { return nullptr; }
    static void Close(Value object) noexcept { ::DeleteObject(object); }
};

// A child window made at run time, destroyed when its owner goes unless the
// dialog took it down with itself already.
struct ChildWindowTraits {
    using Value = HWND;
    static Value Invalid() noexcept { return nullptr; }
    static void Close(Value window) noexcept {
        if (::IsWindow(window)) {
            ::DestroyWindow(window);
        }
    }
};

using UniqueGdiObject = win32::UniqueResource<GdiObjectTraits>;
using UniqueWindow = win32::UniqueResource<ChildWindowTraits>;

class DialogPage {
public:
    DialogPage(const DialogPage&) = delete;
    DialogPage& operator=(const DialogPage&) = delete;
    virtual ~DialogPage() = default;

    // Runs the page modally; 1 when it ended with OK, 2 with Cancel, -1
    // when it could not be shown.
    INT_PTR DoModal(HWND owner);

    HWND Window() const { return window_; }

protected:
    DialogPage(int templateId, DLGPROC procedure) : templateId_(templateId), procedure_(procedure) {}

    // The page a message is for: taken from lParam at WM_INITDIALOG and kept
    // in DWLP_USER; nullptr for the messages before it.
    template <typename Page>
    static Page* PageFor(HWND window, UINT message, LPARAM lParam) {
        if (message == WM_INITDIALOG) {
            auto* page = reinterpret_cast<Page*>(lParam);
            page->window_ = window;
            ::SetWindowLongPtrA(window, DWLP_USER, lParam);
            return page;
        }
        return reinterpret_cast<Page*>(::GetWindowLongPtrA(window, DWLP_USER));
    }

    HWND Control(int id) const { return ::GetDlgItem(window_, id); }
    // Moves the dialog focus, and the default-button look with it.
    void MoveFocusTo(int id) const {
        ::SendMessageA(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(id)), TRUE);
    }
    void OnOK() const { ::EndDialog(window_, IDOK); }
    void OnCancel() const { ::EndDialog(window_, IDCANCEL); }

private:
    int templateId_;
    DLGPROC procedure_;
    HWND window_ = nullptr;
};

// The logo at the top left of every page: bitmap 129 in a sunken picture
// control. The bitmap is declared first so that the control goes first.
struct LogoPicture {
    UniqueGdiObject logoBitmap;
    UniqueWindow logoPicture;
};

void ShowLogoPicture(HWND page, LogoPicture& logo);

}  // namespace install::ui
