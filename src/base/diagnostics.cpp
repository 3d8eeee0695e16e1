#include "base/diagnostics.h"

#include <atomic>
#include <cstdio>
#include <exception>

namespace quorelle {

namespace {
std::atomic<DiagnosticWriter> g_writer{nullptr};
std::atomic<unsigned> g_failures{0};

// What the exception being handled says about itself.
const char* WhatIsCaught() noexcept {
    try {
        const std::exception_ptr caught = std::current_exception();
        if (!caught) return "nothing (not called from a catch block)";
        std::rethrow_exception(caught);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
    }
    return "an unknown exception";
}
}  // namespace

void SetDiagnosticWriter(DiagnosticWriter writer) noexcept {
    g_writer.store(writer);
}

void ReportCaughtException(const char* where, unsigned message) noexcept {
    g_failures.fetch_add(1);
    const DiagnosticWriter writer = g_writer.load();
    if (writer == nullptr) return;
    char line[512];
    if (message != 0) {
        std::snprintf(line, sizeof line, "%s (message 0x%04X) caught %s", where, message,
                      WhatIsCaught());
    } else {
        std::snprintf(line, sizeof line, "%s caught %s", where, WhatIsCaught());
    }
    writer(line);
}

unsigned DiagnosticFailureCount() noexcept {
    return g_failures.load();
}

namespace {
std::atomic<unsigned> g_noticesWithoutBox{0};
}  // namespace

void ReportNoticeWithoutBox(const char* textUtf8) noexcept {
    g_noticesWithoutBox.fetch_add(1);
    const DiagnosticWriter writer = g_writer.load();
    if (writer == nullptr) return;
    char line[512];
    std::snprintf(line, sizeof line, "notice: %s", textUtf8);
    writer(line);
}

unsigned NoticeWithoutBoxCount() noexcept {
    return g_noticesWithoutBox.load();
}

}  // namespace quorelle
