#include "base/diagnostics_win32.h"

#include <windows.h>

#include "base/diagnostics.h"

namespace quorelle {

namespace {
void ToDebugger(const char* lineUtf8) noexcept {
    // Report lines are at most 511 bytes, which never make more UTF-16 units than that.
    wchar_t line[600] = L"QuorelleCPL: ";
    const int prefix = lstrlenW(line);
    const int room = static_cast<int>(sizeof line / sizeof line[0]) - prefix - 2;
    const int n = MultiByteToWideChar(CP_UTF8, 0, lineUtf8, -1, line + prefix, room);
    int end = prefix + (n > 0 ? n - 1 : 0);
    if (n <= 0) end = prefix + wsprintfW(line + prefix, L"(a report too long to show)");
    line[end] = L'\n';
    line[end + 1] = L'\0';
    OutputDebugStringW(line);
}
}  // namespace

void WriteDiagnosticsToDebugger() {
    SetDiagnosticWriter(&ToDebugger);
}

}  // namespace quorelle
