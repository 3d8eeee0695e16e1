// Move-only owners of kernel and user handles. One owner per handle; no sharing, no implicit
// conversions: get() hands the raw handle to an API call, release() gives ownership away.
#pragma once

#include <windows.h>

#include <utility>

namespace quorelle {

template <typename H, typename Deleter>
class UniqueHandle {
  public:
    UniqueHandle() = default;
    explicit UniqueHandle(H handle) : handle_(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, H{})) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(std::exchange(other.handle_, H{}));
        return *this;
    }
    ~UniqueHandle() { reset(); }

    H get() const { return handle_; }
    explicit operator bool() const { return handle_ != H{}; }
    H release() { return std::exchange(handle_, H{}); }
    void reset(H handle = H{}) {
        if (handle_ != H{}) Deleter{}(handle_);
        handle_ = handle;
    }

  private:
    H handle_{};
};

struct KernelHandleDeleter {
    void operator()(HANDLE h) const { CloseHandle(h); }
};
struct IconDeleter {
    void operator()(HICON h) const { DestroyIcon(h); }
};
struct MenuDeleter {
    void operator()(HMENU h) const { DestroyMenu(h); }
};
struct ModuleDeleter {
    void operator()(HMODULE h) const { FreeLibrary(h); }
};

using UniqueKernelHandle = UniqueHandle<HANDLE, KernelHandleDeleter>;
using UniqueIcon = UniqueHandle<HICON, IconDeleter>;
using UniqueMenu = UniqueHandle<HMENU, MenuDeleter>;
using UniqueModule = UniqueHandle<HMODULE, ModuleDeleter>;

}  // namespace quorelle
