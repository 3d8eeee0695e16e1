// The main console's page model against a fake endpoint, a recording fake device library and
// real settings files in a temporary directory.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <map>

#include "device/selection.h"
#include "device_fake_conflib.h"
#include "page_test_support.h"
#include "pages/main_console.h"
#include "settings/ini_file.h"
#include "settings/settings.h"

namespace fs = std::filesystem;

namespace quorelle::pages {
namespace {

using device::DeviceDescriptor;
using device::testing::FakeConfLib;
using device::testing::RecordedProperty;
using device::testing::RecordingNotices;

class FakeEndpoint : public device::EndpointControl {
  public:
    float GetChannelLevel(int channel) override { return levels[channel == 0 ? 0 : 1]; }
    void SetChannelLevel(int channel, float level) override {
        writes.push_back({channel, level});
        levels[channel == 0 ? 0 : 1] = level;
    }
    bool GetEndpointMute() override { return muted; }
    void SetEndpointMute(bool m) override {
        muteWrites.push_back(m);
        muted = m;
    }
    struct Write {
        int channel;
        float level;
    };
    float levels[2] = {0.0f, 0.0f};
    bool muted = false;
    std::vector<Write> writes;
    std::vector<bool> muteWrites;
};

// Records each refresh with the key the refreshed page reads at that moment.
class CountingPages : public PageRefresh {
  public:
    void RefreshHifiFromSettings() override {
        order.push_back("hifi isDrySoundOn=" + ReadSettingText(kCplIni, "Hifi", "isDrySoundOn"));
    }
    void RefreshHeadphoneFromSettings() override {
        order.push_back("hp SurroundMax=" + ReadSettingText(kCplIni, "HP", "SurroundMax"));
    }
    std::vector<std::string> order;
};

// Answers gets whose extra buffer names what is asked (a DeviceSpecificControl selector, the rate
// of an IsSupportFormat record) one by one; every call still goes through the fake, which
// records it and answers the rest.
class KeyedAnswers {
  public:
    KeyedAnswers() {
        inner_ = device::ConfLibSlots().PropertyControl;
        current_ = this;
        device::ConfLibSlots().PropertyControl = &Call;
    }
    ~KeyedAnswers() {
        device::ConfLibSlots().PropertyControl = inner_;
        current_ = nullptr;
    }
    // 8-bit text for the get of `name` whose key is `key`, with the call's result.
    void Answer(const std::u16string& name, int32_t key, const std::string& text,
                int32_t status = 0) {
        answers[{name, key}] = {status, text};
    }
    std::map<std::pair<std::u16string, int32_t>, std::pair<int32_t, std::string>> answers;

  private:
    static int32_t Call(DeviceDescriptor device, const char16_t* name, void** data, void** extra,
                        uint8_t set) {
        const int32_t inner = current_->inner_(device, name, data, extra, set);
        if (set || extra == nullptr) return inner;
        const std::u16string n = name;
        int32_t key = 0;
        std::memcpy(&key, static_cast<uint8_t*>(*extra) + (n == u"IsSupportFormat" ? 4 : 0), 4);
        const auto it = current_->answers.find({n, key});
        if (it == current_->answers.end()) return inner;
        std::memset(*data, 0, device::kPropertyBufferSize);
        std::memcpy(*data, it->second.second.c_str(), it->second.second.size());
        return it->second.first;
    }
    device::PropertyControlFn inner_ = nullptr;
    static inline KeyedAnswers* current_ = nullptr;
};

// The picture and lamp rectangles of the page at 96 dpi (dialog units of dialog 102 scaled).
HitAreas Areas() {
    HitAreas a;
    a.mute = {80, 203, 129, 227};
    a.outputPicture = {336, 112, 368, 164};
    a.sampleRatePicture = {474, 158, 525, 207};
    a.digitalOutput = {420, 54, 469, 78};
    a.depthLamps = {Rect{419, 102, 443, 126}, Rect{474, 102, 498, 126}, Rect{530, 102, 554, 126}};
    return a;
}
Point Inside(const Rect& r) {
    return {r.left + 3, r.top + 3};
}

class MainConsoleTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = testing::FreshTestDirectory("quorelle-main-console-");
        settings_ = std::make_unique<IniFileSettings>(dir_);
        SetSettingsBackend(settings_.get());
        testing::SelectAnalogOutput(fake);
        console.SetupMainControls();
    }
    void TearDown() override {
        device::theOutputDevice = {};
        device::theInputDevice = {};
        SetSettingsBackend(nullptr);
        fs::remove_all(dir_);
    }

