// The global keys with the system: what registering section Hotkeys makes of each action (a key
// another window holds is taken and the others still work), and the on-screen display: its
// window's ways, its place and time, and the alert object assistive tools read.
#include <gtest/gtest.h>
#include <windows.h>
#include <oleacc.h>

#include <filesystem>

#include "app/hotkeys_win32.h"
#include "app/osd_win32.h"
#include "console_host.h"
#include "controls/dpi_win32.h"
#include "controls/scale.h"
#include "settings/ini_file.h"
#include "settings/settings.h"

namespace fs = std::filesystem;

namespace quorelle {
namespace {

using pages::HotKeyAction;

HWND PlainWindow() {
    return CreateWindowExW(0, L"STATIC", L"hot-key owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                           nullptr, nullptr);
}

TEST(GlobalHotKeys, EachActionGetsItsKeyATakenKeyLeavesTheOthersWorking) {
    const fs::path dir = fs::temp_directory_path() / "quorelle-hotkeys-win32";
    fs::remove_all(dir);
    fs::create_directories(dir);
    IniFileSettings settings(dir);
    SetSettingsBackend(&settings);
    WriteSettingText(kCplIni, "Hotkeys", "NextPreset", "Ctrl+Shift+F11");
    WriteSettingText(kCplIni, "Hotkeys", "DrySound", "Alt+F11");
    WriteSettingText(kCplIni, "Hotkeys", "NextEnvironment", "Ctrl+Banana");
    WriteSettingText(kCplIni, "Hotkeys", "ShowPanel", "");
    HWND other = PlainWindow();
    HWND owner = PlainWindow();
    ASSERT_TRUE(RegisterHotKey(other, 7, MOD_ALT, VK_F11)) << "Alt+F11 is free here";
    {
        GlobalHotKeys keys;
        keys.RegisterAll(owner);
        EXPECT_EQ(keys.Status(HotKeyAction::NextPreset), HotKeyStatus::Registered);
        EXPECT_EQ(keys.Status(HotKeyAction::DrySound), HotKeyStatus::Taken);
        EXPECT_EQ(keys.Status(HotKeyAction::NextEnvironment), HotKeyStatus::Unreadable);
        EXPECT_EQ(keys.Status(HotKeyAction::ShowPanel), HotKeyStatus::None);
        EXPECT_EQ(keys.Status(HotKeyAction::PreviousPreset), HotKeyStatus::None);
        // held by the panel: nobody else gets Ctrl+Shift+F11 until it lets go
        EXPECT_FALSE(RegisterHotKey(other, 8, MOD_CONTROL | MOD_SHIFT, VK_F11));
        // registering again after a change lets go of the old keys first
        UnregisterHotKey(other, 7);
        WriteSettingText(kCplIni, "Hotkeys", "NextPreset", "");
        keys.RegisterAll(owner);
        EXPECT_EQ(keys.Status(HotKeyAction::DrySound), HotKeyStatus::Registered);
        EXPECT_EQ(keys.Status(HotKeyAction::NextPreset), HotKeyStatus::None);
        EXPECT_TRUE(RegisterHotKey(other, 8, MOD_CONTROL | MOD_SHIFT, VK_F11));
        UnregisterHotKey(other, 8);
        EXPECT_EQ(GlobalHotKeys::ActionOf(GlobalHotKeys::kFirstId + 4), HotKeyAction::ShowPanel);
        EXPECT_FALSE(GlobalHotKeys::ActionOf(GlobalHotKeys::kFirstId + 5).has_value());
    }
    // gone with its owner object
    EXPECT_TRUE(RegisterHotKey(other, 9, MOD_ALT, VK_F11));
    UnregisterHotKey(other, 9);
    DestroyWindow(owner);
    DestroyWindow(other);
    SetSettingsBackend(nullptr);
    fs::remove_all(dir);
}

// The dialog at a new display scale, with the message and rectangle Windows sends (Wine sends
// none): every control is laid out again at the new DPI and the window takes its new size.
TEST(HotKeyDialog, ANewDisplayScaleLaysItOutAgain) {
    struct Seen {
        int dpi = 0;
        SIZE field96{}, field192{};
        RECT frame192{};
    };
    static Seen seen;
    const auto fieldSize = [](HWND dialog) {
        RECT r;
        GetWindowRect(GetDlgItem(dialog, 200), &r);
        return SIZE{r.right - r.left, r.bottom - r.top};
    };
    static decltype(fieldSize)* size = &fieldSize;
    SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        HWND dialog = FindWindowW(nullptr, L"Hot Keys");
        if (!dialog) return;
        seen.dpi = controls::WindowDpi(dialog);
        seen.field96 = (*size)(dialog);
        RECT suggested{100, 100, 1200, 700};
        SendMessageW(dialog, WM_DPICHANGED, MAKEWPARAM(192, 192),
                     reinterpret_cast<LPARAM>(&suggested));
        seen.field192 = (*size)(dialog);
        GetWindowRect(dialog, &seen.frame192);
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    HWND owner = PlainWindow();
    GlobalHotKeys keys;
    RunHotKeyDialog(owner, keys, kLanguageEnglish);
    DestroyWindow(owner);
    ASSERT_GT(seen.dpi, 0) << "the dialog was not found";
    // a field is 160 x 24 logical pixels, 210 from the left; the client area 670 wide
    EXPECT_EQ(seen.field96.cx,
              controls::ToDevice(210 + 160, seen.dpi) - controls::ToDevice(210, seen.dpi));
    EXPECT_EQ(seen.field192.cx, 320);
    EXPECT_EQ(seen.field192.cy, 48);
    EXPECT_EQ(seen.frame192.left, 100);
    EXPECT_GE(seen.frame192.right - seen.frame192.left, 1340);
}

TEST(OnScreenDisplay, ShowsWithoutActivationNamesItsTextAsAnAlertAndGoesAway) {
    HWND front = PlainWindow();
    ShowWindow(front, SW_SHOW);
    SetForegroundWindow(front);
    quorelle::testing::PumpMessages();
    const HWND active = GetActiveWindow();

    OnScreenDisplay osd;
    osd.Show(L"EQ Preset: Jazz");
    HWND w = osd.Hwnd();
    ASSERT_NE(w, nullptr);
    const LONG_PTR ex = GetWindowLongPtrW(w, GWL_EXSTYLE);
    for (LONG_PTR style : {WS_EX_NOACTIVATE, WS_EX_TRANSPARENT, WS_EX_TOOLWINDOW, WS_EX_TOPMOST})
        EXPECT_EQ(ex & style, style) << std::hex << style;
    EXPECT_TRUE(IsWindowVisible(w));
    EXPECT_EQ(GetActiveWindow(), active) << "the display took the activation";
    EXPECT_NE(GetFocus(), w);

    // near the bottom centre of the pointer's monitor
    POINT pointer;
    GetCursorPos(&pointer);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromPoint(pointer, MONITOR_DEFAULTTONEAREST), &info);
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_NEAR((r.left + r.right) / 2, (info.rcWork.left + info.rcWork.right) / 2, 1);
    EXPECT_GT(r.top, (info.rcWork.top + info.rcWork.bottom) / 2);
    EXPECT_LE(r.bottom, info.rcWork.bottom);

    // a second key replaces the text; the accessible object is an alert named with it
    osd.Show(L"EQ Preset: Metal");
    const DWORD shown = GetTickCount();
    EXPECT_EQ(osd.Hwnd(), w);
    IAccessible* acc = nullptr;
    constexpr GUID kIidAccessible = {
        0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
    ASSERT_EQ(AccessibleObjectFromWindow(w, DWORD(OBJID_CLIENT), kIidAccessible,
                                         reinterpret_cast<void**>(&acc)),
              S_OK);
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT role;
    VariantInit(&role);
    EXPECT_EQ(acc->get_accRole(self, &role), S_OK);
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_ALERT);
    BSTR name = nullptr;
    EXPECT_EQ(acc->get_accName(self, &name), S_OK);
    EXPECT_EQ(std::wstring(name ? name : L""), L"EQ Preset: Metal");
    SysFreeString(name);
    acc->Release();

    // it goes by itself, about 1.5 s after the last key
    while (IsWindowVisible(w) && GetTickCount() - shown < 5000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        quorelle::testing::PumpMessages();
    }
    const DWORD lasted = GetTickCount() - shown;
    EXPECT_FALSE(IsWindowVisible(w));
    EXPECT_GE(lasted, 1400u);
    EXPECT_LE(lasted, 2500u);
    DestroyWindow(front);
}

}  // namespace
}  // namespace quorelle
