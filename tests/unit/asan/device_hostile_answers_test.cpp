// Answer readers and the virtual card's answer writer on hostile buffers, seeded so a failure
// repeats. Built with AddressSanitizer and UBSan: every buffer is a heap block of exactly the
// size the contract gives, so a read or write past it stops the run.
#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <random>

#include "device/selection.h"
#include "device_fake_conflib.h"
#include "vcard/vcard_fixture.h"

namespace quorelle::device {
namespace {

constexpr int kRounds = 3000;

// Mostly the characters a decimal reader cares about, sometimes anything.
uint8_t HostileByte(std::mt19937& rng) {
    static const char kAlphabet[] = "0123456789999999  \t\n+-,x\0";
    if (rng() % 8 == 0) return static_cast<uint8_t>(rng());
    return static_cast<uint8_t>(kAlphabet[rng() % (sizeof kAlphabet - 1)]);
}

std::vector<uint8_t> HostileBuffer(std::mt19937& rng, size_t maxSize) {
    std::vector<uint8_t> b(rng() % (maxSize + 1));
    for (auto& c : b) c = HostileByte(rng);
    return b;
}

// The reference: the C library's strtol on a terminated copy, with 64-bit long.
DecimalAnswer Reference(const std::string& text) {
    errno = 0;
    char* end = nullptr;
    const long long v = std::strtoll(text.c_str(), &end, 10);
    DecimalAnswer r;
    const char* p = text.c_str();
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    if (*p == '+' || *p == '-') ++p;
    r.hasDigits = *p >= '0' && *p <= '9';
    r.outOfRange = errno == ERANGE || v > INT32_MAX || v < INT32_MIN;
    r.value = v > INT32_MAX ? INT32_MAX : v < INT32_MIN ? INT32_MIN : static_cast<int32_t>(v);
    return r;
}

TEST(HostileAnswers, Decimal8MatchesStrtolAndStaysInTheBuffer) {
    std::mt19937 rng(20261207);
    for (int round = 0; round < kRounds; ++round) {
        const std::vector<uint8_t> b = HostileBuffer(rng, 40);
        const DecimalAnswer a = ReadDecimal8(b);
        const std::string text(b.begin(), std::find(b.begin(), b.end(), uint8_t{0}));
        const DecimalAnswer r = Reference(text);
        ASSERT_EQ(a.value, r.value) << text;
        ASSERT_EQ(a.outOfRange, r.outOfRange) << text;
        ASSERT_EQ(a.hasDigits, r.hasDigits) << text;
    }
}

TEST(HostileAnswers, Decimal16MatchesStrtolAndStaysInTheBuffer) {
    std::mt19937 rng(7);
    for (int round = 0; round < kRounds; ++round) {
        std::vector<uint8_t> b = HostileBuffer(rng, 81);  // odd sizes included
        // high bytes mostly zero, so the low byte is the character
        for (size_t i = 1; i < b.size(); i += 2)
            if (rng() % 16 != 0) b[i] = 0;
        const DecimalAnswer a = ReadDecimal16(b);
        std::string text;
        for (size_t i = 0; i + 1 < b.size(); i += 2) {
            const unsigned unit = b[i] | (b[i + 1] << 8);
            if (unit == 0) break;
            text.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
        }
        const DecimalAnswer r = Reference(text);
        ASSERT_EQ(a.value, r.value) << text;
        ASSERT_EQ(a.outOfRange, r.outOfRange) << text;
    }
}

TEST(HostileAnswers, FeatureSplitAgreesWithAPlainSplit) {
    std::mt19937 rng(99);
    int taken = 0;
    for (int round = 0; round < kRounds; ++round) {
        std::u16string text;
        const size_t n = rng() % 60;
        for (size_t i = 0; i < n; ++i) {
            const uint8_t c = rng() % 4 == 0 ? ',' : HostileByte(rng);
            text.push_back(c == 0 ? u',' : static_cast<char16_t>(c));
        }
        std::vector<std::string> fields;
        std::string current;
        for (char16_t c : text + u",") {
            if (c != u',') {
                current.push_back(c < 0x80 ? static_cast<char>(c) : '?');
            } else if (!current.empty()) {
                fields.push_back(current);
                current.clear();
            }
        }
        const auto parsed = ParseFeatureAnswer(text);
        if (fields.size() < 7) {
            ASSERT_FALSE(parsed) << round;
            continue;
        }
        const DecimalAnswer f0 = Reference(fields[0]), f4 = Reference(fields[4]),
                            f6 = Reference(fields[6]);
        if (f0.outOfRange || f4.outOfRange || f6.outOfRange) {
            ASSERT_FALSE(parsed) << round;
            continue;
        }
        ASSERT_TRUE(parsed) << round;
        ASSERT_EQ(parsed->features, f0.value);
        ASSERT_EQ(parsed->field5, f4.value);
        ASSERT_EQ(parsed->field7, f6.value);
        ++taken;
    }
    EXPECT_GT(taken, kRounds / 4);  // the accepting path is exercised too
}

// A library that writes random bytes over the whole buffer it was given.
TEST(HostileAnswers, GetsAndFeatureQueriesReadOnlyTheirBuffers) {
    testing::FakeConfLib fake;
    testing::RecordingNotices notices;
    std::mt19937 rng(4242);
    PropertyBuffer data;
    for (int round = 0; round < 300; ++round) {
        testing::FakeAnswer flood{0, HostileBuffer(rng, 64), true};
        if (flood.bytes.empty()) flood.bytes.push_back('7');
        fake.answers[u"EQ_Slider1"] = flood;
        fake.answers[u"DevSampleRateControl"] = flood;
        fake.answers[u"GetSupportFeature"] = flood;
        GetProperty({10, 1, 0, 1}, u"EQ_Slider1", data);
        GetProperty({10, 1, 0, 1}, u"DevSampleRateControl", data);
        DeviceInfo info;
        info.device = {10, 1, 0, 1};
        UpdateAPOAvailable(info);
    }
    EXPECT_EQ(fake.CountOf("PropertyControl"), 900u);
}

}  // namespace
}  // namespace quorelle::device

