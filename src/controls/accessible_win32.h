// The accessible object of a skinned control: what assistive tools read (role, name, state,
// value, default action) and what they do through it. Each control answers WM_GETOBJECT for its
// client area with one object it keeps for its life; the object asks the control's window (its
// parent) for everything through an AccessibleHost, so it knows nothing of pages itself.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace quorelle::controls {

// The platform's state bits used by the panel.
inline constexpr uint32_t kStateUnavailable = 0x1;
inline constexpr uint32_t kStateSelected = 0x2;
inline constexpr uint32_t kStateFocused = 0x4;
inline constexpr uint32_t kStateChecked = 0x10;
inline constexpr uint32_t kStateReadOnly = 0x40;
inline constexpr uint32_t kStateInvisible = 0x8000;
inline constexpr uint32_t kStateFocusable = 0x100000;
inline constexpr uint32_t kStateLinked = 0x400000;

struct AccessibleFacts {
    int32_t role = 0;
    std::wstring name;
    uint32_t state = 0;
    std::wstring value;
    std::wstring action;  // the default action's name; empty: none
    bool operator==(const AccessibleFacts&) const = default;
};

// What a window knows about its controls. `child` is 0 for the control itself, 1 … n for the
// zones of a picture.
class AccessibleHost {
  public:
    virtual bool Describe(HWND control, int child, AccessibleFacts& facts) = 0;
    virtual int ChildCount(HWND control) = 0;
    // A zone's rectangle on the screen; the zone at a screen point (0: none).
    virtual bool ChildScreenRect(HWND control, int child, RECT& rect) = 0;
    virtual int ChildAt(HWND control, POINT screen) = 0;
    // Starts the default action (it runs once the caller has its answer): S_OK, or the error
    // the tool hears (none, or the control cannot be worked now).
    virtual HRESULT DoDefaultAction(HWND control, int child) = 0;
    // Moves a knob or slider to the value given as text, or puts the text in an edit field as
    // typing does: S_OK, E_INVALIDARG for a text that is no number, E_FAIL when the control
    // cannot be worked now, DISP_E_MEMBERNOTFOUND for a control that takes no value.
    virtual HRESULT SetValue(HWND control, const std::wstring& value) = 0;
    // A tool asked for a control's object: from now on the host tells what changes.
    virtual void Watch() = 0;

  protected:
    ~AccessibleHost() = default;
};

// The window's host (nullptr to take it away before the window goes).
void SetAccessibleHost(HWND window, AccessibleHost* host);

class AccessibleObject;

// The answer to WM_GETOBJECT for a control's client area: its object, made on the first request
// and kept in `object`. 0 (the platform's default) when the window has no host or for other
// object ids.
LRESULT AnswerGetObject(HWND control, WPARAM wParam, LPARAM lParam, AccessibleObject*& object);
// The control goes: its object answers no more and is released.
void ReleaseAccessibleObject(AccessibleObject*& object);
// Before the window thread leaves COM: lets go of what keeps the tools' interfaces open (made
// with the first object a tool asks for; Wine seam: interface anchor).
void ReleaseInterfaceAnchor();

// The keyboard focus mark. A window shows it from the first key that moves or uses the focus
// (Tab, Space, Enter, the arrows); a mouse user never sees it.
inline constexpr COLORREF kFocusMarkColour = RGB(0x4F, 0xC3, 0xFF);  // the lit lamps' ice blue
void SetFocusCues(HWND window, bool shown);
bool FocusCuesShown(HWND window);
// The mark inside `area`: an outline one logical pixel wide, with rounded corners, or a ring
// for a round control.
void DrawFocusMark(HDC dc, const RECT& area, int dpi, bool round = false);

// Whether any accessible object was ever asked for: until then nobody listens to the events.
bool AccessibilityInUse();

}  // namespace quorelle::controls
