// Base of the skinned controls: binds an object to an existing child window (a control of a
// dialog template, found by id) by replacing its window procedure, and receives the
// notifications the parent reflects back to it.
#pragma once

#include <windows.h>

namespace quorelle::controls {

class SubclassedControl {
  public:
    SubclassedControl() = default;
    SubclassedControl(const SubclassedControl&) = delete;
    SubclassedControl& operator=(const SubclassedControl&) = delete;
    virtual ~SubclassedControl();

    // Binds to a window; false when the window does not exist or is already bound.
    bool Attach(HWND hwnd);
    bool AttachDlgItem(HWND parent, int controlId) { return Attach(GetDlgItem(parent, controlId)); }
    // Gives the window its own procedure back.
    void Detach();

    HWND Hwnd() const { return hwnd_; }
    int ControlId() const { return hwnd_ != nullptr ? GetDlgCtrlID(hwnd_) : 0; }

    // The object bound to a window, or nullptr.
    static SubclassedControl* FromHandle(HWND hwnd);

    // A notification the parent received about this control (WM_CTLCOLOR*, WM_COMMAND,
    // WM_DRAWITEM). True when the control handled it; `result` is then the answer.
    virtual bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  protected:
    // The control's message handler; unhandled messages go to Default.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);
    // Runs once the window procedure has been replaced.
    virtual void OnAttached() {}
    // Runs after the platform handled WM_DESTROY, while the window still exists.
    virtual void OnDestroyed() {}

  private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
    WNDPROC previous_ = nullptr;
};

// For the parent's window procedure: passes a control notification to the skinned control it
// concerns. Returns true when the control handled it; `result` is then the value to answer
// (the brush for WM_CTLCOLOR*, TRUE for the others).
bool ReflectNotification(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

// Darkens an area drawn for a disabled control halfway toward the panel's colour, so that it
// reads as out of use.
void DimDisabledArea(HDC dc, const RECT& area);

}  // namespace quorelle::controls
