// The controls of the five windows as the main window makes them with its pages: each skinned
// control of the program's own classes, drawn through its own device context, made at its final
// place and stacking (nothing moves, sizes or restacks it before its window shows), in the Tab
// order of the layout table.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "app/application_win32.h"
#include "app/main_window_win32.h"
#include "base/text_win32.h"
#include "controls/control_class_win32.h"
#include "controls/layout.h"
#include "controls/page_win32.h"
#include "controls/scale.h"
#include "pages/page_chrome_win32.h"

using namespace quorelle;
using namespace quorelle::controls;

namespace {

// Changes of place, size or stacking each window heard of (WM_WINDOWPOSCHANGED), a show or a
// hide being no change of place.
std::map<HWND, int> g_moves;

LRESULT CALLBACK CountMoves(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == WM_WINDOWPOSCHANGED) {
        const auto* pos = reinterpret_cast<const WINDOWPOS*>(sent->lParam);
        const bool shows = (pos->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)) != 0;
        if ((pos->flags & SWP_NOMOVE) == 0 || (pos->flags & SWP_NOSIZE) == 0 ||
            ((pos->flags & SWP_NOZORDER) == 0 && !shows))
            ++g_moves[sent->hwnd];
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

HWND PageWindow(int pageIndex) {
    struct Find {
        std::wstring title;
        HWND found = nullptr;
    } find{Widen(pages::PageTitle(pageIndex))};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM p) -> BOOL {
            auto* f = reinterpret_cast<Find*>(p);
            wchar_t text[128] = {};
            GetWindowTextW(w, text, 128);
            if (f->title != text) return TRUE;
            f->found = w;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&find));
    return find.found;
}

bool TakesTab(ControlKind kind) {
    return kind == ControlKind::Button || kind == ControlKind::Knob || kind == ControlKind::Combo ||
           kind == ControlKind::Edit;
}

}  // namespace

TEST(ControlClasses, EachControlIsTheProgramsOwnMadeAtItsFinalPlaceInTabOrder) {
    g_moves.clear();
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, &CountMoves, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    CCKorZereDlg dlg;
    const bool created = dlg.Create(nullptr);
    UnhookWindowsHookEx(hook);
    ASSERT_TRUE(created);

    for (int pageIndex : {kPageMain, kPageHifi, kPageAdvance, kPageInfo, kPageHp}) {
        const int dialogId = NavigationIdsOf(pageIndex).dialogId;
        HWND page = PageWindow(pageIndex);
        ASSERT_NE(page, nullptr) << "page " << pageIndex;
        std::vector<int> tableTabs, windowTabs;
        for (const ControlPlace& place : TemplateControls(dialogId)) {
            HWND control = GetDlgItem(page, place.id);
            ASSERT_NE(control, nullptr) << dialogId << "/" << place.id;
            if (TakesTab(place.kind)) tableTabs.push_back(place.id);
            // the combo box and the edit field stay the platform's, sized by the page
            if (place.kind == ControlKind::Combo || place.kind == ControlKind::Edit) continue;
            wchar_t name[64] = {};
            GetClassNameW(control, name, 64);
            const std::wstring want = RecipeOf(dialogId, place).className;
            EXPECT_EQ(want, name) << dialogId << "/" << place.id;
            EXPECT_EQ(GetClassLongPtrW(control, GCL_STYLE) & CS_PARENTDC, ULONG_PTR(0))
                << dialogId << "/" << place.id;
            EXPECT_EQ(g_moves[control], 0) << dialogId << "/" << place.id << " moved after made";
            RECT r{};
            GetWindowRect(control, &r);
            MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&r), 2);
            const PxRect want96 = PlacedRect(dialogId, place, 96);
            EXPECT_EQ((std::vector<LONG>{r.left, r.top, r.right - r.left, r.bottom - r.top}),
                      (std::vector<LONG>{want96.x, want96.y, want96.w, want96.h}))
                << dialogId << "/" << place.id;
        }
        for (HWND c = GetWindow(page, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT))
            if ((GetWindowLongPtrW(c, GWL_STYLE) & WS_TABSTOP) != 0)
                windowTabs.push_back(GetDlgCtrlID(c));
        EXPECT_EQ(windowTabs, tableTabs) << "Tab order of " << dialogId;
    }
    SetAppMainWindow(nullptr);
}
