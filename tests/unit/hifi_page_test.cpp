// The HIFI page model: the page-wide refresh in every mode, the master switch, the dispatch of
// presses, the read-back and the start-up.
#include "hifi_fixture.h"
#include "pages/hifi_page.h"

namespace quorelle::pages {
namespace {

using quorelle::testing::HifiFixture;
using Strings = std::vector<std::string>;

// The page's lamps at 96 dpi, as dialog 176 places them.
HifiHitAreas Areas() {
    HifiHitAreas a;
    a.master = {41, 54, 90, 78};
    a.tone = {41, 87, 79, 111};
    a.region = {138, 87, 176, 111};
    for (int i = 0; i < kRegionStyleCount; ++i)
        a.regionLamps[i] = {145, 115 + 25 * i, 169, 139 + 25 * i};
    a.preset = {270, 53, 308, 77};
    for (int i = 0; i < kEqPresetCount; ++i) {
        const int x = i < 6 ? 267 : 359, y = 82 + 27 * (i % 6);
        a.presetLamps[i] = {x, y, x + 24, y + 24};
    }
    a.equalizer = {42, 263, 80, 287};
    a.room = {483, 58, 521, 82};
    a.roomPicture = {573, 141, 624, 190};
    a.environment = {479, 272, 517, 296};
    return a;
}
Point In(const Rect& r) {
    return {r.left + 2, r.top + 2};
}

class HifiPageTest : public HifiFixture {
  protected:
    HifiPage page;
    Strings Reverb(int on) { return {"Enable_RFX_GFX=" + std::to_string(on)}; }
};

TEST_F(HifiPageTest, RefreshSendsWhatTheStoredModeAsks) {
    struct Case {
        const char* mode;
        Strings sends;  // after the master's own and the reverb's
        bool tone, region, preset, equalizer;
    };
    const Case cases[] = {
        {"-1", {"Enable_EQ_GFX=0"}, false, false, false, false},
        {"7", {"Enable_EQ_GFX=0"}, false, false, false, false},  // unknown: none
        {"0",
         Join(
             {{"Enable_EQ_GFX=1", "Enable_EQ_GFX=1"}, BandSets({8, 8, 8, 8, 0, 0, 0, -5, -5, -5})}),
         true, false, false, false},
        {"1", Join({{"Enable_EQ_GFX=1", "Enable_EQ_GFX=1"}, BandSets(kRegionStyles[2])}), false,
         true, false, false},
        {"2", Join({{"Enable_EQ_GFX=1", "Enable_EQ_GFX=1"}, BandSets(kEqPresets[9])}), false, false,
         true, false},
        {"3", {"Enable_EQ_GFX=1", "Enable_EQ_GFX=1"}, false, false, false, true},
    };
    Hifi({{"isDrySoundOn", "1"},
          {"RegionStyle", "2"},
          {"EQPreset", "9"},
          {"Bass", "28"},
          {"Treble", "15"},
          {"ENVEnable", "1"}});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        Hifi({{"InitialButtonOn", c.mode}});
        Clear();
        page.RefreshFromSettings();
        // the master's enable comes first, then the region and preset refresh, the reverb,
        // then the tone and user sources
        Strings sends = Sets();
        const auto reverb = std::find(sends.begin(), sends.end(), "Enable_RFX_GFX=1");
        ASSERT_NE(reverb, sends.end());
        sends.erase(reverb);
        EXPECT_EQ(sends, c.sends);
        EXPECT_TRUE(page.Eq().master.lit);
        EXPECT_EQ(page.Eq().tone.lit, c.tone);
        EXPECT_EQ(page.Eq().region.lit, c.region);
        EXPECT_EQ(page.Eq().preset.lit, c.preset);
        EXPECT_EQ(page.Eq().equalizer.lit, c.equalizer);
        EXPECT_EQ(page.Eq().definedEq.lit, c.equalizer);
    }
}

TEST_F(HifiPageTest, MasterOffSwitchesEveryEffectOffAndOnBringsTheModeBack) {
    Hifi({{"isDrySoundOn", "1"},
          {"InitialButtonOn", "1"},
          {"RegionStyle", "1"},
          {"RoomEnable", "1"},
          {"RoomSize", "0"},
          {"ENVEnable", "1"}});
    page.RefreshFromSettings();
    Clear();
    EXPECT_FALSE(page.OnLeftButtonDown(Areas(), In(Areas().master)));
    EXPECT_EQ(Key("isDrySoundOn"), "0");
    EXPECT_EQ(Sets(), (Strings{"Enable_EQ_GFX=0", "Enable_RFX_GFX=0"}));
    EXPECT_FALSE(page.Eq().region.lit || page.Eq().regionLamps[1].lit || page.Rev().room.lit ||
                 page.Rev().environment.lit || page.Rev().roomLamps[0].lit);
    EXPECT_EQ(Key("InitialButtonOn"), "1") << "the mode keeps its value";

    // every other press now moves the window and changes nothing
    for (Rect r : {Areas().region, Areas().regionLamps[3], Areas().equalizer, Areas().room,
                   Areas().roomPicture, Areas().environment}) {
        EXPECT_TRUE(page.OnLeftButtonDown(Areas(), In(r)));
    }
    EXPECT_EQ(Key("RegionStyle"), "1");
    EXPECT_EQ(Key("ENVEnable"), "1");

    Clear();
    EXPECT_FALSE(page.OnLeftButtonDown(Areas(), In(Areas().master)));
    EXPECT_EQ(Key("isDrySoundOn"), "1");
    EXPECT_EQ(Sets(), Join({{"Enable_EQ_GFX=1", "Enable_EQ_GFX=1"},
                            BandSets(kRegionStyles[1]),
                            {"Enable_RFX_GFX=1"}}));
    EXPECT_TRUE(page.Eq().regionLamps[1].lit && page.Rev().roomLamps[0].lit);
}

TEST_F(HifiPageTest, TheDigitalOutputKeepsTheMasterOffAndTheClickMovesTheWindow) {
    WriteSettingText(kCplIni, "CPL", "DigitalOutSr", "1");
    Hifi({{"isDrySoundOn", "0"}});
    EXPECT_TRUE(page.OnLeftButtonDown(Areas(), In(Areas().master)));
    EXPECT_EQ(Key("isDrySoundOn"), "0");
    EXPECT_FALSE(page.Eq().master.lit);
    EXPECT_EQ(Sets(), (Strings{"Enable_EQ_GFX=0", "Enable_RFX_GFX=0"}));
}

TEST_F(HifiPageTest, PressesOnLampsNeverMoveTheWindowExceptTheEnvironmentAndALitRoomPicture) {
    Hifi({{"isDrySoundOn", "1"}, {"InitialButtonOn", "-1"}, {"RoomSize", "1"}});
    page.RefreshFromSettings();
    const HifiHitAreas a = Areas();
    // region lamp with its switch unlit: nothing happens, and no drag
    EXPECT_FALSE(page.OnLeftButtonDown(a, In(a.regionLamps[2])));
    EXPECT_EQ(Key("RegionStyle"), "");
    EXPECT_FALSE(page.OnLeftButtonDown(a, In(a.roomPicture)));  // room switch unlit
    EXPECT_EQ(Key("RoomSize"), "1");

    EXPECT_FALSE(page.OnLeftButtonDown(a, In(a.region)));
    EXPECT_FALSE(page.OnLeftButtonDown(a, In(a.regionLamps[4])));
    EXPECT_EQ(Key("RegionStyle"), "4");
    Clear();
    EXPECT_FALSE(page.OnLeftButtonDown(a, In(a.tone)));  // tone replaces region on the card
    EXPECT_EQ(Key("InitialButtonOn"), "0");
    EXPECT_FALSE(page.Eq().region.lit || page.Eq().regionLamps[4].lit);
    EXPECT_EQ(Sets().back(), "Enable_EQ_GFX=1");
    EXPECT_FALSE(page.PresetControlsEnabled());
    EXPECT_FALSE(page.OnLeftButtonDown(a, In(a.equalizer)));
    EXPECT_TRUE(page.PresetControlsEnabled());
    EXPECT_EQ(Key("InitialButtonOn"), "3");
    EXPECT_FALSE(page.OnLeftButtonDown(a, In(a.equalizer)));
    EXPECT_EQ(Key("InitialButtonOn"), "-1");
    EXPECT_TRUE(page.PresetControlsEnabled()) << "unlighting keeps the controls as they were";

    EXPECT_FALSE(page.OnLeftButtonDown(a, In(a.room)));
    Clear();
    EXPECT_TRUE(page.OnLeftButtonDown(a, {a.roomPicture.left + 5, a.roomPicture.top + 1}));
    EXPECT_EQ(Key("RoomSize"), "2");
    EXPECT_EQ(Sets(), (Strings{"RFX_ROOMSIZE=2"}));
    EXPECT_TRUE(page.OnLeftButtonDown(a, In(a.environment)));
    EXPECT_EQ(Key("ENVEnable"), "1");
    EXPECT_TRUE(page.OnLeftButtonDown(a, {5, 5}));  // the background
}

TEST_F(HifiPageTest, WithoutAMasterKeyTheLampStaysDarkButTheToneAndUserSourcesApply) {
    Hifi({{"InitialButtonOn", "0"}, {"Bass", "30"}});
    page.RefreshFromSettings();
    EXPECT_FALSE(page.Eq().master.lit);
    EXPECT_EQ(Sets(),
              Join({{"Enable_EQ_GFX=1"}, BandSets({10, 10, 10, 10, 0, 0, 0, -20, -20, -20})}));
    EXPECT_TRUE(page.OnLeftButtonDown(Areas(), In(Areas().region))) << "the master lamp is dark";
    EXPECT_FALSE(page.OnLeftButtonDown(Areas(), In(Areas().master)));
    EXPECT_EQ(Key("isDrySoundOn"), "1");
    EXPECT_TRUE(page.Eq().master.lit && page.Eq().tone.lit);
}

TEST_F(HifiPageTest, AtMostOneSourceSwitchIsLitWhateverTheMasterKeyAndTheFileAllow) {
    // master lamp lit with a master key other than 0 and 1 (another program wrote it, or the
    // file refused the click's write): each switch click leaves only the stored mode's switch lit
    const struct {
        bool refuse;
        std::vector<Rect> clicks;
        const char* mode;  // the key afterwards
        int lit;           // 0 tone, 1 region, 2 preset, 3 equalizer, -1 none
    } kCases[] = {
        {false, {Areas().region, Areas().preset}, "2", 2},
        {false, {Areas().preset, Areas().region}, "1", 1},
        {false, {Areas().region, Areas().equalizer}, "3", 3},
        {false, {Areas().preset, Areas().preset}, "-1", -1},
        {true, {Areas().preset}, "0", 0},
        {true, {Areas().region, Areas().tone}, "0", 0},
    };
    for (const auto& c : kCases) {
        auto files = std::make_unique<quorelle::testing::TestSettings>(dir_);
        SetSettingsBackend(files.get());
        Hifi({{"isDrySoundOn", "1"}, {"InitialButtonOn", "0"}});
        page.RefreshFromSettings();
        Hifi({{"isDrySoundOn", "22"}});
        files->refuseWrites = c.refuse;
        for (const Rect& r : c.clicks) page.OnLeftButtonDown(Areas(), In(r));
        EXPECT_EQ(Key("InitialButtonOn"), c.mode);
        const std::array<bool, 4> lit = {page.Eq().tone.lit, page.Eq().region.lit,
                                         page.Eq().preset.lit, page.Eq().equalizer.lit};
        for (int i = 0; i < 4; ++i) EXPECT_EQ(lit[size_t(i)], i == c.lit) << c.mode << " " << i;
        SetSettingsBackend(settings_.get());
    }
}

TEST_F(HifiPageTest, SlidersDetachTheUserPresetWhateverTheMode) {
    Hifi({{"Customize", "1"}});
    page.equalizer().SetSliderPositions({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    page.OnBandsMoved();
    EXPECT_EQ(Key("Customize"), "0");
    EXPECT_EQ(Key("eq_9"), "-10");
    EXPECT_TRUE(Sets().empty());
}

// Read-back with the equalizer on in mode 3: the switch, a page refresh, the bands, the reverb;
// with the master off nothing the user chose is overwritten.
TEST_F(HifiPageTest, ReadBackFollowsTheCardButNeverErasesChoicesThePageSwitchedOff) {
    fake.Answer8(u"Enable_EQ_GFX", "1");
    fake.Answer8(u"EQ_Slider1", "6");
    fake.Answer8(u"Enable_RFX_GFX", "0");
    fake.Answer8(u"RFX_ROOMSIZE", "2");
    Hifi({{"isDrySoundOn", "1"}, {"InitialButtonOn", "3"}, {"ENVEnable", "1"}});
    page.ReadBackFromDevice();
    EXPECT_EQ(Key("eq_0"), "6");
    EXPECT_EQ(Key("ENVEnable"), "0");
    EXPECT_EQ(Key("RoomEnable"), "0");
    EXPECT_EQ(Key("RoomSize"), "2");
    EXPECT_EQ(page.Eq().sliders[0], -6);

    fake.Answer8(u"Enable_EQ_GFX", "0");
    fake.Answer8(u"EQ_Slider1", "-3");
    for (const char* master : {"0", "1"}) {
        SCOPED_TRACE(master);
        Hifi({{"isDrySoundOn", master},
              {"InitialButtonOn", "3"},
              {"ENVEnable", "1"},
              {"RoomEnable", "1"}});
        WriteSettingText(kCplIni, "CPL", "DigitalOutSr", master[0] == '1' ? "1" : "0");
        page.ReadBackFromDevice();
        EXPECT_EQ(Key("InitialButtonOn"), "3");
        EXPECT_EQ(Key("ENVEnable"), "1");
        EXPECT_EQ(Key("RoomEnable"), "1");
        EXPECT_EQ(Key("eq_0"), "6");
    }
}

TEST_F(HifiPageTest, StartUpRebuildsFromTheFileAndSendsTheUserCurveOnce) {
    Hifi({{"isDrySoundOn", "1"},
          {"InitialButtonOn", "3"},
          {"eq_3", "4"},
          {"Treble", "30"},
          {"Customize", "0"}});  // no user preset shown
    page.SetupControls();
    page.StartFromSettings();
    page.StartPresetControls();
    Strings curve = BandSets({-1, -1, -1, 4, -1, -1, -1, -1, -1, -1});
    EXPECT_EQ(Sets(), Join({{"Enable_EQ_GFX=1", "Enable_RFX_GFX=0", "Enable_EQ_GFX=1"}, curve}));
    EXPECT_EQ(page.Eq().treble, 30);
    EXPECT_TRUE(page.PresetControlsEnabled());

    WriteSettingText(kCplIni, "CPL", "DigitalOutSr", "1");
    Hifi({{"InitialButtonOn", "2"}});
    Clear();
    page.SetupControls();
    page.StartFromSettings();
    page.StartPresetControls();
    EXPECT_EQ(Key("isDrySoundOn"), "0");
    EXPECT_EQ(Sets(), (Strings{"Enable_EQ_GFX=0", "Enable_RFX_GFX=0"}));
    EXPECT_FALSE(page.PresetControlsEnabled());
}

}  // namespace
}  // namespace quorelle::pages
