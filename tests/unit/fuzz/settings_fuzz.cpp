// Generated settings files through every page model, under AddressSanitizer and UBSan.
//
//   settings_fuzz [--seed S] [--count N] [--jobs J] [--no-fork]
//
// File i of a run is made from seed S + i: a CPL.ini and a Custom.ini of random and known
// sections and keys, with huge, negative, non-numeric and empty values, binary garbage and NULs,
// very long lines, duplicate keys and sections, many sections, other encodings, and hostile
// preset counts and names. Each pair is read by the program's own settings backend from a
// directory of its own and fed through the main console, the HIFI page (equalizer, reverb, user
// presets), the advance, headphone and information pages: their start-up, a device read-back
// (from a card that answers from the same files, with hostile answers, or not at all), and a run
// of random clicks, knob and slider moves, preset additions, choices and deletions, resets,
// language changes and refreshes. Every file runs in a child process, so a crash is counted and
// named and the run goes on.
//
// Checked per file: no crash and no sanitizer report; every value sent to the card lies in the
// range its property takes; every key written lies in its range; the work is bounded (device
// calls per action, settings accesses per action); nothing leaks; afterwards both files keep every
// byte through the reader and hold what was last written to them. Prints its figures; exits
// non-zero on any failure, naming the seed to replay.
#include <sanitizer/common_interface_defs.h>
#include <sanitizer/lsan_interface.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "device/selection.h"
#include "device_fake_conflib.h"
#include "pages/advance.h"
#include "pages/device_user.h"
#include "pages/headphone.h"
#include "pages/hifi_page.h"
#include "pages/info.h"
#include "pages/main_console.h"
#include "pages/reverb.h"
#include "pages/user_presets.h"
#include "settings/ini_file.h"
#include "settings/ini_image.h"
#include "settings/settings.h"

namespace fs = std::filesystem;
using namespace quorelle;
using namespace quorelle::pages;
using device::testing::FakeAnswer;
using device::testing::FakeConfLib;
using device::testing::RecordedProperty;

namespace {

// ---- limits of the work one file may cause -----------------------------------------------------

// Device calls: the start-up of all pages, and then any one action.
constexpr size_t kStartupCallBudget = 1500;
constexpr size_t kActionCallBudget = 600;
// Settings reads and writes in one action: a preset list is read once or twice per action, two
// reads per listed preset.
constexpr size_t kActionAccessBudget = 6 * size_t(kMaxUserPresets) + 600;

// ---- random generation -------------------------------------------------------------------------

class Gen {
  public:
    explicit Gen(uint64_t seed) : rng_(seed) {}
    uint64_t U(uint64_t n) { return n == 0 ? 0 : rng_() % n; }
    bool P(int percent) { return U(100) < uint64_t(percent); }
    int64_t Between(int64_t lo, int64_t hi) { return lo + int64_t(U(uint64_t(hi - lo + 1))); }
    template <typename T>
    const T& Pick(const std::vector<T>& v) {
        return v[U(v.size())];
    }

