// The main console's view on the real dialog 102 from the program's resources, with the page
// frame placing its controls, a fake endpoint and a recording fake device library. Presses and
// control notifications travel as window messages through a host dialog that forwards them the
// way the main window does.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <filesystem>

#include "../unit/device_fake_conflib.h"
#include "console_host.h"
#include "controls_host.h"
#include "base/dialog_window_win32.h"
#include "base/messages.h"
#include "device/selection.h"
#include "pages/main_console_view_win32.h"
#include "pages/page_chrome_win32.h"
#include "settings/ini_file.h"
#include "settings/settings.h"

namespace fs = std::filesystem;

namespace quorelle::pages {
namespace {

using device::testing::FakeConfLib;
using device::testing::RecordedProperty;
using device::testing::RecordingNotices;
namespace ids = main_ids;

class FakeEndpoint : public device::EndpointControl {
  public:
    float GetChannelLevel(int channel) override { return levels[channel == 0 ? 0 : 1]; }
    void SetChannelLevel(int channel, float level) override {
        writes.push_back({channel, level});
        levels[channel == 0 ? 0 : 1] = level;
    }
    bool GetEndpointMute() override { return muted; }
    void SetEndpointMute(bool m) override { muted = m; }
    struct Write {
        int channel;
        float level;
    };
    float levels[2] = {0.0f, 0.0f};
    bool muted = false;
    std::vector<Write> writes;
};

struct NoPages : PageRefresh {
    void RefreshHifiFromSettings() override { ++hifi; }
    void RefreshHeadphoneFromSettings() override { ++hp; }
    int hifi = 0;
    int hp = 0;
};

using quorelle::testing::ConsoleHost;
void Pump() {
    quorelle::testing::PumpMessages();
}

class MainConsoleWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        dir_ = fs::path(temp) / "quorelle-main-console-view";
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        settings_ = std::make_unique<IniFileSettings>(dir_);
        SetSettingsBackend(settings_.get());

        fake.outputs = {{10, 1, 0, 1}, {12, 4, 0, 1}};
        fake.inputs = {{20, 2, 0, 1}};
        fake.Answer16(u"GetSupportFeature", u"7,0,0,0,9,0,12");
        device::theOutputDevice = {};
        device::SelectOutputDevice(device::OUTPUT_ANALOG);
        fake.properties.clear();

