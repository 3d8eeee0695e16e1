// What the page benchmarks share: the virtual card loaded from a private copy (so that its log
// and state stay out of build/dist), a clock, and one line of figures per measurement.
#pragma once

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "device/conflib.h"
#include "device/selection.h"
#include "targets.h"

namespace quorelle::bench {

using Clock = std::chrono::steady_clock;

inline double Micros(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::micro>(to - from).count();
}

// Prints the figures and returns the median (not a number without samples).
inline double Report(const char* what, std::vector<double> us) {
    if (us.empty()) {
        std::printf("%-44s no samples\n", what);
        return std::nan("");
    }
    std::sort(us.begin(), us.end());
    double sum = 0;
    for (double v : us) sum += v;
    std::printf("%-44s n=%zu  median %.1f us  mean %.1f us  p95 %.1f us  max %.1f us\n", what,
                us.size(), us[us.size() / 2], sum / double(us.size()),
                us[std::min(us.size() - 1, us.size() * 95 / 100)], us.back());
    return us[us.size() / 2];
}

// A private directory in the temporary folder, with a trailing backslash.
inline std::wstring PrivateDirectory(const wchar_t* name) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring dir = std::wstring(temp) + name;
    CreateDirectoryW(dir.c_str(), nullptr);
    return dir + L"\\";
}

// The virtual card copied from build/dist into `dir` (fresh state and log) and loaded from there
// into the entry-point table.
inline bool LoadPrivateCard(const std::wstring& dir) {
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring exeDir(exe);
    exeDir.resize(exeDir.find_last_of(L'\\') + 1);
    const std::wstring source = exeDir + L"..\\..\\dist\\osConfLib.dll";
    DeleteFileW((dir + L"VirtualCard.state").c_str());
    DeleteFileW((dir + L"VirtualCard.log").c_str());
    const std::wstring target = dir + L"osConfLib.dll";
    if (!CopyFileW(source.c_str(), target.c_str(), FALSE)) return false;
    HMODULE card = LoadLibraryW(target.c_str());
    if (!card) return false;
    device::ConfLibSlots() = device::ResolveEntryPoints(
        [card](const char* name) { return reinterpret_cast<void*>(GetProcAddress(card, name)); });
    return device::ConfLibSlots().PropertyControl != nullptr;
}

// The card's PropertyControl wrapped so that each call notes when it returned: install after the
// card is loaded, read Timing(), uninstall before the card is unloaded.
struct CardTiming {
    Clock::time_point lastDone;
    int sets = 0;  // sets returned since the count was last cleared
    device::PropertyControlFn card = nullptr;
};
inline CardTiming& Timing() {
    static CardTiming timing;
    return timing;
}
inline int32_t TimedPropertyControl(device::DeviceDescriptor d, const char16_t* name, void** data,
                                    void** extra, uint8_t set) {
    const int32_t r = Timing().card(d, name, data, extra, set);
    Timing().lastDone = Clock::now();
    if (set) ++Timing().sets;
    return r;
}
inline void TimeCardCalls() {
    Timing().card = device::ConfLibSlots().PropertyControl;
    device::ConfLibSlots().PropertyControl = &TimedPropertyControl;
}
inline void UntimeCardCalls() {
    device::ConfLibSlots().PropertyControl = Timing().card;
}

// The private card loaded, initialised, the analog output selected and its calls timed; says so
// and returns false when the card is not there.
inline bool OpenTimedCard(const std::wstring& dir) {
    if (!LoadPrivateCard(dir)) {
        std::printf("the virtual card could not be loaded from build/dist\n");
        return false;
    }
    device::conflib::Init();
    device::conflib::CreateDeviceList();
    device::SelectOutputDevice(device::OUTPUT_ANALOG);
    TimeCardCalls();
    return true;
}

}  // namespace quorelle::bench
