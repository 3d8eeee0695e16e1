// A settings backend that reads and writes INI files itself, with the rules of the platform's
// private-profile functions (see ini_image.h), so that the platform and other programs read the
// same values from the files.
//
// Every write replaces the file in one step (the file system's IniFiles::Replace), so a program
// killed at any moment leaves the old or the new file, never a torn one. Reads can answer from an
// image of the file kept in memory, checked on every access against the file's size and last write
// time, so a change made by another program is seen at the next access.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "settings/ini_image.h"
#include "settings/settings.h"

namespace quorelle {

// What the backend needs from the file system, for the files of one directory.
class IniFiles {
  public:
    struct Stamp {
        std::uint64_t size = 0;
        std::int64_t writeTime = 0;  // 100 ns units
        bool operator==(const Stamp&) const = default;
    };
    enum class Presence { kAbsent, kPresent, kUnknown };

    virtual ~IniFiles() = default;
    virtual const IniCodec& Codec() const = 0;
    // A cheap look at the file: absent, present (with its stamp and whether it is read-only), or
    // unknown (the look failed).
    virtual Presence Look(const std::string& file, Stamp& stamp, bool& readOnly) = 0;
    // The whole file; false when it cannot be read.
    virtual bool Read(const std::string& file, std::string& bytes) = 0;
    // Replaces the file (or creates it) with bytes in one step; false (and the file as it was)
    // when that fails.
    virtual bool Replace(const std::string& file, const std::string& bytes) = 0;
    // The time now on the clock of the stamps.
    virtual std::int64_t Now() = 0;
};

class IniSettings : public SettingsBackend {
  public:
    // A file's last write time can hold still for up to this long while it changes (file systems
    // keep times this coarse), so an image whose stamp is younger is read again once it has aged.
    static constexpr std::int64_t kSettleTime = 21'000'000;  // 2.1 s

    // keepImages: answer reads from images checked against the stamps; otherwise every access
    // reads the file.
    IniSettings(std::unique_ptr<IniFiles> files, bool keepImages);

    std::string ReadText(std::string_view file, std::string_view section,
                         std::string_view key) override;
    int ReadInt(std::string_view file, std::string_view section, std::string_view key) override;
    bool WriteText(std::string_view file, std::string_view section, std::string_view key,
                   std::string_view value) override;
    bool WriteTexts(std::string_view file, std::string_view section,
                    std::span<const SettingText> entries) override;
    // New settings files are written in the ANSI code page: a text survives only when it goes
    // there and back unchanged, with no character replaced by a look-alike.
    bool CanHold(std::string_view text) override;
    // Held writes change the files' images; at the end each changed file is read again if
    // another program changed it meanwhile, the writes are made again on it in their order, and
    // it is replaced once.
    void HoldWrites() override;
    bool ReleaseWrites() override;
    bool FlushWrites() override;

  protected:
    IniFiles& Files() { return *files_; }

  private:
    struct Image {
        bool known = false;    // the image holds what the file held at `stamp`
        bool present = false;  // the file exists, or held writes made it
        bool onFile = false;   // `stamp` is of a file that existed when the image was read
        bool settled = false;  // read again after its write time had settled
        IniFiles::Stamp stamp;
        IniImage text;
        IniImage base;  // while writes are held: the file's image under them
        // writes held back, in their order (the image shows them already)
        std::vector<std::array<std::string, 3>> held;  // section, key, value
    };
    // The file's image, brought up to date; false when the file changed but could not be read
    // (the image is then the last one known).
    bool Refresh(const std::string& file, Image& image, bool& readOnly);
    // Refresh for an image that may show held writes: when another program changed the file
    // meanwhile, the held writes are made again over what it holds now, so that reads and writes
    // see what the writes one by one would have left.
    bool Current(const std::string& file, Image& image, bool& readOnly);
    bool Write(std::string_view file, std::string_view section,
               std::span<const SettingText> entries);
    // Replaces the file with `next` and makes it the image; false when the file cannot be
    // replaced.
    bool Store(const std::string& file, Image& image, IniImage next);
    // The stored value of the key, false when absent.
    bool Find(std::string_view file, std::string_view section, std::string_view key,
              std::u16string& value);

    std::unique_ptr<IniFiles> files_;
    bool keepImages_;
    std::map<std::string, Image, std::less<>> images_;
    int holds_ = 0;
};

}  // namespace quorelle
