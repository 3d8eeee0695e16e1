// The virtual card: a stand-in for the card's device configuration library with the same entry
// points and property contract. This file holds its behaviour; exports.cpp puts the C entry
// points in front of it and the platform files say where its files live.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace vcard {

// The 16-byte descriptor of the contract: id, type, reserved, active.
struct Device {
    int32_t id = 0;
    int32_t type = 0;
    int32_t reserved = 0;
    int32_t active = 0;
    bool operator==(const Device&) const = default;
};
static_assert(sizeof(Device) == 16);

using Callback = void (*)(void* context, void* reserved, int32_t event, uint32_t flags);

// Result codes besides 0 (success).
inline constexpr int32_t kRefused = 1;      // refused by VirtualCard.ini (FailGet, FailSet)
inline constexpr int32_t kBadArgument = 2;  // missing buffer or name, unknown list
inline constexpr int32_t kNoDevice = 3;     // no device with that id in either list
inline constexpr int32_t kNoEntry = 4;      // GetDeviceById beyond the end of the list

inline constexpr std::string_view kDefaultFeatures = "7,0,0,0,9,0,12";
// Longest property name read; a longer one is refused instead of read without end.
inline constexpr size_t kMaxNameLength = 256;

// What VirtualCard.ini can change. The defaults are the default card.
struct Config {
    std::vector<Device> outputs{{10, 1, 0, 1}, {11, 7, 0, 1}, {12, 4, 0, 1}};
    std::vector<Device> inputs{{20, 2, 0, 1}};
    std::optional<uint32_t> outputCount;  // count reported instead of the list's size
    std::optional<uint32_t> inputCount;
    int32_t initResult = 0;
    bool callbacks = true;
    int32_t callbackEvent = 1;
    uint32_t callbackFlags = 0x80;
    // callbacks fired back to back from a thread of the card's own once a callback is
    // registered, until the registration goes (a storm)
    uint32_t storm = 0;
    // milliseconds the storm rests after every 100 callbacks, so that it spreads over a while
    uint32_t stormPause = 0;
    std::string features{kDefaultFeatures};
    std::map<int32_t, std::string> featuresByDevice;
    std::set<std::string> failGet;  // "*" stands for every property
    std::set<std::string> failSet;
    std::set<std::string> unterminated;
    std::map<std::string, std::string> answers;  // answer text given verbatim
    std::set<uint32_t> unsupportedRates;
};

// Reads the text of VirtualCard.ini. Unknown sections and keys are ignored; a malformed value
// keeps the default.
Config ParseConfig(std::string_view text);

// Where a value lives: device id, property name (UTF-8), selector (first 32-bit integer of the
// extra buffer; 0 without one).
using ValueKey = std::tuple<int32_t, std::string, int32_t>;

// The value a property has before anyone set it.
int32_t DefaultValue(std::string_view name, int32_t selector);
// Gets of these properties answer in UTF-16, all others in 8-bit text.
bool AnswersInUtf16(std::string_view name);
// The size the caller's data buffer has for the property.
size_t AnswerBufferSize(std::string_view name);

// Log pieces.
std::string FormatDevice(const Device& d);          // "dev=ID,TYPE,RESERVED,ACTIVE"
std::string FormatExtra(const void* const* extra);  // "none" or "A,B"

// State file lines "DEVICE SELECTOR VALUE NAME".
std::map<ValueKey, int32_t> ParseState(std::string_view text);
std::string FormatState(const std::map<ValueKey, int32_t>& values);

// A callback to fire after a set, outside the card's lock.
struct PendingCallback {
    Callback callback;
    void* context;
    int32_t event;
    uint32_t flags;
};

// The card's behaviour. Not thread-safe by itself: the entry points hold a lock around it.
class Card {
  public:
    void SetDirectory(std::filesystem::path directory);
    const std::filesystem::path& Directory() const { return directory_; }

    int32_t ConfLibInit();
    int32_t CreateDeviceList();
    int32_t GetDeviceCount(int32_t list, uint32_t* count);
    int32_t GetDeviceById(int32_t list, int32_t index, Device* device);
    int32_t PropertyControl(Device device, const char16_t* name, void** data, void** extra,
                            uint8_t set, std::optional<PendingCallback>* fire);
    int32_t RegisterCallbackFunction(Callback callback, void* context);
    int32_t ConfLibUnInit();
    int32_t Unused(const char* entryPoint);

    // The storm a registration starts: the callback and how many times to fire it (0: none).
    struct Storm {
        PendingCallback callback;
        uint32_t count = 0;
        uint32_t pause = 0;
    };
    Storm StormFor(Callback callback, void* context) const;
    // Logs how a storm ended: the callbacks fired of the count asked for.
    void StormEnded(uint32_t fired, uint32_t count);
    Callback CurrentCallback() const { return callback_; }

    // For tests: the value stored for a key, after defaults.
    int32_t ValueOf(int32_t device, const std::string& name, int32_t selector);

  private:
    void EnsureLoaded();
    void ReloadConfig();
    void LoadState();
    void SaveState();
    void Log(const std::string& line);
    void CloseFiles();
    const Device* FindDevice(int32_t id) const;
    std::string AnswerText(const Device& device, const std::string& name, int32_t selector,
                           const void* const* extra);
    bool Refused(const std::set<std::string>& list, const std::string& name) const;

    // The log and the state file stay open while the card has users: each line and each new
    // state goes to the file and is flushed before the call returns (another process reads them
    // while the card runs, and a killed process leaves them whole up to its last call).
    struct FileCloser {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    using File = std::unique_ptr<std::FILE, FileCloser>;
    // The file at `name`, opened with `mode` if it is not open or was removed since.
    std::FILE* OpenFile(File& file, const char* name, const char* mode);

    std::filesystem::path directory_;
    File log_;
    File state_;
    size_t stateSize_ = 0;  // bytes of the state file as last written
    bool configLoaded_ = false;
    bool stateLoaded_ = false;
    Config config_;
    std::map<ValueKey, int32_t> values_;
    int users_ = 0;
    Callback callback_ = nullptr;
    void* callbackContext_ = nullptr;
};

// Platform pieces (platform_win32.cpp / platform_host.cpp).
namespace platform {
// The directory the card keeps VirtualCard.ini, .log and .state in.
std::filesystem::path CardDirectory();
// Opens a file by path (wide on Windows).
std::FILE* Open(const std::filesystem::path& path, const char* mode);
// Whether the open file's name was removed from its directory (its writes would go nowhere).
bool Removed(std::FILE* file);
// Cuts the open file to `size` bytes.
void Truncate(std::FILE* file, size_t size);
// Keeps the module loaded for the life of the process once it owns a thread.
void PinModule();
}  // namespace platform

}  // namespace vcard
