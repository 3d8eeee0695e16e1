// The main window built from its template in the program's resources.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window_win32.h"
#include "app/tray_win32.h"
#include "app/application_win32.h"
#include "base/messages.h"
#include "controls/control_class_win32.h"
#include "controls/gdi_win32.h"
#include "resource.h"
#include "settings/ini_settings.h"

using namespace quorelle;

namespace {

// COM for the whole test process, as the program has it for its whole run.
const ComForThisThread g_com(COINIT_APARTMENTTHREADED);

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

TEST(MainWindow, IsACaptionlessDialogWithTheProgramIcon) {
    CCKorZereDlg dlg;
    ASSERT_TRUE(dlg.Create(nullptr));
    HWND hwnd = dlg.hwnd();
    EXPECT_EQ(AppMainWindow(), hwnd) << "listeners find the main window";
    LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, 0);
    EXPECT_NE(style & WS_POPUP, 0);
    EXPECT_NE(SendMessageW(hwnd, WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_NE(SendMessageW(hwnd, WM_GETICON, ICON_SMALL, 0), 0);
    SetAppMainWindow(nullptr);
}

TEST(MainWindow, OnlyEscapeAndEnterOnTheCloseButtonAreKeptFromIt) {
    CCKorZereDlg dlg;
    ASSERT_TRUE(dlg.Create(nullptr));
    HWND main = dlg.hwnd();
    HWND knob = GetDlgItem(main, 1007);
    HWND close = GetDlgItem(main, 1000);
    HWND other =
        CreateWindowW(L"STATIC", L"o", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    struct Case {
        HWND focus;
        HWND to;
        UINT message;
        WPARAM key;
        bool kept;
    } cases[] = {
        {knob, main, WM_KEYDOWN, VK_ESCAPE, true},
        {knob, knob, WM_KEYDOWN, VK_ESCAPE, true},
        {close, close, WM_KEYDOWN, VK_RETURN, true},
        {close, main, WM_KEYDOWN, VK_RETURN, true},
        {knob, knob, WM_KEYDOWN, VK_RETURN, false},   // the window's keys decide
        {close, close, WM_KEYDOWN, VK_SPACE, false},  // the space bar presses the button
        {knob, knob, WM_KEYDOWN, VK_TAB, false},
        {knob, knob, WM_KEYDOWN, VK_RIGHT, false},
        {knob, other, WM_KEYDOWN, VK_ESCAPE, false},
        {knob, main, WM_SYSKEYDOWN, VK_F4, false},  // system keys keep working
        {knob, main, WM_KEYUP, VK_ESCAPE, false},
    };
    for (const Case& c : cases) {
        SetFocus(c.focus);
        ASSERT_EQ(GetFocus(), c.focus);
        MSG msg{c.to, c.message, c.key, 0, 0, {}};
        EXPECT_EQ(dlg.IsCloseKeyForMe(msg), c.kept)
            << "key " << c.key << " message " << c.message << " focus " << GetDlgCtrlID(c.focus);
    }
    DestroyWindow(other);
    SetAppMainWindow(nullptr);
}

TEST(MainWindow, ModalRunSurvivesEnterAndEscapeAndEndsOnSystemClose) {
    CCKorZereDlg dlg;
    // drive the run from a timer on this thread: keys first, then the system close command
    static CCKorZereDlg* target;
    static int step;
    static bool stillRunningAfterKeys;
    target = &dlg;
    step = 0;
    stillRunningAfterKeys = false;
    UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
        HWND h = target->hwnd();
        if (!h) return;
        if (step == 0) {
            PostMessageW(h, WM_KEYDOWN, VK_RETURN, 0);
            PostMessageW(h, WM_KEYDOWN, VK_ESCAPE, 0);
        } else if (step == 1) {
            stillRunningAfterKeys = IsWindow(h) != FALSE;
            PostMessageW(h, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        ++step;
    });
    INT_PTR result = dlg.RunModal();
    KillTimer(nullptr, timer);
    Pump();
    EXPECT_TRUE(stillRunningAfterKeys);
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(dlg.hwnd(), nullptr);
    SetAppMainWindow(nullptr);
}

// Settings files in memory that count their replacements.
class CountedFiles final : public IniFiles {
  public:
    std::map<std::string, std::string> bytes;
    std::map<std::string, int> replaces;
    std::int64_t now = 1'000'000'000;

    const IniCodec& Codec() const override { return Utf8IniCodec(); }
    Presence Look(const std::string& file, Stamp& stamp, bool& readOnly) override {
        readOnly = false;
        const auto it = bytes.find(file);
        if (it == bytes.end()) return Presence::kAbsent;
        stamp = {it->second.size(), 0};
        return Presence::kPresent;
    }
    bool Read(const std::string& file, std::string& out) override {
        const auto it = bytes.find(file);
        if (it == bytes.end()) return false;
        out = it->second;
        return true;
    }
    bool Replace(const std::string& file, const std::string& out) override {
        bytes[file] = out;
        ++replaces[file];
        return true;
    }
    std::int64_t Now() override { return now; }
};

// The start-up's writes (the pages' read-backs from the card, the output path) replace the
// settings file once on a first start; a later start finds them all in place.
TEST(MainWindow, AStartReplacesTheSettingsFileOnce) {
    auto owned = std::make_unique<CountedFiles>();
    CountedFiles& files = *owned;
    IniSettings settings(std::move(owned), true);
    SetSettingsBackend(&settings);
    for (int replaces : {1, 0}) {
        files.replaces.clear();
        {
            CCKorZereDlg dlg;
            ASSERT_TRUE(dlg.Create(nullptr));
            EXPECT_EQ(files.replaces["CPL.ini"], replaces);
            EXPECT_NE(files.bytes["CPL.ini"].find("[Hifi]"), std::string::npos);
            DestroyWindow(dlg.hwnd());
        }
        Pump();
        SetAppMainWindow(nullptr);
    }
    SetSettingsBackend(nullptr);
}

// Where a window stood when it was shown, seen from inside its own window procedure.
WNDPROC pageProcedure = nullptr;
POINT placeWhenShown{-1, -1};
// Records where the page is when it shows, and keeps WM_SHOWWINDOW from it: Windows sends none
// for a normal show, so the page must be ready (background decoded, shape cut) without it.
LRESULT CALLBACK RecordShow(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SHOWWINDOW && wParam) {
        RECT r;
        GetWindowRect(hwnd, &r);
        placeWhenShown = {r.left, r.top};
        return 0;
    }
    return CallWindowProcW(pageProcedure, hwnd, msg, wParam, lParam);
}

TEST(MainWindow, APageIsInTheMainWindowsPlaceBeforeItShows) {
    CCKorZereDlg dlg;
    ASSERT_TRUE(dlg.Create(nullptr));
    // the pages' backgrounds are decoded, and their shapes cut, only when they first show
    gdi::Region shape(CreateRectRgn(0, 0, 0, 0));
    for (int page : {PAGE_HIFI, PAGE_ADVANCE, PAGE_INFO, PAGE_HP})
        EXPECT_EQ(GetWindowRgn(dlg.WindowOf(page), shape.Get()), ERROR) << "page " << page;
    SetWindowPos(dlg.hwnd(), nullptr, 310, 220, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    for (int page : {PAGE_HIFI, PAGE_INFO}) {
        HWND hwnd = dlg.WindowOf(page);
        ASSERT_NE(hwnd, nullptr);
        placeWhenShown = {-1, -1};
        pageProcedure = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordShow)));
        SendMessageW(dlg.hwnd(), WM_SHOW_PAGE, 0, page);
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pageProcedure));
        EXPECT_EQ(placeWhenShown.x, 310) << "page " << page;
        EXPECT_EQ(placeWhenShown.y, 220) << "page " << page;
        EXPECT_NE(GetWindowRgn(hwnd, shape.Get()), ERROR) << "page " << page;
        ShowWindow(hwnd, SW_HIDE);
    }
    SetAppMainWindow(nullptr);
}

