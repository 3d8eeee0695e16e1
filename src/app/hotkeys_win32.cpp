#include "app/hotkeys_win32.h"

#include <commctrl.h>

#include <string>

#include "base/diagnostics.h"
#include "base/own_windows_win32.h"
#include "base/text_win32.h"
#include "base/texts.h"
#include "controls/dpi_win32.h"
#include "controls/gdi_win32.h"
#include "controls/label_win32.h"
#include "controls/scale.h"

namespace quorelle {

using pages::HotKeyAction;

// ---- registration -------------------------------------------------------------------------------

void GlobalHotKeys::UnregisterAll() {
    for (int i = 0; i < pages::kHotKeyActionCount; ++i) {
        if (held_[size_t(i)]) UnregisterHotKey(owner_, kFirstId + i);
        held_[size_t(i)] = false;
    }
}

void GlobalHotKeys::RegisterAll(HWND owner) {
    UnregisterAll();
    owner_ = owner;
    for (int i = 0; i < pages::kHotKeyActionCount; ++i) {
        const pages::StoredHotKey stored = pages::ReadStoredHotKey(HotKeyAction(i));
        HotKeyStatus& status = status_[size_t(i)];
        if (!stored.key) {
            status = stored.Unreadable() ? HotKeyStatus::Unreadable : HotKeyStatus::None;
            continue;
        }
        // a key held down repeats no action where the system can tell a repeat
        constexpr UINT kNoRepeat = 0x4000;
        const UINT modifiers = stored.key->modifiers;
        bool held = RegisterHotKey(owner, kFirstId + i, modifiers | kNoRepeat, stored.key->key);
        if (!held && GetLastError() != ERROR_HOTKEY_ALREADY_REGISTERED)
            held = RegisterHotKey(owner, kFirstId + i, modifiers, stored.key->key);
        held_[size_t(i)] = held;
        status = held ? HotKeyStatus::Registered : HotKeyStatus::Taken;
    }
}

std::optional<HotKeyAction> GlobalHotKeys::ActionOf(WPARAM id) {
    if (id < WPARAM(kFirstId) || id >= WPARAM(kFirstId + pages::kHotKeyActionCount))
        return std::nullopt;
    return HotKeyAction(id - kFirstId);
}

// ---- the dialog ---------------------------------------------------------------------------------

namespace {

using Texts = std::array<const wchar_t*, 3>;
constexpr Texts kTitle = {L"热键", L"熱鍵", L"Hot Keys"};
constexpr Texts kClear = {L"清除", L"清除", L"Clear"};
constexpr Texts kSave = {L"保存(&S)", L"儲存(&S)", L"&Save"};
constexpr Texts kClose = {L"关闭", L"關閉", L"Close"};
constexpr Texts kWorks = {L"可用", L"可用", L"Works"};
constexpr Texts kTaken = {L"已被其他程序占用", L"已被其他程式佔用", L"Taken by another program"};
constexpr Texts kUnreadable = {L"无法读取：", L"無法讀取：", L"Cannot read: "};
constexpr Texts kNoKey = {L"无", L"無", L"None"};

int Lang(int language) {
    return IsLanguage(language) ? language : kLanguageSimplified;
}

// Control ids: a row's controls are these plus the action's index.
constexpr int kLabelId = 100;
constexpr int kKeyId = 200;
constexpr int kClearId = 300;
constexpr int kStatusId = 400;

// The layout in logical pixels.
constexpr int kMargin = 12;
constexpr int kRowHeight = 32;
constexpr int kFieldHeight = 24;
constexpr int kLabelWidth = 190;
constexpr int kKeyWidth = 160;
constexpr int kClearWidth = 72;
constexpr int kStatusWidth = 200;
constexpr int kGap = 8;
constexpr int kButtonWidth = 90;
constexpr int kButtonHeight = 26;
constexpr int kClientWidth =
    kMargin + kLabelWidth + kGap + kKeyWidth + kGap + kClearWidth + kGap + kStatusWidth + kMargin;
constexpr int kClientHeight =
    kMargin + pages::kHotKeyActionCount * kRowHeight + kMargin + kButtonHeight + kMargin;
constexpr int kPointTenths = 90;

// The platform's hot-key control keeps its modifiers in bits of its own, and names the keys of
// the navigation block by their keypad twins unless they are marked extended.
bool IsExtendedKey(uint32_t vk) {
    return (vk >= VK_PRIOR && vk <= VK_DOWN) || vk == VK_INSERT || vk == VK_DELETE ||
           vk == VK_DIVIDE || vk == VK_NUMLOCK;
}
WORD ControlValue(const pages::HotKey& key) {
    BYTE flags = IsExtendedKey(key.key) ? HOTKEYF_EXT : 0;
    if (key.modifiers & pages::kModShift) flags |= HOTKEYF_SHIFT;
    if (key.modifiers & pages::kModCtrl) flags |= HOTKEYF_CONTROL;
    if (key.modifiers & pages::kModAlt) flags |= HOTKEYF_ALT;
    return MAKEWORD(BYTE(key.key), flags);
}
std::optional<pages::HotKey> KeyOfControlValue(LRESULT value) {
    const BYTE vk = LOBYTE(LOWORD(value));
    const BYTE flags = HIBYTE(LOWORD(value));
    if (vk == 0) return std::nullopt;
    pages::HotKey key;
    key.key = vk;
    if (flags & HOTKEYF_SHIFT) key.modifiers |= pages::kModShift;
    if (flags & HOTKEYF_CONTROL) key.modifiers |= pages::kModCtrl;
    if (flags & HOTKEYF_ALT) key.modifiers |= pages::kModAlt;
    return key;
}

struct Dialog {
    HWND owner = nullptr;
    GlobalHotKeys* keys = nullptr;
    int language = 0;
    HWND hwnd = nullptr;
    HWND* open = nullptr;  // where the running dialog is known
    gdi::Font font;
    std::array<pages::StoredHotKey, pages::kHotKeyActionCount> stored;
    std::array<bool, pages::kHotKeyActionCount> changed{};
    std::array<HotKeyStatus, pages::kHotKeyActionCount> status{};

