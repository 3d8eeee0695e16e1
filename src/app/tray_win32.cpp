#include "app/tray_win32.h"

#include <shellapi.h>

#include "base/handles_win32.h"
#include "base/messages.h"
#include "base/text_win32.h"
#include "base/version.h"
#include "app/window_protocol.h"
#include "resource.h"

namespace quorelle {

bool TrayIcon::Notify(DWORD action) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = owner_;
    data.uID = kTrayIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_TRAY_NOTIFY;
    data.hIcon = icon_;
    const std::wstring tip = Widen(QUORELLE_PRODUCT_NAME);
    lstrcpynW(data.szTip, tip.c_str(), static_cast<int>(std::size(data.szTip)));
    return Shell_NotifyIconW(action, &data) != FALSE;
}

bool TrayIcon::Add(HWND owner, HICON icon) {
    owner_ = owner;
    icon_ = icon;
    shown_ = Notify(NIM_ADD);
    return shown_;
}

bool TrayIcon::Restore() {
    if (!owner_) return false;
    shown_ = Notify(NIM_ADD);
    return shown_;
}

void TrayIcon::Remove() {
    if (!shown_) return;
    Notify(NIM_DELETE);
    shown_ = false;
}

UINT TrayIcon::TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

void ShowTrayMenu(HWND owner) {
    POINT cursor{};
    GetCursorPos(&cursor);
    UniqueMenu menu(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_TRAY_MENU)));
    if (!menu) return;
    HMENU popup = GetSubMenu(menu.get(), 0);
    if (!popup) return;
    // the menu closes when the user clicks elsewhere only while its owner is in front
    SetForegroundWindow(owner);
    TrackPopupMenu(popup, 0, cursor.x, cursor.y - 20, 0, owner, nullptr);
    PostMessageW(owner, WM_NULL, 0, 0);
}

}  // namespace quorelle
