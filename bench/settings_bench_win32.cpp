// Cost of the settings access: the platform's private-profile functions and the program's
// settings backend side by side, on the same settings file. Prints figures only.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "../tests/win32/settings_files_win32.h"
#include "base/text_win32.h"
#include "bench_card_win32.h"
#include "settings/profile_settings_win32.h"
#include "settings/settings.h"

using namespace quorelle;
using quorelle::testing::WriteBytes;

namespace {

struct Timing {
    double median, p90;
};

// Microseconds per call: median and 90th percentile of `rounds` calls after a few warm-up calls.
Timing Time(int rounds, const std::function<void(int)>& call) {
    for (int i = 0; i < 5; ++i) call(i);
    std::vector<double> us;
    for (int i = 0; i < rounds; ++i) {
        const auto start = bench::Clock::now();
        call(i);
        us.push_back(bench::Micros(start, bench::Clock::now()));
    }
    std::sort(us.begin(), us.end());
    return {us[us.size() / 2], us[us.size() * 9 / 10]};
}

void Row(const char* what, Timing platform, Timing program) {
    std::printf("%-34s %9.1f %9.1f   %9.1f %9.1f   %7.1fx\n", what, platform.median, platform.p90,
                program.median, program.p90, platform.median / program.median);
}

// A settings file as the panel leaves it after some use.
std::string TypicalFile() {
    std::string text =
        "[Info]\r\nOS=Windows 11\r\nDriverVer=6.0.1.8\r\nCPLVer=2.1\r\n"
        "[CPL]\r\nlanguage=2\r\nHeadPhone=0\r\nDigitalOutSr=0\r\n[Hifi]\r\n";
    for (const char* key : {"isDrySoundOn", "InitialButtonOn", "RegionStyle", "EQPreset", "Treble",
                            "Bass", "Customize", "CustomCount", "ENVEnable", "Environment",
                            "Envdriver", "RoomEnable", "RoomSize"})
        text += std::string(key) + "=1\r\n";
    for (int band = 0; band < 10; ++band) text += "eq_" + std::to_string(band) + "=0\r\n";
    text += "Custom0=Rock\r\nCustom1=Jazz\r\nCurrentCustom=Jazz\r\n";
    text += "[Ad]\r\nDynamicBass=0\r\nAudioBrilliant=1\r\nVoiceClarity=0\r\nAdaptiveVolume=0\r\n";
    text += "[HP]\r\nSurroundMax=0\r\nLowOrHighZ=1\r\n";
    return text;
}

}  // namespace

