// Settings access through real INI files in a temporary directory.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "settings/ini_file.h"
#include "settings/settings.h"

namespace fs = std::filesystem;
using namespace quorelle;

namespace {

class SettingsFile : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("quorelle-settings-" +
                std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        backend_ = std::make_unique<IniFileSettings>(dir_);
        SetSettingsBackend(backend_.get());
    }
    void TearDown() override {
        SetSettingsBackend(nullptr);
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir_);
    }
    void WriteRaw(const std::string& file, const std::string& text) {
        std::ofstream(dir_ / file, std::ios::binary) << text;
    }
    std::string ReadRaw(const std::string& file) {
        std::ifstream in(dir_ / file, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    fs::path dir_;
    std::unique_ptr<IniFileSettings> backend_;
};

TEST_F(SettingsFile, NoFileGivesDefaultsAndTheFirstWriteCreatesIt) {
    EXPECT_EQ(ReadSettingInt(kCplIni, "CPL", "language"), -1);
    EXPECT_EQ(ReadSettingText(kCplIni, "Info", "OS"), "");
    EXPECT_FALSE(fs::exists(dir_ / kCplIni)) << "reads never create the file";

    EXPECT_TRUE(WriteSettingText(kCplIni, "CPL", "DigitalOutSr", "1"));
    EXPECT_TRUE(fs::exists(dir_ / kCplIni));
    EXPECT_EQ(ReadSettingInt(kCplIni, "CPL", "DigitalOutSr"), 1);
    EXPECT_EQ(ReadSettingInt(kCplIni, "CPL", "HeadPhone"), -1) << "other keys stay absent";
}

TEST_F(SettingsFile, NegativeNumbersRoundTrip) {
    WriteSettingInt(kCplIni, "Hifi", "eq_3", -7);
    EXPECT_EQ(ReadSettingText(kCplIni, "Hifi", "eq_3"), "-7");
    EXPECT_EQ(ReadSettingInt(kCplIni, "Hifi", "eq_3"), -7);
    WriteSettingInt(kCplIni, "Hifi", "InitialButtonOn", -1);
    EXPECT_EQ(ReadSettingInt(kCplIni, "Hifi", "InitialButtonOn"), -1);
}

TEST_F(SettingsFile, AWriteIsSeenAtOnceAndKeepsEveryOtherKey) {
    WriteRaw(kCplIni,
             "; installed by setup\r\n[CPL]\r\nlanguage=2\r\n\r\n[Info]\r\nOS=Windows 11\r\n");
    WriteSettingText(kCplIni, "CPL", "DigitalOutSr", "1");
    EXPECT_EQ(ReadSettingInt(kCplIni, "CPL", "DigitalOutSr"), 1);
    WriteSettingText(kCplIni, "CPL", "DigitalOutSr", "0");
    EXPECT_EQ(ReadSettingInt(kCplIni, "CPL", "DigitalOutSr"), 0);
    WriteSettingText(kCplIni, "Hifi", "Bass", "20");
    EXPECT_EQ(ReadSettingInt(kCplIni, "CPL", "language"), 2);
    EXPECT_EQ(ReadSettingText(kCplIni, "Info", "OS"), "Windows 11");
    EXPECT_EQ(ReadSettingInt(kCplIni, "Hifi", "Bass"), 20);
    EXPECT_EQ(ReadRaw(kCplIni),
              "; installed by setup\r\n[CPL]\r\nlanguage=2\r\nDigitalOutSr=0\r\n\r\n"
              "[Info]\r\nOS=Windows 11\r\n[Hifi]\r\nBass=20\r\n");
}

TEST_F(SettingsFile, TheTwoFilesAreSeparate) {
    WriteSettingText(kCustomIni, "Hifi", "CustomCount", "2");
    EXPECT_EQ(ReadSettingInt(kCustomIni, "Hifi", "CustomCount"), 2);
    EXPECT_EQ(ReadSettingInt(kCplIni, "Hifi", "CustomCount"), -1);
}

TEST_F(SettingsFile, NamesMatchWithoutCaseAndBlanksAndQuotesAreDropped) {
    WriteRaw(kCplIni, "[hifi]\nTREBLE = 33 \nName=\"  my preset \"\n[Hifi]\nBass=1\n");
    EXPECT_EQ(ReadSettingInt(kCplIni, "Hifi", "Treble"), 33);
    EXPECT_EQ(ReadSettingText(kCplIni, "Hifi", "name"), "  my preset ");
    EXPECT_EQ(ReadSettingInt(kCplIni, "Hifi", "Bass"), -1) << "the first section of a name wins";
    WriteSettingText(kCplIni, "HIFI", "treble", "5");
    EXPECT_EQ(ReadSettingInt(kCplIni, "Hifi", "Treble"), 5);
}

TEST_F(SettingsFile, LongValuesAreCutTo1023BytesWithoutSplittingACharacter) {
    WriteSettingText(kCplIni, "Info", "OS", std::string(2000, 'a'));
    EXPECT_EQ(ReadSettingText(kCplIni, "Info", "OS"), std::string(1023, 'a'));
    // 1022 ASCII bytes and a three-byte character: the character does not fit and is dropped
    WriteSettingText(kCplIni, "Info", "CPLVer", std::string(1022, 'b') + "\xE4\xBF\xA1");
    EXPECT_EQ(ReadSettingText(kCplIni, "Info", "CPLVer"), std::string(1022, 'b'));
}

TEST_F(SettingsFile, AReadOnlyFileRefusesWritesQuietly) {
    WriteRaw(kCplIni, "[CPL]\r\nlanguage=1\r\n");
    fs::permissions(dir_ / kCplIni, fs::perms::owner_read | fs::perms::group_read);
    EXPECT_FALSE(WriteSettingText(kCplIni, "CPL", "language", "2"));
    EXPECT_EQ(ReadSettingInt(kCplIni, "CPL", "language"), 1);
}

TEST_F(SettingsFile, AnUnwritableDirectoryFailsQuietly) {
    SetSettingsBackend(nullptr);
    IniFileSettings missing(dir_ / "no" / "such" / "dir");
    SetSettingsBackend(&missing);
    EXPECT_FALSE(WriteSettingText(kCplIni, "CPL", "language", "2"));
    EXPECT_EQ(ReadSettingInt(kCplIni, "CPL", "language"), -1);
    SetSettingsBackend(backend_.get());
}

TEST(SettingsWithoutBackend, ReadsGiveDefaultsAndWritesFail) {
    SetSettingsBackend(nullptr);
    EXPECT_EQ(ReadSettingInt(kCplIni, "CPL", "language"), -1);
    EXPECT_EQ(ReadSettingText(kCplIni, "CPL", "language"), "");
    EXPECT_FALSE(WriteSettingInt(kCplIni, "CPL", "language", 1));
}

// The integer read follows the platform's private-profile reader; the Win32 tests run the same
// table against the real functions.
TEST(ProfileInt, ReadsAsThePlatformDoes) {
    EXPECT_EQ(ParseProfileInt("-7"), -7);
    EXPECT_EQ(ParseProfileInt("  42xyz"), 42);
    EXPECT_EQ(ParseProfileInt("+5"), 5);
    EXPECT_EQ(ParseProfileInt("abc"), 0);
    EXPECT_EQ(ParseProfileInt("-"), 0);
    EXPECT_EQ(ParseProfileInt("0x1F"), 31);
    EXPECT_EQ(ParseProfileInt("0b101"), 5);
    EXPECT_EQ(ParseProfileInt("0o17"), 15);
    EXPECT_EQ(ParseProfileInt("010"), 10) << "a leading zero is not octal";
    EXPECT_EQ(ParseProfileInt("4294967295"), -1) << "wraps in 32 bits";
    EXPECT_EQ(ParseProfileInt("4294967297"), 1);
    EXPECT_EQ(ParseProfileInt("-2147483648"), INT32_MIN);
}

TEST(CutUtf8, NeverSplitsASequence) {
    EXPECT_EQ(CutUtf8("abc", 5), "abc");
    EXPECT_EQ(CutUtf8("abcdef", 3), "abc");
    EXPECT_EQ(CutUtf8("a\xE4\xBF\xA1", 3), "a");
    EXPECT_EQ(CutUtf8("a\xE4\xBF\xA1", 4), "a\xE4\xBF\xA1");
}

}  // namespace
