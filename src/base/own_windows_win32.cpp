#include "base/own_windows_win32.h"

#include <array>
#include <cstddef>
#include <unordered_map>

namespace quorelle {

namespace {

using Objects = std::array<void*, static_cast<size_t>(WindowRole::Count)>;

// The windows that have an object, and their objects by role. One table for the process under a
// slim reader/writer lock (user-mode, no round trip): each entry is made and read only on its
// window's thread, but threads of their own (the tests', the platform's) make windows too.
SRWLOCK registryLock = SRWLOCK_INIT;
std::unordered_map<HWND, Objects>& Registry() {
    static auto* registry = new std::unordered_map<HWND, Objects>;  // outlives every window
    return *registry;
}

size_t Slot(WindowRole role) {
    return static_cast<size_t>(role);
}

class Reading {
  public:
    Reading() { AcquireSRWLockShared(&registryLock); }
    ~Reading() { ReleaseSRWLockShared(&registryLock); }
    Reading(const Reading&) = delete;
    Reading& operator=(const Reading&) = delete;
};

class Writing {
  public:
    Writing() { AcquireSRWLockExclusive(&registryLock); }
    ~Writing() { ReleaseSRWLockExclusive(&registryLock); }
    Writing(const Writing&) = delete;
    Writing& operator=(const Writing&) = delete;
};

}  // namespace

bool IsThreadWindow(HWND hwnd) {
    // for a window of this process the platform answers from its own memory; 0 for none
    return hwnd != nullptr && GetWindowThreadProcessId(hwnd, nullptr) == GetCurrentThreadId();
}

bool SetWindowObject(HWND hwnd, WindowRole role, void* object) {
    if (role >= WindowRole::Count || !IsThreadWindow(hwnd)) return false;
    if (object == nullptr) {
        ClearWindowObject(hwnd, role, WindowObject(hwnd, role));
        return true;
    }
    const Writing hold;
    Registry()[hwnd][Slot(role)] = object;
    return true;
}

void ClearWindowObject(HWND hwnd, WindowRole role, const void* object) {
    if (role >= WindowRole::Count || object == nullptr) return;
    const Writing hold;
    auto& registry = Registry();
    const auto found = registry.find(hwnd);
    if (found == registry.end() || found->second[Slot(role)] != object) return;
    found->second[Slot(role)] = nullptr;
    for (void* other : found->second)
        if (other != nullptr) return;
    registry.erase(found);  // the window has no object left
}

void ForgetWindow(HWND hwnd) {
    const Writing hold;
    Registry().erase(hwnd);
}

void* WindowObject(HWND hwnd, WindowRole role) {
    if (hwnd == nullptr || role >= WindowRole::Count) return nullptr;
    void* object = nullptr;
    {
        const Reading hold;
        const auto& registry = Registry();
        const auto found = registry.find(hwnd);
        if (found != registry.end()) object = found->second[Slot(role)];
    }
    // only the window's own thread is answered; an entry left by a window that is gone, whose
    // handle may name another window now, answers nothing either
    return object != nullptr && IsThreadWindow(hwnd) ? object : nullptr;
}

}  // namespace quorelle
