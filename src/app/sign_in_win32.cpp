#include "app/sign_in_win32.h"

#include <windows.h>

#include <string>

#include "app/start_options.h"
#include "base/text_win32.h"

namespace quorelle {

namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::wstring ProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace

bool StartsAtSignIn() {
    const std::wstring name = Widen(kSignInValueName);
    DWORD bytes = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr,
                     &bytes) != ERROR_SUCCESS ||
        bytes == 0)
        return false;
    std::wstring command(bytes / sizeof(wchar_t) + 1, L'\0');
    if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, name.c_str(), RRF_RT_REG_SZ, nullptr,
                     command.data(), &bytes) != ERROR_SUCCESS)
        return false;
    command.resize(wcsnlen(command.c_str(), command.size()));
    return SignInCommandStarts(Narrow(command), Narrow(ProgramPath()));
}

bool SetStartAtSignIn(bool on) {
    const std::wstring name = Widen(kSignInValueName);
    if (!on) {
        const LSTATUS removed = RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, name.c_str());
        return removed == ERROR_SUCCESS || removed == ERROR_FILE_NOT_FOUND;
    }
    const std::wstring path = ProgramPath();
    if (path.empty()) return false;
    const std::wstring command = Widen(SignInCommand(Narrow(path)));
    return RegSetKeyValueW(HKEY_CURRENT_USER, kRunKey, name.c_str(), REG_SZ, command.c_str(),
                           DWORD((command.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

}  // namespace quorelle
