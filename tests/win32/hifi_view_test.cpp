// The HIFI page's view on the real dialog 176 from the program's resources, placed by the page
// frame, with real settings files and a recording fake device library: what only the window
// can show (the preset list's face and drop-down, the list's entries and selection, the name
// field's limit), and the notification-area menu's sound choices against the page's presses.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "../unit/device_fake_conflib.h"
#include "base/dialog_window_win32.h"
#include "base/messages.h"
#include "base/text_win32.h"
#include "console_host.h"
#include "device/selection.h"
#include "pages/hifi_view_win32.h"
#include "pages/hit_area_win32.h"
#include "pages/page_chrome_win32.h"
#include "pages/hotkeys.h"
#include "pages/sound_menu.h"
#include "settings/ini_file.h"
#include "settings/settings.h"

namespace fs = std::filesystem;

namespace quorelle::pages {
namespace {

using device::testing::FakeConfLib;

class HifiHost : public DialogWindow {
  public:
    HifiHost() : DialogWindow(176), chrome(PAGE_HIFI, 176) {}
    ~HifiHost() override {
        if (hwnd()) DestroyWindow(hwnd());
    }
    HifiView view;
    PageChrome chrome;

  protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        if (msg == WM_INITDIALOG) {
            chrome.ApplySkin(hwnd());
            view.Attach(hwnd(), chrome);
            view.StartFromSettings();
            view.ShowEnvironmentList();
            view.StartPresetControls();
            result = TRUE;
            return true;
        }
        if (msg == WM_COMMAND && view.OnCommand(wParam)) return true;
        // the band sliders' notifications, as the page takes them
        if (msg == SLIDER_MSG_TRACK) {
            view.OnSliderTrack();
            return true;
        }
        if (msg == SLIDER_MSG_COMMIT && view.OnSliderCommit(wParam, lParam)) return true;
        return chrome.HandleFrameMessage(msg, wParam, lParam, result);
    }
};

class HifiViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / "quorelle-hifi-view";
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        settings_ = std::make_unique<IniFileSettings>(dir_);
        SetSettingsBackend(settings_.get());
        fake.outputs = {{10, 1, 0, 1}};
        device::SelectOutputDevice(device::OUTPUT_ANALOG);
    }
    void TearDown() override {
        SetSettingsBackend(nullptr);
        device::theOutputDevice = {};
        fs::remove_all(dir_);
    }
    void Hifi(const char* key, const char* value) { WriteSettingText(kCplIni, "Hifi", key, value); }

    fs::path dir_;
    std::unique_ptr<IniFileSettings> settings_;
    FakeConfLib fake;
};

TEST_F(HifiViewTest, ThePresetListShowsItsFaceAtTheImagesHeightAndDropsToTheTemplates) {
    for (auto [key, value] : {std::pair{"isDrySoundOn", "1"},
                              {"InitialButtonOn", "3"},
                              {"Customize", "1"},
                              {"CustomCount", "2"},
                              {"Custom0", "Rock"},
                              {"Custom1", "Jazz"},
                              {"CurrentCustom", "Jazz"}})
        Hifi(key, value);
    WriteSettingText(kCplIni, "CPL", "language", "2");
    HifiHost host;
    ASSERT_TRUE(host.Create(nullptr));
    HWND list = GetDlgItem(host.hwnd(), hifi_ids::kPresetList);
    RECT face;
    GetWindowRect(list, &face);
    EXPECT_EQ(face.right - face.left, 105);
    EXPECT_EQ(face.bottom - face.top, 19) << "the closed face is image 190's height";
    RECT dropped;
    SendMessageW(list, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    EXPECT_GE(dropped.bottom - dropped.top, 100) << "the list drops to the template's height";

    EXPECT_EQ(SendMessageW(list, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageW(list, CB_GETCURSEL, 0, 0), 1) << "the remembered preset is chosen";
    wchar_t text[64] = {};
    GetWindowTextW(list, text, 64);
    EXPECT_STREQ(text, L"Jazz");
    EXPECT_TRUE(IsWindowEnabled(list));

    // a choice in the list reaches the model through the selection-change notification
    SendMessageW(list, CB_SETCURSEL, 0, 0);
    SendMessageW(host.hwnd(), WM_COMMAND, MAKEWPARAM(hifi_ids::kPresetList, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
    EXPECT_EQ(ReadSettingText(kCplIni, "Hifi", "CurrentCustom"), "Rock");

    HWND field = GetDlgItem(host.hwnd(), hifi_ids::kPresetName);
    SetWindowTextW(field, std::wstring(300, L'x').c_str());
    EXPECT_EQ(SendMessageW(field, EM_GETLIMITTEXT, 0, 0), 255);
    SendMessageW(field, EM_REPLACESEL, FALSE,
                 reinterpret_cast<LPARAM>(std::wstring(300, L'y').c_str()));
    EXPECT_LE(GetWindowTextLengthW(field), 300);
}

TEST_F(HifiViewTest, ASourceModeAtStartDisablesThePresetControls) {
    Hifi("isDrySoundOn", "1");
    Hifi("InitialButtonOn", "1");
    HifiHost host;
    ASSERT_TRUE(host.Create(nullptr));
    for (int id : {hifi_ids::kPresetList, hifi_ids::kPresetName, hifi_ids::kAddPreset,
                   hifi_ids::kDeletePreset})
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(host.hwnd(), id))) << id;
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(host.hwnd(), hifi_ids::kReset)));
}

