// The selected output and input devices and their feature bits. Portable: the calls go through
// the entry-point table of conflib.h, the failure message through the notice sink.
#pragma once

#include <cstdint>

#include "device/conflib.h"

namespace quorelle::device {

// One selected device: its descriptor and the fields kept from its feature answer.
struct DeviceInfo {
    DeviceDescriptor device;
    int32_t features = 0;  // field 1 of the feature answer; bits 0x2 and 0x4 are read by pages
    int32_t field5 = 0;    // field 5, kept
    int32_t field7 = 0;    // field 7, kept
};

// Feature bits of theOutputDevice.features.
inline constexpr int32_t kFeatureEnvironmentReadBack = 0x2;
inline constexpr int32_t kFeatureEqualizerReadBack = 0x4;

// Output kinds.
inline constexpr int32_t OUTPUT_DIGITAL = 100000;
inline constexpr int32_t OUTPUT_ANALOG = 100001;

// The devices every property call is addressed to; zero until selected.
extern DeviceInfo theOutputDevice;
extern DeviceInfo theInputDevice;

// No list is walked beyond this many entries, whatever count the library reports, so that an
// absurd count cannot stall the panel.
inline constexpr uint32_t kMaxWalkedDevices = 64;

// Chooses the output device of the kind (analog prefers an active type 1 over an active type 7,
// digital takes an active type 4; list order decides within a type) and the first input device
// of type 2, then refreshes both devices' features. Returns the chosen output's id, or the output
// count when nothing fitted and no input device was found (the id held in theOutputDevice when an
// input device was found).
int32_t SelectOutputDevice(int32_t kind);

// Refreshes the record's feature fields from its GetSupportFeature answer. A malformed answer
// shows "UpdateAPOAvailable failed!" and keeps the fields; a failed call changes nothing.
void UpdateAPOAvailable(DeviceInfo& info);

}  // namespace quorelle::device
