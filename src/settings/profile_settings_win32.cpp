#include "settings/profile_settings_win32.h"

#include <windows.h>

#include "app/text_win32.h"

namespace quorelle {

ProfileSettings::ProfileSettings(std::wstring directory) : directory_(std::move(directory)) {}

std::wstring ProfileSettings::PathOf(std::string_view file) const {
    return (directory_.empty() ? ProgramDirectory() : directory_) + Widen(file);
}

std::string ProfileSettings::ReadText(std::string_view file, std::string_view section,
                                      std::string_view key) {
    wchar_t buffer[kMaxSettingText + 1] = {};
    GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), L"", buffer,
                             static_cast<DWORD>(std::size(buffer)), PathOf(file).c_str());
    return CutUtf8(Narrow(buffer), kMaxSettingText);
}

int ProfileSettings::ReadInt(std::string_view file, std::string_view section,
                             std::string_view key) {
    return static_cast<int>(GetPrivateProfileIntW(Widen(section).c_str(), Widen(key).c_str(), -1,
                                                  PathOf(file).c_str()));
}

bool ProfileSettings::WriteText(std::string_view file, std::string_view section,
                                std::string_view key, std::string_view value) {
    return WritePrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(),
                                      Widen(value).c_str(), PathOf(file).c_str()) != FALSE;
}

}  // namespace quorelle
