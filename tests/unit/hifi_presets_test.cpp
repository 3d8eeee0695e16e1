// The user equalizer presets with real CPL.ini and Custom.ini files in a temporary directory.
#include <fstream>

#include "hifi_fixture.h"
#include "pages/hifi_page.h"
#include "pages/sound_menu.h"

namespace quorelle::pages {
namespace {

using quorelle::testing::HifiFixture;
using Names = std::vector<std::string>;

class PresetsTest : public HifiFixture {
  protected:
    void SetUp() override {
        HifiFixture::SetUp();
        files_ = std::make_unique<quorelle::testing::TestSettings>(dir_);
        SetSettingsBackend(files_.get());
        Hifi({{"isDrySoundOn", "1"}, {"InitialButtonOn", "3"}, {"Customize", "0"}});
        WriteSettingText(kCplIni, "CPL", "language", "2");
        page.SetupControls();
        page.StartFromSettings();
        page.StartPresetControls();
        Clear();
    }
    // Types a name and presses "+" with the sliders at `bands`.
    std::optional<PresetWarning> Add(const std::string& name, const BandCurve& bands = {}) {
        page.equalizer().ShowBands(bands);
        page.presets().SetNameField(name);
        return page.OnAddPreset();
    }
    const UserPresetsState& P() const { return page.Presets(); }
    std::string Band(const std::string& preset, int k) const {
        return ReadSettingText(kCustomIni, preset, "eq_" + std::to_string(k));
    }
    void WriteCpl(const std::string& text) const {
        std::ofstream(dir_ / kCplIni, std::ios::binary) << text;
    }
    static PresetWarning Warn(PresetMessage m) { return PresetWarningText(m, 2); }

