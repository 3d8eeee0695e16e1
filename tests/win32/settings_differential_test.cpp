// The program's settings backend against the platform's private-profile functions, on generated
// hostile files: random sections, keys and values, duplicates, comments, quotes, blanks, long
// lines, garbage bytes, NULs, UTF-16 and UTF-8 files, every kind of line end, huge and negative
// numbers. Both must give the same answer for every key; after each write of the backend the
// platform must read the written value and every other key as before, and the file must have
// changed within one line only.
//
// 80 files; QUORELLE_SOAK=1 makes it 5000. The ANSI code page is the one Wine was started with
// (the test is also registered to run with code page 936).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "base/text_win32.h"
#include "settings/profile_settings_win32.h"
#include "settings/settings.h"
#include "settings_files_win32.h"

using namespace quorelle;

namespace {

bool Soak() {
    return GetEnvironmentVariableW(L"QUORELLE_SOAK", nullptr, 0) != 0;
}

enum class Encoding { kAnsi, kUtf8, kUtf16Le, kUtf16Be };

struct Query {
    std::wstring section, key;
};

// Builds one file as UTF-16 units. In the 8-bit encodings a unit below 0x100 stands for a raw byte.
class Generator {
  public:
    explicit Generator(unsigned seed) : random_(seed) {}

    struct File {
        Encoding encoding;
        std::string bytes;
        std::vector<std::wstring> sections, keys;  // names it uses (raw)
    };

    File Make() {
        File file;
        file.encoding = static_cast<Encoding>(Pick(4) == 0 ? 1 + Pick(3) : 0);
        wide_ = file.encoding == Encoding::kUtf16Le || file.encoding == Encoding::kUtf16Be;
        utf8_ = file.encoding == Encoding::kUtf8;
        std::wstring text;
        const int lines = 1 + static_cast<int>(Pick(40));
        for (int i = 0; i < lines; ++i) {
            text += Line(file);
            if (i + 1 < lines || Pick(3)) text += End();
        }
        file.bytes = Encode(file.encoding, text);
        return file;
    }

    unsigned Pick(unsigned n) { return random_() % n; }

    std::wstring Name() {
        static const wchar_t* const names[] = {
            L"CPL",  L"Hifi", L"hifi",     L"HIFI", L"HP",   L"Info",      L"Preset 1",
            L"eq_0", L"eq_3", L"language", L"OS",   L"k",    L"K",         L"a b",
            L";c",   L"x]y",  L"[z",       L"\xE9", L"\xC9", L"Customize", L"Custom0"};
        if (Pick(8) == 0) return Garbage(1 + Pick(6));
        return names[Pick(std::size(names))];
    }

    std::wstring Value() {
        static const wchar_t* const values[] = {
            L"-7",         L"20",           L"0",          L"-1",
            L"0x1F",       L"0X1F",         L"0b101",      L"010",
            L"4294967297", L"-2147483648",  L"2147483648", L"99999999999999999999999",
            L"  42xyz",    L"+5",           L"abc",        L"\"quoted\"",
            L"'q'",        L"\"",           L"\"\"",       L"'",
            L"\"x'",       L"\" padded \"", L"a\"b\"",     L"1 2"};
        switch (Pick(12)) {
            case 0: {
                std::wstring v(1018 + Pick(10), L'v');
                return Pick(2) ? L"\"" + v + L"\"" : v;
            }
            case 1:
                return L"\"" + std::wstring(27 + Pick(5), L'1') + L"\"";
            case 2:
                return Garbage(1 + Pick(20));
            case 3:
                return Chinese();
            case 4:
                return Pick(20) ? L"x" + std::wstring(1, L'\0') + L"y" : std::wstring(70000, L'w');
            default:
                return values[Pick(std::size(values))];
        }
    }

    std::wstring Chinese() {
        if (wide_) return L"\x4E2D\x6587";
        // as bytes: UTF-8 in a UTF-8 file, code page 936 (GBK) in others
        return utf8_ ? L"\xE4\xB8\xAD\xE6\x96\x87" : L"\xD6\xD0\xCE\xC4";
    }

