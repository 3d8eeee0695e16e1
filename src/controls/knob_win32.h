// CRoundSliderCtrl: a rotary knob bound to a trackbar control of a dialog. It answers the
// trackbar's messages from its own model, draws a face image with a dot on a circle, clips its
// window to that circle and reports with the trackbar's horizontal-scroll notifications.
#pragma once

#include <windows.h>

#include <string>

#include "controls/control_win32.h"
#include "controls/gdi_win32.h"
#include "controls/knob.h"

namespace quorelle::controls {

class CRoundSliderCtrl : public SubclassedControl {
  public:
    CRoundSliderCtrl();
    ~CRoundSliderCtrl() override;

    // The trackbar's value queries and commands.
    int GetPos() const { return model_.Position(); }
    void SetPos(int position, bool redraw = true);
    int GetRangeMin() const { return model_.Min(); }
    int GetRangeMax() const { return model_.Max(); }
    void SetRange(int min, int max, bool redraw = false);
    void SetLineSize(int size) { model_.SetLineSize(size); }
    void SetPageSize(int size) { model_.SetPageSize(size); }

    // Fields the pages set directly.
    void SetDragLimit(int limit) { model_.SetDragLimit(limit); }
    void SetFaceImageId(int id) {
        faceImageId_ = id;
        scaledFace_.Reset();
    }
    void SetFaceImageOn(bool on) { faceImageOn_ = on; }
    // A face image the caller made (instead of the resource); the knob takes it over.
    void SetFaceBitmap(gdi::Bitmap face) {
        faceBitmap_ = std::move(face);
        scaledFace_.Reset();
    }

    void SetValueFormat(const std::wstring& format) { valueFormat_ = format; }
    std::wstring GetValueFormat() const { return valueFormat_; }
    void SetDotRadius(int radius) { model_.SetDotRadius(radius); }
    int GetDotRadius() const { return model_.DotRadius(); }
    void SetGrabDotOnly(bool on) { model_.SetGrabDotOnly(on); }
    bool GetGrabDotOnly() const { return model_.GrabDotOnly(); }
    void SetZeroAngle(int degrees) { model_.SetZeroAngle(degrees); }
    int GetZeroAngle() const { return model_.ZeroAngle(); }
    void SetMirrored(bool mirrored) { model_.SetMirrored(mirrored); }
    bool GetMirrored() const { return model_.Mirrored(); }
    void SetFaceColor(COLORREF colour) { dialBrush_.Reset(CreateSolidBrush(colour)); }
    void SetDotColor(COLORREF colour) { dotBrush_.Reset(CreateSolidBrush(colour)); }
    void SetValueTextColor(COLORREF colour) { valueTextColour_ = colour; }
    void SetDotPressedColor(COLORREF colour) { pressedDotBrush_.Reset(CreateSolidBrush(colour)); }
    void SetTextWeight(BYTE weight);
    void SetTextUnderline(BYTE underline);
    void SetTextItalic(BYTE italic);
    void SetTextHeight(int height);
    void SetTextFace(const std::wstring& face);
    void SetShowValueText(bool show) { showValueText_ = show; }
    std::wstring FormatValue() const;
    void RebuildFont();
    void RebuildGeometry();
    bool StepTowardPoint(POINT p);
    void NotifyParent(int code);

    // Composes the whole control off-screen and copies it to `target`.
    void Paint(HDC target);

    const KnobModel& Model() const { return model_; }

  protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnAttached() override;

  private:
    void Post(const std::vector<KnobNotice>& notices);
    void RedrawNow();
    void DrawFace(HDC dc, const RECT& client);
    void ScaleFace(HDC dc, SIZE want);

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
    HCURSOR cursor_ = nullptr;
};

}  // namespace quorelle::controls
