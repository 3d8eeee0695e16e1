// The interface texts of every window: per label the text for language 0 (Simplified Chinese),
// 1 (Traditional Chinese) and 2 (English), and the text the dialog template carries, which
// stays when no language applies. Texts are UTF-8.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace quorelle {

inline constexpr int kLanguageSimplified = 0;
inline constexpr int kLanguageTraditional = 1;
inline constexpr int kLanguageEnglish = 2;

// True for 0, 1 and 2: the languages that have texts.
constexpr bool IsLanguage(int language) {
    return language >= 0 && language <= 2;
}

struct LabelText {
    int id;
    std::array<std::string_view, 3> byLanguage;
    std::string_view templateText;
};

// Labels whose text does not depend on the language ("44.1", "16bit", the band captions...).
struct FixedText {
    int id;
    std::string_view text;
};

// The translated labels of a window's template (102, 155, 176, 192, 196); empty for others.
std::span<const LabelText> LanguageTexts(int dialogId);
// The fixed labels of a window's template.
std::span<const FixedText> FixedTexts(int dialogId);
// The translated label of a window; null when the window has no such label.
const LabelText* FindLabelText(int dialogId, int labelId);

// The names assistive tools give controls that have no caption of their own (the step buttons,
// the output and impedance choices, the equalizer's bands...), per language.
struct ControlName {
    int dialogId;
    int id;
    std::array<std::string_view, 3> byLanguage;
};
const ControlName* FindControlName(int dialogId, int controlId);
// What assistive tools call the close button of every window, per language.
inline constexpr std::array<std::string_view, 3> kCloseButtonName = {"关闭", "關閉", "Close"};

// The words assistive tools read beside the names: the default actions' names, and what tells
// an indicator or a picture apart from the control it shows the state of.
enum class AccessibleWord { Press, Check, Uncheck, Jump, Indicator, Picture };
// The word in a language (0, 1, 2; any other gives the template's language, Simplified
// Chinese, as the names do).
std::string_view AccessibleWordText(AccessibleWord word, int language);
// A name with the word that tells what it is ("Dynamic Bass indicator", "动态低音指示灯").
std::string NameWith(std::string_view name, AccessibleWord word, int language);
// The name of a zone of a picture: the picture's name and the zone's ("Sample Rate: 96 kHz").
std::string ZoneNameOf(std::string_view picture, std::string_view zone, int language);

// The notification-area menu's sub-menu of the HIFI page's sound choices, per language.
inline constexpr std::array<std::string_view, 3> kSoundMenuTitle = {"音效", "音效", "Sound"};
// Its item that starts the panel in the notification area when the user signs in.
inline constexpr std::array<std::string_view, 3> kStartWithWindowsItem = {
    "开机时启动", "開機時啟動", "Start with Windows"};

// Texts of the information page that every language shares.
inline constexpr std::string_view kInfoTitle = "Vandrexo Aurvel Audio Configuration";
inline constexpr std::string_view kInfoDirectXVersion = "11";
// The maker's copyright notice and web address: shown on the information page; a press on the
// address opens it with the system's handler.
inline constexpr std::string_view kInfoCopyright = "© 2026 Vandrexo. All rights reserved.";
inline constexpr std::string_view kInfoWebAddress = "https://www.vandrexo.example";

}  // namespace quorelle
