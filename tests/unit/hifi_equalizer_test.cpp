// The HIFI page's equalizer against the recording fake device and real settings files.
#include "hifi_fixture.h"
#include "pages/equalizer.h"

namespace quorelle::pages {
namespace {

using quorelle::testing::HifiFixture;

class EqualizerTest : public HifiFixture {
  protected:
    HifiDevice device;
    Equalizer eq{device};
};

TEST(EqualizerTables, ToneCurveFollowsBassAndTrebleAndStaysInRange) {
    EXPECT_EQ(ToneCurve(20, 20), (BandCurve{}));
    EXPECT_EQ(ToneCurve(0, 40), (BandCurve{-20, -20, -20, -20, 0, 0, 0, 20, 20, 20}));
    EXPECT_EQ(ToneCurve(27, 13), (BandCurve{7, 7, 7, 7, 0, 0, 0, -7, -7, -7}));
    // knobs turned into their dead zone by keys still send at most 20
    EXPECT_EQ(ToneCurve(52, 52), (BandCurve{20, 20, 20, 20, 0, 0, 0, 20, 20, 20}));
    EXPECT_EQ(kRegionStyles[1], (BandCurve{7, 4, 1, 0, 0, -3, -5, -5, -1, -1}));
    EXPECT_EQ(kEqPresets[11], (BandCurve{-13, -8, 0, 6, 14, 4, -4, -7, -8, -10}));
}

TEST_F(EqualizerTest, RegionAndPresetLampsSendTheirTableRowOnlyWhileTheirSwitchIsLit) {
    Hifi({{"InitialButtonOn", "1"}, {"RegionStyle", "3"}, {"EQPreset", "4"}});
    eq.RefreshRegionStyle();
    EXPECT_EQ(Sets(), Join({{"Enable_EQ_GFX=1"}, BandSets(kRegionStyles[3])}));
    EXPECT_TRUE(eq.State().regionLamps[3].lit);
    Clear();
    eq.RefreshEqPreset();  // the preset switch is not the mode: its lamps stay dark
    EXPECT_TRUE(Sets().empty());
    EXPECT_FALSE(eq.State().preset.lit);
    for (const auto& lamp : eq.State().presetLamps) EXPECT_FALSE(lamp.lit);

    eq.ChooseEqPreset(7);  // preset switch unlit: ignored
    EXPECT_EQ(Key("EQPreset"), "4");
    eq.ChooseRegionStyle(0);  // a flat row is sent, not skipped
    EXPECT_EQ(Key("RegionStyle"), "0");
    EXPECT_EQ(Sets(), Join({{"Enable_EQ_GFX=1"}, BandSets({})}));

    // a stored index outside the table lights nothing and sends no curve
    Clear();
    Hifi({{"RegionStyle", "5"}});
    eq.RefreshRegionStyle();
    EXPECT_EQ(Sets(), (std::vector<std::string>{"Enable_EQ_GFX=1"}));
    for (const auto& lamp : eq.State().regionLamps) EXPECT_FALSE(lamp.lit);
}

TEST_F(EqualizerTest, LoadEqualizerClampsKeysBeforeNegatingThem) {
    Hifi({{"eq_0", "-2147483648"}, {"eq_1", "35"}, {"eq_2", "7"}, {"Treble", "99"}});
    // eq_3 .. eq_9 and Bass are missing: the bands read -1, the knob clamps -1 to 0
    eq.LoadEqualizer();
    EXPECT_EQ(eq.State().sliders[0], 20);
    EXPECT_EQ(eq.State().sliders[1], -20);
    EXPECT_EQ(eq.State().sliders[2], -7);
    EXPECT_EQ(eq.State().sliders[3], 1);
    EXPECT_EQ(eq.State().treble, 52);
    EXPECT_EQ(eq.State().bass, 0);
    EXPECT_TRUE(Sets().empty()) << "the equalizer switch is unlit";

    Hifi({{"InitialButtonOn", "-1"}});
    eq.ToggleEqualizerSwitch();
    EXPECT_EQ(Key("InitialButtonOn"), "3");
    EXPECT_TRUE(eq.State().definedEq.lit);
    eq.LoadEqualizer();
    EXPECT_EQ(Sets(), BandSets({-20, 20, 7, -1, -1, -1, -1, -1, -1, -1}));
    EXPECT_EQ(Key("eq_0"), "-2147483648") << "the key keeps what was stored";
}

TEST_F(EqualizerTest, KnobsAndSlidersRecordTheirKeysAndSendOnlyInTheirMode) {
    eq.SetKnobPositions(33, 5);
    eq.RecordKnobs();
    EXPECT_EQ(Key("Treble"), "33");
    EXPECT_EQ(Key("Bass"), "5");
    EXPECT_TRUE(Sets().empty());
    eq.ToggleSourceSwitch(kModeTone);
    eq.SetKnobPositions(48, 20);  // the dead zone, reached by keys
    eq.RecordKnobs();
    EXPECT_EQ(Key("Treble"), "48");
    EXPECT_EQ(Sets(), BandSets({0, 0, 0, 0, 0, 0, 0, 20, 20, 20}));

    Clear();
    eq.SetSliderPositions({-3, 0, 4, 0, 0, 0, 0, 0, 0, 20});
    eq.RecordBands();
    EXPECT_EQ(Key("eq_0"), "3");
    EXPECT_EQ(Key("eq_2"), "-4");
    EXPECT_EQ(Key("eq_9"), "-20");
    EXPECT_TRUE(Sets().empty()) << "mode 0: the sliders' curve is not live";
    eq.ToggleSourceSwitch(kModeTone);
    eq.ToggleEqualizerSwitch();
    eq.RecordBands();
    EXPECT_EQ(Sets(), BandSets({3, 0, -4, 0, 0, 0, 0, 0, 0, -20}));
}

// Read-back of the switch: features without the equalizer bit, failed and hostile answers
// change nothing; an answer other than 1 clears the mode unless the page switched it off.
TEST_F(EqualizerTest, ReadBackOfTheSwitchTakesOnlyUsableAnswers) {
    struct Case {
        const char* features;
        const char* answer;
        int32_t status;
        bool keep;
        const char* modeAfter;
    };
    const Case cases[] = {
        {"7,0,0,0,9,0,12", "1", 0, false, "1"},          {"7,0,0,0,9,0,12", "0", 0, false, "-1"},
        {"7,0,0,0,9,0,12", "0", 0, true, "1"},            // master off: the page sent the 0
        {"7,0,0,0,9,0,12", "0", 1, false, "1"},           // failed get
        {"7,0,0,0,9,0,12", "on", 0, false, "1"},          // no digits
        {"7,0,0,0,9,0,12", "4294967297", 0, false, "1"},  // too large for 32 bits
        {"3,0,0,0,9,0,12", "0", 0, false, "1"},           // no equalizer read-back bit
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.features) + " answer " + c.answer);
        fake.Answer16(u"GetSupportFeature", std::u16string(c.features, c.features + 14));
        device::SelectOutputDevice(device::OUTPUT_ANALOG);
        fake.Answer8(u"Enable_EQ_GFX", c.answer, c.status);
        Hifi({{"InitialButtonOn", "1"}, {"RegionStyle", "2"}});
        eq.SetupControls();
        Clear();
        EXPECT_FALSE(eq.ReadBackSwitch(c.keep));
        EXPECT_EQ(Gets().front(), "Enable_EQ_GFX") << "the get is always made";
        EXPECT_EQ(Key("InitialButtonOn"), c.modeAfter);
        const bool on = std::string(c.modeAfter) == "1" && std::string(c.answer) == "1";
        EXPECT_EQ(eq.State().region.lit, on);
        EXPECT_EQ(Sets().size(), on ? 11u : 0u) << "the region curve is sent again when on";
    }
    fake.Answer16(u"GetSupportFeature", u"4,0,0,0,9,0,12");
    device::SelectOutputDevice(device::OUTPUT_ANALOG);
    fake.Answer8(u"Enable_EQ_GFX", "1");
    Hifi({{"InitialButtonOn", "3"}});
    EXPECT_TRUE(eq.ReadBackSwitch(false)) << "mode 3 asks for the page-wide refresh";
}

