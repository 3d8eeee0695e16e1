// The main console: master volume, left/right balance, mute, output route, sample rate, bit depth
// and the digital output switch. Portable page model: it holds what the page shows (knob,
// balance, lamps, pictures) and every action of the page; volume, balance and mute go to the
// default playback endpoint, everything else to theOutputDevice through the device library and
// to the settings file. The Win32 view (main_console_view_win32.h) feeds it the controls' values
// and the mouse, and renders State() into the controls of dialog 102.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "device/conflib.h"
#include "device/endpoint.h"
#include "pages/hit_area.h"
#include "pages/settings_keys.h"

namespace quorelle::pages {

// The other pages the main console refreshes when the digital output is switched on. The main
// window hands in an implementation that forwards to the HIFI and headphone pages.
struct PageRefresh {
    virtual ~PageRefresh() = default;
    // The HIFI page re-reads its switches from the settings file.
    virtual void RefreshHifiFromSettings() = 0;
    // The headphone page re-reads its switches from the settings file.
    virtual void RefreshHeadphoneFromSettings() = 0;
};

// The six sample rates in the order the page walks them; the index is also the sample-rate
// picture's image index.
inline constexpr int kRateCount = 6;
inline constexpr std::array<int32_t, kRateCount> kSampleRates = {44100, 48000,  88200,
                                                                 96000, 176400, 192000};
// The three bit depths, in the order of their lamps.
inline constexpr int kDepthCount = 3;
inline constexpr std::array<int32_t, kDepthCount> kBitDepths = {16, 24, 32};

// Knob and balance ranges.
inline constexpr int32_t kKnobMin = 0;
inline constexpr int32_t kKnobMax = 65;
inline constexpr int32_t kKnobDragLimit = 50;  // the position of full level
inline constexpr int32_t kKnobStart = 20;
inline constexpr int32_t kBalanceMin = 0;
inline constexpr int32_t kBalanceMax = 100;
inline constexpr int32_t kBalanceCentre = 50;

// One lamp or picture as the page shows it.
struct LampState {
    bool lit = false;
    bool enabled = true;
    bool visible = true;
    bool operator==(const LampState&) const = default;
};

struct MainConsoleState {
    int32_t knobPosition = kKnobStart;
    int32_t balance = kBalanceCentre;
    LampState mute;           // lit = muted
    LampState outputPicture;  // lit = the headphone picture
    LampState headphoneLamp;
    LampState speakerLamp;
    std::array<LampState, kRateCount> rateLamps;  // in kSampleRates order
    int32_t sampleRatePicture = 0;                // index into kSampleRates
    LampState digitalOutput;
    // 16, 24 and 32 bit. The 32-bit lamp's visibility also governs its caption.
    std::array<LampState, kDepthCount> depthLamps;
    // What the device answered for selectors 1 and 2 of DeviceSpecificControl; 0 until read.
    int32_t speakerRouteCode = 0;
    int32_t headphoneRouteCode = 0;
    bool operator==(const MainConsoleState&) const = default;
};

// Where the clickable lamps and pictures are. A control's rectangle counts whether the control
// is shown, hidden or disabled.
struct HitAreas {
    Rect mute;
    Rect outputPicture;
    Rect sampleRatePicture;
    Rect digitalOutput;
    std::array<Rect, kDepthCount> depthLamps;
};

// The rate (index into kSampleRates) a point of the sample-rate picture picks. The picture is
// cut into two columns at its middle and three rows of a third of its height each; every point
// belongs to exactly one zone (a point on a dividing line belongs to the zone right of or below
// it). Nothing for a point outside the picture.
std::optional<int> SampleRateZone(const Rect& picture, Point p);

// Knob position and balance from the endpoint's left and right levels.
struct VolumeReading {
    int32_t knob = 0;
    int32_t balance = kBalanceCentre;
};
VolumeReading VolumeFromLevels(float left, float right);

// Left and right levels for a knob position and a balance: the louder side gets the knob's level,
// the other is scaled down toward the end of the slider. Levels are kept within 0.0 .. 1.0.
struct ChannelLevels {
    float left = 0;
    float right = 0;
    bool rightFirst = false;  // the louder side is written first
};
ChannelLevels LevelsFromKnob(int32_t knob, int32_t balance);

class MainConsole {
  public:
    MainConsole(device::EndpointControl& endpoint, PageRefresh& pages);
    MainConsole(const MainConsole&) = delete;
    MainConsole& operator=(const MainConsole&) = delete;

    const MainConsoleState& State() const { return state_; }

    // The knob and the slider keep their own value while the user drags; the view hands them
    // in before an action that reads them.
    void SetKnobPosition(int32_t position) { state_.knobPosition = position; }
    void SetBalance(int32_t balance) { state_.balance = balance; }

    // Initial looks: knob 20, balance 50, mute lamp lit, 44.1 kHz, speaker, 16 bit, digital
    // output off.
    void SetupMainControls();
    // Knob and balance to the endpoint's left and right levels.
    void ApplyChannelLevels();
    void RefreshVolumeFromEndpoint();
    void RefreshMuteFromEndpoint();
    // Balance back to the centre, both channels at the louder channel's level; the knob stays.
    void ResetBalance();
    // Output lamps, picture and the device's route from the HeadPhone key.
    void ApplyOutputRoute();
    // Writes a default for each property the device cannot report.
    void ApplyDeviceDefaults();
    // Rate support, sample rate, bit depth and route codes from the device.
    void ReadDeviceState();

    // A left-button press at p. True when the window drag and the default processing must
    // follow (every press but one on the mute lamp).
    bool OnLeftButtonDown(const HitAreas& areas, Point p);
    // The single actions the press dispatches to.
    void ToggleMute();
    void ToggleOutputRoute();
    void ChooseSampleRate(int rateIndex);
    void ToggleDigitalOutput();
    void ChooseBitDepth(int depthIndex);

    // WM_VOLUME_CHANGED: only wParam 0 (someone else's change) re-reads the endpoint.
    void OnVolumeChanged(uintptr_t wParam);
    // WM_DEFAULT_OUTPUT_CHANGED: lParam 0 digital, 1 analog; anything else does nothing.
    void OnDefaultOutputChanged(intptr_t lParam);

    // Start-up, by the kind of the default endpoint (OUTPUT_ANALOG, OUTPUT_DIGITAL or anything
    // else): digital output lamp, 32-bit controls, output device, device state.
    void StartupOutputKind(int32_t kind);
    // Start-up: mute, volume and balance from the endpoint, then the output route.
    void StartupEndpointState();

  private:
    void ShowRate(int rateIndex);
    void ShowDepth(int32_t bits);
    void SelectKindAndRead(int32_t kind);

    device::EndpointControl& endpoint_;
    PageRefresh& pages_;
    MainConsoleState state_;
    // The page's property buffers: a data and an extra buffer for writes, the same for reads.
    device::PropertyBuffer writeData_;
    device::PropertyBuffer writeExtra_;
    device::PropertyBuffer readData_;
    device::PropertyBuffer readExtra_;
};

}  // namespace quorelle::pages