int VisibleWindows(const CCKorZereDlg& dlg) {
    int n = 0;
    for (int page = PAGE_MAIN; page <= PAGE_HP; ++page)
        n += IsWindowVisible(dlg.WindowOf(page)) ? 1 : 0;
    return n;
}

// A page's navigation button: the target shows first, in the page's place, then the page goes;
// the main window shows only as a target, and some window of the panel is on screen throughout.
std::vector<std::string> shows;
HHOOK showHook = nullptr;
const CCKorZereDlg* watched = nullptr;
LRESULT CALLBACK RecordShows(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_SHOWWINDOW && watched)
        for (int page = PAGE_MAIN; page <= PAGE_HP; ++page)
            if (watched->WindowOf(page) == call->hwnd) {
                shows.push_back((call->wParam ? "show " : "hide ") + std::to_string(page) + " (" +
                                std::to_string(VisibleWindows(*watched)) + " on screen)");
            }
    return CallNextHookEx(showHook, code, wParam, lParam);
}

TEST(MainWindow, APageSwitchShowsItsTargetFirstAndNeverTheMainWindowOnTheWay) {
    CCKorZereDlg dlg;
    ASSERT_TRUE(dlg.Create(nullptr));
    ShowWindow(dlg.hwnd(), SW_SHOWNOACTIVATE);
    SendMessageW(dlg.hwnd(), WM_SHOW_PAGE, 0, PAGE_HIFI);
    SetWindowPos(dlg.WindowOf(PAGE_HIFI), nullptr, 140, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    watched = &dlg;
    showHook = SetWindowsHookExW(WH_CALLWNDPROC, RecordShows, nullptr, GetCurrentThreadId());
    // HIFI's advance button, then the advance page's main button
    const struct {
        int from, button, to;
    } steps[] = {{PAGE_HIFI, 1078, PAGE_ADVANCE}, {PAGE_ADVANCE, 1206, PAGE_MAIN}};
    std::vector<std::string> want;
    for (const auto& step : steps) {
        HWND page = dlg.WindowOf(step.from);
        SendMessageW(page, WM_COMMAND, MAKEWPARAM(step.button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(page, step.button)));
        want.push_back("show " + std::to_string(step.to) + " (1 on screen)");
        want.push_back("hide " + std::to_string(step.from) + " (2 on screen)");
        RECT r;
        GetWindowRect(dlg.WindowOf(step.to), &r);
        EXPECT_EQ(r.left, 140);
        EXPECT_EQ(r.top, 90);
    }
    UnhookWindowsHookEx(showHook);
    watched = nullptr;
    EXPECT_EQ(shows, want);
    DestroyWindow(dlg.hwnd());
    SetAppMainWindow(nullptr);
}

// Dispatches the thread's messages for `ms` milliseconds as the program's loop would, each
// shown to `seen` first.
template <typename Seen>
void DispatchWithin(DWORD ms, Seen seen) {
    const DWORD start = GetTickCount();
    for (DWORD now = start; now - start < ms; now = GetTickCount()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - (now - start), QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            seen(msg);
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

// The messages the thread gets within `ms` milliseconds.
std::vector<UINT> MessagesWithin(DWORD ms) {
    std::vector<UINT> messages;
    DispatchWithin(ms, [&](const MSG& msg) { messages.push_back(msg.message); });
    return messages;
}

TEST(MainWindow, HandlesNoMessageWhileNobodyTouchesIt) {
    CCKorZereDlg dlg;
    ASSERT_TRUE(dlg.Create(nullptr));
    ShowWindow(dlg.hwnd(), SW_SHOWNOACTIVATE);
    // the start-up's own work and the card's answers to it come first
    for (int i = 0; i < 20 && !MessagesWithin(500).empty(); ++i) {
    }
    const std::vector<UINT> idle = MessagesWithin(3000);
    std::string ids;
    for (UINT m : idle) ids += std::to_string(m) + " ";
    EXPECT_TRUE(idle.empty()) << "messages while idle: " << ids;
    DestroyWindow(dlg.hwnd());
    SetAppMainWindow(nullptr);
}

// The paints each window gets within `ms` milliseconds.
std::map<HWND, int> PaintsWithin(DWORD ms) {
    std::map<HWND, int> paints;
    DispatchWithin(ms, [&](const MSG& msg) {
        if (msg.message == WM_PAINT) ++paints[msg.hwnd];
    });
    return paints;
}

// A window that shows is painted in one piece: its own paint draws the controls of the
// program's classes, which have nothing left to paint then (each child's paint of its own costs
// requests to the window server); the platform's combo box and field paint themselves. A
// control that changes alone paints alone.
TEST(MainWindow, AShownWindowPaintsItsControlsInItsOwnPaint) {
    CCKorZereDlg dlg;
    ASSERT_TRUE(dlg.Create(nullptr));
    ShowWindow(dlg.hwnd(), SW_SHOWNOACTIVATE);
    PaintsWithin(300);
    // a first show and a later one of the HIFI page, and the main window shown again
    for (int page : {PAGE_HIFI, PAGE_MAIN, PAGE_HIFI, PAGE_ADVANCE}) {
        SendMessageW(dlg.hwnd(), WM_SHOW_PAGE, 0, page);
        std::map<HWND, int> paints = PaintsWithin(300);
        HWND shown = dlg.WindowOf(page);
        EXPECT_EQ(paints[shown], 1) << "page " << page;
        int own = 0;
        std::string painted;
        for (HWND child = GetWindow(shown, GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT)) {
            if (!controls::IsOwnControlClass(child)) continue;
            ++own;
            if (paints[child] != 0) painted += std::to_string(GetDlgCtrlID(child)) + " ";
        }
        EXPECT_GT(own, 20) << "page " << page;
        EXPECT_EQ(painted, "") << "page " << page << ": controls that painted themselves";
        HWND first = GetWindow(shown, GW_CHILD);
        InvalidateRect(first, nullptr, FALSE);
        paints = PaintsWithin(200);
        EXPECT_EQ(paints[first], 1) << "page " << page;
        EXPECT_EQ(paints[shown], 0) << "page " << page;
    }
    DestroyWindow(dlg.hwnd());
    SetAppMainWindow(nullptr);
}

TEST(MainWindow, MessagesFromOutsideNeverShowTwoWindows) {
    CCKorZereDlg dlg;
    ASSERT_TRUE(dlg.Create(nullptr));
    HWND main = dlg.hwnd();
    ShowWindow(main, SW_SHOWNOACTIVATE);
    // a page showing, then a target outside the five windows, then the tray
    EXPECT_EQ(SendMessageW(main, WM_SHOW_PAGE, 0, PAGE_HIFI), 1);
    EXPECT_EQ(SendMessageW(main, WM_SHOW_PAGE, 1, 7), 0);
    EXPECT_EQ(SendMessageW(main, WM_TRAY_NOTIFY, 151, WM_LBUTTONDOWN), 1);
    EXPECT_EQ(VisibleWindows(dlg), 1);
    // random protocol messages with random arguments (the tray menu aside, which is modal)
    srand(1234);
    for (int i = 0; i < 300; ++i) {
        const int kind = rand() % 4;
        LRESULT answer = 0;
        LRESULT expected = 1;
        if (kind == 0) {
            const long target = rand() % 11 - 3;
            answer = SendMessageW(main, WM_SHOW_PAGE, rand() % 5, target);
            expected = target >= -1 && target <= 4 ? 1 : 0;
        } else if (kind == 1) {
            answer = SendMessageW(main, WM_MOVE_MAIN, rand() % 400, rand() % 300);
        } else if (kind == 2) {
            const UINT mouse[] = {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_MOUSEMOVE, WM_LBUTTONDBLCLK};
            answer =
                SendMessageW(main, WM_TRAY_NOTIFY, rand() % 3 == 0 ? 152 : 151, mouse[rand() % 4]);
        } else {
            answer = SendMessageW(main, WM_LANGUAGE_CHANGE, 0, rand() % 6 - 2);
        }
        ASSERT_EQ(answer, expected) << "message " << i << " of kind " << kind;
        ASSERT_LE(VisibleWindows(dlg), 1) << "after message " << i << " of kind " << kind;
    }
    DestroyWindow(main);
    SetAppMainWindow(nullptr);
}

// Two left clicks on the icon hide the panel and bring it back, whatever other programs sent
// before: a WM_MOVE_MAIN that showed the main window while a page stayed current, or a
// WM_SHOW_PAGE outside the five windows. The show-panel global key is such a click: every
// other click here is the key.
TEST(MainWindow, TheIconHidesWhicheverWindowIsOnScreen) {
    CCKorZereDlg dlg;
    ASSERT_TRUE(dlg.Create(nullptr));
    HWND main = dlg.hwnd();
    ShowWindow(main, SW_SHOWNOACTIVATE);
    bool key = false;
    auto click = [&] {
        if ((key = !key))
            SendMessageW(main, WM_HOTKEY, GlobalHotKeys::kFirstId + 4, 0);
        else
            SendMessageW(main, WM_TRAY_NOTIFY, 151, WM_LBUTTONDOWN);
    };
    click();  // the next click hides
    SendMessageW(main, WM_SHOW_PAGE, 0, PAGE_INFO);
    SendMessageW(main, WM_MOVE_MAIN, 40, 30);
    ASSERT_EQ(VisibleWindows(dlg), 1);
    click();
    EXPECT_EQ(VisibleWindows(dlg), 0) << "the main window shown by WM_MOVE_MAIN stayed";
    click();
    EXPECT_TRUE(IsWindowVisible(dlg.WindowOf(PAGE_INFO)));
    // a target outside the five windows leaves the page on screen current
    EXPECT_EQ(SendMessageW(main, WM_SHOW_PAGE, PAGE_INFO, 9), 0);
    click();
    EXPECT_EQ(VisibleWindows(dlg), 0) << "the page stayed on screen";
    click();
    EXPECT_TRUE(IsWindowVisible(dlg.WindowOf(PAGE_INFO)));
    EXPECT_EQ(VisibleWindows(dlg), 1);
    DestroyWindow(main);
    SetAppMainWindow(nullptr);
}

// One item of a menu: "text id" with the marks checked, radio, greyed and "popup N" (its items).
std::string MenuItemLine(HMENU menu, int i) {
    wchar_t text[128] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 128;
    if (!GetMenuItemInfoW(menu, UINT(i), TRUE, &info)) return "?";
    if (info.fType & MFT_SEPARATOR) return "-";
    std::string line;
    for (wchar_t c : std::wstring(text)) line += c < 0x80 ? char(c) : '?';
    if (!info.hSubMenu) (line += ' ') += std::to_string(info.wID);
    if (info.fState & MFS_CHECKED) line += " checked";
    if (info.fType & MFT_RADIOCHECK) line += " radio";
    if (info.fState & MFS_GRAYED) line += " greyed";
    if (info.hSubMenu) (line += " popup ") += std::to_string(GetMenuItemCount(info.hSubMenu));
    return line;
}

// Menu 175 with the sound choices: they come before "Quorelle DIVO" with their marks; every
// item of the resource stays with its text and id.
TEST(TrayMenu, TheSoundChoicesComeBeforeTheShowItemAndTheOldItemsStay) {
    pages::SoundSources sources;
    sources.master = true;
    sources.eqPreset = 7;
    sources.environment = true;
    sources.userPresets = {"Warm", "Bright"};
    // the marks show the page as it is handed in; the master switch greys the choices
    for (bool master : {true, false}) {
        SCOPED_TRACE(master);
        sources.master = master;
        UniqueMenu menu = LoadTrayMenu(pages::SoundMenu(sources, 2),
                                       {StartWithWindowsItem(master, 2), HotKeysItem(2)});
        HMENU popup = GetSubMenu(menu.get(), 0);
        ASSERT_NE(popup, nullptr);
        std::vector<std::string> top;
        for (int i = 0; i < GetMenuItemCount(popup); ++i) top.push_back(MenuItemLine(popup, i));
        EXPECT_EQ(top, (std::vector<std::string>{
                           "language popup 3", "&Sound popup 22",
                           std::string("&Start with Windows 34200") + (master ? " checked" : ""),
                           "&Hot keys? 34201", "Quorelle DIVO 32774", "Exit 32775"}));
        HMENU language = GetSubMenu(popup, 0);
        EXPECT_EQ(MenuItemLine(language, 0), "?? 32780");  // "简体"
        EXPECT_EQ(MenuItemLine(language, 2), "English 32782");
        HMENU sound = GetSubMenu(popup, 1);
        const std::string grey = master ? "" : " greyed";
        EXPECT_EQ(MenuItemLine(sound, 0), master ? "&Dry Sound 33001 checked" : "&Dry Sound 33001");
        EXPECT_EQ(MenuItemLine(sound, 1), "-");
        EXPECT_EQ(MenuItemLine(sound, 9), "Ja&zz 33017 checked radio" + grey);
        EXPECT_EQ(MenuItemLine(sound, 10), "&Metal 33018 radio" + grey);
        EXPECT_EQ(MenuItemLine(sound, 14), "P&ure Monitor 33030 radio" + grey);
        EXPECT_EQ(MenuItemLine(sound, 19), "E&qualizer radio" + grey + " popup 2");
        EXPECT_EQ(MenuItemLine(GetSubMenu(sound, 19), 1), "&Bright 33101 radio" + grey);
        EXPECT_EQ(MenuItemLine(sound, 20), "-");
        EXPECT_EQ(MenuItemLine(sound, 21), "Env&ironment 33002 checked" + grey);
    }
}

// A start at sign-in may come before the shell's notification area: the icon's first add fails,
// and the area's TaskbarCreated message adds it; a notice made meanwhile waits and comes as the
// icon's balloon once the icon is there, with every text that came before it.
TEST(TrayIcon, AFailedFirstAddComesBackWithTheAreaAndItsBalloonsWait) {
    static std::vector<std::string> calls;
    static bool areaThere = false;
    calls.clear();
    areaThere = false;
    TrayIcon::SetShellNotifyForTests([](DWORD action, PNOTIFYICONDATAW data) -> BOOL {
        std::string call = action == NIM_ADD ? "add" : action == NIM_MODIFY ? "modify" : "delete";
        if (data->uFlags & NIF_INFO) {
            call += " balloon ";
            for (const wchar_t* c = data->szInfo; *c; ++c) call += *c == L'\n' ? '|' : char(*c);
        }
        calls.push_back(call);
        return areaThere;
    });
    CCKorZereDlg dlg;
    ASSERT_TRUE(dlg.Create(nullptr));  // its start adds the icon: the area is not there
    TrayIcon tray;
    EXPECT_FALSE(tray.Add(dlg.hwnd(), nullptr));
    tray.ShowBalloon(L"No device!");
    tray.ShowBalloon(L"UpdateAPOAvailable failed!");
    areaThere = true;
    calls.clear();
    EXPECT_TRUE(tray.Restore());
    EXPECT_EQ(calls, (std::vector<std::string>{
                         "add", "modify balloon No device!|UpdateAPOAvailable failed!"}));
    // the main window adds its own icon again when the area announces itself
    calls.clear();
    SendMessageW(dlg.hwnd(), TrayIcon::TaskbarCreatedMessage(), 0, 0);
    EXPECT_EQ(calls, (std::vector<std::string>{"add"}));
    tray.ShowBalloon(L"later");  // the icon is there: at once
    EXPECT_EQ(calls.back(), "modify balloon later");
    tray.Remove();
    DestroyWindow(dlg.hwnd());
    TrayIcon::SetShellNotifyForTests(nullptr);
}

}  // namespace