  private:
    std::mt19937_64 rng_;
};

std::string RandomBytes(Gen& g, size_t n) {
    std::string s(n, '\0');
    for (char& c : s) c = char(g.U(256));
    return s;
}

// A value for any key: mostly plausible numbers near the ranges the program uses, often hostile.
std::string Value(Gen& g) {
    static const std::vector<std::string> kBoundaries = {
        "-1", "0",  "1",   "2",   "3",   "4",   "5",     "11",     "12",   "19",  "20", "21",
        "22", "23", "24",  "26",  "27",  "40",  "52",    "53",     "-20",  "-21", "16", "32",
        "64", "-5", "999", "100", "101", "255", "44100", "192000", "1000", "1001"};
    static const std::vector<std::string> kHuge = {"2147483647",
                                                   "2147483648",
                                                   "-2147483648",
                                                   "-2147483649",
                                                   "4294967295",
                                                   "4294967296",
                                                   "99999999999999999999",
                                                   "-99999999999999999999",
                                                   "0x7fffffff",
                                                   "0xffffffff",
                                                   "0x80000000",
                                                   "0x",
                                                   "-0x10",
                                                   "0b101",
                                                   "0o17",
                                                   "0X1F",
                                                   "1e3",
                                                   "1.5",
                                                   "+7",
                                                   "--1",
                                                   " 3 ",
                                                   "\"2\"",
                                                   "'1'",
                                                   "\"",
                                                   "1abc",
                                                   "abc",
                                                   "on",
                                                   "true",
                                                   "\t-20\t",
                                                   "０",
                                                   "١",
                                                   "=1",
                                                   "[Hifi]",
                                                   "; 1",
                                                   "\x01\x02",
                                                   "\xff\xfe"};
    switch (g.U(12)) {
        case 0:
        case 1:
        case 2:
            return std::to_string(g.Between(-30, 60));
        case 3:
        case 4:
            return g.Pick(kBoundaries);
        case 5:
        case 6:
            return g.Pick(kHuge);
        case 7:
            return "";
        case 8:
            return RandomBytes(g, g.U(40));
        case 9: {
            std::string s = std::to_string(g.Between(-20, 20));
            s.push_back('\0');
            return s + RandomBytes(g, g.U(8));
        }
        case 10:
            if (g.P(20)) return std::string(g.Between(1000, 70000), g.P(50) ? '9' : 'A');
            return std::string(g.U(1100), '7');
        default:
            return std::to_string(int32_t(g.U(1ull << 32)));
    }
}

// A preset name as it may stand in the file: plain, blanks, brackets, quotes, long, garbage.
std::string PresetName(Gen& g) {
    static const std::vector<std::string> kNames = {
        "Rock", "rock",  " Rock ", "Jazz", "A",       "B",    "C",    "",    "  ",  "[x]", "a]b",
        ";c",   "\"q\"", "'q'",    "名字", "Ünïcödé", "eq_0", "Hifi", "CPL", "a=b", "x\ty"};
    switch (g.U(6)) {
        case 0:
        case 1:
        case 2:
            return g.Pick(kNames);
        case 3:
            return "P" + std::to_string(g.U(50));
        case 4:
            return std::string(g.Between(200, 2000), char('a' + g.U(26)));
        default:
            return RandomBytes(g, g.U(20));
    }
}

struct KeyValue {
    std::string key;
    std::string value;
};
struct Section {
    std::string header;  // the whole header line, or empty for lines before the first section
    std::vector<KeyValue> keys;
};

std::vector<std::string> KnownKeys(const std::string& section) {
    if (section == "CPL") return {"HeadPhone", "DigitalOutSr", "language"};
    if (section == "HP") return {"SurroundMax", "LowOrHighZ"};
    if (section == "Ad") return {"DynamicBass", "AudioBrilliant", "VoiceClarity", "AdaptiveVolume"};
    if (section == "Info") return {"OS", "DriverVer", "CPLVer"};
    if (section == "Hifi")
        return {"isDrySoundOn", "InitialButtonOn",
                "RegionStyle",  "EQPreset",
                "eq_0",         "eq_1",
                "eq_2",         "eq_3",
                "eq_4",         "eq_5",
                "eq_6",         "eq_7",
                "eq_8",         "eq_9",
                "Treble",       "Bass",
                "Customize",    "ENVEnable",
                "Environment",  "Envdriver",
                "RoomEnable",   "RoomSize",
                "CustomCount",  "CurrentCustom"};
    return {};
}

std::string HeaderFor(Gen& g, const std::string& name) {
    switch (g.U(14)) {
        case 0:
            return "[" + std::string(name.size(), ' ') + name + " ]";
        case 1: {
            std::string lower = name;
            for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
            return "[" + lower + "]";
        }
        case 2:
            return "[" + name;  // no closing bracket: a key line
        case 3:
            return "[" + name + "]]";
        case 4:
            return "  [" + name + "] trailing";
        default:
            return "[" + name + "]";
    }
}

// The sections of a generated CPL.ini; `values` collects the first value of each known key as the
// reader sees it most often, for a card that answers from the same file.
std::vector<Section> CplSections(Gen& g, std::map<std::string, std::string>& values) {
    std::vector<Section> out;
    if (g.P(10)) out.push_back({"", {{"language", Value(g)}, {"stray", Value(g)}}});
    std::vector<std::string> names = {"CPL", "Hifi", "HP", "Ad", "Info"};
    std::shuffle(names.begin(), names.end(), std::mt19937(uint32_t(g.U(1u << 31))));
    const size_t kept = g.P(15) ? g.U(names.size() + 1) : names.size();
    for (size_t n = 0; n < kept; ++n) {
        const std::string& name = names[n];
        Section s{HeaderFor(g, name), {}};
        for (const std::string& key : KnownKeys(name)) {
            if (g.P(12)) continue;  // missing
            std::string v = Value(g);
            // the plausible value more often, so that the pages get far
            if (g.P(45)) {
                if (key == "InitialButtonOn") v = std::to_string(g.Between(-1, 3));
                if (key == "isDrySoundOn" || key == "ENVEnable" || key == "RoomEnable" ||
                    key == "Customize" || key == "HeadPhone")
                    v = std::to_string(g.Between(0, 1));
                if (key == "DigitalOutSr") v = g.P(80) ? "0" : "1";
                if (key == "language") v = std::to_string(g.Between(0, 2));
            }
            s.keys.push_back({key, v});
            if (!values.count(name + "/" + key)) values[name + "/" + key] = v;
            if (g.P(6)) s.keys.push_back({key, Value(g)});  // duplicate
        }
        if (name == "Hifi") {
            // the preset list: hostile counts and names
            static const std::vector<std::string> kCounts = {
                "0",    "1",           "2",          "3",          "5",
                "-1",   "-2147483648", "2147483647", "0x7fffffff", "999",
                "1000", "1001",        "4294967295", "abc",        ""};
            const std::string count =
                g.P(60) ? std::to_string(g.U(8)) : kCounts[g.U(kCounts.size())];
            s.keys.push_back({"CustomCount", count});
            const size_t names = g.P(97) ? g.U(10) : g.U(1200);
            for (size_t i = 0; i < names; ++i) {
                if (g.P(8)) continue;
                const std::string name = PresetName(g);
                s.keys.push_back({"Custom" + std::to_string(i), name});
                values["preset/" + std::to_string(i)] = name;
            }
            if (g.P(50))
                s.keys.push_back({"CurrentCustom", g.P(60) ? values["preset/0"] : PresetName(g)});
        }
        for (size_t r = g.U(4); r > 0; --r)
            s.keys.push_back({"key" + std::to_string(g.U(9)), Value(g)});
        if (g.P(5)) s.keys.push_back({"", Value(g)});  // "=value"
        if (g.P(5)) s.keys.push_back({"noequals" + RandomBytes(g, 3), ""});
        out.push_back(std::move(s));
        if (g.P(5)) out.push_back(out.back());  // a second section of the same name
    }
    if (g.P(3)) {  // many sections
        for (size_t i = g.Between(100, 3000); i > 0; --i)
            out.push_back({"[S" + std::to_string(g.U(100000)) + "]", {{"k", Value(g)}}});
    }
    for (size_t r = g.U(3); r > 0; --r)
        out.push_back({"[" + RandomBytes(g, g.U(12)) + "]", {{RandomBytes(g, 5), Value(g)}}});
    std::shuffle(out.begin(), out.end(), std::mt19937(uint32_t(g.U(1u << 31))));
    return out;
}

std::vector<Section> CustomSections(Gen& g, const std::map<std::string, std::string>& values) {
    std::vector<Section> out;
    for (const auto& [key, name] : values) {
        if (key.rfind("preset/", 0) != 0 || g.P(15)) continue;
        Section s{g.P(85) ? "[" + name + "]" : HeaderFor(g, name), {}};
        for (int k = 0; k < 10; ++k) {
            if (g.P(8)) continue;
            s.keys.push_back({"eq_" + std::to_string(k),
                              g.P(70) ? std::to_string(g.Between(-20, 20)) : Value(g)});
        }
        out.push_back(std::move(s));
    }
    for (size_t r = g.U(3); r > 0; --r)
        out.push_back({HeaderFor(g, PresetName(g)), {{"eq_" + std::to_string(g.U(12)), Value(g)}}});
    return out;
}

// The file's bytes: line ends of every kind, blank and comment lines, other encodings.
std::string Render(Gen& g, const std::vector<Section>& sections) {
    static const std::vector<std::string> kEnds = {"\r\n", "\n", "\r"};
    const int style = int(g.U(8));  // 0..2: one kind; otherwise CR LF, sometimes mixed
    auto end = [&]() -> std::string {
        if (style < 3) return kEnds[size_t(style)];
        return g.P(95) ? "\r\n" : g.Pick(kEnds);
    };
    std::string text;
    for (const Section& s : sections) {
        if (!s.header.empty()) text += s.header + end();
        for (const KeyValue& kv : s.keys) {
            if (g.P(3)) text += ";" + RandomBytes(g, g.U(10)) + end();
            if (g.P(2)) text += end();
            const std::string pad = g.P(10) ? std::string(g.U(4), g.P(50) ? ' ' : '\t') : "";
            text += pad + kv.key + (kv.value.empty() && g.P(50) ? "" : pad + "=" + pad) + kv.value +
                    end();
        }
    }
    if (g.P(10) && !text.empty()) text.resize(text.size() - 1);  // a last line cut short
    if (g.P(3)) text.insert(g.U(text.size() + 1), RandomBytes(g, g.U(64)));
    switch (g.U(30)) {
        case 0:
            return "\xEF\xBB\xBF" + text;
        case 1:
        case 2: {
            const bool big = g.P(30);
            std::u16string wide = Utf8ToUtf16(text);
            std::string out = big ? "\xFE\xFF" : "\xFF\xFE";
            for (char16_t c : wide) {
                const char lo = char(c & 0xFF), hi = char(c >> 8);
                out += big ? std::string{hi, lo} : std::string{lo, hi};
            }
            if (g.P(20)) out.push_back(char(g.U(256)));  // an odd last byte
            return out;
        }
        case 3:
            return RandomBytes(g, g.U(4096));  // nothing but garbage
        case 4:
            return "";
        default:
            return text;
    }
}

// ---- the card ----------------------------------------------------------------------------------

FakeAnswer Text8(const std::string& text, int32_t status = 0) {
    FakeAnswer a{status, std::vector<uint8_t>(text.begin(), text.end()), false};
    a.bytes.push_back(0);
    return a;
}

FakeAnswer HostileAnswer(Gen& g, bool wide) {
    static const std::vector<int32_t> kStatus = {0, 0, 0, 0, 1, -1, 0x7fffffff};
    const int32_t status = kStatus[g.U(kStatus.size())];
    const std::string text = g.P(50) ? Value(g) : RandomBytes(g, g.U(40));
    const bool unterminated = g.P(15);
    if (wide) return FakeConfLib::Text16(Utf8ToUtf16(text), status, unterminated);
    FakeAnswer a = Text8(text, status);
    a.fillWholeBuffer = unterminated;
    if (unterminated) a.bytes.pop_back();
    return a;
}

enum class CardMode { kFromFiles, kHostile, kSilent };

void SetUpCard(Gen& g, FakeConfLib& fake, CardMode mode,
               const std::map<std::string, std::string>& values) {
    fake.outputs = {{10, 1, 0, 1}, {11, 7, 0, 1}, {12, 4, 0, 1}};
    fake.inputs = {{20, 2, 0, 1}};
    if (g.P(5)) fake.outputs.clear();
    if (g.P(5)) fake.outputCount = uint32_t(g.P(50) ? 0xFFFFFFFFu : g.U(200));
    fake.initResult = g.P(5) ? 1 : 0;
    fake.Answer16(u"GetSupportFeature", g.P(80)
                                            ? Utf8ToUtf16(std::to_string(g.U(8)) + ",0,0,0,9,0,12")
                                            : Utf8ToUtf16(Value(g)));
    if (mode == CardMode::kSilent) return;

    auto raw = [&](const std::string& key) {
        const auto it = values.find(key);
        return it == values.end() ? std::string() : it->second;
    };
    // 8-bit answers, 16-bit answers
    const std::vector<std::pair<std::u16string, std::string>> narrow = {
        {u"Enable_EQ_GFX", raw("Hifi/isDrySoundOn")},
        {u"Enable_RFX_GFX", raw("Hifi/ENVEnable")},
        {u"RFX_ENVIRONMENT", raw("Hifi/Envdriver")},
        {u"RFX_ROOMSIZE", raw("Hifi/RoomSize")},
        {u"DevChannelNumControl", "2"},
        {u"Enable_Channel_COPY_LFX", "0"},
        {u"IsSupportFormat", "1"},
        {u"Enable_ZODOZE_HPSPK_LFX", raw("HP/SurroundMax")},
        {u"ZODOZE_HPSPK_USEHP", "0"},
        {u"ZODOZE_HPSPK_ROOMSIZE", "0"},
    };
    const std::vector<std::pair<std::u16string, std::string>> wide = {
        {u"DevSampleRateControl", g.P(70) ? "48000" : raw("CPL/language")},
        {u"DevBitDepthControl", g.P(70) ? "24" : raw("CPL/HeadPhone")},
    };
    const bool hostile = mode == CardMode::kHostile;
    for (const auto& [name, text] : narrow)
        fake.answers[name] = hostile && g.P(60) ? HostileAnswer(g, false) : Text8(text);
    for (const auto& [name, text] : wide)
        fake.answers[name] =
            hostile && g.P(60) ? HostileAnswer(g, true) : FakeConfLib::Text16(Utf8ToUtf16(text));
    for (int i = 0; i < 10; ++i) {
        const std::u16string name = u"EQ_Slider" + Utf8ToUtf16(std::to_string(i + 1));
        fake.answers[name] = hostile && g.P(60) ? HostileAnswer(g, false)
                                                : Text8(raw("Hifi/eq_" + std::to_string(i)));
    }
    const std::vector<std::string> routes = {"0", "3", std::to_string(g.U(1u << 31))};
    for (int32_t selector = 0; selector < 3; ++selector)
        fake.keyedAnswers[{u"DeviceSpecificControl", selector}] =
            hostile && g.P(60) ? HostileAnswer(g, false) : Text8(routes[size_t(selector)]);
    const std::vector<std::string> amplifier = {"0", "600", "32"};
    for (int32_t index = 0; index < 3; ++index)
        fake.keyedAnswers[{u"HPAmplifierControl", index}] =
            hostile && g.P(60) ? HostileAnswer(g, true)
                               : FakeConfLib::Text16(Utf8ToUtf16(amplifier[size_t(index)]));
}

// ---- what the program may send and write -------------------------------------------------------

bool InList(int32_t v, std::initializer_list<int32_t> list) {
    return std::find(list.begin(), list.end(), v) != list.end();
}

bool IsDriverNumber(int32_t v) {
    for (const Environment& e : kEnvironments)
        if (e.driver == v) return true;
    return false;
}

// Why a set is out of range, or empty when it is in range. `codes`: the values the card itself
// gave for properties whose range is the card's (route codes, amplifier settings).
std::string SendProblem(const RecordedProperty& r, const std::vector<int32_t>& routeCodes,
                        const std::vector<int32_t>& amplifier) {
    const std::u16string& n = r.name;
    const int32_t v = r.data;
    bool ok;
    if (n.rfind(u"EQ_Slider", 0) == 0) {
        const std::u16string band = n.substr(9);
        ok = band.size() >= 1 && band.size() <= 2 && v >= kBandMin && v <= kBandMax &&
             std::stoi(std::string(band.begin(), band.end())) >= 1 &&
             std::stoi(std::string(band.begin(), band.end())) <= 10;
    } else if (n == u"Enable_EQ_GFX" || n == u"Enable_RFX_GFX" || n == u"Enable_VIRTUALBASS_LFX" ||
               n == u"Enable_AUDIOBRILLIANT_LFX" || n == u"Enable_VOICECLARITY_LFX" ||
               n == u"Enable_ADAPTIVEVOLUME_GFX" || n == kSurroundProperty) {
        ok = v == 0 || v == 1;
    } else if (n == u"RFX_ENVIRONMENT") {
        ok = IsDriverNumber(v);
    } else if (n == u"RFX_ROOMSIZE") {
        ok = v >= 0 && v <= 2;
    } else if (n == u"DevSampleRateControl") {
        ok = std::find(kSampleRates.begin(), kSampleRates.end(), v) != kSampleRates.end();
    } else if (n == u"DevBitDepthControl") {
        ok = InList(v, {16, 24, 32});
    } else if (n == u"DevChannelNumControl") {
        ok = v == 2;
    } else if (n == u"Enable_Channel_COPY_LFX" || n == u"DefaultDeviceControl" ||
               n == kSurroundUseHpProperty || n == kSurroundRoomSizeProperty) {
        ok = v == 0;
    } else if (n == u"DeviceSpecificControl") {
        ok = v == 0 || std::find(routeCodes.begin(), routeCodes.end(), v) != routeCodes.end();
    } else if (n == kAmplifierProperty) {
        ok = v == 0 || std::find(amplifier.begin(), amplifier.end(), v) != amplifier.end();
    } else {
        ok = false;  // a property the program has no business setting
    }
    if (ok) return {};
    return std::string(n.begin(), n.end()) + " sent " + std::to_string(v);
}

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return out;
}

