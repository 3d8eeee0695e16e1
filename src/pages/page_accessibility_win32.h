// Assistive tools and the keyboard on one of the five windows: the window's accessible host
// (every control's role, name, state, value and default action, from the tables of
// pages/accessibility.h and the controls themselves), the events that tell the tools what
// changed, and the page keys (Tab, Shift+Tab, Space, Enter). A default action is the click the
// window already dispatches, at the control's centre (or its zone's), without the window move.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "base/texts.h"
#include "controls/accessible_win32.h"

namespace quorelle::pages {

struct AccessibleControl;

// What the window does for its controls' default actions.
class PageActions {
  public:
    // The window's click dispatch for a press at a logical client point, without the window move.
    virtual void PressAt(POINT logical) = 0;
    // Whether a click on the control does nothing now (beyond a disabled window).
    virtual bool ClickDoesNothing(int controlId) const {
        (void)controlId;
        return false;
    }

  protected:
    ~PageActions() = default;
};

class PageAccessibility final : public controls::AccessibleHost {
  public:
    PageAccessibility() = default;
    PageAccessibility(const PageAccessibility&) = delete;
    PageAccessibility& operator=(const PageAccessibility&) = delete;
    ~PageAccessibility() { Detach(); }

    void Attach(HWND dialog, int dialogId, PageActions& actions);
    void Detach();
    // The interface language the names are in.
    void SetLanguage(int language) { language_ = language; }
    // After a message that may have changed what the controls show: tells the tools each name,
    // state and value that changed.
    void NotifyChanges();
    // A key-down for the window or one of its controls, before the dialog manager sees it. True
    // when the key was used (then it goes no further).
    bool OnKey(const MSG& msg);
    // The default action of a control (child 0) or a zone, posted by DoDefaultAction.
    void RunAction(int controlId, int child);

    // the host
    bool Describe(HWND control, int child, controls::AccessibleFacts& facts) override;
    int ChildCount(HWND control) override;
    bool ChildScreenRect(HWND control, int child, RECT& rect) override;
    int ChildAt(HWND control, POINT screen) override;
    HRESULT DoDefaultAction(HWND control, int child) override;
    HRESULT SetValue(HWND control, const std::wstring& value) override;
    void Watch() override {
        if (told_.empty()) NotifyChanges();  // what the tools are told from now on
    }

    // The window's page keys, for the program's message loop: false when the window has none.
    static bool HandlePageKey(HWND dialog, const MSG& msg);
    // A window the program has just shown takes the keyboard: it becomes the active window and
    // its first control in Tab order takes the focus. It shows the focus mark at once when the
    // window was opened by a key (Enter or Space on a navigation button), else from the first
    // key, as every window does. Nothing for a window without page keys.
    static void TakeKeyboard(HWND dialog);

  private:
    const AccessibleControl* Row(HWND control) const;
    bool HasAction(const AccessibleControl& row) const;
    // The child of the window that holds `hwnd` (the window's own control, not a part of it).
    HWND ControlOf(HWND hwnd) const;
    void MoveFocus(bool backwards);
    // A press on a zone of a picture.
    void PressZone(int pictureId, int zone);
    // Whether a click could reach the control now: it and its window are shown, and no notice
    // has disabled the window.
    bool ClickCanReach(HWND control) const;
    // A value for an edit field, taken as typed text is.
    HRESULT TypeInto(HWND field, const std::wstring& value);
    // A word tools read (an action's name), in the window's language.
    std::wstring Word(AccessibleWord word) const;

    HWND dialog_ = nullptr;
    int dialogId_ = 0;
    PageActions* actions_ = nullptr;
    int language_ = -1;
    struct Told {
        HWND control;
        controls::AccessibleFacts facts;
    };
    std::vector<Told> told_;  // what the tools were last told, per control
};

}  // namespace quorelle::pages
