// A process killed at random moments while it writes settings: afterwards both files still parse
// and hold every setting whose write had returned.
//
// The writer (writer/settings_writer.cpp) reports each write that returned on its standard output;
// this test kills it after a random number of writes plus a random fraction of a write, then reads
// the files. Every value the writer writes is its running write number, so a key may also hold a
// newer number from this run (a write that was under way or whose report was cut off), never an
// older one. With QUORELLE_SOAK set the test kills 250 times and also runs the platform's
// functions as the writer, for comparison (figures only).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "base/text_win32.h"
#include "settings/profile_settings_win32.h"
#include "settings/settings.h"
#include "settings_files_win32.h"
#include "writer/settings_writer.h"

using namespace quorelle;
using namespace quorelle::testing;

namespace {

constexpr long long kRunSpan = 1'000'000;  // write numbers of one run: [first, first + span)
const char kSeedCpl[] =
    "; installed by setup\r\n[Info]\r\nOS=Windows 11\r\nDriverVer=6.0.1.8\r\nCPLVer=2.1\r\n";
const char kSeedCustom[] = "[Preset 0]\r\neq_0=0\r\n";

bool Soak() {
    return GetEnvironmentVariableW(L"QUORELLE_SOAK", nullptr, 0) != 0;
}

double Seconds() {
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) / double(f.QuadPart);
}

// file -> section -> key -> value
using Settings = std::map<std::string, std::map<std::string, std::map<std::string, std::string>>>;

struct Figures {
    int kills = 0;
    long long writes = 0;  // writes reported as returned
    int damaged = 0;       // files found damaged after a kill
    std::string firstDamage;
};

class KillTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = PrivateDirectory(L"quorelle-kill-");
        writer_ = ProgramDirectory() + L"settings_writer.exe";
    }
    void TearDown() override { RemoveDirectoryAndFiles(dir_); }

    // Kills `kills` runs of the writer in the given mode; every file is checked after each kill.
    Figures KillRepeatedly(const wchar_t* mode, int kills, unsigned seed) {
        WriteBytes(dir_ + L"CPL.ini", kSeedCpl);
        WriteBytes(dir_ + L"Custom.ini", kSeedCustom);
        Settings expected;
        expected[kCplIni]["Info"] = {
            {"OS", "Windows 11"}, {"DriverVer", "6.0.1.8"}, {"CPLVer", "2.1"}};
        expected[kCustomIni]["Preset 0"]["eq_0"] = "0";
        std::mt19937 random(seed);
        Figures figures;
        for (int run = 0; run < kills; ++run) {
            const long long first = (run + 1) * kRunSpan;
            const std::string out = RunAndKill(mode, first, random);
            if (out.empty()) {
                ADD_FAILURE() << "the writer reported nothing before it was killed";
                break;
            }
            ++figures.kills;
            // complete lines only: a line cut off is a write whose report did not finish
            std::size_t pos = 0;
            for (std::size_t nl; (nl = out.find('\n', pos)) != std::string::npos; pos = nl + 1) {
                const std::string line = out.substr(pos, nl - pos);
                std::size_t a = line.find('|'), b = line.find('|', a + 1),
                            c = line.find('|', b + 1);
                expected[line.substr(0, a)][line.substr(a + 1, b - a - 1)]
                        [line.substr(b + 1, c - b - 1)] = line.substr(c + 1);
                ++figures.writes;
            }
            for (const char* file : {kCplIni, kCustomIni}) {
                const std::string damage = Check(file, expected[file], first);
                if (damage.empty()) continue;
                ++figures.damaged;
                if (figures.firstDamage.empty())
                    figures.firstDamage = std::string(file) + " after kill " +
                                          std::to_string(run + 1) + ": " + damage;
                Restore(file, expected[file]);
            }
        }
        return figures;
    }

    // Starts the writer, lets it report some writes, kills it at a random moment; its output.
    std::string RunAndKill(const wchar_t* mode, long long first, std::mt19937& random) {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        HANDLE readEnd, writeEnd;
        if (!CreatePipe(&readEnd, &writeEnd, &inherit, 1 << 20)) return {};
        SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOW si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdOutput = writeEnd;
        si.hStdError = writeEnd;
        // the directory ends with a backslash: doubled, so that it does not quote the quote
        std::wstring command = L"\"" + writer_ + L"\" " + mode + L" \"" + dir_ + L"\\\" " +
                               std::to_wstring(first) + L" " + std::to_wstring(random());
        PROCESS_INFORMATION pi{};
        if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                            &si, &pi)) {
            CloseHandle(readEnd);
            CloseHandle(writeEnd);
            return {};
        }
        CloseHandle(writeEnd);
        std::string out;
        auto drain = [&] {
            DWORD available = 0;
            while (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) && available) {
                char buffer[65536];
                DWORD n = 0;
                if (!ReadFile(readEnd, buffer, std::min<DWORD>(available, sizeof buffer), &n,
                              nullptr))
                    break;
                out.append(buffer, n);
            }
        };
        auto reported = [&] { return std::count(out.begin(), out.end(), '\n'); };
        // a random number of writes, then a random moment within the next few writes
        const long wanted = 1 + static_cast<long>(random() % 30);
        const double deadline = Seconds() + 20;
        while (reported() < wanted && Seconds() < deadline) {
            drain();
            SwitchToThread();
        }
        const double killAt = Seconds() + (random() % 3000) * 1e-6;
        while (Seconds() < killAt) drain();
        TerminateProcess(pi.hProcess, 1);
        WaitForSingleObject(pi.hProcess, 10000);
        for (;;) {
            char buffer[65536];
            DWORD n = 0;
            if (!ReadFile(readEnd, buffer, sizeof buffer, &n, nullptr) || n == 0) break;
            out.append(buffer, n);
        }
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        CloseHandle(readEnd);
        return out;
    }

    // What is wrong with the file, or empty. The file must consist of whole lines (sections,
    // keys with values, the setup's comment) and every key must read as expected, or as a newer
    // write of the run that started at `first`.
    // A newer write found becomes the expected value.
    std::string Check(const char* file,
                      std::map<std::string, std::map<std::string, std::string>>& expected,
                      long long first) {
        const std::wstring path = dir_ + Widen(file);
        const std::string bytes = ReadBytes(path);
        if (bytes.empty()) return "empty";
        if (bytes.size() < 2 || bytes.compare(bytes.size() - 2, 2, "\r\n") != 0)
            return "ends within a line";
        std::size_t pos = 0;
        for (std::size_t nl; (nl = bytes.find("\r\n", pos)) != std::string::npos; pos = nl + 2) {
            const std::string line = bytes.substr(pos, nl - pos);
            const bool ok = line.empty() || line == "; installed by setup" ||
                            (line.front() == '[' && line.back() == ']') ||
                            (line.find('=') != std::string::npos && line.front() != '=');
            if (!ok) return "a broken line \"" + line + "\"";
        }
        for (auto& [section, keys] : expected) {
            for (auto& [key, value] : keys) {
                wchar_t buffer[1024];
                GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), L"", buffer,
                                         1024, path.c_str());
                const std::string read = Narrow(buffer);
                if (read == value) continue;
                const long long had = std::atoll(value.c_str()), has = std::atoll(read.c_str());
                const bool newer = !read.empty() && std::to_string(has) == read && has > had &&
                                   has >= first && has < first + kRunSpan && section != "Info";
                if (!newer)
                    return "[" + section + "] " + key + " reads \"" + read + "\", not \"" + value +
                           "\"";
                value = read;
            }
        }
        return {};
    }

    void Restore(const char* file,
                 const std::map<std::string, std::map<std::string, std::string>>& expected) {
        std::string text = file == std::string(kCplIni) ? "; installed by setup\r\n" : "";
        for (const auto& [section, keys] : expected) {
            text += "[" + section + "]\r\n";
            for (const auto& [key, value] : keys) text += key + "=" + value + "\r\n";
        }
        WriteBytes(dir_ + Widen(file), text);
    }

    int TemporaryFiles() {
        int count = 0;
        WIN32_FIND_DATAW found;
        HANDLE find = FindFirstFileW((dir_ + L"*.tmp").c_str(), &found);
        if (find == INVALID_HANDLE_VALUE) return 0;
        do ++count;
        while (FindNextFileW(find, &found));
        FindClose(find);
        return count;
    }

    std::wstring dir_;
    std::wstring writer_;
};

void Print(const char* who, const Figures& f) {
    std::printf("[ figures  ] %-36s %4d kills, %6lld writes returned, %4d damaged files%s%s\n", who,
                f.kills, f.writes, f.damaged,
                f.firstDamage.empty() ? "" : "; first: ", f.firstDamage.c_str());
}

TEST_F(KillTest, EveryWriteThatReturnedSurvivesTheKillOfTheWriter) {
    const int kills = Soak() ? 250 : 20;
    const Figures program = KillRepeatedly(L"program", kills, 20240611);
    Print("program's settings backend:", program);
    EXPECT_EQ(program.kills, kills);
    EXPECT_GT(program.writes, kills);
    EXPECT_EQ(program.damaged, 0) << program.firstDamage;

    // Temporary files of killed runs do no harm and go with the next write.
    ProfileSettings settings(dir_);
    EXPECT_TRUE(settings.WriteText(kCplIni, "CPL", "language", "2"));
    EXPECT_TRUE(settings.WriteText(kCustomIni, "Preset 0", "eq_1", "2"));
    EXPECT_EQ(TemporaryFiles(), 0);

    if (Soak()) Print("platform's profile functions:", KillRepeatedly(L"platform", kills, 7));
}

}  // namespace
