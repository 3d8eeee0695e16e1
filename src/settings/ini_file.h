// A settings backend on plain INI files in one directory, for hosts without the platform's
// private-profile functions (tests, tools): the same rules as the program's backend (see
// ini_image.h), UTF-8 in place of the ANSI code page, every write a new file that replaces the old
// one in one step, and every access reading the file (or, with keepImages, only a file whose size
// or write time changed, as the program reads its files).
#pragma once

#include <filesystem>

#include "settings/ini_settings.h"

namespace quorelle {

class IniFileSettings final : public IniSettings {
  public:
    explicit IniFileSettings(std::filesystem::path directory, bool keepImages = false);

    const std::filesystem::path& Directory() const { return directory_; }

  private:
    std::filesystem::path directory_;
};

}  // namespace quorelle
