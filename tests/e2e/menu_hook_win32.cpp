// menu_hook.dll: reads the pop-up menus a program shows, inside its process (under Wine a menu
// lives in its process: another process cannot read its items). e2eprobe hooks the program's
// window thread with it (WH_CALLWNDPROC; the system loads the library into that process) and
// sends a window of that thread the message "QuorelleE2eMenu"; the hook then writes, into the
// file mapping of the same name that the probe created, the process id and a UTF-16 text:
// for each visible pop-up menu window of the thread, topmost first, a line "popup" and a line
// per item, its sub-menus' items after it indented by two spaces:
//   TEXT<tab>ID<tab>MARKS<tab>X Y W H
// TEXT as the item holds it ('&' marks the access key), MARKS among "checked radio greyed
// popup" ("separator" for a separator, "-" for none), and the item's screen rectangle on the
// shown level ("-" on the sub-menus' lines).
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

constexpr size_t kMappingSize = 1 << 20;

void Describe(HWND shown, HMENU menu, const std::wstring& indent, std::wstring& out) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[512] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 512;
        if (!GetMenuItemInfoW(menu, UINT(i), TRUE, &info)) continue;
        std::wstring marks;
        const auto mark = [&marks](bool on, const wchar_t* word) {
            if (!on) return;
            if (!marks.empty()) marks += L' ';
            marks += word;
        };
        mark((info.fType & MFT_SEPARATOR) != 0, L"separator");
        mark((info.fState & MFS_CHECKED) != 0, L"checked");
        mark((info.fType & MFT_RADIOCHECK) != 0, L"radio");
        mark((info.fState & MFS_GRAYED) != 0, L"greyed");
        mark(info.hSubMenu != nullptr, L"popup");
        std::wstring place = L"-";
        RECT r{};
        if (shown && GetMenuItemRect(shown, menu, UINT(i), &r))
            place = std::to_wstring(r.left) + L' ' + std::to_wstring(r.top) + L' ' +
                    std::to_wstring(r.right - r.left) + L' ' + std::to_wstring(r.bottom - r.top);
        out += indent + text + L'\t' + std::to_wstring(info.hSubMenu ? 0 : info.wID) + L'\t' +
               (marks.empty() ? L"-" : marks) + L'\t' + place + L'\n';
        if (info.hSubMenu) Describe(nullptr, info.hSubMenu, indent + L"  ", out);
    }
}

void Report() {
    std::wstring out;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM p) -> BOOL {
            wchar_t cls[16] = {};
            GetClassNameW(w, cls, 16);
            if (!IsWindowVisible(w) || std::wstring(cls) != L"#32768") return TRUE;
            auto menu = reinterpret_cast<HMENU>(SendMessageW(w, MN_GETHMENU, 0, 0));
            if (!menu) return TRUE;
            auto& text = *reinterpret_cast<std::wstring*>(p);
            text += L"popup\n";
            Describe(w, menu, L"", text);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&out));
    HANDLE mapping = OpenFileMappingW(FILE_MAP_WRITE, FALSE, L"QuorelleE2eMenu");
    if (!mapping) return;
    if (auto* view = static_cast<uint8_t*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0))) {
        const uint32_t pid = GetCurrentProcessId();
        const size_t bytes = std::min(out.size() * sizeof(wchar_t), kMappingSize - 10);
        std::memcpy(view + 4, out.data(), bytes);
        std::memset(view + 4 + bytes, 0, 2);
        std::memcpy(view, &pid, 4);
        UnmapViewOfFile(view);
    }
    CloseHandle(mapping);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK MenuHook(int code, WPARAM wParam, LPARAM lParam) {
    static const UINT ask = RegisterWindowMessageW(L"QuorelleE2eMenu");
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == ask) Report();
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
