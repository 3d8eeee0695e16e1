// CMyComboBox: a combo box (or an edit field) whose closed face is a bitmap with the current
// text drawn over it in black Arial. The control draws all of its face itself, whatever changed
// it: a paint of the window, and, for an owner-drawn combo box, the selection field the combo
// box repaints on its own when its selection changes (a click in the list, keys, a selection
// set by the page), as well as the items of its dropped list, in the panel's colours.
#pragma once

#include <windows.h>

#include "controls/control_win32.h"
#include "controls/gdi_win32.h"

namespace quorelle::controls {

class CMyComboBox : public SubclassedControl {
  public:
    CMyComboBox() = default;
    ~CMyComboBox() override;

    void SetFaceImageId(int id) {
        if (id != faceImageId_) resourceFace_.Reset();
        faceImageId_ = id;
    }
    int FaceImageId() const { return faceImageId_; }
    // A face the caller made, used instead of the resource; the control takes it over.
    void SetFaceBitmap(gdi::Bitmap face) { faceBitmap_ = std::move(face); }

    // The face image 1:1 from (0, 0) over the window's size.
    void DrawFace(HDC dc);
    // Face, text and focus mark, composed off-screen and copied to `target` in one transfer.
    void Paint(HDC target);
    // One item of the dropped list of an owner-drawn combo box.
    void DrawListItem(const DRAWITEMSTRUCT& item);

    bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    // The font the text is drawn in (an edit field is given it too, so that its caret follows
    // the drawn letters).
    HFONT Font() const { return font_.Get(); }
    // An edit field's letters and caret start this far inside its face, clear of the face's
    // dark frame (a caret drawn on the frame could not be seen); set again at each scale.
    void KeepTextInsideFace();

  protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnAttached() override;
    void OnDpiChanged() override;

  private:
    int faceImageId_ = 0;
    bool isCombo_ = false;
    gdi::Bitmap faceBitmap_;
    gdi::SharedBitmap resourceFace_;  // the face resource, loaded at the first drawing
    gdi::SharedFont font_;            // one for all of them
};

}  // namespace quorelle::controls