// A band moved by a key posts its commit alone, which the page records as a drag step: the band
// key and the curve to the card. A drag's final commit and a press that leaves the thumb where
// it is record nothing more, also while a user preset shows a curve the band keys do not hold.
TEST_F(HifiViewTest, ABandsCommitRecordsOnlyAValueThePageHasNotRecorded) {
    for (auto [key, value] : {std::pair{"isDrySoundOn", "1"},
                              {"InitialButtonOn", "3"},
                              {"Customize", "1"},
                              {"CustomCount", "1"},
                              {"Custom0", "Rock"},
                              {"CurrentCustom", "Rock"}})
        Hifi(key, value);
    for (int i = 0; i < kBandCount; ++i) {
        Hifi(hifi_keys::BandKey(i).c_str(), "0");
        WriteSettingInt(kCustomIni, "Rock", hifi_keys::BandKey(i), i == 0 ? 5 : 0);
    }
    HifiHost host;
    ASSERT_TRUE(host.Create(nullptr));
    quorelle::testing::PumpMessages();
    HWND band = GetDlgItem(host.hwnd(), hifi_ids::kBands[0]);
    const controls::CBitmapSlider& slider = host.view.Band(0);
    ASSERT_EQ(slider.Value(), -5) << "the preset's curve shows";
    const auto thumb = [&] { return slider.Model().ValueToPixel(slider.Value()); };
    const auto press = [&](int from, int to) {
        SendMessageW(band, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, from));
        if (to != from) SendMessageW(band, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(4, to));
        SendMessageW(band, WM_LBUTTONUP, 0, MAKELPARAM(4, to));
    };
    struct Step {
        const char* what;
        std::function<void()> act;
        int sends;        // times the 30 Hz band went to the card
        const char* key;  // eq_0 afterwards
        int shown;        // the band's value afterwards
    } steps[] = {
        {"a press on the thumb", [&] { press(thumb(), thumb()); }, 0, "0", 5},
        {"Up", [&] { SendMessageW(band, WM_KEYDOWN, VK_UP, 0); }, 1, "6", 6},
        {"Page Up", [&] { SendMessageW(band, WM_KEYDOWN, VK_PRIOR, 0); }, 1, "20", 20},
        {"Page Up at the top", [&] { SendMessageW(band, WM_KEYDOWN, VK_PRIOR, 0); }, 0, "20", 20},
        {"End", [&] { SendMessageW(band, WM_KEYDOWN, VK_END, 0); }, 1, "-20", -20},
        {"a drag of one step", [&] { press(thumb(), thumb() - 30); }, 1, nullptr, 0},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        fake.properties.clear();
        step.act();
        quorelle::testing::PumpMessages();
        int sends = 0;
        for (const auto& p : fake.properties)
            if (p.set && p.name == u"EQ_Slider1") {
                ++sends;
                EXPECT_EQ(p.data, -slider.Value());
            }
        EXPECT_EQ(sends, step.sends);
        if (step.key) {
            EXPECT_EQ(ReadSettingText(kCplIni, "Hifi", "eq_0"), step.key);
            EXPECT_EQ(-slider.Value(), step.shown);
        } else {
            EXPECT_EQ(ReadSettingText(kCplIni, "Hifi", "eq_0"), std::to_string(-slider.Value()));
        }
    }
    EXPECT_EQ(ReadSettingText(kCplIni, "Hifi", "Customize"), "0") << "a moved band is no preset";
}