    HWND Item(int id) const { return GetDlgItem(hwnd, id); }

    // The DPI the window is drawn for (kept with the window: controls::DrawnDpi).
    int Dpi() const { return controls::DrawnDpi(hwnd); }

    void Place(int id, int x, int y, int w, int h) const {
        using controls::ToDevice;
        const int dpi = Dpi();
        SetWindowPos(Item(id), nullptr, ToDevice(x, dpi), ToDevice(y, dpi),
                     ToDevice(x + w, dpi) - ToDevice(x, dpi),
                     ToDevice(y + h, dpi) - ToDevice(y, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(Item(id), WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
    }

    // Every control at the window's scale; the window's client area to fit.
    void Layout(int newDpi) {
        controls::SetDrawnDpi(hwnd, newDpi);
        // the old font goes once every control holds the new one
        const gdi::Font previous = std::move(font);
        font = controls::CreatePointFont(kPointTenths, controls::kLabelFace, newDpi);
        for (int i = 0; i < pages::kHotKeyActionCount; ++i) {
            const int y = kMargin + i * kRowHeight;
            int x = kMargin;
            Place(kLabelId + i, x, y + 4, kLabelWidth, kFieldHeight - 4);
            Place(kKeyId + i, x += kLabelWidth + kGap, y, kKeyWidth, kFieldHeight);
            Place(kClearId + i, x += kKeyWidth + kGap, y, kClearWidth, kFieldHeight);
            Place(kStatusId + i, x + kClearWidth + kGap, y + 4, kStatusWidth, kFieldHeight - 4);
        }
        const int buttons = kMargin + pages::kHotKeyActionCount * kRowHeight + kMargin;
        Place(IDOK, kClientWidth - kMargin - 2 * kButtonWidth - kGap, buttons, kButtonWidth,
              kButtonHeight);
        Place(IDCANCEL, kClientWidth - kMargin - kButtonWidth, buttons, kButtonWidth,
              kButtonHeight);
        InvalidateRect(hwnd, nullptr, TRUE);
    }

    SIZE FrameSize() const {
        const int dpi = Dpi();
        RECT r{0, 0, controls::ToDevice(kClientWidth, dpi), controls::ToDevice(kClientHeight, dpi)};
        const DWORD style = DWORD(GetWindowLongPtrW(hwnd, GWL_STYLE));
        const DWORD ex = DWORD(GetWindowLongPtrW(hwnd, GWL_EXSTYLE));
        using AdjustForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
        static const auto adjustForDpi = reinterpret_cast<AdjustForDpiFn>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
        if (adjustForDpi == nullptr || !adjustForDpi(&r, style, FALSE, ex, UINT(dpi)))
            AdjustWindowRectEx(&r, style, FALSE, ex);
        return {r.right - r.left, r.bottom - r.top};
    }

    void ShowStatus(int i) const {
        const int lang = Lang(language);
        std::wstring text;
        switch (status[size_t(i)]) {
            case HotKeyStatus::None:
                text = kNoKey[size_t(lang)];
                break;
            case HotKeyStatus::Registered:
                text = kWorks[size_t(lang)];
                break;
            case HotKeyStatus::Taken:
                text = kTaken[size_t(lang)];
                break;
            case HotKeyStatus::Unreadable:
                text = kUnreadable[size_t(lang)] + Widen(stored[size_t(i)].text);
                break;
        }
        // the control shows no Win key: the stored text says it
        const auto& key = stored[size_t(i)].key;
        if (key && (key->modifiers & pages::kModWin) != 0)
            text += L" (" + Widen(stored[size_t(i)].text) + L")";
        SetWindowTextW(Item(kStatusId + i), text.c_str());
    }

    void Create(const wchar_t* cls, const std::wstring& text, DWORD style, int id) const {
        CreateWindowExW(0, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, hwnd,
                        reinterpret_cast<HMENU>(INT_PTR(id)), GetModuleHandleW(nullptr), nullptr);
    }

    void Init() {
        const int lang = Lang(language);
        SetWindowTextW(hwnd, kTitle[size_t(lang)]);
        // in the tab order each key's name comes before its control, which assistive tools
        // read as the control's name
        for (int i = 0; i < pages::kHotKeyActionCount; ++i) {
            const auto action = HotKeyAction(i);
            stored[size_t(i)] = pages::ReadStoredHotKey(action);
            status[size_t(i)] = keys->Status(action);
            if (stored[size_t(i)].Unreadable()) status[size_t(i)] = HotKeyStatus::Unreadable;
            Create(L"STATIC", Widen(pages::HotKeyActionName(action, lang)) + L":", SS_LEFT,
                   kLabelId + i);
            Create(HOTKEY_CLASSW, L"", WS_TABSTOP | WS_BORDER, kKeyId + i);
            if (const auto& key = stored[size_t(i)].key)
                SendMessageW(Item(kKeyId + i), HKM_SETHOTKEY, ControlValue(*key), 0);
            Create(L"BUTTON", kClear[size_t(lang)], WS_TABSTOP | BS_PUSHBUTTON, kClearId + i);
            Create(L"STATIC", L"", SS_LEFT | SS_NOPREFIX, kStatusId + i);
            ShowStatus(i);
        }
        Create(L"BUTTON", kSave[size_t(lang)], WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK);
        Create(L"BUTTON", kClose[size_t(lang)], WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL);
        Layout(controls::WindowDpi(hwnd));
        // centred on the monitor the owner is on, or the pointer's
        const SIZE size = FrameSize();
        POINT at{};
        GetCursorPos(&at);
        HMONITOR monitor = owner && IsWindowVisible(owner)
                               ? MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST)
                               : MonitorFromPoint(at, MONITOR_DEFAULTTONEAREST);
        MONITORINFO info{};
        info.cbSize = sizeof info;
        GetMonitorInfoW(monitor, &info);
        const RECT& work = info.rcWork;
        SetWindowPos(hwnd, HWND_TOPMOST, (work.left + work.right - size.cx) / 2,
                     (work.top + work.bottom - size.cy) / 2, size.cx, size.cy, 0);
        // the keys go while the dialog is open, so that its controls can take them
        keys->UnregisterAll();
        SetFocus(Item(kKeyId));
    }

    void Save() {
        for (int i = 0; i < pages::kHotKeyActionCount; ++i) {
            if (!changed[size_t(i)]) continue;
            const LRESULT value = SendMessageW(Item(kKeyId + i), HKM_GETHOTKEY, 0, 0);
            pages::StoreHotKey(HotKeyAction(i), KeyOfControlValue(value));
            changed[size_t(i)] = false;
        }
        // what each key became, told at once; they are let go again until the dialog closes
        keys->RegisterAgain();
        for (int i = 0; i < pages::kHotKeyActionCount; ++i) {
            stored[size_t(i)] = pages::ReadStoredHotKey(HotKeyAction(i));
            status[size_t(i)] = keys->Status(HotKeyAction(i));
            ShowStatus(i);
        }
        keys->UnregisterAll();
    }

    bool OnCommand(int id, int code) {
        if (id == IDOK) {
            Save();
            return true;
        }
        if (id == IDCANCEL) {
            EndDialog(hwnd, IDCANCEL);
            return true;
        }
        if (id >= kKeyId && id < kKeyId + pages::kHotKeyActionCount && code == EN_CHANGE) {
            changed[size_t(id - kKeyId)] = true;
            return true;
        }
        if (id >= kClearId && id < kClearId + pages::kHotKeyActionCount) {
            const int i = id - kClearId;
            SendMessageW(Item(kKeyId + i), HKM_SETHOTKEY, 0, 0);
            changed[size_t(i)] = true;
            SetFocus(Item(kKeyId + i));
            return true;
        }
        return false;
    }
};

INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    try {
        if (msg == WM_INITDIALOG) {
            auto* dialog = reinterpret_cast<Dialog*>(lParam);
            SetWindowObject(hwnd, WindowRole::OwnWindow, dialog);
            dialog->hwnd = hwnd;
            *dialog->open = hwnd;
            dialog->Init();
            return FALSE;  // the focus was set
        }
        auto* dialog = WindowObjectAs<Dialog>(hwnd, WindowRole::OwnWindow);
        if (!dialog) return FALSE;
        switch (msg) {
            case WM_NCDESTROY:
                ForgetWindow(hwnd);
                return FALSE;
            case WM_COMMAND:
                return dialog->OnCommand(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
            case WM_DPICHANGED: {
                dialog->Layout(HIWORD(wParam));
                const auto* suggested = reinterpret_cast<const RECT*>(lParam);
                const SIZE size = dialog->FrameSize();
                SetWindowPos(hwnd, nullptr, suggested->left, suggested->top, size.cx, size.cy,
                             SWP_NOZORDER | SWP_NOACTIVATE);
                return TRUE;
            }
            default:
                return FALSE;
        }
    } catch (...) {
        ReportCaughtException("hot-key dialog", msg);
        return FALSE;
    }
}

}  // namespace

pages::SoundMenuItem HotKeysItem(int language) {
    constexpr std::array<const char*, 3> texts = {"热键(&H)…", "熱鍵(&H)…", "&Hot keys…"};
    pages::SoundMenuItem item;
    item.text = texts[size_t(Lang(language))];
    item.command = ID_TRAY_HOTKEYS;
    return item;
}

void RunHotKeyDialog(HWND owner, GlobalHotKeys& keys, int language) {
    // the tray's menu still opens while the dialog runs: a second choice of the item brings the
    // open dialog to the front instead of a second one
    static HWND running = nullptr;
    if (running && IsWindow(running)) {
        SetForegroundWindow(running);
        return;
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_HOTKEY_CLASS};
    InitCommonControlsEx(&controls);
    // a template with no controls: they are made at the window's scale when it starts
    struct alignas(4) Template {
        DLGTEMPLATE dialog;
        WORD menu = 0;
        WORD windowClass = 0;
        WORD title = 0;
    } blank{};
    blank.dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    blank.dialog.dwExtendedStyle = WS_EX_DLGMODALFRAME;
    Dialog dialog;
    dialog.owner = owner;
    dialog.keys = &keys;
    dialog.language = language;
    dialog.open = &running;
    DialogBoxIndirectParamW(GetModuleHandleW(nullptr), &blank.dialog, owner, &DialogProc,
                            reinterpret_cast<LPARAM>(&dialog));
    running = nullptr;
    keys.RegisterAgain();
}

}  // namespace quorelle
