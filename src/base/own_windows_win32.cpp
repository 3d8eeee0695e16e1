#include "base/own_windows_win32.h"

#include <array>
#include <cstddef>
#include <unordered_map>

namespace quorelle {

namespace {

using Objects = std::array<void*, static_cast<size_t>(WindowRole::Count)>;

// What the program keeps for one of its windows: its objects by role and the DPI it is drawn
// for (0 while none is kept).
struct Entry {
    Objects objects{};
    int drawnDpi = 0;

    bool Empty() const {
        for (void* object : objects)
            if (object != nullptr) return false;
        return drawnDpi == 0;
    }
};

// The windows that have an object, and their objects by role. One table for the process under a
// slim reader/writer lock (user-mode, no request to the window server): each entry is made and read
// only on its window's thread, but threads of their own (the tests', the platform's) make windows
// too.
SRWLOCK registryLock = SRWLOCK_INIT;
std::unordered_map<HWND, Entry>& Registry() {
    static auto* registry = new std::unordered_map<HWND, Entry>;  // outlives every window
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
    Registry()[hwnd].objects[Slot(role)] = object;
    return true;
}

void ClearWindowObject(HWND hwnd, WindowRole role, const void* object) {
    if (role >= WindowRole::Count || object == nullptr) return;
    const Writing hold;
    auto& registry = Registry();
    const auto found = registry.find(hwnd);
    if (found == registry.end() || found->second.objects[Slot(role)] != object) return;
    found->second.objects[Slot(role)] = nullptr;
    if (found->second.Empty()) registry.erase(found);  // nothing left for the window
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
        if (found != registry.end()) object = found->second.objects[Slot(role)];
    }
    // only the window's own thread is answered; an entry left by a window that is gone, whose
    // handle may name another window now, answers nothing either
    return object != nullptr && IsThreadWindow(hwnd) ? object : nullptr;
}

bool SetKeptDrawnDpi(HWND hwnd, int dpi) {
    if (dpi <= 0 || !IsThreadWindow(hwnd)) return false;
    const Writing hold;
    Registry()[hwnd].drawnDpi = dpi;
    return true;
}

int KeptDrawnDpi(HWND hwnd) {
    if (hwnd == nullptr) return 0;
    int dpi = 0;
    {
        const Reading hold;
        const auto& registry = Registry();
        const auto found = registry.find(hwnd);
        if (found != registry.end()) dpi = found->second.drawnDpi;
    }
    return dpi > 0 && IsThreadWindow(hwnd) ? dpi : 0;
}

}  // namespace quorelle
