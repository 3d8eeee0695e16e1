// Where every control of every page sits. The dialog templates give positions in dialog units,
// whose size in pixels depends on the dialog font's metrics and so differs between systems.
// The page art is drawn for fixed pixel places, so both the program (to place its controls) and
// the art generator (to draw frames and recesses behind them) turn dialog units into pixels with
// one fixed ratio per template: background pixels over template dialog units.
#pragma once

#include <array>
#include <span>

#include "resource.h"

namespace quorelle::controls {

struct DluRect {
    int x, y, w, h;
};

struct PxRect {
    int x, y, w, h;
    int Right() const { return x + w; }
    int Bottom() const { return y + h; }
};

// Whether two rectangles share at least one pixel.
inline bool Overlap(const PxRect& a, const PxRect& b) {
    return a.x < b.Right() && b.x < a.Right() && a.y < b.Bottom() && b.y < a.Bottom();
}

enum class ControlKind {
    Label,    // transparent text, drawn by the program over the background
    Lamp,     // two-image picture (lamps, switches, toggles, indicators)
    Picture,  // picture with several images (sample rate, room, surround)
    Button,   // bitmap push button, sized to its image
    Knob,     // rotary knob; its window is the circle inscribed at its top-left
    Slider,   // bitmap slider
    Combo,    // drop-down list with a skinned face
    Edit,     // single-line edit with a skinned face
};

struct ControlPlace {
    int id;
    ControlKind kind;
    DluRect dlu;
    // Pixel size the control takes from its image once the image is set (0 = from the template).
    int imageW = 0;
    int imageH = 0;
};

struct TemplateInfo {
    int dialogId;
    int dluW, dluH;  // size of the template in dialog units
    int backgroundId;
    int pxW, pxH;  // size of the background image in pixels
};

// the templates, by their resource ids
inline constexpr int kMainDialog = IDD_MAIN;
inline constexpr int kInfoDialog = IDD_INFO;
inline constexpr int kHifiDialog = IDD_HIFI;
inline constexpr int kHpDialog = IDD_HP;
inline constexpr int kAdvanceDialog = IDD_ADVANCE;

// Control ids of a page's navigation column.
struct NavigationIds {
    int dialogId;  // the page's template
    int close;
    int main, hifi, advance, hp, info;
    std::array<int, 5> labels;  // captions of main, Hifi, advance, HP, info
};
// The column of the page with the given index (main, HIFI, advance, info, headphone).
const NavigationIds& NavigationIdsOf(int pageIndex);
// The column of a template; nullptr for a dialog id without one.
const NavigationIds* NavigationIdsOfDialog(int dialogId);

// The five page templates, in the order main, info, HIFI, headphone, advance.
std::span<const TemplateInfo> Templates();
// nullptr for an unknown dialog id.
const TemplateInfo* FindTemplate(int dialogId);
// Every control of a template with its dialog-unit rectangle; empty for an unknown dialog id.
std::span<const ControlPlace> TemplateControls(int dialogId);
// nullptr when the template has no such control.
const ControlPlace* FindControl(int dialogId, int controlId);

// Dialog units to pixels with the template's fixed ratio, each edge rounded to the nearest
// pixel (so adjacent rectangles stay adjacent). An unknown dialog id converts 1:1.
PxRect ToPixels(int dialogId, DluRect dlu);
// The pixel rectangle the control occupies once placed: its converted top-left corner with the
// image's size where the control takes it, the converted size elsewhere.
PxRect PlacedRect(int dialogId, const ControlPlace& place);

}  // namespace quorelle::controls
