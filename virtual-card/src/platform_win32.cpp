// Windows build: the card's files live beside the DLL itself.
#include <windows.h>
#include <io.h>

#include <cstdio>
#include <string>

#include "vcard/card.h"

namespace vcard::platform {

namespace {

HMODULE OwnModule(DWORD extraFlags) {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | extraFlags,
                       reinterpret_cast<LPCWSTR>(&CardDirectory), &module);
    return module;
}

}  // namespace

std::filesystem::path CardDirectory() {
    HMODULE module = OwnModule(GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT);
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return std::filesystem::path(L".");
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        if (path.size() >= 32768) return std::filesystem::path(L".");
        path.resize(path.size() * 2);
    }
    const size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos) return std::filesystem::path(L".");
    return std::filesystem::path(path.substr(0, slash));
}

std::FILE* Open(const std::filesystem::path& path, const char* mode) {
    const std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
    return _wfopen(path.c_str(), wideMode.c_str());
}

// A file the card holds open cannot be deleted through the platform (it is not shared for
// deletion), so it is never removed under the card.
bool Removed(std::FILE*) {
    return false;
}

void Truncate(std::FILE* file, size_t size) {
    _chsize_s(_fileno(file), static_cast<long long>(size));
}

void PinModule() {
    OwnModule(GET_MODULE_HANDLE_EX_FLAG_PIN);
}

}  // namespace vcard::platform
