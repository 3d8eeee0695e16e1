// The smallest Win32 programs the benchmarks measure the panel against, started the same way:
// - without arguments, one window that opens and waits (start-up);
// - with "two X Y", two windows of the panel's size at screen point X Y at the display's scale,
//   one shown: a click on the shown one shows the other and hides itself (a page switch);
// - with "two X Y N", the same windows each with N plain child windows (the platform's static
//   control, in rows over the window), named "Quorelle floor window" and "... 2": the floor of
//   a switch between two windows with as many children as a page has.
#include <windows.h>

#include <cwchar>

namespace {

HWND windows[2];

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_LBUTTONUP && windows[1] != nullptr) {
        HWND other = hwnd == windows[0] ? windows[1] : windows[0];
        ShowWindow(other, SW_SHOWNORMAL);
        ShowWindow(hwnd, SW_HIDE);
        return 0;
    }
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    int x = 0;
    int y = 0;
    int children = 0;
    const int read = std::swscanf(commandLine, L"two %d %d %d", &x, &y, &children);
    const bool two = read >= 2;
    int width = 800;
    int height = 309;
    if (two) {
        // drawn at the display's scale, as the panel is
        SetProcessDPIAware();
        HDC screen = GetDC(nullptr);
        const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
        ReleaseDC(nullptr, screen);
        width = MulDiv(width, dpi, 96);
        height = MulDiv(height, dpi, 96);
    }
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"QuorelleMinimalWindow";
    RegisterClassW(&wc);
    const bool floor = children > 0;
    windows[0] = CreateWindowW(wc.lpszClassName,
                               floor ? L"Quorelle floor window" : L"Quorelle minimal window",
                               WS_POPUP, x, y, width, height, nullptr, nullptr, instance, nullptr);
    if (two)
        windows[1] = CreateWindowW(wc.lpszClassName,
                                   floor ? L"Quorelle floor window 2" : L"Quorelle minimal window 2",
                                   WS_POPUP, x, y, width, height, nullptr, nullptr, instance,
                                   nullptr);
    // the children in rows of ten, each a tenth of the window wide, clear of the middle where
    // the benchmark clicks
    for (HWND parent : windows) {
        for (int i = 0; parent != nullptr && i < children; ++i) {
            const int w = width / 10, h = height / 24;
            const int row = i / 10, top = row < 6 ? row * h : height - (row - 5) * h;
            CreateWindowW(L"STATIC", L"label", WS_CHILD | WS_VISIBLE, (i % 10) * w, top, w - 2,
                          h - 2, parent, nullptr, instance, nullptr);
        }
    }
    ShowWindow(windows[0], SW_SHOWNORMAL);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
