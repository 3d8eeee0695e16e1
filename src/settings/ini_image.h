// The contents of an INI file as the platform's private-profile functions read it, and edits of
// single keys that keep every other byte of the file as it was.
//
// The platform's rules, as its reader applies them:
// - A file that starts with a UTF-16 byte-order mark is UTF-16 (either byte order), one with a
//   UTF-8 mark is UTF-8, any other is in the ANSI code page. A lead byte of a two-byte ANSI
//   character takes the next byte with it, even a line end (but not a NUL).
// - Lines end at CR, LF or CR LF. Blanks are tab, LF, VT, FF, CR, ^Z and space; a line is trimmed
//   of them at both ends, and blank lines are skipped.
// - A line that starts with '[' and holds a ']' is a section; its name lies between the '[' and the
//   last ']', trimmed. Any other line is a key: the name before the first '=', the value after it,
//   both trimmed. A line without '=' is a key without a value: it reads as absent. Lines starting
//   with ';' are keys like any other (no program key starts with ';').
// - Lines before the first section belong to a section with the empty name.
// - Names and values end at a NUL character. Names match without regard to ASCII case (other
//   letters must match exactly). Only the first section of a name is searched, and in it the first
//   key of a name counts.
// - A value read loses one pair of matching quotes (" or ') around it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quorelle {

enum class IniEncoding { kAnsi, kUtf8, kUtf16Le, kUtf16Be };

// The platform's conversions between 8-bit text and UTF-16.
class IniCodec {
  public:
    virtual ~IniCodec() = default;
    // Whether the byte starts a two-byte character of the ANSI code page.
    virtual bool IsLeadByte(unsigned char byte) const = 0;
    // 8-bit text (kAnsi or kUtf8) as UTF-16, and back.
    virtual std::u16string Decode(IniEncoding encoding, std::string_view bytes) const = 0;
    virtual std::string Encode(IniEncoding encoding, std::u16string_view text) const = 0;
    // Whether the ANSI code page holds the text exactly: there and back unchanged, with no
    // character replaced by a look-alike.
    virtual bool Holds(std::u16string_view text) const = 0;
};

// A codec for hosts without an ANSI code page: it stands for UTF-8.
const IniCodec& Utf8IniCodec();

// UTF-8 and UTF-16; a malformed sequence becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

// The value as the platform's string read returns it into a buffer of `capacity` characters
// (capacity >= 2): one pair of quotes dropped, cut to capacity - 1 characters. When a quoted value
// fills the buffer exactly, the platform drops its last character instead of the closing quote.
std::u16string ProfileValue(std::u16string_view stored, std::size_t capacity);

class IniImage {
  public:
    // An absent (or empty) file.
    IniImage() = default;
    IniImage(std::string_view bytes, const IniCodec& codec);

    // The value stored for key in section (trimmed, quotes kept); false when the platform reads
    // the default instead. Names are trimmed of blanks as the platform trims them.
    bool Find(std::u16string_view section, std::u16string_view key, std::u16string& value) const;

    enum class Change { kUnchanged, kChanged, kRefused };
    // Sets key in the first section of that name, adding the key at the end of the section, or the
    // section at the end of the file. The key's line is rewritten; every other line keeps its
    // bytes. A value that would not read back as given (blanks or quotes at its ends) is stored in
    // quotes. Refused: an empty section or key name, a line break or NUL anywhere, a key with '='
    // or starting with '[' (the platform would read such a line otherwise).
    Change Set(std::u16string_view section, std::u16string_view key, std::u16string_view value,
               const IniCodec& codec);

    std::string Bytes() const;
    IniEncoding Encoding() const { return encoding_; }

  private:
    enum class Kind : unsigned char { kBlank, kSection, kKey };
    struct Line {
        std::string text;  // the bytes of the line, without its end
        std::string end;   // its line end as it stands (empty for a last line without one)
        Kind kind = Kind::kBlank;
        bool hasValue = false;
        std::u16string name;   // section or key name, trimmed and cut at a NUL
        std::u16string value;  // key value, trimmed and cut at a NUL
    };

    void Parse(Line& line, const IniCodec& codec) const;
    std::string EncodeText(std::u16string_view text, const IniCodec& codec) const;
    // Gives the last line (at index) a line end, unless that changes what the line says.
    bool EndLastLine(std::size_t index, const IniCodec& codec);
    // Whether the ANSI text ends in a lead byte without its second byte.
    bool EndsInLeadByte(std::string_view text, const IniCodec& codec) const;
    // The range [first, last) of lines of the first section named `section`; false when absent.
    // first is the header's line (none for the section before the first header: npos).
    bool SectionRange(std::u16string_view section, std::size_t& header, std::size_t& end) const;

    IniEncoding encoding_ = IniEncoding::kAnsi;
    std::string mark_;       // the byte-order mark
    std::string lineEnd_;    // for new lines: the file's first line end, else CR LF
    std::string oddByte_;    // a last odd byte of a UTF-16 file, kept as it was
    bool hasBytes_ = false;  // a file of no bytes at all has no sections, not even the first one
    std::vector<Line> lines_;
};

}  // namespace quorelle
