#include <windows.h>

#include "base/main_window_handle_win32.h"
#include "base/text_win32.h"
#include "device/conflib.h"
#include "device/conflib_win32.h"

namespace quorelle::device {

namespace {

std::u16string ToU16(const std::wstring& s) {
    return std::u16string(s.begin(), s.end());
}
std::wstring ToWide(const std::u16string& s) {
    return std::wstring(s.begin(), s.end());
}

bool OsVersionSupported() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!GetVersionExW(&info)) return false;
    return OsSupportsConfLib(info.dwMajorVersion, info.dwMinorVersion);
}

}  // namespace

bool LoadConfLib() {
    const std::wstring modulePath = ModulePath();
    if (modulePath.empty()) return false;
    const std::u16string path =
        ConfLibPath(DirectoryOfModulePath(ToU16(modulePath)), OsVersionSupported());
    if (path.empty()) return false;
    HMODULE module = LoadLibraryW(ToWide(path).c_str());
    if (!module) return false;
    ConfLibSlots() = ResolveEntryPoints([module](const char* name) {
        return reinterpret_cast<void*>(GetProcAddress(module, name));
    });
    return true;
}

void PostConfLibEvent(HWND target, int32_t event, uint32_t flags) noexcept {
    const uint32_t message = ConfLibEventMessage(event, flags);
    if (message == 0 || !target || !ConfLibEvents().Arm(message)) return;
    if (!PostMessageW(target, message, 0, 0)) ConfLibEvents().Disarm(message);
}

void ConfLibCallback(void*, void*, int32_t event, uint32_t flags) noexcept {
    PostConfLibEvent(AppMainWindow(), event, flags);
}

}  // namespace quorelle::device
