#include "app/main_window_win32.h"

#include <windowsx.h>

#include <optional>

#include "app/application_win32.h"
#include "app/sign_in_win32.h"
#include "base/diagnostics.h"
#include "base/messages.h"
#include "base/notice.h"
#include "base/text_win32.h"
#include "base/version.h"
#include "controls/dpi_win32.h"
#include "controls/scale.h"
#include "device/conflib.h"
#include "device/conflib_win32.h"
#include "pages/hit_area_win32.h"
#include "resource.h"
#include "settings/settings.h"

namespace quorelle {

namespace {

HICON LoadProgramIcon(int cx, int cy) {
    return static_cast<HICON>(
        LoadImageW(ProgramInstance(), MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, cx, cy, 0));
}

// The system's icon size (SM_CXICON, SM_CXSMICON) for a display of dpi.
int IconSize(int metric, int dpi) {
    using ForDpiFn = int(WINAPI*)(int, UINT);
    static const auto forDpi = reinterpret_cast<ForDpiFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi")));
    if (forDpi != nullptr) {
        const int size = forDpi(metric, UINT(dpi));
        if (size > 0) return size;
    }
    return controls::ToDevice(metric == SM_CXSMICON ? 16 : 32, dpi);
}

}  // namespace

CCKorZereDlg::CCKorZereDlg()
    : DialogWindow(IDD_MAIN),
      chrome_(PAGE_MAIN, IDD_MAIN),
      console_(endpoint_, *this),
      protocol_(*this) {}

void CCKorZereDlg::LoadIcons(int dpi) {
    const int big = IconSize(SM_CXICON, dpi);
    const int small = IconSize(SM_CXSMICON, dpi);
    UniqueIcon bigIcon(LoadProgramIcon(big, big));
    UniqueIcon smallIcon(LoadProgramIcon(small, small));
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon.get()));
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.get()));
    // the old icons go once the window shows the new ones
    bigIcon_ = std::move(bigIcon);
    smallIcon_ = std::move(smallIcon);
}

CCKorZereDlg::~CCKorZereDlg() {
    // the main window's own user of the library goes first, then the pages (members)
    device_.UnInit();
    tray_.Remove();
    if (AppMainWindow() == hwnd()) ChangeMainWindow(nullptr);
}

