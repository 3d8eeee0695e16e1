#include "settings/ini_settings.h"

#include "base/diagnostics.h"

namespace quorelle {

namespace {

// The platform reads integers through a buffer of 30 characters.
constexpr std::size_t kIntCapacity = 30;

}  // namespace

IniSettings::IniSettings(std::unique_ptr<IniFiles> files, bool keepImages)
    : files_(std::move(files)), keepImages_(keepImages) {}

bool IniSettings::Refresh(const std::string& file, Image& image, bool& readOnly) {
    IniFiles::Stamp stamp;
    readOnly = false;
    switch (files_->Look(file, stamp, readOnly)) {
        case IniFiles::Presence::kAbsent:
            image = Image{};
            image.known = true;
            return true;
        case IniFiles::Presence::kUnknown:
            return false;
        case IniFiles::Presence::kPresent:
            break;
    }
    const bool settled = files_->Now() - stamp.writeTime >= kSettleTime;
    if (keepImages_ && image.known && image.present && image.stamp == stamp &&
        (image.settled || !settled))
        return true;
    std::string bytes;
    if (!files_->Read(file, bytes)) return false;
    image.text = IniImage(bytes, files_->Codec());
    image.known = image.present = image.onFile = true;
    image.stamp = stamp;
    image.settled = settled;
    return true;
}

bool IniSettings::Current(const std::string& file, Image& image, bool& readOnly) {
    if (image.held.empty()) return Refresh(file, image, readOnly);
    IniFiles::Stamp stamp;
    readOnly = false;
    switch (files_->Look(file, stamp, readOnly)) {
        case IniFiles::Presence::kUnknown:
            return false;
        case IniFiles::Presence::kAbsent:
            if (!image.onFile) return true;
            break;
        case IniFiles::Presence::kPresent:
            // as Refresh: a stamp younger than its resolution is looked at again once it settled
            if (image.onFile && image.stamp == stamp &&
                (image.settled || files_->Now() - stamp.writeTime < kSettleTime))
                return true;
            break;
    }
    auto held = std::move(image.held);
    image.held.clear();
    if (!Refresh(file, image, readOnly)) {
        image.held = std::move(held);  // the file cannot be read: the held writes stay as shown
        return false;
    }
    image.base = image.text;
    for (const auto& [section, key, value] : held)
        image.text.Set(Utf8ToUtf16(section), Utf8ToUtf16(key), Utf8ToUtf16(value), files_->Codec());
    image.present = true;
    image.held = std::move(held);
    return true;
}

bool IniSettings::Find(std::string_view file, std::string_view section, std::string_view key,
                       std::u16string& value) {
    auto it = images_.find(file);
    if (it == images_.end()) it = images_.emplace(std::string(file), Image{}).first;
    Image& image = it->second;
    bool readOnly;
    // a file that cannot be read answers from the last image; one with held writes from the
    // image that shows them
    Current(it->first, image, readOnly);
    return image.known && image.present &&
           image.text.Find(Utf8ToUtf16(section), Utf8ToUtf16(key), value);
}

// Settings are read and written from window procedures: nothing may throw out of them (memory
// running out reads as absent and fails a write).
std::string IniSettings::ReadText(std::string_view file, std::string_view section,
                                  std::string_view key) {
    try {
        std::u16string value;
        if (!Find(file, section, key, value)) return {};
        return CutUtf8(Utf16ToUtf8(ProfileValue(value, kMaxSettingText + 1)), kMaxSettingText);
    } catch (...) {
        ReportCaughtException("IniSettings::ReadText");
        return {};
    }
}

int IniSettings::ReadInt(std::string_view file, std::string_view section, std::string_view key) {
    try {
        std::u16string value;
        if (!Find(file, section, key, value)) return -1;
        const std::u16string text = ProfileValue(value, kIntCapacity);
        return text.empty() ? -1 : ParseProfileInt(Utf16ToUtf8(text));
    } catch (...) {
        ReportCaughtException("IniSettings::ReadInt");
        return -1;
    }
}

bool IniSettings::CanHold(std::string_view text) {
    try {
        const std::u16string wide = Utf8ToUtf16(text);
        return Utf16ToUtf8(wide) == text && files_->Codec().Holds(wide);
    } catch (...) {
        ReportCaughtException("IniSettings::CanHold");
        return false;
    }
}

bool IniSettings::WriteText(std::string_view file, std::string_view section, std::string_view key,
                            std::string_view value) {
    const SettingText entry{key, value};
    return WriteTexts(file, section, std::span<const SettingText>(&entry, 1));
}

bool IniSettings::WriteTexts(std::string_view file, std::string_view section,
                             std::span<const SettingText> entries) {
    try {
        return Write(file, section, entries);
    } catch (...) {
        ReportCaughtException("IniSettings::WriteTexts");
        images_.clear();  // read the files again at the next access
        return false;
    }
}

bool IniSettings::Write(std::string_view file, std::string_view section,
                        std::span<const SettingText> entries) {
    auto it = images_.find(file);
    if (it == images_.end()) it = images_.emplace(std::string(file), Image{}).first;
    Image& image = it->second;
    bool readOnly = false;
    // a file that changed but cannot be read is not written over, unless writes are held over
    // it already (they are stored, or reported, at the release)
    const bool current = Current(it->first, image, readOnly);
    if ((!current && image.held.empty()) || !image.known || readOnly) return false;

    IniImage next = image.text;
    const std::u16string section16 = Utf8ToUtf16(section);
    bool changed = false, all = true;
    for (const SettingText& entry : entries) {
        switch (next.Set(section16, Utf8ToUtf16(entry.key), Utf8ToUtf16(entry.value),
                         files_->Codec())) {
            case IniImage::Change::kChanged:
                changed = true;
                break;
            case IniImage::Change::kRefused:
                all = false;
                break;
            case IniImage::Change::kUnchanged:
                break;
        }
    }
    if (holds_ == 0) return changed ? Store(it->first, image, std::move(next)) && all : all;
    // every held write is kept, also one that changes nothing now: made again over a file that
    // another program changes meanwhile, it may
    if (image.held.empty()) image.base = image.text;
    for (const SettingText& entry : entries)
        image.held.push_back(
            {std::string(section), std::string(entry.key), std::string(entry.value)});
    image.text = std::move(next);
    image.present = true;  // read back at once, also from a file that does not exist yet
    return all;
}

bool IniSettings::Store(const std::string& file, Image& image, IniImage next) {
    if (!files_->Replace(file, next.Bytes())) return false;
    IniFiles::Stamp stamp;
    bool readOnly;
    if (files_->Look(file, stamp, readOnly) == IniFiles::Presence::kPresent) {
        image.text = std::move(next);
        image.known = image.present = image.onFile = true;
        image.stamp = stamp;
        image.settled = files_->Now() - stamp.writeTime >= kSettleTime;
    } else {
        image.known = false;  // read the file again at the next access
    }
    return true;
}

void IniSettings::HoldWrites() {
    ++holds_;
}

bool IniSettings::ReleaseWrites() {
    if (holds_ > 0) --holds_;
    return holds_ > 0 || FlushWrites();
}

bool IniSettings::FlushWrites() {
    bool all = true;
    for (auto& [file, image] : images_) {
        if (image.held.empty()) continue;
        try {
            // the image shows the held writes over the file as it is now (made again over it when
            // another program changed it meanwhile)
            bool readOnly = false;
            const bool current = Current(file, image, readOnly);
            image.held.clear();
            if (!current || !image.known || readOnly) {
                image.known = false;
                all = false;
                continue;
            }
            if (image.text.Bytes() == image.base.Bytes()) {
                image.present = image.onFile;  // the writes changed nothing: nothing to store
                continue;
            }
            if (!Store(file, image, image.text)) {
                image.known = false;  // the image showed writes the file never got
                all = false;
            }
        } catch (...) {
            ReportCaughtException("IniSettings::FlushWrites");
            image.known = false;
            all = false;
        }
    }
    return all;
}

}  // namespace quorelle
