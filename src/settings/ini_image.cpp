#include "settings/ini_image.h"

#include <algorithm>

namespace quorelle {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool IsBlank(char16_t c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x20;
}

bool IsLineBreak(char16_t c) {
    return c == u'\r' || c == u'\n';
}

std::u16string_view Trim(std::u16string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

std::u16string_view CutAtNul(std::u16string_view s) {
    return s.substr(0, s.find(char16_t(0)));
}

char16_t FoldAscii(char16_t c) {
    return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c;
}

bool SameName(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char16_t x, char16_t y) { return FoldAscii(x) == FoldAscii(y); });
}

// A name as the platform looks it up: cut at a NUL, trimmed.
std::u16string_view LookupName(std::u16string_view name) {
    return Trim(CutAtNul(name));
}

// Whether the platform would read the value back otherwise than it is (blanks at its ends are
// trimmed, a pair of matching quotes is dropped).
bool NeedsQuotes(std::u16string_view v) {
    if (v.empty()) return false;
    if (IsBlank(v.front()) || IsBlank(v.back())) return true;
    return v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front();
}

bool HasLineBreakOrNul(std::u16string_view s) {
    return std::any_of(s.begin(), s.end(), [](char16_t c) { return IsLineBreak(c) || c == 0; });
}

class Utf8Codec final : public IniCodec {
  public:
    bool IsLeadByte(unsigned char) const override { return false; }
    std::u16string Decode(IniEncoding, std::string_view bytes) const override {
        return Utf8ToUtf16(bytes);
    }
    std::string Encode(IniEncoding, std::u16string_view text) const override {
        return Utf16ToUtf8(text);
    }
    bool Holds(std::u16string_view text) const override {
        return Utf8ToUtf16(Utf16ToUtf8(text)) == text;
    }
};

}  // namespace

