// Cost of the main console's two busiest paths, with the virtual card loaded as the program
// loads it (from a private copy, so the card's log and state stay out of build/dist):
//   - one knob step: from the mouse message on the knob to both channel levels written;
//   - one press on a sample-rate zone: from the press on the main window to the card's
//     PropertyControl call returned.
// Figures only. Volume goes to a stand-in endpoint that notes the time (Wine's channel levels are
// stubs).
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "../tests/win32/console_host.h"
#include "bench_card_win32.h"
#include "device/conflib.h"
#include "device/selection.h"
#include "pages/main_console_view_win32.h"
#include "pages/page_chrome_win32.h"

using namespace quorelle;
using bench::Clock;
using bench::Micros;
using bench::Report;

namespace {

Clock::time_point lastLevelWrite;
int levelWrites = 0;

struct TimedEndpoint : device::EndpointControl {
    float GetChannelLevel(int) override { return 0.5f; }
    void SetChannelLevel(int, float) override {
        ++levelWrites;
        lastLevelWrite = Clock::now();
    }
    bool GetEndpointMute() override { return false; }
    void SetEndpointMute(bool) override {}
};

struct NoPages : pages::PageRefresh {
    void RefreshHifiFromSettings() override {}
    void RefreshHeadphoneFromSettings() override {}
};

using Host = testing::ConsoleHost;
void Pump() {
    testing::PumpMessages();
}

}  // namespace

int main() {
    INITCOMMONCONTROLSEX icc{sizeof(icc), 0xFF};
    InitCommonControlsEx(&icc);
    if (!bench::OpenTimedCard(bench::PrivateDirectory(L"quorelle-console-bench"))) return 1;

    TimedEndpoint endpoint;
    NoPages pages;
    Host host(endpoint, pages);
    if (!host.Create(nullptr)) {
        std::printf("the main console's window could not be created\n");
        return 1;
    }
    ShowWindow(host.hwnd(), SW_SHOWNOACTIVATE);
    Pump();

    // Knob: pressed pointing at the lower right (target 50), each mouse move steps once.
    HWND knob = GetDlgItem(host.hwnd(), pages::main_ids::kKnob);
    RECT k;
    GetClientRect(knob, &k);
    const int side = std::min(k.right, k.bottom);
    const LPARAM lowerRight = MAKELPARAM(side - 4, side - 4);
    std::vector<double> steps;
    for (int round = 0; round < 10; ++round) {
        SendMessageW(knob, TBM_SETPOS, TRUE, 0);
        SendMessageW(knob, WM_LBUTTONDOWN, MK_LBUTTON, lowerRight);
        Pump();
        for (int i = 0; i < 40; ++i) {
            levelWrites = 0;
            const auto start = Clock::now();
            SendMessageW(knob, WM_MOUSEMOVE, MK_LBUTTON, lowerRight);
            Pump();
            if (levelWrites == 2) steps.push_back(Micros(start, lastLevelWrite));
        }
        SendMessageW(knob, WM_LBUTTONUP, 0, lowerRight);
        Pump();
    }
    const double step = Report("knob step (mouse message to both levels)", steps);

    // Sample-rate zones: alternate between the six zones.
    RECT pic;
    GetWindowRect(GetDlgItem(host.hwnd(), pages::main_ids::kRatePicture), &pic);
    MapWindowPoints(nullptr, host.hwnd(), reinterpret_cast<POINT*>(&pic), 2);
    const int third = (pic.bottom - pic.top) / 3;
    std::vector<double> clicks;
    for (int i = 0; i < 300; ++i) {
        const int zone = i % 6;
        const int x = zone < 3 ? pic.left + 2 : pic.right - 2;
        const int y = pic.top + third * (zone % 3) + third / 2;
        bench::Timing().lastDone = {};
        const auto start = Clock::now();
        SendMessageW(host.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        if (bench::Timing().lastDone != Clock::time_point{})
            clicks.push_back(Micros(start, bench::Timing().lastDone));
        Pump();
    }
    Report("rate zone press (to PropertyControl done)", clicks);

    bench::PrintTarget("knob step (median)", step / 1000, "ms", 1, true);

    DestroyWindow(host.hwnd());
    bench::UntimeCardCalls();
    device::conflib::UnInit();
    return 0;
}
