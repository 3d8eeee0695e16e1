// The program's own window classes of its skinned controls. Each does what the controls still
// ask of their window's own procedure (SubclassedControl::Default): a push button's clicks, keys
// and states, a static text's drawing and clicks, a knob's place in the dialog's keyboard
// handling. None draws through its parent's device context (no CS_PARENTDC: each paint would
// compute the parent's clipping again) and none is themed, so making and painting one costs no
// more round trips to the window server (Wine seam: round trips) than its own drawing needs.
#pragma once

#include <windows.h>

#include "controls/layout.h"

namespace quorelle::controls {

inline constexpr wchar_t kButtonClass[] = L"QuorelleButton";
inline constexpr wchar_t kStaticClass[] = L"QuorelleStatic";
inline constexpr wchar_t kKnobClass[] = L"QuorelleKnob";

// Registers the three classes for the program's module, once; true when they are registered.
bool RegisterControlClasses();

// Whether `window` is of one of the three classes (the knob's alone): each draws for
// WM_PRINTCLIENT what it shows for WM_PAINT, so its page can compose it in its own paint. The
// class is read from the program's memory, not asked of the window server.
bool IsOwnControlClass(HWND window);
bool IsKnobClass(HWND window);

// The class, the styles and the text a template's control is made with (the text from the
// template's text table, as the resource compiler read it); `className` is the platform's own
// for the combo box and the edit field, which stay the platform's.
struct ControlRecipe {
    const wchar_t* className;
    DWORD style;
};
ControlRecipe RecipeOf(int dialogId, const ControlPlace& place);

}  // namespace quorelle::controls