const IniCodec& Utf8IniCodec() {
    static const Utf8Codec codec;
    return codec;
}

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const unsigned char b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            out.push_back(b);
            ++i;
            continue;
        }
        std::size_t length = b >= 0xF0 && b <= 0xF4 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 ? 2 : 0;
        if (b > 0xF4) length = 0;
        char32_t code = length == 4 ? b & 0x07 : length == 3 ? b & 0x0F : b & 0x1F;
        std::size_t taken = 1;
        while (length && taken < length && i + taken < text.size() &&
               (static_cast<unsigned char>(text[i + taken]) & 0xC0) == 0x80) {
            code = (code << 6) | (static_cast<unsigned char>(text[i + taken]) & 0x3F);
            ++taken;
        }
        const bool complete = length && taken == length;
        const bool valid = complete && !(length == 3 && code < 0x800) &&
                           !(length == 4 && (code < 0x10000 || code > 0x10FFFF)) &&
                           !(code >= 0xD800 && code <= 0xDFFF);
        if (!valid) {
            out.push_back(kReplacement);
            i += complete ? taken : std::max<std::size_t>(taken, 1);
            continue;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            out.push_back(char16_t(0xD800 + (code >> 10)));
            out.push_back(char16_t(0xDC00 + (code & 0x3FF)));
        } else {
            out.push_back(char16_t(code));
        }
        i += taken;
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = kReplacement;
        }
        if (c < 0x80) {
            out.push_back(char(c));
        } else if (c < 0x800) {
            out.push_back(char(0xC0 | (c >> 6)));
            out.push_back(char(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(char(0xE0 | (c >> 12)));
            out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(char(0x80 | (c & 0x3F)));
        } else {
            out.push_back(char(0xF0 | (c >> 18)));
            out.push_back(char(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(char(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::u16string ProfileValue(std::u16string_view stored, std::size_t capacity) {
    stored = CutAtNul(stored);
    bool quoted = false;
    if (stored.size() >= 2 && (stored.front() == u'"' || stored.front() == u'\'') &&
        stored.back() == stored.front()) {
        quoted = true;
        stored.remove_prefix(1);
    }
    std::u16string out(stored.substr(0, capacity - 1));
    if (quoted && capacity >= stored.size() && !out.empty()) out.pop_back();
    return out;
}

IniImage::IniImage(std::string_view bytes, const IniCodec& codec) {
    hasBytes_ = !bytes.empty();
    std::size_t markSize = 0;
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        encoding_ = IniEncoding::kUtf8;
        markSize = 3;
    } else if (bytes.starts_with("\xFF\xFE")) {
        encoding_ = IniEncoding::kUtf16Le;
        markSize = 2;
    } else if (bytes.starts_with("\xFE\xFF")) {
        encoding_ = IniEncoding::kUtf16Be;
        markSize = 2;
    }
    mark_.assign(bytes.data(), markSize);
    std::string_view body = bytes.substr(markSize);
    const bool wide = encoding_ == IniEncoding::kUtf16Le || encoding_ == IniEncoding::kUtf16Be;
    const std::size_t unit = wide ? 2 : 1;
    if (wide && body.size() % 2) {
        oddByte_.assign(1, body.back());
        body.remove_suffix(1);
    }
    auto unitAt = [&](std::size_t pos) -> char16_t {
        if (!wide) return static_cast<unsigned char>(body[pos]);
        const auto lo = static_cast<unsigned char>(body[pos]);
        const auto hi = static_cast<unsigned char>(body[pos + 1]);
        return encoding_ == IniEncoding::kUtf16Le ? char16_t(lo | hi << 8) : char16_t(hi | lo << 8);
    };

    std::size_t start = 0, pos = 0;
    while (pos < body.size()) {
        const char16_t c = unitAt(pos);
        if (encoding_ == IniEncoding::kAnsi && codec.IsLeadByte(static_cast<unsigned char>(c)) &&
            pos + 1 < body.size() && body[pos + 1] != 0) {
            pos += 2;  // the pair is one character, whatever the second byte is
            continue;
        }
        if (!IsLineBreak(c)) {
            pos += unit;
            continue;
        }
        const std::size_t textEnd = pos;
        pos += unit;
        if (c == u'\r' && pos < body.size() && unitAt(pos) == u'\n') pos += unit;
        Line line;
        line.text = body.substr(start, textEnd - start);
        line.end = body.substr(textEnd, pos - textEnd);
        if (lineEnd_.empty()) lineEnd_ = line.end;
        lines_.push_back(std::move(line));
        start = pos;
    }
    if (start < body.size()) {
        Line last;
        last.text = body.substr(start);
        lines_.push_back(std::move(last));
    }
    if (lineEnd_.empty()) lineEnd_ = EncodeText(u"\r\n", codec);
    for (Line& line : lines_) Parse(line, codec);
}

void IniImage::Parse(Line& line, const IniCodec& codec) const {
    std::u16string decoded;
    if (encoding_ == IniEncoding::kUtf16Le || encoding_ == IniEncoding::kUtf16Be) {
        const bool le = encoding_ == IniEncoding::kUtf16Le;
        for (std::size_t i = 0; i + 1 < line.text.size(); i += 2) {
            const auto a = static_cast<unsigned char>(line.text[i]);
            const auto b = static_cast<unsigned char>(line.text[i + 1]);
            decoded.push_back(le ? char16_t(a | b << 8) : char16_t(b | a << 8));
        }
    } else if (line.end.empty()) {
        decoded = codec.Decode(encoding_, line.text);
    } else {
        // The platform converts the whole file at once: a malformed sequence at the end of a line
        // meets the line end, not the end of the text (where a converter may take it otherwise).
        // What follows the line end cannot change the line.
        decoded = codec.Decode(encoding_, line.text + line.end + "\n\n\n");
        decoded.resize(std::min(decoded.size(), decoded.find_first_of(u"\r\n")));
    }
    const std::u16string_view t = Trim(decoded);
    line.kind = Kind::kBlank;
    line.hasValue = false;
    line.name.clear();
    line.value.clear();
    if (t.empty()) return;
    if (t.front() == u'[') {
        const std::size_t close = t.rfind(u']');
        if (close != std::u16string_view::npos) {
            line.kind = Kind::kSection;
            line.name = CutAtNul(Trim(t.substr(1, close - 1)));
            return;
        }
    }
    line.kind = Kind::kKey;
    const std::size_t eq = t.find(u'=');
    if (eq == std::u16string_view::npos) {
        line.name = CutAtNul(t);
        return;
    }
    std::u16string_view name = t.substr(0, eq);
    while (!name.empty() && IsBlank(name.back())) name.remove_suffix(1);
    std::u16string_view value = t.substr(eq + 1);
    while (!value.empty() && IsBlank(value.front())) value.remove_prefix(1);
    line.name = CutAtNul(name);
    line.value = CutAtNul(value);
    line.hasValue = true;
}

std::string IniImage::EncodeText(std::u16string_view text, const IniCodec& codec) const {
    if (encoding_ != IniEncoding::kUtf16Le && encoding_ != IniEncoding::kUtf16Be)
        return codec.Encode(encoding_, text);
    std::string out;
    out.reserve(text.size() * 2);
    for (char16_t c : text) {
        const char lo = char(c & 0xFF), hi = char(c >> 8);
        if (encoding_ == IniEncoding::kUtf16Le) {
            out.push_back(lo);
            out.push_back(hi);
        } else {
            out.push_back(hi);
            out.push_back(lo);
        }
    }
    return out;
}

bool IniImage::SectionRange(std::u16string_view section, std::size_t& header,
                            std::size_t& end) const {
    std::size_t i = 0;
    if (section.empty() && hasBytes_) {
        header = std::string::npos;  // the lines before the first section
    } else {
        while (i < lines_.size() &&
               !(lines_[i].kind == Kind::kSection && SameName(lines_[i].name, section)))
            ++i;
        if (i == lines_.size()) return false;
        header = i++;
    }
    while (i < lines_.size() && lines_[i].kind != Kind::kSection) ++i;
    end = i;
    return true;
}

bool IniImage::Find(std::u16string_view section, std::u16string_view key,
                    std::u16string& value) const {
    section = LookupName(section);
    key = LookupName(key);
    std::size_t header, end;
    if (!SectionRange(section, header, end)) return false;
    for (std::size_t i = header == std::string::npos ? 0 : header + 1; i < end; ++i) {
        const Line& line = lines_[i];
        if (line.kind != Kind::kKey || !SameName(line.name, key)) continue;
        if (!line.hasValue) return false;
        value = line.value;
        return true;
    }
    return false;
}

IniImage::Change IniImage::Set(std::u16string_view section, std::u16string_view key,
                               std::u16string_view value, const IniCodec& codec) {
    section = Trim(section);
    key = Trim(key);
    if (section.empty() || key.empty() || HasLineBreakOrNul(section) || HasLineBreakOrNul(key) ||
        HasLineBreakOrNul(value) || key.find(u'=') != std::u16string_view::npos ||
        key.front() == u'[')
        return Change::kRefused;
    if (lineEnd_.empty()) lineEnd_ = EncodeText(u"\r\n", codec);

    std::u16string stored(value);
    if (NeedsQuotes(value)) stored = u'"' + stored + u'"';
    // A new line must read back as the key it is meant to be (names the code page cannot hold
    // would not).
    auto keyLine = [&](std::u16string_view name, Line& line) {
        line.text = EncodeText(std::u16string(name) + u'=' + stored, codec);
        Parse(line, codec);
        return line.kind == Kind::kKey && SameName(line.name, key) &&
               !EndsInLeadByte(line.text, codec);
    };

    std::size_t header, end;
    if (SectionRange(section, header, end)) {
        const std::size_t first = header == std::string::npos ? 0 : header + 1;
        std::size_t last = header;  // the last line of the section that is not blank
        for (std::size_t i = first; i < end; ++i) {
            Line& line = lines_[i];
            if (line.kind == Kind::kBlank) continue;
            last = i;
            if (line.kind != Kind::kKey || !SameName(line.name, key)) continue;
            Line updated;
            updated.end = line.end;
            if (!keyLine(line.name, updated)) return Change::kRefused;
            if (line.hasValue && line.value == updated.value) return Change::kUnchanged;
            line = std::move(updated);
            return Change::kChanged;
        }
        Line added;
        added.end = lineEnd_;
        if (!keyLine(key, added)) return Change::kRefused;
        const std::size_t at = last == std::string::npos ? 0 : last + 1;
        if (at > 0 && !EndLastLine(at - 1, codec)) return Change::kRefused;
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(added));
        return Change::kChanged;
    }

    Line head;
    head.text = EncodeText(u'[' + std::u16string(section) + u']', codec);
    Parse(head, codec);
    Line added;
    added.end = lineEnd_;
    if (head.kind != Kind::kSection || !SameName(head.name, section) ||
        EndsInLeadByte(head.text, codec) || !keyLine(key, added))
        return Change::kRefused;
    head.end = lineEnd_;
    if (!lines_.empty() && !EndLastLine(lines_.size() - 1, codec)) return Change::kRefused;
    lines_.push_back(std::move(head));
    lines_.push_back(std::move(added));
    hasBytes_ = true;
    return Change::kChanged;
}

bool IniImage::EndLastLine(std::size_t index, const IniCodec& codec) {
    Line& line = lines_[index];
    if (!line.end.empty()) return true;
    // A lead byte at the end of the file would take the line end's first byte with it: it gets
    // one more.
    Line ended = line;
    ended.end = EndsInLeadByte(line.text, codec) ? lineEnd_.substr(0, 1) + lineEnd_ : lineEnd_;
    // The line end can change how the line's last bytes read (a sequence cut short by the end of
    // the file): then the line stays as it was, and the write with it.
    Parse(ended, codec);
    if (ended.kind != line.kind || ended.name != line.name || ended.value != line.value ||
        ended.hasValue != line.hasValue)
        return false;
    line.end = ended.end;
    return true;
}

bool IniImage::EndsInLeadByte(std::string_view text, const IniCodec& codec) const {
    if (encoding_ != IniEncoding::kAnsi) return false;
    std::size_t i = 0;
    while (i < text.size()) {
        const bool lead = codec.IsLeadByte(static_cast<unsigned char>(text[i]));
        if (lead && i + 1 == text.size()) return true;
        i += lead && text[i + 1] != 0 ? 2 : 1;
    }
    return false;
}

std::string IniImage::Bytes() const {
    std::size_t size = mark_.size() + oddByte_.size();
    for (const Line& line : lines_) size += line.text.size() + line.end.size();
    std::string out;
    out.reserve(size);
    out += mark_;
    for (const Line& line : lines_) out.append(line.text).append(line.end);
    out += oddByte_;
    return out;
}

}  // namespace quorelle