int main() {
    const std::wstring dir = bench::PrivateDirectory(L"quorelle-settings-bench");
    const std::wstring platformFile = dir + L"platform.ini";
    WriteBytes(platformFile, TypicalFile());
    WriteBytes(dir + L"CPL.ini", TypicalFile());
    // both files as the installation left them, long ago: the platform's own cache may trust them
    for (const std::wstring& path : {platformFile, dir + L"CPL.ini"}) {
        HANDLE h = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        FILETIME now;
        GetSystemTimeAsFileTime(&now);
        ULARGE_INTEGER t{{now.dwLowDateTime, now.dwHighDateTime}};
        t.QuadPart -= 36'000'000'000ull;  // an hour
        const FILETIME past{t.LowPart, t.HighPart};
        SetFileTime(h, nullptr, nullptr, &past);
        CloseHandle(h);
    }
    ProfileSettings settings(dir);
    const wchar_t* p = platformFile.c_str();
    wchar_t buffer[1024];

    std::vector<std::string> values;
    for (int i = 0; i < 41; ++i) values.push_back(std::to_string(i - 20));
    auto value = [&](int i) { return values[static_cast<std::size_t>(i % 41)]; };
    const char* refreshKeys[] = {"isDrySoundOn", "InitialButtonOn",
                                 "RegionStyle",  "EQPreset",
                                 "Treble",       "Bass",
                                 "Customize",    "ENVEnable",
                                 "Environment",  "RoomEnable",
                                 "RoomSize",     "eq_0",
                                 "eq_1",         "eq_2",
                                 "eq_3",         "eq_4",
                                 "eq_5",         "eq_6",
                                 "eq_7",         "eq_8",
                                 "eq_9",         "CustomCount",
                                 "Custom0",      "Custom1"};

    std::printf("settings access, microseconds per operation (%zu-byte CPL.ini)\n",
                TypicalFile().size());
    std::printf("%-34s %19s   %19s   %8s\n", "", "platform functions", "program's backend",
                "platform/");
    std::printf("%-34s %9s %9s   %9s %9s   %8s\n", "", "median", "p90", "median", "p90", "program");
    Row("read one text",
        Time(400, [&](int) { GetPrivateProfileStringW(L"Hifi", L"eq_3", L"", buffer, 1024, p); }),
        Time(400, [&](int) { settings.ReadText(kCplIni, "Hifi", "eq_3"); }));
    Row("read one integer", Time(400, [&](int) { GetPrivateProfileIntW(L"Hifi", L"eq_3", -1, p); }),
        Time(400, [&](int) { settings.ReadInt(kCplIni, "Hifi", "eq_3"); }));
    Row("read 24 keys (a page refresh)",
        Time(100,
             [&](int) {
                 for (const char* key : refreshKeys)
                     GetPrivateProfileIntW(L"Hifi", Widen(key).c_str(), -1, p);
             }),
        Time(100, [&](int) {
            for (const char* key : refreshKeys) settings.ReadInt(kCplIni, "Hifi", key);
        }));
    Row("write one key",
        Time(200,
             [&](int i) {
                 WritePrivateProfileStringW(L"Hifi", L"eq_3", Widen(value(i)).c_str(), p);
             }),
        Time(200, [&](int i) { settings.WriteText(kCplIni, "Hifi", "eq_3", value(i)); }));
    Row("write eleven keys (a band step)",
        Time(100,
             [&](int i) {
                 for (int band = 0; band < 10; ++band)
                     WritePrivateProfileStringW(L"Hifi", (L"eq_" + std::to_wstring(band)).c_str(),
                                                Widen(value(i + band)).c_str(), p);
                 WritePrivateProfileStringW(L"Hifi", L"Customize", L"0", p);
             }),
        Time(100, [&](int i) {
            std::string keys[10], texts[10];
            SettingText entries[11];
            for (int band = 0; band < 10; ++band) {
                keys[band] = "eq_" + std::to_string(band);
                texts[band] = value(i + band);
                entries[band] = {keys[band], texts[band]};
            }
            entries[10] = {"Customize", "0"};
            settings.WriteTexts(kCplIni, "Hifi", entries);
        }));
    Row("write a key that holds the value",
        Time(200, [&](int) { WritePrivateProfileStringW(L"Hifi", L"Customize", L"0", p); }),
        Time(200, [&](int) { settings.WriteText(kCplIni, "Hifi", "Customize", "0"); }));

    // What a read costs when another program changed the file since the last access.
    const std::string other = TypicalFile();
    const Timing reload = Time(200, [&](int i) {
        WriteBytes(dir + L"CPL.ini", i % 2 ? other : other + "[x]\r\n");
        settings.ReadInt(kCplIni, "Hifi", "eq_3");
    });
    const Timing rewrite =
        Time(200, [&](int i) { WriteBytes(dir + L"CPL.ini", i % 2 ? other : other + "[x]\r\n"); });
    WIN32_FILE_ATTRIBUTE_DATA data;
    const std::wstring cpl = dir + L"CPL.ini";
    const Timing look =
        Time(400, [&](int) { GetFileAttributesExW(cpl.c_str(), GetFileExInfoStandard, &data); });
    std::printf(
        "\nprogram's backend: the check of the file on every access (one look at size and\n"
        "write time) %.1f us median; a read after another program changed the file %.1f "
        "us median (the change itself excluded)\n",
        look.median, reload.median - rewrite.median);

    DeleteFileW(platformFile.c_str());
    DeleteFileW(cpl.c_str());
    RemoveDirectoryW(dir.c_str());
    return 0;
}