// A sound choice of the notification-area menu or a global key, made on the page window while
// it is hidden, writes the keys, makes the card calls in their order and leaves the lamps, bands
// and list as the page's own presses that make the same choice do (a source switch first where
// it is unlit); a key's on-screen display names the state it left.
TEST_F(HifiViewTest, ASoundChoiceDoesWhatThePagesPressesDo) {
    constexpr int kEntry = -1;     // a step kEntry - i chooses entry i of the preset list
    constexpr int kKey = 0x10000;  // a command kKey + a is the global key of action a
    struct Case {
        const char* what;
        std::vector<std::pair<const char*, const char*>> start;  // keys of section Hifi
        std::vector<int> presses;  // controls pressed; kEntry - i chooses list entry i
        int command;
        std::pair<const char*, const char*> after;  // a key of section Hifi afterwards
        bool acts = true;                           // false: nothing is written or sent
        const char* shows = nullptr;                // a global key's display text
    };
    const auto key = [](HotKeyAction action) { return kKey + int(action); };
    const std::pair<const char*, const char*> on{"isDrySoundOn", "1"};
    const std::pair<const char*, const char*> presets[] = {{"CustomCount", "2"},
                                                           {"Custom0", "Warm"},
                                                           {"Custom1", "Bright"},
                                                           {"CurrentCustom", "Warm"},
                                                           {"Customize", "1"}};
    // the case's keys after the common ones, which they may change
    const auto with = [&](const std::vector<std::pair<const char*, const char*>>& keys) {
        std::vector<std::pair<const char*, const char*>> all(std::begin(presets),
                                                             std::end(presets));
        all.push_back({"ENVEnable", "1"});
        all.push_back({"RegionStyle", "1"});
        all.push_back({"EQPreset", "3"});
        all.insert(all.end(), keys.begin(), keys.end());
        return all;
    };
    const int jazz = hifi_ids::kPresetLamps[7];
    const Case cases[] = {
        {"Jazz from a region style",
         with({on, {"InitialButtonOn", "1"}}),
         {hifi_ids::kPreset, jazz},
         kSoundFirstEqPreset + 7,
         {"EQPreset", "7"}},
        {"Jazz with the preset switch lit",
         with({on, {"InitialButtonOn", "2"}}),
         {jazz},
         kSoundFirstEqPreset + 7,
         {"EQPreset", "7"}},
        {"a region style from the tone knobs",
         with({on, {"InitialButtonOn", "0"}}),
         {hifi_ids::kRegion, hifi_ids::kRegionLamps[3]},
         kSoundFirstRegion + 3,
         {"RegionStyle", "3"}},
        {"a user preset from an EQ preset",
         with({on, {"InitialButtonOn", "2"}}),
         {hifi_ids::kEqualizer, kEntry - 1},
         kSoundFirstUserPreset + 1,
         {"CurrentCustom", "Bright"}},
        {"a user preset in mode 3",
         with({on, {"InitialButtonOn", "3"}}),
         {kEntry - 1},
         kSoundFirstUserPreset + 1,
         {"CurrentCustom", "Bright"}},
        {"the master off",
         with({on, {"InitialButtonOn", "2"}}),
         {hifi_ids::kMaster},
         kSoundDrySound,
         {"isDrySoundOn", "0"}},
        {"the master on",
         with({{"isDrySoundOn", "0"}, {"InitialButtonOn", "2"}}),
         {hifi_ids::kMaster},
         kSoundDrySound,
         {"isDrySoundOn", "1"}},
        {"the environment off",
         with({on, {"InitialButtonOn", "2"}}),
         {hifi_ids::kEnvironment},
         kSoundEnvironment,
         {"ENVEnable", "0"}},
        {"Jazz with the master off",
         with({{"isDrySoundOn", "0"}, {"InitialButtonOn", "1"}}),
         {hifi_ids::kPreset, jazz},
         kSoundFirstEqPreset + 7,
         {"EQPreset", "3"},
         false},
        {"the next preset key from a region style",
         with({on, {"InitialButtonOn", "1"}}),
         {hifi_ids::kPreset, hifi_ids::kPresetLamps[4]},
         key(HotKeyAction::NextPreset),
         {"EQPreset", "4"},
         true,
         "EQ Preset: Rock"},
        {"the next preset key after Vocal",
         with({on, {"InitialButtonOn", "2"}, {"EQPreset", "11"}}),
         {hifi_ids::kPresetLamps[0]},
         key(HotKeyAction::NextPreset),
         {"EQPreset", "0"},
         true,
         "EQ Preset: Default"},
        {"the previous preset key before Default",
         with({on, {"InitialButtonOn", "2"}, {"EQPreset", "0"}}),
         {hifi_ids::kPresetLamps[11]},
         key(HotKeyAction::PreviousPreset),
         {"EQPreset", "11"},
         true,
         "EQ Preset: Vocal"},
        {"the Dry Sound key",
         with({on, {"InitialButtonOn", "2"}}),
         {hifi_ids::kMaster},
         key(HotKeyAction::DrySound),
         {"isDrySoundOn", "0"},
         true,
         "Dry Sound: Off"},
        {"the next environment key",
         with({on, {"InitialButtonOn", "2"}, {"Environment", "3"}}),
         {hifi_ids::kNext},
         key(HotKeyAction::NextEnvironment),
         {"Environment", "4"},
         true,
         "Environment: stone Room"},
        {"the next preset key with the master off",
         with({{"isDrySoundOn", "0"}, {"InitialButtonOn", "2"}}),
         {hifi_ids::kPresetLamps[4]},
         key(HotKeyAction::NextPreset),
         {"EQPreset", "3"},
         false,
         "Dry Sound: Off"},
        {"the next environment key with the master off",
         with({{"isDrySoundOn", "0"}, {"InitialButtonOn", "2"}}),
         {hifi_ids::kNext},
         key(HotKeyAction::NextEnvironment),
         {"ENVEnable", "1"},
         false,
         "Dry Sound: Off"},
    };
    for (const auto* preset : {"Warm", "Bright"})
        for (int i = 0; i < kBandCount; ++i)
            WriteSettingInt(kCustomIni, preset, hifi_keys::BandKey(i),
                            preset[0] == 'W' ? i - 4 : 9 - 2 * i);

    struct Outcome {
        std::string cpl;
        std::vector<std::string> sets;
        std::vector<bool> lamps;
        std::vector<int> bands;
        LRESULT entry = CB_ERR;
        bool listEnabled = false;
        bool operator==(const Outcome&) const = default;
    };
    const auto fileText = [&](const char* name) {
        std::ifstream in(dir_ / name, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    };
    const auto run = [&](const Case& c, const std::function<void(HifiHost&)>& choose) {
        fs::remove(dir_ / kCplIni);
        for (const auto& [key, value] : c.start) Hifi(key, value);
        WriteSettingText(kCplIni, "CPL", "language", "2");
        HifiHost host;
        EXPECT_TRUE(host.Create(nullptr));
        EXPECT_FALSE(IsWindowVisible(host.hwnd()));
        fake.properties.clear();
        choose(host);
        quorelle::testing::PumpMessages();
        Outcome o;
        o.cpl = fileText(kCplIni);
        for (const auto& p : fake.properties)
            o.sets.push_back(std::string(p.set ? "set " : "get ") +
                             std::string(p.name.begin(), p.name.end()) + "=" +
                             std::to_string(p.data));
        for (int id = 1084; id <= 1114; ++id)
            if (const controls::CMyStaticBmp* lamp = host.view.Lamp(id))
                o.lamps.push_back(lamp->Lit());
        for (int i = 0; i < kBandCount; ++i) o.bands.push_back(host.view.Band(i).Value());
        HWND list = GetDlgItem(host.hwnd(), hifi_ids::kPresetList);
        o.entry = SendMessageW(list, CB_GETCURSEL, 0, 0);
        o.listEnabled = IsWindowEnabled(list) != FALSE;
        return o;
    };
    const auto press = [](HifiHost& host, int step) {
        if (step <= kEntry) {
            HWND list = GetDlgItem(host.hwnd(), hifi_ids::kPresetList);
            SendMessageW(list, CB_SETCURSEL, WPARAM(kEntry - step), 0);
            SendMessageW(host.hwnd(), WM_COMMAND, MAKEWPARAM(hifi_ids::kPresetList, CBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(list));
            return;
        }
        if (step == hifi_ids::kNext) {
            SendMessageW(host.hwnd(), WM_COMMAND, MAKEWPARAM(step, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(host.hwnd(), step)));
            return;
        }
        const Rect r = ClientRectOf(host.hwnd(), step);
        host.view.OnLButtonDown({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Outcome pressed = run(c, [&](HifiHost& host) {
            for (int step : c.presses) press(host, step);
        });
        const Outcome chosen = run(c, [&](HifiHost& host) {
            if (c.command >= kKey)
                EXPECT_EQ(host.view.RunHotKey(HotKeyAction(c.command - kKey), kLanguageEnglish),
                          c.shows);
            else
                EXPECT_TRUE(host.view.ChooseSound(c.command));
        });
        EXPECT_EQ(ReadSettingText(kCplIni, "Hifi", c.after.first), c.after.second);
        EXPECT_EQ(chosen.cpl, pressed.cpl);
        EXPECT_EQ(chosen.sets, pressed.sets);
        EXPECT_EQ(chosen.lamps, pressed.lamps);
        EXPECT_EQ(chosen.bands, pressed.bands);
        EXPECT_EQ(chosen.entry, pressed.entry);
        EXPECT_EQ(chosen.listEnabled, pressed.listEnabled);
        EXPECT_EQ(!chosen.sets.empty(), c.acts);
    }
    // ids that are no item of the menu are left to the window
    HifiHost host;
    ASSERT_TRUE(host.Create(nullptr));
    fake.properties.clear();
    for (int id : {kSoundDrySound - 1, kSoundFirstEqPreset + kEqPresetCount,
                   kSoundFirstRegion + kRegionStyleCount, 32774})
        EXPECT_FALSE(host.view.ChooseSound(id)) << id;
    EXPECT_TRUE(fake.properties.empty());
}

}  // namespace
}  // namespace quorelle::pages
