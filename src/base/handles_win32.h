// Move-only owners of kernel and user handles. One owner per handle; no sharing, no implicit
// conversions: get() hands the raw handle to an API call, release() gives ownership away.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <utility>

namespace quorelle {

// The value that means "no handle" for a deleter's kind of handle: the deleter's Empty() where it
// names one (INVALID_HANDLE_VALUE for files and searches), else null.
template <typename H, typename Deleter>
H EmptyHandle() {
    if constexpr (requires { Deleter::Empty(); }) {
        return Deleter::Empty();
    } else {
        return H{};
    }
}

template <typename H, typename Deleter>
class UniqueHandle {
  public:
    UniqueHandle() = default;
    explicit UniqueHandle(H handle) : handle_(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~UniqueHandle() { reset(); }

    H get() const { return handle_; }
    explicit operator bool() const { return handle_ != Empty(); }
    H release() { return std::exchange(handle_, Empty()); }
    void reset(H handle = Empty()) {
        if (handle_ != Empty()) Deleter{}(handle_);
        handle_ = handle;
    }

  private:
    static H Empty() { return EmptyHandle<H, Deleter>(); }
    H handle_ = Empty();
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
// Handles that CreateFileW and FindFirstFileW answer INVALID_HANDLE_VALUE for, not null.
struct FileDeleter {
    static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
    void operator()(HANDLE h) const { CloseHandle(h); }
};
struct FindDeleter {
    static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
    void operator()(HANDLE h) const { FindClose(h); }
};

using UniqueKernelHandle = UniqueHandle<HANDLE, KernelHandleDeleter>;
using UniqueIcon = UniqueHandle<HICON, IconDeleter>;
using UniqueMenu = UniqueHandle<HMENU, MenuDeleter>;
using UniqueModule = UniqueHandle<HMODULE, ModuleDeleter>;
using UniqueFile = UniqueHandle<HANDLE, FileDeleter>;
using UniqueFind = UniqueHandle<HANDLE, FindDeleter>;

// Initialises COM for the calling thread while it lives, when the thread had not chosen
// otherwise (then COM stays as the thread has it).
class ComForThisThread {
  public:
    explicit ComForThisThread(DWORD model = COINIT_MULTITHREADED)
        : initialised_(SUCCEEDED(CoInitializeEx(nullptr, model))) {}
    ~ComForThisThread() {
        if (initialised_) CoUninitialize();
    }
    ComForThisThread(const ComForThisThread&) = delete;
    ComForThisThread& operator=(const ComForThisThread&) = delete;

  private:
    const bool initialised_;
};

}  // namespace quorelle
