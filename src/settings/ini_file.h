// A settings backend on plain INI files in one directory, with the rules of the platform's
// private-profile functions: sections and keys match without regard to ASCII case, blanks
// around keys and values are dropped, a value in double quotes loses them, ';' starts a
// comment line, the first of duplicate sections or keys wins.
#pragma once

#include <filesystem>

#include "settings/settings.h"

namespace quorelle {

class IniFileSettings final : public SettingsBackend {
  public:
    explicit IniFileSettings(std::filesystem::path directory);

    std::string ReadText(std::string_view file, std::string_view section,
                         std::string_view key) override;
    int ReadInt(std::string_view file, std::string_view section, std::string_view key) override;
    bool WriteText(std::string_view file, std::string_view section, std::string_view key,
                   std::string_view value) override;

    const std::filesystem::path& Directory() const { return directory_; }

  private:
    std::filesystem::path directory_;
};

// The value of key in section of an INI text; false when absent.
bool FindIniValue(std::string_view text, std::string_view section, std::string_view key,
                  std::string& value);

// The INI text with key set to value (section and key added when absent). Keeps every other
// line as it was; new lines end in CR LF.
std::string SetIniValue(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view value);

}  // namespace quorelle
