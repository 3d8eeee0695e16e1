// e2eprobe: runs under Wine beside the program and reads or pokes its windows for the
// end-to-end tests. Prints results on standard output, one line each.
//   e2eprobe wait TITLE MS          wait until a visible top-level window TITLE exists
//   e2eprobe gone TITLE MS          wait until no window TITLE exists
//   e2eprobe count TITLE            number of top-level windows named TITLE
//   e2eprobe rect TITLE             "x y w h visible" of the window
//   e2eprobe windows TITLE          every top-level window of TITLE's process:
//                                   "hwnd visible x y w h text"
//   e2eprobe text TITLE ID          the text of control ID of the window
//   e2eprobe ctlrect TITLE ID       "x y w h visible" of control ID, in screen coordinates (a
//                                   control of a dialog inside the window when it has none)
//   e2eprobe launch EXE TITLE       starts EXE, waits until its window TITLE is visible and
//                                   its thread answers messages; prints the milliseconds that
//                                   took and the peak working set in KiB, then ends it
//   e2eprobe handles TITLE [types]  "gdi G windows W" of TITLE's process: its live GDI objects
//                                   and all its windows, top-level and child; with "types"
//                                   also the count of each GDI object type ("typeN=C")
//   e2eprobe controls TITLE         every child control of the window: "id x y w h visible
//                                   class", in screen coordinates
//   e2eprobe layout TITLE           "window w h" of the window, then every visible child
//                                   window of it: "id x y w h class", in its client coordinates
//   e2eprobe dismiss TITLE          closes every visible dialog box of TITLE's process that is
//                                   none of its own windows (their titles start with TITLE), as
//                                   its Cancel button would; prints "TITLE: TEXT" of each
//   e2eprobe burst TITLE N B SEED   N window-protocol messages with random arguments
//                                   (WM_SHOW_PAGE other than -1, WM_MOVE_MAIN,
//                                   WM_LANGUAGE_CHANGE, the tray message), each posted or sent at
//                                   random, in bursts of B; checks each sent message's answer and
//                                   after each burst (its posted messages taken: a WM_MOVE_MAIN
//                                   posted last moved the main window) how many of TITLE's
//                                   windows are visible,
//                                   then that two left clicks on the icon hide the panel and
//                                   bring one window back; prints "messages M sent S posted P
//                                   wrong W bursts B maxvisible V lost L traywrong T" (L: bursts
//                                   after which it did not answer) and the first faults
//   e2eprobe send TITLE MSG W L     SendMessage, prints the result
//   e2eprobe acc TITLE ID [CHILD]   the accessible object of control ID (OBJID_CLIENT, asked
//                                   across processes as a screen reader asks), or of its simple
//                                   element CHILD (default 0, the control itself): one line of
//                                   tab-separated fields "role=0xRR state=0xSSSSSSSS children=N
//                                   name=NAME value=VALUE action=ACTION" (role and state "-" and
//                                   texts empty where the call fails or gives none; children 0
//                                   for an element; tabs and line breaks in texts become spaces);
//                                   exit code 3 when there is no object
//   e2eprobe acclist TITLE          the same line for every child window of the window with a
//                                   control id, after "ID<tab>", and for each element of a
//                                   control with elements "ID.CHILD<tab>..."; a control without
//                                   an object: "ID<tab>hr=0xHHHHHHHH" (exit code 3)
//   e2eprobe accdo TITLE ID [CHILD] its default action; exit code 3 (and "hr=0xHHHHHHHH") unless
//                                   it answers S_OK
//   e2eprobe accset TITLE ID VALUE  sets its value to the text VALUE; the same exit codes
//   e2eprobe accwalk TITLE          walks, as a screen reader does, every accessible object of
//                                   the five windows of TITLE's process: each window's object
//                                   (AccessibleObjectFromWindow), its children and theirs
//                                   (AccessibleChildren), then each control's own object and
//                                   its elements; asks each for role, state, name, value,
//                                   default action, place and children, times every call and
//                                   releases everything; then asks the main window for its
//                                   caught failures (WM_DIAGNOSTIC_COUNT, 1 s at most). Prints
//                                   "objects N calls C slowest_ms S over2s L failed F
//                                   diagnostics D diagnostics_ms M" (D "-" when unanswered) and
//                                   a line for each call over 2 s or failed
//   e2eprobe accforeign TITLE SEED  sends every window and control of TITLE's process each
//                                   registered message whose name begins "Quorelle" (the
//                                   program's own), "TaskbarCreated" and 16 other numbers of
//                                   the registered range, each twice with random parameters
//                                   (1 s each at most); prints "sent N unanswered U"
//   e2eprobe outside TITLE          sends every window and control of TITLE's process control
//                                   notifications (WM_DRAWITEM, WM_CTLCOLOR*, WM_NOTIFY,
//                                   WM_COMMAND for each control of a window) naming a window of
//                                   the probe whose user data holds 0x414141414140; prints "sent N
//                                   unanswered U", then "KIND D/R" for drawitem, ctlcolor, notify
//                                   and command: delivered, refused by the system
//   e2eprobe acchold TITLE ID S     holds control ID's object for S seconds and asks it every
//                                   100 ms all its questions, timing each; prints a line whenever
//                                   the control's window changes (shown, hidden, gone) and at the
//                                   end "rounds shown A hidden B gone C slowest_ms S
//                                   gone_disconnected D gone_other O" (O: answers other than a
//                                   disconnection after the window went)
//   e2eprobe pointer TITLE          the window under the pointer (class, id, its top-level
//                                   window's title, whether that is enabled), and the active
//                                   window, focus, capture and GUI flags of TITLE's thread
//   e2eprobe focused TITLE          "active A focus ID": whether the window is its thread's
//                                   active window (1/0), and the control id of the window that
//                                   has its thread's keyboard focus (0 when none)
//   e2eprobe caret TITLE            "ID X Y W H": the control that holds its thread's caret and
//                                   the caret's screen rectangle (exit code 1 when none)
//                                   The acc commands end with exit code 4 when the program has
//                                   not answered within 30 s (accwalk: its walk within 180 s).
//   e2eprobe foreground -           the title of the foreground window ("" when none)
//   e2eprobe alert - MS             listens (out of context, from every other process) for
//                                   EVENT_SYSTEM_ALERT for MS ms: prints "ready" once the hook
//                                   is set, then for the first alert "alert role=0xRR name=NAME"
//                                   of the object the event names, asked across processes;
//                                   exit code 1 when none came
//   e2eprobe post TITLE MSG W L     PostMessage
//   e2eprobe switch FROM X Y TO     a real click (the system's input) at screen point X Y (on
//                                   window FROM), then the wait until window TO is visible, has
//                                   nothing left to paint (nor its children) and answers
//                                   messages; prints the milliseconds from the press
//   e2eprobe grab TITLE MS          another program that comes up while the left button is
//                                   held in a drag of the panel: a small top-most window TITLE
//                                   of its own at the screen's top-left corner, brought to the
//                                   foreground, takes the mouse (SetCapture); then the button's
//                                   release comes, through the system's input (SendInput), and
//                                   goes where the system sends it, to the capture of the
//                                   foreground: to this window. Prints "released" and exits 0
//                                   once the window has the release (within MS); "no release"
//                                   and exit code 3 without it; exit code 4 when it could not
//                                   take the foreground and the mouse. (Under X the real button
//                                   stays down for the window it went down in until it comes up:
//                                   release it afterwards, away from the panel's controls.)
//   e2eprobe stale TITLE [FILE]     for every visible window of TITLE's process whose title
//                                   starts with TITLE: its pixels on screen, once the program
//                                   has handled the input that came before and they are
//                                   still, against the same after a full repaint of it and its
//                                   children; prints "stale N" (N differing pixels, the caret
//                                   left out) and for each window that differs "TITLE: N at
//                                   x y w h" (window coordinates); exit code 3 when N > 0.
//                                   FILE: both grabs of the last differing window saved as
//                                   FILE.before.bmp and FILE.after.bmp
//   e2eprobe paintalone TITLE       invalidates each window under TITLE alone (not TITLE), so that
//                                   each paints on its own
//   e2eprobe settle TITLE           waits (at most about 20 s) until TITLE's process has handled
//                                   the input that came before and painted what it shows
//   e2eprobe menu TITLE MS [0]      waits up to MS until a pop-up menu of TITLE's process is
//                                   shown (with 0: until none is); exit code 1 after MS
//   e2eprobe menuitems TITLE        the pop-up menus TITLE's process shows, read inside it by
//                                   menu_hook.dll (beside the probe): for each, topmost first,
//                                   "popup" and a line per item, a sub-menu's items after it
//                                   indented by two spaces: "TEXT<tab>ID<tab>MARKS<tab>X Y W H"
//                                   (MARKS among checked radio greyed popup, or separator, or -;
//                                   the screen rectangle on the shown level, else -); exit code
//                                   3 when the process did not answer
//   e2eprobe memory TITLE           "peak W now N" of TITLE's process: its peak and present
//                                   working set in KiB
//   e2eprobe repaint TITLE N DLL    N full repaints of the window and its children
//                                   (RedrawWindow with RDW_INVALIDATE | RDW_ERASE |
//                                   RDW_ALLCHILDREN | RDW_UPDATENOW) timed from this process, then
//                                   N inside the window's own by the hook library DLL
//                                   (repaint_hook.dll); prints "inside M inside_p10 A inside_p90 B
//                                   outside M2 outside_p10 A2 outside_p90 B2 windows W roundtrip R
//                                   size WxH" (us; W: the windows a repaint paints, R: the median
//                                   round trip of one message sent to the window), "samples
//                                   inside ..." and "samples outside ..." (each repaint's us), and
//                                   a line for each fault: no figures from inside, the window
//                                   reaching past the screen, a window left with an update region
//                                   after a call from here (exit code 3 for the first and last)
// Exit code 0 on success, 1 when the window is not there, 2 on bad arguments.
#include <windows.h>
#include <psapi.h>
#include <oleacc.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <random>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& w) {
    if (w.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string s(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), s.data(), n, nullptr,
                        nullptr);
    return s;
}