bool DecimalIn(std::string_view text, int64_t lo, int64_t hi) {
    if (text.empty() || text.size() > 12) return false;
    char* end = nullptr;
    const std::string s(text);
    const long long v = std::strtoll(s.c_str(), &end, 10);
    return *end == '\0' && std::to_string(v) == s && v >= lo && v <= hi;
}

// Why a written key is out of its range, or empty when it is in range.
std::string WriteProblem(std::string_view file, std::string_view section, std::string_view key,
                         std::string_view value) {
    const std::string f = Lower(file), s = Lower(section), k = Lower(key);
    auto range = [&](int64_t lo, int64_t hi) { return DecimalIn(value, lo, hi); };
    bool ok = false;
    if (f == Lower(kCustomIni)) {
        ok = k.size() == 4 && k.rfind("eq_", 0) == 0 && k[3] >= '0' && k[3] <= '9' &&
             range(kBandMin, kBandMax);
    } else if (s == "cpl") {
        ok = ((k == "headphone" || k == "digitaloutsr") && range(0, 1)) ||
             (k == "language" && range(0, 2));
    } else if (s == "hp") {
        ok = (k == "surroundmax" || k == "loworhighz") && range(0, 1);
    } else if (s == "ad") {
        ok = (k == "dynamicbass" || k == "audiobrilliant" || k == "voiceclarity" ||
              k == "adaptivevolume") &&
             range(0, 1);
    } else if (s == "hifi") {
        if (k == "isdrysoundon" || k == "customize" || k == "envenable" || k == "roomenable")
            ok = range(0, 1);
        else if (k == "initialbuttonon")
            ok = range(-1, 3);
        else if (k == "regionstyle")
            ok = range(0, kRegionStyleCount - 1);
        else if (k == "eqpreset")
            ok = range(0, kEqPresetCount - 1);
        else if (k.size() == 4 && k.rfind("eq_", 0) == 0 && k[3] >= '0' && k[3] <= '9')
            ok = range(kBandMin, kBandMax);
        else if (k == "treble" || k == "bass")
            ok = range(kToneMin, kToneMax);
        else if (k == "environment")
            ok = range(0, kEnvironmentCount - 1);
        else if (k == "envdriver")
            ok = range(0, 26) && IsDriverNumber(std::stoi(std::string(value)));
        else if (k == "roomsize")
            ok = range(0, 2);
        else if (k == "customcount")
            ok = range(0, kMaxUserPresets);
        else if (k == "currentcustom")
            ok = true;
        else if (k.rfind("custom", 0) == 0)
            ok = DecimalIn(k.substr(6), 0, kMaxUserPresets - 1);
    }
    if (ok) return {};
    return std::string(file) + " [" + std::string(section) + "] " + std::string(key) + "=" +
           std::string(value.substr(0, 40));
}

