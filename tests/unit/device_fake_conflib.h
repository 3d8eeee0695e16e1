// A recording fake of the device configuration library for native tests: it installs itself
// into the process-wide entry-point table, answers from what the test configured and records
// every call. One instance at a time.
#pragma once

#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/notice.h"
#include "device/conflib.h"

namespace quorelle::device::testing {

// What one PropertyControl call carried.
struct RecordedProperty {
    DeviceDescriptor device;
    std::u16string name;
    bool set = false;
    bool hadExtra = false;
    int32_t data = 0;   // first 32-bit integer of the data buffer on entry
    int32_t extra = 0;  // first 32-bit integer of the extra buffer, when one was passed
    std::vector<uint8_t> extraBytes;  // first 8 bytes of the extra buffer
};

// An answer to a get: the bytes written at the start of the data buffer, and the result.
struct FakeAnswer {
    int32_t status = 0;
    std::vector<uint8_t> bytes;
    bool fillWholeBuffer = false;  // repeat `bytes` up to the buffer's end, no terminator
};

class FakeConfLib {
  public:
    FakeConfLib() {
        current_ = this;
        Install();
    }
    ~FakeConfLib() {
        ConfLibSlots() = {};
        current_ = nullptr;
    }
    FakeConfLib(const FakeConfLib&) = delete;
    FakeConfLib& operator=(const FakeConfLib&) = delete;

    // Every slot filled with this fake.
    void Install() {
        ConfLibEntryPoints& s = ConfLibSlots();
        s.ConfLibInit = [] {
            Log("ConfLibInit");
            return current_->initResult;
        };
        s.CreateDeviceList = [] {
            Log("CreateDeviceList");
            return 0;
        };
        s.GetDeviceCount = &GetDeviceCountImpl;
        s.GetDeviceById = &GetDeviceByIdImpl;
        s.PropertyControl = &PropertyControlImpl;
        s.RegisterCallbackFunction = [](ConfLibCallbackFn cb, void* context) {
            current_->callback = cb;
            current_->callbackContext = context;
            Log("RegisterCallbackFunction");
            return 0;
        };
        s.ConfLibUnInit = [] {
            Log("ConfLibUnInit");
            return 0;
        };
        s.ShowAsioPanel = [] {
            Log("ShowAsioPanel");
            return 0;
        };
        s.PlayTestSound = [] {
            Log("PlayTestSound");
            return 0;
        };
        s.StopTestSound = [] {
            Log("StopTestSound");
            return 0;
        };
        s.CloseTestSound = [] {
            Log("CloseTestSound");
            return 0;
        };
    }

    // Answers in the two encodings the library uses.
    void Answer8(const std::u16string& name, const std::string& text, int32_t status = 0) {
        FakeAnswer a{status, std::vector<uint8_t>(text.begin(), text.end()), false};
        a.bytes.push_back(0);
        answers[name] = a;
    }
    void Answer16(const std::u16string& name, const std::u16string& text, int32_t status = 0) {
        answers[name] = Text16(text, status);
    }
    // UTF-16 text, terminated, or repeated over the whole buffer without a terminator.
    static FakeAnswer Text16(const std::u16string& text, int32_t status = 0,
                             bool unterminated = false) {
        FakeAnswer a{status, {}, unterminated};
        for (char16_t c : text) {
            a.bytes.push_back(static_cast<uint8_t>(c));
            a.bytes.push_back(static_cast<uint8_t>(c >> 8));
        }
        if (!unterminated) a.bytes.insert(a.bytes.end(), {0, 0});
        return a;
    }

    size_t CountOf(const std::string& entry) const {
        size_t n = 0;
        for (const auto& c : calls)
            if (c == entry) ++n;
        return n;
    }

    std::vector<DeviceDescriptor> outputs;
    std::vector<DeviceDescriptor> inputs;
    std::optional<uint32_t> outputCount;  // reported instead of outputs.size()
    std::optional<uint32_t> inputCount;
    int32_t initResult = 0;
    std::map<std::u16string, FakeAnswer> answers;  // gets of other names fail with 1
    // Answers to gets whose extra buffer starts with this 32-bit integer (a selector, an
    // index); they take precedence over `answers`.
    std::map<std::pair<std::u16string, int32_t>, FakeAnswer> keyedAnswers;
    std::map<std::u16string, int32_t> setResults;  // sets of other names succeed
    std::vector<std::string> calls;                // entry point names, in call order
    std::vector<RecordedProperty> properties;
    ConfLibCallbackFn callback = nullptr;
    void* callbackContext = nullptr;
    // How many bytes the fake may write into a get's data buffer.
    size_t answerBufferSize = kPropertyBufferSize;
    size_t featureBufferSize = kFeatureBufferSize;

  private:
    static void Log(const char* entry) { current_->calls.emplace_back(entry); }

    static int32_t GetDeviceCountImpl(int32_t list, uint32_t* count) {
        Log("GetDeviceCount");
        const auto& f = *current_;
        *count = list == 0 ? f.outputCount.value_or(static_cast<uint32_t>(f.outputs.size()))
                           : f.inputCount.value_or(static_cast<uint32_t>(f.inputs.size()));
        return 0;
    }

    static int32_t GetDeviceByIdImpl(int32_t list, int32_t index, DeviceDescriptor* d) {
        Log("GetDeviceById");
        const auto& devices = list == 0 ? current_->outputs : current_->inputs;
        if (index < 0 || static_cast<size_t>(index) >= devices.size()) return 1;
        *d = devices[static_cast<size_t>(index)];
        return 0;
    }

    static int32_t PropertyControlImpl(DeviceDescriptor device, const char16_t* name, void** data,
                                       void** extra, uint8_t set) {
        Log("PropertyControl");
        FakeConfLib& f = *current_;
        RecordedProperty r;
        r.device = device;
        r.name = name;
        r.set = set != 0;
        std::memcpy(&r.data, *data, 4);
        if (extra) {
            r.hadExtra = true;
            std::memcpy(&r.extra, *extra, 4);
            r.extraBytes.assign(static_cast<uint8_t*>(*extra), static_cast<uint8_t*>(*extra) + 8);
        }
        f.properties.push_back(r);
        if (set) {
            auto it = f.setResults.find(r.name);
            return it == f.setResults.end() ? 0 : it->second;
        }
        const FakeAnswer* found = nullptr;
        if (const auto keyed = f.keyedAnswers.find({r.name, r.extra});
            r.hadExtra && keyed != f.keyedAnswers.end())
            found = &keyed->second;
        else if (const auto it = f.answers.find(r.name); it != f.answers.end())
            found = &it->second;
        if (found == nullptr) return 1;
        const FakeAnswer& a = *found;
        const size_t size =
            r.name == u"GetSupportFeature" ? f.featureBufferSize : f.answerBufferSize;
        auto* out = static_cast<uint8_t*>(*data);
        if (a.fillWholeBuffer && !a.bytes.empty()) {
            for (size_t i = 0; i < size; ++i) out[i] = a.bytes[i % a.bytes.size()];
        } else {
            std::memcpy(out, a.bytes.data(), std::min(size, a.bytes.size()));
        }
        return a.status;
    }

    static inline FakeConfLib* current_ = nullptr;
};

// Records the notices the code under test shows.
class RecordingNotices : public NoticeSink {
  public:
    RecordingNotices() { SetNoticeSink(this); }
    ~RecordingNotices() override { SetNoticeSink(nullptr); }
    void Show(const std::string& textUtf8) override { shown.push_back(textUtf8); }
    std::vector<std::string> shown;
};

}  // namespace quorelle::device::testing
