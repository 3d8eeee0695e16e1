// Set-up of the HIFI page's model tests: real settings files in a fresh directory, the fake card
// with the analog output selected, short writings of section "Hifi" and short readings of what
// the card was sent.
#pragma once

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "device_fake_conflib.h"
#include "page_test_support.h"
#include "pages/hifi_common.h"
#include "settings/ini_file.h"
#include "settings/settings.h"

namespace quorelle::testing {

class HifiFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = FreshTestDirectory(
            "quorelle-hifi-" +
            std::string(
                ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name()) +
            "-");
        settings_ = std::make_unique<IniFileSettings>(dir_);
        SetSettingsBackend(settings_.get());
        SelectAnalogOutput(fake);
    }
    void TearDown() override {
        device::theOutputDevice = {};
        device::theInputDevice = {};
        SetSettingsBackend(nullptr);
        std::filesystem::remove_all(dir_);
    }

    // Writes keys of section Hifi: Hifi({{"InitialButtonOn", "1"}, ...}).
    void Hifi(std::initializer_list<std::pair<const char*, const char*>> keys) {
        for (const auto& [key, value] : keys) WriteSettingText(kCplIni, "Hifi", key, value);
    }
    std::string Key(const std::string& key, const char* section = "Hifi") const {
        return ReadSettingText(kCplIni, section, key);
    }
    // The sets since the last Clear, as "Name=value".
    std::vector<std::string> Sets() const {
        std::vector<std::string> out;
        for (const auto& p : fake.properties)
            if (p.set) out.push_back(Narrow(p.name) + "=" + std::to_string(p.data));
        return out;
    }
    // The gets since the last Clear, by name.
    std::vector<std::string> Gets() const {
        std::vector<std::string> out;
        for (const auto& p : fake.properties)
            if (!p.set) out.push_back(Narrow(p.name));
        return out;
    }
    void Clear() { fake.properties.clear(); }
    // The sets of ten bands carrying `curve`, "EQ_Slider1=..." .. "EQ_Slider10=...".
    static std::vector<std::string> BandSets(const std::array<int32_t, 10>& curve) {
        std::vector<std::string> out;
        for (int i = 0; i < 10; ++i)
            out.push_back("EQ_Slider" + std::to_string(i + 1) + "=" + std::to_string(curve[i]));
        return out;
    }
    static std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
        std::vector<std::string> out;
        for (const auto& part : parts) out.insert(out.end(), part.begin(), part.end());
        return out;
    }
    static std::string Narrow(const std::u16string& s) { return std::string(s.begin(), s.end()); }
    // The whole settings file, for byte-for-byte comparisons.
    std::string FileText(const char* name) const;

    std::filesystem::path dir_;
    std::unique_ptr<IniFileSettings> settings_;
    device::testing::FakeConfLib fake;
    device::testing::RecordingNotices notices;
};

inline std::string HifiFixture::FileText(const char* name) const {
    std::string text;
    if (std::FILE* f = std::fopen((dir_ / name).string().c_str(), "rb")) {
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
        std::fclose(f);
    }
    return text;
}

}  // namespace quorelle::testing
