// Shortcut files through the shell link COM object, reached by its
// IShellLinkA and IPersistFile interfaces.
#include "platform/win32/win32_shell_links.hpp"

#include <windows.h>
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include "platform/win32/com_ptr.hpp"

namespace install::win32 {

namespace {

// Room for the link file's UTF-16 name.
constexpr int kWideRoom = 520;

class Win32ShellLink : public IShellLinkObject {
public:
    LinkResult QueryPersistFile() override {
        return link_->QueryInterface(IID_IPersistFile, persistFile_.put_void());
    }
    LinkResult SetPath(const std::string& target) override { return link_->SetPath(target.c_str()); }
    LinkResult SetDescription(const std::string& description) override {
        return link_->SetDescription(description.c_str());
    }
    LinkResult Save(const std::string& path) override {
        wchar_t wide[kWideRoom] = {};
        if (MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, kWideRoom) == 0) {
            return HRESULT_FROM_WIN32(GetLastError());
        }
        return persistFile_->Save(wide, TRUE);
    }

    void** LinkSlot() { return link_.put_void(); }

private:
    // Members go in reverse order: the persist-file interface is released
    // before the link.
    ComPtr<IShellLinkA> link_;
    ComPtr<IPersistFile> persistFile_;
};

}  // namespace

void Win32ShellLinks::Initialize() {
    CoInitialize(nullptr);
}

void Win32ShellLinks::Uninitialize() {
    CoUninitialize();
}

std::unique_ptr<IShellLinkObject> Win32ShellLinks::CreateLink(LinkResult& result) {
    auto link = std::make_unique<Win32ShellLink>();
    result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link->LinkSlot());
    if (FAILED(result)) {
        return nullptr;
    }
    return link;
}

}  // namespace install::win32
