// The main window built from its template in the program's resources.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/main_window_win32.h"
#include "app/application_win32.h"
#include "resource.h"

using namespace quorelle;

namespace {

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

TEST(MainWindow, DiscardsKeyDownForItselfAndItsControlsOnly) {
    CCKorZereDlg dlg;
    ASSERT_TRUE(dlg.Create(nullptr));
    HWND child = CreateWindowW(L"BUTTON", L"b", WS_CHILD, 0, 0, 10, 10, dlg.hwnd(), nullptr,
                               nullptr, nullptr);
    HWND other =
        CreateWindowW(L"STATIC", L"o", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    MSG enter{dlg.hwnd(), WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    MSG escapeOnChild{child, WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
    MSG keyElsewhere{other, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    MSG altF4{dlg.hwnd(), WM_SYSKEYDOWN, VK_F4, 0, 0, {}};
    EXPECT_TRUE(dlg.IsKeyDownForMe(enter));
    EXPECT_TRUE(dlg.IsKeyDownForMe(escapeOnChild));
    EXPECT_FALSE(dlg.IsKeyDownForMe(keyElsewhere));
    EXPECT_FALSE(dlg.IsKeyDownForMe(altF4)) << "system keys keep working";
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

}  // namespace