// The program's settings backend on the file's directory, counting every access and checking
// every write.
class CheckedSettings final : public SettingsBackend {
  public:
    // images kept between accesses, as the program keeps them
    explicit CheckedSettings(const fs::path& dir) : inner_(dir, true) {}
    std::string ReadText(std::string_view f, std::string_view s, std::string_view k) override {
        ++accesses;
        return inner_.ReadText(f, s, k);
    }
    int ReadInt(std::string_view f, std::string_view s, std::string_view k) override {
        ++accesses;
        return inner_.ReadInt(f, s, k);
    }
    bool WriteText(std::string_view f, std::string_view s, std::string_view k,
                   std::string_view v) override {
        ++accesses;
        Check(f, s, k, v);
        if (refuseWrites) return false;
        const bool ok = inner_.WriteText(f, s, k, v);
        if (ok) written[{std::string(f), Lower(s), Lower(k)}] = std::string(v);
        return ok;
    }
    bool WriteTexts(std::string_view f, std::string_view s,
                    std::span<const SettingText> entries) override {
        ++accesses;
        for (const SettingText& e : entries) Check(f, s, e.key, e.value);
        if (refuseWrites) return false;
        const bool ok = inner_.WriteTexts(f, s, entries);  // one replacement for all of them
        if (ok)
            for (const SettingText& e : entries)
                written[{std::string(f), Lower(s), Lower(e.key)}] = std::string(e.value);
        return ok;
    }
    bool CanHold(std::string_view text) override { return inner_.CanHold(text); }

