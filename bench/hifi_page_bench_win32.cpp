// Cost of the HIFI page's two heaviest paths, with the virtual card loaded as the program loads
// it (from a private copy) and the settings in a private directory:
//   - a full repaint of the page (background and every control), against one 800 x 501 BitBlt
//     to the same window;
//   - one band slider drag step in mode 3: from the mouse message on the slider to the card's
//     tenth EQ_Slider set returned.
// Figures only.
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "../tests/win32/console_host.h"
#include "bench_card_win32.h"
#include "device/selection.h"
#include "pages/hifi_page_win32.h"
#include "settings/profile_settings_win32.h"

using namespace quorelle;
using bench::Clock;
using bench::Micros;
using bench::Report;

int main() {
    INITCOMMONCONTROLSEX icc{sizeof(icc), 0xFF};
    InitCommonControlsEx(&icc);
    const std::wstring dir = bench::PrivateDirectory(L"quorelle-hifi-bench");
    DeleteFileW((dir + L"CPL.ini").c_str());
    ProfileSettings settings(dir);
    SetSettingsBackend(&settings);
    for (auto [key, value] : {std::pair{"isDrySoundOn", "1"},
                              {"InitialButtonOn", "3"},
                              {"ENVEnable", "1"},
                              {"RoomEnable", "1"},
                              {"RoomSize", "1"}})
        WriteSettingText(kCplIni, "Hifi", key, value);

    // The page opens without the library (none beside this program); the card comes after.
    pages::CDlgHifi page;
    if (!page.Create(nullptr)) {
        std::printf("the HIFI page's window could not be created\n");
        return 1;
    }
    if (!bench::OpenTimedCard(dir)) return 1;
    page.RefreshFromSettings();
    SetWindowPos(page.hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    testing::PumpMessages();

    // Full repaint against one block copy of the page's size.
    HDC screen = GetDC(page.hwnd());
    HDC source = CreateCompatibleDC(screen);
    HBITMAP image = CreateCompatibleBitmap(screen, 800, 501);
    HGDIOBJ previous = SelectObject(source, image);
    std::vector<double> repaints, blits;
    for (int i = 0; i < 60; ++i) {
        auto start = Clock::now();
        RedrawWindow(page.hwnd(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        GdiFlush();
        repaints.push_back(Micros(start, Clock::now()));
        start = Clock::now();
        BitBlt(screen, 0, 0, 800, 501, source, 0, 0, SRCCOPY);
        GdiFlush();
        blits.push_back(Micros(start, Clock::now()));
    }
    SelectObject(source, previous);
    DeleteObject(image);
    DeleteDC(source);
    ReleaseDC(page.hwnd(), screen);
    const double repaint = Report("full repaint of the HIFI page", repaints);
    const double blit = Report("one 800 x 501 BitBlt to the page", blits);
    // Where a full repaint goes: the page's own background, and each child window repainted by
    // itself, summed by window class.
    std::vector<double> own;
    for (int i = 0; i < 30; ++i) {
        const auto start = Clock::now();
        RedrawWindow(page.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        GdiFlush();
        own.push_back(Micros(start, Clock::now()));
    }
    Report("  the page's background alone", own);
    std::vector<HWND> children;
    EnumChildWindows(
        page.hwnd(),
        [](HWND child, LPARAM list) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    std::map<std::wstring, std::pair<int, double>> byClass;  // count, summed median
    for (HWND child : children) {
        if (!IsWindowVisible(child)) continue;
        wchar_t name[64] = {};
        GetClassNameW(child, name, 64);
        if (lstrcmpiW(name, L"QuorelleStatic") == 0)
            lstrcpyW(name, (GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP
                               ? L"QuorelleStatic (picture)"
                               : L"QuorelleStatic (text)");
        std::vector<double> alone;
        for (int i = 0; i < 9; ++i) {
            const auto start = Clock::now();
            RedrawWindow(child, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
            GdiFlush();
            alone.push_back(Micros(start, Clock::now()));
        }
        std::sort(alone.begin(), alone.end());
        auto& entry = byClass[name];
        ++entry.first;
        entry.second += alone[alone.size() / 2];
    }
    for (const auto& [name, figures] : byClass)
        std::printf("  %3d visible %-20ls repainted one by one: %8.1f us in all\n", figures.first,
                    name.c_str(), figures.second);

    // Band slider drag: the thumb of the 16K slider pressed, then moved up and down by one
    // value at a time; each move posts SLIDER_MSG_TRACK and the page sends the ten bands.
    HWND slider = GetDlgItem(page.hwnd(), pages::hifi_ids::kBands[9]);
    RECT s;
    GetClientRect(slider, &s);
    const int x = s.right / 2;
    int y = s.bottom / 2;
    SendMessageW(slider, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    testing::PumpMessages();
    std::vector<double> steps, wholeSteps;
    for (int i = 0; i < 300; ++i) {
        y += (i / 10) % 2 == 0 ? -2 : 2;
        bench::Timing().sets = 0;
        const auto start = Clock::now();
        SendMessageW(slider, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
        testing::PumpMessages();
        const auto end = Clock::now();
        // a step that moved the value sends the ten bands and nothing else
        if (bench::Timing().sets == 10) {
            steps.push_back(Micros(start, bench::Timing().lastDone));
            wholeSteps.push_back(Micros(start, end));
        }
    }
    SendMessageW(slider, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    testing::PumpMessages();
    const double step = Report("band drag step (mouse message to 10th set)", steps);
    Report("  whole step (keys written, slider painted)", wholeSteps);
    // What one step is made of: the ten band keys written in one step (one of them changed), the
    // card's ten sets; for comparison ten reads and ten writes one key at a time.
    std::vector<double> reads, writes, batches, sets;
    device::PropertyBuffer buffer;
    for (int i = 0; i < 50; ++i) {
        auto start = Clock::now();
        for (int k = 0; k < 10; ++k) ReadSettingText(kCplIni, "Hifi", "eq_" + std::to_string(k));
        reads.push_back(Micros(start, Clock::now()));
        start = Clock::now();
        for (int k = 0; k < 10; ++k)
            WriteSettingInt(kCplIni, "Hifi", "eq_" + std::to_string(k), i % 2);
        writes.push_back(Micros(start, Clock::now()));
        std::array<std::string, 10> keys, values;
        std::array<SettingText, 10> entries;
        for (int k = 0; k < 10; ++k) {
            keys[k] = "eq_" + std::to_string(k);
            values[k] = std::to_string(k == 3 ? i : 0);
            entries[k] = {keys[k], values[k]};
        }
        start = Clock::now();
        WriteSettingTexts(kCplIni, "Hifi", entries);
        batches.push_back(Micros(start, Clock::now()));
        start = Clock::now();
        for (int k = 0; k < 10; ++k)
            device::SetProperty32(device::theOutputDevice.device, u"EQ_Slider1", 0, buffer);
        sets.push_back(Micros(start, Clock::now()));
    }
    Report("  ten band keys read", reads);
    Report("  ten band keys written one by one", writes);
    Report("  ten band keys written in one step", batches);
    Report("  the virtual card's ten sets", sets);

    bench::PrintTarget("full HIFI page repaint", repaint / blit, "x BitBlt", 10);
    bench::PrintTarget("band slider step (median)", step / 1000, "ms", 1, true);

    DestroyWindow(page.hwnd());
    bench::UntimeCardCalls();
    device::conflib::UnInit();
    SetSettingsBackend(nullptr);
    return 0;
}