    // The calls of one property, optionally only sets or only gets.
    std::vector<RecordedProperty> Calls(const std::u16string& name, int set = -1) const {
        std::vector<RecordedProperty> out;
        for (const auto& p : fake.properties)
            if (p.name == name && (set < 0 || p.set == (set == 1))) out.push_back(p);
        return out;
    }
    std::vector<RecordedProperty> Sets() const {
        std::vector<RecordedProperty> out;
        for (const auto& p : fake.properties)
            if (p.set) out.push_back(p);
        return out;
    }
    std::string Key(const char* section, const char* key) {
        return ReadSettingText(kCplIni, section, key);
    }
    int LitRate() const {
        int lit = -1;
        for (int i = 0; i < kRateCount; ++i)
            if (console.State().rateLamps[i].lit) {
                EXPECT_EQ(lit, -1) << "more than one rate lamp lit";
                lit = i;
            }
        return lit;
    }
    // Every answer of a healthy card.
    void AnswerEverything() {
        fake.Answer8(u"DevChannelNumControl", "2");
        fake.Answer8(u"Enable_Channel_COPY_LFX", "0");
        fake.Answer16(u"DevSampleRateControl", u"96000");
        fake.Answer16(u"DevBitDepthControl", u"24");
        fake.Answer8(u"DeviceSpecificControl", "5");
        fake.Answer8(u"IsSupportFormat", "1");
    }

    fs::path dir_;
    std::unique_ptr<IniFileSettings> settings_;
    FakeConfLib fake;
    RecordingNotices notices;
    FakeEndpoint endpoint;
    CountingPages pages;
    MainConsole console{endpoint, pages};
};

// --- volume and balance --------------------------------------------------------------------

TEST(MainConsoleLevels, TheLouderSideGetsTheKnobLevelAndIsWrittenFirst) {
    ChannelLevels l = LevelsFromKnob(50, 75);
    EXPECT_FLOAT_EQ(l.right, 1.0f);
    EXPECT_FLOAT_EQ(l.left, 0.5f);
    EXPECT_TRUE(l.rightFirst);

    l = LevelsFromKnob(50, 0);
    EXPECT_FLOAT_EQ(l.left, 1.0f);
    EXPECT_FLOAT_EQ(l.right, 0.0f);
    EXPECT_FALSE(l.rightFirst);

    l = LevelsFromKnob(50, 100);
    EXPECT_FLOAT_EQ(l.right, 1.0f);
    EXPECT_FLOAT_EQ(l.left, 0.0f);

    l = LevelsFromKnob(30, 50);
    EXPECT_FLOAT_EQ(l.left, 0.6f);
    EXPECT_FLOAT_EQ(l.right, 0.6f);
    EXPECT_FALSE(l.rightFirst);
}

TEST(MainConsoleLevels, KnobPositionsAboveTheDragLimitAskForFullLevelAtMost) {
    for (int32_t knob = 51; knob <= kKnobMax; ++knob) {
        const ChannelLevels l = LevelsFromKnob(knob, 60);
        EXPECT_FLOAT_EQ(l.right, 1.0f) << knob;
        EXPECT_LE(l.left, 1.0f) << knob;
    }
}

TEST(MainConsoleLevels, EndpointLevelsGiveKnobAndBalance) {
    VolumeReading r = VolumeFromLevels(0.8f, 0.4f);
    EXPECT_EQ(r.balance, 25);
    EXPECT_EQ(r.knob, 40);
    r = VolumeFromLevels(0.4f, 0.8f);
    EXPECT_EQ(r.balance, 75);
    EXPECT_EQ(r.knob, 40);
    r = VolumeFromLevels(0.0f, 0.0f);
    EXPECT_EQ(r.balance, 50);
    EXPECT_EQ(r.knob, 0);
    r = VolumeFromLevels(1.0f, 0.0f);
    EXPECT_EQ(r.balance, 0);
    EXPECT_EQ(r.knob, 50);
}

TEST(MainConsoleLevels, ReadingBackWhatThePageWroteGivesTheSameKnobAndBalance) {
    // A foreign change (mute toggled elsewhere) re-reads the levels; knob and balance must not
    // creep by one because the endpoint holds 21 / 50 as 0.41999998.
    for (int32_t knob = 1; knob <= kKnobDragLimit; ++knob) {
        for (int32_t balance = 0; balance <= 100; ++balance) {
            const ChannelLevels l = LevelsFromKnob(knob, balance);
            const VolumeReading r = VolumeFromLevels(l.left, l.right);
            ASSERT_EQ(r.knob, knob) << "balance " << balance;
            ASSERT_EQ(r.balance, balance) << "knob " << knob;
        }
    }
}