std::wstring TextOf(HWND h) {
    wchar_t buf[512] = {};
    GetWindowTextW(h, buf, 512);
    return buf;
}

struct Search {
    std::wstring title;
    std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND h, LPARAM p) {
    auto* s = reinterpret_cast<Search*>(p);
    if (TextOf(h) == s->title) s->found.push_back(h);
    return TRUE;
}

std::vector<HWND> Find(const std::wstring& title) {
    Search s{title, {}};
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND FindOne(const std::wstring& title) {
    auto all = Find(title);
    return all.empty() ? nullptr : all.front();
}

// Live GDI objects of a process, read from the handle table its process environment block
// points at (x64: the table pointer at PEB + 0xF8, 65,536 entries of 24 bytes, the object type
// in the byte at offset 14, zero for a free entry); -1 when it cannot be read.
int LiveGdiObjects(DWORD pid, std::vector<int>* byType = nullptr) {
    using QueryFn = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    struct BasicInformation {
        void* reserved1;
        void* peb;
        void* reserved2[4];
    } info{};
    auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!process || !query) return -1;
    int live = -1;
    const uint8_t* table = nullptr;
    if (query(process, 0, &info, sizeof info, nullptr) == 0 &&
        ReadProcessMemory(process, static_cast<const uint8_t*>(info.peb) + 0xF8, &table,
                          sizeof table, nullptr) &&
        table) {
        constexpr size_t kEntries = 65536, kEntrySize = 24, kTypeOffset = 14;
        std::vector<uint8_t> entries(kEntries * kEntrySize);
        if (ReadProcessMemory(process, table, entries.data(), entries.size(), nullptr)) {
            live = 0;
            if (byType) byType->assign(256, 0);
            for (size_t i = 0; i < kEntries; ++i) {
                const uint8_t type = entries[i * kEntrySize + kTypeOffset];
                live += type != 0;
                if (byType && type != 0) ++(*byType)[type];
            }
        }
    }
    CloseHandle(process);
    return live;
}

// Every top-level window of process `pid`, in the order the system lists them (top first).
std::vector<HWND> ProcessWindows(DWORD pid) {
    struct Ctx {
        DWORD pid;
        std::vector<HWND> found;
    } ctx{pid, {}};
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            auto* c = reinterpret_cast<Ctx*>(p);
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner == c->pid) c->found.push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&ctx));
    return ctx.found;
}

// Every top-level window of the process that owns `h`.
std::vector<HWND> ProcessWindows(HWND h) {
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    return ProcessWindows(pid);
}

// Whether a top-level window is shown and its title starts with `prefix`.
bool ShownWithTitle(HWND w, const std::wstring& prefix) {
    return IsWindowVisible(w) && TextOf(w).rfind(prefix, 0) == 0;
}

// Every window of a process: top-level windows and all their descendants.
int WindowsOf(DWORD pid) {
    int count = 0;
    for (HWND w : ProcessWindows(pid)) {
        ++count;
        EnumChildWindows(
            w, [](HWND, LPARAM q) -> BOOL { return ++*reinterpret_cast<int*>(q), TRUE; },
            reinterpret_cast<LPARAM>(&count));
    }
    return count;
}

// How many visible top-level windows of the process whose title starts with prefix.
int VisibleWindowsOf(DWORD pid, const std::wstring& prefix) {
    int count = 0;
    for (HWND w : ProcessWindows(pid)) count += ShownWithTitle(w, prefix) ? 1 : 0;
    return count;
}

// The first visible top-level window of process `pid` that passes `test`; null when none does.
template <typename Test>
HWND FirstShownWindowOf(DWORD pid, Test test) {
    for (HWND w : ProcessWindows(pid))
        if (IsWindowVisible(w) && test(w)) return w;
    return nullptr;
}

// Whether a pop-up menu of the process is shown (a visible window of the menu class).
bool MenuShown(DWORD pid) {
    return FirstShownWindowOf(pid, [](HWND w) {
               wchar_t cls[16] = {};
               GetClassNameW(w, cls, 16);
               return std::wstring(cls) == L"#32768";
           }) != nullptr;
}

// The burst command: random window-protocol messages from outside.
int Burst(HWND main, const std::wstring& title, long total, long burst, unsigned seed) {
    constexpr UINT kShowPage = 2024, kMoveMain = 2025, kLanguage = 1127, kTray = 1129;
    std::mt19937 rng(seed);
    auto pick = [&](long lo, long hi) { return std::uniform_int_distribution<long>(lo, hi)(rng); };
    auto wild = [&]() -> LPARAM {  // any 32-bit value, or a small one near the valid range
        return pick(0, 1) ? static_cast<LPARAM>(static_cast<int32_t>(rng())) : pick(-8, 12);
    };
    DWORD pid = 0;
    GetWindowThreadProcessId(main, &pid);
    long sent = 0, posted = 0, wrong = 0, bursts = 0, lost = 0, trayWrong = 0;
    int maxVisible = 0;
    for (long i = 0; i < total; ++i) {
        UINT msg = 0;
        WPARAM w = 0;
        LPARAM l = 0;
        LRESULT expected = 1;
        switch (pick(0, 3)) {
            case 0: {
                msg = kShowPage;
                w = static_cast<WPARAM>(wild());
                do {
                    l = pick(0, 2) ? pick(0, 4) : wild();
                } while (l == -1);  // -1 ends the program
                expected = (l >= 0 && l <= 4) ? 1 : 0;
                break;
            }
            case 1:
                msg = kMoveMain;
                w = static_cast<WPARAM>(pick(-1500, 2500));
                l = pick(-1000, 2000);
                break;
            case 2:
                msg = kLanguage;
                l = pick(0, 1) ? pick(-1, 3) : wild();
                break;
            default:
                msg = kTray;
                w = pick(0, 3) ? 151 : static_cast<WPARAM>(wild());
                l = pick(0, 2) ? 0x201 : (pick(0, 1) ? 0x204 : wild());
                break;
        }
        const bool menu = msg == kTray && w == 151 && l == 0x204;
        if (menu || pick(0, 1)) {
            if (PostMessageW(main, msg, w, l))
                ++posted;
            else
                ++wrong;
            if (menu) {  // the icon's menu opens; take it down as a click elsewhere would
                Sleep(150);
                DWORD_PTR ignored = 0;
                SendMessageTimeoutW(main, WM_CANCELMODE, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
            }
        } else {
            DWORD_PTR result = 0;
            ++sent;
            if (!SendMessageTimeoutW(main, msg, w, l, SMTO_ABORTIFHUNG, 10000, &result) ||
                static_cast<LRESULT>(result) != expected) {
                if (++wrong <= 5)
                    std::printf("wrong: msg %u w %lld l %lld answered %lld, expected %lld\n", msg,
                                static_cast<long long>(w), static_cast<long long>(l),
                                static_cast<long long>(result), static_cast<long long>(expected));
            }
        }
        if ((i + 1) % burst == 0 || i + 1 == total) {
            ++bursts;
            // the posted messages taken: a WM_MOVE_MAIN posted last has moved the main window
            const int markX = 100 + static_cast<int>(bursts % 50), markY = 120;
            PostMessageW(main, kMoveMain, static_cast<WPARAM>(markX), markY);
            RECT r{};
            DWORD waited = GetTickCount();
            while (GetWindowRect(main, &r) && (r.left != markX || r.top != markY) &&
                   GetTickCount() - waited < 10000)
                Sleep(10);
            DWORD_PTR ignored = 0;
            if (r.left != markX || r.top != markY ||
                !SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &ignored))
                ++lost;
            const int visible = VisibleWindowsOf(pid, title);
            if (visible > maxVisible) maxVisible = visible;
            if (visible > 1)
                std::printf("burst %ld ends with %d windows visible\n", bursts, visible);
            // two left clicks on the icon: one hides the panel, the other brings one window back
            int after[2] = {};
            for (int& v : after) {
                SendMessageTimeoutW(main, kTray, 151, 0x201, SMTO_ABORTIFHUNG, 10000, &ignored);
                v = VisibleWindowsOf(pid, title);
            }
            if (after[0] + after[1] != 1 || after[0] * after[1] != 0) {
                ++trayWrong;
                std::printf("burst %ld: the icon's two clicks left %d and %d windows visible\n",
                            bursts, after[0], after[1]);
            }
            if (!IsWindow(main)) {
                ++lost;
                break;
            }
        }
    }
    std::printf(
        "messages %ld sent %ld posted %ld wrong %ld bursts %ld maxvisible %d lost %ld "
        "traywrong %ld\n",
        sent + posted, sent, posted, wrong, bursts, maxVisible, lost, trayWrong);
    return wrong == 0 && lost == 0 && maxVisible <= 1 && trayWrong == 0 ? 0 : 3;
}

