// The information page's model: the texts its labels show for the settings files a user can
// have, and which presses open the web address.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>

#include "app/texts.h"
#include "pages/info.h"
#include "settings/ini_file.h"
#include "settings/settings.h"

namespace fs = std::filesystem;
using namespace quorelle;
using namespace quorelle::pages;

namespace {

struct InfoCase {
    const char* what;
    const char* cplIni;  // nullptr: no file at all
    const char* os;
    const char* driver;
    const char* cpl;
};

void PrintTo(const InfoCase& c, std::ostream* os) {
    *os << c.what;
}

const std::string kLong(1500, 'x');

class InfoPageTexts : public ::testing::TestWithParam<InfoCase> {
  protected:
    void SetUp() override {
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(name.begin(), name.end(), '/', '-');
        dir_ = fs::temp_directory_path() / ("quorelle-info-" + name);
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        settings_ = std::make_unique<IniFileSettings>(dir_);
        SetSettingsBackend(settings_.get());
    }
    void TearDown() override {
        SetSettingsBackend(nullptr);
        fs::remove_all(dir_);
    }
    fs::path dir_;
    std::unique_ptr<IniFileSettings> settings_;
};

TEST_P(InfoPageTexts, VersionTextsStandAsStoredAndTheFixedTextsFollowInOrder) {
    const InfoCase& c = GetParam();
    if (c.cplIni) std::ofstream(dir_ / kCplIni, std::ios::binary) << c.cplIni;

    const auto texts = FillVersionInfo();
    const int order[7] = {1065, 1066, 1068, 1067, 1069, 1070, 1071};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(texts[i].labelId, order[i]) << i;
    EXPECT_EQ(texts[0].text, c.os);
    EXPECT_EQ(texts[1].text, c.driver);
    EXPECT_EQ(texts[2].text, "11");
    EXPECT_EQ(texts[3].text, c.cpl);
    EXPECT_EQ(texts[4].text, "Vandrexo Aurvel Audio Configuration");
    EXPECT_EQ(texts[5].text, kInfoCopyright);
    EXPECT_EQ(texts[6].text, kInfoWebAddress);
    EXPECT_FALSE(fs::exists(dir_ / kCplIni) && !c.cplIni) << "the page never writes the file";
}

INSTANTIATE_TEST_SUITE_P(
    SettingsFiles, InfoPageTexts,
    ::testing::Values(
        InfoCase{"no file", nullptr, "", "", ""},
        InfoCase{"only OS", "[Info]\r\nOS=Windows 10 Pro 10.0.19045\r\n",
                 "Windows 10 Pro 10.0.19045", "", ""},
        InfoCase{"all keys, ampersands and blanks kept",
                 "[CPL]\r\nlanguage=2\r\n[Info]\r\nOS=Windows 11 Home & Student\r\n"
                 "DriverVer=6.0.1.&8 beta\r\nCPLVer=1.0.0.1\r\n",
                 "Windows 11 Home & Student", "6.0.1.&8 beta", "1.0.0.1"},
        InfoCase{"empty values, same names in another section",
                 "[CPL]\r\nOS=not this\r\nCPLVer=nor this\r\n[Info]\r\nOS=\r\nDriverVer=\r\n", "",
                 "", ""},
        InfoCase{"Chinese text", "[Info]\r\nOS=\xE4\xB8\xAD\xE6\x96\x87\xE7\x89\x88 10\r\n",
                 "\xE4\xB8\xAD\xE6\x96\x87\xE7\x89\x88 10", "", ""}),
    [](const auto& info) { return std::to_string(info.index); });

TEST(InfoPageTextsLong, AVersionTextLongerThanTheReadBufferIsCut) {
    const fs::path dir = fs::temp_directory_path() / "quorelle-info-long";
    fs::remove_all(dir);
    fs::create_directories(dir);
    IniFileSettings settings(dir);
    SetSettingsBackend(&settings);
    std::ofstream(dir / kCplIni, std::ios::binary) << "[Info]\r\nDriverVer=" << kLong << "\r\n";
    EXPECT_EQ(FillVersionInfo()[1].text, kLong.substr(0, kMaxSettingText));
    SetSettingsBackend(nullptr);
    fs::remove_all(dir);
}

TEST(InfoPagePress, OnlyAPressInsideTheAddressLabelOpensIt) {
    const Rect address{442, 199, 684, 254};
    struct {
        Point p;
        bool opens;
    } cases[] = {
        {{442, 199}, true},  {{683, 253}, true},  {{560, 230}, true},
        {{684, 230}, false}, {{560, 254}, false}, {{441, 230}, false},
        {{560, 198}, false}, {{100, 100}, false}, {{-5, -5}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PressOpensWebAddress(c.p, address), c.opens) << c.p.x << "," << c.p.y;
}

}  // namespace