TEST(MainConsoleLevels, UnusableEndpointLevelsReadAsSilence) {
    const VolumeReading r = VolumeFromLevels(std::nanf(""), -0.5f);
    EXPECT_EQ(r.knob, 0);
    EXPECT_EQ(r.balance, 50);
}

TEST_F(MainConsoleTest, KnobAndBalanceGoToTheEndpointLouderSideFirst) {
    console.SetKnobPosition(50);
    console.SetBalance(75);
    console.ApplyChannelLevels();
    ASSERT_EQ(endpoint.writes.size(), 2u);
    EXPECT_EQ(endpoint.writes[0].channel, 1);
    EXPECT_FLOAT_EQ(endpoint.writes[0].level, 1.0f);
    EXPECT_EQ(endpoint.writes[1].channel, 0);
    EXPECT_FLOAT_EQ(endpoint.writes[1].level, 0.5f);

    endpoint.writes.clear();
    console.SetKnobPosition(65);  // the dead zone, reachable by keys
    console.SetBalance(50);
    console.ApplyChannelLevels();
    ASSERT_EQ(endpoint.writes.size(), 2u);
    EXPECT_EQ(endpoint.writes[0].channel, 0);
    EXPECT_FLOAT_EQ(endpoint.writes[0].level, 1.0f);
    EXPECT_FLOAT_EQ(endpoint.writes[1].level, 1.0f);
}

TEST_F(MainConsoleTest, ResetTakesTheLouderLevelForBothAndLeavesTheKnob) {
    endpoint.levels[0] = 0.3f;
    endpoint.levels[1] = 0.6f;
    console.SetKnobPosition(33);
    console.SetBalance(80);
    console.ResetBalance();
    EXPECT_EQ(console.State().balance, 50);
    EXPECT_EQ(console.State().knobPosition, 33);
    ASSERT_EQ(endpoint.writes.size(), 2u);
    EXPECT_EQ(endpoint.writes[0].channel, 0);
    EXPECT_EQ(endpoint.writes[1].channel, 1);
    EXPECT_FLOAT_EQ(endpoint.writes[0].level, 0.6f);
    EXPECT_FLOAT_EQ(endpoint.writes[1].level, 0.6f);
}

TEST_F(MainConsoleTest, OnlySomeoneElsesVolumeChangeIsReadBack) {
    endpoint.levels[0] = 0.4f;
    endpoint.levels[1] = 0.8f;
    endpoint.muted = false;
    const MainConsoleState before = console.State();
    console.OnVolumeChanged(10);  // the program's own change
    console.OnVolumeChanged(1);   // a topology part's change
    EXPECT_EQ(console.State(), before);

    console.OnVolumeChanged(0);
    EXPECT_EQ(console.State().knobPosition, 40);
    EXPECT_EQ(console.State().balance, 75);
    EXPECT_FALSE(console.State().mute.lit);  // set up lit, the endpoint says not muted
    EXPECT_TRUE(endpoint.writes.empty());
}

// --- clicks ----------------------------------------------------------------------------------

TEST_F(MainConsoleTest, TheMuteLampTogglesMuteAndNeverStartsADrag) {
    ASSERT_TRUE(console.State().mute.lit);
    HitAreas areas = Areas();
    // even where another area overlaps it, the mute lamp takes the press alone
    areas.depthLamps[0] = areas.mute;
    EXPECT_FALSE(console.OnLeftButtonDown(areas, Inside(areas.mute)));
    EXPECT_FALSE(console.State().mute.lit);
    EXPECT_FALSE(console.OnLeftButtonDown(areas, Inside(areas.mute)));
    EXPECT_TRUE(console.State().mute.lit);
    EXPECT_EQ(endpoint.muteWrites, (std::vector<bool>{false, true}));
    EXPECT_TRUE(fake.properties.empty());
    EXPECT_TRUE(console.State().depthLamps[0].lit);  // untouched: 16 bit from the set-up
}

