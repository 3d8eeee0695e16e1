// The advance and headphone page models against the recording fake device library and real
// settings files in a temporary directory.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "device/selection.h"
#include "device_fake_conflib.h"
#include "page_test_support.h"
#include "pages/advance.h"
#include "pages/headphone.h"
#include "settings/ini_file.h"
#include "settings/settings.h"

namespace fs = std::filesystem;

namespace quorelle::pages {
namespace {

using device::testing::FakeAnswer;
using device::testing::FakeConfLib;
using device::testing::RecordedProperty;

class PageModelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = testing::FreshTestDirectory("quorelle-adhp-");
        settings_ = std::make_unique<testing::TestSettings>(dir_);
        SetSettingsBackend(settings_.get());
        testing::SelectAnalogOutput(fake);
    }
    void TearDown() override {
        device::theOutputDevice = {};
        device::theInputDevice = {};
        SetSettingsBackend(nullptr);
        fs::remove_all(dir_);
    }

    void WriteIni(const std::string& text) { std::ofstream(dir_ / "CPL.ini") << text; }
    std::string Key(const char* section, const char* key) {
        return ReadSettingText(kCplIni, section, key);
    }
    // "get NAME/extra" or "set NAME data[/extra]" for each call since the last time; all of
    // them must go to the analog output.
    std::vector<std::string> TakeTrace() {
        std::vector<std::string> out;
        for (const RecordedProperty& p : fake.properties) {
            EXPECT_EQ(p.device.id, 10) << "every call goes to the analog output";
            std::string line =
                (p.set ? "set " : "get ") + std::string(p.name.begin(), p.name.end());
            if (p.set) line += " " + std::to_string(p.data);
            out.push_back(line + (p.hadExtra ? "/" + std::to_string(p.extra) : ""));
        }
        fake.properties.clear();
        return out;
    }

    fs::path dir_;
    std::unique_ptr<testing::TestSettings> settings_;
    FakeConfLib fake;
    device::testing::RecordingNotices notices;
};

using Calls = std::vector<std::string>;

// --- advance page ------------------------------------------------------------------------------

const std::array<Rect, kEffectCount> kLampRects = {
    Rect{94, 152, 126, 204}, Rect{254, 152, 286, 204}, Rect{426, 152, 458, 204},
    Rect{585, 152, 617, 204}};

Calls EffectSets(int a, int b, int c, int d) {
    return {"set Enable_VIRTUALBASS_LFX " + std::to_string(a),
            "set Enable_AUDIOBRILLIANT_LFX " + std::to_string(b),
            "set Enable_VOICECLARITY_LFX " + std::to_string(c),
            "set Enable_ADAPTIVEVOLUME_GFX " + std::to_string(d)};
}

TEST_F(PageModelTest, AdvanceStartShowsExactlyTheOnesAndSendsAllFourInOrder) {
    struct Case {
        std::string ini;
        std::array<bool, kEffectCount> on;
    } cases[] = {
        {"", {false, false, false, false}},  // no file at all
        {"[Ad]\nDynamicBass=1\nAudioBrilliant=2\nVoiceClarity=abc\n", {true, false, false, false}},
        {"[ad]\ndynamicbass=0\nAudioBrilliant= 1 \nVoiceClarity=-1\nAdaptiveVolume=1\n",
         {false, true, false, true}},
        {"[HP]\nDynamicBass=1\n", {false, false, false, false}},  // the key of another section
    };
    for (const Case& c : cases) {
        WriteIni(c.ini);
        fake.properties.clear();
        AdvancePage page;
        page.ApplyAllEffects();
        EXPECT_EQ(page.State().on, c.on) << c.ini;
        EXPECT_EQ(TakeTrace(), EffectSets(c.on[0], c.on[1], c.on[2], c.on[3])) << c.ini;
    }
}

TEST_F(PageModelTest, AdvanceClickInvertsTheFileAndSendsAllFourWhateverTheWriteGave) {
    WriteIni("[Ad]\nVoiceClarity=2\n");
    AdvancePage page;
    page.ApplyAllEffects();
    fake.properties.clear();
    page.OnPress(kLampRects, {kLampRects[2].right - 1, kLampRects[2].bottom - 1});  // held "2"
    EXPECT_EQ(Key("Ad", "VoiceClarity"), "1");
    EXPECT_EQ(TakeTrace(), EffectSets(0, 0, 1, 0));
    // beside a lamp (its right edge, the gap between lamps): nothing
    page.OnPress(kLampRects, {kLampRects[0].right, kLampRects[0].top});
    page.OnPress(kLampRects, {200, 170});
    EXPECT_TRUE(fake.properties.empty());

    // a refused write leaves lamp, file and card agreeing on the old state
    settings_->refuseWrites = true;
    page.ToggleEffect(2);
    EXPECT_EQ(page.State().on, (std::array<bool, 4>{false, false, true, false}));
    EXPECT_EQ(TakeTrace(), EffectSets(0, 0, 1, 0));
}