namespace vcard::testing {
namespace {

// The card writes answers of any configured length into buffers of exactly the contract's size.
class CardWriter : public CardTest {};

TEST_F(CardWriter, AnswersOfAnyLengthStayInsideTheCallersBuffer) {
    std::mt19937 rng(1234);
    const char16_t* names[] = {u"EQ_Slider1", u"DevSampleRateControl", u"GetSupportFeature"};
    for (int round = 0; round < 60; ++round) {
        const size_t length = rng() % 2 == 0 ? rng() % 40 : 1000 + rng() % 3200;
        std::string text;
        for (size_t i = 0; i < length; ++i) text.push_back(static_cast<char>('0' + rng() % 10));
        if (rng() % 3 == 0 && !text.empty()) text[rng() % text.size()] = ',';
        WriteIni("[Properties]\nUnterminated=" + std::string(rng() % 2 ? "*" : "") +
                 "\n[Answers]\nEQ_Slider1=" + text + "\nDevSampleRateControl=" + text +
                 "\n[Features]\nDefault=" + text + "\n");
        ::ConfLibInit();
        for (const char16_t* name : names) {
            const bool feature = std::u16string_view(name) == u"GetSupportFeature";
            std::vector<uint8_t> exact(feature ? 2048 : 1024);
            void* p = exact.data();
            ASSERT_EQ(::PropertyControl({10, 1, 0, 1}, name, &p, nullptr, 0), 0);
            if (!feature) {
                quorelle::device::ReadDecimal8(exact);
                quorelle::device::ReadDecimal16(exact);
            } else {
                quorelle::device::ParseFeatureAnswer(quorelle::device::ReadText16(exact));
            }
        }
        ::ConfLibUnInit();
        ClearLog();
    }
}

}  // namespace
}  // namespace vcard::testing