// The screen's pixels over a rectangle (child windows included), 32 bits each, top row first.
std::vector<uint32_t> Grab(const RECT& r) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    std::vector<uint32_t> pixels(size_t(w) * size_t(h), 0);
    if (w <= 0 || h <= 0) return pixels;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dib && bits) {
        HGDIOBJ old = SelectObject(memory, dib);
        BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
        GdiFlush();
        const auto* p = static_cast<const uint32_t*>(bits);
        for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = p[i] & 0xFFFFFF;
        SelectObject(memory, old);
    }
    if (dib) DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// A grab taken once two grabs 100 ms apart agree (at most about 3 s).
std::vector<uint32_t> StillGrab(const RECT& r) {
    std::vector<uint32_t> last = Grab(r);
    for (int i = 0; i < 30; ++i) {
        Sleep(100);
        std::vector<uint32_t> now = Grab(r);
        if (now == last) return now;
        last = std::move(now);
    }
    return last;
}

void SaveBmp(const std::wstring& file, const std::vector<uint32_t>& pixels, int w, int h) {
    FILE* f = _wfopen(file.c_str(), L"wb");
    if (!f) return;
    BITMAPFILEHEADER fh{};
    BITMAPINFOHEADER ih{sizeof ih, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = DWORD(fh.bfOffBits + pixels.size() * 4);
    std::fwrite(&fh, sizeof fh, 1, f);
    std::fwrite(&ih, sizeof ih, 1, f);
    std::fwrite(pixels.data(), 4, pixels.size(), f);
    std::fclose(f);
}

// Whether the window or one of its children has something left to paint.
bool LeftToPaint(HWND w) {
    if (GetUpdateRect(w, nullptr, FALSE)) return true;
    bool left = false;
    EnumChildWindows(
        w,
        [](HWND child, LPARAM p) -> BOOL {
            if (!IsWindowVisible(child) || !GetUpdateRect(child, nullptr, FALSE)) return TRUE;
            *reinterpret_cast<bool*>(p) = true;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&left));
    return left;
}

// Waits (at most about 10 s each time) until the thread of window `w` has handled the input
// that came for it before now. A pixel of the window invalidated from here is painted only once
// no input waits in the thread's queue; input still unread from the display when that paint is
// due is read as soon as the thread waits again after it, so a second such paint comes after
// that input has been handled too.
void Settle(HWND w) {
    for (int pass = 0; pass < 2; ++pass) {
        RECT pixel{0, 0, 1, 1};
        InvalidateRect(w, &pixel, FALSE);
        for (int i = 0; i < 1000 && GetUpdateRect(w, nullptr, FALSE); ++i) Sleep(10);
    }
}

// The first visible window of main's process whose title starts with `title` (main itself when
// none is).
HWND FirstVisible(HWND main, const std::wstring& title) {
    DWORD pid = 0;
    GetWindowThreadProcessId(main, &pid);
    const HWND found =
        FirstShownWindowOf(pid, [&title](HWND w) { return TextOf(w).rfind(title, 0) == 0; });
    return found != nullptr ? found : main;
}

// Compares every visible window of the process whose title starts with `title` with a full
// repaint of it, once the process has handled the input that came before.
int Stale(HWND main, const std::wstring& title, const wchar_t* file) {
    DWORD pid = 0;
    const DWORD thread = GetWindowThreadProcessId(main, &pid);
    std::vector<HWND> windows = ProcessWindows(pid);
    std::erase_if(windows, [&title](HWND w) { return !ShownWithTitle(w, title); });
    if (!windows.empty()) Settle(windows.front());
    // a window the input brought up (a notice box) may still be drawing itself: every shown
    // window of the process painted first
    for (DWORD start = GetTickCount(); GetTickCount() - start < 3000; Sleep(10))
        if (!FirstShownWindowOf(pid, LeftToPaint)) break;
    long total = 0;
    for (HWND w : windows) {
        RECT r;
        GetWindowRect(w, &r);
        const int width = r.right - r.left, height = r.bottom - r.top;
        const std::vector<uint32_t> before = StillGrab(r);
        // the caret blinks on its own: its rectangle is left out
        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        RECT caret{};
        if (GetGUIThreadInfo(thread, &gui) && gui.hwndCaret) {
            caret = gui.rcCaret;
            MapWindowPoints(gui.hwndCaret, nullptr, reinterpret_cast<POINT*>(&caret), 2);
            OffsetRect(&caret, -r.left, -r.top);
            InflateRect(&caret, 1, 1);
        }
        RedrawWindow(w, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        DWORD_PTR answer = 0;
        SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
        const std::vector<uint32_t> after = StillGrab(r);
        long differ = 0;
        int left = width, top = height, right = -1, bottom = -1;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const size_t i = size_t(y) * size_t(width) + size_t(x);
                const POINT at{x, y};
                if (before[i] == after[i] || PtInRect(&caret, at)) continue;
                ++differ;
                left = std::min(left, x);
                top = std::min(top, y);
                right = std::max(right, x);
                bottom = std::max(bottom, y);
            }
        }
        if (differ > 0) {
            std::printf("%s: %ld at %d %d %d %d\n", Utf8(TextOf(w)).c_str(), differ, left, top,
                        right - left + 1, bottom - top + 1);
            if (file) {
                SaveBmp(std::wstring(file) + L".before.bmp", before, width, height);
                SaveBmp(std::wstring(file) + L".after.bmp", after, width, height);
            }
        }
        total += differ;
    }
    std::printf("stale %ld\n", total);
    return total == 0 ? 0 : 3;
}

// The window and every visible descendant.
std::vector<HWND> VisibleTree(HWND top) {
    std::vector<HWND> tree{top};
    EnumChildWindows(
        top,
        [](HWND c, LPARAM p) -> BOOL {
            if (IsWindowVisible(c)) reinterpret_cast<std::vector<HWND>*>(p)->push_back(c);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&tree));
    return tree;
}

double MedianOf(std::vector<double> v, double at = 0.5) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<size_t>(double(v.size()) * at))];
}

// The pop-up menus of a window's thread, read inside its process by menu_hook.dll (hooked onto
// the thread as repaint_hook.dll is below).
int MenuItems(HWND w) {
    DWORD pid = 0;
    const DWORD thread = GetWindowThreadProcessId(w, &pid);
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring library = path;
    library = library.substr(0, library.find_last_of(L"\\/") + 1) + L"menu_hook.dll";
    HMODULE module = LoadLibraryW(library.c_str());
    auto hookProc = module ? reinterpret_cast<HOOKPROC>(
                                 reinterpret_cast<void*>(GetProcAddress(module, "MenuHook")))
                           : nullptr;
    constexpr DWORD kSize = 1 << 20;
    HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kSize,
                                        L"QuorelleE2eMenu");
    HHOOK hook =
        hookProc && mapping ? SetWindowsHookExW(WH_CALLWNDPROC, hookProc, module, thread) : nullptr;
    int rc = 3;
    if (hook) {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(w, RegisterWindowMessageW(L"QuorelleE2eMenu"), 0, 0, SMTO_ABORTIFHUNG,
                            10000, &ignored);
        UnhookWindowsHookEx(hook);
        if (const auto* view =
                static_cast<const uint8_t*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0))) {
            uint32_t from = 0;
            std::memcpy(&from, view, 4);
            if (from == pid) {
                std::wstring text(reinterpret_cast<const wchar_t*>(view + 4));
                std::fputs(Utf8(text).c_str(), stdout);
                rc = 0;
            }
            UnmapViewOfFile(view);
        }
    }
    if (mapping) CloseHandle(mapping);
    if (module) FreeLibrary(module);
    return rc;
}