// --- headphone page ------------------------------------------------------------------------------

const HeadphoneHitAreas kHpAreas{{57, 58, 106, 82}, {538, 121, 570, 173}};
const Point kOnSurround{70, 70};
const Point kOnImpedance{550, 140};

class HeadphoneTest : public PageModelTest {
  protected:
    // A healthy card: every start-up get succeeds; the amplifier gives 600 and 32.
    void HealthyCard() {
        for (const char16_t* p :
             {kSurroundProperty, kSurroundUseHpProperty, kSurroundRoomSizeProperty})
            fake.Answer8(p, "0");
        fake.Answer16(kAmplifierProperty, u"0");
        Amplifier(1, FakeConfLib::Text16(u"600"));
        Amplifier(2, FakeConfLib::Text16(u"32"));
    }
    void Amplifier(int32_t index, FakeAnswer answer) {
        fake.keyedAnswers[{kAmplifierProperty, index}] = std::move(answer);
    }
    HeadphonePage page;
};

TEST_F(HeadphoneTest, StartChecksTheSurroundPropertiesReadsTheAmplifierThenRefreshes) {
    HealthyCard();
    fake.answers.erase(kSurroundUseHpProperty);  // this one cannot be read: it is set to 0
    WriteIni("[HP]\nSurroundMax=1\nLowOrHighZ=1\n");
    page.Start(HeadphoneStart::Selected);
    EXPECT_EQ(TakeTrace(), (Calls{"get Enable_ZODOZE_HPSPK_LFX/0", "get ZODOZE_HPSPK_USEHP/0",
                                  "set ZODOZE_HPSPK_USEHP 0", "get ZODOZE_HPSPK_ROOMSIZE/0",
                                  "get HPAmplifierControl/0", "get HPAmplifierControl/0",
                                  "get HPAmplifierControl/1", "get HPAmplifierControl/2",
                                  "set Enable_ZODOZE_HPSPK_LFX 1"}));
    EXPECT_EQ(page.SettingA(), 600);
    EXPECT_EQ(page.SettingB(), 32);
    EXPECT_EQ(page.State(), (HeadphoneState{true, true}));
    EXPECT_EQ(Key("HP", "LowOrHighZ"), "1") << "the stored choice is shown, not sent";

    // a card that cannot read its amplifier gets it set to 0, and no settings are read
    HeadphonePage second;
    fake.answers.clear();
    fake.keyedAnswers.clear();
    second.Start(HeadphoneStart::Selected);
    EXPECT_EQ(TakeTrace(), (Calls{"get Enable_ZODOZE_HPSPK_LFX/0", "set Enable_ZODOZE_HPSPK_LFX 0",
                                  "get ZODOZE_HPSPK_USEHP/0", "set ZODOZE_HPSPK_USEHP 0",
                                  "get ZODOZE_HPSPK_ROOMSIZE/0", "set ZODOZE_HPSPK_ROOMSIZE 0",
                                  "get HPAmplifierControl/0", "set HPAmplifierControl 0/0",
                                  "get HPAmplifierControl/0", "set Enable_ZODOZE_HPSPK_LFX 1"}));
    EXPECT_FALSE(second.SettingA());
    EXPECT_FALSE(second.SettingB());
}

