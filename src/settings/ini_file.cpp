#include "settings/ini_file.h"

#include <chrono>
#include <fstream>
#include <sstream>
#include <system_error>

namespace quorelle {

namespace {

namespace fs = std::filesystem;

class DirectoryFiles final : public IniFiles {
  public:
    explicit DirectoryFiles(fs::path directory) : directory_(std::move(directory)) {}

    const IniCodec& Codec() const override { return Utf8IniCodec(); }

    Presence Look(const std::string& file, Stamp& stamp, bool& readOnly) override {
        std::error_code ec;
        const fs::path path = PathOf(file);
        const fs::file_status status = fs::status(path, ec);
        if (status.type() == fs::file_type::not_found) return Presence::kAbsent;
        if (ec) return Presence::kUnknown;
        stamp.size = fs::file_size(path, ec);
        stamp.writeTime = Ticks(fs::last_write_time(path, ec).time_since_epoch());
        readOnly = (status.permissions() & fs::perms::owner_write) == fs::perms::none;
        return ec ? Presence::kUnknown : Presence::kPresent;
    }

    bool Read(const std::string& file, std::string& bytes) override {
        std::ifstream in(PathOf(file), std::ios::binary);
        if (!in) return false;
        std::ostringstream buffer;
        buffer << in.rdbuf();
        bytes = buffer.str();
        return true;
    }

    bool Replace(const std::string& file, const std::string& bytes) override {
        const fs::path path = PathOf(file);
        fs::path temp = path;
        temp += ".~tmp";
        std::error_code ec;
        {
            std::ofstream out(temp, std::ios::binary | std::ios::trunc);
            if (!out) return false;
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            out.flush();
            if (!out) {
                out.close();
                fs::remove(temp, ec);
                return false;
            }
        }
        fs::rename(temp, path, ec);
        if (!ec) return true;
        fs::remove(temp, ec);
        return false;
    }

    std::int64_t Now() override {
        return Ticks(fs::file_time_type::clock::now().time_since_epoch());
    }

  private:
    template <typename Duration>
    static std::int64_t Ticks(Duration d) {
        return std::chrono::duration_cast<
                   std::chrono::duration<std::int64_t, std::ratio<1, 10'000'000>>>(d)
            .count();
    }
    fs::path PathOf(const std::string& file) const { return directory_ / fs::path(file); }

    fs::path directory_;
};

}  // namespace

IniFileSettings::IniFileSettings(std::filesystem::path directory, bool keepImages)
    : IniSettings(std::make_unique<DirectoryFiles>(directory), keepImages),
      directory_(std::move(directory)) {}

}  // namespace quorelle
