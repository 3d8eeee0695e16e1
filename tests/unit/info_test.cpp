// The information page's model: the texts its labels show for the settings files a user can
// have, and which presses open the web address.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "base/texts.h"
#include "page_test_support.h"
#include "pages/info.h"
#include "settings/ini_file.h"
#include "settings/settings.h"

namespace fs = std::filesystem;
using namespace quorelle;
using namespace quorelle::pages;

namespace {

class InfoPage : public ::testing::Test {
  protected:
    void SetUp() override { SetSettingsBackend(&settings_); }
    void TearDown() override {
        SetSettingsBackend(nullptr);
        fs::remove_all(dir_);
    }
    void WriteCplIni(const std::string& text) {
        std::ofstream(dir_ / kCplIni, std::ios::binary | std::ios::trunc) << text;
    }
    fs::path dir_ = quorelle::testing::FreshTestDirectory("quorelle-info-");
    IniFileSettings settings_{dir_};
};

TEST_F(InfoPage, VersionTextsStandAsStoredAndTheFixedTextsFollowInOrder) {
    const std::string longText(1500, 'x');
    struct {
        const char* what;
        std::string cplIni;  // empty: no file at all
        std::string os, driver, cpl;
    } cases[] = {
        {"no file", "", "", "", ""},
        {"only OS", "[Info]\r\nOS=Windows 10 Pro 10.0.19045\r\n", "Windows 10 Pro 10.0.19045", "",
         ""},
        {"all keys, ampersands and blanks kept",
         "[CPL]\r\nlanguage=2\r\n[Info]\r\nOS=Windows 11 Home & Student\r\n"
         "DriverVer=6.0.1.&8 beta\r\nCPLVer=1.0.0.1\r\n",
         "Windows 11 Home & Student", "6.0.1.&8 beta", "1.0.0.1"},
        {"empty values, same names in another section",
         "[CPL]\r\nOS=not this\r\nCPLVer=nor this\r\n[Info]\r\nOS=\r\nDriverVer=\r\n", "", "", ""},
        {"a text longer than the read buffer is cut", "[Info]\r\nDriverVer=" + longText + "\r\n",
         "", longText.substr(0, kMaxSettingText), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove(dir_ / kCplIni);
        if (!c.cplIni.empty()) WriteCplIni(c.cplIni);

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
        EXPECT_EQ(fs::exists(dir_ / kCplIni), !c.cplIni.empty()) << "the page never writes";
    }
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
