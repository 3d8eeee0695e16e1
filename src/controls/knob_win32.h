// CRoundSliderCtrl: a rotary knob bound to a trackbar control of a dialog. It answers the
// trackbar's messages from its own model, draws a face image with a dot on a circle, clips its
// window to that circle and reports with the trackbar's horizontal-scroll notifications.
#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <string>

#include "controls/control_win32.h"
#include "controls/gdi_win32.h"
#include "controls/knob.h"
#include "controls/memdc_win32.h"

namespace quorelle::controls {

class CRoundSliderCtrl : public SubclassedControl {
  public:
    CRoundSliderCtrl();
    ~CRoundSliderCtrl() override;

    // The trackbar's value queries and commands.
    int GetPos() const { return model_.Position(); }
    void SetPos(int position, bool redraw = true);
    // Moves the knob to `position` (within the range a drag reaches) as a drag does: one
    // position per step, each step told to the parent as thumb track, then thumb position.
    // False when it is there already.
    bool MoveAsDrag(int position);
    int GetRangeMin() const { return model_.Min(); }
    int GetRangeMax() const { return model_.Max(); }
    void SetRange(int min, int max, bool redraw = false);
    void SetLineSize(int size) { model_.SetLineSize(size); }
    void SetPageSize(int size) { model_.SetPageSize(size); }

    // Fields the pages set directly.
    void SetDragLimit(int limit) { model_.SetDragLimit(limit); }
    void SetFaceImageId(int id) {
        faceImageId_ = id;
        DropScaledFace();
    }
    void SetFaceImageOn(bool on) {
        faceImageOn_ = on;
        LookChanged();
    }
    // A face image the caller made (instead of the resource); the knob takes it over.
    void SetFaceBitmap(gdi::Bitmap face) {
        faceBitmap_ = std::move(face);
        DropScaledFace();
    }

    void SetValueFormat(const std::wstring& format) {
        valueFormat_ = format;
        LookChanged();
    }
    std::wstring GetValueFormat() const { return valueFormat_; }
    void SetDotRadius(int radius) {
        model_.SetDotRadius(radius);
        LookChanged();
    }
    int GetDotRadius() const { return model_.DotRadius(); }
    void SetGrabDotOnly(bool on) { model_.SetGrabDotOnly(on); }
    bool GetGrabDotOnly() const { return model_.GrabDotOnly(); }
    void SetZeroAngle(int degrees) {
        model_.SetZeroAngle(degrees);
        LookChanged();
    }
    int GetZeroAngle() const { return model_.ZeroAngle(); }
    void SetMirrored(bool mirrored) {
        model_.SetMirrored(mirrored);
        LookChanged();
    }
    bool GetMirrored() const { return model_.Mirrored(); }
    void SetFaceColor(COLORREF colour) {
        dialBrush_.Reset(CreateSolidBrush(colour));
        LookChanged();
    }
    void SetDotColor(COLORREF colour) {
        dotBrush_.Reset(CreateSolidBrush(colour));
        LookChanged();
    }
    void SetValueTextColor(COLORREF colour) {
        valueTextColour_ = colour;
        LookChanged();
    }
    void SetDotPressedColor(COLORREF colour) {
        pressedDotBrush_.Reset(CreateSolidBrush(colour));
        LookChanged();
    }
    void SetTextWeight(BYTE weight);
    void SetTextUnderline(BYTE underline);
    void SetTextItalic(BYTE italic);
    void SetTextHeight(int height);
    void SetTextFace(const std::wstring& face);
    void SetShowValueText(bool show) {
        showValueText_ = show;
        LookChanged();
    }
    std::wstring FormatValue() const;
    void RebuildFont();
    void RebuildGeometry();
    bool StepTowardPoint(POINT p);
    void NotifyParent(int code);

    // Copies the control's frame to `target`; the frame is composed again first when anything
    // it shows changed since it was last composed.
    void Paint(HDC target);
    // Composes the whole control into `dc` over the client rectangle.
    void Render(HDC dc, const RECT& client);

    const KnobModel& Model() const { return model_; }

  protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnAttached() override;
    void OnDpiChanged() override;

  private:
    // A point of the window in the model's logical pixels.
    struct Placement {
        RECT device{};                                 // in the parent's client area
        int left = 0, top = 0, width = 0, height = 0;  // logical
    };
    Placement Place() const;
    Point ToModel(POINT p) const;
    HCURSOR Cursor() const;
    void Post(const std::vector<KnobNotice>& notices);
    void RedrawNow();
    // Ends a drag that lost the mouse as a release would, at the position shown.
    void EndDrag();
    // The handlers of WindowProc. A trackbar message the knob answers itself: true, with the
    // answer in `result`.
    bool OnTrackbarMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    LRESULT OnPaint();
    LRESULT OnButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT OnKey(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnWheel(WPARAM wParam, LPARAM lParam);
    void DrawFace(HDC dc, const RECT& client, int side);
    void ScaleFace(HDC dc, SIZE want);
    void DropScaledFace() {
        scaledFace_.Reset();
        LookChanged();
    }
    // Anything the frame shows other than the position, the pressed state, the size and the
    // system colours changed: the next paint composes the frame again.
    void LookChanged() { ++lookVersion_; }

    // What a frame depends on.
    struct Look {
        int32_t position = 0;
        bool pressed = false;
        int32_t side = 0;
        LONG width = 0;
        LONG height = 0;
        unsigned version = 0;
        std::array<COLORREF, 5> systemColours{};
        bool operator==(const Look&) const = default;
    };
    Look CurrentLook(const RECT& client);

    KnobModel model_;
    std::wstring valueFormat_ = L"%ld";
    LOGFONTW fontDescription_{};
    gdi::Font font_;
    COLORREF valueTextColour_;
    gdi::Brush dotBrush_;
    gdi::Brush pressedDotBrush_;
    gdi::Brush dialBrush_;
    int faceImageId_ = 0;
    bool faceImageOn_ = false;
    bool showValueText_ = false;
    gdi::Bitmap faceBitmap_;
    // the face scaled to the control's size, made again when the image or the size changes
    gdi::Bitmap scaledFace_;
    SIZE scaledSize_{};
    ImageSource faceSource_;
    FrameSurface frame_;
    std::optional<Look> drawn_;
    unsigned lookVersion_ = 0;
    bool measured_ = false;  // the model's geometry was measured for the window once
};

}  // namespace quorelle::controls
