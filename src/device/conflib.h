// Binding to the card's device configuration library (osConfLib.dll): the table of its eleven
// entry points, the calls through that table, the property buffer layout and the readers of the
// library's decimal answers. Portable: the Win32 loader only fills the table.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorelle::device {

// The 16-byte device descriptor the library fills and takes back by value.
struct DeviceDescriptor {
    int32_t id = 0;
    int32_t type = 0;
    int32_t reserved = 0;
    int32_t active = 0;
    bool operator==(const DeviceDescriptor&) const = default;
};
static_assert(sizeof(DeviceDescriptor) == 16);

// Device lists of GetDeviceCount / GetDeviceById.
inline constexpr int32_t kOutputList = 0;
inline constexpr int32_t kInputList = 1;

// Device types the program knows.
inline constexpr int32_t kTypeAnalogOutput = 1;
inline constexpr int32_t kTypeAnalogOutputAlt = 7;
inline constexpr int32_t kTypeDigitalOutput = 4;
inline constexpr int32_t kTypeInput = 2;

// Property buffers: 1024 bytes, 2048 for the feature query.
inline constexpr size_t kPropertyBufferSize = 1024;
inline constexpr size_t kFeatureBufferSize = 2048;

// The library's entry points. x64 has a single calling convention, so the same types serve the
// Windows DLL and the native stand-in; property names are UTF-16 (wchar_t on Windows).
using ConfLibCallbackFn = void (*)(void* context, void* reserved, int32_t event, uint32_t flags);
using ConfLibInitFn = int32_t (*)();
using CreateDeviceListFn = int32_t (*)();
using GetDeviceCountFn = int32_t (*)(int32_t list, uint32_t* count);
using GetDeviceByIdFn = int32_t (*)(int32_t list, int32_t index, DeviceDescriptor* device);
using PropertyControlFn = int32_t (*)(DeviceDescriptor device, const char16_t* name, void** data,
                                      void** extra, uint8_t set);
using RegisterCallbackFunctionFn = int32_t (*)(ConfLibCallbackFn callback, void* context);
using ConfLibUnInitFn = int32_t (*)();
// Resolved with the others but never called by the panel.
using UnusedEntryPointFn = int32_t (*)();

// One slot per entry point; a slot the library does not export stays empty.
struct ConfLibEntryPoints {
    ConfLibInitFn ConfLibInit = nullptr;
    GetDeviceByIdFn GetDeviceById = nullptr;
    PropertyControlFn PropertyControl = nullptr;
    RegisterCallbackFunctionFn RegisterCallbackFunction = nullptr;
    GetDeviceCountFn GetDeviceCount = nullptr;
    CreateDeviceListFn CreateDeviceList = nullptr;
    ConfLibUnInitFn ConfLibUnInit = nullptr;
    UnusedEntryPointFn ShowAsioPanel = nullptr;
    UnusedEntryPointFn PlayTestSound = nullptr;
    UnusedEntryPointFn StopTestSound = nullptr;
    UnusedEntryPointFn CloseTestSound = nullptr;
};

// The exported names, in the order the loader looks them up.
inline constexpr std::array<const char*, 11> kEntryPointNames = {
    "ConfLibInit",    "GetDeviceById",    "PropertyControl", "RegisterCallbackFunction",
    "GetDeviceCount", "CreateDeviceList", "ConfLibUnInit",   "ShowAsioPanel",
    "PlayTestSound",  "StopTestSound",    "CloseTestSound"};

// Fills a table from a symbol lookup (GetProcAddress on Windows); a name the lookup does not
// know leaves its slot empty.
ConfLibEntryPoints ResolveEntryPoints(const std::function<void*(const char* name)>& lookup);

// The process-wide table every call goes through. The loader replaces it on each load; tests
// install fakes into it.
ConfLibEntryPoints& ConfLibSlots();

// --- Loader arithmetic (the Win32 loader feeds it the module path and the OS version) -------

// The library is only looked for on systems newer than 5.2.
bool OsSupportsConfLib(uint32_t major, uint32_t minor);
// The module's full path cut after its last backslash (empty when there is none).
std::u16string DirectoryOfModulePath(std::u16string_view modulePath);
// Where the library is loaded from: empty (the load then fails) on an unsupported system.
std::u16string ConfLibPath(std::u16string_view programDirectory, bool osSupported);

// --- Calls through the table ---------------------------------------------------------------
// A call whose slot is empty is not made; it reports kCallSkipped, which callers treat like any
// other failure (every result but 0 is a failure).
inline constexpr int32_t kCallSkipped = -1;

namespace conflib {
int32_t Init();
int32_t CreateDeviceList();
// The count is 0 when the call was skipped.
int32_t GetDeviceCount(int32_t list, uint32_t* count);
int32_t GetDeviceById(int32_t list, int32_t index, DeviceDescriptor* device);
int32_t PropertyControl(const DeviceDescriptor& device, std::u16string_view name, void* data,
                        void* extra, bool set);
int32_t RegisterCallbackFunction(ConfLibCallbackFn callback, void* context);
int32_t UnInit();
}  // namespace conflib

