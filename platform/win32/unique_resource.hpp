// Owners of Win32 handles: each closes what it holds when it goes, so no
// exit path of a caller has to release anything by hand.
#pragma once

#include <windows.h>

#include <utility>

namespace install::win32 {

// Holds one resource described by Traits: Traits::Invalid() is the value
// that means "nothing held" and Traits::Close releases a held one. Files
// and registry keys disagree on that value (INVALID_HANDLE_VALUE against
// NULL), so it is part of the type rather than a guess at run time.
template <typename Traits>
class UniqueResource {
public:
    using Value = typename Traits::Value;

    UniqueResource() noexcept = default;
    explicit UniqueResource(Value value) noexcept : value_(value) {}
    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    ~UniqueResource() { reset(); }

    Value get() const noexcept { return value_; }
    bool valid() const noexcept { return value_ != Traits::Invalid(); }
    explicit operator bool() const noexcept { return valid(); }

    // Gives up ownership without closing.
    Value release() noexcept { return std::exchange(value_, Traits::Invalid()); }

    // Closes what is held, then holds value.
    void reset(Value value = Traits::Invalid()) noexcept {
        const Value old = std::exchange(value_, value);
        if (old != Traits::Invalid()) {
            Traits::Close(old);
        }
    }

    // For out-parameters of the API: closes what is held and hands the
    // slot to be written.
    Value* put() noexcept {
        reset();
        return &value_;
    }

private:
    Value value_ = Traits::Invalid();
};

// CreateFileA reports failure with INVALID_HANDLE_VALUE, not NULL.
struct FileHandleTraits {
    using Value = HANDLE;
    static Value Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Value value) noexcept { ::CloseHandle(value); }
};

// Registry functions leave NULL in a key they did not open.
struct RegistryKeyTraits {
    using Value = HKEY;
    static Value Invalid() noexcept { return nullptr; }
    static void Close(Value value) noexcept { ::RegCloseKey(value); }
};

// Handles of kernel objects (processes, threads, events, pipe ends) are
// NULL when their creation failed.
struct KernelHandleTraits {
    using Value = HANDLE;
    static Value Invalid() noexcept { return nullptr; }
    static void Close(Value value) noexcept { ::CloseHandle(value); }
};

using UniqueFileHandle = UniqueResource<FileHandleTraits>;
using UniqueRegistryKey = UniqueResource<RegistryKeyTraits>;
using UniqueKernelHandle = UniqueResource<KernelHandleTraits>;

}  // namespace install::win32
