// The ids of the controls the program's windows bind by name: the one list of them. The layout
// table places each control under its name, and the views bind the same names.
#pragma once

#include <array>

namespace quorelle::controls::ids {

// A window's navigation column: its close button, the buttons of the five pages and the
// captions of those buttons (main, HIFI, advance, headphone, information).
struct NavigationColumnIds {
    int close;
    int main, hifi, advance, headphone, info;
    std::array<int, 5> captions;
};

// main window (dialog 102), the main console's controls
namespace main_console {
inline constexpr NavigationColumnIds kNavigation = {
    1000, 1001, 1002, 1003, 1004, 1005, {1046, 1047, 1048, 1049, 1050}};
inline constexpr int kKnob = 1007;
inline constexpr int kMute = 1008;
inline constexpr int kBalance = 1010;
inline constexpr int kReset = 1011;
inline constexpr int kRatePicture = 1018;
inline constexpr int kHeadphoneLamp = 1025;
inline constexpr int kSpeakerLamp = 1026;
inline constexpr int kOutputPicture = 1029;
inline constexpr int kDigitalOutput = 1037;
// in the order of kSampleRates: 44.1, 48, 88.2, 96, 176.4, 192 kHz
inline constexpr std::array<int, 6> kRateLamps = {1014, 1013, 1012, 1015, 1016, 1017};
inline constexpr std::array<int, 6> kRateCaptions = {1019, 1020, 1021, 1022, 1023, 1024};
// 16, 24, 32 bit
inline constexpr std::array<int, 3> kDepthLamps = {1038, 1039, 1040};
inline constexpr std::array<int, 3> kDepthCaptions = {1043, 1044, 1045};
}  // namespace main_console

// HIFI page (dialog 176)
namespace hifi {
inline constexpr NavigationColumnIds kNavigation = {
    1073, 1075, 1077, 1078, 1081, 1083, {1074, 1076, 1079, 1080, 1082}};
inline constexpr int kTreble = 1007;
inline constexpr int kBass = 1008;
inline constexpr int kMaster = 1084;
inline constexpr int kTone = 1085;
inline constexpr int kRegion = 1088;
inline constexpr int kPreset = 1090;
inline constexpr int kEqualizer = 1094;
inline constexpr int kDefinedEq = 1114;
inline constexpr std::array<int, 5> kRegionLamps = {1087, 1097, 1098, 1099, 1100};
inline constexpr std::array<int, 12> kPresetLamps = {1089, 1091, 1093, 1095, 1101, 1102,
                                                     1103, 1104, 1105, 1106, 1107, 1108};
inline constexpr std::array<int, 10> kBands = {1115, 1116, 1117, 1118, 1119,
                                               1120, 1121, 1122, 1123, 1124};
inline constexpr int kReset = 1163;
inline constexpr int kPresetList = 1164;
inline constexpr int kPresetName = 1165;
inline constexpr int kAddPreset = 1166;
inline constexpr int kDeletePreset = 1167;
inline constexpr int kRoom = 1092;
// by room size: bedroom, audio room, living room
inline constexpr std::array<int, 3> kRoomLamps = {1111, 1110, 1109};
inline constexpr int kRoomPicture = 1112;
inline constexpr int kEnvironment = 1096;
inline constexpr int kEnvironmentPanel = 1170;
inline constexpr std::array<int, 3> kEnvironmentLines = {1171, 1172, 1173};
inline constexpr int kPrevious = 1168;
inline constexpr int kNext = 1169;
// the captions that name the page's sections and choices, which the sound menu and the global
// keys' display read as well
inline constexpr int kDrySoundCaption = 1125;
inline constexpr int kEqPresetCaption = 1127;
inline constexpr int kEqualizerCaption = 1128;
inline constexpr int kEnvironmentCaption = 1130;
inline constexpr std::array<int, 5> kRegionCaptions = {1133, 1134, 1135, 1136, 1137};
inline constexpr std::array<int, 12> kPresetCaptions = {1138, 1139, 1140, 1141, 1142, 1143,
                                                        1144, 1145, 1146, 1147, 1148, 1149};
}  // namespace hifi

// advance page (dialog 196): the four effects' lamps and indicators
namespace advance {
inline constexpr NavigationColumnIds kNavigation = {
    1204, 1206, 1208, 1213, 1211, 1209, {1205, 1207, 1214, 1212, 1210}};
inline constexpr std::array<int, 4> kLamps = {1192, 1193, 1194, 1195};
inline constexpr std::array<int, 4> kIndicators = {1196, 1197, 1198, 1199};
}  // namespace advance

// headphone page (dialog 192)
namespace headphone {
inline constexpr NavigationColumnIds kNavigation = {
    1179, 1181, 1183, 1184, 1187, 1188, {1180, 1182, 1185, 1186, 1189}};
inline constexpr int kSurroundLamp = 1174;
inline constexpr int kSurroundPicture = 1175;
inline constexpr int kUpperIndicator = 1176;  // choice 1
inline constexpr int kLowerIndicator = 1177;  // choice 0
inline constexpr int kImpedanceLamp = 1178;
}  // namespace headphone

// information page (dialog 155): the labels that show the version texts and the address
namespace info {
inline constexpr NavigationColumnIds kNavigation = {
    1051, 1053, 1054, 1056, 1058, 1060, {1052, 1072, 1055, 1057, 1059}};
inline constexpr int kInfoOsLabel = 1065;
inline constexpr int kInfoDriverLabel = 1066;
inline constexpr int kInfoCplLabel = 1067;
inline constexpr int kInfoDirectXLabel = 1068;
inline constexpr int kInfoTitleLabel = 1069;
inline constexpr int kInfoCopyrightLabel = 1070;
inline constexpr int kInfoAddressLabel = 1071;
}  // namespace info

}  // namespace quorelle::controls::ids
