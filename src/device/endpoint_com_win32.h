// A move-only owner of one COM interface reference, and the few identifiers of the audio
// endpoint services that are defined here rather than taken from a library.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <propsys.h>

#include <utility>

namespace quorelle::device {

// Owns one reference: Release on destruction. put() hands the slot to an API that returns a new
// reference; release() gives the reference away (to the system, for the process's life).
template <typename T>
class ComOwner {
  public:
    ComOwner() = default;
    explicit ComOwner(T* adopted) : ptr_(adopted) {}
    ComOwner(const ComOwner&) = delete;
    ComOwner& operator=(const ComOwner&) = delete;
    ComOwner(ComOwner&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    ComOwner& operator=(ComOwner&& other) noexcept {
        if (this != &other) reset(std::exchange(other.ptr_, nullptr));
        return *this;
    }
    ~ComOwner() { reset(); }

    T* get() const { return ptr_; }
    T* operator->() const { return ptr_; }
    explicit operator bool() const { return ptr_ != nullptr; }
    T* release() { return std::exchange(ptr_, nullptr); }
    void reset(T* adopted = nullptr) {
        if (ptr_) ptr_->Release();
        ptr_ = adopted;
    }
    // The slot for an out parameter; drops what was held.
    T** put() {
        reset();
        return &ptr_;
    }
    void** put_void() { return reinterpret_cast<void**>(put()); }

  private:
    T* ptr_ = nullptr;
};

// CLSID of the device enumerator and the friendly-name property key of an endpoint.
inline constexpr CLSID kClsidMMDeviceEnumerator = {
    0xbcde0395, 0xe52f, 0x467c, {0x8e, 0x3d, 0xc4, 0x57, 0x92, 0x91, 0x69, 0x2e}};
inline constexpr PROPERTYKEY kPropertyFriendlyName = {
    {0xa45c254e, 0xdf1c, 0x4efd, {0x80, 0x20, 0x67, 0xd1, 0x46, 0xa8, 0x50, 0xe0}}, 14};

}  // namespace quorelle::device
