#include "settings/profile_settings_win32.h"

#include <windows.h>

#include <array>
#include <cstring>
#include <set>
#include <vector>

#include "base/handles_win32.h"
#include "base/text_win32.h"

namespace quorelle {

namespace {

// A settings file larger than this is taken as unreadable.
constexpr std::uint64_t kMaxFileSize = 64u << 20;

const wchar_t* Wide(std::u16string_view text) {
    return reinterpret_cast<const wchar_t*>(text.data());
}

class AnsiCodec final : public IniCodec {
  public:
    AnsiCodec() {
        for (unsigned b = 0; b < lead_.size(); ++b)
            lead_[b] = IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(b)) != FALSE;
    }
    bool IsLeadByte(unsigned char byte) const override { return lead_[byte]; }
    std::u16string Decode(IniEncoding encoding, std::string_view bytes) const override {
        if (bytes.empty()) return {};
        const UINT cp = encoding == IniEncoding::kUtf8 ? CP_UTF8 : CP_ACP;
        const int n =
            MultiByteToWideChar(cp, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
        std::u16string out(static_cast<std::size_t>(n), u'\0');
        MultiByteToWideChar(cp, 0, bytes.data(), static_cast<int>(bytes.size()),
                            reinterpret_cast<wchar_t*>(out.data()), n);
        return out;
    }
    bool Holds(std::u16string_view text) const override {
        if (text.empty()) return true;
        const UINT codePage = GetACP();
        const int length = static_cast<int>(text.size());
        BOOL replaced = FALSE;
        const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
        const int bytes = WideCharToMultiByte(codePage, flags, Wide(text), length, nullptr, 0,
                                              nullptr, codePage == CP_UTF8 ? nullptr : &replaced);
        if (bytes <= 0 || replaced) return false;
        std::string ansi(static_cast<std::size_t>(bytes), '\0');
        WideCharToMultiByte(codePage, flags, Wide(text), length, ansi.data(), bytes, nullptr,
                            codePage == CP_UTF8 ? nullptr : &replaced);
        return !replaced && Decode(IniEncoding::kAnsi, ansi) == text;
    }
    std::string Encode(IniEncoding encoding, std::u16string_view text) const override {
        if (text.empty()) return {};
        const UINT cp = encoding == IniEncoding::kUtf8 ? CP_UTF8 : CP_ACP;
        const int n = WideCharToMultiByte(cp, 0, Wide(text), static_cast<int>(text.size()), nullptr,
                                          0, nullptr, nullptr);
        std::string out(static_cast<std::size_t>(n), '\0');
        WideCharToMultiByte(cp, 0, Wide(text), static_cast<int>(text.size()), out.data(), n,
                            nullptr, nullptr);
        return out;
    }

  private:
    std::array<bool, 256> lead_{};
};

class ProgramFiles final : public IniFiles {
  public:
    explicit ProgramFiles(std::wstring directory) : directory_(std::move(directory)) {}

    const IniCodec& Codec() const override {
        static const AnsiCodec codec;
        return codec;
    }