INT_PTR CCKorZereDlg::RunModal(bool inTray) {
    modalEnded_ = false;
    startInTray_ = inTray;
    // The default endpoint is classified on a thread of its own while the windows are built:
    // the audio services' first use loads their drivers. The start-up takes the result where it
    // comes in its order.
    classifying_ = std::async(std::launch::async, [] {
        const ComForThisThread com(COINIT_MULTITHREADED);
        return device::ClassifyDefaultEndpoint();
    });
    if (!Create(nullptr)) return -1;
    if (!startInTray_) ShowMainWindow();
    MSG msg;
    while (!modalEnded_) {
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // leave WM_QUIT to the caller
            break;
        }
        if (got < 0) break;
        HWND dialog = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        const bool ours = dialog && (dialog == hwnd() || GetWindow(dialog, GW_OWNER) == hwnd());
        // Enter and Escape never close the main window: Escape goes no further, nor does Enter
        // on the close button (the space bar presses it)
        if (IsCloseKeyForMe(msg)) continue;
        // the window's Tab, Space, Enter and arrows before the dialog manager's own handling
        // (looked up for key-downs only: the loop dispatches many other messages)
        if (ours && msg.message == WM_KEYDOWN &&
            pages::PageAccessibility::HandlePageKey(dialog, msg))
            continue;
        // an Enter no control of the main window took: the dialog manager would make it the
        // default button's command
        if (dialog == hwnd() && msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN) continue;
        if (ours && IsDialogMessageW(dialog, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    tray_.Remove();
    hotKeys_.UnregisterAll();
    osd_.Hide();
    if (hwnd()) DestroyWindow(hwnd());
    return modalResult_;
}

void CCKorZereDlg::EndModal(INT_PTR result) {
    modalResult_ = result;
    modalEnded_ = true;
    if (hwnd()) PostMessageW(hwnd(), WM_NULL, 0, 0);  // wake the loop
}

bool CCKorZereDlg::IsCloseKeyForMe(const MSG& msg) const {
    if (msg.message != WM_KEYDOWN || !hwnd() || !msg.hwnd) return false;
    if (msg.hwnd != hwnd() && !IsChild(hwnd(), msg.hwnd)) return false;
    if (msg.wParam == VK_ESCAPE) return true;
    HWND close = GetDlgItem(hwnd(), chrome_.CloseButtonId());
    return msg.wParam == VK_RETURN && close != nullptr && GetFocus() == close;
}

HWND CCKorZereDlg::WindowOf(int page) const {
    switch (page) {
        case PAGE_MAIN:
            return hwnd();
        case PAGE_HIFI:
            return hifi_.hwnd();
        case PAGE_ADVANCE:
            return advance_.hwnd();
        case PAGE_INFO:
            return info_.hwnd();
        case PAGE_HP:
            return hp_.hwnd();
        default:
            return nullptr;
    }
}

pages::SecondaryPage* CCKorZereDlg::Page(int page) {
    switch (page) {
        case PAGE_HIFI:
            return &hifi_;
        case PAGE_ADVANCE:
            return &advance_;
        case PAGE_INFO:
            return &info_;
        case PAGE_HP:
            return &hp_;
        default:
            return nullptr;
    }
}

namespace {

// The start-up's notices of a start in the notification area: balloons of the icon (shown once
// it is there), no box that would wait for a user who may not be at the screen.
class BalloonNotices final : public NoticeSink {
  public:
    explicit BalloonNotices(TrayIcon& tray) : tray_(tray), previous_(GetNoticeSink()) {
        SetNoticeSink(this);
    }
    ~BalloonNotices() override { SetNoticeSink(previous_); }
    BalloonNotices(const BalloonNotices&) = delete;
    BalloonNotices& operator=(const BalloonNotices&) = delete;
    void Show(const std::string& textUtf8) override {
        ReportNoticeWithoutBox(textUtf8.c_str());
        tray_.ShowBalloon(Widen(textUtf8));
    }

  private:
    TrayIcon& tray_;
    NoticeSink* previous_;
};

}  // namespace

bool CCKorZereDlg::OnInitDialog() {
    // the start-up's settings writes (the pages' read-backs from the card, the output path)
    // replace each settings file once, when the start is done
    const HeldSettingsWrites startWrites;
    std::optional<BalloonNotices> balloons;
    if (startInTray_) balloons.emplace(tray_);
    ChangeMainWindow(hwnd());
    LoadIcons(controls::DisplayDpi(hwnd()));
    // the notification area is drawn at the system's DPI, whatever display the window is on
    const int trayIcon = IconSize(SM_CXSMICON, controls::SystemDpi());
    trayIcon_.reset(LoadProgramIcon(trayIcon, trayIcon));
    // no caption is drawn; the text names the window for the system and for assistive tools
    SetWindowTextW(hwnd(), Widen(QUORELLE_PRODUCT_NAME).c_str());

    // the controls take their fixed places before the console sets them up, so that the knob
    // cuts its round window from its final size
    chrome_.ApplySkin(hwnd());
    console_.Attach(hwnd());
    chrome_.EnableAccessibility(*this);

    // no task-bar button: the window lives in the notification area
    LONG_PTR ex = GetWindowLongPtrW(hwnd(), GWL_EXSTYLE);
    SetWindowLongPtrW(hwnd(), GWL_EXSTYLE, (ex & ~WS_EX_APPWINDOW) | WS_EX_TOOLWINDOW);

    defaultEndpoint_ =
        classifying_.valid() ? classifying_.get() : device::ClassifyDefaultEndpoint();
    SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

    // the pages, created hidden as owned pop-ups, in this order
    for (pages::SecondaryPage* page :
         {Page(PAGE_HIFI), Page(PAGE_ADVANCE), Page(PAGE_INFO), Page(PAGE_HP)}) {
        page->Create(hwnd());
        if (page->hwnd()) ShowWindow(page->hwnd(), SW_HIDE);
    }

    SetPageTexts(pages::StoredLanguage());
    device::RegisterEndpointListeners(defaultEndpoint_);
    StartDevice();
    console_.StartupOutputKind(defaultEndpoint_.kind);
    tray_.Add(hwnd(), trayIcon_.get());
    console_.StartupEndpointState();
    hotKeys_.RegisterAll(hwnd());
    return true;
}

void CCKorZereDlg::StartDevice() {
    if (!device_.StartMainWindow(device::LoadConfLib())) return;
    device::conflib::RegisterCallbackFunction(
        [](void* context, void* reserved, int32_t event, uint32_t flags) {
            device::ConfLibCallback(context, reserved, event, flags);
        },
        nullptr);
    console_.ApplyDeviceDefaults();
    console_.ReadDeviceState();
}

void CCKorZereDlg::SetPageTexts(int language) {
    chrome_.SetPageTexts(language);
}

bool CCKorZereDlg::OnCommand(int id) {
    if (id == chrome_.CloseButtonId()) {
        protocol_.OnCloseCommand();
        return true;
    }
    if (const int page = chrome_.PageOfButton(id); page >= 0) {
        protocol_.OnNavigate(page);
        return true;
    }
    switch (id) {
        case ID_TRAY_SHOW:
            protocol_.OnTrayShowCommand();
            return true;
        case ID_TRAY_EXIT:
            protocol_.OnExitCommand();
            return true;
        case ID_TRAY_HOTKEYS: {
            // owned by the window on screen, which takes the activation back when it ends
            HWND shown = hwnd();
            for (int page = PAGE_MAIN; page <= PAGE_HP; ++page)
                if (HWND w = WindowOf(page); w && IsWindowVisible(w)) shown = w;
            RunHotKeyDialog(shown, hotKeys_, pages::StoredLanguage());
            return true;
        }
        case ID_LANG_SIMPLIFIED:
        case ID_LANG_TRADITIONAL:
        case ID_LANG_ENGLISH:
            SendMessageW(hwnd(), WM_LANGUAGE_CHANGE, 0, id - ID_LANG_SIMPLIFIED);
            return true;
        case IDOK:
        case IDCANCEL:
            return true;  // the dialog manager's Enter and Escape never close the main window
        default:
            // the tray menu's sound choices act on the HIFI page, shown or not
            return pages::IsSoundCommand(id) && hifi_.ChooseSound(id);
    }
}

bool CCKorZereDlg::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (chrome_.HandleFrameMessage(msg, wParam, lParam, result)) return true;
    switch (msg) {
        case WM_INITDIALOG:
            result = OnInitDialog() ? TRUE : FALSE;
            return true;
        case WM_DPICHANGED:
            OnDpiChanged(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
            result = 0;
            return true;
        case WM_COMMAND:
            return OnCommandMessage(wParam, lParam, result);
        case WM_CLOSE:
            // the system close command (Alt+F4) ends the modal run with the cancel result
            protocol_.OnSystemClose();
            return true;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:  // the second press of a quick double click is a press too
            return OnPress(lParam, result);
        case WM_HSCROLL:
        case SLIDER_MSG_TRACK:
        case SLIDER_MSG_COMMIT:
        case WM_VOLUME_CHANGED:
        case WM_DEFAULT_OUTPUT_CHANGED:
        case WM_CONFLIB_EVENT_A:
        case WM_CONFLIB_EVENT_B:
            return OnConsoleMessage(msg, wParam, lParam, result);
        case WM_LANGUAGE_CHANGE:
        case WM_TRAY_NOTIFY:
        case WM_SHOW_PAGE:
        case WM_MOVE_MAIN:
        case WM_PAGE_NAVIGATE:
        case WM_HOTKEY:
        case WM_DIAGNOSTIC_COUNT:
            return OnProtocolMessage(msg, wParam, lParam, result);
        default:
            return OnRegisteredMessage(msg, result);
    }
}

void CCKorZereDlg::OnDpiChanged(int dpi, const RECT* suggested) {
    // the window, its controls and its icons at the new scale (the notification area's icon
    // stays at the system's)
    chrome_.ChangeDpi(dpi, suggested);
    LoadIcons(dpi);
}

bool CCKorZereDlg::OnCommandMessage(WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (console_.OnCommand(wParam)) {
        result = 0;
        return true;
    }
    if (lParam != 0 && IsNavigationButton(LOWORD(wParam)) &&
        (!controls::IsButtonPress(wParam) || !IsWindowVisible(hwnd()))) {
        return true;  // the second press of a double click on a window already hidden
    }
    return OnCommand(LOWORD(wParam));
}

bool CCKorZereDlg::OnPress(LPARAM lParam, LRESULT& result) {
    // the console's lamps first; unless the mute lamp took the press, the window drags
    // the console's hit tests measure in logical pixels
    if (!console_.OnLButtonDown(pages::ToPoint(pages::LogicalPoint(hwnd(), lParam)))) {
        result = 0;
        return true;
    }
    controls::DragPage(hwnd());
    return false;
}

bool CCKorZereDlg::OnConsoleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
        case WM_HSCROLL:
            console_.OnHScroll(reinterpret_cast<HWND>(lParam));
            return false;
        case SLIDER_MSG_TRACK:
            if (!console_.OnSliderTrack(wParam)) return false;
            result = 1;
            return true;
        case SLIDER_MSG_COMMIT:
            if (!console_.OnSliderCommit(wParam, lParam)) return false;
            result = 1;
            return true;
        case WM_VOLUME_CHANGED:
            result = console_.OnVolumeChanged(wParam);
            return true;
        case WM_DEFAULT_OUTPUT_CHANGED:
            result = console_.OnDefaultOutputChanged(lParam);
            return true;
        case WM_CONFLIB_EVENT_A:
            device::ConfLibEvents().Disarm(msg);
            InvalidateRect(hwnd(), nullptr, TRUE);
            return false;  // then the message takes its normal course
        case WM_CONFLIB_EVENT_B:
            device::ConfLibEvents().Disarm(msg);
            result = 0;
            return true;
        default:
            return false;
    }
}