// Full repaints of a window of another process, two ways.
// - Inside: repaint_hook.dll, hooked onto the window's thread (WH_CALLWNDPROC with the library's
//   module: the system loads it into the window's process), repaints the window when it gets
//   the message "QuorelleBenchRepaint" and times each RedrawWindow there, as the program's own
//   code would pay for it; its figures come back through a file mapping of the same name, with
//   the id of the process they were taken in. This is the figure of the real repaint.
// - Outside: the same RedrawWindow timed here. RDW_UPDATENOW does not leave the paint to the
//   window's own message loop: Wine's update_now (win32u, dce.c) walks the window and its
//   children and sends WM_PAINT to each one that holds an update region, one after the other (the
//   erase happens inside its BeginPaint), and a message sent to a window of another process
//   returns only once its window procedure has returned. So this call lasts the whole repaint
//   too, plus one round trip between the processes per window painted (printed beside it), which
//   is the same at every scale and so would flatten a ratio. After every call each window is
//   checked to have nothing left to paint.
std::vector<double> RepaintInside(HWND w, int count, const wchar_t* library) {
    DWORD pid = 0;
    const DWORD thread = GetWindowThreadProcessId(w, &pid);
    HMODULE module = LoadLibraryW(library);
    auto hookProc = module ? reinterpret_cast<HOOKPROC>(
                                 reinterpret_cast<void*>(GetProcAddress(module, "RepaintHook")))
                           : nullptr;
    const DWORD size = DWORD(8 + sizeof(double) * size_t(count));
    HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size,
                                        L"QuorelleBenchRepaint");
    HHOOK hook =
        hookProc && mapping ? SetWindowsHookExW(WH_CALLWNDPROC, hookProc, module, thread) : nullptr;
    // the hook only brings the library in: the repaints run once it is off the thread again
    HANDLE unhooked = CreateEventW(nullptr, TRUE, FALSE, L"QuorelleBenchUnhooked");
    HANDLE repainted = CreateEventW(nullptr, TRUE, FALSE, L"QuorelleBenchRepainted");
    std::vector<double> figures;
    if (hook && unhooked && repainted) {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(w, RegisterWindowMessageW(L"QuorelleBenchRepaint"), WPARAM(count), 0,
                            SMTO_ABORTIFHUNG, 120000, &ignored);
        UnhookWindowsHookEx(hook);
        hook = nullptr;
        SetEvent(unhooked);
        WaitForSingleObject(repainted, 120000);
        const auto* view =
            static_cast<const uint8_t*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0));
        if (view) {
            uint32_t from = 0, taken = 0;
            std::memcpy(&from, view, 4);
            std::memcpy(&taken, view + 4, 4);
            if (from == pid && taken == uint32_t(count)) {
                figures.resize(taken);
                std::memcpy(figures.data(), view + 8, sizeof(double) * taken);
            }
            UnmapViewOfFile(view);
        }
    }
    if (hook) UnhookWindowsHookEx(hook);
    if (unhooked) CloseHandle(unhooked);
    if (repainted) CloseHandle(repainted);
    if (mapping) CloseHandle(mapping);
    if (module) FreeLibrary(module);
    return figures;
}

