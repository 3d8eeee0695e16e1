// Base of the skinned controls: binds an object to an existing child window (a control of a
// dialog template, found by id) as a subclass of it (its own window procedure), and receives
// the notifications the parent reflects back to it.
#pragma once

#include <windows.h>

#include <vector>

namespace quorelle::controls {

class AccessibleObject;

class SubclassedControl {
  public:
    SubclassedControl() = default;
    SubclassedControl(const SubclassedControl&) = delete;
    SubclassedControl& operator=(const SubclassedControl&) = delete;
    virtual ~SubclassedControl();

    // Binds to a window; false when the window does not exist or is already bound.
    bool Attach(HWND hwnd);
    bool AttachDlgItem(HWND parent, int controlId) { return Attach(GetDlgItem(parent, controlId)); }
    // Takes the subclass off the window again.
    void Detach();

    HWND Hwnd() const { return hwnd_; }
    // The DPI the control is drawn for: the one its window keeps (DrawnDpi).
    int Dpi() const;
    // After its window's drawn scale changed (SetDrawnDpi): the control takes its images, fonts
    // and sizes at the new scale (OnDpiChanged).
    void FollowDrawnDpi() { OnDpiChanged(); }
    // Whether an image of `image` pixels has the size of the control's client area: exactly at
    // 100 %; within a pixel at other scales, where the control's place is converted by its
    // edges and the image by its size (the control draws it with gdi::DrawImageFitted).
    bool FitsImage(SIZE image) const;
    // A logical (96-DPI) length or edge in the control's device pixels, and back.
    int Scaled(int logical) const;
    int Logical(int device) const;
    int ControlId() const { return hwnd_ != nullptr ? GetDlgCtrlID(hwnd_) : 0; }

    // The object bound to a window of this thread, or nullptr (WindowObject: any other window,
    // whatever its user data holds, has none).
    static SubclassedControl* FromHandle(HWND hwnd);

    // A notification the parent received about this control (WM_CTLCOLOR*, WM_COMMAND,
    // WM_DRAWITEM). True when the control handled it; `result` is then the answer.
    virtual bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  protected:
    // The control's message handler; unhandled messages go to Default.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The window's own processing of a message (also callable outside WindowProc).
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);
    // The shown siblings that overlap the window, nearest first: those stacked under it
    // (`below`) or over it. The parent's stacking order is read once, at the first call: the
    // page stacks its controls when it is made and never again.
    std::vector<HWND> OverlappingSiblings(bool below);
    // Draws the keyboard focus mark over the client area when the control shows it.
    void PaintFocusMark(HDC dc, bool round = false) const;
    // Runs once the subclass is in place.
    virtual void OnAttached() {}
    // Runs after the DPI changed: the control takes its images, fonts and geometry anew.
    virtual void OnDpiChanged() {}
    // Runs after the platform handled WM_DESTROY, while the window still exists.
    virtual void OnDestroyed() {}

  private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
    // the window's procedure when it was bound, which answers what the control leaves
    WNDPROC original_ = nullptr;
    bool focused_ = false;        // between WM_SETFOCUS and WM_KILLFOCUS
    std::vector<HWND> stacking_;  // the parent's children, top first
    // what the control tells assistive tools, made when one first asks
    AccessibleObject* accessible_ = nullptr;
};

// The child windows of `parent`, top of the stacking first. Each step of the chain asks the
// window server (Wine seam: round trips), so callers read it once and keep it.
std::vector<HWND> ChildWindowsTopFirst(HWND parent);

// For the parent's window procedure: passes a control notification to the skinned control it
// concerns. Returns true when the control handled it; `result` is then the value to answer
// (the brush for WM_CTLCOLOR*, TRUE for the others).
bool ReflectNotification(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

// Darkens an area drawn for a disabled control halfway toward the panel's colour, so that it
// reads as out of use.
void DimDisabledArea(HDC dc, const RECT& area);

}  // namespace quorelle::controls
