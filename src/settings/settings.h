// Settings access: every choice of the panel lives in "CPL.ini" beside the program, user
// equalizer presets in "Custom.ini". Nothing is cached: each read goes to the file, each write
// lands in it at once, so the file is always the current state.
#pragma once

#include <string>
#include <string_view>

namespace quorelle {

inline constexpr char kCplIni[] = "CPL.ini";
inline constexpr char kCustomIni[] = "Custom.ini";

// Longest text a read returns, in bytes (the readers use a 1024-byte buffer).
inline constexpr std::size_t kMaxSettingText = 1023;

// Where the settings files live and how they are read and written. The program uses the
// platform's private-profile functions; tests and other hosts use IniFileSettings.
// Texts are UTF-8.
class SettingsBackend {
  public:
    virtual ~SettingsBackend() = default;
    // The value, or the empty text when the file, the section or the key is absent.
    virtual std::string ReadText(std::string_view file, std::string_view section,
                                 std::string_view key) = 0;
    // The value as an integer, read as the private-profile functions read it; -1 when absent.
    virtual int ReadInt(std::string_view file, std::string_view section, std::string_view key) = 0;
    // Writes the key, creating the file, the section or the key as needed, keeping the others.
    // False when the file cannot be written; never throws.
    virtual bool WriteText(std::string_view file, std::string_view section, std::string_view key,
                           std::string_view value) = 0;
    // Whether the files keep `text` exactly, as a section name or a value: a backend whose
    // files are in an 8-bit code page holds only what that code page can carry.
    virtual bool CanHold(std::string_view) { return true; }
};

// The backend in use (not owned). Without one, reads give the defaults and writes fail.
void SetSettingsBackend(SettingsBackend* backend);
SettingsBackend* GetSettingsBackend();

std::string ReadSettingText(std::string_view file, std::string_view section, std::string_view key);
int ReadSettingInt(std::string_view file, std::string_view section, std::string_view key);
bool WriteSettingText(std::string_view file, std::string_view section, std::string_view key,
                      std::string_view value);
// Whether the settings files keep `text` exactly (true without a backend).
bool SettingTextFits(std::string_view text);
// Writes value as decimal text ("%d").
bool WriteSettingInt(std::string_view file, std::string_view section, std::string_view key,
                     int value);

// Reads an integer the way the private-profile integer read does: leading blanks, an optional
// sign, lower-case "0x"/"0o"/"0b" prefixes, digits up to the first other character, wrapping in 32
// bits; no digits read as 0.
int ParseProfileInt(std::string_view text);

// Cuts text to at most maxBytes bytes without splitting a UTF-8 sequence.
std::string CutUtf8(std::string_view text, std::size_t maxBytes);

}  // namespace quorelle