TEST_F(MainConsoleTest, EveryOtherPressDragsAfterTheHitTests) {
    const HitAreas areas = Areas();
    const MainConsoleState before = console.State();
    EXPECT_TRUE(console.OnLeftButtonDown(areas, {5, 5}));  // background
    EXPECT_EQ(console.State(), before);
    EXPECT_TRUE(fake.properties.empty());
    EXPECT_TRUE(console.OnLeftButtonDown(areas, Inside(areas.depthLamps[1])));
    EXPECT_TRUE(console.OnLeftButtonDown(areas, Inside(areas.sampleRatePicture)));
    // the rectangle's right and bottom edges lie outside it
    const Rect& m = areas.mute;
    EXPECT_TRUE(console.OnLeftButtonDown(areas, {m.right, m.top}));
    EXPECT_TRUE(console.OnLeftButtonDown(areas, {m.left, m.bottom}));
}

TEST(MainConsoleZones, SixZonesInTheirPlaces) {
    const Rect pic{100, 200, 151, 249};             // 51 x 49: mid 125, rows split at 216 and 232
    EXPECT_EQ(SampleRateZone(pic, {100, 200}), 2);  // left top: 88.2
    EXPECT_EQ(SampleRateZone(pic, {124, 220}), 1);  // left middle: 48
    EXPECT_EQ(SampleRateZone(pic, {110, 248}), 0);  // left bottom: 44.1
    EXPECT_EQ(SampleRateZone(pic, {150, 200}), 3);  // right top: 96
    EXPECT_EQ(SampleRateZone(pic, {130, 231}), 4);  // right middle: 176.4
    EXPECT_EQ(SampleRateZone(pic, {150, 248}), 5);  // right bottom: 192
    // the dividing lines belong to the zone right of or below them
    EXPECT_EQ(SampleRateZone(pic, {125, 205}), 3);
    EXPECT_EQ(SampleRateZone(pic, {105, 216}), 1);
    EXPECT_EQ(SampleRateZone(pic, {105, 232}), 0);
    EXPECT_EQ(SampleRateZone(pic, {125, 232}), 5);
    EXPECT_FALSE(SampleRateZone(pic, {151, 210}));
    EXPECT_FALSE(SampleRateZone(pic, {120, 249}));
    EXPECT_FALSE(SampleRateZone(pic, {99, 210}));
}

TEST_F(MainConsoleTest, EveryPointOfTheRatePictureWritesOneOfTheSixRates) {
    const HitAreas areas = Areas();
    const Rect& pic = areas.sampleRatePicture;
    std::map<int32_t, int> seen;
    for (int32_t y = pic.top; y < pic.bottom; ++y) {
        for (int32_t x = pic.left; x < pic.right; ++x) {
            fake.properties.clear();
            console.OnLeftButtonDown(areas, {x, y});
            const auto sets = Calls(u"DevSampleRateControl", 1);
            ASSERT_EQ(sets.size(), 1u) << x << "," << y;
            const int lit = LitRate();
            ASSERT_GE(lit, 0);
            ASSERT_EQ(sets[0].data, kSampleRates[lit]);
            ASSERT_EQ(console.State().sampleRatePicture, lit);
            ++seen[sets[0].data];
        }
    }
    EXPECT_EQ(seen.size(), 6u);
    EXPECT_EQ(seen.count(0), 0u);
}

TEST_F(MainConsoleTest, ARateDisabledAsUnsupportedCanStillBeChosenThroughThePicture) {
    fake.Answer8(u"IsSupportFormat", "0");
    console.ReadDeviceState();
    ASSERT_FALSE(console.State().rateLamps[3].enabled);
    fake.properties.clear();
    const Rect& pic = Areas().sampleRatePicture;
    console.OnLeftButtonDown(Areas(), {pic.right - 2, pic.top + 1});  // right top: 96 kHz
    EXPECT_EQ(LitRate(), 3);
    EXPECT_FALSE(console.State().rateLamps[3].enabled);
    const auto sets = Calls(u"DevSampleRateControl", 1);
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(sets[0].data, 96000);
    EXPECT_EQ(sets[0].device, (DeviceDescriptor{10, 1, 0, 1}));
    EXPECT_FALSE(sets[0].hadExtra);
}

TEST_F(MainConsoleTest, BitDepthLampsLightOneAndWriteTheDepth) {
    const HitAreas areas = Areas();
    for (int i : {1, 2, 0}) {
        fake.properties.clear();
        console.OnLeftButtonDown(areas, Inside(areas.depthLamps[i]));
        for (int j = 0; j < kDepthCount; ++j) EXPECT_EQ(console.State().depthLamps[j].lit, i == j);
        const auto sets = Calls(u"DevBitDepthControl", 1);
        ASSERT_EQ(sets.size(), 1u);
        EXPECT_EQ(sets[0].data, kBitDepths[i]);
    }
}