// --- Property buffers ------------------------------------------------------------------------

// A zeroed property buffer of kPropertyBufferSize bytes (kFeatureBufferSize when asked).
class PropertyBuffer {
  public:
    explicit PropertyBuffer(size_t size = kPropertyBufferSize) : bytes_(size, 0) {}
    void Zero();
    // Zeroes the buffer and stores the value little-endian at its start.
    void Put16(int16_t value);
    void Put32(int32_t value);
    // Zeroes the buffer and stores a format record {channels, sample width, rate}.
    void PutFormat(uint16_t channels, uint16_t sampleWidth, uint32_t rateHz);
    uint8_t* data() { return bytes_.data(); }
    const uint8_t* data() const { return bytes_.data(); }
    size_t size() const { return bytes_.size(); }
    std::span<const uint8_t> bytes() const { return bytes_; }

  private:
    std::vector<uint8_t> bytes_;
};

// --- Answer readers --------------------------------------------------------------------------

// A decimal answer read the way strtol reads it: leading white space, an optional sign, then
// digits up to the first other character; no digits read as 0. Reading never goes past the
// buffer, terminator or not. A number outside the 32-bit range saturates and is flagged, so a
// caller can refuse it instead of taking a wrapped, plausible-looking value.
struct DecimalAnswer {
    int32_t value = 0;
    bool hasDigits = false;
    bool outOfRange = false;
};

// 8-bit text: one character per byte.
DecimalAnswer ReadDecimal8(std::span<const uint8_t> buffer);
// UTF-16 little-endian text: one character per two bytes; a trailing odd byte is ignored.
DecimalAnswer ReadDecimal16(std::span<const uint8_t> buffer);
// The UTF-16 text at the start of the buffer, up to the terminator or the buffer's end.
std::u16string ReadText16(std::span<const uint8_t> buffer);

// Text encoding of each property's answer.
enum class AnswerEncoding { Text8, Text16 };
AnswerEncoding AnswerEncodingOf(std::u16string_view property);

// The feature answer of GetSupportFeature ("7,0,0,0,9,0,12"): split at commas, empty fields
// dropped. Fields 0, 4 and 6 are what the program keeps.
struct FeatureFields {
    int32_t features = 0;
    int32_t field5 = 0;
    int32_t field7 = 0;
};
// Empty when the answer has fewer than seven non-empty fields or a kept field does not fit 32
// bits.
std::optional<FeatureFields> ParseFeatureAnswer(std::u16string_view answer);

// --- Property calls with the buffer layout ----------------------------------------------------

// The result of a get: the library's status and the answer read in the property's encoding.
struct PropertyAnswer {
    int32_t status = kCallSkipped;
    DecimalAnswer answer;
    // The answer may be used: the call succeeded and the number fits 32 bits.
    bool ok() const { return status == 0 && !answer.outOfRange; }
    int32_t value() const { return answer.value; }
};

// A set: zeroes the data buffer, puts the 32- or 16-bit value at its start and calls with the set
// flag. The extra buffer, when given, is passed as the caller prepared it.
int32_t SetProperty32(const DeviceDescriptor& device, std::u16string_view name, int32_t value,
                      PropertyBuffer& data, PropertyBuffer* extra = nullptr);
int32_t SetProperty16(const DeviceDescriptor& device, std::u16string_view name, int16_t value,
                      PropertyBuffer& data, PropertyBuffer* extra = nullptr);
// A get: zeroes the data buffer, calls with the read flag and reads the answer in the encoding
// of AnswerEncodingOf(name). The extra buffer, when given, is passed as the caller prepared it.
PropertyAnswer GetProperty(const DeviceDescriptor& device, std::u16string_view name,
                           PropertyBuffer& data, PropertyBuffer* extra = nullptr);

// --- Callback ---------------------------------------------------------------------------------

// The window message the library's callback turns (event, flags) into: 1125 for event 8, else
// 1124 for flag word 0x80 or 0x100, else 0 (nothing is posted).
uint32_t ConfLibEventMessage(int32_t event, uint32_t flags);

// At most one message of each of the two kinds waits in the main window's queue: a storm of
// callbacks costs one posted message, never one per callback, so the queue cannot overflow. The
// callback's thread arms the kind before it posts (and posts only when it armed it); the main
// window disarms it as the message arrives, before it acts, so a callback during the handling
// posts again and no change goes unnoticed. Safe on any thread.
class EventGate {
  public:
    // True when the caller must post the message (none of its kind is waiting).
    bool Arm(uint32_t message);
    // The message arrived (or its post failed): the next callback posts again.
    void Disarm(uint32_t message);
    bool Waiting(uint32_t message) const;

  private:
    std::atomic<bool>* Slot(uint32_t message);
    const std::atomic<bool>* Slot(uint32_t message) const;
    std::atomic<bool> eventA_{false};
    std::atomic<bool> eventB_{false};
};

// The gate of the main window's two callback messages.
EventGate& ConfLibEvents();

}  // namespace quorelle::device
