// The sound choices of the notification-area menu: texts in the three languages, access keys,
// which item is checked in each state of the page, and what is greyed with the master off.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "pages/sound_menu.h"

namespace quorelle::pages {
namespace {

using Kind = SoundMenuItem::Kind;

// The text as the menu draws it: access-key marks gone, "&&" an ampersand.
std::string Shown(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && ++i >= text.size()) break;
        out += text[i];
    }
    return out;
}

// A line per item: its text as drawn, then the marks "checked", "radio" and "greyed" that apply
// ("-" for a separator); a sub-menu's items follow it, indented.
void Describe(const std::vector<SoundMenuItem>& items, std::vector<std::string>& out,
              const std::string& indent = "") {
    for (const SoundMenuItem& item : items) {
        if (item.kind == Kind::Separator) {
            out.push_back(indent + "-");
            continue;
        }
        std::string line = indent + Shown(item.text);
        if (item.checked) line += " checked";
        if (item.radio) line += " radio";
        if (item.greyed) line += " greyed";
        out.push_back(line);
        Describe(item.items, out, indent + "  ");
    }
}

// The lines of the items whose line has `mark`.
std::vector<std::string> Marked(const SoundMenuItem& menu, const std::string& mark) {
    std::vector<std::string> all, out;
    Describe(menu.items, all);
    for (const std::string& line : all)
        if (line.find(" " + mark) != std::string::npos) out.push_back(line);
    return out;
}

SoundSources On() {
    SoundSources s;
    s.master = true;
    s.userPresets = {"Warm", "R&B"};
    return s;
}

TEST(SoundMenu, ListsThePagesChoicesInEachLanguage) {
    struct Case {
        int language;
        std::vector<std::string> items;
    };
    const std::vector<std::string> user = {"  Warm radio", "  R&B radio"};
    const auto items = [&](std::vector<std::string> head, std::vector<std::string> tail) {
        head.insert(head.end(), user.begin(), user.end());
        head.insert(head.end(), tail.begin(), tail.end());
        return head;
    };
    const Case cases[] = {
        {2, items({"Dry Sound checked",  "-",
                   "Default radio",      "Bass radio",
                   "Treble radio",       "Live radio",
                   "Rock radio",         "Soft Rock radio",
                   "Dance radio",        "Jazz radio",
                   "Metal radio",        "Rap radio",
                   "Classic radio",      "Vocal radio",
                   "Pure Monitor radio", "USA Style radio",
                   "England radio",      "Japan Style radio",
                   "Germany radio",      "Equalizer radio"},
                  {"-", "Environment"})},
        {0, items({"HIFI直通 checked", "-",
                   "缺省 radio",       "低音 radio",
                   "高音 radio",       "现场 radio",
                   "摇滚 radio",       "抒情摇滚 radio",
                   "舞曲 radio",       "爵士 radio",
                   "重金属 radio",     "说唱乐 radio",
                   "古典乐 radio",     "声乐 radio",
                   "监听风格 radio",   "美式风格 radio",
                   "英式风格 radio",   "日式风格 radio",
                   "德式风格 radio",   "均衡器 radio"},
                  {"-", "环境效果"})},
        {1, items({"HIFI直通 checked", "-",
                   "缺省 radio",       "低音 radio",
                   "高音 radio",       "現場 radio",
                   "搖滾 radio",       "抒情搖滾 radio",
                   "舞曲 radio",       "爵士 radio",
                   "重金屬 radio",     "說唱樂 radio",
                   "古典樂 radio",     "聲樂 radio",
                   "監聽風格 radio",   "美式風格 radio",
                   "英式風格 radio",   "日式風格 radio",
                   "德式風格 radio",   "均衡器 radio"},
                  {"-", "環境效果"})},
    };
    const char* titles[] = {"音效", "音效", "Sound"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        const SoundMenuItem menu = SoundMenu(On(), c.language);
        EXPECT_EQ(menu.kind, Kind::SubMenu);
        EXPECT_EQ(Shown(menu.text), titles[c.language]);
        std::vector<std::string> lines;
        Describe(menu.items, lines);
        EXPECT_EQ(lines, c.items);
    }
    // a language without texts gets the Simplified Chinese ones
    EXPECT_EQ(SoundMenu(On(), -1), SoundMenu(On(), 0));
    EXPECT_EQ(SoundMenu(On(), 3), SoundMenu(On(), 0));
}

