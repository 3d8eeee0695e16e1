// The HIFI page's reverb: environment list, previous / next, room picture, read-back.
#include "hifi_fixture.h"
#include "pages/reverb.h"

namespace quorelle::pages {
namespace {

using quorelle::testing::HifiFixture;
using Lines = std::array<std::string, 3>;

class ReverbTest : public HifiFixture {
  protected:
    void SetUp() override {
        HifiFixture::SetUp();
        WriteSettingText(kCplIni, "CPL", "language", "2");
    }
    HifiDevice device;
    Reverb reverb{device};
};

TEST_F(ReverbTest, TheListShowsItsNeighboursAndStaysEmptyOutsideTheTableOrTheLanguages) {
    reverb.ShowEnvironmentList(0);
    EXPECT_EQ(reverb.State().list, (Lines{"", "Generic", "Padded cell"}));
    reverb.ShowEnvironmentList(22);
    EXPECT_EQ(reverb.State().list, (Lines{"Dizzy", "Psychotic", ""}));
    reverb.ShowEnvironmentList(23);
    EXPECT_EQ(reverb.State().list, Lines{});
    reverb.ShowEnvironmentForDriver(9);
    EXPECT_EQ(reverb.State().list, (Lines{"Auditorium", "Cave", "Arena"}));
    reverb.ShowEnvironmentForDriver(4);  // no entry: the list stays
    EXPECT_EQ(reverb.State().list[1], "Cave");
    WriteSettingText(kCplIni, "CPL", "language", "1");
    reverb.ShowEnvironmentList(16);
    EXPECT_EQ(reverb.State().list, (Lines{"高山", "採石場", "平原"}));
    WriteSettingText(kCplIni, "CPL", "language", "3");
    reverb.ShowEnvironmentList(16);
    EXPECT_EQ(reverb.State().list, Lines{});
}

TEST_F(ReverbTest, PreviousAndNextStayInTheListAndAlwaysSendTheTablesNumber) {
    struct Case {
        const char* stored;  // nullptr: no key
        int direction;
        const char* index;
        int32_t driver;
    };
    const Case cases[] = {
        {nullptr, -1, "0", 0}, {"0", -1, "0", 0},
        {"22", +1, "22", 26},  {"19", +1, "20", 24},
        {"40", +1, "22", 26},  {"-7", +1, "0", 0},
        {"-1", +1, "0", 0},    {"-5", -1, "0", 0},
        {"23", -1, "22", 26},  {"99999999999", -1, "22", 26},
        {"1", -1, "0", 0},     {"21", +1, "22", 26},
    };
    Hifi({{"ENVEnable", "1"}, {"Envdriver", "999"}});
    reverb.RefreshEnvironment();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored ? c.stored : "missing");
        if (c.stored) Hifi({{"Environment", c.stored}});  // the first case has no key yet
        Clear();
        reverb.StepEnvironment(c.direction);
        EXPECT_EQ(Key("Environment"), c.index);
        EXPECT_EQ(Key("Envdriver"), std::to_string(c.driver));
        EXPECT_EQ(Sets(),
                  (std::vector<std::string>{"RFX_ENVIRONMENT=" + std::to_string(c.driver)}));
        EXPECT_EQ(reverb.State().list[1], kEnvironments[std::stoi(c.index)].names[2]);
    }
    reverb.ToggleEnvironment();  // off: the buttons do nothing
    Clear();
    reverb.StepEnvironment(-1);
    EXPECT_TRUE(Sets().empty());
    EXPECT_EQ(Key("Environment"), "22");
}

TEST_F(ReverbTest, EnvironmentSwitchSendsTheReverbSwitchTwiceAndNoEnvironment) {
    Hifi({{"Environment", "5"}});
    reverb.ToggleEnvironment();
    EXPECT_EQ(Key("ENVEnable"), "1");
    EXPECT_TRUE(reverb.State().panel.lit);
    EXPECT_EQ(Sets(), (std::vector<std::string>{"Enable_RFX_GFX=1", "Enable_RFX_GFX=1"}));
    EXPECT_EQ(reverb.State().list[1], "Auditorium");
}

