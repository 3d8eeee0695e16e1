// The virtual card as the program sees it: its default card, property store, answer encodings,
// log, kept state and callback thread.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

#include "base/messages.h"
#include "device/conflib.h"
#include "vcard_fixture.h"

namespace vcard::testing {
namespace {

using quorelle::device::DeviceDescriptor;
using quorelle::device::GetProperty;
using quorelle::device::PropertyBuffer;
using quorelle::device::SetProperty16;
using quorelle::device::SetProperty32;
namespace conflib = quorelle::device::conflib;

const DeviceDescriptor kAnalog{10, 1, 0, 1};
const DeviceDescriptor kAnalog7{11, 7, 0, 1};
const DeviceDescriptor kDigital{12, 4, 0, 1};
const DeviceDescriptor kInput{20, 2, 0, 1};

TEST(CardConfig, DefaultsAreTheDefaultCard) {
    const Config c = ParseConfig("");
    EXPECT_EQ(c.outputs, (std::vector<Device>{{10, 1, 0, 1}, {11, 7, 0, 1}, {12, 4, 0, 1}}));
    EXPECT_EQ(c.inputs, (std::vector<Device>{{20, 2, 0, 1}}));
    EXPECT_EQ(c.features, "7,0,0,0,9,0,12");
    EXPECT_EQ(c.initResult, 0);
    EXPECT_TRUE(c.callbacks);
    EXPECT_EQ(c.callbackFlags, 0x80u);
}

TEST(CardConfig, ReadsEverySection) {
    const Config c = ParseConfig(
        "; comment\n"
        "[Devices]\r\n"
        "Output = 30:1:0, 31:4:9:1\r\n"
        "Input=\n"
        "OutputCount=4000000000\n"
        "[library]\n"
        "InitResult=-7\n"
        "Callbacks=no\n"
        "CallbackEvent=8\n"
        "CallbackFlags=0x100\n"
        "[Properties]\n"
        "FailGet=Enable_EQ_GFX, RFX_ENVIRONMENT\n"
        "FailSet=*\n"
        "Unterminated=DevSampleRateControl\n"
        "UnsupportedRates=176400,192000\n"
        "[Features]\n"
        "Default=1,2,3\n"
        "31=3,,0,0,0,9,0,12\n"
        "[Answers]\n"
        "EQ_Slider1=99999999999\n");
    EXPECT_EQ(c.outputs, (std::vector<Device>{{30, 1, 0, 0}, {31, 4, 9, 1}}));
    EXPECT_TRUE(c.inputs.empty());
    EXPECT_EQ(c.outputCount, 4000000000u);
    EXPECT_FALSE(c.inputCount);
    EXPECT_EQ(c.initResult, -7);
    EXPECT_FALSE(c.callbacks);
    EXPECT_EQ(c.callbackEvent, 8);
    EXPECT_EQ(c.callbackFlags, 0x100u);
    EXPECT_EQ(c.failGet, (std::set<std::string>{"Enable_EQ_GFX", "RFX_ENVIRONMENT"}));
    EXPECT_EQ(c.failSet, (std::set<std::string>{"*"}));
    EXPECT_EQ(c.unterminated, (std::set<std::string>{"DevSampleRateControl"}));
    EXPECT_EQ(c.unsupportedRates, (std::set<uint32_t>{176400, 192000}));
    EXPECT_EQ(c.features, "1,2,3");
    EXPECT_EQ(c.featuresByDevice.at(31), "3,,0,0,0,9,0,12");
    EXPECT_EQ(c.answers.at("EQ_Slider1"), "99999999999");
}

TEST(CardConfig, MalformedValuesKeepTheDefaults) {
    const Config c = ParseConfig(
        "[Devices]\nOutput=10:1\nInput=x:2:1\nOutputCount=-1\n"
        "[Library]\nInitResult=abc\nCallbackFlags=99999999999\n");
    EXPECT_EQ(c.outputs.size(), 3u);
    EXPECT_EQ(c.inputs.size(), 1u);
    EXPECT_FALSE(c.outputCount);
    EXPECT_EQ(c.initResult, 0);
    EXPECT_EQ(c.callbackFlags, 0x80u);
}

TEST(CardState, LinesRoundTripAndBadLinesAreSkipped) {
    std::map<ValueKey, int32_t> v{{{10, "DevSampleRateControl", 0}, 96000},
                                  {{12, "EQ_Slider3", 0}, -20},
                                  {{10, "HPAmplifierControl", 2}, 150}};
    EXPECT_EQ(ParseState(FormatState(v)), v);
    EXPECT_EQ(FormatState({{{10, "Enable_EQ_GFX", 0}, 1}}), "10 0 1 Enable_EQ_GFX\n");
    const auto read = ParseState("10 0 1\nzz 0 1 A\n10 0 99999999999 B\n10 1 5 Good\r\n");
    EXPECT_EQ(read, (std::map<ValueKey, int32_t>{{{10, "Good", 1}, 5}}));
}

using Card = CardTest;

TEST_F(Card, DefaultCardListsItsDevices) {
    uint32_t n = 0;
    EXPECT_EQ(conflib::GetDeviceCount(0, &n), 0);
    EXPECT_EQ(n, 3u);
    EXPECT_EQ(conflib::GetDeviceCount(1, &n), 0);
    EXPECT_EQ(n, 1u);
    DeviceDescriptor d;
    conflib::GetDeviceById(0, 1, &d);
    EXPECT_EQ(d, kAnalog7);
    conflib::GetDeviceById(0, 2, &d);
    EXPECT_EQ(d, kDigital);
    conflib::GetDeviceById(1, 0, &d);
    EXPECT_EQ(d, kInput);
    // beyond the list: a failure that leaves the descriptor alone
    d = {1, 2, 3, 4};
    EXPECT_NE(conflib::GetDeviceById(0, 3, &d), 0);
    EXPECT_NE(conflib::GetDeviceById(0, -1, &d), 0);
    EXPECT_EQ(d, (DeviceDescriptor{1, 2, 3, 4}));
}

TEST_F(Card, DefaultPropertiesAnswerInTheirEncodings) {
    PropertyBuffer data, extra;
    auto get = [&](const DeviceDescriptor& dev, const char16_t* name, int selector) {
        extra.Put32(selector);
        const auto a = GetProperty(dev, name, data, &extra);
        EXPECT_TRUE(a.ok()) << std::string(name, name + std::char_traits<char16_t>::length(name));
        return a.value();
    };
    EXPECT_EQ(get(kAnalog, u"DevSampleRateControl", 0), 48000);
    EXPECT_EQ(get(kAnalog, u"DevBitDepthControl", 0), 24);
    EXPECT_EQ(get(kAnalog, u"DevChannelNumControl", 0), 2);
    EXPECT_EQ(get(kAnalog, u"DeviceSpecificControl", 1), 1);
    EXPECT_EQ(get(kAnalog, u"DeviceSpecificControl", 2), 2);
    EXPECT_EQ(get(kAnalog, u"HPAmplifierControl", 1), 600);
    EXPECT_EQ(get(kAnalog, u"HPAmplifierControl", 2), 32);
    EXPECT_EQ(get(kAnalog, u"Enable_EQ_GFX", 0), 0);
    EXPECT_EQ(get(kAnalog, u"EQ_Slider5", 0), 0);
    EXPECT_EQ(get(kAnalog, u"ZODOZE_HPSPK_ROOMSIZE", 0), 1);
    extra.PutFormat(2, 16, 192000);
    EXPECT_EQ(GetProperty(kAnalog, u"IsSupportFormat", data, &extra).value(), 1);

    // the raw bytes: UTF-16 for the sample rate, 8-bit for the others
    GetProperty(kAnalog, u"DevSampleRateControl", data);
    EXPECT_EQ(std::memcmp(data.data(),
                          "4\0"
                          "8\0"
                          "0\0"
                          "0\0"
                          "0\0"
                          "\0\0",
                          12),
              0);
    GetProperty(kAnalog, u"DevChannelNumControl", data);
    EXPECT_EQ(std::memcmp(data.data(), "2\0", 2), 0);
    PropertyBuffer features(quorelle::device::kFeatureBufferSize);
    conflib::PropertyControl(kInput, u"GetSupportFeature", features.data(), nullptr, false);
    EXPECT_EQ(quorelle::device::ReadText16(features.bytes()), u"7,0,0,0,9,0,12");
}

TEST_F(Card, SetThenGetRoundTripsPerDeviceAndSelector) {
    PropertyBuffer data, extra;
    EXPECT_EQ(SetProperty32(kAnalog, u"DevSampleRateControl", 96000, data), 0);
    EXPECT_EQ(SetProperty16(kAnalog, u"DevBitDepthControl", 16, data), 0);
    EXPECT_EQ(SetProperty32(kDigital, u"EQ_Slider3", -20, data), 0);
    extra.Put32(2);
    EXPECT_EQ(SetProperty32(kAnalog, u"HPAmplifierControl", 150, data, &extra), 0);

    EXPECT_EQ(GetProperty(kAnalog, u"DevSampleRateControl", data).value(), 96000);
    EXPECT_EQ(GetProperty(kAnalog, u"DevBitDepthControl", data).value(), 16);
    EXPECT_EQ(GetProperty(kDigital, u"EQ_Slider3", data).value(), -20);
    EXPECT_EQ(GetProperty(kAnalog, u"EQ_Slider3", data).value(), 0);  // other device
    EXPECT_EQ(GetProperty(kAnalog, u"HPAmplifierControl", data, &extra).value(), 150);
    extra.Put32(1);
    EXPECT_EQ(GetProperty(kAnalog, u"HPAmplifierControl", data, &extra).value(), 600);
    // no extra buffer and a zero selector address the same value
    extra.Put32(0);
    SetProperty32(kAnalog, u"Enable_ZODOZE_HPSPK_LFX", 1, data);
    EXPECT_EQ(GetProperty(kAnalog, u"Enable_ZODOZE_HPSPK_LFX", data, &extra).value(), 1);
}

TEST_F(Card, CallsOnUnknownDevicesOrWithoutBuffersFail) {
    PropertyBuffer data;
    EXPECT_NE(SetProperty32({}, u"Enable_EQ_GFX", 1, data), 0);  // the empty record
    EXPECT_NE(GetProperty({99, 1, 0, 1}, u"Enable_EQ_GFX", data).status, 0);
    void* none = nullptr;
    EXPECT_NE(::PropertyControl({10, 1, 0, 1}, u"Enable_EQ_GFX", &none, nullptr, 0), 0);
    EXPECT_NE(::PropertyControl({10, 1, 0, 1}, u"Enable_EQ_GFX", nullptr, nullptr, 0), 0);
    void* p = data.data();
    EXPECT_NE(::PropertyControl({10, 1, 0, 1}, nullptr, &p, nullptr, 0), 0);
    // a name with no terminator in reach is refused, not read without end
    std::u16string longName(kMaxNameLength + 1, u'A');
    EXPECT_NE(::PropertyControl({10, 1, 0, 1}, longName.c_str(), &p, nullptr, 0), 0);
    EXPECT_NE(::GetDeviceCount(0, nullptr), 0);
    EXPECT_NE(::GetDeviceById(0, 0, nullptr), 0);
    uint32_t n = 5;
    EXPECT_NE(::GetDeviceCount(2, &n), 0);
    EXPECT_EQ(n, 0u);
}

TEST_F(Card, LogLinesHaveTheDocumentedFormat) {
    WriteIni("[Properties]\nFailGet=RFX_ENVIRONMENT\n");
    PropertyBuffer data, extra;
    uint32_t n;
    DeviceDescriptor d;
    conflib::Init();
    conflib::CreateDeviceList();
    conflib::GetDeviceCount(0, &n);
    conflib::GetDeviceById(0, 2, &d);
    d = {};
    conflib::GetDeviceById(0, 7, &d);
    conflib::RegisterCallbackFunction(nullptr, nullptr);
    SetProperty32({12, 4, 0, 1}, u"Enable_EQ_GFX", 1, data);
    extra.PutFormat(2, 16, 44100);
    SetProperty32({10, 1, 5, 1}, u"DeviceSpecificControl", -3, data, &extra);
    GetProperty({10, 1, 0, 1}, u"DevSampleRateControl", data);
    extra.Put32(1);
    GetProperty({10, 1, 0, 1}, u"DeviceSpecificControl", data, &extra);
    GetProperty({10, 1, 0, 1}, u"RFX_ENVIRONMENT", data);
    GetProperty({77, 1, 0, 1}, u"Enable_EQ_GFX", data);
    conflib::UnInit();
    EXPECT_EQ(ReadLog(),
              "ConfLibInit -> 0\n"
              "CreateDeviceList -> 0\n"
              "GetDeviceCount list=0 -> count=3\n"
              "GetDeviceById list=0 index=2 -> dev=12,4,0,1\n"
              "GetDeviceById list=0 index=7 -> dev=0,0,0,0\n"
              "RegisterCallbackFunction -> 0\n"
              "PropertyControl set Enable_EQ_GFX dev=12,4,0,1 data=1 extra=none -> 0\n"
              "PropertyControl set DeviceSpecificControl dev=10,1,5,1 data=-3 extra=1048578,44100"
              " -> 0\n"
              "PropertyControl get DevSampleRateControl dev=10,1,0,1 extra=none -> 0"
              " answer=48000\n"
              "PropertyControl get DeviceSpecificControl dev=10,1,0,1 extra=1,0 -> 0 answer=1\n"
              "PropertyControl get RFX_ENVIRONMENT dev=10,1,0,1 extra=none -> 1 answer=\n"
              "PropertyControl get Enable_EQ_GFX dev=77,1,0,1 extra=none -> 3 answer=\n"
              "ConfLibUnInit -> 0\n");
}

TEST_F(Card, StateIsKeptAcrossRunsBesideTheLibrary) {
    PropertyBuffer data;
    conflib::Init();
    SetProperty32(kAnalog, u"DevSampleRateControl", 176400, data);
    SetProperty32(kAnalog, u"Enable_VIRTUALBASS_LFX", 1, data);
    conflib::UnInit();
    EXPECT_TRUE(std::filesystem::exists(dir_ / "VirtualCard.state"));

    Restart();
    conflib::Init();
    EXPECT_EQ(GetProperty(kAnalog, u"DevSampleRateControl", data).value(), 176400);
    EXPECT_EQ(GetProperty(kAnalog, u"Enable_VIRTUALBASS_LFX", data).value(), 1);
    conflib::UnInit();

    // without the state file the card starts from its defaults again
    std::filesystem::remove(dir_ / "VirtualCard.state");
    Restart();
    EXPECT_EQ(GetProperty(kAnalog, u"DevSampleRateControl", data).value(), 48000);
}

// The card keeps its files open while it has users: after every call its log line and its whole
// state are on disk, also when a value's text gets shorter, and files removed between runs come
// back.
TEST_F(Card, FilesHoldEveryCallWhenItReturns) {
    PropertyBuffer data;
    conflib::Init();
    std::map<ValueKey, int32_t> expected;
    size_t lines = LogLines().size();
    for (int32_t value : {-1000000, 7, 123456, -2, 0}) {
        SetProperty32(kAnalog, u"EQ_Slider1", value, data);
        SetProperty32(kDigital, u"RFX_ROOMSIZE", value / 2, data);
        expected[{10, "EQ_Slider1", 0}] = value;
        expected[{12, "RFX_ROOMSIZE", 0}] = value / 2;
        EXPECT_EQ(ReadText("VirtualCard.state"), FormatState(expected)) << value;
        lines += 2;
        ASSERT_EQ(LogLines().size(), lines);
        EXPECT_EQ(LogLines().back(), "PropertyControl set RFX_ROOMSIZE dev=12,4,0,1 data=" +
                                         std::to_string(value / 2) + " extra=none -> 0");
    }
    conflib::UnInit();

    std::filesystem::remove(dir_ / "VirtualCard.log");
    std::filesystem::remove(dir_ / "VirtualCard.state");
    conflib::Init();
    EXPECT_EQ(LogLines(), std::vector<std::string>{"ConfLibInit -> 0"});
    SetProperty32(kAnalog, u"EQ_Slider2", 3, data);
    EXPECT_EQ(ParseState(ReadText("VirtualCard.state")).size(), 1u);
    conflib::UnInit();
}

TEST_F(Card, ConfigurationIsReadAgainByEachInit) {
    uint32_t n = 0;
    conflib::Init();
    conflib::GetDeviceCount(0, &n);
    EXPECT_EQ(n, 3u);
    WriteIni("[Devices]\nOutput=10:1:1\n[Library]\nInitResult=9\n");
    EXPECT_EQ(conflib::Init(), 9);
    conflib::GetDeviceCount(0, &n);
    EXPECT_EQ(n, 1u);
}

struct CallbackRecord {
    std::mutex lock;
    std::condition_variable arrived;
    std::vector<std::pair<int32_t, uint32_t>> events;
    std::vector<std::thread::id> threads;
    void* context = nullptr;

