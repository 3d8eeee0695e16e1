#include "device/selection.h"

#include <algorithm>
#include <limits>

#include "base/notice.h"

namespace quorelle::device {

DeviceInfo theOutputDevice;
DeviceInfo theInputDevice;

namespace {

// The entries of a list the panel walks: the reported count, bounded.
uint32_t WalkedCount(uint32_t reported) {
    return std::min(reported, kMaxWalkedDevices);
}

// Entry i of a list. The descriptor is cleared first, so an entry the library does not fill
// reads as "no device" instead of repeating the previous one.
DeviceDescriptor DeviceAt(int32_t list, uint32_t index) {
    DeviceDescriptor d{};
    conflib::GetDeviceById(list, static_cast<int32_t>(index), &d);
    return d;
}

// One pass over the output list. Every entry is asked for; an active device of the type is
// taken only when the type fits the kind.
std::optional<DeviceDescriptor> OutputPass(uint32_t count, int32_t type, bool fits) {
    for (uint32_t i = 0; i < count; ++i) {
        const DeviceDescriptor d = DeviceAt(kOutputList, i);
        if (fits && d.type == type && d.active == 1) return d;
    }
    return std::nullopt;
}

}  // namespace

int32_t SelectOutputDevice(int32_t kind) {
    uint32_t outputs = 0;
    conflib::GetDeviceCount(kOutputList, &outputs);
    const uint32_t walked = WalkedCount(outputs);
    // The result when nothing fits: the reported count, held within the int32 range.
    int32_t result = static_cast<int32_t>(
        std::min<uint32_t>(outputs, static_cast<uint32_t>(std::numeric_limits<int32_t>::max())));

    // Three passes in type order; a type counts only for its kind.
    std::optional<DeviceDescriptor> taken;
    const int32_t passes[] = {kTypeAnalogOutput, kTypeAnalogOutputAlt, kTypeDigitalOutput};
    for (int32_t type : passes) {
        const bool fits =
            type == kTypeDigitalOutput ? kind == OUTPUT_DIGITAL : kind == OUTPUT_ANALOG;
        taken = OutputPass(walked, type, fits);
        if (taken) break;
    }
    if (taken) {
        theOutputDevice.device = *taken;
        result = taken->id;
    }

    uint32_t inputs = 0;
    conflib::GetDeviceCount(kInputList, &inputs);
    const uint32_t walkedInputs = WalkedCount(inputs);
    for (uint32_t i = 0; i < walkedInputs; ++i) {
        const DeviceDescriptor d = DeviceAt(kInputList, i);
        if (d.type == kTypeInput) {  // taken whether active or not
            theInputDevice.device = d;
            result = theOutputDevice.device.id;
            break;
        }
    }

    UpdateAPOAvailable(theInputDevice);
    UpdateAPOAvailable(theOutputDevice);
    return result;
}

void UpdateAPOAvailable(DeviceInfo& info) {
    if (info.device.type <= 0) return;
    // The whole buffer is zeroed, so an answer that stops short is terminated and one that does
    // not is read only within the buffer.
    PropertyBuffer buffer(kFeatureBufferSize);
    const int32_t status =
        conflib::PropertyControl(info.device, u"GetSupportFeature", buffer.data(), nullptr, false);
    if (status != 0) return;
    const auto fields = ParseFeatureAnswer(ReadText16(buffer.bytes()));
    if (!fields) {
        ShowNotice("UpdateAPOAvailable failed!");
        return;
    }
    info.features = fields->features;
    info.field5 = fields->field5;
    info.field7 = fields->field7;
}

}  // namespace quorelle::device
