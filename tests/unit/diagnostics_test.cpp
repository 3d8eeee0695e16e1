#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "base/diagnostics.h"

using namespace quorelle;

namespace {

std::vector<std::string> g_lines;

void Record(const char* line) noexcept {
    g_lines.emplace_back(line);
}

}  // namespace

TEST(Diagnostics, BarrierReportsWhereItCaughtWhatAndCounts) {
    g_lines.clear();
    SetDiagnosticWriter(&Record);
    const unsigned before = DiagnosticFailureCount();
    try {
        throw std::runtime_error("disk full");
    } catch (...) {
        ReportCaughtException("IniSettings::WriteTexts");
    }
    try {
        throw 42;
    } catch (...) {
        ReportCaughtException("control window procedure", 0x0201);
    }
    SetDiagnosticWriter(nullptr);
    try {
        throw std::bad_alloc();
    } catch (...) {
        ReportCaughtException("not written, still counted");
    }
    EXPECT_EQ(DiagnosticFailureCount(), before + 3);
    EXPECT_EQ(g_lines, (std::vector<std::string>{
                           "IniSettings::WriteTexts caught disk full",
                           "control window procedure (message 0x0201) caught an unknown exception",
                       }));
}

TEST(Diagnostics, LongReportIsCutNotOverrun) {
    g_lines.clear();
    SetDiagnosticWriter(&Record);
    const std::string what(2000, 'x');
    try {
        throw std::runtime_error(what);
    } catch (...) {
        ReportCaughtException("here");
    }
    SetDiagnosticWriter(nullptr);
    ASSERT_EQ(g_lines.size(), 1u);
    EXPECT_EQ(g_lines[0].size(), 511u);
    EXPECT_EQ(g_lines[0].rfind("here caught xxx", 0), 0u);
}
