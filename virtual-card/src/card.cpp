#include "vcard/card.h"

#include <algorithm>
#include <cstring>
#include <sstream>

namespace vcard {

namespace {

constexpr const char* kIniName = "VirtualCard.ini";
constexpr const char* kLogName = "VirtualCard.log";
constexpr const char* kStateName = "VirtualCard.state";

std::string_view Trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::vector<std::string_view> Split(std::string_view s, char separator) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (true) {
        const size_t end = s.find(separator, start);
        parts.push_back(Trim(s.substr(start, end == std::string_view::npos ? end : end - start)));
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return parts;
}

// Decimal or 0x-hexadecimal, optionally negative, within [lo, hi].
std::optional<int64_t> ParseNumber(std::string_view s, int64_t lo, int64_t hi) {
    s = Trim(s);
    bool negative = false;
    if (!s.empty() && (s[0] == '-' || s[0] == '+')) {
        negative = s[0] == '-';
        s.remove_prefix(1);
    }
    int base = 10;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s.remove_prefix(2);
    }
    if (s.empty()) return std::nullopt;
    int64_t v = 0;
    for (char c : s) {
        int digit;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (base == 16 && c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (base == 16 && c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else {
            return std::nullopt;
        }
        v = v * base + digit;
        if (v > (int64_t{1} << 33)) return std::nullopt;
    }
    if (negative) v = -v;
    if (v < lo || v > hi) return std::nullopt;
    return v;
}

std::optional<int32_t> ParseInt32(std::string_view s) {
    auto v = ParseNumber(s, INT32_MIN, INT32_MAX);
    if (!v) return std::nullopt;
    return static_cast<int32_t>(*v);
}

std::optional<uint32_t> ParseUint32(std::string_view s) {
    auto v = ParseNumber(s, 0, UINT32_MAX);
    if (!v) return std::nullopt;
    return static_cast<uint32_t>(*v);
}

// "id:type:active" or "id:type:reserved:active", comma-separated; empty means no device.
std::optional<std::vector<Device>> ParseDevices(std::string_view s) {
    std::vector<Device> devices;
    if (Trim(s).empty()) return devices;
    for (std::string_view item : Split(s, ',')) {
        const auto fields = Split(item, ':');
        if (fields.size() != 3 && fields.size() != 4) return std::nullopt;
        std::vector<int32_t> v;
        for (auto f : fields) {
            auto n = ParseInt32(f);
            if (!n) return std::nullopt;
            v.push_back(*n);
        }
        devices.push_back(v.size() == 3 ? Device{v[0], v[1], 0, v[2]}
                                        : Device{v[0], v[1], v[2], v[3]});
    }
    return devices;
}

std::set<std::string> ParseNames(std::string_view s) {
    std::set<std::string> names;
    for (auto n : Split(s, ','))
        if (!n.empty()) names.emplace(n);
    return names;
}

bool ParseBool(std::string_view s, bool fallback) {
    const std::string v = Lower(Trim(s));
    if (v == "1" || v == "yes" || v == "true" || v == "on") return true;
    if (v == "0" || v == "no" || v == "false" || v == "off") return false;
    return fallback;
}

std::string Utf16ToUtf8(std::u16string_view s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        uint32_t c = s[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 &&
            s[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

int32_t ReadInt32(const void* p) {
    int32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

const void* ExtraBuffer(const void* const* extra) {
    return extra ? *extra : nullptr;
}

std::optional<std::string> ReadFile(const std::filesystem::path& path) {
    std::FILE* f = platform::Open(path, "rb");
    if (!f) return std::nullopt;
    std::string text;
    char chunk[4096];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) text.append(chunk, n);
    std::fclose(f);
    return text;
}

}  // namespace

Config ParseConfig(std::string_view text) {
    Config c;
    std::string section;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = Trim(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line.front() == '[') {
            const size_t close = line.find(']');
            section =
                Lower(Trim(line.substr(1, close == std::string_view::npos ? close : close - 1)));
            continue;
        }
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        const std::string_view rawKey = Trim(line.substr(0, eq));
        const std::string key = Lower(rawKey);
        const std::string_view value = Trim(line.substr(eq + 1));
        if (section == "devices") {
            if (key == "output") {
                if (auto d = ParseDevices(value)) c.outputs = *d;
            } else if (key == "input") {
                if (auto d = ParseDevices(value)) c.inputs = *d;
            } else if (key == "outputcount") {
                c.outputCount = ParseUint32(value);
            } else if (key == "inputcount") {
                c.inputCount = ParseUint32(value);
            }
        } else if (section == "library") {
            if (key == "initresult") {
                c.initResult = ParseInt32(value).value_or(c.initResult);
            } else if (key == "callbacks") {
                c.callbacks = ParseBool(value, c.callbacks);
            } else if (key == "callbackevent") {
                c.callbackEvent = ParseInt32(value).value_or(c.callbackEvent);
            } else if (key == "callbackflags") {
                c.callbackFlags = ParseUint32(value).value_or(c.callbackFlags);
            } else if (key == "storm") {
                c.storm = ParseUint32(value).value_or(c.storm);
            } else if (key == "stormpause") {
                c.stormPause = ParseUint32(value).value_or(c.stormPause);
            }
        } else if (section == "properties") {
            if (key == "failget") {
                c.failGet = ParseNames(value);
            } else if (key == "failset") {
                c.failSet = ParseNames(value);
            } else if (key == "unterminated") {
                c.unterminated = ParseNames(value);
            } else if (key == "unsupportedrates") {
                for (auto r : Split(value, ','))
                    if (auto n = ParseUint32(r)) c.unsupportedRates.insert(*n);
            }
        } else if (section == "features") {
            if (key == "default") {
                c.features = std::string(value);
            } else if (auto id = ParseInt32(rawKey)) {
                c.featuresByDevice[*id] = std::string(value);
            }
        } else if (section == "answers") {
            c.answers[std::string(rawKey)] = std::string(value);
        }
    }
    return c;
}

int32_t DefaultValue(std::string_view name, int32_t selector) {
    if (name == "DevSampleRateControl") return 48000;
    if (name == "DevBitDepthControl") return 24;
    if (name == "DevChannelNumControl") return 2;
    if (name == "DeviceSpecificControl") return selector == 1 || selector == 2 ? selector : 0;
    if (name == "HPAmplifierControl") return selector == 1 ? 600 : selector == 2 ? 32 : 0;
    if (name == "ZODOZE_HPSPK_ROOMSIZE" || name == "RFX_ROOMSIZE") return 1;
    if (name == "IsSupportFormat") return 1;
    return 0;  // effects off, bands flat
}

bool AnswersInUtf16(std::string_view name) {
    return name == "DevSampleRateControl" || name == "DevBitDepthControl" ||
           name == "HPAmplifierControl" || name == "GetSupportFeature";
}

size_t AnswerBufferSize(std::string_view name) {
    return name == "GetSupportFeature" ? 2048 : 1024;
}

std::string FormatDevice(const Device& d) {
    return "dev=" + std::to_string(d.id) + "," + std::to_string(d.type) + "," +
           std::to_string(d.reserved) + "," + std::to_string(d.active);
}

std::string FormatExtra(const void* const* extra) {
    const void* buffer = ExtraBuffer(extra);
    if (!buffer) return "none";
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    return std::to_string(ReadInt32(bytes)) + "," + std::to_string(ReadInt32(bytes + 4));
}

std::map<ValueKey, int32_t> ParseState(std::string_view text) {
    std::map<ValueKey, int32_t> values;
    std::istringstream in{std::string(text)};
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::istringstream fields(line);
        long long device, selector, value;
        if (!(fields >> device >> selector >> value)) continue;
        std::string name;
        std::getline(fields >> std::ws, name);
        if (name.empty() || device < INT32_MIN || device > INT32_MAX || selector < INT32_MIN ||
            selector > INT32_MAX || value < INT32_MIN || value > INT32_MAX) {
            continue;
        }
        values[{static_cast<int32_t>(device), name, static_cast<int32_t>(selector)}] =
            static_cast<int32_t>(value);
    }
    return values;
}

std::string FormatState(const std::map<ValueKey, int32_t>& values) {
    std::string out;
    for (const auto& [key, value] : values) {
        const auto& [device, name, selector] = key;
        if (name.find_first_of("\r\n") != std::string::npos) continue;
        out += std::to_string(device) + " " + std::to_string(selector) + " " +
               std::to_string(value) + " " + name + "\n";
    }
    return out;
}

void Card::SetDirectory(std::filesystem::path directory) {
    *this = Card{};
    directory_ = std::move(directory);
}

void Card::EnsureLoaded() {
    if (!configLoaded_) ReloadConfig();
    if (!stateLoaded_) LoadState();
}

void Card::ReloadConfig() {
    const auto text = ReadFile(directory_ / kIniName);
    config_ = text ? ParseConfig(*text) : Config{};
    configLoaded_ = true;
}

void Card::LoadState() {
    const auto text = ReadFile(directory_ / kStateName);
    values_ = text ? ParseState(*text) : std::map<ValueKey, int32_t>{};
    stateLoaded_ = true;
}

std::FILE* Card::OpenFile(File& file, const char* name, const char* mode) {
    if (file && platform::Removed(file.get())) file.reset();
    if (!file) {
        file.reset(platform::Open(directory_ / name, mode));
        if (file && &file == &state_) stateSize_ = 0;  // "wb" starts the state file empty
    }
    return file.get();
}

void Card::CloseFiles() {
    log_.reset();
    state_.reset();
    stateSize_ = 0;
}

void Card::SaveState() {
    std::FILE* f = OpenFile(state_, kStateName, "wb");
    if (!f) return;
    const std::string text = FormatState(values_);
    std::rewind(f);
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    std::fflush(f);
    if (written && text.size() < stateSize_) platform::Truncate(f, text.size());
    stateSize_ = written ? text.size() : std::max(stateSize_, text.size());
}

void Card::Log(const std::string& line) {
    std::FILE* f = OpenFile(log_, kLogName, "ab");
    if (!f) return;
    const std::string text = line + "\n";
    std::fwrite(text.data(), 1, text.size(), f);
    std::fflush(f);
}

const Device* Card::FindDevice(int32_t id) const {
    for (const auto* list : {&config_.outputs, &config_.inputs})
        for (const Device& d : *list)
            if (d.id == id) return &d;
    return nullptr;
}

bool Card::Refused(const std::set<std::string>& list, const std::string& name) const {
    return list.count("*") != 0 || list.count(name) != 0;
}

int32_t Card::ConfLibInit() {
    // The first user after all others left starts from the files again.
    if (users_ == 0) {
        CloseFiles();
        stateLoaded_ = false;
    }
    ReloadConfig();
    EnsureLoaded();
    ++users_;
    const int32_t r = config_.initResult;
    Log("ConfLibInit -> " + std::to_string(r));
    return r;
}

int32_t Card::CreateDeviceList() {
    EnsureLoaded();
    Log("CreateDeviceList -> 0");
    return 0;
}

int32_t Card::GetDeviceCount(int32_t list, uint32_t* count) {
    EnsureLoaded();
    int32_t r = 0;
    uint32_t n = 0;
    if (list == 0) {
        n = config_.outputCount.value_or(static_cast<uint32_t>(config_.outputs.size()));
    } else if (list == 1) {
        n = config_.inputCount.value_or(static_cast<uint32_t>(config_.inputs.size()));
    } else {
        r = kBadArgument;
    }
    if (!count) r = kBadArgument;
    if (count) *count = n;
    Log("GetDeviceCount list=" + std::to_string(list) +
        " -> count=" + std::to_string(count ? *count : 0));
    return r;
}

int32_t Card::GetDeviceById(int32_t list, int32_t index, Device* device) {
    EnsureLoaded();
    int32_t r = 0;
    const std::vector<Device>* devices = list == 0   ? &config_.outputs
                                         : list == 1 ? &config_.inputs
                                                     : nullptr;
    if (!devices || !device) {
        r = kBadArgument;
    } else if (index < 0 || static_cast<size_t>(index) >= devices->size()) {
        r = kNoEntry;  // the descriptor is left as the caller had it
    } else {
        *device = (*devices)[static_cast<size_t>(index)];
    }
    Log("GetDeviceById list=" + std::to_string(list) + " index=" + std::to_string(index) + " -> " +
        FormatDevice(device ? *device : Device{}));
    return r;
}

std::string Card::AnswerText(const Device& device, const std::string& name, int32_t selector,
                             const void* const* extra) {
    if (auto it = config_.answers.find(name); it != config_.answers.end()) return it->second;
    if (name == "GetSupportFeature") {
        auto it = config_.featuresByDevice.find(device.id);
        return it != config_.featuresByDevice.end() ? it->second : config_.features;
    }
    if (name == "IsSupportFormat") {
        // Format record {16-bit channels, 16-bit sample width, 32-bit rate}.
        const void* record = ExtraBuffer(extra);
        const uint32_t rate =
            record ? static_cast<uint32_t>(ReadInt32(static_cast<const uint8_t*>(record) + 4)) : 0;
        return config_.unsupportedRates.count(rate) ? "0" : "1";
    }
    return std::to_string(ValueOf(device.id, name, selector));
}

int32_t Card::ValueOf(int32_t device, const std::string& name, int32_t selector) {
    EnsureLoaded();
    auto it = values_.find({device, name, selector});
    return it != values_.end() ? it->second : DefaultValue(name, selector);
}

int32_t Card::PropertyControl(Device device, const char16_t* name, void** data, void** extra,
                              uint8_t set, std::optional<PendingCallback>* fire) {
    EnsureLoaded();
    std::u16string wideName;
    bool nameOk = name != nullptr;
    if (nameOk) {
        size_t n = 0;
        while (n <= kMaxNameLength && name[n] != 0) ++n;
        nameOk = n <= kMaxNameLength;
        if (nameOk) wideName.assign(name, n);
    }
    const std::string propertyName = Utf16ToUtf8(wideName);
    const bool haveData = data != nullptr && *data != nullptr;
    const void* extraBuffer = ExtraBuffer(extra);
    const int32_t selector =
        extraBuffer ? ReadInt32(extraBuffer) : 0;  // no extra buffer: selector 0
    const std::string head = std::string("PropertyControl ") + (set ? "set " : "get ") +
                             (propertyName.empty() ? "?" : propertyName) + " " +
                             FormatDevice(device);

    int32_t r = 0;
    if (!nameOk || propertyName.empty() || !haveData) {
        r = kBadArgument;
    } else if (!FindDevice(device.id)) {
        r = kNoDevice;
    } else if (Refused(set ? config_.failSet : config_.failGet, propertyName)) {
        r = kRefused;
    }

    if (set) {
        const std::string dataText = haveData ? std::to_string(ReadInt32(*data)) : "none";
        if (r == 0) {
            values_[{device.id, propertyName, selector}] = ReadInt32(*data);
            SaveState();
            if (config_.callbacks && callback_ && fire) {
                *fire = PendingCallback{callback_, callbackContext_, config_.callbackEvent,
                                        config_.callbackFlags};
            }
        }
        Log(head + " data=" + dataText + " extra=" + FormatExtra(extra) + " -> " +
            std::to_string(r));
        return r;
    }

    std::string answer;
    if (r == 0) {
        answer = AnswerText(device, propertyName, selector, extra);
        const size_t size = AnswerBufferSize(propertyName);
        const bool terminate = !Refused(config_.unterminated, propertyName);
        auto* bytes = static_cast<uint8_t*>(*data);
        if (AnswersInUtf16(propertyName)) {
            const size_t units = size / 2;
            const size_t room = terminate ? units - 1 : units;
            if (answer.size() > room) answer.resize(room);
            auto put = [bytes](size_t i, char16_t c) {
                bytes[2 * i] = static_cast<uint8_t>(c);
                bytes[2 * i + 1] = static_cast<uint8_t>(c >> 8);
            };
            for (size_t i = 0; i < answer.size(); ++i)
                put(i, static_cast<char16_t>(static_cast<uint8_t>(answer[i])));
            if (terminate) {
                put(answer.size(), u'\0');
            } else {
                for (size_t i = answer.size(); i < units; ++i) put(i, u' ');
            }
        } else {
            const size_t room = terminate ? size - 1 : size;
            if (answer.size() > room) answer.resize(room);
            std::memcpy(bytes, answer.data(), answer.size());
            if (terminate) {
                bytes[answer.size()] = 0;
            } else {
                std::memset(bytes + answer.size(), ' ', size - answer.size());
            }
        }
    }
    Log(head + " extra=" + FormatExtra(extra) + " -> " + std::to_string(r) + " answer=" + answer);
    return r;
}

int32_t Card::RegisterCallbackFunction(Callback callback, void* context) {
    EnsureLoaded();
    callback_ = callback;
    callbackContext_ = context;
    Log("RegisterCallbackFunction -> 0");
    return 0;
}

Card::Storm Card::StormFor(Callback callback, void* context) const {
    if (!config_.callbacks || callback == nullptr || config_.storm == 0) return {};
    return {{callback, context, config_.callbackEvent, config_.callbackFlags},
            config_.storm,
            config_.stormPause};
}

void Card::StormEnded(uint32_t fired, uint32_t count) {
    Log("Storm fired=" + std::to_string(fired) + " of " + std::to_string(count));
}

int32_t Card::ConfLibUnInit() {
    EnsureLoaded();
    if (users_ > 0 && --users_ == 0) {
        callback_ = nullptr;
        callbackContext_ = nullptr;
    }
    Log("ConfLibUnInit -> 0");
    // the files are free again for whoever edits or removes them between runs
    if (users_ == 0) CloseFiles();
    return 0;
}

int32_t Card::Unused(const char* entryPoint) {
    EnsureLoaded();
    Log(std::string(entryPoint) + " -> 0");
    return 0;
}

}  // namespace vcard
