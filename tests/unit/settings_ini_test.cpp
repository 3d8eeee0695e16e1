// The INI rules of the settings backends (as the platform's reader applies them; the Win32 tests
// compare them with the platform on generated files), edits that keep the file's other bytes, and
// the image cache against a file system whose stamps the test controls.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <random>

#include "settings/ini_file.h"
#include "settings/ini_image.h"
#include "base/diagnostics.h"
#include "settings/ini_settings.h"

using namespace quorelle;

namespace {

// Converters with the quirks of the platform's, on UTF-8.
class QuirkyCodec final : public IniCodec {
  public:
    // leadBytes: a 0x81 byte is a two-byte character that takes the next byte with it (any but a
    // NUL) and reads as '?'. Otherwise a malformed 0xE9 at the very end of the input takes
    // whatever follows it, as some converters do.
    explicit QuirkyCodec(bool leadBytes) : leadBytes_(leadBytes) {}
    bool IsLeadByte(unsigned char byte) const override { return leadBytes_ && byte == 0x81; }
    std::u16string Decode(IniEncoding, std::string_view bytes) const override {
        if (!leadBytes_) {
            const std::size_t bad = bytes.find('\xE9');
            if (bad == std::string_view::npos || bad + 2 < bytes.size()) return Utf8ToUtf16(bytes);
            return Utf8ToUtf16(bytes.substr(0, bad)) + u'\xFFFD';
        }
        std::u16string out;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (static_cast<unsigned char>(bytes[i]) == 0x81) {
                out += u'?';
                if (i + 1 < bytes.size() && bytes[i + 1]) ++i;
            } else {
                out += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]));
            }
        }
        return out;
    }
    std::string Encode(IniEncoding, std::u16string_view text) const override {
        return Utf16ToUtf8(text);
    }
    bool Holds(std::u16string_view) const override { return true; }

  private:
    bool leadBytes_;
};

std::string Read(const std::string& bytes, std::u16string_view section, std::u16string_view key,
                 const IniCodec& codec = Utf8IniCodec()) {
    std::u16string value;
    if (!IniImage(bytes, codec).Find(section, key, value)) return "<absent>";
    return Utf16ToUtf8(ProfileValue(value, 1024));
}

std::string Utf16Le(std::u16string_view text) {
    std::string out = "\xFF\xFE";
    for (char16_t c : text) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
    return out;
}

