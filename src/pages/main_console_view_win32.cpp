#include "pages/main_console_view_win32.h"

#include "pages/hit_area_win32.h"
#include "pages/page_controls_win32.h"

namespace quorelle::pages {

namespace {
constexpr int kKnobDotRadius = 10;
}  // namespace

MainConsoleView::MainConsoleView(device::EndpointControl& endpoint, PageRefresh& pages)
    : model_(endpoint, pages) {}

void MainConsoleView::Attach(HWND dialog) {
    using namespace main_ids;
    using namespace main_images;
    dialog_ = dialog;
    rendered_.reset();

    SetupSlider(
        balance_, dialog, kBalance,
        {false, true, kBalanceTrack, kBalanceThumb, kBalanceMin, kBalanceMax, kBalanceCentre});
    SetupKnob(knob_, dialog, kKnob,
              {kKnobMin, kKnobMax, kKnobDragLimit, kKnobStart, kKnobDotRadius});

    reset_.AttachDlgItem(dialog, kReset);
    reset_.LoadBitmaps(kResetUp, kResetPressed);

    mute_.AttachDlgItem(dialog, kMute);
    mute_.LoadLampImages(kMuteOn, kMuteOff);
    for (int i = 0; i < kRateCount; ++i) {
        rateLamps_[i].AttachDlgItem(dialog, kRateLamps[i]);
        rateLamps_[i].LoadLampImages(kLedOn, kLedOff);
    }
    headphoneLamp_.AttachDlgItem(dialog, kHeadphoneLamp);
    headphoneLamp_.LoadLampImages(kLedOn, kLedOff);
    speakerLamp_.AttachDlgItem(dialog, kSpeakerLamp);
    speakerLamp_.LoadLampImages(kLedOn, kLedOff);
    outputPicture_.AttachDlgItem(dialog, kOutputPicture);
    outputPicture_.LoadLampImages(kOutputOn, kOutputOff);
    ratePicture_.AttachDlgItem(dialog, kRatePicture);
    ratePicture_.LoadSampleRateImages();
    digitalOutput_.AttachDlgItem(dialog, kDigitalOutput);
    digitalOutput_.LoadLampImages(kDigitalOn, kDigitalOff);
    for (int i = 0; i < kDepthCount; ++i) {
        depthLamps_[i].AttachDlgItem(dialog, kDepthLamps[i]);
        depthLamps_[i].LoadLampImages(kDepthOn, kDepthOff);
    }

    model_.SetupMainControls();
    Render();
}

void MainConsoleView::ApplyDeviceDefaults() {
    model_.ApplyDeviceDefaults();
    Render();
}

void MainConsoleView::ReadDeviceState() {
    model_.ReadDeviceState();
    Render();
}

void MainConsoleView::StartupOutputKind(int32_t kind) {
    model_.StartupOutputKind(kind);
    Render();
}

void MainConsoleView::StartupEndpointState() {
    model_.StartupEndpointState();
    Render();
}

bool MainConsoleView::OnLButtonDown(POINT client) {
    const bool drag = model_.OnLeftButtonDown(CurrentHitAreas(), {client.x, client.y});
    Render();
    return drag;
}

bool MainConsoleView::OnHScroll(HWND control) {
    if (control == nullptr || control != knob_.Hwnd()) return false;
    TakeControlValues();
    model_.ApplyChannelLevels();
    return true;
}

bool MainConsoleView::OnSliderTrack(WPARAM wParam) {
    if (wParam != static_cast<WPARAM>(main_ids::kBalance)) return false;
    TakeControlValues();
    model_.ApplyChannelLevels();
    return true;
}

bool MainConsoleView::OnSliderCommit(WPARAM wParam, LPARAM lParam) {
    if (wParam != static_cast<WPARAM>(main_ids::kBalance)) return false;
    // a drag's steps were applied as they came, so its final commit repeats the last of them;
    // a key moves the slider with a commit alone, which acts as a step does
    if (static_cast<int32_t>(lParam) != model_.State().balance) OnSliderTrack(wParam);
    return true;
}

bool MainConsoleView::OnCommand(WPARAM wParam) {
    if (LOWORD(wParam) != main_ids::kReset || !controls::IsButtonPress(wParam)) return false;
    TakeControlValues();
    model_.ResetBalance();
    Render();
    if (dialog_ != nullptr && balance_.Hwnd() != nullptr) {
        RECT area;
        GetWindowRect(balance_.Hwnd(), &area);
        MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&area), 2);
        InvalidateRect(dialog_, &area, FALSE);
    }
    return true;
}

LRESULT MainConsoleView::OnVolumeChanged(WPARAM wParam) {
    model_.OnVolumeChanged(wParam);
    Render();
    return 1;
}