bool CCKorZereDlg::OnProtocolMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
        case WM_LANGUAGE_CHANGE:
            result = protocol_.OnLanguageChange(static_cast<long>(lParam));
            return true;
        case WM_TRAY_NOTIFY:
            result =
                protocol_.OnTrayNotify(static_cast<unsigned>(wParam), static_cast<long>(lParam));
            return true;
        case WM_SHOW_PAGE:
            result = protocol_.OnShowPage(static_cast<long>(lParam));
            return true;
        case WM_MOVE_MAIN:
            SetWindowPos(hwnd(), nullptr, static_cast<int>(wParam), static_cast<int>(lParam), 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            InvalidateRect(hwnd(), nullptr, TRUE);
            ShowMainWindow();
            result = 1;
            return true;
        case WM_PAGE_NAVIGATE:
            result = OnPageNavigate(static_cast<int>(wParam), static_cast<long>(lParam));
            return true;
        case WM_HOTKEY:
            OnHotKey(wParam);
            result = 0;
            return true;
        case WM_DIAGNOSTIC_COUNT:
            result = static_cast<LRESULT>(wParam == 1   ? NoticeWithoutBoxCount()
                                          : wParam == 2 ? HandledFailureCount()
                                                        : DiagnosticFailureCount());
            return true;
        default:
            return false;
    }
}

