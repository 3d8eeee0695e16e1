#include "pages/accessibility.h"

#include <algorithm>
#include <array>

#include "base/texts.h"
#include "controls/control_ids.h"
#include "controls/layout.h"
#include "pages/main_console.h"
#include "pages/reverb.h"

namespace quorelle::pages {

namespace {

using K = AccessibleKind;
using R = AccessibleRole;
namespace ids = controls::ids;

constexpr AccessibleControl Label(int id) {
    return {id, K::Label, R::StaticText};
}
constexpr AccessibleControl Button(int id, int caption = 0) {
    return {id, K::Button, R::PushButton, caption};
}
constexpr AccessibleControl Switch(int id, int caption = 0) {
    return {id, K::Press, R::CheckButton, caption};
}
constexpr AccessibleControl Choice(int id, int caption = 0) {
    return {id, K::Press, R::RadioButton, caption};
}
constexpr AccessibleControl Shows(int id, R role, int caption = 0) {
    return {id, K::Indicator, role, caption};
}
constexpr AccessibleControl ZoneLampOf(int id, int caption, int picture, int zone) {
    return {id, K::Zone, R::RadioButton, caption, picture, zone};
}
// The close button and the five page buttons, each named by its caption.
#define QUORELLE_NAVIGATION(n)                                                     \
    Button(n.close), Button(n.main, n.captions[0]), Button(n.hifi, n.captions[1]), \
        Button(n.advance, n.captions[2]), Button(n.headphone, n.captions[3]),      \
        Button(n.info, n.captions[4]), Label(n.captions[0]), Label(n.captions[1]), \
        Label(n.captions[2]), Label(n.captions[3]), Label(n.captions[4])

namespace main_ids = ids::main_console;
constexpr AccessibleControl kMain[] = {
    QUORELLE_NAVIGATION(main_ids::kNavigation),
    {main_ids::kKnob, K::Knob, R::Dial, 1028},
    {main_ids::kBalance, K::Slider, R::Slider, 1031},
    Switch(main_ids::kMute, 1030),
    Button(main_ids::kReset, 1034),
    Shows(main_ids::kHeadphoneLamp, R::RadioButton),
    Switch(main_ids::kOutputPicture),
    Shows(main_ids::kSpeakerLamp, R::RadioButton),
    Switch(main_ids::kDigitalOutput, 1041),
    Choice(main_ids::kDepthLamps[0], main_ids::kDepthCaptions[0]),
    Choice(main_ids::kDepthLamps[1], main_ids::kDepthCaptions[1]),
    Choice(main_ids::kDepthLamps[2], main_ids::kDepthCaptions[2]),
    {main_ids::kRatePicture, K::Zones, R::Grouping, 1036},
    ZoneLampOf(main_ids::kRateLamps[0], 0, main_ids::kRatePicture, 0),
    ZoneLampOf(main_ids::kRateLamps[1], 0, main_ids::kRatePicture, 1),
    ZoneLampOf(main_ids::kRateLamps[2], 0, main_ids::kRatePicture, 2),
    ZoneLampOf(main_ids::kRateLamps[3], 0, main_ids::kRatePicture, 3),
    ZoneLampOf(main_ids::kRateLamps[4], 0, main_ids::kRatePicture, 4),
    ZoneLampOf(main_ids::kRateLamps[5], 0, main_ids::kRatePicture, 5),
    Label(1027),
    Label(1028),
    Label(1030),
    Label(1031),
    Label(1032),
    Label(1033),
    Label(1034),
    Label(1035),
    Label(1036),
    Label(1041),
    Label(1042),
    Label(1019),
    Label(1020),
    Label(1021),
    Label(1022),
    Label(1023),
    Label(1024),
    Label(1043),
    Label(1044),
    Label(1045),
};

namespace hifi = ids::hifi;
constexpr AccessibleControl Band(int i) {
    return {hifi::kBands[size_t(i)], K::NegatedSlider, R::Slider};
}
constexpr AccessibleControl kHifi[] = {
    Switch(hifi::kMaster, 1125),
    Switch(hifi::kTone),
    {hifi::kTreble, K::Knob, R::Dial},
    {hifi::kBass, K::Knob, R::Dial},
    Switch(hifi::kRegion, 1126),
    Choice(hifi::kRegionLamps[0], 1133),
    Choice(hifi::kRegionLamps[1], 1134),
    Choice(hifi::kRegionLamps[2], 1135),
    Choice(hifi::kRegionLamps[3], 1136),
    Choice(hifi::kRegionLamps[4], 1137),
    Switch(hifi::kPreset, 1127),
    Choice(hifi::kPresetLamps[0], 1138),
    Choice(hifi::kPresetLamps[1], 1139),
    Choice(hifi::kPresetLamps[2], 1140),
    Choice(hifi::kPresetLamps[3], 1141),
    Choice(hifi::kPresetLamps[4], 1142),
    Choice(hifi::kPresetLamps[5], 1143),
    Choice(hifi::kPresetLamps[6], 1144),
    Choice(hifi::kPresetLamps[7], 1145),
    Choice(hifi::kPresetLamps[8], 1146),
    Choice(hifi::kPresetLamps[9], 1147),
    Choice(hifi::kPresetLamps[10], 1148),
    Choice(hifi::kPresetLamps[11], 1149),
    Switch(hifi::kEqualizer, 1128),
    Button(hifi::kReset),
    Band(0),
    Band(1),
    Band(2),
    Band(3),
    Band(4),
    Band(5),
    Band(6),
    Band(7),
    Band(8),
    Band(9),
    Shows(hifi::kDefinedEq, R::CheckButton, 1129),
    {hifi::kPresetList, K::Field, R::ComboBox},
    {hifi::kPresetName, K::Field, R::Text},
    Button(hifi::kAddPreset),
    Button(hifi::kDeletePreset),
    Switch(hifi::kRoom, 1215),
    // the room picture's zones from the top: living room, audio room, bedroom
    ZoneLampOf(hifi::kRoomLamps[kRoomLiving], 1150, hifi::kRoomPicture, 0),
    ZoneLampOf(hifi::kRoomLamps[kRoomAudio], 1151, hifi::kRoomPicture, 1),
    ZoneLampOf(hifi::kRoomLamps[kRoomBedroom], 1152, hifi::kRoomPicture, 2),
    {hifi::kRoomPicture, K::Zones, R::Grouping},
    Switch(hifi::kEnvironment, 1130),
    {hifi::kEnvironmentPanel, K::Graphic, R::Graphic},
    Label(hifi::kEnvironmentLines[0]),
    Label(hifi::kEnvironmentLines[1]),
    Label(hifi::kEnvironmentLines[2]),
    Button(hifi::kPrevious),
    Button(hifi::kNext),
    QUORELLE_NAVIGATION(hifi::kNavigation),
    Label(1125),
    Label(1126),
    Label(1127),
    Label(1128),
    Label(1129),
    Label(1130),
    Label(1131),
    Label(1132),
    Label(1133),
    Label(1134),
    Label(1135),
    Label(1136),
    Label(1137),
    Label(1138),
    Label(1139),
    Label(1140),
    Label(1141),
    Label(1142),
    Label(1143),
    Label(1144),
    Label(1145),
    Label(1146),
    Label(1147),
    Label(1148),
    Label(1149),
    Label(1150),
    Label(1151),
    Label(1152),
    Label(1153),
    Label(1154),
    Label(1155),
    Label(1156),
    Label(1157),
    Label(1158),
    Label(1159),
    Label(1160),
    Label(1161),
    Label(1162),
    Label(1215),
};

namespace adv = ids::advance;
constexpr AccessibleControl kAdvance[] = {
    Switch(adv::kLamps[0], 1200),
    Switch(adv::kLamps[1], 1201),
    Switch(adv::kLamps[2], 1202),
    Switch(adv::kLamps[3], 1203),
    Shows(adv::kIndicators[0], R::CheckButton, 1200),
    Shows(adv::kIndicators[1], R::CheckButton, 1201),
    Shows(adv::kIndicators[2], R::CheckButton, 1202),
    Shows(adv::kIndicators[3], R::CheckButton, 1203),
    Label(1200),
    Label(1201),
    Label(1202),
    Label(1203),
    QUORELLE_NAVIGATION(adv::kNavigation),
};

namespace hp = ids::headphone;
constexpr AccessibleControl kHeadphone[] = {
    Switch(hp::kSurroundLamp, 1190),
    {hp::kSurroundPicture, K::Graphic, R::Graphic, 1190},
    Switch(hp::kImpedanceLamp, 1191),
    Shows(hp::kUpperIndicator, R::RadioButton),
    Shows(hp::kLowerIndicator, R::RadioButton),
    Label(1190),
    Label(1191),
    QUORELLE_NAVIGATION(hp::kNavigation),
};

namespace info = ids::info;
constexpr AccessibleControl kInfo[] = {
    Label(1061),
    Label(1062),
    Label(1063),
    Label(1064),
    Label(info::kInfoOsLabel),
    Label(info::kInfoDriverLabel),
    Label(info::kInfoCplLabel),
    Label(info::kInfoDirectXLabel),
    Label(info::kInfoTitleLabel),
    Label(info::kInfoCopyrightLabel),
    // the address opens the maker's web site: a link named by what it shows
    {info::kInfoAddressLabel, K::Press, R::Link, info::kInfoAddressLabel},
    QUORELLE_NAVIGATION(info::kNavigation),
};
#undef QUORELLE_NAVIGATION

// Reading order of the windows' keyboard stops: the window's sections from the top left, then
// the close button and the page buttons.
constexpr int kMainTabs[] = {
    main_ids::kKnob,
    main_ids::kBalance,
    main_ids::kMute,
    main_ids::kReset,
    main_ids::kOutputPicture,
    main_ids::kDigitalOutput,
    main_ids::kDepthLamps[0],
    main_ids::kDepthLamps[1],
    main_ids::kDepthLamps[2],
    // the rates from the lowest: the lamps that stand for the rate picture's zones
    main_ids::kRateLamps[0],
    main_ids::kRateLamps[1],
    main_ids::kRateLamps[2],
    main_ids::kRateLamps[3],
    main_ids::kRateLamps[4],
    main_ids::kRateLamps[5],
    main_ids::kNavigation.close,
    main_ids::kNavigation.main,
    main_ids::kNavigation.hifi,
    main_ids::kNavigation.advance,
    main_ids::kNavigation.headphone,
    main_ids::kNavigation.info,
};
constexpr int kHifiTabs[] = {
    hifi::kMaster,
    hifi::kTone,
    hifi::kTreble,
    hifi::kBass,
    hifi::kRegion,
    hifi::kRegionLamps[0],
    hifi::kRegionLamps[1],
    hifi::kRegionLamps[2],
    hifi::kRegionLamps[3],
    hifi::kRegionLamps[4],
    hifi::kPreset,
    hifi::kPresetLamps[0],
    hifi::kPresetLamps[1],
    hifi::kPresetLamps[2],
    hifi::kPresetLamps[3],
    hifi::kPresetLamps[4],
    hifi::kPresetLamps[5],
    hifi::kPresetLamps[6],
    hifi::kPresetLamps[7],
    hifi::kPresetLamps[8],
    hifi::kPresetLamps[9],
    hifi::kPresetLamps[10],
    hifi::kPresetLamps[11],
    hifi::kEqualizer,
    hifi::kReset,
    hifi::kBands[0],
    hifi::kBands[1],
    hifi::kBands[2],
    hifi::kBands[3],
    hifi::kBands[4],
    hifi::kBands[5],
    hifi::kBands[6],
    hifi::kBands[7],
    hifi::kBands[8],
    hifi::kBands[9],
    hifi::kPresetList,
    hifi::kPresetName,
    hifi::kAddPreset,
    hifi::kDeletePreset,
    hifi::kRoom,
    hifi::kRoomLamps[kRoomLiving],
    hifi::kRoomLamps[kRoomAudio],
    hifi::kRoomLamps[kRoomBedroom],
    hifi::kEnvironment,
    hifi::kPrevious,
    hifi::kNext,
    hifi::kNavigation.close,
    hifi::kNavigation.main,
    hifi::kNavigation.hifi,
    hifi::kNavigation.advance,
    hifi::kNavigation.headphone,
    hifi::kNavigation.info,
};
constexpr int kAdvanceTabs[] = {
    adv::kLamps[0],        adv::kLamps[1],           adv::kLamps[2],
    adv::kLamps[3],        adv::kNavigation.close,   adv::kNavigation.main,
    adv::kNavigation.hifi, adv::kNavigation.advance, adv::kNavigation.headphone,
    adv::kNavigation.info};
constexpr int kHeadphoneTabs[] = {
    hp::kSurroundLamp,    hp::kImpedanceLamp,      hp::kNavigation.close,     hp::kNavigation.main,
    hp::kNavigation.hifi, hp::kNavigation.advance, hp::kNavigation.headphone, hp::kNavigation.info};
constexpr int kInfoTabs[] = {info::kInfoAddressLabel,   info::kNavigation.close,
                             info::kNavigation.main,    info::kNavigation.hifi,
                             info::kNavigation.advance, info::kNavigation.headphone,
                             info::kNavigation.info};

// Each window's controls, keyboard stops and the page button that stands for the window itself.
struct WindowTables {
    int dialogId;
    std::span<const AccessibleControl> controls;
    std::span<const int> tabs;
    int ownPageButton;
};
constexpr WindowTables kWindows[] = {
    {controls::kMainDialog, kMain, kMainTabs, main_ids::kNavigation.main},
    {controls::kHifiDialog, kHifi, kHifiTabs, hifi::kNavigation.hifi},
    {controls::kAdvanceDialog, kAdvance, kAdvanceTabs, adv::kNavigation.advance},
    {controls::kHpDialog, kHeadphone, kHeadphoneTabs, hp::kNavigation.headphone},
    {controls::kInfoDialog, kInfo, kInfoTabs, info::kNavigation.info},
};
const WindowTables* TablesOf(int dialogId) {
    for (const WindowTables& w : kWindows)
        if (w.dialogId == dialogId) return &w;
    return nullptr;
}

std::string_view InLanguage(const std::array<std::string_view, 3>& texts, int language) {
    return texts[size_t(IsLanguage(language) ? language : kLanguageSimplified)];
}

bool IsRatePicture(int dialogId, int pictureId) {
    return dialogId == controls::kMainDialog && pictureId == main_ids::kRatePicture;
}
bool IsRoomPicture(int dialogId, int pictureId) {
    return dialogId == controls::kHifiDialog && pictureId == hifi::kRoomPicture;
}

}  // namespace

std::span<const AccessibleControl> AccessibleControls(int dialogId) {
    const WindowTables* w = TablesOf(dialogId);
    return w ? w->controls : std::span<const AccessibleControl>{};
}

const AccessibleControl* FindAccessibleControl(int dialogId, int controlId) {
    for (const AccessibleControl& c : AccessibleControls(dialogId))
        if (c.id == controlId) return &c;
    return nullptr;
}

namespace {

// What the control's caption or its own entry of the names calls it.
std::string BareName(int dialogId, const AccessibleControl& control, int language) {
    if (control.caption != 0) {
        if (const LabelText* t = FindLabelText(dialogId, control.caption))
            return std::string(IsLanguage(language) ? t->byLanguage[size_t(language)]
                                                    : t->templateText);
        for (const FixedText& t : FixedTexts(dialogId))
            if (t.id == control.caption) return std::string(t.text);
    }
    if (const controls::NavigationIds* nav = controls::NavigationIdsOfDialog(dialogId);
        nav != nullptr && control.id == nav->close)
        return std::string(InLanguage(kCloseButtonName, language));
    if (const ControlName* n = FindControlName(dialogId, control.id))
        return std::string(InLanguage(n->byLanguage, language));
    return {};
}

}  // namespace

std::string AccessibleName(int dialogId, const AccessibleControl& control, int language) {
    if (control.kind == K::Label) return {};
    const std::string name = BareName(dialogId, control, language);
    // an indicator and a picture say what they are, apart from the switch they show
    if (control.kind == K::Indicator) return NameWith(name, AccessibleWord::Indicator, language);
    if (control.kind == K::Graphic) return NameWith(name, AccessibleWord::Picture, language);
    return name;
}

std::string AccessibleZoneName(int dialogId, int pictureId, int zone, int language) {
    const AccessibleControl* picture = FindAccessibleControl(dialogId, pictureId);
    const AccessibleControl* lamp =
        FindAccessibleControl(dialogId, ZoneLamp(dialogId, pictureId, zone));
    if (!picture || !lamp) return {};
    return ZoneNameOf(AccessibleName(dialogId, *picture, language),
                      AccessibleName(dialogId, *lamp, language), language);
}

int OwnPageButton(int dialogId) {
    const WindowTables* w = TablesOf(dialogId);
    return w ? w->ownPageButton : 0;
}

std::span<const int> TabOrder(int dialogId) {
    const WindowTables* w = TablesOf(dialogId);
    return w ? w->tabs : std::span<const int>{};
}

int ZoneCount(int dialogId, int pictureId) {
    if (IsRatePicture(dialogId, pictureId)) return kRateCount;
    if (IsRoomPicture(dialogId, pictureId)) return kRoomSizeCount;
    return 0;
}

int ZoneLamp(int dialogId, int pictureId, int zone) {
    for (const AccessibleControl& c : AccessibleControls(dialogId))
        if (c.kind == K::Zone && c.picture == pictureId && c.zone == zone) return c.id;
    return 0;
}

Rect ZoneRect(int dialogId, int pictureId, const Rect& picture, int zone) {
    const int32_t third = (picture.bottom - picture.top) / 3;
    auto row = [&](int r) {
        const int32_t top = picture.top + r * third;
        return std::pair{top, r == 2 ? picture.bottom : top + third};
    };
    if (IsRatePicture(dialogId, pictureId) && zone >= 0 && zone < kRateCount) {
        // the left column holds 88.2, 48, 44.1 from the top; the right 96, 176.4, 192
        const int32_t mid = picture.left + (picture.right - picture.left) / 2;
        const bool left = zone < 3;
        const auto [top, bottom] = row(left ? 2 - zone : zone - 3);
        return {left ? picture.left : mid, top, left ? mid : picture.right, bottom};
    }
    if (IsRoomPicture(dialogId, pictureId) && zone >= 0 && zone < kRoomSizeCount) {
        const auto [top, bottom] = row(zone);
        return {picture.left, top, picture.right, bottom};
    }
    return {};
}

Point ZoneCentre(int dialogId, int pictureId, const Rect& picture, int zone) {
    const Rect r = ZoneRect(dialogId, pictureId, picture, zone);
    return {r.left + (r.right - r.left) / 2, r.top + (r.bottom - r.top) / 2};
}

bool HifiClickDoesNothing(const HifiSwitches& lit, int controlId) {
    if (controlId == hifi::kMaster) return lit.digitalOutput;
    const auto in = [controlId](const auto& list) {
        return std::find(list.begin(), list.end(), controlId) != list.end();
    };
    const bool region = in(hifi::kRegionLamps);
    const bool preset = in(hifi::kPresetLamps);
    const bool room = controlId == hifi::kRoomPicture || in(hifi::kRoomLamps);
    const bool dispatched = region || preset || room || controlId == hifi::kRoom ||
                            controlId == hifi::kTone || controlId == hifi::kRegion ||
                            controlId == hifi::kPreset || controlId == hifi::kEqualizer ||
                            controlId == hifi::kEnvironment;
    if (!dispatched) return false;  // knobs, sliders, buttons and the list take their own input
    if (!lit.master) return true;
    return (region && !lit.region) || (preset && !lit.preset) || (room && !lit.room);
}

}  // namespace quorelle::pages