    void Check(std::string_view f, std::string_view s, std::string_view k, std::string_view v) {
        const std::string problem = WriteProblem(f, s, k, v);
        if (!problem.empty()) problems.push_back("key out of range: " + problem);
    }

    IniFileSettings inner_;
    bool refuseWrites = false;
    size_t accesses = 0;
    std::vector<std::string> problems;
    // The last value written to each key (file, section, key; section and key in lower case).
    std::map<std::array<std::string, 3>, std::string> written;
};

class FuzzEndpoint final : public device::EndpointControl {
  public:
    float GetChannelLevel(int channel) override { return levels[channel == 0 ? 0 : 1]; }
    void SetChannelLevel(int channel, float level) override {
        if ((channel != 0 && channel != 1) || !std::isfinite(level) || level < 0.0f || level > 1.0f)
            problems.push_back("endpoint level " + std::to_string(level) + " on channel " +
                               std::to_string(channel));
        levels[channel == 0 ? 0 : 1] = level;
    }
    bool GetEndpointMute() override { return muted; }
    void SetEndpointMute(bool m) override { muted = m; }
    float levels[2] = {0.5f, 0.5f};
    bool muted = false;
    std::vector<std::string> problems;
};

// The main window hands the main console's refreshes to the HIFI and headphone pages.
class Refreshes final : public PageRefresh {
  public:
    Refreshes(HifiPage& hifi, HeadphonePage& hp) : hifi_(hifi), hp_(hp) {}
    void RefreshHifiFromSettings() override { hifi_.RefreshFromSettings(); }
    void RefreshHeadphoneFromSettings() override { hp_.Refresh(); }

  private:
    HifiPage& hifi_;
    HeadphonePage& hp_;
};

// What the pages show must be something they can show: one sample rate, at most one lamp of each
// group, knobs and sliders in their ranges, and a preset list that holds the stored names while
// the preset controls take input.
std::string StateProblem(const MainConsole& console, HifiPage& hifi, IniFileSettings& files,
                         bool writesRefused) {
    const MainConsoleState& m = console.State();
    auto lit = [](const auto& lamps) {
        return std::count_if(lamps.begin(), lamps.end(), [](const LampState& l) { return l.lit; });
    };
    if (lit(m.rateLamps) != 1 || m.sampleRatePicture < 0 || m.sampleRatePicture >= kRateCount ||
        !m.rateLamps[size_t(m.sampleRatePicture)].lit)
        return "main console: sample-rate lamps and picture disagree";
    if (lit(m.depthLamps) > 1) return "main console: more than one bit depth";
    if (m.knobPosition < kKnobMin || m.knobPosition > kKnobMax || m.balance < kBalanceMin ||
        m.balance > kBalanceMax)
        return "main console: knob or balance out of range";
    const EqualizerState& e = hifi.Eq();
    const std::array<LampState, 4> sources = {e.tone, e.region, e.preset, e.equalizer};
    if (lit(sources) > 1)
        return std::string("HIFI: more than one source switch lit (") +
               (e.tone.lit ? "tone " : "") + (e.region.lit ? "region " : "") +
               (e.preset.lit ? "preset " : "") + (e.equalizer.lit ? "equalizer" : "") + ")";
    if (lit(e.regionLamps) > 1 || lit(e.presetLamps) > 1)
        return "HIFI: more than one region or preset lamp lit";
    if (e.treble < kToneMin || e.treble > kToneMax || e.bass < kToneMin || e.bass > kToneMax)
        return "HIFI: knob out of range";
    for (int32_t p : e.sliders)
        if (p < kBandMin || p > kBandMax) return "HIFI: slider out of range";
    const ReverbState& r = hifi.Rev();
    if (lit(r.roomLamps) > 1 || r.roomPicture < 0 || r.roomPicture >= kRoomSizeCount)
        return "HIFI: room lamps or picture out of range";
    const UserPresetsState& u = hifi.Presets();
    if (u.selected && (*u.selected < 0 || size_t(*u.selected) >= u.names.size()))
        return "HIFI: preset selection outside the list";
    if (writesRefused || !hifi.PresetControlsEnabled()) return {};
    const int stored = files.ReadInt(kCplIni, "Hifi", "CustomCount");
    if (u.names.size() != size_t(std::clamp(stored, 0, kMaxUserPresets)))
        return "HIFI: " + std::to_string(u.names.size()) + " presets listed, CustomCount " +
               std::to_string(stored);
    for (size_t i = 0; i < u.names.size(); ++i)
        if (files.ReadText(kCplIni, "Hifi", "Custom" + std::to_string(i)) != u.names[i])
            return "HIFI: listed preset " + std::to_string(i) + " is not the stored one";
    return {};
}

// ---- one file ----------------------------------------------------------------------------------

struct FileResult {
    uint64_t seed = 0;
    size_t deviceCalls = 0;
    size_t sets = 0;
    size_t accesses = 0;
    size_t maxActionAccesses = 0;
    size_t maxActionCalls = 0;
    size_t actions = 0;
    size_t outOfRangeSends = 0;
    size_t badKeys = 0;
    size_t overBudget = 0;
    size_t badStates = 0;
    size_t damagedFiles = 0;
    double ms = 0;
    char firstProblem[240] = {};
};

float Level(Gen& g) {
    static const std::vector<float> kOdd = {-1.0f,    2.0f,      1.0f,   0.0f,     NAN,
                                            INFINITY, -INFINITY, 1e-30f, 0.999999f};
    return g.P(80) ? float(g.U(1001)) / 1000.0f : kOdd[g.U(kOdd.size())];
}

Point PointIn(Gen& g, const Rect& r) {
    if (g.P(5)) return {int32_t(g.U(1u << 31)) - (1 << 30), int32_t(g.Between(-100, 400))};
    return {int32_t(g.Between(r.left, r.right - 1)), int32_t(g.Between(r.top, r.bottom - 1))};
}

