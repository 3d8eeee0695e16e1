// What assistive tools are told about each control: roles, names in the three languages, the
// keyboard order and the pictures' zones.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "base/texts.h"
#include "controls/layout.h"
#include "controls/layout_table.h"
#include "pages/accessibility.h"
#include "pages/main_console.h"
#include "pages/reverb.h"

using namespace quorelle;
using namespace quorelle::pages;
using controls::ControlKind;

namespace {

// The roles a control of each layout kind may take.
bool RoleFitsKind(ControlKind kind, AccessibleRole role) {
    switch (kind) {
        case ControlKind::Label:
            return role == AccessibleRole::StaticText || role == AccessibleRole::Link;
        case ControlKind::Lamp:
            return role == AccessibleRole::CheckButton || role == AccessibleRole::RadioButton ||
                   role == AccessibleRole::Graphic;
        case ControlKind::Picture:
            return role == AccessibleRole::Grouping || role == AccessibleRole::Graphic;
        case ControlKind::Button:
            return role == AccessibleRole::PushButton;
        case ControlKind::Knob:
            return role == AccessibleRole::Dial;
        case ControlKind::Slider:
            return role == AccessibleRole::Slider;
        case ControlKind::Combo:
            return role == AccessibleRole::ComboBox;
        case ControlKind::Edit:
            return role == AccessibleRole::Text;
    }
    return false;
}

}  // namespace

TEST(Accessibility, EveryControlOfEveryWindowHasARoleAndANameInEachLanguage) {
    for (const controls::TemplateInfo& t : controls::Templates()) {
        SCOPED_TRACE(t.dialogId);
        std::set<int> described;
        for (const AccessibleControl& c : AccessibleControls(t.dialogId)) {
            EXPECT_TRUE(described.insert(c.id).second) << c.id << " is described twice";
        }
        for (const controls::ControlPlace& place : controls::TemplateTable(t.dialogId)) {
            SCOPED_TRACE(place.id);
            const AccessibleControl* c = FindAccessibleControl(t.dialogId, place.id);
            ASSERT_NE(c, nullptr) << "no role";
            EXPECT_TRUE(RoleFitsKind(place.kind, c->role));
            described.erase(place.id);
            if (c->kind == AccessibleKind::Label) {
                EXPECT_TRUE(AccessibleName(t.dialogId, *c, kLanguageEnglish).empty());
                continue;  // named by the text it shows
            }
            for (int language : {0, 1, 2, 7}) {
                EXPECT_FALSE(AccessibleName(t.dialogId, *c, language).empty()) << language;
            }
        }
        EXPECT_TRUE(described.empty()) << "a described control is not in the template";
    }
}

