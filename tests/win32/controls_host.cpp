#include "controls_host.h"

namespace quorelle::testing {

namespace {
constexpr wchar_t kHostClass[] = L"QuorelleControlTestHost";
}

HostWindow::HostWindow(int width, int height, COLORREF background, bool visible)
    : background_(background), brush_(CreateSolidBrush(background)) {
    static bool registered = false;
    if (!registered) {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&icc);
        WNDCLASSW wc{};
        wc.lpfnWndProc = &Procedure;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kHostClass;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        registered = RegisterClassW(&wc) != 0;
    }
    hwnd_ =
        CreateWindowExW(WS_EX_TOPMOST, kHostClass, L"host", WS_POPUP | (visible ? WS_VISIBLE : 0),
                        100, 100, width, height, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    Pump();
}

HostWindow::~HostWindow() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
    Pump();
}

HWND HostWindow::AddChild(const wchar_t* className, DWORD style, int id, int x, int y, int w, int h,
                          const wchar_t* text) {
    return CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, hwnd_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
}

void HostWindow::Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

std::vector<Recorded> HostWindow::Take(UINT message) {
    std::vector<Recorded> taken;
    std::vector<Recorded> kept;
    for (const Recorded& r : recorded_) (r.message == message ? taken : kept).push_back(r);
    recorded_ = std::move(kept);
    return taken;
}

std::vector<Recorded> HostWindow::TakeAll() {
    return std::exchange(recorded_, {});
}

LRESULT CALLBACK HostWindow::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<HostWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    LRESULT reflected = 0;
    if (controls::ReflectNotification(message, wParam, lParam, reflected)) return reflected;
    switch (message) {
        case WM_ERASEBKGND: {
            RECT r;
            GetClientRect(hwnd, &r);
            FillRect(reinterpret_cast<HDC>(wParam), &r, self->brush_.Get());
            return TRUE;
        }
        case WM_HSCROLL:
        case WM_COMMAND:
        case 10449:
        case 10450:
            if (self != nullptr) self->recorded_.push_back({message, wParam, lParam});
            return 0;
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

gdi::Bitmap SolidBitmap(int width, int height, COLORREF colour) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    gdi::Bitmap bitmap(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    const int stride = ((width * 3) + 3) & ~3;
    auto* bytes = static_cast<uint8_t*>(bits);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* p = bytes + y * stride + x * 3;
            p[0] = GetBValue(colour);
            p[1] = GetGValue(colour);
            p[2] = GetRValue(colour);
        }
    }
    return bitmap;
}

Canvas::Canvas(int width, int height, COLORREF fill) : width_(width), height_(height) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    dc_ = gdi::OwnedDC(CreateCompatibleDC(nullptr));
    bitmap_ = gdi::Bitmap(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    bits_ = static_cast<uint32_t*>(bits);
    previous_ = SelectObject(dc_.Get(), bitmap_.Get());
    gdi::Brush brush(CreateSolidBrush(fill));
    RECT r{0, 0, width, height};
    FillRect(dc_.Get(), &r, brush.Get());
}

Canvas::~Canvas() {
    SelectObject(dc_.Get(), previous_);
}

COLORREF Canvas::At(int x, int y) const {
    GdiFlush();
    const uint32_t p = bits_[size_t(y) * width_ + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int Canvas::Count(COLORREF colour, int left, int top, int right, int bottom) const {
    int n = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) n += At(x, y) == colour;
    return n;
}

void PrintInto(HWND hwnd, Canvas& canvas) {
    SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
    GdiFlush();
}

COLORREF BitmapPixel(HBITMAP bitmap, int x, int y) {
    gdi::OwnedDC dc(CreateCompatibleDC(nullptr));
    gdi::SelectGuard select(dc.Get(), bitmap);
    return GetPixel(dc.Get(), x, y);
}

}  // namespace quorelle::testing