int32_t HostileInt(Gen& g, int32_t lo, int32_t hi) {
    if (g.P(85)) return int32_t(g.Between(lo, hi));
    static const std::vector<int32_t> kOdd = {INT32_MIN, INT32_MAX, -1, hi + 1, lo - 1, 0};
    return kOdd[g.U(kOdd.size())];
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

FileResult RunFile(uint64_t seed, const fs::path& dir) {
    const auto begin = std::chrono::steady_clock::now();
    FileResult result;
    result.seed = seed;
    std::vector<std::string> problems;
    Gen g(seed);

    // the files
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::map<std::string, std::string> values;
    const std::vector<Section> cpl = CplSections(g, values);
    const std::vector<Section> custom = CustomSections(g, values);
    if (!g.P(4)) std::ofstream(dir / kCplIni, std::ios::binary) << Render(g, cpl);
    if (!g.P(8)) std::ofstream(dir / kCustomIni, std::ios::binary) << Render(g, custom);
    if (const char* keep = std::getenv("QUORELLE_FUZZ_KEEP"))  // the files as generated
        fs::copy(dir, fs::path(keep) / std::to_string(seed),
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);

    // the card and the settings backend
    const CardMode mode =
        g.P(50) ? CardMode::kFromFiles : (g.P(70) ? CardMode::kHostile : CardMode::kSilent);
    FakeConfLib fake;
    device::testing::RecordingNotices notices;
    SetUpCard(g, fake, mode, values);
    const bool loaded = !g.P(8);
    if (!loaded) device::ConfLibSlots() = {};
    device::theOutputDevice = {};
    device::theInputDevice = {};
    CheckedSettings settings(dir);
    settings.refuseWrites = g.P(4);
    SetSettingsBackend(&settings);

    FuzzEndpoint endpoint;
    endpoint.levels[0] = Level(g);
    endpoint.levels[1] = Level(g);
    endpoint.muted = g.P(50);
    HifiPage hifi;
    AdvancePage advance;
    HeadphonePage hp;
    Refreshes refreshes(hifi, hp);
    MainConsole console(endpoint, refreshes);
    DeviceUser mainUser, hifiUser, advanceUser, hpUser;

    // checks after every step
    size_t checked = 0;
    size_t lastAccesses = 0;
    const bool trace = std::getenv("QUORELLE_FUZZ_TRACE") != nullptr;
    auto stepBegin = std::chrono::steady_clock::now();
    auto check = [&](const char* step, size_t callBudget) {
        if (trace) {
            const auto now = std::chrono::steady_clock::now();
            std::fprintf(
                stderr, "  %s: %.1f ms, %zu settings accesses%s %s\n", step,
                std::chrono::duration<double, std::milli>(now - stepBegin).count(),
                settings.accesses - lastAccesses, settings.refuseWrites ? " (writes refused)" : "",
                StateProblem(console, hifi, settings.inner_, settings.refuseWrites).c_str());
            stepBegin = now;
        }
        std::vector<int32_t> routes = {console.State().speakerRouteCode,
                                       console.State().headphoneRouteCode};
        std::vector<int32_t> amplifier;
        if (hp.SettingA()) amplifier.push_back(*hp.SettingA());
        if (hp.SettingB()) amplifier.push_back(*hp.SettingB());
        for (; checked < fake.properties.size(); ++checked) {
            const RecordedProperty& r = fake.properties[checked];
            if (!r.set) continue;
            ++result.sets;
            const std::string problem = SendProblem(r, routes, amplifier);
            if (problem.empty()) continue;
            ++result.outOfRangeSends;
            problems.push_back(std::string("out of range after ") + step + ": " + problem);
        }
        const size_t calls = fake.calls.size() - result.deviceCalls;
        result.deviceCalls = fake.calls.size();
        const size_t accesses = settings.accesses - lastAccesses;
        lastAccesses = settings.accesses;
        result.maxActionCalls = std::max(result.maxActionCalls, calls);
        result.maxActionAccesses = std::max(result.maxActionAccesses, accesses);
        const std::string state =
            StateProblem(console, hifi, settings.inner_, settings.refuseWrites);
        if (!state.empty()) {
            ++result.badStates;
            problems.push_back(std::string("after ") + step + ": " + state);
        }
        if (calls > callBudget || accesses > kActionAccessBudget) {
            ++result.overBudget;
            problems.push_back(std::string("over budget in ") + step + ": " +
                               std::to_string(calls) + " device calls, " +
                               std::to_string(accesses) + " settings accesses");
        }
    };

    // start-up in the main window's order: the controls, the four pages, then the console's
    // device, output kind and endpoint
    console.SetupMainControls();
    if (hifiUser.StartPage(loaded)) hifi.ReadBackFromDevice();
    hifi.SetupControls();
    hifi.StartFromSettings();
    hifi.StartPresetControls();
    advanceUser.StartPage(loaded);
    advance.ApplyAllEffects();
    FillVersionInfo();
    hp.Start(hpUser.StartHeadphonePage(loaded));
    if (mainUser.StartMainWindow(loaded)) {
        console.ApplyDeviceDefaults();
        console.ReadDeviceState();
    }
    console.StartupOutputKind(g.P(80) ? device::OUTPUT_ANALOG
                                      : (g.P(80) ? device::OUTPUT_DIGITAL : 0));
    console.StartupEndpointState();
    check("start-up", kStartupCallBudget);

    // where the lamps are: a row of rectangles per page
    auto row = [](int i, int height = 30) { return Rect{i * 20, 0, i * 20 + 15, height}; };
    HitAreas mainAreas{row(0), row(1, 40), {40, 0, 100, 60}, row(6), {row(7), row(8), row(9)}};
    HifiHitAreas hifiAreas;
    hifiAreas.master = row(0);
    hifiAreas.room = row(1);
    hifiAreas.roomPicture = {40, 0, 55, 90};
    hifiAreas.tone = row(3);
    hifiAreas.region = row(4);
    for (int i = 0; i < kRegionStyleCount; ++i) hifiAreas.regionLamps[i] = row(5 + i);
    hifiAreas.preset = row(10);
    for (int i = 0; i < kEqPresetCount; ++i) hifiAreas.presetLamps[i] = row(11 + i);
    hifiAreas.equalizer = row(23);
    hifiAreas.environment = row(24);
    const std::array<Rect, kEffectCount> advanceAreas = {row(0), row(1), row(2), row(3)};
    const HeadphoneHitAreas hpAreas{row(0), row(1)};
    const std::vector<Rect> mainRects = {
        mainAreas.mute,          mainAreas.outputPicture, mainAreas.sampleRatePicture,
        mainAreas.digitalOutput, mainAreas.depthLamps[0], mainAreas.depthLamps[1],
        mainAreas.depthLamps[2]};
    std::vector<Rect> hifiRects = {hifiAreas.master,    hifiAreas.room,       hifiAreas.roomPicture,
                                   hifiAreas.tone,      hifiAreas.region,     hifiAreas.preset,
                                   hifiAreas.equalizer, hifiAreas.environment};
    for (const Rect& r : hifiAreas.regionLamps) hifiRects.push_back(r);
    for (const Rect& r : hifiAreas.presetLamps) hifiRects.push_back(r);

    const size_t actions = size_t(g.Between(20, 80));
    for (size_t a = 0; a < actions; ++a) {
        const char* step = "?";
        switch (g.U(24)) {
            case 0:
            case 1:
                step = "main console click";
                console.OnLeftButtonDown(mainAreas, PointIn(g, g.Pick(mainRects)));
                break;
            case 2:
                step = "volume knob";
                // the view hands in what its knob and slider hold
                console.SetKnobPosition(int32_t(g.Between(kKnobMin, kKnobMax)));
                console.SetBalance(int32_t(g.Between(kBalanceMin, kBalanceMax)));
                console.ApplyChannelLevels();
                break;
            case 3:
                step = "endpoint change";
                endpoint.levels[0] = Level(g);
                endpoint.levels[1] = Level(g);
                console.OnVolumeChanged(g.P(80) ? 0 : g.U(20));
                if (g.P(30)) console.ResetBalance();
                break;
            case 4:
                step = "default output change";
                console.OnDefaultOutputChanged(intptr_t(g.Between(-1, 2)));
                break;
            case 5:
            case 6:
            case 7:
            case 8:
                step = "HIFI click";
                hifi.OnLeftButtonDown(hifiAreas, PointIn(g, g.Pick(hifiRects)));
                break;
            case 9:
                step = "tone knob";
                hifi.equalizer().SetKnobPositions(HostileInt(g, kToneMin, kToneMax),
                                                  HostileInt(g, kToneMin, kToneMax));
                hifi.OnKnobMoved();
                break;
            case 10:
            case 11: {
                step = "band slider";
                std::array<int32_t, kBandCount> positions = hifi.Eq().sliders;
                positions[g.U(kBandCount)] = HostileInt(g, kBandMin, kBandMax);
                hifi.equalizer().SetSliderPositions(positions);
                hifi.OnBandsMoved();
                break;
            }
            case 12:
                step = "preset add";
                hifi.presets().SetNameField(g.P(70) ? PresetName(g) : Value(g));
                hifi.OnAddPreset();
                break;
            case 13:
                step = "preset select";
                hifi.OnPresetChosen(g.P(10) ? std::nullopt
                                            : std::optional<int>(int(g.Between(-2, 12))));
                break;
            case 14:
                step = "preset delete";
                if (g.P(50)) hifi.presets().Select(int(g.U(hifi.Presets().names.size() + 1)));
                hifi.OnDeletePreset();
                break;
            case 15:
                step = "equalizer reset";
                hifi.OnResetEqualizer();
                break;
            case 16:
                step = "environment step";
                if (g.P(50))
                    hifi.OnPreviousEnvironment();
                else
                    hifi.OnNextEnvironment();
                break;
            case 17:
                step = "language change";
                WriteSettingInt(kCplIni, "CPL", "language", int(g.Between(0, 2)));
                hifi.ShowEnvironmentList();
                FillVersionInfo();
                break;
            case 18:
                step = "HIFI refresh";
                hifi.RefreshFromSettings();
                break;
            case 19:
                step = "advance click";
                advance.OnPress(advanceAreas, PointIn(g, advanceAreas[g.U(kEffectCount)]));
                break;
            case 20:
                step = "headphone click";
                hp.OnPress(hpAreas, PointIn(g, g.P(50) ? hpAreas.surround : hpAreas.impedance));
                break;
            case 21:
                step = "headphone refresh";
                hp.Refresh();
                break;
            case 22:
                step = "HIFI preset controls";
                hifi.StartPresetControls();
                break;
            default:
                step = "information page";
                FillVersionInfo();
                break;
        }
        check(step, kActionCallBudget);
    }
    result.actions = actions;
    result.accesses = settings.accesses;
    SetSettingsBackend(nullptr);

    // afterwards: both files keep every byte through the reader and hold what was written last
    for (const char* name : {kCplIni, kCustomIni}) {
        const std::string bytes = ReadFile(dir / name);
        if (IniImage(bytes, Utf8IniCodec()).Bytes() != bytes) {
            ++result.damagedFiles;
            problems.push_back(std::string(name) + " does not read back byte for byte");
        }
    }
    IniFileSettings reader(dir, true);
    for (const auto& [where, value] : settings.written) {
        const std::string now = reader.ReadText(where[0], where[1], where[2]);
        if (now == value) continue;
        ++result.damagedFiles;
        problems.push_back(where[0] + " [" + where[1] + "] " + where[2] + " reads \"" +
                           now.substr(0, 30) + "\", written \"" + value.substr(0, 30) + "\"");
    }
    for (const std::string& p : settings.problems) problems.push_back(p);
    for (const std::string& p : endpoint.problems) problems.push_back(p);
    result.badKeys = settings.problems.size();
    result.outOfRangeSends += endpoint.problems.size();
    if (!problems.empty())
        std::snprintf(result.firstProblem, sizeof result.firstProblem, "%s",
                      problems.front().c_str());
    for (size_t i = 0; i < problems.size() && i < 5; ++i)
        std::fprintf(stderr, "seed %llu: %s\n", static_cast<unsigned long long>(seed),
                     problems[i].c_str());
    fs::remove_all(dir);
    result.ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
    return result;
}

// ---- the run -----------------------------------------------------------------------------------

uint64_t g_currentSeed = 0;

void SayCrashSeed() {
    std::fprintf(stderr, "crash in seed %llu\n", static_cast<unsigned long long>(g_currentSeed));
}

bool Failed(const FileResult& r) {
    return r.outOfRangeSends || r.badKeys || r.overBudget || r.badStates || r.damagedFiles;
}

}  // namespace

