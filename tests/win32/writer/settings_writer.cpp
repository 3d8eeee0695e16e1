// Writes settings as fast as it can until it is killed, and reports every write that returned on
// standard output. Used by the kill test.
//
//   settings_writer program|platform <directory\> <first write number> <seed>
//
// program: the program's settings backend (several keys in one step where the panel does so);
// platform: the platform's private-profile functions, one key per call.
#include <windows.h>

#include <cstdlib>
#include <cwchar>
#include <random>
#include <string>
#include <vector>

#include "base/text_win32.h"
#include "settings/profile_settings_win32.h"
#include "settings/settings.h"
#include "writer/settings_writer.h"

using namespace quorelle;

namespace {

HANDLE g_out;

void Report(const std::string& file, const std::string& section, const std::string& key,
            const std::string& value) {
    const std::string line = file + "|" + section + "|" + key + "|" + value + "\n";
    DWORD written;
    WriteFile(g_out, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

struct Write {
    std::string file, section;
    std::vector<std::pair<std::string, std::string>> keys;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 5) return 2;
    const bool platform = std::wstring(argv[1]) == L"platform";
    const std::wstring dir = argv[2];
    long long number = std::wcstoll(argv[3], nullptr, 10);
    std::mt19937 random(static_cast<unsigned>(_wtoi(argv[4])));
    g_out = GetStdHandle(STD_OUTPUT_HANDLE);

    ProfileSettings settings(dir);
    for (;; ++number) {
        Write w;
        const std::string value = std::to_string(number);
        const unsigned pick = random() % 4;
        if (pick < 2) {
            const std::string entry = writer::kCplKeys[random() % writer::kCplKeys.size()];
            const std::size_t slash = entry.find('/');
            w = {kCplIni, entry.substr(0, slash), {{entry.substr(slash + 1), value}}};
        } else if (pick == 2) {
            w = {kCplIni, "Hifi", {}};
            for (int band = 0; band < 10; ++band) w.keys.emplace_back(writer::BandKey(band), value);
            w.keys.emplace_back("Customize", value);
        } else {
            w = {kCustomIni,
                 writer::PresetSection(static_cast<int>(random() % writer::kPresets)),
                 {}};
            for (int band = 0; band < 10; ++band) w.keys.emplace_back(writer::BandKey(band), value);
        }
        if (platform) {
            const std::wstring path = dir + Widen(w.file);
            for (const auto& [key, text] : w.keys) {
                if (WritePrivateProfileStringW(Widen(w.section).c_str(), Widen(key).c_str(),
                                               Widen(text).c_str(), path.c_str()))
                    Report(w.file, w.section, key, text);
            }
        } else {
            std::vector<SettingText> entries;
            for (const auto& [key, text] : w.keys) entries.push_back({key, text});
            if (settings.WriteTexts(w.file, w.section, entries))
                for (const auto& [key, text] : w.keys) Report(w.file, w.section, key, text);
        }
    }
}