int Repaint(HWND w, int count, const wchar_t* library) {
    const std::vector<HWND> tree = VisibleTree(w);
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    auto micros = [&] {
        return double(end.QuadPart - start.QuadPart) * 1e6 / double(frequency.QuadPart);
    };
    std::vector<double> trips, outside;
    for (int i = 0; i < 50; ++i) {
        DWORD_PTR answer = 0;
        QueryPerformanceCounter(&start);
        SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
        QueryPerformanceCounter(&end);
        trips.push_back(micros());
    }
    int left = 0;
    for (int i = 0; i < count; ++i) {
        QueryPerformanceCounter(&start);
        RedrawWindow(w, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        QueryPerformanceCounter(&end);
        outside.push_back(micros());
        for (HWND h : tree) left += GetUpdateRect(h, nullptr, FALSE) ? 1 : 0;
    }
    const std::vector<double> inside = RepaintInside(w, count, library);
    RECT r{};
    GetWindowRect(w, &r);
    if (inside.empty())
        std::printf("inside -");
    else
        std::printf("inside %.1f inside_p10 %.1f inside_p90 %.1f", MedianOf(inside),
                    MedianOf(inside, 0.1), MedianOf(inside, 0.9));
    std::printf(
        " outside %.1f outside_p10 %.1f outside_p90 %.1f windows %zu roundtrip %.1f size "
        "%ldx%ld\n",
        MedianOf(outside), MedianOf(outside, 0.1), MedianOf(outside, 0.9), tree.size(),
        MedianOf(trips), r.right - r.left, r.bottom - r.top);
    std::printf("samples inside");
    for (double v : inside) std::printf(" %.1f", v);
    std::printf("\nsamples outside");
    for (double v : outside) std::printf(" %.1f", v);
    std::printf("\n");
    if (inside.empty()) std::printf("the hook took no figures inside the window's process\n");
    // Wine gives a window a drawing surface only as large as its part on the screen
    if (r.left < 0 || r.top < 0 || r.right > GetSystemMetrics(SM_CXSCREEN) ||
        r.bottom > GetSystemMetrics(SM_CYSCREEN))
        std::printf("the window reaches past the %dx%d screen\n", GetSystemMetrics(SM_CXSCREEN),
                    GetSystemMetrics(SM_CYSCREEN));
    if (left > 0) std::printf("%d windows still had an update region after the call\n", left);
    return left == 0 && !inside.empty() ? 0 : 3;
}

long long Number(const wchar_t* s) {
    return std::wcstoll(s, nullptr, 0);
}

// --- MSAA from outside ---------------------------------------------------------------------------
// IAccessible, spelled out: in a static build the import library's IID_IAccessible resolves to an
// import thunk rather than the GUID, and every query with it fails with E_NOINTERFACE.
const IID kIidAccessible = {
    0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

VARIANT ChildId(long child) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = child;
    return v;
}

// A text an accessible object gives, as UTF-8 on one line; empty when the call failed.
std::string OneLine(HRESULT hr, BSTR text) {
    std::wstring w = SUCCEEDED(hr) && text ? std::wstring(text, SysStringLen(text)) : L"";
    if (SUCCEEDED(hr)) SysFreeString(text);
    for (wchar_t& c : w)
        if (c == L'\t' || c == L'\r' || c == L'\n') c = L' ';
    return Utf8(w);
}

void Describe(IAccessible* acc, long child) {
    VARIANT id = ChildId(child), got;
    VariantInit(&got);
    char role[16] = "-", state[16] = "-";
    if (SUCCEEDED(acc->get_accRole(id, &got)) && got.vt == VT_I4)
        std::snprintf(role, sizeof role, "0x%02lx", static_cast<unsigned long>(got.lVal));
    VariantClear(&got);
    if (SUCCEEDED(acc->get_accState(id, &got)) && got.vt == VT_I4)
        std::snprintf(state, sizeof state, "0x%08lx", static_cast<unsigned long>(got.lVal));
    VariantClear(&got);
    long children = 0;  // an element has none
    if (child == CHILDID_SELF && FAILED(acc->get_accChildCount(&children))) children = 0;
    BSTR text = nullptr;
    HRESULT hr = acc->get_accName(id, &text);
    const std::string name = OneLine(hr, text);
    text = nullptr;
    hr = acc->get_accValue(id, &text);
    const std::string value = OneLine(hr, text);
    text = nullptr;
    hr = acc->get_accDefaultAction(id, &text);
    const std::string action = OneLine(hr, text);
    std::printf("role=%s\tstate=%s\tchildren=%ld\tname=%s\tvalue=%s\taction=%s\n", role, state,
                children, name.c_str(), value.c_str(), action.c_str());
    std::fflush(stdout);
}

// A program that never answers WM_GETOBJECT or a call on its object ends the probe with exit
// code 4 after `ms` milliseconds.
void EndProbeAfter(DWORD ms) {
    CreateThread(
        nullptr, 0,
        [](void* limit) -> DWORD {
            Sleep(static_cast<DWORD>(reinterpret_cast<uintptr_t>(limit)));
            std::fflush(stdout);
            TerminateProcess(GetCurrentProcess(), 4);
            return 0;
        },
        reinterpret_cast<void*>(uintptr_t(ms)), 0, nullptr);
}

// The acc commands: args are the words after TITLE.
int Accessibility(const std::wstring& cmd, HWND window, int argc, wchar_t** argv) {
    EndProbeAfter(30000);
    if (FAILED(CoInitialize(nullptr))) return 3;
    auto objectOf = [](HWND control, HRESULT* hr) {
        IAccessible* acc = nullptr;
        *hr = AccessibleObjectFromWindow(control, OBJID_CLIENT, kIidAccessible,
                                         reinterpret_cast<void**>(&acc));
        if (FAILED(*hr)) acc = nullptr;
        return acc;
    };
    HRESULT hr = S_OK;
    if (cmd == L"acclist") {
        std::vector<HWND> controls{window};  // the window, then its controls
        EnumChildWindows(
            window,
            [](HWND c, LPARAM p) -> BOOL {
                auto* all = reinterpret_cast<std::vector<HWND>*>(p);
                if (GetParent(c) == all->front() && GetDlgCtrlID(c) != 0) all->push_back(c);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&controls));
        int result = 0;
        for (size_t i = 1; i < controls.size(); ++i) {
            const int id = GetDlgCtrlID(controls[i]);
            IAccessible* acc = objectOf(controls[i], &hr);
            if (!acc) {
                std::printf("%d\thr=0x%08lx\n", id, static_cast<unsigned long>(hr));
                result = 3;
                continue;
            }
            std::printf("%d\t", id);
            Describe(acc, CHILDID_SELF);
            long children = 0;
            if (FAILED(acc->get_accChildCount(&children))) children = 0;
            for (long child = 1; child <= children; ++child) {
                std::printf("%d.%ld\t", id, child);
                Describe(acc, child);
            }
            acc->Release();
        }
        return result;
    }
    if (argc < 1) return 2;
    HWND control = GetDlgItem(window, static_cast<int>(Number(argv[0])));
    if (!control) return 1;
    IAccessible* acc = objectOf(control, &hr);
    if (acc) {
        if (cmd == L"acc") {
            Describe(acc, argc > 1 ? static_cast<long>(Number(argv[1])) : CHILDID_SELF);
        } else if (cmd == L"accdo") {
            hr =
                acc->accDoDefaultAction(ChildId(argc > 1 ? static_cast<long>(Number(argv[1])) : 0));
        } else if (cmd == L"accset" && argc > 1) {
            BSTR value = SysAllocString(argv[1]);
            hr = acc->put_accValue(ChildId(CHILDID_SELF), value);
            SysFreeString(value);
        } else {
            hr = E_INVALIDARG;
        }
        acc->Release();
    }
    if (hr != S_OK) std::printf("hr=0x%08lx\n", static_cast<unsigned long>(hr));
    return hr == S_OK ? 0 : 3;
}

std::vector<HWND> ControlsOf(HWND window) {
    std::vector<HWND> all{window};
    EnumChildWindows(
        window,
        [](HWND c, LPARAM p) -> BOOL {
            auto* list = reinterpret_cast<std::vector<HWND>*>(p);
            if (GetParent(c) == list->front()) list->push_back(c);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&all));
    all.erase(all.begin());
    return all;
}

// A reader's walk: times each call and counts the slow and the failed.
struct Walk {
    long objects = 0, calls = 0, over = 0, failed = 0;
    double slowest = 0;
    bool quietFailures = false;  // failures counted, not printed
    LARGE_INTEGER frequency{};
    Walk() { QueryPerformanceFrequency(&frequency); }

    template <typename Call>
    HRESULT Timed(const char* what, Call&& call) {
        LARGE_INTEGER a, b;
        QueryPerformanceCounter(&a);
        const HRESULT hr = call();
        QueryPerformanceCounter(&b);
        const double ms = 1000.0 * double(b.QuadPart - a.QuadPart) / double(frequency.QuadPart);
        ++calls;
        slowest = std::max(slowest, ms);
        // "no such property" and "no action" are answers; anything else that fails is not
        const bool fine = SUCCEEDED(hr) || hr == DISP_E_MEMBERNOTFOUND || hr == E_NOTIMPL;
        if (!fine) ++failed;
        if (ms > 2000) ++over;
        if ((!fine && !quietFailures) || ms > 2000)
            std::printf("call %s hr=0x%08lx ms=%.0f\n", what, static_cast<unsigned long>(hr), ms);
        return hr;
    }
    void Ask(IAccessible* acc, long child) {
        ++objects;
        VARIANT id = ChildId(child), got;
        VariantInit(&got);
        Timed("role", [&] { return acc->get_accRole(id, &got); });
        VariantClear(&got);
        Timed("state", [&] { return acc->get_accState(id, &got); });
        VariantClear(&got);
        for (auto get : {&IAccessible::get_accName, &IAccessible::get_accValue,
                         &IAccessible::get_accDefaultAction}) {
            BSTR text = nullptr;
            if (Timed("text", [&] { return (acc->*get)(id, &text); }) == S_OK) SysFreeString(text);
        }
        long x, y, w, h;
        Timed("location", [&] { return acc->accLocation(&x, &y, &w, &h, id); });
    }
    // An object and, to `depth` levels, its children as AccessibleChildren gives them.
    void Tree(IAccessible* acc, int depth) {
        Ask(acc, CHILDID_SELF);
        long count = 0;
        if (FAILED(Timed("childcount", [&] { return acc->get_accChildCount(&count); })) ||
            count <= 0 || depth == 0)
            return;
        count = std::min(count, 400L);
        std::vector<VARIANT> kids(static_cast<size_t>(count));
        long got = 0;
        if (FAILED(Timed("children",
                         [&] { return AccessibleChildren(acc, 0, count, kids.data(), &got); })))
            return;
        for (long i = 0; i < got; ++i) {
            VARIANT& kid = kids[size_t(i)];
            if (kid.vt == VT_DISPATCH && kid.pdispVal) {
                IAccessible* child = nullptr;
                if (SUCCEEDED(kid.pdispVal->QueryInterface(kIidAccessible,
                                                           reinterpret_cast<void**>(&child)))) {
                    Tree(child, depth - 1);
                    child->Release();
                }
            } else if (kid.vt == VT_I4) {
                Ask(acc, kid.lVal);
            }
            VariantClear(&kid);
        }
    }
};

int AccWalk(HWND main) {
    Walk walk;
    for (HWND window : ProcessWindows(main)) {
        IAccessible* acc = nullptr;
        if (walk.Timed("window", [&] {
                return AccessibleObjectFromWindow(window, OBJID_CLIENT, kIidAccessible,
                                                  reinterpret_cast<void**>(&acc));
            }) == S_OK) {
            walk.Tree(acc, 3);
            acc->Release();
        }
        for (HWND control : ControlsOf(window)) {
            IAccessible* own = nullptr;
            if (walk.Timed("control", [&] {
                    return AccessibleObjectFromWindow(control, OBJID_CLIENT, kIidAccessible,
                                                      reinterpret_cast<void**>(&own));
                }) != S_OK)
                continue;
            walk.Tree(own, 1);
            own->Release();
        }
    }
    DWORD_PTR count = 0;
    const DWORD start = GetTickCount();
    const bool answered = SendMessageTimeoutW(main, 2027, 0, 0, SMTO_ABORTIFHUNG, 1000, &count);
    const DWORD took = GetTickCount() - start;
    char diagnostics[24] = "-";
    if (answered) std::snprintf(diagnostics, sizeof diagnostics, "%lld", (long long)count);
    std::printf(
        "objects %ld calls %ld slowest_ms %.0f over2s %ld failed %ld diagnostics %s "
        "diagnostics_ms %lu\n",
        walk.objects, walk.calls, walk.slowest, walk.over, walk.failed, diagnostics,
        static_cast<unsigned long>(took));
    return 0;
}

// The registered messages a foreign process may send the program's windows.
int AccForeign(HWND main, unsigned seed) {
    std::vector<UINT> messages;
    for (UINT m = 0xC000; m <= 0xFFFF; ++m) {
        wchar_t name[256];
        const int n = GetClipboardFormatNameW(m, name, 256);
        if (n <= 0) continue;
        const std::wstring text(name, size_t(n));
        if (text.rfind(L"Quorelle", 0) == 0 || text == L"TaskbarCreated") messages.push_back(m);
    }
    // the old hand-over message, registered here so that its number is known even when the
    // program no longer registers it
    messages.push_back(RegisterWindowMessageW(L"Quorelle.AccessibleCall"));
    std::srand(seed);
    for (int i = 0; i < 16; ++i) messages.push_back(0xC000 + UINT(std::rand() % 0x4000));
    const auto random = [] {
        return (static_cast<uint64_t>(std::rand()) << 48) ^
               (static_cast<uint64_t>(std::rand()) << 24) ^ static_cast<uint64_t>(std::rand());
    };
    long sent = 0, unanswered = 0;
    for (HWND window : ProcessWindows(main)) {
        std::vector<HWND> targets = ControlsOf(window);
        targets.insert(targets.begin(), window);
        for (HWND target : targets)
            for (UINT m : messages)
                for (int k = 0; k < 2; ++k) {
                    DWORD_PTR result = 0;
                    ++sent;
                    if (!SendMessageTimeoutW(target, m, WPARAM(random()), LPARAM(random()),
                                             SMTO_ABORTIFHUNG, 1000, &result))
                        ++unanswered;
                }
    }
    std::printf("sent %ld unanswered %ld\n", sent, unanswered);
    return 0;
}

// Control notifications from another process that name one of the probe's windows where the
// program's own control would be: its user data (the slot a window procedure may keep its object
// in) holds an address nothing maps, 0x414141414140. Every window and control of the process gets
// WM_DRAWITEM, each WM_CTLCOLOR*, WM_NOTIFY, and WM_COMMAND with the id of each control of the
// window (a click's notification); each sent, with 1 s at most. Prints "sent N unanswered U
// drawitem D/R ctlcolor D/R notify D/R command D/R": of each kind, those delivered and those the
// system refused to carry to another process.
int Outside(HWND main) {
    HWND foreign = CreateWindowExW(0, L"STATIC", L"foreign", WS_POPUP, 0, 0, 8, 8, nullptr, nullptr,
                                   nullptr, nullptr);
    if (!foreign) return 2;
    SetWindowLongPtrW(foreign, GWLP_USERDATA, static_cast<LONG_PTR>(0x414141414140));
    const auto lp = reinterpret_cast<LPARAM>(foreign);
    // by kind: delivered, and refused by the system (Wine carries no WM_CTLCOLOR* and no WM_NOTIFY
    // to another process)
    struct Tally {
        const char* kind;
        long delivered = 0, refused = 0;
    } drawitem{"drawitem"}, ctlcolor{"ctlcolor"}, notify{"notify"}, command{"command"};
    long sent = 0, unanswered = 0;
    const auto send = [&](Tally& tally, HWND target, UINT msg, WPARAM w, LPARAM l) {
        DWORD_PTR result = 0;
        ++sent;
        SetLastError(0);
        if (SendMessageTimeoutW(target, msg, w, l, SMTO_ABORTIFHUNG, 1000, &result)) {
            ++tally.delivered;
            return;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_TIMEOUT && IsWindow(target))
            ++tally.refused;
        else if (++unanswered <= 5)
            std::printf("unanswered: message 0x%04x to %p, error %lu\n", msg,
                        static_cast<void*>(target), static_cast<unsigned long>(error));
    };
    HDC dc = GetDC(foreign);
    for (HWND window : ProcessWindows(main)) {
        const std::vector<HWND> controls = ControlsOf(window);
        std::vector<HWND> targets = controls;
        targets.insert(targets.begin(), window);
        for (HWND target : targets) {
            const int id = GetDlgCtrlID(target);
            DRAWITEMSTRUCT item{};
            item.CtlType = ODT_BUTTON;
            item.CtlID = UINT(id);
            item.itemAction = ODA_DRAWENTIRE;
            item.hwndItem = foreign;
            item.hDC = dc;
            item.rcItem = {0, 0, 8, 8};
            send(drawitem, target, WM_DRAWITEM, WPARAM(id), reinterpret_cast<LPARAM>(&item));
            for (UINT m : {WM_CTLCOLORSTATIC, WM_CTLCOLORBTN, WM_CTLCOLOREDIT, WM_CTLCOLORLISTBOX,
                           WM_CTLCOLORDLG, WM_CTLCOLORSCROLLBAR, WM_CTLCOLORMSGBOX})
                send(ctlcolor, target, m, reinterpret_cast<WPARAM>(dc), lp);
            NMHDR header{foreign, UINT_PTR(id), static_cast<UINT>(-2)};  // NM_CLICK
            send(notify, target, WM_NOTIFY, WPARAM(id), reinterpret_cast<LPARAM>(&header));
            send(command, target, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), lp);
        }
        // the window hears of a click on each of its controls, named by the foreign window
        for (HWND control : controls)
            send(command, window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), BN_CLICKED), lp);
    }
    ReleaseDC(foreign, dc);
    DestroyWindow(foreign);
    std::printf("sent %ld unanswered %ld", sent, unanswered);
    for (const Tally* t : {&drawitem, &ctlcolor, &notify, &command})
        std::printf(" %s %ld/%ld", t->kind, t->delivered, t->refused);
    std::printf("\n");
    return 0;
}