    Presence Look(const std::string& file, Stamp& stamp, bool& readOnly) override {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExW(PathOf(file).c_str(), GetFileExInfoStandard, &data)) {
            const DWORD error = GetLastError();
            return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                       ? Presence::kAbsent
                       : Presence::kUnknown;
        }
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return Presence::kUnknown;
        stamp.size = std::uint64_t(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
        stamp.writeTime =
            static_cast<std::int64_t>(std::uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32 |
                                      data.ftLastWriteTime.dwLowDateTime);
        readOnly = (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
        return Presence::kPresent;
    }

    bool Read(const std::string& file, std::string& bytes) override {
        HANDLE h = CreateFileW(PathOf(file).c_str(), GENERIC_READ,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        const UniqueFile owner(h);
        if (!owner) return false;
        LARGE_INTEGER size;
        if (!GetFileSizeEx(h, &size) || std::uint64_t(size.QuadPart) > kMaxFileSize) return false;
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
        std::size_t got = 0;
        while (got < bytes.size()) {
            DWORD n = 0;
            if (!ReadFile(h, bytes.data() + got, static_cast<DWORD>(bytes.size() - got), &n,
                          nullptr))
                return false;
            if (n == 0) break;  // the file became shorter
            got += n;
        }
        bytes.resize(got);
        return true;
    }

    bool Replace(const std::string& file, const std::string& bytes) override {
        const std::wstring path = PathOf(file);
        const std::wstring temp = path + L".~" + std::to_wstring(GetCurrentProcessId()) + L".tmp";
        if (cleaned_.insert(path).second) RemoveStaleTemporaryFiles(path, temp);

        // the new file keeps the old one's hidden, system and archive marks
        const DWORD old = GetFileAttributesW(path.c_str());
        const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;
        const DWORD attributes =
            old == INVALID_FILE_ATTRIBUTES || !(old & kept) ? FILE_ATTRIBUTE_NORMAL : old & kept;
        HANDLE h = CreateFileW(temp.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_ALWAYS,
                               attributes, nullptr);
        UniqueFile owner(h);
        if (!owner) return false;
        bool ok = true;
        for (std::size_t put = 0; ok && put < bytes.size();) {
            DWORD n = 0;
            ok = WriteFile(h, bytes.data() + put, static_cast<DWORD>(bytes.size() - put), &n,
                           nullptr) &&
                 n > 0;
            put += n;
        }
        // On the disk before the rename: otherwise a power cut can leave the settings file
        // renamed but still empty on some file systems.
        ok = ok && FlushFileBuffers(h);
        // The new file takes the settings file's place in one step. Renamed through the handle
        // that wrote it, it is the same replacement MoveFileExW makes, without opening the file
        // again (Wine seam: reopening a file).
        std::vector<unsigned char> info(sizeof(FILE_RENAME_INFO) + path.size() * sizeof(wchar_t));
        auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(info.data());
        rename->ReplaceIfExists = TRUE;
        rename->RootDirectory = nullptr;
        rename->FileNameLength = static_cast<DWORD>(path.size() * sizeof(wchar_t));
        std::memcpy(rename->FileName, path.c_str(), path.size() * sizeof(wchar_t));
        DWORD error = ERROR_SUCCESS;
        for (DWORD wait = 1; ok; wait *= 2) {
            if (SetFileInformationByHandle(h, FileRenameInfo, rename,
                                           static_cast<DWORD>(info.size()))) {
                owner.reset();
                return true;
            }
            error = GetLastError();
            ok = Retry(error, wait);
        }
        ok = CloseHandle(owner.release()) && error != ERROR_SUCCESS && !Retryable(error);
        // where an open file cannot be renamed
        for (DWORD wait = 1; ok; wait *= 2) {
            if (MoveFileExW(temp.c_str(), path.c_str(),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
                return true;
            ok = Retry(GetLastError(), wait);
        }
        DeleteFileW(temp.c_str());
        return false;
    }

    std::int64_t Now() override {
        FILETIME now;
        GetSystemTimeAsFileTime(&now);
        return static_cast<std::int64_t>(std::uint64_t(now.dwHighDateTime) << 32 |
                                         now.dwLowDateTime);
    }

  private:
    // Replacing fails for a moment while another program has the file open (a virus scanner, an
    // editor).
    static bool Retryable(DWORD error) {
        return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ||
               error == ERROR_LOCK_VIOLATION;
    }
    // After a failed replacement: whether to try again, after a wait of `wait` ms.
    static bool Retry(DWORD error, DWORD wait) {
        if (!Retryable(error) || wait > 16) return false;
        Sleep(wait);
        return true;
    }

    std::wstring PathOf(const std::string& file) const {
        return (directory_.empty() ? ProgramDirectory() : directory_) + Widen(file);
    }

    // Temporary files of a run that was killed while writing. One that another running program
    // still writes is open and stays.
    static void RemoveStaleTemporaryFiles(const std::wstring& path, const std::wstring& own) {
        const std::size_t slash = path.find_last_of(L"\\/");
        const std::wstring directory = path.substr(0, slash + 1);
        const std::wstring prefix = path.substr(slash + 1) + L".~";
        WIN32_FIND_DATAW found;
        const UniqueFind find(FindFirstFileW((path + L".~*.tmp").c_str(), &found));
        if (!find) return;
        do {
            const std::wstring name = found.cFileName;
            if (name.compare(0, prefix.size(), prefix) == 0 && directory + name != own &&
                !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileW((directory + name).c_str());
        } while (FindNextFileW(find.get(), &found));
    }

    std::wstring directory_;
    std::set<std::wstring> cleaned_;
};

}  // namespace

ProfileSettings::ProfileSettings(std::wstring directory)
    : IniSettings(std::make_unique<ProgramFiles>(std::move(directory)), true) {}

}  // namespace quorelle
