// Owner of one COM interface pointer: released once, when it goes.
#pragma once

#include <unknwn.h>

#include <utility>

namespace install::win32 {

template <typename Interface>
class ComPtr {
public:
    ComPtr() noexcept = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() { reset(); }

    Interface* get() const noexcept { return pointer_; }
    Interface* operator->() const noexcept { return pointer_; }
    explicit operator bool() const noexcept { return pointer_ != nullptr; }

    void reset() noexcept {
        if (Interface* old = std::exchange(pointer_, nullptr)) {
            old->Release();
        }
    }

    // For out-parameters of the API, as void** the way COM asks for them.
    void** put_void() noexcept {
        reset();
        return reinterpret_cast<void**>(&pointer_);
    }

private:
    Interface* pointer_ = nullptr;
};

}  // namespace install::win32