// A disconnection: the object's own answer once its control is gone, or the platform's for an
// object whose server cut it off (Wine's RPC runtime answers "unknown interface" for a stub the
// server disconnected) or whose process ended.
bool Disconnected(HRESULT hr) {
    return hr == RPC_E_DISCONNECTED || hr == CO_E_OBJNOTCONNECTED || hr == RPC_E_SERVER_DIED ||
           hr == RPC_E_SERVER_DIED_DNE || hr == HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE) ||
           hr == HRESULT_FROM_WIN32(RPC_S_CALL_FAILED) ||
           hr == HRESULT_FROM_WIN32(RPC_S_UNKNOWN_IF);
}

int AccHold(HWND window, int id, int seconds) {
    HWND control = GetDlgItem(window, id);
    if (!control) return 1;
    IAccessible* acc = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, OBJID_CLIENT, kIidAccessible,
                                          reinterpret_cast<void**>(&acc))))
        return 3;
    std::printf("held\n");
    std::fflush(stdout);
    Walk walk;
    long rounds[3] = {}, gone = 0, goneOther = 0;
    int was = -1;
    const DWORD end = GetTickCount() + DWORD(seconds) * 1000;
    while (GetTickCount() < end) {
        int phase = !IsWindow(control) ? 2 : IsWindowVisible(window) ? 0 : 1;
        walk.quietFailures = true;  // told below, once the round's phase is known
        if (phase != was) {
            std::printf("window %s\n", phase == 0 ? "shown" : phase == 1 ? "hidden" : "gone");
            std::fflush(stdout);
            was = phase;
        }
        ++rounds[phase];
        VARIANT self = ChildId(CHILDID_SELF), got;
        VariantInit(&got);
        BSTR text = nullptr;
        long number = 0, x, y, w, h;
        IDispatch* parent = nullptr;
        const HRESULT answers[] = {
            walk.Timed("name", [&] { return acc->get_accName(self, &text); }),
            walk.Timed("role", [&] { return acc->get_accRole(self, &got); }),
            walk.Timed("state", [&] { return acc->get_accState(self, &got); }),
            walk.Timed("children", [&] { return acc->get_accChildCount(&number); }),
            walk.Timed("location", [&] { return acc->accLocation(&x, &y, &w, &h, self); }),
            walk.Timed("focus", [&] { return acc->get_accFocus(&got); }),
            walk.Timed("parent", [&] { return acc->get_accParent(&parent); }),
        };
        if (text) SysFreeString(text);
        if (parent) parent->Release();
        VariantClear(&got);
        // a round during which the window went tells nothing of either phase; nor does one
        // whose failures came as the program ended (its controls go before their windows)
        bool went = phase != 2 && !IsWindow(control);
        const bool failed = std::any_of(std::begin(answers), std::end(answers),
                                        [](HRESULT hr) { return FAILED(hr); });
        for (int wait = 0; phase != 2 && failed && !went && wait < 20; ++wait) {
            Sleep(50);
            went = !IsWindow(control);
        }
        if (went) --rounds[phase];
        if (phase != 2 && !went)
            for (HRESULT hr : answers)
                if (FAILED(hr))
                    std::printf("call failed while the window was there: hr=0x%08lx\n",
                                static_cast<unsigned long>(hr));
        if (phase == 2 && !went)
            for (HRESULT hr : answers) {
                if (Disconnected(hr)) {
                    ++gone;
                } else if (goneOther++ < 8) {
                    std::printf("after the window went: hr=0x%08lx\n",
                                static_cast<unsigned long>(hr));
                }
            }
        Sleep(100);
    }
    acc->Release();
    std::printf(
        "rounds shown %ld hidden %ld gone %ld slowest_ms %.0f gone_disconnected %ld "
        "gone_other %ld\n",
        rounds[0], rounds[1], rounds[2], walk.slowest, gone, goneOther);
    return 0;
}

bool g_released = false;

LRESULT CALLBACK GrabProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONUP:
            g_released = true;
            PostQuitMessage(0);
            return 0;
        case WM_TIMER:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(w, message, wParam, lParam);
    }
}

int Grab(const std::wstring& title, DWORD limit) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = GrabProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    wc.lpszClassName = L"QuorelleProbeGrab";
    if (!RegisterClassW(&wc)) return 4;
    HWND w = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"", WS_POPUP, 0, 0, 120, 60, nullptr,
                             nullptr, wc.hInstance, nullptr);
    if (!w) return 4;
    ShowWindow(w, SW_SHOW);
    UpdateWindow(w);
    // the foreground and the mouse, tried for up to 5 s
    bool held = false;
    for (int i = 0; i < 100 && !held; ++i) {
        SetForegroundWindow(w);
        SetCapture(w);
        held = GetForegroundWindow() == w && GetCapture() == w;
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
        if (!held) Sleep(50);
    }
    if (!held) {
        std::printf("no foreground or no capture\n");
        return 4;
    }
    SetWindowTextW(w, title.c_str());
    SetTimer(w, 1, limit, nullptr);
    INPUT up{};
    up.type = INPUT_MOUSE;
    up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &up, sizeof up);
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) DispatchMessageW(&m);
    DestroyWindow(w);
    std::printf(g_released ? "released\n" : "no release\n");
    return g_released ? 0 : 3;
}