bool CCKorZereDlg::OnRegisteredMessage(UINT msg, LRESULT& result) {
    if (msg == ShowRunningCopyMessage()) {
        protocol_.OnTrayShowCommand();  // a second start: the current page's window
        result = 1;
        return true;
    }
    if (msg == TrayIcon::TaskbarCreatedMessage()) {
        tray_.Restore();  // the shell restarted: the icon comes back
        return true;
    }
    return false;
}

// ---- WindowHost -------------------------------------------------------------------------------

void CCKorZereDlg::HideAllBut(int page) {
    for (int other = PAGE_MAIN; other <= PAGE_HP; ++other) {
        HWND w = other != page ? WindowOf(other) : nullptr;
        if (w && IsWindowVisible(w)) ShowWindow(w, SW_HIDE);
    }
}

LRESULT CCKorZereDlg::OnPageNavigate(int from, long target) {
    HWND left = from != PAGE_MAIN ? WindowOf(from) : nullptr;
    if (left == nullptr || target < PAGE_MAIN || target > PAGE_HP) return 0;
    // the main window follows the page left, as every window shares one place
    RECT place;
    GetWindowRect(left, &place);
    SetWindowPos(hwnd(), nullptr, place.left, place.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return protocol_.OnShowPage(target);
}

void CCKorZereDlg::ShowOnly(int page) {
    HWND w = WindowOf(page);
    if (!w) return;
    // ready before it shows (Windows sends no WM_SHOWWINDOW for a normal show), on screen before
    // the window left goes, so the panel never leaves the screen for a moment
    if (page == PAGE_MAIN)
        chrome_.PrepareToShow();
    else if (pages::SecondaryPage* shown = Page(page))
        shown->PrepareToShow();
    ShowWindow(w, SW_SHOWNORMAL);
    HideAllBut(page);
    pages::PageAccessibility::TakeKeyboard(w);
}

void CCKorZereDlg::ShowMainWindow() {
    ShowOnly(PAGE_MAIN);
}

void CCKorZereDlg::HideMainWindow() {
    ShowWindow(hwnd(), SW_HIDE);
}

void CCKorZereDlg::ShowPageAtMainWindow(int page) {
    HWND target = WindowOf(page);
    if (!target) return;
    // placed first, so that the page appears at once where the main window is; the window left
    // goes once the target is on screen
    RECT main;
    GetWindowRect(hwnd(), &main);
    SetWindowPos(target, nullptr, main.left, main.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowOnly(page);
    InvalidateRect(target, nullptr, TRUE);
}

void CCKorZereDlg::ShowWindowOf(int page) {
    ShowOnly(page);
}

void CCKorZereDlg::HideWindowOf(int page) {
    // The window on screen is not always the current page's: a WM_MOVE_MAIN from another program
    // shows the main window while a page stays current. The hide takes whichever is there.
    if (HWND w = WindowOf(page)) ShowWindow(w, SW_HIDE);
    HideAllBut(-1);
}

void CCKorZereDlg::EndRun(bool ok) {
    EndModal(ok ? IDOK : IDCANCEL);
}

void CCKorZereDlg::RemoveTrayIcon() {
    tray_.Remove();
}

void CCKorZereDlg::ShowTrayMenu() {
    // a choice acts on what the menu showed, whatever changed while it was open
    const pages::SoundSources shown = hifi_.ShownSources();
    const bool startsAtSignIn = StartsAtSignIn();
    const int language = pages::StoredLanguage();
    const int chosen = quorelle::ShowTrayMenu(
        hwnd(), pages::CDlgHifi::SoundChoices(shown),
        {StartWithWindowsItem(startsAtSignIn, language), HotKeysItem(language)});
    if (chosen == 0) return;
    if (pages::IsSoundCommand(chosen)) {
        hifi_.ChooseSound(shown, chosen);
        return;
    }
    if (chosen == kStartWithWindowsCommand) {
        SetStartAtSignIn(!startsAtSignIn);
        return;
    }
    // the menu's own items come as the commands a menu sends, after the menu has gone
    PostMessageW(hwnd(), WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
}

void CCKorZereDlg::OnHotKey(WPARAM id) {
    const std::optional<pages::HotKeyAction> action = GlobalHotKeys::ActionOf(id);
    if (!action) return;
    std::string shown;
    if (*action == pages::HotKeyAction::ShowPanel) {
        // as a left click on the notification-area icon: the current page's window shows, or
        // hides when the icon showed it last
        protocol_.OnTrayNotify(kTrayIconId, kTrayLeftButtonDown);
        shown = pages::PanelShownText(protocol_.TrayShown(), pages::StoredLanguage());
    } else {
        // the HIFI page's own presses, shown or not
        shown = hifi_.RunHotKey(*action);
    }
    osd_.Show(Widen(shown));
}

void CCKorZereDlg::StoreLanguage(int language) {
    WriteSettingInt(kCplIni, "CPL", "language", language);
}

void CCKorZereDlg::SetMainTexts(int language) {
    SetPageTexts(language);
}

void CCKorZereDlg::ForwardLanguage(int page, int language) {
    if (HWND w = WindowOf(page)) SendMessageW(w, WM_LANGUAGE_CHANGE, 0, language);
}

// ---- PageRefresh ------------------------------------------------------------------------------

void CCKorZereDlg::RefreshHifiFromSettings() {
    hifi_.RefreshFromSettings();
}

void CCKorZereDlg::RefreshHeadphoneFromSettings() {
    hp_.RefreshFromSettings();
}

}  // namespace quorelle
