// The settings backend of the program: the settings files in the directory of the program's
// executable (never the current directory), read and written by the program itself with the rules
// of the platform's private-profile functions (see ini_image.h), so the platform and other
// programs read the same values: a new file in the ANSI code page, a file with a byte-order mark
// in its own encoding. Every write goes to a temporary file beside the settings file, which then
// replaces it in one step; reads answer from an image of the file checked against its size and
// last write time on every access.
#pragma once

#include <string>

#include "settings/ini_settings.h"

namespace quorelle {

class ProfileSettings final : public IniSettings {
  public:
    // directory ends with a backslash; empty means the program's own directory, looked up on
    // every access.
    explicit ProfileSettings(std::wstring directory = {});
};

}  // namespace quorelle