TEST_F(MainConsoleTest, ThirtyTwoBitsOnTheHiddenLampsPlaceWithTheDigitalOutputOn) {
    const HitAreas areas = Areas();
    console.OnLeftButtonDown(areas, Inside(areas.digitalOutput));
    ASSERT_TRUE(console.State().digitalOutput.lit);
    ASSERT_FALSE(console.State().depthLamps[2].visible);
    fake.properties.clear();
    console.OnLeftButtonDown(areas, Inside(areas.depthLamps[2]));
    EXPECT_TRUE(console.State().depthLamps[2].lit);
    const auto sets = Calls(u"DevBitDepthControl", 1);
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(sets[0].data, 32);
    EXPECT_EQ(sets[0].device, (DeviceDescriptor{12, 4, 0, 1}));
}

// --- output route ----------------------------------------------------------------------------

TEST_F(MainConsoleTest, AMissingHeadPhoneKeyMeansTheSpeakerRoute) {
    AnswerEverything();
    fake.answers.erase(u"DeviceSpecificControl");
    console.ReadDeviceState();  // probe fails: both codes stay 0
    fake.Answer8(u"DeviceSpecificControl", "7");
    console.ReadDeviceState();
    ASSERT_EQ(console.State().speakerRouteCode, 7);
    fake.properties.clear();
    console.ApplyOutputRoute();
    EXPECT_TRUE(console.State().speakerLamp.lit);
    EXPECT_FALSE(console.State().headphoneLamp.lit);
    EXPECT_FALSE(console.State().outputPicture.lit);
    const auto sets = Calls(u"DeviceSpecificControl", 1);
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(sets[0].data, 7);
    EXPECT_TRUE(sets[0].hadExtra);
    EXPECT_EQ(sets[0].extra, 0);
    EXPECT_FALSE(fs::exists(dir_ / kCplIni)) << "reading the route writes nothing";
}

TEST_F(MainConsoleTest, ClickingTheOutputPictureSwitchesTheRouteAndRemembersIt) {
    KeyedAnswers keyed;
    fake.Answer8(u"DeviceSpecificControl", "0");
    keyed.Answer(u"DeviceSpecificControl", 1, "31");
    keyed.Answer(u"DeviceSpecificControl", 2, "42");
    console.ReadDeviceState();
    ASSERT_EQ(console.State().speakerRouteCode, 31);
    ASSERT_EQ(console.State().headphoneRouteCode, 42);

    const HitAreas areas = Areas();
    fake.properties.clear();
    EXPECT_TRUE(console.OnLeftButtonDown(areas, Inside(areas.outputPicture)));
    EXPECT_EQ(Key("CPL", "HeadPhone"), "1");
    EXPECT_TRUE(console.State().outputPicture.lit);
    EXPECT_TRUE(console.State().headphoneLamp.lit);
    EXPECT_FALSE(console.State().speakerLamp.lit);
    auto sets = Calls(u"DeviceSpecificControl", 1);
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(sets[0].data, 42);
    EXPECT_EQ(sets[0].extra, 0);

    fake.properties.clear();
    console.OnLeftButtonDown(areas, Inside(areas.outputPicture));
    EXPECT_EQ(Key("CPL", "HeadPhone"), "0");
    EXPECT_FALSE(console.State().outputPicture.lit);
    EXPECT_TRUE(console.State().speakerLamp.lit);
    sets = Calls(u"DeviceSpecificControl", 1);
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(sets[0].data, 31);
}

// --- digital output --------------------------------------------------------------------------

