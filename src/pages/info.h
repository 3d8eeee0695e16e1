// The information page: the version texts that the installation records in the settings file,
// the fixed DirectX version and title, the maker's copyright notice and web address. Portable
// model; the page window (info_page_win32.h) puts these texts into its labels and opens the web
// address when a press lands on the address label. The page makes no device calls and writes
// nothing.
#pragma once

#include <array>
#include <string>

#include "controls/control_ids.h"
#include "pages/hit_area.h"

namespace quorelle::pages {

// the labels of the version texts and the address
using namespace controls::ids::info;

// Value labels of dialog 155.

// Where the installation records the version texts; the program only reads them.
inline constexpr char kInfoSection[] = "Info";
inline constexpr char kInfoOsKey[] = "OS";
inline constexpr char kInfoDriverKey[] = "DriverVer";
inline constexpr char kInfoCplKey[] = "CPLVer";

struct InfoText {
    int labelId;
    std::string text;  // UTF-8
};

// The texts of the seven value labels, in the order the page sets them: operating system,
// driver, DirectX, control panel, title, copyright notice, web address. The version texts are
// the settings file's strings as stored, empty when a key (or the file) is absent.
std::array<InfoText, 7> FillVersionInfo();

// True when a press at p opens the maker's web site: p lies inside the address label's
// rectangle (both in the page's client coordinates).
bool PressOpensWebAddress(Point p, const Rect& addressLabel);

}  // namespace quorelle::pages