    static void Callback(void* context, void*, int32_t event, uint32_t flags) {
        auto* self = static_cast<CallbackRecord*>(context);
        std::lock_guard<std::mutex> hold(self->lock);
        self->events.emplace_back(event, flags);
        self->threads.push_back(std::this_thread::get_id());
        self->context = context;
        self->arrived.notify_all();
    }
    bool WaitFor(size_t n) {
        std::unique_lock<std::mutex> hold(lock);
        return arrived.wait_for(hold, std::chrono::seconds(5), [&] { return events.size() >= n; });
    }
};

TEST_F(Card, CallbackFiresFromItsOwnThreadAfterASet) {
    CallbackRecord record;
    PropertyBuffer data;
    conflib::Init();
    conflib::RegisterCallbackFunction(&CallbackRecord::Callback, &record);
    SetProperty32(kAnalog, u"Enable_EQ_GFX", 1, data);
    ASSERT_TRUE(record.WaitFor(1));
    std::lock_guard<std::mutex> hold(record.lock);
    EXPECT_NE(record.threads[0], std::this_thread::get_id());
    EXPECT_EQ(record.context, &record);
    EXPECT_EQ(
        quorelle::device::ConfLibEventMessage(record.events[0].first, record.events[0].second),
        quorelle::WM_CONFLIB_EVENT_A);
    conflib::UnInit();
}

TEST_F(Card, NoCallbackForGetsFailedSetsOrWhenSwitchedOff) {
    CallbackRecord record;
    PropertyBuffer data;
    WriteIni("[Properties]\nFailSet=Enable_EQ_GFX\n");
    conflib::Init();
    conflib::RegisterCallbackFunction(&CallbackRecord::Callback, &record);
    GetProperty(kAnalog, u"EQ_Slider1", data);
    SetProperty32(kAnalog, u"Enable_EQ_GFX", 1, data);
    WriteIni("[Library]\nCallbacks=0\n");
    conflib::Init();
    SetProperty32(kAnalog, u"EQ_Slider1", 3, data);
    // the configured event and flags are what arrives
    WriteIni("[Library]\nCallbackEvent=8\nCallbackFlags=0\n");
    conflib::Init();
    SetProperty32(kAnalog, u"EQ_Slider1", 4, data);
    ASSERT_TRUE(record.WaitFor(1));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::lock_guard<std::mutex> hold(record.lock);
    ASSERT_EQ(record.events.size(), 1u);
    EXPECT_EQ(record.events[0], (std::pair<int32_t, uint32_t>{8, 0}));
}

TEST_F(Card, LastUnInitDropsTheCallback) {
    CallbackRecord record;
    PropertyBuffer data;
    conflib::Init();
    conflib::Init();
    conflib::RegisterCallbackFunction(&CallbackRecord::Callback, &record);
    conflib::UnInit();
    SetProperty32(kAnalog, u"EQ_Slider1", 1, data);
    ASSERT_TRUE(record.WaitFor(1));
    conflib::UnInit();
    SetProperty32(kAnalog, u"EQ_Slider1", 2, data);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::lock_guard<std::mutex> hold(record.lock);
    EXPECT_EQ(record.events.size(), 1u);
}

TEST_F(Card, AStormFiresTheCallbackBackToBackUntilTheRegistrationGoes) {
    CallbackRecord record;
    WriteIni("[Library]\nStorm=20000\nCallbackEvent=8\nCallbackFlags=0\n");
    conflib::Init();
    conflib::RegisterCallbackFunction(&CallbackRecord::Callback, &record);
    ASSERT_TRUE(record.WaitFor(20000));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    {
        std::lock_guard<std::mutex> hold(record.lock);
        EXPECT_EQ(record.events.size(), 20000u);
        EXPECT_EQ(record.events.back(), (std::pair<int32_t, uint32_t>{8, 0}));
        record.events.clear();
    }
    EXPECT_NE(ReadLog().find("\nStorm fired=20000 of 20000\n"), std::string::npos);
    conflib::UnInit();
    // a spread storm rests after every 100 callbacks
    WriteIni("[Library]\nStorm=300\nStormPause=40\n");
    conflib::Init();
    const auto spreadStart = std::chrono::steady_clock::now();
    conflib::RegisterCallbackFunction(&CallbackRecord::Callback, &record);
    ASSERT_TRUE(record.WaitFor(300));
    EXPECT_GE(std::chrono::steady_clock::now() - spreadStart, std::chrono::milliseconds(80));
    conflib::UnInit();
    {
        std::lock_guard<std::mutex> hold(record.lock);
        record.events.clear();
    }
    // a storm stops once the program has gone
    WriteIni("[Library]\nStorm=4000000000\n");
    conflib::Init();
    conflib::RegisterCallbackFunction(&CallbackRecord::Callback, &record);
    ASSERT_TRUE(record.WaitFor(1000));
    conflib::UnInit();
    conflib::UnInit();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    size_t afterUnInit = 0;
    {
        std::lock_guard<std::mutex> hold(record.lock);
        afterUnInit = record.events.size();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    std::lock_guard<std::mutex> hold(record.lock);
    EXPECT_EQ(record.events.size(), afterUnInit);
    // its end is logged with the callbacks it fired
    const std::string log = ReadLog();
    const size_t end = log.rfind("Storm fired=");
    ASSERT_NE(end, std::string::npos);
    EXPECT_NE(log.find(" of 4000000000\n", end), std::string::npos);
    EXPECT_LT(std::stoull(log.substr(end + 12)), 4000000000ull);
}

}  // namespace
}  // namespace vcard::testing