TEST_F(ReverbTest, RoomZonesAreHalfOpenThirdsAndTheSizeSentIsTheSizeWritten) {
    const Rect picture{10, 20, 61, 69};  // 51 x 49: thirds of 16 rows, the rest at the bottom
    const std::pair<int, std::optional<int32_t>> rows[] = {
        {19, std::nullopt}, {20, 2}, {35, 2}, {36, 1}, {51, 1}, {52, 0}, {68, 0},
        {69, std::nullopt}};
    for (const auto& [y, size] : rows) EXPECT_EQ(RoomZone(picture, {30, y}), size) << "y " << y;
    EXPECT_EQ(RoomZone(picture, {61, 40}), std::nullopt);

    Hifi({{"RoomSize", "2"}});
    reverb.ChooseRoomSize(picture, {30, 40});  // room switch unlit: nothing
    EXPECT_EQ(Key("RoomSize"), "2");
    EXPECT_TRUE(Sets().empty());
    reverb.ToggleRoom();
    EXPECT_EQ(Key("RoomEnable"), "1");
    EXPECT_TRUE(reverb.State().roomLamps[2].lit);
    for (const auto& [y, size] : rows) {
        if (!size) continue;
        Clear();
        reverb.ChooseRoomSize(picture, {30, y});
        EXPECT_EQ(Key("RoomSize"), std::to_string(*size));
        EXPECT_EQ(Sets(), (std::vector<std::string>{"RFX_ROOMSIZE=" + std::to_string(*size)}));
        EXPECT_EQ(reverb.State().roomPicture, *size);
        for (int s = 0; s < 3; ++s) EXPECT_EQ(reverb.State().roomLamps[s].lit, s == *size);
    }
}

TEST_F(ReverbTest, ReadBackStoresTheSwitchesAndRoomSizeButNeverTheEnvironment) {
    fake.Answer8(u"Enable_RFX_GFX", "1");
    fake.Answer8(u"RFX_ENVIRONMENT", "13");
    fake.Answer8(u"RFX_ROOMSIZE", "0");
    Hifi({{"Environment", "2"}});
    reverb.ReadBack(false);
    EXPECT_EQ(Key("ENVEnable"), "1");
    EXPECT_EQ(Key("RoomEnable"), "1");
    EXPECT_EQ(Key("RoomSize"), "0");
    EXPECT_EQ(Key("Environment"), "2");
    EXPECT_EQ(reverb.State().list[1], "Hallway");
    EXPECT_TRUE(reverb.State().room.lit);
    EXPECT_TRUE(reverb.State().roomLamps[0].lit);
    EXPECT_EQ(Sets(), (std::vector<std::string>{"Enable_RFX_GFX=1"}));

    // hostile answers: nothing stored, the list and the room stay
    fake.Answer8(u"Enable_RFX_GFX", "", 1);
    fake.Answer8(u"RFX_ENVIRONMENT", "4294967309");
    fake.Answer8(u"RFX_ROOMSIZE", "7");
    Hifi({{"ENVEnable", "0"}});
    Clear();
    reverb.ReadBack(false);
    EXPECT_EQ(Key("ENVEnable"), "0");
    EXPECT_EQ(Key("RoomSize"), "0");
    EXPECT_EQ(reverb.State().list[1], "Hallway");
    EXPECT_TRUE(Sets().empty());

    // the page switched the reverb off itself: the card's 0 is not the user's choice
    fake.Answer8(u"Enable_RFX_GFX", "0");
    Hifi({{"ENVEnable", "1"}});
    reverb.ReadBack(true);
    EXPECT_EQ(Key("ENVEnable"), "1");
    EXPECT_EQ(Key("RoomEnable"), "1");
    EXPECT_EQ(Gets(),
              (std::vector<std::string>{"Enable_RFX_GFX", "RFX_ENVIRONMENT", "RFX_ROOMSIZE",
                                        "Enable_RFX_GFX", "RFX_ENVIRONMENT", "RFX_ROOMSIZE"}));
}

}  // namespace
}  // namespace quorelle::pages
