// The start-up sequences of the four users of the device library, against the recording fake.
#include <gtest/gtest.h>

#include <algorithm>

#include "device/selection.h"
#include "device_fake_conflib.h"
#include "pages/device_user.h"

using namespace quorelle;
using namespace quorelle::device;
using Calls = std::vector<std::string>;

namespace {

class DeviceUserTest : public ::testing::Test {
  protected:
    void SetUp() override {
        theOutputDevice = {};
        theInputDevice = {};
        fake.outputs = {{10, 1, 0, 1}, {12, 4, 0, 1}};
        fake.inputs = {{20, 2, 0, 1}};
    }
    void TearDown() override {
        theOutputDevice = {};
        theInputDevice = {};
    }
    device::testing::FakeConfLib fake;
    device::testing::RecordingNotices notices;
};

TEST_F(DeviceUserTest, MainWindowCountsAndLeavesSelectionToItsCaller) {
    {
        pages::DeviceUser user;
        EXPECT_TRUE(user.StartMainWindow(true));
        EXPECT_EQ(user.OutputCount(), 2u);
        EXPECT_EQ(fake.calls, (Calls{"ConfLibInit", "CreateDeviceList", "GetDeviceCount"}));
    }
    EXPECT_EQ(fake.calls.back(), "ConfLibUnInit") << "the user's teardown balances its init";
    EXPECT_TRUE(notices.shown.empty());
}

TEST_F(DeviceUserTest, APageSelectsTheAnalogOutput) {
    pages::DeviceUser user;
    EXPECT_TRUE(user.StartPage(true));
    EXPECT_EQ(theOutputDevice.device.id, 10);
    user.UnInit();
    user.UnInit();
    EXPECT_EQ(std::count(fake.calls.begin(), fake.calls.end(), "ConfLibUnInit"), 1);
}

TEST_F(DeviceUserTest, NoDeviceIsReportedByTheMainWindowAndThePages) {
    fake.outputs.clear();
    pages::DeviceUser main, page;
    EXPECT_FALSE(main.StartMainWindow(true));
    EXPECT_FALSE(page.StartPage(true));
    EXPECT_EQ(notices.shown, (std::vector<std::string>{"No device!", "No device!"}));
    EXPECT_EQ(theOutputDevice.device.id, 0) << "nothing is selected";
}

TEST_F(DeviceUserTest, WithoutTheLibraryNothingIsCalledAtAll) {
    {
        pages::DeviceUser user;
        EXPECT_FALSE(user.StartPage(false));
        EXPECT_EQ(user.StartHeadphonePage(false), pages::HeadphoneStart::Stopped);
    }
    EXPECT_TRUE(fake.calls.empty());
    EXPECT_TRUE(notices.shown.empty());
}

TEST_F(DeviceUserTest, HeadphonePageReportsAFailedInitAndSelectsNothing) {
    fake.initResult = 3;
    {
        pages::DeviceUser user;
        EXPECT_EQ(user.StartHeadphonePage(true), pages::HeadphoneStart::Unprobed);
        EXPECT_EQ(notices.shown, (std::vector<std::string>{"ConfLibInit called failed!"}));
        EXPECT_EQ(fake.calls, (Calls{"ConfLibInit"}));
    }
    EXPECT_EQ(fake.calls.back(), "ConfLibUnInit");
}

TEST_F(DeviceUserTest, HeadphonePageStopsQuietlyWithoutADevice) {
    fake.outputs.clear();
    pages::DeviceUser user;
    EXPECT_EQ(user.StartHeadphonePage(true), pages::HeadphoneStart::Stopped);
    EXPECT_TRUE(notices.shown.empty());
}

TEST_F(DeviceUserTest, HeadphonePageWithoutAnInitEntryPointSkipsTheDeviceWork) {
    ConfLibSlots().ConfLibInit = nullptr;
    pages::DeviceUser user;
    EXPECT_EQ(user.StartHeadphonePage(true), pages::HeadphoneStart::Unprobed);
    EXPECT_TRUE(fake.calls.empty());
    EXPECT_EQ(theOutputDevice.device.id, 0);
}

}  // namespace