TEST_F(MainConsoleTest, DigitalOutputOnThenOffSwitchesDeviceKeysAndThe32BitLamp) {
    AnswerEverything();
    const HitAreas areas = Areas();
    ASSERT_TRUE(console.State().depthLamps[2].visible);

    console.OnLeftButtonDown(areas, Inside(areas.digitalOutput));
    EXPECT_TRUE(console.State().digitalOutput.lit);
    EXPECT_FALSE(console.State().depthLamps[2].visible);
    EXPECT_EQ(Key("CPL", "DigitalOutSr"), "1");
    // each page refreshes after its key was forced off
    EXPECT_EQ(pages.order, (std::vector<std::string>{"hifi isDrySoundOn=0", "hp SurroundMax=0"}));
    EXPECT_EQ(device::theOutputDevice.device, (DeviceDescriptor{12, 4, 0, 1}));
    // the device state is read from the new device, then the new default is announced
    ASSERT_FALSE(fake.properties.empty());
    const RecordedProperty& last = fake.properties.back();
    EXPECT_EQ(last.name, u"DefaultDeviceControl");
    EXPECT_TRUE(last.set);
    EXPECT_EQ(last.device, (DeviceDescriptor{12, 4, 0, 1}));
    EXPECT_EQ(last.data, 0);
    EXPECT_TRUE(last.hadExtra);
    EXPECT_EQ(last.extra, 0);
    EXPECT_EQ(Calls(u"DevSampleRateControl", 0).back().device.id, 12);
    EXPECT_EQ(LitRate(), 3);  // 96000 from the device

    pages.order.clear();
    fake.properties.clear();
    console.OnLeftButtonDown(areas, Inside(areas.digitalOutput));
    EXPECT_FALSE(console.State().digitalOutput.lit);
    EXPECT_TRUE(console.State().depthLamps[2].visible);
    EXPECT_EQ(Key("CPL", "DigitalOutSr"), "0");
    EXPECT_TRUE(pages.order.empty());
    EXPECT_EQ(Key("Hifi", "isDrySoundOn"), "0");
    EXPECT_EQ(Key("HP", "SurroundMax"), "0");
    EXPECT_EQ(device::theOutputDevice.device, (DeviceDescriptor{10, 1, 0, 1}));
    EXPECT_EQ(fake.properties.back().name, u"DefaultDeviceControl");
    EXPECT_EQ(fake.properties.back().device, (DeviceDescriptor{10, 1, 0, 1}));
}

TEST_F(MainConsoleTest, TheSystemsDefaultOutputChangeSelectsAndRereadsButWritesNothing) {
    AnswerEverything();
    console.OnDefaultOutputChanged(0);
    EXPECT_TRUE(console.State().digitalOutput.lit);
    EXPECT_TRUE(console.State().depthLamps[2].visible) << "the 32-bit lamp stays shown";
    EXPECT_EQ(device::theOutputDevice.device.id, 12);
    EXPECT_EQ(LitRate(), 3);
    EXPECT_TRUE(Sets().empty());
    EXPECT_FALSE(fs::exists(dir_ / kCplIni));

    console.OnDefaultOutputChanged(0);  // duplicates change nothing more
    EXPECT_TRUE(console.State().digitalOutput.lit);

    console.OnDefaultOutputChanged(1);
    EXPECT_FALSE(console.State().digitalOutput.lit);
    EXPECT_EQ(device::theOutputDevice.device.id, 10);

    fake.properties.clear();
    const MainConsoleState before = console.State();
    console.OnDefaultOutputChanged(2);
    console.OnDefaultOutputChanged(-1);
    EXPECT_EQ(console.State(), before);
    EXPECT_TRUE(fake.properties.empty());
    EXPECT_TRUE(Sets().empty());
    EXPECT_TRUE(pages.order.empty());
}

// --- device state ----------------------------------------------------------------------------

TEST_F(MainConsoleTest, DefaultsAreWrittenOnlyForPropertiesTheDeviceCannotReport) {
    console.ApplyDeviceDefaults();  // every read fails
    const auto sets = Sets();
    ASSERT_EQ(sets.size(), 5u);
    EXPECT_EQ(sets[0].name, u"DevChannelNumControl");
    EXPECT_EQ(sets[0].data, 2);
    EXPECT_EQ(sets[1].name, u"Enable_Channel_COPY_LFX");
    EXPECT_EQ(sets[1].data, 0);
    EXPECT_EQ(sets[2].name, u"DevSampleRateControl");
    EXPECT_EQ(sets[2].data, 44100);
    EXPECT_EQ(sets[3].name, u"DevBitDepthControl");
    EXPECT_EQ(sets[3].data, 16);
    EXPECT_EQ(sets[4].name, u"DeviceSpecificControl");
    EXPECT_EQ(sets[4].data, 0);
    EXPECT_TRUE(sets[4].hadExtra);
    EXPECT_EQ(sets[4].extra, 0);
    for (int i = 0; i < 4; ++i) EXPECT_FALSE(sets[i].hadExtra) << i;
    const auto probe = Calls(u"DeviceSpecificControl", 0);
    ASSERT_EQ(probe.size(), 1u);
    EXPECT_TRUE(probe[0].hadExtra);
    EXPECT_EQ(probe[0].extra, 0);
    // each write follows its own failed read
    for (size_t i = 0; i < fake.properties.size(); i += 2) {
        EXPECT_FALSE(fake.properties[i].set);
        EXPECT_EQ(fake.properties[i].name, fake.properties[i + 1].name);
    }

    fake.properties.clear();
    AnswerEverything();
    fake.answers[u"DevBitDepthControl"].status = 3;  // only this read fails
    console.ApplyDeviceDefaults();
    ASSERT_EQ(Sets().size(), 1u);
    EXPECT_EQ(Sets()[0].name, u"DevBitDepthControl");
}