TEST_F(EqualizerTest, ReadBackOfTheBandsStoresAllAnswersFirstThenLoadsOnce) {
    Hifi({{"InitialButtonOn", "3"}, {"eq_4", "9"}, {"eq_5", "8"}, {"eq_6", "7"}});
    for (int i = 0; i < 10; ++i) {
        const std::string name = "EQ_Slider" + std::to_string(i + 1);
        fake.Answer8(std::u16string(name.begin(), name.end()), std::to_string(i));
    }
    fake.Answer8(u"EQ_Slider5", "", 1);           // failed
    fake.Answer8(u"EQ_Slider6", "x");             // no digits
    fake.Answer8(u"EQ_Slider7", "99999999999");   // too large
    fake.Answer8(u"EQ_Slider10", "-2147483648");  // fits, clamped on the slider
    eq.ToggleEqualizerSwitch();                   // lit: the loaded curve goes to the card
    Clear();
    eq.ReadBackBands(false);
    const std::vector<std::string> gets = Gets();
    ASSERT_EQ(gets.size(), 10u);
    EXPECT_EQ(gets.back(), "EQ_Slider10");
    EXPECT_EQ(Key("eq_0"), "0");
    EXPECT_EQ(Key("eq_3"), "3");
    EXPECT_EQ(Key("eq_4"), "9") << "failed answers leave the keys";
    EXPECT_EQ(Key("eq_5"), "8");
    EXPECT_EQ(Key("eq_6"), "7");
    EXPECT_EQ(Key("eq_9"), "-20");
    // the later bands are not overwritten by an earlier load: one load, after all the gets
    EXPECT_EQ(Sets(), BandSets({0, 1, 2, 3, 9, 8, 7, 7, 8, -20}));

    // a card's band beyond -20 .. 20 is stored as the slider shows it
    const std::pair<const char*, const char*> kStored[] = {
        {"21", "20"}, {"-21", "-20"}, {"1001", "20"}, {"2147483647", "20"}, {"-7", "-7"}};
    for (const auto& [answer, stored] : kStored) {
        fake.Answer8(u"EQ_Slider1", answer);
        eq.ReadBackBands(false);
        EXPECT_EQ(Key("eq_0"), stored) << answer;
    }

    Clear();
    Hifi({{"eq_0", "5"}});
    eq.ReadBackBands(true);  // master off: the card's bands are not the user's
    EXPECT_EQ(Key("eq_0"), "5");
    EXPECT_EQ(Gets().size(), 10u);
    EXPECT_TRUE(Sets().empty());
}

}  // namespace
}  // namespace quorelle::pages
