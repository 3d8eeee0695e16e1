#include "settings/ini_file.h"

#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

namespace quorelle {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

struct Line {
    std::string_view raw;  // without its line end
    std::size_t begin;     // offset of the line in the text
    std::size_t end;       // offset after its line end
};

std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t nl = text.find('\n', pos);
        std::size_t next = nl == std::string_view::npos ? text.size() : nl + 1;
        std::string_view raw = text.substr(pos, next - pos);
        while (!raw.empty() && (raw.back() == '\n' || raw.back() == '\r')) raw.remove_suffix(1);
        lines.push_back({raw, pos, next});
        pos = next;
    }
    return lines;
}

// "[name]" lines: the section's name, else false.
bool SectionName(std::string_view raw, std::string_view& name) {
    std::string_view t = Trim(raw);
    if (t.empty() || t.front() != '[') return false;
    std::size_t close = t.find(']');
    name = Trim(t.substr(1, close == std::string_view::npos ? t.size() - 1 : close - 1));
    return true;
}

// "key=value" lines (a line without '=' is a key with no value).
bool KeyValue(std::string_view raw, std::string_view& key, std::string_view& value) {
    std::string_view t = Trim(raw);
    if (t.empty() || t.front() == ';') return false;
    std::size_t eq = t.find('=');
    key = Trim(t.substr(0, eq));
    value = eq == std::string_view::npos ? std::string_view{} : Trim(t.substr(eq + 1));
    return true;
}

bool ReadWholeFile(const std::filesystem::path& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return true;
}

}  // namespace

bool FindIniValue(std::string_view text, std::string_view section, std::string_view key,
                  std::string& value) {
    bool inSection = false;
    for (const Line& line : SplitLines(text)) {
        std::string_view name, k, v;
        if (SectionName(line.raw, name)) {
            if (inSection) return false;  // the first section of that name has ended
            inSection = SameName(name, section);
        } else if (inSection && KeyValue(line.raw, k, v) && SameName(k, key)) {
            if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
            value.assign(v);
            return true;
        }
    }
    return false;
}

std::string SetIniValue(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view value) {
    std::string entry(key);
    entry.append("=").append(value).append("\r\n");
    std::vector<Line> lines = SplitLines(text);
    bool inSection = false;
    bool found = false;
    std::size_t insertAt = 0;  // after the last non-blank line of the section
    for (const Line& line : lines) {
        std::string_view name, k, v;
        if (SectionName(line.raw, name)) {
            if (inSection) break;
            inSection = SameName(name, section);
            if (inSection) {
                found = true;
                insertAt = line.end;
            }
        } else if (inSection) {
            if (KeyValue(line.raw, k, v) && SameName(k, key)) {
                return std::string(text.substr(0, line.begin)) + entry +
                       std::string(text.substr(line.end));
            }
            if (!Trim(line.raw).empty()) insertAt = line.end;
        }
    }
    std::string out(text);
    if (found) {
        std::string_view before = text.substr(0, insertAt);
        std::string prefix(before);
        if (!prefix.empty() && prefix.back() != '\n') prefix += "\r\n";
        return prefix + entry + std::string(text.substr(insertAt));
    }
    if (!out.empty() && out.back() != '\n') out += "\r\n";
    out.append("[").append(section).append("]\r\n").append(entry);
    return out;
}

IniFileSettings::IniFileSettings(std::filesystem::path directory)
    : directory_(std::move(directory)) {}

std::string IniFileSettings::ReadText(std::string_view file, std::string_view section,
                                      std::string_view key) {
    std::string text, value;
    if (!ReadWholeFile(directory_ / std::filesystem::path(std::string(file)), text)) return {};
    if (!FindIniValue(text, section, key, value)) return {};
    return value;
}

int IniFileSettings::ReadInt(std::string_view file, std::string_view section,
                             std::string_view key) {
    std::string value = ReadText(file, section, key);
    if (value.empty()) return -1;
    // the platform reads the integer through a 30-character buffer
    return ParseProfileInt(std::string_view(value).substr(0, 29));
}

bool IniFileSettings::WriteText(std::string_view file, std::string_view section,
                                std::string_view key, std::string_view value) {
    const std::filesystem::path path = directory_ / std::filesystem::path(std::string(file));
    std::string text;
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) {
        // a read-only settings file stays as it is
        const auto perms = std::filesystem::status(path, ec).permissions();
        if (ec || (perms & std::filesystem::perms::owner_write) == std::filesystem::perms::none)
            return false;
        if (!ReadWholeFile(path, text)) return false;
    }
    const std::string updated = SetIniValue(text, section, key, value);
    // the new contents go to a temporary file first, so a failed write never leaves half a file
    std::filesystem::path temp = path;
    temp += ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(updated.data(), static_cast<std::streamsize>(updated.size()));
        out.flush();
        if (!out) {
            out.close();
            std::filesystem::remove(temp, ec);
            return false;
        }
    }
    std::filesystem::rename(temp, path, ec);
    if (ec) {
        std::filesystem::remove(temp, ec);
        return false;
    }
    return true;
}

}  // namespace quorelle