        host = std::make_unique<ConsoleHost>(endpoint, pages);
        ASSERT_TRUE(host->Create(nullptr));
        ShowWindow(host->hwnd(), SW_SHOWNOACTIVATE);
        Pump();
    }
    void TearDown() override {
        host.reset();
        Pump();
        device::theOutputDevice = {};
        device::theInputDevice = {};
        SetSettingsBackend(nullptr);
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    HWND Item(int id) const { return GetDlgItem(host->hwnd(), id); }
    RECT ClientRect(int id) const {
        RECT r;
        GetWindowRect(Item(id), &r);
        MapWindowPoints(nullptr, host->hwnd(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    // A left press on the main window at a client point, delivered through the queue.
    void PressAt(int x, int y) {
        PostMessageW(host->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        Pump();
    }
    void PressInside(int id) {
        const RECT r = ClientRect(id);
        PressAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    bool ShowsOn(int id) const {
        const controls::CMyStaticBmp* lamp = host->view.Lamp(id);
        EXPECT_NE(lamp->OnImage(), nullptr) << id;
        return lamp->Shown() == lamp->OnImage();
    }
    bool ShowsOff(int id) const {
        const controls::CMyStaticBmp* lamp = host->view.Lamp(id);
        EXPECT_NE(lamp->OffImage(), nullptr) << id;
        return lamp->Shown() == lamp->OffImage();
    }
    std::vector<RecordedProperty> Sets(const std::u16string& name) const {
        std::vector<RecordedProperty> out;
        for (const auto& p : fake.properties)
            if (p.set && p.name == name) out.push_back(p);
        return out;
    }

    fs::path dir_;
    std::unique_ptr<IniFileSettings> settings_;
    FakeConfLib fake;
    RecordingNotices notices;
    FakeEndpoint endpoint;
    NoPages pages;
    std::unique_ptr<ConsoleHost> host;
};

TEST_F(MainConsoleWindow, StartsWithTheInitialLooks) {
    EXPECT_TRUE(ShowsOn(ids::kMute));
    EXPECT_TRUE(ShowsOn(ids::kRateLamps[0]));
    for (int i = 1; i < kRateCount; ++i) EXPECT_TRUE(ShowsOff(ids::kRateLamps[i])) << i;
    EXPECT_TRUE(ShowsOff(ids::kHeadphoneLamp));
    EXPECT_TRUE(ShowsOn(ids::kSpeakerLamp));
    EXPECT_TRUE(ShowsOff(ids::kOutputPicture));
    EXPECT_TRUE(ShowsOff(ids::kDigitalOutput));
    EXPECT_TRUE(ShowsOn(ids::kDepthLamps[0]));
    EXPECT_TRUE(ShowsOff(ids::kDepthLamps[1]));
    EXPECT_TRUE(ShowsOff(ids::kDepthLamps[2]));
    const controls::CMyStaticBmp* picture = host->view.Lamp(ids::kRatePicture);
    EXPECT_NE(picture->PictureImage(0), nullptr);
    EXPECT_EQ(picture->Shown(), picture->PictureImage(0));

    EXPECT_EQ(SendMessageW(Item(ids::kKnob), TBM_GETPOS, 0, 0), 20);
    EXPECT_EQ(SendMessageW(Item(ids::kKnob), TBM_GETRANGEMIN, 0, 0), 0);
    EXPECT_EQ(SendMessageW(Item(ids::kKnob), TBM_GETRANGEMAX, 0, 0), 65);
    EXPECT_EQ(host->view.Knob().Model().DragLimit(), 50);
    EXPECT_EQ(host->view.Balance().Value(), 50);
    EXPECT_TRUE(fake.properties.empty()) << "setting up asks the device nothing";
}

TEST_F(MainConsoleWindow, EachZoneOfTheRatePictureChoosesItsRate) {
    const RECT pic = ClientRect(ids::kRatePicture);
    ASSERT_GT(pic.right - pic.left, 20);
    ASSERT_GT(pic.bottom - pic.top, 20);
    const int third = (pic.bottom - pic.top) / 3;
    const int leftX = pic.left + 3;
    const int rightX = pic.right - 3;
    const int rows[3] = {pic.top + third / 2, pic.top + third + third / 2, pic.bottom - 2};
    const struct {
        int x, y;
        int32_t rate;
        int index;
    } zones[] = {{leftX, rows[2], 44100, 0},   {leftX, rows[1], 48000, 1},
                 {leftX, rows[0], 88200, 2},   {rightX, rows[0], 96000, 3},
                 {rightX, rows[1], 176400, 4}, {rightX, rows[2], 192000, 5}};
    const controls::CMyStaticBmp* picture = host->view.Lamp(ids::kRatePicture);
    for (const auto& z : zones) {
        fake.properties.clear();
        PressAt(z.x, z.y);
        const auto sets = Sets(u"DevSampleRateControl");
        ASSERT_EQ(sets.size(), 1u) << z.rate;
        EXPECT_EQ(sets[0].data, z.rate);
        for (int i = 0; i < kRateCount; ++i)
            EXPECT_EQ(ShowsOn(ids::kRateLamps[i]), i == z.index) << z.rate << " lamp " << i;
        EXPECT_EQ(picture->Shown(), picture->PictureImage(z.index)) << z.rate;
    }
    EXPECT_EQ(host->dragAnswers, std::vector<bool>(6, true));
}

TEST_F(MainConsoleWindow, TheMuteLampNeverDragsAndEverythingElseDoes) {
    PressInside(ids::kMute);
    EXPECT_TRUE(ShowsOff(ids::kMute));
    EXPECT_FALSE(endpoint.muted);
    PressInside(ids::kMute);
    EXPECT_TRUE(ShowsOn(ids::kMute));
    EXPECT_TRUE(endpoint.muted);
    PressAt(5, 150);  // the background
    PressInside(ids::kDepthLamps[1]);
    EXPECT_EQ(host->dragAnswers, (std::vector<bool>{false, false, true, true}));
    EXPECT_TRUE(ShowsOn(ids::kDepthLamps[1]));
    EXPECT_TRUE(ShowsOff(ids::kDepthLamps[0]));
    ASSERT_EQ(Sets(u"DevBitDepthControl").size(), 1u);
    EXPECT_EQ(Sets(u"DevBitDepthControl")[0].data, 24);
}

TEST_F(MainConsoleWindow, DigitalOutputHidesThe32BitControlsWhosePlaceStillChooses32) {
    ASSERT_TRUE(IsWindowVisible(Item(ids::kDepthLamps[2])));
    ASSERT_TRUE(IsWindowVisible(Item(ids::kDepthCaptions[2])));
    PressInside(ids::kDigitalOutput);
    EXPECT_TRUE(ShowsOn(ids::kDigitalOutput));
    EXPECT_FALSE(IsWindowVisible(Item(ids::kDepthLamps[2])));
    EXPECT_FALSE(IsWindowVisible(Item(ids::kDepthCaptions[2])));
    EXPECT_EQ(device::theOutputDevice.device.id, 12);
    EXPECT_EQ(pages.hifi, 1);
    EXPECT_EQ(pages.hp, 1);

    fake.properties.clear();
    PressInside(ids::kDepthLamps[2]);
    ASSERT_EQ(Sets(u"DevBitDepthControl").size(), 1u);
    EXPECT_EQ(Sets(u"DevBitDepthControl")[0].data, 32);
    EXPECT_TRUE(ShowsOn(ids::kDepthLamps[2]));

    PressInside(ids::kDigitalOutput);
    EXPECT_TRUE(ShowsOff(ids::kDigitalOutput));
    EXPECT_TRUE(IsWindowVisible(Item(ids::kDepthLamps[2])));
    EXPECT_TRUE(IsWindowVisible(Item(ids::kDepthCaptions[2])));
}

TEST_F(MainConsoleWindow, TheOutputPictureSwitchesLampsAndTheSettingsKey) {
    PressInside(ids::kOutputPicture);
    EXPECT_TRUE(ShowsOn(ids::kOutputPicture));
    EXPECT_TRUE(ShowsOn(ids::kHeadphoneLamp));
    EXPECT_TRUE(ShowsOff(ids::kSpeakerLamp));
    EXPECT_EQ(ReadSettingText(kCplIni, "CPL", "HeadPhone"), "1");
    EXPECT_EQ(Sets(u"DeviceSpecificControl").size(), 1u);
}

TEST_F(MainConsoleWindow, UnsupportedRatesAreDisabledAndStillChosenThroughThePicture) {
    fake.Answer8(u"IsSupportFormat", "0");
    host->view.ReadDeviceState();
    for (int id : ids::kRateLamps) EXPECT_FALSE(IsWindowEnabled(Item(id))) << id;
    const RECT pic = ClientRect(ids::kRatePicture);
    PressAt(pic.right - 2, pic.top + 1);  // 96 kHz
    EXPECT_TRUE(ShowsOn(ids::kRateLamps[3]));
    ASSERT_EQ(Sets(u"DevSampleRateControl").size(), 1u);
    EXPECT_EQ(Sets(u"DevSampleRateControl")[0].data, 96000);
}

TEST_F(MainConsoleWindow, TheKnobsStepsAndTheSlidersDragReachTheEndpoint) {
    HWND knob = Item(ids::kKnob);
    RECT k;
    GetClientRect(knob, &k);
    const int side = std::min(k.right, k.bottom);
    // straight above the centre points at 25: the press steps the knob from 20 to 21
    SendMessageW(knob, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(side / 2, 3));
    SendMessageW(knob, WM_LBUTTONUP, 0, MAKELPARAM(side / 2, 3));
    Pump();
    ASSERT_GE(endpoint.writes.size(), 2u);
    EXPECT_FLOAT_EQ(endpoint.writes.back().level, 22.0f / 50.0f);  // press and release: 2 steps
    EXPECT_EQ(SendMessageW(knob, TBM_GETPOS, 0, 0), 22);

    endpoint.writes.clear();
    HWND slider = Item(ids::kBalance);
    RECT s;
    GetClientRect(slider, &s);
    SendMessageW(slider, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(s.right - 1, s.bottom / 2));
    SendMessageW(slider, WM_LBUTTONUP, 0, MAKELPARAM(s.right - 1, s.bottom / 2));
    Pump();
    ASSERT_EQ(endpoint.writes.size(), 2u);
    EXPECT_EQ(host->view.Balance().Value(), 100);
    EXPECT_EQ(endpoint.writes[0].channel, 1);
    EXPECT_FLOAT_EQ(endpoint.writes[0].level, 0.44f);
    EXPECT_EQ(endpoint.writes[1].channel, 0);
    EXPECT_FLOAT_EQ(endpoint.writes[1].level, 0.0f);

    // the keys: the balance's commit alone applies the new balance, the knob stops at full level
    endpoint.writes.clear();
    SendMessageW(slider, WM_KEYDOWN, VK_LEFT, 0);
    Pump();
    EXPECT_EQ(host->view.Balance().Value(), 99);
    ASSERT_EQ(endpoint.writes.size(), 2u) << "a keyed balance reaches the endpoint";
    EXPECT_FLOAT_EQ(endpoint.writes[0].level, 0.44f);
    EXPECT_NEAR(endpoint.writes[1].level, 0.0088f, 1e-6f);
    endpoint.writes.clear();
    SendMessageW(slider, WM_KEYDOWN, VK_END, 0);
    SendMessageW(slider, WM_KEYDOWN, VK_END, 0);  // there already: nothing new to apply
    Pump();
    EXPECT_EQ(endpoint.writes.size(), 2u);
    SendMessageW(knob, TBM_SETPOS, TRUE, 48);
    for (int i = 0; i < 5; ++i) SendMessageW(knob, WM_KEYDOWN, VK_RIGHT, 0);
    Pump();
    EXPECT_EQ(SendMessageW(knob, TBM_GETPOS, 0, 0), 50) << "the keys stop at full level";
    ASSERT_GE(endpoint.writes.size(), 2u);
    const auto louder = endpoint.writes.end() - 2;  // balance 100: the right side, written first
    EXPECT_EQ(louder->channel, 1);
    EXPECT_FLOAT_EQ(louder->level, 1.0f);
}

TEST_F(MainConsoleWindow, ForeignVolumeChangesAndResetMoveTheControls) {
    endpoint.levels[0] = 0.8f;
    endpoint.levels[1] = 0.4f;
    endpoint.muted = false;
    EXPECT_EQ(SendMessageW(host->hwnd(), WM_VOLUME_CHANGED, 10, 0), 1);
    EXPECT_EQ(SendMessageW(Item(ids::kKnob), TBM_GETPOS, 0, 0), 20);
    EXPECT_EQ(SendMessageW(host->hwnd(), WM_VOLUME_CHANGED, 0, 0), 1);
    EXPECT_EQ(SendMessageW(Item(ids::kKnob), TBM_GETPOS, 0, 0), 40);
    EXPECT_EQ(host->view.Balance().Value(), 25);
    EXPECT_TRUE(ShowsOff(ids::kMute));

    SendMessageW(host->hwnd(), WM_COMMAND, MAKEWPARAM(ids::kReset, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Item(ids::kReset)));
    EXPECT_EQ(host->view.Balance().Value(), 50);
    EXPECT_EQ(SendMessageW(Item(ids::kKnob), TBM_GETPOS, 0, 0), 40);
    ASSERT_EQ(endpoint.writes.size(), 2u);
    EXPECT_FLOAT_EQ(endpoint.writes[0].level, 0.8f);
    EXPECT_FLOAT_EQ(endpoint.writes[1].level, 0.8f);
}

TEST_F(MainConsoleWindow, TheSystemsOutputChangeLightsTheLampOnly) {
    EXPECT_EQ(SendMessageW(host->hwnd(), WM_DEFAULT_OUTPUT_CHANGED, 0, 0), 1);
    EXPECT_TRUE(ShowsOn(ids::kDigitalOutput));
    EXPECT_TRUE(IsWindowVisible(Item(ids::kDepthLamps[2])));
    EXPECT_EQ(SendMessageW(host->hwnd(), WM_DEFAULT_OUTPUT_CHANGED, 0, 7), 1);
    EXPECT_TRUE(ShowsOn(ids::kDigitalOutput));
    EXPECT_EQ(SendMessageW(host->hwnd(), WM_DEFAULT_OUTPUT_CHANGED, 0, 1), 1);
    EXPECT_TRUE(ShowsOff(ids::kDigitalOutput));
    EXPECT_TRUE(Sets(u"DefaultDeviceControl").empty());
}

// What the screen shows at the centre of a control (an X screenshot includes child windows).
COLORREF ScreenCentre(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    ReleaseDC(nullptr, screen);
    return c;
}

COLORREF ImageCentre(HBITMAP image) {
    BITMAP info{};
    GetObjectW(image, sizeof(info), &info);
    return testing::BitmapPixel(image, info.bmWidth / 2, info.bmHeight / 2);
}

TEST_F(MainConsoleWindow, TheScreenShowsTheLampsAPressLit) {
    SetWindowPos(host->hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    const RECT pic = ClientRect(ids::kRatePicture);
    PressAt(pic.right - 2, pic.top + 1);  // 96 kHz
    PressInside(ids::kDigitalOutput);
    RedrawWindow(host->hwnd(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    const struct {
        int id;
        bool lit;
    } expected[] = {{ids::kRateLamps[3], true},  {ids::kRateLamps[0], false},
                    {ids::kDigitalOutput, true}, {ids::kMute, true},
                    {ids::kSpeakerLamp, true},   {ids::kHeadphoneLamp, false}};
    for (const auto& e : expected) {
        const controls::CMyStaticBmp* lamp = host->view.Lamp(e.id);
        const COLORREF on = ImageCentre(lamp->OnImage());
        const COLORREF off = ImageCentre(lamp->OffImage());
        ASSERT_NE(on, off) << "lamp " << e.id << " looks the same lit and unlit";
        EXPECT_EQ(ScreenCentre(Item(e.id)), e.lit ? on : off) << "lamp " << e.id;
    }

    const controls::CMyStaticBmp* picture = host->view.Lamp(ids::kRatePicture);
    EXPECT_EQ(ScreenCentre(Item(ids::kRatePicture)), ImageCentre(picture->PictureImage(3)));
}

}  // namespace
}  // namespace quorelle::pages