  private:
    std::wstring Blank() {
        static const wchar_t* const blanks[] = {L"",      L"",     L"",     L" ",   L"\t",
                                                L"  \t ", L"\x0B", L"\x1A", L"\x0C"};
        return blanks[Pick(std::size(blanks))];
    }

    std::wstring End() {
        static const wchar_t* const ends[] = {L"\r\n", L"\r\n",   L"\r\n", L"\n",
                                              L"\r",   L"\r\r\n", L"\n\r"};
        return ends[Pick(std::size(ends))];
    }

    // Random units: bytes in the 8-bit encodings, any unit (also lone surrogates) in UTF-16.
    std::wstring Garbage(std::size_t n) {
        std::wstring s;
        for (std::size_t i = 0; i < n; ++i) {
            wchar_t c = wide_ && Pick(3) == 0 ? static_cast<wchar_t>(random_() & 0xFFFF)
                                              : static_cast<wchar_t>(Pick(256));
            if (c == L'\r' || c == L'\n') c = L'#';
            s += c;
        }
        return s;
    }

    std::wstring Line(File& file) {
        switch (Pick(12)) {
            case 0:
            case 1: {
                const std::wstring name = Name();
                file.sections.push_back(name);
                std::wstring line = Blank() + L"[" + Blank() + name + Blank();
                switch (Pick(6)) {
                    case 0:
                        return line;  // no closing bracket
                    case 1:
                        return line + L"]" + Blank() + L"junk]" + Blank();
                    case 2:
                        return line + L"] junk" + Blank();
                    default:
                        return line + L"]" + Blank();
                }
            }
            case 2:
                return Blank();
            case 3:
                return L"; " + Value();
            case 4:
                return Garbage(1 + Pick(30));
            case 5: {
                const std::wstring name = Name();
                file.keys.push_back(name);
                return Blank() + name + Blank();  // a key without '='
            }
            case 6:
                return Blank() + L"=" + Value();
            default: {
                const std::wstring name = Name();
                file.keys.push_back(name);
                return Blank() + name + Blank() + L"=" + Blank() + Value() + Blank();
            }
        }
    }

    static std::string Encode(Encoding encoding, const std::wstring& text) {
        std::string bytes;
        switch (encoding) {
            case Encoding::kAnsi:
            case Encoding::kUtf8:
                if (encoding == Encoding::kUtf8) bytes = "\xEF\xBB\xBF";
                for (wchar_t c : text) bytes += static_cast<char>(c & 0xFF);
                break;
            case Encoding::kUtf16Le:
            case Encoding::kUtf16Be: {
                const bool le = encoding == Encoding::kUtf16Le;
                bytes = le ? "\xFF\xFE" : "\xFE\xFF";
                for (wchar_t c : text) {
                    bytes += static_cast<char>(le ? c & 0xFF : c >> 8);
                    bytes += static_cast<char>(le ? c >> 8 : c & 0xFF);
                }
                break;
            }
        }
        return bytes;
    }

    std::mt19937 random_;
    bool wide_ = false, utf8_ = false;
};

class Differential : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = quorelle::testing::PrivateDirectory(L"quorelle-diff-");
        backend_ = std::make_unique<ProfileSettings>(dir_);
    }
    void TearDown() override { quorelle::testing::RemoveDirectoryAndFiles(dir_); }

    struct Answer {
        std::string text;
        int number;
        bool operator==(const Answer&) const = default;
    };

    Answer Platform(const std::wstring& path, const Query& q) {
        wchar_t buffer[kMaxSettingText + 1];
        GetPrivateProfileStringW(q.section.c_str(), q.key.c_str(), L"", buffer,
                                 static_cast<DWORD>(std::size(buffer)), path.c_str());
        return {CutUtf8(Narrow(buffer), kMaxSettingText),
                static_cast<int>(
                    GetPrivateProfileIntW(q.section.c_str(), q.key.c_str(), -1, path.c_str()))};
    }
    Answer Ours(const std::string& file, const Query& q) {
        return {backend_->ReadText(file, Narrow(q.section), Narrow(q.key)),
                backend_->ReadInt(file, Narrow(q.section), Narrow(q.key))};
    }

    std::wstring dir_;
    std::unique_ptr<ProfileSettings> backend_;
};

