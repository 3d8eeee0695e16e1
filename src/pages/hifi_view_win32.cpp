#include "pages/hifi_view_win32.h"

#include <algorithm>

#include "base/text_win32.h"
#include "controls/layout.h"
#include "controls/scale.h"
#include "controls/layout_table.h"
#include "controls/skin_images.h"
#include "pages/hit_area_win32.h"
#include "pages/page_chrome_win32.h"
#include "pages/page_controls_win32.h"

namespace quorelle::pages {

namespace {

using namespace hifi_ids;

namespace images = controls::images;
constexpr int kSwitchOn = images::kSwitchOn, kSwitchOff = images::kSwitchOff;
constexpr int kSquareOn = images::kSquareLampOn, kSquareOff = images::kSquareLampOff;
constexpr int kLedOn = images::kLedOn, kLedOff = images::kLedOff;

// What a lamp shows, read from the page's state.
using LampReading = LampState (*)(const EqualizerState&, const ReverbState&);

template <LampState EqualizerState::*Field>
LampState Eq(const EqualizerState& eq, const ReverbState&) {
    return eq.*Field;
}
template <LampState ReverbState::*Field>
LampState Rev(const EqualizerState&, const ReverbState& rev) {
    return rev.*Field;
}
template <size_t I>
LampState RegionLamp(const EqualizerState& eq, const ReverbState&) {
    return eq.regionLamps[I];
}
template <size_t I>
LampState PresetLamp(const EqualizerState& eq, const ReverbState&) {
    return eq.presetLamps[I];
}
template <size_t I>
LampState RoomLamp(const EqualizerState&, const ReverbState& rev) {
    return rev.roomLamps[I];
}

// One two-image lamp of the page: its control, its images and what it shows.
struct LampRow {
    int id;
    int on;
    int off;
    LampReading shows;
};

// Every two-image lamp of the page; the view's lamps_ follow this order.
constexpr std::array<LampRow, 29> kLamps = {{
    {kMaster, images::kWideSwitchOn, images::kWideSwitchOff, &Eq<&EqualizerState::master>},
    {kTone, kSwitchOn, kSwitchOff, &Eq<&EqualizerState::tone>},
    {kRegion, kSwitchOn, kSwitchOff, &Eq<&EqualizerState::region>},
    {kPreset, kSwitchOn, kSwitchOff, &Eq<&EqualizerState::preset>},
    {kEqualizer, kSwitchOn, kSwitchOff, &Eq<&EqualizerState::equalizer>},
    {kDefinedEq, kSquareOn, kSquareOff, &Eq<&EqualizerState::definedEq>},
    {kRegionLamps[0], kSquareOn, kSquareOff, &RegionLamp<0>},
    {kRegionLamps[1], kSquareOn, kSquareOff, &RegionLamp<1>},
    {kRegionLamps[2], kSquareOn, kSquareOff, &RegionLamp<2>},
    {kRegionLamps[3], kSquareOn, kSquareOff, &RegionLamp<3>},
    {kRegionLamps[4], kSquareOn, kSquareOff, &RegionLamp<4>},
    {kPresetLamps[0], kSquareOn, kSquareOff, &PresetLamp<0>},
    {kPresetLamps[1], kSquareOn, kSquareOff, &PresetLamp<1>},
    {kPresetLamps[2], kSquareOn, kSquareOff, &PresetLamp<2>},
    {kPresetLamps[3], kSquareOn, kSquareOff, &PresetLamp<3>},
    {kPresetLamps[4], kSquareOn, kSquareOff, &PresetLamp<4>},
    {kPresetLamps[5], kSquareOn, kSquareOff, &PresetLamp<5>},
    {kPresetLamps[6], kSquareOn, kSquareOff, &PresetLamp<6>},
    {kPresetLamps[7], kSquareOn, kSquareOff, &PresetLamp<7>},
    {kPresetLamps[8], kSquareOn, kSquareOff, &PresetLamp<8>},
    {kPresetLamps[9], kSquareOn, kSquareOff, &PresetLamp<9>},
    {kPresetLamps[10], kSquareOn, kSquareOff, &PresetLamp<10>},
    {kPresetLamps[11], kSquareOn, kSquareOff, &PresetLamp<11>},
    {kRoom, kSwitchOn, kSwitchOff, &Rev<&ReverbState::room>},
    {kRoomLamps[0], kLedOn, kLedOff, &RoomLamp<0>},
    {kRoomLamps[1], kLedOn, kLedOff, &RoomLamp<1>},
    {kRoomLamps[2], kLedOn, kLedOff, &RoomLamp<2>},
    {kEnvironment, kSwitchOn, kSwitchOff, &Rev<&ReverbState::environment>},
    {kEnvironmentPanel, images::kEnvironmentPanelOn, images::kEnvironmentPanelOff,
     &Rev<&ReverbState::panel>},
}};
static_assert(kLamps.size() == 6 + kRegionStyleCount + kEqPresetCount + 1 + kRoomSizeCount + 2,
              "every lamp of the page has its row in kLamps");

// Every id the view binds is a control of the right kind in the page's template.
constexpr bool InTemplate(int id, controls::ControlKind kind) {
    return controls::TemplateHas(controls::kHifiDialog, id, kind);
}
template <typename Ids>
constexpr bool AllInTemplate(const Ids& ids, controls::ControlKind kind) {
    return std::ranges::all_of(ids, [kind](int id) { return InTemplate(id, kind); });
}
using Kind = controls::ControlKind;
static_assert(std::ranges::all_of(kLamps,
                                  [](const LampRow& r) { return InTemplate(r.id, Kind::Lamp); }),
              "a lamp of the view is not a lamp of the template");
static_assert(AllInTemplate(kBands, Kind::Slider) && InTemplate(kTreble, Kind::Knob) &&
                  InTemplate(kBass, Kind::Knob),
              "a band slider or tone knob of the view is not in the template");
static_assert(AllInTemplate(std::array{kReset, kAddPreset, kDeletePreset, kPrevious, kNext},
                            Kind::Button) &&
                  InTemplate(kPresetList, Kind::Combo) && InTemplate(kPresetName, Kind::Edit) &&
                  InTemplate(kRoomPicture, Kind::Picture) &&
                  AllInTemplate(kEnvironmentLines, Kind::Label),
              "a button, list, field, picture or label of the view is not in the template");

constexpr int kKnobDotRadius = 8;
constexpr int kBandTrack = images::kBandTrack;
constexpr int kBandThumb = images::kBandThumb;

}  // namespace

void HifiView::Attach(HWND dialog, PageChrome& chrome) {
    dialog_ = dialog;
    chrome_ = &chrome;
    rendered_.reset();

    const KnobSetup knob{kToneMin, kToneMax, kToneDragLimit, kToneFlat, kKnobDotRadius};
    SetupKnob(treble_, dialog, kTreble, knob);
    SetupKnob(bass_, dialog, kBass, knob);
    for (int i = 0; i < kBandCount; ++i)
        SetupSlider(bands_[i], dialog, kBands[i],
                    {true, false, kBandTrack, kBandThumb, kBandMin, kBandMax, 0});
    reset_.AttachDlgItem(dialog, kReset);
    reset_.LoadBitmaps(images::kResetKey, images::kResetKeyPressed);
    add_.AttachDlgItem(dialog, kAddPreset);
    add_.LoadBitmaps(images::kPlusKey, images::kPlusKeyPressed);
    delete_.AttachDlgItem(dialog, kDeletePreset);
    delete_.LoadBitmaps(images::kMinusKey, images::kMinusKeyPressed);
    previous_.AttachDlgItem(dialog, kPrevious);
    previous_.LoadBitmaps(images::kUpKey, images::kUpKeyPressed);
    next_.AttachDlgItem(dialog, kNext);
    next_.LoadBitmaps(images::kDownKey, images::kDownKeyPressed);
    presetList_.AttachDlgItem(dialog, kPresetList);
    presetList_.SetFaceImageId(images::kComboFace);
    SendDlgItemMessageW(dialog, kPresetList, CB_RESETCONTENT, 0, 0);
    ShapePresetList();
    presetName_.AttachDlgItem(dialog, kPresetName);
    presetName_.SetFaceImageId(images::kEditFace);
    if (HWND field = presetName_.Hwnd()) {
        // the face image is the field's frame; the letters are drawn in the face's font, so the
        // caret goes with them
        SetWindowLongPtrW(field, GWL_STYLE, GetWindowLongPtrW(field, GWL_STYLE) & ~WS_BORDER);
        SetWindowLongPtrW(field, GWL_EXSTYLE,
                          GetWindowLongPtrW(field, GWL_EXSTYLE) & ~WS_EX_CLIENTEDGE);
        SetWindowPos(field, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        SendMessageW(field, WM_SETFONT, reinterpret_cast<WPARAM>(presetName_.Font()), FALSE);
        presetName_.KeepTextInsideFace();
        SendMessageW(field, EM_LIMITTEXT, kMaxPresetNameUnits, 0);
    }
    for (size_t i = 0; i < kLamps.size(); ++i) {
        lamps_[i].AttachDlgItem(dialog, kLamps[i].id);
        lamps_[i].LoadLampImages(kLamps[i].on, kLamps[i].off);
    }

    model_.SetupControls();
    roomPicture_.AttachDlgItem(dialog, kRoomPicture);
    roomPicture_.LoadRoomImages(model_.Rev().roomPicture);
    Render();
}

void HifiView::StartFromSettings() {
    model_.StartFromSettings();
    Render();
}

void HifiView::StartPresetControls() {
    model_.StartPresetControls();
    Render();
}

void HifiView::ShowEnvironmentList() {
    model_.ShowEnvironmentList();
    Render();
}

void HifiView::RefreshFromSettings() {
    TakeControlValues();
    model_.RefreshFromSettings();
    Render();
}

bool HifiView::OnLButtonDown(POINT client) {
    TakeControlValues();
    const bool drag = model_.OnLeftButtonDown(CurrentHitAreas(), {client.x, client.y});
    Render();
    return drag;
}

bool HifiView::OnHScroll(HWND control) {
    if (control == nullptr || (control != treble_.Hwnd() && control != bass_.Hwnd())) return false;
    TakeControlValues();
    model_.OnKnobMoved();
    Render();
    return true;
}

void HifiView::OnSliderTrack() {
    TakeControlValues();
    model_.OnBandsMoved();
    Render();
}

bool HifiView::OnSliderCommit(WPARAM wParam, LPARAM lParam) {
    const auto band = std::ranges::find(kBands, static_cast<int>(wParam));
    if (band == kBands.end()) return false;
    // A drag's steps were recorded as they came, so its final commit repeats the last of them.
    // A key moves a band with a commit alone: a value the page has not recorded yet (the
    // model's position, which a chosen user preset sets too, not the band's key) records the
    // bands as a step does.
    const size_t i = static_cast<size_t>(band - kBands.begin());
    if (static_cast<int32_t>(lParam) != model_.Eq().sliders[i]) OnSliderTrack();
    return true;
}

bool HifiView::OnCommand(WPARAM wParam) {
    const int id = LOWORD(wParam);
    if (id == kPresetList && HIWORD(wParam) == CBN_SELCHANGE) {
        TakeControlValues();
        const LRESULT chosen = SendDlgItemMessageW(dialog_, kPresetList, CB_GETCURSEL, 0, 0);
        model_.OnPresetChosen(chosen == CB_ERR ? std::nullopt : std::optional<int>(int(chosen)));
        Render();
        return true;
    }
    if (!controls::IsButtonPress(wParam)) return false;
    std::optional<PresetWarning> warning;
    TakeControlValues();
    switch (id) {
        case kPrevious:
            model_.OnPreviousEnvironment();
            break;
        case kNext:
            model_.OnNextEnvironment();
            break;
        case kReset:
            model_.OnResetEqualizer();
            break;
        case kAddPreset:
            warning = model_.OnAddPreset();
            break;
        case kDeletePreset:
            model_.OnDeletePreset();
            break;
        default:
            return false;
    }
    Render();
    if (warning) ShowWarning(*warning);
    return true;
}

bool HifiView::ChooseSound(const SoundSources& shown, int command) {
    TakeControlValues();
    const bool chosen = pages::ChooseSound(model_, shown, command);
    Render();
    return chosen;
}

std::string HifiView::RunHotKey(HotKeyAction action, int language) {
    TakeControlValues();
    std::string shown = RunSoundHotKey(model_, action, language);
    Render();
    return shown;
}

void HifiView::ShowWarning(const PresetWarning& warning) {
    MessageBoxW(dialog_, Widen(warning.text).c_str(), Widen(warning.caption).c_str(),
                MB_OK | MB_ICONWARNING);
}

void HifiView::ShapePresetList() {
    HWND list = presetList_.Hwnd();
    const controls::ControlPlace* place = controls::FindControl(controls::kHifiDialog, kPresetList);
    if (list == nullptr || place == nullptr) return;
    // the window's height is the dropped list's; the closed face is the selection field's item
    // height plus the combo box's own frame, set after the size (a new size resets it)
    const int dpi = presetList_.Dpi();
    const controls::PxRect dropped =
        controls::ToDevice(controls::ToPixels(controls::kHifiDialog, place->dlu), dpi);
    const controls::PxRect face = controls::PlacedRect(controls::kHifiDialog, *place, dpi);
    const int faceW = face.w;
    const int faceH = face.h;
    SetWindowPos(list, nullptr, 0, 0, faceW, dropped.h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // the dropped list's items, drawn by the control in its face's font
    constexpr int kListItemHeight = 17;
    SendMessageW(list, CB_SETITEMHEIGHT, 0, controls::ToDevice(kListItemHeight, dpi));
    const auto faceHeight = [list] {
        RECT face;
        GetWindowRect(list, &face);
        return int(face.bottom - face.top);
    };
    int item = int(SendMessageW(list, CB_GETITEMHEIGHT, WPARAM(-1), 0));
    item += faceH - faceHeight();
    SendMessageW(list, CB_SETITEMHEIGHT, WPARAM(-1), LPARAM(item));
    // one correction where the item height read back is not the one the frame adds to
    item += faceH - faceHeight();
    SendMessageW(list, CB_SETITEMHEIGHT, WPARAM(-1), LPARAM(item));
}

HifiHitAreas HifiView::CurrentHitAreas() const {
    HifiHitAreas a;
    a.master = ClientRectOf(dialog_, kMaster);
    a.room = ClientRectOf(dialog_, kRoom);
    a.roomPicture = ClientRectOf(dialog_, kRoomPicture);
    a.tone = ClientRectOf(dialog_, kTone);
    a.region = ClientRectOf(dialog_, kRegion);
    for (int i = 0; i < kRegionStyleCount; ++i)
        a.regionLamps[i] = ClientRectOf(dialog_, kRegionLamps[i]);
    a.preset = ClientRectOf(dialog_, kPreset);
    for (int i = 0; i < kEqPresetCount; ++i)
        a.presetLamps[i] = ClientRectOf(dialog_, kPresetLamps[i]);
    a.equalizer = ClientRectOf(dialog_, kEqualizer);
    a.environment = ClientRectOf(dialog_, kEnvironment);
    return a;
}

const controls::CMyStaticBmp* HifiView::Lamp(int id) const {
    if (id == kRoomPicture) return &roomPicture_;
    for (size_t i = 0; i < kLamps.size(); ++i)
        if (kLamps[i].id == id) return &lamps_[i];
    return nullptr;
}

void HifiView::TakeControlValues() {
    Equalizer& eq = model_.equalizer();
    if (treble_.Hwnd() != nullptr && bass_.Hwnd() != nullptr)
        eq.SetKnobPositions(treble_.GetPos(), bass_.GetPos());
    std::array<int32_t, kBandCount> positions = eq.State().sliders;
    for (int i = 0; i < kBandCount; ++i)
        if (bands_[i].Hwnd() != nullptr) positions[i] = bands_[i].Value();
    eq.SetSliderPositions(positions);
    if (HWND field = dialog_ != nullptr ? GetDlgItem(dialog_, kPresetName) : nullptr) {
        std::wstring text(size_t(GetWindowTextLengthW(field)) + 1, L'\0');
        text.resize(size_t(GetWindowTextW(field, text.data(), int(text.size()))));
        model_.presets().SetNameField(Narrow(text));
    }
    if (rendered_) {
        rendered_->presets.nameField = model_.Presets().nameField;
        rendered_->eq.treble = eq.State().treble;
        rendered_->eq.bass = eq.State().bass;
        rendered_->eq.sliders = eq.State().sliders;
    }
}

void HifiView::Render() {
    const EqualizerState& eq = model_.Eq();
    const ReverbState& rev = model_.Rev();
    const Rendered* was = rendered_ ? &*rendered_ : nullptr;

    if (treble_.Hwnd() != nullptr && (was == nullptr || was->eq.treble != eq.treble))
        treble_.SetPos(eq.treble, true);
    if (bass_.Hwnd() != nullptr && (was == nullptr || was->eq.bass != eq.bass))
        bass_.SetPos(eq.bass, true);
    for (int i = 0; i < kBandCount; ++i) {
        if (bands_[i].Hwnd() != nullptr && (was == nullptr || was->eq.sliders[i] != eq.sliders[i]))
            bands_[i].SetValue(eq.sliders[i]);
    }

    for (size_t i = 0; i < kLamps.size(); ++i) {
        const bool lit = kLamps[i].shows(eq, rev).lit;
        if (lamps_[i].Hwnd() != nullptr &&
            (was == nullptr || kLamps[i].shows(was->eq, was->reverb).lit != lit))
            lamps_[i].SetLit(lit);
    }
    if (roomPicture_.Hwnd() != nullptr &&
        (was == nullptr || was->reverb.roomPicture != rev.roomPicture)) {
        roomPicture_.SetStateIndex(rev.roomPicture);
        roomPicture_.ShowImage(rev.roomPicture);
    }
    for (size_t i = 0; i < rev.list.size(); ++i) {
        if (was != nullptr && was->reverb.list[i] == rev.list[i]) continue;
        if (controls::CLabel* line = chrome_ ? chrome_->Label(kEnvironmentLines[i]) : nullptr)
            line->SetText(Widen(rev.list[i]));
    }
    const UserPresetsState& presets = model_.Presets();
    const bool listChanged = was == nullptr || was->presets.names != presets.names;
    if (listChanged && presetList_.Hwnd() != nullptr) {
        SendMessageW(presetList_.Hwnd(), CB_RESETCONTENT, 0, 0);
        for (const std::string& name : presets.names)
            SendMessageW(presetList_.Hwnd(), CB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(Widen(name).c_str()));
    }
    if (presetList_.Hwnd() != nullptr && (listChanged || was->presets.selected != presets.selected))
        SendMessageW(presetList_.Hwnd(), CB_SETCURSEL, WPARAM(presets.selected.value_or(-1)), 0);
    if (presetName_.Hwnd() != nullptr &&
        (was == nullptr || was->presets.nameField != presets.nameField))
        SetWindowTextW(presetName_.Hwnd(), Widen(presets.nameField).c_str());
    const bool enabled = model_.PresetControlsEnabled();
    if (dialog_ != nullptr && (was == nullptr || was->presetControls != enabled)) {
        for (int id : {kPresetList, kPresetName, kAddPreset, kDeletePreset})
            if (HWND control = GetDlgItem(dialog_, id)) EnableWindow(control, enabled);
    }
    rendered_ = Rendered{eq, rev, presets, enabled};
}

}  // namespace quorelle::pages