// The windows under `w` (all of its descendants), read once: the pages make their controls
// when they are made and never again.
std::vector<HWND> Descendants(HWND w) {
    std::vector<HWND> all;
    EnumChildWindows(
        w,
        [](HWND child, LPARAM p) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(p)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&all));
    return all;
}

// LeftToPaint for a window whose descendants are known: one request to the window server per
// window while nothing is left, where LeftToPaint also lists each window's children and reads
// its visibility (about three).
bool LeftToPaintAmong(HWND w, const std::vector<HWND>& descendants) {
    if (GetUpdateRect(w, nullptr, FALSE)) return true;
    for (HWND child : descendants)
        if (GetUpdateRect(child, nullptr, FALSE) && IsWindowVisible(child)) return true;
    return false;
}

// A real click (the system's input) at screen point x, y, then the wait until window `to` is
// visible, has nothing left to paint and answers messages; prints the milliseconds from the
// press. 1 when window `from` is not shown; 3 when that did not come within 10 s.
// The probe's looks take the window server's time from the program it times, the more the more
// windows the target has, so the target's windows are listed before the press (a window not
// there yet is listed when it comes) and a look asks each of them one thing.
int Switch(const std::wstring& from, int x, int y, const std::wstring& to) {
    HWND shown = FindOne(from);
    if (!shown || !IsWindowVisible(shown)) return 1;
    HWND w = FindOne(to);
    std::vector<HWND> descendants = w ? Descendants(w) : std::vector<HWND>{};
    SetCursorPos(x, y);
    Sleep(50);  // the pointer's arrival handled first
    INPUT click[2]{};
    click[0].type = click[1].type = INPUT_MOUSE;
    click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    SendInput(2, click, sizeof click[0]);
    // Every look is still a request to the window server per window of the target (its update
    // region), which the program needs for its own paints, so the probe looks every 2 ms
    // instead of without a pause, which slowed the program it timed the more, the more windows
    // a page has.
    for (;;) {
        QueryPerformanceCounter(&now);
        const double ms =
            double(now.QuadPart - start.QuadPart) * 1000.0 / double(frequency.QuadPart);
        if (ms > 10000) return 3;
        if (w == nullptr || !IsWindow(w)) {
            w = FindOne(to);
            descendants = w ? Descendants(w) : std::vector<HWND>{};
        }
        DWORD_PTR answer = 0;
        if (w && IsWindowVisible(w) && !LeftToPaintAmong(w, descendants) &&
            SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer) &&
            !LeftToPaintAmong(w, descendants)) {
            QueryPerformanceCounter(&now);
            std::printf("%.2f\n", double(now.QuadPart - start.QuadPart) * 1000.0 /
                                      double(frequency.QuadPart));
            return 0;
        }
        Sleep(2);
    }
}

}  // namespace