LRESULT MainConsoleView::OnDefaultOutputChanged(LPARAM lParam) {
    model_.OnDefaultOutputChanged(lParam);
    Render();
    return 1;
}

HitAreas MainConsoleView::CurrentHitAreas() const {
    HitAreas areas;
    areas.mute = ClientRectOf(dialog_, main_ids::kMute);
    areas.outputPicture = ClientRectOf(dialog_, main_ids::kOutputPicture);
    areas.sampleRatePicture = ClientRectOf(dialog_, main_ids::kRatePicture);
    areas.digitalOutput = ClientRectOf(dialog_, main_ids::kDigitalOutput);
    for (int i = 0; i < kDepthCount; ++i)
        areas.depthLamps[i] = ClientRectOf(dialog_, main_ids::kDepthLamps[i]);
    return areas;
}

const controls::CMyStaticBmp* MainConsoleView::Lamp(int id) const {
    using namespace main_ids;
    if (id == kMute) return &mute_;
    if (id == kOutputPicture) return &outputPicture_;
    if (id == kHeadphoneLamp) return &headphoneLamp_;
    if (id == kSpeakerLamp) return &speakerLamp_;
    if (id == kRatePicture) return &ratePicture_;
    if (id == kDigitalOutput) return &digitalOutput_;
    for (int i = 0; i < kRateCount; ++i)
        if (id == kRateLamps[i]) return &rateLamps_[i];
    for (int i = 0; i < kDepthCount; ++i)
        if (id == kDepthLamps[i]) return &depthLamps_[i];
    return nullptr;
}

void MainConsoleView::TakeControlValues() {
    if (knob_.Hwnd() != nullptr) model_.SetKnobPosition(knob_.GetPos());
    if (balance_.Hwnd() != nullptr) model_.SetBalance(balance_.Value());
    if (rendered_) {
        rendered_->knobPosition = model_.State().knobPosition;
        rendered_->balance = model_.State().balance;
    }
}

void MainConsoleView::RenderLamp(controls::CMyStaticBmp& lamp, const LampState& now,
                                 const LampState* was) {
    if (lamp.Hwnd() == nullptr) return;
    if (was == nullptr || was->lit != now.lit) lamp.SetLit(now.lit);
    if (was == nullptr || was->enabled != now.enabled) EnableWindow(lamp.Hwnd(), now.enabled);
    if (was == nullptr || was->visible != now.visible)
        ShowWindow(lamp.Hwnd(), now.visible ? SW_SHOW : SW_HIDE);
}

void MainConsoleView::Render() {
    const MainConsoleState& now = model_.State();
    const MainConsoleState* was = rendered_ ? &*rendered_ : nullptr;

    if (knob_.Hwnd() != nullptr && (was == nullptr || was->knobPosition != now.knobPosition))
        knob_.SetPos(now.knobPosition, true);
    if (balance_.Hwnd() != nullptr && (was == nullptr || was->balance != now.balance))
        balance_.SetValue(now.balance);

    RenderLamp(mute_, now.mute, was ? &was->mute : nullptr);
    RenderLamp(outputPicture_, now.outputPicture, was ? &was->outputPicture : nullptr);
    RenderLamp(headphoneLamp_, now.headphoneLamp, was ? &was->headphoneLamp : nullptr);
    RenderLamp(speakerLamp_, now.speakerLamp, was ? &was->speakerLamp : nullptr);
    for (int i = 0; i < kRateCount; ++i)
        RenderLamp(rateLamps_[i], now.rateLamps[i], was ? &was->rateLamps[i] : nullptr);
    if (ratePicture_.Hwnd() != nullptr &&
        (was == nullptr || was->sampleRatePicture != now.sampleRatePicture)) {
        ratePicture_.SetStateIndex(now.sampleRatePicture);
        ratePicture_.ShowImage(now.sampleRatePicture);
    }
    RenderLamp(digitalOutput_, now.digitalOutput, was ? &was->digitalOutput : nullptr);
    for (int i = 0; i < kDepthCount; ++i)
        RenderLamp(depthLamps_[i], now.depthLamps[i], was ? &was->depthLamps[i] : nullptr);
    // the 32-bit caption comes and goes with its lamp
    const bool shown32 = now.depthLamps[2].visible;
    if (dialog_ != nullptr && (was == nullptr || was->depthLamps[2].visible != shown32)) {
        if (HWND caption = GetDlgItem(dialog_, main_ids::kDepthCaptions[2]))
            ShowWindow(caption, shown32 ? SW_SHOW : SW_HIDE);
    }
    rendered_ = now;
}

}  // namespace quorelle::pages
