// What assistive tools learn about every control of the five windows: its role, its name in
// each interface language, whether it is a keyboard stop and in which reading order, what its
// default action is (always the click the page already dispatches), and the zones of the
// pictures whose clicks depend on where they land. Portable; the windows' accessible objects
// (page_accessibility_win32.h) read these tables and the controls' own state.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "pages/hit_area.h"

namespace quorelle::pages {

// The platform's accessibility roles, by their published numbers.
enum class AccessibleRole : int32_t {
    Grouping = 0x14,
    Link = 0x1E,
    Graphic = 0x28,
    StaticText = 0x29,
    Text = 0x2A,
    PushButton = 0x2B,
    CheckButton = 0x2C,
    RadioButton = 0x2D,
    ComboBox = 0x2E,
    Dial = 0x31,
    Slider = 0x33,
};

// How a control is worked.
enum class AccessibleKind {
    Label,          // text; its name is what it shows
    Press,          // a lamp, switch or link the page's click dispatch acts on
    Indicator,      // a lamp that only shows a state; no action
    Zones,          // a picture whose click chooses by where it lands: one child per zone
    Zone,           // a lamp that stands for one zone of a picture: its action is that zone's
    Button,         // a push button: its action is the button's command
    Knob,           // value: the knob's position
    Slider,         // value: the slider's value
    NegatedSlider,  // value: the negated position (an equalizer band's value)
    Field,          // the preset list and the name field: their own text is the value
    Graphic,        // a picture that takes no clicks
};

struct AccessibleControl {
    int id;
    AccessibleKind kind;
    AccessibleRole role;
    int caption = 0;  // the label whose text names the control; 0: a name of its own
    int picture = 0;  // Zone: the picture and the zone it stands for
    int zone = 0;
};

// Every control of a window's template; empty for an unknown dialog id.
std::span<const AccessibleControl> AccessibleControls(int dialogId);
const AccessibleControl* FindAccessibleControl(int dialogId, int controlId);

// The control's name in a language (0, 1, 2; any other gives the template's text). Empty for a
// label, whose name is the text it shows.
std::string AccessibleName(int dialogId, const AccessibleControl& control, int language);

// A zone of a picture: the picture's name and the name of the lamp that stands for the zone.
std::string AccessibleZoneName(int dialogId, int pictureId, int zone, int language);

// The page button that stands for the window itself (selected while the window shows).
int OwnPageButton(int dialogId);

// The controls Tab and Shift+Tab visit, in reading order.
std::span<const int> TabOrder(int dialogId);

// A picture's zones: how many, the lamp that stands for each, and the zone's centre (logical
// client pixels) within the picture's rectangle. A press there chooses that zone.
int ZoneCount(int dialogId, int pictureId);
int ZoneLamp(int dialogId, int pictureId, int zone);
Point ZoneCentre(int dialogId, int pictureId, const Rect& picture, int zone);
Rect ZoneRect(int dialogId, int pictureId, const Rect& picture, int zone);

// HIFI page: whether a click on the control does nothing now. With the master switch unlit
// the dispatch takes only the master switch; a region or preset lamp needs its source switch
// lit, the room picture (and the lamps that stand for its zones) the room switch.
struct HifiSwitches {
    bool master = false;
    bool region = false;
    bool preset = false;
    bool room = false;
    bool digitalOutput = false;  // the master stays off whatever is pressed
};
bool HifiClickDoesNothing(const HifiSwitches& lit, int controlId);

}  // namespace quorelle::pages
