// The private-profile settings backend against real files under Wine.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>

#include "base/text_win32.h"
#include "settings/profile_settings_win32.h"
#include "settings/settings.h"
#include "settings_files_win32.h"

using namespace quorelle;

namespace {

class ProfileFile : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = quorelle::testing::PrivateDirectory(
            L"quorelle-profile-" +
            Widen(::testing::UnitTest::GetInstance()->current_test_info()->name()) + L"-");
        backend_ = std::make_unique<ProfileSettings>(dir_);
        SetSettingsBackend(backend_.get());
    }
    void TearDown() override {
        SetSettingsBackend(nullptr);
        quorelle::testing::RemoveDirectoryAndFiles(dir_);
    }
    void WriteRaw(const wchar_t* file, const std::string& text) {
        ASSERT_TRUE(quorelle::testing::WriteBytes(dir_ + file, text));
    }
    bool Exists(const wchar_t* file) {
        return GetFileAttributesW((dir_ + file).c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    std::wstring dir_;
    std::unique_ptr<ProfileSettings> backend_;
};

TEST_F(ProfileFile, NoFileGivesDefaultsAndTheFirstWriteCreatesIt) {
    EXPECT_EQ(ReadSettingInt(kCplIni, "CPL", "language"), -1);
    EXPECT_EQ(ReadSettingText(kCplIni, "Info", "DriverVer"), "");
    EXPECT_FALSE(Exists(L"CPL.ini"));
    EXPECT_TRUE(WriteSettingText(kCplIni, "CPL", "language", "2"));
    EXPECT_TRUE(Exists(L"CPL.ini"));
    EXPECT_EQ(ReadSettingInt(kCplIni, "CPL", "language"), 2);
}

TEST_F(ProfileFile, NegativeNumbersAndImmediateVisibility) {
    WriteSettingInt(kCplIni, "Hifi", "eq_3", -7);
    EXPECT_EQ(ReadSettingInt(kCplIni, "Hifi", "eq_3"), -7);
    WriteSettingText(kCplIni, "CPL", "DigitalOutSr", "1");
    EXPECT_EQ(ReadSettingInt(kCplIni, "CPL", "DigitalOutSr"), 1);
    WriteSettingText(kCplIni, "CPL", "DigitalOutSr", "0");
    EXPECT_EQ(ReadSettingInt(kCplIni, "CPL", "DigitalOutSr"), 0);
    EXPECT_EQ(ReadSettingInt(kCplIni, "Hifi", "eq_3"), -7);
}

TEST_F(ProfileFile, LongValuesAreCutTo1023Bytes) {
    WriteRaw(L"CPL.ini", "[Info]\r\nOS=" + std::string(2000, 'x') + "\r\n");
    EXPECT_EQ(ReadSettingText(kCplIni, "Info", "OS"), std::string(1023, 'x'));
}

TEST_F(ProfileFile, AReadOnlyFileRefusesWrites) {
    WriteRaw(L"CPL.ini", "[CPL]\r\nlanguage=1\r\n");
    SetFileAttributesW((dir_ + L"CPL.ini").c_str(), FILE_ATTRIBUTE_READONLY);
    // as on Windows, also where Wine runs as root and could replace the file
    EXPECT_FALSE(WriteSettingText(kCplIni, "CPL", "language", "0"));
    EXPECT_EQ(ReadSettingInt(kCplIni, "CPL", "language"), 1);
}

TEST_F(ProfileFile, ChangesByOtherProgramsAreSeenAtTheNextAccess) {
    WriteRaw(L"CPL.ini", "; setup\r\n[CPL]\r\nlanguage=1\r\n");
    EXPECT_EQ(ReadSettingInt(kCplIni, "CPL", "language"), 1);
    WriteRaw(L"CPL.ini", "; setup\r\n[CPL]\r\nlanguage=12\r\n");
    EXPECT_EQ(ReadSettingInt(kCplIni, "CPL", "language"), 12);
    const std::wstring path = dir_ + L"CPL.ini";
    WritePrivateProfileStringW(L"Hifi", L"eq_0", L"-3", path.c_str());
    EXPECT_EQ(ReadSettingInt(kCplIni, "Hifi", "eq_0"), -3);
    // a write of ours keeps what the other program wrote, and the platform reads ours
    EXPECT_TRUE(WriteSettingTexts(kCplIni, "Hifi", {{"eq_1", "4"}, {"Customize", "0"}}));
    EXPECT_EQ(GetPrivateProfileIntW(L"Hifi", L"eq_0", 99, path.c_str()), static_cast<UINT>(-3));
    EXPECT_EQ(GetPrivateProfileIntW(L"Hifi", L"eq_1", 99, path.c_str()), 4u);
    EXPECT_EQ(GetPrivateProfileIntW(L"CPL", L"language", 99, path.c_str()), 12u);
}

TEST_F(ProfileFile, ALockedFileRefusesWritesQuietly) {
    WriteRaw(L"CPL.ini", "[CPL]\r\nlanguage=1\r\n");
    HANDLE lock = CreateFileW((dir_ + L"CPL.ini").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(WriteSettingText(kCplIni, "CPL", "language", "0"));
    CloseHandle(lock);
    EXPECT_EQ(ReadSettingInt(kCplIni, "CPL", "language"), 1);

    // known already, locked while it is replaced: tried again for a moment, then refused
    lock = CreateFileW((dir_ + L"CPL.ini").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_FALSE(WriteSettingText(kCplIni, "CPL", "language", "0"));
    EXPECT_EQ(ReadSettingInt(kCplIni, "CPL", "language"), 1) << "answered from the last image";
    CloseHandle(lock);
    EXPECT_TRUE(WriteSettingText(kCplIni, "CPL", "language", "0"));
    EXPECT_EQ(ReadSettingInt(kCplIni, "CPL", "language"), 0);
    EXPECT_EQ(GetPrivateProfileIntW(L"CPL", L"language", 9, (dir_ + L"CPL.ini").c_str()), 0u);
}

TEST_F(ProfileFile, TextsTheCodePageCannotHoldAreToldApart) {
    EXPECT_TRUE(SettingTextFits("Rock 2"));
    EXPECT_EQ(SettingTextFits("\xE4\xB8\xAD\xE6\x96\x87"), GetACP() == 936);  // Chinese
    if (GetACP() == 1252) {
        EXPECT_TRUE(SettingTextFits("Caf\xC3\xA9"));
        EXPECT_FALSE(SettingTextFits("\xC4\x80")) << "no look-alike stands in for A with macron";
    }
}

// The portable reader the native tests use must read integers exactly as the platform does.
TEST_F(ProfileFile, IntegersReadAsThePortableReaderReadsThem) {
    const char* values[] = {"-7",
                            "  42xyz",
                            "+5",
                            "abc",
                            "-",
                            "0x1F",
                            "0X1F",
                            "0b101",
                            "0o17",
                            "010",
                            "4294967295",
                            "4294967297",
                            "-2147483648",
                            "2147483648",
                            "12 34",
                            "\t9",
                            "99999999999999999999999999999999999"};
    auto keyOf = [](std::size_t i) {
        std::string key = "k";
        key += std::to_string(i);
        return key;
    };
    std::string text = "[T]\r\n";
    for (std::size_t i = 0; i < std::size(values); ++i) text += keyOf(i) + "=" + values[i] + "\r\n";
    WriteRaw(L"CPL.ini", text);
    for (std::size_t i = 0; i < std::size(values); ++i) {
        std::string v = ReadSettingText(kCplIni, "T", keyOf(i));
        EXPECT_EQ(ReadSettingInt(kCplIni, "T", keyOf(i)),
                  ParseProfileInt(std::string_view(v).substr(0, 29)))
            << "value \"" << values[i] << "\"";
    }
}

TEST(ProfileProgramDirectory, FilesLiveBesideTheExecutableNotInTheCurrentDirectory) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    wchar_t oldCwd[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, oldCwd);
    SetCurrentDirectoryW(temp);

    ProfileSettings program;
    SetSettingsBackend(&program);
    const std::string key = "probe" + std::to_string(GetCurrentProcessId());
    EXPECT_TRUE(WriteSettingText(kCustomIni, "Test", key, "1"));
    const std::wstring besideExe = ProgramDirectory() + L"Custom.ini";
    EXPECT_NE(GetFileAttributesW(besideExe.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ReadSettingInt(kCustomIni, "Test", key), 1);
    DeleteFileW(besideExe.c_str());
    SetSettingsBackend(nullptr);
    SetCurrentDirectoryW(oldCwd);
}

}  // namespace