// The first alert event of another process: its object's role and name.
int Alerts(DWORD limit) {
    if (FAILED(CoInitialize(nullptr))) return 3;
    static bool heard = false;
    const WINEVENTPROC heardAlert = [](HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG child,
                                       DWORD, DWORD) {
        if (heard) return;
        heard = true;
        IAccessible* acc = nullptr;
        VARIANT self;
        VariantInit(&self);
        std::wstring name;
        LONG role = -1;
        if (SUCCEEDED(AccessibleObjectFromEvent(hwnd, object, child, &acc, &self)) && acc) {
            BSTR text = nullptr;
            if (SUCCEEDED(acc->get_accName(self, &text)) && text) name = text;
            SysFreeString(text);
            VARIANT r;
            VariantInit(&r);
            if (SUCCEEDED(acc->get_accRole(self, &r)) && r.vt == VT_I4) role = r.lVal;
            acc->Release();
        }
        std::printf("alert role=0x%02lX name=%s\n", role, Utf8(name).c_str());
        std::fflush(stdout);
    };
    HWINEVENTHOOK hook =
        SetWinEventHook(EVENT_SYSTEM_ALERT, EVENT_SYSTEM_ALERT, nullptr, heardAlert, 0, 0,
                        WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    if (!hook) return 2;
    std::printf("ready\n");
    std::fflush(stdout);
    const DWORD start = GetTickCount();
    while (!heard && GetTickCount() - start < limit) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    UnhookWinEvent(hook);
    CoUninitialize();
    return heard ? 0 : 1;
}

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    std::wstring cmd = argv[1];
    std::wstring title = argv[2];
    if (cmd == L"wait" || cmd == L"gone") {
        DWORD limit = argc > 3 ? static_cast<DWORD>(Number(argv[3])) : 10000;
        DWORD start = GetTickCount();
        for (;;) {
            HWND h = FindOne(title);
            bool done = cmd == L"wait" ? (h && IsWindowVisible(h)) : !h;
            if (done) return 0;
            if (GetTickCount() - start > limit) return 1;
            Sleep(50);
        }
    }
    if (cmd == L"launch" && argc > 3) {
        std::wstring exe = argv[2];
        std::wstring windowTitle = argv[3];
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        std::wstring commandLine = L"\"" + exe + L"\"";
        LARGE_INTEGER frequency, start, now;
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&start);
        if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, &si, &pi))
            return 1;
        HWND w = nullptr;
        for (int i = 0; i < 30000 && !(w && IsWindowVisible(w)); ++i) {
            w = FindOne(windowTitle);
            if (!(w && IsWindowVisible(w))) Sleep(1);
        }
        DWORD_PTR answer = 0;
        if (!w || !SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &answer)) return 1;
        QueryPerformanceCounter(&now);
        const double ms =
            double(now.QuadPart - start.QuadPart) * 1000.0 / double(frequency.QuadPart);
        Sleep(500);  // let the start-up settle before the memory is read
        PROCESS_MEMORY_COUNTERS pmc{};
        pmc.cb = sizeof pmc;
        GetProcessMemoryInfo(pi.hProcess, &pmc, sizeof pmc);
        std::printf("%.1f %zu\n", ms, static_cast<size_t>(pmc.PeakWorkingSetSize / 1024));
        PostMessageW(w, WM_COMMAND, 32775, 0);  // "Exit" of the panel
        PostMessageW(w, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(pi.hProcess, 20000) != WAIT_OBJECT_0)
            TerminateProcess(pi.hProcess, 1);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        return 0;
    }
    if (cmd == L"switch" && argc > 5)
        return Switch(title, static_cast<int>(Number(argv[3])), static_cast<int>(Number(argv[4])),
                      argv[5]);
    if (cmd == L"grab") return Grab(title, argc > 3 ? static_cast<DWORD>(Number(argv[3])) : 10000);
    if (cmd == L"foreground") {
        std::printf("%s\n", Utf8(TextOf(GetForegroundWindow())).c_str());
        return 0;
    }
    if (cmd == L"alert") return Alerts(argc > 3 ? static_cast<DWORD>(Number(argv[3])) : 10000);
    if (cmd == L"count") {
        std::printf("%zu\n", Find(title).size());
        return 0;
    }
    HWND h = FindOne(title);
    if (!h) return 1;
    if (cmd == L"rect") {
        RECT r;
        GetWindowRect(h, &r);
        std::printf("%ld %ld %ld %ld %d\n", r.left, r.top, r.right - r.left, r.bottom - r.top,
                    IsWindowVisible(h) ? 1 : 0);
        return 0;
    }
    if (cmd == L"windows") {
        for (HWND w : ProcessWindows(h)) {
            RECT r;
            GetWindowRect(w, &r);
            std::printf("%p %d %ld %ld %ld %ld %s\n", static_cast<void*>(w),
                        IsWindowVisible(w) ? 1 : 0, r.left, r.top, r.right - r.left,
                        r.bottom - r.top, Utf8(TextOf(w)).c_str());
        }
        return 0;
    }
    if (cmd == L"text" && argc > 3) {
        HWND c = GetDlgItem(h, static_cast<int>(Number(argv[3])));
        if (!c) return 1;
        // asked of the control itself: edit fields and combo boxes keep their text to themselves
        wchar_t buf[1024] = {};
        DWORD_PTR copied = 0;
        if (!SendMessageTimeoutW(c, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buf),
                                 SMTO_ABORTIFHUNG, 5000, &copied))
            return 1;
        std::printf("%s\n", Utf8(buf).c_str());
        return 0;
    }
    if (cmd == L"ctlrect" && argc > 3) {
        struct Search {
            int id;
            HWND found;
        } search{static_cast<int>(Number(argv[3])), nullptr};
        search.found = GetDlgItem(h, search.id);
        if (!search.found)
            EnumChildWindows(
                h,
                [](HWND c, LPARAM p) -> BOOL {
                    auto* s = reinterpret_cast<Search*>(p);
                    if (GetDlgCtrlID(c) != s->id || !IsWindowVisible(c)) return TRUE;
                    s->found = c;
                    return FALSE;
                },
                reinterpret_cast<LPARAM>(&search));
        HWND c = search.found;
        if (!c) return 1;
        RECT r;
        GetWindowRect(c, &r);
        std::printf("%ld %ld %ld %ld %d\n", r.left, r.top, r.right - r.left, r.bottom - r.top,
                    IsWindowVisible(c) ? 1 : 0);
        return 0;
    }
    if (cmd == L"burst" && argc > 5) {
        return Burst(h, title, static_cast<long>(Number(argv[3])),
                     static_cast<long>(Number(argv[4])), static_cast<unsigned>(Number(argv[5])));
    }
    if (cmd == L"controls") {
        EnumChildWindows(
            h,
            [](HWND c, LPARAM parent) -> BOOL {
                if (GetParent(c) != reinterpret_cast<HWND>(parent)) return TRUE;
                RECT r;
                GetWindowRect(c, &r);
                wchar_t cls[64] = {};
                GetClassNameW(c, cls, 64);
                std::printf("%d %ld %ld %ld %ld %d %s\n", GetDlgCtrlID(c), r.left, r.top,
                            r.right - r.left, r.bottom - r.top, IsWindowVisible(c) ? 1 : 0,
                            Utf8(cls).c_str());
                return TRUE;
            },
            reinterpret_cast<LPARAM>(h));
        return 0;
    }
    if (cmd == L"layout") {
        RECT r;
        GetWindowRect(h, &r);
        std::printf("window %ld %ld\n", r.right - r.left, r.bottom - r.top);
        EnumChildWindows(
            h,
            [](HWND c, LPARAM parent) -> BOOL {
                if (GetParent(c) != reinterpret_cast<HWND>(parent) || !IsWindowVisible(c))
                    return TRUE;
                RECT r;
                GetWindowRect(c, &r);
                MapWindowPoints(HWND_DESKTOP, reinterpret_cast<HWND>(parent),
                                reinterpret_cast<POINT*>(&r), 2);
                wchar_t cls[64] = {};
                GetClassNameW(c, cls, 64);
                std::printf("%d %ld %ld %ld %ld %s\n", GetDlgCtrlID(c), r.left, r.top,
                            r.right - r.left, r.bottom - r.top, Utf8(cls).c_str());
                return TRUE;
            },
            reinterpret_cast<LPARAM>(h));
        return 0;
    }
    if (cmd == L"dismiss") {
        for (HWND w : ProcessWindows(h)) {
            wchar_t cls[64] = {};
            GetClassNameW(w, cls, 64);
            const std::wstring text = TextOf(w);
            if (!IsWindowVisible(w) || std::wstring(cls) != L"#32770" || text.rfind(title, 0) == 0)
                continue;
            wchar_t body[512] = {};
            GetDlgItemTextW(w, 0xFFFF, body, 512);
            std::printf("%s: %s\n", Utf8(text).c_str(), Utf8(body).c_str());
            PostMessageW(w, WM_COMMAND, IDCANCEL, 0);
        }
        return 0;
    }
    if (cmd == L"handles") {
        DWORD pid = 0;
        GetWindowThreadProcessId(h, &pid);
        std::vector<int> byType;
        const int live = LiveGdiObjects(pid, argc > 3 ? &byType : nullptr);
        std::printf("gdi %d windows %d", live, WindowsOf(pid));
        for (size_t type = 0; type < byType.size(); ++type)
            if (byType[type] > 0) std::printf(" type%zu=%d", type, byType[type]);
        std::printf("\n");
        return 0;
    }
    if (cmd == L"acc" || cmd == L"acclist" || cmd == L"accdo" || cmd == L"accset")
        return Accessibility(cmd, h, argc - 3, argv + 3);
    if (cmd == L"accwalk" || cmd == L"acchold") {
        if (FAILED(CoInitialize(nullptr))) return 3;
        if (cmd == L"accwalk") {
            EndProbeAfter(180000);  // a walk takes some 20 s on a busy machine
            return AccWalk(h);
        }
        if (argc < 5) return 2;
        return AccHold(h, static_cast<int>(Number(argv[3])), static_cast<int>(Number(argv[4])));
    }
    if (cmd == L"outside") return Outside(h);
    if (cmd == L"accforeign")
        return AccForeign(h, argc > 3 ? static_cast<unsigned>(Number(argv[3])) : 1);
    if (cmd == L"focused") {
        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(h, nullptr), &gui)) return 1;
        std::printf("active %d focus %d\n", gui.hwndActive == h ? 1 : 0,
                    gui.hwndFocus && IsChild(h, gui.hwndFocus) ? GetDlgCtrlID(gui.hwndFocus) : 0);
        return 0;
    }
    if (cmd == L"pointer") {
        // what a click at the pointer would reach, and the thread's input state: where a lost
        // click went
        POINT at{};
        GetCursorPos(&at);
        const HWND under = WindowFromPoint(at);
        wchar_t cls[64] = {};
        if (under) GetClassNameW(under, cls, 64);
        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        GetGUIThreadInfo(GetWindowThreadProcessId(h, nullptr), &gui);
        const auto id = [](HWND w) { return w ? GetDlgCtrlID(w) : 0; };
        std::printf("at %ld %ld: %s id %d of \"%s\" enabled %d; active \"%s\" focus %d capture %d "
                    "flags %#lx; foreground \"%s\"\n",
                    at.x, at.y, Utf8(cls).c_str(), id(under),
                    Utf8(TextOf(under ? GetAncestor(under, GA_ROOT) : nullptr)).c_str(),
                    under && IsWindowEnabled(GetAncestor(under, GA_ROOT)) ? 1 : 0,
                    Utf8(TextOf(gui.hwndActive)).c_str(), id(gui.hwndFocus), id(gui.hwndCapture),
                    static_cast<unsigned long>(gui.flags),
                    Utf8(TextOf(GetForegroundWindow())).c_str());
        return 0;
    }
    if (cmd == L"caret") {
        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(h, nullptr), &gui) || !gui.hwndCaret)
            return 1;
        RECT r = gui.rcCaret;
        MapWindowPoints(gui.hwndCaret, nullptr, reinterpret_cast<POINT*>(&r), 2);
        std::printf("%d %ld %ld %ld %ld\n", GetDlgCtrlID(gui.hwndCaret), r.left, r.top,
                    r.right - r.left, r.bottom - r.top);
        return 0;
    }
    if (cmd == L"stale") return Stale(h, title, argc > 3 ? argv[3] : nullptr);
    if (cmd == L"settle") {
        Settle(FirstVisible(h, title));
        return 0;
    }
    if (cmd == L"paintalone") {  // each window under TITLE's first window invalidated alone
        for (HWND child : Descendants(h)) InvalidateRect(child, nullptr, FALSE);
        return 0;
    }
    if (cmd == L"menu") {
        DWORD pid = 0;
        GetWindowThreadProcessId(h, &pid);
        const bool want = argc <= 4 || Number(argv[4]) != 0;
        const DWORD limit = argc > 3 ? static_cast<DWORD>(Number(argv[3])) : 10000;
        const DWORD start = GetTickCount();
        while (MenuShown(pid) != want) {
            if (GetTickCount() - start > limit) return 1;
            Sleep(50);
        }
        return 0;
    }
    if (cmd == L"menuitems") return MenuItems(h);
    if (cmd == L"memory") {
        DWORD pid = 0;
        GetWindowThreadProcessId(h, &pid);
        HANDLE process =
            OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_VM_READ, FALSE, pid);
        PROCESS_MEMORY_COUNTERS pmc{};
        pmc.cb = sizeof pmc;
        const bool read = process && GetProcessMemoryInfo(process, &pmc, sizeof pmc);
        if (process) CloseHandle(process);
        if (!read) return 1;
        std::printf("peak %zu now %zu\n", static_cast<size_t>(pmc.PeakWorkingSetSize / 1024),
                    static_cast<size_t>(pmc.WorkingSetSize / 1024));
        return 0;
    }
    if (cmd == L"repaint" && argc > 4)
        return Repaint(h, static_cast<int>(Number(argv[3])), argv[4]);
    if ((cmd == L"send" || cmd == L"post") && argc > 5) {
        UINT msg = static_cast<UINT>(Number(argv[3]));
        WPARAM w = static_cast<WPARAM>(Number(argv[4]));
        LPARAM l = static_cast<LPARAM>(Number(argv[5]));
        if (cmd == L"send") {
            DWORD_PTR result = 0;
            if (!SendMessageTimeoutW(h, msg, w, l, SMTO_ABORTIFHUNG, 10000, &result)) return 1;
            std::printf("%lld\n", static_cast<long long>(result));
        } else if (!PostMessageW(h, msg, w, l)) {
            return 1;
        }
        return 0;
    }
    return 2;
}
