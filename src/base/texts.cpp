#include "base/texts.h"

namespace quorelle {

namespace {

constexpr LabelText kMainTexts[] = {
    {1027, {"播放", "播放", "Play"}, "播放"},
    {1028, {"主音量", "主音量", "Master"}, "主音量"},
    {1030, {"静音", "靜音", "Mute"}, "静音"},
    {1031, {"平衡", "平衡", "Balance"}, "平衡条"},
    {1032, {"左", "左", "Left"}, "左"},
    {1033, {"右", "右", "Right"}, "右"},
    {1034, {"重置", "重置", "Reset"}, "重置"},
    {1035, {"输出", "輸出", "Output"}, "输出"},
    {1036, {"采样率设置", "採樣率設置", "Sample Rate"}, "采样率设置"},
    {1041, {"数字输出开启", "數字輸出開啟", "Digital Out Switch"}, "数字输出开启"},
    {1042, {"采样位数", "採樣位數", "Sample BitDepth"}, "采样位数设置"},
    {1046, {"主控制台", "主控制台", "Main"}, "主控制台"},
    {1047, {"HIFI设置", "HIFI設置", "Hifi Set"}, "HIFI设置"},
    {1048, {"高级", "高級", "Advance"}, "高级"},
    {1049, {"耳机", "耳機", "Headphone"}, "耳机设置"},
    {1050, {"信息", "信息", "Information"}, "信息"},
};

constexpr FixedText kMainFixed[] = {
    {1019, "44.1"}, {1020, "48"},    {1021, "88.2"},  {1022, "96"},    {1023, "176.4"},
    {1024, "192"},  {1043, "16bit"}, {1044, "24bit"}, {1045, "32bit"},
};

constexpr LabelText kAdvanceTexts[] = {
    {1200, {"动态低音", "動態低音", "Dynamic Bass"}, "动态低音"},
    {1201, {"音频修复", "音頻修復", "Audio Brilliant"}, "音频修复"},
    {1202, {"人声强化", "人聲強化", "Voice Clarity"}, "人声强化"},
    {1203, {"智能控制", "智能控制", "Adaptive Volume"}, "智能音控"},
    {1205, {"主控制台", "主控制台", "Main"}, "主控制台"},
    {1207, {"HIFI设置", "HIFI設置", "Hifi Set"}, "HIFI设置"},
    {1214, {"高级", "高級", "Advance"}, "高级"},
    {1212, {"耳机", "耳機", "Headphone"}, "耳机设置"},
    {1210, {"信息", "信息", "Information"}, "信息"},
};

constexpr LabelText kHeadphoneTexts[] = {
    {1191, {"耳机高低阻抗", "耳機高低阻抗", "Impendance"}, "耳机高低阻抗"},
    {1190, {"环绕特效", "環繞特效", "Surround"}, "虚拟多声道"},
    {1180, {"主控制台", "主控制台", "Main"}, "主控制台"},
    {1182, {"HIFI设置", "HIFI設置", "Hifi Set"}, "HIFI设置"},
    {1185, {"高级", "高級", "Advance"}, "高级"},
    {1186, {"耳机", "耳機", "Headphone"}, "耳机设置"},
    {1189, {"信息", "信息", "Information"}, "信息"},
};

constexpr LabelText kInfoTexts[] = {
    {1061, {"操作系统版本", "操作系統版本", "OS Version"}, "操作系统版本"},
    {1062, {"驱动版本", "驅動版本", "Driver Version"}, "驱动版本"},
    {1063, {"控制面板版本", "控制麵板版本", "CPL Version"}, "控制面板版本"},
    {1064, {"DirectX版本", "DirectX版本", "DirectX Version"}, "DirectX版本"},
    {1052, {"主控制台", "主控制台", "Main"}, "主控制台"},
    {1072, {"HIFI设置", "HIFI設置", "Hifi Set"}, "HIFI设置"},
    {1055, {"高级", "高級", "Advance"}, "高级"},
    {1057, {"耳机", "耳機", "Headphone"}, "耳机设置"},
    {1059, {"信息", "信息", "Information"}, "信息"},
};

constexpr FixedText kInfoFixed[] = {
    {1068, kInfoDirectXVersion},
    {1069, kInfoTitle},
    {1070, kInfoCopyright},
    {1071, kInfoWebAddress},
};

constexpr LabelText kHifiTexts[] = {
    {1125, {"HIFI直通", "HIFI直通", "Dry Sound"}, "Hifiswitch"},
    {1126, {"HIFI风格", "HIFI風格", "Region Style"}, "静态"},
    {1127, {"特效EQ", "特效EQ", "EQ Preset"}, "静态"},
    {1128, {"均衡器", "均衡器", "Equalizer"}, "静态"},
    {1129, {"自定义均衡器", "自定義均衡器", "Defined EQ"}, "静态"},
    {1130, {"环境效果", "環境效果", "Environment"}, " "},
    {1131, {"高音", "高音", "Treble"}, "静态"},
    {1132, {"低音", "低音", "Bass"}, "静态"},
    {1133, {"监听风格", "監聽風格", "Pure Monitor"}, "静态"},
    {1134, {"美式风格", "美式風格", "USA Style"}, "静态"},
    {1135, {"英式风格", "英式風格", "England"}, "静态"},
    {1136, {"日式风格", "日式風格", "Japan Style"}, "静态"},
    {1137, {"德式风格", "德式風格", "Germany"}, "静态"},
    {1138, {"缺省", "缺省", "Default"}, "静态"},
    {1139, {"低音", "低音", "Bass"}, "静态"},
    {1140, {"高音", "高音", "Treble"}, "静态"},
    {1141, {"现场", "現場", "Live"}, "静态"},
    {1142, {"摇滚", "搖滾", "Rock"}, "静态"},
    {1143, {"抒情摇滚", "抒情搖滾", "Soft Rock"}, "静态"},
    {1144, {"舞曲", "舞曲", "Dance"}, "静态"},
    {1145, {"爵士", "爵士", "Jazz"}, "静态"},
    {1146, {"重金属", "重金屬", "Metal"}, "静态"},
    {1147, {"说唱乐", "說唱樂", "Rap"}, "静态"},
    {1148, {"古典乐", "古典樂", "Classic"}, "静态"},
    {1149, {"声乐", "聲樂", "Vocal"}, "静态"},
    {1215, {"房间类型", "房間類型", "Room Type"}, "静态"},
    {1150, {"客厅", "客廳", "Living Room"}, "静态"},
    {1151, {"视听室", "視聽室", "Audio Room"}, "静态"},
    {1152, {"卧室", "臥室", "Bedroom"}, "静态"},
    {1074, {"主控制台", "主控制台", "Main"}, "主控制台"},
    {1076, {"HIFI设置", "HIFI設置", "Hifi Set"}, "HIFI设置"},
    {1079, {"高级", "高級", "Advance"}, "高级"},
    {1080, {"耳机", "耳機", "Headphone"}, "耳机设置"},
    {1082, {"信息", "信息", "Information"}, "信息"},
};

constexpr FixedText kHifiFixed[] = {
    {1153, "30"}, {1154, "60"}, {1155, "120"}, {1156, "250"}, {1157, "500"},
    {1158, "1K"}, {1159, "2K"}, {1160, "4K"},  {1161, "8K"},  {1162, "16K"},
};

constexpr std::array<std::string_view, 3> Same(std::string_view text) {
    return {text, text, text};
}

constexpr ControlName kControlNames[] = {
    // main window
    {102, 1025, {"耳机", "耳機", "Headphone"}},
    {102, 1026, {"扬声器", "揚聲器", "Speaker"}},
    {102, 1029, {"耳机输出", "耳機輸出", "Headphone output"}},
    {102, 1014, Same("44.1 kHz")},
    {102, 1013, Same("48 kHz")},
    {102, 1012, Same("88.2 kHz")},
    {102, 1015, Same("96 kHz")},
    {102, 1016, Same("176.4 kHz")},
    {102, 1017, Same("192 kHz")},
    // HIFI page
    {176, 1085, {"音调", "音調", "Tone"}},
    // the tone knobs, apart from the presets of the same names
    {176, 1007, {"高音调节", "高音調節", "Treble level"}},
    {176, 1008, {"低音调节", "低音調節", "Bass level"}},
    // the room picture sets the room's size; the switch beside it is "Room Type"
    {176, 1112, {"房间大小", "房間大小", "Room Size"}},
    {176, 1163, {"均衡器重置", "均衡器重置", "Reset equalizer"}},
    {176, 1115, Same("30 Hz")},
    {176, 1116, Same("60 Hz")},
    {176, 1117, Same("120 Hz")},
    {176, 1118, Same("250 Hz")},
    {176, 1119, Same("500 Hz")},
    {176, 1120, Same("1 kHz")},
    {176, 1121, Same("2 kHz")},
    {176, 1122, Same("4 kHz")},
    {176, 1123, Same("8 kHz")},
    {176, 1124, Same("16 kHz")},
    {176, 1164, {"自定义预设", "自定義預設", "User preset"}},
    {176, 1165, {"预设名称", "預設名稱", "Preset name"}},
    {176, 1166, {"添加预设", "添加預設", "Add preset"}},
    {176, 1167, {"删除预设", "刪除預設", "Delete preset"}},
    {176, 1170, {"环境列表", "環境列表", "Environment list"}},
    {176, 1168, {"上一个环境", "上一個環境", "Previous environment"}},
    {176, 1169, {"下一个环境", "下一個環境", "Next environment"}},
    // headphone page
    {192, 1176, {"设置 B", "設置 B", "Setting B"}},
    {192, 1177, {"设置 A", "設置 A", "Setting A"}},
};

}  // namespace

std::string_view AccessibleWordText(AccessibleWord word, int language) {
    static constexpr std::array<std::string_view, 3> kWords[] = {
        {"按下", "按下", "Press"},           {"选中", "核取", "Check"},
        {"取消选中", "取消核取", "Uncheck"}, {"跳转", "跳至", "Jump"},
        {"指示灯", "指示燈", "indicator"},   {"图示", "圖示", "picture"},
    };
    const auto& texts = kWords[static_cast<size_t>(word)];
    return texts[size_t(IsLanguage(language) ? language : kLanguageSimplified)];
}

std::string NameWith(std::string_view name, AccessibleWord word, int language) {
    std::string named(name);
    if (named.empty()) return named;
    // Chinese puts the word straight after the name; English leaves a space
    if (language == kLanguageEnglish) named += ' ';
    named += AccessibleWordText(word, language);
    return named;
}

std::string ZoneNameOf(std::string_view picture, std::string_view zone, int language) {
    if (picture.empty()) return std::string(zone);
    std::string named(picture);
    named += language == kLanguageEnglish ? ": " : "：";
    named += zone;
    return named;
}

const ControlName* FindControlName(int dialogId, int controlId) {
    for (const ControlName& n : kControlNames)
        if (n.dialogId == dialogId && n.id == controlId) return &n;
    return nullptr;
}

std::span<const LabelText> LanguageTexts(int dialogId) {
    switch (dialogId) {
        case 102:
            return kMainTexts;
        case 155:
            return kInfoTexts;
        case 176:
            return kHifiTexts;
        case 192:
            return kHeadphoneTexts;
        case 196:
            return kAdvanceTexts;
        default:
            return {};
    }
}

std::span<const FixedText> FixedTexts(int dialogId) {
    switch (dialogId) {
        case 102:
            return kMainFixed;
        case 155:
            return kInfoFixed;
        case 176:
            return kHifiFixed;
        default:
            return {};
    }
}

const LabelText* FindLabelText(int dialogId, int labelId) {
    for (const LabelText& t : LanguageTexts(dialogId))
        if (t.id == labelId) return &t;
    return nullptr;
}

}  // namespace quorelle
