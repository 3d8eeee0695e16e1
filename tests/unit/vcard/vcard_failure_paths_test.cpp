// Every failure the program must survive, reached through VirtualCard.ini and observed through
// the program's own binding and device selection.
#include <gtest/gtest.h>

#include "base/notice.h"
#include "device/selection.h"
#include "vcard_fixture.h"

namespace vcard::testing {
namespace {

using namespace quorelle::device;

class Notices : public quorelle::NoticeSink {
  public:
    Notices() { quorelle::SetNoticeSink(this); }
    ~Notices() override { quorelle::SetNoticeSink(nullptr); }
    void Show(const std::string& text) override { shown.push_back(text); }
    std::vector<std::string> shown;
};

class FailurePaths : public CardTest {
  protected:
    void SetUp() override {
        CardTest::SetUp();
        theOutputDevice = {};
        theInputDevice = {};
    }
    void TearDown() override {
        theOutputDevice = {};
        theInputDevice = {};
        CardTest::TearDown();
    }
    Notices notices;
};

TEST_F(FailurePaths, DefaultCardSelectsAnalogOrDigitalWithFeatures) {
    EXPECT_EQ(SelectOutputDevice(OUTPUT_ANALOG), 10);
    EXPECT_EQ(theInputDevice.device.id, 20);
    EXPECT_EQ(theOutputDevice.features, 7);
    EXPECT_EQ(theOutputDevice.field5, 9);
    EXPECT_EQ(theOutputDevice.field7, 12);
    EXPECT_EQ(SelectOutputDevice(OUTPUT_DIGITAL), 12);
    EXPECT_TRUE(notices.shown.empty());
}

TEST_F(FailurePaths, NoDeviceAtAll) {
    WriteIni("[Devices]\nOutput=\nInput=\n");
    uint32_t n = 9;
    conflib::GetDeviceCount(kOutputList, &n);
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(SelectOutputDevice(OUTPUT_ANALOG), 0);
    EXPECT_EQ(theOutputDevice.device.type, 0);
    // property calls addressed to the empty record fail
    PropertyBuffer data;
    EXPECT_NE(SetProperty32(theOutputDevice.device, u"Enable_EQ_GFX", 1, data), 0);
    EXPECT_TRUE(notices.shown.empty());
}

TEST_F(FailurePaths, OnlyAnalogOutputs) {
    WriteIni("[Devices]\nOutput=10:1:1,11:7:1\n");
    EXPECT_EQ(SelectOutputDevice(OUTPUT_ANALOG), 10);
    EXPECT_EQ(SelectOutputDevice(OUTPUT_DIGITAL), 10);  // the input makes it the kept id
    EXPECT_EQ(theOutputDevice.device.id, 10);
    WriteIni("[Devices]\nOutput=10:1:1,11:7:1\nInput=\n");
    conflib::Init();
    EXPECT_EQ(SelectOutputDevice(OUTPUT_DIGITAL), 2);  // no input: the count
}

TEST_F(FailurePaths, OnlyDigitalOutputs) {
    WriteIni("[Devices]\nOutput=12:4:1\nInput=\n");
    EXPECT_EQ(SelectOutputDevice(OUTPUT_ANALOG), 1);
    EXPECT_EQ(theOutputDevice.device.id, 0);
    EXPECT_EQ(SelectOutputDevice(OUTPUT_DIGITAL), 12);
}

TEST_F(FailurePaths, InactiveDevicesAreNotChosenButAnInactiveInputIs) {
    WriteIni("[Devices]\nOutput=10:1:0,11:7:1,12:4:0\nInput=21:2:0\n");
    EXPECT_EQ(SelectOutputDevice(OUTPUT_ANALOG), 11);
    EXPECT_EQ(SelectOutputDevice(OUTPUT_DIGITAL), 11);
    EXPECT_EQ(theInputDevice.device, (DeviceDescriptor{21, 2, 0, 0}));
}

TEST_F(FailurePaths, NoInputDevice) {
    WriteIni("[Devices]\nInput=\n");
    EXPECT_EQ(SelectOutputDevice(OUTPUT_ANALOG), 10);
    EXPECT_EQ(theInputDevice.device.type, 0);
    EXPECT_EQ(theInputDevice.features, 0);
}

TEST_F(FailurePaths, InitFails) {
    WriteIni("[Library]\nInitResult=-1\n");
    EXPECT_EQ(conflib::Init(), -1);
}

TEST_F(FailurePaths, FeatureAnswerWithTooFewOrEmptyFields) {
    WriteIni("[Features]\nDefault=7,0,12\n20=3,,0,0,,0,9,0,12\n");
    SelectOutputDevice(OUTPUT_ANALOG);
    // the input's answer has seven fields among the empty ones; the output's has three
    EXPECT_EQ(theInputDevice.features, 3);
    EXPECT_EQ(theInputDevice.field7, 12);
    EXPECT_EQ(theOutputDevice.features, 0);
    EXPECT_EQ(notices.shown, std::vector<std::string>{"UpdateAPOAvailable failed!"});
}

TEST_F(FailurePaths, NamedGetsAndSetsFail) {
    WriteIni("[Properties]\nFailGet=DevSampleRateControl\nFailSet=Enable_EQ_GFX\n");
    PropertyBuffer data;
    EXPECT_FALSE(GetProperty({10, 1, 0, 1}, u"DevSampleRateControl", data).ok());
    EXPECT_TRUE(GetProperty({10, 1, 0, 1}, u"DevBitDepthControl", data).ok());
    EXPECT_NE(SetProperty32({10, 1, 0, 1}, u"Enable_EQ_GFX", 1, data), 0);
    EXPECT_EQ(SetProperty32({10, 1, 0, 1}, u"Enable_RFX_GFX", 1, data), 0);
    // a refused set stores nothing
    EXPECT_EQ(GetProperty({10, 1, 0, 1}, u"Enable_EQ_GFX", data).value(), 0);
}

TEST_F(FailurePaths, FeatureQueryFailingChangesNothing) {
    WriteIni("[Properties]\nFailGet=GetSupportFeature\n");
    EXPECT_EQ(SelectOutputDevice(OUTPUT_ANALOG), 10);
    EXPECT_EQ(theOutputDevice.features, 0);
    EXPECT_TRUE(notices.shown.empty());
}

TEST_F(FailurePaths, UnterminatedAnswersFillTheWholeBuffer) {
    WriteIni("[Properties]\nUnterminated=DevSampleRateControl,Enable_EQ_GFX,GetSupportFeature\n");
    PropertyBuffer data;
    // every byte written, none of them a terminator; the number is still read correctly
    auto a = GetProperty({10, 1, 0, 1}, u"DevSampleRateControl", data);
    EXPECT_TRUE(a.ok());
    EXPECT_EQ(a.value(), 48000);
    for (size_t i = 0; i < data.size(); i += 2) {
        ASSERT_FALSE(data.data()[i] == 0 && data.data()[i + 1] == 0) << i;
    }
    a = GetProperty({10, 1, 0, 1}, u"Enable_EQ_GFX", data);
    EXPECT_EQ(a.value(), 0);
    for (size_t i = 0; i < data.size(); ++i) ASSERT_NE(data.data()[i], 0) << i;
    SelectOutputDevice(OUTPUT_ANALOG);
    EXPECT_EQ(theOutputDevice.features, 7);
    EXPECT_EQ(theOutputDevice.field7, 12);
}

TEST_F(FailurePaths, OversizedAnswersDoNotWrapOrOverflow) {
    WriteIni(
        "[Properties]\nUnterminated=EQ_Slider2\n"
        "[Answers]\nEQ_Slider1=4294967297\nEQ_Slider2=" +
        std::string(3000, '8') + "\n[Features]\nDefault=4294967303,0,0,0,9,0,12\n");
    PropertyBuffer data;
    auto a = GetProperty({10, 1, 0, 1}, u"EQ_Slider1", data);
    EXPECT_EQ(a.status, 0);
    EXPECT_FALSE(a.ok());
    a = GetProperty({10, 1, 0, 1}, u"EQ_Slider2", data);
    EXPECT_FALSE(a.ok());
    EXPECT_TRUE(a.answer.outOfRange);
    SelectOutputDevice(OUTPUT_ANALOG);
    EXPECT_EQ(theOutputDevice.features, 0);
    EXPECT_EQ(notices.shown.size(), 2u);  // input and output both answered out of range
}

TEST_F(FailurePaths, HugeDeviceCountDoesNotHang) {
    WriteIni("[Devices]\nOutputCount=4294967295\nInputCount=4294967295\nOutput=12:4:1\nInput=\n");
    EXPECT_EQ(SelectOutputDevice(OUTPUT_ANALOG), INT32_MAX);
    EXPECT_EQ(SelectOutputDevice(OUTPUT_DIGITAL), 12);
    // the log shows the walk was bounded: at most the bound per pass
    size_t walks = 0;
    for (const auto& line : LogLines())
        if (line.rfind("GetDeviceById ", 0) == 0) ++walks;
    EXPECT_LE(walks, 8 * kMaxWalkedDevices);
}

TEST_F(FailurePaths, UnsupportedRatesAnswerZero) {
    WriteIni("[Properties]\nUnsupportedRates=192000\n");
    PropertyBuffer data, extra;
    extra.PutFormat(2, 16, 192000);
    EXPECT_EQ(GetProperty({10, 1, 0, 1}, u"IsSupportFormat", data, &extra).value(), 0);
    extra.PutFormat(2, 16, 96000);
    EXPECT_EQ(GetProperty({10, 1, 0, 1}, u"IsSupportFormat", data, &extra).value(), 1);
}

TEST_F(FailurePaths, MissingEntryPointsAreSkipped) {
    ConfLibSlots().GetDeviceById = nullptr;
    ConfLibSlots().PropertyControl = nullptr;
    ClearLog();
    EXPECT_EQ(SelectOutputDevice(OUTPUT_ANALOG), 3);
    for (const auto& line : LogLines()) {
        EXPECT_EQ(line.rfind("GetDeviceById", 0), std::string::npos) << line;
        EXPECT_EQ(line.rfind("PropertyControl", 0), std::string::npos) << line;
    }
    EXPECT_EQ(LogLines().size(), 2u);  // the two counts
}

}  // namespace
}  // namespace vcard::testing
