// Choosing the output and input device by kind, and reading their feature fields.
#include <gtest/gtest.h>

#include "device/selection.h"
#include "device_fake_conflib.h"

namespace quorelle::device {
namespace {

using testing::FakeConfLib;
using testing::RecordingNotices;

class Selection : public ::testing::Test {
  protected:
    void SetUp() override {
        theOutputDevice = {};
        theInputDevice = {};
        fake.Answer16(u"GetSupportFeature", u"7,0,0,0,9,0,12");
    }
    void TearDown() override {
        theOutputDevice = {};
        theInputDevice = {};
    }
    FakeConfLib fake;
    RecordingNotices notices;
    DeviceInfo info{DeviceDescriptor{10, 1, 0, 1}};  // a selected analog output
};

TEST_F(Selection, AnalogPrefersAnyActiveType1OverAnyActiveType7) {
    fake.outputs = {{11, 7, 0, 1}, {12, 4, 0, 1}, {13, 1, 0, 0}, {14, 1, 0, 1}, {15, 1, 0, 1}};
    fake.inputs = {{20, 2, 0, 1}};
    EXPECT_EQ(SelectOutputDevice(OUTPUT_ANALOG), 14);
    EXPECT_EQ(theOutputDevice.device, (DeviceDescriptor{14, 1, 0, 1}));
}

TEST_F(Selection, AnalogTakesTheFirstActiveType7WhenNoType1Fits) {
    fake.outputs = {{12, 4, 0, 1}, {11, 7, 3, 1}, {16, 7, 0, 1}};
    EXPECT_EQ(SelectOutputDevice(OUTPUT_ANALOG), 11);
    EXPECT_EQ(theOutputDevice.device, (DeviceDescriptor{11, 7, 3, 1}));
}

TEST_F(Selection, DigitalTakesTheFirstActiveType4AndNeverAnInactiveOne) {
    fake.outputs = {{10, 1, 0, 1}, {12, 4, 0, 0}, {13, 4, 0, 1}};
    EXPECT_EQ(SelectOutputDevice(OUTPUT_DIGITAL), 13);
    fake.outputs = {{10, 1, 0, 1}, {12, 4, 0, 2}};
    theOutputDevice = {};
    EXPECT_EQ(SelectOutputDevice(OUTPUT_DIGITAL), 2);  // nothing fits: the count
    EXPECT_EQ(theOutputDevice.device.id, 0);
}

TEST_F(Selection, DigitalWithOnlyAnalogDevicesKeepsTheDeviceAndReturnsTheCount) {
    fake.outputs = {{10, 1, 0, 1}, {11, 7, 0, 1}, {17, 1, 0, 1}};
    ASSERT_EQ(SelectOutputDevice(OUTPUT_ANALOG), 10);
    EXPECT_EQ(SelectOutputDevice(OUTPUT_DIGITAL), 3);
    EXPECT_EQ(theOutputDevice.device.id, 10);
    // analog with only a digital device: the same
    fake.outputs = {{12, 4, 0, 1}};
    EXPECT_EQ(SelectOutputDevice(OUTPUT_ANALOG), 1);
    EXPECT_EQ(theOutputDevice.device.id, 10);
}

TEST_F(Selection, AnUnknownKindTakesNothing) {
    fake.outputs = {{10, 1, 0, 1}, {12, 4, 0, 1}};
    EXPECT_EQ(SelectOutputDevice(12345), 2);
    EXPECT_EQ(theOutputDevice.device.id, 0);
}

TEST_F(Selection, TheInputDeviceIsTheFirstType2EvenWhenInactive) {
    fake.outputs = {{10, 1, 0, 1}};
    fake.inputs = {{21, 3, 0, 1}, {22, 2, 0, 0}, {23, 2, 0, 1}};
    SelectOutputDevice(OUTPUT_ANALOG);
    EXPECT_EQ(theInputDevice.device, (DeviceDescriptor{22, 2, 0, 0}));
}

TEST_F(Selection, AFoundInputMakesTheResultTheHeldOutputId) {
    fake.outputs = {{10, 1, 0, 1}, {11, 7, 0, 1}};
    fake.inputs = {{20, 2, 0, 1}};
    ASSERT_EQ(SelectOutputDevice(OUTPUT_ANALOG), 10);
    // digital finds nothing; with an input the result is the kept output's id, not the count
    EXPECT_EQ(SelectOutputDevice(OUTPUT_DIGITAL), 10);
    // without an input it is the count
    fake.inputs.clear();
    EXPECT_EQ(SelectOutputDevice(OUTPUT_DIGITAL), 2);
    // nothing ever selected and an input present: the zero id of the empty record
    theOutputDevice = {};
    fake.inputs = {{20, 2, 0, 1}};
    EXPECT_EQ(SelectOutputDevice(OUTPUT_DIGITAL), 0);
}

TEST_F(Selection, NoDeviceAtAllLeavesBothRecordsEmptyAndAsksNoFeatures) {
    EXPECT_EQ(SelectOutputDevice(OUTPUT_ANALOG), 0);
    EXPECT_EQ(theOutputDevice.device.type, 0);
    EXPECT_EQ(theInputDevice.device.type, 0);
    EXPECT_EQ(fake.CountOf("PropertyControl"), 0u);
    EXPECT_TRUE(notices.shown.empty());
}

TEST_F(Selection, ACountBeyondTheListTakesNothingFromTheMissingEntries) {
    // the count claims two devices but the list holds one; the library fills nothing for the
    // second index
    fake.outputs = {{10, 4, 0, 1}};
    fake.outputCount = 2;
    EXPECT_EQ(SelectOutputDevice(OUTPUT_ANALOG), 2);
    EXPECT_EQ(theOutputDevice.device.id, 0);
}

TEST_F(Selection, AHugeDeviceCountIsWalkedOnlyUpToTheBound) {
    fake.outputs = {{12, 4, 0, 1}};
    fake.outputCount = 0xFFFFFFFFu;
    fake.inputCount = 0x7FFFFFFFu;
    // analog: three passes over the bounded list find nothing; the result stays non-negative
    EXPECT_EQ(SelectOutputDevice(OUTPUT_ANALOG), INT32_MAX);
    EXPECT_EQ(fake.CountOf("GetDeviceById"), 4 * kMaxWalkedDevices);
    // a device inside the bound is still found
    fake.outputs = {{10, 1, 0, 0}, {11, 1, 0, 1}};
    EXPECT_EQ(SelectOutputDevice(OUTPUT_ANALOG), 11);
}

TEST_F(Selection, EveryPassAsksForEveryEntryUntilADeviceIsTaken) {
    fake.outputs = {{10, 1, 0, 1}, {11, 7, 0, 1}, {12, 4, 0, 1}};
    fake.inputs = {{20, 2, 0, 1}};
    SelectOutputDevice(OUTPUT_DIGITAL);
    // passes for types 1 and 7 walk all three entries, the type-4 pass stops at the third
    EXPECT_EQ(fake.CountOf("GetDeviceById"), 3u + 3u + 3u + 1u);
}

TEST_F(Selection, FeaturesAreQueriedForTheInputThenTheOutput) {
    fake.outputs = {{10, 1, 0, 1}};
    fake.inputs = {{20, 2, 0, 1}};
    SelectOutputDevice(OUTPUT_ANALOG);
    ASSERT_EQ(fake.properties.size(), 2u);
    EXPECT_EQ(fake.properties[0].device.id, 20);
    EXPECT_EQ(fake.properties[1].device.id, 10);
    for (const auto& p : fake.properties) {
        EXPECT_EQ(p.name, u"GetSupportFeature");
        EXPECT_FALSE(p.set);
        EXPECT_FALSE(p.hadExtra);
    }
    EXPECT_EQ(theOutputDevice.features, 7);
    EXPECT_EQ(theOutputDevice.field5, 9);
    EXPECT_EQ(theOutputDevice.field7, 12);
    EXPECT_EQ(theInputDevice.features, 7);
}

TEST_F(Selection, UnselectedRecordIsNotQueried) {
    DeviceInfo none;
    none.device = {5, 0, 0, 1};
    UpdateAPOAvailable(none);
    none.device.type = -3;
    UpdateAPOAvailable(none);
    EXPECT_EQ(fake.CountOf("PropertyControl"), 0u);
}

TEST_F(Selection, SevenNonEmptyFieldsSetTheFeatureFields) {
    // empty fields between, before and after the seven are not counted
    for (const char16_t* answer : {u"3,0,0,0,9,0,12", u",3,,0,0,,,0,9,0,12,"}) {
        info = DeviceInfo{DeviceDescriptor{10, 1, 0, 1}};
        fake.Answer16(u"GetSupportFeature", answer);
        UpdateAPOAvailable(info);
        EXPECT_EQ(info.features, 3);
        EXPECT_EQ(info.field5, 9);
        EXPECT_EQ(info.field7, 12);
    }
    EXPECT_TRUE(notices.shown.empty());
}

TEST_F(Selection, TooFewFieldsShowTheMessageAndKeepTheFeatures) {
    info.features = 6;
    info.field5 = 1;
    info.field7 = 2;
    fake.Answer16(u"GetSupportFeature", u"3,0,12");
    UpdateAPOAvailable(info);
    EXPECT_EQ(notices.shown, std::vector<std::string>{"UpdateAPOAvailable failed!"});
    EXPECT_EQ(info.features, 6);
    EXPECT_EQ(info.field5, 1);
    EXPECT_EQ(info.field7, 2);
    // each query of a bad device shows it again
    UpdateAPOAvailable(info);
    EXPECT_EQ(notices.shown.size(), 2u);
}

TEST_F(Selection, BadAnswerOnBothDevicesShowsTheMessageOncePerDevice) {
    fake.outputs = {{10, 1, 0, 1}};
    fake.inputs = {{20, 2, 0, 1}};
    fake.Answer16(u"GetSupportFeature", u"1,2,3,4,5,6");
    SelectOutputDevice(OUTPUT_ANALOG);
    EXPECT_EQ(notices.shown.size(), 2u);
    EXPECT_EQ(theOutputDevice.features, 0);
}

TEST_F(Selection, FailedFeatureCallChangesNothingAndShowsNothing) {
    fake.Answer16(u"GetSupportFeature", u"3,0,0,0,9,0,12", /*status=*/5);
    info.features = 4;
    UpdateAPOAvailable(info);
    EXPECT_EQ(info.features, 4);
    EXPECT_TRUE(notices.shown.empty());
    ConfLibSlots().PropertyControl = nullptr;  // a missing entry point: the same
    UpdateAPOAvailable(info);
    EXPECT_EQ(info.features, 4);
    EXPECT_TRUE(notices.shown.empty());
}

TEST_F(Selection, OutOfRangeFeatureFieldIsAFailedQuery) {
    // 2^32 + 6 would wrap into the plausible feature bits 6
    fake.Answer16(u"GetSupportFeature", u"4294967302,0,0,0,9,0,12");
    UpdateAPOAvailable(info);
    EXPECT_EQ(info.features, 0);
    EXPECT_EQ(notices.shown, std::vector<std::string>{"UpdateAPOAvailable failed!"});
}

TEST_F(Selection, FeatureAnswerFillingTheWholeBufferIsReadWithinIt) {
    testing::FakeAnswer flood{0, {}, true};
    for (char16_t c : std::u16string(u"1,")) {
        flood.bytes.push_back(static_cast<uint8_t>(c));
        flood.bytes.push_back(0);
    }
    fake.answers[u"GetSupportFeature"] = flood;  // "1,1,1,..." over all 2048 bytes
    UpdateAPOAvailable(info);
    EXPECT_EQ(info.features, 1);
    EXPECT_EQ(info.field7, 1);
}

}  // namespace
}  // namespace quorelle::device
