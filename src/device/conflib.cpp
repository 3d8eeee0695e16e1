#include "device/conflib.h"

#include <cstring>
#include <limits>

#include "base/messages.h"

namespace quorelle::device {

namespace {

template <typename Fn>
void Resolve(Fn& slot, const std::function<void*(const char*)>& lookup, const char* name) {
    void* address = lookup ? lookup(name) : nullptr;
    slot = reinterpret_cast<Fn>(address);
}

bool IsSpace(uint32_t c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
bool IsDigit(uint32_t c) {
    return c >= '0' && c <= '9';
}

// The strtol scan over a sequence of code units; `at(i)` gives unit i of `count`.
template <typename At>
DecimalAnswer ScanDecimal(size_t count, At at) {
    DecimalAnswer result;
    size_t i = 0;
    while (i < count && IsSpace(at(i))) ++i;
    bool negative = false;
    if (i < count && (at(i) == '+' || at(i) == '-')) {
        negative = at(i) == '-';
        ++i;
    }
    // Magnitude limit: 2^31 - 1 for positive numbers, 2^31 for negative ones.
    const int64_t limit = negative ? int64_t{1} << 31 : (int64_t{1} << 31) - 1;
    int64_t magnitude = 0;
    for (; i < count && IsDigit(at(i)); ++i) {
        result.hasDigits = true;
        if (result.outOfRange) continue;
        magnitude = magnitude * 10 + (at(i) - '0');
        if (magnitude > limit) {
            result.outOfRange = true;
            magnitude = limit;
        }
    }
    result.value = static_cast<int32_t>(negative ? -magnitude : magnitude);
    return result;
}

}  // namespace

ConfLibEntryPoints ResolveEntryPoints(const std::function<void*(const char* name)>& lookup) {
    ConfLibEntryPoints t;
    Resolve(t.ConfLibInit, lookup, "ConfLibInit");
    Resolve(t.GetDeviceById, lookup, "GetDeviceById");
    Resolve(t.PropertyControl, lookup, "PropertyControl");
    Resolve(t.RegisterCallbackFunction, lookup, "RegisterCallbackFunction");
    Resolve(t.GetDeviceCount, lookup, "GetDeviceCount");
    Resolve(t.CreateDeviceList, lookup, "CreateDeviceList");
    Resolve(t.ConfLibUnInit, lookup, "ConfLibUnInit");
    Resolve(t.ShowAsioPanel, lookup, "ShowAsioPanel");
    Resolve(t.PlayTestSound, lookup, "PlayTestSound");
    Resolve(t.StopTestSound, lookup, "StopTestSound");
    Resolve(t.CloseTestSound, lookup, "CloseTestSound");
    return t;
}

ConfLibEntryPoints& ConfLibSlots() {
    static ConfLibEntryPoints slots;
    return slots;
}

bool OsSupportsConfLib(uint32_t major, uint32_t minor) {
    return major > 5 || (major == 5 && minor > 2);
}

std::u16string DirectoryOfModulePath(std::u16string_view modulePath) {
    const size_t slash = modulePath.rfind(u'\\');
    if (slash == std::u16string_view::npos) return {};
    return std::u16string(modulePath.substr(0, slash + 1));
}

std::u16string ConfLibPath(std::u16string_view programDirectory, bool osSupported) {
    if (!osSupported) return {};
    return std::u16string(programDirectory) + u"osConfLib.dll";
}

namespace conflib {

int32_t Init() {
    auto fn = ConfLibSlots().ConfLibInit;
    return fn ? fn() : kCallSkipped;
}

int32_t CreateDeviceList() {
    auto fn = ConfLibSlots().CreateDeviceList;
    return fn ? fn() : kCallSkipped;
}

int32_t GetDeviceCount(int32_t list, uint32_t* count) {
    uint32_t n = 0;
    auto fn = ConfLibSlots().GetDeviceCount;
    const int32_t status = fn ? fn(list, &n) : kCallSkipped;
    if (count) *count = n;
    return status;
}

int32_t GetDeviceById(int32_t list, int32_t index, DeviceDescriptor* device) {
    auto fn = ConfLibSlots().GetDeviceById;
    if (!fn || !device) return kCallSkipped;
    return fn(list, index, device);
}

int32_t PropertyControl(const DeviceDescriptor& device, std::u16string_view name, void* data,
                        void* extra, bool set) {
    auto fn = ConfLibSlots().PropertyControl;
    if (!fn) return kCallSkipped;
    const std::u16string terminated(name);
    void* dataPointer = data;
    void* extraPointer = extra;
    return fn(device, terminated.c_str(), &dataPointer, extra ? &extraPointer : nullptr,
              set ? 1 : 0);
}

int32_t RegisterCallbackFunction(ConfLibCallbackFn callback, void* context) {
    auto fn = ConfLibSlots().RegisterCallbackFunction;
    return fn ? fn(callback, context) : kCallSkipped;
}

int32_t UnInit() {
    auto fn = ConfLibSlots().ConfLibUnInit;
    return fn ? fn() : kCallSkipped;
}

}  // namespace conflib

void PropertyBuffer::Zero() {
    std::fill(bytes_.begin(), bytes_.end(), uint8_t{0});
}

void PropertyBuffer::Put16(int16_t value) {
    Zero();
    const auto v = static_cast<uint16_t>(value);
    bytes_[0] = static_cast<uint8_t>(v);
    bytes_[1] = static_cast<uint8_t>(v >> 8);
}

void PropertyBuffer::Put32(int32_t value) {
    Zero();
    const auto v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) bytes_[i] = static_cast<uint8_t>(v >> (8 * i));
}

void PropertyBuffer::PutFormat(uint16_t channels, uint16_t sampleWidth, uint32_t rateHz) {
    Zero();
    bytes_[0] = static_cast<uint8_t>(channels);
    bytes_[1] = static_cast<uint8_t>(channels >> 8);
    bytes_[2] = static_cast<uint8_t>(sampleWidth);
    bytes_[3] = static_cast<uint8_t>(sampleWidth >> 8);
    for (int i = 0; i < 4; ++i) bytes_[4 + i] = static_cast<uint8_t>(rateHz >> (8 * i));
}

DecimalAnswer ReadDecimal8(std::span<const uint8_t> buffer) {
    return ScanDecimal(buffer.size(), [&](size_t i) { return uint32_t{buffer[i]}; });
}

DecimalAnswer ReadDecimal16(std::span<const uint8_t> buffer) {
    return ScanDecimal(buffer.size() / 2, [&](size_t i) {
        return uint32_t{buffer[2 * i]} | (uint32_t{buffer[2 * i + 1]} << 8);
    });
}

std::u16string ReadText16(std::span<const uint8_t> buffer) {
    std::u16string text;
    for (size_t i = 0; i + 1 < buffer.size(); i += 2) {
        const auto c = static_cast<char16_t>(buffer[i] | (buffer[i + 1] << 8));
        if (c == 0) break;
        text.push_back(c);
    }
    return text;
}

AnswerEncoding AnswerEncodingOf(std::u16string_view property) {
    if (property == u"DevSampleRateControl" || property == u"DevBitDepthControl" ||
        property == u"HPAmplifierControl" || property == u"GetSupportFeature") {
        return AnswerEncoding::Text16;
    }
    return AnswerEncoding::Text8;
}

std::optional<FeatureFields> ParseFeatureAnswer(std::u16string_view answer) {
    std::vector<std::u16string_view> fields;
    size_t start = 0;
    while (start <= answer.size()) {
        size_t comma = answer.find(u',', start);
        if (comma == std::u16string_view::npos) comma = answer.size();
        if (comma > start) fields.push_back(answer.substr(start, comma - start));
        start = comma + 1;
    }
    if (fields.size() < 7) return std::nullopt;
    auto read = [](std::u16string_view field) {
        return ScanDecimal(field.size(), [&](size_t i) { return uint32_t{field[i]}; });
    };
    const DecimalAnswer f0 = read(fields[0]), f4 = read(fields[4]), f6 = read(fields[6]);
    if (f0.outOfRange || f4.outOfRange || f6.outOfRange) return std::nullopt;
    return FeatureFields{f0.value, f4.value, f6.value};
}

namespace {

int32_t SetProperty(const DeviceDescriptor& device, std::u16string_view name, PropertyBuffer& data,
                    PropertyBuffer* extra) {
    return conflib::PropertyControl(device, name, data.data(), extra ? extra->data() : nullptr,
                                    true);
}

}  // namespace

int32_t SetProperty32(const DeviceDescriptor& device, std::u16string_view name, int32_t value,
                      PropertyBuffer& data, PropertyBuffer* extra) {
    data.Put32(value);
    return SetProperty(device, name, data, extra);
}

int32_t SetProperty16(const DeviceDescriptor& device, std::u16string_view name, int16_t value,
                      PropertyBuffer& data, PropertyBuffer* extra) {
    data.Put16(value);
    return SetProperty(device, name, data, extra);
}

PropertyAnswer GetProperty(const DeviceDescriptor& device, std::u16string_view name,
                           PropertyBuffer& data, PropertyBuffer* extra) {
    data.Zero();
    PropertyAnswer result;
    result.status =
        conflib::PropertyControl(device, name, data.data(), extra ? extra->data() : nullptr, false);
    result.answer = AnswerEncodingOf(name) == AnswerEncoding::Text16 ? ReadDecimal16(data.bytes())
                                                                     : ReadDecimal8(data.bytes());
    return result;
}

uint32_t ConfLibEventMessage(int32_t event, uint32_t flags) {
    if (event == 8) return WM_CONFLIB_EVENT_B;
    if (flags == 0x80 || flags == 0x100) return WM_CONFLIB_EVENT_A;
    return 0;
}

std::atomic<bool>* EventGate::Slot(uint32_t message) {
    if (message == WM_CONFLIB_EVENT_A) return &eventA_;
    if (message == WM_CONFLIB_EVENT_B) return &eventB_;
    return nullptr;
}

const std::atomic<bool>* EventGate::Slot(uint32_t message) const {
    return const_cast<EventGate*>(this)->Slot(message);
}

bool EventGate::Arm(uint32_t message) {
    std::atomic<bool>* slot = Slot(message);
    return slot != nullptr && !slot->exchange(true);
}

void EventGate::Disarm(uint32_t message) {
    if (std::atomic<bool>* slot = Slot(message)) slot->store(false);
}

bool EventGate::Waiting(uint32_t message) const {
    const std::atomic<bool>* slot = Slot(message);
    return slot != nullptr && slot->load();
}

EventGate& ConfLibEvents() {
    static EventGate gate;
    return gate;
}

}  // namespace quorelle::device