TEST(SoundMenu, EachItemRunsItsOwnCommandAndHasAnAccessKeyOfItsOwn) {
    const SoundMenuItem menu = SoundMenu(On(), 2);
    EXPECT_EQ(menu.text, "&Sound");
    std::vector<int> ids;
    for (const SoundMenuItem& item : menu.items) {
        if (item.kind == Kind::Command) ids.push_back(item.command);
        for (const SoundMenuItem& user : item.items) ids.push_back(user.command);
    }
    std::vector<int> want = {kSoundDrySound};
    for (int i = 0; i < kEqPresetCount; ++i) want.push_back(kSoundFirstEqPreset + i);
    for (int i = 0; i < kRegionStyleCount; ++i) want.push_back(kSoundFirstRegion + i);
    want.push_back(kSoundEnvironment);
    want.insert(want.end() - 1, {kSoundFirstUserPreset, kSoundFirstUserPreset + 1});
    EXPECT_EQ(ids, want);
    for (int id : want) EXPECT_TRUE(IsSoundCommand(id)) << id;
    for (int id : {32774, 32775, 32780, 32782, 1084, 1, 2}) EXPECT_FALSE(IsSoundCommand(id));

    // one key per item of a level, none taken twice; an ampersand of a name stays one
    for (const auto* level : {&menu.items, &menu.items[19].items}) {
        std::set<char> keys;
        for (const SoundMenuItem& item : *level) {
            if (item.kind == Kind::Separator) continue;
            const std::string& t = item.text;
            size_t marks = 0;
            for (size_t i = 0; i + 1 < t.size(); ++i) {
                if (t[i] != '&') continue;
                if (t[i + 1] != '&') {
                    ++marks;
                    EXPECT_TRUE(keys.insert(char(std::toupper(t[i + 1]))).second) << t;
                }
                ++i;
            }
            EXPECT_EQ(marks, 1u) << t;
        }
    }
    EXPECT_EQ(menu.items[0].text, "&Dry Sound");
    EXPECT_EQ(menu.items[9].text, "Ja&zz");
    EXPECT_EQ(menu.items[19].items[1].text, "&R&&B");
    // a text with no letter or digit left keeps no key
    EXPECT_EQ(WithAccessKeys({"Ab", "ba", "爵士", "A&b"}),
              (std::vector<std::string>{"&Ab", "&ba", "爵士", "A&&b"}));
}

TEST(SoundMenu, ChecksWhatThePageShowsAndGreysWhatItWouldNotTake) {
    struct Case {
        const char* what;
        SoundSources sources;
        std::vector<std::string> checked;
        std::vector<std::string> greyed;
    };
    SoundSources preset = On(), region = On(), user = On(), userByHand = On(), off = On(),
                 none = On();
    preset.eqPreset = 7;
    preset.environment = true;
    region.region = 2;
    user.equalizer = true;
    user.userPreset = 1;
    userByHand.equalizer = true;
    off.master = false;
    none.userPresets.clear();
    const Case cases[] = {
        {"preset", preset, {"Dry Sound checked", "Jazz checked radio", "Environment checked"}, {}},
        {"region", region, {"Dry Sound checked", "England checked radio"}, {}},
        {"user preset",
         user,
         {"Dry Sound checked", "Equalizer checked radio", "  R&B checked radio"},
         {}},
        // mode 3 with bands moved by hand: the source, but no preset
        {"user bands", userByHand, {"Dry Sound checked", "Equalizer checked radio"}, {}},
        {"no presets", none, {"Dry Sound checked"}, {"Equalizer radio greyed"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const SoundMenuItem menu = SoundMenu(c.sources, 2);
        EXPECT_EQ(Marked(menu, "checked"), c.checked);
        EXPECT_EQ(Marked(menu, "greyed"), c.greyed);
    }
    // master off: every item but the master switch greyed, the user presets' too
    const SoundMenuItem menu = SoundMenu(off, 2);
    std::vector<std::string> all;
    Describe(menu.items, all);
    size_t greyed = 0;
    for (const std::string& line : all) {
        if (line == "-") continue;
        const bool isGrey = line.find(" greyed") != std::string::npos;
        EXPECT_EQ(isGrey, line.rfind("Dry Sound", 0) != 0) << line;
        greyed += isGrey;
    }
    EXPECT_EQ(greyed, 12u + 5u + 1u + 2u + 1u);
    EXPECT_TRUE(Marked(menu, "checked").empty());
}

}  // namespace
}  // namespace quorelle::pages
