#include "app/tray_win32.h"

#include <shellapi.h>

#include <string>

#include "base/handles_win32.h"
#include "base/messages.h"
#include "base/texts.h"
#include "base/text_win32.h"
#include "base/version.h"
#include "app/window_protocol.h"
#include "resource.h"

namespace quorelle {

namespace {
TrayIcon::ShellNotify shellNotify = Shell_NotifyIconW;
}  // namespace

void TrayIcon::SetShellNotifyForTests(ShellNotify notify) {
    shellNotify = notify != nullptr ? notify : Shell_NotifyIconW;
}

bool TrayIcon::Notify(DWORD action, const std::wstring& balloon) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = owner_;
    data.uID = kTrayIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_TRAY_NOTIFY;
    data.hIcon = icon_;
    const std::wstring tip = Widen(QUORELLE_PRODUCT_NAME);
    lstrcpynW(data.szTip, tip.c_str(), static_cast<int>(std::size(data.szTip)));
    if (!balloon.empty()) {
        data.uFlags |= NIF_INFO;
        data.dwInfoFlags = NIIF_WARNING;
        lstrcpynW(data.szInfo, balloon.c_str(), static_cast<int>(std::size(data.szInfo)));
        lstrcpynW(data.szInfoTitle, tip.c_str(), static_cast<int>(std::size(data.szInfoTitle)));
    }
    return shellNotify(action, &data) != FALSE;
}

bool TrayIcon::Add(HWND owner, HICON icon) {
    owner_ = owner;
    icon_ = icon;
    shown_ = Notify(NIM_ADD);
    ShowPendingBalloon();
    return shown_;
}

bool TrayIcon::Restore() {
    if (!owner_) return false;
    shown_ = Notify(NIM_ADD);
    ShowPendingBalloon();
    return shown_;
}

void TrayIcon::ShowBalloon(const std::wstring& text) {
    if (text.empty()) return;
    if (!pendingBalloon_.empty()) pendingBalloon_ += L"\n";
    pendingBalloon_ += text;
    ShowPendingBalloon();
}

void TrayIcon::ShowPendingBalloon() {
    if (!shown_ || pendingBalloon_.empty()) return;
    if (Notify(NIM_MODIFY, pendingBalloon_)) pendingBalloon_.clear();
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

namespace {

// Appends an item (and a sub-menu's items) to `menu` at `position`.
bool InsertSoundItem(HMENU menu, UINT position, const pages::SoundMenuItem& item) {
    using Kind = pages::SoundMenuItem::Kind;
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE;
    if (item.kind == Kind::Separator) {
        info.fType = MFT_SEPARATOR;
        return InsertMenuItemW(menu, position, TRUE, &info) != FALSE;
    }
    const std::wstring text = Widen(item.text);
    info.fMask |= MIIM_STRING;
    info.fType = MFT_STRING | (item.radio ? MFT_RADIOCHECK : 0);
    info.fState = (item.checked ? MFS_CHECKED : 0) | (item.greyed ? MFS_GRAYED : 0);
    info.dwTypeData = const_cast<wchar_t*>(text.c_str());
    UniqueMenu sub;
    if (item.kind == Kind::SubMenu) {
        sub.reset(CreatePopupMenu());
        if (!sub) return false;
        UINT i = 0;
        for (const pages::SoundMenuItem& child : item.items)
            if (InsertSoundItem(sub.get(), i, child)) ++i;
        info.fMask |= MIIM_SUBMENU;
        info.hSubMenu = sub.get();
    } else {
        info.fMask |= MIIM_ID;
        info.wID = UINT(item.command);
    }
    if (!InsertMenuItemW(menu, position, TRUE, &info)) return false;
    (void)sub.release();  // the menu owns its sub-menu now
    return true;
}

}  // namespace

pages::SoundMenuItem StartWithWindowsItem(bool ticked, int language) {
    pages::SoundMenuItem item;
    item.text =
        pages::WithAccessKeys({kStartWithWindowsItem[size_t(IsLanguage(language) ? language : 0)]})
            .front();
    item.command = kStartWithWindowsCommand;
    item.checked = ticked;
    return item;
}

UniqueMenu LoadTrayMenu(const pages::SoundMenuItem& sound,
                        const std::vector<pages::SoundMenuItem>& after) {
    UniqueMenu menu(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_TRAY_MENU)));
    HMENU popup = menu ? GetSubMenu(menu.get(), 0) : nullptr;
    if (!popup) return menu;
    const int count = GetMenuItemCount(popup);
    int before = 0;
    while (before < count && GetMenuItemID(popup, before) != ID_TRAY_SHOW) ++before;
    UINT at = UINT(before);
    if (InsertSoundItem(popup, at, sound)) ++at;
    for (const pages::SoundMenuItem& item : after)
        if (InsertSoundItem(popup, at, item)) ++at;
    return menu;
}

int ShowTrayMenu(HWND owner, const pages::SoundMenuItem& sound,
                 const std::vector<pages::SoundMenuItem>& after) {
    POINT cursor{};
    GetCursorPos(&cursor);
    UniqueMenu menu = LoadTrayMenu(sound, after);
    HMENU popup = menu ? GetSubMenu(menu.get(), 0) : nullptr;
    if (!popup) return 0;
    // the menu closes when the user clicks elsewhere only while its owner is in front
    SetForegroundWindow(owner);
    const BOOL chosen = TrackPopupMenu(popup, TPM_RETURNCMD | TPM_NONOTIFY, cursor.x, cursor.y - 20,
                                       0, owner, nullptr);
    PostMessageW(owner, WM_NULL, 0, 0);
    return int(chosen);
}

}  // namespace quorelle
