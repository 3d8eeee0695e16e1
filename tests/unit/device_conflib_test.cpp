// The binding to the device library: loader arithmetic, calls through the entry-point table,
// the property buffer layout, the answer readers and the callback's message rule.
#include <gtest/gtest.h>

#include <cstring>

#include "base/messages.h"
#include "device/conflib.h"
#include "device_fake_conflib.h"

namespace quorelle::device {
namespace {

using testing::FakeAnswer;
using testing::FakeConfLib;

std::vector<uint8_t> Bytes8(const std::string& s) {
    return {s.begin(), s.end()};
}

std::vector<uint8_t> Bytes16(const std::u16string& s) {
    std::vector<uint8_t> b;
    for (char16_t c : s) {
        b.push_back(static_cast<uint8_t>(c));
        b.push_back(static_cast<uint8_t>(c >> 8));
    }
    return b;
}

TEST(ConfLibLoader, LooksForTheLibraryOnlyOnSystemsNewerThan5_2) {
    EXPECT_FALSE(OsSupportsConfLib(4, 10));
    EXPECT_FALSE(OsSupportsConfLib(5, 0));
    EXPECT_FALSE(OsSupportsConfLib(5, 2));
    EXPECT_TRUE(OsSupportsConfLib(5, 3));
    EXPECT_TRUE(OsSupportsConfLib(6, 0));
    EXPECT_TRUE(OsSupportsConfLib(10, 0));
}

TEST(ConfLibLoader, LibraryPathIsTheProgramDirectoryPlusTheFileName) {
    const std::u16string dir = DirectoryOfModulePath(u"C:\\Program Files\\Q\\QuorelleCPL.exe");
    EXPECT_EQ(dir, u"C:\\Program Files\\Q\\");
    EXPECT_EQ(ConfLibPath(dir, true), u"C:\\Program Files\\Q\\osConfLib.dll");
    // an unsupported system gets the empty path, whose load fails
    EXPECT_EQ(ConfLibPath(dir, false), u"");
    // no backslash at all: no directory (the file name alone is never taken as one)
    EXPECT_EQ(DirectoryOfModulePath(u"QuorelleCPL.exe"), u"");
    EXPECT_EQ(DirectoryOfModulePath(u"\\\\server\\share\\a.exe"), u"\\\\server\\share\\");
}

TEST(ConfLibLoader, ResolvesEachNameIntoItsOwnSlotAndLeavesAbsentOnesEmpty) {
    // a distinct fake address per name, and four names the library does not export
    std::vector<std::string> asked;
    static char marks[11];
    const auto table = ResolveEntryPoints([&](const char* name) -> void* {
        asked.emplace_back(name);
        for (size_t i = 0; i < kEntryPointNames.size(); ++i) {
            if (std::string(name) == kEntryPointNames[i] && i % 3 != 2) return &marks[i];
        }
        return nullptr;
    });
    EXPECT_EQ(asked.size(), 11u);
    auto addr = [](auto fn) { return reinterpret_cast<void*>(fn); };
    EXPECT_EQ(addr(table.ConfLibInit), &marks[0]);
    EXPECT_EQ(addr(table.GetDeviceById), &marks[1]);
    EXPECT_EQ(addr(table.PropertyControl), nullptr);  // index 2: absent
    EXPECT_EQ(addr(table.RegisterCallbackFunction), &marks[3]);
    EXPECT_EQ(addr(table.GetDeviceCount), &marks[4]);
    EXPECT_EQ(addr(table.CreateDeviceList), nullptr);
    EXPECT_EQ(addr(table.ConfLibUnInit), &marks[6]);
    EXPECT_EQ(addr(table.ShowAsioPanel), &marks[7]);
    EXPECT_EQ(addr(table.PlayTestSound), nullptr);
    EXPECT_EQ(addr(table.StopTestSound), &marks[9]);
    EXPECT_EQ(addr(table.CloseTestSound), &marks[10]);
}

TEST(ConfLibCalls, EmptySlotsAreSkippedAsFailedCalls) {
    ConfLibSlots() = {};
    uint32_t count = 77;
    DeviceDescriptor d{1, 2, 3, 4};
    uint8_t buffer[8] = {};
    EXPECT_NE(conflib::Init(), 0);
    EXPECT_NE(conflib::CreateDeviceList(), 0);
    EXPECT_NE(conflib::GetDeviceCount(0, &count), 0);
    EXPECT_EQ(count, 0u);  // a skipped count reads as no device
    EXPECT_NE(conflib::GetDeviceById(0, 0, &d), 0);
    EXPECT_EQ(d, (DeviceDescriptor{1, 2, 3, 4}));
    EXPECT_NE(conflib::PropertyControl(d, u"Enable_EQ_GFX", buffer, nullptr, true), 0);
    EXPECT_NE(conflib::RegisterCallbackFunction(nullptr, nullptr), 0);
    EXPECT_NE(conflib::UnInit(), 0);
}

TEST(ConfLibCalls, OneMissingEntryPointLeavesTheOthersWorking) {
    FakeConfLib fake;
    fake.outputs = {{10, 1, 0, 1}};
    ConfLibSlots().PropertyControl = nullptr;
    PropertyBuffer data;
    EXPECT_NE(SetProperty32({10, 1, 0, 1}, u"Enable_EQ_GFX", 1, data), 0);
    EXPECT_FALSE(GetProperty({10, 1, 0, 1}, u"Enable_EQ_GFX", data).ok());
    uint32_t n = 0;
    EXPECT_EQ(conflib::GetDeviceCount(0, &n), 0);
    EXPECT_EQ(n, 1u);
    EXPECT_EQ(fake.CountOf("PropertyControl"), 0u);
    EXPECT_EQ(fake.CountOf("GetDeviceCount"), 1u);
}

TEST(PropertyCalls, SetPutsTheValueLittleEndianAtTheStartOfAZeroedBuffer) {
    FakeConfLib fake;
    PropertyBuffer data;
    std::memset(data.data(), 0xAB, data.size());
    const DeviceDescriptor dev{10, 1, 5, 1};
    EXPECT_EQ(SetProperty32(dev, u"DevSampleRateControl", 96000, data), 0);
    ASSERT_EQ(fake.properties.size(), 1u);
    const auto& p = fake.properties[0];
    EXPECT_EQ(p.name, u"DevSampleRateControl");
    EXPECT_TRUE(p.set);
    EXPECT_EQ(p.device, dev);  // passed back unchanged, reserved included
    EXPECT_EQ(p.data, 96000);
    EXPECT_FALSE(p.hadExtra);
    EXPECT_EQ(data.data()[0], 0x00);
    EXPECT_EQ(data.data()[1], 0x77);
    EXPECT_EQ(data.data()[2], 0x01);
    for (size_t i = 4; i < data.size(); ++i) ASSERT_EQ(data.data()[i], 0) << i;

    // a 16-bit value fills two bytes only; a negative one is not sign-extended into the third
    EXPECT_EQ(SetProperty16(dev, u"DevBitDepthControl", -2, data), 0);
    EXPECT_EQ(data.data()[0], 0xFE);
    EXPECT_EQ(data.data()[1], 0xFF);
    EXPECT_EQ(data.data()[2], 0x00);
    EXPECT_EQ(fake.properties[1].data, 0xFFFE);
}

TEST(PropertyCalls, ExtraBufferCarriesASelectorOrAFormatRecord) {
    FakeConfLib fake;
    PropertyBuffer data, extra;
    extra.Put32(2);
    SetProperty32({10, 1, 0, 1}, u"DeviceSpecificControl", 7, data, &extra);
    extra.PutFormat(2, 16, 44100);
    GetProperty({10, 1, 0, 1}, u"IsSupportFormat", data, &extra);
    ASSERT_EQ(fake.properties.size(), 2u);
    EXPECT_TRUE(fake.properties[0].hadExtra);
    EXPECT_EQ(fake.properties[0].extra, 2);
    const std::vector<uint8_t> record = {2, 0, 16, 0, 0x44, 0xAC, 0, 0};
    EXPECT_EQ(fake.properties[1].extraBytes, record);
    EXPECT_FALSE(fake.properties[1].set);
}

TEST(PropertyCalls, GetReadsEachPropertyInItsOwnEncoding) {
    FakeConfLib fake;
    fake.Answer16(u"DevSampleRateControl", u"88200");
    fake.Answer8(u"Enable_EQ_GFX", "1");
    // a UTF-16 answer read as 8-bit text would stop after its first digit, and the reverse
    // would mix two digits into one code unit
    fake.Answer16(u"HPAmplifierControl", u"600");
    fake.Answer8(u"EQ_Slider3", "-12");
    PropertyBuffer data;
    const DeviceDescriptor dev{10, 1, 0, 1};
    EXPECT_EQ(GetProperty(dev, u"DevSampleRateControl", data).value(), 88200);
    EXPECT_EQ(GetProperty(dev, u"Enable_EQ_GFX", data).value(), 1);
    EXPECT_EQ(GetProperty(dev, u"HPAmplifierControl", data).value(), 600);
    EXPECT_EQ(GetProperty(dev, u"EQ_Slider3", data).value(), -12);
    EXPECT_EQ(AnswerEncodingOf(u"DevBitDepthControl"), AnswerEncoding::Text16);
    EXPECT_EQ(AnswerEncodingOf(u"GetSupportFeature"), AnswerEncoding::Text16);
    EXPECT_EQ(AnswerEncodingOf(u"DeviceSpecificControl"), AnswerEncoding::Text8);
    EXPECT_EQ(AnswerEncodingOf(u"IsSupportFormat"), AnswerEncoding::Text8);
}

TEST(PropertyCalls, FailedGetIsNotOkAndTheBufferWasZeroedBeforeTheCall) {
    FakeConfLib fake;
    fake.Answer8(u"Enable_RFX_GFX", "1", /*status=*/3);
    PropertyBuffer data;
    std::memset(data.data(), '5', data.size());
    auto a = GetProperty({10, 1, 0, 1}, u"Enable_RFX_GFX", data);
    EXPECT_EQ(a.status, 3);
    EXPECT_FALSE(a.ok());
    a = GetProperty({10, 1, 0, 1}, u"NotAnswered", data);
    EXPECT_FALSE(a.ok());
    EXPECT_EQ(a.value(), 0);  // stale '5's of the previous use are gone
}

TEST(PropertyCalls, AnOutOfRangeAnswerIsRefused) {
    FakeConfLib fake;
    fake.Answer8(u"RFX_ENVIRONMENT", "4294967297");  // 2^32 + 1 would wrap to 1
    PropertyBuffer data;
    const auto a = GetProperty({10, 1, 0, 1}, u"RFX_ENVIRONMENT", data);
    EXPECT_EQ(a.status, 0);
    EXPECT_TRUE(a.answer.outOfRange);
    EXPECT_FALSE(a.ok());
    EXPECT_EQ(a.value(), INT32_MAX);
}

TEST(PropertyCalls, UnterminatedAnswerIsReadWithinTheBuffer) {
    FakeConfLib fake;
    FakeAnswer digits{0, Bytes8("7"), true};  // 1024 sevens, no terminator
    fake.answers[u"EQ_Slider1"] = digits;
    FakeAnswer padded{0, Bytes8("12 "), false};
    fake.answers[u"EQ_Slider2"] = padded;
    PropertyBuffer data;
    auto a = GetProperty({10, 1, 0, 1}, u"EQ_Slider1", data);
    EXPECT_TRUE(a.answer.outOfRange);
    EXPECT_FALSE(a.ok());
    a = GetProperty({10, 1, 0, 1}, u"EQ_Slider2", data);
    EXPECT_TRUE(a.ok());
    EXPECT_EQ(a.value(), 12);
}

TEST(AnswerReaders, ReadLikeStrtol) {
    struct Case {
        const char* text;
        int32_t value;
        bool digits;
    } cases[] = {
        {"48000", 48000, true},
        {"  \t\n42", 42, true},
        {"+7", 7, true},
        {"-20", -20, true},
        {"12abc", 12, true},
        {"1,2", 1, true},
        {"", 0, false},
        {"abc", 0, false},
        {"-", 0, false},
        {"- 5", 0, false},
        {"0x10", 0, true},
        {"007", 7, true},
        {"--3", 0, false},
        {"2147483647", INT32_MAX, true},
        {"-2147483648", INT32_MIN, true},
    };
    for (const auto& c : cases) {
        const auto a8 = ReadDecimal8(Bytes8(c.text));
        EXPECT_EQ(a8.value, c.value) << c.text;
        EXPECT_EQ(a8.hasDigits, c.digits) << c.text;
        EXPECT_FALSE(a8.outOfRange) << c.text;
        std::string s = c.text;
        const auto a16 = ReadDecimal16(Bytes16(std::u16string(s.begin(), s.end())));
        EXPECT_EQ(a16.value, c.value) << c.text;
        EXPECT_EQ(a16.hasDigits, c.digits) << c.text;
    }
}

TEST(AnswerReaders, NumbersBeyond32BitsSaturateAndAreFlagged) {
    for (const char* text : {"2147483648", "4294967296", "99999999999999999999999"}) {
        const auto a = ReadDecimal8(Bytes8(text));
        EXPECT_TRUE(a.outOfRange) << text;
        EXPECT_EQ(a.value, INT32_MAX) << text;
    }
    const auto low = ReadDecimal8(Bytes8("-2147483649"));
    EXPECT_TRUE(low.outOfRange);
    EXPECT_EQ(low.value, INT32_MIN);
    const auto wide = ReadDecimal16(Bytes16(u"4294967344"));  // wraps to 48 in 32 bits
    EXPECT_TRUE(wide.outOfRange);
    EXPECT_EQ(wide.value, INT32_MAX);
}

TEST(AnswerReaders, StopAtTheTerminatorAndAtTheBufferEnd) {
    // digits after the terminator are not part of the answer
    std::vector<uint8_t> b = Bytes8("12");
    b.push_back(0);
    b.push_back('9');
    EXPECT_EQ(ReadDecimal8(b).value, 12);
    // the buffer ends in the middle of the number: only what is inside counts
    const std::vector<uint8_t> full = Bytes8("123456");
    EXPECT_EQ(ReadDecimal8(std::span(full).first(3)).value, 123);
    // a UTF-16 buffer of odd length ignores the last half unit
    std::vector<uint8_t> odd = Bytes16(u"45");
    odd.push_back('7');
    EXPECT_EQ(ReadDecimal16(odd).value, 45);
    // a non-ASCII code unit whose low byte is a digit is not a digit
    EXPECT_EQ(ReadDecimal16(Bytes16(u"3\u0134")).value, 3);
    EXPECT_EQ(ReadText16(Bytes16(u"ab")), u"ab");
    std::vector<uint8_t> t = Bytes16(u"x");
    t.insert(t.end(), {0, 0, 'y', 0});
    EXPECT_EQ(ReadText16(t), u"x");
}

TEST(FeatureAnswer, KeepsFieldsOneFiveAndSevenOfSevenOrMore) {
    auto f = ParseFeatureAnswer(u"3,0,0,0,9,0,12");
    ASSERT_TRUE(f);
    EXPECT_EQ(f->features, 3);
    EXPECT_EQ(f->field5, 9);
    EXPECT_EQ(f->field7, 12);
    // empty fields do not count: the seven non-empty ones are taken in order
    f = ParseFeatureAnswer(u",3,,0,0,,0,9,0,,12,");
    ASSERT_TRUE(f);
    EXPECT_EQ(f->features, 3);
    EXPECT_EQ(f->field5, 9);
    EXPECT_EQ(f->field7, 12);
    // more than seven fields are fine
    f = ParseFeatureAnswer(u"6,1,2,3,4,5,6,7,8");
    ASSERT_TRUE(f);
    EXPECT_EQ(f->field7, 6);
    // a field without leading digits reads as 0
    f = ParseFeatureAnswer(u"x,0,0,0, 9z,0,-1");
    ASSERT_TRUE(f);
    EXPECT_EQ(f->features, 0);
    EXPECT_EQ(f->field5, 9);
    EXPECT_EQ(f->field7, -1);
}

TEST(FeatureAnswer, RefusesTooFewFieldsAndOutOfRangeKeptFields) {
    EXPECT_FALSE(ParseFeatureAnswer(u"7,0,12"));
    EXPECT_FALSE(ParseFeatureAnswer(u""));
    EXPECT_FALSE(ParseFeatureAnswer(u",,,,,,,,,,"));
    EXPECT_FALSE(ParseFeatureAnswer(u"7,0,0,,0,9,0"));  // six non-empty fields
    EXPECT_FALSE(ParseFeatureAnswer(u"4294967302,0,0,0,9,0,12"));
    EXPECT_FALSE(ParseFeatureAnswer(u"7,0,0,0,9,0,99999999999"));
    // an unread field may be anything
    EXPECT_TRUE(ParseFeatureAnswer(u"7,99999999999,0,0,9,0,12"));
}

TEST(ConfLibCallbackRule, Event8GivesBAndFlags0x80Or0x100GiveA) {
    EXPECT_EQ(ConfLibEventMessage(8, 0), WM_CONFLIB_EVENT_B);
    EXPECT_EQ(ConfLibEventMessage(8, 0x80), WM_CONFLIB_EVENT_B);  // the event code wins
    EXPECT_EQ(ConfLibEventMessage(1, 0x80), WM_CONFLIB_EVENT_A);
    EXPECT_EQ(ConfLibEventMessage(0, 0x100), WM_CONFLIB_EVENT_A);
    EXPECT_EQ(ConfLibEventMessage(-1, 0x100), WM_CONFLIB_EVENT_A);
    EXPECT_EQ(ConfLibEventMessage(1, 0), 0u);
    EXPECT_EQ(ConfLibEventMessage(1, 0x180), 0u);  // the whole flag word is compared
    EXPECT_EQ(ConfLibEventMessage(1, 0x81), 0u);
    EXPECT_EQ(ConfLibEventMessage(9, 0x200), 0u);
}

}  // namespace
}  // namespace quorelle::device
