// The layout table itself, visible to the compiler wherever it is included, so that a view can
// check at build time that the ids it binds are controls of its template (TemplateHas).
#pragma once

#include <array>
#include <span>

#include "controls/control_ids.h"
#include "controls/layout.h"
#include "controls/skin_images.h"

namespace quorelle::controls {

namespace layout_table {

using K = ControlKind;

// Image sizes the controls take when their bitmap is set.
constexpr int kCloseW = 86, kCloseH = 20;  // close button
constexpr int kNavW = 64, kNavH = 24;      // page buttons
constexpr int kLedW = 15, kLedH = 15;      // small indicator lamps
constexpr int kToggleW = 32, kToggleH = 52;
constexpr int kWideSwitchW = 49, kWideSwitchH = 24;
constexpr int kSwitchW = 38, kSwitchH = 24;
constexpr int kSquareW = 24, kSquareH = 24;
constexpr int kSmallButtonW = 24, kSmallButtonH = 23;

inline constexpr std::array kTemplates{
    TemplateInfo{kMainDialog, 483, 189, images::kMainBackground, 800, 309},
    TemplateInfo{kInfoDialog, 533, 190, images::kInfoBackground, 800, 309},
    TemplateInfo{kHifiDialog, 551, 322, images::kHifiBackground, 800, 501},
    TemplateInfo{kHpDialog, 533, 190, images::kHpBackground, 800, 309},
    TemplateInfo{kAdvanceDialog, 533, 190, images::kAdvanceBackground, 800, 309},
};

constexpr ControlPlace Lbl(int id, int x, int y, int w, int h) {
    return {id, K::Label, {x, y, w, h}};
}
constexpr ControlPlace Img(int id, K kind, int x, int y, int w, int h, int iw, int ih) {
    return {id, kind, {x, y, w, h}, iw, ih};
}
constexpr ControlPlace Close(int id, int x, int y) {
    return Img(id, K::Button, x, y, 59, 15, kCloseW, kCloseH);
}
constexpr ControlPlace Nav(int id, int x, int y) {
    return Img(id, K::Button, x, y, 59, 15, kNavW, kNavH);
}
constexpr ControlPlace Led(int id, int x, int y) {
    return Img(id, K::Lamp, x, y, 9, 9, kLedW, kLedH);
}

// Main console: 9-point template font, so its dialog units are larger than the pages'.
inline constexpr std::array kMain{
    // navigation column
    Img(1000, K::Button, 423, 8, 52, 12, kCloseW, kCloseH),
    Img(1001, K::Button, 429, 36, 39, 15, kNavW, kNavH),
    Img(1002, K::Button, 429, 64, 39, 15, kNavW, kNavH),
    Img(1003, K::Button, 429, 91, 39, 15, kNavW, kNavH),
    Img(1004, K::Button, 429, 118, 39, 15, kNavW, kNavH),
    Img(1005, K::Button, 429, 146, 39, 15, kNavW, kNavH),
    Lbl(1046, 429, 26, 48, 10),
    Lbl(1047, 429, 53, 48, 10),
    Lbl(1048, 429, 80, 48, 10),
    Lbl(1049, 429, 107, 48, 10),
    Lbl(1050, 429, 134, 48, 10),
    // playback: volume, balance, mute, reset
    Lbl(1027, 24, 30, 60, 10),
    ControlPlace{ids::main_console::kKnob, K::Knob, {49, 63, 42, 43}},
    Lbl(1028, 58, 109, 40, 10),
    Lbl(1031, 108, 64, 63, 10),
    Img(ids::main_console::kBalance, K::Slider, 108, 77, 63, 11, 0, 20),
    Lbl(1032, 108, 92, 25, 10),
    Lbl(1033, 151, 92, 20, 10),
    Img(ids::main_console::kMute, K::Lamp, 53, 125, 28, 14, kWideSwitchW, kWideSwitchH),
    Lbl(1030, 55, 141, 40, 10),
    Img(ids::main_console::kReset, K::Button, 118, 125, 50, 14, 55, 24),
    Lbl(1034, 118, 141, 40, 10),
    // output route
    Lbl(1035, 200, 30, 50, 10),
    Led(ids::main_console::kHeadphoneLamp, 204, 50),
    Img(ids::main_console::kOutputPicture, K::Lamp, 224, 69, 18, 30, kToggleW, kToggleH),
    Led(ids::main_console::kSpeakerLamp, 204, 113),
    // digital output, bit depth, sample rate
    Img(ids::main_console::kDigitalOutput, K::Lamp, 280, 33, 28, 14, kWideSwitchW, kWideSwitchH),
    Lbl(1041, 312, 36, 90, 10),
    Lbl(1042, 280, 51, 90, 10),
    Img(ids::main_console::kDepthLamps[0], K::Lamp, 279, 63, 14, 14, kSquareW, kSquareH),
    Img(ids::main_console::kDepthLamps[1], K::Lamp, 316, 63, 14, 14, kSquareW, kSquareH),
    Img(ids::main_console::kDepthLamps[2], K::Lamp, 353, 63, 14, 14, kSquareW, kSquareH),
    Lbl(ids::main_console::kDepthCaptions[0], 295, 66, 20, 9),
    Lbl(ids::main_console::kDepthCaptions[1], 332, 66, 20, 9),
    Lbl(ids::main_console::kDepthCaptions[2], 369, 66, 20, 9),
    Led(ids::main_console::kRateLamps[2], 294, 87),
    Led(ids::main_console::kRateLamps[1], 294, 105),
    Led(ids::main_console::kRateLamps[0], 294, 123),
    Led(ids::main_console::kRateLamps[3], 360, 87),
    Led(ids::main_console::kRateLamps[4], 360, 105),
    Led(ids::main_console::kRateLamps[5], 360, 123),
    Lbl(ids::main_console::kRateCaptions[2], 274, 87, 18, 9),
    Lbl(ids::main_console::kRateCaptions[1], 274, 105, 18, 9),
    Lbl(ids::main_console::kRateCaptions[0], 274, 123, 18, 9),
    Lbl(ids::main_console::kRateCaptions[3], 372, 87, 24, 9),
    Lbl(ids::main_console::kRateCaptions[4], 372, 105, 24, 9),
    Lbl(ids::main_console::kRateCaptions[5], 372, 123, 24, 9),
    Img(ids::main_console::kRatePicture, K::Picture, 316, 97, 29, 28, 51, 49),
    Lbl(1036, 305, 136, 60, 10),
};

inline constexpr std::array kInfo{
    Lbl(1061, 35, 51, 71, 19),
    Lbl(1062, 35, 77, 60, 15),
    Lbl(1063, 35, 100, 65, 15),
    Lbl(1064, 35, 126, 73, 14),
    Lbl(ids::info::kInfoOsLabel, 125, 51, 103, 13),
    Lbl(ids::info::kInfoDriverLabel, 125, 77, 105, 13),
    Lbl(ids::info::kInfoCplLabel, 125, 101, 87, 17),
    Lbl(ids::info::kInfoDirectXLabel, 125, 126, 81, 15),
    Lbl(ids::info::kInfoTitleLabel, 295, 50, 155, 30),
    Lbl(ids::info::kInfoCopyrightLabel, 294, 89, 162, 26),
    Lbl(ids::info::kInfoAddressLabel, 295, 124, 161, 35),
    Close(1051, 466, 8),
    Nav(1053, 476, 38),
    Nav(1054, 476, 64),
    Nav(1056, 476, 89),
    Nav(1058, 476, 114),
    Nav(1060, 476, 140),
    Lbl(1052, 476, 29, 50, 9),
    Lbl(1072, 476, 53, 50, 9),
    Lbl(1055, 476, 79, 50, 9),
    Lbl(1057, 476, 104, 50, 9),
    Lbl(1059, 476, 129, 50, 9),
};

inline constexpr std::array kHeadphone{
    Img(ids::headphone::kSurroundLamp, K::Lamp, 38, 36, 33, 15, kWideSwitchW, kWideSwitchH),
    Lbl(1190, 74, 39, 84, 14),
    Img(ids::headphone::kSurroundPicture, K::Picture, 51, 53, 191, 100, 286, 162),
    Lbl(1191, 299, 38, 95, 13),
    Img(ids::headphone::kUpperIndicator, K::Lamp, 311, 58, 10, 9, kLedW, kLedH),
    Img(ids::headphone::kImpedanceLamp, K::Lamp, 359, 75, 21, 32, kToggleW, kToggleH),
    Img(ids::headphone::kLowerIndicator, K::Lamp, 311, 124, 10, 9, kLedW, kLedH),
    Close(1179, 467, 8),
    Nav(1181, 473, 38),
    Nav(1183, 473, 66),
    Nav(1184, 473, 93),
    Nav(1187, 473, 120),
    Nav(1188, 473, 148),
    Lbl(1180, 473, 28, 50, 10),
    Lbl(1182, 473, 54, 50, 10),
    Lbl(1185, 473, 82, 50, 10),
    Lbl(1186, 473, 109, 50, 10),
    Lbl(1189, 473, 136, 50, 10),
};

inline constexpr std::array kAdvance{
    Lbl(1200, 60, 44, 64, 11),
    Lbl(1201, 165, 44, 64, 11),
    Lbl(1202, 281, 44, 64, 11),
    Lbl(1203, 387, 44, 85, 11),
    Img(ids::advance::kIndicators[0], K::Lamp, 69, 66, 10, 9, kLedW, kLedH),
    Img(ids::advance::kIndicators[1], K::Lamp, 176, 66, 10, 9, kLedW, kLedH),
    Img(ids::advance::kIndicators[2], K::Lamp, 290, 66, 10, 9, kLedW, kLedH),
    Img(ids::advance::kIndicators[3], K::Lamp, 397, 66, 10, 9, kLedW, kLedH),
    Img(ids::advance::kLamps[0], K::Lamp, 63, 96, 21, 32, kToggleW, kToggleH),
    Img(ids::advance::kLamps[1], K::Lamp, 170, 96, 21, 32, kToggleW, kToggleH),
    Img(ids::advance::kLamps[2], K::Lamp, 284, 96, 21, 32, kToggleW, kToggleH),
    Img(ids::advance::kLamps[3], K::Lamp, 390, 96, 21, 32, kToggleW, kToggleH),
    Close(1204, 467, 8),
    Nav(1206, 474, 36),
    Nav(1208, 474, 64),
    Nav(1213, 474, 91),
    Nav(1211, 474, 118),
    Nav(1209, 474, 146),
    Lbl(1205, 474, 26, 50, 10),
    Lbl(1207, 474, 52, 50, 10),
    Lbl(1214, 474, 80, 50, 10),
    Lbl(1212, 474, 107, 50, 10),
    Lbl(1210, 474, 134, 50, 10),
};

constexpr ControlPlace Sw(int id, int x, int y) {
    return Img(id, K::Lamp, x, y, 25, 15, kSwitchW, kSwitchH);
}
constexpr ControlPlace Sq(int id, int x, int y) {
    return Img(id, K::Lamp, x, y, 16, 15, kSquareW, kSquareH);
}
constexpr ControlPlace Band(int id, int x) {
    return Img(id, K::Slider, x, 192, 9, 59, 16, 97);
}

inline constexpr std::array kHifi{
    // navigation column
    Close(1073, 465, 8),
    Nav(1075, 474, 41),
    Nav(1077, 474, 69),
    Nav(1078, 474, 96),
    Nav(1081, 474, 123),
    Nav(1083, 474, 151),
    Lbl(1074, 474, 31, 55, 9),
    Lbl(1076, 474, 57, 57, 11),
    Lbl(1079, 474, 85, 56, 10),
    Lbl(1080, 474, 112, 60, 10),
    Lbl(1082, 474, 139, 60, 11),
    // master switch and tone
    Img(ids::hifi::kMaster, K::Lamp, 28, 35, 33, 15, kWideSwitchW, kWideSwitchH),
    Lbl(1125, 63, 37, 62, 9),
    Sw(ids::hifi::kTone, 28, 56),
    Lbl(1131, 43, 74, 37, 11),
    ControlPlace{ids::hifi::kTreble, K::Knob, {44, 86, 27, 22}},
    Lbl(1132, 43, 111, 37, 11),
    ControlPlace{ids::hifi::kBass, K::Knob, {44, 125, 24, 22}},
    // region styles
    Sw(ids::hifi::kRegion, 95, 56),
    Lbl(1126, 121, 58, 47, 11),
    Sq(ids::hifi::kRegionLamps[0], 100, 74),
    Sq(ids::hifi::kRegionLamps[1], 100, 90),
    Sq(ids::hifi::kRegionLamps[2], 100, 106),
    Sq(ids::hifi::kRegionLamps[3], 100, 122),
    Sq(ids::hifi::kRegionLamps[4], 100, 138),
    Lbl(1133, 119, 76, 60, 10),
    Lbl(1134, 119, 93, 60, 10),
    Lbl(1135, 119, 109, 60, 10),
    Lbl(1136, 119, 125, 60, 10),
    Lbl(1137, 119, 141, 60, 10),
    // EQ presets
    Sw(ids::hifi::kPreset, 186, 34),
    Lbl(1127, 213, 37, 55, 10),
    Sq(ids::hifi::kPresetLamps[0], 184, 53),
    Sq(ids::hifi::kPresetLamps[1], 184, 71),
    Sq(ids::hifi::kPresetLamps[2], 184, 89),
    Sq(ids::hifi::kPresetLamps[3], 184, 106),
    Sq(ids::hifi::kPresetLamps[4], 184, 122),
    Sq(ids::hifi::kPresetLamps[5], 184, 139),
    Sq(ids::hifi::kPresetLamps[6], 247, 53),
    Sq(ids::hifi::kPresetLamps[7], 247, 71),
    Sq(ids::hifi::kPresetLamps[8], 247, 89),
    Sq(ids::hifi::kPresetLamps[9], 247, 106),
    Sq(ids::hifi::kPresetLamps[10], 247, 122),
    Sq(ids::hifi::kPresetLamps[11], 247, 139),
    Lbl(1138, 204, 57, 42, 10),
    Lbl(1139, 204, 74, 42, 10),
    Lbl(1140, 204, 92, 42, 10),
    Lbl(1141, 204, 110, 42, 10),
    Lbl(1142, 204, 126, 42, 10),
    Lbl(1143, 204, 142, 42, 10),
    Lbl(1144, 269, 56, 50, 10),
    Lbl(1145, 269, 74, 50, 10),
    Lbl(1146, 269, 93, 50, 10),
    Lbl(1147, 269, 110, 50, 10),
    Lbl(1148, 269, 126, 50, 10),
    Lbl(1149, 269, 142, 50, 10),
    // equalizer
    Sw(ids::hifi::kEqualizer, 29, 169),
    Lbl(1128, 58, 172, 54, 11),
    Img(ids::hifi::kReset, K::Button, 163, 169, 51, 15, 55, 24),
    Band(ids::hifi::kBands[0], 36),
    Band(ids::hifi::kBands[1], 53),
    Band(ids::hifi::kBands[2], 71),
    Band(ids::hifi::kBands[3], 88),
    Band(ids::hifi::kBands[4], 105),
    Band(ids::hifi::kBands[5], 123),
    Band(ids::hifi::kBands[6], 140),
    Band(ids::hifi::kBands[7], 157),
    Band(ids::hifi::kBands[8], 174),
    Band(ids::hifi::kBands[9], 192),
    Lbl(1153, 33, 258, 17, 9),
    Lbl(1154, 50, 258, 17, 9),
    Lbl(1155, 68, 258, 17, 9),
    Lbl(1156, 85, 258, 17, 9),
    Lbl(1157, 102, 258, 17, 9),
    Lbl(1158, 120, 258, 17, 9),
    Lbl(1159, 137, 258, 17, 9),
    Lbl(1160, 154, 258, 17, 9),
    Lbl(1161, 171, 258, 17, 9),
    Lbl(1162, 189, 258, 17, 9),
    Sq(ids::hifi::kDefinedEq, 220, 193),
    Lbl(1129, 240, 195, 58, 12),
    Img(ids::hifi::kPresetList, K::Combo, 216, 220, 71, 86, 105, 19),
    Img(ids::hifi::kPresetName, K::Edit, 216, 239, 70, 13, 100, 15),
    Img(ids::hifi::kAddPreset, K::Button, 292, 219, 22, 14, kSmallButtonW, kSmallButtonH),
    Img(ids::hifi::kDeletePreset, K::Button, 292, 239, 22, 14, kSmallButtonW, kSmallButtonH),
    // room
    Sw(ids::hifi::kRoom, 333, 37),
    Lbl(1215, 363, 39, 77, 10),
    Lbl(1150, 325, 81, 50, 10),
    Lbl(1151, 325, 100, 46, 10),
    Lbl(1152, 325, 118, 50, 10),
    Img(ids::hifi::kRoomLamps[2], K::Lamp, 377, 82, 10, 9, kLedW, kLedH),
    Img(ids::hifi::kRoomLamps[1], K::Lamp, 373, 101, 10, 9, kLedW, kLedH),
    Img(ids::hifi::kRoomLamps[0], K::Lamp, 377, 118, 10, 9, kLedW, kLedH),
    Img(ids::hifi::kRoomPicture, K::Picture, 394, 91, 34, 30, 51, 49),
    // environment
    Sw(ids::hifi::kEnvironment, 330, 175),
    Lbl(1130, 356, 178, 50, 12),
    Img(ids::hifi::kEnvironmentPanel, K::Lamp, 329, 212, 99, 42, 148, 68),
    Lbl(ids::hifi::kEnvironmentLines[0], 344, 215, 84, 11),
    Lbl(ids::hifi::kEnvironmentLines[1], 346, 227, 84, 11),
    Lbl(ids::hifi::kEnvironmentLines[2], 344, 240, 84, 10),
    Img(ids::hifi::kPrevious, K::Button, 427, 215, 25, 14, kSmallButtonW, kSmallButtonH),
    Img(ids::hifi::kNext, K::Button, 427, 236, 25, 14, kSmallButtonW, kSmallButtonH),
};

// The navigation column of each page, by page index: main, HIFI, advance, info, headphone.
constexpr NavigationIds Column(int dialogId, const ids::NavigationColumnIds& c) {
    return {dialogId, c.close, c.main, c.hifi, c.advance, c.headphone, c.info, c.captions};
}
inline constexpr std::array<NavigationIds, 5> kNavigation = {{
    Column(kMainDialog, ids::main_console::kNavigation),
    Column(kHifiDialog, ids::hifi::kNavigation),
    Column(kAdvanceDialog, ids::advance::kNavigation),
    Column(kInfoDialog, ids::info::kNavigation),
    Column(kHpDialog, ids::headphone::kNavigation),
}};

}  // namespace layout_table

// Every control of a template; empty for an unknown dialog id.
constexpr std::span<const ControlPlace> TemplateTable(int dialogId) {
    switch (dialogId) {
        case kMainDialog:
            return layout_table::kMain;
        case kInfoDialog:
            return layout_table::kInfo;
        case kHifiDialog:
            return layout_table::kHifi;
        case kHpDialog:
            return layout_table::kHeadphone;
        case kAdvanceDialog:
            return layout_table::kAdvance;
        default:
            return {};
    }
}

// Whether the template holds a control of that id and kind.
constexpr bool TemplateHas(int dialogId, int controlId, ControlKind kind) {
    for (const ControlPlace& c : TemplateTable(dialogId))
        if (c.id == controlId) return c.kind == kind;
    return false;
}

// Every navigation button is a button and every caption a label of the column's template.
constexpr bool NavigationInTemplates() {
    for (const NavigationIds& n : layout_table::kNavigation) {
        for (int id : {n.close, n.main, n.hifi, n.advance, n.hp, n.info})
            if (!TemplateHas(n.dialogId, id, ControlKind::Button)) return false;
        for (int id : n.labels)
            if (!TemplateHas(n.dialogId, id, ControlKind::Label)) return false;
    }
    return true;
}
static_assert(NavigationInTemplates(), "a navigation id is not a control of its template");

}  // namespace quorelle::controls
