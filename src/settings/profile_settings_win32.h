// The settings backend of the program: the platform's private-profile functions on the
// settings files in the directory of the program's executable (never the current directory).
#pragma once

#include <string>

#include "settings/settings.h"

namespace quorelle {

class ProfileSettings final : public SettingsBackend {
  public:
    // directory ends with a backslash; empty means the program's own directory, looked up on
    // every access.
    explicit ProfileSettings(std::wstring directory = {});

    std::string ReadText(std::string_view file, std::string_view section,
                         std::string_view key) override;
    int ReadInt(std::string_view file, std::string_view section, std::string_view key) override;
    bool WriteText(std::string_view file, std::string_view section, std::string_view key,
                   std::string_view value) override;
    // New settings files are written in the ANSI code page: a text survives only when it goes
    // there and back unchanged, with no character replaced by a look-alike.
    bool CanHold(std::string_view text) override;

  private:
    std::wstring PathOf(std::string_view file) const;
    std::wstring directory_;
};

}  // namespace quorelle