std::wstring Vary(Generator& g, std::wstring name) {
    for (wchar_t& c : name) {
        if (g.Pick(3) == 0 && c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - 32);
        else if (g.Pick(3) == 0 && c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c + 32);
    }
    if (g.Pick(5) == 0) name = L" " + name + L"\t";
    return name;
}

// A name our UTF-8 interface can carry unchanged.
bool Carried(const std::wstring& name) {
    for (wchar_t c : name)
        if (c == 0 || (c >= 0xD800 && c <= 0xDFFF)) return false;
    return true;
}

// Whether `after` differs from `before` within one line of `before` (or by lines added): the
// characters between the common start and the common end of the two hold no line break of
// `before`.
bool WithinOneLine(const std::string& before, const std::string& after, Encoding encoding) {
    const bool wide = encoding == Encoding::kUtf16Le || encoding == Encoding::kUtf16Be;
    // characters as units; 0 stands for the second byte of a two-byte ANSI character
    auto units = [&](const std::string& bytes) {
        std::vector<unsigned> out;
        for (std::size_t i = wide ? 2 : 0; i < bytes.size(); ++i) {
            unsigned c = static_cast<unsigned char>(bytes[i]);
            if (wide && i + 1 < bytes.size()) {
                const unsigned other = static_cast<unsigned char>(bytes[++i]);
                c = encoding == Encoding::kUtf16Le ? c | other << 8 : other | c << 8;
            } else if (encoding == Encoding::kAnsi && IsDBCSLeadByte(static_cast<BYTE>(c)) &&
                       i + 1 < bytes.size() && bytes[i + 1] != 0) {
                out.push_back(c << 8 | static_cast<unsigned char>(bytes[++i]));
                continue;
            }
            out.push_back(c);
        }
        return out;
    };
    const std::vector<unsigned> a = units(before), b = units(after);
    std::size_t p = 0;
    while (p < a.size() && p < b.size() && a[p] == b[p]) ++p;
    std::size_t s = 0;
    while (s < a.size() - p && s < b.size() - p && a[a.size() - 1 - s] == b[b.size() - 1 - s]) ++s;
    return std::none_of(a.begin() + static_cast<std::ptrdiff_t>(p),
                        a.end() - static_cast<std::ptrdiff_t>(s),
                        [](unsigned c) { return c == '\r' || c == '\n'; });
}

// The bytes around the first difference from `other`, readable.
std::string Escaped(const std::string& bytes, const std::string& other) {
    std::size_t p = 0;
    while (p < bytes.size() && p < other.size() && bytes[p] == other[p]) ++p;
    const std::size_t from = p > 60 ? p - 60 : 0;
    std::string out = "@" + std::to_string(from) + ": ";
    for (unsigned char c : bytes.substr(from, 200)) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02X", c);
        out += c >= 0x20 && c < 0x7F && c != '\\' ? std::string(1, char(c)) : std::string(hex);
        if (c == '\n') out += '\n';
    }
    return out;
}

// Whether two queries name the same key (as the platform compares names).
bool SameKey(const Query& a, const Query& b) {
    auto norm = [](std::wstring s) {
        auto blank = [](wchar_t c) { return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x20; };
        while (!s.empty() && blank(s.back())) s.pop_back();
        std::size_t i = 0;
        while (i < s.size() && blank(s[i])) ++i;
        s.erase(0, i);
        for (wchar_t& c : s)
            if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c + 32);
        return s;
    };
    return norm(a.section) == norm(b.section) && norm(a.key) == norm(b.key);
}