    std::unique_ptr<quorelle::testing::TestSettings> files_;
    HifiPage page;
};

const BandCurve kRock = {6, 3, -8, -12, -4, 3, 8, 10, 10, 7};
const BandCurve kJazz = {-8, 6, 0, 8, -8, 10, -2, 13, 8, 1};

TEST_F(PresetsTest, AddSelectAndDeleteKeepBothFilesInStep) {
    files_->replacements = 0;
    EXPECT_EQ(Add("Rock", kRock), std::nullopt);
    EXPECT_EQ(files_->replacements, 2u)
        << "the curve in one write of Custom.ini, the list in one of CPL.ini";
    EXPECT_TRUE(Sets().empty()) << "the bands in effect are the ones stored";
    EXPECT_EQ(Band("Rock", 0), "6");
    EXPECT_EQ(Band("Rock", 9), "7");
    EXPECT_EQ(Key("Custom0"), "Rock");
    EXPECT_EQ(Key("CustomCount"), "1");
    EXPECT_EQ(Key("CurrentCustom"), "Rock");
    EXPECT_EQ(Key("Customize"), "1");
    EXPECT_EQ(P().selected, 0);
    EXPECT_EQ(P().nameField, "");

    EXPECT_EQ(Add("  Rock ", kJazz), Warn(PresetMessage::NameExists));
    EXPECT_EQ(P().nameField, "") << "the name-exists message clears the field";
    EXPECT_EQ(Add("rOCK", kJazz), Warn(PresetMessage::NameExists)) << "one section in the file";
    EXPECT_EQ(Band("Rock", 0), "6");
    EXPECT_EQ(Add("  Jazz ", kJazz), std::nullopt);
    EXPECT_EQ(P().names, (Names{"Rock", "Jazz"}));
    EXPECT_EQ(Key("CurrentCustom"), "Jazz");

    page.OnPresetChosen(0);
    EXPECT_EQ(Sets(), BandSets(kRock));
    EXPECT_EQ(page.Eq().sliders[0], -6);
    EXPECT_EQ(Key("CurrentCustom"), "Rock");
    EXPECT_EQ(Key("eq_0"), "") << "choosing a preset leaves section Hifi's bands";

    Clear();
    page.OnDeletePreset();  // Rock: Jazz moves up and is applied
    EXPECT_EQ(P().names, Names{"Jazz"});
    EXPECT_EQ(Key("Custom0"), "Jazz");
    EXPECT_EQ(Key("Custom1"), "");
    EXPECT_EQ(Key("CustomCount"), "1");
    EXPECT_EQ(Sets(), BandSets(kJazz));
    EXPECT_EQ(Band("Rock", 0), "6") << "the section stays";

    // the list is read back as it was left, and the remembered preset comes back in mode 3
    HifiPage again;
    again.SetupControls();
    again.StartFromSettings();
    Clear();
    again.StartPresetControls();
    EXPECT_EQ(again.Presets().names, Names{"Jazz"});
    EXPECT_EQ(again.Presets().selected, 0);
    EXPECT_EQ(Sets(), BandSets(kJazz));

    Clear();
    page.OnDeletePreset();  // the only one: no preset shown, the sliders from section Hifi
    EXPECT_TRUE(P().names.empty());
    EXPECT_EQ(Key("Custom0"), "");
    EXPECT_EQ(Key("CustomCount"), "0");
    EXPECT_EQ(Key("Customize"), "0");
    EXPECT_EQ(Sets(), BandSets({-1, -1, -1, -1, -1, -1, -1, -1, -1, -1}));
    Clear();
    page.OnDeletePreset();  // nothing selected: nothing happens
    EXPECT_TRUE(Sets().empty());
    EXPECT_EQ(Key("CustomCount"), "0");
}

TEST_F(PresetsTest, DeletingFromTheMiddleClosesTheGap) {
    for (const char* name : {"A", "B", "C"}) Add(name);
    page.OnPresetChosen(1);
    page.OnDeletePreset();
    EXPECT_EQ(Key("Custom0"), "A");
    EXPECT_EQ(Key("Custom1"), "C");
    EXPECT_EQ(Key("Custom2"), "");
    EXPECT_EQ(Key("CustomCount"), "2");
    EXPECT_EQ(P().names, (Names{"A", "C"}));
    EXPECT_EQ(P().selected, 1);
    EXPECT_EQ(Key("CurrentCustom"), "C");
}

TEST_F(PresetsTest, DeletingFromALongListWritesTheFileOnce) {
    // where the deleted preset stands in a list of 300: the names after it move up
    const struct {
        int deleted;
        const char* key0;
        const char* key298;
    } kCases[] = {{0, "n1", "n299"}, {150, "n0", "n299"}, {299, "n0", "n298"}};
    for (const auto& c : kCases) {
        std::string text = "[CPL]\r\nlanguage=2\r\n[Hifi]\r\nCustomCount=300\r\n";
        for (int i = 0; i < 300; ++i)
            text += "Custom" + std::to_string(i) + "=n" + std::to_string(i) + "\r\n";
        WriteCpl(text);
        page.presets().LoadPresetList();
        page.presets().Select(c.deleted);
        files_->replacements = 0;
        page.OnDeletePreset();
        // the list in one write; then the last preset is shown (remembered, Customize)
        EXPECT_LE(files_->replacements, 3u) << c.deleted;
        EXPECT_EQ(Key("CustomCount"), "299");
        EXPECT_EQ(Key("Custom0"), c.key0);
        EXPECT_EQ(Key("Custom298"), c.key298);
        EXPECT_EQ(Key("Custom299"), "");
        EXPECT_EQ(P().names.size(), 299u);
        EXPECT_EQ(Key("CurrentCustom"), c.key298);
    }
}

TEST_F(PresetsTest, NamesTheFilesCannotHoldAreRefusedAndBothFilesStayByteForByte) {
    Add("Rock", kRock);
    files_->asciiOnly = true;  // a 1252 code page
    const std::string cpl = FileText(kCplIni), custom = FileText(kCustomIni);
    const std::string longName(256, 'a');
    for (const std::string& name : Names{"", "   ", "a\r\nb", "tab\there", "\"Rock2\"", "'x'", "[x",
                                         "x]", ";x", "摇滚", "Ωmega", longName}) {
        SCOPED_TRACE(name);
        // a good name the code page cannot hold is told apart from an invalid one
        const bool foreign = name == "摇滚" || name == "Ωmega";
        EXPECT_EQ(Add(name, kJazz),
                  Warn(foreign ? PresetMessage::CannotKeepName : PresetMessage::NoName));
        EXPECT_EQ(P().nameField, name) << "the field keeps what was typed";
        EXPECT_EQ(FileText(kCplIni), cpl);
        EXPECT_EQ(FileText(kCustomIni), custom);
    }
    EXPECT_EQ(P().names, Names{"Rock"});
    files_->asciiOnly = false;
    for (const std::string& name : Names{"摇滚", "a=b", "x \"y\"", std::string(255, 'b')}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(Add(name, kJazz), std::nullopt);
        EXPECT_EQ(Key("Custom" + std::to_string(P().names.size() - 1)), name);
        EXPECT_EQ(Band(name, 0), "-8");
    }
}

TEST_F(PresetsTest, ARefusedWriteShowsAMessageAndChangesNothing) {
    Add("Rock", kRock);
    const std::string cpl = FileText(kCplIni), custom = FileText(kCustomIni);
    files_->refusedFile = kCustomIni;
    EXPECT_EQ(Add("Jazz", kJazz), Warn(PresetMessage::NotSaved));
    EXPECT_EQ(P().names, Names{"Rock"});
    EXPECT_EQ(P().nameField, "Jazz");
    EXPECT_EQ(FileText(kCplIni), cpl);
    EXPECT_EQ(FileText(kCustomIni), custom);
    files_->refusedFile = kCplIni;
    EXPECT_EQ(Add("Jazz", kJazz), Warn(PresetMessage::NotSaved));
    EXPECT_EQ(P().names, Names{"Rock"});
    EXPECT_EQ(FileText(kCplIni), cpl);
}

TEST_F(PresetsTest, TheListFollowsTheStoredCountWithinLimits) {
    // gaps, a hostile count, a negative one
    WriteCpl("[CPL]\r\nlanguage=2\r\n[Hifi]\r\nCustomCount=3\r\nCustom0=A\r\nCustom2=C\r\n");
    page.presets().LoadPresetList();
    EXPECT_EQ(P().names, (Names{"A", "", "C"}));
    Clear();
    page.OnPresetChosen(1);  // a nameless entry applies nothing
    EXPECT_TRUE(Sets().empty());
    EXPECT_EQ(Key("Customize"), "");
    EXPECT_EQ(Add("D"), std::nullopt);
    EXPECT_EQ(Key("Custom3"), "D");
    EXPECT_EQ(Key("CustomCount"), "4");

    std::string text = "[CPL]\r\nlanguage=2\r\n[Hifi]\r\nCustomCount=2147483647\r\n";
    for (int i = 0; i < 1005; ++i)
        text += "Custom" + std::to_string(i) + "=n" + std::to_string(i) + "\r\n";
    WriteCpl(text);
    page.presets().LoadPresetList();
    EXPECT_EQ(P().names.size(), 1000u);
    EXPECT_EQ(Add("one more"), Warn(PresetMessage::NotSaved));

    WriteCpl("[Hifi]\r\nCustomCount=-4\r\nCustom0=ghost\r\n");
    page.presets().LoadPresetList();
    EXPECT_TRUE(P().names.empty());
    EXPECT_EQ(Add("first"), std::nullopt);
    EXPECT_EQ(Key("Custom0"), "first");
    EXPECT_EQ(Key("CustomCount"), "1");
}

TEST_F(PresetsTest, RestoringTheRememberedPresetClampsItsBands) {
    Add("B");
    std::ofstream(dir_ / kCustomIni, std::ios::binary)
        << "[B]\r\neq_0=35\r\neq_1=-2147483648\r\neq_2=4\r\n";  // eq_3 .. eq_9 missing
    Hifi({{"CurrentCustom", "b"}, {"eq_0", "2"}, {"Customize", "0"}});
    page.presets().LoadPresetList();
    Clear();
    page.presets().RestoreCurrentPreset();
    EXPECT_TRUE(Sets().empty()) << "Customize 0: the bands stay";

    Hifi({{"Customize", "1"}});
    page.presets().RestoreCurrentPreset();
    EXPECT_EQ(P().selected, 0);
    EXPECT_EQ(Sets(), BandSets({20, -20, 4, -1, -1, -1, -1, -1, -1, -1}));

    Clear();
    Hifi({{"CurrentCustom", "gone"}});
    page.presets().RestoreCurrentPreset();  // no match: nothing selected, section Hifi's bands
    EXPECT_EQ(P().selected, std::nullopt);
    EXPECT_EQ(Sets(), BandSets({2, -1, -1, -1, -1, -1, -1, -1, -1, -1}));
}

TEST_F(PresetsTest, SlidersAndResetDetachThePresetAndTheSwitchReloadsTheList) {
    Add("Rock", kRock);
    page.equalizer().SetSliderPositions({-5, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    page.OnBandsMoved();
    EXPECT_EQ(P().selected, std::nullopt);
    EXPECT_EQ(Key("Customize"), "0");
    EXPECT_EQ(Key("eq_0"), "5");

    page.OnPresetChosen(0);
    Clear();
    page.OnResetEqualizer();  // mode 3: flat on the sliders, in the keys and on the card
    EXPECT_EQ(Sets(), BandSets({}));
    EXPECT_EQ(Key("eq_0"), "0");
    EXPECT_EQ(Key("Customize"), "0");
    EXPECT_EQ(P().selected, std::nullopt);

    // the equalizer switch off, then on: the list is read again and the remembered preset comes
    // back once Customize is set
    const HifiHitAreas areas = [] {
        HifiHitAreas a;
        a.master = {0, 0, 10, 10};
        a.equalizer = {20, 20, 30, 30};
        return a;
    }();
    page.OnLeftButtonDown(areas, {25, 25});
    page.OnPresetChosen(0);  // the list is still there while the switch is off
    Clear();
    page.OnResetEqualizer();  // switch off: only the preset state goes
    EXPECT_TRUE(Sets().empty());
    EXPECT_EQ(page.Eq().sliders[0], -6);
    EXPECT_EQ(Key("Customize"), "0");
    WriteSettingText(kCplIni, "Hifi", "Custom1", "Jazz");
    WriteSettingText(kCplIni, "Hifi", "CustomCount", "2");
    Hifi({{"Customize", "1"}});
    Clear();
    page.OnLeftButtonDown(areas, {25, 25});
    EXPECT_EQ(P().names, (Names{"Rock", "Jazz"}));
    EXPECT_EQ(P().selected, 0);
    EXPECT_EQ(Sets().front(), "EQ_Slider1=6") << "Rock is applied again";
}

// A user preset shown in mode 3 stays on the sliders through master and source switches: the
// card still plays its curve (section Hifi's bands, which the start's read-back rewrote, once
// took its place when the master came back on).
TEST_F(PresetsTest, TheSlidersShowTheCardsCurveAfterMasterAndSourceSwitches) {
    Add("Warm", {5, 1, 1, 1, 1, 1, 1, 1, 1, 1});
    Hifi({{"eq_0", "15"}});
    page.OnPresetChosen(0);
    const HifiHitAreas areas = [] {
        HifiHitAreas a;
        a.master = {0, 0, 10, 10};
        a.tone = {40, 40, 50, 50};
        a.equalizer = {20, 20, 30, 30};
        return a;
    }();
    struct Step {
        const char* what;
        Point press;
    } steps[] = {{"master off", {5, 5}},         {"master on", {5, 5}},  {"tone source", {45, 45}},
                 {"equalizer source", {25, 25}}, {"master off", {5, 5}}, {"master on", {5, 5}}};
    for (const Step& step : steps) {
        page.OnLeftButtonDown(areas, step.press);
        EXPECT_EQ(page.Eq().sliders[0], -5) << step.what;
        EXPECT_EQ(P().selected, 0) << step.what;
        EXPECT_EQ(Key("Customize"), "1") << step.what;
        EXPECT_EQ(Key("eq_0"), "15") << step.what << ": the user's own curve is kept";
    }
}

// A choice in the notification-area menu acts on what the menu showed, though the page changed
// while it was open: a toggle sets the opposite of its tick, a user preset is found by its name.
TEST_F(PresetsTest, AMenuChoiceActsOnWhatTheMenuShowed) {
    Add("Warm", kRock);
    Add("Cool", kJazz);
    struct Case {
        const char* what;
        int command;
        bool shownMaster, shownEnvironment;
        bool masterNow, environmentNow;  // what the page holds when the item is chosen
        bool masterAfter, environmentAfter;
    } cases[] = {
        {"Dry Sound ticked, switched off meanwhile", kSoundDrySound, true, false, false, false,
         false, false},
        {"Dry Sound ticked, still on", kSoundDrySound, true, false, true, false, false, false},
        {"Dry Sound unticked, switched on meanwhile", kSoundDrySound, false, false, true, false,
         true, false},
        {"Environment ticked, switched off meanwhile", kSoundEnvironment, true, true, true, false,
         true, false},
        {"Environment unticked, switched on meanwhile", kSoundEnvironment, true, false, true, true,
         true, true},
        {"Environment unticked, still off", kSoundEnvironment, true, false, true, false, true,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SoundSources shown = SoundSourcesOf(page);
        shown.master = c.shownMaster;
        shown.environment = c.shownEnvironment;
        if (page.Eq().master.lit != c.masterNow) page.PressMaster();
        if (page.Rev().environment.lit != c.environmentNow) page.PressEnvironmentSwitch();
        ASSERT_TRUE(ChooseSound(page, shown, c.command));
        EXPECT_EQ(page.Eq().master.lit, c.masterAfter);
        EXPECT_EQ(Key("isDrySoundOn"), c.masterAfter ? "1" : "0");
        EXPECT_EQ(page.Rev().environment.lit, c.environmentAfter);
    }

    // the list changed while the menu was open: the name shown is applied, wherever it is now
    const SoundSources shown = SoundSourcesOf(page);  // Warm, Cool
    Hifi({{"Custom0", "Cool"}, {"Custom1", "Other"}, {"Custom2", "Warm"}, {"CustomCount", "3"}});
    page.presets().LoadPresetList();
    ASSERT_TRUE(ChooseSound(page, shown, kSoundFirstUserPreset + 0));
    EXPECT_EQ(P().selected, 2);
    EXPECT_EQ(Key("CurrentCustom"), "Warm");
    EXPECT_EQ(page.Eq().sliders[0], -kRock[0]);
    // a name no longer listed chooses nothing
    Hifi({{"CustomCount", "1"}});
    page.presets().LoadPresetList();
    Clear();
    ASSERT_TRUE(ChooseSound(page, shown, kSoundFirstUserPreset + 0));
    EXPECT_TRUE(Sets().empty());
    EXPECT_EQ(Key("CurrentCustom"), "Warm");
}

TEST(PresetMessages, EachLanguageHasItsWordingAndOthersGetSimplifiedChinese) {
    EXPECT_EQ(PresetWarningText(PresetMessage::NameExists, 1).text, "此名稱已存在.");
    EXPECT_EQ(PresetWarningText(PresetMessage::NoName, 0),
              (PresetWarning{"请指定一个有效名称.", "警告"}));
    EXPECT_EQ(PresetWarningText(PresetMessage::NoName, 7),
              PresetWarningText(PresetMessage::NoName, 0));
    EXPECT_EQ(PresetWarningText(PresetMessage::NameExists, 2),
              (PresetWarning{"This name already exists.", "Warning"}));
}

}  // namespace
}  // namespace quorelle::pages