TEST_F(MainConsoleTest, DeviceStateAppearsOnThePage) {
    KeyedAnswers keyed;
    AnswerEverything();
    fake.Answer8(u"DevChannelNumControl", "6");
    keyed.Answer(u"IsSupportFormat", 88200, "0");
    keyed.Answer(u"IsSupportFormat", 176400, "0");
    keyed.Answer(u"DeviceSpecificControl", 1, "3");
    keyed.Answer(u"DeviceSpecificControl", 2, "4");
    console.ReadDeviceState();

    const MainConsoleState& s = console.State();
    for (int i = 0; i < kRateCount; ++i)
        EXPECT_EQ(s.rateLamps[i].enabled, i != 2 && i != 4) << kSampleRates[i];
    EXPECT_EQ(LitRate(), 3);
    EXPECT_EQ(s.sampleRatePicture, 3);
    EXPECT_FALSE(s.depthLamps[0].lit);
    EXPECT_TRUE(s.depthLamps[1].lit);
    EXPECT_FALSE(s.depthLamps[2].lit);
    EXPECT_EQ(s.speakerRouteCode, 3);
    EXPECT_EQ(s.headphoneRouteCode, 4);
    EXPECT_TRUE(Sets().empty());

    // the format record: channels from the device, 16-bit samples, the rate
    const auto probes = Calls(u"IsSupportFormat", 0);
    ASSERT_EQ(probes.size(), 6u);
    for (int i = 0; i < kRateCount; ++i) {
        const auto& b = probes[i].extraBytes;
        EXPECT_EQ(b[0] | b[1] << 8, 6);
        EXPECT_EQ(b[2] | b[3] << 8, 16);
        int32_t rate = 0;
        std::memcpy(&rate, b.data() + 4, 4);
        EXPECT_EQ(rate, kSampleRates[i]);
    }
}

TEST_F(MainConsoleTest, ARateOutsideTheSixAndAnOddDepthChangeOnlyWhatTheyMay) {
    AnswerEverything();
    console.ReadDeviceState();
    ASSERT_EQ(LitRate(), 3);
    fake.Answer16(u"DevSampleRateControl", u"32000");
    fake.Answer16(u"DevBitDepthControl", u"20");
    console.ReadDeviceState();
    EXPECT_EQ(LitRate(), 3);
    EXPECT_EQ(console.State().sampleRatePicture, 3);
    for (const auto& lamp : console.State().depthLamps) EXPECT_FALSE(lamp.lit);
}

TEST_F(MainConsoleTest, FailedReadsLeaveThePageAsItWas) {
    KeyedAnswers keyed;
    AnswerEverything();
    keyed.Answer(u"DeviceSpecificControl", 1, "3");
    keyed.Answer(u"DeviceSpecificControl", 2, "4");
    keyed.Answer(u"IsSupportFormat", 48000, "0");
    console.ReadDeviceState();
    const MainConsoleState healthy = console.State();
    ASSERT_FALSE(healthy.rateLamps[1].enabled);

    // every read fails, each in its own way
    fake.Answer8(u"DevChannelNumControl", "", 1);
    fake.Answer8(u"IsSupportFormat", "1", 5);
    keyed.answers.clear();
    fake.Answer16(u"DevSampleRateControl", u"44100", -1);
    fake.Answer16(u"DevBitDepthControl", u"16", 2);
    fake.Answer8(u"DeviceSpecificControl", "9", 1);
    fake.properties.clear();
    console.ReadDeviceState();
    EXPECT_EQ(console.State(), healthy);
    // the failed probe stops before the route codes are asked for
    EXPECT_EQ(Calls(u"DeviceSpecificControl").size(), 1u);
    // the failed channel count asks with 0 channels
    EXPECT_EQ(Calls(u"IsSupportFormat")[0].extraBytes[0], 0);

    // the probe answers, the two selectors fail: the codes are kept
    fake.Answer8(u"DeviceSpecificControl", "9");
    keyed.Answer(u"DeviceSpecificControl", 1, "", 1);
    keyed.Answer(u"DeviceSpecificControl", 2, "", 1);
    console.ReadDeviceState();
    EXPECT_EQ(console.State().speakerRouteCode, 3);
    EXPECT_EQ(console.State().headphoneRouteCode, 4);

    // no library at all
    device::ConfLibSlots().PropertyControl = nullptr;
    console.ReadDeviceState();
    EXPECT_EQ(console.State(), healthy);
}

