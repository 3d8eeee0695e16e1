// Failures the program survives but must not hide: an exception barrier that catches something
// reports where it caught what. Each report goes to the writer in use (the debugger's output in
// the program) and counts toward a process-wide total that tests read at the end of a run.
#pragma once

namespace quorelle {

// Receives one report line, UTF-8 without a line end. Must not throw.
using DiagnosticWriter = void (*)(const char* lineUtf8) noexcept;

// The writer in use; null only counts.
void SetDiagnosticWriter(DiagnosticWriter writer) noexcept;

// To be called inside a catch block: counts the failure and reports `where` with what was caught
// (the what() of a std::exception, else "an unknown exception"). `message` is the window message
// being handled, when there is one (0 for none). Allocates nothing and never throws.
void ReportCaughtException(const char* where, unsigned message = 0) noexcept;

// Failures reported since the process started.
unsigned DiagnosticFailureCount() noexcept;

// A notice the user was shown without a box (a start in the notification area shows its
// start-up notices as balloons): reported as "notice: text" and counted apart from failures.
void ReportNoticeWithoutBox(const char* textUtf8) noexcept;
unsigned NoticeWithoutBoxCount() noexcept;

}  // namespace quorelle