int main(int argc, char** argv) {
    uint64_t seed = 1;
    uint64_t count = 300;
    bool fork = true;
    size_t jobs = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--seed" && i + 1 < argc)
            seed = std::strtoull(argv[++i], nullptr, 10);
        else if (arg == "--count" && i + 1 < argc)
            count = std::strtoull(argv[++i], nullptr, 10);
        else if (arg == "--jobs" && i + 1 < argc)
            jobs = std::max<size_t>(1, std::strtoull(argv[++i], nullptr, 10));
        else if (arg == "--no-fork")
            fork = false;
        else {
            std::fprintf(stderr, "usage: %s [--seed S] [--count N] [--jobs J] [--no-fork]\n",
                         argv[0]);
            return 2;
        }
    }
    __sanitizer_set_death_callback(&SayCrashSeed);
    std::set_terminate([] {
        SayCrashSeed();
        std::abort();
    });

    char base[] = "/tmp/quorelle-settings-fuzz-XXXXXX";
    if (!mkdtemp(base)) {
        std::perror("mkdtemp");
        return 2;
    }
    const fs::path dir = fs::path(base) / "files";

    size_t files = 0, crashes = 0, failedFiles = 0;
    FileResult total;
    FileResult longestCalls, longestAccesses, slowest;
    std::vector<uint64_t> failedSeeds;
    const auto begin = std::chrono::steady_clock::now();
    auto take = [&](uint64_t s, const FileResult& r, bool crashed) {
        ++files;
        if (crashed) {
            ++crashes;
            failedSeeds.push_back(s);
            return;
        }
        total.deviceCalls += r.deviceCalls;
        total.sets += r.sets;
        total.accesses += r.accesses;
        total.actions += r.actions;
        total.outOfRangeSends += r.outOfRangeSends;
        total.badKeys += r.badKeys;
        total.overBudget += r.overBudget;
        total.badStates += r.badStates;
        total.damagedFiles += r.damagedFiles;
        if (r.deviceCalls > longestCalls.deviceCalls) longestCalls = r;
        if (r.maxActionAccesses > longestAccesses.maxActionAccesses) longestAccesses = r;
        if (r.ms > slowest.ms) slowest = r;
        if (Failed(r)) {
            ++failedFiles;
            failedSeeds.push_back(s);
        }
    };
    // Each file runs in a child process of its own (a crash or a sanitizer report ends only that
    // child), up to `jobs` of them at once, each in its own folder. A result is smaller than the
    // pipe's atomic size, so a child never waits for its parent to read.
    struct Child {
        pid_t pid;
        int fd;
        uint64_t seed;
        size_t slot;
    };
    std::vector<Child> running;
    std::vector<size_t> freeSlots;
    for (size_t i = jobs; i > 0; --i) freeSlots.push_back(i - 1);
    auto reap = [&] {
        int status = 0;
        const pid_t done = waitpid(-1, &status, 0);
        const auto it = std::find_if(running.begin(), running.end(),
                                     [done](const Child& c) { return c.pid == done; });
        if (it == running.end()) return;
        FileResult r;
        size_t got = 0;
        while (got < sizeof r) {
            const ssize_t n = read(it->fd, reinterpret_cast<char*>(&r) + got, sizeof r - got);
            if (n <= 0) break;
            got += size_t(n);
        }
        close(it->fd);
        const bool crashed = got != sizeof r || !WIFEXITED(status) || WEXITSTATUS(status) != 0;
        if (crashed)
            std::fprintf(stderr, "seed %llu: crashed (%s %d)\n",
                         static_cast<unsigned long long>(it->seed),
                         WIFSIGNALED(status) ? "signal" : "exit status",
                         WIFSIGNALED(status) ? WTERMSIG(status) : WEXITSTATUS(status));
        take(it->seed, r, crashed);
        freeSlots.push_back(it->slot);
        running.erase(it);
    };
    for (uint64_t s = seed; s < seed + count; ++s) {
        g_currentSeed = s;
        if (!fork) {
            take(s, RunFile(s, dir), false);
            continue;
        }
        while (freeSlots.empty()) reap();
        const size_t slot = freeSlots.back();
        freeSlots.pop_back();
        const fs::path mine = dir.string() + std::to_string(slot);
        int pipeFds[2];
        if (pipe(pipeFds) != 0) return 2;
        std::fflush(nullptr);
        const pid_t child = ::fork();
        if (child == 0) {
            close(pipeFds[0]);
            for (const Child& other : running) close(other.fd);
            alarm(120);  // a hang ends as a crash
            const FileResult result = RunFile(s, mine);
            if (__lsan_do_recoverable_leak_check() != 0) _exit(4);
            const ssize_t n = write(pipeFds[1], &result, sizeof result);
            _exit(n == ssize_t(sizeof result) ? 0 : 3);
        }
        close(pipeFds[1]);
        running.push_back({child, pipeFds[0], s, slot});
    }
    while (!running.empty()) reap();
    std::sort(failedSeeds.begin(), failedSeeds.end());
    fs::remove_all(base);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();

    std::printf("settings fuzz: files %zu (seeds %llu..%llu) in %.1f s\n", files,
                static_cast<unsigned long long>(seed),
                static_cast<unsigned long long>(seed + count - 1), seconds);
    std::printf("  actions %zu, device calls %zu (sets %zu), settings accesses %zu\n",
                total.actions, total.deviceCalls, total.sets, total.accesses);
    std::printf(
        "  crashes %zu, out-of-range sends %zu, out-of-range keys %zu, over budget %zu, "
        "impossible page states %zu, damaged files %zu\n",
        crashes, total.outOfRangeSends, total.badKeys, total.overBudget, total.badStates,
        total.damagedFiles);
    std::printf(
        "  longest run: seed %llu with %zu device calls (%zu actions); seed %llu with "
        "%zu settings accesses in one action (budget %zu); slowest file seed %llu, "
        "%.0f ms\n",
        static_cast<unsigned long long>(longestCalls.seed), longestCalls.deviceCalls,
        longestCalls.actions, static_cast<unsigned long long>(longestAccesses.seed),
        longestAccesses.maxActionAccesses, kActionAccessBudget,
        static_cast<unsigned long long>(slowest.seed), slowest.ms);
    if (failedSeeds.empty()) return 0;
    std::printf("  FAILED: %zu files (%zu crashed)\n", failedSeeds.size(), crashes);
    for (size_t i = 0; i < failedSeeds.size() && i < 10; ++i)
        std::printf("  replay: %s --seed %llu --count 1\n", argv[0],
                    static_cast<unsigned long long>(failedSeeds[i]));
    return 1;
}
