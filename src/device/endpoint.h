// Volume, balance and mute of the default playback endpoint, and the classification of
// endpoints by their friendly names. The Win32 shell implements EndpointControl with the audio
// endpoint services; the main console's tests use a fake.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace quorelle::device {

class EndpointControl {
  public:
    virtual ~EndpointControl() = default;
    // Level of channel 0 (left) or 1 (right), 0.0 to 1.0; 0.0 when the endpoint cannot be read.
    virtual float GetChannelLevel(int channel) = 0;
    // Sets the level of a channel; the change carries the program's event context, so the
    // program can tell its own changes from others'. Failures are swallowed.
    virtual void SetChannelLevel(int channel, float level) = 0;
    // True when muted; false when the endpoint cannot be read.
    virtual bool GetEndpointMute() = 0;
    virtual void SetEndpointMute(bool muted) = 0;
};

// The kind of the default endpoint at start, from its friendly name (UTF-8): OUTPUT_ANALOG when
// the name holds "扬声器" or "master" (ASCII letters compared without case), else OUTPUT_DIGITAL
// when it holds "数字" or "pdif", else 0 (not recognised).
int32_t ClassifyEndpointName(std::string_view friendlyNameUtf8);

// What a change of the default device reports to the main window, by the new default's name
// (compared with case): lParam 0 (digital) when it holds "SPDIF" or "数字", then lParam 1
// (analog) when it holds "扬声器" or "揚聲器". Both, one or none.
std::vector<int> DefaultOutputChangeReports(std::string_view friendlyNameUtf8);

// The event context that marks the program's own volume and mute changes.
struct Guid {
    uint32_t data1;
    uint16_t data2;
    uint16_t data3;
    uint8_t data4[8];
};
inline constexpr Guid EventContextGuid = {
    0x4FA3DCD0, 0x3E1B, 0x4BC3, {0x34, 0x62, 0x65, 0x30, 0x37, 0x31, 0x30, 0x36}};

// wParam of WM_VOLUME_CHANGED posted by the endpoint volume listener: 10 for the program's own
// change (same context), 0 for anyone else's.
int VolumeChangeWParam(bool ownContext);

}  // namespace quorelle::device