TEST_F(Differential, ReadsAndWritesAgreeWithThePlatformOnHostileFiles) {
    const int files = Soak() ? 5000 : 80;
    Generator g(0x5EED0000u + GetACP());
    int queries = 0, writes = 0, refused = 0, mismatches = 0, n = 0;
    for (; n < files && mismatches < 10; ++n) {
        const Generator::File file = g.Make();
        const std::string name = "d" + std::to_string(n) + ".ini";
        const std::wstring path = dir_ + Widen(name);
        quorelle::testing::WriteBytes(path, file.bytes);
        std::vector<std::wstring> sections = file.sections, keys = file.keys;
        sections.insert(sections.end(), {L"Hifi", L"CPL", L"nosuch", L""});
        keys.insert(keys.end(), {L"eq_0", L"language", L"nosuch"});
        std::vector<Query> asked;
        for (int i = 0; i < 30; ++i) {
            Query q{Vary(g, sections[g.Pick(sections.size())]), Vary(g, keys[g.Pick(keys.size())])};
            if (Carried(q.section) && Carried(q.key)) asked.push_back(q);
        }
        auto compareAll = [&](const char* when) {
            std::vector<Answer> answers;
            for (const Query& q : asked) {
                const Answer platform = Platform(path, q), ours = Ours(name, q);
                ++queries;
                if (!(platform == ours)) {
                    ++mismatches;
                    ADD_FAILURE() << "file " << n << " " << when << ", [" << Narrow(q.section)
                                  << "] " << Narrow(q.key) << ": platform \"" << platform.text
                                  << "\" " << platform.number << ", ours \"" << ours.text << "\" "
                                  << ours.number;
                }
                answers.push_back(platform);
            }
            return answers;
        };
        std::vector<Answer> before = compareAll("as generated");

        for (int w = 0; w < 3; ++w) {
            Query target{g.Pick(3) ? sections[g.Pick(sections.size())] : L"Hifi",
                         g.Pick(3) ? keys[g.Pick(keys.size())] : L"eq_" + std::to_wstring(w)};
            if (!Carried(target.section) || !Carried(target.key)) continue;
            std::wstring value = g.Value();
            if (value.find(L'\0') != std::wstring::npos) value = L"7";
            const std::string old = quorelle::testing::ReadBytes(path);
            ++writes;
            if (!backend_->WriteText(name, Narrow(target.section), Narrow(target.key),
                                     Narrow(value))) {
                ++refused;
                EXPECT_EQ(quorelle::testing::ReadBytes(path), old)
                    << "a refused write changed file " << n;
                continue;
            }
            EXPECT_TRUE(WithinOneLine(old, quorelle::testing::ReadBytes(path), file.encoding))
                << "file " << n << ": the write changed more than one line\n"
                << Escaped(old, quorelle::testing::ReadBytes(path)) << "\n->\n"
                << Escaped(quorelle::testing::ReadBytes(path), old);
            // the platform reads the written value; plain values exactly as given
            const Answer written = Platform(path, target);
            const bool plain = value.size() <= 1000 &&
                               std::all_of(value.begin(), value.end(),
                                           [](wchar_t c) { return c >= 0x20 && c < 0x7F; });
            if (plain) {
                EXPECT_EQ(written.text, Narrow(value))
                    << "file " << n << ", [" << Narrow(target.section) << "] "
                    << Narrow(target.key);
            }
            const std::vector<Answer> after = compareAll("after a write");
            for (std::size_t i = 0; i < asked.size(); ++i)
                EXPECT_TRUE(before[i] == after[i] || SameKey(asked[i], target))
                    << "file " << n << ": [" << Narrow(asked[i].section) << "] "
                    << Narrow(asked[i].key) << " changed with a write of ["
                    << Narrow(target.section) << "] " << Narrow(target.key);
            before = after;
        }
        DeleteFileW(path.c_str());
    }
    std::printf(
        "[ figures  ] %d files, %d keys asked of both, %d writes (%d refused), "
        "%d mismatches, ANSI code page %u\n",
        n, queries, writes, refused, mismatches, GetACP());
    EXPECT_EQ(mismatches, 0);
}

}  // namespace