TEST(Accessibility, NamesFollowTheLanguage) {
    struct Case {
        int dialog;
        int id;
        int language;
        const char* name;
    };
    const Case cases[] = {
        {176, 1084, kLanguageEnglish, "Dry Sound"},
        {176, 1084, kLanguageSimplified, "HIFI直通"},
        {176, 1084, 9, "Hifiswitch"},  // no language: the template's text, as on the screen
        {176, 1099, kLanguageEnglish, "Japan Style"},
        {176, 1099, kLanguageTraditional, "日式風格"},
        {102, 1007, kLanguageEnglish, "Master"},
        {102, 1007, kLanguageSimplified, "主音量"},
        {176, 1115, kLanguageEnglish, "30 Hz"},
        {176, 1169, kLanguageEnglish, "Next environment"},
        {176, 1169, kLanguageSimplified, "下一个环境"},
        {176, 1166, kLanguageEnglish, "Add preset"},
        {196, 1204, kLanguageEnglish, "Close"},
        {196, 1192, kLanguageSimplified, "动态低音"},
        {102, 1002, kLanguageEnglish, "Hifi Set"},
        {102, 1038, kLanguageEnglish, "16bit"},
        {102, 1013, kLanguageSimplified, "48 kHz"},
        {176, 1109, kLanguageEnglish, "Living Room"},
        // indicators and pictures say what they are; the tone knobs are not the presets
        {196, 1196, kLanguageEnglish, "Dynamic Bass indicator"},
        {196, 1196, kLanguageSimplified, "动态低音指示灯"},
        {102, 1025, kLanguageTraditional, "耳機指示燈"},
        {192, 1175, kLanguageEnglish, "Surround picture"},
        {176, 1007, kLanguageEnglish, "Treble level"},
        {176, 1093, kLanguageEnglish, "Treble"},
        {176, 1112, kLanguageSimplified, "房间大小"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dialog << "/" << c.id << "/" << c.language);
        const AccessibleControl* control = FindAccessibleControl(c.dialog, c.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(AccessibleName(c.dialog, *control, c.language), c.name);
    }
}

// A listener tells the objects of a window apart by their names alone: no two named objects of
// a window (controls and the zones of the pictures) share a name, in any language.
TEST(Accessibility, NoTwoObjectsOfAWindowShareAName) {
    for (const controls::TemplateInfo& t : controls::Templates()) {
        for (int language : {0, 1, 2}) {
            SCOPED_TRACE(testing::Message() << t.dialogId << "/" << language);
            std::map<std::string, int> named;
            const auto add = [&](const std::string& name, int id) {
                if (name.empty()) return;
                const auto [at, fresh] = named.emplace(name, id);
                EXPECT_TRUE(fresh) << '"' << name << "\" for " << id << " and " << at->second;
            };
            for (const AccessibleControl& c : AccessibleControls(t.dialogId)) {
                add(AccessibleName(t.dialogId, c, language), c.id);
                for (int zone = 0; zone < ZoneCount(t.dialogId, c.id); ++zone)
                    add(AccessibleZoneName(t.dialogId, c.id, zone, language), c.id * 100 + zone);
            }
        }
    }
    EXPECT_EQ(AccessibleZoneName(102, 1018, 3, kLanguageEnglish), "Sample Rate: 96 kHz");
    EXPECT_EQ(AccessibleZoneName(176, 1112, 0, kLanguageSimplified), "房间大小：客厅");
}

TEST(Accessibility, ActionWordsFollowTheLanguage) {
    EXPECT_EQ(AccessibleWordText(AccessibleWord::Press, kLanguageEnglish), "Press");
    EXPECT_EQ(AccessibleWordText(AccessibleWord::Press, kLanguageSimplified), "按下");
    EXPECT_EQ(AccessibleWordText(AccessibleWord::Uncheck, kLanguageTraditional), "取消核取");
    EXPECT_EQ(AccessibleWordText(AccessibleWord::Check, 9), "选中");  // the template's language
}

TEST(Accessibility, TabOrderVisitsEveryControlThatActsOnceAndNothingElse) {
    for (int dialog : {controls::kMainDialog, controls::kHifiDialog, controls::kAdvanceDialog,
                       controls::kHpDialog, controls::kInfoDialog}) {
        SCOPED_TRACE(dialog);
        std::set<int> stops(TabOrder(dialog).begin(), TabOrder(dialog).end());
        EXPECT_EQ(stops.size(), TabOrder(dialog).size()) << "a stop is visited twice";
        for (const AccessibleControl& c : AccessibleControls(dialog)) {
            const bool acts = c.kind != AccessibleKind::Label &&
                              c.kind != AccessibleKind::Indicator &&
                              c.kind != AccessibleKind::Zones && c.kind != AccessibleKind::Graphic;
            EXPECT_EQ(stops.count(c.id) == 1, acts) << c.id;
        }
    }
}

TEST(Accessibility, AZonesCentreIsChosenByThePagesOwnHitTest) {
    // odd sizes and an offset place, so that the halves and thirds round
    for (const Rect picture : {Rect{316, 97, 367, 146}, Rect{10, 20, 61, 70}, Rect{0, 0, 5, 7}}) {
        ASSERT_EQ(ZoneCount(102, 1018), kRateCount);
        for (int zone = 0; zone < kRateCount; ++zone) {
            const Point p = ZoneCentre(102, 1018, picture, zone);
            EXPECT_EQ(SampleRateZone(picture, p), zone) << zone;
            EXPECT_EQ(ZoneLamp(102, 1018, zone), controls::ids::main_console::kRateLamps[zone]);
        }
        ASSERT_EQ(ZoneCount(176, 1112), kRoomSizeCount);
        for (int zone = 0; zone < kRoomSizeCount; ++zone) {
            const Point p = ZoneCentre(176, 1112, picture, zone);
            const int32_t size = 2 - zone;  // living room at the top
            EXPECT_EQ(RoomZone(picture, p), size) << zone;
            EXPECT_EQ(ZoneLamp(176, 1112, zone), controls::ids::hifi::kRoomLamps[size_t(size)]);
        }
    }
    EXPECT_EQ(ZoneCount(192, 1175), 0);  // the surround picture takes no clicks
}

TEST(Accessibility, HifiClicksThatDoNothing) {
    struct Case {
        HifiSwitches lit;
        int id;
        bool nothing;
    };
    const HifiSwitches off{}, on{true, false, false, false}, all{true, true, true, true},
        digital{false, false, false, false, true};
    const Case cases[] = {
        {off, 1084, false},    {off, 1085, true},     {off, 1099, true},  {off, 1112, true},
        {off, 1096, true},     {off, 1007, false},    {off, 1115, false}, {off, 1169, false},
        {on, 1085, false},     {on, 1099, true},      {on, 1089, true},   {on, 1112, true},
        {on, 1110, true},      {on, 1092, false},     {on, 1096, false},  {all, 1099, false},
        {all, 1089, false},    {all, 1112, false},    {all, 1110, false}, {off, 1114, false},
        {digital, 1084, true}, {digital, 1110, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HifiClickDoesNothing(c.lit, c.id), c.nothing)
            << c.id << " master " << c.lit.master << " switches " << c.lit.region;
}
