#include "settings/settings.h"

#include <cstdint>
#include <cstdio>

#include "base/diagnostics.h"

namespace quorelle {

namespace {
SettingsBackend* g_backend = nullptr;
}

void SetSettingsBackend(SettingsBackend* backend) {
    g_backend = backend;
}

SettingsBackend* GetSettingsBackend() {
    return g_backend;
}

HeldSettingsWrites::HeldSettingsWrites() : backend_(g_backend) {
    if (backend_) backend_->HoldWrites();
}

HeldSettingsWrites::~HeldSettingsWrites() {
    // nobody is left to hear the release's answer: a held write that could not be stored is
    // reported as the program reports other failures
    if (backend_ && !backend_->ReleaseWrites())
        ReportHandledFailure("settings", "a write held during the start could not be stored");
}

bool FlushSettingsWrites() {
    return !g_backend || g_backend->FlushWrites();
}

std::string ReadSettingText(std::string_view file, std::string_view section, std::string_view key) {
    if (!g_backend) return {};
    return CutUtf8(g_backend->ReadText(file, section, key), kMaxSettingText);
}

int ReadSettingInt(std::string_view file, std::string_view section, std::string_view key) {
    if (!g_backend) return -1;
    return g_backend->ReadInt(file, section, key);
}

bool WriteSettingText(std::string_view file, std::string_view section, std::string_view key,
                      std::string_view value) {
    if (!g_backend) return false;
    return g_backend->WriteText(file, section, key, value);
}

bool SettingTextFits(std::string_view text) {
    return !g_backend || g_backend->CanHold(text);
}

bool WriteSettingInt(std::string_view file, std::string_view section, std::string_view key,
                     int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    return WriteSettingText(file, section, key, text);
}

bool WriteSettingTexts(std::string_view file, std::string_view section,
                       std::span<const SettingText> entries) {
    if (!g_backend) return false;
    return g_backend->WriteTexts(file, section, entries);
}

bool WriteSettingTexts(std::string_view file, std::string_view section,
                       std::initializer_list<SettingText> entries) {
    return WriteSettingTexts(file, section,
                             std::span<const SettingText>(entries.begin(), entries.size()));
}

int ParseProfileInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    unsigned base = 10;
    if (i + 1 < text.size() && text[i] == '0') {
        switch (text[i + 1]) {
            case 'x':
                base = 16;
                i += 2;
                break;
            case 'o':
                base = 8;
                i += 2;
                break;
            case 'b':
                base = 2;
                i += 2;
                break;
            default:
                break;
        }
    }
    std::uint32_t value = 0;
    for (; i < text.size(); ++i) {
        char c = text[i];
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else
            break;
        if (digit >= base) break;
        value = value * base + digit;
    }
    if (negative) value = 0u - value;
    return static_cast<int>(value);
}

std::string CutUtf8(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return std::string(text);
    std::size_t end = maxBytes;
    // step back over continuation bytes so that no character is split
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return std::string(text.substr(0, end));
}

}  // namespace quorelle
