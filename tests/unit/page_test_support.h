// What the page model tests share: a fresh directory of the running test's own for the settings
// files, and a fake card with an analog, a second analog and a digital output, an input, and the
// analog output selected.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "device/selection.h"
#include "device_fake_conflib.h"
#include "settings/ini_file.h"
#include "settings/settings.h"

namespace quorelle::testing {

// An empty directory named after the prefix and the running test.
inline std::filesystem::path FreshTestDirectory(const std::string& prefix) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() /
        (prefix + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

// The default card's devices, the analog output (id 10) selected, the selection's calls
// forgotten.
inline void SelectAnalogOutput(device::testing::FakeConfLib& fake) {
    fake.outputs = {{10, 1, 0, 1}, {11, 7, 0, 1}, {12, 4, 0, 1}};
    fake.inputs = {{20, 2, 0, 1}};
    fake.Answer16(u"GetSupportFeature", u"7,0,0,0,9,0,12");
    device::theOutputDevice = {};
    device::theInputDevice = {};
    device::SelectOutputDevice(device::OUTPUT_ANALOG);
    fake.properties.clear();
}

// The settings files in a directory, whose writes can be refused (every write, or those to one
// file) as a read-only file refuses them, and which can hold ASCII text only, as files in code
// page 1252 hold no Chinese.
class TestSettings final : public SettingsBackend {
  public:
    explicit TestSettings(std::filesystem::path dir) : files_(std::move(dir)) {}
    std::string ReadText(std::string_view f, std::string_view s, std::string_view k) override {
        return files_.ReadText(f, s, k);
    }
    int ReadInt(std::string_view f, std::string_view s, std::string_view k) override {
        return files_.ReadInt(f, s, k);
    }
    bool WriteText(std::string_view f, std::string_view s, std::string_view k,
                   std::string_view v) override {
        if (refuseWrites || (!refusedFile.empty() && f == refusedFile)) return false;
        ++replacements;
        return files_.WriteText(f, s, k, v);
    }
    bool WriteTexts(std::string_view f, std::string_view s,
                    std::span<const SettingText> entries) override {
        if (refuseWrites || (!refusedFile.empty() && f == refusedFile)) return false;
        ++replacements;
        return files_.WriteTexts(f, s, entries);
    }
    bool CanHold(std::string_view text) override {
        for (char c : text)
            if (asciiOnly && static_cast<unsigned char>(c) >= 0x80) return false;
        return true;
    }
    bool refuseWrites = false;
    std::string refusedFile;
    bool asciiOnly = false;
    size_t replacements = 0;  // files written, each in one step

  private:
    IniFileSettings files_;
};

}  // namespace quorelle::testing