TEST_F(HeadphoneTest, StartShowsOnlyExactOnesOfTheFile) {
    struct Case {
        std::string ini;
        HeadphoneState shown;
        std::string surroundAfter;
    } cases[] = {
        {"", {false, false}, ""},
        {"[HP]\nSurroundMax=2\nLowOrHighZ=abc\n", {false, false}, "2"},
        {"[hp]\nsurroundmax= 1\nlowOrHighZ=1\n", {true, true}, "1"},
        {"[CPL]\nDigitalOutSr=0\n[HP]\nSurroundMax=1\n", {true, false}, "1"},
        // the digital output holds surround off and says so in the file
        {"[CPL]\nDigitalOutSr=1\n[HP]\nSurroundMax=1\nLowOrHighZ=1\n", {false, true}, "0"},
        {"[CPL]\nDigitalOutSr=1\n", {false, false}, "0"},
    };
    for (const Case& c : cases) {
        WriteIni(c.ini);
        fake.properties.clear();
        HeadphonePage p;
        p.Start(HeadphoneStart::Unprobed);
        EXPECT_EQ(p.State(), c.shown) << c.ini;
        EXPECT_EQ(Key("HP", "SurroundMax"), c.surroundAfter) << c.ini;
        EXPECT_EQ(TakeTrace(), (Calls{"set Enable_ZODOZE_HPSPK_LFX " +
                                      std::to_string(c.shown.surround ? 1 : 0)}))
            << "unprobed: only the surround switch reaches the card; " << c.ini;
    }
}

TEST_F(HeadphoneTest, AmplifierSettingsAreTakenOnlyFromUsableNumbers) {
    struct Case {
        const char* what;
        FakeAnswer answer;
        std::optional<int32_t> taken;
    } cases[] = {
        {"plain", FakeConfLib::Text16(u"600"), 600},
        {"blanks and sign", FakeConfLib::Text16(u"  -12ohm"), -12},
        {"failed get", FakeConfLib::Text16(u"600", 5), std::nullopt},
        {"no digits", FakeConfLib::Text16(u"high"), std::nullopt},
        {"empty", FakeConfLib::Text16(u""), std::nullopt},
        {"too large", FakeConfLib::Text16(u"99999999999"), std::nullopt},
        {"unterminated digits", FakeConfLib::Text16(u"600", 0, true), std::nullopt},
        {"unterminated, number then blanks", FakeConfLib::Text16(u"32 ", 0, true), 32},
    };
    for (const Case& c : cases) {
        HealthyCard();
        Amplifier(1, c.answer);
        HeadphonePage p;
        p.Start(HeadphoneStart::Selected);
        EXPECT_EQ(p.SettingA(), c.taken) << c.what;
        EXPECT_EQ(p.SettingB(), 32) << c.what;
    }
}

TEST_F(HeadphoneTest, ImpedanceClickSendsTheCardsSettingForTheChoiceTheFileHolds) {
    HealthyCard();
    Amplifier(2, FakeConfLib::Text16(u"low"));  // no setting B
    page.Start(HeadphoneStart::Selected);
    fake.properties.clear();
    page.OnPress(kHpAreas, kOnImpedance);  // to choice 1: the key and the lamps, no amplifier
    EXPECT_EQ(Key("HP", "LowOrHighZ"), "1");
    EXPECT_TRUE(page.State().highImpedance);
    EXPECT_EQ(TakeTrace(), (Calls{"set Enable_ZODOZE_HPSPK_LFX 0"}));

    // the file refuses the write: lamp, file and card stay on choice 1 (no setting to send)
    settings_->refuseWrites = true;
    page.ToggleImpedance();
    EXPECT_TRUE(page.State().highImpedance);
    EXPECT_EQ(TakeTrace(), (Calls{"set Enable_ZODOZE_HPSPK_LFX 0"}));
    settings_->refuseWrites = false;
    page.ToggleImpedance();  // back to choice 0: setting A
    EXPECT_EQ(TakeTrace(),
              (Calls{"set HPAmplifierControl 600/0", "set Enable_ZODOZE_HPSPK_LFX 0"}));
}

TEST_F(HeadphoneTest, AStoppedDeviceStartMakesNoCallsButThePageStillWorks) {
    HealthyCard();
    WriteIni("[CPL]\nDigitalOutSr=1\n[HP]\nSurroundMax=1\nLowOrHighZ=1\n");
    page.Start(HeadphoneStart::Stopped);
    EXPECT_EQ(page.State(), (HeadphoneState{false, true}));
    EXPECT_EQ(Key("HP", "SurroundMax"), "0") << "the hold applies without the card";
    WriteSettingText(kCplIni, "CPL", "DigitalOutSr", "0");
    page.OnPress(kHpAreas, kOnSurround);
    page.OnPress(kHpAreas, kOnImpedance);
    page.Refresh();
    EXPECT_EQ(page.State(), (HeadphoneState{true, false}));
    EXPECT_EQ(Key("HP", "SurroundMax"), "1");
    EXPECT_EQ(Key("HP", "LowOrHighZ"), "0");
    EXPECT_TRUE(fake.properties.empty());
}

}  // namespace
}  // namespace quorelle::pages
