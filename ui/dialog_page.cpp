// The dialog layer's modal run and the logo every page shows.
#include "ui/dialog_page.hpp"

#include "ui/resource_ids.h"

namespace install::ui {

INT_PTR DialogPage::DoModal(HWND owner) {
    const INT_PTR result = ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), owner,
                                             procedure_, reinterpret_cast<LPARAM>(this));
    window_ = nullptr;
    return result;
}

void ShowLogoPicture(HWND page, LogoPicture& logo) {
    const HINSTANCE instance = ::GetModuleHandleA(nullptr);
    logo.logoBitmap.reset(::LoadBitmapA(instance, MAKEINTRESOURCEA(IDB_LOGO)));
    // The rectangle is in the page's client pixels: left 25, top 25,
    // right 91, bottom 80.
    logo.logoPicture.reset(::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_SUNKEN | SS_BITMAP, 25,
                                             25, 91 - 25, 80 - 25, page,
                                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_LOGO_PICTURE)),
                                             instance, nullptr));
    ::SendMessageA(logo.logoPicture.get(), STM_SETIMAGE, IMAGE_BITMAP,
                   reinterpret_cast<LPARAM>(logo.logoBitmap.get()));
}

}  // namespace install::ui