TEST(IniRules, ReadAsThePlatformReads) {
    struct Case {
        std::string file;
        std::u16string section, key;
        std::string value;
    } cases[] = {
        {"[s]\r\n\x0B k \x0C= \x1A v \x0B\r\n", u"s", u"k", "v"},  // VT, FF and ^Z are blanks
        {"[s]\r\n\xC2\xA0k=1\r\n", u"s", u"k", "<absent>"},        // no-break space is not
        {"[ s ] junk\r\nk=1\r\n", u"s", u"k", "1"},
        {"[a]b]\r\nk=1\r\n", u"a]b", u"k", "1"},  // the last ']' closes the name
        {"[a]b]\r\nk=1\r\n", u"a", u"k", "<absent>"},
        {"[s]\r\n[t\r\nk=2\r\n", u"s", u"k", "2"},  // no ']': a key line of the section before
        {"[s]\r\n[t\r\nk=2\r\n", u"t", u"k", "<absent>"},
        {std::string("[s]\r\nke\0y=v\r\nz=v\0w\r\n", 20), u"s", u"ke", "v"},  // names end at NUL
        {std::string("[s]\r\nke\0y=v\r\nz=v\0w\r\n", 20), u"s", u"z", "v"},   // values too
        {std::string("[s]\r\n\0[t]\r\nz=1\r\n", 18), u"s", u"z", "1"},  // a NUL starts a key line
        {"[s]\rk=1\r\r[t]\rk=3", u"t", u"k", "3"},                      // CR line ends
        {"[s]\nk=1\n\n[t]\n k = a b \t\n", u"t", u"k", "a b"},
        {"\xEF\xBB\xBF[s]\r\nk=\xE4\xBF\xA1\r\n", u"s", u"k", "\xE4\xBF\xA1"},  // UTF-8 mark
        {Utf16Le(u"[s]\r\nk=\x4FE1\r\n"), u"s", u"k", "\xE4\xBF\xA1"},
        {"\xFE\xFF" + std::string("\0[\0s\0]\0\n\0k\0=\0b\0e", 18), u"s", u"k", "be"},
        {"[s]\r\na='x'\r\n", u"s", u"a", "x"},  // single quotes too
        {"[s]\r\na=\"x'\r\n", u"s", u"a", "\"x'"},
        {"[s]\r\na=\"\r\n", u"s", u"a", "\""},
        {"[s]\r\na=\"\"\r\n", u"s", u"a", ""},
        {"[s]\r\n;x=5\r\n", u"s", u";x", "5"},  // a ';' line is a key like any other
        {"[s]\r\nnoeq\r\nnoeq=1\r\n", u"s", u"noeq", "<absent>"},  // the first key counts
        {"[s]\r\n =7\r\n", u"s", u"", "7"},
        {"top=1\r\n[s]\r\n", u"", u"top", "1"},  // keys before the first section
        {"top=1\r\n[s]\r\n", u" \t", u"top", "1"},
        {"[s]\r\nk=1\r\n[S]\r\nk2=2\r\n", u"s", u"k2", "<absent>"},  // only the first section
        {"[s]\r\nk=1\r\nK=2\r\n", u" S ", u" k\t", "1"},
        {"[\xC3\x84]\r\nk=1\r\n", u"\xE4", u"k", "<absent>"},  // other letters match exactly
        {"", u"", u"k", "<absent>"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Read(c.file, c.section, c.key), c.value)
            << "[" << Utf16ToUtf8(c.section) << "] " << Utf16ToUtf8(c.key) << " in \"" << c.file
            << "\"";

    // A lead byte takes the next byte with it, also a line end (but not a NUL).
    const QuirkyCodec lead(true);
    EXPECT_EQ(Read("[s]\nk=\x81\nk2=2\n", u"s", u"k", lead), "?k2=2");
    EXPECT_EQ(Read("[s]\nk=\x81\nk2=2\n", u"s", u"k2", lead), "<absent>");
    EXPECT_EQ(Read(std::string("[s]\nk=\x81\0\nk2=2\n", 14), u"s", u"k2", lead), "2");

    // The platform converts the file at once: a malformed sequence at a line's end meets the line
    // end, not the end of the text.
    const QuirkyCodec cutShort(false);
    EXPECT_EQ(Read("[\xE9]\r\nk=1\r\n", u"\xFFFD", u"k", cutShort), "1");
    EXPECT_EQ(Read("[s]\r\nk=\xE9]", u"s", u"k", cutShort), "\xEF\xBF\xBD");
}

TEST(IniRules, QuotesAndBufferLimitsAsThePlatformCutsThem) {
    EXPECT_EQ(ProfileValue(u"\"" + std::u16string(1022, u'b') + u"\"", 1024).size(), 1022u);
    // a quoted value that fills the buffer exactly loses its last character
    EXPECT_EQ(ProfileValue(u"\"" + std::u16string(1023, u'a') + u"\"", 1024).size(), 1022u);
    EXPECT_EQ(ProfileValue(u"\"" + std::u16string(1024, u'c') + u"\"", 1024).size(), 1023u);
    EXPECT_EQ(ProfileValue(std::u16string(2000, u'x'), 1024).size(), 1023u);
    EXPECT_EQ(ProfileValue(u"\"" + std::u16string(29, u'1') + u"\"", 30).size(), 28u);
}

struct Edit {
    const char* before;
    const char* section;
    const char* key;
    const char* value;
    const char* after;  // nullptr: refused, the file unchanged
};

TEST(IniEdits, KeepEveryOtherByte) {
    const Edit edits[] = {
        // the key's line is rewritten; its line end and every other line stay
        {"; setup\r\n[CPL]\r\n  Language = 1 \n\n[x]\r\n", "cpl", "language", "2",
         "; setup\r\n[CPL]\r\nLanguage=2\n\n[x]\r\n"},
        {"[s]\rk=1\r", "s", "k", "5", "[s]\rk=5\r"},
        // a new key follows the section's last line that is not blank, in the file's line ends
        {"[s]\nk=1\n\n\n[t]\nk=1\n", "s", "n", "2", "[s]\nk=1\nn=2\n\n\n[t]\nk=1\n"},
        {"[s]\rk=1", "s", "n", "2", "[s]\rk=1\rn=2\r"},
        {"[s]\r\n", "s", "n", "2", "[s]\r\nn=2\r\n"},
        // a new section goes at the end
        {"[s]\r\nk=1", "Hifi", "eq_0", "-7", "[s]\r\nk=1\r\n[Hifi]\r\neq_0=-7\r\n"},
        {"", "Hifi", "eq_0", "-7", "[Hifi]\r\neq_0=-7\r\n"},
        // the first section of the name, the first key of the name
        {"[s]\r\nk=1\r\nk=2\r\n[s]\r\nk=3\r\n", "s", "k", "9",
         "[s]\r\nk=9\r\nk=2\r\n[s]\r\nk=3\r\n"},
        {"[s]\r\nk\r\n", "s", "k", "4", "[s]\r\nk=4\r\n"},
        // values that would not read back as given go in quotes
        {"[s]\r\n", "s", "n", " my preset ", "[s]\r\nn=\" my preset \"\r\n"},
        {"[s]\r\n", "s", "n", "'x'", "[s]\r\nn=\"'x'\"\r\n"},
        {"[s]\r\n", "s", "n", "\"", "[s]\r\nn=\"\r\n"},
        {"[s]\r\n", "s", "n", "", "[s]\r\nn=\r\n"},
        // names the file cannot carry
        {"[s]\r\n", "s", "a=b", "1", nullptr},
        {"[s]\r\n", "s", "[k", "1", nullptr},
        {"[s]\r\n", "s", "k", "1\r\n[CPL]\r\nlanguage=5", nullptr},
        {"[s]\r\n", "a\nb", "k", "1", nullptr},
        {"[s]\r\n", " ", "k", "1", nullptr},
        {"[s]\r\n", "s", " ", "1", nullptr},
    };
    for (const Edit& e : edits) {
        IniImage image(e.before, Utf8IniCodec());
        const IniImage::Change change = image.Set(Utf8ToUtf16(e.section), Utf8ToUtf16(e.key),
                                                  Utf8ToUtf16(e.value), Utf8IniCodec());
        EXPECT_EQ(change, e.after ? IniImage::Change::kChanged : IniImage::Change::kRefused)
            << e.key << " in \"" << e.before << "\"";
        EXPECT_EQ(image.Bytes(), e.after ? e.after : e.before);
        if (e.after) {
            EXPECT_EQ(Read(image.Bytes(), Utf8ToUtf16(e.section), Utf8ToUtf16(e.key)), e.value);
        }
    }
}

TEST(IniEdits, KeepTheFilesEncodingAndSkipWritesThatChangeNothing) {
    IniImage wide(Utf16Le(u"[s]\r\nk=1\r\n"), Utf8IniCodec());
    EXPECT_EQ(wide.Set(u"s", u"k", u"\x4E2D", Utf8IniCodec()), IniImage::Change::kChanged);
    EXPECT_EQ(wide.Set(u"t", u"k", u"2", Utf8IniCodec()), IniImage::Change::kChanged);
    EXPECT_EQ(wide.Bytes(), Utf16Le(u"[s]\r\nk=\x4E2D\r\n[t]\r\nk=2\r\n"));

    // A lead byte at the end of the file would take a line end with it: the line gets two.
    const QuirkyCodec lead(true);
    IniImage dangling("[s]\rk=\x81", lead);
    EXPECT_EQ(dangling.Set(u"s", u"n", u"2", lead), IniImage::Change::kChanged);
    EXPECT_EQ(dangling.Bytes(), "[s]\rk=\x81\r\rn=2\r");
    EXPECT_EQ(Read(dangling.Bytes(), u"s", u"n", lead), "2");
    EXPECT_EQ(Read(dangling.Bytes(), u"s", u"k", lead), "?");

    IniImage same("[s]\r\nk = 5\r\n", Utf8IniCodec());
    EXPECT_EQ(same.Set(u"S", u"K", u"5", Utf8IniCodec()), IniImage::Change::kUnchanged);
    EXPECT_EQ(same.Bytes(), "[s]\r\nk = 5\r\n");
}

// Files in memory, with stamps the test sets.
class FakeFiles final : public IniFiles {
  public:
    struct File {
        std::string bytes;
        Stamp stamp;
        bool readOnly = false, unreadable = false;
    };
    std::map<std::string, File> files;
    std::int64_t now = 100'000'000;
    int reads = 0, replaces = 0;
    bool failReplace = false;

    const IniCodec& Codec() const override { return Utf8IniCodec(); }
    Presence Look(const std::string& name, Stamp& stamp, bool& readOnly) override {
        auto it = files.find(name);
        if (it == files.end()) return Presence::kAbsent;
        stamp = it->second.stamp;
        readOnly = it->second.readOnly;
        return Presence::kPresent;
    }
    bool Read(const std::string& name, std::string& bytes) override {
        ++reads;
        auto it = files.find(name);
        if (it == files.end() || it->second.unreadable) return false;
        bytes = it->second.bytes;
        return true;
    }
    bool Replace(const std::string& name, const std::string& bytes) override {
        if (failReplace) return false;
        ++replaces;
        File& f = files[name];
        f.bytes = bytes;
        f.stamp = {bytes.size(), now};
        return true;
    }
    std::int64_t Now() override { return now; }

    // Another program writes the file (at the given time).
    void Put(const std::string& name, const std::string& bytes, std::int64_t time) {
        File& f = files[name];
        f.bytes = bytes;
        f.stamp = {bytes.size(), time};
    }
};

class CachedSettings : public ::testing::Test {
  protected:
    CachedSettings() {
        auto files = std::make_unique<FakeFiles>();
        fs_ = files.get();
        settings_ = std::make_unique<IniSettings>(std::move(files), true);
    }
    static constexpr std::int64_t kSettled = IniSettings::kSettleTime;
    FakeFiles* fs_;
    std::unique_ptr<IniSettings> settings_;
};

TEST_F(CachedSettings, ReadsAnswerFromTheImageUntilTheFileChanges) {
    fs_->Put("CPL.ini", "[CPL]\r\nlanguage=1\r\n", fs_->now - kSettled);
    EXPECT_EQ(settings_->ReadInt("CPL.ini", "CPL", "language"), 1);
    EXPECT_EQ(settings_->ReadText("CPL.ini", "CPL", "language"), "1");
    EXPECT_EQ(settings_->ReadInt("CPL.ini", "CPL", "HeadPhone"), -1);
    EXPECT_EQ(fs_->reads, 1);

    fs_->Put("CPL.ini", "[CPL]\r\nlanguage=2\r\n", fs_->now - kSettled + 1);  // same size
    EXPECT_EQ(settings_->ReadInt("CPL.ini", "CPL", "language"), 2);
    fs_->files.erase("CPL.ini");
    EXPECT_EQ(settings_->ReadInt("CPL.ini", "CPL", "language"), -1);
}

TEST_F(CachedSettings, AFileChangedWithinItsTimesResolutionIsReadAgainOnceItSettled) {
    fs_->Put("CPL.ini", "[CPL]\r\nlanguage=1\r\n", fs_->now);
    EXPECT_EQ(settings_->ReadInt("CPL.ini", "CPL", "language"), 1);
    // rewritten at the same write time, with the same size: invisible to the stamp
    fs_->Put("CPL.ini", "[CPL]\r\nlanguage=2\r\n", fs_->now);
    EXPECT_EQ(settings_->ReadInt("CPL.ini", "CPL", "language"), 1);
    fs_->now += kSettled;
    EXPECT_EQ(settings_->ReadInt("CPL.ini", "CPL", "language"), 2);
    const int reads = fs_->reads;
    EXPECT_EQ(settings_->ReadInt("CPL.ini", "CPL", "language"), 2);
    EXPECT_EQ(fs_->reads, reads) << "a settled image is not read again";
}

TEST_F(CachedSettings, WritesReplaceTheFileOnceAndOnlyWhenSomethingChanged) {
    SetSettingsBackend(settings_.get());
    EXPECT_TRUE(WriteSettingTexts(kCplIni, "Hifi", {}));
    EXPECT_EQ(fs_->replaces, 0) << "nothing to write";
    EXPECT_TRUE(
        WriteSettingTexts(kCplIni, "Hifi", {{"eq_0", "3"}, {"eq_1", "-4"}, {"Customize", "0"}}));
    EXPECT_EQ(fs_->replaces, 1);
    EXPECT_EQ(fs_->files["CPL.ini"].bytes, "[Hifi]\r\neq_0=3\r\neq_1=-4\r\nCustomize=0\r\n");
    EXPECT_TRUE(WriteSettingText(kCplIni, "Hifi", "eq_1", "-4"));
    EXPECT_EQ(fs_->replaces, 1) << "the same value again leaves the file alone";
    EXPECT_EQ(ReadSettingInt(kCplIni, "Hifi", "eq_1"), -4);
    EXPECT_FALSE(WriteSettingTexts(kCplIni, "Hifi", {{"eq_2", "1"}, {"bad=key", "1"}}));
    EXPECT_EQ(ReadSettingInt(kCplIni, "Hifi", "eq_2"), 1) << "the good keys of a batch are written";
    SetSettingsBackend(nullptr);
}

TEST_F(CachedSettings, AFailedWriteLeavesFileAndAnswersAsTheyWere) {
    fs_->Put("CPL.ini", "[CPL]\r\nlanguage=1\r\n", fs_->now - kSettled);
    fs_->failReplace = true;
    EXPECT_FALSE(settings_->WriteText("CPL.ini", "CPL", "language", "2"));
    EXPECT_EQ(settings_->ReadInt("CPL.ini", "CPL", "language"), 1);
    fs_->failReplace = false;

    fs_->files["CPL.ini"].readOnly = true;
    EXPECT_FALSE(settings_->WriteText("CPL.ini", "CPL", "language", "2"));
    EXPECT_EQ(fs_->files["CPL.ini"].bytes, "[CPL]\r\nlanguage=1\r\n");
    fs_->files["CPL.ini"].readOnly = false;

    // changed by another program and locked: not written over, read from the last image
    fs_->Put("CPL.ini", "[CPL]\r\nlanguage=0\r\nHeadPhone=1\r\n", fs_->now - kSettled + 5);
    fs_->files["CPL.ini"].unreadable = true;
    EXPECT_FALSE(settings_->WriteText("CPL.ini", "CPL", "language", "2"));
    EXPECT_EQ(settings_->ReadInt("CPL.ini", "CPL", "language"), 1);
    fs_->files["CPL.ini"].unreadable = false;
    EXPECT_EQ(settings_->ReadInt("CPL.ini", "CPL", "HeadPhone"), 1);
}

// A burst of writes held back: each file is replaced once at the end, with the bytes the writes
// one by one would have left, also when another program changed the file meanwhile.
TEST_F(CachedSettings, HeldWritesReplaceEachFileOnceWithWhatTheWritesOneByOneLeave) {
    const std::string start = "; kept\r\n[CPL]\r\nlanguage=1\r\n[Hifi]\r\neq_0=2\r\n";
    const auto burst = [](SettingsBackend& s) {
        EXPECT_TRUE(s.WriteText("CPL.ini", "Hifi", "EQPreset", "7"));
        EXPECT_TRUE(s.WriteText("CPL.ini", "CPL", "HeadPhone", "1"));
        EXPECT_EQ(s.ReadInt("CPL.ini", "Hifi", "EQPreset"), 7) << "reads see a held write";
        const SettingText bands[] = {{"eq_0", "-3"}, {"eq_1", "4"}};
        EXPECT_TRUE(s.WriteTexts("CPL.ini", "Hifi", bands));
        EXPECT_TRUE(s.WriteText("CPL.ini", "Hifi", "eq_0", "5"));  // the later write wins
        EXPECT_TRUE(s.WriteText("Custom.ini", "Rock", "eq_0", "1"));
        EXPECT_FALSE(s.WriteText("CPL.ini", "Hifi", "bad=key", "1"));
    };
    FakeFiles* oneByOne = nullptr;
    {
        auto files = std::make_unique<FakeFiles>();
        oneByOne = files.get();
        oneByOne->Put("CPL.ini", start, oneByOne->now - kSettled);
        IniSettings settings(std::move(files), true);
        burst(settings);
        EXPECT_EQ(oneByOne->replaces, 5);
        const std::string expected = oneByOne->files["CPL.ini"].bytes;

        fs_->Put("CPL.ini", start, fs_->now - kSettled);
        settings_->HoldWrites();
        settings_->HoldWrites();
        burst(*settings_);
        EXPECT_TRUE(settings_->ReleaseWrites());
        EXPECT_EQ(fs_->replaces, 0) << "an inner release stores nothing";
        EXPECT_TRUE(settings_->ReleaseWrites());
        EXPECT_EQ(fs_->replaces, 2) << "one replacement a file";
        EXPECT_EQ(fs_->files["CPL.ini"].bytes, expected);
        EXPECT_EQ(fs_->files["Custom.ini"].bytes, oneByOne->files["Custom.ini"].bytes);
        EXPECT_EQ(settings_->ReadInt("CPL.ini", "Hifi", "eq_0"), 5);
    }

    // another program writes the file while writes are held: its key stays
    fs_->Put("CPL.ini", start, fs_->now - kSettled);
    settings_->HoldWrites();
    EXPECT_TRUE(settings_->WriteText("CPL.ini", "Hifi", "EQPreset", "3"));
    fs_->Put("CPL.ini", start + "[AD]\r\nKey=9\r\n", fs_->now);
    EXPECT_TRUE(settings_->FlushWrites());
    EXPECT_EQ(fs_->files["CPL.ini"].bytes,
              "; kept\r\n[CPL]\r\nlanguage=1\r\n[Hifi]\r\neq_0=2\r\nEQPreset=3\r\n[AD]\r\n"
              "Key=9\r\n");
    const int replaces = fs_->replaces;
    EXPECT_TRUE(settings_->ReleaseWrites());
    EXPECT_EQ(fs_->replaces, replaces) << "nothing held after the flush";

    // a file that cannot be replaced: the release says so, and the next read sees the file
    settings_->HoldWrites();
    EXPECT_TRUE(settings_->WriteText("CPL.ini", "Hifi", "EQPreset", "4"));
    fs_->failReplace = true;
    EXPECT_FALSE(settings_->ReleaseWrites());
    fs_->failReplace = false;
    EXPECT_EQ(settings_->ReadInt("CPL.ini", "Hifi", "EQPreset"), 3);

    // a read-only file refuses a held write at once, as an unheld one
    fs_->files["CPL.ini"].readOnly = true;
    settings_->HoldWrites();
    EXPECT_FALSE(settings_->WriteText("CPL.ini", "Hifi", "EQPreset", "5"));
    EXPECT_TRUE(settings_->ReleaseWrites());
}

// Random bursts of writes and reads, held and one by one, over files absent, present, or
// replaced or removed by another program during the burst: every read of the held burst answers
// what the one-by-one burst's does, and each file ends the same. Held writes are made at the
// release, so another program's change counts as made before them: the one-by-one side makes
// its writes so far again after that change.
TEST(HeldWrites, ReadAndEndAsTheWritesOneByOne) {
    enum class Start { kAbsent, kPresent, kReplaced, kRemoved };
    const char* const files[] = {"CPL.ini", "Custom.ini"};
    const char* const sections[] = {"CPL", "Hifi"};
    const char* const keys[] = {"RoomEnable", "eq_0", "language"};
    const std::string start = "[CPL]\r\nlanguage=1\r\n[Hifi]\r\neq_0=2\r\n";
    std::mt19937 rng(40);
    const auto pick = [&rng](int n) { return int(rng() % unsigned(n)); };
    int reads = 0, wrong = 0;
    for (const Start kind : {Start::kAbsent, Start::kPresent, Start::kReplaced, Start::kRemoved}) {
        for (int round = 0; round < 200; ++round) {
            FakeFiles* fake[2] = {};
            std::unique_ptr<IniSettings> settings[2];  // one by one, held
            for (int s = 0; s < 2; ++s) {
                auto owned = std::make_unique<FakeFiles>();
                fake[s] = owned.get();
                if (kind != Start::kAbsent)
                    for (const char* f : files) fake[s]->Put(f, start, fake[s]->now - 30'000'000);
                settings[s] = std::make_unique<IniSettings>(std::move(owned), true);
            }
            settings[1]->HoldWrites();
            const int steps = 1 + pick(12), outside = pick(steps);
            std::vector<std::array<std::string, 4>> written;
            for (int step = 0; step < steps; ++step) {
                const char* file = files[pick(2)];
                const char* section = sections[pick(2)];
                const char* key = keys[pick(3)];
                const std::string value = std::to_string(pick(3));
                const bool read = pick(3) == 0;
                for (int s = 0; s < 2; ++s) {
                    fake[s]->now += 1000;
                    if (step == outside && kind == Start::kReplaced)
                        fake[s]->Put("CPL.ini", "[Hifi]\r\nRoomEnable=7\r\n", fake[s]->now);
                    if (step == outside && kind == Start::kRemoved) fake[s]->files.erase("CPL.ini");
                }
                if (step == outside && kind >= Start::kReplaced)
                    for (const auto& [f, sec, k, v] : written) settings[0]->WriteText(f, sec, k, v);
                if (!read) {
                    for (auto& s : settings) s->WriteText(file, section, key, value);
                    written.push_back({file, section, key, value});
                }
                if (read) {
                    ++reads;
                    if (settings[0]->ReadText(file, section, key) !=
                        settings[1]->ReadText(file, section, key))
                        ++wrong;
                }
            }
            EXPECT_TRUE(settings[1]->ReleaseWrites());
            for (const char* f : files) {
                const bool had = fake[0]->files.count(f) != 0;
                EXPECT_EQ(had, fake[1]->files.count(f) != 0) << f;
                if (had) {
                    EXPECT_EQ(fake[0]->files[f].bytes, fake[1]->files[f].bytes) << f;
                }
            }
        }
    }
    EXPECT_GT(reads, 500);
    EXPECT_EQ(wrong, 0) << "of " << reads << " reads";
}

// A held write that cannot be stored when the hold ends is reported, though the hold's owner
// has nobody to tell.
TEST(HeldWrites, AWriteThatCannotBeStoredIsReportedByTheRelease) {
    auto owned = std::make_unique<FakeFiles>();
    FakeFiles* fake = owned.get();
    IniSettings settings(std::move(owned), true);
    SetSettingsBackend(&settings);
    const unsigned before = HandledFailureCount();
    {
        const HeldSettingsWrites hold;
        EXPECT_TRUE(WriteSettingText(kCplIni, "Hifi", "RoomEnable", "0"));
        EXPECT_EQ(ReadSettingInt(kCplIni, "Hifi", "RoomEnable"), 0);
        fake->failReplace = true;
    }
    EXPECT_EQ(HandledFailureCount(), before + 1);
    fake->failReplace = false;
    {
        const HeldSettingsWrites hold;
        EXPECT_TRUE(WriteSettingText(kCplIni, "Hifi", "RoomEnable", "0"));
    }
    EXPECT_EQ(HandledFailureCount(), before + 1) << "a stored write is no failure";
    EXPECT_EQ(fake->files["CPL.ini"].bytes, "[Hifi]\r\nRoomEnable=0\r\n");
    SetSettingsBackend(nullptr);
}

// Integers read through the platform's 30-character buffer, quotes and all.
TEST_F(CachedSettings, IntegersReadThroughTheThirtyCharacterBuffer) {
    fs_->Put("CPL.ini",
             "[s]\r\na=\"12\"\r\nb=\"" + std::string(29, '1') + "\"\r\nc=\"\"\r\nd=  -5\r\n",
             fs_->now - kSettled);
    EXPECT_EQ(settings_->ReadInt("CPL.ini", "s", "a"), 12);
    EXPECT_EQ(settings_->ReadInt("CPL.ini", "s", "b"),
              ParseProfileInt(std::string(28, '1')));  // the closing quote cost a digit
    EXPECT_EQ(settings_->ReadInt("CPL.ini", "s", "c"), -1);
    EXPECT_EQ(settings_->ReadInt("CPL.ini", "s", "d"), -5);
}

}  // namespace