// --- start-up --------------------------------------------------------------------------------

TEST_F(MainConsoleTest, SetUpLooks) {
    const MainConsoleState& s = console.State();
    EXPECT_EQ(s.knobPosition, 20);
    EXPECT_EQ(s.balance, 50);
    EXPECT_TRUE(s.mute.lit);
    EXPECT_EQ(LitRate(), 0);
    EXPECT_EQ(s.sampleRatePicture, 0);
    EXPECT_TRUE(s.speakerLamp.lit);
    EXPECT_FALSE(s.headphoneLamp.lit);
    EXPECT_FALSE(s.outputPicture.lit);
    EXPECT_FALSE(s.digitalOutput.lit);
    EXPECT_TRUE(s.depthLamps[0].lit);
    EXPECT_FALSE(s.depthLamps[1].lit);
    EXPECT_FALSE(s.depthLamps[2].lit);
}

TEST_F(MainConsoleTest, StartupByTheDefaultEndpointsKind) {
    AnswerEverything();
    console.StartupOutputKind(device::OUTPUT_DIGITAL);
    EXPECT_TRUE(console.State().digitalOutput.lit);
    EXPECT_FALSE(console.State().depthLamps[2].visible);
    EXPECT_EQ(device::theOutputDevice.device.id, 12);
    EXPECT_EQ(LitRate(), 3);

    console.StartupOutputKind(device::OUTPUT_ANALOG);
    EXPECT_FALSE(console.State().digitalOutput.lit);
    EXPECT_TRUE(console.State().depthLamps[2].visible);
    EXPECT_EQ(device::theOutputDevice.device.id, 10);

    fake.properties.clear();
    fake.calls.clear();
    const MainConsoleState before = console.State();
    console.StartupOutputKind(0);
    EXPECT_EQ(console.State(), before);
    EXPECT_TRUE(fake.calls.empty());
    EXPECT_TRUE(Sets().empty());
    EXPECT_FALSE(fs::exists(dir_ / kCplIni));
}

TEST_F(MainConsoleTest, StartupTakesMuteVolumeAndRouteFromEndpointAndSettings) {
    WriteSettingText(kCplIni, "CPL", "HeadPhone", "1");
    endpoint.muted = false;
    endpoint.levels[0] = 0.8f;
    endpoint.levels[1] = 0.4f;
    console.StartupEndpointState();
    EXPECT_FALSE(console.State().mute.lit);
    EXPECT_EQ(console.State().knobPosition, 40);
    EXPECT_EQ(console.State().balance, 25);
    EXPECT_TRUE(console.State().headphoneLamp.lit);
    EXPECT_TRUE(console.State().outputPicture.lit);
    EXPECT_EQ(Calls(u"DeviceSpecificControl", 1).size(), 1u);
    EXPECT_TRUE(endpoint.writes.empty());
    EXPECT_TRUE(endpoint.muteWrites.empty());
}

TEST_F(MainConsoleTest, WithoutTheLibraryClicksStillChangeLampsAndSettings) {
    device::ConfLibSlots() = {};
    const HitAreas areas = Areas();
    console.OnLeftButtonDown(areas, Inside(areas.outputPicture));
    console.OnLeftButtonDown(areas, {areas.sampleRatePicture.left, areas.sampleRatePicture.top});
    console.OnLeftButtonDown(areas, Inside(areas.depthLamps[2]));
    console.OnLeftButtonDown(areas, Inside(areas.digitalOutput));
    EXPECT_TRUE(console.State().headphoneLamp.lit);
    EXPECT_EQ(LitRate(), 2);
    EXPECT_TRUE(console.State().depthLamps[2].lit);
    EXPECT_TRUE(console.State().digitalOutput.lit);
    EXPECT_EQ(Key("CPL", "HeadPhone"), "1");
    EXPECT_EQ(Key("CPL", "DigitalOutSr"), "1");
    EXPECT_TRUE(fake.properties.empty());
}
}  // namespace
}  // namespace quorelle::pages
