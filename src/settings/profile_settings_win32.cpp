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

bool ProfileSettings::CanHold(std::string_view text) {
    const std::wstring wide = Widen(text);
    if (wide.empty()) return true;
    const UINT codePage = GetACP();
    if (codePage == CP_UTF8) return Narrow(wide) == text;
    const int length = static_cast<int>(wide.size());
    BOOL replaced = FALSE;
    const int bytes = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), length,
                                          nullptr, 0, nullptr, &replaced);
    if (bytes <= 0 || replaced) return false;
    std::string ansi(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), length, ansi.data(), bytes,
                        nullptr, &replaced);
    const int back = MultiByteToWideChar(codePage, 0, ansi.data(), bytes, nullptr, 0);
    std::wstring again(static_cast<size_t>(back > 0 ? back : 0), L'\0');
    if (back > 0) MultiByteToWideChar(codePage, 0, ansi.data(), bytes, again.data(), back);
    return !replaced && again == wide;
}

}  // namespace quorelle
