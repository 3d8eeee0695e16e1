// Settings access: every choice of the panel lives in "CPL.ini" beside the program, user
// equalizer presets in "Custom.ini". Each write lands in the file before it returns, so the file
// is always the current state, and each read sees the file as it is, also after another program
// changed it.
#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace quorelle {

inline constexpr char kCplIni[] = "CPL.ini";
inline constexpr char kCustomIni[] = "Custom.ini";

// Longest text a read returns, in bytes (the readers use a 1024-byte buffer).
inline constexpr std::size_t kMaxSettingText = 1023;

// One key and its value, for writing several keys of a section at once.
struct SettingText {
    std::string_view key;
    std::string_view value;
};

// Where the settings files live and how they are read and written. The program uses
// ProfileSettings (the files as the platform's private-profile functions read them, written in one
// step each); tests and other hosts use IniFileSettings. Texts are UTF-8.
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
    // Writes several keys of one section; true when every key was written. Backends that can
    // replace the file once for all of them do so; this one writes them one by one.
    virtual bool WriteTexts(std::string_view file, std::string_view section,
                            std::span<const SettingText> entries) {
        bool all = true;
        for (const SettingText& entry : entries)
            all = WriteText(file, section, entry.key, entry.value) && all;
        return all;
    }
    // Whether the files keep `text` exactly, as a section name or a value: a backend whose
    // files are in an 8-bit code page holds only what that code page can carry.
    virtual bool CanHold(std::string_view) { return true; }
    // Between HoldWrites and its ReleaseWrites (they nest), a backend may keep the writes in
    // memory, where reads see them at once, and replace each changed file once at the end with
    // what the writes one by one would have left. FlushWrites stores what is held now. Both
    // answer false when a held write could not be stored. Backends that store every write at
    // once ignore this.
    virtual void HoldWrites() {}
    virtual bool ReleaseWrites() { return true; }
    virtual bool FlushWrites() { return true; }
};

// Holds the settings writes of a burst (the start-up's) while it lives, so that each file is
// replaced once for all of them.
class HeldSettingsWrites {
  public:
    HeldSettingsWrites();
    ~HeldSettingsWrites();
    HeldSettingsWrites(const HeldSettingsWrites&) = delete;
    HeldSettingsWrites& operator=(const HeldSettingsWrites&) = delete;

  private:
    SettingsBackend* backend_;
};

// Stores the writes held so far (before the program waits for the user, for instance).
bool FlushSettingsWrites();

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
// Writes several keys of one section in one step: WriteSettingTexts(kCplIni, "Hifi",
// {{"eq_0", "3"}, {"Customize", "0"}}). True when every key was written.
bool WriteSettingTexts(std::string_view file, std::string_view section,
                       std::span<const SettingText> entries);
bool WriteSettingTexts(std::string_view file, std::string_view section,
                       std::initializer_list<SettingText> entries);

// Reads an integer the way the private-profile integer read does: leading blanks, an optional
// sign, lower-case "0x"/"0o"/"0b" prefixes, digits up to the first other character, wrapping in 32
// bits; no digits read as 0.
int ParseProfileInt(std::string_view text);

// Cuts text to at most maxBytes bytes without splitting a UTF-8 sequence.
std::string CutUtf8(std::string_view text, std::size_t maxBytes);

}  // namespace quorelle
