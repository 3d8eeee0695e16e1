// The on-screen display of the global keys: a small dark panel near the bottom centre of the
// monitor that holds the pointer, naming the sound's new state for about a second and a half.
// It never takes the focus, the keyboard or a click, stays above other windows, and tells
// assistive tools what it says (an alert object named with its text, the alert event, and a
// UI Automation notification where the platform has one).
#pragma once

#include <windows.h>

#include <string>

#include "controls/accessible_win32.h"
#include "controls/gdi_win32.h"

namespace quorelle {

class OnScreenDisplay final : private controls::AccessibleHost {
  public:
    static constexpr UINT kShownMilliseconds = 1500;
    static constexpr wchar_t kClassName[] = L"QuorelleOnScreenDisplay";

    OnScreenDisplay() = default;
    OnScreenDisplay(const OnScreenDisplay&) = delete;
    OnScreenDisplay& operator=(const OnScreenDisplay&) = delete;
    ~OnScreenDisplay();

    // Shows `text` (made the first time), or replaces the text shown and starts its time again.
    void Show(const std::wstring& text);
    // Takes the display away at once.
    void Hide();
    HWND Hwnd() const { return window_; }
    const std::wstring& Text() const { return text_; }
    // The DPI it was last drawn for (the one its window keeps: controls::DrawnDpi).
    int Dpi() const;

  private:
    bool Create();
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void Paint(HDC dc) const;
    void RaiseNotification() const;

    // AccessibleHost: the alert object
    bool Describe(HWND control, int child, controls::AccessibleFacts& facts) override;
    int ChildCount(HWND) override { return 0; }
    bool ChildScreenRect(HWND, int, RECT&) override { return false; }
    int ChildAt(HWND, POINT) override { return 0; }
    HRESULT DoDefaultAction(HWND, int) override { return DISP_E_MEMBERNOTFOUND; }
    HRESULT SetValue(HWND, const std::wstring&) override { return DISP_E_MEMBERNOTFOUND; }
    void Watch() override {}

    // A hidden window that owns the display and carries the accessible host: the controls'
    // objects find their host on the window their own window belongs to.
    HWND anchor_ = nullptr;
    HWND window_ = nullptr;
    std::wstring text_;
    gdi::Font font_;
    controls::AccessibleObject* object_ = nullptr;
};

}  // namespace quorelle
