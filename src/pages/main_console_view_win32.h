// The main console's controls on the main window (dialog 102): the volume knob, the balance
// slider, the lamps and pictures and the reset button. The view binds them by id, forwards the
// main window's messages to the page model (pages/main_console.h) and renders the model's state
// into the controls, touching only what changed.
//
// How the main window (CCKorZereDlg) drives it, all on the user-interface thread:
//
//   construction         MainConsoleView view_{endpoint, pageRefresh};   (a member)
//   WM_INITDIALOG        step 2:  view_.Attach(hwnd);
//                        step 10: when the library loaded and an output device exists, after
//                                 RegisterCallbackFunction:
//                                 view_.ApplyDeviceDefaults(); view_.ReadDeviceState();
//                        step 11: view_.StartupOutputKind(outputKind);
//                        step 13: view_.StartupEndpointState();
//   WM_LBUTTONDOWN       if (view_.OnLButtonDown({GET_X_LPARAM(l), GET_Y_LPARAM(l)}))
//                            drag the window (controls::DragPage) and let the default
//                            processing run; otherwise answer 0 and stop.
//   WM_HSCROLL           if (view_.OnHScroll(reinterpret_cast<HWND>(lParam))) ... then the
//                        default processing runs in every case.
//   SLIDER_MSG_TRACK     if (view_.OnSliderTrack(wParam)) answer 1.
//   SLIDER_MSG_COMMIT    if (view_.OnSliderCommit(wParam, lParam)) answer 1.
//   WM_COMMAND           if (view_.OnCommand(wParam)) answer 0 (the reset button, 1011).
//   WM_VOLUME_CHANGED    answer view_.OnVolumeChanged(wParam)          (always 1)
//   WM_DEFAULT_OUTPUT_CHANGED  answer view_.OnDefaultOutputChanged(lParam)  (always 1)
//
// The reset button is owner-drawn: the main window passes WM_DRAWITEM on to
// controls::ReflectNotification, as it does for its other skinned controls.
#pragma once

#include <windows.h>

#include <array>
#include <optional>

#include "controls/control_ids.h"
#include "controls/button_win32.h"
#include "controls/knob_win32.h"
#include "controls/lamp_win32.h"
#include "controls/skin_images.h"
#include "controls/slider_win32.h"
#include "pages/main_console.h"

namespace quorelle::pages {

// Control ids of dialog 102 that belong to the main console.
namespace main_ids = controls::ids::main_console;
static_assert(main_ids::kRateLamps.size() == kRateCount &&
              main_ids::kDepthLamps.size() == kDepthCount);

// Bitmap resources of the main console's controls.
namespace main_images {
inline constexpr int kKnobFace = controls::images::kKnobFace;
inline constexpr int kBalanceTrack = controls::images::kBalanceTrack;
inline constexpr int kBalanceThumb = controls::images::kBalanceThumb;
inline constexpr int kResetUp = controls::images::kResetKey;
inline constexpr int kResetPressed = controls::images::kResetKeyPressed;
inline constexpr int kMuteOn = controls::images::kMuteSwitchOn;
inline constexpr int kMuteOff = controls::images::kMuteSwitchOff;
inline constexpr int kLedOn = controls::images::kLedOn;
inline constexpr int kLedOff = controls::images::kLedOff;
inline constexpr int kOutputOn = controls::images::kToggleOn;  // headphone
inline constexpr int kOutputOff = controls::images::kToggleOff;
inline constexpr int kDigitalOn = controls::images::kWideSwitchOn;
inline constexpr int kDigitalOff = controls::images::kWideSwitchOff;
inline constexpr int kDepthOn = controls::images::kSquareLampOn;
inline constexpr int kDepthOff = controls::images::kSquareLampOff;
}  // namespace main_images

class MainConsoleView {
  public:
    MainConsoleView(device::EndpointControl& endpoint, PageRefresh& pages);
    MainConsoleView(const MainConsoleView&) = delete;
    MainConsoleView& operator=(const MainConsoleView&) = delete;

    // Binds the controls of `dialog`, gives them their images, ranges and initial looks.
    void Attach(HWND dialog);

    // Start-up.
    void ApplyDeviceDefaults();
    void ReadDeviceState();
    void StartupOutputKind(int32_t kind);
    void StartupEndpointState();

    // Messages of the main window.
    bool OnLButtonDown(POINT client);
    bool OnHScroll(HWND control);
    bool OnSliderTrack(WPARAM wParam);
    // The balance's commit (after a release or a key): acts as a step when it brings a value the
    // console has not applied yet.
    bool OnSliderCommit(WPARAM wParam, LPARAM lParam);
    bool OnCommand(WPARAM wParam);
    LRESULT OnVolumeChanged(WPARAM wParam);
    LRESULT OnDefaultOutputChanged(LPARAM lParam);

    // The lamps' and pictures' window rectangles in the dialog's client coordinates, whether
    // shown, hidden or disabled.
    HitAreas CurrentHitAreas() const;

    const MainConsole& Model() const { return model_; }
    MainConsole& Model() { return model_; }
    const controls::CRoundSliderCtrl& Knob() const { return knob_; }
    const controls::CBitmapSlider& Balance() const { return balance_; }
    // The lamp or picture bound to a control id; nullptr for other ids.
    const controls::CMyStaticBmp* Lamp(int id) const;

  private:
    // The knob and slider values into the model.
    void TakeControlValues();
    // The model's state into the controls; everything on the first call, then what changed.
    void Render();
    void RenderLamp(controls::CMyStaticBmp& lamp, const LampState& now, const LampState* was);

    MainConsole model_;
    HWND dialog_ = nullptr;
    controls::CRoundSliderCtrl knob_;
    controls::CBitmapSlider balance_;
    controls::CBitmapButton reset_;
    controls::CMyStaticBmp mute_;
    controls::CMyStaticBmp outputPicture_;
    controls::CMyStaticBmp headphoneLamp_;
    controls::CMyStaticBmp speakerLamp_;
    std::array<controls::CMyStaticBmp, kRateCount> rateLamps_;
    controls::CMyStaticBmp ratePicture_;
    controls::CMyStaticBmp digitalOutput_;
    std::array<controls::CMyStaticBmp, kDepthCount> depthLamps_;
    std::optional<MainConsoleState> rendered_;
};

}  // namespace quorelle::pages
