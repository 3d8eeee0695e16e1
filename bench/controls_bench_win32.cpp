// Cost of painting the skinned controls, against one block copy of the same area.
// Prints figures only.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "controls/gdi_win32.h"
#include "controls/knob_win32.h"
#include "controls/lamp_win32.h"
#include "controls/page_win32.h"
#include "controls/slider_win32.h"
#include "targets.h"

using namespace quorelle;
using namespace quorelle::controls;

namespace {

double Seconds() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return double(now.QuadPart) / double(frequency.QuadPart);
}

// Microseconds per call, over `rounds` calls after a few warm-up calls.
double Time(int rounds, const std::function<void()>& call) {
    for (int i = 0; i < 10; ++i) call();
    GdiFlush();
    const double start = Seconds();
    for (int i = 0; i < rounds; ++i) call();
    GdiFlush();
    return (Seconds() - start) * 1e6 / rounds;
}

struct Surface {
    gdi::OwnedDC dc;
    gdi::Bitmap bitmap;
    HGDIOBJ previous;
    Surface(HDC screen, int w, int h)
        : dc(CreateCompatibleDC(screen)),
          bitmap(CreateCompatibleBitmap(screen, w, h)),
          previous(SelectObject(dc.Get(), bitmap.Get())) {}
    ~Surface() { SelectObject(dc.Get(), previous); }
};

double Report(const char* what, int w, int h, int rounds, const std::function<void(HDC)>& paint,
              HDC screen) {
    Surface target(screen, w, h);
    Surface source(screen, w, h);
    // seven rounds of both, side by side, so that both meet the same load of the machine; the
    // round with the median ratio is shown
    struct Round {
        double paintUs, blitUs;
    };
    std::vector<Round> measured;
    for (int i = 0; i < 7; ++i) {
        const double p = Time(rounds, [&] { paint(target.dc.Get()); });
        const double b = Time(
            rounds, [&] { BitBlt(target.dc.Get(), 0, 0, w, h, source.dc.Get(), 0, 0, SRCCOPY); });
        measured.push_back({p, b});
    }
    std::sort(measured.begin(), measured.end(), [](const Round& a, const Round& b) {
        return a.paintUs / a.blitUs < b.paintUs / b.blitUs;
    });
    const double paintUs = measured[measured.size() / 2].paintUs;
    const double blitUs = measured[measured.size() / 2].blitUs;
    std::printf("%-24s %4d x %-4d %10.1f us/paint %10.1f us/BitBlt   ratio %6.1f\n", what, w, h,
                paintUs, blitUs, paintUs / blitUs);
    return paintUs / blitUs;
}

}  // namespace

int main() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    HWND host = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 900, 600, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    HWND knobHwnd = CreateWindowExW(0, TRACKBAR_CLASSW, L"", WS_CHILD | WS_VISIBLE, 10, 10, 50, 50,
                                    host, reinterpret_cast<HMENU>(1007), nullptr, nullptr);
    HWND sliderHwnd =
        CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 10, 80, 97, 20, host,
                        reinterpret_cast<HMENU>(1010), nullptr, nullptr);
    HWND lampHwnd = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_BITMAP, 10, 110,
                                    24, 24, host, reinterpret_cast<HMENU>(1087), nullptr, nullptr);
    HWND page = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);

    CRoundSliderCtrl knob;
    knob.Attach(knobHwnd);
    knob.SetDragLimit(50);
    knob.SetRange(0, 65);
    knob.SetPos(20);
    knob.SetDotRadius(10);
    knob.SetDotColor(RGB(0, 0, 255));
    knob.SetDotPressedColor(RGB(255, 0, 0));
    knob.SetFaceImageId(154);
    knob.SetFaceImageOn(true);

    CBitmapSlider slider;
    slider.Attach(sliderHwnd);
    slider.SetFitToWindow(true);
    slider.LoadTrackImages(152, 152);
    slider.LoadThumbImages(147, 147);
    slider.SetLimits(0, 100);
    slider.SetValue(50);

    CMyStaticBmp lamp;
    lamp.Attach(lampHwnd);
    lamp.LoadLampImages(146, 145);
    lamp.SetLit(true);

    PageFrame frame;
    if (!ApplyPageSkin(page, frame, 134)) std::printf("background 134 missing\n");

    gdi::WindowDC screen(nullptr);
    std::printf("paint cost against one BitBlt of the same area (memory surfaces)\n");
    const double knobRatio = Report(
        "knob paint", 50, 50, 2000, [&](HDC dc) { knob.Paint(dc); }, screen.Get());
    const double sliderRatio = Report(
        "slider paint", 97, 20, 2000, [&](HDC dc) { slider.Paint(dc); }, screen.Get());
    const double lampRatio = Report(
        "lamp paint", 24, 24, 2000, [&](HDC dc) { lamp.Paint(dc); }, screen.Get());
    Report(
        "page background paint", frame.Width(), frame.Height(), 500,
        [&](HDC dc) { PaintPageBackground(frame, dc); }, screen.Get());

    bench::PrintTarget("knob paint", knobRatio, "x BitBlt", 3);
    bench::PrintTarget("slider paint", sliderRatio, "x BitBlt", 3);
    bench::PrintTarget("lamp paint", lampRatio, "x BitBlt", 3);

    DestroyWindow(page);
    DestroyWindow(host);
    return 0;
}
